// Instruction-list mode of the PLC editor: the program as text in the IL view with an editing
// toolbar; leaving compiles the text back into the ladder document, and is refused while it fails.
#pragma once

#include "IlPrinter.h"

#include <uiext/ResizableDialog.h>
#include <uiext/ToolBarDlg.h>

class CILView;
class CLDLogicDoc;
class CLumoPlcCodeGen;
class CPlcProjectInfo;
class CPluginIntf;

class CDlgLumoPlcIL : public CResizableDialog
{
public:
    explicit CDlgLumoPlcIL(CWnd* parent = nullptr);

    CString m_strText;
    BYTE m_bReadOnly = 0;
    CLumoPlcCodeGen* m_pCodeGen = nullptr; // not owned
    CPluginIntf* m_pPluginIntf = nullptr;  // not owned
    CLDLogicDoc* m_pLogicDoc = nullptr;    // not owned
    CPlcProjectInfo* m_pProjectInfo = nullptr;

    // Compiles the view's text into the ladder document; false, after a message, when it fails.
    bool CheckAndLoad();
    CILView* GetView() const noexcept { return m_pView; }
    // Whether the text loaded back on leaving differs from the one shown at opening.
    bool IsTextChanged() const noexcept { return m_bTextChanged; }

protected:
    BOOL OnInitDialog() override;
    // Every way out passes the leave check.
    void OnOK() override;
    void OnCancel() override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnTimer(UINT_PTR id) override;
    // Help goes to the main PLC dialog, which shows it or says why not.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Forward(UINT id, UINT viewCommand, bool updateFromView);
    void Leave(int result);
    void ShowStop(const CString& text);

    CILView* m_pView = nullptr; // belongs to its window
    CToolBarDlg m_wndToolBar;
    CIlPrinter m_printer;
    bool m_bTextChanged = false;
};
