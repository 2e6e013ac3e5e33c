#include "ParAccess.h"

int ParAccess::ByteAddress() const
{
    const int offset = area == ParArea::Memory ? index - kFirstMemoryWord : index;
    return (2 * offset) & 0x1FFF;
}

int ParAccess::ReadLength() const
{
    if (width == ParWidth::Bit)
        return bit < 8 ? 1 : 2;
    return static_cast<int>(width);
}

bool IsParIndex(long ipa)
{
    return (ipa >= 0 && ipa <= kLastParameter) || (ipa >= kFirstMemoryWord && ipa <= kLastMemoryWord);
}
