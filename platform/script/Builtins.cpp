// The language's functions and constants.
#include "Builtins.h"

#include "Arrays.h"
#include "Convert.h"
#include "DateTime.h"
#include "Dispatch.h"
#include "Interpreter.h"
#include "Locale.h"
#include "Operators.h"
#include "NativeObject.h"
#include "ScriptObject.h"
#include "SmallVector.h"

#include <com/ComRuntime.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <unordered_map>

namespace tvsk::script
{

namespace
{

using Args = Value*;

bool Has(Args a, int n, int i)
{
    return i < n && !IsMissing(a[i]);
}
bool IsNullArg(const Value& v)
{
    return v.Target().IsNull();
}
std::u16string Ascii(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}
Value Str(std::u16string_view s)
{
    return Value::String(s);
}

LONG CountArg(const Value& v)
{
    if (IsNullArg(v))
        Throw(err::InvalidUseOfNull);
    const LONG n = ToLong(v);
    if (n < 0)
        Throw(err::InvalidCall);
    return n;
}

CompareMode ModeArg(Args a, int n, int i)
{
    if (!Has(a, n, i))
        return CompareMode::Binary;
    const LONG m = ToLong(a[i]);
    if (m < 0 || m > 2)
        Throw(err::InvalidCall);
    return m ? CompareMode::Text : CompareMode::Binary;
}

// Conversions.

Value NeedValue(const Value& v)
{
    if (IsNullArg(v))
        Throw(err::InvalidUseOfNull);
    return v;
}

// CBool, CByte ... CSng: the argument converted, Null refused.
template <auto Make, auto Convert> Value ConvertF(Frame&, Args a, int)
{
    NeedValue(a[0]);
    return Make(Convert(a[0]));
}
Value CStrF(Frame&, Args a, int)
{
    return ToTextValue(a[0]);
}

// Int and Fix keep the argument's numeric type; strings become Double.
Value WholePart(const Value& in, bool floor)
{
    const Value v = Scalar(in);
    switch (v.vt)
    {
    case VT_NULL:
        return Value::Null();
    case VT_EMPTY:
        return Value::Int(0);
    case VT_BOOL:
        return Value::Int(v.boolVal ? -1 : 0);
    case VT_UI1:
    case VT_I2:
    case VT_I4:
        return v;
    case VT_R4:
        return Value::Single(floor ? std::floor(v.fltVal) : std::trunc(v.fltVal));
    case VT_CY:
    {
        const LONGLONG c = v.cyVal.int64;
        LONGLONG w = c / 10000 * 10000;
        if (floor && c < 0 && w != c)
            w -= 10000;
        return Value::Currency(w);
    }
    case VT_DATE:
        return Value::Date(floor ? std::floor(v.date) : std::trunc(v.date));
    default:
    {
        const double d = ToDouble(v);
        return Value::Double(floor ? std::floor(d) : std::trunc(d));
    }
    }
}
Value IntF(Frame&, Args a, int)
{
    return WholePart(a[0], true);
}
Value FixF(Frame&, Args a, int)
{
    return WholePart(a[0], false);
}

Value RoundF(Frame&, Args a, int n)
{
    const Value v = Scalar(a[0]);
    if (v.IsNull())
        return Value::Null();
    const LONG digits = Has(a, n, 1) ? ToLong(a[1]) : 0;
    if (digits < 0)
        Throw(err::InvalidCall);
    switch (v.vt)
    {
    case VT_EMPTY:
        return Value::Int(0);
    case VT_BOOL: // stays Boolean
    case VT_UI1:
    case VT_I2:
    case VT_I4:
        return v;
    default:
        break;
    }
    const double d = ToDouble(v);
    double r;
    if (digits > 15)
        r = d;
    else
    {
        const double scale = std::pow(10.0, digits);
        const double scaled = d * scale;
        r = std::isfinite(scaled) ? RoundHalfEven(scaled) / scale : d;
    }
    if (v.vt == VT_R4)
        return Value::Single(static_cast<float>(r));
    if (v.vt == VT_CY)
        return Value::Currency(static_cast<LONGLONG>(RoundHalfEven(r * 10000)));
    if (v.vt == VT_DATE)
        return Value::Date(r);
    return Value::Double(r);
}

Value RadixText(const Value& in, bool hex)
{
    const Value v = Scalar(in);
    if (v.IsNull())
        return Value::Null();
    if (v.IsEmpty())
        return Str(u"0");
    const LONG l = ToLong(v);
    const bool narrow = v.vt == VT_I2 || v.vt == VT_UI1 || v.vt == VT_BOOL;
    const unsigned long bits = narrow ? static_cast<unsigned long>(static_cast<USHORT>(l))
                                      : static_cast<unsigned long>(static_cast<ULONG>(l));
    char buf[32];
    std::snprintf(buf, sizeof buf, hex ? "%lX" : "%lo", bits);
    return Str(Ascii(buf));
}
Value HexF(Frame&, Args a, int)
{
    return RadixText(a[0], true);
}
Value OctF(Frame&, Args a, int)
{
    return RadixText(a[0], false);
}

// Math.

Value AbsF(Frame&, Args a, int)
{
    const Value v = Scalar(a[0]);
    switch (v.vt)
    {
    case VT_NULL:
        return Value::Null();
    case VT_EMPTY:
        return Value::Int(0);
    case VT_UI1:
        return v;
    case VT_BOOL:
        return Value::Int(v.boolVal ? 1 : 0);
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    {
        Value zero = Value::Int(0);
        return Compare(v, zero) == Order::Less ? Negate(v) : v;
    }
    default:
        return Value::Double(std::fabs(ToDouble(v)));
    }
}

Value SgnF(Frame&, Args a, int)
{
    NeedValue(a[0]);
    const double d = ToDouble(a[0]);
    return Value::Int(d > 0 ? 1 : d < 0 ? -1 : 0);
}

double Real(const Value& v)
{
    return ToDouble(NeedValue(v));
}

Value SqrF(Frame&, Args a, int)
{
    const double d = Real(a[0]);
    if (d < 0)
        Throw(err::InvalidCall);
    return Value::Double(std::sqrt(d));
}
Value ExpF(Frame&, Args a, int)
{
    const double r = std::exp(Real(a[0]));
    if (!std::isfinite(r))
        Throw(err::Overflow);
    return Value::Double(r);
}
Value LogF(Frame&, Args a, int)
{
    const double d = Real(a[0]);
    if (d <= 0)
        Throw(err::InvalidCall);
    return Value::Double(std::log(d));
}
Value SinF(Frame&, Args a, int)
{
    return Value::Double(std::sin(Real(a[0])));
}
Value CosF(Frame&, Args a, int)
{
    return Value::Double(std::cos(Real(a[0])));
}
Value TanF(Frame&, Args a, int)
{
    return Value::Double(std::tan(Real(a[0])));
}
Value AtnF(Frame&, Args a, int)
{
    return Value::Double(std::atan(Real(a[0])));
}
Value RndF(Frame& f, Args a, int n)
{
    return Value::Single(f.interp.NextRandom(Has(a, n, 0) ? &a[0] : nullptr));
}
Value RandomizeF(Frame& f, Args a, int n)
{
    f.interp.Randomize(Has(a, n, 0) ? &a[0] : nullptr);
    return {};
}

// Type tests.

Value IsArrayF(Frame&, Args a, int)
{
    return Value::Bool(a[0].Target().IsArray());
}
Value IsEmptyF(Frame&, Args a, int)
{
    return Value::Bool(a[0].Target().IsEmpty());
}
Value IsNullF(Frame&, Args a, int)
{
    return Value::Bool(a[0].Target().IsNull());
}
Value IsObjectF(Frame&, Args a, int)
{
    return Value::Bool(a[0].Target().IsObject());
}
Value IsNumericF(Frame&, Args a, int)
{
    const Value& t = a[0].Target();
    if (t.vt == VT_DATE)
        return Value::Bool(false);
    return Value::Bool(IsNumeric(t));
}
Value IsDateF(Frame&, Args a, int)
{
    const Value& t = a[0].Target();
    if (t.vt == VT_DATE)
        return Value::Bool(true);
    if (t.vt == VT_BSTR)
        return Value::Bool(ParseDate(t.Text()).has_value());
    return Value::Bool(false);
}

std::string ObjectTypeName(IDispatch* object)
{
    if (!object)
        return "Nothing";
    if (ScriptObject* own = ScriptObject::From(object))
        return com::Utf8FromUtf16(own->Class().name);
    if (NativeObject* native = NativeObject::From(object))
        return com::Utf8FromUtf16(native->TypeName());
    ITypeInfo* info = nullptr;
    UINT count = 0;
    if (object->GetTypeInfoCount(&count) == S_OK && count && object->GetTypeInfo(0, 0, &info) == S_OK && info)
    {
        BSTR name = nullptr;
        info->GetDocumentation(DISPID_UNKNOWN, &name, nullptr, nullptr, nullptr);
        info->Release();
        std::string text = com::Utf8FromBstr(name);
        SysFreeString(name);
        // Dual interfaces are named IThing; the class is Thing.
        if (text.size() > 1 && text[0] == 'I' && std::isupper(static_cast<unsigned char>(text[1])))
            text.erase(0, 1);
        if (!text.empty())
            return text;
    }
    return "Object";
}

std::string TypeNameOf(const Value& v)
{
    const Value& t = v.Target();
    if (t.IsArray())
        return "Variant()";
    switch (t.vt)
    {
    case VT_EMPTY:
        return "Empty";
    case VT_NULL:
        return "Null";
    case VT_I2:
        return "Integer";
    case VT_I4:
        return "Long";
    case VT_R4:
        return "Single";
    case VT_R8:
        return "Double";
    case VT_CY:
        return "Currency";
    case VT_DATE:
        return "Date";
    case VT_BSTR:
        return "String";
    case VT_BOOL:
        return "Boolean";
    case VT_ERROR:
        return "Error";
    case VT_UI1:
        return "Byte";
    case VT_DISPATCH:
        return ObjectTypeName(t.pdispVal);
    case VT_UNKNOWN:
        return t.punkVal ? "Unknown" : "Nothing";
    default:
        return "Unknown";
    }
}
Value TypeNameF(Frame&, Args a, int)
{
    return Value::Utf8(TypeNameOf(a[0]));
}
Value VarTypeF(Frame&, Args a, int)
{
    const Value& t = a[0].Target();
    if (t.IsArray())
        return Value::Int(static_cast<SHORT>(VT_ARRAY | VT_VARIANT));
    return Value::Int(static_cast<SHORT>(t.vt));
}

// Strings.

std::u16string TextArg(const Value& v)
{
    return TextOf(v);
}

// An argument's text, read in place when it is a string.
class TextView
{
public:
    explicit TextView(const Value& v)
    {
        const Value& t = v.Target();
        if (t.IsString())
            m_text = t.Text();
        else
        {
            m_own = TextOf(v);
            m_text = m_own;
        }
    }
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;
    std::u16string_view Text() const { return m_text; }

private:
    std::u16string m_own;
    std::u16string_view m_text;
};

Value LenF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    const Value& t = a[0].Target();
    if (t.IsString())
        return Value::Long(static_cast<LONG>(t.Text().size()));
    return Value::Long(static_cast<LONG>(ToText(t).size()));
}
Value LenBF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    return Value::Long(static_cast<LONG>(ToText(a[0]).size() * 2));
}

