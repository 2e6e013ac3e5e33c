// The "Download" tool window: the parameter list above, the monitor below, and the drive commands.
#pragma once

#include <TvskDownload/ui/DownloadSplitter.h>
#include <TvskDownload/ui/MonitorTask.h>
#include <TvskDownload/ui/ParIntf.h>

#include <TVEditGrid/EditGrid.h>
#include <ui/Controls.h>
#include <uiext/ToolBarDlg.h>
#include <uiext/ToolWnd.h>
#include <uiext/Wait.h>

#include <memory>

class CPluginIntf;

class CDownloadWnd : public CToolWnd
{
public:
    CDownloadWnd();
    ~CDownloadWnd() override;

    void SetHost(CPluginIntf* host);
    // Creates the window at its remembered place ("Settings", "DownloadWin").
    BOOL CreateWindowAt();
    void SetVisibleState(bool visible);

    // Commands, as the toolbar sends them.
    void OnReadSelected();
    void OnWriteSelected();
    void OnReadAll();
    void OnWriteAll();
    void OnDriveCommand(const char* word);
    void OnMonitorAdd();
    void OnMonitorRemove();
    void OnShowFormat();
    void OnTmpAdd();
    void OnTmpRemove();
    void OnSaveMonitor();
    void OnMenuChange();
    void ToggleOnline() { m_bOnline = !m_bOnline; }

    // Adds a monitor entry; asking the host first unless it already holds it.
    bool AddMonitorEntry(const char* name, bool askHost);
    bool IsOnline() const noexcept { return m_bOnline; }
    bool IsShowFormat() const noexcept { return m_bShowFormat; }
    CParIntf& Pars() noexcept { return m_Pars; }
    CMonitorIntf& Monitor() noexcept { return m_Monitor; }
    CMonitorTask* Task() const noexcept { return m_pTask.get(); }
    CEditGrid& ParGrid() noexcept { return m_ParGrid; }
    CEditGrid& MonitorGrid() noexcept { return m_MonitorGrid; }
    CSplitterBar& Splitter() noexcept { return m_Splitter; }
    CToolBarDlg& ToolBar() noexcept { return m_ToolBar; }
    // The grid that has the selection (the parameter grid at start).
    CParListIntf* Selected() const noexcept { return m_pSelected; }
    void Select(CParListIntf* list);
    // Keys of the window and its grids go to the selected grid; Delete in the monitor first removes
    // the entry.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnHelpInfo(HELPINFO* info) override;

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTimer(UINT_PTR id) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnDestroy() override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnClose() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MapCommands();
    // Hides the window and ends exclusive mode.
    void Hide();
    void FillMenuCombo();
    void Layout();
    void PlaceGridsAndCaptions();
    static void FitDescriptionColumn(CEditGrid& grid);
    void ReadRow(int row);
    void ShowHostError();
    void RefreshMonitorValues();
    // The parameter grid takes as many rows as the host lists.
    void ResyncParRows();
    bool Connected() const;
    bool Exclusive() const;
    int SelectedParRow() const;

    CPluginIntf* m_pHost = nullptr; // not owned
    bool m_bOnline = false;
    CDownloadSplitter m_Splitter{this};
    CEditGrid m_ParGrid;
    CEditGrid m_MonitorGrid;
    CToolBarDlg m_ToolBar;
    CStatic m_ParCaption;
    CStatic m_MonitorCaption;
    CParIntf m_Pars;
    CMonitorIntf m_Monitor;
    std::unique_ptr<CDropTargetImpl> m_pDropTarget;
    std::unique_ptr<CMonitorTask> m_pTask;
    bool m_bSavePlc = false;
    bool m_bSaveCam = false;
    bool m_bShowFormat = false;
    bool m_bSaveMonitor = false;
    short m_nLastMode = -1;
    CWait m_Wait;
    CParListIntf* m_pSelected = nullptr;
};
