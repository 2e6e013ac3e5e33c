// The recent-file list: most recent first, kept in the profile after every change.
#pragma once

#include <framework/CString.h>

#include <vector>

class CRecentFileList
{
public:
    // Entries "File1".."File<size>" of the profile section; entryFormat as "File%d".
    CRecentFileList(UINT start, const char* section, const char* entryFormat, int size);

    int GetSize() const noexcept { return m_size; }
    // Entry i (from 0); empty past the last file.
    CString operator[](int index) const;
    // Puts the path first; the same path in other case is moved, not doubled; the last one drops out.
    void Add(const char* pathName);
    void Remove(int index);
    void ReadList();
    void WriteList() const;

private:
    CString EntryName(int index) const;

    UINT m_start;
    CString m_section;
    CString m_entryFormat;
    int m_size;
    std::vector<CString> m_files; // at most m_size, no empty ones
};
