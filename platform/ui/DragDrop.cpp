// Registered clipboard formats and the drop target's translation of the toolkit's drag events.
#include "DragDrop.h"

#include "Wnd.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <map>
#include <mutex>
#include <string>

namespace
{

struct FormatTable
{
    std::mutex lock;
    std::map<std::string, CLIPFORMAT> byName;
    std::map<CLIPFORMAT, std::string> byNumber;
    CLIPFORMAT next = 0xC000;
};

FormatTable& Formats()
{
    static FormatTable table;
    return table;
}

QString MimeOf(CLIPFORMAT format)
{
    return QString::fromUtf8(ClipboardFormatMimeType(format).GetString());
}

DWORD KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    DWORD state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    return state;
}

Qt::DropAction ActionOf(DROPEFFECT effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

DROPEFFECT EffectOf(Qt::DropAction action)
{
    switch (action)
    {
    case Qt::MoveAction:
        return DROPEFFECT_MOVE;
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::LinkAction:
        return DROPEFFECT_LINK;
    default:
        return DROPEFFECT_NONE;
    }
}

class DropFilter : public QObject
{
public:
    DropFilter(COleDropTarget* target, CWnd* wnd) : m_target(target), m_wnd(wnd) {}

    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type())
        {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        {
            auto* de = static_cast<QDragMoveEvent*>(e);
            COleDataObject data(de->mimeData());
            const QPoint p = de->position().toPoint();
            const DWORD keys = KeyState(de->buttons(), de->modifiers());
            DROPEFFECT effect = m_target->OnDragScroll(m_wnd, keys, CPoint(p.x(), p.y()));
            if (effect == DROPEFFECT_NONE)
                effect = e->type() == QEvent::DragEnter
                             ? m_target->OnDragEnter(m_wnd, &data, keys, CPoint(p.x(), p.y()))
                             : m_target->OnDragOver(m_wnd, &data, keys, CPoint(p.x(), p.y()));
            // Entering must be accepted for the moves and the drop to follow.
            if (e->type() == QEvent::DragEnter)
                de->accept();
            if (effect == DROPEFFECT_NONE)
            {
                de->setDropAction(Qt::IgnoreAction);
                if (e->type() == QEvent::DragMove)
                    de->ignore();
            }
            else
            {
                de->setDropAction(ActionOf(effect));
                de->accept();
            }
            return true;
        }
        case QEvent::DragLeave:
            m_target->OnDragLeave(m_wnd);
            return true;
        case QEvent::Drop:
        {
            auto* de = static_cast<QDropEvent*>(e);
            COleDataObject data(de->mimeData());
            const QPoint p = de->position().toPoint();
            if (m_target->OnDrop(m_wnd, &data, EffectOf(de->dropAction()), CPoint(p.x(), p.y())))
                de->acceptProposedAction();
            else
                de->ignore();
            return true;
        }
        default:
            return false;
        }
    }

private:
    COleDropTarget* m_target;
    CWnd* m_wnd;
};

} // namespace

CLIPFORMAT RegisterClipboardFormat(const char* name)
{
    if (!name || !*name)
        return 0;
    FormatTable& table = Formats();
    std::lock_guard guard(table.lock);
    const auto it = table.byName.find(name);
    if (it != table.byName.end())
        return it->second;
    if (table.next == 0xFFFF)
        return 0;
    const CLIPFORMAT format = table.next++;
    table.byName.emplace(name, format);
    table.byNumber.emplace(format, name);
    return format;
}

CString ClipboardFormatMimeType(CLIPFORMAT format)
{
    if (format == CF_TEXT)
        return "text/plain";
    FormatTable& table = Formats();
    std::lock_guard guard(table.lock);
    const auto it = table.byNumber.find(format);
    return it == table.byNumber.end() ? CString() : CString("application/x-tvsk-" + it->second);
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const
{
    const QString mime = MimeOf(format);
    return m_data && !mime.isEmpty() && m_data->hasFormat(mime) ? TRUE : FALSE;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, CByteArray& bytes) const
{
    if (!IsDataAvailable(format))
        return FALSE;
    const QByteArray data = m_data->data(MimeOf(format));
    bytes.SetSize(data.size());
    for (int i = 0; i < data.size(); ++i)
        bytes[i] = static_cast<BYTE>(data[i]);
    return TRUE;
}

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (!wnd || !wnd->GetWidget() || m_wnd)
        return FALSE;
    m_wnd = wnd;
    m_filter = new DropFilter(this, wnd);
    // The filter goes with the widget when the window is destroyed first.
    m_filter->setParent(wnd->GetWidget());
    wnd->GetWidget()->setAcceptDrops(true);
    wnd->GetWidget()->installEventFilter(m_filter);
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_filter)
    {
        if (auto* widget = qobject_cast<QWidget*>(m_filter->parent()))
            widget->setAcceptDrops(false);
        delete m_filter.data();
    }
    m_filter = nullptr;
    m_wnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}
