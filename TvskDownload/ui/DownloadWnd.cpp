// The download tool window.
#include <TvskDownload/ui/DownloadWnd.h>

#include <TvskDownload/ui/DlgInsertPar.h>
#include <TvskDownload/ui/DownloadIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <registry/Profile.h>
#include <ui/App.h>
#include <ui/Dialog.h>
#include <ui/MessageBox.h>
#include <ui/SystemMenu.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace
{
constexpr int kToolBarHeight = 30;
// F1: the program help's topic of this window (host command 50 with its context id).
constexpr UINT kHostHelp = 50;
constexpr long kHelpContext = 1007;
constexpr int kCaptionHeight = 20;
constexpr UINT_PTR kToolbarTimer = 1;
constexpr UINT_PTR kOnlineTimer = 4;
constexpr int kColumns = 4;
constexpr int kDescriptionColumn = 1;
constexpr int kFormatColumn = 3;
constexpr int kMarginWidth = 30;
constexpr UINT kTitleString = 2006;
constexpr const char* kSettings = "Settings";
constexpr const char* kPlacementKey = "DownloadWin";
constexpr int kAllMenus = 0;

long Text(const char* text)
{
    return static_cast<long>(reinterpret_cast<intptr_t>(text));
}

// The place of a first opening.
const CRect kDefaultRect(10, 10, 300, 300);

// The remembered rectangle, when it is 16 bytes and lies on the screen.
std::optional<CRect> RememberedRect()
{
    LPBYTE data = nullptr;
    UINT bytes = 0;
    if (!CProfile::Instance().GetProfileBinary(kSettings, kPlacementKey, &data, &bytes))
        return std::nullopt;
    CRect rect;
    if (bytes == sizeof(RECT))
        std::memcpy(static_cast<RECT*>(&rect), data, sizeof(RECT));
    delete[] data;
    const CRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CRect visible;
    if (bytes != sizeof(RECT) || rect.IsRectEmpty() || !visible.IntersectRect(rect, screen))
        return std::nullopt;
    return rect;
}
} // namespace

CDownloadWnd::CDownloadWnd()
{
    DownloadString(nullptr, 0); // registers the module's strings and layouts
    m_pSelected = &m_Pars;
    m_Pars.SetShowFormat(&m_bShowFormat);
    m_Monitor.SetShowFormat(&m_bShowFormat);
    m_Pars.SetOnSelect([this](CParListIntf* list) { Select(list); });
    m_Monitor.SetOnSelect([this](CParListIntf* list) { Select(list); });
    m_Monitor.SetOnDropRow(
        [this](int row)
        {
            if (m_pHost && m_pHost->AddMonitorParAt(row))
                AddMonitorEntry(m_Pars.Field(row, FIELD_NAME), false);
        });
    MapCommands();
}

CDownloadWnd::~CDownloadWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CDownloadWnd::SetHost(CPluginIntf* host)
{
    m_pHost = host;
    m_Pars.SetHost(host);
    m_Monitor.SetHost(host);
    if (m_pTask)
        m_pTask->SetHost(host);
}

bool CDownloadWnd::Connected() const
{
    return m_pHost && m_pHost->IsConnected();
}

bool CDownloadWnd::Exclusive() const
{
    return m_pHost && m_pHost->IsExclusiveMode();
}

int CDownloadWnd::SelectedParRow() const
{
    return m_pSelected == &m_Pars && m_ParGrid.GetSafeHwnd() ? m_ParGrid.SelectedRow() : -1;
}

