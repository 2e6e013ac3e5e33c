#include "File.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

[[noreturn]] void ThrowErrno(const char* name, int err)
{
    AfxThrowFileException(CFileException::OsErrorToCause(err), err, name);
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

CFile::CFile(const char* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
    if (m_fd >= 0)
        Abort();
    if (!fileName || !*fileName)
    {
        if (error)
            *error = CFileException(CFileException::badPath, ENOENT, fileName);
        return false;
    }
    int flags = O_CLOEXEC;
    switch (openFlags & 3)
    {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (openFlags & modeCreate)
    {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    const bool readOnly = (openFlags & 3) == modeRead && !(openFlags & modeCreate);
    const CString path = readOnly ? ResolveFileName(fileName) : CString(fileName);
    int fd;
    do
        fd = ::open(path, flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
    {
        const int err = errno;
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(err), err, fileName);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

UINT CFile::Read(void* buffer, UINT count)
{
    UINT done = 0;
    while (done < count)
    {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(m_path, errno);
        }
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    UINT done = 0;
    while (done < count)
    {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(m_path, errno);
        }
        done += static_cast<UINT>(n);
    }
}

void CFile::Flush()
{
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL)
        ThrowErrno(m_path, errno);
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        ThrowErrno(m_path, errno);
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    const int whence = from == begin ? SEEK_SET : (from == current ? SEEK_CUR : SEEK_END);
    const off_t r = ::lseek(m_fd, offset, whence);
    if (r < 0)
        ThrowErrno(m_path, errno);
    return static_cast<ULONGLONG>(r);
}

bool FitsForReading(const char* path, ULONGLONG limit)
{
    struct stat st;
    if (!path || ::stat(path, &st) != 0)
        return true;
    return S_ISREG(st.st_mode) && static_cast<ULONGLONG>(st.st_size) <= limit;
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        ThrowErrno(m_path, errno);
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    const off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0)
        ThrowErrno(m_path, errno);
    return static_cast<ULONGLONG>(r);
}

void CFile::SetLength(ULONGLONG length)
{
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        ThrowErrno(m_path, errno);
}

CString CFile::GetFileName() const
{
    const int slash = m_path.ReverseFind('/');
    return slash < 0 ? m_path : m_path.Mid(slash + 1);
}

void CFile::Remove(const char* fileName)
{
    if (::unlink(fileName) != 0)
        ThrowErrno(fileName, errno);
}

CString CFile::SaveTempName(const char* target)
{
    return FormatString("%s.~%ld", target, static_cast<long>(::getpid()));
}

void CFile::RemoveStaleSaveTemps(const char* target)
{
    const std::string path(target ? target : "");
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".~";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH))
            ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
}

bool CFile::SaveWhole(const char* target, std::string_view text)
{
    RemoveStaleSaveTemps(target);
    const CString temporary = SaveTempName(target);
    const int fd = ::open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    size_t written = 0;
    bool ok = true;
    while (ok && written < text.size())
    {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            written += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::chmod(temporary, 0644) == 0;
    ok = ok && std::rename(temporary, target) == 0;
    if (!ok)
        ::unlink(temporary);
    return ok;
}

void CFile::Rename(const char* oldName, const char* newName)
{
    if (::rename(oldName, newName) != 0)
        ThrowErrno(oldName, errno);
}

bool CStdioFile::FillBuffer()
{
    char chunk[65536];
    const UINT n = CFile::Read(chunk, sizeof chunk);
    if (n == 0)
        return false;
    m_buffer.erase(0, m_bufferPos);
    m_bufferPos = 0;
    m_buffer.append(chunk, n);
    return true;
}

bool CStdioFile::ReadString(CString& line)
{
    for (;;)
    {
        const size_t nl = m_buffer.find('\n', m_bufferPos);
        if (nl != std::string::npos)
        {
            size_t end = nl;
            if (end > m_bufferPos && m_buffer[end - 1] == '\r')
                --end;
            line = CString(m_buffer.substr(m_bufferPos, end - m_bufferPos));
            m_bufferPos = nl + 1;
            return true;
        }
        if (!FillBuffer())
        {
            if (m_bufferPos >= m_buffer.size())
                return false;
            size_t end = m_buffer.size();
            if (m_buffer[end - 1] == '\r')
                --end;
            line = CString(m_buffer.substr(m_bufferPos, end - m_bufferPos));
            m_buffer.clear();
            m_bufferPos = 0;
            return true;
        }
    }
}

void CStdioFile::WriteString(const char* text)
{
    if (text)
        Write(text, static_cast<UINT>(std::strlen(text)));
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    const size_t buffered = std::min<size_t>(count, m_buffer.size() - m_bufferPos);
    std::memcpy(buffer, m_buffer.data() + m_bufferPos, buffered);
    m_bufferPos += buffered;
    return static_cast<UINT>(buffered) +
           CFile::Read(static_cast<char*>(buffer) + buffered, count - static_cast<UINT>(buffered));
}

ULONGLONG CStdioFile::GetPositionBuffered() const
{
    return GetPosition() - (m_buffer.size() - m_bufferPos);
}

void CStdioFile::Close()
{
    m_buffer.clear();
    m_bufferPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_buffer.clear();
    m_bufferPos = 0;
    CFile::Abort();
}

CString ResolveFileName(const char* fileName)
{
    if (!fileName || !*fileName)
        return CString();
    const std::string name(fileName);
    if (Exists(name))
        return CString(name);
    std::string resolved = name[0] == '/' ? "/" : "";
    size_t pos = name[0] == '/' ? 1 : 0;
    while (pos <= name.size())
    {
        size_t slash = name.find('/', pos);
        if (slash == std::string::npos)
            slash = name.size();
        const std::string part = name.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty())
            continue;
        std::string candidate = resolved + part;
        if (!Exists(candidate))
        {
            DIR* dir = ::opendir(resolved.empty() ? "." : resolved.c_str());
            if (!dir)
                return CString(name);
            bool found = false;
            while (dirent* entry = ::readdir(dir))
            {
                if (::strcasecmp(entry->d_name, part.c_str()) == 0)
                {
                    candidate = resolved + entry->d_name;
                    found = true;
                    break;
                }
            }
            ::closedir(dir);
            if (!found)
                return CString(name);
        }
        resolved = candidate + (pos <= name.size() ? "/" : "");
    }
    return CString(resolved);
}

bool FileExists(const char* fileName)
{
    return Exists(ResolveFileName(fileName).str());
}
