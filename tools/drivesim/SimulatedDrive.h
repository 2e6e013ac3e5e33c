// One simulated drive: parameter memory (parameter p at byte 2p, little-endian), a byte
// addressed memory, and the memory window parameters.
#pragma once

#include <framework/WinTypes.h>

#include <vector>

class CSimulatedDrive
{
public:
    explicit CSimulatedDrive(int address);

    int Address() const { return m_address; }

    // Byte-addressed access as the frames do it; the window parameters act on the memory.
    DWORD ReadParameterBytes(int byteAddress, int length);
    void WriteParameterBytes(int byteAddress, const BYTE* data, int length);
    void WriteParameterBits(int byteAddress, BYTE andMask, BYTE orMask);
    DWORD ReadMemoryBytes(int byteAddress, int length) const;
    void WriteMemoryBytes(int byteAddress, const BYTE* data, int length);

    // Direct access for defaults and for tests that look inside the drive.
    DWORD Parameter(int number, int length) const;
    void SetParameter(int number, int length, DWORD value);
    bool ParameterBit(int number, int bit) const;
    void SetParameterBit(int number, int bit, bool value);
    BYTE MemoryByte(int byteAddress) const;
    void SetMemoryByte(int byteAddress, BYTE value);
    DWORD WindowAddress() const { return m_windowAddress; }

private:
    DWORD Load(const std::vector<BYTE>& area, int byteAddress, int length) const;
    void Store(std::vector<BYTE>& area, int byteAddress, const BYTE* data, int length);

    int m_address;
    std::vector<BYTE> m_parameters;
    std::vector<BYTE> m_memory;
    DWORD m_windowAddress = 0;
};
