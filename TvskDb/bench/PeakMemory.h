// The peak resident memory a piece of work adds, read from the kernel's high-water mark.
#pragma once

#include <fstream>
#include <string>

namespace bench
{

inline long StatusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    return 0;
}

// Bytes the high-water mark rose above the resident size at the start while work ran.
template <class Work> double PeakBytes(Work work)
{
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the high-water mark
    const long before = StatusKiB("VmRSS:");
    work();
    return static_cast<double>(StatusKiB("VmHWM:") - before) * 1024.0;
}

} // namespace bench
