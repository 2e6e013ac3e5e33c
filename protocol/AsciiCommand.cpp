#include "AsciiCommand.h"

#include <cstdint>
#include <cstdio>

namespace
{
int AsciiNumber(const ParAccess& access)
{
    return access.area == ParArea::Memory ? access.index - kAsciiMemoryOffset : access.index;
}

std::string Format(const char* format, int a, long b = 0, long c = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}
} // namespace

std::string BuildAsciiReadCommand(const ParAccess& access)
{
    switch (access.width)
    {
    case ParWidth::Bit:
        return Format("B%d.%ld\r", access.index, access.bit);
    case ParWidth::DWord:
        return Format("XL%d\r", AsciiNumber(access));
    default:
        return Format("X%d\r", AsciiNumber(access));
    }
}

std::string BuildAsciiWriteCommand(const ParAccess& access, LONG value)
{
    switch (access.width)
    {
    case ParWidth::Bit:
        return Format("B%d.%ld=%ld\r", access.index, access.bit, value != 0 ? 1 : 0);
    case ParWidth::DWord:
        return Format("XL%d=%ld\r", AsciiNumber(access), value);
    default:
        return Format("X%d=%ld\r", AsciiNumber(access), value);
    }
}

AsciiReply ReadAsciiReply(CByteSource& source)
{
    AsciiReply reply{{}, true};
    bool carriageReturn = false;
    bool lineFeed = false;
    while (!(carriageReturn && lineFeed) && reply.text.size() < kAsciiReplyCapacity)
    {
        BYTE c = 0;
        if (!source.ReadByte(c))
        {
            reply.complete = false;
            break;
        }
        if (c == '\r' && !carriageReturn)
            carriageReturn = true;
        else if (c == '\n' && !lineFeed)
            lineFeed = true;
        else
            reply.text.push_back(static_cast<char>(c));
    }
    return reply;
}

bool ParseAsciiValue(const std::string& text, LONG& value)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    const size_t digitsFrom = at;
    std::int64_t magnitude = 0;
    bool fits = true;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > 0xFFFFFFFFll)
        {
            fits = false;
            magnitude = 0xFFFFFFFFll;
        }
    }
    // Unsigned 32-bit values come back as they are; only their bit pattern is kept.
    const std::int64_t number = negative ? -magnitude : magnitude;
    if (number < INT32_MIN)
        fits = false;
    value = fits ? static_cast<LONG>(static_cast<std::uint32_t>(number)) : 0;
    return fits && at > digitsFrom && at == text.size();
}

bool IsAsciiWriteAcknowledge(const AsciiReply& reply)
{
    return reply.complete && reply.text.size() >= 2 && reply.text.compare(0, 2, "Ok") == 0;
}
