// Version blocks by module name.
#include "VersionInfo.h"

#include <map>
#include <mutex>
#include <string>

#include <unistd.h>

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
};

VersionTable& Table()
{
    static VersionTable table;
    return table;
}

CString RunningProgramName()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return CString();
    path[length] = '\0';
    const std::string key = path;
    const size_t slash = key.rfind('/');
    return CString(key.substr(slash == std::string::npos ? 0 : slash + 1)) + ".EXE";
}

} // namespace

BOOL RegisterVersionResource(const VersionResource* resource)
{
    if (!resource || !resource->moduleName)
        return FALSE;
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto [it, added] = table.blocks.emplace(ModuleKey(resource->moduleName), resource);
    return added || it->second == resource ? TRUE : FALSE;
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

VersionInfo::VersionInfo()
{
    Read(RunningProgramName());
}

VersionInfo::VersionInfo(const char* fileName)
{
    Read(fileName);
}

void VersionInfo::Read(const char* fileName)
{
    VersionTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto it = table.blocks.find(ModuleKey(fileName));
    if (it == table.blocks.end())
        return;
    m_pBlock = it->second;
    m_strTranslation.Format("%04x%04x", m_pBlock->language, m_pBlock->codePage);
}

CString VersionInfo::Value(const char* name) const
{
    if (!m_pBlock)
        return CString();
    for (int i = 0; i < m_pBlock->count; ++i)
        if (m_pBlock->values[i].name && CString(m_pBlock->values[i].name) == name)
            return CString(m_pBlock->values[i].value);
    return CString();
}
