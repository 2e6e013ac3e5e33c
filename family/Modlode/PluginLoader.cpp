#include "PluginLoader.h"

#include "PluginLoaderProxy.h"

#include <cstring>
#include <string_view>
#include <strings.h>

namespace
{

// "TvskOsc.dllClass" names the class "TvskOscClass": hosts append "Class" to the name as given.
bool ClassMatches(std::string_view wanted, std::string_view actual)
{
    if (wanted == actual)
        return true;
    constexpr std::string_view dllClass = ".dllClass";
    if (wanted.size() <= dllClass.size())
        return false;
    const std::string_view stem = wanted.substr(0, wanted.size() - dllClass.size());
    const std::string_view end = wanted.substr(stem.size());
    if (strncasecmp(end.data(), ".dll", 4) != 0 || end.substr(4) != "Class")
        return false;
    return actual.size() == stem.size() + 5 && actual.substr(0, stem.size()) == stem &&
           actual.substr(stem.size()) == "Class";
}

} // namespace

CPluginLoader::CPluginLoader(CPluginLoaderProxy* proxy, std::string path,
                             std::unique_ptr<CSharedLibrary> library, CreatePluginClassFunction create,
                             GetPluginNameFunction name)
    : m_proxy(proxy), m_path(std::move(path)), m_library(std::move(library)), m_create(create), m_name(name)
{
}

CPluginLoader::~CPluginLoader()
{
    if (m_proxy)
        m_proxy->Forget(this);
    DeleteObjects();
    m_library.reset(); // only now may the objects' code go
}

void CPluginLoader::DeleteObjects()
{
    while (!m_objects.empty())
    {
        std::unique_ptr<CPluginImpl> object = std::move(m_objects.back());
        m_objects.pop_back();
        object.reset();
    }
}

CPluginImpl* CPluginLoader::CreatePluginClass(const char* className)
{
    std::unique_ptr<CPluginImpl> object;
    try
    {
        object.reset(m_create());
    }
    catch (...)
    {
        return nullptr; // a module that throws out of its factory makes no object
    }
    if (!object)
        return nullptr;
    if (className && *className)
    {
        const char* actual = object->GetClassName();
        if (!ClassMatches(className, actual ? actual : ""))
            return nullptr;
    }
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

std::string CPluginLoader::GetPluginName() const
{
    const char* name = m_name();
    return name ? name : "";
}

int CPluginLoader::SendCommandToAll(unsigned code, intptr_t param1, intptr_t param2)
{
    int handled = 0;
    // By index: a command may make further objects of this module.
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i]->SendCommand(code, param1, param2) == 0)
            ++handled;
    return handled;
}
