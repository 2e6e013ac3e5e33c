#include "SampleStream.h"

#include <cmath>

namespace
{
constexpr int kRampStep = 4;
constexpr int kRampLimit = 400;
constexpr int kDinPeriod = 61;
constexpr double kSpeedPerCount = 0.4470348358154297; // rpm per count and sample, as the host reads it
constexpr BYTE kStrayByte = 0x55;
} // namespace

CSampleStream::CSampleStream(int counterStep, int strayEvery) : m_step(counterStep), m_strayEvery(strayEvery)
{
}

void CSampleStream::Advance()
{
    ++m_samples;
    m_counter = (m_counter + m_step) & 0x7FFF;
    m_position += m_step;
    m_value = m_value + kRampStep > kRampLimit ? -kRampLimit : m_value + kRampStep;
    if (m_samples % kDinPeriod == 0)
        m_din0 = !m_din0;
    if (m_samples % (2 * kDinPeriod) == 0)
        m_din1 = !m_din1;
}

std::vector<BYTE> CSampleStream::Frame()
{
    const WORD sync = static_cast<WORD>((m_counter << 1) | 1);
    const WORD value = static_cast<WORD>(m_value & 0xFFF);
    const WORD data = static_cast<WORD>(((value & 0xF80) << 2) | ((value & 0x7F) << 1) |
                                        (m_din0 ? 0x4000 : 0) | (m_din1 ? 0x8000 : 0));
    std::vector<BYTE> frame{static_cast<BYTE>(sync), static_cast<BYTE>(sync >> 8), static_cast<BYTE>(data),
                            static_cast<BYTE>(data >> 8)};
    if (m_strayEvery > 0 && ++m_frames % m_strayEvery == 0)
        frame.insert(frame.begin(), kStrayByte);
    return frame;
}

void CSampleStream::WriteMonitorWords(CSimulatedDrive& drive) const
{
    const long speed = std::lround(m_step * kSpeedPerCount);
    drive.SetParameter(80, 2, static_cast<DWORD>(speed) & 0xFFFF);
    // The host shows the 12-bit value x 0.2 A; word 81 holds amperes x 100.
    drive.SetParameter(81, 2, static_cast<DWORD>(m_value * 20) & 0xFFFF);
    drive.SetParameter(84, 4, static_cast<DWORD>(m_position));
}
