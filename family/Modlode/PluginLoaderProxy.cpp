#include "PluginLoaderProxy.h"

#include "ModuleName.h"

#include <kernel/ProgramLocator.h>

#include <algorithm>

CPluginLoaderProxy::CPluginLoaderProxy() = default;

CPluginLoaderProxy::~CPluginLoaderProxy()
{
    Reset();
}

CPluginLoader* CPluginLoaderProxy::CreateLoader(const char* moduleName)
{
    m_lastError.clear();
    const std::string path = tvsk::modlode::ModulePath(tvsk::kernel::ProgramDirectory(), moduleName);
    if (path.empty())
    {
        m_lastError = "not a module name of the program's folder ending in \".dll\"";
        return nullptr;
    }
    for (CPluginLoader* loader : m_loaders)
        if (loader->GetPath() == path)
            return loader;
    auto library = std::make_unique<CSharedLibrary>();
    if (!library->Open(path.c_str()))
    {
        m_lastError = library->Error();
        return nullptr;
    }
    auto create = reinterpret_cast<CreatePluginClassFunction>(library->Symbol("CreatePluginClass"));
    auto name = reinterpret_cast<GetPluginNameFunction>(library->Symbol("GetPluginName"));
    if (!create || !name)
    {
        m_lastError = path + ": not a plug-in (no CreatePluginClass and GetPluginName exports)";
        return nullptr;
    }
    auto* loader = new CPluginLoader(this, path, std::move(library), create, name);
    m_loaders.push_back(loader);
    return loader;
}

void CPluginLoaderProxy::Reset()
{
    // Last loaded first; each loader is let go before it is deleted, so it does not call back.
    while (!m_loaders.empty())
    {
        CPluginLoader* loader = m_loaders.back();
        m_loaders.pop_back();
        loader->m_proxy = nullptr;
        delete loader;
    }
}

int CPluginLoaderProxy::SendBroadcastCommand(unsigned code, intptr_t param1, intptr_t param2)
{
    int handled = 0;
    const std::vector<CPluginLoader*> loaders = m_loaders;
    for (CPluginLoader* loader : loaders)
        if (std::find(m_loaders.begin(), m_loaders.end(), loader) != m_loaders.end())
            handled += loader->SendCommandToAll(code, param1, param2);
    return handled;
}

void CPluginLoaderProxy::Forget(CPluginLoader* loader)
{
    m_loaders.erase(std::remove(m_loaders.begin(), m_loaders.end(), loader), m_loaders.end());
}
