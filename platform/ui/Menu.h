// CMenu: a list of menu items by id; popup menus go through a replaceable sink.
#pragma once

#include "UiDefs.h"

#include <framework/CString.h>

#include <vector>

// Menu item flags
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu
{
public:
    struct Item
    {
        UINT flags = MF_STRING;
        UINT id = 0;
        CString text;
    };

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    // Replaces the item found by id (MF_BYCOMMAND) or position (MF_BYPOSITION); FALSE when none.
    BOOL ModifyMenu(UINT item, UINT flags, UINT_PTR newId = 0, const char* text = nullptr);
    BOOL DeleteMenu(UINT item, UINT flags);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    // The id at a position: 0 for a separator, 0xFFFFFFFF past the end.
    UINT GetMenuItemID(int position) const;
    // Copies the item's text; answers its length, 0 when there is no such item.
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    const std::vector<Item>& GetItems() const noexcept { return m_items; }

private:
    Item* Find(UINT item, UINT flags);
    const Item* Find(UINT item, UINT flags) const;

    std::vector<Item> m_items;
};

// Shows a popup menu at a screen point and answers the id chosen, 0 for none. Tests install one
// that chooses.
class CPopupMenuSink
{
public:
    virtual ~CPopupMenuSink() = default;
    virtual UINT Show(CWnd* owner, const CMenu& menu, CPoint screenPoint) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one (null for the desktop's).
CPopupMenuSink* AfxSetPopupMenuSink(CPopupMenuSink* sink);
CPopupMenuSink* AfxGetPopupMenuSink();
