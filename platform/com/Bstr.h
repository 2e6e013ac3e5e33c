// BSTR: a length-prefixed UTF-16 string; null stands for the empty string; the receiver frees.
#pragma once

#include "ComBase.h"

#include <cstring>
#include <string>
#include <string_view>

using BSTR = OLECHAR*;

// Copies text up to its terminating zero; null gives null.
BSTR SysAllocString(const OLECHAR* text);
// length characters from text, or zeroed characters when text is null.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// length bytes, kept as they are (the byte length may be odd).
BSTR SysAllocStringByteLen(const char* bytes, UINT length);
BOOL SysReAllocString(BSTR* target, const OLECHAR* text);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// Memory that crosses component boundaries (strings handed out as LPOLESTR).
void* CoTaskMemAlloc(size_t bytes);
void CoTaskMemFree(void* memory);

namespace tvsk::com
{
// UTF-8 <-> UTF-16; malformed input becomes U+FFFD rather than being dropped.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

BSTR BstrFromUtf8(std::string_view text);
std::string Utf8FromBstr(BSTR text);
// For LPOLESTR parameters: zero-terminated, null as empty.
std::string Utf8FromOleString(const OLECHAR* text);
// A string's block is shared by its holders and freed by the last one's SysFreeString: another
// holder of the same characters, for a copy that only reads them. A holder writes into the
// characters only while BstrShared is false.
BSTR ShareBstr(BSTR text);
bool BstrShared(BSTR text);
// The characters the block of a string no one shares can hold, and its length set within them (a zero
// character follows).
UINT BstrCapacity(BSTR text);
void SetBstrLength(BSTR text, UINT length);
// The characters, read in place from the length before them.
inline std::u16string_view BstrView(BSTR text)
{
    if (!text)
        return {};
    DWORD bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const BYTE*>(text) - sizeof bytes, sizeof bytes);
    return std::u16string_view(text, bytes / sizeof(OLECHAR));
}
} // namespace tvsk::com
