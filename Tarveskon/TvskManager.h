// The wizard manager: owns the databases of a configuration, its files and paths, the language
// tables and the host-side state plug-ins reach through CPluginIntf.
#pragma once

#include "PluginIntf.h"
#include "TvskDriveFolders.h"
#include "TvskHostUi.h"
#include "TvskLanguage.h"

#include <TvskDb/TvskDataDb.h>
#include <TvskDb/TvskDriveDb.h>
#include <TvskDb/TvskMotorDb.h>
#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskSlvDataDb.h>
#include <TvskDb/TvskVerDb.h>

#include <framework/Array.h>

#include <thread>

class CTvskManager : public CPluginIntf
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
    CWnd* GetBoxOwner() const;

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

    // CPluginIntf
    const char* GetFileName() override { return m_strFilePath.GetString(); }
    void GetPagesDir(CString& dir, bool typeSubdir) override;
    BOOL GetStringByName(const char* name, CString& text) override;
    BOOL GetString(UINT id, CString& text) override;
    BOOL GetPrefixedString(const char* name, CString& text) override;
    HOSTRES SetParValue(const char* name, VARIANT value, BOOL toDrive) override;
    HOSTRES WritePar(const char* nameOrAddress, VARIANT value) override;
    BOOL GetParDescr(const char* name, CString& text, bool withValue) override;
    BOOL AddTmpPar(const char* address, const char* descr, double value, CWnd* owner) override;
    BOOL AddMonitorPar(const char* name) override;
    BOOL GetLastErrorText(CString& text) override;
    void SetModified(BOOL modified) override;
    int GetTipHideDelay() override { return m_nTipHideDelay; }
    void PushParentWnd(CWnd* wnd) override;
    void PopParentWnd() override;
    void SetSaveMonitor(BOOL save) override { m_bSaveMonitor = save; }
    CTvskMotorDb* GetMotorDb() override { return &m_motorDb; }
    int GetCamStepsNr() override;

private:
    // Descriptions, menu names and alarm texts of the parameter database from the language tables.
    void ReplaceDescriptions();
    CString ParDescription(const DBPAR& par);
    void StoreData();
    void ApplyData();
    void ApplyStoredValue(DBPAR& par, const DBVALUE& value);
    void ChooseProfileLanguage();
    bool MainPageExists(int languageId) const;
    void RebuildFolders();
    CString DriveType() const;
    void ClearLists();
    // Value i of the option, empty when the file or the option is missing.
    CString GetOptionValue(const char* name, int i);
    int ShowBox(CWnd* owner, const CString& text, UINT type);

    CString m_programDir;
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
    CPtrArray m_pagePars;
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

    CTvskHeadlessUi m_headlessUi;
    CTvskHostUi* m_pUi = &m_headlessUi;
};
