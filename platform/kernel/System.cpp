// Computer name, configuration folder and temporary file names.
#include <kernel/System.h>

#include <kernel/Handle.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <unistd.h>

BOOL GetComputerName(char* buffer, DWORD* size) noexcept
{
    char host[256] = {};
    if (!size || gethostname(host, sizeof host - 1) != 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD length = static_cast<DWORD>(std::min<size_t>(std::strlen(host), MAX_COMPUTERNAME_LENGTH));
    if (!buffer || *size <= length)
    {
        *size = length + 1;
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(buffer, host, length);
    buffer[length] = '\0';
    *size = length;
    return TRUE;
}

UINT GetWindowsDirectory(char* buffer, UINT size) noexcept
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string path;
    if (xdg && *xdg == '/')
        path = xdg;
    else if (home && *home == '/')
        path = std::string(home) + "/.config";
    else
        return 0;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    path += "/MurnApps";
    if (!buffer || size <= path.size())
        return static_cast<UINT>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<UINT>(path.size());
}

DWORD GetTempPath(DWORD bufferLength, char* buffer) noexcept
{
    const char* directory = std::getenv("TMPDIR");
    std::string path = directory && *directory ? directory : "/tmp";
    if (path.back() != '/')
        path += '/';
    if (!buffer || bufferLength <= path.size())
        return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

UINT GetTempFileName(const char* pathName, const char* prefix, UINT unique, char* buffer) noexcept
{
    if (!pathName || !buffer)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string directory = pathName;
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    const std::string start = std::string(prefix ? prefix : "").substr(0, 3);
    const bool create = unique == 0;
    UINT number =
        create ? static_cast<UINT>(getpid() ^ static_cast<int>(time(nullptr))) & 0xFFFF : unique & 0xFFFF;
    for (int attempt = 0; attempt < 0x10000; ++attempt, number = (number + 1) & 0xFFFF)
    {
        if (number == 0)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "%X.tmp", number);
        const std::string path = directory + start + name;
        if (path.size() >= static_cast<size_t>(MAX_PATH))
        {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        if (create)
        {
            const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
            {
                SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
                return 0;
            }
            close(fd);
        }
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return number;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return 0;
}
