// Every window's system menu, made on first request and dropped with the window.
#include "SystemMenu.h"
#include "Language.h"

#include "Wnd.h"

#include <QKeySequence>
#include <QObject>
#include <QShortcut>
#include <QWidget>

#include <map>
#include <memory>

namespace
{

// The close item in the chosen language (the tables hold "Chiudi" and its translations).
constexpr const char* kCloseText = "Chiudi";

std::map<const CWnd*, std::unique_ptr<CMenu>>& Menus()
{
    static std::map<const CWnd*, std::unique_ptr<CMenu>> menus;
    return menus;
}

CString CloseItemText()
{
    return "&" + AfxTranslatedText(kCloseText) + "\tAlt+F4";
}

void FillDefault(CMenu& menu)
{
    menu = CMenu();
    menu.AppendMenu(MF_STRING, SC_CLOSE, CloseItemText().GetString());
}

// The window asks for its menu to change its texts after a language change; the close item follows.
void RenewCloseItem(CMenu& menu)
{
    menu.ModifyMenu(SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, CloseItemText().GetString());
}

// The menu appears on requests no window answered and on Alt+Space anywhere in the window.
void AttachTriggers(CWnd* wnd, QWidget* widget)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                     [wnd, widget](const QPoint& pos)
                     {
                         const QPoint global = widget->mapToGlobal(pos);
                         tvsk::ui::ShowSystemMenu(wnd, CPoint(global.x(), global.y()));
                     });
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, widget,
                     [wnd, widget]
                     {
                         const QPoint corner = widget->mapToGlobal(QPoint(0, 0));
                         tvsk::ui::ShowSystemMenu(wnd, CPoint(corner.x(), corner.y()));
                     });
    QObject::connect(widget, &QObject::destroyed, [wnd] { Menus().erase(wnd); });
}

} // namespace

CMenu* CWnd::GetSystemMenu(BOOL revert)
{
    auto& menus = Menus();
    auto found = menus.find(this);
    if (found == menus.end())
    {
        if (!GetWidget())
            return nullptr;
        found = menus.emplace(this, std::make_unique<CMenu>()).first;
        FillDefault(*found->second);
        AttachTriggers(this, GetWidget());
    }
    if (revert)
    {
        FillDefault(*found->second);
        return nullptr;
    }
    RenewCloseItem(*found->second);
    return found->second.get();
}

namespace tvsk::ui
{

void ShowSystemMenu(CWnd* wnd, CPoint screenPoint)
{
    const auto found = Menus().find(wnd);
    if (found == Menus().end())
        return;
    const CMenu menu = *found->second; // a handler may change the menu while it is shown
    const UINT id = AfxGetPopupMenuSink()->Show(wnd, menu, screenPoint);
    if (id != 0)
        wnd->PostMessage(WM_SYSCOMMAND, id,
                         MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
}

LRESULT DefaultSysCommand(CWnd* wnd, WPARAM wParam)
{
    if ((wParam & 0xFFF0) == SC_CLOSE)
        wnd->SendMessage(WM_CLOSE);
    return 0;
}

} // namespace tvsk::ui

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
