// Scalar types, geometry structures and small macros the code was written against.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using TCHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;

// Handle of a loaded module (program, library or plug-in); null names the running program.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef _T
#define _T(x) x
#endif

constexpr int MAX_PATH = 260;

// Show commands, shared by the process and window layers
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) noexcept
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) noexcept
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) noexcept
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) noexcept
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

constexpr WORD LOWORD(DWORD_PTR v) noexcept
{
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(DWORD_PTR v) noexcept
{
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(DWORD_PTR v) noexcept
{
    return static_cast<BYTE>(v & 0xFF);
}
constexpr BYTE HIBYTE(DWORD_PTR v) noexcept
{
    return static_cast<BYTE>((v >> 8) & 0xFF);
}
constexpr DWORD MAKELONG(WORD lo, WORD hi) noexcept
{
    return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
constexpr WORD MAKEWORD(BYTE lo, BYTE hi) noexcept
{
    return static_cast<WORD>(lo | (hi << 8));
}

// Iteration cursor of the framework's lists and maps.
struct __POSITION
{
};
using POSITION = __POSITION*;

#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
