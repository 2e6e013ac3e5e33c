// The processes attached to a port server, in attach order.
#pragma once

#include <framework/Array.h>

#include <atomic>
#include <mutex>

class CPortClientList
{
public:
    // No test for duplicates: a process attached twice needs two detaches.
    void Attach(DWORD processId);
    // Removes the first equal entry, and clients whose process has ended; false when absent.
    bool Detach(DWORD processId);
    // Forgets clients whose process has ended (killed without detaching).
    void ForgetEnded();
    bool IsEmpty() const noexcept { return m_count == 0; }
    // Safe to read from the window thread.
    int Count() const noexcept { return static_cast<int>(m_count); }
    // A copy of the list, for the window thread while the worker changes it.
    CDWordArray Copy() const;

private:
    void ForgetEndedLocked();

    mutable std::mutex m_lock;
    CDWordArray m_clients;
    std::atomic<INT_PTR> m_count = 0;
};
