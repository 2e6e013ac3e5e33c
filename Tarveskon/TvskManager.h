// The wizard manager: owns the databases of a configuration, its files and paths, the language
// tables and the host-side state plug-ins reach through CPluginIntf.
#pragma once

#include "DeviceLinkClient.h"
#include "PluginIntf.h"
#include "TvskDriveFolders.h"
#include "TvskHostUi.h"
#include "TvskLanguage.h"
#include "TvskScriptEvents.h"
#include "TvskTransferProgress.h"

#include <TvskDb/TvskDataDb.h>
#include <TvskDb/TvskDriveDb.h>
#include <TvskDb/TvskMotorDb.h>
#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskSlvDataDb.h>
#include <TvskDb/TvskVerDb.h>

#include <ZoSrcpMng/ScriptManager.h>

#include <framework/Array.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CTvskIntf;
class CTvskIntfEvents;

class CTvskManager : public CPluginIntf, public CScriptManagerEvIntf
{
public:
    // programDir null: the current directory, which the program makes its own folder at start.
    explicit CTvskManager(const char* programDir = nullptr);
    ~CTvskManager() override;
    CTvskManager(const CTvskManager&) = delete;
    CTvskManager& operator=(const CTvskManager&) = delete;

    // The window layer the manager's boxes, title and recent files go to (null: none).
    void SetHostUi(CTvskHostUi* ui);

    void Reset();
    void CloseAll();

    // File life cycle. OpenFile: 0, 1 data file, 4 parameter file, 5 script. SaveFile: 0 or 2.
    BOOL NewFile();
    int OpenFile(const char* path);
    int SaveFile(const char* path);
    // 0 or 1.
    int ImportSlv(const char* path);
    CString GetFileErrorText(int code);
    // Why the last ImportSlv failed, with the listing reader's own reason.
    CString GetImportErrorText();
    // Applies the imported listing's values to the open parameter database and closes the listing.
    void ApplySlv();

    // Paths.
    const CString& GetProgramDir() const { return m_programDir; }
    CString GetAppPagesDir() const;
    CString GetMainPagePath() const;
    CString GetStatusPagePath() const;
    CString GetDrivesPagePath() const;
    CString GetMotorsPagePath() const;
    CString GetWizardStartPage(bool typePage) const;
    CString GetHelpPagePath(const char* topicFolder) const;
    CString GetParFilePath() const;
    CString GetScriptFilePath();

    // Drives and motors databases, loaded and matched to the configuration: 0, -1 no file,
    // the load error, 5 the record could not be stored, 6 records missing.
    int LoadDriveDb();
    int LoadMotorDb();
    // The databases alone, for a choice: -1 when the file is missing, else the load result.
    int OpenDrivesDatabase();
    int OpenMotorsDatabase();

    CString GetVersionString(int kind);
    CString GetReleaseVersion(int kind);

    // Switches to the language; FALSE when refused or its strings do not load (nothing changes).
    BOOL ChangeLanguage(int id);
    CTvskLanguage& Language() { return m_language; }
    CString GetLanguageName() const;

    BOOL IsModified() const { return m_bModified; }
    // Asks to save a modified configuration; FALSE keeps the window open.
    BOOL CanClose();
    void UpdateTitle();

    // Host boxes: owner = top of the owner stack, else active window, else main window; then
    // messages are pumped for 100 ms.
    int MessageBox(const CString& text, UINT type);
    int MessageBox(UINT stringId, UINT type);
    // The localised text of a string id.
    CString LocalText(UINT stringId);
    // A database's last load error with its kind in the user's language.
    CString GetDbErrorText(const CTvskDbErrString& db);
    CString LoadErrorText(const CTvskDbErrString& db);
    // Starts the program a command line names; empty, or the program and why it could not start.
    CString StartProgram(const char* commandLine);
    CWnd* GetBoxOwner() const;
    bool HasActiveWindow() const { return m_pUi->HasActiveWindow(); }

    bool IsDriveChosen() const { return m_bDriveChosen; }
    bool IsMotorChosen() const { return m_bMotorChosen; }
    bool IsDriveWithMotor() const { return m_bDriveWithMotor; }
    bool IsFileOpen() const { return m_parDb.IsOpen() != 0; }
    CTvskDataDb& DataDb() { return m_dataDb; }
    CTvskParDb& ParDb() { return m_parDb; }
    CTvskDriveDb& DriveDb() { return m_driveDb; }
    CTvskDriveFolders& Folders() { return m_folders; }
    const CArray<DBPAR>& MonitorList() const { return m_monitor; }
    const CArray<DBPAR>& TmpPars() const { return m_tmpPars; }

