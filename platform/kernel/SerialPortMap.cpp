// Port numbers and their devices.
#include "SerialPortMap.h"

#include <registry/Registry.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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

namespace
{

namespace fs = std::filesystem;

constexpr const char* kPortsKey = "Software\\MurnApps\\SerialPorts";
constexpr int kLastPort = 255;

// The store's "COM<n>" values.
std::map<int, std::string> MappedPorts()
{
    std::map<int, std::string> ports;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index)
    {
        char name[64] = {};
        DWORD nameLength = sizeof name;
        char device[MAX_PATH] = {};
        DWORD size = sizeof device - 1;
        DWORD type = REG_NONE;
        if (RegEnumValue(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(device),
                         &size) != ERROR_SUCCESS)
            break;
        const int port = SerialPortNumber(name);
        if (port > 0 && type == REG_SZ && device[0] != '\0')
            ports[port] = device;
    }
    RegCloseKey(key);
    return ports;
}

bool StoreMapping(int port, const std::string& device)
{
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, kPortsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) != ERROR_SUCCESS)
        return false;
    const std::string name = "COM" + std::to_string(port);
    const bool stored =
        RegSetValueEx(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                      static_cast<DWORD>(device.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return stored;
}

// Number of "<prefix><n>", -1 for another name.
int DeviceIndex(const std::string& name, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    if (name.compare(0, length, prefix) != 0 || name.size() == length || name.size() > length + 4)
        return -1;
    int index = 0;
    for (size_t i = length; i < name.size(); ++i)
    {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        index = index * 10 + (name[i] - '0');
    }
    return index;
}

// Built-in ports: ttyS<n> whose UART type the kernel knows (not 0), as port n+1.
std::map<int, std::string> BuiltInPorts(const fs::path& root)
{
    std::map<int, std::string> ports;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "sys/class/tty", error))
    {
        const std::string name = entry.path().filename().string();
        const int index = DeviceIndex(name, "ttyS");
        if (index < 0 || index >= kLastPort)
            continue;
        std::ifstream typeFile(entry.path() / "type");
        int type = 0;
        if (typeFile >> type && type != 0)
            ports[index + 1] = (root / "dev" / name).string();
    }
    return ports;
}

struct Adapter
{
    std::string name; // the by-id link where there is one, else the device
    std::string node; // the device
    bool operator<(const Adapter& other) const { return name < other.name; }
};

// Adapters by the name that stays theirs.
std::vector<Adapter> Adapters(const fs::path& root)
{
    std::map<fs::path, std::string> byId; // device -> link
    std::error_code error;
    for (const fs::directory_entry& link : fs::directory_iterator(root / "dev/serial/by-id", error))
    {
        const fs::path target = fs::weakly_canonical(link.path(), error);
        if (!error)
            byId[target] = link.path().string();
    }
    std::vector<Adapter> adapters;
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "dev", error))
    {
        const std::string name = entry.path().filename().string();
        if (DeviceIndex(name, "ttyUSB") < 0 && DeviceIndex(name, "ttyACM") < 0)
            continue;
        const auto link = byId.find(fs::weakly_canonical(entry.path(), error));
        adapters.push_back(
            {link != byId.end() ? link->second : entry.path().string(), entry.path().string()});
    }
    std::sort(adapters.begin(), adapters.end());
    return adapters;
}

bool Exists(const std::string& device)
{
    std::error_code error;
    return fs::exists(device, error);
}

} // namespace

std::vector<SerialPortEntry> ListSerialPorts(const std::string& root)
{
    std::map<int, std::string> mapped = MappedPorts();
    const std::map<int, std::string> builtIn = BuiltInPorts(root);
    for (const Adapter& adapter : Adapters(root))
    {
        const bool known = std::any_of(
            mapped.begin(), mapped.end(),
            [&](const auto& port) { return port.second == adapter.name || port.second == adapter.node; });
        if (known)
            continue;
        int port = 1;
        while (port <= kLastPort && (mapped.count(port) || builtIn.count(port)))
            ++port;
        if (port > kLastPort || !StoreMapping(port, adapter.name))
            continue;
        mapped[port] = adapter.name;
    }
    std::map<int, std::string> present = builtIn;
    for (const auto& [port, device] : mapped)
    {
        present.erase(port);
        if (Exists(device))
            present[port] = device;
    }
    std::vector<SerialPortEntry> ports;
    for (const auto& [port, device] : present)
        ports.push_back({port, device});
    return ports;
}

std::string SerialDevicePath(int port)
{
    const std::string valueName = "COM" + std::to_string(port);
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_READ, &key) == ERROR_SUCCESS)
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
