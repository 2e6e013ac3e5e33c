#include "DriveObjects.h"

namespace fakeports
{

namespace
{
constexpr std::uint16_t kParameters = 0x2000;
constexpr std::uint16_t kSetBits = 0x2001;
constexpr std::uint16_t kClearBits = 0x2002;
constexpr std::uint32_t kReadOfWriteOnly = 0x06010001;
constexpr std::uint32_t kLengthMismatch = 0x06070010;
constexpr std::uint32_t kNoSubindex = 0x06090011;
constexpr std::size_t kWordWidth = 2;

bool Fits(std::size_t width)
{
    return width == 1 || width == 2 || width == 4;
}
} // namespace

std::uint32_t DriveObjects::Read(std::uint16_t index, std::uint8_t subindex, std::vector<std::uint8_t>& bytes)
{
    if (subindex == 0)
        return kNoSubindex;
    if (index == kSetBits || index == kClearBits)
        return kReadOfWriteOnly;
    const int number = subindex - 1;
    const auto found = m_widths.find({index, subindex});
    const std::size_t width = found != m_widths.end() ? found->second : kWordWidth;
    const DWORD value = index == kParameters ? m_drive.Parameter(number, static_cast<int>(width))
                                             : m_drive.ReadMemoryBytes(2 * number, static_cast<int>(width));
    bytes.resize(width);
    for (std::size_t i = 0; i < width; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return 0;
}

std::uint32_t DriveObjects::Write(std::uint16_t index, std::uint8_t subindex,
                                  const std::vector<std::uint8_t>& bytes)
{
    if (subindex == 0)
        return kNoSubindex;
    const int number = subindex - 1;
    if (index == kSetBits || index == kClearBits)
    {
        if (bytes.size() != kWordWidth)
            return kLengthMismatch;
        const unsigned mask = bytes[0] | bytes[1] << 8;
        for (int bit = 0; bit < 16; ++bit)
            if (mask & (1u << bit))
                m_drive.SetParameterBit(number, bit, index == kSetBits);
        return 0;
    }
    if (!Fits(bytes.size()))
        return kLengthMismatch;
    DWORD value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        value |= static_cast<DWORD>(bytes[i]) << (8 * i);
    if (index == kParameters)
        m_drive.SetParameter(number, static_cast<int>(bytes.size()), value);
    else
        m_drive.WriteMemoryBytes(2 * number, bytes.data(), static_cast<int>(bytes.size()));
    m_widths[{index, subindex}] = bytes.size();
    return 0;
}

} // namespace fakeports
