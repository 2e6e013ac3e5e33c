// The drive's sample stream: a small motion model sampled every 4.096 ms into 4-byte frames,
// which also moves the monitor words of the first drive.
#pragma once

#include "SimulatedDrive.h"

#include <vector>

// The stream bit as host commands pack it: (bit << 16) + word; 0xB002A is bit 11 of word 42.
constexpr DWORD kDefaultStreamBit = 0xB002A;
constexpr int kSamplePeriodMicroseconds = 4096;

class CSampleStream
{
public:
    // counterStep: position counts per sample; strayEvery > 0 puts a stray byte before every
    // strayEvery-th frame.
    explicit CSampleStream(int counterStep = 8, int strayEvery = 0);

    // One sample period on: the counter moves by its step, the current ramps up by 4 from -400
    // to 400 and starts again, DIn0 toggles every 61 samples (about 250 ms), DIn1 every 122.
    void Advance();
    // The newest sample as a frame: the sync word ((counter << 1) | 1), then the data word
    // (12-bit value in bits 13..9 and 7..1, DIn0 bit 14, DIn1 bit 15), both little-endian.
    std::vector<BYTE> Frame();
    // Words 80 (speed, rpm), 81 (current, A x 100) and 84-85 (position) from the model.
    void WriteMonitorWords(CSimulatedDrive& drive) const;

    int Counter() const { return m_counter; } // 15 bits, wrapping
    int Value() const { return m_value; }     // signed 12 bits
    bool DIn0() const { return m_din0; }
    bool DIn1() const { return m_din1; }

private:
    int m_step;
    int m_strayEvery;
    long m_samples = 0;
    long m_frames = 0;
    int m_counter = 0;
    long m_position = 0;
    int m_value = -400;
    bool m_din0 = false;
    bool m_din1 = false;
};
