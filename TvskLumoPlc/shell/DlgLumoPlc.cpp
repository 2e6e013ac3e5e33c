// Main PLC dialog: opening, the view rebuilt from the document, storing into the host, the
// commands that need no drive, and closing.
#include "DlgLumoPlc.h"

#include "DlgLumoPlcIL.h"
#include "DlgPlcProperties.h"
#include "LDPrinter.h"
#include "PlcIds.h"
#include "ToolBarTips.h"

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <TvskLumoPlc/graphview/GraphDoc.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <ZoLumoPlcObj/PlcFBDCode.h>
#include <ZoSupport/ProgramError.h>

#include <ui/App.h>
#include <ui/DocView.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>
#include <ui/SystemMenu.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace
{
constexpr UINT_PTR kStateTimer = 1;
constexpr UINT kStateUpdateMs = 500;
constexpr DWORD kStateStyle = 3;
constexpr UINT_PTR kToolbarTimer = 2;
constexpr UINT kToolbarUpdateMs = 200;
constexpr int kMinTrackWidth = 200;
constexpr const char* kSection = "Settings";
constexpr const char* kPlacementEntry = "LumoPlcWin";
constexpr UINT kPlacementBytes = 16;
// The print preview's item in the window menu (system commands keep their low four bits free).
constexpr UINT kPreviewSysCommand = 0x2F00;
// The program help's topic of the PLC and the cams.
constexpr long kPlcHelpContext = 1005;
constexpr UINT kMainBarId = 0xE800;
constexpr UINT kInstrBarId = 0xE801;
constexpr SIZE kInstrButton = {34, 34};
constexpr SIZE kInstrImage = {16, 15};
constexpr int kInstrFontSize = 70; // tenths of a point
// Instruction-table rows of the mnemonics the instruction buttons show, in button order.
constexpr unsigned kInstrRows[] = {0, 1, 6, 7, 4, 5, 2, 3, 8, 9, 10, 11, 12, 13, 14};

struct HostInstr
{
    CString text;
    std::array<int, 3> operands;
    bool operator==(const HostInstr& other) const { return text == other.text && operands == other.operands; }
};

// The program the host's file holds, to tell whether a store changed it.
std::vector<HostInstr> HostProgram(CPluginIntf* host)
{
    std::vector<HostInstr> program;
    HostInstr instr;
    while (host->GetPlcInstr(static_cast<int>(program.size()), instr.text, instr.operands.data()))
        program.push_back(instr);
    return program;
}

void PutHostProgram(CPluginIntf* host, const std::vector<HostInstr>& program)
{
    host->ResetPlc();
    for (size_t i = 0; i < program.size(); ++i)
        host->SetPlcInstr(static_cast<int>(i), program[i].text, program[i].operands.data());
}

// The host keeps its last failure's text until asked: an old one must not explain a new failure.
void ForgetHostError(CPluginIntf* host)
{
    CString stale;
    host->GetLastErrorText(stale);
}
} // namespace

CDlgLumoPlc::CDlgLumoPlc(CWnd* parent) : CResizableDialog(IDD_PLC_MAIN, parent)
{
    PlcModule();
    MapCommand(ID_PLC_NEW_CODE, [this] { OnNewCode(); });
    MapCommand(ID_PLC_PROPERTIES, [this] { OnProperties(); });
    MapCommand(ID_PLC_IL_MODE, [this] { OnIlMode(); });
    MapCommand(ID_PLC_SAVE_CODE, [this] { StoreProgram(); });
    MapCommand(ID_PLC_PRINT, [this] { OnPrint(false); });
    MapUpdateCommandUI(ID_PLC_PRINT, [this](CCmdUI* ui) { ui->Enable(m_LogicDoc.GetCount() > 0); });
    MapCommand(ID_PLC_PRINT_PREVIEW, [this] { OnPrint(true); });
    MapUpdateCommandUI(ID_PLC_PRINT_PREVIEW, [this](CCmdUI* ui) { ui->Enable(m_LogicDoc.GetCount() > 0); });
    MapCommand(ID_PLC_EXIT, [this] { Close(); });
    MapCommand(ID_PLC_READ, [this] { OnReadPlc(); });
    MapCommand(ID_PLC_WRITE, [this] { OnWritePlc(); });
    MapCommand(ID_PLC_ONLINE, [this] { SwitchOnline(); });
    MapUpdateCommandUI(ID_PLC_READ, [this](CCmdUI* ui) { ui->Enable(!m_bLinkState); });
    MapUpdateCommandUI(ID_PLC_WRITE, [this](CCmdUI* ui) { ui->Enable(!m_bLinkState); });
    MapUpdateCommandUI(ID_PLC_ONLINE, [this](CCmdUI* ui) { ui->SetCheck(m_bOnline ? 1 : 0); });
    MapUpdateCommandUI(ID_PLC_NEW_CODE,
                       [this](CCmdUI* ui) { ui->Enable(!m_bOnline && m_LogicDoc.GetCount() > 0); });
    MapUpdateCommandUI(ID_PLC_IL_MODE, [this](CCmdUI* ui) { ui->SetCheck(m_bILMode ? 1 : 0); });
    MapEditCommands();
}

