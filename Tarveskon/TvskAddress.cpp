// Drive address texts.
#include "TvskAddress.h"

#include <cctype>
#include <cstring>

namespace
{

// Reads a run of digits as a number of at most 65535; false when there is none or it is larger.
bool ReadNumber(const char*& p, long& value)
{
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
    {
        value = value * 10 + (*p - '0');
        if (value > 0xFFFF)
            return false;
    }
    return true;
}

} // namespace

bool CTvskAddress::Parse(const char* text, CTvskAddress& address)
{
    if (!text)
        return false;
    const char* p = text;
    long first = 0;
    if (!ReadNumber(p, first))
        return false;
    if (*p == '\0')
    {
        address = {static_cast<int>(first), 0, 16};
        return true;
    }
    const char separator = *p++;
    long second = 0;
    if ((separator != '.' && separator != ':') || !ReadNumber(p, second) || *p != '\0')
        return false;
    if (separator == '.')
    {
        if (second > 15)
            return false;
        address = {static_cast<int>(first), static_cast<int>(second), 1};
        return true;
    }
    if (first != second + 1)
        return false;
    address = {static_cast<int>(second), 0, 32};
    return true;
}

bool CTvskAddress::ParseName(const char* name, CTvskAddress& address)
{
    if (!name)
        return false;
    while (*name && std::strchr("bPr", *name))
        ++name;
    return Parse(name, address);
}
