#include "TvskParAddress.h"

#include <framework/LeadingNumber.h>

#include <cstring>

CParAddress CParAddress::Parse(const char* id) noexcept
{
    CParAddress address;
    if (!id)
        return address;
    const char* rest = std::strpbrk(id, "0123456789");
    if (!rest)
        rest = id;
    if (const char* dot = std::strchr(rest, '.'))
    {
        address.nAddr = tvsk::LeadingInt(rest);
        address.nSubAddr = tvsk::LeadingInt(dot + 1);
    }
    else if (const char* colon = std::strchr(rest, ':'))
    {
        address.nAddr = tvsk::LeadingInt(colon + 1);
    }
    else
    {
        address.nAddr = tvsk::LeadingInt(rest);
    }
    return address;
}
