// CPluginLoader: one loaded plug-in module and the plug-in objects made through it.
#pragma once

#include "PluginImpl.h"

#include <kernel/SharedLibrary.h>

#include <memory>
#include <string>
#include <vector>

class CPluginLoaderProxy;

class CPluginLoader
{
public:
    // Deletes every object made through this loader, then unloads the module; a loader deleted by
    // its user leaves its proxy.
    ~CPluginLoader();
    CPluginLoader(const CPluginLoader&) = delete;
    CPluginLoader& operator=(const CPluginLoader&) = delete;

    // A new object of the module, owned by this loader. A null or empty name takes the module's
    // object; a given name must be its class name (a ".dll" before "Class" is ignored). Null when
    // the module makes no object or another class.
    CPluginImpl* CreatePluginClass(const char* className);

    // The module's own name for its plug-in; empty when it gives none.
    std::string GetPluginName() const;
    const std::string& GetPath() const noexcept { return m_path; }

    // Sends the command to every object of this loader; answers how many handled it (answered 0).
    int SendCommandToAll(unsigned code, intptr_t param1, intptr_t param2);

private:
    friend class CPluginLoaderProxy;
    CPluginLoader(CPluginLoaderProxy* proxy, std::string path, std::unique_ptr<CSharedLibrary> library,
                  CreatePluginClassFunction create, GetPluginNameFunction name);
    void DeleteObjects();

    CPluginLoaderProxy* m_proxy; // null once the proxy has let it go
    std::string m_path;
    std::unique_ptr<CSharedLibrary> m_library;
    CreatePluginClassFunction m_create;
    GetPluginNameFunction m_name;
    std::vector<std::unique_ptr<CPluginImpl>> m_objects; // in the order made
};
