// The download-and-save dialog and its template.
#include "DlgSaveAndDownload.h"

#include "PluginCall.h"
#include "TvskManager.h"

#include <ZoSupport/ProgramError.h>
#include <ui/Controls.h>

namespace
{

const DlgItem kItems[] = {
    {DlgKind::CheckBox, IDC_DOWNLOAD_PARAMS, 10, 10, 80, 12, "Parametri"},
    {DlgKind::CheckBox, IDC_DOWNLOAD_PLC, 10, 26, 80, 12, "LumoPLC"},
    {DlgKind::CheckBox, IDC_DOWNLOAD_CAMS, 10, 42, 80, 12, "Camma"},
    {DlgKind::PushButton, IDC_DOWNLOAD, 10, 60, 80, 14, "Scarica"},
    {DlgKind::CheckBox, IDC_SAVE_PARAMS, 104, 10, 80, 12, "Parametri"},
    {DlgKind::CheckBox, IDC_SAVE_PLC, 104, 26, 80, 12, "LumoPLC"},
    {DlgKind::PushButton, IDC_SAVE, 104, 60, 80, 14, "Salva"},
    {DlgKind::DefPushButton, IDOK, 57, 84, 80, 14, "Chiudi"},
};
const DialogTemplate kTemplate = {"Invia e salva", WS_POPUP | WS_CAPTION | WS_SYSMENU, 194, 106,
                                  kItems,          static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_SAVE_AND_DOWNLOAD, &kTemplate); }
};
const Registration g_registration;

struct ItemText
{
    UINT id;
    UINT stringId;
};
constexpr ItemText kTexts[] = {
    {IDC_DOWNLOAD_PARAMS, 2066}, {IDC_DOWNLOAD_PLC, 2067}, {IDC_DOWNLOAD_CAMS, 2068}, {IDC_SAVE_PARAMS, 2069},
    {IDC_SAVE_PLC, 2070},        {IDC_SAVE, 2072},         {IDC_DOWNLOAD, 2073},      {IDOK, 2080},
};

constexpr const char* kUnit = "DlgSaveAndDownload";
// The error code of a step a script vetoed.
constexpr int kScriptVeto = 20;

} // namespace

CDlgSaveAndDownload::CDlgSaveAndDownload(CWnd* parent) : CDialog(IDD_SAVE_AND_DOWNLOAD, parent) {}

BOOL CDlgSaveAndDownload::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pHost)
    {
        ProgramError(kUnit, __LINE__, nullptr);
        return TRUE;
    }
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CString text;
    if (m_pHost->GetString(2071, text) && !text.IsEmpty())
        SetWindowText(text);
    for (const ItemText& item : kTexts)
        if (CWnd* control = GetDlgItem(item.id);
            control && m_pHost->GetString(item.stringId, text) && !text.IsEmpty())
            control->SetWindowText(text);
    GetDlgItem(IDC_DOWNLOAD)->EnableWindow(FALSE);
    GetDlgItem(IDC_SAVE)->EnableWindow(FALSE);
    return TRUE;
}

