// Port numbers and their devices.
#include "SerialPortMap.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace tvsk::kernel
{

int SerialPortNumber(const char* fileName) noexcept
{
    if (!fileName)
        return -1;
    if (std::strncmp(fileName, "\\\\.\\", 4) == 0)
        fileName += 4;
    if (strncasecmp(fileName, "COM", 3) != 0 || fileName[3] == '\0')
        return -1;
    int port = 0;
    for (const char* p = fileName + 3; *p; ++p)
    {
        if (*p < '0' || *p > '9')
            return -1;
        port = port * 10 + (*p - '0');
        if (port > 255)
            return -1;
    }
    return port;
}

std::string SerialDevicePath(int port)
{
    const std::string valueName = "COM" + std::to_string(port);
    if (const char* mapped = std::getenv(("TVSK_TEMP_" + valueName).c_str()))
        return mapped;
    return port > 0 ? "/dev/ttyS" + std::to_string(port - 1) : std::string();
}

} // namespace tvsk::kernel
