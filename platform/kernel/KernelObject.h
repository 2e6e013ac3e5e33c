// Base of the objects behind handles, and the process's table of open handles.
#pragma once

#include <kernel/Handle.h>

#include <memory>

namespace tvsk::kernel
{

class KernelObject
{
public:
    virtual ~KernelObject() = default;
};

// Hands out a handle that owns the object until CloseHandle.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);

// The object behind an open handle, kept alive while the caller uses it even if another thread
// closes the handle meanwhile; null with ERROR_INVALID_HANDLE for an unknown handle or another kind.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);

template <class T> std::shared_ptr<T> FindHandleOf(HANDLE handle)
{
    auto object = std::dynamic_pointer_cast<T>(FindHandle(handle));
    if (!object)
        SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// Sets the last error from an errno value and returns FALSE, for the common failure path.
BOOL FailWithErrno(int error) noexcept;
DWORD ErrnoToError(int error) noexcept;

} // namespace tvsk::kernel
