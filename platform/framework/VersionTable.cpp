// Version blocks by module name.
#include "VersionTable.h"

#include <map>
#include <mutex>
#include <string>

namespace
{

// "C:/x/Tarveskon.exe" and "tarveskon" name the same module.
std::string ModuleKey(const char* fileName)
{
    std::string name = fileName ? fileName : "";
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    for (char& ch : name)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return name;
}

struct VersionTable
{
    std::mutex lock;
    std::map<std::string, const VersionResource*> blocks;
    VersionListener listener = nullptr;
};

VersionTable& Table()
{
    static VersionTable table;
    return table;
}

} // namespace

BOOL RegisterVersionResource(const VersionResource* resource)
{
    if (!resource || !resource->moduleName)
        return FALSE;
    VersionTable& table = Table();
    VersionListener listener = nullptr;
    {
        std::lock_guard guard(table.lock);
        const auto [it, added] = table.blocks.emplace(ModuleKey(resource->moduleName), resource);
        if (!added)
            return it->second == resource ? TRUE : FALSE;
        listener = table.listener;
    }
    if (listener)
        listener(resource);
    return TRUE;
}

void UnregisterVersionResource(const VersionResource* resource)
{
    if (!resource || !resource->moduleName)
        return;
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.blocks.find(ModuleKey(resource->moduleName));
    if (it != table.blocks.end() && it->second == resource)
        table.blocks.erase(it);
}

int RegisteredVersionResources(const VersionResource** blocks, int capacity)
{
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    int count = 0;
    for (const auto& [key, block] : table.blocks)
    {
        if (count >= capacity)
            break;
        blocks[count++] = block;
    }
    return count;
}

const VersionResource* FindVersionResource(const char* fileName)
{
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.blocks.find(ModuleKey(fileName));
    return it == table.blocks.end() ? nullptr : it->second;
}

void SetVersionListener(VersionListener listener)
{
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    table.listener = listener;
}
