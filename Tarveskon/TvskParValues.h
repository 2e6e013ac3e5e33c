// Scaling of parameter values and the VARIANTs drive transfers carry.
#pragma once

#include <TvskDb/TvskParDbRecords.h>

#include <com/Variant.h>
#include <framework/CString.h>

#include <vector>

namespace tvsk::values
{

// The largest float: a value that could not be read, shown as "---".
constexpr double kUnreadValue = 3.4028234663852886e38;

// nScale 0 is taken (and stored back) as 1.
int Scale(DBPAR& par);
double ToRaw(DBPAR& par, double value);
// The whole raw word of a scaled value: one within rounding error of a whole number is that
// number (1234567.89 x 100 is 123456789), a true fraction is cut toward zero.
double WholeRaw(double raw);
// A word read as negative is taken unsigned when the parameter's range has no negative raw value.
double FromRaw(DBPAR& par, double raw);
// Whether a raw value fits the parameter's width: 0 or 1 for a bit, a signed or unsigned word of
// 16 or 32 bits; never NaN or infinite.
bool RawFits(int bits, double raw);
// VT_BOOL for 1 bit, VT_UI2/VT_I2 for 16, VT_UI4/VT_I4 for 32 by the raw value's sign, else VT_EMPTY.
VARIANT WriteVariant(int bits, double raw);
VARTYPE ReadType(int bits);
// Whether a bit parameter lives in the word (16 or 32 bits) of the other.
bool BitLivesIn(const DBPAR& bit, const DBPAR& word);
// The word's raw value, unsigned, with the bits' raw values (0 or 1) laid over it.
double WordWithBits(DBPAR& word, const std::vector<DBPAR*>& bits);
// "---" for an unread value, else the shortest text that reads back the same value.
CString ValueText(double value);

} // namespace tvsk::values
