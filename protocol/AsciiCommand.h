// ASCII commands: "X", "XL" and "B" requests ended by CR, replies ended by CR LF.
#pragma once

#include "ByteSource.h"
#include "ParAccess.h"

#include <string>

constexpr size_t kAsciiReplyCapacity = 30;
// Memory words go out as their address minus this offset.
constexpr int kAsciiMemoryOffset = 0x3000;

std::string BuildAsciiReadCommand(const ParAccess& access);
// A bit is written as 1 when value is nonzero.
std::string BuildAsciiWriteCommand(const ParAccess& access, LONG value);

struct AsciiReply
{
    std::string text; // without the first CR and the first LF
    bool complete;    // the last read succeeded
};

// Collects characters until CR and LF both came, 30 are stored, or one does not come.
AsciiReply ReadAsciiReply(CByteSource& source);
// The decimal number the text holds (leading blanks and a sign allowed); false when characters
// are left over or the number does not fit 32 bits. value is what was read before.
bool ParseAsciiValue(const std::string& text, LONG& value);
// Whether a write was answered with "Ok".
bool IsAsciiWriteAcknowledge(const AsciiReply& reply);
