// The scope's conversation with the drive through the host: channel, stream switch and frames.
#pragma once

#include <TvskOsc/model/OscAcquisition.h>
#include <TvskOsc/model/OscFrameDecoder.h>

class CPluginIntf;

enum OscStartResult
{
    OSC_STARTED = 0,
    OSC_BAUD_TOO_LOW = 1, // the minimum is in minimumBaud
    OSC_NO_CHANNEL = 2,
    OSC_STREAM_FAILED = 3
};

class COscLink
{
public:
    static constexpr long kDefaultStreamBit = 0xB002A; // bit 11 of word 42

    explicit COscLink(CPluginIntf* host) : m_pHost(host) {}

    // Host command 29: the mode (0 speed and current, 1 extended, -1 unknown) and its two addresses.
    int ReadMode();
    int Mode() const noexcept { return m_nMode; }
    // Host command 30 wrapped in 24(1)/24(0) when the channel is ours; false when refused.
    bool WriteMode(int mode, bool channelOurs);
    // The bit the stream switch writes, as (bit << 16) + address.
    long StreamBit() const;

    // Checks the baud rate, takes the channel (unless ours already) and switches the stream on.
    OscStartResult Start(bool connectedHere, int& minimumBaud);
    // Switches the stream off and gives the channel back.
    void Stop();
    bool SwitchStream(bool on);

    // Reads frames until none is complete or a triggered capture completes; answers the frames read.
    int ReadFrames(COscFrameDecoder& decoder, COscAcquisition& acquisition);

private:
    long Command(unsigned code, long param1 = 0, long param2 = 0) const;

    CPluginIntf* m_pHost; // not owned
    int m_nMode = -1;
    int m_nAddress[2] = {-1, -1};
};
