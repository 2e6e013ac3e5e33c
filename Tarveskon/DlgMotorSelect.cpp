// The motor selection dialog and its template.
#include "DlgMotorSelect.h"

#include "TvskManager.h"
#include "TvskMessages.h"

#include <cstdint>

namespace
{

const DlgItem kItems[] = {
    {DlgKind::Frame, IDC_SELECT_PAGE_PLACEHOLDER, 0, 0, 460, 340},
};
const DialogTemplate kTemplate = {"Select motor", WS_POPUP | WS_CAPTION | WS_SYSMENU, 460, 340,
                                  kItems,         static_cast<int>(std::size(kItems))};

struct Registration
{
    Registration() { AfxRegisterDialogTemplate(IDD_MOTOR_SELECT, &kTemplate); }
};
const Registration g_registration;

} // namespace

CDlgMotorSelect::CDlgMotorSelect(CWnd* parent) : CSelectDlg(IDD_MOTOR_SELECT, "Motors", parent) {}

CString CDlgMotorSelect::PagePath()
{
    return m_pManager ? m_pManager->GetMotorsPagePath() : CString();
}

LRESULT CDlgMotorSelect::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HTML_PLUGIN)
    {
        OnHtmlPlugin(reinterpret_cast<const PLUGIN_CALL*>(lParam));
        return 0;
    }
    return CSelectDlg::WindowProc(message, wParam, lParam);
}

void CDlgMotorSelect::OnHtmlPlugin(const PLUGIN_CALL* call)
{
    if (!call || !call->pszName)
        return;
    CString file(call->pszName);
    if (file.Find(".dll") < 0)
        file += ".dll";
    CPluginLoader* loader = m_loaderProxy.CreateLoader(file);
    CPluginImpl* plugin = loader ? loader->CreatePluginClass(nullptr) : nullptr;
    if (!plugin)
        return;
    int changed = 0;
    plugin->SendCommand(PLUGINCMD_SETPARENT, reinterpret_cast<intptr_t>(static_cast<CWnd*>(this)), 0);
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(static_cast<CPluginIntf*>(m_pManager)),
                        0);
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    plugin->SendCommand(PLUGINCMD_RESULT, reinterpret_cast<intptr_t>(&changed), 0);
    const CString path = PagePath();
    if (changed == 1 && !path.IsEmpty())
        m_wndMotor.Navigate(path);
    else
        m_wndMotor.UpdateWindow();
}

void CDlgMotorSelect::OnOK()
{
    if (!m_pManager)
    {
        EndDialog(IDOK);
        return;
    }
    m_wndMotor.GetMotorValue();
    if (!m_pManager->SelectedMotorFitsDrive() &&
        m_pManager->MessageBox(2077, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
        return;
    m_pManager->TakeSelectedMotor();
    m_loaderProxy.Reset();
    EndDialog(IDOK);
}

void CDlgMotorSelect::OnCancel()
{
    if (m_pManager && m_pManager->GetMotorDb()->IsOpen())
        m_pManager->MatchMotorDb();
    m_loaderProxy.Reset();
    EndDialog(IDCANCEL);
}
