// The kernel objects a wait can look at: events, mutexes and processes.
#pragma once

#include "Futex.h"
#include "KernelObject.h"
#include "SharedSegment.h"

#include <pthread.h>

namespace tvsk::kernel
{

class Waitable : public KernelObject
{
public:
    // Takes the object if it is signalled now (an auto-reset event is reset by it).
    virtual bool TryAcquire() noexcept = 0;
    // The word a futex wait sleeps on, or null for objects that are polled.
    virtual FutexWord* Word() noexcept { return nullptr; }
    // A descriptor that poll reports readable once signalled, or -1.
    virtual int PollDescriptor() const noexcept { return -1; }
};

struct EventState
{
    FutexWord signalled; // 1 set, 0 clear
    std::uint32_t manualReset;
};

class EventObject : public Waitable
{
public:
    explicit EventObject(std::shared_ptr<SharedSegment> segment)
        : m_segment(std::move(segment)), m_state(static_cast<EventState*>(m_segment->Payload()))
    {
    }
    bool TryAcquire() noexcept override;
    FutexWord* Word() noexcept override { return &m_state->signalled; }
    void Set() noexcept;
    void Reset() noexcept;

private:
    std::shared_ptr<SharedSegment> m_segment;
    EventState* m_state;
};

class MutexObject : public KernelObject
{
public:
    explicit MutexObject(std::shared_ptr<SharedSegment> segment)
        : m_segment(std::move(segment)), m_mutex(static_cast<pthread_mutex_t*>(m_segment->Payload()))
    {
    }
    DWORD Wait(DWORD milliseconds) noexcept;
    BOOL Release() noexcept;

private:
    std::shared_ptr<SharedSegment> m_segment;
    pthread_mutex_t* m_mutex;
};

} // namespace tvsk::kernel
