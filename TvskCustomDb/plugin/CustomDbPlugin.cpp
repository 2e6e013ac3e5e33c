// Entry of the custom motor database module.
#include <TvskCustomDb/plugin/CustomDbPlugin.h>

#include <TvskCustomDb/ui/CustomDbIds.h>
#include <TvskCustomDb/ui/DlgMotorDb.h>

#include <Tarveskon/PluginCall.h>
#include <ZoSupport/ProgramError.h>
#include <ui/Resources.h>

int CCustomDbPlugin::SendCommand(unsigned code, intptr_t param1, intptr_t /*param2*/)
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
            ProgramError("CustomDbPlugin", __LINE__, nullptr);
            return 0;
        }
        CResourceModuleScope resources(CustomDbModule());
        CDlgMotorDb dialog(m_pHost, m_pParent);
        dialog.DoModal();
        m_bSaved = dialog.WasSaved();
        return 0;
    }
    case PLUGINCMD_RESULT:
        if (param1)
            *reinterpret_cast<int*>(param1) = m_bSaved ? 1 : 0;
        return 1;
    default:
        return 1;
    }
}

extern "C" __attribute__((visibility("default"))) CPluginImpl* CreatePluginClass()
{
    return new CCustomDbPlugin;
}

extern "C" __attribute__((visibility("default"))) const char* GetPluginName()
{
    return "TvskCustomDb";
}
