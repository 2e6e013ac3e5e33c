// The report list view drawn by the window layer itself.
#include "ListCtrl.h"

#include "Dc.h"

#include <QFontMetrics>

#include <algorithm>

namespace
{

constexpr UINT kKeyShift = 0x04;
constexpr UINT kKeyControl = 0x08;

} // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("SysListView32", nullptr, style, rect, parent, id);
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    const DWORD old = m_listExStyle;
    m_listExStyle = exStyle;
    Invalidate();
    return old;
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width, int)
{
    if (column < 0)
        return -1;
    column = std::min(column, GetColumnCount());
    m_columns.insert(m_columns.begin() + column,
                     Column{heading ? heading : "", width < 0 ? 0 : width, format});
    for (Row& row : m_rows)
        if (static_cast<int>(row.texts.size()) > column && column > 0)
            row.texts.insert(row.texts.begin() + column, CString());
    Invalidate();
    return column;
}

BOOL CListCtrl::DeleteColumn(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    m_columns.erase(m_columns.begin() + column);
    for (Row& row : m_rows)
        if (static_cast<int>(row.texts.size()) > column)
            row.texts.erase(row.texts.begin() + column);
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= GetColumnCount() || width < 0)
        return FALSE;
    m_columns[static_cast<size_t>(column)].width = width;
    Invalidate();
    return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].width : 0;
}

CString CListCtrl::GetColumnHeading(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].heading
                                                    : CString();
}

int CListCtrl::InsertItem(int item, const char* text)
{
    if (item < 0)
        return -1;
    item = std::min(item, GetItemCount());
    Row row;
    row.texts.push_back(text ? text : "");
    m_rows.insert(m_rows.begin() + item, std::move(row));
    if (m_anchor >= item)
        ++m_anchor;
    UpdateScrollBar();
    Invalidate();
    return item;
}

BOOL CListCtrl::DeleteItem(int item)
{
    if (item < 0 || item >= GetItemCount())
        return FALSE;
    m_rows.erase(m_rows.begin() + item);
    if (m_anchor == item)
        m_anchor = -1;
    else if (m_anchor > item)
        --m_anchor;
    UpdateScrollBar();
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems()
{
    m_rows.clear();
    m_anchor = -1;
    UpdateScrollBar();
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text)
{
    if (item < 0 || item >= GetItemCount() || subItem < 0)
        return FALSE;
    std::vector<CString>& texts = m_rows[static_cast<size_t>(item)].texts;
    if (static_cast<int>(texts.size()) <= subItem)
        texts.resize(static_cast<size_t>(subItem) + 1);
    texts[static_cast<size_t>(subItem)] = text ? text : "";
    Invalidate(FALSE);
    return TRUE;
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    if (item < 0 || item >= GetItemCount() || subItem < 0)
        return CString();
    const std::vector<CString>& texts = m_rows[static_cast<size_t>(item)].texts;
    return subItem < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(subItem)] : CString();
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data)
{
    if (item < 0 || item >= GetItemCount())
        return FALSE;
    m_rows[static_cast<size_t>(item)].data = data;
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const
{
    return item >= 0 && item < GetItemCount() ? m_rows[static_cast<size_t>(item)].data : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    if (item < -1 || item >= GetItemCount())
        return FALSE;
    if (item == -1)
    {
        for (int i = 0; i < GetItemCount(); ++i)
            ChangeState(i, state, mask);
    }
    else
    {
        if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && (GetStyle() & LVS_SINGLESEL))
            for (int i = 0; i < GetItemCount(); ++i)
                if (i != item)
                    ChangeState(i, 0, LVIS_SELECTED);
        ChangeState(item, state, mask);
    }
    return TRUE;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const
{
    return item >= 0 && item < GetItemCount() ? m_rows[static_cast<size_t>(item)].state & mask : 0;
}

UINT CListCtrl::GetSelectedCount() const
{
    return static_cast<UINT>(std::count_if(m_rows.begin(), m_rows.end(),
                                           [](const Row& row) { return row.state & LVIS_SELECTED; }));
}

int CListCtrl::GetNextItem(int start, int flags) const
{
    for (int i = std::max(start + 1, 0); i < GetItemCount(); ++i)
        if (!(flags & LVNI_SELECTED) || (m_rows[static_cast<size_t>(i)].state & LVIS_SELECTED))
            return i;
    return -1;
}

int CListCtrl::GetRowHeight() const
{
    const CFont* font = GetFont();
    return QFontMetrics(font ? font->GetQFont() : QFont()).height() + 4;
}

int CListCtrl::GetHeaderHeight() const
{
    return GetRowHeight() + 2;
}

int CListCtrl::ColumnLeft(int column) const
{
    int left = 0;
    for (int i = 0; i < column; ++i)
        left += m_columns[static_cast<size_t>(i)].width;
    return left;
}

int CListCtrl::HitTest(CPoint point) const
{
    const int top = GetHeaderHeight();
    if (point.y < top || point.x < 0)
        return -1;
    const int row = m_topRow + (point.y - top) / GetRowHeight();
    return row < GetItemCount() ? row : -1;
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, RECT* rect) const
{
    if (!rect || item < 0 || item >= GetItemCount() || subItem < 0 || subItem >= GetColumnCount())
        return FALSE;
    const int top = GetHeaderHeight() + (item - m_topRow) * GetRowHeight();
    const int left = ColumnLeft(subItem);
    *rect = CRect(left, top, left + GetColumnWidth(subItem), top + GetRowHeight());
    return TRUE;
}

LRESULT CListCtrl::Notify(NMHDR& header, int code)
{
    CWnd* parent = GetParent();
    if (!parent)
        return 0;
    header.hwndFrom = this;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.code = code;
    return parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
                               reinterpret_cast<LPARAM>(&header));
}

