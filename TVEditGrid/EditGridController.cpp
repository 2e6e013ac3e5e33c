#include "EditGridController.h"

#include "Enum.h"

#include <ZoSupport/ProgramError.h>
#include <ZoSupport/ResourceString.h>
#include <ZoSupport/System.h>
#include <ui/UiDefs.h>

#include <algorithm>

namespace
{

constexpr int kOptionWidth = 16;
constexpr int kListRows = 6;

// Broken invariants carry the grid's source name.
void ReportBroken(int line, const char* text)
{
    ProgramError("EditGrid", line, text);
}

bool HasOption(int kind)
{
    return kind == EG_LIST_OPTION || kind == EG_EDIT_OPTION || kind == EG_OPTION;
}

} // namespace

CEditGridController::CEditGridController(CEditGridSurface& surface) : m_surface(surface) {}

void CEditGridController::SetCols(const EG_COLUMN* cols, int count)
{
    m_layout.SetCols(cols, cols ? count : 0);
    m_titles.RemoveAll();
    for (int c = 0; c < m_layout.GetNumCols(); ++c)
    {
        const EG_COLUMN& col = m_layout.Col(c);
        CString title;
        if (col.headerStringId == 0)
            title = col.headerText;
        else if (!m_data || m_data->GetHeaderS(col.headerStringId, title) != 1)
            title = GetResourceString(static_cast<UINT>(col.headerStringId));
        m_titles.Add(title);
    }
}

void CEditGridController::AddMargin(int width, const char* title)
{
    m_margin = true;
    m_marginTitle = title;
    m_layout.SetMarginWidth(width);
}

bool CEditGridController::Create(CEditGridDataIntf* data)
{
    if (m_created)
    {
        ReportBroken(__LINE__, "second Create");
        return false;
    }
    m_created = true;
    m_data = data;
    return true;
}

void CEditGridController::Size(int width, int height)
{
    m_width = width;
    m_height = height;
    Recalc();
}

void CEditGridController::Recalc()
{
    m_layout.RecalcPageSize(m_width, m_height);
    // A larger window may show rows and columns that were scrolled away.
    const bool rowMoved = m_layout.SetFirstRow(m_layout.FirstRow());
    const bool colMoved = m_layout.SetFirstCol(m_layout.FirstCol());
    if (colMoved)
        m_layout.RecalcPageSize(m_width, m_height);
    if (rowMoved || colMoved)
        PlaceEditors();
    RefreshHeader();
    RedrawMargin();
    RefreshScrollBars();
    m_surface.InvalidateAll();
}

void CEditGridController::RefreshScrollBars()
{
    m_surface.SetScrollBars(m_layout.HorzScrollBar(), m_layout.VertScrollBar());
}

void CEditGridController::RefreshHeader()
{
    if (!m_layout.HasHeader())
        return;
    std::vector<GridHeaderItem> items;
    int width = 0;
    for (int c = m_layout.FirstCol(); c < m_layout.GetNumCols(); ++c)
    {
        items.push_back({m_titles[c], m_layout.Col(c).width});
        width += m_layout.Col(c).width;
    }
    const int left = m_layout.MarginWidth();
    m_surface.SetHeader(items, CRect(left, 0, left + width, m_layout.RowHeight()));
}

void CEditGridController::RedrawMargin()
{
    if (!m_margin || !m_data)
        return;
    std::vector<CString> texts;
    for (int i = 0; i <= m_layout.RowsPerPage() && m_layout.FirstRow() + i < m_layout.Rows(); ++i)
    {
        CString text;
        m_data->GetMarginS(m_layout.FirstRow() + i, text);
        texts.push_back(text);
    }
    m_surface.SetMarginTexts(texts);
}

void CEditGridController::InvalidateRow(int row)
{
    if (row >= m_layout.FirstRow() && row <= m_layout.FirstRow() + m_layout.RowsPerPage())
        m_surface.InvalidateRect(m_layout.GetRowRect(row));
}

