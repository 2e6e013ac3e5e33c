// Turning a double into the 32-bit pattern of a two-word drive value.
#pragma once

#include "WinTypes.h"

#include <cmath>

// Truncated toward zero: values from -2147483648 to 4294967295 keep their 32-bit pattern (so both
// signed and unsigned 32-bit values fit), values beyond are clamped and NaN gives 0.
inline DWORD TruncateToDWord(double value) noexcept
{
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated <= -2147483648.0)
        return 0x80000000u;
    if (truncated >= 4294967295.0)
        return 0xFFFFFFFFu;
    if (truncated < 0)
        return static_cast<DWORD>(static_cast<LONG>(truncated));
    return static_cast<DWORD>(truncated);
}
