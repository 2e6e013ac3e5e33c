// Result codes, GUIDs, wide characters and IUnknown: the ground every component stands on.
#pragma once

#include <framework/WinTypes.h>

#include <atomic>
#include <cstdint>
#include <string_view>
#include <utility>

using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = DWORD;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using PVOID = void*;
using FLOAT = float;
using DOUBLE = double;
using CHAR = char;

constexpr bool SUCCEEDED(HRESULT hr) noexcept
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) noexcept
{
    return hr < 0;
}
constexpr HRESULT MakeHResult(std::uint32_t code) noexcept
{
    return static_cast<HRESULT>(code);
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
constexpr HRESULT E_ABORT = MakeHResult(0x80004004u);
constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
constexpr HRESULT E_PENDING = MakeHResult(0x8000000Au);
constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFFu);
constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005u);
constexpr HRESULT E_HANDLE = MakeHResult(0x80070006u);
constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHResult(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHResult(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005u);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHResult(0x80020006u);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeHResult(0x80020007u);
constexpr HRESULT DISP_E_BADVARTYPE = MakeHResult(0x80020008u);
constexpr HRESULT DISP_E_EXCEPTION = MakeHResult(0x80020009u);
constexpr HRESULT DISP_E_OVERFLOW = MakeHResult(0x8002000Au);
constexpr HRESULT DISP_E_BADINDEX = MakeHResult(0x8002000Bu);
constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHResult(0x8002000Du);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHResult(0x8002000Eu);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeHResult(0x8002000Fu);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeHResult(0x8002802Bu);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = MakeHResult(0x800401F0u);
constexpr HRESULT CO_E_CLASSSTRING = MakeHResult(0x800401F3u);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeHResult(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = MakeHResult(0x800401F9u);
constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHResult(0x80040200u);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = MakeHResult(0x80040202u);
constexpr HRESULT SELFREG_E_TYPELIB = MakeHResult(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = MakeHResult(0x80040201u);

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

struct GUID
{
    DWORD Data1 = 0;
    WORD Data2 = 0;
    WORD Data3 = 0;
    BYTE Data4[8] = {};

    friend constexpr bool operator==(const GUID& a, const GUID& b) noexcept
    {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace tvsk::com::detail
{
constexpr int HexValue(char c)
{
    return (c >= '0' && c <= '9')   ? c - '0'
           : (c >= 'a' && c <= 'f') ? c - 'a' + 10
           : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                    : throw "not a hex digit";
}
constexpr std::uint32_t HexField(std::string_view text, size_t at, size_t digits)
{
    std::uint32_t v = 0;
    for (size_t i = 0; i < digits; ++i)
        v = v * 16 + static_cast<std::uint32_t>(HexValue(text[at + i]));
    return v;
}
} // namespace tvsk::com::detail

// A GUID from its text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (braces optional), checked at compile time.
consteval GUID MakeGuid(std::string_view text)
{
    using tvsk::com::detail::HexField;
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        throw "a GUID is written XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
    GUID g;
    g.Data1 = HexField(text, 0, 8);
    g.Data2 = static_cast<WORD>(HexField(text, 9, 4));
    g.Data3 = static_cast<WORD>(HexField(text, 14, 4));
    g.Data4[0] = static_cast<BYTE>(HexField(text, 19, 2));
    g.Data4[1] = static_cast<BYTE>(HexField(text, 21, 2));
    for (size_t i = 0; i < 6; ++i)
        g.Data4[2 + i] = static_cast<BYTE>(HexField(text, 24 + 2 * i, 2));
    return g;
}

constexpr GUID GUID_NULL{};
constexpr IID IID_NULL{};
inline bool IsEqualGUID(REFGUID a, REFGUID b) noexcept
{
    return a == b;
}
inline bool IsEqualIID(REFIID a, REFIID b) noexcept
{
    return a == b;
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) noexcept
{
    return a == b;
}

// Every interface names its id as Iid and its parent interface as Base (IUnknown has none).
struct IUnknown
{
    static constexpr IID Iid = MakeGuid("00000000-0000-0000-C000-000000000046");
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
inline constexpr IID IID_IUnknown = IUnknown::Iid;

// Owns one reference to an interface; the raw pointer stays reachable for platform-style calls.
template <class T> class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.m_p) {}
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    // Takes over a reference the caller already holds.
    static ComPtr Adopt(T* p)
    {
        ComPtr r;
        r.m_p = p;
        return r;
    }
    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    // For out parameters: releases what is held and hands out the slot.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }

    template <class U> ComPtr<U> As() const
    {
        ComPtr<U> r;
        if (m_p)
            m_p->QueryInterface(U::Iid, reinterpret_cast<void**>(r.Receive()));
        return r;
    }

private:
    T* m_p = nullptr;
};
