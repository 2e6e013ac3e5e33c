// CHtmlWnd: the window that hosts the embedded browser; every page window derives from it.
#pragma once

#include "BrowserPropertyStore.h"
#include "DataTip.h"

#include <com/Com.h>
#include <ui/FrameworkCommands.h>
#include <ui/Wnd.h>
#include <web/engine/WebBrowser.h>

#include <framework/Array.h>

#include <QPointer>

// UI flag bits of the browser host.
constexpr DWORD DOCHOSTUIFLAG_DIALOG = 0x1;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x2;
constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x8;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE = 0x10;
constexpr DWORD DOCHOSTUIFLAG_OPENNEWWIN = 0x20;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_OFFSCREEN = 0x40;
constexpr DWORD DOCHOSTUIFLAG_FLAT_SCROLLBAR = 0x80;
constexpr DWORD DOCHOSTUIFLAG_DIV_BLOCKDEFAULT = 0x100;
constexpr DWORD DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY = 0x200;

// Browser commands of ExecWB and QueryStatusWB that the engine offers.
enum OLECMDID
{
    OLECMDID_PRINT = 6,
    OLECMDID_CUT = 11,
    OLECMDID_COPY = 12,
    OLECMDID_PASTE = 13,
    OLECMDID_SELECTALL = 17,
    OLECMDID_ZOOM = 19,
    OLECMDID_REFRESH = 22,
    OLECMDID_STOP = 23,
};
enum OLECMDEXECOPT
{
    OLECMDEXECOPT_DODEFAULT = 0,
    OLECMDEXECOPT_PROMPTUSER = 1,
    OLECMDEXECOPT_DONTPROMPTUSER = 2,
};
enum OLECMDF
{
    OLECMDF_SUPPORTED = 0x1,
    OLECMDF_ENABLED = 0x2,
};
// Refresh2 levels.
constexpr int REFRESH_NORMAL = 0;
constexpr int REFRESH_IFEXPIRED = 1;
constexpr int REFRESH_COMPLETELY = 3;

// Commands of the document's own group (ExecCmdTarget).
constexpr DWORD HTMLID_FIND = 1;
constexpr DWORD HTMLID_VIEWSOURCE = 2;
constexpr DWORD HTMLID_OPTIONS = 3;
// Navigate flags.
constexpr DWORD navOpenInNewWindow = tvsk::web::WebBrowser::kOpenInNewWindow;
constexpr DWORD navNoHistory = tvsk::web::WebBrowser::kNoHistory;
constexpr DWORD navNoReadFromCache = tvsk::web::WebBrowser::kNoReadFromCache;
constexpr DWORD navNoWriteToCache = tvsk::web::WebBrowser::kNoWriteToCache;
// OnCommandStateChange commands.
constexpr long CSC_NAVIGATEFORWARD = tvsk::web::BrowserEvents::kNavigateForward;
constexpr long CSC_NAVIGATEBACK = tvsk::web::BrowserEvents::kNavigateBack;

