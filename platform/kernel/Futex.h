// Waiting on 32-bit words in shared memory until another process changes them.
#pragma once

#include <kernel/Handle.h>

#include <atomic>
#include <cstdint>
#include <ctime>

namespace tvsk::kernel
{

using FutexWord = std::atomic<std::uint32_t>;

struct FutexWaiter
{
    FutexWord* word;
    std::uint32_t expected;
};

// A point on the monotonic clock milliseconds from now; INFINITE gives none.
struct Deadline
{
    explicit Deadline(DWORD milliseconds) noexcept;
    bool Infinite() const noexcept { return m_infinite; }
    bool Passed() const noexcept;
    // Milliseconds left, at most cap (INFINITE when there is no deadline and no cap).
    DWORD Remaining(DWORD cap = INFINITE) const noexcept;
    const timespec* Time() const noexcept { return m_infinite ? nullptr : &m_time; }

private:
    bool m_infinite;
    timespec m_time;
};

// Sleeps while every word still holds its expected value, until a wake or the deadline.
// False once the deadline has passed.
bool FutexWaitAny(const FutexWaiter* waiters, unsigned count, const timespec* deadline) noexcept;
void FutexWakeAll(FutexWord* word) noexcept;

} // namespace tvsk::kernel
