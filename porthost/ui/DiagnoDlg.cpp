// The diagnostics window: counts, hex view and scrolling, spy switch, reset and detach.
#include "DiagnoDlg.h"

#include <kernel/Process.h>

#include <algorithm>
#include <vector>

namespace
{
const DlgItem DiagnoItems[] = {
    {DlgKind::LText, IDC_DIAGNO_TX, 50, 8, 70, 10},
    {DlgKind::LText, IDC_DIAGNO_RX, 50, 22, 70, 10},
    {DlgKind::Frame, IDC_DIAGNO_VIEW, 8, 38, 224, 66},
    {DlgKind::Control, IDC_DIAGNO_SCROLL, 234, 38, 10, 66, nullptr, SBS_VERT, "ScrollBar"},
    {DlgKind::LText, 0xFFFF, 8, 110, 80, 10, "Process IDs"},
    {DlgKind::ListBox, IDC_DIAGNO_PIDS, 8, 122, 110, 60, nullptr, LBS_EXTENDEDSEL | WS_VSCROLL},
    {DlgKind::CheckBox, IDC_DIAGNO_SPY, 128, 122, 60, 10, "Spy ON"},
    {DlgKind::CheckBox, IDC_DIAGNO_REFRESH_ON, 128, 136, 60, 10, "Refresh ON"},
    {DlgKind::PushButton, IDC_DIAGNO_REFRESH, 194, 110, 50, 14, "Re&fresh"},
    {DlgKind::PushButton, IDC_DIAGNO_RESET, 194, 128, 50, 14, "&Reset"},
    {DlgKind::PushButton, IDC_DIAGNO_DETACH, 194, 146, 50, 14, "&Detach"},
    {DlgKind::DefPushButton, IDOK, 194, 168, 50, 14, "OK"},
};
const DialogTemplate DiagnoTemplate = {"Com Server Diagnostics",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                       252,
                                       190,
                                       DiagnoItems,
                                       static_cast<int>(sizeof DiagnoItems / sizeof DiagnoItems[0])};
constexpr const char* DiagnoTemplateName = "SERVER_DIAGNO";
const BOOL DiagnoRegistered = AfxRegisterDialogTemplate(DiagnoTemplateName, &DiagnoTemplate);

constexpr int PageStep = 6;
} // namespace

CDiagnoDlg::CDiagnoDlg(const char* title, CDiagnoServer& server, CWnd* parent)
    : CDialog(DiagnoTemplateName, parent), m_strTitle(title), m_server(server)
{
    MapCommand(IDC_DIAGNO_SPY, [this] { OnSpy(); });
    MapCommand(IDC_DIAGNO_REFRESH_ON, [this] { OnRefreshSwitch(); });
    MapCommand(IDC_DIAGNO_REFRESH, [this] { RefreshView(); });
    MapCommand(IDC_DIAGNO_RESET, [this] { OnReset(); });
    MapCommand(IDC_DIAGNO_DETACH, [this] { OnDetach(); });
}

CDiagnoDlg::~CDiagnoDlg()
{
    CloseProcessHandles();
}

BOOL CDiagnoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    m_list.SubclassDlgItem(IDC_DIAGNO_PIDS, this);
    m_scroll.SubclassDlgItem(IDC_DIAGNO_SCROLL, this);
    m_spyCheck.SubclassDlgItem(IDC_DIAGNO_SPY, this);
    m_refreshCheck.SubclassDlgItem(IDC_DIAGNO_REFRESH_ON, this);
    m_txLabel.Create("TX Bytes", CComDBuff::SentColour, DialogUnitsToPixels(CRect(8, 8, 48, 18)), this);
    m_rxLabel.Create("RX Bytes", CComDBuff::ReceivedColour, DialogUnitsToPixels(CRect(8, 22, 48, 32)), this);

    ListClients();
    m_bSpy = m_server.Spy().IsOn();
    m_spyCheck.SetCheck(m_bSpy ? BST_CHECKED : BST_UNCHECKED);
    m_scroll.SetScrollRange(1, CPortSpy::VIEW_POSITIONS);
    m_scroll.SetScrollPos(m_scrollPosition);

    CRect frame;
    GetDlgItem(IDC_DIAGNO_VIEW)->GetWindowRect(&frame);
    ScreenToClient(&frame);
    m_view.Create(frame, this, IDC_DIAGNO_HEXVIEW);
    RefreshView();
    ShowCounts();
    SetTimer(TimerId, TimerMilliseconds);
    return TRUE;
}

