// Switching a window's drawing off while it is rebuilt, and on again.
#include "Wnd.h"

#include <QWidget>

void CWnd::SetRedraw(BOOL redraw)
{
    if (!m_widget)
        return;
    m_widget->setUpdatesEnabled(redraw != FALSE);
    if (redraw)
        m_widget->update();
}
