// Which device stands for serial port n.
#pragma once

#include <string>
#include <vector>

namespace tvsk::kernel
{

// Port number of "COM<n>" or "\\.\COM<n>" (any case), -1 for any other name or n above 255.
int SerialPortNumber(const char* fileName) noexcept;

// The registry store's value "COM<n>" under "HKEY_LOCAL_MACHINE\Software\MurnApps\SerialPorts",
// else /dev/ttyS<n-1>; empty for port 0 without a value.
std::string SerialDevicePath(int port);

// One numbered serial port and the device it opens.
struct SerialPortEntry
{
    int port = 0;
    std::string device;
};

// The machine's serial devices under root ("/" on a running system) by port number, ascending:
// each value of the store's key above whose device exists; each built-in port ttyS<n> with a UART
// as port n+1 unless that number is mapped; and each adapter (ttyUSB*, ttyACM*), named by its
// dev/serial/by-id link where it has one, numbered the first time it is seen with the lowest
// number free of the others and kept in the store, so it keeps its number across restarts.
std::vector<SerialPortEntry> ListSerialPorts(const std::string& root = "/");

} // namespace tvsk::kernel
