// The active window, as owners of dialogs and message boxes ask for it.
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
