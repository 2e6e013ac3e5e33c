// The cam editor dialog: one cam's points in a grid beside their graph, with the drive transfers.
#pragma once

#include <TvskCamEditor/ui/FuncTracerView.h>
#include <TvskCamEditor/ui/IconButton.h>
#include <TvskCamEditor/ui/TabIntf.h>

#include <TVEditGrid/EditGrid.h>
#include <uiext/ResizableDialog.h>
#include <uiext/ToolBarDlg.h>

class CPluginIntf;

class CDlgCamEdit : public CResizableDialog, private CCamTableObserver
{
public:
    // cam: the cam asked for (-1 or not listed: the first the drive type lists).
    CDlgCamEdit(CPluginIntf* host, int cam, CWnd* parent = nullptr);

    int GetCam() const noexcept { return m_nCam; }
    bool IsModifiedMarker() const noexcept { return m_bModified; }
    CTabIntf& GetTable() noexcept { return m_Tab; }
    CFuncTracerView& GetGraph() noexcept { return m_Graph; }
    CEditGrid& GetGrid() noexcept { return m_Grid; }
    CToolBarDlg& GetToolBar() noexcept { return m_ToolBar; }

    // Commands, as the toolbar and controls send them.
    void OnStore();
    void OnReadDrive();
    void OnWriteDrive();
    void OnFill();
    void OnCamChange();
    void OnApplyKind();
    void OnCubic();
    void OnReset();
    void OnRowsChanged();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;

private:
    void OnCamChanged() override;

    CString String(UINT id) const;
    int Box(UINT id, UINT type) const;
    // How far a transfer the user cancelled got: the format filled with the points done of all.
    void TellCancelled(UINT formatId, int done, int total);
    bool HostCheck(int line) const;
    void MapCommands();
    void FillCombos();
    bool AskToSave(); // false: the user cancelled
    bool CanClose();  // asks about unsaved changes; false keeps the dialog
    void SetModifiedMarker(bool modified);
    void RepaintAll();
    void Layout();
    CRect SplitterBand() const;
    CRect WorkArea() const;

    CPluginIntf* m_pHost; // not owned
    int m_nCam;
    int m_nAskedCam;
    CTabIntf m_Tab;
    CEditGrid m_Grid;
    CFuncTracerView m_Graph;
    CToolBarDlg m_ToolBar;
    CIconButton m_FillButton;
    CIconButton m_ImageButton;
    CString m_strCaption;
    bool m_bModified = false;
    bool m_bKindApplied = false;
    double m_dSplit = 0.6; // share of the work area the graph takes
    bool m_bSplitting = false;
};
