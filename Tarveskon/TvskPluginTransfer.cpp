// A plug-in's long transfer shown in the progress window of the program's own transfers.
#include "TvskManager.h"

#include "PluginCall.h"

#include <algorithm>

long CTvskManager::BeginPluginTransfer(const char* text, long total)
{
    EndPluginTransfer();
    m_strTransferWait = text ? text : "";
    m_pWaitOwner = GetBoxOwner();
    m_pUi->BeginWait(m_pWaitOwner, m_strTransferWait);
    m_pPluginTransfer =
        std::make_unique<CTvskTransferProgress>(TransferProgress(static_cast<int>(std::max(total, 0L))));
    return m_pPluginTransfer->Show() ? HOSTRES_OK : 1;
}

long CTvskManager::PluginTransferStep()
{
    return m_pPluginTransfer && !m_pPluginTransfer->Step() ? 1 : HOSTRES_OK;
}

void CTvskManager::EndPluginTransfer()
{
    if (!m_pPluginTransfer)
        return;
    m_pPluginTransfer.reset();
    m_strTransferWait.Empty();
    m_pUi->EndWait();
}
