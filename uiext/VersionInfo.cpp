// Version blocks by module name.
#include "VersionInfo.h"

#include <string>

#include <unistd.h>

namespace
{

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
    m_pBlock = FindVersionResource(fileName);
    if (m_pBlock)
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
