// Port numbers and their devices.
#include "SerialPortMap.h"

#include <registry/Registry.h>

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
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, KEY_READ, &key) ==
        ERROR_SUCCESS)
    {
        char device[MAX_PATH] = {};
        DWORD size = sizeof device - 1;
        DWORD type = REG_NONE;
        const LONG found =
            RegQueryValueEx(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(device), &size);
        RegCloseKey(key);
        if (found == ERROR_SUCCESS && type == REG_SZ && device[0] != '\0')
            return device;
    }
    return port > 0 ? "/dev/ttyS" + std::to_string(port - 1) : std::string();
}

} // namespace tvsk::kernel
