// The main dialog: creation, page windows, command words, language, system menu and closing.
#include "TarveskonDlg.h"

#include "DlgVersions.h"
#include "PluginCall.h"
#include "TvskMessages.h"

#include <ZoSupport/ProgramError.h>
#include <uiext/AboutDlg.h>
#include <ui/App.h>
#include <ui/HelpInfo.h>
#include <ui/Language.h>
#include <ui/Menu.h>
#include <ui/MessageBox.h>
#include <ui/SystemMenu.h>

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <utility>

namespace
{

// "The drive is not connected", for the page's transfers.
constexpr UINT kNotConnectedText = 2132;

constexpr UINT kScriptClockMs = 200;

bool FileExists(const CString& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path.GetString(), error);
}

// The toolkit's code of a language of the language list ("ITA" -> "it").
const char* ToolkitLanguageCode(const CString& name)
{
    static const std::pair<const char*, const char*> codes[] = {{"ITA", "it"}, {"ENG", "en"}, {"DEU", "de"},
                                                                {"FRA", "fr"}, {"ESP", "es"}, {"POR", "pt"}};
    for (const auto& [language, code] : codes)
        if (name.CompareNoCase(language) == 0)
            return code;
    return "en";
}

} // namespace

CTarveskonDlg::CTarveskonDlg(const char* programDir, CWnd* parent)
    : CResizableDialog(IDD_TARVESKON_DIALOG, parent), m_manager(programDir)
{
    m_manager.SetHostUi(this);
}

CTarveskonDlg::~CTarveskonDlg()
{
    AfxSetTextTranslator({});
    if (CTvskIntf* automation = m_manager.GetIntf())
        automation->SetWindow(nullptr);
    m_manager.SetHostUi(nullptr);
}

BOOL CTarveskonDlg::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    ApplyLanguage();
    GetWidget()->setWindowIcon(
        QIcon(QString::fromUtf8((m_manager.GetAppPagesDir() + "/Image/Tarveskon.png").GetString())));
    ShowSizeGrip(FALSE);

    CRect rect;
    CWnd* placeholder = GetDlgItem(IDC_MAIN_PAGE_PLACEHOLDER);
    placeholder->GetWindowRect(&rect);
    ScreenToClient(&rect);
    m_wndMain.SetTvskManager(&m_manager);
    if (!m_wndMain.Create(nullptr, WS_CHILD | WS_VISIBLE, rect, this, IDC_MAIN_PAGE))
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    if (CTvskIntf* automation = m_manager.GetIntf())
    {
        m_wndMain.SetExternal(static_cast<ITvskIntf*>(automation));
        automation->SetWindow(&m_intfWindow);
    }
    m_wndMain.SetUI_Flags(DOCHOSTUIFLAG_NO3DBORDER);
    placeholder->ShowWindow(SW_HIDE);
    AddAnchor(m_wndMain.GetSafeHwnd(), CSize(0, 0), CSize(100, 100));

    placeholder = GetDlgItem(IDC_STATUS_PAGE_PLACEHOLDER);
    placeholder->GetWindowRect(&rect);
    ScreenToClient(&rect);
    m_wndStatus.SetTvskManager(&m_manager);
    if (!m_wndStatus.Create(nullptr, WS_CHILD | WS_VISIBLE, rect, this, IDC_STATUS_PAGE))
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return FALSE;
    }
    m_wndStatus.SetUI_Flags(DOCHOSTUIFLAG_NO3DBORDER);
    placeholder->ShowWindow(SW_HIDE);
    AddAnchor(m_wndStatus.GetSafeHwnd(), CSize(0, 100), CSize(100, 100));
    m_wndStatus.Navigate(m_manager.GetStatusPagePath());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    SetMaxTrackSize(CSize(screen.width(), screen.height()));
    SetMinTrackSize(CSize(200, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight)));

    m_bStartPage = 0;
    OnFileNew();
    SetDataString(nullptr);
    UpdateSystemMenu();
    SetTimer(kScriptClockTimer, kScriptClockMs);
    return TRUE;
}

void CTarveskonDlg::OnTimer(UINT_PTR id)
{
    if (id == kScriptClockTimer)
        m_manager.FireTimer();
    CResizableDialog::OnTimer(id);
}

