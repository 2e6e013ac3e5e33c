#include "TvskConvert.h"

#include <climits>
#include <cmath>

int TvskDoubleToInt(double v) noexcept
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(v);
}
