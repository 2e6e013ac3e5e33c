// The wizard manager: file life cycle, paths, drives and motors databases, versions.
#include "TvskManager.h"

#include <ZoSupport/ProgramError.h>

#include <filesystem>
#include <fstream>

namespace
{

constexpr UINT kMissingFileText = 2151;
constexpr UINT kAccessDeniedText = 2152;
constexpr UINT kFolderNotFileText = 2153;
constexpr UINT kUnreadableFileText = 2154;

bool FileExists(const CString& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path.GetString(), error);
}

bool HasExtension(const CString& path, const char* extension)
{
    return path.GetLength() >= 4 && path.Right(4).CompareNoCase(extension) == 0;
}

CString Joined(const CString& first, const CString& second)
{
    if (first.IsEmpty())
        return second;
    if (second.IsEmpty())
        return first;
    return first + "\n" + second;
}

} // namespace

CString CTvskManager::DriveType() const
{
    return m_dataDb.GetDriveType();
}

BOOL CTvskManager::NewFile()
{
    if (CanFireEvents())
        m_pEvents->UnloadFile(m_strFilePath);
    CloseAll();
    m_dataDb.Close();
    if (m_dataDb.Load(m_programDir + "/Default.dat") != 0)
    {
        m_dataDb.Close();
        if (m_dataDb.Create() != 0)
            return FALSE;
    }
    m_dataDb.SetLanguage(GetLanguageName());
    m_dataDb.SetMotorImg("/Motors.jpg");
    m_dataDb.SetDriveImg("/Drives.jpg");
    SetModified(FALSE);
    return TRUE;
}

int CTvskManager::OpenFile(const char* path)
{
    m_dataDb.Close();
    m_slvDb.Close();
    Disconnect();
    StopScript();
    // The parameter database is loaded again: copies of its records would be stale.
    ClearLists();
    m_language.CloseDriveTexts();
    const int previousLanguage = m_language.GetLangId();
    // The previous file is closed: a failed open leaves no path that a save would overwrite.
    m_strFilePath.Empty();
    m_strFailedLoad = path ? path : "";
    if (!path || m_dataDb.Load(path) != 0)
        return 1;
    m_strFailedLoad = GetParFilePath();
    if (m_parDb.Load(m_strFailedLoad) != 0)
        return 4;

    const int fileLanguage = m_language.GetLanguageId(m_dataDb.GetLanguage());
    if (!m_language.GetLanguageName(fileLanguage) || !MainPageExists(fileLanguage) ||
        (fileLanguage != previousLanguage && !ChangeLanguage(fileLanguage)))
        m_dataDb.SetLanguage(GetLanguageName());

    LoadDriveTexts();
    ReplaceDescriptions();
    ApplyData();
    m_strFilePath = path;

    m_bDriveChosen = m_dataDb.GetDriveData() != nullptr;
    m_bMotorChosen = m_dataDb.GetMotorData() != nullptr;
    if (LoadDriveDb() == 0)
    {
        if (m_dataDb.GetDriveImg().IsEmpty())
            m_dataDb.SetDriveImg(m_driveDb.GetCurrDriveImage());
        m_bDriveWithMotor = m_driveDb.IsDriveWithMotor(m_dataDb.GetDriveTypeComplete());
        m_driveDb.Close();
    }
    if (!m_bDriveWithMotor && LoadMotorDb() == 0)
    {
        if (m_dataDb.GetMotorImg().IsEmpty())
            m_dataDb.SetMotorImg(m_motorDb.GetCurrMotorImage());
        m_motorDb.Close();
    }
    if (!StartDriveTypeScript())
        return 5;
    if (CanFireEvents())
        m_pEvents->LoadFile(m_strFilePath);
    // What the drive type's script derives from the file as it loads (defaults of empty session
    // variables) comes again with every load: the file as opened is unmodified.
    SetModified(FALSE);
    return 0;
}

int CTvskManager::SaveFile(const char* path)
{
    const CString target(path ? path : "");
    if (HasExtension(target, ".slv"))
    {
        if (!IsFileOpen() || m_parDb.Save(target) != 0)
            return 2;
    }
    else if (HasExtension(target, ".dat"))
    {
        StoreData();
        if (m_dataDb.Save(target) != 0)
            return 2;
        m_pUi->AddToRecentFileList(target);
    }
    else
    {
        return 2;
    }
    m_strFilePath = target;
    if (IsFileOpen())
        m_parDb.ResetModDescrFlag();
    SetModified(FALSE);
    return 0;
}

int CTvskManager::ImportSlv(const char* path)
{
    m_slvDb.Close();
    Disconnect();
    StopScript();
    if (!m_dataDb.IsOpen() && m_dataDb.Create() != 0)
        return 1;
    m_dataDb.ResetValues();
    m_dataDb.ResetDataPlc();
    m_dataDb.ResetCammaData();
    if (!path || m_slvDb.Load(path) != 0)
        return 1;
    m_strFilePath = path;
    SetModified(FALSE);
    return 0;
}

