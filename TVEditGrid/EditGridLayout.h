// Geometry of an editable grid: columns and their widths, page sizes, scroll offsets, hit testing.
#pragma once

#include "EditGridDefs.h"

#include <framework/Geometry.h>

#include <vector>

// One scroll bar as the grid wants it shown.
struct GridScrollBar
{
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
    bool shown = false;
};

// A client point as a cell: row -1 above the rows, column -1 in the margin, the column count right of the
// last column.
struct GridCell
{
    int row;
    int col;
};

class CEditGridLayout
{
public:
    // Copies the columns twice: a working table whose widths change and the table as given.
    void SetCols(const EG_COLUMN* cols, int count);
    int GetNumCols() const { return static_cast<int>(m_cols.size()); }
    bool IsCol(int col) const { return col >= 0 && col < GetNumCols(); }
    const EG_COLUMN& Col(int col) const { return m_cols[static_cast<size_t>(col)]; }
    EG_COLUMN& Col(int col) { return m_cols[static_cast<size_t>(col)]; }
    const EG_COLUMN& InitialCol(int col) const { return m_initialCols[static_cast<size_t>(col)]; }
    const EG_COLUMN* ColDefs(bool working) const;

    // Row height, the screen height that bounds a page and the sizes of the two scroll bars.
    void SetMetrics(int rowHeight, int screenHeight, int vBarWidth, int hBarHeight);
    int RowHeight() const { return m_rowHeight; }
    void SetHeader(bool header) { m_header = header; }
    bool HasHeader() const { return m_header; }
    int HeaderHeight() const { return m_header ? m_rowHeight : 0; }
    void SetMarginWidth(int width) { m_marginWidth = width; }
    int MarginWidth() const { return m_marginWidth; }
    void SetRows(int rows) { m_rows = rows < 0 ? 0 : rows; }
    int Rows() const { return m_rows; }
    int MaxRowsPerPage() const { return m_maxRowsPerPage; }

    int ContentWidth() const;
    int ContentHeight() const { return m_rows * m_rowHeight + HeaderHeight(); }
    // Left edge of a column counted from the margin's right edge, without scrolling.
    int ColOffset(int col) const;

    // Page sizes and which scroll bars are needed, for a window of that size (bars not taken off).
    void RecalcPageSize(int width, int height);
    int RowsPerPage() const { return m_rowsPerPage; }
    int ColsPerPage() const { return m_colsPerPage; }
    int RowAreaHeight() const { return m_rowAreaHeight; }
    int ColAreaWidth() const { return m_colAreaWidth; }

    // Scroll position; each answers whether the first row or column changed.
    bool SetFirstRow(int row);
    bool SetFirstCol(int col);
    int FirstRow() const { return m_firstRow; }
    int FirstCol() const { return m_firstCol; }
    int HorzOffset() const { return ColOffset(m_firstCol); }
    int VertOffset() const { return m_firstRow * m_rowHeight; }
    // The first column that shows col at the right edge when col lies right of the page.
    int FirstColShowing(int col) const;
    // The first column whose right edge lies beyond a horizontal scroll position.
    int ColAtScrollPos(int pos) const;

    GridScrollBar HorzScrollBar() const;
    GridScrollBar VertScrollBar() const;

    GridCell TranslatePoint(CPoint point) const;
    CRect GetCellRect(int row, int col) const;
    // The band a row's background fills: across the whole content, one pixel above the row.
    CRect GetRowRect(int row) const;

private:
    std::vector<EG_COLUMN> m_cols;
    std::vector<EG_COLUMN> m_initialCols;
    int m_rowHeight = 1;
    int m_maxRowsPerPage = 1;
    int m_vBarWidth = 0;
    int m_hBarHeight = 0;
    bool m_header = false;
    int m_marginWidth = 0;
    int m_rows = 0;
    int m_rowsPerPage = 0;
    int m_colsPerPage = 0;
    int m_rowAreaHeight = 0;
    int m_colAreaWidth = 0;
    int m_firstRow = 0;
    int m_firstCol = 0;
    bool m_hBarInUse = false;
    bool m_vBarInUse = false;
};
