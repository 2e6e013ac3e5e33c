// Named segments in /dev/shm, reference counted through open-file-description locks.
#include "SharedSegment.h"

#include "KernelObject.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvsk::kernel
{
namespace
{

constexpr std::uint32_t SegmentMagic = 0x4B535654; // "TVSK"
constexpr std::size_t HeaderSize = 64;
constexpr off_t HolderByte = 0; // shared lock of every holder
constexpr off_t CloseByte = 1;  // taken by one closing process at a time
constexpr int CreateAttempts = 100;
constexpr std::size_t MaxFileName = 255;

struct SegmentHeader
{
    std::uint32_t magic;
    SegmentKind kind;
    std::uint64_t payloadSize;
};

bool SetLock(int fd, short type, off_t byte, bool wait)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    for (;;)
    {
        if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

void AppendEscaped(std::string& out, const char* text, bool escapeDot)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char* p = text; *p; ++p)
    {
        const auto c = static_cast<unsigned char>(*p);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || (c == '.' && !escapeDot);
        if (plain)
        {
            out += static_cast<char>(c);
        }
        else
        {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
}

class NamedSegment : public SharedSegment
{
public:
    NamedSegment(std::string path, int fd, void* base, std::size_t length)
        : m_path(std::move(path)), m_fd(fd), m_base(base), m_length(length)
    {
        m_payload = static_cast<char*>(base) + HeaderSize;
        m_payloadSize = length - HeaderSize;
    }

    SegmentKind Kind() const noexcept { return static_cast<const SegmentHeader*>(m_base)->kind; }

    ~NamedSegment() override
    {
        // Closing processes take turns, so two of them never both see the other as a holder.
        if (SetLock(m_fd, F_WRLCK, CloseByte, true) && SetLock(m_fd, F_WRLCK, HolderByte, false))
        {
            struct stat st;
            if (fstat(m_fd, &st) == 0 && st.st_nlink > 0)
                unlink(m_path.c_str());
        }
        munmap(m_base, m_length);
        close(m_fd);
        Forget();
    }

private:
    void Forget();

    std::string m_path;
    int m_fd;
    void* m_base;
    std::size_t m_length;
};

class LocalSegment : public SharedSegment
{
public:
    explicit LocalSegment(std::size_t size)
        : m_memory(new (std::nothrow) std::max_align_t[size / sizeof(std::max_align_t) + 1]())
    {
        m_payload = m_memory.get();
        m_payloadSize = size;
    }
    bool Allocated() const noexcept { return m_memory != nullptr; }

private:
    std::unique_ptr<std::max_align_t[]> m_memory;
};

// Segments this process holds, so several handles to one name share one lock and mapping.
struct Registry
{
    std::mutex lock;
    std::map<std::string, std::weak_ptr<NamedSegment>> segments;
};

Registry& Segments()
{
    static Registry* registry = new Registry; // never destroyed: segments may close at exit
    return *registry;
}

void NamedSegment::Forget()
{
    Registry& registry = Segments();
    std::lock_guard guard(registry.lock);
    auto found = registry.segments.find(m_path);
    if (found != registry.segments.end() && found->second.expired())
        registry.segments.erase(found);
}

enum class Attach
{
    Attached,
    NotFound,
    Retry,
    Failed,
};

// Joins the holders of an existing segment file; a file nobody holds is stale and removed.
Attach AttachExisting(const std::string& path, SegmentKind kind, std::shared_ptr<NamedSegment>& result)
{
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
    {
        if (errno == ENOENT)
            return Attach::NotFound;
        FailWithErrno(errno);
        return Attach::Failed;
    }
    struct stat st;
    if (SetLock(fd, F_WRLCK, HolderByte, false))
    {
        if (fstat(fd, &st) == 0 && st.st_nlink > 0)
            unlink(path.c_str());
        close(fd);
        return Attach::NotFound;
    }
    if (!SetLock(fd, F_RDLCK, HolderByte, true) || fstat(fd, &st) != 0)
    {
        FailWithErrno(errno);
        close(fd);
        return Attach::Failed;
    }
    if (st.st_nlink == 0) // removed by its last holder while we waited
    {
        close(fd);
        return Attach::Retry;
    }
    const auto length = static_cast<std::size_t>(st.st_size);
    void* base =
        length > HeaderSize ? mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    if (base == MAP_FAILED)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        close(fd);
        return Attach::Failed;
    }
    const auto* header = static_cast<const SegmentHeader*>(base);
    if (header->magic != SegmentMagic || header->kind != kind || header->payloadSize > length - HeaderSize)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        munmap(base, length);
        close(fd);
        return Attach::Failed;
    }
    result = std::make_shared<NamedSegment>(path, fd, base, length);
    return Attach::Attached;
}

// Builds a complete segment in an unnamed file and links it under the name only when ready.
Attach CreateNew(const std::string& path, SegmentKind kind, std::size_t payloadSize, const SegmentInit& init,
                 std::shared_ptr<NamedSegment>& result)
{
    const int fd = open("/dev/shm", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
    {
        FailWithErrno(errno);
        return Attach::Failed;
    }
    const std::size_t length = HeaderSize + payloadSize;
    void* base = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(length)) == 0)
        base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (base == MAP_FAILED)
    {
        FailWithErrno(errno);
        close(fd);
        return Attach::Failed;
    }
    auto* header = static_cast<SegmentHeader*>(base);
    header->kind = kind;
    header->payloadSize = payloadSize;
    header->magic = SegmentMagic;
    if (!init(static_cast<char*>(base) + HeaderSize) || !SetLock(fd, F_RDLCK, HolderByte, false))
    {
        if (GetLastError() == ERROR_SUCCESS)
            SetLastError(ERROR_GEN_FAILURE);
        munmap(base, length);
        close(fd);
        return Attach::Failed;
    }
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
    {
        const int error = errno;
        munmap(base, length);
        close(fd);
        if (error == EEXIST)
            return Attach::Retry;
        FailWithErrno(error);
        return Attach::Failed;
    }
    result = std::make_shared<NamedSegment>(path, fd, base, length);
    return Attach::Attached;
}

