// The custom motor database dialog.
#include <TvskCustomDb/ui/DlgMotorDb.h>

#include <TvskCustomDb/ui/CustomDbIds.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>

#include <ui/MessageBox.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace
{
constexpr int kToolBarHeight = 30;
constexpr UINT_PTR kToolbarTimer = 1;
constexpr UINT kHostHelp = 50;
constexpr long kMotorsHelpContext = 1002;

UINT ToolTipId(UINT command)
{
    switch (command)
    {
    case ID_MOTORDB_SAVE:
        return IDS_MOTORDB_TIP_SAVE;
    case ID_MOTORDB_ADD:
        return IDS_MOTORDB_TIP_ADD;
    case ID_MOTORDB_DELETE:
        return IDS_MOTORDB_TIP_DELETE;
    default:
        return IDS_MOTORDB_TIP_CLOSE;
    }
}
} // namespace

CDlgMotorDb::CDlgMotorDb(CPluginIntf* host, CWnd* parent)
    : CResizableDialog(IDD_MOTORDB, parent), m_pHost(host), m_Data(host)
{
    CustomDbString(0); // registers the module's strings and layouts
    MapCommand(ID_MOTORDB_ADD, [this] { OnAdd(); });
    MapCommand(ID_MOTORDB_DELETE, [this] { OnDelete(); });
    MapCommand(ID_MOTORDB_SAVE, [this] { OnSave(); });
    MapCommand(ID_MOTORDB_CLOSE, [this] { OnCancel(); });
    MapUpdateCommandUI(ID_MOTORDB_SAVE,
                       [this](CCmdUI* ui)
                       {
                           ui->Enable(m_Data.Set().IsModified());
                           UpdateCaption();
                       });
}

BOOL CDlgMotorDb::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    if (m_ToolBar.CreateEx(this) && m_ToolBar.LoadToolBar(IDR_MOTORDB_TOOLBAR))
    {
        m_ToolBar.MoveWindow(0, 0, m_ToolBar.CalcSize().cx, kToolBarHeight);
        for (int i = 0; i < m_ToolBar.GetCount(); ++i)
            if (const UINT id = m_ToolBar.GetItemID(i); id != ID_SEPARATOR)
                m_ToolBar.SetButtonToolTip(i, m_Data.HostOrOwnString(ToolTipId(id)));
    }
    m_Data.Load();

    CWnd* placeholder = GetDlgItem(IDC_MOTORDB_GRID);
    m_pGrid = std::make_unique<CEditGrid>();
    m_pGrid->SetDataIntf(&m_Data);
    m_pGrid->SetViewIntf(&m_Data);
    m_pGrid->SetCols(CDbIntf::Columns(), CCustomMotorSet::kColumns);
    m_pGrid->AddHeader();
    if (!placeholder || !m_pGrid->Create(&m_Data, this))
    {
        ProgramError("DlgMotorDb", __LINE__, nullptr);
        m_pGrid.reset();
    }
    else
    {
        placeholder->ShowWindow(SW_HIDE);
        m_pGrid->ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        m_pGrid->EnableSelection(true);
        m_pGrid->InsertRows(m_Data.Set().GetCount());
        m_Data.SetGrid(m_pGrid.get());
        FitColumnsToTitles();
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    SetMaxTrackSize(CSize(screen.width(), screen.height()));
    SetMinTrackSize(CSize(200, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight)));
    EnableSaveRestore("Settings");
    UpdateCaption();
    Layout();
    SetTimer(kToolbarTimer, 100);
    if (m_pGrid)
        m_pGrid->SetFocus();
    return FALSE;
}

BOOL CDlgMotorDb::PreTranslateMessage(MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN || !m_pGrid || !m_pGrid->GetSafeHwnd())
        return CResizableDialog::PreTranslateMessage(msg);
    const UINT key = static_cast<UINT>(msg->wParam);
    // Enter and Escape end the cell's edit and the grid keeps the focus; Escape with no cell open
    // closes as the close box does.
    if (key == VK_ESCAPE && !m_pGrid->IsEditing())
    {
        OnCancel();
        return TRUE;
    }
    if (key == VK_ESCAPE || key == VK_RETURN)
    {
        m_pGrid->ProcessKey(key);
        if (GetSafeHwnd() && !m_pGrid->IsEditing())
            m_pGrid->SetFocus();
        return TRUE;
    }
    if ((msg->hwnd == m_pGrid.get() || m_pGrid->IsWndChild(msg->hwnd)) && m_pGrid->ProcessKey(key) != 0)
        return TRUE;
    return CResizableDialog::PreTranslateMessage(msg);
}