void CDownloadWnd::MapCommands()
{
    MapCommand(ID_DL_READ, [this] { OnReadSelected(); });
    MapCommand(ID_DL_WRITE, [this] { OnWriteSelected(); });
    MapCommand(ID_DL_READ_ALL, [this] { OnReadAll(); });
    MapCommand(ID_DL_WRITE_ALL, [this] { OnWriteAll(); });
    MapCommand(ID_DL_SAVE, [this] { OnDriveCommand("Save"); });
    MapCommand(ID_DL_RESET, [this] { OnDriveCommand("Reset"); });
    MapCommand(ID_DL_ONLINE, [this] { ToggleOnline(); });
    MapCommand(ID_DL_MONITOR_ADD, [this] { OnMonitorAdd(); });
    MapCommand(ID_DL_MONITOR_REMOVE, [this] { OnMonitorRemove(); });
    MapCommand(ID_DL_SHOW_FORMAT, [this] { OnShowFormat(); });
    MapCommand(ID_DL_TMP_ADD, [this] { OnTmpAdd(); });
    MapCommand(ID_DL_TMP_REMOVE, [this] { OnTmpRemove(); });
    MapCommand(ID_DL_SAVE_MONITOR, [this] { OnSaveMonitor(); });
    MapCommand(ID_DL_SAVE_PLC, [this] { m_bSavePlc = !m_bSavePlc; });
    MapCommand(ID_DL_SAVE_CAM, [this] { m_bSaveCam = !m_bSaveCam; });
    MapCommand(
        IDC_DL_MENU, [this] { OnMenuChange(); }, CBN_SELCHANGE);

    const auto driveCommand = [this](CCmdUI* ui) { ui->Enable(Connected() && Exclusive()); };
    MapUpdateCommandUI(ID_DL_READ, [this](CCmdUI* ui)
                       { ui->Enable(SelectedParRow() >= 0 && Connected() && Exclusive()); });
    MapUpdateCommandUI(ID_DL_WRITE, [this](CCmdUI* ui)
                       { ui->Enable(SelectedParRow() >= 0 && Connected() && Exclusive()); });
    MapUpdateCommandUI(ID_DL_READ_ALL, driveCommand);
    MapUpdateCommandUI(ID_DL_WRITE_ALL, driveCommand);
    MapUpdateCommandUI(ID_DL_SAVE, driveCommand);
    MapUpdateCommandUI(ID_DL_RESET, driveCommand);
    MapUpdateCommandUI(ID_DL_ONLINE,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(Connected());
                           ui->SetCheck(m_bOnline ? 1 : 0);
                       });
    MapUpdateCommandUI(ID_DL_MONITOR_ADD, [this](CCmdUI* ui) { ui->Enable(SelectedParRow() >= 0); });
    MapUpdateCommandUI(
        ID_DL_MONITOR_REMOVE, [this](CCmdUI* ui)
        { ui->Enable(m_pSelected == &m_Monitor && m_pHost && m_pHost->GetMonitorParNum() > 0); });
    MapUpdateCommandUI(ID_DL_SHOW_FORMAT,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(!m_ParGrid.GetSafeHwnd() || !m_ParGrid.IsEditing());
                           ui->SetCheck(m_bShowFormat ? 1 : 0);
                       });
    MapUpdateCommandUI(ID_DL_TMP_ADD, [](CCmdUI* ui) { ui->Enable(TRUE); });
    MapUpdateCommandUI(IDC_DL_MENU, [](CCmdUI* ui) { ui->Enable(TRUE); });
    MapUpdateCommandUI(ID_DL_TMP_REMOVE,
                       [this](CCmdUI* ui)
                       {
                           const int row = SelectedParRow();
                           ui->Enable(row >= 0 && m_Pars.Field(row, FIELD_TEMPORARY) != "0");
                       });
    MapUpdateCommandUI(ID_DL_SAVE_MONITOR, [this](CCmdUI* ui) { ui->SetCheck(m_bSaveMonitor ? 1 : 0); });
}

BOOL CDownloadWnd::CreateWindowAt()
{
    return Create("Download", RememberedRect().value_or(kDefaultRect), nullptr, 0, Exclusive() ? 1 : 0);
}

void CDownloadWnd::SetVisibleState(bool visible)
{
    m_bVisible = visible ? 1 : 0;
    if (m_pTask)
        m_pTask->SetVisible(visible);
}