void CDiagnoDlg::OnDestroy()
{
    KillTimer(TimerId);
    CloseProcessHandles();
    CDialog::OnDestroy();
}

void CDiagnoDlg::ListClients()
{
    const CDWordArray clients = m_server.Clients();
    for (INT_PTR i = 0; i < clients.GetSize(); ++i)
    {
        const DWORD processId = clients[i];
        CString text;
        text.Format("%X", processId);
        m_list.SetItemData(m_list.AddString(text), processId);
        if (!m_processes.count(processId))
            m_processes[processId] = OpenProcess(SYNCHRONIZE, FALSE, processId);
    }
}

void CDiagnoDlg::ShowCounts()
{
    m_strTx.Format("%u", m_server.Spy().SentCount());
    m_strRx.Format("%u", m_server.Spy().ReceivedCount());
    SetDlgItemText(IDC_DIAGNO_TX, m_strTx);
    SetDlgItemText(IDC_DIAGNO_RX, m_strRx);
}

void CDiagnoDlg::OnTimer(UINT_PTR id)
{
    if (id != TimerId)
    {
        CDialog::OnTimer(id);
        return;
    }
    ShowCounts();
    if (m_bRefresh)
        RefreshView();
}

void CDiagnoDlg::RefreshView()
{
    BYTE bytes[CPortSpy::VIEW_SIZE];
    BYTE tags[CPortSpy::VIEW_SIZE];
    m_server.Spy().CopyView(m_scrollPosition, bytes, tags);
    m_view.SetView(bytes, tags);
}

LRESULT CDiagnoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL)
    {
        Scroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CDiagnoDlg::Scroll(WORD code, int thumb)
{
    int position = m_scrollPosition;
    switch (code)
    {
    case SB_LINEUP:
        --position;
        break;
    case SB_LINEDOWN:
        ++position;
        break;
    case SB_PAGEUP:
        position -= PageStep;
        break;
    case SB_PAGEDOWN:
        position += PageStep;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = thumb;
        break;
    default:
        return;
    }
    m_scrollPosition = std::clamp(position, 1, CPortSpy::VIEW_POSITIONS);
    m_scroll.SetScrollPos(m_scrollPosition);
    RefreshView();
}

void CDiagnoDlg::OnSpy()
{
    m_bSpy = m_spyCheck.GetCheck() == BST_CHECKED;
    m_server.Spy().SetOn(m_bSpy);
}

void CDiagnoDlg::OnRefreshSwitch()
{
    m_bRefresh = m_refreshCheck.GetCheck() == BST_CHECKED;
}

void CDiagnoDlg::OnReset()
{
    m_server.Spy().Reset();
    m_scrollPosition = CPortSpy::VIEW_POSITIONS;
    m_scroll.SetScrollPos(m_scrollPosition);
    RefreshView();
}

void CDiagnoDlg::OnDetach()
{
    if (m_list.GetCount() == 0)
    {
        MessageBox("No processes, exit server");
        m_server.EndWithoutClients();
        EndDialog(IDOK);
        return;
    }
    const int selected = m_list.GetSelCount();
    if (selected <= 0)
        return;
    if (MessageBox("This operation will close the process.\nDo you want to continue ?", nullptr,
                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    std::vector<int> items(static_cast<size_t>(selected));
    items.resize(static_cast<size_t>(m_list.GetSelItems(selected, items.data())));
    int removed = 0;
    for (int item : items)
    {
        const int index = item - removed;
        const auto processId = static_cast<DWORD>(m_list.GetItemData(index));
        if (m_server.DetachClient(processId))
        {
            m_list.DeleteString(static_cast<UINT>(index));
            ++removed;
            EndClient(processId);
        }
        else
        {
            m_list.SetSel(index, FALSE);
        }
    }
    MessageBox("Process detached");
}

void CDiagnoDlg::EndClient(DWORD processId)
{
    const auto found = m_processes.find(processId);
    if (found != m_processes.end() && found->second)
        TerminateProcess(found->second, 1);
}

void CDiagnoDlg::CloseProcessHandles()
{
    for (auto& [processId, handle] : m_processes)
        if (handle)
            CloseHandle(handle);
    m_processes.clear();
}
