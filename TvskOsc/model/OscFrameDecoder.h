// Assembles the drive's 4-byte sample frames from stream bytes and decodes them.
#pragma once

#include <cstdint>

struct OSC_VALUES
{
    double ch1 = 0.0;  // speed, or the counter in the extended mode
    double ch2 = 0.0;  // current, or the 12-bit value in the extended mode
    double din0 = 0.0; // digital inputs, 0 or 1
    double din1 = 0.0;
};

class COscFrameDecoder
{
public:
    static constexpr double kSpeedScale = 0.4470348358154297;
    static constexpr double kCurrentScale = 2 * 0.1;
    static constexpr int kFrameBytes = 4;

    // A new recording: 4 bytes wanted, no previous counter, nothing to skip.
    void Reset();
    void SetExtended(bool extended) noexcept { m_bExtended = extended; }
    // The next frames leave the values as they are (after a parameter read).
    void SkipSamples(int count) noexcept { m_nSkip = count; }

    // Where the next bytes go and how many are wanted.
    unsigned char* FillPosition() noexcept { return m_Frame + m_nFill; }
    int Wanted() const noexcept { return m_nWanted; }

    // got bytes (negative counts as none) arrived at FillPosition; true when they completed a frame,
    // whose values are then current. A frame in neither word order costs its first byte.
    bool BytesArrived(int got);
    const OSC_VALUES& Values() const noexcept { return m_Values; }

    // The parts of one aligned frame.
    static bool SplitFrame(const unsigned char* bytes, uint16_t& sync, uint16_t& data);
    static int Counter(uint16_t sync);
    static int Value12(uint16_t data);

private:
    void Decode(uint16_t sync, uint16_t data);

    unsigned char m_Frame[kFrameBytes] = {};
    int m_nWanted = kFrameBytes;
    int m_nFill = 0;
    int m_nPrevious = kNoCounter;
    int m_nSkip = 0;
    bool m_bExtended = false;
    OSC_VALUES m_Values;

    static constexpr int kNoCounter = 0x8000;
};
