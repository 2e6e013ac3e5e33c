// Memory shared between processes under a name, counted by its holders and removed with the last.
#pragma once

#include <kernel/Handle.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tvsk::kernel
{

enum class SegmentKind : std::uint32_t
{
    Event = 1,
    Mutex = 2,
    Mapping = 3,
};

// A block of memory usable by process-shared objects. A named one lives in /dev/shm as
// "tvsk.<uid>.<namespace>.<name>"; every process that holds it keeps a shared lock on it, so
// the last one to let go removes it and one left behind by killed processes (nobody holds its
// lock) is reclaimed by the next create or open.
class SharedSegment
{
public:
    virtual ~SharedSegment() = default;
    void* Payload() const noexcept { return m_payload; }
    std::size_t PayloadSize() const noexcept { return m_payloadSize; }

protected:
    void* m_payload = nullptr;
    std::size_t m_payloadSize = 0;
};

struct SegmentResult
{
    std::shared_ptr<SharedSegment> segment; // null on failure, the last error set
    bool existed = false;
};

using SegmentInit = std::function<bool(void* payload)>;

// Creates the named segment, or opens it when it exists (existed = true, its own size kept).
// init prepares a new payload before any other process can see it; false fails the create.
SegmentResult CreateNamedSegment(SegmentKind kind, const char* name, std::size_t payloadSize,
                                 const SegmentInit& init);
std::shared_ptr<SharedSegment> OpenNamedSegment(SegmentKind kind, const char* name);

// A segment of this process only, for unnamed objects.
std::shared_ptr<SharedSegment> CreateLocalSegment(std::size_t payloadSize, const SegmentInit& init);

// The file that holds the named object, for diagnostics and tests.
std::string SegmentPath(const char* name);

} // namespace tvsk::kernel
