// Type information handed out by objects: the names and ids of an interface, or a class's interfaces.
#pragma once

#include "TypeDescription.h"

struct ITypeInfo : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("00020401-0000-0000-C000-000000000046");
    virtual HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) = 0;
    // The member's name (one name: parameter names are not kept).
    virtual HRESULT GetNames(MEMBERID id, BSTR* names, UINT maxNames, UINT* count) = 0;
    // MEMBERID DISPID_UNKNOWN asks for the type itself; each out pointer may be null.
    virtual HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* docString, DWORD* helpContext,
                                     BSTR* helpFile) = 0;
    // The description behind this information: an interface's, or null for a class.
    virtual const tvsk::com::InterfaceDescription* GetInterfaceDescription() = 0;
    // A class's description (its default and event interfaces), or null for an interface.
    virtual const tvsk::com::ClassDescription* GetClassDescription() = 0;

protected:
    ~ITypeInfo() = default;
};
inline constexpr IID IID_ITypeInfo = ITypeInfo::Iid;

struct IProvideClassInfo : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("B196B283-BAB4-101A-B69C-00AA00341D07");
    virtual HRESULT GetClassInfo(ITypeInfo** info) = 0;

protected:
    ~IProvideClassInfo() = default;
};
inline constexpr IID IID_IProvideClassInfo = IProvideClassInfo::Iid;

// Which class information GetGUID answers: the default event (source) interface.
constexpr DWORD GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;

struct IProvideClassInfo2 : IProvideClassInfo
{
    using Base = IProvideClassInfo;
    static constexpr IID Iid = MakeGuid("A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851");
    virtual HRESULT GetGUID(DWORD kind, GUID* guid) = 0;

protected:
    ~IProvideClassInfo2() = default;
};
inline constexpr IID IID_IProvideClassInfo2 = IProvideClassInfo2::Iid;