Value LeftF(Frame&, Args a, int)
{
    const LONG count = CountArg(a[1]);
    if (IsNullArg(a[0]))
        return Value::Null();
    const TextView text(a[0]);
    return Str(text.Text().substr(0, static_cast<size_t>(count)));
}

Value RightF(Frame&, Args a, int)
{
    const LONG count = CountArg(a[1]);
    if (IsNullArg(a[0]))
        return Value::Null();
    const TextView text(a[0]);
    const std::u16string_view s = text.Text();
    const size_t take = std::min(s.size(), static_cast<size_t>(count));
    return Str(s.substr(s.size() - take));
}

Value MidF(Frame&, Args a, int n)
{
    if (IsNullArg(a[1]))
        Throw(err::InvalidUseOfNull);
    const LONG start = ToLong(a[1]);
    if (start < 1)
        Throw(err::InvalidCall);
    LONG length = -1;
    if (Has(a, n, 2))
        length = CountArg(a[2]);
    if (IsNullArg(a[0]))
        return Value::Null();
    const TextView text(a[0]);
    const std::u16string_view s = text.Text();
    if (static_cast<size_t>(start) > s.size())
        return Str(u"");
    return Str(s.substr(static_cast<size_t>(start) - 1,
                        length < 0 ? std::u16string_view::npos : static_cast<size_t>(length)));
}

Value CaseF(const Value& v, bool upper)
{
    if (IsNullArg(v))
        return Value::Null();
    std::u16string s = TextArg(v);
    for (auto& c : s)
        c = upper ? UpperCase(c) : LowerCase(c);
    return Str(s);
}
Value LCaseF(Frame&, Args a, int)
{
    return CaseF(a[0], false);
}
Value UCaseF(Frame&, Args a, int)
{
    return CaseF(a[0], true);
}

Value TrimF(const Value& v, bool left, bool right)
{
    if (IsNullArg(v))
        return Value::Null();
    const std::u16string s = TextArg(v);
    size_t b = 0, e = s.size();
    while (left && b < e && s[b] == ' ')
        ++b;
    while (right && e > b && s[e - 1] == ' ')
        --e;
    return Str(std::u16string_view(s).substr(b, e - b));
}
Value LTrimF(Frame&, Args a, int)
{
    return TrimF(a[0], true, false);
}
Value RTrimF(Frame&, Args a, int)
{
    return TrimF(a[0], false, true);
}
Value TrimBothF(Frame&, Args a, int)
{
    return TrimF(a[0], true, true);
}

void CheckLength(unsigned long long n)
{
    if (n > Limits().stringLength)
        Throw(err::OutOfMemory);
}

Value SpaceF(Frame&, Args a, int)
{
    const LONG n = CountArg(a[0]);
    CheckLength(static_cast<unsigned long long>(n));
    return Str(std::u16string(static_cast<size_t>(n), u' '));
}

Value StringF(Frame&, Args a, int)
{
    const LONG n = CountArg(a[0]);
    if (IsNullArg(a[1]))
        return Value::Null();
    CheckLength(static_cast<unsigned long long>(n));
    char16_t c;
    const Value& t = a[1].Target();
    if (t.IsString())
    {
        if (t.Text().empty())
            Throw(err::InvalidCall);
        c = t.Text()[0];
    }
    else
    {
        const LONG code = ToLong(t);
        c = static_cast<char16_t>(((code % 256) + 256) % 256);
    }
    return Str(std::u16string(static_cast<size_t>(n), c));
}

using Lanes = std::uint16_t __attribute__((vector_size(16)));
constexpr size_t kLanes = sizeof(Lanes) / sizeof(char16_t);

// The first occurrence of a needle that fits in hay at or after from, compared binary: the candidates
// for its first character are found eight characters at a time.
size_t FindBinary(std::u16string_view hay, std::u16string_view needle, size_t from)
{
    const size_t last = hay.size() - needle.size();
    const char16_t first = needle.front();
    const Lanes wanted = Lanes{} + static_cast<std::uint16_t>(first);
    for (size_t i = from; i <= last; ++i)
    {
        if (i + 8 <= hay.size())
        {
            Lanes chunk;
            std::memcpy(&chunk, hay.data() + i, sizeof chunk);
            const auto hits = chunk == wanted;
            std::uint64_t low = 0, high = 0;
            std::memcpy(&low, &hits, sizeof low);
            std::memcpy(&high, reinterpret_cast<const char*>(&hits) + sizeof low, sizeof high);
            if (!low && !high)
            {
                i += 7;
                continue;
            }
            i += low ? static_cast<size_t>(__builtin_ctzll(low)) / 16
                     : 4 + static_cast<size_t>(__builtin_ctzll(high)) / 16;
            if (i > last)
                break;
        }
        else if (hay[i] != first)
            continue;
        if (hay.substr(i + 1, needle.size() - 1) == needle.substr(1))
            return i;
    }
    return std::u16string_view::npos;
}

