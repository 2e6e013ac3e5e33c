// CWnd over QWidget: creation, geometry, messages, timers and the translation of Qt events.
#include "Wnd.h"

#include "CmdUI.h"
#include "Controls.h"
#include "Dc.h"
#include "HelpInfo.h"
#include "MessageBox.h"
#include "OwnScrollBars.h"
#include "SystemMenu.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <mutex>

namespace tvsk::ui {

struct PostBox
{
    std::mutex lock;
    QObject* target = nullptr;
};

class WndMessageEvent : public QEvent
{
public:
    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    WndMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(EventType()), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {
    }
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

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

// Depth of message handling on the UI thread: a window destroyed inside a handler is deleted later.
int g_dispatchDepth = 0;
QPointer<QWidget> g_cursorTarget;

UINT KeyToVirtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Space: return 0x20;
    default: return 0;
    }
}

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

LPARAM PointParam(const QPoint& p)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x())), static_cast<WORD>(static_cast<SHORT>(p.y())));
}

// Turns the widget's events into the window's messages; also receives its posted messages and timers.
class WndBridge : public QObject
{
public:
    explicit WndBridge(CWnd* wnd) : m_wnd(wnd) {}
    void Forget() { m_wnd = nullptr; }
    int StartTimer(int ms) { return startTimer(ms, Qt::PreciseTimer); } // a coarse timer may fire 5 % early
    void StopTimer(int id) { killTimer(id); }

    bool event(QEvent* e) override
    {
        if (e->type() == WndMessageEvent::EventType()) {
            auto* message = static_cast<WndMessageEvent*>(e);
            if (m_wnd && m_wnd->m_widget)
                m_wnd->SendMessage(message->m_message, message->m_wParam, message->m_lParam);
            return true;
        }
        return QObject::event(e);
    }

