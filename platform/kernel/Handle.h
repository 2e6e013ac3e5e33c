// Kernel handles, the thread's last error and the wait results shared by every kernel object.
#pragma once

#include <framework/WinTypes.h>
#include <registry/Registry.h> // ERROR_SUCCESS and the other codes the registry calls share

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

// Further error codes of GetLastError, as the platform numbers them.
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_GEN_FAILURE = 31;
constexpr LONG ERROR_SHARING_VIOLATION = 32;
constexpr LONG ERROR_NOT_SUPPORTED = 50;
constexpr LONG ERROR_BUFFER_OVERFLOW = 111;
constexpr LONG ERROR_INVALID_NAME = 123;
constexpr LONG ERROR_ALREADY_EXISTS = 183;
constexpr LONG ERROR_NOT_OWNER = 288;

DWORD GetLastError() noexcept;
void SetLastError(DWORD error) noexcept;

// Closes any kernel handle (event, mutex, mapping, process, serial device); FALSE for an unknown one.
BOOL CloseHandle(HANDLE handle) noexcept;