    // Script events (null: none); they fire only on the thread that made the manager. By default
    // they go to the automation object's event interface, once a script runs.
    void SetScriptEvents(CTvskScriptEvents* events);
    // The automation object "Tvsk" and its events' switch.
    CTvskIntf* GetIntf() const { return m_pIntf; }
    CTvskIntfEvents& IntfEvents() { return *m_pIntfEvents; }
    // The drive type's script, run by the script manager with the automation object as "Tvsk".
    // FALSE when it does not run; the script manager stays unless it could not be made.
    BOOL StartScript(const char* path);
    void StopScript();
    // A run-time or compilation error of the script: one box with an error icon.
    void OnScriptError(CString text) override;
    // Script events fire while a script runs, the automation object exists and the caller is
    // on the thread that made the manager.
    bool CanFireEvents() const;
    // The main window's clock: the scripts' OnTimer.
    void FireTimer();
    BOOL GetCanRW() const { return m_bCanRW; }
    void SetCanRW(BOOL canRW) { m_bCanRW = canRW; }
    int GetErrorCode() const { return m_nErrorCode; }
    void SetErrorCode(int code) { m_nErrorCode = code; }
    void PostToWindow(CWnd* window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        m_pUi->PostToWindow(window, message, wParam, lParam);
    }
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam)
    {
        m_pUi->PostToMainWindow(message, wParam, lParam);
    }

    // Parameter services.
    BOOL ReadParFromDrive(DBPAR* par, BOOL markModified);
    BOOL WriteParToDrive(DBPAR* par);
    // quietly: the link's message boxes off and a reply time-out of 200 ms for this read (the line's
    // own when longer), all in one turn on the line.
    BOOL ReadAddr(int address, int subindex, int bits, double* value, bool quietly = false);
    BOOL WriteAddr(int address, int subindex, int bits, double raw);
    // Customer fields: 0 bit, 1 word, 2 double word; unknown names answer 0 and set nothing.
    long GetParCustom(const char* name, int which);
    BOOL SetParCustom(const char* name, int which, long value);
    // Session variables of the parameter database.
    BOOL CreateSessionVar(const char* name, BOOL store);
    BOOL DeleteSessionVar(const char* name);
    BOOL GetSessionVarValue(const char* name, CString& value);
    BOOL SetSessionVarValue(const char* name, const VARIANT& value);
    // The drive command of section CMD; boxes 2054 and 2059 tell failures. TRUE when written.
    BOOL RunDriveCommand(const char* name);
    // The drive's permanent memory: drive commands "Save" and "SavePLC" announced to scripts.
    // FALSE with ErrorCode 21 disconnected, 12 PLC off, 5 when the drive command failed.
    BOOL SaveParameters();
    BOOL SavePlc();
    // The page list: the names of the parameters it holds that the working list still has.
    std::vector<std::string> PageParList() { return PageParNames(); }

    // The drive link: 0 or the link's error code (the link is closed then).
    int Connect(const char* settings);
    // Connect with the stored settings, then the drive's answer: an open port where no drive answers
    // the "Alarm" command is a failed connection and leaves the link closed.
    int ConnectToDrive();
    int Disconnect();
    // The link's settings dialog; the new settings, empty when cancelled.
    CString ConfigConnection(const CString* current);
    CString GetLinkErrorText(int code);
    // Of the given settings, or of the current connection when none are given.
    CString GetConnectionDescription(const char* settings);
    // Reads the drive's alarm; -1 (and *commFailed = 1 when the link failed) when it cannot.
    int ReadAlarm(char* commFailed);
    // A transfer holds the line: taken for a series of exchanges (or switched off meanwhile), or a
    // long read runs on this thread.
    bool IsLinkHeldByTransfer();
    // The watchdog: with restart the period starts again; past it the link is closed (2107).
    void CheckConnection(bool restart);
    void SetWatchdogPeriod(DWORD milliseconds);
    CDeviceLinkClient& Link() { return m_link; }

    // What the status page shows: the chosen drive and motor ("" when none), the connected
    // drive's type name ("n/a" without a file or a link) and the image folder.
    CString GetDriveDescription();
    CString GetMotorDescription();
    CString GetDriveTypeName();
    CString GetImageDir() const;

    // The selection dialogs' data: datum i (0..19) of the drives (motors) database's current
    // record, else of the configuration's record; the setters write the current record and
    // rebuild its display string.
    double GetDriveValue(int i);
    void SetDriveValue(int i, double value);
    CString GetDriveImageName();
    CString GetDriveViewString();
    double GetMotorValue(int i);
    void SetMotorValue(int i, double value);
    CString GetMotorImageName();
    CString GetMotorViewString();
    // Field i (0..4) of the current encoder record, its kind and description in the current
    // language when a string table holds them; empty without the motors database.
    CString GetEncoderValue(int i);
    // Puts the configuration's drive (motor and encoder) back as the database's current record:
    // 0, or 6 when a record is missing.
    int MatchDriveDb();
    int MatchMotorDb();
    // The databases' current records become the configuration's drive (motor and encoder).
    BOOL TakeSelectedDrive() { return TakeCurrentDrive(); }
    // The drive database's current record is a drive sold with its motor.
    bool SelectedDriveHasMotor();
    BOOL TakeSelectedMotor();
    // The rated currents agree: a chosen motor within the database's current drive, the
    // database's current motor within a chosen drive.
    bool SelectedDriveFitsMotor();
    bool SelectedMotorFitsDrive();

    // Choice of drive, motor and encoder in the open drives and motors databases.
    BOOL SelectDrive(const char* definition);
    BOOL SelectDriveFromCode(long code);
    BOOL SelectMotor(const char* definition, bool clear);
    BOOL SelectMotorFromCode(long code);
    BOOL SelectEncoderFromCode(long code);
    bool MotorDefinesEncoder();
    // The motor's rated current does not exceed the drive's (after a motor or a drive change).
    BOOL IsMotorCompatible();
    BOOL IsDriveCompatible();
    // The parameter data of the chosen drive and motor: 0 or 4 (parameter file).
    int LoadWizardData(bool applyMotorData);
    void UpdateMotor();
    void RunMotorRules(int kind);

    // Bulk transfers between the configuration and the drive; ErrorCode tells what failed.
    BOOL DownloadPlc();
    BOOL UploadPlc();
    // FALSE when the drive's program cannot be read.
    BOOL ComparePlc(bool* equal);
    BOOL IsPlcEnabled();
    void ReadAllPars();
    void WriteAllPars();
    void ReadPagePars();
    void WritePagePars();
    BOOL DownloadCams();
    // The drive's set-up into the configuration, from working-list entry start (-1: the operating
    // mode first): 0 done, 1 a parameter failed (text and its entry, -1 the operating mode), 2 the
    // PLC upload failed, 3 the user cancelled in the progress window (text says what was read).
    int ReadAllFrom(int start, CString& text, int* index, CTvskTransferProgress* progress = nullptr);
    // Host commands 36, 35 and 34; owner null: the owner of the host's boxes.
    void GoOnline(CWnd* owner);
    void CompareWithDrive(CWnd* owner);
    void CompareWithFile(CWnd* owner);
    // The comparison reports, the configuration unchanged afterwards: 0 written, else errorText
    // tells why (1 a read failed, 2 the PLC upload failed, 3 a file, 4 another drive type).
    int CompareDrive(const char* reportPath, CString& errorText);
    int CompareDataFile(const char* otherFile, const char* reportPath, CString& errorText);
    // Side 1 is the backed-up configuration, side 2 the working list and program now.
    BOOL WriteCompareReport(const char* reportPath, const char* secondFile, BOOL onlyDiffs);
    // The connection's description while a file is open and connected, else "n/a".
    CString GetConnectionText();
    // The drive value of a named parameter without scale or offset: VT_R8, empty on failure.
    VARIANT ReadRaw(const char* name);
    BOOL WriteRaw(const char* name, const VARIANT& value);

    // Help: the request is kept; the file "DEFAULT" is the program folder's help file of the
    // language ("Tarveskon_<language>.chm", else "Tarveskon.chm"); command 150 marks the help window
    // not initialized. TRUE.
    BOOL ChmSetContext(long context, long command, const char* file, const char* topic);
    CString DefaultHelpFile() const;
    // Shows the program help's topic of a context id for a window, keeping the request a page made.
    BOOL ShowHelpContext(long context);
    // Shows the kept request: FALSE without a box when the window is not initialized, the command
    // is none of 0, 2, 3, 15 or the caller is not the manager's thread; FALSE with a box when it
    // cannot be shown.
    BOOL ChmInvoke();
    CZoHelpIntf* GetHelpWindow() const { return m_pHelpWnd.get(); }

    // CPluginIntf
    const char* GetFileName() override { return m_strFilePath.GetString(); }
    void GetPagesDir(CString& dir, bool typeSubdir) override;
    BOOL GetStringByName(const char* name, CString& text) override;
    BOOL GetString(UINT id, CString& text) override;
    BOOL GetPrefixedString(const char* name, CString& text) override;
    long SendCommand(UINT code, long param1, long param2) override;
    BOOL GetParValue(const char* name, VARIANT* value) override;
    BOOL ReadParValue(const char* name, VARIANT* value) override;
    HOSTRES SetParValue(const char* name, VARIANT value, BOOL toDrive) override;
    HOSTRES ReadPar(const char* nameOrAddress, VARIANT* value) override;
    HOSTRES WritePar(const char* nameOrAddress, VARIANT value) override;
    int GetParNum() override;
    BOOL GetParField(int index, int field, CString& text) override;
    BOOL GetParDescr(const char* name, CString& text, bool withValue) override;
    HOSTRES SetParField(int index, int field, const char* text) override;
    BOOL IsParFieldEditable(int index, int field) override;
    BOOL AddTmpPar(const char* address, const char* descr, double value, CWnd* owner) override;
    BOOL RemTmpPar(const char* address, CString& text) override;
    BOOL AddMonitorPar(const char* name) override;
    BOOL AddMonitorParAt(int index) override;
    BOOL GetMonitorParField(int i, int field, CString& text) override;
    HOSTRES SetMonitorParField(int i, int field, const char* text) override;
    BOOL RemoveMonitorPar(int i) override;
    int GetMonitorParNum() override;
    BOOL GetMenusNum(int* count) override;
    BOOL GetMenu(int i, int* id, CString& name) override;
    BOOL SetMenu(int id) override;
    BOOL GetCurrMenuID(int* id) override;
    BOOL GetLastErrorText(CString& text) override;
    int GetAlarm() override;
    BOOL IsConnected() override;
    BOOL IsCommAddress1000() override;
    int GetBaudRate(int* baud) override;
    void SetModified(BOOL modified) override;
    BOOL IsExclusiveMode() override { return m_bExclusive; }
    int GetTipHideDelay() override { return m_nTipHideDelay; }
    BOOL ExistPar(const char* name) override;
    BOOL GetOpMode(short* mode) override;
    CString GetOscResetTries() override;
    CString GetOscMinBaud() override;
    void PushParentWnd(CWnd* wnd) override;
    void PopParentWnd() override;
    void SetSaveMonitor(BOOL save) override { m_bSaveMonitor = save; }
    int GetCamDefNum() override;
    int GetCamDefIndex(int i) override;
    int GetCamStepsNr() override;
    double GetCamMaxValue() override;
    double GetCamMinValue() override;
    int GetCamStartAddr(int cam) override;
    int GetCamData(int point, double* value, int* interp, int* valid, int cam) override;
    BOOL SetCamData(int point, double value, int interp, BOOL store, int cam) override;
    int GetPlcMaxLen() override;
    void ResetPlc() override;
    BOOL GetPlcInstr(int i, CString& text, int operands[3]) override;
    int SetPlcInstr(int i, const char* text, const int operands[3]) override;
    BOOL IsPlcTerminated() override;
    CTvskMotorDb* GetMotorDb() override { return &m_motorDb; }

