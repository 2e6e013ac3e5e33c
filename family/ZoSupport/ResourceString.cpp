#include "ResourceString.h"

#include <map>
#include <mutex>
#include <unordered_map>

namespace
{

using StringTable = std::unordered_map<UINT, CString>;

class ResourceRegistry
{
public:
    void Register(HINSTANCE module, const RESOURCE_STRING* table, int count)
    {
        StringTable strings;
        for (int i = 0; table && i < count; ++i)
            strings[table[i].id] = table[i].text;
        std::lock_guard lock(m_mutex);
        m_tables[module] = std::move(strings);
    }

    void Unregister(HINSTANCE module)
    {
        std::lock_guard lock(m_mutex);
        m_tables.erase(module);
    }

    CString Lookup(UINT id, HINSTANCE module) const
    {
        std::lock_guard lock(m_mutex);
        const auto table = m_tables.find(module);
        if (table == m_tables.end())
            return CString();
        const auto text = table->second.find(id);
        return text == table->second.end() ? CString() : text->second;
    }

private:
    mutable std::mutex m_mutex;
    std::map<HINSTANCE, StringTable> m_tables;
};

ResourceRegistry& Registry()
{
    static ResourceRegistry registry;
    return registry;
}

} // namespace

void RegisterResourceStrings(HINSTANCE module, const RESOURCE_STRING* table, int count)
{
    Registry().Register(module, table, count);
}

void UnregisterResourceStrings(HINSTANCE module)
{
    Registry().Unregister(module);
}

CString& GetResourceString(UINT id, HINSTANCE module)
{
    // A copy per thread: a table replaced or unloaded later cannot pull the text from under the caller.
    thread_local CString result;
    result = Registry().Lookup(id, module);
    return result;
}
