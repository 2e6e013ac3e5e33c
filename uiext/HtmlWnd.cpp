#include "HtmlWnd.h"

#include <ui/App.h>
#include <ui/MessageBox.h>
#include <com/SafeArray.h>
#include <web/CharCodes.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEngineView>

#include <algorithm>
#include <cstring>

using namespace tvsk::com;

namespace
{

constexpr char kWindowClass[] = "ZoMfcExtHtmlWnd";

CString TextOf(const VARIANT* v)
{
    if (!v || v->vt != VT_BSTR)
        return CString();
    return CString(Utf8FromBstr(v->bstrVal));
}

// Post data travels through the raw navigation events as a one-dimensional array of bytes.
VARIANT BytesVariant(const std::string& bytes)
{
    VARIANT v;
    VariantInit(&v);
    if (bytes.empty())
        return v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (!array || FAILED(SafeArrayAccessData(array, &data)))
    {
        SafeArrayDestroy(array);
        return v;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = array;
    return v;
}

std::string BytesOf(VARIANT* v)
{
    if (!v || !(v->vt & VT_ARRAY) || !v->parray)
        return std::string();
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(v->parray, 1, &lower);
    SafeArrayGetUBound(v->parray, 1, &upper);
    void* data = nullptr;
    if (upper < lower || FAILED(SafeArrayAccessData(v->parray, &data)))
        return std::string();
    const size_t length = static_cast<size_t>(upper - lower + 1) * SafeArrayGetElemsize(v->parray);
    std::string bytes(static_cast<const char*>(data), length);
    SafeArrayUnaccessData(v->parray);
    return bytes;
}

// The variant that carries a text through the raw navigation events.
struct TextVariant
{
    VARIANT v;
    explicit TextVariant(const std::string& text) : v(MakeVariantBstr(text)) {}
    ~TextVariant() { VariantClear(&v); }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;
};

} // namespace

CHtmlWnd::CHtmlWnd() : m_userAgent("CHtmlWnd 1.0")
{
    RegisterWindowClass();
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    MapCommand(ID_VIEW_SOURCE, [this] { OnViewSource(); });
    MapCommand(ID_TOOLS_INTERNET_OPTIONS, [this] { OnToolsInternetOptions(); });
    MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    MapCommand(ID_EDIT_SELECT_ALL, [this] { OnEditSelectall(); });
    MapCommand(ID_EDIT_FIND_ON_PAGE, [this] { OnEditFindOnThisPage(); });
}

CHtmlWnd::~CHtmlWnd()
{
    delete m_browser;
}

BOOL CHtmlWnd::RegisterWindowClass()
{
    WNDCLASS known;
    if (GetClassInfo(kWindowClass, &known))
        return TRUE;
    WNDCLASS wndClass;
    wndClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wndClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wndClass.background = GetSysColor(COLOR_BTNFACE);
    wndClass.lpszClassName = kWindowClass;
    if (!AfxRegisterClass(&wndClass))
        AfxThrowResourceException();
    return TRUE;
}

BOOL CHtmlWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    return TRUE;
}

BOOL CHtmlWnd::Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      void* context)
{
    CREATESTRUCT cs;
    cs.lpCreateParams = context;
    cs.hwndParent = parent;
    cs.id = id;
    cs.style = style;
    cs.lpszName = windowName;
    cs.lpszClass = kWindowClass;
    if (!PreCreateWindow(cs) ||
        !CreateEx(cs.dwExStyle, cs.lpszClass, windowName, cs.style, rect, parent, id, context))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    if (!m_browserWnd.Create(nullptr, windowName, WS_CHILD | WS_VISIBLE, client, this, AFX_IDW_PANE_FIRST))
    {
        DestroyWindow();
        return FALSE;
    }
    QWidget* holder = m_browserWnd.GetWidget();
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new tvsk::web::WebBrowser(holder, *this);
    layout->addWidget(m_browser->View());
    m_browser->SetUserAgent(m_userAgent.GetString());
    m_browser->SetCustomContextMenu(m_customContextMenu);
    ApplyUIFlags();
    if (m_fontSize >= 0)
        m_browser->SetFontSize(m_fontSize);
    return TRUE;
}

int CHtmlWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CWnd::OnCreate(createStruct) == -1)
        return -1;
    m_dataTip.Create(this);
    CDataTip::m_nDelayShow = 50;
    CDataTip::m_nDelayHide = 1500;
    return 0;
}

void CHtmlWnd::OnDestroy()
{
    if (m_browser)
        OnQuit();
    // The page may report no more once the window goes.
    delete m_browser;
    m_browser = nullptr;
    CWnd::OnDestroy();
}

void CHtmlWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (m_browserWnd.GetSafeHwnd())
        m_browserWnd.MoveWindow(0, 0, cx, cy);
}

void CHtmlWnd::OnNavigateComplete2(CString) {}
void CHtmlWnd::OnBeforeNavigate2(CString, DWORD, CString, CByteArray&, CString, BOOL*) {}
void CHtmlWnd::OnBeforeNavigate2(CString, DWORD, CString, CString, CString, BOOL*) {}
void CHtmlWnd::OnStatusTextChange(CString) {}
void CHtmlWnd::OnProgressChange(long, long) {}
void CHtmlWnd::OnCommandStateChange(long, BOOL) {}
void CHtmlWnd::OnDownloadBegin() {}
void CHtmlWnd::OnDownloadComplete() {}
void CHtmlWnd::OnTitleChange(CString) {}
void CHtmlWnd::OnPropertyChange(CString) {}
void CHtmlWnd::OnNewWindow2(IDispatch**, BOOL*) {}
void CHtmlWnd::OnDocumentComplete(CString) {}
void CHtmlWnd::OnQuit() {}
void CHtmlWnd::OnVisible(BOOL) {}
void CHtmlWnd::OnToolBar(BOOL) {}
void CHtmlWnd::OnMenuBar(BOOL) {}
void CHtmlWnd::OnStatusBar(BOOL) {}
void CHtmlWnd::OnFullScreen(BOOL) {}
void CHtmlWnd::OnTheaterMode(BOOL) {}
void CHtmlWnd::OnAddressBar(BOOL) {}
void CHtmlWnd::OnAppCmd(CString, CString) {}
void CHtmlWnd::OnAdvancedContextMenu(DWORD, CPoint, IUnknown*, IDispatch*) {}
void CHtmlWnd::OnShowHelp(HWND, CString, UINT, DWORD, CPoint, IDispatch*) {}
void CHtmlWnd::OnWindowSetResizable(BOOL) {}
void CHtmlWnd::OnWindowClosing(BOOL, BOOL*) {}
void CHtmlWnd::OnWindowSetLeft(long) {}
void CHtmlWnd::OnWindowSetTop(long) {}
void CHtmlWnd::OnWindowSetWidth(long) {}
void CHtmlWnd::OnWindowSetHeight(long) {}
void CHtmlWnd::OnClientToHostWindow(long*, long*) {}
void CHtmlWnd::OnSetSecureLockIcon(long) {}
void CHtmlWnd::OnFileDownload(BOOL*) {}

void CHtmlWnd::OnShowMessage(HWND, CString text, CString, DWORD type, CString, DWORD, long* result)
{
    const CWinApp* app = AfxGetApp();
    const int answer = AfxShowMessageBox(this, text, app ? app->m_pszAppName : "", type);
    if (result)
        *result = answer;
}

void CHtmlWnd::OnFilePrint()
{
    if (!m_browser)
        return;
    auto* printer = new QPrinter;
    QPrintDialog dialog(printer, GetWidget());
    if (dialog.exec() != QDialog::Accepted)
    {
        delete printer;
        return;
    }
    QWebEngineView* view = m_browser->View();
    QObject::connect(
        view, &QWebEngineView::printFinished, view, [printer](bool) { delete printer; },
        Qt::SingleShotConnection);
    view->print(printer);
}

