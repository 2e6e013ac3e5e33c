// Host command sequences of the oscilloscope.
#include <TvskOsc/model/OscLink.h>

#include <Tarveskon/PluginIntf.h>

#include <framework/LeadingNumber.h>

#include <cstdint>

long COscLink::Command(unsigned code, long param1, long param2) const
{
    return m_pHost ? m_pHost->SendCommand(code, param1, param2) : -1;
}

int COscLink::ReadMode()
{
    m_nAddress[0] = m_nAddress[1] = -1;
    m_nMode = static_cast<int>(Command(29, static_cast<long>(reinterpret_cast<intptr_t>(&m_nAddress[0])),
                                       static_cast<long>(reinterpret_cast<intptr_t>(&m_nAddress[1]))));
    if (m_nMode != 0 && m_nMode != 1)
        m_nMode = -1;
    return m_nMode;
}

bool COscLink::WriteMode(int mode, bool channelOurs)
{
    if (mode == m_nMode || m_nMode == -1)
        return false;
    if (channelOurs)
        Command(24, 1);
    const bool written = Command(30, mode, mode) == mode;
    if (channelOurs)
        Command(24, 0);
    if (written)
        m_nMode = mode;
    return written;
}

long COscLink::StreamBit() const
{
    const bool second = m_pHost && m_pHost->IsCommAddress1000();
    const int address = m_nAddress[second ? 1 : 0];
    return address != -1 ? address : kDefaultStreamBit;
}

OscStartResult COscLink::Start(bool connectedHere, int& minimumBaud)
{
    minimumBaud = tvsk::LeadingInt(m_pHost ? m_pHost->GetOscMinBaud().GetString() : "19200");
    int baud = 0;
    if (!m_pHost || m_pHost->GetBaudRate(&baud) < 0 || baud < minimumBaud)
        return OSC_BAUD_TOO_LOW;
    if (!connectedHere && Command(18) != 0)
        return OSC_NO_CHANNEL;
    Command(24, 1);
    if (!SwitchStream(true))
    {
        Command(24, 0);
        Command(19);
        return OSC_STREAM_FAILED;
    }
    Command(24, 0);
    return OSC_STARTED;
}

void COscLink::Stop()
{
    Command(24, 1);
    SwitchStream(false);
    Command(19);
}

bool COscLink::SwitchStream(bool on)
{
    const long bit = StreamBit();
    if (on)
        return Command(23, 0) == 0 && Command(21, bit, 1) == 0;
    const int tries = m_pHost ? tvsk::LeadingInt(m_pHost->GetOscResetTries().GetString()) : 1;
    for (int i = 0; i < (tries > 0 ? tries : 1); ++i)
        if (Command(21, bit, 0) != 0)
            return false;
    return Command(23, 1) == 0;
}

int COscLink::ReadFrames(COscFrameDecoder& decoder, COscAcquisition& acquisition)
{
    int frames = 0;
    for (;;)
    {
        Command(24, 1);
        const int wanted = decoder.Wanted();
        const long got =
            Command(22, wanted, static_cast<long>(reinterpret_cast<intptr_t>(decoder.FillPosition())));
        if (got < wanted)
        {
            decoder.BytesArrived(static_cast<int>(got)); // -1 counts as no bytes
            Command(24, 0);
            Command(19);
            return frames;
        }
        const bool frame = decoder.BytesArrived(wanted);
        Command(24, 0);
        if (!frame)
            continue;
        ++frames;
        if (acquisition.AddFrame(decoder.Values()))
            return frames;
    }
}