BOOL CDlgLumoPlc::OnInitDialog()
{
    if (!AfxGetApp())
    {
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return FALSE;
    }
    CResizableDialog::OnInitDialog();
    ShowSizeGrip(FALSE);
    SetDlgItemText(IDC_PLC_CODE_LABEL, PlcHostString(m_pPluginIntf, IDS_PLC_CODE_LABEL));
    if (m_pPluginIntf && m_pPluginIntf->GetPlcMaxLen() > 0)
        m_nCodeMax = m_pPluginIntf->GetPlcMaxLen();
    CreateToolBars();
    AddPreviewToSystemMenu();
    CreateView();
    RestorePlacement();
    SetMinTrackSize(CSize(kMinTrackWidth, GetSystemMetrics(SM_CYCAPTION)));
    SetMaxTrackSize(CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    m_strCaption = GetWindowText();
    if (!CreateStateCell())
    {
        ProgramError("DlgLumoPlc", __LINE__, "status cell");
        EndDialog(-1);
        return FALSE;
    }
    SetTimer(kStateTimer, kStateUpdateMs);
    m_CodeGen.SetPluginIntf(m_pPluginIntf);
    if (m_pPluginIntf)
    {
        m_bLinkOwner = m_pPluginIntf->IsConnected() ? 0 : 1;
        m_bLinkState = m_bLinkOwner ? 0 : 1;
        if (!m_CodeGen.GenerateLogicDoc(&m_LogicDoc))
            AfxShowMessageBox(this, PlcHostString(m_pPluginIntf, IDS_PLC_LOAD_ERROR), nullptr,
                              MB_OK | MB_ICONSTOP);
    }
    m_nCodeLen = m_CodeGen.GetCodeLen(&m_LogicDoc);
    RebuildView();
    SetTimer(kToolbarTimer, kToolbarUpdateMs);
    if (!m_pPluginIntf)
        return FALSE;
    // On the host's link the editor opens on line: it stores its program, compares and, when the
    // drive holds another, asks before reading it.
    if (m_bLinkState)
        SwitchOnline();
    UpdateStateCell();
    CheckTerminated();
    return TRUE;
}

// The main toolbar along the top, the instruction buttons with their mnemonics along the bottom;
// the code counter and the status cell stay in front of the main toolbar.
void CDlgLumoPlc::CreateToolBars()
{
    CRect client;
    GetClientRect(&client);
    if (m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0),
                              kMainBarId) &&
        m_wndToolBar.LoadToolBar(IDR_PLC_MAIN_TOOLBAR))
    {
        m_wndToolBar.MoveWindow(0, 0, std::max(client.Width(), static_cast<int>(m_wndToolBar.CalcSize().cx)),
                                m_wndToolBar.CalcSize().cy);
        AddAnchor(m_wndToolBar.GetSafeHwnd(), ANCHOR_TOP_LEFT, ANCHOR_TOP_RIGHT);
        SetToolBarTips(m_wndToolBar, m_pPluginIntf);
    }
    if (m_wndInstrBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), kInstrBarId) &&
        m_wndInstrBar.LoadToolBar(IDR_PLC_INSTR_TOOLBAR))
    {
        m_wndInstrBar.SetSizes(kInstrButton, kInstrImage);
        if (m_InstrFont.CreatePointFont(kInstrFontSize, "Arial"))
            m_wndInstrBar.SetFont(&m_InstrFont);
        for (int index = 0;
             index < m_wndInstrBar.GetCount() && index < static_cast<int>(std::size(kInstrRows)); ++index)
            m_wndInstrBar.SetButtonText(index, m_CodeGen.GetString(kInstrRows[index]));
        const CSize size = m_wndInstrBar.CalcSize();
        m_wndInstrBar.MoveWindow(0, client.bottom - size.cy,
                                 std::max(client.Width(), static_cast<int>(size.cx)), size.cy);
        AddAnchor(m_wndInstrBar.GetSafeHwnd(), ANCHOR_BOTTOM_LEFT, ANCHOR_BOTTOM_RIGHT);
        SetToolBarTips(m_wndInstrBar, m_pPluginIntf);
    }
    for (UINT id : {IDC_PLC_CODE_LABEL, IDC_PLC_CODE_COUNT, IDC_PLC_STATE})
        if (CWnd* item = GetDlgItem(static_cast<int>(id)))
        {
            item->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            AddAnchor(item->GetSafeHwnd(), ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT);
        }
}

