// The four channel buffers of a recording with the software trigger that decides when to show them.
#pragma once

#include <TvskOsc/model/OscFrameDecoder.h>

#include <array>
#include <functional>
#include <vector>

// One circular channel buffer; "sent" marks what the graph has already been given.
class COscChannelBuffer
{
public:
    static constexpr int kSize = 15000;

    COscChannelBuffer() : m_Data(kSize, 0.0) {}
    void Clear() noexcept { m_nWrite = m_nSent = 0; }
    void Push(double value);
    // Hands over the samples not yet sent, in at most two runs across the wrap.
    void SendNew(const std::function<void(const double*, int)>& send);
    int WriteIndex() const noexcept { return m_nWrite; }
    int SentIndex() const noexcept { return m_nSent; }
    double At(int i) const { return m_Data[static_cast<size_t>(i)]; }

private:
    std::vector<double> m_Data;
    int m_nWrite = 0;
    int m_nSent = 0;
};

enum OscTriggerMode
{
    OSC_TRIG_AUTO = 0,
    OSC_TRIG_NORMAL = 1,
    OSC_TRIG_SINGLE = 2
};

enum OscTriggerEdge
{
    OSC_EDGE_POSITIVE = 0,
    OSC_EDGE_NEGATIVE = 1,
    OSC_EDGE_BOTH = 2
};

class COscAcquisition
{
public:
    static constexpr int kChannels = 4;
    static constexpr double kSamplePeriodMs = 4.096;
    static constexpr double kSamplesPerMs = 0.244140625;
    static constexpr double kDigitalScale = 25.0;

    // A new recording: buffers cleared, trigger re-armed with the last settings.
    void Start();
    void SetMode(int mode) noexcept { m_nMode = mode; }
    int GetMode() const noexcept { return m_nMode; }
    void SetEdge(int edge) noexcept { m_nEdge = edge; }
    // Channel 0-3 whose current value the trigger watches, and its level.
    void SetSource(int channel) noexcept { m_nSource = channel; }
    int GetSource() const noexcept { return m_nSource; }
    void SetLevel(double level) noexcept { m_dLevel = level; }
    // Horizontal division and trigger position in milliseconds.
    void Arm(double horzDivMs, double triggerPosMs);
    int PostTriggerTarget() const noexcept { return m_nPostTarget; }
    int PreTriggerLength() const noexcept { return m_nPreLength; }

    // One decoded frame; true when a triggered capture has just become complete (the frame loop ends).
    bool AddFrame(const OSC_VALUES& values);
    // After the frame loop: true when the samples are to be shown now (automatic mode, or a complete
    // capture, which also counts as an acquisition and leaves the trigger waiting again).
    bool TakeCapture();
    // Time of the last capture's trigger, in milliseconds from the start of the recording.
    double TriggerTimeMs() const noexcept { return m_nTriggerSample * kSamplePeriodMs; }
    int Acquisitions() const noexcept { return m_nAcquisitions; }
    bool IsTriggered() const noexcept { return m_bTriggered; }

    COscChannelBuffer& Channel(int i) { return m_Channels[static_cast<size_t>(i)]; }

private:
    bool Fires(double current, double previous) const;

    std::array<COscChannelBuffer, kChannels> m_Channels;
    int m_nMode = OSC_TRIG_AUTO;
    int m_nEdge = OSC_EDGE_POSITIVE;
    int m_nSource = 0;
    double m_dLevel = 0.0;
    double m_dPrevious = 0.0;
    bool m_bHavePrevious = false;
    int m_nPostTarget = 1;
    int m_nPreLength = 0;
    bool m_bTriggered = false;
    int m_nPostCount = 0;
    long m_nSamples = 0;
    long m_nTriggerSample = 0;
    int m_nAcquisitions = 0;
};