CString CTvskManager::GetFileErrorText(int code)
{
    CString text;
    switch (code)
    {
    case 1:
        GetString(2008, text);
        return Joined(text, LoadErrorText(m_dataDb));
    case 2:
    case 3:
        GetString(2004, text);
        return text;
    case 4:
        GetString(2009, text);
        return Joined(text, LoadErrorText(m_parDb));
    case 5:
        GetString(2081, text);
        return Joined(text, m_strScriptError);
    default:
        return text;
    }
}

// The database's own error when its last load made one, else why the file could not be read.
CString CTvskManager::LoadErrorText(const CTvskDbErrString& db)
{
    const CString dbError = GetDbErrorText(db);
    if (!dbError.IsEmpty())
        return dbError;
    std::error_code error;
    const char* file = m_strFailedLoad.GetString();
    UINT reason = kUnreadableFileText;
    if (!std::filesystem::exists(file, error))
        reason = kMissingFileText;
    else if (std::filesystem::is_directory(file, error))
        reason = kFolderNotFileText;
    else if (std::ifstream(file).fail())
        reason = kAccessDeniedText;
    return FormatString(LocalText(reason).GetString(), file);
}

CString CTvskManager::GetDbErrorText(const CTvskDbErrString& db)
{
    constexpr UINT kFirstKindText = 2117; // kinds 1 to 12
    // Every load empties the error text; the parts of an earlier load's error stay behind it.
    if (db.GetErrorString().IsEmpty())
        return CString();
    const int kind = db.GetErrorType();
    const CString kindText = kind >= 1 && kind <= 12 ? LocalText(kFirstKindText + kind) : CString();
    if (kindText.IsEmpty())
        return db.GetErrorString();
    return FormatString("\nFile : %s\nL : %d\nT : %d\nInfo : %s", db.GetErrorFile().GetString(),
                        db.GetErrorLine(), kind, kindText.GetString());
}

CString CTvskManager::GetImportErrorText()
{
    CString text;
    GetString(2008, text);
    return Joined(text, m_slvDb.GetErrorString());
}

void CTvskManager::LoadDriveTexts()
{
    m_language.LoadDriveTexts(m_folders.DriveTextsFile(m_programDir, DriveType(), GetLanguageName()));
    m_language.SetSubset(m_parDb.GetOpMode());
}

CString CTvskManager::GetAppPagesDir() const
{
    return m_programDir + "/Common";
}

CString CTvskManager::GetMainPagePath() const
{
    return GetAppPagesDir() + "/MainPage.htm";
}

CString CTvskManager::GetStatusPagePath() const
{
    return GetAppPagesDir() + "/Status.htm";
}

CString CTvskManager::GetDrivesPagePath() const
{
    return GetAppPagesDir() + "/Drives.htm";
}

CString CTvskManager::GetMotorsPagePath() const
{
    return GetAppPagesDir() + "/Motors.htm";
}

void CTvskManager::GetPagesDir(CString& dir, bool typeSubdir)
{
    dir = m_folders.PagesDir(m_programDir, DriveType(), GetLanguageName(), typeSubdir);
}

CString CTvskManager::GetWizardStartPage(bool typePage) const
{
    return m_folders.StartPage(m_programDir, DriveType(), GetLanguageName(), typePage);
}

CString CTvskManager::GetHelpPagePath(const char* topicFolder) const
{
    if (topicFolder && *topicFolder)
        return GetAppPagesDir() + "/Help/TvskHelp_" + GetLanguageName() + ".htm";
    return m_folders.HelpPage(m_programDir, DriveType(), GetLanguageName());
}

CString CTvskManager::GetParFilePath() const
{
    return m_folders.ParFile(m_programDir, DriveType());
}

CString CTvskManager::GetScriptFilePath()
{
    return IsFileOpen() ? m_folders.ScriptFile(m_programDir, DriveType(), m_parDb.GetScriptFile())
                        : CString();
}

int CTvskManager::LoadDriveDb()
{
    const CString path = m_programDir + "/Drives.db";
    if (!FileExists(path))
        return -1;
    if (const int result = m_driveDb.Load(path); result != 0)
        return result;
    if (!m_dataDb.GetDriveData())
    {
        DBDRIVEDB* current = m_driveDb.GetCurrRecord();
        if (!current || !m_dataDb.SetDriveData(current))
            return 5;
    }
    return MatchDriveDb();
}

