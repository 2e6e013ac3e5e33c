// CFairLock: a lock that a thread may take again while it holds it, handed to waiting threads in
// the order they asked. A thread that takes it over and over (a reader looping on the drive) can
// then never keep another thread waiting for more than one turn.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class CFairLock
{
public:
    CFairLock() = default;
    CFairLock(const CFairLock&) = delete;
    CFairLock& operator=(const CFairLock&) = delete;

    void lock();
    void unlock();
    // Another thread holds the lock or waits for it.
    bool IsWantedByAnother() const;

private:
    mutable std::mutex m_state;
    std::condition_variable m_turnChanged;
    std::uint64_t m_nextTicket = 0;
    std::uint64_t m_serving = 0;
    std::thread::id m_holder;
    int m_depth = 0;
};
