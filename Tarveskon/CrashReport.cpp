// The report's sections, in the order a reader expects them.
#include "CrashReport.h"

#include "CrashProcessView.h"
#include "CrashReportBuffer.h"

#include <uiext/VersionInfo.h>

#include <atomic>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

namespace
{

struct CopiedVersion
{
    char key[128];
    char company[198];
    char product[198];
    char description[198];
    unsigned fileVersion[4];
    unsigned productVersion[4];
};

constexpr int kMaxVersions = 64;
CopiedVersion s_versions[kMaxVersions];
std::atomic<int> s_versionCount = 0;
char s_user[128] = "Unknown";
long s_utcOffset = 0;
char s_programPath[4096];
char s_reportPath[4200];
char s_currentPath[512];

struct ExceptionText
{
    unsigned code;
    const char* text;
};

constexpr ExceptionText kExceptionNames[] = {
    {0x40010005, "a Control-C"},
    {0x40010008, "a Control-Break"},
    {0x80000002, "a Datatype Misalignment"},
    {0x80000003, "a Breakpoint"},
    {0xC0000005, "an Access Violation"},
    {0xC0000006, "an In Page Error"},
    {0xC0000017, "a No Memory"},
    {0xC000001D, "an Illegal Instruction"},
    {0xC0000025, "a Noncontinuable Exception"},
    {0xC0000026, "an Invalid Disposition"},
    {0xC000008C, "a Array Bounds Exceeded"},
    {0xC000008D, "a Float Denormal Operand"},
    {0xC000008E, "a Float Divide by Zero"},
    {0xC000008F, "a Float Inexact Result"},
    {0xC0000090, "a Float Invalid Operation"},
    {0xC0000091, "a Float Overflow"},
    {0xC0000092, "a Float Stack Check"},
    {0xC0000093, "a Float Underflow"},
    {0xC0000094, "an Integer Divide by Zero"},
    {0xC0000095, "an Integer Overflow"},
    {0xC0000096, "a Privileged Instruction"},
    {0xC00000FD, "a Stack Overflow"},
    {0xC0000142, "a DLL Initialization Failed"},
    {0xE06D7363, "a Microsoft C++ Exception"},
};

void CopyText(char* out, size_t capacity, const char* text)
{
    size_t i = 0;
    for (; text && text[i] && i + 1 < capacity; ++i)
        out[i] = text[i];
    out[i] = '\0';
}

// "Tarveskon.EXE", "/x/tarveskon" and "tarveskon" name the same module.
void ModuleKey(char* out, size_t capacity, const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    size_t length = 0;
    for (; name[length] && length + 1 < capacity; ++length)
    {
        const char ch = name[length];
        out[length] = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    }
    out[length] = '\0';
    char* dot = std::strrchr(out, '.');
    if (dot && dot != out)
        *dot = '\0';
}

// "1,0,2,0" or "1.0.2.0" into four parts.
void ParseVersion(const char* text, unsigned parts[4])
{
    int part = 0;
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    for (const char* p = text ? text : ""; *p && part < 4; ++p)
    {
        if (*p >= '0' && *p <= '9')
            parts[part] = parts[part] * 10 + static_cast<unsigned>(*p - '0');
        else if (*p == ',' || *p == '.')
            ++part;
    }
}

const char* BlockValue(const VersionResource& block, const char* name)
{
    for (int i = 0; i < block.count; ++i)
        if (block.values[i].name && std::strcmp(block.values[i].name, name) == 0)
            return block.values[i].value;
    return "";
}

const CopiedVersion* FindVersion(const char* path)
{
    char key[128];
    ModuleKey(key, sizeof key, path);
    for (int i = 0; i < s_versionCount; ++i)
        if (std::strcmp(s_versions[i].key, key) == 0)
            return &s_versions[i];
    return nullptr;
}

// "%d/%d/%d %02d:%02d:%02d" of a local time, seconds in two-second steps.
void FormatTime(char* out, size_t capacity, long long seconds)
{
    seconds += s_utcOffset;
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0)
    {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const int hours = static_cast<int>(rest / 3600);
    const int minutes = static_cast<int>(rest / 60 % 60);
    const int secs = static_cast<int>(rest % 60) & ~1;
    auto format = [&](const char* pattern, ...)
    {
        va_list args;
        va_start(args, pattern);
        out[CrashReportBuffer::FormatTo(out, capacity - 1, pattern, args)] = '\0';
        va_end(args);
    };
    format("%d/%d/%d %02d:%02d:%02d", month, day, year, hours, minutes, secs);
}

int MebiBytes(unsigned long long bytes)
{
    return static_cast<int>((bytes + 1048575ULL) >> 20);
}

unsigned long Register(const ucontext_t* context, int index)
{
    return context ? static_cast<unsigned long>(context->uc_mcontext.gregs[index]) : 0UL;
}

const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/')
            name = p + 1;
    return name;
}