void CHtmlWnd::OnViewSource()
{
    ExecCmdTarget(HTMLID_VIEWSOURCE);
}

void CHtmlWnd::OnToolsInternetOptions()
{
    ExecCmdTarget(HTMLID_OPTIONS);
}

void CHtmlWnd::OnEditCut()
{
    if (m_browser)
        m_browser->Cut();
}

void CHtmlWnd::OnEditCopy()
{
    if (m_browser)
        m_browser->Copy();
}

void CHtmlWnd::OnEditPaste()
{
    if (m_browser)
        m_browser->Paste();
}

void CHtmlWnd::OnEditSelectall()
{
    if (m_browser)
        m_browser->SelectAll();
}

void CHtmlWnd::OnEditFindOnThisPage()
{
    ExecCmdTarget(HTMLID_FIND);
}

void CHtmlWnd::ExecCmdTarget(DWORD commandId)
{
    IDispatch* document = GetHtmlDocument();
    if (!document)
        return;
    document->Release();
    switch (commandId)
    {
    case HTMLID_FIND:
    {
        bool ok = false;
        const QString text = QInputDialog::getText(GetWidget(), "Trova",
                                                   "Trova nella pagina:", QLineEdit::Normal, QString(), &ok);
        if (ok && !text.isEmpty() && m_browser)
            m_browser->Find(text.toStdString());
        break;
    }
    case HTMLID_VIEWSOURCE:
        m_browser->ViewSource();
        break;
    default:
        break;
    }
}

void CHtmlWnd::NavigateComplete2(IDispatch*, VARIANT* url)
{
    OnNavigateComplete2(TextOf(url));
}

void CHtmlWnd::BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                               VARIANT* postData, VARIANT* headers, BOOL* cancel)
{
    CByteArray postBytes;
    const std::string postText = BytesOf(postData);
    postBytes.SetSize(static_cast<INT_PTR>(postText.size()));
    std::copy(postText.begin(), postText.end(), postBytes.GetData());
    const DWORD flagValue = flags && flags->vt == VT_I4 ? static_cast<DWORD>(flags->lVal) : 0;
    OnBeforeNavigate2(TextOf(url), flagValue, TextOf(targetFrame), postBytes, TextOf(headers), cancel);
    OnBeforeNavigate2(TextOf(url), flagValue, TextOf(targetFrame), CString(postText), TextOf(headers),
                      cancel);
}

void CHtmlWnd::DocumentComplete(IDispatch*, VARIANT* url)
{
    if (m_fontSize >= 0)
        SetFontSize(m_fontSize);
    OnDocumentComplete(TextOf(url));
}

void CHtmlWnd::BeforeNavigate(const std::string& url, unsigned flagValue, const std::string& targetFrame,
                              const std::string& postData, const std::string& headerText, bool& cancel)
{
    TextVariant address(url), frame(targetFrame), headers(headerText);
    VARIANT flags = MakeVariantI4(static_cast<long>(flagValue));
    VARIANT post = BytesVariant(postData);
    BOOL cancelled = cancel ? TRUE : FALSE;
    BeforeNavigate2(nullptr, &address.v, &flags, &frame.v, &post, &headers.v, &cancelled);
    VariantClear(&post);
    cancel = cancelled != FALSE;
}

void CHtmlWnd::AppCommand(const std::string& command, const std::string& postData)
{
    OnAppCmd(CString(command), CString(postData));
}

void CHtmlWnd::NavigateComplete(const std::string& url)
{
    TextVariant address(url);
    NavigateComplete2(nullptr, &address.v);
}

void CHtmlWnd::DocumentComplete(const std::string& url)
{
    TextVariant address(url);
    DocumentComplete(nullptr, &address.v);
}

void CHtmlWnd::TitleChange(const std::string& title)
{
    OnTitleChange(CString(title));
}

void CHtmlWnd::StatusTextChange(const std::string& text)
{
    if (!m_noStatusText)
        OnStatusTextChange(CString(text));
}

