// Entry of the PLC editor module.
#include "PlcEditorPlugin.h"

#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include <Tarveskon/PluginCall.h>
#include <ZoSupport/ProgramError.h>
#include <ui/Resources.h>

#include <new>

int CPlcEditorPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t /*param2*/)
{
    switch (code)
    {
    case PLUGINCMD_SETINTF:
        m_pPluginIntf = reinterpret_cast<CPluginIntf*>(param1);
        break;
    case PLUGINCMD_SETPARENT:
        m_pParent = reinterpret_cast<CWnd*>(param1);
        break;
    case PLUGINCMD_RUN:
    {
        // Without a host the dialog could never store or close: nothing opens.
        if (!m_pPluginIntf)
        {
            ProgramError("PlcEditorPlugin", __LINE__, "no host interface");
            break;
        }
        CResourceModuleScope resources(PlcModule());
        CDlgLumoPlc dialog(m_pParent);
        dialog.m_pPluginIntf = m_pPluginIntf;
        dialog.DoModal();
        break;
    }
    default:
        break;
    }
    return 0;
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    // The host is told of a failure by a null object, never by an exception through the C entry.
    return new (std::nothrow) CPlcEditorPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskLumoPlc";
}