class ReportWriter
{
public:
    ReportWriter(CrashReportBuffer& out, const CrashProcessView& process) : m_out(out), m_process(process) {}

    void Header(const CrashEvent& event, const char* programName, const char* location)
    {
        const uintptr_t ip = Register(event.context, REG_RIP);
        CrashMapping mapping;
        const char* module = "Unknown";
        if (m_process.FindMapping(ip, mapping) && mapping.path[0] == '/')
        {
            CopyText(s_currentPath, sizeof s_currentPath, BaseName(mapping.path));
            module = s_currentPath;
        }
        const unsigned cs = static_cast<unsigned>(Register(event.context, REG_CSGSFS) & 0xFFFF);
        m_out.Format("%s caused %s (0x%08x) \r\nin module %s at %04x:%016lx.\r\n\r\n", programName,
                     CrashReport::ExceptionName(event.code), event.code, module, cs,
                     static_cast<unsigned long>(ip));
        m_out.Format("Exception handler called in %s.\r\n", location);
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        char time[64];
        FormatTime(time, sizeof time, now.tv_sec);
        m_out.Format("Error occurred at %s.\r\n", time);
        m_out.Format("%s, run by %s.\r\n", s_programPath, s_user);
    }

    void System()
    {
        struct utsname names
        {
        };
        if (::uname(&names) == 0)
            m_out.Format("Operating system:  %s (%s).\r\n", names.sysname, names.release);
        else
            m_out.Format("Operating system:  %s (%s).\r\n", "unknown", "");
        m_out.Format("%d processor(s), type %d.\r\n", get_nprocs(), 8664);
        struct sysinfo memory
        {
        };
        ::sysinfo(&memory);
        const unsigned long long unit = memory.mem_unit ? memory.mem_unit : 1;
        const unsigned long long total = memory.totalram * unit;
        const unsigned long long available = (memory.freeram + memory.bufferram) * unit;
        const int load = total ? static_cast<int>((total - available) * 100 / total) : 0;
        unsigned long long mapped = 0;
        m_process.ForEachMapping(
            [&](const CrashMapping& mapping)
            {
                mapped += mapping.end - mapping.start;
                return true;
            });
        constexpr unsigned long long kUserSpace = 1ULL << 47;
        m_out.Format("%d%% memory in use.\r\n", load);
        m_out.Format("%d MBytes physical memory.\r\n", MebiBytes(total));
        m_out.Format("%d MBytes physical memory free.\r\n", MebiBytes(available));
        m_out.Format("%d MBytes paging file.\r\n", MebiBytes(memory.totalswap * unit));
        m_out.Format("%d MBytes paging file free.\r\n", MebiBytes(memory.freeswap * unit));
        m_out.Format("%d MBytes user address space.\r\n", MebiBytes(kUserSpace));
        m_out.Format("%d MBytes user address space free.\r\n",
                     MebiBytes(mapped < kUserSpace ? kUserSpace - mapped : 0));
    }

    void AccessViolation(const CrashEvent& event)
    {
        if (event.sent)
            m_out.Format("Signal %d sent by process %d, user %u.\r\n", event.signal, event.senderPid,
                         event.senderUid);
        else if (event.accessViolation)
            m_out.Format("%s location %016lx caused an access violation.\r\n",
                         event.writeAccess ? "Write to" : "Read from",
                         static_cast<unsigned long>(event.faultAddress));
    }

