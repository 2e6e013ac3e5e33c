#include "SimulatedDrive.h"

namespace
{
constexpr int kParameterBytes = (8192 + 2) * 2;
constexpr int kMemoryBytes = 0x10000;
constexpr int kWindowAddressByte = 2 * 396;
constexpr int kWindowReadByte = 2 * 391;
constexpr int kWindowWriteByte = 2 * 393;

void LittleEndianBytes(DWORD value, BYTE* bytes, int length)
{
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<BYTE>(value >> (8 * i));
}
} // namespace

CSimulatedDrive::CSimulatedDrive(int address)
    : m_address(address), m_parameters(kParameterBytes), m_memory(kMemoryBytes)
{
}

DWORD CSimulatedDrive::Load(const std::vector<BYTE>& area, int byteAddress, int length) const
{
    DWORD value = 0;
    for (int i = length; i-- > 0;)
    {
        const size_t at = static_cast<size_t>(byteAddress + i);
        value = value << 8 | (at < area.size() ? area[at] : 0);
    }
    return value;
}

void CSimulatedDrive::Store(std::vector<BYTE>& area, int byteAddress, const BYTE* data, int length)
{
    for (int i = 0; i < length; ++i)
    {
        const size_t at = static_cast<size_t>(byteAddress + i);
        if (at < area.size())
            area[at] = data[i];
    }
}

DWORD CSimulatedDrive::ReadParameterBytes(int byteAddress, int length)
{
    if (byteAddress != kWindowReadByte)
        return Load(m_parameters, byteAddress, length);
    const DWORD value = Load(m_memory, static_cast<int>(m_windowAddress % kMemoryBytes), length);
    m_windowAddress += static_cast<DWORD>(length);
    return value;
}

void CSimulatedDrive::WriteParameterBytes(int byteAddress, const BYTE* data, int length)
{
    if (byteAddress == kWindowWriteByte)
    {
        Store(m_memory, static_cast<int>(m_windowAddress % kMemoryBytes), data, length);
        m_windowAddress += static_cast<DWORD>(length);
        return;
    }
    Store(m_parameters, byteAddress, data, length);
    if (byteAddress == kWindowAddressByte)
        m_windowAddress = Load(m_parameters, kWindowAddressByte, 4);
}

void CSimulatedDrive::WriteParameterBits(int byteAddress, BYTE andMask, BYTE orMask)
{
    const BYTE value = static_cast<BYTE>((Load(m_parameters, byteAddress, 1) & andMask) | orMask);
    Store(m_parameters, byteAddress, &value, 1);
}

DWORD CSimulatedDrive::ReadMemoryBytes(int byteAddress, int length) const
{
    return Load(m_memory, byteAddress, length);
}

void CSimulatedDrive::WriteMemoryBytes(int byteAddress, const BYTE* data, int length)
{
    Store(m_memory, byteAddress, data, length);
}

DWORD CSimulatedDrive::Parameter(int number, int length) const
{
    return Load(m_parameters, 2 * number, length);
}

void CSimulatedDrive::SetParameter(int number, int length, DWORD value)
{
    BYTE bytes[4];
    LittleEndianBytes(value, bytes, length);
    Store(m_parameters, 2 * number, bytes, length);
}

bool CSimulatedDrive::ParameterBit(int number, int bit) const
{
    return (Parameter(number, 2) >> bit) & 1u;
}

void CSimulatedDrive::SetParameterBit(int number, int bit, bool value)
{
    const DWORD word = Parameter(number, 2);
    SetParameter(number, 2, value ? word | (1u << bit) : word & ~(1u << bit));
}

BYTE CSimulatedDrive::MemoryByte(int byteAddress) const
{
    return static_cast<BYTE>(Load(m_memory, byteAddress, 1));
}

void CSimulatedDrive::SetMemoryByte(int byteAddress, BYTE value)
{
    Store(m_memory, byteAddress, &value, 1);
}
