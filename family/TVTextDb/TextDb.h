// Text database engine: sectioned text files read into and written from registered record tables.
#pragma once

#include "MemoDb.h"
#include "MemoSort.h"
#include "RecDefIntf.h"
#include "TextDbException.h"
#include "TextDbParser.h"

#include <framework/File.h>

#include <vector>

class CTextDb
{
public:
    // Larger files are refused (TDB_ERR_SIZE): no database file comes near it, and loading one
    // takes several times its size in memory.
    static constexpr ULONGLONG kMaxFileSize = 16ull << 20;

    CTextDb() = default;
    // The tables belong to the subclass; a copy would point at the original's tables.
    CTextDb(const CTextDb&) = delete;
    CTextDb& operator=(const CTextDb&) = delete;
    virtual ~CTextDb();

    // Reads the file and appends its rows to the registered tables: nonzero when read, 0 when the
    // file cannot be opened or read. Throws CTextDbException* on a syntax error, a file cut short
    // or larger than kMaxFileSize.
    int Load(const char* path);
    // Writes every section in registration order: 1 when written, 0 when not (the old file,
    // if any, is then left as it was, and StoreError says why).
    int Store(const char* path);
    // "<path>: <the system's reason>" of the last failed Store; empty after one that succeeded.
    const CString& StoreError() const noexcept { return m_strStoreError; }
    // Releases the file; loaded records stay.
    void Close();

    int RecTypes();
    CRecDefIntf* RecArr(int type);
    void* RecPtr(int type, int i);
    const char* FileName() const { return m_strFileName; }
    void SetVer(int version) { m_nVer = version; }
    int GetVer() const { return m_nVer; }

protected:
    // Sets the syntax and registers the sections; runs once, before the first use of the tables.
    virtual void Init() {}

    void SetSeparators(const char* separators) { m_syntax.separators = separators; }
    // The comment string's character starts a comment outside quotes.
    void SetComment(const char* comment) { m_syntax.comment = comment ? comment[0] : '\0'; }
    // For files people edit by hand: a last row without a line end is read as it stands.
    void AcceptLastRowWithoutLineEnd() { m_syntax.lastRowMayLackLineEnd = true; }
    // Appends a table, already given its fields, as the section of that keyword.
    void RegisterSection(CRecDefIntf& table, const char* keyword, const char* comment);

private:
    void EnsureInit();

    TextDbSyntax m_syntax{" \t\"", ';'};
    std::vector<CRecDefIntf*> m_tables;
    CFile m_file;
    CString m_strFileName;
    CString m_strStoreError;
    int m_nVer = -1;
    bool m_bInitDone = false;
};
