// The versions installed with the program: release, program, databases, parameter files, pages.
#pragma once

#include <TvskDb/TvskDbErrString.h>

#include <memory>

// Version of one drive's parameter file.
struct DBDRIVEPARVER
{
    char szDriveDef[61];
    char szParVer[21];
};

// Version of one drive's pages in one language.
struct DBDRIVEPAGVER
{
    char szDriveDef[61];
    char szLang[6];
    char szVer[21];
};

class CVerFileDb;

// Copies share the loaded file; it stays until the last copy closes it.
class CTvskVerDb : public CTvskDbErrString
{
public:
    CTvskVerDb();
    virtual ~CTvskVerDb();

    // 0 loaded, 1 out of memory, 2 syntax error (error text set), 3 cannot open or read.
    int Load(const char* path);
    // 0, or -1 when already open or out of memory.
    int Create();
    int Close();
    int IsOpen() const { return m_bOpen; }

    // The first record's text; null when not open or the section is empty.
    const char* GetReleaseVer();
    const char* GetProgramVer();
    const char* GetDrivesVer();
    const char* GetMotorsVer();

    long GetParNums();
    DBDRIVEPARVER* GetParRec(long i);
    long GetPagNums();
    DBDRIVEPAGVER* GetPagRec(long i);

private:
    CVerFileDb* Db() const { return m_bOpen ? m_db.get() : nullptr; }

    std::shared_ptr<CVerFileDb> m_db;
    int m_bOpen = 0;
};
