// The active window, as owners of dialogs and message boxes ask for it, and making a window active.
#include "Wnd.h"

#include <QApplication>
#include <QWidget>

CWnd* CWnd::GetActiveWindow()
{
    for (QWidget* w = QApplication::activeWindow(); w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w))
            return wnd;
    return nullptr;
}

CWnd* CWnd::SetActiveWindow()
{
    CWnd* previous = GetActiveWindow();
    if (QWidget* widget = GetWidget())
    {
        widget->raise();
        widget->activateWindow();
    }
    return previous;
}