void CEditGridController::Update(int row, int col)
{
    if (row == -1)
        m_surface.InvalidateAll();
    else if (col == -1)
        InvalidateRow(row);
    else
        m_surface.InvalidateRect(m_layout.GetCellRect(row, col));
}

int CEditGridController::CellKind(int row, int col) const
{
    const int kind = m_layout.Col(col).type;
    if (kind != EG_PERCELL)
        return kind;
    return m_data ? m_data->GetColType(col, row) : EG_EDIT;
}

bool CEditGridController::IsCellEditable(int row, int col) const
{
    return m_layout.IsCol(col) && !m_layout.Col(col).readOnly && m_data && m_data->AllowEdit(row, col);
}

int CEditGridController::NextEditableCol(bool left) const
{
    const int step = left ? -1 : 1;
    for (int c = m_curCol + step; c >= 0 && c < m_layout.GetNumCols(); c += step)
        if (IsCellEditable(m_curRow, c))
            return c;
    return m_curCol;
}

void CEditGridController::Move(int row, int col, bool keepScroll, bool extend)
{
    if (row < 0 || row >= m_layout.Rows() || !m_layout.IsCol(col))
        return;
    if (row == m_curRow && col == m_curCol && !m_forceMove)
        return;
    m_forceMove = false;
    StoreData(true);
    ChangePos(row, col, true, true);
    if (!keepScroll)
    {
        ScrollIntoView(row, col);
        if (m_multiSelection && !extend)
        {
            ClearSelections(row);
            m_data->AddRowSelection(row);
        }
    }
    if (m_multiSelection && extend)
    {
        m_data->AddRowSelection(row);
        InvalidateRow(row);
    }
    if (m_editMode && IsCellEditable(row, col))
        EditCell(row, col);
}

void CEditGridController::ChangePos(int row, int col, bool rowChanged, bool colChanged)
{
    if (rowChanged)
    {
        if (m_view)
            m_view->ChangeRow(row);
        InvalidateRow(m_curRow);
        InvalidateRow(row);
    }
    if (colChanged && m_view)
        m_view->ChangeCol(col);
    if (m_view)
        m_view->ChangeCell(row, col);
    m_curRow = row;
    m_curCol = col;
}

void CEditGridController::ScrollIntoView(int row, int col)
{
    if (row < m_layout.FirstRow())
        MoveRows(row);
    else if (row >= m_layout.FirstRow() + m_layout.RowsPerPage())
        MoveRows(row - m_layout.RowsPerPage() + 1);
    if (col < m_layout.FirstCol())
        MoveCols(col);
    else if (col >= m_layout.FirstCol() + m_layout.ColsPerPage())
        MoveCols(m_layout.FirstColShowing(col));
}

void CEditGridController::ClearSelections(int keepRow)
{
    int row = -1;
    while (m_data->RemoveRowSelection(row))
    {
        if (row != keepRow)
            InvalidateRow(row);
        row = -1;
    }
}

bool CEditGridController::IsRowSelected(int row) const
{
    return m_multiSelection && m_data && m_data->GetSelections().Find(row) >= 0;
}

void CEditGridController::EditMode(bool on, bool store)
{
    m_editMode = on;
    m_forceMove = true;
    if (on)
        return;
    StoreData(store);
    m_surface.FocusParent();
}

GridEditorRects CEditGridController::EditorRects() const
{
    GridEditorRects rects;
    const CRect cell = m_layout.GetCellRect(m_editorRow, m_editorCol);
    CRect narrowed = cell;
    if (HasOption(m_editorKind))
        narrowed.right -= kOptionWidth;
    if (m_editOpen)
        rects.edit = narrowed;
    if (m_listOpen)
        rects.list = CRect(narrowed.left, narrowed.top, narrowed.right,
                           narrowed.bottom + kListRows * m_layout.RowHeight());
    if (m_optionOpen)
        rects.option = CRect(narrowed.right, narrowed.top, narrowed.right + kOptionWidth, narrowed.bottom);
    return rects;
}

