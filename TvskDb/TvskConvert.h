// Number conversions of the databases that must stay defined for any input.
#pragma once

// v truncated toward zero; clamped to the 32-bit range, NaN gives 0.
int TvskDoubleToInt(double v) noexcept;
