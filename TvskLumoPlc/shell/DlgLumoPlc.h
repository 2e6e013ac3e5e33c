// The PLC editor's main dialog: the ladder document and its view, the project information, the
// program kept in the host, instruction-list mode and the closing rules.
#pragma once

#include "PlcProjectInfo.h"

#include <ZoLumoPlcObj/LDLogicDoc.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

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

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;

private:
    void CreateView();
    void RestorePlacement();
    void SavePlacement();
    void OnNewCode();
    void OnProperties();
    void OnIlMode();
    void OnPrint(bool preview);
    void OnReadPlc();
    void OnWritePlc();
    void SwitchOnline();
    bool CanTransfer();
    bool BringDriveInLine();
    bool ComparePlc(bool& equal);
    bool ReadFromDrive();
    void CheckTerminated();
    void Close();
    int Ask(UINT id, UINT type);

    CToolBarDlg m_wndToolBar;
    CLDView* m_pView = nullptr; // belongs to its window
    CLDLogicDoc m_LogicDoc;
    CLumoPlcCodeGen m_CodeGen;
    CString m_strCaption;
    int m_bModified = 0;
    int m_nCodeLen = 0;
    int m_nCodeMax = kDefaultCapacity;
    BYTE m_bOnline = 0;
    CPlcProjectInfo m_ProjectInfo;
    int m_bILMode = 0;
    BYTE m_bLinkOwner = 0;
    BYTE m_bLinkState = 0;
};
