// The PLC editor's main dialog: the ladder document and its view, the project information, the
// program kept in the host, instruction-list mode and the closing rules.
#pragma once

#include "LDPrinter.h"
#include "PlcOperandDialogs.h"
#include "PlcProjectInfo.h"

#include <ZoLumoPlcObj/LDLogicDoc.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/ui/TriggerState.h>

#include <uiext/ResizableDialog.h>
#include <uiext/ToolBarDlg.h>

class CLDView;
class CPluginIntf;

class CDlgLumoPlc : public CResizableDialog
{
public:
    static constexpr int kDefaultCapacity = 128;

    explicit CDlgLumoPlc(CWnd* parent = nullptr);

    CPluginIntf* m_pPluginIntf = nullptr; // not owned

    // Writes the program into the host; false after message 12821.
    bool StoreProgram();
    void RebuildView();
    bool CanClose();
    // Connects (true) or disconnects the drive when the dialog owns the link; true when the wish is met.
    bool SetOnline(bool wanted);
    CLDView* GetView() const noexcept { return m_pView; }
    CLDLogicDoc& GetLogicDoc() noexcept { return m_LogicDoc; }
    CPlcProjectInfo& GetProjectInfo() noexcept { return m_ProjectInfo; }
    bool IsModified() const noexcept { return m_bModified != 0; }
    void SetModified(bool modified);
    bool IsOnline() const noexcept { return m_bOnline != 0; }
    int GetCodeLen() const noexcept { return m_nCodeLen; }
    CTriggerState& GetStateCell() noexcept { return m_wndState; }
    CToolBarDlg& GetMainToolBar() noexcept { return m_wndToolBar; }
    CToolBarDlg& GetInstrToolBar() noexcept { return m_wndInstrBar; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Keys go on to the windows without the dialog's own navigation; Delete also posts 12817.
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    void CreateToolBars();
    bool CreateStateCell();
    void UpdateStateCell();
    void MapEditCommands();
    void CreateView();
    void RestorePlacement();
    void SavePlacement();
    void OnNewCode();
    void OnProperties();
    void OnIlMode();
    void AddPreviewToSystemMenu();
    void OnPrint(bool preview);
    void OnReadPlc();
    void OnWritePlc();
    void SwitchOnline();
    bool CanTransfer();
    bool BringDriveInLine();
    bool ComparePlc(bool& equal);
    bool ReadFromDrive();
    // The host's text of the failure when it left one, else the editor's own text of id.
    void ShowDriveFailure(UINT ownId);
    void CheckTerminated();
    void ShowHelp();
    void Close();
    int Ask(UINT id, UINT type);

    // Editing the ladder document (DlgLumoPlcEdit.cpp).
    bool FindCurrentNet();
    bool FindSelectedElement();
    void ShowSelectedElement();
    bool CanEditNet() const;
    bool HasCurrentNetwork() const;
    // Number the next new net gets, and the net inserted there.
    int NewNetPosition() const;
    int InsertNewNet();
    void OnLoad(bool negated);
    void OnSeries(int type, const char* mnemonic, bool negated);
    void OnParallel(bool negated);
    void OnOutput(const char* mnemonic, bool negated, bool needsElement);
    void OnFin();
    void OnDelete();
    void OnComment();
    // Takes the new element as the net's selection; then the code length, the view and the mark.
    void AfterInsert(CLDLogicNet* net, int number, int id, const char* mnemonic);

    CToolBarDlg m_wndToolBar;
    CToolBarDlg m_wndInstrBar;
    CFont m_InstrFont;          // small enough for "ANDN" under a 34-pixel button
    CLDView* m_pView = nullptr; // belongs to its window
    CLDLogicDoc m_LogicDoc;
    CLDLogicNet* m_pCurNet = nullptr; // in m_LogicDoc
    BYTE m_bNetSelected = 0;
    BYTE m_bCommentSelected = 0;
    int m_nCurNet = -1;
    int m_nInsertBefore = 0;
    CLumoPlcCodeGen m_CodeGen;
    CString m_strCaption;
    int m_bModified = 0;
    int m_nCodeLen = 0;
    int m_nCodeMax = kDefaultCapacity;
    BYTE m_bOnline = 0;
    TRIG_STATE m_States[3] = {
        {"OFF LINE", RGB(0, 192, 0), RGB(255, 255, 255), 0},
        {"ON LINE", RGB(0, 0, 192), RGB(255, 255, 255), 0},
        {"DATA ?", RGB(255, 255, 0), RGB(0, 0, 0), 0},
    };
    CTriggerState m_wndState;
    CPlcProjectInfo m_ProjectInfo;
    int m_bILMode = 0;
    BYTE m_bLinkOwner = 0;
    BYTE m_bLinkState = 0;
    CPlcOperandDialogs m_OperandDialogs;
    CLDPrinter m_Printer; // the view prints through it
};
