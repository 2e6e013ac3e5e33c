// The report list view "SysListView32": rows of sub-item texts under column headers, item data,
// multiple selection, cells the parent may draw itself, notifications to the parent by WM_NOTIFY.
#pragma once

#include "Wnd.h"

#include <vector>

class CDC;

constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

constexpr UINT LVIS_FOCUSED = 0x1;
constexpr UINT LVIS_SELECTED = 0x2;
constexpr UINT LVIF_STATE = 0x8;
constexpr int LVNI_ALL = 0x0;
constexpr int LVNI_SELECTED = 0x2;

// Notification codes
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int NM_RCLICK = -5;
constexpr int NM_CUSTOMDRAW = -12;
constexpr int LVN_ITEMCHANGED = -101;
constexpr int LVN_KEYDOWN = -155;

// Custom draw stages and answers
constexpr DWORD CDDS_PREPAINT = 0x1;
constexpr DWORD CDDS_ITEM = 0x10000;
constexpr DWORD CDDS_SUBITEM = 0x20000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr LRESULT CDRF_DODEFAULT = 0x0;
constexpr LRESULT CDRF_SKIPDEFAULT = 0x4;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x20;
constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x20;

struct NMLISTVIEW
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction{};
    LPARAM lParam = 0;
};

struct NMITEMACTIVATE
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    POINT ptAction{};
};

struct NMLVKEYDOWN
{
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct NMCUSTOMDRAW
{
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    CDC* hdc = nullptr;
    RECT rc{};
    DWORD_PTR dwItemSpec = 0; // the row
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};

struct NMLVCUSTOMDRAW
{
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0;
    int iSubItem = 0;
};

class CListCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    DWORD SetExtendedStyle(DWORD exStyle);
    DWORD GetExtendedStyle() const noexcept { return m_listExStyle; }

    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL DeleteColumn(int column);
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    CString GetColumnHeading(int column) const;
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }

    // Answers the index of the new row, -1 on failure.
    int InsertItem(int item, const char* text);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_rows.size()); }
    BOOL SetItemText(int item, int subItem, const char* text);
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    UINT GetSelectedCount() const;
    // The next row after start (-1: from the first) with the flags; -1 for none.
    int GetNextItem(int start, int flags) const;
    // The row under a client point, -1 for none.
    int HitTest(CPoint point) const;
    // A cell's rectangle in client coordinates.
    BOOL GetSubItemRect(int item, int subItem, RECT* rect) const;
    int GetHeaderHeight() const;
    int GetRowHeight() const;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnSize(UINT type, int cx, int cy) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Column
    {
        CString heading;
        int width;
        int format;
    };
    struct Row
    {
        std::vector<CString> texts;
        DWORD_PTR data = 0;
        UINT state = 0;
    };

    LRESULT Notify(NMHDR& header, int code);
    void NotifyItem(int code, int item, CPoint point);
    void ChangeState(int item, UINT state, UINT mask);
    void SelectOnly(int item);
    LRESULT CustomDraw(CDC& dc, DWORD stage, int item, int subItem, const CRect& rect);
    int ColumnLeft(int column) const;
    // Rows that fit under the header, at least one.
    int VisibleRows() const;
    // The vertical scroll bar shows when the rows do not fit; the first row shown stays in range.
    void UpdateScrollBar();
    void ScrollTo(int topRow);
    void EnsureVisible(int item);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    DWORD m_listExStyle = 0;
    int m_anchor = -1; // row a shift-click extends from
    int m_topRow = 0;  // first row shown
};
