#include "GraphTextFile.h"

#include "GraphManager.h"

#include <ZoSupport/ZoSupport.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

bool WriteGraphTextFile(const CGraphManager* manager, const char* path)
{
    if (!manager)
    {
        ProgramError("LDDoc", __LINE__, "no graph manager");
        return false;
    }
    CString text;
    if (!manager->GetText(text))
        return false;
    text.Replace("\n", "\r\n");

    const std::string target(path);
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    const char* data = text;
    size_t left = static_cast<size_t>(text.GetLength());
    bool written = true;
    while (left > 0 && written)
    {
        const ssize_t n = ::write(fd, data, left);
        written = n > 0;
        if (written)
        {
            data += n;
            left -= static_cast<size_t>(n);
        }
    }
    written = written && ::fsync(fd) == 0;
    ::fchmod(fd, 0644);
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
