// Numbers as field text: strict checks for files, lenient reads for setters, exact writes.
#pragma once

#include <string_view>

namespace FieldText
{

// True when text is a whole decimal integer within the 32-bit range; value gets it.
bool ParseInt(std::string_view text, int& value) noexcept;
// True when text is a whole decimal number (or inf / nan); the value is read by ReadDouble.
bool IsDouble(std::string_view text) noexcept;

// As much of an integer as text holds after leading blanks, clamped to 32 bits; 0 when none.
int ReadInt(const char* text) noexcept;
// The number text holds after leading blanks, in the C locale; 0 when none.
double ReadDouble(const char* text) noexcept;

// Shortest text that reads back as exactly the same double. buffer holds at least 32 chars.
std::string_view WriteDouble(double value, char* buffer) noexcept;

} // namespace FieldText
