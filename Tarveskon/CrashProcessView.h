// The crashed process seen through /proc: its mappings and its memory, read by system calls only
// so that a bad address fails instead of faulting.
#pragma once

#include <cstddef>
#include <cstdint>

struct CrashMapping
{
    uintptr_t start = 0;
    uintptr_t end = 0;
    uintptr_t offset = 0;
    bool readable = false;
    char path[512] = {};
};

class CrashProcessView
{
public:
    CrashProcessView();
    ~CrashProcessView();
    CrashProcessView(const CrashProcessView&) = delete;
    CrashProcessView& operator=(const CrashProcessView&) = delete;

    // False when any byte of the range cannot be read.
    bool Read(uintptr_t address, void* out, size_t length) const;

    // Calls visit(mapping) for each line of /proc/self/maps, in address order, until it answers false.
    template <typename Visit> void ForEachMapping(Visit visit) const
    {
        MapsReader reader;
        CrashMapping mapping;
        while (reader.Next(mapping))
            if (!visit(static_cast<const CrashMapping&>(mapping)))
                break;
    }

    // The mapping holding the address; false when none does.
    bool FindMapping(uintptr_t address, CrashMapping& found) const;

private:
    class MapsReader
    {
    public:
        MapsReader();
        ~MapsReader();
        bool Next(CrashMapping& mapping);

    private:
        bool NextLine(char* line, size_t capacity);
        int m_fd;
        size_t m_begin = 0;
        size_t m_end = 0;
    };

    int m_memFd;
};