void CListCtrl::NotifyItem(int code, int item, CPoint point)
{
    NMITEMACTIVATE activate;
    activate.iItem = item;
    activate.ptAction = point;
    Notify(activate.hdr, code);
}

void CListCtrl::ChangeState(int item, UINT state, UINT mask)
{
    Row& row = m_rows[static_cast<size_t>(item)];
    const UINT old = row.state;
    row.state = (old & ~mask) | (state & mask);
    if (row.state == old)
        return;
    Invalidate(FALSE);
    NMLISTVIEW change;
    change.iItem = item;
    change.uNewState = row.state;
    change.uOldState = old;
    change.uChanged = LVIF_STATE;
    change.lParam = static_cast<LPARAM>(row.data);
    Notify(change.hdr, LVN_ITEMCHANGED);
}

void CListCtrl::SelectOnly(int item)
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (i != item)
            ChangeState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (item >= 0)
        ChangeState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_anchor = item;
}

void CListCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    const int item = HitTest(point);
    const bool multiple = !(GetStyle() & LVS_SINGLESEL);
    if (item >= 0 && multiple && (flags & kKeyControl))
    {
        ChangeState(item, GetItemState(item, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
        m_anchor = item;
    }
    else if (item >= 0 && multiple && (flags & kKeyShift) && m_anchor >= 0)
    {
        const int from = std::min(m_anchor, item);
        const int to = std::max(m_anchor, item);
        for (int i = 0; i < GetItemCount(); ++i)
            ChangeState(i, i >= from && i <= to ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    else
    {
        SelectOnly(item);
    }
    NotifyItem(NM_CLICK, item, point);
}

void CListCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    NotifyItem(NM_DBLCLK, HitTest(point), point);
}

void CListCtrl::OnRButtonUp(UINT, CPoint point)
{
    NotifyItem(NM_RCLICK, HitTest(point), point);
}

void CListCtrl::OnKeyDown(UINT key, UINT, UINT flags)
{
    NMLVKEYDOWN keyDown;
    keyDown.wVKey = static_cast<WORD>(key);
    keyDown.flags = flags;
    Notify(keyDown.hdr, LVN_KEYDOWN);
    if ((key == VK_UP || key == VK_DOWN) && GetItemCount() > 0)
    {
        const int current = m_anchor < 0 ? -1 : m_anchor;
        const int next = std::clamp(current + (key == VK_DOWN ? 1 : -1), 0, GetItemCount() - 1);
        SelectOnly(next);
        EnsureVisible(next);
    }
}

int CListCtrl::VisibleRows() const
{
    CRect client;
    GetClientRect(&client);
    return std::max(1, (client.Height() - GetHeaderHeight()) / GetRowHeight());
}

void CListCtrl::UpdateScrollBar()
{
    if (!GetSafeHwnd())
        return;
    const int visible = VisibleRows();
    const bool needed = GetItemCount() > visible;
    m_topRow = needed ? std::clamp(m_topRow, 0, GetItemCount() - visible) : 0;
    if (needed)
    {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = GetItemCount() - 1;
        info.nPage = static_cast<UINT>(visible);
        info.nPos = m_topRow;
        SetScrollInfo(SB_VERT, &info);
    }
    ShowScrollBar(SB_VERT, needed ? TRUE : FALSE);
}

void CListCtrl::ScrollTo(int topRow)
{
    const int last = std::max(0, GetItemCount() - VisibleRows());
    const int top = std::clamp(topRow, 0, last);
    if (top == m_topRow)
        return;
    m_topRow = top;
    UpdateScrollBar();
    Invalidate(FALSE);
}

void CListCtrl::EnsureVisible(int item)
{
    if (item < m_topRow)
        ScrollTo(item);
    else if (item >= m_topRow + VisibleRows())
        ScrollTo(item - VisibleRows() + 1);
}

void CListCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    UpdateScrollBar();
}

LRESULT CListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL)
    {
        const UINT code = LOWORD(static_cast<DWORD_PTR>(wParam));
        switch (code)
        {
        case SB_LINEUP:
            ScrollTo(m_topRow - 1);
            break;
        case SB_LINEDOWN:
            ScrollTo(m_topRow + 1);
            break;
        case SB_PAGEUP:
            ScrollTo(m_topRow - VisibleRows());
            break;
        case SB_PAGEDOWN:
            ScrollTo(m_topRow + VisibleRows());
            break;
        case SB_TOP:
            ScrollTo(0);
            break;
        case SB_BOTTOM:
            ScrollTo(GetItemCount());
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            ScrollTo(HIWORD(static_cast<DWORD_PTR>(wParam)));
            break;
        default:
            break;
        }
        return 0;
    }
    if (message == WM_MOUSEWHEEL && GetItemCount() > VisibleRows())
    {
        ScrollTo(m_topRow - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 1;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CListCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CListCtrl::CustomDraw(CDC& dc, DWORD stage, int item, int subItem, const CRect& rect)
{
    NMLVCUSTOMDRAW draw;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.hdc = &dc;
    draw.nmcd.rc = rect;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(std::max(item, 0));
    draw.nmcd.uItemState = GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED);
    draw.nmcd.lItemlParam = static_cast<LPARAM>(GetItemData(item));
    draw.iSubItem = subItem;
    return Notify(draw.nmcd.hdr, NM_CUSTOMDRAW);
}

void CListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    const int headerHeight = GetHeaderHeight();
    const int rowHeight = GetRowHeight();
    const UINT textFormat = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int c = 0, left = 0; c < GetColumnCount(); left += GetColumnWidth(c), ++c)
    {
        if (GetColumnWidth(c) <= 0)
            continue;
        CRect box(left, 0, left + GetColumnWidth(c), headerHeight);
        dc.FillSolidRect(&box, GetSysColor(COLOR_BTNFACE));
        dc.DrawEdge(&box, EDGE_RAISED, BF_RECT);
        CRect text(box.left + 4, box.top, box.right - 4, box.bottom);
        dc.DrawText(m_columns[static_cast<size_t>(c)].heading, &text, textFormat);
    }

    const LRESULT pre = CustomDraw(dc, CDDS_PREPAINT, -1, 0, client);
    const bool focused = GetFocus() == this;
    for (int r = 0; r < GetItemCount(); ++r)
    {
        const int top = headerHeight + r * rowHeight;
        if (top >= client.bottom)
            break;
        const bool selected = (m_rows[static_cast<size_t>(r)].state & LVIS_SELECTED) &&
                              (focused || (GetStyle() & LVS_SHOWSELALWAYS));
        const CRect rowRect(0, top, ColumnLeft(GetColumnCount()), top + rowHeight);
        if (selected)
            dc.FillSolidRect(&rowRect, GetSysColor(COLOR_HIGHLIGHT));
        const LRESULT item =
            (pre & CDRF_NOTIFYITEMDRAW) ? CustomDraw(dc, CDDS_ITEMPREPAINT, r, 0, rowRect) : CDRF_DODEFAULT;
        for (int c = 0, left = 0; c < GetColumnCount(); left += GetColumnWidth(c), ++c)
        {
            const CRect cell(left, top, left + GetColumnWidth(c), top + rowHeight);
            if (cell.Width() <= 0)
                continue;
            if ((item & CDRF_NOTIFYSUBITEMDRAW) &&
                CustomDraw(dc, CDDS_ITEMPREPAINT | CDDS_SUBITEM, r, c, cell) & CDRF_SKIPDEFAULT)
                continue;
            dc.SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            const int format = m_columns[static_cast<size_t>(c)].format;
            const UINT align =
                format == LVCFMT_RIGHT ? DT_RIGHT : (format == LVCFMT_CENTER ? DT_CENTER : DT_LEFT);
            CRect text(cell.left + 4, cell.top, cell.right - 4, cell.bottom);
            dc.DrawText(GetItemText(r, c), &text, textFormat | align);
        }
        if (m_listExStyle & LVS_EX_GRIDLINES)
        {
            CPen grid(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
            CPen* old = dc.SelectObject(&grid);
            dc.MoveTo(0, rowRect.bottom - 1);
            dc.LineTo(rowRect.right, rowRect.bottom - 1);
            dc.SelectObject(old);
        }
    }
}