size_t Find(std::u16string_view hay, std::u16string_view needle, size_t from, CompareMode mode)
{
    if (needle.empty())
        return from <= hay.size() ? from : std::u16string_view::npos;
    if (needle.size() > hay.size())
        return std::u16string_view::npos;
    if (mode == CompareMode::Binary)
        return FindBinary(hay, needle, from);
    for (size_t i = from; i + needle.size() <= hay.size(); ++i)
        if (CompareText(hay.substr(i, needle.size()), needle, mode) == 0)
            return i;
    return std::u16string_view::npos;
}

size_t FindLast(std::u16string_view hay, std::u16string_view needle, size_t lastStart, CompareMode mode)
{
    if (needle.size() > hay.size())
        return std::u16string_view::npos;
    size_t i = std::min(lastStart, hay.size() - needle.size());
    for (;; --i)
    {
        if (CompareText(hay.substr(i, needle.size()), needle, mode) == 0)
            return i;
        if (i == 0)
            return std::u16string_view::npos;
    }
}

Value InStrF(Frame&, Args a, int n)
{
    int first = 0;
    LONG start = 1;
    // InStr(start, s1, s2[, compare]) or InStr(s1, s2).
    if (n >= 3)
    {
        if (IsNullArg(a[0]))
            Throw(err::InvalidUseOfNull);
        start = ToLong(a[0]);
        if (start < 1)
            Throw(err::InvalidCall);
        first = 1;
    }
    else if (n < 2)
        Throw(err::WrongArguments);
    const CompareMode mode = n >= 4 ? ModeArg(a, n, 3) : CompareMode::Binary;
    if (IsNullArg(a[first]) || IsNullArg(a[first + 1]))
        return Value::Null();
    const TextView hayText(a[first]);
    const TextView needleText(a[first + 1]);
    const std::u16string_view hay = hayText.Text();
    const std::u16string_view needle = needleText.Text();
    if (hay.empty())
        return Value::Long(0);
    if (static_cast<size_t>(start) > hay.size())
        return Value::Long(0);
    const size_t at = Find(hay, needle, static_cast<size_t>(start) - 1, mode);
    return Value::Long(at == std::u16string_view::npos ? 0 : static_cast<LONG>(at) + 1);
}

Value InStrRevF(Frame&, Args a, int n)
{
    LONG start = -1;
    if (Has(a, n, 2))
    {
        start = ToLong(a[2]);
        if (start == 0 || start < -1)
            Throw(err::InvalidCall);
    }
    const CompareMode mode = ModeArg(a, n, 3);
    if (IsNullArg(a[0]) || IsNullArg(a[1]))
        return Value::Null();
    const TextView hayText(a[0]);
    const TextView needleText(a[1]);
    const std::u16string_view hay = hayText.Text();
    const std::u16string_view needle = needleText.Text();
    if (hay.empty())
        return Value::Long(0);
    if (start == -1)
        start = static_cast<LONG>(hay.size());
    if (static_cast<size_t>(start) > hay.size())
        return Value::Long(0);
    if (needle.empty())
        return Value::Long(start);
    if (needle.size() > static_cast<size_t>(start))
        return Value::Long(0);
    const size_t at = FindLast(hay.substr(0, static_cast<size_t>(start)), needle,
                               static_cast<size_t>(start) - needle.size(), mode);
    return Value::Long(at == std::u16string_view::npos ? 0 : static_cast<LONG>(at) + 1);
}

// How often c occurs in s, eight characters at a time.
size_t CountChar(std::u16string_view s, char16_t c)
{
    const Lanes wanted = Lanes{} + static_cast<std::uint16_t>(c);
    size_t n = 0, i = 0;
    while (s.size() - i >= kLanes)
    {
        Lanes sums{}; // a lane counts up to 0xFFFF blocks
        const size_t blocks = std::min<size_t>((s.size() - i) / kLanes, 0xFFFF);
        for (size_t b = 0; b < blocks; ++b, i += kLanes)
        {
            Lanes chunk;
            std::memcpy(&chunk, s.data() + i, sizeof chunk);
            sums -= reinterpret_cast<Lanes>(chunk == wanted);
        }
        for (size_t k = 0; k < kLanes; ++k)
            n += sums[k];
    }
    for (; i < s.size(); ++i)
        n += s[i] == c;
    return n;
}

// s with every c made with, written to to; answers the end of what was written.
char16_t* CopyReplacingChar(std::u16string_view s, char16_t c, char16_t with, char16_t* to)
{
    const Lanes wanted = Lanes{} + static_cast<std::uint16_t>(c);
    const Lanes replacement = Lanes{} + static_cast<std::uint16_t>(with);
    size_t i = 0;
    for (; i + kLanes <= s.size(); i += kLanes)
    {
        Lanes chunk;
        std::memcpy(&chunk, s.data() + i, sizeof chunk);
        const auto hits = reinterpret_cast<Lanes>(chunk == wanted);
        chunk = (chunk & ~hits) | (replacement & hits);
        std::memcpy(to + i, &chunk, sizeof chunk);
    }
    for (; i < s.size(); ++i)
        to[i] = s[i] == c ? with : s[i];
    return to + s.size();
}

// Replace of one character compared binary: the matches counted, then the result written in one pass.
Value ReplaceChar(std::u16string_view rest, char16_t find, std::u16string_view with, LONG count)
{
    size_t matches = 0;
    size_t end = rest.size(); // past the last character that may be replaced
    if (count < 0)
        matches = CountChar(rest, find);
    else
    {
        end = 0;
        for (size_t i = 0; i < rest.size() && matches < static_cast<size_t>(count); ++i)
            if (rest[i] == find)
            {
                ++matches;
                end = i + 1;
            }
    }
    const size_t length = rest.size() - matches + matches * with.size();
    CheckLength(length);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (!out && length)
        Throw(err::OutOfMemory);
    const std::u16string_view replaced = rest.substr(0, end);
    char16_t* to = out;
    if (with.size() == 1)
        to = CopyReplacingChar(replaced, find, with[0], to);
    else
        for (const char16_t c : replaced)
            if (c == find)
                to = std::copy(with.begin(), with.end(), to);
            else
                *to++ = c;
    std::copy(rest.begin() + static_cast<std::ptrdiff_t>(end), rest.end(), to);
    return Value::AdoptString(out);
}

