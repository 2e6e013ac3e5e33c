// Process-wide table of the resources modules register.
#include "Resources.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace {

using ResourceKey = std::pair<UINT, std::string>;

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

BOOL AfxRegisterResource(UINT id, const char* type, const void* data, size_t size)
{
    if (!data)
        return FALSE;
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    return table.entries.emplace(ResourceKey{id, UpperType(type)}, ResourceData{data, size}).second ? TRUE : FALSE;
}

const ResourceData* AfxFindResource(UINT id, const char* type)
{
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.entries.find(ResourceKey{id, UpperType(type)});
    return it == table.entries.end() ? nullptr : &it->second;
}

void AfxUnregisterResource(UINT id, const char* type)
{
    ResourceTable& table = Table();
    std::lock_guard guard(table.lock);
    table.entries.erase(ResourceKey{id, UpperType(type)});
}
