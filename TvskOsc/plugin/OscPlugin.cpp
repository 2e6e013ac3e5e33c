// Entry of the oscilloscope module.
#include <TvskOsc/plugin/OscPlugin.h>

#include <TvskOsc/ui/DlgOscilloscope.h>
#include <TvskOsc/ui/OscIds.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ui/MessageBox.h>
#include <ui/Resources.h>

int COscPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t /*param2*/)
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
    {
        if (m_pHost && m_pHost->IsExclusiveMode())
            break;
        CResourceModuleScope resources(OscModule());
        CDlgOscilloscope dialog(m_pHost, m_pParent);
        if (dialog.DoModal() < 0)
            AfxShowMessageBox(m_pParent, "ZoGraph3 Library Missing", nullptr, MB_OK | MB_ICONSTOP);
        break;
    }
    default:
        break;
    }
    return 0;
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new COscPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskOscilloscope";
}
