// One SDO message: the 8 data bytes of a CAN message as the SDO services lay them out.
#pragma once

#include <framework/WinTypes.h>

struct SDO_PROT
{
    static constexpr int SegmentCapacity = 7;

    BYTE bytes[8] = {};

    // Command specifier, index, subindex and the 32-bit value of an initiate or abort message.
    static SDO_PROT Initiate(BYTE command, WORD index, BYTE subindex, DWORD value) noexcept
    {
        SDO_PROT sdo;
        sdo.bytes[0] = command;
        sdo.bytes[1] = LOBYTE(index);
        sdo.bytes[2] = HIBYTE(index);
        sdo.bytes[3] = subindex;
        for (int i = 0; i < 4; ++i)
            sdo.bytes[4 + i] = static_cast<BYTE>(value >> (8 * i));
        return sdo;
    }

    BYTE Command() const noexcept { return bytes[0]; }
    WORD Index() const noexcept { return MAKEWORD(bytes[1], bytes[2]); }
    BYTE Subindex() const noexcept { return bytes[3]; }
    DWORD Value() const noexcept
    {
        return static_cast<DWORD>(bytes[4]) | static_cast<DWORD>(bytes[5]) << 8 |
               static_cast<DWORD>(bytes[6]) << 16 | static_cast<DWORD>(bytes[7]) << 24;
    }
    bool SameObject(const SDO_PROT& other) const noexcept
    {
        return Index() == other.Index() && Subindex() == other.Subindex();
    }
    // Bytes 1..7 carry the data of a segment.
    BYTE* SegmentData() noexcept { return bytes + 1; }
    const BYTE* SegmentData() const noexcept { return bytes + 1; }
};
static_assert(sizeof(SDO_PROT) == 8);
