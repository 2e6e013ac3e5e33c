#include "MouseTrack.h"

#include "Wnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace
{
UINT TrackedKey(int key)
{
    switch (key)
    {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    default:
        return key > 0 && key < 0x100 ? static_cast<UINT>(key) : static_cast<UINT>(key & 0xFF);
    }
}

UINT MouseMessage(const QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    switch (event->type())
    {
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    case QEvent::MouseButtonRelease:
        return left ? WM_LBUTTONUP : WM_RBUTTONUP;
    default:
        return 0;
    }
}

class TrackFilter : public QObject
{
public:
    TrackFilter(QWidget* widget, const std::function<bool(const MOUSETRACK_MSG&)>& handler, QEventLoop& loop)
        : m_widget(widget), m_handler(handler), m_loop(loop)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        MOUSETRACK_MSG msg{};
        switch (event->type())
        {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        {
            auto* mouse = static_cast<QMouseEvent*>(event);
            msg.message = MouseMessage(mouse);
            const QPoint local = m_widget->mapFromGlobal(mouse->globalPosition().toPoint());
            msg.point = CPoint(local.x(), local.y());
            break;
        }
        case QEvent::KeyPress:
            msg.message = WM_KEYDOWN;
            msg.key = TrackedKey(static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
            return true;
        default:
            return false;
        }
        if (!m_done && !m_handler(msg))
        {
            m_done = true;
            m_loop.quit();
        }
        return true;
    }

private:
    QWidget* m_widget;
    const std::function<bool(const MOUSETRACK_MSG&)>& m_handler;
    QEventLoop& m_loop;
    bool m_done = false;
};
} // namespace

BOOL RunMouseTrackLoop(CWnd* wnd, const std::function<bool(const MOUSETRACK_MSG&)>& handler)
{
    QWidget* widget = wnd ? wnd->GetWidget() : nullptr;
    if (!widget || !handler)
        return FALSE;
    QEventLoop loop;
    TrackFilter filter(widget, handler, loop);
    wnd->SetCapture();
    qApp->installEventFilter(&filter);
    loop.exec();
    qApp->removeEventFilter(&filter);
    if (CWnd::GetCapture() == wnd)
        ReleaseCapture();
    return TRUE;
}