bool CDlgLumoPlc::CreateStateCell()
{
    CWnd* holder = GetDlgItem(IDC_PLC_STATE);
    if (!holder || !m_wndState.Create(kStateStyle, holder, -1))
        return false;
    m_wndState.SetStatusArray(m_States, static_cast<int>(std::size(m_States)));
    return true;
}

// Off line or without host: OFF LINE; on line: ON LINE while connected and the alarm reads, else DATA ?.
void CDlgLumoPlc::UpdateStateCell()
{
    int row = 0;
    if (m_bOnline && m_pPluginIntf)
        row = m_pPluginIntf->IsConnected() && m_pPluginIntf->GetAlarm() >= 0 ? 1 : 2;
    m_wndState.SetInfo(row, 0, true);
}

// A program the drive may not have ended: OK goes on, Cancel closes through the closing rules.
void CDlgLumoPlc::CheckTerminated()
{
    if (!m_pPluginIntf->IsPlcTerminated() &&
        Ask(IDS_PLC_MAYBE_WRONG, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        PostMessage(WM_COMMAND, IDOK, 0);
}

void CDlgLumoPlc::CreateView()
{
    CRect rect;
    if (CWnd* placeholder = GetDlgItem(IDC_PLC_VIEW_PLACEHOLDER))
    {
        placeholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
        placeholder->ShowWindow(SW_HIDE);
    }
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CLDView);
    m_pView = dynamic_cast<CLDView*>(
        AfxCreateView(&context, this, rect, IDC_PLC_VIEW, WS_CHILD | WS_VISIBLE | WS_BORDER));
    if (!m_pView)
        return;
    AddAnchor(m_pView->GetSafeHwnd(), ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
    m_pView->SetHostIntf(m_pPluginIntf);
    m_pView->SetOperandDialogs(&m_OperandDialogs);
    m_pView->SetPrinter(&m_Printer);
    m_bILMode = 0;
}

// A saved rectangle of exactly 16 bytes that still meets the screen; else the default placement.
void CDlgLumoPlc::RestorePlacement()
{
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (!AfxGetApp()->GetProfileBinary(kSection, kPlacementEntry, &data, &bytes))
        return;
    const std::unique_ptr<BYTE[]> owned(data);
    if (bytes != kPlacementBytes)
        return;
    int32_t values[4];
    std::memcpy(values, data, sizeof values);
    const CRect saved(values[0], values[1], values[2], values[3]);
    const CRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    CRect visible;
    if (saved.Width() <= 0 || saved.Height() <= 0 || !visible.IntersectRect(saved, screen))
        return;
    SetWindowPos(nullptr, saved.left, saved.top, saved.Width(), saved.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgLumoPlc::SavePlacement()
{
    CRect rect;
    GetWindowRect(&rect);
    const int32_t values[4] = {rect.left, rect.top, rect.right, rect.bottom};
    AfxGetApp()->WriteProfileBinary(kSection, kPlacementEntry, reinterpret_cast<const BYTE*>(values),
                                    kPlacementBytes);
}

void CDlgLumoPlc::RebuildView()
{
    CPlcFBDCode* code = m_LogicDoc.GenerateLDCode();
    CLDDoc* document = m_pView ? m_pView->GetLDDoc() : nullptr;
    if (!code || !document)
    {
        delete code;
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return;
    }
    // The document frees the previous code only after the new windows stand.
    document->ShowCode(std::unique_ptr<CPlcFBDCode>(code));
    m_pView->UpdateLayout();
    CString count;
    count.Format("%d / %d", m_nCodeLen, m_nCodeMax);
    SetDlgItemText(IDC_PLC_CODE_COUNT, count);
}

void CDlgLumoPlc::SetModified(bool modified)
{
    m_bModified = modified ? 1 : 0;
    SetWindowText(modified ? m_strCaption + "*" : m_strCaption);
}

bool CDlgLumoPlc::StoreProgram()
{
    if (!m_pPluginIntf)
        return false;
    m_CodeGen.SetPluginIntf(m_pPluginIntf);
    m_LogicDoc.UpdateReferences();
    const std::vector<HostInstr> before = HostProgram(m_pPluginIntf);
    if (!m_CodeGen.GenerateRecords(&m_LogicDoc))
    {
        AfxShowMessageBox(this, PlcHostString(m_pPluginIntf, IDS_PLC_RECORD_ERROR), nullptr,
                          MB_OK | MB_ICONSTOP);
        return false;
    }
    SetModified(false);
    // The same program stored again leaves the file as it was: no save question for nothing.
    if (HostProgram(m_pPluginIntf) != before)
        m_pPluginIntf->SetModified(TRUE);
    return true;
}

int CDlgLumoPlc::Ask(UINT id, UINT type)
{
    return AfxShowMessageBox(this, PlcHostString(m_pPluginIntf, id), nullptr, type);
}

void CDlgLumoPlc::OnNewCode()
{
    if (m_LogicDoc.GetCount() > 0 && Ask(IDS_PLC_NEW_CODE_CONFIRM, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    m_LogicDoc.Reset();
    m_pCurNet = nullptr;
    m_nCurNet = -1;
    m_nCodeLen = 1;
    RebuildView();
    SetModified(true);
}

void CDlgLumoPlc::OnProperties()
{
    CDlgPlcProperties dialog(this);
    dialog.m_pHost = m_pPluginIntf;
    dialog.m_strRelease = m_ProjectInfo.m_strRelease;
    dialog.m_strVersion = m_ProjectInfo.m_strVersion;
    dialog.m_strAuthor = m_ProjectInfo.m_strAuthor;
    dialog.m_strNote = m_ProjectInfo.m_strNote;
    if (dialog.DoModal() != IDOK)
        return;
    m_ProjectInfo.m_strRelease = dialog.m_strRelease;
    m_ProjectInfo.m_strVersion = dialog.m_strVersion;
    m_ProjectInfo.m_strAuthor = dialog.m_strAuthor;
    m_ProjectInfo.m_strNote = dialog.m_strNote;
}

void CDlgLumoPlc::OnIlMode()
{
    if (!m_pPluginIntf)
        return;
    m_CodeGen.SetPluginIntf(m_pPluginIntf);
    m_LogicDoc.UpdateReferences();
    CString text;
    if (!m_CodeGen.GenerateILSource(&m_LogicDoc, text))
    {
        AfxShowMessageBox(this, PlcHostString(m_pPluginIntf, IDS_PLC_IL_TRANSITION), nullptr,
                          MB_OK | MB_ICONSTOP);
        return;
    }
    m_pCurNet = nullptr;
    m_nCurNet = -1;
    m_bILMode = 1;
    CDlgLumoPlcIL dialog(this);
    dialog.m_strText = text;
    dialog.m_bReadOnly = m_bOnline;
    dialog.m_pCodeGen = &m_CodeGen;
    dialog.m_pPluginIntf = m_pPluginIntf;
    dialog.m_pLogicDoc = &m_LogicDoc;
    dialog.m_pProjectInfo = &m_ProjectInfo;
    dialog.DoModal();
    m_nCodeLen = m_CodeGen.GetCodeLen(&m_LogicDoc);
    RebuildView();
    if (dialog.IsTextChanged())
        SetModified(true);
    m_bILMode = 0;
}

bool CDlgLumoPlc::SetOnline(bool wanted)
{
    if (!m_bLinkOwner)
    {
        m_bLinkState = wanted ? 1 : 0;
        return true;
    }
    if ((m_pPluginIntf->IsConnected() != FALSE) == wanted)
        return true;
    m_pPluginIntf->SendCommand(HOSTCMD_ENABLECOMM, 1, 0);
    m_pPluginIntf->SendCommand(HOSTCMD_CONNECT, 1, 0); // a toggle
    m_bLinkState = m_pPluginIntf->IsConnected() ? 1 : 0;
    SetActiveWindow();
    return (m_bLinkState != 0) == wanted;
}

bool CDlgLumoPlc::ComparePlc(bool& equal)
{
    int same = 0;
    ForgetHostError(m_pPluginIntf);
    const bool compared =
        m_pPluginIntf->SendCommand(HOSTCMD_COMPAREPLC, reinterpret_cast<long>(&same), 0) == 0;
    equal = compared && same != 0;
    return compared;
}

// The caller has stored the program on screen. The host's program is emptied before the upload,
// so that one that read nothing (the drive's PLC not enabled) shows; whenever nothing was read
// the program on screen goes back into the host.
bool CDlgLumoPlc::ReadFromDrive()
{
    CWaitCursor wait;
    if (m_LogicDoc.GetCount() > 0 && Ask(IDS_PLC_NEW_CODE_CONFIRM, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return false;
    const std::vector<HostInstr> kept = HostProgram(m_pPluginIntf);
    m_pPluginIntf->ResetPlc();
    ForgetHostError(m_pPluginIntf);
    const bool uploaded = m_pPluginIntf->SendCommand(HOSTCMD_UPLOADPLC, 0, 0) == 0;
    if (!uploaded || HostProgram(m_pPluginIntf).empty())
    {
        PutHostProgram(m_pPluginIntf, kept);
        ShowDriveFailure(uploaded ? IDS_PLC_NOT_READ : IDS_PLC_COMM_ERROR);
        return false;
    }
    m_pCurNet = nullptr;
    m_nCurNet = -1;
    if (!m_CodeGen.GenerateLogicDoc(&m_LogicDoc))
        Ask(IDS_PLC_LOAD_ERROR, MB_OK | MB_ICONSTOP);
    m_nCodeLen = m_CodeGen.GetCodeLen(&m_LogicDoc);
    RebuildView();
    SetModified(false);
    return true;
}

// The host's own word on the failure (a cancelled read says what is left) when it has one.
void CDlgLumoPlc::ShowDriveFailure(UINT ownId)
{
    CString why;
    if (!m_pPluginIntf->GetLastErrorText(why) || why.IsEmpty())
        why = PlcHostString(m_pPluginIntf, ownId);
    AfxShowMessageBox(this, why, nullptr, MB_OK | MB_ICONSTOP);
}

bool CDlgLumoPlc::CanTransfer()
{
    if (m_pPluginIntf && !m_bLinkState)
        return true;
    ProgramError("DlgLumoPlc", __LINE__, nullptr);
    return false;
}

void CDlgLumoPlc::OnReadPlc()
{
    if (!CanTransfer() || !SetOnline(true))
        return;
    bool equal = false;
    const bool stored = StoreProgram();
    if (stored && !ComparePlc(equal))
    {
        SetOnline(false);
        ShowDriveFailure(IDS_PLC_COMM_ERROR);
        return;
    }
    if (stored && equal)
        Ask(IDS_PLC_IDENTICAL, MB_OK | MB_ICONINFORMATION);
    else if (stored)
        ReadFromDrive();
    SetOnline(false);
}

void CDlgLumoPlc::OnWritePlc()
{
    if (!CanTransfer())
        return;
    // A link that was not reached, and a write that failed, have been reported by the host.
    if (!SetOnline(true))
        return;
    if (StoreProgram())
        m_pPluginIntf->SendCommand(HOSTCMD_DOWNLPLC, 0, 0);
    SetOnline(false);
}

// Stores the program on screen, compares it with the drive's and reads the drive's when they
// differ; on any failure the link goes back off.
bool CDlgLumoPlc::BringDriveInLine()
{
    bool equal = false;
    bool ok = StoreProgram();
    if (ok && !ComparePlc(equal))
    {
        ok = false;
        ShowDriveFailure(IDS_PLC_COMM_ERROR);
    }
    if (ok && !equal)
        ok = ReadFromDrive();
    if (!ok)
        SetOnline(false);
    return ok;
}

void CDlgLumoPlc::SwitchOnline()
{
    if (!m_pView || !m_pPluginIntf)
    {
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return;
    }
    const bool wanted = m_bOnline == 0;
    SetOnline(wanted);
    // On line once the drive holds what the view shows: the status cell says nothing before.
    m_bOnline = wanted && BringDriveInLine() ? 1 : 0;
    m_pView->EnableAnimation(m_bOnline != 0);
    UpdateStateCell();
}

// The print preview has no button: the window menu (right button on the toolbars, Alt+Space)
// offers it.
void CDlgLumoPlc::AddPreviewToSystemMenu()
{
    if (CMenu* menu = GetSystemMenu(FALSE))
    {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, kPreviewSysCommand, PlcHostString(m_pPluginIntf, ID_PLC_PRINT_PREVIEW));
    }
}

void CDlgLumoPlc::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == kPreviewSysCommand)
        OnPrint(true);
    else
        CResizableDialog::OnSysCommand(id, lParam);
}

void CDlgLumoPlc::OnPrint(bool preview)
{
    if (!m_pView || m_LogicDoc.GetCount() == 0)
        return;
    m_Printer.SetHost(m_pPluginIntf);
    m_pView->SetPrintInfo(&m_ProjectInfo);
    if (preview)
        m_pView->FilePrintPreview();
    else if (!m_pView->FilePrint() && m_Printer.PrintFailed())
        Ask(IDS_PLC_NOT_PRINTED, MB_OK | MB_ICONSTOP);
}

// The host shows the help its pages set up; without one the user is told.
void CDlgLumoPlc::ShowHelp()
{
    if (!m_pPluginIntf || m_pPluginIntf->SendCommand(HOSTCMD_SHOWHELP, kPlcHelpContext, 0) != HOSTRES_OK)
        Ask(IDS_PLC_NO_HELP, MB_OK | MB_ICONINFORMATION);
}

bool CDlgLumoPlc::CanClose()
{
    if (!AfxGetApp() || !m_pPluginIntf)
    {
        ProgramError("DlgLumoPlc", __LINE__, nullptr);
        return false;
    }
    if (m_bLinkOwner)
    {
        if (m_bLinkState)
            SetOnline(false);
    }
    else if (!m_bLinkState && m_bModified)
    {
        if (Ask(IDS_PLC_LEAVE_MODIFIED, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return false;
        m_bModified = 0;
    }
    if (m_bModified && !StoreProgram())
        return false;
    SavePlacement();
    return true;
}

void CDlgLumoPlc::Close()
{
    if (CanClose())
        EndDialog(IDOK);
}

void CDlgLumoPlc::OnOK()
{
    Close();
}

void CDlgLumoPlc::OnCancel()
{
    Close();
}

// The main toolbar's buttons follow the state; the instruction buttons stay enabled and their
// handlers check their own conditions.
void CDlgLumoPlc::OnTimer(UINT_PTR id)
{
    if (id == kToolbarTimer && m_wndToolBar.GetSafeHwnd())
        m_wndToolBar.OnUpdateCmdUI(this, TRUE);
    else if (id == kStateTimer && m_wndState.GetSafeHwnd())
        UpdateStateCell();
    else
        CResizableDialog::OnTimer(id);
}

LRESULT CDlgLumoPlc::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LDVIEW_MODIFIED)
    {
        SetModified(wParam == 1);
        return 1;
    }
    if (message == WM_HELP)
    {
        ShowHelp();
        return TRUE;
    }
    return CResizableDialog::WindowProc(message, wParam, lParam);
}

BOOL CDlgLumoPlc::PreTranslateMessage(MSG* msg)
{
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE)
        PostMessage(WM_COMMAND, ID_PLC_DELETE, 0);
    return FALSE;
}
