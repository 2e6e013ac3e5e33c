// Entry of the cam editor module.
#include <TvskCamEditor/plugin/CamEditorPlugin.h>

#include <TvskCamEditor/ui/CamEditorIds.h>
#include <TvskCamEditor/ui/DlgCamEdit.h>

#include <Tarveskon/PluginCall.h>
#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/ProgramError.h>
#include <ui/Resources.h>

#include <cctype>
#include <cstdlib>

int CCamEditorPlugin::CamOf(intptr_t record)
{
    const auto* call = reinterpret_cast<const PLUGIN_CALL*>(record);
    if (!call || !call->pszArg || !std::isdigit(static_cast<unsigned char>(*call->pszArg)))
        return -1;
    return std::atoi(call->pszArg);
}

int CCamEditorPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t param2)
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
    {
        if (!m_pHost)
        {
            ProgramError("CamEditorPlugin", __LINE__, nullptr);
            return 0;
        }
        CResourceModuleScope resources(CamEditorModule());
        CDlgCamEdit dialog(m_pHost, CamOf(param2), m_pParent);
        dialog.DoModal();
        return 0;
    }
    default:
        return 1;
    }
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CCamEditorPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskCamEditor";
}
