// Drive address texts: "addr" (16 bits), "addr.bit" (1 bit) and "addrHi:AddrLo" (32 bits).
#pragma once

#include <framework/CString.h>

struct CTvskAddress
{
    int nAddr = 0;
    int nSubAddr = 0; // the bit of "addr.bit", else 0
    int nBitDim = 16;

    // False for anything else: other characters, two separators, a separator first or last,
    // a bit above 15, a pair whose high address is not the low one + 1, an address above 65535.
    static bool Parse(const char* text, CTvskAddress& address);
    // Leading "b", "P" and "r" characters dropped, as parameter names and options carry them.
    static bool ParseName(const char* name, CTvskAddress& address);
    // (width << 16) + address, as the host's address commands take it.
    long Packed() const noexcept { return (static_cast<long>(nBitDim) << 16) + nAddr; }
};