int CTvskManager::MatchDriveDb()
{
    m_driveDb.SetCurrDrive(m_dataDb.GetDriveType());
    m_driveDb.SetCurrCurrent(m_dataDb.GetDriveCurrent());
    m_driveDb.SetCurrVoltage(m_dataDb.GetDriveVoltage());
    DBDRIVEDB* current = m_driveDb.GetCurrRecord();
    DBDRIVEDB* stored = m_dataDb.GetDriveData();
    if (!current || !stored)
        return 6;
    if (!stored->szImgPath[0])
        std::memcpy(stored->szImgPath, current->szImgPath, sizeof stored->szImgPath);
    if (!stored->szDriveWithMotor[0])
        std::memcpy(stored->szDriveWithMotor, current->szDriveWithMotor, sizeof stored->szDriveWithMotor);
    *current = *stored;
    return 0;
}

int CTvskManager::OpenDrivesDatabase()
{
    const CString path = m_programDir + "/Drives.db";
    return FileExists(path) ? m_driveDb.Load(path) : -1;
}

int CTvskManager::OpenMotorsDatabase()
{
    const CString path = m_programDir + "/Motor.db";
    return FileExists(path) ? m_motorDb.Load(path, m_programDir + "/CustomMotor.db") : -1;
}

int CTvskManager::LoadMotorDb()
{
    const CString path = m_programDir + "/Motor.db";
    if (!FileExists(path))
        return -1;
    if (!m_motorDb.IsOpen())
        if (const int result = m_motorDb.Load(path, m_programDir + "/CustomMotor.db"); result != 0)
            return result;
    if (!m_dataDb.GetMotorData())
    {
        DBMOTORDB* current = m_motorDb.GetCurrRecord();
        if (!current || !m_dataDb.SetMotorData(current))
            return 5;
    }
    return MatchMotorDb();
}

int CTvskManager::MatchMotorDb()
{
    m_motorDb.SetCurrType(m_dataDb.GetMotorType());
    m_motorDb.SetCurrSize(m_dataDb.GetMotorSize());
    m_motorDb.SetCurrVel(m_dataDb.GetMotorVel());
    m_motorDb.SetCurrTorque(m_dataDb.GetMotorTorque());
    m_motorDb.SetCurrVoltage(m_dataDb.GetMotorVoltage());
    DBMOTORDB* current = m_motorDb.GetCurrRecord();
    DBMOTORDB* stored = m_dataDb.GetMotorData();
    if (!current || !stored)
        return 6;
    *current = *stored;
    if (const DBMOTORENC* encoder = m_dataDb.GetEncoderData())
        m_motorDb.SetCurrEncoder(encoder->szCodVrn);
    m_motorDb.CreateViewString();
    return 0;
}

CString CTvskManager::GetVersionString(int kind)
{
    CString version;
    switch (kind)
    {
    case 1:
        version = TVSK_PRODUCT_VERSION;
        version.Replace(',', '.');
        break;
    case 2:
        if (IsFileOpen())
            version = m_parDb.GetVersion();
        break;
    case 3:
    {
        const bool wasOpen = m_motorDb.IsOpen();
        if (wasOpen || m_motorDb.Load(m_programDir + "/Motor.db", m_programDir + "/CustomMotor.db") == 0)
            version = m_motorDb.GetVersion();
        if (!wasOpen)
            m_motorDb.Close();
        break;
    }
    case 4:
    {
        const bool wasOpen = m_driveDb.IsOpen() != 0;
        if (wasOpen || m_driveDb.Load(m_programDir + "/Drives.db") == 0)
            version = m_driveDb.GetVersion();
        if (!wasOpen)
            m_driveDb.Close();
        break;
    }
    case 5:
        if (IsFileOpen())
            m_language.GetVersion(version);
        break;
    default:
        break;
    }
    return version.IsEmpty() ? m_strNotAvail : version;
}

CString CTvskManager::GetReleaseVersion(int kind)
{
    if (!m_bVerDbLoaded)
    {
        m_verDb.Close();
        if (m_verDb.Load(m_programDir + "/Versions.txt") != 0)
            return m_strNotAvail;
        m_bVerDbLoaded = true;
    }
    const char* version = nullptr;
    switch (kind)
    {
    case 1:
        version = m_verDb.GetProgramVer();
        break;
    case 2:
        if (IsFileOpen())
            for (long i = 0; i < m_verDb.GetParNums(); ++i)
                if (const DBDRIVEPARVER* rec = m_verDb.GetParRec(i); rec && DriveType() == rec->szDriveDef)
                    version = rec->szParVer;
        break;
    case 3:
        version = m_verDb.GetMotorsVer();
        break;
    case 4:
        version = m_verDb.GetDrivesVer();
        break;
    case 5:
    {
        CString textsVersion;
        if (IsFileOpen() && m_language.GetVersion(textsVersion))
            for (long i = 0; i < m_verDb.GetPagNums(); ++i)
                if (const DBDRIVEPAGVER* rec = m_verDb.GetPagRec(i);
                    rec && DriveType() == rec->szDriveDef && GetLanguageName() == rec->szLang)
                    version = rec->szVer;
        break;
    }
    case 6:
        version = m_verDb.GetReleaseVer();
        break;
    default:
        break;
    }
    return version && *version ? CString(version) : m_strNotAvail;
}
