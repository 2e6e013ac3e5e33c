// The main dialog: the main and status page windows, the wizard manager, the file commands, the
// command words of the pages, the language switch and the system menu.
#pragma once

#include "DlgTransferProgress.h"
#include "PluginCall.h"
#include "TarveskonIntfWindow.h"
#include "TvskCommandWords.h"
#include "TvskHostUi.h"
#include "TvskHtmlWnd.h"
#include "TvskManager.h"

#include <Modlode/PluginLoaderProxy.h>
#include <uiext/ResizableDialog.h>
#include <uiext/Wait.h>

#include <framework/Map.h>

// Template 102 of the program; registered by name, since the protocol's dialog library holds a 102 too.
constexpr const char* IDD_TARVESKON_DIALOG = "IDD_TARVESKON_DIALOG";
constexpr UINT IDC_MAIN_PAGE_PLACEHOLDER = 1000;
constexpr UINT IDC_STATUS_PAGE_PLACEHOLDER = 1001;
constexpr UINT IDC_MAIN_PAGE = 200;
constexpr UINT IDC_STATUS_PAGE = 201;
constexpr UINT IDM_ABOUTBOX = 16;
constexpr UINT IDM_VERSIONS = 32;
constexpr UINT IDM_BROADCAST = 64;
constexpr UINT_PTR kScriptClockTimer = 1;
// The help folder of the start page.
constexpr const char* kStartHelpFolder = "Common";

class CTarveskonDlg : public CResizableDialog, private CTvskHostUi, private CTvskCommandActions
{
public:
    // programDir null: the current directory.
    explicit CTarveskonDlg(const char* programDir = nullptr, CWnd* parent = nullptr);
    ~CTarveskonDlg() override;

    CTvskManager& Manager() { return m_manager; }
    CTvskHtmlWnd& MainPageWnd() { return m_wndMain; }
    CTvskHtmlStatus& StatusPageWnd() { return m_wndStatus; }
    bool IsStartPageShown() const { return m_bStartPage != 0; }
    CPluginLoaderProxy& LoaderProxy() { return m_loaderProxy; }
    CPluginImpl* HelpObject() const { return m_pHelpObject; }

    // Shows the help topic through the help plug-in, loading it when it is not yet.
    void OpenHelp(const char* topic);
    // The status page's drive, motor and connection texts; settings null: the current connection.
    void SetDataString(const char* settings);
    // The drive and motor selection dialogs over the opened databases; UpdateMotor also refreshes
    // the data that depend on the motor and marks the configuration modified.
    void SetDrive();
    void SetMotor();
    void UpdateMotor();

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    BOOL OnHelpInfo(HELPINFO* info) override;

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void AfterSave();
    void OnFileClose();
    void OnHtmlCommand(const char* word);
    void OnHtmlTagCommand(const char* anchorId);
    void OnSelectLanguage(int index);
    // The chosen language for the window layer too: template texts and the toolkit's own texts.
    void ApplyLanguage();
    void OnRefreshPage();
    void OnStartWizard();
    // Drive and motor are chosen (or the drive needs no motor): the wizard can start.
    bool CanStartWizard();
    // Prepares the configuration for the chosen drive and motor and shows the wizard; false when
    // it could not.
    bool StartWizard();
    void OnHtmlPlugin(const PLUGIN_CALL* call);
    void OnHtmlHelp(WPARAM wParam, LPARAM lParam);
    void OnIntfWindow(IntfWindowCall call);

private:
    // CTvskHostUi
    int MessageBox(CWnd* owner, const CString& text, UINT type) override;
    void PumpMessages(int milliseconds) override;
    bool HasActiveWindow() override;
    CString GetAppTitle() override;
    void SetMainWindowTitle(const CString& title) override;
    void AddToRecentFileList(const char* path) override;
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ChooseSavePath(CString& path) override;
    bool ChooseFile(CWnd* owner, bool open, const CString& filter, const char* defaultExt,
                    const CString& title, CString& path) override;
    void BeginWait(CWnd* owner, const CString& text) override;
    void EndWait() override;
    bool ShowTransferProgress(int done, int total, const CString& note) override;
    void PostToWindow(CWnd* window, UINT message, WPARAM wParam, LPARAM lParam) override;
    std::unique_ptr<CZoHelpIntf> CreateHelpWindow() override;
    // CTvskCommandActions
    void PostToDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ChooseConnection() override;
    void ConfigConnection() override;
    void Upload() override;
    void UploadDrive() override;
    void UploadMotor() override;

    void CloseIfAllowed();
    void ForgetHelp();
    // Runs the motor dialog; true when the user chose a motor.
    bool ChooseMotor();
    // The box for a plug-in that did not load: the table text, the module and why.
    void ShowPluginError(UINT stringId, const CString& module, const std::string& reason);
    void ShowStartPage();
    void ShowWizardPage();
    void ShowAboutBox();
    void ShowVersions();
    void UpdateSystemMenu();
    CString LocalString(UINT id);
    void RemoveFromRecentFiles(const CString& path);
    void OpenChosenFile(const CString& path);
    // True, once the user is told, while a plug-in's window runs (its module's code is on the
    // stack): a new or other file would let its loader go under it.
    bool RefusedWhilePluginRuns();
    // The message of a drives or motors database load result; true for 0.
    bool ShowDatabaseResult(int result, bool drives);
    // The result shown; a refused database is closed.
    bool AcceptDatabase(int result, bool drives);
    bool ConnectForRecognition();
    bool ReadPacked(long packed, double& value);
    void FillRecognitionMaps();

    CTvskHtmlWnd m_wndMain;
    CTvskHtmlStatus m_wndStatus;
    CTvskManager m_manager;
    CPluginLoaderProxy m_loaderProxy;
    int m_nPluginRuns = 0; // plug-ins whose run has not returned (a modal window's loop)
    CPluginLoader* m_pHelpLoader = nullptr;
    CPluginImpl* m_pHelpObject = nullptr;
    CString m_strFileToOpen;
    CWait m_wait;
    // A long transfer's window, in place of the wait window once the transfer counts its steps.
    std::unique_ptr<CDlgTransferProgress> m_pTransfer;
    CWnd* m_pWaitOwner = nullptr;
    CString m_strWaitText;
    CString m_strConnSettings;
    CMapStringToPtr m_motorRecognition{10};
    CMapStringToPtr m_encoderRecognition{10};
    BYTE m_bStartPage = 1;
    BYTE m_bImportedSlv = 0;
    BYTE m_bActive = 0;
    BYTE m_bRefreshPending = 0;
    CTvskCommandWords m_words{m_manager, *this, this};
    CTarveskonIntfWindow m_intfWindow{*this};
};
