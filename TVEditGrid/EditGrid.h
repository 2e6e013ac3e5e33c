// The editable grid window: a table that edits one cell at a time in place, over its data and view
// interfaces.
#pragma once

#include "EditGridController.h"
#include "EditGridPaint.h"
#include "Enum.h"
#include "GridEditors.h"

#include <ui/HeaderCtrl.h>

#include <memory>
#include <vector>

class QScrollBar;

class CEditGrid : public CWnd
{
public:
    CEditGrid();
    ~CEditGrid() override;

    // Set-up, before Create
    void SetCols(const EG_COLUMN* cols, int count) { m_grid.SetCols(cols, count); }
    void AddMargin(int width, const char* title);
    void AddHeader();
    // Nonzero on success; a second call reports a broken invariant.
    int Create(CEditGridDataIntf* data, CWnd* parent);
    void SetDataIntf(CEditGridDataIntf* data) { m_grid.SetDataIntf(data); }
    CEditGridDataIntf* GetDataIntf() const { return m_grid.GetDataIntf(); }
    void SetViewIntf(CEditGridViewIntf* view) { m_grid.SetViewIntf(view); }

    // Lays the grid out for its current window size (the arguments are not used).
    void Size(int& width, int& height);
    void Move(int row, int col, int keepScroll = 0, int extend = 0)
    {
        m_grid.Move(row, col, keepScroll != 0, extend != 0);
    }
    void ChangePos(int row, int col, int rowChanged, int colChanged)
    {
        m_grid.ChangePos(row, col, rowChanged != 0, colChanged != 0);
    }
    void EditMode(int on, int store) { m_grid.EditMode(on != 0, store != 0); }
    int GetEditMode() const { return m_grid.GetEditMode() ? 1 : 0; }
    int IsEditing() const { return m_grid.IsEditing() ? 1 : 0; }
    // True for the in-cell controls and the header.
    BOOL IsWndChild(const CWnd* wnd) const;
    int InsertRows(int count) { return m_grid.InsertRows(count); }
    int DeleteRows(int count) { return m_grid.DeleteRows(count); }
    void ResetContent() { m_grid.ResetContent(false); }
    void Update(int row, int col, bool erase = true);
    int GetNumRows() const { return m_grid.GetNumRows(); }
    int GetNumCols() const { return m_grid.GetNumCols(); }
    int SelectedRow() const { return m_grid.SelectedRow(); }
    int SelectedCol() const { return m_grid.SelectedCol(); }
    void GetVisibleRows(int& first, int& last) const { m_grid.GetVisibleRows(first, last); }
    void GoTop(int extend = 0) { m_grid.GoTop(extend != 0); }
    void GoBottom(int extend = 0) { m_grid.GoBottom(extend != 0); }
    void PageUp(int extend = 0) { m_grid.PageUp(extend != 0); }
    void PageDown(int extend = 0) { m_grid.PageDown(extend != 0); }
    void LineUp(int extend = 0) { m_grid.LineUp(extend != 0); }
    void LineDown(int extend = 0) { m_grid.LineDown(extend != 0); }
    int ProcessKey(UINT key);
    void EnableSelection(bool enable) { m_grid.EnableSelection(enable); }
    bool IsEnabledSelection() const { return m_grid.IsEnabledSelection(); }
    void EnableMultiSelection() { m_grid.EnableMultiSelection(); }
    BOOL SetNumChar(int col, int limit) { return m_grid.SetNumChar(col, limit) ? TRUE : FALSE; }
    void SetColWidth(int col, int width) { m_grid.SetColWidth(col, width); }
    int GetColWidth(int col) const { return m_grid.GetColWidth(col); }
    int ShowCol(int col, int show) { return m_grid.ShowCol(col, show != 0); }
    const EG_COLUMN* GetColDefs(bool working) const { return m_grid.Layout().ColDefs(working); }
    // A cell's rectangle in client coordinates (right and bottom inclusive).
    CRect GetCellRect(int row, int col) const { return m_grid.Layout().GetCellRect(row, col); }
    // Clipboard operations of the open edit box; nothing without one.
    void CopyEditData();
    void CutEditData();
    void PasteEditData();

    // The open in-cell controls (null when closed), for owners that reach into them.
    CGridEditBox* GetEditBox() const { return m_edit.get(); }
    CGridComboBox* GetComboBox() const { return m_list.get(); }
    CGridOptionButton* GetOptionButton() const { return m_option.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnSetFocus(CWnd* oldWnd) override;

private:
    class WindowSurface;
    friend class WindowSurface;

    void ChooseFont();
    void CreateScrollBars();
    void PlaceScrollBars();
    void OnScrollAction(QScrollBar* bar, bool vertical, int action);
    void OnHeaderNotify(const NMHEADER& header);
    void RetireEditor(std::unique_ptr<CWnd> editor);

    std::unique_ptr<WindowSurface> m_surface;
    CEditGridController m_grid;
    CFont m_font;
    bool m_fontChosen = false;
    GridColours m_colours;
    CHeaderCtrl m_header;
    CStatic m_marginTitle;
    std::vector<std::unique_ptr<CStatic>> m_marginLines;
    std::unique_ptr<CGridEditBox> m_edit;
    std::unique_ptr<CGridComboBox> m_list;
    std::unique_ptr<CGridOptionButton> m_option;
    // Closed editors wait here until their own message handling has returned.
    std::vector<std::unique_ptr<CWnd>> m_retired;
    QScrollBar* m_hBar = nullptr;
    QScrollBar* m_vBar = nullptr;
    GridScrollBar m_hState;
    GridScrollBar m_vState;
};
