#include "ExactNumber.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>

namespace tvsk
{

CString ExactText(double value)
{
    char text[40];
    for (int digits = 6;; ++digits)
    {
        char* end =
            std::to_chars(text, text + sizeof text - 1, value, std::chars_format::general, digits).ptr;
        *end = '\0';
        double back = 0.0;
        std::from_chars(text, end, back);
        if (back == value || digits == 17)
            return CString(text);
    }
}

double ScaledRaw(double value, double scale, double offset) noexcept
{
    const double product = value * scale;
    const double raw = product + offset;
    const double whole = std::nearbyint(raw);
    const double slack = 8 * DBL_EPSILON * std::max({1.0, std::abs(product), std::abs(offset)});
    return std::abs(raw - whole) <= slack ? whole : raw;
}

} // namespace tvsk
