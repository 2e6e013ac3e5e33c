// Header control: a row of column titles that reports clicks and divider drags to its parent through
// WM_NOTIFY.
#pragma once

#include "Wnd.h"

#include <vector>

constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;

constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_STRING = 0x4000;

constexpr int HDN_ITEMCLICK = -302;
constexpr int HDN_ENDTRACK = -307;
constexpr int HDN_TRACK = -308;

struct HDITEM
{
    UINT mask = 0;
    int cxy = 0;
    const char* pszText = nullptr;
    int cchTextMax = 0;
    int fmt = 0;
};

// WM_NOTIFY parameter of the header notifications; pitem carries the item's (tracked) width.
struct NMHEADER
{
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    HDITEM* pitem = nullptr;
};

class CHeaderCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Answers the index of the new item, -1 on failure.
    int InsertItem(int index, const HDITEM* item);
    BOOL DeleteItem(int index);
    BOOL SetItem(int index, const HDITEM* item);
    // Fills the width and format the mask asks for.
    BOOL GetItem(int index, HDITEM* item) const;
    // The item under a client point, -1 for none.
    int HitTest(CPoint point) const;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    struct Item
    {
        CString text;
        int width;
        int format;
    };
    int ItemLeft(int index) const;
    // The item whose right divider lies under the point, -1 for none.
    int DividerAt(CPoint point) const;
    void Notify(int code, int index, int width);

    std::vector<Item> m_items;
    int m_pressed = -1;  // item pressed for a click
    int m_tracking = -1; // item whose divider is dragged
    int m_trackWidth = 0;
};
