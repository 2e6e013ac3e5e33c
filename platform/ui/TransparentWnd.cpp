#include "TransparentWnd.h"

#include "Dc.h"

#include <QWidget>

BOOL CTransparentWnd::CreateTransparent(const RECT& rect, CWnd* parent, UINT id)
{
    if (!CreateEx(WS_EX_TRANSPARENT, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id))
        return FALSE;
    GetWidget()->setAutoFillBackground(false);
    GetWidget()->setAttribute(Qt::WA_NoSystemBackground);
    return TRUE;
}

BOOL CTransparentWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTransparentWnd::OnPaint()
{
    CPaintDC dc(this);
}