// F1: the program help's topic of the motors.
BOOL CDlgMotorDb::OnHelpInfo(HELPINFO*)
{
    if (m_pHost)
        m_pHost->SendCommand(kHostHelp, kMotorsHelpContext, 0);
    return TRUE;
}

LRESULT CDlgMotorDb::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEWHEEL && m_pGrid && m_pGrid->GetSafeHwnd())
        return m_pGrid->SendMessage(WM_MOUSEWHEEL, wParam, lParam);
    return CResizableDialog::WindowProc(message, wParam, lParam);
}

void CDlgMotorDb::OnSize(UINT type, int cx, int cy)
{
    CResizableDialog::OnSize(type, cx, cy);
    Layout();
}

void CDlgMotorDb::Layout()
{
    CRect client;
    GetClientRect(&client);
    if (m_ToolBar.GetSafeHwnd())
        m_ToolBar.MoveWindow(0, 0, client.Width(), kToolBarHeight);
    if (m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->MoveWindow(0, kToolBarHeight, client.Width(), std::max(1, client.Height() - kToolBarHeight));
}

// A column narrower than its title (in the grid's font, the desktop's) widens to show it whole.
void CDlgMotorDb::FitColumnsToTitles()
{
    constexpr int kTitlePadding = 14;
    CClientDC dc(m_pGrid.get());
    CFont* old = dc.SelectObject(m_pGrid->GetFont());
    for (int col = 0; col < CCustomMotorSet::kColumns; ++col)
    {
        CString title;
        if (m_Data.GetHeaderS(CDbIntf::Columns()[col].headerStringId, title) != 1)
            continue;
        const int needed = static_cast<int>(dc.GetTextExtent(title).cx) + kTitlePadding;
        if (m_pGrid->GetColWidth(col) < needed)
            m_pGrid->SetColWidth(col, needed);
    }
    dc.SelectObject(old);
}

void CDlgMotorDb::OnTimer(UINT_PTR id)
{
    if (id == kToolbarTimer && m_ToolBar.GetSafeHwnd())
        m_ToolBar.OnUpdateCmdUI(this, TRUE);
    else
        CResizableDialog::OnTimer(id);
}

void CDlgMotorDb::UpdateCaption()
{
    CString caption = m_Data.HostOrOwnString(IDS_MOTORDB_CAPTION);
    if (m_Data.Set().IsModified())
        caption += " *";
    if (GetWindowText() != caption)
        SetWindowText(caption);
}

void CDlgMotorDb::OnAdd()
{
    m_Data.Set().Append();
    if (!m_pGrid)
        return;
    m_pGrid->InsertRows(1);
    m_pGrid->Move(m_Data.Set().GetCount() - 1, 0);
    UpdateCaption();
}

void CDlgMotorDb::OnDelete()
{
    const int row = m_pGrid ? m_pGrid->SelectedRow() : -1;
    if (!m_Data.Set().Delete(row))
        return;
    m_pGrid->DeleteRows(1);
    m_pGrid->Invalidate(FALSE);
    UpdateCaption();
}

void CDlgMotorDb::OnSave()
{
    if (const int row = m_Data.Set().FirstRowWithBadId(); row >= 0)
    {
        CString text;
        text.Format(m_Data.HostOrOwnString(IDS_MOTORDB_BAD_ID_SAVE).GetString(), row + 1,
                    m_Data.Set().GetText(row, CCustomMotorSet::kIdColumn).GetString());
        AfxShowMessageBox(this, text, GetWindowText(), MB_OK | MB_ICONSTOP);
        return;
    }
    if (m_Data.Store())
        m_bSaved = true;
    else
    {
        CString text;
        text.Format(m_Data.HostOrOwnString(IDS_MOTORDB_SAVE_FAILED).GetString(),
                    m_Data.Set().StoreError().GetString());
        AfxShowMessageBox(this, text, GetWindowText(), MB_OK | MB_ICONSTOP);
    }
    UpdateCaption();
}

bool CDlgMotorDb::CanClose()
{
    if (!m_Data.Set().IsModified())
        return true;
    const int answer = AfxShowMessageBox(this, m_Data.HostOrOwnString(IDS_MOTORDB_ASK_SAVE), GetWindowText(),
                                         MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDYES)
        OnSave();
    return answer == IDNO || (answer == IDYES && !m_Data.Set().IsModified());
}

void CDlgMotorDb::OnOK()
{
    if (CanClose())
        CResizableDialog::OnOK();
}

void CDlgMotorDb::OnCancel()
{
    if (CanClose())
        CResizableDialog::OnCancel();
}
