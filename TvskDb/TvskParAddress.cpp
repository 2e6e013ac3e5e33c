#include "TvskParAddress.h"

#include <climits>
#include <cstring>

namespace {

// Leading digits after optional blanks and sign, 0 when there are none; saturates instead of
// overflowing.
int LeadingInt(const char* text) noexcept
{
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value <= INT_MAX) value = value * 10 + (*text - '0');
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

CParAddress CParAddress::Parse(const char* id) noexcept
{
    CParAddress address;
    if (!id) return address;
    const char* rest = std::strpbrk(id, "0123456789");
    if (!rest) rest = id;
    if (const char* dot = std::strchr(rest, '.'))
    {
        address.nAddr = LeadingInt(rest);
        address.nSubAddr = LeadingInt(dot + 1);
    }
    else if (const char* colon = std::strchr(rest, ':'))
    {
        address.nAddr = LeadingInt(colon + 1);
    }
    else
    {
        address.nAddr = LeadingInt(rest);
    }
    return address;
}
