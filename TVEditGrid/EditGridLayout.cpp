#include "EditGridLayout.h"

#include <algorithm>

void CEditGridLayout::SetCols(const EG_COLUMN* cols, int count)
{
    m_cols.assign(cols, cols + std::max(count, 0));
    m_initialCols = m_cols;
    m_firstCol = 0;
}

const EG_COLUMN* CEditGridLayout::ColDefs(bool working) const
{
    const std::vector<EG_COLUMN>& table = working ? m_cols : m_initialCols;
    return table.empty() ? nullptr : table.data();
}

void CEditGridLayout::SetMetrics(int rowHeight, int screenHeight, int vBarWidth, int hBarHeight)
{
    m_rowHeight = std::max(rowHeight, 1);
    m_maxRowsPerPage = std::max(screenHeight / m_rowHeight, 1);
    m_vBarWidth = vBarWidth;
    m_hBarHeight = hBarHeight;
}

int CEditGridLayout::ContentWidth() const
{
    return m_marginWidth + ColOffset(GetNumCols());
}

int CEditGridLayout::ColOffset(int col) const
{
    int offset = 0;
    for (int c = 0; c < col && c < GetNumCols(); ++c)
        offset += Col(c).width;
    return offset;
}

void CEditGridLayout::RecalcPageSize(int width, int height)
{
    const int contentWidth = ContentWidth();
    const int contentHeight = ContentHeight();
    m_hBarInUse = m_vBarInUse = false;
    // Each bar may make the other one needed: decide twice.
    for (int pass = 0; pass < 2; ++pass)
    {
        m_hBarInUse = width < contentWidth + (m_vBarInUse ? m_vBarWidth : 0);
        m_vBarInUse = height < contentHeight + (m_hBarInUse ? m_hBarHeight : 0);
    }
    const int usedWidth = width > contentWidth ? contentWidth : width - (m_vBarInUse ? m_vBarWidth : 0);
    const int usedHeight = height > contentHeight ? contentHeight : height - (m_hBarInUse ? m_hBarHeight : 0);
    m_colAreaWidth = usedWidth - m_marginWidth;
    m_rowAreaHeight = usedHeight - HeaderHeight();
    m_rowsPerPage = std::clamp(m_rowAreaHeight / m_rowHeight, 0, m_maxRowsPerPage - 1);

    int count = 0;
    int sum = 0;
    for (int c = m_firstCol; c < GetNumCols() && sum + Col(c).width <= m_colAreaWidth; ++c, ++count)
        sum += Col(c).width;
    for (int c = m_firstCol - 1; c >= 0 && sum + Col(c).width <= m_colAreaWidth; --c, ++count)
        sum += Col(c).width;
    m_colsPerPage = count;
}

bool CEditGridLayout::SetFirstRow(int row)
{
    const int first = std::max(0, std::min(row, m_rows - m_rowsPerPage));
    if (first == m_firstRow)
        return false;
    m_firstRow = first;
    return true;
}

bool CEditGridLayout::SetFirstCol(int col)
{
    const int first = std::max(0, std::min(col, GetNumCols() - m_colsPerPage));
    if (first == m_firstCol)
        return false;
    m_firstCol = first;
    return true;
}

int CEditGridLayout::FirstColShowing(int col) const
{
    int first = col;
    int sum = Col(col).width;
    while (first > 0 && sum + Col(first - 1).width <= m_colAreaWidth)
        sum += Col(--first).width;
    return first;
}

int CEditGridLayout::ColAtScrollPos(int pos) const
{
    int right = 0;
    for (int c = 0; c < GetNumCols(); ++c)
    {
        right += Col(c).width;
        if (right > pos)
            return c;
    }
    return GetNumCols();
}

GridScrollBar CEditGridLayout::HorzScrollBar() const
{
    const int limit = ContentWidth() - m_marginWidth;
    int lead = 0;
    for (int c = 0; c < GetNumCols() && m_colAreaWidth + lead + Col(c).width <= limit; ++c)
        lead += Col(c).width;
    return {0, m_colAreaWidth + lead, m_colAreaWidth, HorzOffset(), m_hBarInUse};
}

GridScrollBar CEditGridLayout::VertScrollBar() const
{
    return {0, ContentHeight() - HeaderHeight(), m_rowAreaHeight, VertOffset(), m_vBarInUse};
}

GridCell CEditGridLayout::TranslatePoint(CPoint point) const
{
    GridCell cell{-1, -1};
    if (point.y >= HeaderHeight())
        cell.row = (point.y + VertOffset() - HeaderHeight()) / m_rowHeight;
    if (point.x < m_marginWidth)
        return cell;
    const int x = point.x + HorzOffset() - m_marginWidth;
    int left = 0;
    for (int c = 0; c < GetNumCols(); ++c)
    {
        // A column owns its left edge: the first pixel of a column belongs to it.
        if (left <= x && x < left + Col(c).width)
        {
            cell.col = c;
            return cell;
        }
        left += Col(c).width;
    }
    cell.col = GetNumCols();
    return cell;
}

CRect CEditGridLayout::GetCellRect(int row, int col) const
{
    const int left = m_marginWidth + ColOffset(col) - HorzOffset();
    const int top = HeaderHeight() + (row - m_firstRow) * m_rowHeight;
    const int width = IsCol(col) ? Col(col).width : 0;
    return CRect(left, top, left + width - 1, top + m_rowHeight - 1);
}

CRect CEditGridLayout::GetRowRect(int row) const
{
    const int top = HeaderHeight() + (row - m_firstRow) * m_rowHeight - 1;
    return CRect(0, top, ContentWidth() - HorzOffset(), top + m_rowHeight + 1);
}
