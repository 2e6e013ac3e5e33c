// The language's operators over values: type rules, promotion on overflow, Null propagation.
#pragma once

#include "Value.h"

namespace tvsk::script
{

// Strings longer than this many UTF-16 units (2^27: 256 MB) and arrays with more elements than
// this (2^24: 384 MB) fail with Out of memory. Per thread; a fuzzer sets smaller ones.
struct ResourceLimits
{
    unsigned long long stringLength = 1ull << 27;
    unsigned long long arrayElements = 1ull << 24;
};
ResourceLimits& Limits() noexcept;

enum class CompareMode
{
    Binary,
    Text
};

Value Add(const Value& a, const Value& b);
Value Subtract(const Value& a, const Value& b);
Value Multiply(const Value& a, const Value& b);
Value Divide(const Value& a, const Value& b);
Value IntegerDivide(const Value& a, const Value& b);
Value Modulo(const Value& a, const Value& b);
Value Power(const Value& a, const Value& b);
Value Negate(const Value& a);
Value Concatenate(const Value& a, const Value& b);

// -1, 0 or 1; std::nullopt when either side is Null. A side marked literal converts the other to its
// type when one is a number and the other a string; otherwise a number is less than any string.
enum class Order
{
    Less = -1,
    Equal = 0,
    Greater = 1,
    Unknown = 2
};
Order Compare(const Value& a, const Value& b, bool aLiteral = false, bool bLiteral = false,
              CompareMode mode = CompareMode::Binary);
// The language's case mapping: ASCII and Latin-1 letters.
char16_t UpperCase(char16_t c);
char16_t LowerCase(char16_t c);
int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode);

Value Not(const Value& a);
Value And(const Value& a, const Value& b);
Value Or(const Value& a, const Value& b);
Value Xor(const Value& a, const Value& b);
Value Eqv(const Value& a, const Value& b);
Value Imp(const Value& a, const Value& b);
// Object identity; Object required unless both are objects or Nothing.
bool Is(const Value& a, const Value& b);

// The value an If or loop condition tests: Null is False.
bool Truth(const Value& v);

} // namespace tvsk::script
