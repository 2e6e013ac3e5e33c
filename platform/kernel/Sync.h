// Named and unnamed events and mutexes, shared between processes, and the waits on them.
#pragma once

#include <kernel/Handle.h>

struct SECURITY_ATTRIBUTES;

constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD EVENT_MODIFY_STATE = 0x0002;
constexpr DWORD EVENT_ALL_ACCESS = 0x001F0003;
constexpr DWORD MUTEX_ALL_ACCESS = 0x001F0001;

// A null name gives an object of this process only. With a name, an existing object is opened
// and GetLastError reports ERROR_ALREADY_EXISTS; a name held by another kind of object fails
// with ERROR_INVALID_HANDLE. Names live in the namespace of TARVESKON_IPC_NAMESPACE.
HANDLE CreateEvent(SECURITY_ATTRIBUTES* attributes, BOOL manualReset, BOOL initialState, const char* name);
HANDLE OpenEvent(DWORD access, BOOL inheritHandle, const char* name);
BOOL SetEvent(HANDLE event) noexcept;
BOOL ResetEvent(HANDLE event) noexcept;

// Recursive per thread. An owner that ends while holding it leaves it abandoned: the next wait
// obtains it, made consistent again, and returns WAIT_ABANDONED.
HANDLE CreateMutex(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, const char* name);
HANDLE OpenMutex(DWORD access, BOOL inheritHandle, const char* name);
BOOL ReleaseMutex(HANDLE mutex) noexcept;

// Waits on an event, a mutex or a process (signalled once it has ended).
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) noexcept;

// Events and processes; a mutex may only be waited on alone (ERROR_NOT_SUPPORTED otherwise).
// With waitAll FALSE the lowest signalled index wins; processes are looked at every 10 ms.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) noexcept;
