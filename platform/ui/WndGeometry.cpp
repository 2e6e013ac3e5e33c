// A window's geometry, styles, text, font, visibility, focus and capture, and deferred moves.
#include "WndInternal.h"

#include "Controls.h"
#include "OwnScrollBars.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

using namespace tvsk::ui;

DWORD CWnd::GetStyle() const
{
    DWORD style = m_style & ~(WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE);
    if (m_widget)
    {
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
    if (m_widget->isWindow() && ((oldStyle ^ m_style) & WS_CAPTION))
    {
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
    if (m_widget && font && font->IsCreated())
    {
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
    if (!m_widget)
    {
        *rect = CRect();
        return;
    }
    if (m_widget->isWindow())
    {
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
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
    {
        if (w->isWindow())
        {
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
        }
        else
        {
            if (!(flags & SWP_NOSIZE))
                w->resize(std::max(0, cx), ControlHeight(w, std::max(0, cy)));
            if (!(flags & SWP_NOMOVE))
                w->move(x, y);
        }
    }
    if (!(flags & SWP_NOZORDER) && insertAfter)
    {
        if (insertAfter == &wndBottom)
        {
            w->lower();
        }
        else if (insertAfter == &wndTopMost || insertAfter == &wndNoTopMost)
        {
            const bool visible = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, insertAfter == &wndTopMost);
            if (insertAfter == &wndTopMost)
                m_exStyle |= WS_EX_TOPMOST;
            else
                m_exStyle &= ~WS_EX_TOPMOST;
            if (visible)
                w->show();
        }
        else
        {
            w->raise();
        }
    }
    if (flags & SWP_SHOWWINDOW)
    {
        w->setAttribute(Qt::WA_ShowWithoutActivating, (flags & SWP_NOACTIVATE) != 0);
        w->show();
        m_style |= WS_VISIBLE;
    }
    if (flags & SWP_HIDEWINDOW)
    {
        w->hide();
        m_style &= ~WS_VISIBLE;
    }
    // A hidden widget gets its resize event only when shown; the window hears of it now.
    if (w->testAttribute(Qt::WA_PendingResizeEvent))
    {
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
    if (m_widget->isWindow())
    {
        QRect normal = m_widget->normalGeometry();
        if (!normal.isValid() || (!IsZoomed() && !IsIconic()))
            normal = m_widget->geometry();
        const QRect frame = m_widget->frameGeometry();
        const QRect inner = m_widget->geometry();
        normal.adjust(frame.left() - inner.left(), frame.top() - inner.top(), frame.right() - inner.right(),
                      frame.bottom() - inner.bottom());
        placement->rcNormalPosition = CRect(normal.left(), normal.top(), normal.left() + normal.width(),
                                            normal.top() + normal.height());
    }
    else
    {
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
    switch (placement->showCmd)
    {
    case SW_HIDE:
        m_widget->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        if (m_widget->isWindow())
            m_widget->setWindowState(Qt::WindowMinimized);
        break;
    case SW_SHOWMAXIMIZED:
        if (m_widget->isWindow())
            m_widget->setWindowState(Qt::WindowMaximized);
        break;
    default:
        break;
    }
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    if (!m_widget)
        return;
    CRect area;
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    if (owner && owner->m_widget && !(m_style & WS_CHILD))
    {
        owner->GetWindowRect(&area);
    }
    else if (owner && (m_style & WS_CHILD))
    {
        owner->GetClientRect(&area);
    }
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        const QRect g = screen->availableGeometry();
        area = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    CRect mine;
    GetWindowRect(&mine);
    if (m_style & WS_CHILD)
        GetParent()->ScreenToClient(&mine);
    int x = area.left + (area.Width() - mine.Width()) / 2;
    int y = area.top + (area.Height() - mine.Height()) / 2;
    // A window stays wholly on screen where it fits (its top left corner, where it does not).
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && !(m_style & WS_CHILD))
    {
        const QRect g = screen->availableGeometry();
        x = std::max(g.left(), std::min(x, g.left() + g.width() - static_cast<int>(mine.Width())));
        y = std::max(g.top(), std::min(y, g.top() + g.height() - static_cast<int>(mine.Height())));
    }
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
    switch (command)
    {
    case SW_HIDE:
        m_widget->hide();
        break;
    case SW_SHOWMAXIMIZED:
        top ? m_widget->showMaximized() : m_widget->show();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        top ? m_widget->showMinimized() : m_widget->show();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        top ? m_widget->showNormal() : m_widget->show();
        break;
    case SW_SHOWNOACTIVATE:
        m_widget->setAttribute(Qt::WA_ShowWithoutActivating);
        m_widget->show();
        break;
    default:
        m_widget->show();
        break;
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
    auto client = [](LONG v, int extra)
    { return v >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : std::max(0, static_cast<int>(v) - extra); };
    m_widget->setMinimumSize(client(info.ptMinTrackSize.x, extraW), client(info.ptMinTrackSize.y, extraH));
    m_widget->setMaximumSize(client(info.ptMaxTrackSize.x, extraW), client(info.ptMaxTrackSize.y, extraH));
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
    if (!wnd || !wnd->GetSafeHwnd())
    {
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
