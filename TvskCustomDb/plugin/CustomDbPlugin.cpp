// Entry of the custom motor database module.
#include <TvskCustomDb/plugin/CustomDbPlugin.h>

#include <TvskCustomDb/ui/CustomDbIds.h>
#include <TvskCustomDb/ui/DlgMotorDb.h>

#include <Tarveskon/PluginCall.h>
#include <ui/Resources.h>

void CCustomDbPlugin::Run(intptr_t /*argument*/, intptr_t /*request*/)
{
    CResourceModuleScope resources(CustomDbModule());
    CDlgMotorDb dialog(m_pHost, m_pParent);
    dialog.DoModal();
    m_bSaved = dialog.WasSaved();
}

int CCustomDbPlugin::OtherCommand(unsigned code, intptr_t param1, intptr_t /*param2*/)
{
    if (code != PLUGINCMD_RESULT)
        return 1;
    if (param1)
        *reinterpret_cast<int*>(param1) = m_bSaved ? 1 : 0;
    return 1;
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CCustomDbPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskCustomDb";
}
