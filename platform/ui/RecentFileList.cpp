#include "RecentFileList.h"

#include "App.h"

#include <registry/Profile.h>

#include <algorithm>

CRecentFileList::CRecentFileList(UINT start, const char* section, const char* entryFormat, int size)
    : m_start(start), m_section(section), m_entryFormat(entryFormat), m_size(std::max(size, 0))
{
}

CString CRecentFileList::operator[](int index) const
{
    return index >= 0 && index < static_cast<int>(m_files.size()) ? m_files[static_cast<size_t>(index)]
                                                                  : CString();
}

void CRecentFileList::Add(const char* pathName)
{
    if (!pathName || !*pathName || m_size == 0)
        return;
    m_files.erase(std::remove_if(m_files.begin(), m_files.end(),
                                 [pathName](const CString& file)
                                 { return file.CompareNoCase(pathName) == 0; }),
                  m_files.end());
    m_files.insert(m_files.begin(), CString(pathName));
    if (static_cast<int>(m_files.size()) > m_size)
        m_files.resize(static_cast<size_t>(m_size));
    WriteList();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= static_cast<int>(m_files.size()))
        return;
    m_files.erase(m_files.begin() + index);
    WriteList();
}

CString CRecentFileList::EntryName(int index) const
{
    CString name;
    name.Format(m_entryFormat.GetString(), index + 1);
    return name;
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    for (int i = 0; i < m_size; ++i)
    {
        const CString file = CProfile::Instance().GetProfileString(m_section, EntryName(i), "");
        if (!file.IsEmpty())
            m_files.push_back(file);
    }
}

void CRecentFileList::WriteList() const
{
    CProfile& profile = CProfile::Instance();
    for (int i = 0; i < m_size; ++i)
        profile.WriteProfileString(
            m_section, EntryName(i),
            i < static_cast<int>(m_files.size()) ? m_files[static_cast<size_t>(i)].GetString() : nullptr);
}

void CWinApp::LoadStdProfileSettings(UINT maxMru)
{
    m_pRecentFileList =
        std::make_unique<CRecentFileList>(0, "Recent File List", "File%d", static_cast<int>(maxMru));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const char* pathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pathName);
}
