#include "Path.h"

#include <framework/File.h>

#include <algorithm>
#include <cctype>

CPath::CPath(const char* path, bool isFolder)
{
    Set(path, isFolder);
}

void CPath::Set(const char* path, bool isFolder)
{
    m_valid = path && *path ? 1 : 0;
    m_full = path;
    m_drive.Empty();
    m_folder.Empty();
    m_name.Empty();
    m_ext.Empty();
    if (!m_valid)
        return;

    CString rest = m_full;
    if (rest.GetLength() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':')
    {
        m_drive = rest.Left(2);
        rest = rest.Mid(2);
    }
    if (isFolder)
    {
        m_folder = rest;
        return;
    }
    const int slash = std::max(rest.ReverseFind('/'), rest.ReverseFind('\\'));
    m_folder = rest.Left(slash + 1);
    const CString file = rest.Mid(slash + 1);
    const int dot = file.ReverseFind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot > 0)
    {
        m_name = file.Left(dot);
        m_ext = file.Mid(dot);
    }
    else
        m_name = file;
}

const char* CPath::FileName() const
{
    m_fileName = m_name + m_ext;
    return m_fileName.GetString();
}

bool CPath::Exist() const
{
    return m_valid && FileExists(m_full);
}
