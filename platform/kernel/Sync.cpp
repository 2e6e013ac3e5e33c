// Events, mutexes and waits.
#include <kernel/Sync.h>

#include "Waitable.h"

#include <cerrno>
#include <chrono>
#include <vector>

#include <poll.h>
#include <sched.h>

namespace tvsk::kernel
{
namespace
{

constexpr DWORD ProcessPollSlice = 10;
// A reply often comes within microseconds; sleeping and being woken costs far more than that.
constexpr auto SpinBeforeSleep = std::chrono::microseconds(50);

// Looks at the events for a short while before the caller sleeps; the index taken, or -1. Each
// look yields the processor, so a peer that shares it runs at once instead of after the spin.
int SpinOnEvents(const std::vector<std::shared_ptr<Waitable>>& objects)
{
    const auto end = std::chrono::steady_clock::now() + SpinBeforeSleep;
    do
    {
        for (std::size_t i = 0; i < objects.size(); ++i)
        {
            if (objects[i]->Word() && objects[i]->TryAcquire())
                return static_cast<int>(i);
        }
        sched_yield();
    } while (std::chrono::steady_clock::now() < end);
    return -1;
}

bool InitEvent(void* payload, BOOL manualReset, BOOL initialState)
{
    auto* state = new (payload) EventState{};
    state->manualReset = manualReset ? 1 : 0;
    state->signalled.store(initialState ? 1 : 0);
    return true;
}

bool InitMutex(void* payload)
{
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    const int rc = pthread_mutex_init(static_cast<pthread_mutex_t*>(payload), &attributes);
    pthread_mutexattr_destroy(&attributes);
    return rc == 0 || FailWithErrno(rc);
}

// A named object of another process, or a new one; unnamed objects belong to this process.
std::shared_ptr<SharedSegment> CreateSyncSegment(SegmentKind kind, const char* name, std::size_t size,
                                                 const SegmentInit& init, bool& existed)
{
    existed = false;
    if (!name)
        return CreateLocalSegment(size, init);
    SegmentResult result = CreateNamedSegment(kind, name, size, init);
    existed = result.existed;
    return result.segment;
}

DWORD WaitOnWaitables(const std::vector<std::shared_ptr<Waitable>>& objects, DWORD milliseconds)
{
    const Deadline deadline(milliseconds);
    std::vector<FutexWaiter> words;
    std::vector<pollfd> descriptors;
    for (const auto& object : objects)
    {
        if (FutexWord* word = object->Word())
            words.push_back({word, 0});
        else
            descriptors.push_back({object->PollDescriptor(), POLLIN, 0});
    }
    for (bool first = true;; first = false)
    {
        for (std::size_t i = 0; i < objects.size(); ++i)
        {
            if (objects[i]->TryAcquire())
                return WAIT_OBJECT_0 + static_cast<DWORD>(i);
        }
        if (deadline.Passed())
            return WAIT_TIMEOUT;
        if (first && !words.empty())
        {
            if (const int spun = SpinOnEvents(objects); spun >= 0)
                return WAIT_OBJECT_0 + static_cast<DWORD>(spun);
        }
        if (words.empty())
        {
            const DWORD left = deadline.Remaining(INT32_MAX);
            if (poll(descriptors.data(), descriptors.size(), static_cast<int>(left)) < 0 && errno != EINTR)
            {
                FailWithErrno(errno);
                return WAIT_FAILED;
            }
        }
        else if (descriptors.empty())
        {
            FutexWaitAny(words.data(), static_cast<unsigned>(words.size()), deadline.Time());
        }
        else
        {
            const Deadline slice(deadline.Remaining(ProcessPollSlice));
            FutexWaitAny(words.data(), static_cast<unsigned>(words.size()), slice.Time());
        }
    }
}

} // namespace

bool EventObject::TryAcquire() noexcept
{
    if (m_state->manualReset)
        return m_state->signalled.load(std::memory_order_acquire) == 1;
    std::uint32_t expected = 1;
    return m_state->signalled.compare_exchange_strong(expected, 0, std::memory_order_acq_rel);
}

void EventObject::Set() noexcept
{
    m_state->signalled.store(1, std::memory_order_release);
    // Every waiter looks again: one that was woken but took another object must not swallow this.
    FutexWakeAll(&m_state->signalled);
}

void EventObject::Reset() noexcept
{
    m_state->signalled.store(0, std::memory_order_release);
}

DWORD MutexObject::Wait(DWORD milliseconds) noexcept
{
    int rc;
    if (milliseconds == INFINITE)
    {
        rc = pthread_mutex_lock(m_mutex);
    }
    else if (milliseconds == 0)
    {
        rc = pthread_mutex_trylock(m_mutex);
    }
    else
    {
        const Deadline deadline(milliseconds);
        rc = pthread_mutex_clocklock(m_mutex, CLOCK_MONOTONIC, deadline.Time());
    }
    switch (rc)
    {
    case 0:
        return WAIT_OBJECT_0;
    case EOWNERDEAD:
        pthread_mutex_consistent(m_mutex);
        return WAIT_ABANDONED;
    case EBUSY:
    case ETIMEDOUT:
        return WAIT_TIMEOUT;
    default:
        FailWithErrno(rc);
        return WAIT_FAILED;
    }
}

BOOL MutexObject::Release() noexcept
{
    const int rc = pthread_mutex_unlock(m_mutex);
    if (rc == 0)
        return TRUE;
    SetLastError(rc == EPERM ? ERROR_NOT_OWNER : ErrnoToError(rc));
    return FALSE;
}

} // namespace tvsk::kernel

