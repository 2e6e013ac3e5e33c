// Type descriptions written in code: the members of a dispatch or event interface and of a class.
#include "TypeDescription.h"

namespace tvsk::com
{

namespace
{
bool SameNameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

InterfaceDescription::InterfaceDescription(const IID& iid, std::string name, std::string help)
    : m_iid(iid), m_name(std::move(name)), m_help(std::move(help))
{
}

void InterfaceDescription::Add(MemberDescription member)
{
    m_members.push_back(std::move(member));
}

const MemberDescription* InterfaceDescription::FindByName(std::string_view name) const
{
    for (const MemberDescription& m : m_members)
        if (SameNameNoCase(m.name, name))
            return &m;
    return nullptr;
}

HRESULT InterfaceDescription::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const
{
    if (count == 0)
        return S_OK;
    if (!names || !ids)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const MemberDescription* member = FindByName(Utf8FromOleString(names[0]));
    if (member)
        ids[0] = member->id;
    return (member && count == 1) ? S_OK : DISP_E_UNKNOWNNAME;
}

const MemberDescription* InterfaceDescription::Find(DISPID id, WORD flags) const
{
    const WORD order[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                          DISPATCH_PROPERTYPUTREF};
    for (WORD kind : order)
    {
        if (!(flags & kind))
            continue;
        // A put-by-reference reaches a plain put, as objects are the only values passed that way.
        const WORD wanted = kind == DISPATCH_PROPERTYPUTREF ? DISPATCH_PROPERTYPUT : kind;
        for (const MemberDescription& m : m_members)
            if (m.id == id && static_cast<WORD>(m.kind) == wanted)
                return &m;
    }
    return nullptr;
}

bool InterfaceDescription::HasId(DISPID id) const
{
    for (const MemberDescription& m : m_members)
        if (m.id == id)
            return true;
    return false;
}

} // namespace tvsk::com
