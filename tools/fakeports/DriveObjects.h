// A drive's parameters, parameter bits and memory words as CANopen objects 0x2000..0x2003.
#pragma once

#include <SimulatedDrive.h>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace fakeports
{

// Subindex n + 1 is parameter n (0x2000), the bits of its mask set (0x2001) or cleared (0x2002), or
// memory word n (0x2003). Each call returns 0 or an SDO abort code.
class DriveObjects
{
public:
    static bool Holds(std::uint16_t index) { return index >= 0x2000 && index <= 0x2003; }

    std::uint32_t Read(std::uint16_t index, std::uint8_t subindex, std::vector<std::uint8_t>& bytes);
    std::uint32_t Write(std::uint16_t index, std::uint8_t subindex, const std::vector<std::uint8_t>& bytes);

    CSimulatedDrive& Drive() { return m_drive; }

private:
    CSimulatedDrive m_drive{0};
    // An object uploads as wide as it was last written, a parameter word before that.
    std::map<std::pair<std::uint16_t, std::uint8_t>, std::size_t> m_widths;
};

} // namespace fakeports
