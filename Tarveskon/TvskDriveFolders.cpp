// Drive type folders and paths.
#include "TvskDriveFolders.h"

#include <TvskDb/TvskDriveDb.h>

namespace
{

CString Upper(const char* text)
{
    CString upper(text);
    upper.MakeUpper();
    return upper;
}

} // namespace

CTvskDriveFolders::CTvskDriveFolders()
{
    m_driveTypes.InitHashTable(17);
}

void CTvskDriveFolders::Clear()
{
    m_driveTypes.RemoveAll();
    m_aliases.RemoveAll();
    m_families.RemoveAll();
    m_encoderPars.RemoveAll();
}

void CTvskDriveFolders::Rebuild(CTvskDriveDb& drives)
{
    Clear();
    for (long i = 0; i < drives.GetDrivesTypesNum(); ++i)
        if (const DBDRIVETYPE* type = drives.GetDriveType(i))
            m_driveTypes.SetAt(static_cast<int>(type->lType), type->szName);
    for (long i = 0; i < drives.GetDrivesAliasNum(); ++i)
        if (const DBDRIVEALIAS* alias = drives.GetDriveAlias(i))
            m_aliases.SetAt(alias->szAlias, alias->szType);
    for (long i = 0; i < drives.GetDrivesFamilyNum(); ++i)
        if (const DBDRIVEFAMILY* family = drives.GetDriveFamily(i))
            m_families.SetAt(Upper(family->DriveName), family->Family);
    for (long i = 0; i < drives.GetEncoderParRecNum(); ++i)
        if (const DBENCMOTPAR* encoder = drives.GetEncoderParRec(i))
            m_encoderPars.SetAt(Upper(encoder->szType), encoder->szEncPar);
}

CTvskDriveFolders::Resolution CTvskDriveFolders::Resolve(const CString& driveType) const
{
    Resolution result;
    result.driveType = driveType;
    if (m_families.Lookup(Upper(driveType), result.family))
    {
        result.found = result.direct = true;
        return result;
    }
    CString aliased;
    if (m_aliases.Lookup(driveType, aliased) && m_families.Lookup(Upper(aliased), result.family))
    {
        result.found = true;
        result.driveType = aliased;
    }
    return result;
}

CString CTvskDriveFolders::PagesDir(const CString& programDir, const CString& driveType,
                                    const CString& language, bool typeSubdir) const
{
    const Resolution r = Resolve(driveType);
    CString dir;
    if (r.found && typeSubdir && r.direct)
        dir.Format("%s/%s/%s/%s", programDir.GetString(), r.family.GetString(), driveType.GetString(),
                   "Pages");
    else if (r.found && !typeSubdir)
        dir.Format("%s/%s/%s", programDir.GetString(), r.family.GetString(), "Pages");
    else
        dir.Format("%s/%s/%s", programDir.GetString(), driveType.GetString(), language.GetString());
    return dir;
}

CString CTvskDriveFolders::StartPage(const CString& programDir, const CString& driveType,
                                     const CString& language, bool typePage) const
{
    const Resolution r = Resolve(driveType);
    CString path;
    if (r.found && !typePage)
        path.Format("%s/%s/%s%s", programDir.GetString(), r.family.GetString(), r.family.GetString(), ".htm");
    else if (r.found && r.direct)
        path.Format("%s/%s/%s%s", programDir.GetString(), r.family.GetString(), driveType.GetString(),
                    ".htm");
    else
        path.Format("%s/%s/%s_%s%s", programDir.GetString(), driveType.GetString(), driveType.GetString(),
                    language.GetString(), ".htm");
    return path;
}

CString CTvskDriveFolders::HelpPage(const CString& programDir, const CString& driveType,
                                    const CString& language) const
{
    const Resolution r = Resolve(driveType);
    CString path;
    if (r.found)
        path.Format("%s/%s/%s/%sHelp_%s%s", programDir.GetString(), r.family.GetString(),
                    driveType.GetString(), driveType.GetString(), language.GetString(), ".htm");
    else
        path.Format("%s/%s/%sHelp_%s%s", programDir.GetString(), driveType.GetString(), driveType.GetString(),
                    language.GetString(), ".htm");
    return path;
}

CString CTvskDriveFolders::ParFile(const CString& programDir, const CString& driveType) const
{
    // A type found through its alias has a parameter file of its own in the family's folder.
    const Resolution r = Resolve(driveType);
    CString path;
    path.Format("%s/%s/%s%s", programDir.GetString(), r.found ? r.family.GetString() : driveType.GetString(),
                driveType.GetString(), ".par");
    return path;
}

CString CTvskDriveFolders::DriveTextsFile(const CString& programDir, const CString& driveType,
                                          const CString& language) const
{
    const CString parFile = ParFile(programDir, driveType);
    return parFile.Left(parFile.GetLength() - 4) + "_" + language + ".str";
}

CString CTvskDriveFolders::ScriptFile(const CString& programDir, const CString& driveType,
                                      const CString& scriptName) const
{
    if (scriptName.IsEmpty())
        return CString();
    const Resolution r = Resolve(driveType);
    CString path;
    path.Format("%s/%s/%s", programDir.GetString(), r.found ? r.family.GetString() : driveType.GetString(),
                scriptName.GetString());
    return path;
}
