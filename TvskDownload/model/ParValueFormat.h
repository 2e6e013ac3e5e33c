// How the download window shows a parameter's raw value and reads one typed back: decimal,
// hexadecimal or binary over the parameter's bit width, scale and offset.
#pragma once

#include <framework/CString.h>

enum ParDisplayFormat
{
    PARFMT_DECIMAL = 0,
    PARFMT_BINARY = 1,
    PARFMT_HEX = 2
};

struct PAR_SCALING
{
    int nBits = 16;               // field 2
    double dScale = 1.0;          // field 3; 0 counts as 1
    double dOffset = 0.0;         // field 4
    int nFormat = PARFMT_DECIMAL; // field 11
};

class CParValueFormat
{
public:
    // The value text (field 1) as the grid shows it; "---" and texts that are no number unchanged.
    static CString Display(const char* value, const PAR_SCALING& scaling);
    // The engineering value of a typed raw value, as a text that reads back exactly; false (text untouched)
    // when the text is not a number of the format or has more digits than the width holds.
    static bool Entry(const char* typed, const PAR_SCALING& scaling, CString& value);

    // raw = value x scale + offset, truncated toward zero into 32 bits (rounding noise of the
    // product aside).
    static int Raw(double value, const PAR_SCALING& scaling);
};
