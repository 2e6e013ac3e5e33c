// The text form of GUIDs: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
#pragma once

#include "Bstr.h"

#include <optional>
#include <string>
#include <string_view>

namespace tvsk::com
{
std::string GuidToString(REFGUID guid);
// Accepts the form with or without braces, any case of the hex digits.
std::optional<GUID> GuidFromString(std::string_view text);
} // namespace tvsk::com

// Writes the braced text into text (capacity in characters); the count written with its zero, 0 when short.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity);
// *text is new memory the caller frees with CoTaskMemFree.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text);
HRESULT StringFromIID(REFIID iid, LPOLESTR* text);
// Braced text only; CO_E_CLASSSTRING for anything else.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);
