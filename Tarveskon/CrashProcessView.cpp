// /proc/self/maps and /proc/self/mem through open, read and pread.
#include "CrashProcessView.h"

#include <fcntl.h>
#include <unistd.h>

namespace
{

char s_mapsChunk[4096];

uintptr_t ParseHex(const char*& p)
{
    uintptr_t value = 0;
    for (;; ++p)
    {
        const char ch = *p;
        if (ch >= '0' && ch <= '9')
            value = value * 16 + static_cast<uintptr_t>(ch - '0');
        else if (ch >= 'a' && ch <= 'f')
            value = value * 16 + static_cast<uintptr_t>(ch - 'a' + 10);
        else
            return value;
    }
}

void SkipField(const char*& p)
{
    while (*p && *p != ' ')
        ++p;
    while (*p == ' ')
        ++p;
}

} // namespace

CrashProcessView::CrashProcessView() : m_memFd(::open("/proc/self/mem", O_RDONLY | O_CLOEXEC)) {}

CrashProcessView::~CrashProcessView()
{
    if (m_memFd >= 0)
        ::close(m_memFd);
}

bool CrashProcessView::Read(uintptr_t address, void* out, size_t length) const
{
    if (m_memFd < 0)
        return false;
    auto* bytes = static_cast<char*>(out);
    size_t done = 0;
    while (done < length)
    {
        const ssize_t count =
            ::pread(m_memFd, bytes + done, length - done, static_cast<off_t>(address + done));
        if (count <= 0)
            return false;
        done += static_cast<size_t>(count);
    }
    return true;
}

bool CrashProcessView::FindMapping(uintptr_t address, CrashMapping& found) const
{
    bool hit = false;
    ForEachMapping(
        [&](const CrashMapping& mapping)
        {
            if (address >= mapping.start && address < mapping.end)
            {
                found = mapping;
                hit = true;
            }
            return !hit && mapping.start <= address;
        });
    return hit;
}

CrashProcessView::MapsReader::MapsReader() : m_fd(::open("/proc/self/maps", O_RDONLY | O_CLOEXEC)) {}

CrashProcessView::MapsReader::~MapsReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CrashProcessView::MapsReader::NextLine(char* line, size_t capacity)
{
    if (m_fd < 0)
        return false;
    size_t length = 0;
    bool any = false;
    for (;;)
    {
        if (m_begin == m_end)
        {
            const ssize_t count = ::read(m_fd, s_mapsChunk, sizeof s_mapsChunk);
            if (count <= 0)
                break;
            m_begin = 0;
            m_end = static_cast<size_t>(count);
        }
        any = true;
        const char ch = s_mapsChunk[m_begin++];
        if (ch == '\n')
            break;
        if (length + 1 < capacity)
            line[length++] = ch;
    }
    line[length] = '\0';
    return any;
}

bool CrashProcessView::MapsReader::Next(CrashMapping& mapping)
{
    char line[700];
    if (!NextLine(line, sizeof line))
        return false;
    // "start-end perms offset dev inode path"
    const char* p = line;
    mapping.start = ParseHex(p);
    if (*p == '-')
        ++p;
    mapping.end = ParseHex(p);
    while (*p == ' ')
        ++p;
    mapping.readable = *p == 'r';
    SkipField(p);
    mapping.offset = ParseHex(p);
    while (*p == ' ')
        ++p;
    SkipField(p); // device
    SkipField(p); // inode
    size_t length = 0;
    while (p[length] && length + 1 < sizeof mapping.path)
    {
        mapping.path[length] = p[length];
        ++length;
    }
    mapping.path[length] = '\0';
    return true;
}
