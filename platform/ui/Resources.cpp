// Process-wide table of the resources modules register.
#include "Resources.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace
{

using ResourceKey = std::tuple<HINSTANCE, UINT, std::string>;

std::atomic<HINSTANCE> g_resourceModule{nullptr};

std::string UpperType(const char* type)
{
    std::string upper = type ? type : "";
    for (char& ch : upper)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return upper;
}

struct ResourceTable
{
    std::mutex lock;
    std::map<ResourceKey, ResourceData> entries;
};

ResourceTable& Table()
{
    static ResourceTable table;
    return table;
}

} // namespace

BOOL AfxRegisterResource(UINT id, const char* type, const void* data, size_t size, HINSTANCE module)
{
    if (!data)
        return FALSE;
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    const ResourceKey key{module, id, UpperType(type)};
    return table.entries.emplace(key, ResourceData{data, size}).second ? TRUE : FALSE;
}

const ResourceData* AfxFindResource(UINT id, const char* type)
{
    ResourceTable& table = Table();
    const std::string upper = UpperType(type);
    std::lock_guard guard(table.lock);
    for (const HINSTANCE module : {AfxGetResourceHandle(), static_cast<HINSTANCE>(nullptr)})
    {
        const auto it = table.entries.find(ResourceKey{module, id, upper});
        if (it != table.entries.end())
            return &it->second;
    }
    for (const auto& [key, data] : table.entries)
        if (std::get<1>(key) == id && std::get<2>(key) == upper)
            return &data;
    return nullptr;
}

void AfxUnregisterResource(UINT id, const char* type, HINSTANCE module)
{
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    table.entries.erase(ResourceKey{module, id, UpperType(type)});
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule.load();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceModule.store(module);
}
