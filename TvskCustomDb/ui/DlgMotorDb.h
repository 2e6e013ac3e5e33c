// The dialog of the user's motor database: a grid of the records with add, delete and save.
#pragma once

#include <TvskCustomDb/ui/DbIntf.h>

#include <TVEditGrid/EditGrid.h>
#include <uiext/ResizableDialog.h>
#include <uiext/ToolBarDlg.h>

#include <memory>

class CPluginIntf;

class CDlgMotorDb : public CResizableDialog
{
public:
    explicit CDlgMotorDb(CPluginIntf* host, CWnd* parent = nullptr);

    // True when the records were saved while the dialog ran.
    bool WasSaved() const noexcept { return m_bSaved; }
    CDbIntf& GetData() noexcept { return m_Data; }
    CEditGrid* GetGrid() noexcept { return m_pGrid.get(); }

    void OnAdd();
    void OnDelete();
    void OnSave();

protected:
    BOOL OnInitDialog() override;
    // Keys reach the grid first: a key the grid handles goes no further.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The wheel anywhere in the dialog scrolls the grid.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    void OnOK() override;
    void OnCancel() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTimer(UINT_PTR id) override;

private:
    bool CanClose();
    void Layout();
    void FitColumnsToTitles();
    void UpdateCaption();

    CPluginIntf* m_pHost; // not owned
    CDbIntf m_Data;
    std::unique_ptr<CEditGrid> m_pGrid;
    CToolBarDlg m_ToolBar;
    bool m_bSaved = false;
};
