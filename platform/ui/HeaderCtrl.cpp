#include "HeaderCtrl.h"

#include "Dc.h"

#include <algorithm>

namespace
{
// Pixels on either side of a divider that grab it.
constexpr int kDividerGrip = 3;
} // namespace

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(nullptr, nullptr, style, rect, parent, id);
}

int CHeaderCtrl::InsertItem(int index, const HDITEM* item)
{
    if (!item || index < 0)
        return -1;
    index = std::min(index, GetItemCount());
    m_items.insert(m_items.begin() + index, Item{CString(), 0, HDF_LEFT | HDF_STRING});
    SetItem(index, item);
    return index;
}

BOOL CHeaderCtrl::DeleteItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return FALSE;
    m_items.erase(m_items.begin() + index);
    Invalidate();
    return TRUE;
}

BOOL CHeaderCtrl::SetItem(int index, const HDITEM* item)
{
    if (!item || index < 0 || index >= GetItemCount())
        return FALSE;
    Item& target = m_items[static_cast<size_t>(index)];
    if (item->mask & HDI_WIDTH)
        target.width = std::max(item->cxy, 0);
    if (item->mask & HDI_TEXT)
        target.text = item->pszText;
    if (item->mask & HDI_FORMAT)
        target.format = item->fmt;
    Invalidate();
    return TRUE;
}

BOOL CHeaderCtrl::GetItem(int index, HDITEM* item) const
{
    if (!item || index < 0 || index >= GetItemCount())
        return FALSE;
    const Item& source = m_items[static_cast<size_t>(index)];
    if (item->mask & HDI_WIDTH)
        item->cxy = source.width;
    if (item->mask & HDI_FORMAT)
        item->fmt = source.format;
    return TRUE;
}

int CHeaderCtrl::ItemLeft(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += m_items[static_cast<size_t>(i)].width;
    return left;
}

int CHeaderCtrl::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    if (point.y < 0 || point.y >= client.bottom)
        return -1;
    int left = 0;
    for (int i = 0; i < GetItemCount(); ++i)
    {
        const int right = left + m_items[static_cast<size_t>(i)].width;
        if (point.x >= left && point.x < right)
            return i;
        left = right;
    }
    return -1;
}

int CHeaderCtrl::DividerAt(CPoint point) const
{
    // From the right, so that a hidden (zero-width) item's divider is the one grabbed last.
    for (int i = GetItemCount() - 1; i >= 0; --i)
    {
        const int right = ItemLeft(i + 1);
        if (point.x >= right - kDividerGrip && point.x <= right + kDividerGrip)
            return i;
    }
    return -1;
}

void CHeaderCtrl::Notify(int code, int index, int width)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    HDITEM item;
    item.mask = HDI_WIDTH;
    item.cxy = width;
    NMHEADER header;
    header.hdr.hwndFrom = this;
    header.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.hdr.code = code;
    header.iItem = index;
    header.pitem = &item;
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&header));
}

void CHeaderCtrl::OnLButtonDown(UINT, CPoint point)
{
    m_tracking = DividerAt(point);
    if (m_tracking >= 0)
        m_trackWidth = m_items[static_cast<size_t>(m_tracking)].width;
    else
        m_pressed = HitTest(point);
    SetCapture();
}

void CHeaderCtrl::OnMouseMove(UINT, CPoint point)
{
    if (m_tracking < 0)
        return;
    m_trackWidth = std::max(point.x - ItemLeft(m_tracking), 0);
    Notify(HDN_TRACK, m_tracking, m_trackWidth);
}

void CHeaderCtrl::OnLButtonUp(UINT, CPoint point)
{
    if (GetCapture() == this)
        ReleaseCapture();
    if (m_tracking >= 0)
    {
        const int item = m_tracking;
        m_tracking = -1;
        m_items[static_cast<size_t>(item)].width = m_trackWidth;
        Invalidate();
        Notify(HDN_ENDTRACK, item, m_trackWidth);
        return;
    }
    const int pressed = m_pressed;
    m_pressed = -1;
    if (pressed >= 0 && HitTest(point) == pressed)
        Notify(HDN_ITEMCLICK, pressed, m_items[static_cast<size_t>(pressed)].width);
}

BOOL CHeaderCtrl::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    int left = 0;
    for (const Item& item : m_items)
    {
        if (item.width > 0)
        {
            CRect box(left, 0, left + item.width, client.bottom);
            dc.FillSolidRect(&box, GetSysColor(COLOR_BTNFACE));
            dc.DrawEdge(&box, EDGE_RAISED, BF_RECT);
            CRect text(box.left + 3, box.top, box.right - 3, box.bottom);
            const int justify = item.format & HDF_JUSTIFYMASK;
            const UINT align =
                justify == HDF_CENTER ? DT_CENTER : (justify == HDF_RIGHT ? DT_RIGHT : DT_LEFT);
            dc.DrawText(item.text, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
        left += item.width;
    }
}