BOOL CTarveskonDlg::PreTranslateMessage(MSG* msg)
{
    // Enter and Escape belong to the focused page: they never close the dialog.
    if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return FALSE;
    return CResizableDialog::PreTranslateMessage(msg);
}

LRESULT CTarveskonDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case ID_FILE_NEW:
            OnFileNew();
            return 0;
        case ID_FILE_OPEN:
            OnFileOpen();
            return 0;
        case ID_FILE_SAVE:
            OnFileSave();
            return 0;
        case ID_FILE_SAVE_AS:
            OnFileSaveAs();
            return 0;
        case ID_FILE_CLOSE:
            OnFileClose();
            return 0;
        case ID_FILE_PRINT_COMMAND:
            return 0;
        case ID_START_WIZARD:
            OnStartWizard();
            return 0;
        default:
            break;
        }
        break;
    case WM_HTML_PAGE:
        return 0;
    case WM_HTML_COMMAND:
        OnHtmlCommand(reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_HTML_TAGCOMMAND:
        OnHtmlTagCommand(reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_SELECT_LANGUAGE:
        OnSelectLanguage(static_cast<int>(lParam));
        return 0;
    case WM_REFRESH_PAGE:
        OnRefreshPage();
        return 0;
    case WM_HTML_PLUGIN:
        OnHtmlPlugin(reinterpret_cast<const PLUGIN_CALL*>(lParam));
        return 0;
    case WM_HTML_HELP:
        OnHtmlHelp(wParam, lParam);
        return 0;
    case WM_INTF_WINDOW:
        OnIntfWindow(static_cast<IntfWindowCall>(wParam));
        return 0;
    case WM_HTML_EXE:
        m_manager.SendCommand(HOSTCMD_EXECUTE, static_cast<long>(lParam), 0);
        return 0;
    default:
        break;
    }
    return CResizableDialog::WindowProc(message, wParam, lParam);
}

void CTarveskonDlg::OnIntfWindow(IntfWindowCall call)
{
    switch (call)
    {
    case IntfWindowCall::SetDrive:
        SetDrive();
        return;
    case IntfWindowCall::SetMotor:
        SetMotor();
        return;
    case IntfWindowCall::UpdateMotor:
        UpdateMotor();
        return;
    }
}

void CTarveskonDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    switch (id & 0xFFF0)
    {
    case IDM_ABOUTBOX:
        ShowAboutBox();
        return;
    case IDM_VERSIONS:
        ShowVersions();
        return;
    case IDM_BROADCAST:
        m_loaderProxy.SendBroadcastCommand(PLUGINCMD_BROADCAST, 0, 0);
        return;
    default:
        CResizableDialog::OnSysCommand(id, lParam);
        return;
    }
}

void CTarveskonDlg::ShowAboutBox()
{
    CAboutDlg about(false, 3000, this);
    about.m_strPicturePath = m_manager.Language().GetSplashPicturePath();
    about.m_strMotorDbVersion = m_manager.GetVersionString(3);
    about.m_strDriveDbVersion = m_manager.GetVersionString(4);
    about.m_strHyperlink =
        AfxGetApp() ? AfxGetApp()->GetProfileString("Settings", "HomePage", "") : CString();
    about.m_strProductVersion = m_manager.GetReleaseVersion(6);
    about.DoModal();
}

void CTarveskonDlg::ShowVersions()
{
    CDlgVersions versions(this);
    versions.SetHost(&m_manager);
    versions.DoModal();
}

void CTarveskonDlg::UpdateSystemMenu()
{
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu)
        return;
    const UINT ids[] = {IDM_ABOUTBOX, IDM_VERSIONS};
    const UINT texts[] = {2037, 2038};
    bool separated = false;
    for (int i = 0; i < 2; ++i)
    {
        const CString text = LocalString(texts[i]);
        if (menu->ModifyMenu(ids[i], MF_BYCOMMAND | MF_STRING, ids[i], text))
            continue;
        if (!separated)
            menu->AppendMenu(MF_SEPARATOR);
        separated = true;
        menu->AppendMenu(MF_STRING, ids[i], text);
    }
}

CString CTarveskonDlg::LocalString(UINT id)
{
    CString text;
    m_manager.GetString(id, text);
    return text;
}

void CTarveskonDlg::CloseIfAllowed()
{
    if (m_manager.CanClose())
        EndDialog(IDCANCEL);
}