using namespace tvsk::kernel;

HANDLE CreateEvent(SECURITY_ATTRIBUTES*, BOOL manualReset, BOOL initialState, const char* name)
{
    bool existed = false;
    const auto init = [=](void* payload) { return InitEvent(payload, manualReset, initialState); };
    auto segment = CreateSyncSegment(SegmentKind::Event, name, sizeof(EventState), init, existed);
    if (!segment)
        return nullptr;
    HANDLE handle = AddHandle(std::make_shared<EventObject>(segment));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

HANDLE OpenEvent(DWORD, BOOL, const char* name)
{
    auto segment = OpenNamedSegment(SegmentKind::Event, name);
    return segment ? AddHandle(std::make_shared<EventObject>(segment)) : nullptr;
}

BOOL SetEvent(HANDLE event) noexcept
{
    auto object = FindHandleOf<EventObject>(event);
    if (!object)
        return FALSE;
    object->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE event) noexcept
{
    auto object = FindHandleOf<EventObject>(event);
    if (!object)
        return FALSE;
    object->Reset();
    return TRUE;
}

HANDLE CreateMutex(SECURITY_ATTRIBUTES*, BOOL initialOwner, const char* name)
{
    bool existed = false;
    auto segment = CreateSyncSegment(SegmentKind::Mutex, name, sizeof(pthread_mutex_t), InitMutex, existed);
    if (!segment)
        return nullptr;
    auto mutex = std::make_shared<MutexObject>(segment);
    if (initialOwner && !existed)
        mutex->Wait(INFINITE);
    HANDLE handle = AddHandle(mutex);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

HANDLE OpenMutex(DWORD, BOOL, const char* name)
{
    auto segment = OpenNamedSegment(SegmentKind::Mutex, name);
    return segment ? AddHandle(std::make_shared<MutexObject>(segment)) : nullptr;
}

BOOL ReleaseMutex(HANDLE mutex) noexcept
{
    auto object = FindHandleOf<MutexObject>(mutex);
    return object ? object->Release() : FALSE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) noexcept
{
    return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) noexcept
{
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    if (count == 1)
    {
        auto object = FindHandle(handles[0]);
        if (auto mutex = std::dynamic_pointer_cast<MutexObject>(object))
            return mutex->Wait(milliseconds);
    }
    else if (waitAll)
    {
        SetLastError(ERROR_NOT_SUPPORTED);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<Waitable>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i)
    {
        auto object = FindHandle(handles[i]);
        auto waitable = std::dynamic_pointer_cast<Waitable>(object);
        if (!waitable)
        {
            SetLastError(object ? ERROR_NOT_SUPPORTED : ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(waitable));
    }
    return WaitOnWaitables(objects, milliseconds);
}
