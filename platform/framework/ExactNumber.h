// Numbers that keep their value on the way through a text or a scaled raw word.
#pragma once

#include <framework/CString.h>

namespace tvsk
{

// The shortest "%g" form (6 to 17 significant digits, C locale) that reads back as exactly the value.
CString ExactText(double value);

// value x scale + offset; a result that misses a whole number only by the rounding of the
// arithmetic (0.29 x 100 gives 28.999999999999996) is that whole number.
double ScaledRaw(double value, double scale, double offset) noexcept;

} // namespace tvsk
