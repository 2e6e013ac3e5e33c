// Application start, the event loop with pre-translation, idle work and the desktop services.
#include "App.h"

#include "Wnd.h"

#include <registry/Profile.h>

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <clocale>

namespace
{

CWinApp* g_app = nullptr;
int g_argc = 1;
char g_argv0[] = "tarveskon";
char* g_argv[] = {g_argv0, nullptr};

UINT VirtualKeyOf(int key)
{
    switch (key)
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_F1:
        return VK_F1;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)
                   ? static_cast<UINT>(key)
                   : 0;
    }
}

#if defined(__clang__)
// The page engine's objects are built without type information, which the vptr check needs to
// recognise them; the filter asks their meta-object whether they are widgets.
#define TVSK_NO_VPTR_CHECK __attribute__((no_sanitize("vptr")))
#else
#define TVSK_NO_VPTR_CHECK
#endif

// Input events pass the pre-translation chain before the widget sees them.
class PreTranslateFilter : public QObject
{
public:
    TVSK_NO_VPTR_CHECK bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!g_app)
            return false;
        MSG msg;
        switch (e->type())
        {
        case QEvent::KeyPress:
        {
            auto* ke = static_cast<QKeyEvent*>(e);
            msg.message = WM_KEYDOWN;
            msg.wParam = VirtualKeyOf(ke->key());
            if (msg.wParam == 0)
                return false;
            break;
        }
        case QEvent::MouseButtonPress:
        {
            auto* me = static_cast<QMouseEvent*>(e);
            msg.message = me->button() == Qt::LeftButton
                              ? WM_LBUTTONDOWN
                              : (me->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_MBUTTONDOWN);
            const QPoint p = me->position().toPoint();
            msg.lParam = MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
            break;
        }
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
            // The press has passed: the next one may be made where this one was.
            m_lastEvent = nullptr;
            return false;
        default:
            return false;
        }
        auto* widget = watched->metaObject()->inherits(&QWidget::staticMetaObject)
                           ? static_cast<QWidget*>(watched)
                           : nullptr;
        // The window the event happens in: a toolkit window (a file box over a dialog) is no
        // window of ours, and its keys are its own.
        for (QWidget* w = widget; w && !msg.hwnd; w = w->parentWidget())
        {
            msg.hwnd = CWnd::FromWidget(w);
            if (!msg.hwnd && w->isWindow())
                return false;
        }
        if (!msg.hwnd)
            return false;
        // A widget sees each event once, though the filter is asked again as it propagates.
        if (m_lastEvent == e)
            return false;
        m_lastEvent = e;
        return g_app->PreTranslateMessage(&msg) != FALSE;
    }

private:
    const QEvent* m_lastEvent = nullptr;
};

PreTranslateFilter* g_filter = nullptr;

} // namespace

CWinApp::CWinApp(const char* appName) : m_appName(appName ? appName : "")
{
    m_pszAppName = m_appName.GetString();
    g_app = this;
    if (appName && *appName)
        CProfile::Instance().SetAppName(appName);
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Run()
{
    if (!QCoreApplication::instance())
        return -1;
    const int code = QCoreApplication::exec();
    const int exitCode = ExitInstance();
    return exitCode != 0 ? exitCode : code;
}

BOOL CWinApp::OnIdle(LONG)
{
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    if (!msg)
        return FALSE;
    for (CWnd* wnd = msg->hwnd; wnd; wnd = wnd->GetParent())
    {
        if (wnd->PreTranslateMessage(msg))
            return TRUE;
        if (wnd->GetWidget() && wnd->GetWidget()->isWindow())
            break;
    }
    return FALSE;
}

void CWinApp::SetRegistryKey(const char* registryKey)
{
    CProfile::Instance().SetRegistryKey(registryKey);
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    return CProfile::Instance().GetProfileString(section, entry, defaultValue);
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    return CProfile::Instance().GetProfileInt(section, entry, defaultValue);
}

BOOL CWinApp::GetProfileBinary(const char* section, const char* entry, BYTE** data, UINT* bytes) const
{
    return CProfile::Instance().GetProfileBinary(section, entry, data, bytes);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    return CProfile::Instance().WriteProfileString(section, entry, value);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    return CProfile::Instance().WriteProfileInt(section, entry, value);
}

BOOL CWinApp::WriteProfileBinary(const char* section, const char* entry, const BYTE* data, UINT bytes)
{
    return CProfile::Instance().WriteProfileBinary(section, entry, data, bytes);
}

HCURSOR CWinApp::LoadStandardCursor(UINT id) const
{
    return LoadCursor(nullptr, id);
}

void CWinApp::BeginWaitCursor()
{
    ++m_waitCursors;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCursors == 0)
        return;
    --m_waitCursors;
    QApplication::restoreOverrideCursor();
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

void AfxInitToolkit(int& argc, char** argv)
{
    if (!QCoreApplication::instance())
    {
        // Lives until the process ends: the toolkit's statics (devices, fonts) must not outlive it
        // at exit, and nothing after exit needs it gone. AfxWinMain owns its application instead.
        if (argc <= 0 || !argv)
            new QApplication(g_argc, g_argv);
        else
            new QApplication(argc, argv);
    }
    std::setlocale(LC_NUMERIC, "C");
    if (!g_filter)
    {
        g_filter = new PreTranslateFilter;
        QCoreApplication::instance()->installEventFilter(g_filter);
    }
}

int AfxWinMain(int argc, char** argv)
{
    QApplication application(argc, argv);
    AfxInitToolkit(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

void AfxPumpMessages(int milliseconds)
{
    // Wall-clock time: the C run-time clock measures processor time here.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (std::chrono::steady_clock::now() < end);
    if (CWinApp* app = AfxGetApp())
    {
        app->OnIdle(0);
        app->OnIdle(1);
    }
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore()
{
    QApplication::changeOverrideCursor(Qt::WaitCursor);
}

INT_PTR ShellExecute(HWND, const char* verb, const char* file, const char*, const char*, int)
{
    constexpr INT_PTR kFileNotFound = 2;
    constexpr INT_PTR kNoAssociation = 31;
    constexpr INT_PTR kSuccess = 33;
    if (!file || !*file)
        return kFileNotFound;
    if (verb && *verb && QString::fromUtf8(verb).compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return kNoAssociation;
    const QString target = QString::fromUtf8(file);
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                               : QUrl::fromUserInput(target);
    if (!url.isValid())
        return kFileNotFound;
    return QDesktopServices::openUrl(url) ? kSuccess : kNoAssociation;
}
