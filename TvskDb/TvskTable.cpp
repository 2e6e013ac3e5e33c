// Loading a database file with the error codes every database answers.
#include "TvskTable.h"

#include <framework/File.h>

bool IsEmptyFile(const char* path)
{
    CFile file;
    return path && file.Open(path, CFile::modeRead) && file.GetLength() == 0;
}

int LoadTextFile(CTextDb& db, const char* path, CTvskDbErrString& errors, const char* reportedName)
{
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead))
        return 3;
    const bool empty = file.GetLength() == 0;
    file.Close();
    if (empty)
        return RefuseMissingRows(errors, reportedName ? reportedName : path, "the file is empty");
    try
    {
        if (!db.Load(path))
            return 3;
    }
    catch (CTextDbException* e)
    {
        if (reportedName)
            e->m_strFileName = reportedName;
        errors.CreateErrorString(e);
        e->Delete();
        return 2;
    }
    catch (CMemoryException* e)
    {
        e->Delete();
        return 1;
    }
    db.Close();
    return 0;
}

int RefuseMissingRows(CTvskDbErrString& errors, const char* path, const char* info)
{
    CTextDbException error(0, TDB_ERR_MISSING, info, path);
    errors.CreateErrorString(&error);
    return 2;
}
