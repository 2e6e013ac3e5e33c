// Channel buffers and the software trigger.
#include <TvskOsc/model/OscAcquisition.h>

void COscChannelBuffer::Push(double value)
{
    m_Data[static_cast<size_t>(m_nWrite)] = value;
    m_nWrite = (m_nWrite + 1) % kSize;
    if (m_nWrite == m_nSent)
        m_nSent = (m_nSent + 1) % kSize; // overrun: the oldest unsent sample is lost
}

void COscChannelBuffer::SendNew(const std::function<void(const double*, int)>& send)
{
    if (m_nSent == m_nWrite)
        return;
    if (m_nSent < m_nWrite)
        send(&m_Data[static_cast<size_t>(m_nSent)], m_nWrite - m_nSent);
    else
    {
        send(&m_Data[static_cast<size_t>(m_nSent)], kSize - m_nSent);
        if (m_nWrite > 0)
            send(&m_Data[0], m_nWrite);
    }
    m_nSent = m_nWrite;
}

void COscAcquisition::Start()
{
    for (COscChannelBuffer& channel : m_Channels)
        channel.Clear();
    m_nSamples = 0;
    m_nTriggerSample = 0;
    m_bHavePrevious = false;
    m_bTriggered = false;
    m_nPostCount = 0;
}

void COscAcquisition::Arm(double horzDivMs, double triggerPosMs)
{
    m_nPostTarget = static_cast<int>(horzDivMs * 10 * kSamplesPerMs + 1);
    m_nPreLength = static_cast<int>(triggerPosMs * kSamplesPerMs);
    m_bTriggered = false;
    m_nPostCount = 0;
    m_nAcquisitions = 0;
}

bool COscAcquisition::Fires(double current, double previous) const
{
    const bool rising = current >= m_dLevel && previous < m_dLevel;
    const bool falling = current <= m_dLevel && previous > m_dLevel;
    switch (m_nEdge)
    {
    case OSC_EDGE_POSITIVE:
        return rising;
    case OSC_EDGE_NEGATIVE:
        return falling;
    default:
        return rising || falling;
    }
}

bool COscAcquisition::AddFrame(const OSC_VALUES& values)
{
    const double current[kChannels] = {values.ch1, values.ch2, values.din0, values.din1};
    m_Channels[0].Push(values.ch1);
    m_Channels[1].Push(values.ch2);
    m_Channels[2].Push(values.din0 * kDigitalScale);
    m_Channels[3].Push(values.din1 * kDigitalScale);
    ++m_nSamples;
    const double source = current[m_nSource >= 0 && m_nSource < kChannels ? m_nSource : 0];
    const double previous = m_bHavePrevious ? m_dPrevious : source;
    m_dPrevious = source;
    m_bHavePrevious = true;
    if (m_nMode == OSC_TRIG_AUTO)
        return false;
    if (!m_bTriggered)
    {
        if (Fires(source, previous))
        {
            m_bTriggered = true;
            m_nPostCount = 0;
            m_nTriggerSample = m_nSamples - 1;
        }
        return false;
    }
    if (m_nPostCount < m_nPostTarget)
        ++m_nPostCount;
    return m_nPostCount >= m_nPostTarget;
}

bool COscAcquisition::TakeCapture()
{
    if (m_nMode == OSC_TRIG_AUTO)
        return true;
    if (!m_bTriggered || m_nPostCount < m_nPostTarget)
        return false;
    m_bTriggered = false;
    m_nPostCount = 0;
    ++m_nAcquisitions;
    return true;
}
