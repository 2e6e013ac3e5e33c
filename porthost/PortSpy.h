// The traffic record the diagnostics window shows: the last 1024 bytes and the byte counts.
#pragma once

#include <framework/WinTypes.h>

#include <atomic>

enum SPY_TAG : BYTE
{
    SPY_EMPTY = 0,
    SPY_RECEIVED = 1,
    SPY_SENT = 2,
};

class CPortSpy
{
public:
    static constexpr int RING_SIZE = 1024;
    static constexpr int ROW_SIZE = 16;
    static constexpr int VIEW_SIZE = 96;      // six rows of the hex view
    static constexpr int VIEW_POSITIONS = 64; // view positions 1 (oldest) to 64 (newest)

    // Recording runs only while switched on; the counts stand still otherwise.
    void SetOn(bool on) noexcept { m_on = on; }
    bool IsOn() const noexcept { return m_on; }

    // Adds one transfer; at most the ring's size is taken from it.
    void Record(DWORD count, const BYTE* data, SPY_TAG tag) noexcept;

    // Empties both rings and zeroes the counts.
    void Reset() noexcept;
    // The 96 bytes and tags shown at a view position: they end 16 bytes per step below 64 before
    // the write position, at most as far back as the oldest byte held.
    void CopyView(int position, BYTE* bytes, BYTE* tags) const noexcept;

    int WritePosition() const noexcept { return m_writePosition; }
    int FillCount() const noexcept { return m_fillCount; }
    const BYTE* Bytes() const noexcept { return m_bytes; }
    const BYTE* Tags() const noexcept { return m_tags; }
    DWORD SentCount() const noexcept { return m_sentCount; }
    DWORD ReceivedCount() const noexcept { return m_receivedCount; }

private:
    // Read by the window thread while the worker records, without a lock (display only).
    std::atomic<bool> m_on = false;
    int m_writePosition = 0;
    int m_fillCount = 0;
    BYTE m_bytes[RING_SIZE] = {};
    BYTE m_tags[RING_SIZE] = {};
    DWORD m_sentCount = 0;
    DWORD m_receivedCount = 0;
};
