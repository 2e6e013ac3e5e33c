// The protocol object's side of the configuration dialog: showing it, taking its result, autodetect.
#include "VrnSer.h"

#include <kernel/Time.h>

#include <iterator>
#include <new>

namespace
{
constexpr DWORD kModemCodeOffset = kModemPortCodeBase - kSerialPortCodeBase;
constexpr DWORD kFirstSerialCode = 5;
constexpr DWORD kLastSerialCode = 259;
constexpr WORD kProbeTimeOut = 100;
constexpr SHORT kLastProbedAddress = 30;
constexpr DWORD kPollMilliseconds = 100;
constexpr DWORD kBaudRatePause = 2000;

bool IsSerialCode(DWORD code)
{
    return code >= kFirstSerialCode && code <= kLastSerialCode;
}
} // namespace

HRESULT CVrnSer::Config()
{
    CConfigDialog* dialog = VrnSerConfigDialog();
    if (!dialog)
        return E_NOTIMPL;
    CDriveSettings shown = m_settings;
    if (shown.modem && IsSerialCode(shown.portCode - kModemCodeOffset))
        shown.portCode -= kModemCodeOffset;
    shown.dialNumber = UnescapeDialNumber(m_settings.dialNumber);
    if (!dialog->Edit(shown, *this))
        return S_OK;
    return ApplyConfig(shown);
}

HRESULT CVrnSer::ApplyConfig(const CDriveSettings& edited)
{
    CDriveSettings settings = edited;
    if (settings.modem && IsSerialCode(settings.portCode))
        settings.portCode += kModemCodeOffset;
    settings.dialNumber = EscapeDialNumber(edited.dialNumber);
    m_settings = settings;
    if (!m_port || !m_active)
        return S_OK;
    m_port.reset();
    m_active = false;
    m_port.reset(new (std::nothrow) CComPort(m_ports));
    if (!m_port)
        return Fail(DLE_NOT_OPEN, S_OK);
    if (!m_port->open(BuildPortPart(m_settings).c_str()))
    {
        m_port.reset();
        return Fail(DLE_OPEN_FAILED, VRNSER_E_OPEN_FAILED);
    }
    m_active = true;
    return S_OK;
}

void CVrnSer::Autodetect(DWORD portCode, DWORD frameCode, CAutodetectState& state)
{
    const CDriveSettings saved = m_settings;
    const bool savedMessages = m_messagesOn;
    m_settings.portCode = portCode;
    m_settings.frameCode = frameCode;
    Scan(kAutodetectBaudRates, std::size(kAutodetectBaudRates), state);
    m_settings = saved;
    m_messagesOn = savedMessages;
    state.running = false;
    state.done = true;
}

void CVrnSer::Scan(const DWORD* baudRates, size_t count, CAutodetectState& state)
{
    m_port.reset();
    m_active = false;
    m_port.reset(new (std::nothrow) CComPort(m_ports));
    if (!m_port)
    {
        Fail(DLE_NOT_OPEN, S_OK);
        return;
    }
    m_messagesOn = false;
    m_settings.timeOut = kProbeTimeOut;
    // A find waits until the dialog has asked the user whether to go on.
    const auto reportFind = [&state]
    {
        state.found = true;
        while (state.found)
            ::Sleep(kPollMilliseconds);
    };
    for (size_t i = 0; i < count && state.running; ++i)
    {
        m_settings.baudRate = baudRates[i];
        state.baudRate = baudRates[i];
        if (m_port->open(BuildPortPart(m_settings).c_str()))
        {
            if (m_settings.asciiMode)
            {
                state.address = m_settings.address;
                if (Probe())
                    reportFind();
            }
            else
            {
                for (SHORT address = 0; address <= kLastProbedAddress && state.running; ++address)
                {
                    m_settings.address = address;
                    state.address = address;
                    if (Probe())
                        reportFind();
                }
            }
            m_port->close();
        }
        if (state.running && i + 1 < count)
            ::Sleep(kBaudRatePause);
    }
    m_port.reset();
}

bool CVrnSer::Probe()
{
    VARIANT value;
    VariantInit(&value);
    return get_Par(m_probeParameter, 0, static_cast<SHORT>(m_probeType), &value) == S_OK;
}
