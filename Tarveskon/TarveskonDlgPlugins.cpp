// The main dialog's plug-ins: starting one from a page, the help plug-in and the broadcast.
#include "TarveskonDlg.h"

#include "PluginCall.h"
#include "DlgConnChoice.h"
#include "DlgSaveAndDownload.h"
#include "TvskIntf.h"

#include <ZoHelp/ZoHelpWnd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace
{

constexpr UINT kNoConfigurationText = 2130;

intptr_t PointerParam(const void* pointer)
{
    return reinterpret_cast<intptr_t>(pointer);
}

CString ModuleFileName(const char* name)
{
    CString file(name);
    if (file.Find(".dll") < 0)
        file += ".dll";
    return file;
}

bool FileExists(const CString& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path.GetString(), error);
}

} // namespace

void CTarveskonDlg::ShowPluginError(UINT stringId, const CString& module, const std::string& reason)
{
    CString text = LocalString(stringId) + "\n" + module;
    if (!reason.empty())
        text += CString(": ") + reason.c_str();
    MessageBox(nullptr, text, MB_OK | MB_ICONHAND);
}

void CTarveskonDlg::OnHtmlPlugin(const PLUGIN_CALL* call)
{
    if (!call || !call->pszName)
        return;
    const CString module = ModuleFileName(call->pszName);
    CPluginLoader* loader = m_loaderProxy.CreateLoader(module);
    if (!loader)
    {
        ShowPluginError(2000, module, m_loaderProxy.GetLastError());
        return;
    }
    CPluginImpl* plugin = loader->CreatePluginClass(FormatString("%sClass", call->pszName));
    if (!plugin)
    {
        ShowPluginError(2001, module, FormatString("no object of class %sClass", call->pszName).GetString());
        return;
    }
    plugin->SendCommand(PLUGINCMD_SETPARENT, PointerParam(this), 0);
    if (CTvskIntf* automation = m_manager.GetIntf())
        plugin->SendCommand(PLUGINCMD_SETAUTOMATION, PointerParam(static_cast<CCmdTarget*>(automation)), 0);
    plugin->SendCommand(PLUGINCMD_SETINTF, PointerParam(static_cast<CPluginIntf*>(&m_manager)), 0);
    if (call->pszArg && *call->pszArg)
    {
        CString dir;
        m_manager.GetPagesDir(dir, true);
        CString page = FormatString("%s/%s%s", dir.GetString(), call->pszArg, ".htm");
        if (!FileExists(page))
        {
            m_manager.GetPagesDir(dir, false);
            page = FormatString("%s/%s%s", dir.GetString(), call->pszArg, ".htm");
        }
        plugin->SendCommand(PLUGINCMD_SETPAGE, PointerParam(page.GetString()), 0);
    }
    ++m_nPluginRuns;
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    --m_nPluginRuns;
    if (m_wndMain.GetSafeHwnd())
        m_wndMain.UpdateWindow();
    if (m_wndStatus.GetSafeHwnd())
        m_wndStatus.UpdateWindow();
}

void CTarveskonDlg::OpenHelp(const char* topic)
{
    if (!m_pHelpObject)
    {
        m_pHelpLoader = m_loaderProxy.CreateLoader("TvskHelp.dll");
        if (!m_pHelpLoader)
        {
            ShowPluginError(2000, "TvskHelp.dll", m_loaderProxy.GetLastError());
            return;
        }
        m_pHelpObject = m_pHelpLoader->CreatePluginClass("");
        if (!m_pHelpObject)
        {
            ShowPluginError(2001, "TvskHelp.dll", "the module makes no object");
            return;
        }
    }
    m_pHelpObject->SendCommand(PLUGINCMD_SETPARENT, PointerParam(this), 0);
    m_pHelpObject->SendCommand(PLUGINCMD_SETPAGE, PointerParam(topic ? topic : ""), 0);
}

void CTarveskonDlg::OnHtmlHelp(WPARAM, LPARAM lParam)
{
    if (m_manager.SendCommand(HOSTCMD_SHOWHELP, 0, 0) != HOSTRES_HELPERR)
        return;
    // A listing imported on the start page let the help go with the file: it comes back for the page.
    if (!m_pHelpObject)
        OpenHelp(m_manager.GetHelpPagePath(m_bStartPage ? kStartHelpFolder : nullptr));
    if (!m_pHelpObject)
        return;
    m_pHelpObject->SendCommand(PLUGINCMD_RUN, 0, 0);
    m_pHelpObject->SendCommand(PLUGINCMD_HELP, lParam, 0);
}

void CTarveskonDlg::ForgetHelp()
{
    m_pHelpLoader = nullptr;
    m_pHelpObject = nullptr;
}

void CTarveskonDlg::OnFileClose()
{
    delete m_pHelpLoader;
    ForgetHelp();
}

void CTarveskonDlg::SetDataString(const char* settings)
{
    const bool roventar = CTvskDataDb::IsRoventar(m_manager.DataDb().GetDriveType());
    m_wndStatus.SetMotorString(roventar ? CString() : m_manager.GetMotorDescription());
    m_wndStatus.SetDriveString(m_manager.GetDriveDescription());
    m_wndStatus.UpdateCommConfString(settings);
}

void CTarveskonDlg::Upload()
{
    CDlgSaveAndDownload save(this);
    save.SetHost(&m_manager);
    save.DoModal();
}

void CTarveskonDlg::ChooseConnection()
{
    CDlgConnChoice choice(&m_manager, this);
    const INT_PTR chosen = choice.DoModal();
    if (chosen != IDC_CONN_READ_RESULT && chosen != IDC_CONN_WRITE_RESULT &&
        chosen != IDC_CONN_COMPARE_DRIVE_RESULT && chosen != IDC_CONN_COMPARE_FILE_RESULT)
        return;
    // From the start page with drive and motor chosen (or a file imported) the operation works on
    // the configuration the wizard starts with; without them there is nothing to work on.
    if (!m_manager.IsFileOpen())
    {
        if (!CanStartWizard())
        {
            MessageBox(nullptr, LocalString(kNoConfigurationText), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (!StartWizard())
            return;
    }
    UINT command = 0;
    switch (chosen)
    {
    case IDC_CONN_READ_RESULT:
        command = HOSTCMD_GOONLINE;
        break;
    case IDC_CONN_WRITE_RESULT:
        Upload();
        return;
    case IDC_CONN_COMPARE_DRIVE_RESULT:
        command = HOSTCMD_COMPAREWITHDRIVE;
        break;
    case IDC_CONN_COMPARE_FILE_RESULT:
        command = HOSTCMD_COMPAREWITHFILE;
        break;
    default:
        return;
    }
    m_manager.SendCommand(command, static_cast<long>(PointerParam(this)), 0);
}

std::unique_ptr<CZoHelpIntf> CTarveskonDlg::CreateHelpWindow()
{
    return std::make_unique<CZoHelpWnd>();
}
