// Type descriptions written in code: the members of a dispatch or event interface and of a class.
#pragma once

#include "Dispatch.h"

#include <string>
#include <vector>

namespace tvsk::com
{

enum class MemberKind : WORD
{
    Method = DISPATCH_METHOD,
    PropertyGet = DISPATCH_PROPERTYGET,
    PropertyPut = DISPATCH_PROPERTYPUT,
};

struct MemberDescription
{
    DISPID id = DISPID_UNKNOWN;
    std::string name;
    MemberKind kind = MemberKind::Method;
    std::vector<VARTYPE> parameters; // in declaration order; an out or in/out parameter carries VT_BYREF
    VARTYPE result = VT_EMPTY;       // VT_EMPTY: none
    std::string help;
};

// The names and ids callers use for one interface.
class InterfaceDescription
{
public:
    InterfaceDescription(const IID& iid, std::string name, std::string help = {});

    const IID& Iid() const noexcept { return m_iid; }
    const std::string& Name() const noexcept { return m_name; }
    const std::string& Help() const noexcept { return m_help; }
    const std::vector<MemberDescription>& Members() const noexcept { return m_members; }
    void Add(MemberDescription member);

    // Names compare without case; names after the first (parameter names) are unknown here.
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    // The member with this id that the flags can call: a method, else a property of the kind asked.
    const MemberDescription* Find(DISPID id, WORD flags) const;
    bool HasId(DISPID id) const;
    // Null when no member has the name (compared without case).
    const MemberDescription* FindByName(std::string_view name) const;

private:
    IID m_iid;
    std::string m_name;
    std::string m_help;
    std::vector<MemberDescription> m_members;
};

// A creatable class: its default interface and its default event (source) interface.
struct ClassDescription
{
    CLSID clsid;
    std::string name;
    const InterfaceDescription* defaultInterface = nullptr;
    const InterfaceDescription* defaultSource = nullptr;
};

} // namespace tvsk::com