int CDownloadWnd::OnCreate(CREATESTRUCT* createStruct)
{
    if (CToolWnd::OnCreate(createStruct) == -1)
        return -1;
    const CRect empty(0, 0, 10, 10);
    m_Splitter.SetTopOffset(kToolBarHeight);
    m_Splitter.Create(WS_CHILD | WS_VISIBLE, empty, this, IDC_DL_SPLITTER);
    m_ParCaption.Create(DownloadString(m_pHost, IDS_DL_PAR_LIST), WS_CHILD | WS_VISIBLE, empty, this);
    m_MonitorCaption.Create(DownloadString(m_pHost, IDS_DL_MON_LIST), WS_CHILD | WS_VISIBLE, empty, this);
    m_ParCaption.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    m_MonitorCaption.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    if (m_ToolBar.CreateEx(this) && m_ToolBar.LoadToolBar(IDR_DOWNLOAD_TOOLBAR))
    {
        m_ToolBar.CreateComboBox(IDC_DL_MENU, 120, 80);
        for (int i = 0; i < m_ToolBar.GetCount(); ++i)
            if (const UINT id = m_ToolBar.GetItemID(i); id != ID_SEPARATOR)
                m_ToolBar.SetButtonToolTip(i, DownloadString(m_pHost, id));
    }

    for (auto [grid, list, monitor] :
         {std::tuple{&m_ParGrid, static_cast<CParListIntf*>(&m_Pars), false},
          std::tuple{&m_MonitorGrid, static_cast<CParListIntf*>(&m_Monitor), true}})
    {
        grid->SetDataIntf(list);
        grid->SetViewIntf(list);
        grid->SetCols(CParListIntf::Columns(monitor), kColumns);
        grid->AddMargin(kMarginWidth, "");
        grid->AddHeader();
        grid->Create(list, this);
        grid->ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        grid->EditMode(1, 0);
        grid->ShowCol(kFormatColumn, 0);
        list->SetGrid(grid);
    }
    m_ParGrid.EnableSelection(true);
    m_MonitorGrid.EnableSelection(false);
    m_Splitter.SetPanes(&m_ParGrid, &m_MonitorGrid);

    if (m_pHost)
    {
        if (Exclusive())
            ModifyStyleEx(0, WS_EX_TOPMOST);
        SetWindowText(DownloadString(m_pHost, kTitleString));
        m_ParGrid.InsertRows(m_pHost->GetParNum());
        for (int i = 0; i < m_pHost->GetMonitorParNum(); ++i)
        {
            CString name;
            m_pHost->GetMonitorParField(i, FIELD_NAME, name);
            AddMonitorEntry(name, false);
        }
        FillMenuCombo();
        // The list shown is the host's for this mode: the first activation re-applies nothing.
        short mode = -1;
        m_nLastMode = m_pHost->GetOpMode(&mode) ? mode : -1;
    }
    SetTimer(kToolbarTimer, 100);
    SetTimer(kOnlineTimer, 500);
    m_pDropTarget = std::make_unique<CDropTargetImpl>(&m_MonitorGrid, &m_Monitor);
    m_pDropTarget->AddFormat(m_Monitor.GetFormat());
    m_pDropTarget->Register(&m_MonitorGrid);
    if (m_pHost)
        m_pHost->SendCommand(HOSTCMD_SORTPARS, 0, 0);
    Layout();
    Invalidate();
    return 0;
}

void CDownloadWnd::FillMenuCombo()
{
    CComboBox* combo = m_ToolBar.GetComboBox();
    int count = 0;
    if (!combo || !m_pHost || !m_pHost->GetMenusNum(&count))
        return;
    int current = -1;
    m_pHost->GetCurrMenuID(&current);
    combo->ResetContent();
    bool allListed = false;
    for (int i = 0; i < count; ++i)
    {
        int id = 0;
        CString name;
        if (!m_pHost->GetMenu(i, &id, name))
            continue;
        const int item = combo->AddString(name);
        combo->SetItemData(item, static_cast<DWORD_PTR>(id));
        allListed = allListed || id == kAllMenus;
    }
    // Menu 0 lists the parameters of every menu, as the host shows them at first.
    if (!allListed)
        combo->SetItemData(combo->InsertString(0, DownloadString(m_pHost, IDS_DL_ALL_MENUS)),
                           static_cast<DWORD_PTR>(kAllMenus));
    // Only shown: a selection made here would change the host's menu.
    for (int item = 0; item < combo->GetCount(); ++item)
        if (static_cast<int>(combo->GetItemData(item)) == current)
            combo->SetCurSel(item);
}

void CDownloadWnd::OnMenuChange()
{
    CComboBox* combo = m_ToolBar.GetComboBox();
    if (!combo || combo->GetCurSel() < 0 || !m_pHost)
        return;
    int current = -1;
    m_pHost->GetCurrMenuID(&current);
    const int chosen = static_cast<int>(combo->GetItemData(combo->GetCurSel()));
    if (chosen != current && m_pHost->SetMenu(chosen))
        PostMessage(WM_DL_MENU_CHANGED);
}

void CDownloadWnd::Layout()
{
    CRect client;
    GetClientRect(&client);
    if (m_ToolBar.GetSafeHwnd())
        m_ToolBar.MoveWindow(0, 0, client.Width(), kToolBarHeight);
    if (m_Splitter.GetSafeHwnd())
        m_Splitter.Size();
    PlaceGridsAndCaptions();
}

