// The editable grid's behaviour without pixels: cursor, edit mode, editors, keys, mouse, header actions,
// rows.
#pragma once

#include "EditGridDataIntf.h"
#include "EditGridLayout.h"
#include "EditGridSurface.h"
#include "EditGridViewIntf.h"

#include <framework/Array.h>

class CEditGridController
{
public:
    explicit CEditGridController(CEditGridSurface& surface);
    CEditGridController(const CEditGridController&) = delete;
    CEditGridController& operator=(const CEditGridController&) = delete;

    // Set-up
    void SetCols(const EG_COLUMN* cols, int count);
    void AddMargin(int width, const char* title);
    void AddHeader() { m_layout.SetHeader(true); }
    const char* GetMarginTitle() const { return m_marginTitle; }
    bool HasMargin() const { return m_margin; }
    // False (and a broken invariant reported) on a second call.
    bool Create(CEditGridDataIntf* data);
    bool IsCreated() const { return m_created; }
    void SetDataIntf(CEditGridDataIntf* data) { m_data = data; }
    CEditGridDataIntf* GetDataIntf() const { return m_data; }
    void SetViewIntf(CEditGridViewIntf* view) { m_view = view; }
    CEditGridViewIntf* GetViewIntf() const { return m_view; }
    CEditGridLayout& Layout() { return m_layout; }
    const CEditGridLayout& Layout() const { return m_layout; }
    const CString& GetTitle(int col) const { return m_titles[col]; }

    // The window's client size changed (or the owner asks for a new layout).
    void Size(int width, int height);

    // The cursor
    void Move(int row, int col, bool keepScroll, bool extend);
    void ChangePos(int row, int col, bool rowChanged, bool colChanged);
    void EditMode(bool on, bool store);
    bool GetEditMode() const { return m_editMode; }
    bool IsEditing() const { return m_editOpen || m_listOpen || m_optionOpen; }
    void StoreData(bool store);
    int SelectedRow() const { return m_curRow; }
    int SelectedCol() const { return m_curCol; }
    void GetVisibleRows(int& first, int& last) const;
    void GoTop(bool extend);
    void GoBottom(bool extend);
    void PageUp(bool extend);
    void PageDown(bool extend);
    void LineUp(bool extend) { Move(m_curRow - 1, m_curCol, false, extend); }
    void LineDown(bool extend) { Move(m_curRow + 1, m_curCol, false, extend); }
    // 1 when handled; Shift and Control are read from the key states.
    int ProcessKey(UINT key);
    // The next column right (or left) of the current one that may open an editor; the current one when none.
    int NextEditableCol(bool left) const;

    // Rows and columns
    int InsertRows(int count);
    int DeleteRows(int count);
    void ResetContent(bool destroying);
    int GetNumRows() const { return m_layout.Rows(); }
    int GetNumCols() const { return m_layout.GetNumCols(); }
    bool SetNumChar(int col, int limit);
    void SetColWidth(int col, int width);
    int GetColWidth(int col) const { return m_layout.IsCol(col) ? m_layout.Col(col).width : 0; }
    int ShowCol(int col, bool show);
    void Update(int row, int col);

    // Selection
    void EnableSelection(bool enable);
    bool IsEnabledSelection() const { return m_selectionEnabled; }
    void EnableMultiSelection();
    bool IsMultiSelection() const { return m_multiSelection; }
    bool IsRowSelected(int row) const;

    // Scrolling
    void MoveRows(int firstRow);
    void MoveCols(int firstCol);
    void OnVScroll(UINT code, int pos);
    void OnHScroll(UINT code, int pos);
    void OnMouseWheel(int delta);

    // Mouse (client points; flags as in mouse messages)
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(CPoint point);
    void OnLButtonDblClk(CPoint point);
    void OnContextMenu(CPoint clientPoint, CPoint screenPoint);

    // Header notifications for the header item at index
    void OnHeaderClick(int item);
    void OnHeaderTrack(int item, int width);
    void OnHeaderEndTrack(int item, int width);

    // What the in-cell controls report
    int OnEditorKey(UINT key);
    void OnEditKillFocus();
    void OnListChoice(int value);
    void OnOptionClick();

    // Kind of a cell, for painting and editing.
    int CellKind(int row, int col) const;
    CEditGridDataIntf* Data() const { return m_data; }
    CEditGridViewIntf* View() const { return m_view; }

private:
    bool IsCellEditable(int row, int col) const;
    void EditCell(int row, int col);
    GridEditorRects EditorRects() const;
    void PlaceEditors();
    void ScrollIntoView(int row, int col);
    void ClearSelections(int keepRow);
    void InvalidateRow(int row);
    void Recalc();
    void RefreshScrollBars();
    void RefreshHeader();
    void RedrawMargin();
    void SelectRowsBetween(int from, int to);
    bool IsCellInside(const GridCell& cell) const;
    void CloseAllEditors();

    CEditGridSurface& m_surface;
    CEditGridLayout m_layout;
    CEditGridDataIntf* m_data = nullptr;
    CEditGridViewIntf* m_view = nullptr;
    CStringArray m_titles;
    bool m_created = false;
    bool m_margin = false;
    const char* m_marginTitle = nullptr;
    int m_width = 0;
    int m_height = 0;

    int m_curRow = 0;
    int m_curCol = 0;
    bool m_editMode = false;
    bool m_forceMove = false; // the next Move runs even on the current cell
    bool m_storing = false;
    bool m_moving = false;
    bool m_selectionEnabled = true;
    bool m_multiSelection = false;

    // Open in-cell controls and the cell they edit
    bool m_editOpen = false;
    bool m_listOpen = false;
    bool m_optionOpen = false;
    int m_editorKind = EG_EDIT;
    int m_editorRow = 0;
    int m_editorCol = 0;

    // A drag armed by a button press
    bool m_dragPending = false;
    int m_dragRow = 0;
    int m_dragCol = 0;
    CRect m_dragStart;
};
