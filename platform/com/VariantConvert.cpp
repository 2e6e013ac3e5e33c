// VariantChangeType: the automation conversions between numbers, booleans, strings and objects.
#include "Dispatch.h"
#include "SafeArray.h"
#include "VariantInternal.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace
{

using Int = __int128;

// A source value reduced to what the conversions need.
struct Scalar
{
    enum Kind
    {
        Empty,
        Null,
        Integer,
        Real,
        Boolean,
        Text,
        Error
    } kind = Empty;
    Int integer = 0;
    double real = 0;
    bool boolean = false;
    BSTR text = nullptr;
};

HRESULT Classify(const VARIANT& v, Scalar& s)
{
    switch (v.vt)
    {
    case VT_EMPTY:
        s.kind = Scalar::Empty;
        return S_OK;
    case VT_NULL:
        s.kind = Scalar::Null;
        return S_OK;
    case VT_I1:
        s = {Scalar::Integer, static_cast<signed char>(v.cVal)};
        return S_OK;
    case VT_UI1:
        s = {Scalar::Integer, v.bVal};
        return S_OK;
    case VT_I2:
        s = {Scalar::Integer, v.iVal};
        return S_OK;
    case VT_UI2:
        s = {Scalar::Integer, v.uiVal};
        return S_OK;
    case VT_I4:
        s = {Scalar::Integer, v.lVal};
        return S_OK;
    case VT_UI4:
        s = {Scalar::Integer, v.ulVal};
        return S_OK;
    case VT_INT:
        s = {Scalar::Integer, v.intVal};
        return S_OK;
    case VT_UINT:
        s = {Scalar::Integer, v.uintVal};
        return S_OK;
    case VT_I8:
        s = {Scalar::Integer, v.llVal};
        return S_OK;
    case VT_UI8:
        s = {Scalar::Integer, v.ullVal};
        return S_OK;
    case VT_R4:
        s.kind = Scalar::Real;
        s.real = v.fltVal;
        return S_OK;
    case VT_R8:
    case VT_DATE:
        s.kind = Scalar::Real;
        s.real = v.dblVal;
        return S_OK;
    case VT_CY:
        s.kind = Scalar::Real;
        s.real = static_cast<double>(v.cyVal.int64) / 10000;
        return S_OK;
    case VT_BOOL:
        s.kind = Scalar::Boolean;
        s.boolean = v.boolVal != 0;
        return S_OK;
    case VT_BSTR:
        s.kind = Scalar::Text;
        s.text = v.bstrVal;
        return S_OK;
    case VT_ERROR:
        s.kind = Scalar::Error;
        return S_OK;
    default:
        return DISP_E_BADVARTYPE;
    }
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::u16string_view Trimmed(BSTR text)
{
    std::u16string_view s = tvsk::com::BstrView(text);
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Reads a decimal number in the C locale: an integer exactly, anything else as a double.
HRESULT ParseNumber(BSTR text, Scalar& out)
{
    std::u16string_view s = Trimmed(text);
    std::string ascii;
    for (char16_t c : s)
    {
        if (c > 0x7F)
            return DISP_E_TYPEMISMATCH;
        ascii += static_cast<char>(c);
    }
    bool negative = false;
    size_t at = 0;
    if (at < ascii.size() && (ascii[at] == '+' || ascii[at] == '-'))
        negative = ascii[at++] == '-';
    if (at == ascii.size() || !(std::isdigit(static_cast<unsigned char>(ascii[at])) || ascii[at] == '.'))
        return DISP_E_TYPEMISMATCH;
    const std::string body = ascii.substr(at);
    if (body.find_first_not_of("0123456789") == std::string::npos)
    {
        Int value = 0;
        for (char c : body)
        {
            value = value * 10 + (c - '0');
            if (value > (Int(1) << 64))
                return DISP_E_OVERFLOW;
        }
        out = {Scalar::Integer, negative ? -value : value};
        return S_OK;
    }
    double value = 0;
    auto [end, ec] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (end != body.data() + body.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return DISP_E_TYPEMISMATCH;
    if (ec == std::errc::result_out_of_range && std::fabs(value) > 1)
        return DISP_E_OVERFLOW;
    out.kind = Scalar::Real;
    out.real = negative ? -value : value;
    return S_OK;
}

HRESULT ToInteger(const Scalar& s, Int lowest, Int highest, Int& out)
{
    switch (s.kind)
    {
    case Scalar::Empty:
        out = 0;
        return S_OK;
    case Scalar::Boolean:
        // True is all bits set: -1 for signed types, the largest value for unsigned ones.
        out = !s.boolean ? 0 : (lowest < 0 ? -1 : highest);
        return S_OK;
    case Scalar::Integer:
        out = s.integer;
        break;
    case Scalar::Real:
    {
        if (!std::isfinite(s.real))
            return DISP_E_OVERFLOW;
        const double rounded = std::nearbyint(s.real);
        if (rounded < -1.9e19 || rounded > 1.9e19)
            return DISP_E_OVERFLOW;
        out = static_cast<Int>(rounded);
        break;
    }
    case Scalar::Text:
    {
        Scalar number;
        const HRESULT hr = ParseNumber(s.text, number);
        return FAILED(hr) ? hr : ToInteger(number, lowest, highest, out);
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
    return (out < lowest || out > highest) ? DISP_E_OVERFLOW : S_OK;
}

HRESULT ToReal(const Scalar& s, double& out)
{
    switch (s.kind)
    {
    case Scalar::Empty:
        out = 0;
        return S_OK;
    case Scalar::Boolean:
        out = s.boolean ? -1 : 0;
        return S_OK;
    case Scalar::Integer:
        out = static_cast<double>(s.integer);
        return S_OK;
    case Scalar::Real:
        out = s.real;
        return S_OK;
    case Scalar::Text:
    {
        Scalar number;
        const HRESULT hr = ParseNumber(s.text, number);
        return FAILED(hr) ? hr : ToReal(number, out);
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

bool EqualsNoCase(std::u16string_view text, std::u16string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != word[i])
            return false;
    }
    return true;
}

HRESULT ToBool(const Scalar& s, bool& out)
{
    switch (s.kind)
    {
    case Scalar::Empty:
        out = false;
        return S_OK;
    case Scalar::Boolean:
        out = s.boolean;
        return S_OK;
    case Scalar::Integer:
        out = s.integer != 0;
        return S_OK;
    case Scalar::Real:
        out = s.real != 0;
        return S_OK;
    case Scalar::Text:
    {
        const std::u16string_view t = Trimmed(s.text);
        if (EqualsNoCase(t, u"true") || EqualsNoCase(t, u"false"))
        {
            out = EqualsNoCase(t, u"true");
            return S_OK;
        }
        Scalar number;
        const HRESULT hr = ParseNumber(s.text, number);
        return FAILED(hr) ? hr : ToBool(number, out);
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

std::string RealText(double value, int digits)
{
    if (value == 0)
        return "0";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    std::string text(buf, ec == std::errc() ? end : buf);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::string IntegerText(Int value)
{
    if (value == 0)
        return "0";
    const bool negative = value < 0;
    std::string digits;
    for (Int v = negative ? -value : value; v > 0; v /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    return negative ? "-" + digits : digits;
}

// A date as "M/D/YYYY h:mm:ss AM" (the date alone at midnight, the time alone on day 0).
std::string DateText(double date)
{
    const double whole = std::trunc(date);
    long long seconds = std::llround(std::fabs(date - whole) * 86400.0);
    long long day = static_cast<long long>(whole);
    if (seconds >= 86400)
    {
        seconds -= 86400;
        day += date < 0 ? -1 : 1;
    }
    // Days from 1970-01-01, then the civil date.
    const long long z = day - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2);
    char datePart[64], timePart[64];
    std::snprintf(datePart, sizeof datePart, "%lld/%lld/%lld", m, d, y);
    const long long h = seconds / 3600;
    std::snprintf(timePart, sizeof timePart, "%lld:%02lld:%02lld %s", h % 12 == 0 ? 12 : h % 12,
                  seconds / 60 % 60, seconds % 60, h < 12 ? "AM" : "PM");
    if (seconds == 0)
        return datePart;
    if (day == 0)
        return timePart;
    return std::string(datePart) + " " + timePart;
}

HRESULT ToText(const Scalar& s, VARTYPE sourceType, USHORT flags, BSTR& out)
{
    std::string text;
    switch (s.kind)
    {
    case Scalar::Empty:
        break;
    case Scalar::Text:
        out = SysAllocStringLen(s.text, SysStringLen(s.text));
        return out || !s.text ? S_OK : E_OUTOFMEMORY;
    case Scalar::Boolean:
        text = (flags & VARIANT_ALPHABOOL) ? (s.boolean ? "True" : "False") : (s.boolean ? "-1" : "0");
        break;
    case Scalar::Integer:
        text = IntegerText(s.integer);
        break;
    case Scalar::Real:
        text = sourceType == VT_DATE ? DateText(s.real) : RealText(s.real, sourceType == VT_R4 ? 7 : 15);
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    out = tvsk::com::BstrFromUtf8(text);
    return out ? S_OK : E_OUTOFMEMORY;
}

bool IntegerRange(VARTYPE vt, Int& lowest, Int& highest)
{
    switch (vt)
    {
    case VT_I1:
        lowest = -128, highest = 127;
        return true;
    case VT_UI1:
        lowest = 0, highest = 255;
        return true;
    case VT_I2:
        lowest = -32768, highest = 32767;
        return true;
    case VT_UI2:
        lowest = 0, highest = 65535;
        return true;
    case VT_I4:
    case VT_INT:
        lowest = std::numeric_limits<LONG>::min(), highest = std::numeric_limits<LONG>::max();
        return true;
    case VT_UI4:
    case VT_UINT:
        lowest = 0, highest = std::numeric_limits<ULONG>::max();
        return true;
    case VT_I8:
        lowest = std::numeric_limits<LONGLONG>::min(), highest = std::numeric_limits<LONGLONG>::max();
        return true;
    case VT_UI8:
        lowest = 0, highest = std::numeric_limits<ULONGLONG>::max();
        return true;
    default:
        return false;
    }
}

void StoreInteger(VARIANT& v, VARTYPE vt, Int value)
{
    v.vt = vt;
    switch (vt)
    {
    case VT_I1:
        v.cVal = static_cast<CHAR>(value);
        break;
    case VT_UI1:
        v.bVal = static_cast<BYTE>(value);
        break;
    case VT_I2:
        v.iVal = static_cast<SHORT>(value);
        break;
    case VT_UI2:
        v.uiVal = static_cast<USHORT>(value);
        break;
    case VT_I4:
        v.lVal = static_cast<LONG>(value);
        break;
    case VT_INT:
        v.intVal = static_cast<INT>(value);
        break;
    case VT_UI4:
        v.ulVal = static_cast<ULONG>(value);
        break;
    case VT_UINT:
        v.uintVal = static_cast<UINT>(value);
        break;
    case VT_I8:
        v.llVal = static_cast<LONGLONG>(value);
        break;
    default:
        v.ullVal = static_cast<ULONGLONG>(value);
        break;
    }
}

HRESULT ConvertObject(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT& out)
{
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        out.vt = vt;
        if (!src.punkVal)
            return S_OK;
        return src.punkVal->QueryInterface(vt == VT_UNKNOWN ? IID_IUnknown : IID_IDispatch,
                                           reinterpret_cast<void**>(&out.punkVal)) == S_OK
                   ? S_OK
                   : DISP_E_TYPEMISMATCH;
    }
    // An object stands for its value property unless the caller forbids it.
    if (src.vt != VT_DISPATCH || !src.pdispVal || (flags & VARIANT_NOVALUEPROP))
        return DISP_E_TYPEMISMATCH;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = src.pdispVal->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                      &none, &value, nullptr, nullptr);
    if (FAILED(hr))
        return DISP_E_TYPEMISMATCH;
    hr = VariantChangeType(&out, &value, static_cast<USHORT>(flags | VARIANT_NOVALUEPROP), vt);
    VariantClear(&value);
    return hr;
}

HRESULT Convert(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT& out)
{
    if ((src.vt & VT_ARRAY) || (vt & VT_ARRAY))
    {
        if (src.vt != vt)
            return DISP_E_TYPEMISMATCH;
        return VariantCopy(&out, &src);
    }
    if (src.vt == VT_UNKNOWN || src.vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_DISPATCH)
    {
        if (vt == VT_EMPTY)
            return S_OK;
        if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        return ConvertObject(src, flags, vt, out);
    }
    Scalar s;
    HRESULT hr = Classify(src, s);
    if (FAILED(hr))
        return hr;
    Int lowest = 0, highest = 0;
    if (IntegerRange(vt, lowest, highest))
    {
        Int value = 0;
        hr = ToInteger(s, lowest, highest, value);
        if (SUCCEEDED(hr))
            StoreInteger(out, vt, value);
        return hr;
    }
    switch (vt)
    {
    case VT_EMPTY:
        return S_OK;
    case VT_NULL:
        if (s.kind != Scalar::Null && s.kind != Scalar::Empty)
            return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    case VT_ERROR:
        if (s.kind != Scalar::Error)
            return DISP_E_TYPEMISMATCH;
        out = src;
        return S_OK;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_CY:
    {
        double value = 0;
        hr = ToReal(s, value);
        if (FAILED(hr))
            return hr;
        out.vt = vt;
        if (vt == VT_R8 || vt == VT_DATE)
            out.dblVal = value;
        else if (vt == VT_CY)
        {
            const double scaled = std::nearbyint(value * 10000);
            if (!(std::fabs(scaled) < 9.2233720368547758e18))
                return DISP_E_OVERFLOW;
            out.cyVal.int64 = static_cast<LONGLONG>(scaled);
        }
        else if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
            return DISP_E_OVERFLOW;
        else
            out.fltVal = static_cast<float>(value);
        return S_OK;
    }
    case VT_BOOL:
    {
        bool value = false;
        hr = ToBool(s, value);
        if (SUCCEEDED(hr))
        {
            out.vt = VT_BOOL;
            out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return hr;
    }
    case VT_BSTR:
        hr = ToText(s, src.vt, flags, out.bstrVal);
        if (SUCCEEDED(hr))
            out.vt = VT_BSTR;
        return hr;
    default:
        return DISP_E_BADVARTYPE;
    }
}

} // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (vt & VT_BYREF)
        return DISP_E_BADVARTYPE;
    VARIANT value = *src;
    if (src->vt & VT_BYREF)
    {
        const HRESULT hr = tvsk::com::detail::Dereference(src, value);
        if (FAILED(hr))
            return hr;
    }
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = Convert(value, flags, vt, result);
    if (FAILED(hr))
    {
        VariantClear(&result);
        return hr;
    }
    VariantClear(dest);
    *dest = result;
    return S_OK;
}
