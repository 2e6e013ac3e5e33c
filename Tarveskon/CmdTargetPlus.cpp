// Event firing: a sink without a handler for the event is neither a delivery nor a failure.
#include "CmdTargetPlus.h"

CCmdTargetPlus::CCmdTargetPlus(IConnectionPointContainer& container, const IID& eventIid)
    : m_events(container, eventIid)
{
}

void CCmdTargetPlus::FireEvent(DISPID number, std::vector<VARIANT> arguments)
{
    m_bDelivered = false;
    if (m_events.SinkCount() == 0)
    {
        Tell("Script non initialized");
    }
    else
    {
        const tvsk::com::FireResult result = m_events.Fire(number, arguments);
        m_bDelivered = result.handled > 0;
        if (FAILED(result.firstFailure) && result.firstFailure != DISP_E_MEMBERNOTFOUND)
        {
            CString reason(result.firstFailureText.c_str());
            if (reason.IsEmpty())
                reason.Format("0x%08x", static_cast<unsigned>(result.firstFailure));
            CString text;
            text.Format("Script event failure message: %s", reason.GetString());
            Tell(text);
        }
        if (!m_bDelivered)
        {
            CString text;
            text.Format("FireEvent nr. %u failed", static_cast<unsigned>(number));
            Tell(text);
        }
    }
    for (VARIANT& argument : arguments)
        VariantClear(&argument);
}

void CCmdTargetPlus::Tell(const CString& text)
{
    if (m_bVerbose && m_box)
        m_box(text);
}
