// Par reads and writes in CANopen mode: one SDO transfer to the drive's objects per call.
#pragma once

#include "CanOpenProt.h"
#include "ParAccess.h"

class CCanOpenPar
{
public:
    static constexpr WORD ParameterIndex = 0x2000;
    static constexpr WORD SetBitsIndex = 0x2001;
    static constexpr WORD ClearBitsIndex = 0x2002;
    static constexpr WORD MemoryIndex = 0x2003;
    // Subindex n + 1 must fit a byte below the highest subindex.
    static constexpr int LastObjectNumber = 254;

    // The parameter number, or a memory word's offset from the first memory word.
    static int ObjectNumber(LONG ipa);

    // Takes the node's answer filter on the port for the object's life.
    CCanOpenPar(CCanMessagePort& port, BYTE node);

    // A bit comes back as 0 or 1.
    C_ERRO Read(const ParAccess& access, DWORD& value);
    // A bit write sends the bit's mask to the set or clear object, so the drive knows which bit.
    C_ERRO Write(const ParAccess& access, DWORD value);

private:
    static WORD ValueIndex(const ParAccess& access);
    static BYTE Subindex(const ParAccess& access);

    CCanOpenProt m_sdo;
};