private:
    // Descriptions, menu names and alarm texts of the parameter database from the language tables.
    void ReplaceDescriptions();
    // The working list's descriptions of the drive type's texts in the current language and mode;
    // a user parameter keeps the one the data file stores.
    void ApplyDescriptions();
    // Both of the above: after the language changed or the working list was rebuilt from the
    // parameter file, whose own descriptions are of one language.
    void RenewDescriptions();
    // The drive type's texts in the current language (none when the type has no file for it).
    void LoadDriveTexts();
    CString ParDescription(const DBPAR& par);
    void StoreData();
    void ApplyData();
    // The cam point of the open configuration, null when there is none.
    const DBCAMMA* FindCamPoint(int point, int cam);
    void ApplyStoredValue(DBPAR& par, const DBVALUE& value);
    void ChooseProfileLanguage();
    bool MainPageExists(int languageId) const;
    void RebuildFolders();
    CString DriveType() const;
    void ClearLists();
    // Value i of the option, empty when the file or the option is missing.
    CString GetOptionValue(const char* name, int i);
    // Of the parameter database while a file is open, else of the data file.
    CString CommSettings();
    int ShowBox(CWnd* owner, const CString& text, UINT type);
    bool ScriptsMayFire() const { return CanFireEvents(); }
    // ErrorCode 0, or 21 and false when no drive is connected.
    bool StartWithDrive();
    using ScriptEvent = bool (CTvskScriptEvents::*)();
    // Fires the script's before event when it may fire; a veto sets ErrorCode 20, resets CanRW,
    // fires afterOnVeto when given and answers false.
    bool ScriptAllows(ScriptEvent before, ScriptEvent afterOnVeto = nullptr);
    // The drive type's script when the parameter database names one that exists: false when the
    // script manager was made but the script does not run.
    bool StartDriveTypeScript();
    // Connect without the message pump: the link opened, or closed again with its error code.
    int OpenLink(const char* settings);
    // Last-error text from the string table, or as given; guarded, worker threads set it too.
    void SetLastError(UINT stringId);
    void SetLastErrorText(const CString& text);
    // The working list of the new operating mode; on another thread only marked for the manager's.
    void OperatingModeChanged();
    // The working list holds the parameters of that operating mode.
    bool WorkingListHoldsMode(unsigned short mode);
    void RebuildStaleWorkingList();
    // The steps of a value set into a record: limits, event, store, drive write.
    HOSTRES StoreFieldValue(DBPAR& par, const char* text, bool writeToDrive);
    // The parameter's write with the raw value given, its events and error code as WriteParToDrive.
    BOOL WriteRawParToDrive(DBPAR* par, double raw);
    BOOL ParField(const DBPAR& par, int field, CString& text) const;
    HOSTRES SetField(DBPAR& par, int field, const char* text);
    // The record a read or write command names; null with the error text set when there is none.
    DBPAR* CommandPar(const char* name);
    long ReadParCommand(const char* name);
    long WriteParCommand(const char* name);
    long ReadParFastCommand(const char* name);
    long OscModeCommand(int* first, int* second);
    CString OscModeAddress();
    BOOL TakeCurrentDrive();
    // The transfers' steps.
    enum class PlcEnable
    {
        Enabled,
        Disabled,
        Unreadable
    };
    PlcEnable PlcEnableState();
    bool StartPlcDownload();
    // A nonzero code is told with 2064 unless why says more.
    void EndPlcDownload(int code, const CString& why = CString());
    // Counts a long transfer's exchanges at the pace of the file's line.
    CTvskTransferProgress TransferProgress(int total);
    // What a cancelled transfer leaves: the text's format filled with the exchanges done of all.
    CString CancelText(UINT formatId, const CTvskTransferProgress& progress);
    // An END at the program's start: the drive's PLC then runs nothing.
    bool ClearDrivePlc();
    // The drive's program from the PLC base to its END or the capacity; `take` gets each instruction
    // and answers false to end the walk there. Each read is counted in `progress` when one is given,
    // else in a progress window of its own. False when a read fails (error code 4) or the user
    // cancelled (1; alone, with its last-error text).
    bool ReadDrivePlc(const std::function<bool(const DBPLC&)>& take,
                      CTvskTransferProgress* progress = nullptr);
    BOOL UploadPlcCounted(CTvskTransferProgress* progress);
    enum class Retry
    {
        Done,
        Skipped,
        Cancelled
    };
    Retry TransferWithRetry(const char* name, UINT questionId, const std::function<BOOL(DBPAR*)>& transfer);
    Retry ReadWithRetry(const char* name, UINT questionId);
    // A word goes out with the values of its bits among the transfer's names laid over it, so none of
    // them passes through another value before its own write.
    Retry WriteWithRetry(const char* name, UINT questionId, const std::vector<std::string>& transferred);
    bool AskRetry(const char* name, UINT questionId, Retry& answer);
    BOOL TakeCurrentMotor();
    int ReadWorkingListFrom(int start, CString& text, int* index, CTvskTransferProgress* progress);
    // The values (the operating mode first) and the program of a data file into the configuration.
    void ApplyValues(CTvskDataDb& data);
    void ApplyProgram(CTvskDataDb& data);
    // The page list keeps the given names the rebuilt working list still has.
    void RebindPagePars(const std::vector<std::string>& names);
    std::vector<std::string> PageParNames();
    // The window layer's progress window and wait cursor around a long operation; a question
    // asked meanwhile hides them while it is shown.
    void BeginWait(CWnd* owner, UINT textId);
    void EndWait();
    int AskWhileWaiting(CWnd* owner, const CString& text, UINT type);
    // A plug-in's transfer counted in the progress window (host commands 60-62): 1 once the user
    // cancelled, else 0.
    long BeginPluginTransfer(const char* text, long total);
    long PluginTransferStep();
    void EndPluginTransfer();
    // The comparisons' steps. What a comparison puts back on every exit: the values, the
    // program, the page list and the modified flag.
    struct ConfigurationBackup
    {
        BOOL modified;
        std::vector<std::string> pagePars;
    };
    ConfigurationBackup BackupConfiguration();
    void RestoreConfiguration(const ConfigurationBackup& backup);
    int ReadForComparison(CString& errorText);
    bool ConnectIfDisconnected(CWnd* owner, bool& connectedHere);
    bool ChooseReportPath(CWnd* owner, CString& path);
    void OpenReport(const CString& path);
    bool IsDriveTypeOf(const CString& otherType);

    CString m_programDir;
    CDeviceLinkClient m_link;
    CTvskLanguage m_language;
    CTvskDataDb m_dataDb;
    CTvskSlvDataDb m_slvDb;
    CTvskParDb m_parDb;
    CTvskMotorDb m_motorDb;
    CTvskDriveDb m_driveDb;
    CTvskVerDb m_verDb;
    CString m_strConnDescr;
    CString m_strFilePath;
    CString m_strNotAvail;
    CArray<DBPAR> m_tmpPars;
    CArray<DBPAR> m_monitor;
    std::vector<std::string> m_pagePars; // names: records move when the working list grows or is sorted
    CString m_strLastError;
    CTvskDriveFolders m_folders;
    CPtrArray m_owners;
    std::thread::id m_ownerThread;
    BOOL m_bSaveMonitor = FALSE;

    bool m_bDriveChosen = false;
    bool m_bMotorChosen = false;
    bool m_bDriveWithMotor = false;
    BOOL m_bModified = FALSE;
    bool m_bVerDbLoaded = false;
    int m_nTipHideDelay = 5000;

    BOOL m_bExclusive = FALSE;
    BOOL m_bCanRW = TRUE;
    int m_nErrorCode = 0;
    int m_nLastAlarm = -1;
    // The progress text of the transfer under way, shown again after a question; empty when none.
    CString m_strTransferWait;
    DWORD m_dwWatchdogPeriod = 0;
    DWORD m_dwConnStart = 0;
    std::atomic<bool> m_bWorkingListStale{false};
    CWnd* m_pWaitOwner = nullptr;
    // The plug-in transfer under way; null when none.
    std::unique_ptr<CTvskTransferProgress> m_pPluginTransfer;
    // Guards the monitor list and the last-error text, which plug-in workers reach too.
    mutable std::recursive_mutex m_lock;

    CTvskHeadlessUi m_headlessUi;
    CTvskHostUi* m_pUi = &m_headlessUi;
    CTvskScriptEvents m_noScripts;
    CTvskScriptEvents* m_pEvents = &m_noScripts;
    CTvskIntf* m_pIntf = nullptr; // holds a reference
    long m_nHelpContext = 0;
    long m_nHelpCommand = 0;
    CString m_strHelpFile;
    CString m_strHelpTopic;
    std::unique_ptr<CZoHelpIntf> m_pHelpWnd; // made by the window layer at the first request
    std::unique_ptr<CTvskIntfEvents> m_pIntfEvents;
    std::unique_ptr<CScriptManager> m_pScript;
    // The file the last failed load of the data or parameter file tried, named in its error text.
    CString m_strFailedLoad;
    // Why the last script start failed; collects the script's errors while it starts.
    CString m_strScriptError;
    bool m_bScriptStarting = false;
};
