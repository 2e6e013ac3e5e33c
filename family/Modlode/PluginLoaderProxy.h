// CPluginLoaderProxy: the plug-in modules one host window loaded, one loader per module.
#pragma once

#include "PluginLoader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPluginLoaderProxy
{
public:
    CPluginLoaderProxy();
    // Releases every loader: objects first, then their modules.
    virtual ~CPluginLoaderProxy();
    CPluginLoaderProxy(const CPluginLoaderProxy&) = delete;
    CPluginLoaderProxy& operator=(const CPluginLoaderProxy&) = delete;

    // The loader of module "X.dll" ("X.so" in the program's folder), owned by this proxy; the same
    // loader when the module was loaded before. Null for a name that is not a plain file name
    // ending in ".dll", a missing file, or a module without both exports; GetLastError says why.
    CPluginLoader* CreateLoader(const char* moduleName);
    // Why the last CreateLoader gave null (the system loader's own text where it refused the
    // module); empty after one that succeeded.
    const std::string& GetLastError() const noexcept { return m_lastError; }
    // Releases every loader of this proxy.
    void Reset();
    // Sends the command to every object of every loader, in loading order; answers how many
    // objects handled it.
    int SendBroadcastCommand(unsigned code, intptr_t param1, intptr_t param2);

    size_t GetLoaderCount() const noexcept { return m_loaders.size(); }

private:
    friend class CPluginLoader;
    void Forget(CPluginLoader* loader);

    std::vector<CPluginLoader*> m_loaders; // owned; a loader deleted by its user removes itself
    std::string m_lastError;
};
