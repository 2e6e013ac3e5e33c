// Conversions between the value types.
#include "Convert.h"

#include "DateTime.h"
#include "Dispatch.h"
#include "Locale.h"
#include "ScriptError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tvsk::script
{

double RoundHalfEven(double x) noexcept
{
    return std::nearbyint(x);
}

bool Underflows(std::string_view number) noexcept
{
    const size_t e = number.find_first_of("eE");
    return e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
}

namespace
{
bool Blank(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0;
}
} // namespace

bool ParseNumber(std::u16string_view localText, double& out)
{
    const std::u16string canonical = CanonicalNumber(localText);
    const std::u16string_view text = canonical;
    size_t b = 0, e = text.size();
    while (b < e && Blank(text[b]))
        ++b;
    while (e > b && Blank(text[e - 1]))
        --e;
    if (b == e)
        return false;
    std::string ascii;
    for (size_t i = b; i < e; ++i)
    {
        if (text[i] > 127)
            return false;
        ascii += static_cast<char>(text[i]);
    }
    if (ascii.size() > 2 && ascii[0] == '&' &&
        (ascii[1] == 'h' || ascii[1] == 'H' || ascii[1] == 'o' || ascii[1] == 'O'))
    {
        const int base = (ascii[1] == 'h' || ascii[1] == 'H') ? 16 : 8;
        unsigned long long v = 0;
        auto [p, ec] = std::from_chars(ascii.data() + 2, ascii.data() + ascii.size(), v, base);
        if (ec != std::errc() || p != ascii.data() + ascii.size() || v > 0xFFFFFFFFull)
            return false;
        if (base == 16 && ascii.size() - 2 <= 4)
            out = static_cast<SHORT>(static_cast<USHORT>(v));
        else
            out = static_cast<LONG>(static_cast<ULONG>(v));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (ascii[i] == '+' || ascii[i] == '-')
    {
        negative = ascii[i] == '-';
        ++i;
        while (i < ascii.size() && Blank(static_cast<char16_t>(ascii[i])))
            ++i;
    }
    // Thousands separators between digits of the whole part ("1,000.5").
    const size_t point = ascii.find_first_of(".eE", i);
    for (size_t k = i; k < std::min(point, ascii.size()); ++k)
        if (ascii[k] == ',')
        {
            if (k == i || k + 1 >= ascii.size() || !std::isdigit(static_cast<unsigned char>(ascii[k - 1])) ||
                !std::isdigit(static_cast<unsigned char>(ascii[k + 1])))
                return false;
            ascii.erase(k, 1);
            --k;
        }
    const char* first = ascii.data() + i;
    const char* last = ascii.data() + ascii.size();
    if (first == last || *first == '+' || *first == '-')
        return false;
    // from_chars reads neither "inf", "nan" nor hex here with the general format.
    if (!((*first >= '0' && *first <= '9') || *first == '.'))
        return false;
    double v = 0;
    auto [p, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range && Underflows(std::string_view(first, last - first)))
    {
        v = 0;
        ec = std::errc();
        p = last;
    }
    if (ec == std::errc::result_out_of_range)
        Throw(err::Overflow);
    if (ec != std::errc() || p != last)
        return false;
    out = negative ? -v : v;
    return true;
}

ComPtr<IDispatch> ObjectOf(const Value& v)
{
    const Value& t = v.Target();
    if (t.vt == VT_DISPATCH)
        return ComPtr<IDispatch>(t.pdispVal);
    if (t.vt != VT_UNKNOWN)
        Throw(err::ObjectRequired);
    if (!t.punkVal)
        return {};
    ComPtr<IDispatch> object;
    if (FAILED(t.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.Receive()))) ||
        !object)
        Throw(err::NoSuchMember);
    return object;
}

Value Scalar(const Value& v)
{
    const Value& t = v.Target();
    if (t.vt == VT_DISPATCH || t.vt == VT_UNKNOWN)
    {
        if (!t.pdispVal)
            Throw(err::ObjectNotSet);
        const ComPtr<IDispatch> object = ObjectOf(t);
        Value r = InvokeId(object.Get(), DISPID_VALUE, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0);
        if (r.IsObject())
            Throw(err::TypeMismatch);
        return r;
    }
    return t;
}

