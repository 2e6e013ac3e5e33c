// Display and entry of raw parameter values.
#include <TvskDownload/model/ParValueFormat.h>

#include <framework/ExactNumber.h>
#include <framework/LeadingNumber.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{
double Scale(const PAR_SCALING& scaling)
{
    return scaling.dScale == 0.0 ? 1.0 : scaling.dScale;
}

std::string Binary(uint32_t bits, int width, bool negative)
{
    std::string digits;
    for (uint32_t v = bits; v; v >>= 1)
        digits.insert(digits.begin(), static_cast<char>('0' + (v & 1)));
    if (digits.empty())
        digits = "0";
    if (static_cast<int>(digits.size()) > width)
        digits.erase(0, digits.size() - static_cast<size_t>(width));
    else if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), negative ? '1' : '0');
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i)
    {
        if (i > 0 && (digits.size() - i) % 4 == 0)
            grouped += ' ';
        grouped += digits[i];
    }
    return grouped;
}

// Reads digits of base 2 or 16 with an optional minus; false for anything else or overflow.
bool ReadBase(const std::string& text, int base, bool unsignedRead, int64_t& value)
{
    size_t at = 0;
    const bool negative = !unsignedRead && !text.empty() && text[0] == '-';
    at += negative ? 1 : 0;
    if (at >= text.size())
        return false;
    uint64_t v = 0;
    for (; at < text.size(); ++at)
    {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                      : 99;
        if (digit >= base)
            return false;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    if (unsignedRead)
        value = static_cast<int32_t>(static_cast<uint32_t>(v));
    else
    {
        if (v > 0x7FFFFFFFull + (negative ? 1 : 0))
            return false;
        value = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    }
    return true;
}

size_t Digits(const std::string& text)
{
    return text.size() - (!text.empty() && text[0] == '-' ? 1 : 0);
}

bool HighHexDigit(char c)
{
    return std::strchr("89ABCDEFabcdef", c) != nullptr && c != '\0';
}
} // namespace

int CParValueFormat::Raw(double value, const PAR_SCALING& scaling)
{
    const double raw = std::trunc(tvsk::ScaledRaw(value, Scale(scaling), scaling.dOffset));
    if (!std::isfinite(raw))
        return 0;
    return static_cast<int>(std::clamp(raw, -2147483648.0, 2147483647.0));
}

CString CParValueFormat::Display(const char* value, const PAR_SCALING& scaling)
{
    double v = 0.0;
    if (!value || !tvsk::WholeDouble(value, v))
        return value ? value : "";
    const int raw = Raw(v, scaling);
    const int width = std::clamp(scaling.nBits, 1, 32);
    CString text;
    switch (scaling.nFormat)
    {
    case PARFMT_BINARY:
        return Binary(static_cast<uint32_t>(raw), width, raw < 0).c_str();
    case PARFMT_HEX:
    {
        text.Format("%08X", static_cast<unsigned>(raw));
        const int keep = width < 4 ? 1 : width / 4;
        return text.Right(keep);
    }
    default:
        text.Format("%d", raw);
        return text;
    }
}

bool CParValueFormat::Entry(const char* typed, const PAR_SCALING& scaling, CString& value)
{
    std::string text;
    for (const char* p = typed ? typed : ""; *p; ++p)
        if (*p != ' ')
            text += *p;
    const int width = std::clamp(scaling.nBits, 1, 32);
    int64_t raw = 0;
    switch (scaling.nFormat)
    {
    case PARFMT_BINARY:
        if (Digits(text) > static_cast<size_t>(width))
            return false;
        if (width == 16 && text.size() == 16 && text[0] == '1')
            text.insert(0, 16, '1');
        if (!ReadBase(text, 2, text.size() == 32 && text[0] == '1', raw))
            return false;
        break;
    case PARFMT_HEX:
        if (Digits(text) > static_cast<size_t>(width < 4 ? 1 : (width + 3) / 4))
            return false;
        if (width == 16 && text.size() == 4 && HighHexDigit(text[0]))
            text.insert(0, "FFFF");
        if (!ReadBase(text, 16, text.size() == 8 && HighHexDigit(text[0]), raw))
            return false;
        break;
    default:
    {
        double number = 0.0;
        if (!tvsk::WholeDouble(text, number) || number != std::trunc(number) || number < -2147483648.0 ||
            number > 2147483647.0)
            return false;
        raw = static_cast<int64_t>(number);
        break;
    }
    }
    value = tvsk::ExactText((static_cast<double>(raw) - scaling.dOffset) / Scale(scaling));
    return true;
}
