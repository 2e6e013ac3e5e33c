#include "EditGridPaint.h"

#include "EditGridController.h"
#include "Enum.h"

#include <ZoSupport/ProgramError.h>

#include <algorithm>

namespace
{

BYTE Darken(BYTE channel)
{
    return static_cast<BYTE>(channel * 8 / 10);
}

class GridPaintBuilder
{
public:
    GridPaintBuilder(const CEditGridController& grid, const GridColours& colours)
        : m_grid(grid), m_layout(grid.Layout()), m_colours(colours)
    {
        m_lastRow = std::min(m_layout.Rows(), m_layout.FirstRow() + m_layout.RowsPerPage() + 1);
        m_lastCol = std::min(m_layout.GetNumCols(), m_layout.FirstCol() + m_layout.ColsPerPage() + 1);
    }

    GridPaint Build()
    {
        RowBackgrounds();
        GridLines();
        for (int row = m_layout.FirstRow(); row < m_lastRow; ++row)
            for (int col = m_layout.FirstCol(); col < m_lastCol; ++col)
                CellText(row, col);
        return std::move(m_paint);
    }

private:
    bool ViewColour(int row, COLORREF& colour) const
    {
        CEditGridViewIntf* view = m_grid.View();
        return view && view->GetBckGrndColor(row, 0, colour);
    }

    COLORREF SelectionColour(int row) const
    {
        COLORREF colour;
        return ViewColour(row, colour) ? DarkenForSelection(colour) : kGridMarkColour;
    }

    void RowBackgrounds()
    {
        const int first = m_layout.FirstRow();
        for (int row = first; row < m_lastRow; ++row)
        {
            COLORREF colour;
            if (ViewColour(row, colour))
                m_paint.fills.push_back({m_layout.GetRowRect(row), colour});
        }
        if (!m_grid.IsEnabledSelection())
            return;
        if (m_grid.IsMultiSelection())
        {
            const CStackEx<int>& selected = m_grid.Data()->GetSelections();
            for (int i = 0; i < selected.GetCount(); ++i)
                if (selected[i] >= first && selected[i] < m_lastRow)
                    m_paint.fills.push_back({m_layout.GetRowRect(selected[i]), SelectionColour(selected[i])});
        }
        const int current = m_grid.SelectedRow();
        if (current >= 0 && current < m_layout.Rows())
            m_paint.fills.push_back({m_layout.GetRowRect(current), m_grid.IsRowSelected(current)
                                                                       ? SelectionColour(current)
                                                                       : kGridMarkColour});
    }

    void GridLines()
    {
        const int right = m_layout.ContentWidth() - m_layout.HorzOffset();
        const int header = m_layout.HeaderHeight();
        const int height = m_layout.RowHeight();
        for (int k = 0; k < m_lastRow - m_layout.FirstRow(); ++k)
        {
            const int y = header + height - 1 + k * height;
            m_paint.lines.push_back({CPoint(m_layout.MarginWidth(), y), CPoint(right, y)});
        }
        const int bottom = m_layout.ContentHeight() - m_layout.VertOffset();
        for (int col = m_layout.FirstCol(); col < m_lastCol; ++col)
        {
            const int x = m_layout.GetCellRect(m_layout.FirstRow(), col).right;
            m_paint.lines.push_back({CPoint(x, header), CPoint(x, bottom)});
        }
    }

    void CellText(int row, int col)
    {
        CEditGridDataIntf* data = m_grid.Data();
        if (!data)
            return;
        CString text;
        const int kind = m_grid.CellKind(row, col);
        if (kind == EG_LIST || kind == EG_LIST_OPTION)
        {
            const CEnum* list = data->GetEnum(col, row);
            if (!list)
            {
                ProgramError("EditGrid", __LINE__, "cell without value list");
                return;
            }
            int value = 0;
            data->GetElemI(row, col, value);
            if (!list->FindVal(value, text))
                return;
        }
        else if (!data->GetElemS(row, col, text))
        {
            return;
        }
        COLORREF colour;
        CEditGridViewIntf* view = m_grid.View();
        if (!view || !view->GetTextColor(row, col, colour))
            colour = row == m_grid.SelectedRow() ? m_colours.currentText : m_colours.normalText;
        const CRect cell = m_layout.GetCellRect(row, col);
        const int width = m_layout.Col(col).width;
        m_paint.texts.push_back(
            {CRect(cell.left + 2, cell.top + 2, cell.left + width - 1, cell.top + m_layout.RowHeight() + 2),
             text, colour});
    }

    const CEditGridController& m_grid;
    const CEditGridLayout& m_layout;
    const GridColours& m_colours;
    int m_lastRow;
    int m_lastCol;
    GridPaint m_paint;
};

} // namespace

COLORREF DarkenForSelection(COLORREF colour)
{
    return RGB(Darken(GetRValue(colour)), Darken(GetGValue(colour)), Darken(GetBValue(colour)));
}

GridPaint BuildGridPaint(const CEditGridController& grid, const GridColours& colours)
{
    return GridPaintBuilder(grid, colours).Build();
}