// Command ids the window handles besides the framework's.
constexpr UINT ID_EDIT_FIND_ON_PAGE = 0x43;
constexpr UINT ID_TOOLS_INTERNET_OPTIONS = 0x857;
constexpr UINT ID_VIEW_SOURCE = 0x85B;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CHtmlWnd : public CWnd, private tvsk::web::BrowserEvents
{
public:
    CHtmlWnd();
    ~CHtmlWnd() override;

    virtual BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        void* context = nullptr);
    virtual BOOL RegisterWindowClass();
    // The base adds the client edge and drops the border; derived windows may change the style.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // Notifications; the defaults do nothing unless said otherwise. The bar and mode notifications
    // follow the setters below, OnVisible SetVisible and OnPropertyChange PutProperty; OnQuit comes
    // when the window goes. OnWindowSetResizable never fires: the engine has no source for it.
    virtual void OnNavigateComplete2(CString url);
    virtual void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CByteArray& postData,
                                   CString headers, BOOL* cancel);
    virtual void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CString postData,
                                   CString headers, BOOL* cancel);
    // Default: the text goes to the parent frame's message bar; there is none here.
    virtual void OnStatusTextChange(CString text);
    virtual void OnProgressChange(long progress, long progressMax);
    virtual void OnCommandStateChange(long command, BOOL enable);
    virtual void OnDownloadBegin();
    virtual void OnDownloadComplete();
    virtual void OnTitleChange(CString title);
    virtual void OnPropertyChange(CString property);
    virtual void OnNewWindow2(IDispatch** newBrowser, BOOL* cancel);
    virtual void OnDocumentComplete(CString url);
    virtual void OnQuit();
    virtual void OnVisible(BOOL visible);
    virtual void OnToolBar(BOOL toolBar);
    virtual void OnMenuBar(BOOL menuBar);
    virtual void OnStatusBar(BOOL statusBar);
    virtual void OnFullScreen(BOOL fullScreen);
    virtual void OnTheaterMode(BOOL theaterMode);
    // Default: prints the page through the print dialog.
    virtual void OnFilePrint();
    virtual void OnAddressBar(BOOL addressBar);
    virtual void OnAppCmd(CString command, CString postData);
    virtual void OnAdvancedContextMenu(DWORD id, CPoint point, IUnknown* commandTarget, IDispatch* object);
    virtual void OnShowHelp(HWND wnd, CString helpFile, UINT command, DWORD data, CPoint point,
                            IDispatch* object);
    // Default: a message box with the text and the application's name; its answer in *result.
    virtual void OnShowMessage(HWND wnd, CString text, CString caption, DWORD type, CString helpFile,
                               DWORD helpContext, long* result);
    virtual void OnViewSource();
    virtual void OnToolsInternetOptions();
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectall();
    virtual void OnEditFindOnThisPage();
    virtual void OnWindowSetResizable(BOOL resizable);
    virtual void OnWindowClosing(BOOL childWindow, BOOL* cancel);
    virtual void OnWindowSetLeft(long left);
    virtual void OnWindowSetTop(long top);
    virtual void OnWindowSetWidth(long width);
    virtual void OnWindowSetHeight(long height);
    virtual void OnClientToHostWindow(long* cx, long* cy);
    virtual void OnSetSecureLockIcon(long icon);
    virtual void OnFileDownload(BOOL* cancel);
    // The raw navigation events behind the notifications above.
    virtual void NavigateComplete2(IDispatch* browser, VARIANT* url);
    virtual void BeforeNavigate2(IDispatch* browser, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                 VARIANT* postData, VARIANT* headers, BOOL* cancel);
    virtual void DocumentComplete(IDispatch* browser, VARIANT* url);

    // The pages' window.external; false before Create. The object is not referenced.
    bool SetExternal(IDispatch* external);
    IDispatch* GetExternal() const;
    // The loaded page's document with a reference for the caller, or null.
    IDispatch* GetHtmlDocument() const;

    // Headers are "Name: value" lines; with post data the page is requested with it (its length, or
    // the text's length when postLength is 0). Flags are navOpenInNewWindow, navNoHistory,
    // navNoReadFromCache and navNoWriteToCache; the target frame names a frame of the page, "_blank"
    // a window of its own (which OnNewWindow2 hears: unless cancelled the page opens here, as the
    // program has no second browser window), and empty, "_self", "_parent" or "_top" the page itself.
    void Navigate(const char* url, DWORD flags = 0, const char* targetFrame = nullptr,
                  const char* headers = nullptr, void* postData = nullptr, DWORD postLength = 0);
    void Navigate2(const char* url, DWORD flags = 0, const char* targetFrame = nullptr,
                   const char* headers = nullptr, void* postData = nullptr, DWORD postLength = 0);
    void Navigate2(const char* url, DWORD flags, CByteArray& postData, const char* targetFrame = nullptr,
                   const char* headers = nullptr);
    // A page built into the program, "res://<program>/<name>" or ".../<id>".
    BOOL LoadFromResource(const char* name);
    BOOL LoadFromResource(UINT id);

    void GoBack();
    void GoForward();
    void Refresh();
    // REFRESH_COMPLETELY reloads past every cache; the other levels as Refresh.
    void Refresh2(int level);
    void Stop();
    // READYSTATE_UNINITIALIZED before the first page, LOADING, INTERACTIVE until the page's
    // document is in, then COMPLETE.
    long GetReadyState() const;
    // "HTML Document" once a page is loaded, else empty.
    CString GetType() const;
    // The running program's path.
    CString GetFullName() const;
    // The host's automation object (the external object) with a reference, or null.
    IDispatch* GetApplication() const;
    // A hosted browser has no parent browser and no container object: null.
    IDispatch* GetParentBrowser() const { return nullptr; }
    IDispatch* GetContainer() const { return nullptr; }
    BOOL GetTopLevelContainer() const { return TRUE; }

    // The browser window's place in this window's client area.
    void SetHeight(long height);
    long GetHeight() const;
    void SetTop(long top);
    long GetTop() const;
    void SetLeft(long left);
    long GetLeft() const;

    // A hosted browser shows none of these bars or modes: their values are kept and reported.
    void SetRegisterAsBrowser(BOOL on) { m_registerAsBrowser = on; }
    BOOL GetRegisterAsBrowser() const { return m_registerAsBrowser; }
    // Whether the page takes dropped data.
    void SetRegisterAsDropTarget(BOOL on);
    BOOL GetRegisterAsDropTarget() const;
    void SetTheaterMode(BOOL on);
    BOOL GetTheaterMode() const { return m_theaterMode; }
    void SetMenuBar(BOOL on);
    BOOL GetMenuBar() const { return m_menuBar; }
    void SetToolBar(int value);
    int GetToolBar() const { return m_toolBar; }
    void SetFullScreen(BOOL on);
    BOOL GetFullScreen() const { return m_fullScreen; }
    void SetAddressBar(BOOL on);
    BOOL GetAddressBar() const { return m_addressBar; }
    void SetStatusBar(BOOL on);
    BOOL GetStatusBar() const { return m_statusBar; }

    // Named values the browser keeps for its host.
    void PutProperty(const char* name, const VARIANT& value);
    void PutProperty(const char* name, long value);
    void PutProperty(const char* name, short value);
    void PutProperty(const char* name, const char* value);
    void PutProperty(const char* name, double value);
    // The value as text; false when the browser keeps no such value.
    bool GetProperty(const char* name, CString& value) const;
    // VT_EMPTY when the browser keeps no such value.
    VARIANT GetProperty(const char* name) const;

    // OLECMDF_SUPPORTED | OLECMDF_ENABLED for the commands above with a browser, else 0.
    OLECMDF QueryStatusWB(OLECMDID command) const;
    // Print (through the print dialog), cut, copy, paste, select all, refresh, stop; zoom takes a
    // VT_I4 size in in and gives the size in out.
    void ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out);
    // A command of the document's own group: HTMLID_FIND asks for a text and finds it in the page,
    // HTMLID_VIEWSOURCE shows the page's source; HTMLID_OPTIONS has no dialog in this engine.
    // Nothing without a document.
    void ExecCmdTarget(DWORD commandId);
    CString GetLocationURL() const;
    CString GetLocationName() const;
    BOOL GetBusy() const;
    void SetVisible(BOOL visible);
    BOOL GetVisible() const;
    void SetOffline(BOOL offline) { m_offline = offline; }
    BOOL GetOffline() const { return m_offline; }
    void SetSilent(BOOL silent) { m_silent = silent; }
    BOOL GetSilent() const { return m_silent; }

    // 0 (smallest) .. 4 (largest), clamped; every following page gets it too.
    void SetFontSize(int size);
    // -1 without a browser.
    int GetFontSize() const;
    CString GetUserAgent() const { return m_userAgent; }
    void SetUserAgent(const char* agent);
    void SetNoStatusText(BOOL noStatusText) { m_noStatusText = noStatusText; }
    void Update();

    void UseCustomHelp(BOOL on) { m_customHelp = on; }
    void UseCustomMessage(BOOL on) { m_customMessage = on; }
    void UseCustomContextMenu(BOOL on);
    void UseAdvancedContextMenu(BOOL on) { m_advancedContextMenu = on; }

    void SetUI_Flags(DWORD flags);
    DWORD GetUI_Flags() const { return m_uiFlags; }
    void SetUI_DblClk(DWORD behaviour) { m_dblClk = behaviour; }
    DWORD GetUI_DblClk() const { return m_dblClk; }
    void SetUIFlag_Dialog(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_DIALOG, on); }
    BOOL GetUIFlag_Dialog() const { return GetUIFlag(DOCHOSTUIFLAG_DIALOG); }
    void SetUIFlag_DisableHelpMenu(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_DISABLE_HELP_MENU, on); }
    BOOL GetUIFlag_DisableHelpMenu() const { return GetUIFlag(DOCHOSTUIFLAG_DISABLE_HELP_MENU); }
    void SetUIFlag_No3dBorder(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_NO3DBORDER, on); }
    BOOL GetUIFlag_No3dBorder() const { return GetUIFlag(DOCHOSTUIFLAG_NO3DBORDER); }
    void SetUIFlag_NoScrollbar(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_SCROLL_NO, on); }
    BOOL GetUIFlag_NoScrollbar() const { return GetUIFlag(DOCHOSTUIFLAG_SCROLL_NO); }
    void SetUIFlag_DisableScriptInactive(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE, on); }
    BOOL GetUIFlag_DisableScriptInactive() const { return GetUIFlag(DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE); }
    void SetUIFlag_OpenNewWin(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_OPENNEWWIN, on); }
    BOOL GetUIFlag_OpenNewWin() const { return GetUIFlag(DOCHOSTUIFLAG_OPENNEWWIN); }
    void SetUIFlag_DisableOffscreen(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_DISABLE_OFFSCREEN, on); }
    BOOL GetUIFlag_DisableOffscreen() const { return GetUIFlag(DOCHOSTUIFLAG_DISABLE_OFFSCREEN); }
    void SetUIFlag_FlatScrollbar(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_FLAT_SCROLLBAR, on); }
    BOOL GetUIFlag_FlatScrollbar() const { return GetUIFlag(DOCHOSTUIFLAG_FLAT_SCROLLBAR); }
    void SetUIFlag_DivBlockDefault(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_DIV_BLOCKDEFAULT, on); }
    BOOL GetUIFlag_DivBlockDefault() const { return GetUIFlag(DOCHOSTUIFLAG_DIV_BLOCKDEFAULT); }
    void SetUIFlag_ActivateClientHitOnly(BOOL on) { SetUIFlag(DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY, on); }
    BOOL GetUIFlag_ActivateClientHitOnly() const { return GetUIFlag(DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY); }

    // "%XX" codes decoded; a "%" with fewer than two characters after it stays as it is.
    static CString ProcessCharCodes(const char* text);
    static char CharTokenToChar(const char* token);

    tvsk::web::WebBrowser* Browser() const noexcept { return m_browser.data(); }

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    // The browser window's rectangle in this window's client coordinates.
    CRect BrowserPlace() const;
    void SetUIFlag(DWORD flag, BOOL on);
    BOOL GetUIFlag(DWORD flag) const { return (m_uiFlags & flag) != 0; }
    void ApplyUIFlags();

    // What the browser reports.
    void BeforeNavigate(const std::string& url, unsigned flags, const std::string& targetFrame,
                        const std::string& postData, const std::string& headers, bool& cancel) override;
    void AppCommand(const std::string& command, const std::string& postData) override;
    void NavigateComplete(const std::string& url) override;
    void DocumentComplete(const std::string& url) override;
    void TitleChange(const std::string& title) override;
    void StatusTextChange(const std::string& text) override;
    void ProgressChange(int progress, int maximum) override;
    void DownloadBegin() override;
    void DownloadComplete() override;
    void ContextMenu(QPoint point) override;
    bool ShowMessage(const std::string& text, unsigned type, int& result) override;
    bool ShowHelp(QPoint point) override;
    void CommandStateChange(int command, bool enabled) override;
    void NewWindow(bool& cancel) override;
    void WindowClosing(bool& cancel) override;
    void WindowGeometry(QRect geometry) override;
    void SecureLockIcon(int icon) override;
    void FileDownload(bool& cancel) override;

    int m_fontSize = -1;
    BOOL m_noStatusText = FALSE;
    BOOL m_offline = FALSE;
    BOOL m_silent = FALSE;
    CString m_userAgent;
    CDataTip m_dataTip;
    QPointer<tvsk::web::WebBrowser> m_browser; // lives in the browser window's widget
    CWnd m_browserWnd;
    IDispatch* m_external = nullptr;
    DWORD m_uiFlags = 0;
    DWORD m_dblClk = 0;
    BOOL m_customHelp = FALSE;
    BOOL m_customMessage = FALSE;
    BOOL m_customContextMenu = FALSE;
    BOOL m_advancedContextMenu = FALSE;
    CBrowserPropertyStore m_properties;
    BOOL m_registerAsBrowser = FALSE;
    BOOL m_theaterMode = FALSE;
    BOOL m_menuBar = FALSE;
    int m_toolBar = 0;
    BOOL m_fullScreen = FALSE;
    BOOL m_addressBar = FALSE;
    BOOL m_statusBar = FALSE;
};