void CDownloadWnd::PlaceGridsAndCaptions()
{
    for (auto [grid, caption] :
         {std::pair{&m_ParGrid, &m_ParCaption}, std::pair{&m_MonitorGrid, &m_MonitorCaption}})
    {
        if (!grid->GetSafeHwnd() || !caption->GetSafeHwnd())
            continue;
        CRect rect;
        grid->GetWindowRect(&rect);
        ScreenToClient(&rect);
        caption->MoveWindow(rect.left, rect.top, rect.Width(), kCaptionHeight);
        grid->MoveWindow(rect.left, rect.top + kCaptionHeight, rect.Width(),
                         std::max(1, static_cast<int>(rect.Height()) - kCaptionHeight));
        FitDescriptionColumn(*grid);
    }
}

// The description column takes what the other columns leave of the grid's width (never less than
// its own width), so the grid follows the window's size.
void CDownloadWnd::FitDescriptionColumn(CEditGrid& grid)
{
    CRect client;
    grid.GetClientRect(&client);
    int others = kMarginWidth + GetSystemMetrics(SM_CXVSCROLL);
    for (int col = 0; col < kColumns; ++col)
        if (col != kDescriptionColumn)
            others += grid.GetColWidth(col);
    const int least = CParListIntf::Columns(false)[kDescriptionColumn].width;
    grid.SetColWidth(kDescriptionColumn, std::max(least, static_cast<int>(client.Width()) - others));
}

void CDownloadWnd::OnSize(UINT type, int cx, int cy)
{
    CToolWnd::OnSize(type, cx, cy);
    Layout();
}

LRESULT CDownloadWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_DL_MONITOR:
        if (wParam && m_pTask)
            RefreshMonitorValues();
        return 0;
    case WM_DL_MENU_CHANGED:
        ResyncParRows();
        return 1;
    case WM_SPLITTER_MOVED:
        PlaceGridsAndCaptions();
        m_ParGrid.UpdateWindow();
        return 0;
    case WM_MOUSEWHEEL:
    {
        CEditGrid& grid = m_pSelected == &m_Monitor ? m_MonitorGrid : m_ParGrid;
        return grid.GetSafeHwnd() ? grid.SendMessage(WM_MOUSEWHEEL, wParam, lParam) : 0;
    }
    default:
        return CToolWnd::WindowProc(message, wParam, lParam);
    }
}

void CDownloadWnd::ResyncParRows()
{
    if (!m_pHost || !m_ParGrid.GetSafeHwnd())
        return;
    const int rows = m_pHost->GetParNum();
    if (rows > m_ParGrid.GetNumRows())
        m_ParGrid.InsertRows(rows - m_ParGrid.GetNumRows());
    else if (rows < m_ParGrid.GetNumRows())
        m_ParGrid.DeleteRows(m_ParGrid.GetNumRows() - rows);
    m_ParGrid.Invalidate(FALSE);
}

void CDownloadWnd::RefreshMonitorValues()
{
    for (int row = 0; row < m_MonitorGrid.GetNumRows(); ++row)
        m_MonitorGrid.Update(row, 2, false);
}

void CDownloadWnd::OnTimer(UINT_PTR id)
{
    if (id == kToolbarTimer)
    {
        if (m_ToolBar.GetSafeHwnd())
            m_ToolBar.OnUpdateCmdUI(this, TRUE);
        return;
    }
    if (id != kOnlineTimer || !m_bOnline || !m_pHost)
        return;
    int first = 0;
    int last = -1;
    m_ParGrid.GetVisibleRows(first, last);
    for (int row = first; row <= last && m_bOnline; ++row)
    {
        CString name = m_Pars.Field(row, FIELD_NAME);
        if (m_pHost->SendCommand(HOSTCMD_READPAR, Text(name), 0) != 0)
        {
            m_bOnline = false; // one box, and no more reads until the engineer asks again
            ShowHostError();
            return;
        }
        m_ParGrid.Update(row, 2, false);
    }
}

void CDownloadWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CToolWnd::OnActivate(state, other, minimized);
    short mode = -1;
    if (!m_pHost || !m_pHost->GetOpMode(&mode))
        return;
    CComboBox* combo = m_ToolBar.GetComboBox();
    if (mode != m_nLastMode && combo && combo->GetCurSel() >= 0)
    {
        m_nLastMode = mode;
        int current = -1;
        if (m_pHost->GetCurrMenuID(&current) && m_pHost->SetMenu(current))
        {
            PostMessage(WM_DL_MENU_CHANGED);
            return;
        }
    }
    m_nLastMode = mode;
    PostMessage(WM_COMMAND, MAKEWPARAM(IDC_DL_MENU, CBN_SELCHANGE), 0);
}

void CDownloadWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) != SC_CLOSE)
    {
        CToolWnd::OnSysCommand(id, lParam);
        return;
    }
    Hide();
}

// The close box closes as the system menu does: the window hides and exclusive mode ends.
void CDownloadWnd::OnClose()
{
    Hide();
}

void CDownloadWnd::Hide()
{
    ShowWindow(SW_HIDE);
    SetVisibleState(false);
    if (m_pHost)
        m_pHost->SendCommand(HOSTCMD_SETEXCLUSIVE, 0, 0);
}

void CDownloadWnd::OnDestroy()
{
    // Destroyed while shown (its owner ends): the mode it set ends with it.
    if (m_bVisible && Exclusive())
        m_pHost->SendCommand(17, 0, 0);
    KillTimer(kToolbarTimer);
    KillTimer(kOnlineTimer);
    m_pTask.reset();
    CRect rect;
    GetWindowRect(&rect);
    CProfile::Instance().WriteProfileBinary(kSettings, kPlacementKey, reinterpret_cast<const BYTE*>(&rect),
                                            sizeof(RECT));
    m_pDropTarget.reset();
    m_ParGrid.DestroyWindow();
    m_MonitorGrid.DestroyWindow();
    m_Wait.Stop();
    CToolWnd::OnDestroy();
}

void CDownloadWnd::Select(CParListIntf* list)
{
    m_pSelected = list;
    m_ParGrid.EnableSelection(list == &m_Pars);
    m_MonitorGrid.EnableSelection(list == &m_Monitor);
}

BOOL CDownloadWnd::OnHelpInfo(HELPINFO*)
{
    if (m_pHost)
        m_pHost->SendCommand(kHostHelp, kHelpContext, 0);
    return TRUE;
}

BOOL CDownloadWnd::PreTranslateMessage(MSG* msg)
{
    // Editors of a grid hand their keys to the grid themselves.
    const bool ours = msg && msg->message == WM_KEYDOWN &&
                      (msg->hwnd == this || msg->hwnd == &m_ParGrid || msg->hwnd == &m_MonitorGrid);
    if (!ours)
        return CToolWnd::PreTranslateMessage(msg);
    CEditGrid& grid = m_pSelected == &m_Monitor ? m_MonitorGrid : m_ParGrid;
    if (!grid.GetSafeHwnd())
        return FALSE;
    const UINT key = static_cast<UINT>(msg->wParam);
    if (key == VK_DELETE && &grid == &m_MonitorGrid)
        OnMonitorRemove();
    return grid.ProcessKey(key) != 0 || key == VK_DELETE;
}

void CDownloadWnd::ShowHostError()
{
    CString error;
    if (m_pHost && m_pHost->GetLastErrorText(error) && !error.IsEmpty())
        AfxShowMessageBox(this, error, nullptr, MB_OK | MB_ICONSTOP);
}

void CDownloadWnd::ReadRow(int row)
{
    const CString name = m_Pars.Field(row, FIELD_NAME);
    if (m_pHost->SendCommand(HOSTCMD_READPAR, Text(name), 0) != 0)
        ShowHostError();
    else
        m_ParGrid.Update(row, 2);
}

void CDownloadWnd::OnReadSelected()
{
    const int row = SelectedParRow();
    if (!m_pHost)
        ProgramError("DownloadWnd", __LINE__, nullptr);
    else if (row >= 0)
        ReadRow(row);
}

void CDownloadWnd::OnWriteSelected()
{
    const int row = SelectedParRow();
    if (!m_pHost)
    {
        ProgramError("DownloadWnd", __LINE__, nullptr);
        return;
    }
    if (row < 0)
        return;
    const CString name = m_Pars.Field(row, FIELD_NAME);
    if (m_pHost->SendCommand(HOSTCMD_WRITEPAR, Text(name), 0) != 0)
        ShowHostError();
    else
        m_ParGrid.Update(row, 2);
}