void CHtmlWnd::ProgressChange(int progress, int maximum)
{
    OnProgressChange(progress, maximum);
}

void CHtmlWnd::DownloadBegin()
{
    OnDownloadBegin();
}

void CHtmlWnd::DownloadComplete()
{
    OnDownloadComplete();
}

void CHtmlWnd::ContextMenu(QPoint point)
{
    if (!m_customContextMenu || !m_browser)
        return;
    const QPoint screen = m_browser->View()->mapToGlobal(point);
    if (m_advancedContextMenu)
        OnAdvancedContextMenu(0, CPoint(screen.x(), screen.y()), nullptr, nullptr);
    else
        SendMessage(WM_CONTEXTMENU, 0,
                    MAKELPARAM(static_cast<WORD>(screen.x()), static_cast<WORD>(screen.y())));
}

bool CHtmlWnd::ShowMessage(const std::string& text, unsigned type, int& result)
{
    if (!m_customMessage)
        return false;
    long answer = 0;
    OnShowMessage(m_hWnd, CString(text), CString(), type, CString(), 0, &answer);
    result = static_cast<int>(answer);
    return true;
}

bool CHtmlWnd::ShowHelp(QPoint point)
{
    if (!m_customHelp || !m_browser)
        return false;
    const QPoint screen = m_browser->View()->mapToGlobal(point);
    OnShowHelp(m_hWnd, CString(), 0, 0, CPoint(screen.x(), screen.y()), nullptr);
    return true;
}

void CHtmlWnd::CommandStateChange(int command, bool enabled)
{
    OnCommandStateChange(command, enabled ? TRUE : FALSE);
}

void CHtmlWnd::NewWindow(bool& cancel)
{
    IDispatch* newBrowser = nullptr;
    BOOL cancelled = cancel ? TRUE : FALSE;
    OnNewWindow2(&newBrowser, &cancelled);
    cancel = cancelled != FALSE;
}

void CHtmlWnd::WindowClosing(bool& cancel)
{
    BOOL cancelled = cancel ? TRUE : FALSE;
    OnWindowClosing(FALSE, &cancelled);
    cancel = cancelled != FALSE;
}

void CHtmlWnd::WindowGeometry(QRect geometry)
{
    OnWindowSetLeft(geometry.x());
    OnWindowSetTop(geometry.y());
    long cx = geometry.width();
    long cy = geometry.height();
    OnClientToHostWindow(&cx, &cy);
    OnWindowSetWidth(cx);
    OnWindowSetHeight(cy);
}

void CHtmlWnd::SecureLockIcon(int icon)
{
    OnSetSecureLockIcon(icon);
}

void CHtmlWnd::FileDownload(bool& cancel)
{
    BOOL cancelled = cancel ? TRUE : FALSE;
    OnFileDownload(&cancelled);
    cancel = cancelled != FALSE;
}

bool CHtmlWnd::SetExternal(IDispatch* external)
{
    if (!m_browser)
        return false;
    m_external = external;
    m_browser->SetExternal(external);
    return true;
}

IDispatch* CHtmlWnd::GetExternal() const
{
    return m_external;
}

IDispatch* CHtmlWnd::GetHtmlDocument() const
{
    return m_browser ? m_browser->Document() : nullptr;
}

void CHtmlWnd::Navigate(const char* url, DWORD flags, const char* targetFrame, const char* headers,
                        void* postData, DWORD postLength)
{
    if (!m_browser || !url)
        return;
    std::string body;
    if (postData)
    {
        const auto* bytes = static_cast<const char*>(postData);
        body.assign(bytes, postLength ? postLength : std::strlen(bytes));
    }
    if (body.empty() && (!headers || !*headers) && flags == 0 && (!targetFrame || !*targetFrame))
        m_browser->Navigate(url);
    else
        m_browser->Navigate(url, body, headers ? headers : "", flags, targetFrame ? targetFrame : "");
}

