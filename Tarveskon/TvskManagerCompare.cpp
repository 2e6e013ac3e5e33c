// The wizard manager: going on line, the comparison reports and the connection text.
#include "TvskManager.h"

#include "TvskCompareReport.h"
#include "TvskMessages.h"
#include "TvskWorkingNames.h"

#include <registry/Profile.h>
#include <ui/UiDefs.h>

#include <cstdlib>
#include <ctime>
#include <functional>

namespace
{

constexpr const char* kSettings = "Settings";

// Runs the action when the scope ends, whichever way it ends.
class CScopeExit
{
public:
    explicit CScopeExit(std::function<void()> action) : m_action(std::move(action)) {}
    ~CScopeExit() { m_action(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    std::function<void()> m_action;
};

} // namespace

CString CTvskManager::GetConnectionText()
{
    return IsFileOpen() && IsConnected() ? GetConnectionDescription(nullptr) : m_strNotAvail;
}

void CTvskManager::BeginWait(CWnd* owner, UINT textId)
{
    m_strTransferWait = LocalText(textId);
    m_pWaitOwner = owner;
    m_pUi->BeginWait(owner, m_strTransferWait);
}

void CTvskManager::EndWait()
{
    if (m_strTransferWait.IsEmpty())
        return;
    m_strTransferWait.Empty();
    m_pUi->EndWait();
}

int CTvskManager::AskWhileWaiting(CWnd* owner, const CString& text, UINT type)
{
    const CString waitText = m_strTransferWait;
    if (!waitText.IsEmpty())
        m_pUi->EndWait();
    const int answer = ShowBox(owner, text, type);
    if (!waitText.IsEmpty())
        m_pUi->BeginWait(m_pWaitOwner, waitText);
    return answer;
}

bool CTvskManager::ConnectIfDisconnected(CWnd* owner, bool& connectedHere)
{
    // A connection the user made stays as it is.
    connectedHere = false;
    if (!IsConnected())
    {
        if (const int error = Connect(""); error != 0)
            ShowBox(owner, GetLinkErrorText(error), MB_OK | MB_ICONERROR);
        connectedHere = IsConnected() != FALSE;
    }
    if (IsConnected())
        return true;
    ShowBox(owner, LocalText(2065), MB_OK | MB_ICONERROR);
    return false;
}

void CTvskManager::GoOnline(CWnd* owner)
{
    if (!IsFileOpen())
        return;
    if (!owner)
        owner = GetBoxOwner();
    if (ShowBox(owner, LocalText(2063), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    bool connectedHere = false;
    if (!ConnectIfDisconnected(owner, connectedHere))
        return;
    BeginWait(owner, 2074);
    // One count from the first read to the last, whatever the questions restart.
    CTvskTransferProgress progress = TransferProgress(0);
    bool done = false;
    for (int start = -1;;)
    {
        CString text;
        int index = -1;
        const int answer = ReadAllFrom(start, text, &index, &progress);
        if (answer == 0)
        {
            done = true;
            break;
        }
        if (answer == 3)
        {
            EndWait();
            ShowBox(owner, text, MB_OK | MB_ICONWARNING);
            break;
        }
        if (answer != 1)
        {
            EndWait();
            ShowBox(owner, text, MB_OKCANCEL | MB_ICONERROR);
            break;
        }
        const int choice = AskWhileWaiting(owner, text, MB_YESNOCANCEL | MB_ICONERROR);
        if (choice != IDYES && choice != IDNO)
        {
            // As a Cancel in the progress window: what was read and what was not.
            EndWait();
            ShowBox(owner, FormatString(LocalText(2160).GetString(), progress.Done()),
                    MB_OK | MB_ICONWARNING);
            break;
        }
        start = choice == IDYES ? index : index + 1;
    }
    EndWait();
    if (!done && connectedHere)
        Disconnect();
    // The values read so far are the configuration's now, whichever way the reading ended.
    PostToMainWindow(WM_REFRESH_PAGE, 0, 0);
    if (done)
        SetWatchdogPeriod(static_cast<DWORD>(std::atoi(GetOptionValue("CHECKCONN", 0))));
}

bool CTvskManager::ChooseReportPath(CWnd* owner, CString& path)
{
    path = CProfile::Instance().GetProfileString(kSettings, "CompareFile", m_programDir + "/DiffLog.txt");
    return m_pUi->ChooseFile(owner, false, CString(), nullptr, LocalText(2103), path) && !path.IsEmpty();
}

void CTvskManager::OpenReport(const CString& path)
{
    CProfile::Instance().WriteProfileString(kSettings, "CompareFile", path);
    const CString editor = CProfile::Instance().GetProfileString(kSettings, "Notepad", "Notepad");
    const CString editorFailure =
        StartProgram(FormatString("%s \"%s\"", editor.GetString(), path.GetString()));
    if (editorFailure.IsEmpty())
        return;
    // No such editor here: the desktop's own choice for the file.
    const CString openerFailure = StartProgram(FormatString("xdg-open \"%s\"", path.GetString()));
    if (openerFailure.IsEmpty())
        return;
    MessageBox(LocalText(2111) + "\n" + editorFailure + "\n" + openerFailure, MB_OK | MB_ICONERROR);
}

void CTvskManager::CompareWithDrive(CWnd* owner)
{
    if (!IsFileOpen())
        return;
    if (!owner)
        owner = GetBoxOwner();
    CString report;
    if (!ChooseReportPath(owner, report))
        return;
    bool connectedHere = false;
    if (!ConnectIfDisconnected(owner, connectedHere))
        return;
    BeginWait(owner, 2094);
    CString errorText;
    const int answer = CompareDrive(report, errorText);
    // A script's veto answers 0 without writing a report.
    const bool written = answer == 0 && m_nErrorCode != 20;
    EndWait();
    if (answer != 0)
        ShowBox(owner, errorText, MB_OK | MB_ICONERROR);
    if (connectedHere)
        Disconnect();
    if (written)
        OpenReport(report);
}

void CTvskManager::CompareWithFile(CWnd* owner)
{
    if (!IsFileOpen())
        return;
    if (!owner)
        owner = GetBoxOwner();
    CString other = CProfile::Instance().GetProfileString(kSettings, "LastComparedFile", "");
    if (!m_pUi->ChooseFile(owner, true, LocalText(2002), "par", CString(), other) || other.IsEmpty())
        return;
    CProfile::Instance().WriteProfileString(kSettings, "LastComparedFile", other);
    CString report;
    if (!ChooseReportPath(owner, report))
        return;
    BeginWait(owner, 2094);
    CString errorText;
    const int answer = CompareDataFile(other, report, errorText);
    EndWait();
    if (answer != 0)
        ShowBox(owner, errorText, MB_OK | MB_ICONERROR);
    else
        OpenReport(report);
}

CTvskManager::ConfigurationBackup CTvskManager::BackupConfiguration()
{
    m_parDb.BackupPars();
    m_parDb.BackupPlc();
    return {m_bModified, PageParNames()};
}

void CTvskManager::RestoreConfiguration(const ConfigurationBackup& backup)
{
    m_parDb.RestorePars();
    m_parDb.RestorePlc();
    RebindPagePars(backup.pagePars);
    m_language.SetSubset(m_parDb.GetOpMode());
    if (m_bModified != backup.modified)
        SetModified(backup.modified);
}

int CTvskManager::ReadForComparison(CString& errorText)
{
    const auto failed = [&](const std::string& name)
    {
        errorText.Format("%s : %s", name.c_str(), LocalText(2049).GetString());
        m_nErrorCode = 2;
        return 1;
    };
    // The operating mode first: it decides which parameters the rest of the list holds.
    for (const bool opMode : {true, false})
        for (const std::string& name : tvsk::WorkingNames(m_parDb, opMode, false))
            if (DBPAR* par = m_parDb.GetPar(name.c_str(), true); par && !ReadParFromDrive(par, FALSE))
                return failed(name);
    if (IsPlcEnabled() && !UploadPlc())
    {
        errorText = LocalText(2034);
        m_nErrorCode = 3;
        return 2;
    }
    return 0;
}

int CTvskManager::CompareDrive(const char* reportPath, CString& errorText)
{
    m_nErrorCode = 0;
    errorText.Empty();
    if (!IsFileOpen())
    {
        errorText = LocalText(2047);
        return 1;
    }
    const ConfigurationBackup saved = BackupConfiguration();
    const CScopeExit restore([&] { RestoreConfiguration(saved); });
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeReadAll, &CTvskScriptEvents::AfterReadAll))
        return 0;
    const int answer = ReadForComparison(errorText);
    if (events)
        m_pEvents->AfterReadAll();
    if (answer != 0)
        return answer;
    if (!WriteCompareReport(reportPath, nullptr, TRUE))
    {
        errorText = LocalText(2100);
        return 3;
    }
    return 0;
}

bool CTvskManager::IsDriveTypeOf(const CString& otherType)
{
    // Either may be the other's alias ("TK40S" uses the files of "TK40").
    const CString current = DriveType();
    CString aliased;
    return otherType == current || (m_folders.AliasMap().Lookup(otherType, aliased) && aliased == current) ||
           (m_folders.AliasMap().Lookup(current, aliased) && aliased == otherType);
}

int CTvskManager::CompareDataFile(const char* otherFile, const char* reportPath, CString& errorText)
{
    errorText.Empty();
    if (!IsFileOpen())
    {
        errorText = LocalText(2047);
        return 3;
    }
    CTvskDataDb other;
    if (!otherFile || other.Load(otherFile) != 0)
    {
        errorText.Format("%s\n%s", LocalText(2100).GetString(), otherFile ? otherFile : "");
        return 3;
    }
    if (!IsDriveTypeOf(other.GetDriveType()))
    {
        errorText = LocalText(2102);
        return 4;
    }
    const ConfigurationBackup saved = BackupConfiguration();
    const CScopeExit restore([&] { RestoreConfiguration(saved); });
    ApplyValues(other);
    // The other file's whole program: one holding more than the configuration shows its tail.
    ApplyProgram(other);
    if (!WriteCompareReport(reportPath, otherFile, TRUE))
    {
        errorText = LocalText(2100);
        return 3;
    }
    return 0;
}

BOOL CTvskManager::WriteCompareReport(const char* reportPath, const char* secondFile, BOOL onlyDiffs)
{
    CTvskCompareReport report(m_strFilePath, secondFile, onlyDiffs != FALSE);
    for (long i = 0; i < m_parDb.GetBackupParNum(); ++i)
    {
        const DBPAR* before = m_parDb.GetBackupPar(i);
        if (!before)
            continue;
        const DBPAR* now = m_parDb.GetPar(before->szID, true);
        report.AddPar(before->szID, CTvskCompareReport::ValueText(before->dblDefVal),
                      now ? CTvskCompareReport::ValueText(now->dblDefVal)
                          : CString(CTvskCompareReport::kMissing),
                      before->szDescr);
    }
    for (long i = 0; i < m_parDb.GetBackupInstrNum(); ++i)
        if (const DBPLC* instruction = m_parDb.GetBackupPlcInstr(static_cast<int>(i)))
            report.AddInstruction(1, *instruction);
    for (long i = 0; i < m_parDb.GetInstrNum(); ++i)
        if (const DBPLC* instruction = m_parDb.GetPlcInstr(static_cast<int>(i)))
            report.AddInstruction(2, *instruction);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return report.Write(reportPath, local) ? TRUE : FALSE;
}
