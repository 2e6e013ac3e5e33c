#include "TvskSlvDataDb.h"

#include "TvskSlvFileDb.h"
#include "TvskSlvListingCopy.h"
#include "TvskTempFile.h"

#include <ZoSupport/ZoSupport.h>
#include <framework/File.h>

#include <cerrno>
#include <cstring>

namespace
{

// The listing's folder without trailing blanks and separators.
CString FolderOf(const CString& path, int slash)
{
    if (slash < 0)
        return CString(".");
    CString folder = path.Left(slash);
    folder.TrimRight(" /");
    return folder.IsEmpty() ? CString("/") : folder;
}

} // namespace

CTvskSlvDataDb::CTvskSlvDataDb() = default;
CTvskSlvDataDb::CTvskSlvDataDb(const CTvskSlvDataDb& other) = default;
CTvskSlvDataDb& CTvskSlvDataDb::operator=(const CTvskSlvDataDb& other) = default;

CTvskSlvDataDb::~CTvskSlvDataDb()
{
    Close();
}

void CTvskSlvDataDb::SetError(int line, int type, const char* info, const char* fileName)
{
    CTextDbException error(line, type, info, fileName);
    CreateErrorString(&error);
}

namespace
{

// Every line of a listing ends with a line end; a last line without one was cut short. An empty
// file counts as ended (it is refused for holding nothing).
bool LastLineEnded(CFile& file)
{
    const ULONGLONG length = file.GetLength();
    if (length == 0)
        return true;
    char last = 0;
    file.Seek(static_cast<LONGLONG>(length) - 1, CFile::begin);
    const bool ended = file.Read(&last, 1) == 1 && last == '\n';
    file.SeekToBegin();
    return ended;
}

} // namespace

int CTvskSlvDataDb::Load(const char* path)
{
    Close();
    m_strError.Empty();
    // The copy below would read a listing whole before the database refused its size.
    if (path && !FitsForReading(path, CTextDb::kMaxFileSize))
    {
        CString info;
        info.Format("the file is no listing or larger than the %llu bytes a database file may hold",
                    static_cast<unsigned long long>(CTextDb::kMaxFileSize));
        SetError(0, TDB_ERR_SIZE, info, path);
        return 2;
    }
    CStdioFile listing;
    if (!path)
        return 3;
    CFileException failure;
    if (!listing.Open(path, CFile::modeRead | CFile::typeText, &failure))
    {
        SetError(0, 0, std::strerror(failure.m_lOsError > 0 ? static_cast<int>(failure.m_lOsError) : EIO),
                 path);
        return 3;
    }
    const CString fullPath(path);
    const int slash = fullPath.ReverseFind('/');
    if (slash + 1 >= fullPath.GetLength())
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return 2;
    }
    const CString folder = FolderOf(fullPath, slash);

    // Removed on every way out of this function.
    CTvskTempFile copy;
    if (!copy.Create(folder, "~slvtmp", ".slv"))
    {
        SetError(0, 0, "the temporary copy cannot be created in " + folder, path);
        return 2;
    }
    CSlvListingCopy copier;
    try
    {
        if (!LastLineEnded(listing))
        {
            SetError(0, TDB_ERR_CUT, "the last line has no line end: the listing was cut short", path);
            return 2;
        }
        if (!copier.Copy(listing, copy))
        {
            SetError(copier.Line(), copier.Type(), copier.Info(), path);
            return 2;
        }
    }
    catch (CFileException* e)
    {
        SetError(0, 0, std::strerror(e->m_lOsError > 0 ? static_cast<int>(e->m_lOsError) : EIO), path);
        e->Delete();
        return 3;
    }
    listing.Abort();

    const int result = LoadNewTextDb<CSlvFileDb>(m_pDb, copy.Path(), *this, path);
    if (result == 0 && m_pDb->IsEmpty() && !copier.HeldBlockHeader())
    {
        m_pDb.reset();
        return RefuseMissingRows(*this, path, "the listing holds no parameter, PLC or cam line");
    }
    m_bOpen = result == 0 ? 1 : 0;
    return result;
}

int CTvskSlvDataDb::Create()
{
    return CreateTextDb<CSlvFileDb>(m_pDb, m_bOpen);
}

int CTvskSlvDataDb::Close()
{
    m_pDb.reset();
    m_bOpen = 0;
    return 1;
}

long CTvskSlvDataDb::GetValNums() const
{
    return m_pDb ? static_cast<long>(m_pDb->m_values.NumRecs()) : 0;
}

DBSLVVALUE* CTvskSlvDataDb::GetValue(long i)
{
    return m_pDb && i >= 0 && i < GetValNums() ? m_pDb->m_values.GetRec(static_cast<int>(i)) : nullptr;
}

long CTvskSlvDataDb::GetInstrNums() const
{
    return m_pDb ? static_cast<long>(m_pDb->m_plc.NumRecs()) : 0;
}

DBSLVPLC* CTvskSlvDataDb::GetInstruction(long i)
{
    return m_pDb && i >= 0 && i < GetInstrNums() ? m_pDb->m_plc.GetRec(static_cast<int>(i)) : nullptr;
}

int CTvskSlvDataDb::GetCammaData(long cam, long index, double& value) const
{
    CRecDef<DBSLVCAMPT>* table = m_pDb ? m_pDb->CamTable(cam) : nullptr;
    if (!table)
        return 0;
    for (const DBSLVCAMPT& point : table->Records())
    {
        if (point.nIdx != index)
            continue;
        value = point.dblVal;
        return 1;
    }
    return 0;
}