void CDownloadWnd::OnReadAll()
{
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    CWaitCursor wait;
    m_pHost->SendCommand(HOSTCMD_READPARS, 0, 0);
    m_ParGrid.Invalidate(FALSE);
}

void CDownloadWnd::OnWriteAll()
{
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    m_pHost->SendCommand(HOSTCMD_DOWNLPARAMS, 0, 0);
    m_ParGrid.Invalidate(FALSE);
}

void CDownloadWnd::OnDriveCommand(const char* word)
{
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    m_pHost->SendCommand(HOSTCMD_DRIVECMD, Text(word), 0);
}

bool CDownloadWnd::AddMonitorEntry(const char* name, bool askHost)
{
    if (!name || !*name || !m_pHost)
        return false;
    if (askHost && !m_pHost->AddMonitorPar(name))
        return false;
    if (!m_pTask)
    {
        m_pTask = std::make_unique<CMonitorTask>(this, WM_DL_MONITOR, m_pHost);
        m_pTask->SetVisible(IsWindowVisible() != FALSE);
        if (!m_pTask->Start())
        {
            ProgramError("DownloadWnd", __LINE__, nullptr);
            m_pTask.reset();
            return false;
        }
    }
    m_pTask->Add(name);
    m_MonitorGrid.InsertRows(1);
    m_MonitorGrid.Invalidate(FALSE);
    return true;
}

void CDownloadWnd::OnMonitorAdd()
{
    const int row = SelectedParRow();
    if (!m_pHost)
        ProgramError("DownloadWnd", __LINE__, nullptr);
    else if (row >= 0)
        AddMonitorEntry(m_Pars.Field(row, FIELD_NAME), true);
}

void CDownloadWnd::OnMonitorRemove()
{
    const int row = m_MonitorGrid.SelectedRow();
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    if (row < 0)
        return;
    const CString name = m_Monitor.Field(row, FIELD_NAME);
    if (!m_pHost->RemoveMonitorPar(row))
        return;
    if (m_pTask)
        m_pTask->Remove(name);
    m_MonitorGrid.DeleteRows(1);
    m_MonitorGrid.Invalidate(FALSE);
}

void CDownloadWnd::OnShowFormat()
{
    m_bShowFormat = !m_bShowFormat;
    m_ParGrid.ShowCol(kFormatColumn, m_bShowFormat ? 1 : 0);
    m_MonitorGrid.ShowCol(kFormatColumn, m_bShowFormat ? 1 : 0);
    FitDescriptionColumn(m_ParGrid);
    FitDescriptionColumn(m_MonitorGrid);
    m_ParGrid.Invalidate(FALSE);
    m_MonitorGrid.Invalidate(FALSE);
}

void CDownloadWnd::OnTmpAdd()
{
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    CDlgInsertPar dialog(m_pHost, this);
    if (dialog.DoModal() != IDOK)
        return;
    if (!m_pHost->AddTmpPar(dialog.m_strAddress, dialog.m_strDescr, 0.0, this))
        return;
    m_pHost->SendCommand(HOSTCMD_SORTPARS, 0, 0);
    ResyncParRows(); // the host lists it only when the chosen menu shows temporary parameters
}

void CDownloadWnd::OnTmpRemove()
{
    const int row = SelectedParRow();
    if (!m_pHost)
        return ProgramError("DownloadWnd", __LINE__, nullptr);
    if (row < 0 || m_Pars.Field(row, FIELD_TEMPORARY) == "0")
        return;
    const CString name = m_Pars.Field(row, FIELD_NAME);
    for (int monitorRow = 0; monitorRow < m_MonitorGrid.GetNumRows(); ++monitorRow)
    {
        if (m_Monitor.Field(monitorRow, FIELD_NAME) != name)
            continue;
        if (!m_pHost->RemoveMonitorPar(monitorRow))
            return;
        if (m_pTask)
            m_pTask->Remove(name);
        m_MonitorGrid.DeleteRows(1);
        break;
    }
    CString text;
    if (!m_pHost->RemTmpPar(name, text))
        return;
    ResyncParRows();
    m_MonitorGrid.Invalidate(FALSE);
}

void CDownloadWnd::OnSaveMonitor()
{
    m_bSaveMonitor = !m_bSaveMonitor;
    if (m_pHost)
        m_pHost->SetSaveMonitor(m_bSaveMonitor ? TRUE : FALSE);
}