Value ReplaceF(Frame&, Args a, int n)
{
    LONG start = 1, count = -1;
    if (Has(a, n, 3))
    {
        start = ToLong(a[3]);
        if (start < 1)
            Throw(err::InvalidCall);
    }
    if (Has(a, n, 4))
    {
        count = ToLong(a[4]);
        if (count < -1)
            Throw(err::InvalidCall);
    }
    const CompareMode mode = ModeArg(a, n, 5);
    if (IsNullArg(a[0]) || IsNullArg(a[1]) || IsNullArg(a[2]))
        Throw(err::InvalidUseOfNull);
    const TextView textView(a[0]), findView(a[1]), withView(a[2]);
    const std::u16string_view text = textView.Text(), find = findView.Text(), with = withView.Text();
    if (static_cast<size_t>(start) > text.size())
        return Str(u"");
    std::u16string_view rest = text.substr(static_cast<size_t>(start) - 1);
    if (find.empty() || count == 0)
        return Str(rest);
    if (find.size() == 1 && mode == CompareMode::Binary)
        return ReplaceChar(rest, find[0], with, count);
    // The matches first, then the result written once into its string.
    SmallVector<size_t, 16> matches;
    size_t pos = 0;
    while (count < 0 || matches.size() < static_cast<size_t>(count))
    {
        const size_t at = Find(rest, find, pos, mode);
        if (at == std::u16string_view::npos)
            break;
        const size_t done = matches.size();
        CheckLength(at - done * find.size() + (done + 1) * with.size()); // the result up to this match
        matches.push_back(at);
        pos = at + find.size();
    }
    const size_t length = rest.size() - matches.size() * find.size() + matches.size() * with.size();
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (!out && length)
        Throw(err::OutOfMemory);
    char16_t* to = out;
    pos = 0;
    for (size_t i = 0; i < matches.size(); ++i)
    {
        const size_t at = matches.data()[i];
        to = std::copy(rest.begin() + static_cast<std::ptrdiff_t>(pos),
                       rest.begin() + static_cast<std::ptrdiff_t>(at), to);
        to = std::copy(with.begin(), with.end(), to);
        pos = at + find.size();
    }
    std::copy(rest.begin() + static_cast<std::ptrdiff_t>(pos), rest.end(), to);
    return Value::AdoptString(out);
}

Value SplitF(Frame&, Args a, int n)
{
    if (IsNullArg(a[0]))
        Throw(err::InvalidUseOfNull);
    const std::u16string text = TextArg(a[0]);
    if (Has(a, n, 1) && IsNullArg(a[1]))
        Throw(err::InvalidUseOfNull);
    const std::u16string delimiter = Has(a, n, 1) ? TextArg(a[1]) : std::u16string(u" ");
    LONG limit = -1;
    if (Has(a, n, 2))
    {
        limit = ToLong(a[2]);
        if (limit < -1)
            Throw(err::InvalidCall);
    }
    const CompareMode mode = ModeArg(a, n, 3);
    // Split knows binary and text comparison only.
    if (Has(a, n, 3) && ToLong(a[3]) == 2)
        Throw(err::InvalidCall);
    std::vector<Value> parts;
    if (text.empty() || limit == 0)
        return MakeArray({});
    if (delimiter.empty())
        return MakeArray({Str(text)});
    size_t pos = 0;
    for (;;)
    {
        if (limit > 0 && static_cast<LONG>(parts.size()) == limit - 1)
            break;
        const size_t at = Find(text, delimiter, pos, mode);
        if (at == std::u16string_view::npos)
            break;
        parts.push_back(Str(std::u16string_view(text).substr(pos, at - pos)));
        pos = at + delimiter.size();
    }
    parts.push_back(Str(std::u16string_view(text).substr(pos)));
    return MakeArray(std::move(parts));
}

Value JoinF(Frame&, Args a, int n)
{
    const Value& t = a[0].Target();
    if (!t.IsArray())
        Throw(err::TypeMismatch);
    if (t.parray && t.parray->cDims != 1)
        Throw(err::TypeMismatch);
    const std::u16string delimiter = Has(a, n, 1) ? TextArg(a[1]) : std::u16string(u" ");
    std::u16string out;
    bool first = true;
    for (const Value& item : Elements(t.parray))
    {
        if (!first)
            out += delimiter;
        first = false;
        if (item.IsObject())
            Throw(err::TypeMismatch);
        out += TextOf(item);
        CheckLength(out.size());
    }
    return Str(out);
}

Value FilterF(Frame&, Args a, int n)
{
    const Value& t = a[0].Target();
    if (!t.IsArray() || (t.parray && t.parray->cDims != 1))
        Throw(err::TypeMismatch);
    if (IsNullArg(a[1]))
        Throw(err::InvalidUseOfNull);
    const std::u16string match = TextArg(a[1]);
    const bool include = Has(a, n, 2) ? ToBool(a[2]) : true;
    const CompareMode mode = ModeArg(a, n, 3);
    std::vector<Value> out;
    for (const Value& item : Elements(t.parray))
    {
        const std::u16string s = TextOf(item);
        if ((Find(s, match, 0, mode) != std::u16string_view::npos) == include)
            out.push_back(Str(s));
    }
    return MakeArray(std::move(out));
}

Value StrCompF(Frame&, Args a, int n)
{
    const CompareMode mode = ModeArg(a, n, 2);
    if (IsNullArg(a[0]) || IsNullArg(a[1]))
        return Value::Null();
    return Value::Int(static_cast<SHORT>(CompareText(TextView(a[0]).Text(), TextView(a[1]).Text(), mode)));
}

Value StrReverseF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        Throw(err::InvalidUseOfNull);
    std::u16string s = TextArg(a[0]);
    std::reverse(s.begin(), s.end());
    return Str(s);
}

Value AscF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        Throw(err::InvalidUseOfNull);
    const TextView text(a[0]);
    const std::u16string_view s = text.Text();
    if (s.empty())
        Throw(err::InvalidCall);
    const char16_t c = s[0];
    return Value::Int(static_cast<SHORT>(c < 256 ? c : '?'));
}

Value AscWF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        Throw(err::InvalidUseOfNull);
    const std::u16string s = TextArg(a[0]);
    if (s.empty())
        Throw(err::InvalidCall);
    return Value::Int(static_cast<SHORT>(s[0]));
}

Value ChrF(Frame&, Args a, int)
{
    const LONG code = ToLong(NeedValue(a[0]));
    if (code < 0 || code > 255)
        Throw(err::InvalidCall);
    return Str(std::u16string(1, static_cast<char16_t>(code)));
}

Value ChrWF(Frame&, Args a, int)
{
    const LONG code = ToLong(NeedValue(a[0]));
    if (code < -32768 || code > 65535)
        Throw(err::InvalidCall);
    return Str(std::u16string(1, static_cast<char16_t>(code & 0xFFFF)));
}

// Arrays.

Value ArrayF(Frame&, Args a, int n)
{
    std::vector<Value> values;
    values.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        CheckNesting(a[i]);
        values.push_back(std::move(a[i]));
    }
    return MakeArray(std::move(values));
}

Value LBoundF(Frame&, Args a, int n)
{
    return Value::Long(LowerBound(a[0], Has(a, n, 1) ? ToLong(a[1]) : 1));
}
Value UBoundF(Frame&, Args a, int n)
{
    return Value::Long(UpperBound(a[0], Has(a, n, 1) ? ToLong(a[1]) : 1));
}

// Dates.

double DateArg(const Value& v)
{
    return ToDate(NeedValue(v));
}

Value NowF(Frame&, Args, int)
{
    return Value::Date(Now());
}
Value DateF(Frame&, Args, int)
{
    return Value::Date(std::floor(Now()));
}
Value TimeF(Frame&, Args, int)
{
    const double now = Now();
    return Value::Date(now - std::floor(now));
}
Value TimerF(Frame&, Args, int)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const double ms = static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return Value::Single(
        static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + ms / 1000.0));
}

Value DatePartValue(const Value& v, int part)
{
    if (IsNullArg(v))
        return Value::Null();
    const CivilTime t = Civil(DateArg(v));
    const int values[] = {t.year, t.month, t.day, t.hour, t.minute, t.second};
    return Value::Int(static_cast<SHORT>(values[part]));
}
Value YearF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 0);
}
Value MonthF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 1);
}
Value DayF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 2);
}
Value HourF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 3);
}
Value MinuteF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 4);
}
Value SecondF(Frame&, Args a, int)
{
    return DatePartValue(a[0], 5);
}

int FirstDay(Args a, int n, int i)
{
    if (!Has(a, n, i))
        return 1;
    LONG d = ToLong(a[i]);
    if (d < 0 || d > 7)
        Throw(err::InvalidCall);
    return d == 0 ? 1 : d;
}