namespace
{

double TextToDouble(const Value& v)
{
    double d = 0;
    if (ParseNumber(v.Text(), d))
        return d;
    if (auto date = ParseDate(v.Text()))
        return *date;
    Throw(err::TypeMismatch);
}

double NumberOf(const Value& t)
{
    switch (t.vt)
    {
    case VT_EMPTY:
        return 0;
    case VT_NULL:
        Throw(err::InvalidUseOfNull);
    case VT_BOOL:
        return t.boolVal ? -1 : 0;
    case VT_UI1:
        return t.bVal;
    case VT_I1:
        return t.cVal;
    case VT_I2:
        return t.iVal;
    case VT_UI2:
        return t.uiVal;
    case VT_I4:
        return t.lVal;
    case VT_UI4:
        return t.ulVal;
    case VT_INT:
        return t.intVal;
    case VT_UINT:
        return t.uintVal;
    case VT_I8:
        return static_cast<double>(t.llVal);
    case VT_UI8:
        return static_cast<double>(t.ullVal);
    case VT_R4:
        return t.fltVal;
    case VT_R8:
        return t.dblVal;
    case VT_DATE:
        return t.date;
    case VT_CY:
        return static_cast<double>(t.cyVal.int64) / 10000.0;
    case VT_BSTR:
        return TextToDouble(t);
    case VT_ERROR:
        return t.scode;
    default:
        Throw(err::TypeMismatch);
    }
}

double Ranged(double d, double low, double high)
{
    const double r = RoundHalfEven(d);
    if (!(r >= low && r <= high))
        Throw(err::Overflow);
    return r;
}

} // namespace

double ToDouble(const Value& v)
{
    const Value& t = v.Target();
    if (t.IsObject())
        return NumberOf(Scalar(t));
    return NumberOf(t);
}

LONG ToLong(const Value& v)
{
    const Value& t = v.Target();
    switch (t.vt)
    {
    case VT_I2:
        return t.iVal;
    case VT_I4:
        return t.lVal;
    case VT_UI1:
        return t.bVal;
    case VT_BOOL:
        return t.boolVal ? -1 : 0;
    case VT_EMPTY:
        return 0;
    default:
        return static_cast<LONG>(Ranged(ToDouble(t), -2147483648.0, 2147483647.0));
    }
}

SHORT ToInt(const Value& v)
{
    return static_cast<SHORT>(Ranged(ToDouble(v), -32768.0, 32767.0));
}
BYTE ToByte(const Value& v)
{
    // True is all bits set: 255.
    if (v.Target().vt == VT_BOOL)
        return v.Target().boolVal ? 255 : 0;
    return static_cast<BYTE>(Ranged(ToDouble(v), 0.0, 255.0));
}

float ToSingle(const Value& v)
{
    const double d = ToDouble(v);
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        Throw(err::Overflow);
    return static_cast<float>(d);
}

LONGLONG ToCurrency(const Value& v)
{
    const Value& t = v.Target();
    if (t.vt == VT_CY)
        return t.cyVal.int64;
    const double scaled = RoundHalfEven(ToDouble(t) * 10000.0);
    if (!(std::fabs(scaled) < 9.2233720368547758e18))
        Throw(err::Overflow);
    return static_cast<LONGLONG>(scaled);
}

double ToDate(const Value& v)
{
    const Value& t = v.Target();
    if (t.vt == VT_BSTR)
    {
        if (auto date = ParseDate(t.Text()))
            return *date;
        double d = 0;
        if (!ParseNumber(t.Text(), d))
            Throw(err::TypeMismatch);
        if (d < MinDate || d > MaxDate + 1)
            Throw(err::Overflow);
        return d;
    }
    const double d = ToDouble(t);
    if (!(d >= MinDate && d < MaxDate + 1))
        Throw(err::Overflow);
    return d;
}

bool ToBool(const Value& v)
{
    const Value& t = v.Target();
    switch (t.vt)
    {
    case VT_BOOL:
        return t.boolVal != 0;
    case VT_BSTR:
    {
        const auto text = t.Text();
        auto same = [&](std::u16string_view word)
        {
            size_t b = 0, e = text.size();
            while (b < e && Blank(text[b]))
                ++b;
            while (e > b && Blank(text[e - 1]))
                --e;
            if (e - b != word.size())
                return false;
            for (size_t i = 0; i < word.size(); ++i)
                if ((text[b + i] | 0x20) != word[i])
                    return false;
            return true;
        };
        if (same(u"true") || same(u"#true#"))
            return true;
        if (same(u"false") || same(u"#false#"))
            return false;
        return TextToDouble(t) != 0;
    }
    default:
        return ToDouble(t) != 0;
    }
}