void CEditGridController::PlaceEditors()
{
    if (!IsEditing())
        return;
    m_moving = true;
    const GridEditorRects rects = EditorRects();
    const bool visible = m_layout.GetCellRect(m_editorRow, m_editorCol).top >= m_layout.HeaderHeight();
    m_surface.PlaceEditors(rects, visible);
    m_moving = false;
}

void CEditGridController::EditCell(int row, int col)
{
    if (m_view)
        m_view->PreEditCell(row, col);
    const int kind = CellKind(row, col);
    m_editorRow = row;
    m_editorCol = col;
    m_editorKind = kind;
    switch (kind)
    {
    case EG_LIST:
    case EG_LIST_OPTION:
    {
        if (m_listOpen)
        {
            ReportBroken(__LINE__, "list already open");
            return;
        }
        int value = 0;
        m_data->GetElemI(row, col, value);
        const CEnum* list = m_data->GetEnum(col, row);
        if (!list)
        {
            ReportBroken(__LINE__, "cell without value list");
            return;
        }
        int selected = -1;
        for (INT_PTR i = 0; i < list->GetSize() && selected < 0; ++i)
            if (list->GetAt(i).GetVal() == value)
                selected = static_cast<int>(i);
        m_listOpen = true;
        m_surface.OpenList(EditorRects().list, *list, selected);
        break;
    }
    case EG_EDIT:
    case EG_EDIT_OPTION:
    {
        if (m_editOpen)
        {
            ReportBroken(__LINE__, "edit box already open");
            return;
        }
        CString text;
        m_data->GetElemS(row, col, text);
        m_editOpen = true;
        const EG_COLUMN& column = m_layout.Col(col);
        m_surface.OpenEdit(EditorRects().edit, text, column.numChar, column.numericOnly != 0);
        break;
    }
    case EG_OPTION:
        break;
    default:
        return;
    }
    if (HasOption(kind))
    {
        m_optionOpen = true;
        m_surface.OpenOption(EditorRects().option);
    }
}

void CEditGridController::StoreData(bool store)
{
    if (m_storing)
        return;
    if (m_editOpen && m_listOpen)
        ReportBroken(__LINE__, "two editors open");
    if (!m_data)
        ReportBroken(__LINE__, "no data interface");
    m_storing = true;
    if (m_view)
        m_view->PostEditCell(m_curRow, m_curCol);
    if (m_editOpen)
    {
        const CString text = m_surface.GetEditText();
        if (store && m_data)
            m_data->SetElemS(m_editorRow, m_editorCol, text, 0);
        m_editOpen = false;
        m_surface.CloseEdit();
        m_surface.FocusParent();
    }
    if (m_listOpen)
    {
        int value = 0;
        if (store && m_data && m_surface.GetListValue(value))
            m_data->SetElemI(m_editorRow, m_editorCol, value, 0);
        m_listOpen = false;
        m_surface.CloseList();
        m_surface.FocusParent();
    }
    if (m_optionOpen)
    {
        m_optionOpen = false;
        m_surface.CloseOption();
        m_surface.FocusParent();
    }
    m_storing = false;
}

void CEditGridController::CloseAllEditors()
{
    if (m_editOpen)
        m_surface.CloseEdit();
    if (m_listOpen)
        m_surface.CloseList();
    if (m_optionOpen)
        m_surface.CloseOption();
    m_editOpen = m_listOpen = m_optionOpen = false;
}

void CEditGridController::GetVisibleRows(int& first, int& last) const
{
    first = m_layout.FirstRow();
    last = std::min(first + m_layout.RowsPerPage(), m_layout.Rows() - 1);
}

