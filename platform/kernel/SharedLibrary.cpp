#include "SharedLibrary.h"

#include <dlfcn.h>

#include <atomic>
#include <utility>

namespace
{
std::atomic<ModuleCloser> g_closer{nullptr};
} // namespace

void SetModuleCloser(ModuleCloser closer) noexcept
{
    g_closer = closer;
}

CSharedLibrary::~CSharedLibrary()
{
    Close();
}

CSharedLibrary::CSharedLibrary(CSharedLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error))
{
}

CSharedLibrary& CSharedLibrary::operator=(CSharedLibrary&& other) noexcept
{
    if (this != &other)
    {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

bool CSharedLibrary::Open(const char* path)
{
    Close();
    m_error.clear();
    if (!path || !*path)
    {
        m_error = "no module path";
        return false;
    }
    m_handle = ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
    {
        const char* reason = ::dlerror();
        m_error = reason ? reason : std::string(path) + ": cannot be loaded";
        return false;
    }
    return true;
}

void CSharedLibrary::Close()
{
    if (!m_handle)
        return;
    void* handle = std::exchange(m_handle, nullptr);
    if (const ModuleCloser closer = g_closer)
        closer(handle);
    else
        ::dlclose(handle);
}

void* CSharedLibrary::Symbol(const char* name) const
{
    return m_handle && name ? ::dlsym(m_handle, name) : nullptr;
}
