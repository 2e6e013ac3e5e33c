// Frame assembly and decoding of the sample stream.
#include <TvskOsc/model/OscFrameDecoder.h>

#include <cstring>

namespace
{
uint16_t Word(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}
bool IsSync(uint16_t word)
{
    return (word & 0x0001) != 0;
}
bool IsData(uint16_t word)
{
    return (word & 0x0101) == 0;
}
} // namespace

void COscFrameDecoder::Reset()
{
    m_nWanted = kFrameBytes;
    m_nFill = 0;
    m_nPrevious = kNoCounter;
    m_nSkip = 0;
    m_Values = OSC_VALUES();
}

bool COscFrameDecoder::SplitFrame(const unsigned char* bytes, uint16_t& sync, uint16_t& data)
{
    const uint16_t first = Word(bytes);
    const uint16_t second = Word(bytes + 2);
    if (IsSync(first) && IsData(second))
    {
        sync = first;
        data = second;
        return true;
    }
    if (IsSync(second) && IsData(first))
    {
        sync = second;
        data = first;
        return true;
    }
    return false;
}

int COscFrameDecoder::Counter(uint16_t sync)
{
    const int counter = sync >> 1;
    return (counter & 0x4000) ? counter - 0x8000 : counter;
}

int COscFrameDecoder::Value12(uint16_t data)
{
    const int value = ((data >> 2) & 0xF80) + ((data >> 1) & 0x7F);
    return value > 0x7FF ? value - 0x1000 : value;
}

bool COscFrameDecoder::BytesArrived(int got)
{
    if (got <= 0)
        return false;
    if (got > m_nWanted)
        got = m_nWanted;
    m_nFill += got;
    m_nWanted -= got;
    if (m_nWanted > 0)
        return false;
    uint16_t sync = 0;
    uint16_t data = 0;
    if (!SplitFrame(m_Frame, sync, data))
    {
        std::memmove(m_Frame, m_Frame + 1, kFrameBytes - 1);
        m_nFill = kFrameBytes - 1;
        m_nWanted = 1;
        return false;
    }
    m_nFill = 0;
    m_nWanted = kFrameBytes;
    Decode(sync, data);
    return true;
}

void COscFrameDecoder::Decode(uint16_t sync, uint16_t data)
{
    const int counter = Counter(sync);
    if (m_nPrevious == kNoCounter)
        m_nPrevious = counter;
    int step = counter - m_nPrevious;
    if (step > 16000)
        step -= 0x8000;
    else if (step < -16000)
        step += 0x8000;
    m_nPrevious = counter;
    if (m_nSkip > 0)
    {
        --m_nSkip;
        return;
    }
    const int value = Value12(data);
    m_Values.din0 = (data >> 14) & 1;
    m_Values.din1 = (data >> 15) & 1;
    m_Values.ch1 = m_bExtended ? counter : step * kSpeedScale;
    m_Values.ch2 = m_bExtended ? value : value * kCurrentScale;
}
