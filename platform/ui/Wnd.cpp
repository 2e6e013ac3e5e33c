// CWnd over QWidget: window classes, creation and destruction, child windows, the overlay and the cursor.
// Geometry and styles, messages and timers, command routing and the event bridge are in Wnd*.cpp.
#include "Wnd.h"
#include "WndInternal.h"

#include "Controls.h"
#include "MessageBox.h"

#include <QCursor>
#include <QPainter>
#include <QVariant>

#include <map>
#include <mutex>
#include <string>

namespace tvsk::ui
{

class OverlayWidget : public QWidget
{
public:
    OverlayWidget(QWidget* parent, const QImage* image) : QWidget(parent), m_image(image)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, *m_image);
    }

private:
    const QImage* m_image;
};

struct WndClassTable
{
    std::mutex lock;
    std::map<std::string, WNDCLASS> classes;
    std::map<std::string, std::string> names; // keeps the class name text alive
};

WndClassTable& ClassTable()
{
    static WndClassTable table;
    return table;
}

} // namespace tvsk::ui

using namespace tvsk::ui;

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

BOOL AfxRegisterClass(const WNDCLASS* wndClass)
{
    if (!wndClass || !wndClass->lpszClassName || !*wndClass->lpszClassName)
        return FALSE;
    WndClassTable& table = ClassTable();
    std::lock_guard guard(table.lock);
    const std::string name = wndClass->lpszClassName;
    const auto it = table.classes.find(name);
    if (it != table.classes.end())
        return it->second.style == wndClass->style && it->second.background == wndClass->background &&
                       it->second.hCursor == wndClass->hCursor
                   ? TRUE
                   : FALSE;
    table.names[name] = name;
    WNDCLASS stored = *wndClass;
    stored.lpszClassName = table.names[name].c_str();
    table.classes.emplace(name, stored);
    return TRUE;
}