std::string DoubleText(double d)
{
    if (d == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    std::string s = buf;
    // The exponent takes at least two digits, without leading zeros beyond that.
    const size_t e = s.find('E');
    if (e != std::string::npos)
    {
        std::string mantissa = s.substr(0, e);
        const char sign = s[e + 1];
        std::string digits = s.substr(e + 2);
        while (digits.size() > 2 && digits[0] == '0')
            digits.erase(0, 1);
        s = mantissa + "E" + sign + digits;
    }
    return s;
}

std::string SingleText(float f)
{
    if (f == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(f));
    std::string s = buf;
    const size_t e = s.find('E');
    if (e != std::string::npos)
    {
        std::string digits = s.substr(e + 2);
        while (digits.size() > 2 && digits[0] == '0')
            digits.erase(0, 1);
        s = s.substr(0, e + 2) + digits;
    }
    return s;
}

std::string CurrencyText(LONGLONG c)
{
    const bool negative = c < 0;
    const unsigned long long a =
        negative ? 0ull - static_cast<unsigned long long>(c) : static_cast<unsigned long long>(c);
    std::string s = std::to_string(a / 10000);
    unsigned long long frac = a % 10000;
    if (frac)
    {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04llu", frac);
        std::string f = buf;
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        s += "." + f;
    }
    return negative ? "-" + s : s;
}

namespace
{
std::u16string Ascii(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}
} // namespace

std::u16string TextOf(const Value& v)
{
    const Value& t = v.Target();
    switch (t.vt)
    {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_BSTR:
        return std::u16string(t.Text());
    case VT_BOOL:
        return t.boolVal ? u"True" : u"False";
    case VT_UI1:
        return Ascii(std::to_string(t.bVal));
    case VT_I2:
        return Ascii(std::to_string(t.iVal));
    case VT_I4:
        return Ascii(std::to_string(t.lVal));
    case VT_R4:
        return com::Utf16FromUtf8(LocalNumber(SingleText(t.fltVal)));
    case VT_R8:
        return com::Utf16FromUtf8(LocalNumber(DoubleText(t.dblVal)));
    case VT_CY:
        return com::Utf16FromUtf8(LocalNumber(CurrencyText(t.cyVal.int64)));
    case VT_DATE:
        // A date from a host may lie outside the calendar the language knows.
        if (!(t.date >= MinDate && t.date < MaxDate + 1))
            return Ascii(DoubleText(t.date));
        return Ascii(FormatDate(t.date));
    case VT_ERROR:
        return Ascii("Error " + std::to_string(t.scode));
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return TextOf(Scalar(t));
    default:
        if (IsNumericType(t.vt))
            return Ascii(DoubleText(ToDouble(t)));
        Throw(err::TypeMismatch);
    }
}

std::u16string ToText(const Value& v)
{
    if (v.Target().IsNull())
        Throw(err::InvalidUseOfNull);
    return TextOf(v);
}

Value ToTextValue(const Value& v)
{
    const Value& t = v.Target();
    if (t.vt == VT_BSTR)
        return t;
    return Value::String(ToText(t));
}

bool IsNumericType(VARTYPE vt) noexcept
{
    switch (vt)
    {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
        return true;
    default:
        return false;
    }
}

bool IsNumeric(const Value& v)
{
    const Value& t = v.Target();
    if (IsNumericType(t.vt) || t.vt == VT_EMPTY || t.vt == VT_BOOL)
        return true;
    if (t.vt == VT_BSTR)
    {
        double d = 0;
        try
        {
            return ParseNumber(t.Text(), d);
        }
        catch (const ScriptException&)
        {
            return true;
        }
    }
    // An object is numeric when its default value is.
    if (t.IsObject() && t.punkVal)
    {
        try
        {
            return IsNumeric(Scalar(t));
        }
        catch (const ScriptException&)
        {
            return false;
        }
    }
    return false;
}

} // namespace tvsk::script
