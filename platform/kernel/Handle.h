// Kernel handles, the thread's last error and the wait results shared by every kernel object.
#pragma once

#include <framework/WinError.h>
#include <framework/WinTypes.h>

using HANDLE = void*;

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD MAXDWORD = 0xFFFFFFFF;

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_ABANDONED_0 = WAIT_ABANDONED;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

DWORD GetLastError() noexcept;
void SetLastError(DWORD error) noexcept;

// Closes any kernel handle (event, mutex, mapping, process, serial device); FALSE for an unknown one.
BOOL CloseHandle(HANDLE handle) noexcept;
