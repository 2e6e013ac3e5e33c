// File mappings over shared segments, and the views of this process.
#include <kernel/FileMapping.h>

#include "KernelObject.h"
#include "SharedSegment.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace tvsk::kernel
{
namespace
{

class MappingObject : public KernelObject
{
public:
    explicit MappingObject(std::shared_ptr<SharedSegment> segment) : m_segment(std::move(segment)) {}
    const std::shared_ptr<SharedSegment>& Segment() const noexcept { return m_segment; }

private:
    std::shared_ptr<SharedSegment> m_segment;
};

// Views keep their segment alive; several views of one mapping share its address.
struct ViewTable
{
    std::mutex lock;
    std::multimap<const void*, std::shared_ptr<SharedSegment>> views;
};

ViewTable& Views()
{
    static ViewTable* table = new ViewTable; // never destroyed: views may be unmapped at exit
    return *table;
}

bool ZeroPayload(void* payload, std::size_t size)
{
    std::memset(payload, 0, size);
    return true;
}

} // namespace
} // namespace tvsk::kernel

using namespace tvsk::kernel;

HANDLE CreateFileMapping(HANDLE file, SECURITY_ATTRIBUTES*, DWORD, DWORD maximumSizeHigh,
                         DWORD maximumSizeLow, const char* name)
{
    const std::size_t size = (static_cast<std::size_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    if (file != INVALID_HANDLE_VALUE || size == 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto init = [size](void* payload) { return ZeroPayload(payload, size); };
    std::shared_ptr<SharedSegment> segment;
    bool existed = false;
    if (name)
    {
        SegmentResult result = CreateNamedSegment(SegmentKind::Mapping, name, size, init);
        segment = result.segment;
        existed = result.existed;
    }
    else
    {
        segment = CreateLocalSegment(size, init);
    }
    if (!segment)
        return nullptr;
    HANDLE handle = AddHandle(std::make_shared<MappingObject>(segment));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

HANDLE OpenFileMapping(DWORD, BOOL, const char* name)
{
    auto segment = OpenNamedSegment(SegmentKind::Mapping, name);
    return segment ? AddHandle(std::make_shared<MappingObject>(segment)) : nullptr;
}

void* MapViewOfFile(HANDLE mapping, DWORD, DWORD offsetHigh, DWORD offsetLow, size_t bytes)
{
    auto object = FindHandleOf<MappingObject>(mapping);
    if (!object)
        return nullptr;
    const auto& segment = object->Segment();
    const std::size_t offset = (static_cast<std::size_t>(offsetHigh) << 32) | offsetLow;
    if (offset > segment->PayloadSize() || bytes > segment->PayloadSize() - offset)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* view = static_cast<char*>(segment->Payload()) + offset;
    ViewTable& table = Views();
    std::lock_guard guard(table.lock);
    table.views.emplace(view, segment);
    return view;
}

BOOL UnmapViewOfFile(const void* view) noexcept
{
    std::shared_ptr<SharedSegment> released; // let go outside the table's lock
    ViewTable& table = Views();
    std::lock_guard guard(table.lock);
    auto found = table.views.find(view);
    if (found == table.views.end())
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    released = std::move(found->second);
    table.views.erase(found);
    return TRUE;
}