    void timerEvent(QTimerEvent* e) override
    {
        if (!m_wnd)
            return;
        for (const auto& [id, toolkitId] : m_wnd->m_timers) {
            if (toolkitId == e->timerId()) {
                m_wnd->SendMessage(WM_TIMER, id, 0);
                return;
            }
        }
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!m_wnd || watched != m_wnd->m_widget)
            return false;
        CWnd* wnd = m_wnd;
        QWidget* widget = wnd->m_widget;
        switch (e->type()) {
        case QEvent::Paint: {
            if (!wnd->m_drawnByToolkit) {
                CPaintDC dc(wnd);
                wnd->DispatchFromToolkit(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(&dc)), 0);
            }
            return !wnd->DispatchFromToolkit(WM_PAINT, 0, 0);
        }
        case QEvent::Resize: {
            const QSize size = widget->size();
            if (wnd->m_overlay)
                wnd->m_overlay->setGeometry(0, 0, size.width(), size.height());
            UINT type = SIZE_RESTORED;
            if (widget->isWindow() && widget->isMaximized())
                type = SIZE_MAXIMIZED;
            else if (widget->isWindow() && widget->isMinimized())
                type = SIZE_MINIMIZED;
            wnd->DispatchFromToolkit(WM_SIZE, type, MAKELPARAM(static_cast<WORD>(size.width()), static_cast<WORD>(size.height())));
            return false;
        }
        case QEvent::WindowStateChange:
            // The platform reports every change of state as a size message, even without a new size.
            if (widget->isWindow())
                wnd->DispatchFromToolkit(WM_SIZE,
                                         widget->isMinimized() ? SIZE_MINIMIZED
                                                               : (widget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED),
                                         MAKELPARAM(static_cast<WORD>(widget->width()), static_cast<WORD>(widget->height())));
            return false;
        case QEvent::Show:
            if (widget->isWindow())
                wnd->ApplyTrackLimits();
            return false;
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            g_cursorTarget = widget;
            wnd->DispatchFromToolkit(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const bool pass = wnd->DispatchFromToolkit(WM_MOUSEMOVE, MouseFlags(me->buttons(), me->modifiers()),
                                                       PointParam(me->position().toPoint()));
            return !(pass && wnd->m_drawnByToolkit);
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(e);
            const UINT message = MouseMessage(e->type(), me->button());
            if (message == 0)
                return false;
            const bool pass = wnd->DispatchFromToolkit(message, MouseFlags(me->buttons(), me->modifiers()),
                                                       PointParam(me->position().toPoint()));
            return !(pass && wnd->m_drawnByToolkit);
        }
        case QEvent::Leave:
            if (wnd->m_trackingLeave) {
                wnd->m_trackingLeave = false;
                wnd->DispatchFromToolkit(WM_MOUSELEAVE, 0, 0);
            }
            return false;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(e);
            const UINT key = KeyToVirtualKey(ke->key());
            bool pass = true;
            if (key != 0)
                pass = wnd->DispatchFromToolkit(e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP, key,
                                                ke->isAutoRepeat() ? 1 : 1);
            if (pass && key == VK_F1 && e->type() == QEvent::KeyPress) {
                tvsk::ui::SendHelpRequest(wnd); // the request climbs itself: the key goes no further
                return true;
            }
            if (pass && e->type() == QEvent::KeyPress && !ke->text().isEmpty() && ke->text().at(0).unicode() >= 0x20)
                pass = wnd->DispatchFromToolkit(WM_CHAR, ke->text().at(0).unicode(), 1);
            return !(pass && wnd->m_drawnByToolkit);
        }
        case QEvent::Wheel: {
            // A nonzero answer means the window scrolled; otherwise the toolkit's own handling runs.
            auto* we = static_cast<QWheelEvent*>(e);
            LRESULT handled = 0;
            wnd->DispatchFromToolkit(WM_MOUSEWHEEL,
                                     MAKEWPARAM(static_cast<WORD>(MouseFlags(we->buttons(), we->modifiers())),
                                                static_cast<WORD>(static_cast<SHORT>(we->angleDelta().y()))),
                                     PointParam(we->globalPosition().toPoint()), &handled);
            return handled != 0;
        }
        case QEvent::ContextMenu: {
            // Unanswered, the request goes on to the parent window as it does on the platform.
            auto* ce = static_cast<QContextMenuEvent*>(e);
            const LPARAM where = ce->reason() == QContextMenuEvent::Keyboard ? -1 : PointParam(ce->globalPos());
            LRESULT handled = 0;
            wnd->DispatchFromToolkit(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd), where, &handled);
            return handled != 0;
        }
        case QEvent::FocusIn:
            wnd->DispatchFromToolkit(WM_SETFOCUS, 0, 0);
            return false;
        case QEvent::FocusOut:
            wnd->DispatchFromToolkit(WM_KILLFOCUS, 0, 0);
            return false;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            if (widget->isWindow())
                wnd->DispatchFromToolkit(WM_ACTIVATE,
                                         MAKEWPARAM(e->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE,
                                                    widget->isMinimized() ? 1 : 0),
                                         0);
            return false;
        case QEvent::Close:
            // The window decides: WM_CLOSE's default processing destroys it.
            e->ignore();
            wnd->DispatchFromToolkit(WM_CLOSE, 0, 0);
            return true;
        default: return false;
        }
    }

private:
    static UINT MouseMessage(QEvent::Type type, Qt::MouseButton button)
    {
        const bool down = type == QEvent::MouseButtonPress;
        const bool dbl = type == QEvent::MouseButtonDblClick;
        switch (button) {
        case Qt::LeftButton: return dbl ? WM_LBUTTONDBLCLK : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        case Qt::RightButton: return dbl || down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case Qt::MiddleButton: return dbl || down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default: return 0;
        }
    }

    CWnd* m_wnd;
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

