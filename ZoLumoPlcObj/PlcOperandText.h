// Operand texts of PLC instructions: decimal numbers, "word.bit" and "Pword".
#pragma once

#include <framework/CString.h>

namespace PlcOperandText
{
// One or more decimal digits whose value fits an int.
bool ParseDigits(const char* text, int& value);
// Digits, a point, digits.
bool ParseBitAddress(const char* text, int& word, int& bit);
// "P" followed by digits.
bool ParseWordAddress(const char* text, int& word);
} // namespace PlcOperandText
