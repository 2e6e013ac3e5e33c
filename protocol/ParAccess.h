// One transfer's target on the drive: a parameter or a memory word, its width and bit.
#pragma once

#include <framework/WinTypes.h>

enum class ParArea
{
    Parameter,
    Memory,
};

// Width in bytes; Bit is one bit of a parameter.
enum class ParWidth
{
    Bit = 0,
    Byte = 1,
    Word = 2,
    DWord = 4,
};

constexpr int kLastParameter = 8192;
constexpr int kFirstMemoryWord = 0x4000;
constexpr int kLastMemoryWord = 0x4200;
constexpr int kLastBit = 15;
// Binary frames carry a 13-bit byte address: higher parameters would reach others.
constexpr int kLastBinaryParameter = 0x1FFF / 2;
// The command byte leaves five bits for the drive address.
constexpr int kLastBinaryDriveAddress = 31;

struct ParAccess
{
    ParArea area = ParArea::Parameter;
    int index = 0; // parameter number, or memory word address
    ParWidth width = ParWidth::Word;
    int bit = 0;

    // Twice the parameter number or the memory word's offset, its low 13 bits.
    int ByteAddress() const;
    // Bytes a read asks for: the width, or for a bit the 1 or 2 bytes that hold it.
    int ReadLength() const;
    // The bit within the byte a bit write changes.
    int BitInByte() const { return bit & 7; }
};

// Whether ipa names a parameter (0..8192) or a memory word (0x4000..0x4200).
bool IsParIndex(long ipa);