constexpr const char* kDialogClass = "#32770";

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
        return it->second.style == wndClass->style && it->second.background == wndClass->background
                   && it->second.hCursor == wndClass->hCursor
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
    if (QWidget* control = CreateControlWidget(this, className, style, parent)) {
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
    QObject::connect(widget, &QObject::destroyed, m_bridge, [this]() {
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
    if (m_bridge) {
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

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, void* param)
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
    if (!(style & WS_CHILD)) {
        // Owned top-level window: stays above its owner and goes with it.
        Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : (parentWidget ? Qt::Dialog : Qt::Window);
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
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
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
    for (UINT_PTR id : [this] {
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
    if (g_dispatchDepth > 0) {
        widget->setParent(nullptr);
        widget->deleteLater();
    } else {
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
    for (QWidget* child : children) {
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

DWORD CWnd::GetStyle() const
{
    DWORD style = m_style & ~(WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE);
    if (m_widget) {
        if (!m_widget->isHidden())
            style |= WS_VISIBLE;
        if (!m_widget->isEnabled())
            style |= WS_DISABLED;
        if (m_widget->isWindow() && m_widget->isMaximized())
            style |= WS_MAXIMIZE;
        if (m_widget->isWindow() && m_widget->isMinimized())
            style |= WS_MINIMIZE;
    }
    return style;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    if (!m_widget)
        return FALSE;
    const DWORD old = GetStyle();
    m_style = (old & ~remove) | add;
    ApplyStyleToWidget(old);
    if (flags)
        SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    return old != m_style ? TRUE : FALSE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT)
{
    if (!m_widget)
        return FALSE;
    const DWORD old = m_exStyle;
    m_exStyle = (old & ~remove) | add;
    m_widget->setLayoutDirection((m_exStyle & WS_EX_LAYOUTRTL) ? Qt::RightToLeft : Qt::LeftToRight);
    return old != m_exStyle ? TRUE : FALSE;
}

void CWnd::ApplyStyleToWidget(DWORD oldStyle)
{
    if ((oldStyle ^ m_style) & WS_VISIBLE)
        m_widget->setVisible((m_style & WS_VISIBLE) != 0);
    if ((oldStyle ^ m_style) & WS_DISABLED)
        m_widget->setEnabled(!(m_style & WS_DISABLED));
    if (m_widget->isWindow() && ((oldStyle ^ m_style) & WS_CAPTION)) {
        const bool visible = m_widget->isVisible();
        m_widget->setWindowFlag(Qt::FramelessWindowHint, !(m_style & WS_CAPTION));
        if (visible)
            m_widget->show();
    }
    ApplyControlStyle(this, m_widget, oldStyle, m_style);
}

void CWnd::SetWindowText(const char* text)
{
    m_text = text ? text : "";
    if (!m_widget)
        return;
    const QString qtext = QString::fromUtf8(m_text.GetString());
    if (m_widget->isWindow())
        m_widget->setWindowTitle(qtext);
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setText(qtext);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        button->setText(qtext);
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        group->setTitle(qtext);
    else if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        edit->setText(qtext);
    else if (auto* combo = qobject_cast<QComboBox*>(m_widget); combo && combo->isEditable())
        combo->setEditText(qtext);
}

void CWnd::GetWindowText(CString& text) const
{
    text = GetWindowText();
}

CString CWnd::GetWindowText() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        return CString(edit->text().toUtf8().constData());
    if (auto* combo = qobject_cast<QComboBox*>(m_widget))
        return CString(combo->currentText().toUtf8().constData());
    return m_text;
}

int CWnd::GetWindowTextLength() const
{
    return GetWindowText().GetLength();
}

void CWnd::SetDlgItemText(int id, const char* text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    CWnd* item = GetDlgItem(id);
    text = item ? item->GetWindowText() : CString();
    return text.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    m_font = font;
    if (m_widget && font && font->IsCreated()) {
        m_widget->setFont(font->GetQFont());
        if (redraw)
            m_widget->update();
    }
}

CFont* CWnd::GetFont() const
{
    if (m_font)
        return m_font;
    if (!m_widget)
        return nullptr;
    auto* self = const_cast<CWnd*>(this);
    if (!self->m_ownFont)
        self->m_ownFont = std::make_unique<CFont>();
    self->m_ownFont->SetQFont(m_widget->font());
    return self->m_ownFont.get();
}

void CWnd::GetClientRect(RECT* rect) const
{
    if (!rect)
        return;
    *rect = m_widget ? CRect(0, 0, m_widget->width(), m_widget->height()) : CRect();
    if (const QScrollBar* vertical = VisibleOwnScrollBar(m_widget, SB_VERT))
        rect->right = std::max<LONG>(rect->left, rect->right - vertical->width());
    if (const QScrollBar* horizontal = VisibleOwnScrollBar(m_widget, SB_HORZ))
        rect->bottom = std::max<LONG>(rect->top, rect->bottom - horizontal->height());
}

void CWnd::GetWindowRect(RECT* rect) const
{
    if (!rect)
        return;
    if (!m_widget) {
        *rect = CRect();
        return;
    }
    if (m_widget->isWindow()) {
        const QRect frame = m_widget->frameGeometry();
        *rect = CRect(frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height());
        return;
    }
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    *rect = CRect(origin.x(), origin.y(), origin.x() + m_widget->width(), origin.y() + m_widget->height());
}

void CWnd::ClientToScreen(POINT* point) const
{
    if (!point || !m_widget)
        return;
    const QPoint p = m_widget->mapToGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ClientToScreen(RECT* rect) const
{
    if (!rect)
        return;
    ClientToScreen(reinterpret_cast<POINT*>(&rect->left));
    ClientToScreen(reinterpret_cast<POINT*>(&rect->right));
}

void CWnd::ScreenToClient(POINT* point) const
{
    if (!point || !m_widget)
        return;
    const QPoint p = m_widget->mapFromGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
}

void CWnd::ScreenToClient(RECT* rect) const
{
    if (!rect)
        return;
    ScreenToClient(reinterpret_cast<POINT*>(&rect->left));
    ScreenToClient(reinterpret_cast<POINT*>(&rect->right));
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(const RECT* rect, BOOL repaint)
{
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!m_widget)
        return FALSE;
    QWidget* w = m_widget;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        if (w->isWindow()) {
            ApplyTrackLimits();
            // Window rectangles include the frame; the widget's geometry is its client area.
            const QRect frame = w->frameGeometry();
            const QRect inner = w->geometry();
            const int extraW = frame.width() - inner.width();
            const int extraH = frame.height() - inner.height();
            if (!(flags & SWP_NOSIZE))
                w->resize(std::max(0, cx - extraW), std::max(0, cy - extraH));
            if (!(flags & SWP_NOMOVE))
                w->move(x, y);
        } else {
            if (!(flags & SWP_NOSIZE))
                w->resize(std::max(0, cx), ControlHeight(w, std::max(0, cy)));
            if (!(flags & SWP_NOMOVE))
                w->move(x, y);
        }
    }
    if (!(flags & SWP_NOZORDER) && insertAfter) {
        if (insertAfter == &wndBottom) {
            w->lower();
        } else if (insertAfter == &wndTopMost || insertAfter == &wndNoTopMost) {
            const bool visible = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == &wndTopMost);
            if (insertAfter == &wndTopMost)
                m_exStyle |= WS_EX_TOPMOST;
            else
                m_exStyle &= ~WS_EX_TOPMOST;
            if (visible)
                w->show();
        } else {
            w->raise();
        }
    }
    if (flags & SWP_SHOWWINDOW) {
        w->setAttribute(Qt::WA_ShowWithoutActivating, (flags & SWP_NOACTIVATE) != 0);
        w->show();
        m_style |= WS_VISIBLE;
    }
    if (flags & SWP_HIDEWINDOW) {
        w->hide();
        m_style &= ~WS_VISIBLE;
    }
    // A hidden widget gets its resize event only when shown; the window hears of it now.
    if (w->testAttribute(Qt::WA_PendingResizeEvent)) {
        w->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resize(w->size(), QSize(-1, -1));
        QCoreApplication::sendEvent(w, &resize);
    }
    if (!(flags & SWP_NOREDRAW))
        w->update();
    return TRUE;
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    if (!m_widget || !placement || placement->length != sizeof(WINDOWPLACEMENT))
        return FALSE;
    placement->flags = 0;
    placement->showCmd = IsIconic() ? SW_SHOWMINIMIZED : (IsZoomed() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    if (m_widget->isWindow()) {
        QRect normal = m_widget->normalGeometry();
        if (!normal.isValid() || (!IsZoomed() && !IsIconic()))
            normal = m_widget->geometry();
        const QRect frame = m_widget->frameGeometry();
        const QRect inner = m_widget->geometry();
        normal.adjust(frame.left() - inner.left(), frame.top() - inner.top(), frame.right() - inner.right(),
                      frame.bottom() - inner.bottom());
        placement->rcNormalPosition = CRect(normal.left(), normal.top(), normal.left() + normal.width(),
                                            normal.top() + normal.height());
    } else {
        const QRect g = m_widget->geometry();
        placement->rcNormalPosition = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement)
{
    if (!m_widget || !placement)
        return FALSE;
    if (m_widget->isWindow())
        m_widget->setWindowState(Qt::WindowNoState);
    MoveWindow(&placement->rcNormalPosition, TRUE);
    switch (placement->showCmd) {
    case SW_HIDE: m_widget->hide(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        if (m_widget->isWindow())
            m_widget->setWindowState(Qt::WindowMinimized);
        break;
    case SW_SHOWMAXIMIZED:
        if (m_widget->isWindow())
            m_widget->setWindowState(Qt::WindowMaximized);
        break;
    default: break;
    }
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    if (!m_widget)
        return;
    CRect area;
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    if (owner && owner->m_widget && !(m_style & WS_CHILD)) {
        owner->GetWindowRect(&area);
    } else if (owner && (m_style & WS_CHILD)) {
        owner->GetClientRect(&area);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        area = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    CRect mine;
    GetWindowRect(&mine);
    if (m_style & WS_CHILD)
        GetParent()->ScreenToClient(&mine);
    const int x = area.left + (area.Width() - mine.Width()) / 2;
    const int y = area.top + (area.Height() - mine.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::IsZoomed() const
{
    return m_widget && m_widget->isWindow() && m_widget->isMaximized() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    return m_widget && m_widget->isWindow() && m_widget->isMinimized() ? TRUE : FALSE;
}

int CWnd::SetWindowRgn(const CRgn* region, BOOL redraw)
{
    if (!m_widget)
        return 0;
    if (region)
        m_widget->setMask(region->GetQRegion());
    else
        m_widget->clearMask();
    if (redraw)
        m_widget->update();
    return 1;
}

int CWnd::GetWindowRgn(CRgn& region) const
{
    if (!m_widget || m_widget->mask().isEmpty())
        return ERROR;
    region.SetQRegion(m_widget->mask());
    return region.GetRegionType();
}

BOOL CWnd::ShowWindow(int command)
{
    if (!m_widget)
        return FALSE;
    const BOOL wasVisible = m_widget->isHidden() ? FALSE : TRUE;
    const bool top = m_widget->isWindow();
    switch (command) {
    case SW_HIDE: m_widget->hide(); break;
    case SW_SHOWMAXIMIZED: top ? m_widget->showMaximized() : m_widget->show(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: top ? m_widget->showMinimized() : m_widget->show(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE: top ? m_widget->showNormal() : m_widget->show(); break;
    case SW_SHOWNOACTIVATE:
        m_widget->setAttribute(Qt::WA_ShowWithoutActivating);
        m_widget->show();
        break;
    default: m_widget->show(); break;
    }
    if (command == SW_HIDE)
        m_style &= ~WS_VISIBLE;
    else
        m_style |= WS_VISIBLE;
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_widget && m_widget->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_widget)
        return FALSE;
    const BOOL wasDisabled = m_widget->isEnabled() ? FALSE : TRUE;
    m_widget->setEnabled(enable != FALSE);
    if (enable)
        m_style &= ~WS_DISABLED;
    else
        m_style |= WS_DISABLED;
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_widget && m_widget->isEnabled() ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus()
{
    CWnd* old = GetFocus();
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::GetFocus()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w))
            return wnd;
    return nullptr;
}

CWnd* CWnd::SetCapture()
{
    CWnd* old = GetCapture();
    if (m_widget)
        m_widget->grabMouse();
    return old;
}

CWnd* CWnd::GetCapture()
{
    return FromWidget(QWidget::mouseGrabber());
}

void CWnd::Invalidate(BOOL)
{
    if (m_widget)
        m_widget->update();
}

void CWnd::InvalidateRect(const RECT* rect, BOOL)
{
    if (!m_widget)
        return;
    if (rect)
        m_widget->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    else
        m_widget->update();
}

void CWnd::UpdateWindow()
{
    if (m_widget && m_widget->isVisible())
        m_widget->repaint();
}

int CWnd::GetScrollPos(int bar) const
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(m_widget);
    if (area)
        return (bar == SB_HORZ ? area->horizontalScrollBar() : area->verticalScrollBar())->value();
    if (const auto* scroll = qobject_cast<const QScrollBar*>(m_widget); scroll && bar == SB_CTL)
        return scroll->value();
    SCROLLINFO info;
    return GetScrollInfo(bar, &info, SIF_POS) ? info.nPos : 0;
}

int CWnd::GetScrollLimit(int bar) const
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(m_widget);
    if (area)
        return (bar == SB_HORZ ? area->horizontalScrollBar() : area->verticalScrollBar())->maximum();
    if (const auto* scroll = qobject_cast<const QScrollBar*>(m_widget); scroll && bar == SB_CTL)
        return scroll->maximum();
    return 0;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_widget)
        return 0;
    if (QThread::currentThread() != m_widget->thread()) {
        // From another thread the call waits until the window's thread has run it.
        LRESULT result = 0;
        QMetaObject::invokeMethod(
            m_bridge, [&]() { result = m_widget ? Dispatch(message, wParam, lParam, false) : 0; },
            Qt::BlockingQueuedConnection);
        return result;
    }
    return Dispatch(message, wParam, lParam, false);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard guard(m_postBox->lock);
    if (!m_postBox->target)
        return FALSE;
    QCoreApplication::postEvent(m_postBox->target, new WndMessageEvent(message, wParam, lParam));
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*)
{
    if (!m_bridge)
        return 0;
    if (const auto it = m_timers.find(id); it != m_timers.end())
        m_bridge->StopTimer(it->second);
    const int toolkitId = m_bridge->StartTimer(static_cast<int>(elapse));
    if (toolkitId == 0) {
        m_timers.erase(id);
        return 0;
    }
    m_timers[id] = toolkitId;
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end() || !m_bridge)
        return FALSE;
    m_bridge->StopTimer(it->second);
    m_timers.erase(it);
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return AfxShowMessageBox(this, text, caption, type);
}

void CWnd::MapCommand(UINT id, std::function<void()> handler, WORD notifyCode)
{
    m_commands[{id, notifyCode}] = std::move(handler);
}

void CWnd::MapUpdateCommandUI(UINT id, std::function<void(CCmdUI*)> handler)
{
    m_updateHandlers[id] = std::move(handler);
}

BOOL CWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (code == CN_UPDATE_COMMAND_UI) {
        const auto it = m_updateHandlers.find(id);
        if (it == m_updateHandlers.end() || !cmdUI)
            return FALSE;
        it->second(cmdUI);
        return TRUE;
    }
    const auto it = m_commands.find({id, static_cast<WORD>(code)});
    if (it == m_commands.end())
        return FALSE;
    // The handler may unmap itself: run a copy.
    const std::function<void()> handler = it->second;
    handler();
    return TRUE;
}

bool CWnd::HasCommandHandler(UINT id) const
{
    return m_commands.count({id, static_cast<WORD>(0)}) != 0;
}

void CWnd::UpdateDialogControls(CWnd* target, BOOL disableIfNoHandler)
{
    if (!m_widget || !target)
        return;
    const auto children = m_widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        CWnd* control = FromWidget(child);
        if (!control || control->GetDlgCtrlID() == 0 || !(control->m_style & WS_CHILD))
            continue;
        CCmdUI state;
        state.m_nID = static_cast<UINT>(control->GetDlgCtrlID());
        state.m_pOther = control;
        // Static texts and group boxes carry no command.
        if (control->m_className == "Static"
            || (control->m_className == "Button" && (control->m_style & BS_TYPEMASK) == BS_GROUPBOX))
            continue;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

QImage* CWnd::GetOverlayImage()
{
    if (!m_widget)
        return nullptr;
    const QSize size = m_widget->size();
    if (!m_overlayImage || m_overlayImage->size() != size) {
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

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool fromToolkit)
{
    m_messages.push_back({message, wParam, lParam, fromToolkit, false});
    ++g_dispatchDepth;
    const LRESULT result = WindowProc(message, wParam, lParam);
    --g_dispatchDepth;
    m_messages.pop_back();
    return result;
}

bool CWnd::DispatchFromToolkit(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    m_messages.push_back({message, wParam, lParam, true, false});
    ++g_dispatchDepth;
    const LRESULT r = WindowProc(message, wParam, lParam);
    --g_dispatchDepth;
    const bool pass = m_messages.back().defaultRequested;
    m_messages.pop_back();
    if (result)
        *result = r;
    return pass;
}

LRESULT CWnd::Default()
{
    if (m_messages.empty())
        return 0;
    CurrentMessage& current = m_messages.back();
    if (current.fromToolkit) {
        current.defaultRequested = true;
        if (current.message != WM_ERASEBKGND && current.message != WM_CLOSE)
            return 0;
    }
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND: return tvsk::ui::DefaultSysCommand(this, wParam);
    case WM_HELP: return tvsk::ui::DefaultHelp(this, wParam, lParam);
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<CDC*>(wParam));
        return 1;
    case WM_CLOSE: DestroyWindow(); return 0;
    case WM_SETCURSOR: {
        WNDCLASS wc;
        if (::GetClassInfo(m_className, &wc) && wc.hCursor)
            ::SetCursor(wc.hCursor);
        return 0;
    }
    default: return 0;
    }
}

void CWnd::EraseBackground(CDC* dc)
{
    if (!dc)
        return;
    COLORREF background = 0xFFFFFFFF;
    WNDCLASS wc;
    if (::GetClassInfo(m_className, &wc))
        background = wc.background;
    else if (m_className == kDialogClass)
        background = GetSysColor(COLOR_BTNFACE);
    if (background == 0xFFFFFFFF)
        return;
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, background);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return OnWndMsg(message, wParam, lParam);
}

LRESULT CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCT*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam))); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam), reinterpret_cast<CWnd*>(lParam), HIWORD(wParam)); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<CWnd*>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam)));
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wParam), point); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wParam), point); return 0;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wParam), point); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(static_cast<UINT>(wParam), point); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(static_cast<UINT>(wParam), point); return 0;
    case WM_RBUTTONUP: OnRButtonUp(static_cast<UINT>(wParam), point); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam))); return 0;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam))); return 0;
    case WM_CHAR: OnChar(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam))); return 0;
    case WM_SETFOCUS: OnSetFocus(reinterpret_cast<CWnd*>(wParam)); return 0;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<CWnd*>(wParam)); return 0;
    case WM_CANCELMODE: OnCancelMode(); return 0;
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wParam), lParam); return 0;
    case WM_HELP: return OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
    default: return DefWindowProc(message, wParam, lParam);
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr);
}

