// The number at the start of a text, read in the C locale whatever the program's locale is:
// white space, at most one sign, then as much of a number as follows. No number reads as 0.
#pragma once

#include <string_view>

namespace tvsk
{

// Decimal digits only; a value beyond the range of int stops at its limit.
int LeadingInt(std::string_view text) noexcept;
// A decimal real with optional fraction and exponent, or "inf"/"nan"; beyond the range of double
// it becomes infinity, below the smallest it becomes zero, each with the text's sign.
double LeadingDouble(std::string_view text) noexcept;

// True when the whole text, white space around it aside, is one finite decimal number (optional
// sign, fraction and exponent); value is then that number and otherwise left alone.
bool WholeDouble(std::string_view text, double& value) noexcept;
// As WholeDouble, for a number a user typed: where the text holds one separator, a comma is its
// decimal point as much as a point is ("4,5" is 4.5); a text with two separators is no number.
bool WholeDecimal(std::string_view text, double& value);

} // namespace tvsk