void CEditGridController::GoTop(bool extend)
{
    MoveRows(0);
    Move(0, m_curCol, false, extend);
}

void CEditGridController::GoBottom(bool extend)
{
    MoveRows(m_layout.Rows() - m_layout.RowsPerPage());
    Move(m_layout.Rows() - 1, m_curCol, false, extend);
}

void CEditGridController::PageUp(bool extend)
{
    const int target = m_curRow - m_layout.RowsPerPage();
    MoveRows(target);
    Move(target, m_curCol, false, extend);
}

void CEditGridController::PageDown(bool extend)
{
    const int target = m_curRow + m_layout.RowsPerPage();
    MoveRows(target);
    Move(target, m_curCol, false, extend);
}

int CEditGridController::ProcessKey(UINT key)
{
    const bool shift = CSystem::IsKeyPressed(static_cast<int>(VK_SHIFT));
    const bool control = CSystem::IsKeyPressed(static_cast<int>(VK_CONTROL));
    switch (key)
    {
    case VK_TAB:
        if (!m_editMode)
            return 0;
        Move(m_curRow, NextEditableCol(shift), false, false);
        return 1;
    case VK_RETURN:
    {
        if (!m_editMode)
        {
            EditMode(true, false);
            Move(m_curRow, 0, false, false);
            return 1;
        }
        if (control && m_layout.IsCol(m_curCol))
        {
            const int kind = m_layout.Col(m_curCol).type;
            if (HasOption(kind) || (kind == EG_PERCELL && m_optionOpen))
                OnOptionClick();
        }
        const int next = NextEditableCol(false);
        if (next != m_curCol)
            Move(m_curRow, next, false, false);
        else
            EditMode(false, true);
        return 1;
    }
    case VK_ESCAPE:
        EditMode(false, false);
        return 1;
    case VK_PRIOR:
        control ? GoTop(shift) : PageUp(shift);
        return 1;
    case VK_NEXT:
        control ? GoBottom(shift) : PageDown(shift);
        return 1;
    case VK_END:
    case VK_HOME:
        if (!m_editMode)
            return 0;
        Move(m_curRow, key == VK_END ? m_layout.GetNumCols() - 1 : 0, false, false);
        return 1;
    case VK_UP:
        LineUp(shift);
        return 1;
    case VK_DOWN:
        LineDown(shift);
        return 1;
    default:
        return 0;
    }
}

int CEditGridController::InsertRows(int count)
{
    m_layout.SetRows(m_layout.Rows() + count);
    Recalc();
    return 1;
}

int CEditGridController::DeleteRows(int count)
{
    StoreData(false);
    m_layout.SetRows(m_layout.Rows() - count);
    if (m_multiSelection)
        m_data->RemoveAllSelections();
    if (m_layout.Rows() == 0)
        m_curRow = 0;
    else if (m_curRow >= m_layout.Rows())
        m_curRow = m_layout.Rows() - 1;
    if (m_multiSelection && m_layout.Rows() > 0)
        m_data->AddRowSelection(m_curRow);
    Recalc();
    return 1;
}

void CEditGridController::ResetContent(bool destroying)
{
    CloseAllEditors();
    if (destroying)
        return;
    m_layout.SetRows(0);
    m_layout.SetFirstRow(0);
    m_layout.SetFirstCol(0);
    m_curRow = m_curCol = 0;
    Recalc();
}

bool CEditGridController::SetNumChar(int col, int limit)
{
    if (!m_layout.IsCol(col))
        return false;
    m_layout.Col(col).numChar = limit;
    return true;
}

void CEditGridController::SetColWidth(int col, int width)
{
    if (!m_layout.IsCol(col))
        return;
    m_layout.Col(col).width = width;
    m_layout.RecalcPageSize(m_width, m_height);
    PlaceEditors();
    RefreshHeader();
    RefreshScrollBars();
    m_surface.InvalidateAll();
}

