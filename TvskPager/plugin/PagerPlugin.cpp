// Entry of the page viewer module.
#include <TvskPager/plugin/PagerPlugin.h>

#include <TvskPager/ui/PagerDlg.h>
#include <TvskPager/ui/PagerIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ui/Resources.h>

int CPagerPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t)
{
    switch (code)
    {
    case PLUGINCMD_SETINTF:
        m_pHost = reinterpret_cast<CPluginIntf*>(param1);
        break;
    case PLUGINCMD_SETPARENT:
        m_pParent = reinterpret_cast<CWnd*>(param1);
        break;
    case PLUGINCMD_RUN:
        Run();
        break;
    case PLUGINCMD_SETPAGE:
        m_pagePath = param1 ? reinterpret_cast<const char*>(param1) : "";
        break;
    case PLUGINCMD_SETAUTOMATION:
        m_pAutomation = reinterpret_cast<CCmdTarget*>(param1);
        break;
    default:
        break;
    }
    return 0;
}

void CPagerPlugin::Run()
{
    if (m_pHost && m_pHost->IsExclusiveMode() == 1)
        return;
    CResourceModuleScope resources(PagerModule());
    CPagerDlg dialog(m_pagePath, m_pHost, m_pAutomation, m_pParent);
    if (m_pHost)
        m_pHost->PushParentWnd(&dialog);
    dialog.DoModal();
    if (m_pHost)
        m_pHost->PopParentWnd();
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CPagerPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskPager";
}