void CHtmlWnd::Navigate2(const char* url, DWORD flags, const char* targetFrame, const char* headers,
                         void* postData, DWORD postLength)
{
    Navigate(url, flags, targetFrame, headers, postData, postLength);
}

void CHtmlWnd::Navigate2(const char* url, DWORD flags, CByteArray& postData, const char* targetFrame,
                         const char* headers)
{
    if (postData.GetSize() == 0)
        Navigate(url, flags, targetFrame, headers);
    else
        Navigate(url, flags, targetFrame, headers, postData.GetData(),
                 static_cast<DWORD>(postData.GetSize()));
}

BOOL CHtmlWnd::LoadFromResource(const char* name)
{
    const QString module = QCoreApplication::applicationFilePath();
    if (module.isEmpty() || !name)
        return FALSE;
    CString address;
    address.Format("res://%s/%s", module.toUtf8().constData(), name);
    Navigate(address);
    return TRUE;
}

BOOL CHtmlWnd::LoadFromResource(UINT id)
{
    CString name;
    name.Format("%u", id);
    return LoadFromResource(name.GetString());
}

void CHtmlWnd::GoBack()
{
    if (m_browser)
        m_browser->GoBack();
}

void CHtmlWnd::GoForward()
{
    if (m_browser)
        m_browser->GoForward();
}

void CHtmlWnd::Refresh()
{
    if (m_browser)
        m_browser->Refresh();
}

void CHtmlWnd::Stop()
{
    if (m_browser)
        m_browser->Stop();
}

CString CHtmlWnd::GetLocationURL() const
{
    return m_browser ? CString(m_browser->LocationUrl()) : CString();
}

CString CHtmlWnd::GetLocationName() const
{
    return m_browser ? CString(m_browser->LocationName()) : CString();
}

BOOL CHtmlWnd::GetBusy() const
{
    return m_browser && m_browser->Busy();
}

void CHtmlWnd::SetVisible(BOOL visible)
{
    if (!m_browserWnd.GetSafeHwnd())
        return;
    m_browserWnd.ShowWindow(visible ? SW_SHOW : SW_HIDE);
    OnVisible(visible);
}

BOOL CHtmlWnd::GetVisible() const
{
    return m_browserWnd.GetSafeHwnd() && m_browserWnd.IsWindowVisible();
}

void CHtmlWnd::SetFontSize(int size)
{
    if (!m_browser)
        return;
    m_fontSize = std::clamp(size, 0, 4);
    m_browser->SetFontSize(m_fontSize);
}

int CHtmlWnd::GetFontSize() const
{
    return m_browser ? m_browser->FontSize() : -1;
}

void CHtmlWnd::SetUserAgent(const char* agent)
{
    m_userAgent = agent;
    if (m_browser)
        m_browser->SetUserAgent(m_userAgent.GetString());
}

void CHtmlWnd::Update()
{
    if (m_browserWnd.GetSafeHwnd())
        m_browserWnd.Invalidate();
}

void CHtmlWnd::UseCustomContextMenu(BOOL on)
{
    m_customContextMenu = on;
    if (m_browser)
        m_browser->SetCustomContextMenu(on);
}

void CHtmlWnd::SetUI_Flags(DWORD flags)
{
    m_uiFlags = flags;
    ApplyUIFlags();
}

void CHtmlWnd::SetUIFlag(DWORD flag, BOOL on)
{
    SetUI_Flags(on ? (m_uiFlags | flag) : (m_uiFlags & ~flag));
}

void CHtmlWnd::ApplyUIFlags()
{
    if (m_browser)
        m_browser->ShowScrollBars(!GetUIFlag_NoScrollbar());
}

CString CHtmlWnd::ProcessCharCodes(const char* text)
{
    return CString(tvsk::web::ProcessCharCodes(text ? text : ""));
}

char CHtmlWnd::CharTokenToChar(const char* token)
{
    return tvsk::web::CharTokenToChar(token ? token : "");
}
