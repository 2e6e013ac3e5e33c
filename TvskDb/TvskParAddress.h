// Drive address and sub-address encoded in a parameter or command identifier.
#pragma once

struct CParAddress
{
    int nAddr = 0;
    int nSubAddr = 0; // bit number of "<prefix><addr>.<bit>"

    // "Pr120.3" -> 120, 3; "Pr5:40" -> 40, 0 (32 bits, low word 40); "Pr77" -> 77, 0.
    // The letter prefix is dropped; numbers read as leading digits, 0 when there are none.
    static CParAddress Parse(const char* id) noexcept;

    friend bool operator==(const CParAddress&, const CParAddress&) = default;
};
