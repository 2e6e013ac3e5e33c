#include "TvskTempFile.h"

#include <framework/File.h>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{

std::atomic<unsigned> s_counter{0};

} // namespace

CTvskTempFile::~CTvskTempFile()
{
    Remove();
}

bool CTvskTempFile::Create(const char* folder, const char* prefix, const char* suffix)
{
    Remove();
    const CString dir(folder && *folder ? folder : ".");
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        CString name;
        name.Format("%s/%s%ld_%u%s", dir.GetString(), prefix, static_cast<long>(::getpid()),
                    s_counter.fetch_add(1), suffix);
        const int fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            m_fd = fd;
            m_path = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CTvskTempFile::CreateFor(const char* target)
{
    Remove();
    CFile::RemoveStaleSaveTemps(target);
    const CString name = CFile::SaveTempName(target);
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_path = name;
    return true;
}

bool CTvskTempFile::Write(const char* data, size_t length)
{
    if (m_fd < 0)
        return false;
    while (length > 0)
    {
        const ssize_t n = ::write(m_fd, data, length);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool CTvskTempFile::Close()
{
    if (m_fd < 0)
        return !m_path.IsEmpty();
    const bool synced = ::fsync(m_fd) == 0;
    const int fd = m_fd;
    m_fd = -1;
    const bool closed = ::close(fd) == 0;
    return synced && closed;
}

bool CTvskTempFile::RenameTo(const char* path)
{
    if (m_fd >= 0 || m_path.IsEmpty())
        return false;
    if (::rename(m_path, path) != 0)
        return false;
    m_path.Empty();
    return true;
}

void CTvskTempFile::Remove()
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_path.IsEmpty())
    {
        ::unlink(m_path);
        m_path.Empty();
    }
}