void CTarveskonDlg::OnClose()
{
    CloseIfAllowed();
}

void CTarveskonDlg::OnOK()
{
    CloseIfAllowed();
}

void CTarveskonDlg::OnCancel()
{
    CloseIfAllowed();
}

void CTarveskonDlg::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CResizableDialog::OnActivate(state, other, minimized);
    m_bActive = state != WA_INACTIVE;
    if (m_bActive && m_bRefreshPending)
    {
        m_bRefreshPending = 0;
        PostMessage(WM_REFRESH_PAGE, 0, 0);
    }
}

BOOL CTarveskonDlg::OnHelpInfo(HELPINFO*)
{
    PostMessage(WM_HTML_HELP, 0, 0);
    return TRUE;
}

void CTarveskonDlg::ShowStartPage()
{
    m_bStartPage = 1;
    m_wndMain.Navigate(m_manager.GetMainPagePath());
}

void CTarveskonDlg::ShowWizardPage()
{
    m_bStartPage = 0;
    const CString typePage = m_manager.GetWizardStartPage(true);
    m_wndMain.Navigate(FileExists(typePage) ? typePage : m_manager.GetWizardStartPage(false));
}

void CTarveskonDlg::OnHtmlCommand(const char* word)
{
    // The wizard page's transfers act on its own parameters, whatever page was open before.
    const bool pageTransfer =
        word && (std::strcmp(word, "ReadAll") == 0 || std::strcmp(word, "WriteAll") == 0);
    if (pageTransfer && !m_manager.IsConnected())
    {
        MessageBox(nullptr, LocalString(kNotConnectedText), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (pageTransfer && !m_bStartPage)
        m_wndMain.PublishPageList();
    m_words.Run(word);
    if (pageTransfer && !m_bStartPage && m_wndMain.GetSafeHwnd())
        m_wndMain.UpdateValues();
}

void CTarveskonDlg::OnSelectLanguage(int index)
{
    const int previous = m_manager.Language().GetLangId();
    const int id = m_manager.Language().GetLanguageIdAt(index);
    if (id < 0 || !m_manager.ChangeLanguage(id) || m_manager.Language().GetLangId() == previous)
        return;
    ApplyLanguage();
    if (!m_bStartPage)
        return;
    m_wndMain.Navigate(m_manager.GetMainPagePath());
    m_wndStatus.Navigate(m_manager.GetStatusPagePath());
    UpdateSystemMenu();
    OpenHelp(m_manager.GetHelpPagePath(kStartHelpFolder));
}

void CTarveskonDlg::ApplyLanguage()
{
    AfxSetTextTranslator([this](const char* text, CString& translated)
                         { return m_manager.Language().TranslateText(text, translated) != FALSE; });
    AfxSetToolkitLanguage(ToolkitLanguageCode(m_manager.GetLanguageName()));
}

void CTarveskonDlg::OnRefreshPage()
{
    if (!m_bActive)
    {
        m_bRefreshPending = 1;
        return;
    }
    SetDataString(nullptr);
    ShowWizardPage();
}

int CTarveskonDlg::MessageBox(CWnd* owner, const CString& text, UINT type)
{
    if (!owner)
        owner = QApplication::activeWindow() ? CWnd::FromWidget(QApplication::activeWindow()) : nullptr;
    return AfxShowMessageBox(owner ? owner : this, text, nullptr, type);
}

bool CTarveskonDlg::HasActiveWindow()
{
    return QApplication::activeWindow() != nullptr;
}

void CTarveskonDlg::PumpMessages(int milliseconds)
{
    AfxPumpMessages(milliseconds);
}

CString CTarveskonDlg::GetAppTitle()
{
    return LocalString(2039);
}

void CTarveskonDlg::SetMainWindowTitle(const CString& title)
{
    SetWindowText(title);
}

void CTarveskonDlg::AddToRecentFileList(const char* path)
{
    if (CWinApp* app = AfxGetApp())
        app->AddToRecentFileList(path);
}

void CTarveskonDlg::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessage(message, wParam, lParam);
}

void CTarveskonDlg::PostToWindow(CWnd* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && window->GetSafeHwnd())
        window->PostMessage(message, wParam, lParam);
}

void CTarveskonDlg::PostToDialog(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessage(message, wParam, lParam);
}
