// Entry of the download module.
#include <TvskDownload/plugin/DownloadPlugin.h>

#include <TvskDownload/ui/DownloadIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ui/MessageBox.h>
#include <ui/Resources.h>

int CDownloadPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t /*param2*/)
{
    switch (code)
    {
    case PLUGINCMD_SETINTF:
        m_pHost = reinterpret_cast<CPluginIntf*>(param1);
        return 0;
    case PLUGINCMD_SETPARENT:
        m_pParent = reinterpret_cast<CWnd*>(param1);
        return 0;
    case PLUGINCMD_RUN:
        Run();
        return 0;
    case PLUGINCMD_SHOW:
        if (m_Wnd.GetSafeHwnd() && m_Wnd.IsWindowVisible())
        {
            m_Wnd.SetActiveWindow();
            if (m_pParent && !(m_pHost && m_pHost->IsExclusiveMode()))
                m_pParent->SetActiveWindow();
        }
        return 0;
    default:
        return 1;
    }
}

void CDownloadPlugin::Run()
{
    CResourceModuleScope resources(DownloadModule());
    m_Wnd.SetHost(m_pHost);
    if (m_pHost && !(m_Wnd.GetSafeHwnd() && m_Wnd.IsWindowVisible()))
    {
        const int answer = AfxShowMessageBox(m_pParent, DownloadString(m_pHost, IDS_DL_EXCLUSIVE), nullptr,
                                             MB_YESNO | MB_ICONQUESTION);
        m_pHost->SendCommand(HOSTCMD_SETEXCLUSIVE, answer == IDYES ? 1 : 0, 0);
    }
    if (!m_Wnd.GetSafeHwnd())
        m_Wnd.CreateWindowAt();
    m_Wnd.ShowWindow(SW_SHOW);
    m_Wnd.SetVisibleState(true);
    m_Wnd.PostMessage(WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(m_pParent));
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CDownloadPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskDownload";
}
