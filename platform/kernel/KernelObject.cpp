// Handle table and the thread's last error.
#include "KernelObject.h"

#include <cerrno>
#include <mutex>
#include <unordered_map>

namespace tvsk::kernel
{
namespace
{

struct HandleTable
{
    std::mutex lock;
    std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> objects;
};

HandleTable& Table()
{
    static HandleTable* table = new HandleTable; // never destroyed: handles may be closed at exit
    return *table;
}

} // namespace

HANDLE AddHandle(std::shared_ptr<KernelObject> object)
{
    HANDLE handle = object.get();
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    table.objects.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle)
{
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(handle);
    if (found == table.objects.end())
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

DWORD ErrnoToError(int error) noexcept
{
    switch (error)
    {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
    case ENOSPC:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY:
    case EWOULDBLOCK:
        return ERROR_SHARING_VIOLATION;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG:
        return ERROR_INVALID_NAME;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTSUP:
    case ENOTTY:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

BOOL FailWithErrno(int error) noexcept
{
    SetLastError(ErrnoToError(error));
    return FALSE;
}

} // namespace tvsk::kernel

namespace
{
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() noexcept
{
    return lastError;
}

void SetLastError(DWORD error) noexcept
{
    lastError = error;
}

BOOL CloseHandle(HANDLE handle) noexcept
{
    std::shared_ptr<tvsk::kernel::KernelObject> closing;
    {
        auto& table = tvsk::kernel::Table();
        std::lock_guard guard(table.lock);
        auto found = table.objects.find(handle);
        if (found == table.objects.end())
        {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        closing = std::move(found->second);
        table.objects.erase(found);
    }
    return TRUE; // the object goes when its last user lets go, outside the table's lock
}
