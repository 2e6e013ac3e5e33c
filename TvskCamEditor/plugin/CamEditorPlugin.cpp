// Entry of the cam editor module.
#include <TvskCamEditor/plugin/CamEditorPlugin.h>

#include <TvskCamEditor/ui/CamEditorIds.h>
#include <TvskCamEditor/ui/DlgCamEdit.h>

#include <Tarveskon/PluginCall.h>
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

void CCamEditorPlugin::Run(intptr_t /*argument*/, intptr_t request)
{
    CResourceModuleScope resources(CamEditorModule());
    CDlgCamEdit dialog(m_pHost, CamOf(request), m_pParent);
    dialog.DoModal();
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CCamEditorPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskCamEditor";
}
