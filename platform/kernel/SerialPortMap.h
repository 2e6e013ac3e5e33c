// Which device stands for serial port n.
#pragma once

#include <string>

namespace tvsk::kernel
{

// Port number of "COM<n>" or "\\.\COM<n>" (any case), -1 for any other name or n above 255.
int SerialPortNumber(const char* fileName) noexcept;

// The registry store's value "COM<n>" under "HKEY_LOCAL_MACHINE\Software\MurnApps\SerialPorts",
// else /dev/ttyS<n-1>; empty for port 0 without a value.
std::string SerialDevicePath(int port);

} // namespace tvsk::kernel
