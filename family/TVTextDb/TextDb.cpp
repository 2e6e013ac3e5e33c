#include "TextDb.h"

#include "TextDbWriter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unistd.h>

CTextDb::~CTextDb()
{
    Close();
}

void CTextDb::EnsureInit()
{
    if (m_bInitDone)
        return;
    m_bInitDone = true;
    Init();
}

void CTextDb::RegisterSection(CRecDefIntf& table, const char* keyword, const char* comment)
{
    table.SetSection(keyword, comment);
    m_tables.push_back(&table);
}

int CTextDb::RecTypes()
{
    EnsureInit();
    return static_cast<int>(m_tables.size());
}

CRecDefIntf* CTextDb::RecArr(int type)
{
    EnsureInit();
    return type >= 0 && type < static_cast<int>(m_tables.size()) ? m_tables[static_cast<size_t>(type)]
                                                                 : nullptr;
}

void* CTextDb::RecPtr(int type, int i)
{
    CRecDefIntf* table = RecArr(type);
    return table ? table->RecPtr(i) : nullptr;
}

int CTextDb::Load(const char* path)
{
    EnsureInit();
    Close();
    if (!path || !m_file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return 0;
    m_strFileName = path;
    ULONGLONG size = 0;
    try
    {
        size = m_file.GetLength();
    }
    catch (CFileException* e)
    {
        e->Delete();
        Close();
        return 0;
    }
    if (size > kMaxFileSize)
    {
        Close();
        throw new CTextDbException(
            0, TDB_ERR_SIZE,
            FormatString("the file holds %llu bytes, more than the %llu a database file may",
                         static_cast<unsigned long long>(size),
                         static_cast<unsigned long long>(kMaxFileSize)),
            m_strFileName);
    }

    CTextDbParser parser(m_syntax, m_tables, m_strFileName);
    // The file goes through one window of text, so memory stays flat whatever its size; a row
    // longer than the window widens it.
    std::vector<char> window(1 << 16);
    size_t have = 0;
    bool atEnd = false;
    bool first = true;
    while (!atEnd || have > 0)
    {
        if (have == window.size())
            window.resize(window.size() * 2);
        if (!atEnd)
        {
            UINT got = 0;
            try
            {
                got = m_file.Read(window.data() + have, static_cast<UINT>(window.size() - have));
            }
            catch (CFileException* e)
            {
                e->Delete();
                Close();
                return 0;
            }
            atEnd = got == 0;
            have += got;
        }
        const char* p = window.data();
        const char* const end = p + have;
        if (first && (have >= 3 || atEnd))
        {
            first = false;
            if (have >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
                p += 3;
        }
        while (p < end && !first)
        {
            const char* next = parser.ParseRow(p, end, atEnd);
            if (!next)
                break;
            p = next;
        }
        const size_t used = static_cast<size_t>(p - window.data());
        std::memmove(window.data(), p, have - used);
        have -= used;
    }
    m_nVer = parser.Version();
    return 1;
}

int CTextDb::Store(const char* path)
{
    EnsureInit();
    m_strStoreError.Empty();
    if (!path || !*path)
        return 0;
    const std::string text = CTextDbWriter::Write(m_tables, m_nVer);
    // Written beside the target and renamed over it, so a failed write never leaves half a file.
    CFile::RemoveStaleSaveTemps(path);
    const CString temp = CFile::SaveTempName(path);
    try
    {
        {
            CFile file(temp, CFile::modeCreate | CFile::modeWrite);
            for (size_t done = 0; done < text.size();)
            {
                const UINT n = static_cast<UINT>(std::min<size_t>(text.size() - done, 1u << 30));
                file.Write(text.data() + done, n);
                done += n;
            }
            file.Flush();
            file.Close();
        }
        CFile::Rename(temp, path);
    }
    catch (CFileException* e)
    {
        m_strStoreError.Format("%s: %s", path,
                               std::strerror(e->m_lOsError > 0 ? static_cast<int>(e->m_lOsError) : EIO));
        e->Delete();
        unlink(temp);
        return 0;
    }
    return 1;
}

void CTextDb::Close()
{
    if (m_file.IsOpen())
        m_file.Abort();
}