BOOL CDlgSaveAndDownload::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam))
    {
    case IDC_DOWNLOAD:
        OnDownload();
        return TRUE;
    case IDC_SAVE:
        OnSave();
        return TRUE;
    case IDC_DOWNLOAD_PARAMS:
    case IDC_DOWNLOAD_PLC:
    case IDC_DOWNLOAD_CAMS:
    case IDC_SAVE_PARAMS:
    case IDC_SAVE_PLC:
        OnEnableCheck();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CDlgSaveAndDownload::ReadChecks()
{
    auto checked = [this](UINT id)
    { return static_cast<CButton*>(GetDlgItem(id))->GetCheck() == BST_CHECKED; };
    m_bDownloadParams = checked(IDC_DOWNLOAD_PARAMS);
    m_bDownloadPlc = checked(IDC_DOWNLOAD_PLC);
    m_bDownloadCams = checked(IDC_DOWNLOAD_CAMS);
    m_bSaveParams = checked(IDC_SAVE_PARAMS);
    m_bSavePlc = checked(IDC_SAVE_PLC);
}

void CDlgSaveAndDownload::WriteChecks()
{
    auto check = [this](UINT id, BOOL on)
    { static_cast<CButton*>(GetDlgItem(id))->SetCheck(on ? BST_CHECKED : 0); };
    check(IDC_DOWNLOAD_PARAMS, m_bDownloadParams);
    check(IDC_DOWNLOAD_PLC, m_bDownloadPlc);
    check(IDC_DOWNLOAD_CAMS, m_bDownloadCams);
    check(IDC_SAVE_PARAMS, m_bSaveParams);
    check(IDC_SAVE_PLC, m_bSavePlc);
}

void CDlgSaveAndDownload::OnEnableCheck()
{
    ReadChecks();
    GetDlgItem(IDC_DOWNLOAD)->EnableWindow(m_bDownloadParams || m_bDownloadPlc || m_bDownloadCams);
    GetDlgItem(IDC_SAVE)->EnableWindow(m_bSaveParams || m_bSavePlc);
}

bool CDlgSaveAndDownload::EnsureConnected(bool& opened)
{
    opened = false;
    if (m_pHost->IsConnected())
        return true;
    if (m_pHost->Connect("") != 0)
    {
        m_pHost->MessageBox(2065, MB_OK | MB_ICONERROR);
        return false;
    }
    opened = true;
    return true;
}

void CDlgSaveAndDownload::OnDownload()
{
    RunTicked({{&m_bDownloadParams, HOSTCMD_DOWNLPARAMS, IDC_DOWNLOAD_PARAMS},
               {&m_bDownloadPlc, HOSTCMD_DOWNLPLC, IDC_DOWNLOAD_PLC},
               {&m_bDownloadCams, HOSTCMD_DOWNLCAMS, IDC_DOWNLOAD_CAMS}},
              IDC_DOWNLOAD, false);
}

void CDlgSaveAndDownload::OnSave()
{
    RunTicked({{&m_bSaveParams, HOSTCMD_SAVEPARAMETERS, IDC_SAVE_PARAMS},
               {&m_bSavePlc, HOSTCMD_SAVEPLC, IDC_SAVE_PLC}},
              IDC_SAVE, true);
}

void CDlgSaveAndDownload::RunTicked(std::initializer_list<Ticked> commands, UINT button, bool saving)
{
    if (!m_pHost)
    {
        ProgramError(kUnit, __LINE__, nullptr);
        return;
    }
    ReadChecks();
    bool opened = false;
    if (!EnsureConnected(opened))
        return;
    // A step that failed or was cancelled ends the whole operation (a script's veto does not): the
    // step told how far it got, the ticked boxes after it are named here.
    bool stopped = false;
    CString notSent;
    for (const Ticked& step : commands)
    {
        if (*step.ticked && stopped)
        {
            CString name;
            GetDlgItemText(static_cast<int>(step.box), name);
            notSent += (notSent.IsEmpty() ? "" : ", ") + name;
        }
        else if (*step.ticked)
        {
            m_pHost->SendCommand(step.command, 0, 0);
            const int code = m_pHost->GetErrorCode();
            stopped = code != 0 && code != kScriptVeto;
        }
        *step.ticked = FALSE;
    }
    WriteChecks();
    GetDlgItem(button)->EnableWindow(FALSE);
    if (!notSent.IsEmpty())
        m_pHost->MessageBox(FormatString(m_pHost->LocalText(2163).GetString(), notSent.GetString()),
                            MB_OK | MB_ICONWARNING);
    if (!saving)
    {
        if (opened)
            m_pHost->Disconnect();
        return;
    }
    m_pHost->SendCommand(HOSTCMD_UNLOCKCOMM, 0, 0);
    // Unlike Download: a connection found open is closed, one this button opened stays.
    if (!opened)
        m_pHost->Disconnect();
}

void CDlgSaveAndDownload::OnOK()
{
    if (!m_pHost)
    {
        ProgramError(kUnit, __LINE__, nullptr);
        return;
    }
    m_pHost->SendCommand(HOSTCMD_UNLOCKCOMM, 0, 0);
    CDialog::OnOK();
}