int WeekdayFrom(double date, int firstDay)
{
    return (WeekdayOf(date) - firstDay + 7) % 7 + 1;
}

Value WeekdayF(Frame&, Args a, int n)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    return Value::Int(static_cast<SHORT>(WeekdayFrom(DateArg(a[0]), FirstDay(a, n, 1))));
}

Value WeekdayNameF(Frame&, Args a, int n)
{
    const LONG day = ToLong(NeedValue(a[0]));
    const bool abbreviate = Has(a, n, 1) && ToBool(a[1]);
    const int first = FirstDay(a, n, 2);
    if (day < 1 || day > 7)
        Throw(err::InvalidCall);
    return Value::Utf8(WeekdayName((day - 1 + first - 1) % 7 + 1, abbreviate));
}

Value MonthNameF(Frame&, Args a, int n)
{
    const LONG month = ToLong(NeedValue(a[0]));
    if (month < 1 || month > 12)
        Throw(err::InvalidCall);
    return Value::Utf8(MonthName(month, Has(a, n, 1) && ToBool(a[1])));
}

Value CheckedDate(double d)
{
    if (!(d >= MinDate && d <= MaxDate))
        Throw(err::InvalidCall);
    return Value::Date(d);
}

int IntArg(const Value& v)
{
    const LONG l = ToLong(NeedValue(v));
    if (l < -1000000 || l > 1000000)
        Throw(err::InvalidCall);
    return l;
}

Value DateSerialF(Frame&, Args a, int)
{
    return CheckedDate(SerialDate(IntArg(a[0]), IntArg(a[1]), IntArg(a[2])));
}

Value TimeSerialF(Frame&, Args a, int)
{
    const double t = SerialTime(IntArg(a[0]), IntArg(a[1]), IntArg(a[2]));
    // Negative times count back from midnight of day 0, as a date value.
    if (t < 0)
    {
        const double day = std::floor(t);
        return CheckedDate(day - (t - day));
    }
    return CheckedDate(t);
}

Value DateValueF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    return Value::Date(std::trunc(DateArg(a[0])));
}

Value TimeValueF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    const double d = DateArg(a[0]);
    return Value::Date(std::fabs(d - std::trunc(d)));
}

enum class Interval
{
    Year,
    Quarter,
    Month,
    DayOfYear,
    Day,
    Weekday,
    Week,
    Hour,
    Minute,
    Second
};

Interval IntervalArg(const Value& v)
{
    const std::u16string s = Lower(ToText(NeedValue(v)));
    if (s == u"yyyy")
        return Interval::Year;
    if (s == u"q")
        return Interval::Quarter;
    if (s == u"m")
        return Interval::Month;
    if (s == u"y")
        return Interval::DayOfYear;
    if (s == u"d")
        return Interval::Day;
    if (s == u"w")
        return Interval::Weekday;
    if (s == u"ww")
        return Interval::Week;
    if (s == u"h")
        return Interval::Hour;
    if (s == u"n")
        return Interval::Minute;
    if (s == u"s")
        return Interval::Second;
    Throw(err::InvalidCall);
}

double TimeOfDay(double d)
{
    return std::fabs(d - std::trunc(d));
}

Value DateAddF(Frame&, Args a, int)
{
    const Interval interval = IntervalArg(a[0]);
    const double number = std::trunc(ToDouble(NeedValue(a[1])));
    if (IsNullArg(a[2]))
        return Value::Null();
    const double date = DateArg(a[2]);
    if (std::fabs(number) > 1e9)
        Throw(err::InvalidCall);
    switch (interval)
    {
    case Interval::Year:
    case Interval::Quarter:
    case Interval::Month:
    {
        const long long months = static_cast<long long>(number) * (interval == Interval::Year      ? 12
                                                                   : interval == Interval::Quarter ? 3
                                                                                                   : 1);
        const CivilTime t = Civil(date);
        long long total = static_cast<long long>(t.year) * 12 + (t.month - 1) + months;
        const int year = static_cast<int>(total / 12);
        const int month = static_cast<int>(total % 12) + 1;
        if (year < 100 || year > 9999)
            Throw(err::InvalidCall);
        const int lastDay = static_cast<int>(SerialDate(year, month + 1, 1) - SerialDate(year, month, 1));
        const double day = SerialDate(year, month, std::min(t.day, lastDay));
        const double time = TimeOfDay(date);
        return CheckedDate(day < 0 ? day - time : day + time);
    }
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        return CheckedDate(date + number);
    case Interval::Week:
        return CheckedDate(date + number * 7);
    case Interval::Hour:
        return CheckedDate(date + number / 24);
    case Interval::Minute:
        return CheckedDate(date + number / 1440);
    case Interval::Second:
        return CheckedDate(date + number / 86400);
    }
    return {};
}

