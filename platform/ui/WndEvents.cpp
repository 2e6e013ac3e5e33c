// The bridge from the widget's events to the window's messages, and the key and mouse mapping.
#include "WndInternal.h"

#include "Dc.h"
#include "HelpInfo.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>

namespace tvsk::ui
{

QPointer<QWidget> g_cursorTarget;

namespace
{

UINT KeyToVirtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<UINT>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key)
    {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Space:
        return 0x20;
    default:
        return 0;
    }
}

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

LPARAM PointParam(const QPoint& p)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x())),
                      static_cast<WORD>(static_cast<SHORT>(p.y())));
}

} // namespace

bool WndBridge::event(QEvent* e)
{
    if (e->type() == WndMessageEvent::EventType())
    {
        auto* message = static_cast<WndMessageEvent*>(e);
        if (m_wnd && m_wnd->m_widget)
            m_wnd->SendMessage(message->m_message, message->m_wParam, message->m_lParam);
        return true;
    }
    return QObject::event(e);
}

void WndBridge::timerEvent(QTimerEvent* e)
{
    if (!m_wnd)
        return;
    for (const auto& [id, toolkitId] : m_wnd->m_timers)
    {
        if (toolkitId == e->timerId())
        {
            m_wnd->SendMessage(WM_TIMER, id, 0);
            return;
        }
    }
}

bool WndBridge::eventFilter(QObject* watched, QEvent* e)
{
    if (!m_wnd || watched != m_wnd->m_widget)
        return false;
    CWnd* wnd = m_wnd;
    QWidget* widget = wnd->m_widget;
    switch (e->type())
    {
    case QEvent::Paint:
    {
        if (!wnd->m_drawnByToolkit)
        {
            CPaintDC dc(wnd);
            wnd->DispatchFromToolkit(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(&dc)), 0);
        }
        return !wnd->DispatchFromToolkit(WM_PAINT, 0, 0);
    }
    case QEvent::Resize:
    {
        const QSize size = widget->size();
        if (wnd->m_overlay)
            wnd->m_overlay->setGeometry(0, 0, size.width(), size.height());
        UINT type = SIZE_RESTORED;
        if (widget->isWindow() && widget->isMaximized())
            type = SIZE_MAXIMIZED;
        else if (widget->isWindow() && widget->isMinimized())
            type = SIZE_MINIMIZED;
        wnd->DispatchFromToolkit(
            WM_SIZE, type, MAKELPARAM(static_cast<WORD>(size.width()), static_cast<WORD>(size.height())));
        return false;
    }
    case QEvent::WindowStateChange:
        // The platform reports every change of state as a size message, even without a new size.
        if (widget->isWindow())
            wnd->DispatchFromToolkit(
                WM_SIZE,
                widget->isMinimized() ? SIZE_MINIMIZED
                                      : (widget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED),
                MAKELPARAM(static_cast<WORD>(widget->width()), static_cast<WORD>(widget->height())));
        return false;
    case QEvent::Show:
        if (widget->isWindow())
            wnd->ApplyTrackLimits();
        return false;
    case QEvent::MouseMove:
    {
        auto* me = static_cast<QMouseEvent*>(e);
        g_cursorTarget = widget;
        wnd->DispatchFromToolkit(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const bool pass = wnd->DispatchFromToolkit(WM_MOUSEMOVE, MouseFlags(me->buttons(), me->modifiers()),
                                                   PointParam(me->position().toPoint()));
        return !(pass && wnd->m_drawnByToolkit);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    {
        auto* me = static_cast<QMouseEvent*>(e);
        const UINT message = MouseMessage(e->type(), me->button());
        if (message == 0)
            return false;
        const bool pass = wnd->DispatchFromToolkit(message, MouseFlags(me->buttons(), me->modifiers()),
                                                   PointParam(me->position().toPoint()));
        return !(pass && wnd->m_drawnByToolkit);
    }
    case QEvent::Leave:
        if (wnd->m_trackingLeave)
        {
            wnd->m_trackingLeave = false;
            wnd->DispatchFromToolkit(WM_MOUSELEAVE, 0, 0);
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    {
        auto* ke = static_cast<QKeyEvent*>(e);
        const UINT key = KeyToVirtualKey(ke->key());
        bool pass = true;
        if (key != 0)
            pass = wnd->DispatchFromToolkit(e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP, key,
                                            ke->isAutoRepeat() ? 1 : 1);
        if (pass && key == VK_F1 && e->type() == QEvent::KeyPress)
        {
            tvsk::ui::SendHelpRequest(wnd); // the request climbs itself: the key goes no further
            return true;
        }
        if (pass && e->type() == QEvent::KeyPress && !ke->text().isEmpty() &&
            ke->text().at(0).unicode() >= 0x20)
            pass = wnd->DispatchFromToolkit(WM_CHAR, ke->text().toUcs4().value(0), 1); // whole code point
        return !(pass && wnd->m_drawnByToolkit);
    }
    case QEvent::Wheel:
    {
        // A nonzero answer means the window scrolled; otherwise the toolkit's own handling runs.
        auto* we = static_cast<QWheelEvent*>(e);
        LRESULT handled = 0;
        wnd->DispatchFromToolkit(WM_MOUSEWHEEL,
                                 MAKEWPARAM(static_cast<WORD>(MouseFlags(we->buttons(), we->modifiers())),
                                            static_cast<WORD>(static_cast<SHORT>(we->angleDelta().y()))),
                                 PointParam(we->globalPosition().toPoint()), &handled);
        return handled != 0;
    }
    case QEvent::ContextMenu:
    {
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
    default:
        return false;
    }
}

UINT WndBridge::MouseMessage(QEvent::Type type, Qt::MouseButton button)
{
    const bool down = type == QEvent::MouseButtonPress;
    const bool dbl = type == QEvent::MouseButtonDblClick;
    switch (button)
    {
    case Qt::LeftButton:
        return dbl ? WM_LBUTTONDBLCLK : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
    case Qt::RightButton:
        return dbl || down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case Qt::MiddleButton:
        return dbl || down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
        return 0;
    }
}

} // namespace tvsk::ui