int CWnd::OnCreate(CREATESTRUCT*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }

void CWnd::ApplyTrackLimits()
{
    if (!m_widget || !m_widget->isWindow())
        return;
    const int unlimited = QWIDGETSIZE_MAX;
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{0, 0};
    info.ptMaxTrackSize = POINT{unlimited, unlimited};
    SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const QRect frame = m_widget->frameGeometry();
    const QRect inner = m_widget->geometry();
    const int extraW = frame.width() - inner.width();
    const int extraH = frame.height() - inner.height();
    auto client = [](LONG v, int extra) { return v >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : std::max(0, static_cast<int>(v) - extra); };
    m_widget->setMinimumSize(client(info.ptMinTrackSize.x, extraW), client(info.ptMinTrackSize.y, extraH));
    m_widget->setMaximumSize(client(info.ptMaxTrackSize.x, extraW), client(info.ptMaxTrackSize.y, extraH));
}

LRESULT SendMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return wnd ? wnd->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return wnd ? wnd->PostMessage(message, wParam, lParam) : FALSE;
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
    switch (id) {
    case IDC_ARROW: shape = Qt::ArrowCursor; break;
    case IDC_IBEAM: shape = Qt::IBeamCursor; break;
    case IDC_WAIT: shape = Qt::WaitCursor; break;
    case IDC_CROSS: shape = Qt::CrossCursor; break;
    case IDC_SIZENWSE: shape = Qt::SizeFDiagCursor; break;
    case IDC_SIZENESW: shape = Qt::SizeBDiagCursor; break;
    case IDC_SIZEWE: shape = Qt::SizeHorCursor; break;
    case IDC_SIZENS: shape = Qt::SizeVerCursor; break;
    case IDC_SIZEALL: shape = Qt::SizeAllCursor; break;
    case IDC_NO: shape = Qt::ForbiddenCursor; break;
    case IDC_HAND: shape = Qt::PointingHandCursor; break;
    case AFX_IDC_HSPLITBAR: shape = Qt::SplitHCursor; break;
    case AFX_IDC_VSPLITBAR: shape = Qt::SplitVCursor; break;
    default: return nullptr;
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

struct DeferredWindowPos
{
    struct Move
    {
        HWND wnd;
        HWND insertAfter;
        int x, y, cx, cy;
        UINT flags;
    };
    std::vector<Move> moves;
};

HDWP BeginDeferWindowPos(int expected)
{
    auto* batch = new DeferredWindowPos;
    batch->moves.reserve(static_cast<size_t>(std::max(0, expected)));
    return batch;
}

HDWP DeferWindowPos(HDWP batch, HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!batch)
        return nullptr;
    if (!wnd || !wnd->GetSafeHwnd()) {
        delete batch;
        return nullptr;
    }
    batch->moves.push_back({wnd, insertAfter, x, y, cx, cy, flags});
    return batch;
}

BOOL EndDeferWindowPos(HDWP batch)
{
    if (!batch)
        return FALSE;
    for (const auto& move : batch->moves)
        move.wnd->SetWindowPos(move.insertAfter, move.x, move.y, move.cx, move.cy, move.flags);
    delete batch;
    return TRUE;
}