// Whole days and seconds of a date, counted from day 0 without the sign folding of the fraction.
long long DayNumber(double d)
{
    const CivilTime t = Civil(d);
    return static_cast<long long>(SerialDate(t.year, t.month, t.day));
}
long long SecondNumber(double d)
{
    const CivilTime t = Civil(d);
    return DayNumber(d) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

long long FloorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

Value DateDiffF(Frame&, Args a, int n)
{
    const Interval interval = IntervalArg(a[0]);
    if (IsNullArg(a[1]) || IsNullArg(a[2]))
        return Value::Null();
    const double d1 = DateArg(a[1]), d2 = DateArg(a[2]);
    const int first = FirstDay(a, n, 3);
    const CivilTime t1 = Civil(d1), t2 = Civil(d2);
    long long r = 0;
    switch (interval)
    {
    case Interval::Year:
        r = t2.year - t1.year;
        break;
    case Interval::Quarter:
        r = (t2.year * 4 + (t2.month - 1) / 3) - (t1.year * 4 + (t1.month - 1) / 3);
        break;
    case Interval::Month:
        r = (t2.year * 12 + t2.month) - (t1.year * 12 + t1.month);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
        r = DayNumber(d2) - DayNumber(d1);
        break;
    case Interval::Weekday:
        r = (DayNumber(d2) - DayNumber(d1)) / 7;
        break;
    case Interval::Week:
    {
        // Week boundaries: the first day of the week passed between the dates.
        const long long shift = -(first % 7); // day 0 was a Saturday, so weekday w has residue w mod 7
        r = FloorDiv(DayNumber(d2) + shift, 7) - FloorDiv(DayNumber(d1) + shift, 7);
        break;
    }
    case Interval::Hour:
        r = FloorDiv(SecondNumber(d2), 3600) - FloorDiv(SecondNumber(d1), 3600);
        break;
    case Interval::Minute:
        r = FloorDiv(SecondNumber(d2), 60) - FloorDiv(SecondNumber(d1), 60);
        break;
    case Interval::Second:
        r = SecondNumber(d2) - SecondNumber(d1);
        break;
    }
    if (r < -2147483648LL || r > 2147483647LL)
        Throw(err::Overflow);
    return Value::Long(static_cast<LONG>(r));
}

enum class FirstWeekRule
{
    Jan1 = 1,
    FourDays = 2,
    FullWeek = 3
};

FirstWeekRule FirstWeek(Args a, int n, int i)
{
    if (!Has(a, n, i))
        return FirstWeekRule::Jan1;
    const LONG rule = ToLong(a[i]);
    if (rule < 0 || rule > 3)
        Throw(err::InvalidCall);
    return rule == 0 ? FirstWeekRule::Jan1 : static_cast<FirstWeekRule>(rule);
}

long long WeekStart(long long day, int firstDay)
{
    return day - (WeekdayFrom(static_cast<double>(day), firstDay) - 1);
}

// The first day of week 1 of the year that starts on day jan1, under the rule.
long long FirstWeekStart(long long jan1, int firstDay, FirstWeekRule rule)
{
    const long long start = WeekStart(jan1, firstDay);
    const long long daysInYear = 7 - (jan1 - start);
    if (rule == FirstWeekRule::Jan1 || (rule == FirstWeekRule::FourDays && daysInYear >= 4) || start == jan1)
        return start;
    return start + 7;
}

bool LeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days before week 1 belong to the last week of the year before; under the four-days rule the last days
// of December can already be the next year's week 1.
int WeekOfYear(double date, int firstDay, FirstWeekRule rule)
{
    const long long day = DayNumber(date);
    const int year = Civil(date).year;
    const auto jan1 = static_cast<long long>(SerialDate(year, 1, 1));
    const long long nextJan1 = jan1 + (LeapYear(year) ? 366 : 365);
    if (rule == FirstWeekRule::FourDays && day >= FirstWeekStart(nextJan1, firstDay, rule))
        return 1;
    long long first = FirstWeekStart(jan1, firstDay, rule);
    if (day < first)
        first = FirstWeekStart(jan1 - (LeapYear(year - 1) ? 366 : 365), firstDay, rule);
    return static_cast<int>((WeekStart(day, firstDay) - first) / 7 + 1);
}

Value DatePartF(Frame&, Args a, int n)
{
    const Interval interval = IntervalArg(a[0]);
    if (IsNullArg(a[1]))
        return Value::Null();
    const double d = DateArg(a[1]);
    const int first = FirstDay(a, n, 2);
    const CivilTime t = Civil(d);
    switch (interval)
    {
    case Interval::Year:
        return Value::Int(static_cast<SHORT>(t.year));
    case Interval::Quarter:
        return Value::Int(static_cast<SHORT>((t.month - 1) / 3 + 1));
    case Interval::Month:
        return Value::Int(static_cast<SHORT>(t.month));
    case Interval::DayOfYear:
        return Value::Int(
            static_cast<SHORT>(DayNumber(d) - static_cast<long long>(SerialDate(t.year, 1, 1)) + 1));
    case Interval::Day:
        return Value::Int(static_cast<SHORT>(t.day));
    case Interval::Weekday:
        return Value::Int(static_cast<SHORT>(WeekdayFrom(d, first)));
    case Interval::Week:
        return Value::Int(static_cast<SHORT>(WeekOfYear(d, first, FirstWeek(a, n, 3))));
    case Interval::Hour:
        return Value::Int(static_cast<SHORT>(t.hour));
    case Interval::Minute:
        return Value::Int(static_cast<SHORT>(t.minute));
    case Interval::Second:
        return Value::Int(static_cast<SHORT>(t.second));
    }
    return {};
}

Value FormatDateTimeF(Frame&, Args a, int n)
{
    // The Format functions convert their value as the component model does: Null is no date.
    if (IsNullArg(a[0]))
        Throw(err::TypeMismatch);
    const double d = DateArg(a[0]);
    const LONG format = Has(a, n, 1) ? ToLong(a[1]) : 0;
    switch (format)
    {
    case 0:
        return Value::Utf8(FormatDate(d));
    case 1:
        return Value::Utf8(FormatLongDate(d));
    case 2:
        return Value::Utf8(FormatShortDate(d));
    case 3:
        return Value::Utf8(FormatLongTime(d));
    case 4:
        return Value::Utf8(FormatShortTime(d));
    default:
        Throw(err::InvalidCall);
    }
}

// Number formats.

std::string Grouped(std::string digits)
{
    std::string out;
    int count = 0;
    for (size_t i = digits.size(); i > 0; --i)
    {
        out.insert(out.begin(), digits[i - 1]);
        if (++count % 3 == 0 && i > 1)
            out.insert(0, CurrentLocale().thousands);
    }
    return out;
}

// Tristate arguments: -1 true, 0 false, -2 the default.
bool Tristate(Args a, int n, int i, bool byDefault)
{
    if (!Has(a, n, i))
        return byDefault;
    const LONG v = ToLong(a[i]);
    return v == -2 ? byDefault : v != 0;
}

std::string FormatFixed(double value, int digits, bool leadingZero, bool group)
{
    const double scale = std::pow(10.0, digits);
    const double rounded = std::floor(std::fabs(value) * scale + 0.5 + 1e-9) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", digits, rounded);
    std::string s = buf;
    const size_t dot = s.find('.');
    std::string whole = s.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : CurrentLocale().decimal + s.substr(dot + 1);
    if (group)
        whole = Grouped(whole);
    if (whole == "0" && !leadingZero && !fraction.empty())
        whole.clear();
    return whole + fraction;
}

Value FormatNumberLike(Args a, int n, double factor, const char* prefix, const char* suffix,
                       bool parensDefault)
{
    if (IsNullArg(a[0]))
        Throw(err::TypeMismatch);
    const double value = ToDouble(a[0]) * factor;
    LONG digits = Has(a, n, 1) ? ToLong(a[1]) : -1;
    if (digits == -1)
        digits = 2;
    if (digits < 0 || digits > 255)
        Throw(err::InvalidCall);
    const bool leading = Tristate(a, n, 2, true);
    const bool parens = Tristate(a, n, 3, parensDefault);
    const bool group = Tristate(a, n, 4, true);
    std::string body = prefix + FormatFixed(value, digits, leading, group) + suffix;
    const bool negative = value < 0 && body.find_first_of("123456789") != std::string::npos;
    if (negative)
        body = parens ? "(" + body + ")" : "-" + body;
    return Value::Utf8(body);
}

Value FormatNumberF(Frame&, Args a, int n)
{
    return FormatNumberLike(a, n, 1, "", "", false);
}
Value FormatCurrencyF(Frame&, Args a, int n)
{
    return FormatNumberLike(a, n, 1, "$", "", true);
}
Value FormatPercentF(Frame&, Args a, int n)
{
    return FormatNumberLike(a, n, 100, "", "%", false);
}

// Script and host.

Value EvalF(Frame& f, Args a, int)
{
    return f.interp.Evaluate(ToText(a[0]), f);
}
Value ExecuteF(Frame& f, Args a, int)
{
    f.interp.Execute(ToText(a[0]), &f);
    return {};
}
Value ExecuteGlobalF(Frame& f, Args a, int)
{
    f.interp.Execute(ToText(a[0]), nullptr);
    return {};
}

Value CreateObjectF(Frame&, Args a, int)
{
    const std::u16string progId = ToText(a[0]);
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId.c_str(), &clsid)))
        Throw(err::CannotCreateObject);
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object))) ||
        !object)
        Throw(err::CannotCreateObject);
    return Value::AdoptObject(object);
}

Value MsgBoxF(Frame& f, Args a, int n)
{
    const std::u16string prompt = ToText(a[0]);
    const LONG buttons = Has(a, n, 1) ? ToLong(a[1]) : 0;
    const std::u16string title = Has(a, n, 2) ? ToText(a[2]) : std::u16string(u"VBScript");
    ScriptUi* ui = f.interp.Ui();
    return Value::Int(static_cast<SHORT>(ui ? ui->MessageBox(prompt, buttons, title) : 1));
}

Value InputBoxF(Frame& f, Args a, int n)
{
    const std::u16string prompt = ToText(a[0]);
    const std::u16string title = Has(a, n, 1) ? ToText(a[1]) : std::u16string(u"VBScript");
    const std::u16string initial = Has(a, n, 2) ? ToText(a[2]) : std::u16string();
    ScriptUi* ui = f.interp.Ui();
    std::optional<std::u16string> answer;
    if (ui)
        answer = ui->InputBox(prompt, title, initial);
    return answer ? Str(*answer) : Str(u"");
}

Value ScriptEngineF(Frame&, Args, int)
{
    return Str(u"VBScript");
}
Value MajorVersionF(Frame&, Args, int)
{
    return Value::Long(5);
}
Value MinorVersionF(Frame&, Args, int)
{
    return Value::Long(8);
}
Value BuildVersionF(Frame&, Args, int)
{
    return Value::Long(1);
}