bool ValidName(const char* name, const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (!name || !*name || path.size() - slash - 1 > MaxFileName)
    {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return true;
}

std::shared_ptr<NamedSegment> LiveSegment(Registry& registry, const std::string& path)
{
    auto found = registry.segments.find(path);
    return found == registry.segments.end() ? nullptr : found->second.lock();
}

} // namespace

std::string SegmentPath(const char* name)
{
    std::string path = "/dev/shm/tvsk." + std::to_string(getuid()) + ".";
    if (const char* space = std::getenv("TARVESKON_IPC_NAMESPACE"))
        AppendEscaped(path, space, true);
    path += '.';
    AppendEscaped(path, name ? name : "", false);
    return path;
}

SegmentResult CreateNamedSegment(SegmentKind kind, const char* name, std::size_t payloadSize,
                                 const SegmentInit& init)
{
    const std::string path = SegmentPath(name);
    if (!ValidName(name, path))
        return {};
    Registry& registry = Segments();
    std::lock_guard guard(registry.lock);
    if (auto held = LiveSegment(registry, path))
    {
        if (held->Kind() != kind)
        {
            SetLastError(ERROR_INVALID_HANDLE);
            return {};
        }
        return {held, true};
    }
    for (int attempt = 0; attempt < CreateAttempts; ++attempt)
    {
        std::shared_ptr<NamedSegment> segment;
        Attach outcome = AttachExisting(path, kind, segment);
        bool existed = true;
        if (outcome == Attach::NotFound)
        {
            outcome = CreateNew(path, kind, payloadSize, init, segment);
            existed = false;
        }
        if (outcome == Attach::Failed)
            return {};
        if (outcome == Attach::Attached)
        {
            registry.segments[path] = segment;
            return {segment, existed};
        }
    }
    SetLastError(ERROR_GEN_FAILURE);
    return {};
}

std::shared_ptr<SharedSegment> OpenNamedSegment(SegmentKind kind, const char* name)
{
    const std::string path = SegmentPath(name);
    if (!ValidName(name, path))
        return nullptr;
    Registry& registry = Segments();
    std::lock_guard guard(registry.lock);
    if (auto held = LiveSegment(registry, path))
    {
        if (held->Kind() == kind)
            return held;
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    for (int attempt = 0; attempt < CreateAttempts; ++attempt)
    {
        std::shared_ptr<NamedSegment> segment;
        switch (AttachExisting(path, kind, segment))
        {
        case Attach::Attached:
            registry.segments[path] = segment;
            return segment;
        case Attach::NotFound:
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        case Attach::Failed:
            return nullptr;
        case Attach::Retry:
            break;
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

std::shared_ptr<SharedSegment> CreateLocalSegment(std::size_t payloadSize, const SegmentInit& init)
{
    auto segment = std::make_shared<LocalSegment>(payloadSize);
    if (!segment->Allocated())
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!init(segment->Payload()))
        return nullptr;
    return segment;
}

} // namespace tvsk::kernel
