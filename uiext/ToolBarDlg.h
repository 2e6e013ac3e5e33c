// A toolbar inside a dialog that can carry one combo box or edit field in place of a button.
#pragma once

#include <ui/Controls.h>
#include <ui/Gdi.h>
#include <ui/ToolBar.h>

class CToolBarDlg : public CToolBar
{
public:
    CToolBarDlg();
    ~CToolBarDlg() override;

    // Put the control over the button with that command id; 0 when there is no such button or
    // the control cannot be created.
    int CreateComboBox(UINT id, int width, int dropHeight);
    int CreateEditBox(UINT id, int width);
    CComboBox* GetComboBox();

protected:
    // Commands of the toolbar's controls go to the parent first.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CRect MakeRoomFor(UINT id, int width, int& index);
    void TakeFont(CWnd& control);

    CComboBox m_wndCombo;
    CEdit m_wndEdit;
    CFont m_font;
};