Value RgbF(Frame&, Args a, int)
{
    LONG c[3];
    for (int i = 0; i < 3; ++i)
    {
        c[i] = ToLong(NeedValue(a[i]));
        if (c[i] < 0)
            Throw(err::InvalidCall);
        c[i] = std::min<LONG>(c[i], 255);
    }
    return Value::Long(c[0] | (c[1] << 8) | (c[2] << 16));
}

// A reference to a global procedure, called through its default member.
class FunctionRef final : public NativeObject
{
public:
    FunctionRef(Interpreter& interp, const Procedure& procedure)
        : m_interp(interp), m_keepAlive(interp.shared_from_this()), m_procedure(procedure)
    {
    }
    std::u16string_view TypeName() const override { return u"Object"; }

protected:
    std::span<const Member> Members() const override
    {
        static constexpr Member members[] = {{u"", DISPID_VALUE}};
        return members;
    }
    Value Call(DISPID, WORD flags, Value* args, size_t count, Value*) override
    {
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
            Throw(err::IllegalAssignment);
        return m_interp.Call(m_procedure, nullptr, args, count);
    }

private:
    Interpreter& m_interp;
    std::shared_ptr<Interpreter> m_keepAlive;
    const Procedure& m_procedure;
};

Value GetRefF(Frame& f, Args a, int)
{
    const Procedure* p = f.interp.FindProcedure(ToText(a[0]));
    if (!p)
        Throw(err::InvalidCall);
    return Value::Object(new FunctionRef(f.interp, *p));
}

bool Unreserved(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::u16string_view(u"@*_+-./").find(c) != std::u16string_view::npos;
}

// Escape: %XX below 256, %uXXXX above; letters, digits and @*_+-./ stay.
Value EscapeF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::u16string out;
    for (char16_t c : TextArg(a[0]))
    {
        if (Unreserved(c))
            out += c;
        else if (c < 256)
            out += {u'%', char16_t(Hex[c >> 4]), char16_t(Hex[c & 15])};
        else
            out += {u'%',
                    u'u',
                    char16_t(Hex[c >> 12]),
                    char16_t(Hex[(c >> 8) & 15]),
                    char16_t(Hex[(c >> 4) & 15]),
                    char16_t(Hex[c & 15])};
    }
    return Str(out);
}

int HexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Unescape: %XX and %uXXXX decoded; any other % stays as written.
Value UnescapeF(Frame&, Args a, int)
{
    if (IsNullArg(a[0]))
        return Value::Null();
    const std::u16string text = TextArg(a[0]);
    std::u16string out;
    auto hexRun = [&](size_t at, size_t digits, unsigned& value)
    {
        value = 0;
        if (at + digits > text.size())
            return false;
        for (size_t i = 0; i < digits; ++i)
        {
            const int d = HexDigit(text[at + i]);
            if (d < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(d);
        }
        return true;
    };
    for (size_t i = 0; i < text.size(); ++i)
    {
        unsigned value = 0;
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'u' && hexRun(i + 2, 4, value))
        {
            out += static_cast<char16_t>(value);
            i += 5;
        }
        else if (text[i] == '%' && hexRun(i + 1, 2, value))
        {
            out += static_cast<char16_t>(value);
            i += 2;
        }
        else
            out += text[i];
    }
    return Str(out);
}

Value GetLocaleF(Frame& f, Args, int)
{
    return Value::Long(static_cast<LONG>(f.interp.GetLocale().id));
}

// SetLocale(identifier or tag): the locale before; Invalid procedure call for one it does not know.
Value SetLocaleF(Frame& f, Args a, int n)
{
    const Value previous = Value::Long(static_cast<LONG>(f.interp.GetLocale().id));
    const Locale* locale = &DefaultLocale();
    if (n > 0 && !IsMissing(a[0]))
    {
        const Value& t = a[0].Target();
        locale = t.IsString() ? FindLocale(t.Text()) : FindLocale(ToLong(t));
    }
    if (!locale)
        Throw(err::InvalidCall);
    f.interp.SetLocale(*locale);
    return previous;
}

constexpr int Many = 1 << 20;

const Builtin Table[] = {
    {u"abs", 1, 1, AbsF},
    {u"array", 0, Many, ArrayF},
    {u"asc", 1, 1, AscF, true},
    {u"ascb", 1, 1, AscF},
    {u"ascw", 1, 1, AscWF},
    {u"atn", 1, 1, AtnF},
    {u"cbool", 1, 1, ConvertF<&Value::Bool, &ToBool>},
    {u"cbyte", 1, 1, ConvertF<&Value::Byte, &ToByte>},
    {u"ccur", 1, 1, ConvertF<&Value::Currency, &ToCurrency>},
    {u"cdate", 1, 1, ConvertF<&Value::Date, &ToDate>},
    {u"cdbl", 1, 1, ConvertF<&Value::Double, &ToDouble>},
    {u"chr", 1, 1, ChrF},
    {u"chrb", 1, 1, ChrF},
    {u"chrw", 1, 1, ChrWF},
    {u"cint", 1, 1, ConvertF<&Value::Int, &ToInt>},
    {u"clng", 1, 1, ConvertF<&Value::Long, &ToLong>},
    {u"cos", 1, 1, CosF},
    {u"createobject", 1, 2, CreateObjectF},
    {u"csng", 1, 1, ConvertF<&Value::Single, &ToSingle>},
    {u"cstr", 1, 1, CStrF},
    {u"date", 0, 0, DateF},
    {u"dateadd", 3, 3, DateAddF},
    {u"datediff", 3, 5, DateDiffF},
    {u"datepart", 2, 4, DatePartF},
    {u"dateserial", 3, 3, DateSerialF},
    {u"datevalue", 1, 1, DateValueF},
    {u"day", 1, 1, DayF},
    {u"eval", 1, 1, EvalF},
    {u"execute", 1, 1, ExecuteF},
    {u"executeglobal", 1, 1, ExecuteGlobalF},
    {u"escape", 1, 1, EscapeF},
    {u"exp", 1, 1, ExpF},
    {u"filter", 2, 4, FilterF},
    {u"fix", 1, 1, FixF},
    {u"formatcurrency", 1, 5, FormatCurrencyF},
    {u"formatdatetime", 1, 2, FormatDateTimeF},
    {u"formatnumber", 1, 5, FormatNumberF},
    {u"formatpercent", 1, 5, FormatPercentF},
    {u"getlocale", 0, 0, GetLocaleF},
    {u"getref", 1, 1, GetRefF},
    {u"hex", 1, 1, HexF},
    {u"hour", 1, 1, HourF},
    {u"inputbox", 1, 7, InputBoxF},
    {u"instr", 2, 4, InStrF, true},
    {u"instrb", 2, 4, InStrF},
    {u"instrrev", 2, 4, InStrRevF, true},
    {u"int", 1, 1, IntF},
    {u"isarray", 1, 1, IsArrayF},
    {u"isdate", 1, 1, IsDateF},
    {u"isempty", 1, 1, IsEmptyF},
    {u"isnull", 1, 1, IsNullF},
    {u"isnumeric", 1, 1, IsNumericF},
    {u"isobject", 1, 1, IsObjectF},
    {u"join", 1, 2, JoinF},
    {u"lbound", 1, 2, LBoundF},
    {u"lcase", 1, 1, LCaseF},
    {u"left", 2, 2, LeftF, true},
    {u"leftb", 2, 2, LeftF},
    {u"len", 1, 1, LenF, true},
    {u"lenb", 1, 1, LenBF},
    {u"log", 1, 1, LogF},
    {u"ltrim", 1, 1, LTrimF},
    {u"mid", 2, 3, MidF, true},
    {u"midb", 2, 3, MidF},
    {u"minute", 1, 1, MinuteF},
    {u"month", 1, 1, MonthF},
    {u"monthname", 1, 2, MonthNameF},
    {u"msgbox", 1, 5, MsgBoxF},
    {u"now", 0, 0, NowF},
    {u"oct", 1, 1, OctF},
    {u"randomize", 0, 1, RandomizeF},
    {u"replace", 3, 6, ReplaceF, true},
    {u"rgb", 3, 3, RgbF},
    {u"right", 2, 2, RightF, true},
    {u"rightb", 2, 2, RightF},
    {u"rnd", 0, 1, RndF},
    {u"round", 1, 2, RoundF},
    {u"rtrim", 1, 1, RTrimF},
    {u"scriptengine", 0, 0, ScriptEngineF},
    {u"scriptenginebuildversion", 0, 0, BuildVersionF},
    {u"scriptenginemajorversion", 0, 0, MajorVersionF},
    {u"scriptengineminorversion", 0, 0, MinorVersionF},
    {u"second", 1, 1, SecondF},
    {u"sgn", 1, 1, SgnF},
    {u"setlocale", 0, 1, SetLocaleF},
    {u"sin", 1, 1, SinF},
    {u"space", 1, 1, SpaceF},
    {u"split", 1, 4, SplitF},
    {u"sqr", 1, 1, SqrF},
    {u"strcomp", 2, 3, StrCompF, true},
    {u"string", 2, 2, StringF},
    {u"strreverse", 1, 1, StrReverseF},
    {u"tan", 1, 1, TanF},
    {u"time", 0, 0, TimeF},
    {u"timer", 0, 0, TimerF},
    {u"timeserial", 3, 3, TimeSerialF},
    {u"timevalue", 1, 1, TimeValueF},
    {u"trim", 1, 1, TrimBothF},
    {u"typename", 1, 1, TypeNameF},
    {u"ucase", 1, 1, UCaseF},
    {u"unescape", 1, 1, UnescapeF},
    {u"ubound", 1, 2, UBoundF},
    {u"vartype", 1, 1, VarTypeF},
    {u"weekday", 1, 2, WeekdayF},
    {u"weekdayname", 1, 3, WeekdayNameF},
    {u"year", 1, 1, YearF},
};

