// Type information handed out by objects: the names and ids of an interface, or a class's interfaces.
#include "TypeInfo.h"

#include "DispatchObject.h"

namespace tvsk::com
{

namespace
{

HRESULT HandText(const std::string& text, BSTR* out)
{
    if (!out)
        return S_OK;
    *out = BstrFromUtf8(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Descriptions are static tables, so the information only points at them.
class CTypeInfo : public ComObject<ITypeInfo>
{
public:
    CTypeInfo(const InterfaceDescription* iface, const ClassDescription* cls)
        : m_interface(iface), m_class(cls)
    {
    }

    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override
    {
        return m_interface ? m_interface->GetIDsOfNames(names, count, ids) : DISP_E_UNKNOWNNAME;
    }
    HRESULT GetNames(MEMBERID id, BSTR* names, UINT maxNames, UINT* count) override
    {
        if (!names || !count)
            return E_INVALIDARG;
        *count = 0;
        const MemberDescription* m = Member(id);
        if (!m)
            return TYPE_E_ELEMENTNOTFOUND;
        if (maxNames == 0)
            return S_OK;
        *count = 1;
        return HandText(m->name, names);
    }
    HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* docString, DWORD* helpContext,
                             BSTR* helpFile) override
    {
        std::string n, doc;
        if (id == DISPID_UNKNOWN)
        {
            n = m_interface ? m_interface->Name() : m_class->name;
            doc = m_interface ? m_interface->Help() : std::string();
        }
        else if (const MemberDescription* m = Member(id))
        {
            n = m->name;
            doc = m->help;
        }
        else
            return TYPE_E_ELEMENTNOTFOUND;
        if (helpContext)
            *helpContext = 0;
        if (helpFile)
            *helpFile = nullptr;
        const HRESULT hr = HandText(n, name);
        return FAILED(hr) ? hr : HandText(doc, docString);
    }
    const InterfaceDescription* GetInterfaceDescription() override { return m_interface; }
    const ClassDescription* GetClassDescription() override { return m_class; }

private:
    const MemberDescription* Member(MEMBERID id) const
    {
        if (!m_interface)
            return nullptr;
        for (const MemberDescription& m : m_interface->Members())
            if (m.id == id)
                return &m;
        return nullptr;
    }

    const InterfaceDescription* m_interface;
    const ClassDescription* m_class;
};

ITypeInfo* Handed(CTypeInfo* info)
{
    info->AddRef();
    return info;
}

} // namespace

ITypeInfo* NewInterfaceTypeInfo(const InterfaceDescription& description)
{
    return Handed(new CTypeInfo(&description, nullptr));
}

ITypeInfo* NewClassTypeInfo(const ClassDescription& description)
{
    return Handed(new CTypeInfo(nullptr, &description));
}

} // namespace tvsk::com
