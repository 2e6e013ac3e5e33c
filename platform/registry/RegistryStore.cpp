// The store files of the machine and of the user: cached, re-read when another process changed them.
#include "RegistryStore.h"

#include "Registry.h"
#include "RegistryFormat.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvsk::registry
{

namespace fs = std::filesystem;

namespace
{

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS"};

std::function<void()>& BeforeReplaceHook()
{
    static std::function<void()> hook;
    return hook;
}

std::string HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

// As the kernel's program locator: TARVESKON_PROGRAM_DIR when set.
std::string ProgramDirectory()
{
    if (const char* overridden = std::getenv("TARVESKON_PROGRAM_DIR"); overridden && *overridden)
        return overridden;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

// Closes a descriptor when the scope ends.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size())
    {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, std::string& text)
{
    char buf[65536];
    while (true)
    {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        text.append(buf, static_cast<size_t>(n));
    }
}

void AddRoots(RegKey& top)
{
    for (const char* name : kRootNames)
        top.ObtainChild(name);
}

std::string UserStorePath()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const fs::path config = (xdg && *xdg == '/') ? fs::path(xdg) : fs::path(HomeDirectory()) / ".config";
    return (config / "MurnApps" / "registry").string();
}

// Every user reads a store that other users share; the user's own is the user's alone.
mode_t ModeOf(const std::string& path)
{
    return path == UserStorePath() ? 0600 : 0644;
}

// The store's folder; the user's own folder is made for the user alone.
bool MakeFolder(const std::string& path)
{
    const fs::path dir = fs::path(path).parent_path();
    if (dir.empty())
        return true;
    std::error_code ec;
    if (fs::is_directory(dir, ec))
        return true;
    fs::create_directories(dir.parent_path(), ec);
    return ::mkdir(dir.c_str(), path == UserStorePath() ? 0700 : 0755) == 0 || errno == EEXIST;
}

} // namespace

std::string StoreFilePath(StorePart part)
{
    if (const char* path = std::getenv("TARVESKON_REGISTRY"); path && *path)
        return path;
    if (part == StorePart::Machine)
    {
        const std::string programDir = ProgramDirectory();
        std::error_code ec;
        if (!programDir.empty() && fs::is_regular_file(fs::path(programDir) / "registry", ec))
            return (fs::path(programDir) / "registry").string();
    }
    return UserStorePath();
}

LONG CreateUserStore()
{
    return RegistryStore::Instance(StorePart::User).Create();
}

void SetBeforeReplaceHook(std::function<void()> hook)
{
    BeforeReplaceHook() = std::move(hook);
}

RegistryStore& RegistryStore::Instance(StorePart part)
{
    static RegistryStore machine(StorePart::Machine);
    static RegistryStore user(StorePart::User);
    return part == StorePart::Machine ? machine : user;
}

RegistryStore& RegistryStore::For(const std::string& rootName)
{
    const bool machineWide = rootName == "HKEY_CLASSES_ROOT" || rootName == "HKEY_LOCAL_MACHINE";
    return Instance(machineWide ? StorePart::Machine : StorePart::User);
}

void RegistryStore::Forget()
{
    m_cached = false;
    m_top.reset();
}

LONG RegistryStore::Refresh(const std::string& path)
{
    if (path != m_path)
    {
        Forget();
        m_path = path;
    }
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    FileStamp stamp;
    struct stat st
    {
    };
    if (fd.Get() < 0)
    {
        if (errno != ENOENT)
            return ERROR_CANTREAD;
    }
    else
    {
        if (::fstat(fd.Get(), &st) != 0)
            return ERROR_CANTREAD;
        stamp = {
            true, st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_mode & 0777};
    }
    if (m_cached && stamp == m_stamp)
        return ERROR_SUCCESS;

    auto top = std::make_unique<RegKey>();
    if (stamp.exists)
    {
        std::string text;
        if (!ReadAll(fd.Get(), text))
            return ERROR_CANTREAD;
        if (auto error = ReadStoreText(text, *top))
        {
            // Writes are refused too, so a store damaged by hand is never overwritten.
            std::fprintf(stderr, "registry store %s, line %d: %s\n", path.c_str(), error->line,
                         error->text.c_str());
            Forget();
            return ERROR_BADDB;
        }
    }
    AddRoots(*top);
    m_top = std::move(top);
    m_stamp = stamp;
    m_cached = true;
    return ERROR_SUCCESS;
}

LONG RegistryStore::Commit(const std::string& path)
{
    const std::string temp = path + ".tmp";
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (fd.Get() < 0 || ::fchmod(fd.Get(), ModeOf(path)) != 0 ||
        !WriteAll(fd.Get(), WriteStoreText(*m_top)) || ::fsync(fd.Get()) != 0 || !fd.Close())
        return ERROR_CANTWRITE;
    if (BeforeReplaceHook())
        BeforeReplaceHook()();
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return ERROR_CANTWRITE;
    const std::string dir = fs::path(path).parent_path().string();
    FileDescriptor dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() < 0 || ::fsync(dirFd.Get()) != 0)
        return ERROR_CANTWRITE;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return ERROR_CANTWRITE;
    m_stamp = {
        true, st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_mode & 0777};
    return ERROR_SUCCESS;
}

LONG RegistryStore::Read(const std::function<LONG(const RegKey& top)>& reader)
{
    std::lock_guard lock(m_mutex);
    if (LONG rc = Refresh(StoreFilePath(m_part)); rc != ERROR_SUCCESS)
        return rc;
    return reader(*m_top);
}

LONG RegistryStore::Write(const std::function<LONG(RegKey& top, bool& changed)>& writer)
{
    return Change(writer, false);
}

LONG RegistryStore::Create()
{
    return Change([](RegKey&, bool&) { return ERROR_SUCCESS; }, true);
}

LONG RegistryStore::Change(const std::function<LONG(RegKey& top, bool& changed)>& writer, bool createMissing)
{
    std::lock_guard lock(m_mutex);
    const std::string path = StoreFilePath(m_part);
    if (!MakeFolder(path))
        return ERROR_CANTWRITE;
    FileDescriptor lockFd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lockFd.Get() < 0)
        return ERROR_CANTWRITE;
    while (::flock(lockFd.Get(), LOCK_EX) != 0)
    {
        if (errno != EINTR)
            return ERROR_CANTWRITE;
    }
    if (LONG rc = Refresh(path); rc != ERROR_SUCCESS)
        return rc;
    bool changed = false;
    LONG rc = writer(*m_top, changed);
    // A store left with another mode (an older build's) is written again with its own.
    const bool missing = createMissing && !m_stamp.exists;
    const bool otherMode = m_stamp.exists && m_stamp.mode != ModeOf(path);
    if (rc == ERROR_SUCCESS && (changed || missing || otherMode))
        rc = Commit(path);
    if (rc != ERROR_SUCCESS)
        Forget();
    return rc;
}

} // namespace tvsk::registry
