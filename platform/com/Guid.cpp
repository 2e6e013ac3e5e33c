// The text form of GUIDs: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
#include "Guid.h"

#include <cstdio>
#include <cstring>

namespace tvsk::com
{

std::string GuidToString(REFGUID g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                  g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                  g.Data4[7]);
    return buf;
}

std::optional<GUID> GuidFromString(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    std::uint64_t fields[11] = {};
    const size_t starts[11] = {0, 9, 14, 19, 21, 24, 26, 28, 30, 32, 34};
    const size_t widths[11] = {8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2};
    for (size_t dash : {8u, 13u, 18u, 23u})
        if (text[dash] != '-')
            return std::nullopt;
    for (int f = 0; f < 11; ++f)
        for (size_t i = 0; i < widths[f]; ++i)
        {
            const char c = text[starts[f] + i];
            int v = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (v < 0)
                return std::nullopt;
            fields[f] = fields[f] * 16 + static_cast<std::uint64_t>(v);
        }
    GUID g;
    g.Data1 = static_cast<DWORD>(fields[0]);
    g.Data2 = static_cast<WORD>(fields[1]);
    g.Data3 = static_cast<WORD>(fields[2]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = static_cast<BYTE>(fields[3 + i]);
    return g;
}

} // namespace tvsk::com

int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity)
{
    const std::string s = tvsk::com::GuidToString(guid);
    if (!text || capacity < static_cast<int>(s.size()) + 1)
        return 0;
    for (size_t i = 0; i <= s.size(); ++i)
        text[i] = static_cast<OLECHAR>(s.c_str()[i]);
    return static_cast<int>(s.size()) + 1;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text)
{
    if (!text)
        return E_INVALIDARG;
    *text = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(OLECHAR)));
    if (!*text)
        return E_OUTOFMEMORY;
    StringFromGUID2(clsid, *text, 39);
    return S_OK;
}

HRESULT StringFromIID(REFIID iid, LPOLESTR* text)
{
    return StringFromCLSID(iid, text);
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid)
{
    if (!clsid)
        return E_INVALIDARG;
    const std::string s = tvsk::com::Utf8FromOleString(text);
    auto guid = (s.size() == 38 && s.front() == '{') ? tvsk::com::GuidFromString(s) : std::nullopt;
    if (!guid)
        return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid)
{
    const HRESULT hr = CLSIDFromString(text, iid);
    return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