    void Context(const ucontext_t* c)
    {
        m_out.Format("\r\n");
        m_out.Format("Context:\r\n");
        m_out.Format("RDI:    0x%016lx  RSI: 0x%016lx  RAX:   0x%016lx\r\n", Register(c, REG_RDI),
                     Register(c, REG_RSI), Register(c, REG_RAX));
        m_out.Format("RBX:    0x%016lx  RCX: 0x%016lx  RDX:   0x%016lx\r\n", Register(c, REG_RBX),
                     Register(c, REG_RCX), Register(c, REG_RDX));
        m_out.Format("RIP:    0x%016lx  RBP: 0x%016lx  SegCs: 0x%08x\r\n", Register(c, REG_RIP),
                     Register(c, REG_RBP), static_cast<unsigned>(Register(c, REG_CSGSFS) & 0xFFFF));
        // The kernel saves no stack segment in a 64-bit frame; user mode's is 0x2b.
        m_out.Format("EFlags: 0x%08x  RSP: 0x%016lx  SegSs: 0x%08x\r\n",
                     static_cast<unsigned>(Register(c, REG_EFL)), Register(c, REG_RSP), c ? 0x2bU : 0U);
    }

    void CodeBytes(uintptr_t ip)
    {
        m_out.Format("\r\nBytes at CS:EIP:\r\n");
        for (int i = 0; i < 16; ++i)
        {
            unsigned char byte = 0;
            if (m_process.Read(ip + static_cast<uintptr_t>(i), &byte, 1))
                m_out.Format("%02x ", byte);
            else
                m_out.Format("?? ");
        }
    }

    void Stack(uintptr_t sp)
    {
        m_out.Format("\r\n\r\nStack:\r\n");
        CrashMapping mapping;
        uintptr_t top = sp;
        if (m_process.FindMapping(sp, mapping))
            top = mapping.end;
        constexpr uintptr_t kMaxWords = 3072;
        uintptr_t words = (top - sp) / 4;
        if (words > kMaxWords)
            words = kMaxWords;
        for (uintptr_t line = 0; line < words; line += 4)
        {
            const uintptr_t address = sp + line * 4;
            const uintptr_t count = words - line < 4 ? words - line : 4;
            unsigned values[4] = {};
            if (!m_process.Read(address, values, count * 4))
                break;
            m_out.Format("0x%016lx: ", static_cast<unsigned long>(address));
            for (uintptr_t i = 0; i < count; ++i)
                m_out.Format("%08x ", values[i]);
            for (uintptr_t i = count; i < 4; ++i)
                m_out.Format("         ");
            char text[17];
            const auto* bytes = reinterpret_cast<const unsigned char*>(values);
            for (uintptr_t i = 0; i < count * 4; ++i)
                text[i] = bytes[i] < 32 || bytes[i] == 127 ? '.' : static_cast<char>(bytes[i]);
            text[count * 4] = '\0';
            m_out.Format("%s\r\n", text);
        }
        m_out.Format("\r\n");
    }

    void Modules()
    {
        int number = 0;
        CrashMapping current;
        bool open = false;
        m_process.ForEachMapping(
            [&](const CrashMapping& mapping)
            {
                if (open && std::strcmp(mapping.path, current.path) == 0)
                {
                    current.end = mapping.end;
                    return true;
                }
                if (open)
                    Module(++number, current);
                open = mapping.offset == 0 && mapping.path[0] == '/' && IsElf(mapping.start);
                if (open)
                    current = mapping;
                return true;
            });
        if (open)
            Module(++number, current);
    }

private:
    bool IsElf(uintptr_t address) const
    {
        unsigned char magic[4];
        return m_process.Read(address, magic, sizeof magic) && magic[0] == 0x7F && magic[1] == 'E' &&
               magic[2] == 'L' && magic[3] == 'F';
    }