BOOL GetClassInfo(const char* className, WNDCLASS* wndClass)
{
    if (!className || !wndClass)
        return FALSE;
    WndClassTable& table = ClassTable();
    std::lock_guard guard(table.lock);
    const auto it = table.classes.find(className);
    if (it == table.classes.end())
        return FALSE;
    *wndClass = it->second;
    return TRUE;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

CWnd::CWnd() : m_postBox(std::make_unique<PostBox>()) {}

CWnd::~CWnd()
{
    if (m_widget)
        DestroyWindow();
}

CWnd* CWnd::FromWidget(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    const QVariant value = widget->property("tvskWnd");
    return value.isValid() ? reinterpret_cast<CWnd*>(value.value<quintptr>()) : nullptr;
}

QWidget* CWnd::CreateWidget(const char* className, DWORD style, QWidget* parent)
{
    if (QWidget* control = CreateControlWidget(this, className, style, parent))
    {
        m_drawnByToolkit = true;
        return control;
    }
    return new QWidget(parent);
}

void CWnd::Attach(QWidget* widget)
{
    m_widget = widget;
    m_hWnd = this;
    widget->setProperty("tvskWnd", QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    m_bridge = new WndBridge(this);
    widget->installEventFilter(m_bridge);
    widget->setMouseTracking(true);
    std::lock_guard guard(m_postBox->lock);
    m_postBox->target = m_bridge;
    QObject::connect(widget, &QObject::destroyed, m_bridge,
                     [this]()
                     {
                         // Deleted by the toolkit (its parent went first): forget it without handlers.
                         m_widget = nullptr;
                         Detach();
                     });
}

void CWnd::Detach()
{
    {
        std::lock_guard guard(m_postBox->lock);
        m_postBox->target = nullptr;
    }
    m_timers.clear();
    if (m_bridge)
    {
        m_bridge->Forget();
        if (m_widget)
            m_widget->removeEventFilter(m_bridge);
        m_bridge->disconnect();
        if (g_dispatchDepth > 0)
            m_bridge->deleteLater();
        else
            delete m_bridge;
    }
    m_bridge = nullptr;
    if (m_widget)
        m_widget->setProperty("tvskWnd", QVariant());
    m_widget = nullptr;
    m_overlay = nullptr;
    m_overlayImage.reset();
    m_hWnd = nullptr;
    m_trackingLeave = false;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param)
{
    if (m_widget)
        return FALSE;
    if ((style & WS_CHILD) && (!parent || !parent->m_widget))
        return FALSE;
    m_className = className ? className : "";
    m_style = style;
    m_exStyle = exStyle;
    m_id = id;
    m_text = windowName ? windowName : "";
    QWidget* parentWidget = parent ? parent->m_widget : nullptr;
    QWidget* widget = CreateWidget(m_className, style, (style & WS_CHILD) ? parentWidget : nullptr);
    if (!widget)
        return FALSE;
    if (!(style & WS_CHILD))
    {
        // Owned top-level window: stays above its owner and goes with it.
        Qt::WindowFlags flags =
            (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : (parentWidget ? Qt::Dialog : Qt::Window);
        if (!(style & WS_CAPTION))
            flags |= Qt::FramelessWindowHint;
        if (exStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        widget->setParent(parentWidget ? parentWidget->window() : nullptr, flags);
    }
    Attach(widget);
    if (exStyle & WS_EX_LAYOUTRTL)
        widget->setLayoutDirection(Qt::RightToLeft);
    SetWindowText(m_text);
    if (style & WS_DISABLED)
        widget->setEnabled(false);
    const CRect r(rect);
    MoveWindow(r.left, r.top, r.Width(), r.Height(), FALSE);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.id = id;
    cs.x = r.left;
    cs.y = r.top;
    cs.cx = r.Width();
    cs.cy = r.Height();
    cs.style = style;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
    {
        DestroyWindow();
        return FALSE;
    }
    if (m_widget && (m_style & WS_VISIBLE))
        m_widget->show();
    return m_widget ? TRUE : FALSE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_widget)
        return FALSE;
    QWidget* widget = m_widget;
    ++g_dispatchDepth;
    SendMessage(WM_DESTROY);
    // Children (and owned windows) after their parent's WM_DESTROY, as the platform does.
    const auto children = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        if (CWnd* childWnd = FromWidget(child); childWnd && childWnd != this)
            childWnd->DestroyWindow();
    --g_dispatchDepth;
    for (UINT_PTR id :
         [this]
         {
             std::vector<UINT_PTR> ids;
             for (const auto& entry : m_timers)
                 ids.push_back(entry.first);
             return ids;
         }())
        KillTimer(id);
    if (GetCapture() == this)
        widget->releaseMouse();
    Detach();
    widget->hide();
    if (g_dispatchDepth > 0)
    {
        widget->setParent(nullptr);
        DeleteWidgetLater(widget);
    }
    else
    {
        delete widget;
    }
    PostNcDestroy();
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND wnd)
{
    if (m_widget || !wnd || !wnd->m_widget || wnd == this)
        return FALSE;
    QWidget* widget = wnd->m_widget;
    m_className = wnd->m_className;
    m_style = wnd->m_style;
    m_exStyle = wnd->m_exStyle;
    m_id = wnd->m_id;
    m_text = wnd->m_text;
    m_font = wnd->m_font;
    m_drawnByToolkit = wnd->m_drawnByToolkit;
    wnd->Detach();
    Attach(widget);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    CWnd* control = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    return control ? SubclassWindow(control) : FALSE;
}

int CWnd::SetDlgCtrlID(int id)
{
    const int old = static_cast<int>(m_id);
    m_id = static_cast<UINT>(id);
    return old;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_widget)
        return nullptr;
    const auto children = m_widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
    {
        CWnd* wnd = FromWidget(child);
        if (wnd && (wnd->m_style & WS_CHILD) && wnd->GetDlgCtrlID() == id)
            return wnd;
    }
    return nullptr;
}

CWnd* CWnd::GetParent() const
{
    if (!m_widget)
        return nullptr;
    for (QWidget* parent = m_widget->parentWidget(); parent; parent = parent->parentWidget())
        if (CWnd* wnd = FromWidget(parent))
            return wnd;
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (!m_widget)
        return nullptr;
    CWnd* top = FromWidget(m_widget->window());
    return top ? top : const_cast<CWnd*>(this);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return AfxShowMessageBox(this, text, caption, type);
}

QImage* CWnd::GetOverlayImage()
{
    if (!m_widget)
        return nullptr;
    const QSize size = m_widget->size();
    if (!m_overlayImage || m_overlayImage->size() != size)
    {
        m_overlayImage = std::make_unique<QImage>(size.isEmpty() ? QSize(1, 1) : size,
                                                  QImage::Format_ARGB32_Premultiplied);
        m_overlayImage->fill(Qt::transparent);
        if (!m_overlay)
            m_overlay = new OverlayWidget(m_widget, m_overlayImage.get());
        else
            m_overlay->deleteLater(), m_overlay = new OverlayWidget(m_widget, m_overlayImage.get());
        m_overlay->setGeometry(0, 0, size.width(), size.height());
    }
    return m_overlayImage.get();
}

void CWnd::UpdateOverlay()
{
    if (!m_overlay)
        return;
    m_overlay->raise();
    m_overlay->show();
    m_overlay->update();
}

BOOL IsWindow(HWND wnd)
{
    return wnd && wnd->GetSafeHwnd() ? TRUE : FALSE;
}

BOOL ReleaseCapture()
{
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber)
        grabber->releaseMouse();
    return TRUE;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    const QPoint p = QCursor::pos();
    point->x = p.x();
    point->y = p.y();
    return TRUE;
}

int GetClassName(HWND wnd, char* buffer, int maxCount)
{
    if (!wnd || !buffer || maxCount <= 0)
        return 0;
    CopyTextCut(buffer, static_cast<size_t>(maxCount), wnd->GetClassName());
    return static_cast<int>(std::strlen(buffer));
}

HCURSOR LoadCursor(void*, UINT id)
{
    Qt::CursorShape shape;
    switch (id)
    {
    case IDC_ARROW:
        shape = Qt::ArrowCursor;
        break;
    case IDC_IBEAM:
        shape = Qt::IBeamCursor;
        break;
    case IDC_WAIT:
        shape = Qt::WaitCursor;
        break;
    case IDC_CROSS:
        shape = Qt::CrossCursor;
        break;
    case IDC_SIZENWSE:
        shape = Qt::SizeFDiagCursor;
        break;
    case IDC_SIZENESW:
        shape = Qt::SizeBDiagCursor;
        break;
    case IDC_SIZEWE:
        shape = Qt::SizeHorCursor;
        break;
    case IDC_SIZENS:
        shape = Qt::SizeVerCursor;
        break;
    case IDC_SIZEALL:
        shape = Qt::SizeAllCursor;
        break;
    case IDC_NO:
        shape = Qt::ForbiddenCursor;
        break;
    case IDC_HAND:
        shape = Qt::PointingHandCursor;
        break;
    case AFX_IDC_HSPLITBAR:
        shape = Qt::SplitHCursor;
        break;
    case AFX_IDC_VSPLITBAR:
        shape = Qt::SplitVCursor;
        break;
    default:
        return nullptr;
    }
    // The handle carries the shape; it is never dereferenced.
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(shape) + 1);
}

HCURSOR SetCursor(HCURSOR cursor)
{
    QWidget* target = g_cursorTarget.data();
    if (!target)
        return nullptr;
    const HCURSOR previous = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(target->cursor().shape()) + 1);
    if (cursor)
        target->setCursor(static_cast<Qt::CursorShape>(reinterpret_cast<uintptr_t>(cursor) - 1));
    return previous;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track)
{
    if (!track || !track->hwndTrack || !track->hwndTrack->GetSafeHwnd())
        return FALSE;
    track->hwndTrack->m_trackingLeave = (track->dwFlags & TME_LEAVE) && !(track->dwFlags & TME_CANCEL);
    return TRUE;
}
