// One module loaded into the process (dlopen, symbols resolved now, kept local); closed on destruction.
#pragma once

#include <string>

class CSharedLibrary
{
public:
    CSharedLibrary() = default;
    ~CSharedLibrary();
    CSharedLibrary(CSharedLibrary&& other) noexcept;
    CSharedLibrary& operator=(CSharedLibrary&& other) noexcept;
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    // Closes a module opened before; false with Error() saying why when the module cannot be loaded.
    bool Open(const char* path);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    // The address of an exported symbol; nullptr when absent or nothing is open.
    void* Symbol(const char* name) const;
    // Why the last Open failed; empty after a successful one.
    const std::string& Error() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// What closes the handle of a module that Close lets go; null (the default) closes it at once.
// The window layer installs one that keeps a module until the windows it still has to delete are
// gone, since their deletion may run the module's code.
using ModuleCloser = void (*)(void* handle);
void SetModuleCloser(ModuleCloser closer) noexcept;