int CEditGridController::ShowCol(int col, bool show)
{
    if (!m_layout.IsCol(col))
        return 0;
    if (col == m_curCol)
        StoreData(true);
    SetColWidth(col, show ? m_layout.InitialCol(col).width : 0);
    return 1;
}

void CEditGridController::EnableSelection(bool enable)
{
    m_selectionEnabled = enable;
    if (m_multiSelection && m_data && m_data->GetSelections().GetCount() > 1)
        m_surface.InvalidateAll();
    else
        InvalidateRow(m_curRow);
}

void CEditGridController::EnableMultiSelection()
{
    if (!m_data)
    {
        ReportBroken(__LINE__, "no data interface");
        return;
    }
    m_multiSelection = true;
    m_data->EnableMultiSelection();
}

void CEditGridController::MoveRows(int firstRow)
{
    if (m_layout.SetFirstRow(firstRow))
    {
        PlaceEditors();
        m_surface.InvalidateAll();
    }
    RedrawMargin();
    RefreshScrollBars();
}

void CEditGridController::MoveCols(int firstCol)
{
    if (!m_layout.SetFirstCol(firstCol))
        return;
    m_layout.RecalcPageSize(m_width, m_height);
    RefreshHeader();
    PlaceEditors();
    RefreshScrollBars();
    m_surface.InvalidateAll();
}

void CEditGridController::OnVScroll(UINT code, int pos)
{
    const int first = m_layout.FirstRow();
    switch (code)
    {
    case SB_LINEUP:
        MoveRows(first - 1);
        break;
    case SB_LINEDOWN:
        MoveRows(first + 1);
        break;
    case SB_PAGEUP:
        MoveRows(first - m_layout.RowsPerPage());
        break;
    case SB_PAGEDOWN:
        MoveRows(first + m_layout.RowsPerPage());
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        MoveRows((pos + m_layout.RowHeight() - 1) / m_layout.RowHeight());
        break;
    default:
        break;
    }
}

void CEditGridController::OnHScroll(UINT code, int pos)
{
    const int first = m_layout.FirstCol();
    switch (code)
    {
    case SB_LINELEFT:
        MoveCols(first - 1);
        break;
    case SB_LINERIGHT:
        MoveCols(first + 1);
        break;
    case SB_PAGELEFT:
        MoveCols(first - m_layout.ColsPerPage());
        break;
    case SB_PAGERIGHT:
        MoveCols(first + m_layout.ColsPerPage());
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        MoveCols(m_layout.ColAtScrollPos(pos));
        break;
    default:
        break;
    }
}