struct Constant
{
    const char16_t* name;
    LONG number;
    const char16_t* text;
};

const Constant Constants[] = {
    {u"vbcr", 0, u"\r"},
    {u"vblf", 0, u"\n"},
    {u"vbcrlf", 0, u"\r\n"},
    {u"vbnewline", 0, u"\r\n"},
    {u"vbtab", 0, u"\t"},
    {u"vbformfeed", 0, u"\f"},
    {u"vbverticaltab", 0, u"\v"},
    {u"vbtrue", -1, nullptr},
    {u"vbfalse", 0, nullptr},
    {u"vbusedefault", -2, nullptr},
    {u"vbbinarycompare", 0, nullptr},
    {u"vbtextcompare", 1, nullptr},
    {u"vbdatabasecompare", 2, nullptr},
    {u"vbobjecterror", static_cast<LONG>(0x80040000u), nullptr},
    {u"vbempty", 0, nullptr},
    {u"vbnull", 1, nullptr},
    {u"vbinteger", 2, nullptr},
    {u"vblong", 3, nullptr},
    {u"vbsingle", 4, nullptr},
    {u"vbdouble", 5, nullptr},
    {u"vbcurrency", 6, nullptr},
    {u"vbdate", 7, nullptr},
    {u"vbstring", 8, nullptr},
    {u"vbobject", 9, nullptr},
    {u"vberror", 10, nullptr},
    {u"vbboolean", 11, nullptr},
    {u"vbvariant", 12, nullptr},
    {u"vbdataobject", 13, nullptr},
    {u"vbdecimal", 14, nullptr},
    {u"vbbyte", 17, nullptr},
    {u"vbarray", 8192, nullptr},
    {u"vbsunday", 1, nullptr},
    {u"vbmonday", 2, nullptr},
    {u"vbtuesday", 3, nullptr},
    {u"vbwednesday", 4, nullptr},
    {u"vbthursday", 5, nullptr},
    {u"vbfriday", 6, nullptr},
    {u"vbsaturday", 7, nullptr},
    {u"vbusesystemdayofweek", 0, nullptr},
    {u"vbusesystem", 0, nullptr},
    {u"vbfirstjan1", 1, nullptr},
    {u"vbfirstfourdays", 2, nullptr},
    {u"vbfirstfullweek", 3, nullptr},
    {u"vbgeneraldate", 0, nullptr},
    {u"vblongdate", 1, nullptr},
    {u"vbshortdate", 2, nullptr},
    {u"vblongtime", 3, nullptr},
    {u"vbshorttime", 4, nullptr},
    {u"vbokonly", 0, nullptr},
    {u"vbokcancel", 1, nullptr},
    {u"vbabortretryignore", 2, nullptr},
    {u"vbyesnocancel", 3, nullptr},
    {u"vbyesno", 4, nullptr},
    {u"vbretrycancel", 5, nullptr},
    {u"vbcritical", 16, nullptr},
    {u"vbquestion", 32, nullptr},
    {u"vbexclamation", 48, nullptr},
    {u"vbinformation", 64, nullptr},
    {u"vbdefaultbutton1", 0, nullptr},
    {u"vbdefaultbutton2", 256, nullptr},
    {u"vbdefaultbutton3", 512, nullptr},
    {u"vbdefaultbutton4", 768, nullptr},
    {u"vbapplicationmodal", 0, nullptr},
    {u"vbsystemmodal", 4096, nullptr},
    {u"vbok", 1, nullptr},
    {u"vbcancel", 2, nullptr},
    {u"vbabort", 3, nullptr},
    {u"vbretry", 4, nullptr},
    {u"vbignore", 5, nullptr},
    {u"vbyes", 6, nullptr},
    {u"vbno", 7, nullptr},
    // From here on: Longs, the vbMsgBox flags and the colours.
    {u"vbmsgboxhelpbutton", 16384, nullptr},
    {u"vbmsgboxsetforeground", 65536, nullptr},
    {u"vbmsgboxright", 524288, nullptr},
    {u"vbmsgboxrtlreading", 1048576, nullptr},
    {u"vbblack", 0, nullptr},
    {u"vbred", 255, nullptr},
    {u"vbgreen", 65280, nullptr},
    {u"vbyellow", 65535, nullptr},
    {u"vbblue", 16711680, nullptr},
    {u"vbmagenta", 16711935, nullptr},
    {u"vbcyan", 16776960, nullptr},
    {u"vbwhite", 16777215, nullptr},
};

} // namespace

const Builtin* FindBuiltin(std::u16string_view lowerName)
{
    static const std::unordered_map<std::u16string_view, const Builtin*> map = []
    {
        std::unordered_map<std::u16string_view, const Builtin*> m;
        for (const Builtin& b : Table)
            m.emplace(b.name, &b);
        return m;
    }();
    auto it = map.find(lowerName);
    return it == map.end() ? nullptr : it->second;
}

bool FindConstant(std::u16string_view lowerName, Value& out)
{
    static const size_t LongsFrom = []
    {
        size_t i = 0;
        while (std::u16string_view(Constants[i].name) != u"vbmsgboxhelpbutton")
            ++i;
        return i;
    }();
    if (lowerName == u"vbnullstring")
    {
        out = Value::String(u"");
        return true;
    }
    if (lowerName == u"vbnullchar")
    {
        out = Value::String(std::u16string(1, u'\0'));
        return true;
    }
    for (const Constant& c : Constants)
        if (lowerName == c.name)
        {
            // The other numbers are Integer where they fit.
            const bool isLong = &c >= &Constants[LongsFrom];
            if (c.text)
                out = Value::String(c.text);
            else if (!isLong && c.number >= -32768 && c.number <= 32767)
                out = Value::Int(static_cast<SHORT>(c.number));
            else
                out = Value::Long(c.number);
            return true;
        }
    return false;
}

} // namespace tvsk::script
