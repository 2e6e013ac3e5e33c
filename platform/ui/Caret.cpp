// The caret: a solid block laid over the window that created it last; one per thread.
#include "Wnd.h"

#include <QPointer>
#include <QWidget>

namespace
{

struct CaretState
{
    QPointer<QWidget> block;
    int hideCount = 1; // created hidden
    CPoint position;
};

thread_local CaretState t_caret;

void ApplyVisibility()
{
    if (t_caret.block)
        t_caret.block->setVisible(t_caret.hideCount <= 0);
}

} // namespace

void CWnd::CreateSolidCaret(int width, int height)
{
    DestroyCaret();
    if (!m_widget)
        return;
    auto* block = new QWidget(m_widget);
    block->setObjectName("tvskCaret");
    block->setAttribute(Qt::WA_TransparentForMouseEvents);
    block->setAutoFillBackground(true);
    QPalette palette = block->palette();
    palette.setColor(QPalette::Window, Qt::black);
    block->setPalette(palette);
    block->setGeometry(0, 0, std::max(1, width), std::max(1, height));
    block->hide();
    t_caret.block = block;
    t_caret.hideCount = 1;
    t_caret.position = CPoint(0, 0);
}

void CWnd::ShowCaret()
{
    if (!t_caret.block || t_caret.block->parentWidget() != m_widget || t_caret.hideCount <= 0)
        return;
    --t_caret.hideCount;
    ApplyVisibility();
}

void CWnd::HideCaret()
{
    if (!t_caret.block || t_caret.block->parentWidget() != m_widget)
        return;
    ++t_caret.hideCount;
    ApplyVisibility();
}

void CWnd::SetCaretPos(POINT point)
{
    t_caret.position = CPoint(point.x, point.y);
    if (t_caret.block)
        t_caret.block->move(point.x, point.y);
}

CPoint CWnd::GetCaretPos()
{
    return t_caret.position;
}

BOOL DestroyCaret()
{
    if (!t_caret.block)
        return FALSE;
    delete t_caret.block.data();
    t_caret.block = nullptr;
    t_caret.hideCount = 1;
    return TRUE;
}

BOOL IsCaretShown(const CWnd* wnd)
{
    return t_caret.block && wnd && t_caret.block->parentWidget() == wnd->GetWidget() &&
           t_caret.hideCount <= 0;
}