void CEditGridController::OnMouseWheel(int delta)
{
    OnVScroll(delta <= 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

bool CEditGridController::IsCellInside(const GridCell& cell) const
{
    return cell.row >= 0 && cell.row < m_layout.Rows() && cell.col < m_layout.GetNumCols();
}

void CEditGridController::SelectRowsBetween(int from, int to)
{
    for (int row = std::min(from, to); row <= std::max(from, to); ++row)
    {
        m_data->AddRowSelection(row);
        InvalidateRow(row);
    }
}

void CEditGridController::OnLButtonDown(UINT flags, CPoint point)
{
    if (!m_data)
    {
        ReportBroken(__LINE__, "no data interface");
        return;
    }
    GridCell cell = m_layout.TranslatePoint(point);
    if (!IsCellInside(cell))
    {
        if (cell.row == -1 && cell.col == -1 && m_view)
            m_view->ColClick(-1);
        StoreData(true);
        return;
    }
    if (m_multiSelection)
    {
        const bool control = (flags & MK_CONTROL) != 0;
        if (!control)
        {
            if ((flags & MK_SHIFT) && cell.row != m_curRow)
                SelectRowsBetween(m_curRow, cell.row);
            else
                ClearSelections(cell.row);
        }
        else if (m_data->GetSelections().GetCount() > 1)
        {
            int at = m_data->GetSelections().Find(cell.row);
            if (at >= 0)
            {
                m_data->RemoveRowSelection(at);
                InvalidateRow(cell.row);
                cell.row = m_data->GetSelections()[0];
            }
        }
    }
    if (cell.col == -1)
    {
        m_editMode = false;
        StoreData(true);
        ChangePos(cell.row, 0, true, true);
    }
    else
    {
        Move(cell.row, cell.col, true, false);
    }
    if (m_multiSelection)
    {
        m_data->AddRowSelection(cell.row);
        InvalidateRow(cell.row);
    }
    m_dragPending = true;
    m_dragRow = cell.row;
    m_dragCol = cell.col;
    const CRect current = m_layout.GetCellRect(m_curRow, 0);
    m_dragStart = CRect(0, current.top - 1, m_layout.ContentWidth() - m_layout.HorzOffset(), current.bottom);
    m_surface.SetCapture(true);
    if (cell.col >= 0 && m_view)
        m_view->ClickElem(cell.row, cell.col);
}

void CEditGridController::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_dragPending)
        return;
    if (!(flags & MK_LBUTTON))
    {
        m_surface.SetCapture(false);
        m_dragPending = false;
        return;
    }
    if (m_dragStart.PtInRect(point))
        return;
    m_dragPending = false;
    m_surface.SetCapture(false);
    COleDataSource* source = m_data ? m_data->GetDataSource(m_dragRow, m_dragCol) : nullptr;
    if (!source)
        return;
    m_surface.DoDragDrop(source, m_layout.GetCellRect(m_dragRow, m_dragCol));
    m_data->ReleaseDataSource();
}

void CEditGridController::OnLButtonUp(CPoint point)
{
    m_dragPending = false;
    m_surface.SetCapture(false);
    const GridCell cell = m_layout.TranslatePoint(point);
    if (IsCellInside(cell) && cell.col >= 0 && m_view)
        m_view->ClickUpElem(cell.row, cell.col);
}

void CEditGridController::OnLButtonDblClk(CPoint point)
{
    const GridCell cell = m_layout.TranslatePoint(point);
    if (IsCellInside(cell) && cell.col >= 0 && m_view)
        m_view->DblClickElem(cell.row, cell.col);
}

void CEditGridController::OnContextMenu(CPoint clientPoint, CPoint screenPoint)
{
    const GridCell cell = m_layout.TranslatePoint(clientPoint);
    if (m_multiSelection)
    {
        m_data->RemoveAllSelections();
        m_surface.InvalidateAll();
    }
    Move(cell.row, cell.col, true, true);
    if (m_view)
        m_view->PopUpMenu(cell.row, cell.col, screenPoint);
}

void CEditGridController::OnHeaderClick(int item)
{
    StoreData(true);
    if (m_view)
        m_view->ColClick(m_layout.FirstCol() + item);
}

void CEditGridController::OnHeaderTrack(int item, int width)
{
    StoreData(true);
    SetColWidth(m_layout.FirstCol() + item, width);
}

void CEditGridController::OnHeaderEndTrack(int item, int width)
{
    StoreData(true);
    const int col = m_layout.FirstCol() + item;
    if (m_view)
        m_view->EndColTrack(col);
    else
        SetColWidth(col, width);
}

int CEditGridController::OnEditorKey(UINT key)
{
    if (m_view && m_view->KeyControl(m_curRow, m_curCol))
        return 1;
    return ProcessKey(key);
}

void CEditGridController::OnEditKillFocus()
{
    if (!m_moving && !m_storing)
        StoreData(true);
}

void CEditGridController::OnListChoice(int value)
{
    if (m_data)
        m_data->SetElemI(m_editorRow, m_editorCol, value, 0);
}

void CEditGridController::OnOptionClick()
{
    if (m_view && m_view->OptionClick(m_curRow, m_curCol))
        Update(m_curRow, m_curCol);
}