    void Module(int number, const CrashMapping& module)
    {
        m_out.Format("Module %d\r\n", number);
        m_out.Format("%s\r\n", module.path);
        m_out.Format("Image Base: 0x%016lx  Image Size: 0x%08lx\r\n",
                     static_cast<unsigned long>(module.start),
                     static_cast<unsigned long>(module.end - module.start));
        m_out.Format("Checksum:   0x%08x  Time Stamp: 0x%08x\r\n", 0U, 0U);
        struct stat status
        {
        };
        char time[64] = "";
        long size = 0;
        if (::stat(module.path, &status) == 0)
        {
            size = static_cast<long>(status.st_size);
            FormatTime(time, sizeof time, status.st_mtim.tv_sec);
        }
        m_out.Format("File Size:  %-10ld  File Time:  %s\r\n", size, time);
        const CopiedVersion* version = FindVersion(module.path);
        static const CopiedVersion kNone{};
        if (!version)
            version = &kNone;
        m_out.Format("Version Information:\r\n");
        m_out.Format("   Company:    %s\r\n", version->company);
        m_out.Format("   Product:    %s\r\n", version->product);
        m_out.Format("   FileDesc:   %s\r\n", version->description);
        m_out.Format("   FileVer:    %d.%d.%d.%d\r\n", version->fileVersion[0], version->fileVersion[1],
                     version->fileVersion[2], version->fileVersion[3]);
        m_out.Format("   ProdVer:    %d.%d.%d.%d\r\n", version->productVersion[0], version->productVersion[1],
                     version->productVersion[2], version->productVersion[3]);
        m_out.Format("\r\n");
    }

    CrashReportBuffer& m_out;
    const CrashProcessView& m_process;
};

void Announce(const char* text)
{
    ::write(STDERR_FILENO, text, std::strlen(text));
}

} // namespace

const char* CrashReport::ExceptionName(unsigned code)
{
    for (const ExceptionText& entry : kExceptionNames)
        if (entry.code == code)
            return entry.text;
    return "an Unknown exception type";
}

void CrashReport::Prepare(const VersionResource* const* versionBlocks, int count)
{
    const time_t now = ::time(nullptr);
    struct tm local
    {
    };
    if (::localtime_r(&now, &local))
        s_utcOffset = local.tm_gmtoff;
    char buffer[1024];
    struct passwd entry
    {
    };
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        CopyText(s_user, sizeof s_user, found->pw_name);
    s_versionCount = 0;
    for (int i = 0; i < count; ++i)
        AddVersion(versionBlocks[i]);
}

void CrashReport::AddVersion(const VersionResource* block)
{
    const int index = s_versionCount;
    if (!block || !block->moduleName || index >= kMaxVersions || FindVersion(block->moduleName))
        return;
    CopiedVersion& copy = s_versions[index];
    ModuleKey(copy.key, sizeof copy.key, block->moduleName);
    CopyText(copy.company, sizeof copy.company, BlockValue(*block, "CompanyName"));
    CopyText(copy.product, sizeof copy.product, BlockValue(*block, "ProductName"));
    CopyText(copy.description, sizeof copy.description, BlockValue(*block, "FileDescription"));
    ParseVersion(BlockValue(*block, "FileVersion"), copy.fileVersion);
    ParseVersion(BlockValue(*block, "ProductVersion"), copy.productVersion);
    // Counted once whole: a report written meanwhile reads only finished copies.
    s_versionCount = index + 1;
}

int CrashReport::Write(const CrashEvent& event, const char* location)
{
    const ssize_t length = ::readlink("/proc/self/exe", s_programPath, sizeof s_programPath - 1);
    if (length > 0)
        s_programPath[length] = '\0';
    else
        CopyText(s_programPath, sizeof s_programPath, "Unknown");
    // The program name: the file part cut at its last dot.
    char programName[256];
    CopyText(programName, sizeof programName, BaseName(s_programPath));
    if (char* dot = std::strrchr(programName, '.'); dot && dot != programName)
        *dot = '\0';
    const size_t folder = static_cast<size_t>(BaseName(s_programPath) - s_programPath);
    CopyText(s_reportPath, sizeof s_reportPath, s_programPath);
    CopyText(s_reportPath + folder, sizeof s_reportPath - folder, kFileName);

    const int fd = ::open(s_reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_SYNC | O_CLOEXEC, 0644);
    if (fd < 0)
    {
        Announce("Error creating exception report\r\n");
        return 0;
    }
    {
        CrashReportBuffer out(fd);
        CrashProcessView process;
        ReportWriter writer(out, process);
        writer.Header(event, programName, location);
        writer.System();
        writer.AccessViolation(event);
        writer.Context(event.context);
        writer.CodeBytes(Register(event.context, REG_RIP));
        writer.Stack(Register(event.context, REG_RSP));
        writer.Modules();
        out.Format("\r\n===== [end of %s] =====\r\n", kFileName);
        out.Flush();
    }
    ::close(fd);
    return 0;
}
