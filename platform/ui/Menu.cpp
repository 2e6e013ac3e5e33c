// Menu items and the desktop popup menu.
#include "Menu.h"

#include "Desktop.h"
#include "Wnd.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <algorithm>

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    m_items.push_back({flags & ~MF_BYPOSITION, (flags & MF_SEPARATOR) ? 0u : static_cast<UINT>(id),
                       CString(text ? text : "")});
    return TRUE;
}

CMenu::Item* CMenu::Find(UINT item, UINT flags)
{
    return const_cast<Item*>(static_cast<const CMenu*>(this)->Find(item, flags));
}

const CMenu::Item* CMenu::Find(UINT item, UINT flags) const
{
    if (flags & MF_BYPOSITION)
        return item < m_items.size() ? &m_items[item] : nullptr;
    const auto found =
        std::find_if(m_items.begin(), m_items.end(),
                     [item](const Item& entry) { return !(entry.flags & MF_SEPARATOR) && entry.id == item; });
    return found == m_items.end() ? nullptr : &*found;
}

BOOL CMenu::ModifyMenu(UINT item, UINT flags, UINT_PTR newId, const char* text)
{
    Item* entry = Find(item, flags);
    if (!entry)
        return FALSE;
    *entry = {flags & ~MF_BYPOSITION, (flags & MF_SEPARATOR) ? 0u : static_cast<UINT>(newId),
              CString(text ? text : "")};
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT item, UINT flags)
{
    const Item* entry = Find(item, flags);
    if (!entry)
        return FALSE;
    m_items.erase(m_items.begin() + (entry - m_items.data()));
    return TRUE;
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (position < 0 || position >= GetMenuItemCount())
        return 0xFFFFFFFF;
    return m_items[static_cast<size_t>(position)].id;
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    const Item* entry = Find(item, flags);
    text = entry ? entry->text : CString();
    return text.GetLength();
}

namespace
{

class DesktopPopupMenuSink : public CPopupMenuSink
{
public:
    UINT Show(CWnd* owner, const CMenu& menu, CPoint screenPoint) override
    {
        if (!tvsk::ui::CanShowModalBoxes())
            return 0;
        QMenu popup(owner && owner->GetWidget() ? owner->GetWidget()->window() : nullptr);
        for (const CMenu::Item& item : menu.GetItems())
        {
            if (item.flags & MF_SEPARATOR)
            {
                popup.addSeparator();
                continue;
            }
            QAction* action = popup.addAction(QString::fromUtf8(item.text.GetString()));
            action->setData(item.id);
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            action->setCheckable((item.flags & MF_CHECKED) != 0);
            action->setChecked((item.flags & MF_CHECKED) != 0);
        }
        const QAction* chosen = popup.exec(QPoint(screenPoint.x, screenPoint.y));
        return chosen ? chosen->data().toUInt() : 0;
    }
};

DesktopPopupMenuSink g_desktopSink;
CPopupMenuSink* g_sink = &g_desktopSink;

} // namespace

CPopupMenuSink* AfxSetPopupMenuSink(CPopupMenuSink* sink)
{
    CPopupMenuSink* previous = g_sink;
    g_sink = sink ? sink : &g_desktopSink;
    return previous == &g_desktopSink ? nullptr : previous;
}

CPopupMenuSink* AfxGetPopupMenuSink()
{
    return g_sink;
}
