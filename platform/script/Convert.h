// The language's conversions between its value types, with its errors.
#pragma once

#include "Value.h"

#include <string>

namespace tvsk::script
{

// Halves round to even, as the language's conversions do.
double RoundHalfEven(double x) noexcept;
// The whole text read as a number: blanks around, sign, decimals, exponent, &H and &O forms.
bool ParseNumber(std::u16string_view text, double& out);
// Whether a decimal number out of range lies below it (a negative exponent): it reads as 0.
bool Underflows(std::string_view number) noexcept;

// An object stands for its default property; arrays give Type mismatch, Null Invalid use of Null.
Value Scalar(const Value& v);
double ToDouble(const Value& v);
LONG ToLong(const Value& v);
SHORT ToInt(const Value& v);
BYTE ToByte(const Value& v);
float ToSingle(const Value& v);
LONGLONG ToCurrency(const Value& v);
double ToDate(const Value& v);
bool ToBool(const Value& v);
// CStr: Empty is "", Null is Invalid use of Null.
std::u16string ToText(const Value& v);
// As the & operator and string functions see a value: Null is "".
std::u16string TextOf(const Value& v);
Value ToTextValue(const Value& v);

std::string DoubleText(double d);
std::string SingleText(float f);
std::string CurrencyText(LONGLONG tenThousandths);

// A numeric type or a string that reads as a number (Empty counts as 0, Null and objects do not).
bool IsNumeric(const Value& v);
bool IsNumericType(VARTYPE vt) noexcept;
// The object a value holds as IDispatch (null for Nothing); Object required when it holds none,
// Object doesn't support this property or method when it is IUnknown only.
ComPtr<IDispatch> ObjectOf(const Value& v);

} // namespace tvsk::script
