// Arithmetic, comparison and logic with the language's type rules.
#include "Operators.h"

#include "Convert.h"
#include "ScriptError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tvsk::script
{

namespace
{

// Numeric ranks in promotion order.
enum Rank
{
    RByte,
    RInt,
    RLong,
    RSingle,
    RDouble,
    RCurrency,
    RDate
};

// The operand an arithmetic operator works on: objects give their default value, strings their number.
struct Operand
{
    Rank rank;
    long long integer = 0;
    double real = 0;
    LONGLONG currency = 0;
};

Operand Classify(const Value& in, Value& holder)
{
    const Value* v = &in.Target();
    if (v->IsObject())
    {
        holder = Scalar(*v);
        v = &holder;
    }
    switch (v->vt)
    {
    case VT_EMPTY:
        return {RInt, 0};
    case VT_BOOL:
        return {RInt, v->boolVal ? -1 : 0};
    case VT_UI1:
        return {RByte, v->bVal};
    case VT_I2:
        return {RInt, v->iVal};
    case VT_I4:
        return {RLong, v->lVal};
    case VT_R4:
        return {RSingle, 0, v->fltVal};
    case VT_R8:
        return {RDouble, 0, v->dblVal};
    case VT_CY:
        return {RCurrency, 0, 0, v->cyVal.int64};
    case VT_DATE:
        return {RDate, 0, v->date};
    case VT_BSTR:
        return {RDouble, 0, ToDouble(*v)};
    default:
        if (IsNumericType(v->vt))
        {
            const double d = ToDouble(*v);
            if (d == std::trunc(d) && std::fabs(d) < 2147483648.0)
                return {RLong, static_cast<long long>(d)};
            return {RDouble, 0, d};
        }
        Throw(err::TypeMismatch);
    }
}

double RealOf(const Operand& o)
{
    switch (o.rank)
    {
    case RByte:
    case RInt:
    case RLong:
        return static_cast<double>(o.integer);
    case RCurrency:
        return static_cast<double>(o.currency) / 10000.0;
    default:
        return o.real;
    }
}

LONGLONG CurrencyOf(const Operand& o)
{
    if (o.rank == RCurrency)
        return o.currency;
    if (o.rank <= RLong)
        return o.integer * 10000;
    const double scaled = RoundHalfEven(o.real * 10000.0);
    if (!(std::fabs(scaled) < 9.2233720368547758e18))
        Throw(err::Overflow);
    return static_cast<LONGLONG>(scaled);
}

Value IntegerResult(long long r, Rank rank)
{
    if (rank == RByte && r >= 0 && r <= 255)
        return Value::Byte(static_cast<BYTE>(r));
    if (rank <= RInt && r >= -32768 && r <= 32767)
        return Value::Int(static_cast<SHORT>(r));
    if (r >= std::numeric_limits<LONG>::min() && r <= std::numeric_limits<LONG>::max())
        return Value::Long(static_cast<LONG>(r));
    return Value::Double(static_cast<double>(r));
}

Value RealResult(double r, Rank rank)
{
    if (!std::isfinite(r))
        Throw(err::Overflow);
    if (rank == RSingle)
    {
        if (std::fabs(r) <= std::numeric_limits<float>::max())
            return Value::Single(static_cast<float>(r));
        return Value::Double(r);
    }
    if (rank == RDate)
    {
        if (r < -657434.0 || r >= 2958466.0)
            Throw(err::Overflow);
        return Value::Date(r);
    }
    return Value::Double(r);
}

Value CurrencyResult(__int128 r)
{
    if (r > std::numeric_limits<LONGLONG>::max() || r < std::numeric_limits<LONGLONG>::min())
        Throw(err::Overflow);
    return Value::Currency(static_cast<LONGLONG>(r));
}

Rank Common(Rank a, Rank b)
{
    // Single with Long widens to Double.
    if ((a == RSingle && b == RLong) || (a == RLong && b == RSingle))
        return RDouble;
    return a > b ? a : b;
}

enum class Arith
{
    Add,
    Sub,
    Mul
};

// Integer, Long and Double: the common case, without classifying.
bool Plain(VARTYPE vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_R8;
}
double PlainNumber(const Value& v)
{
    return v.vt == VT_I2 ? v.iVal : v.vt == VT_I4 ? v.lVal : v.dblVal;
}

Value Arithmetic(const Value& a, const Value& b, Arith op)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (Plain(ta.vt) && Plain(tb.vt))
    {
        if (ta.vt != VT_R8 && tb.vt != VT_R8)
        {
            const long long x = ta.vt == VT_I2 ? ta.iVal : ta.lVal;
            const long long y = tb.vt == VT_I2 ? tb.iVal : tb.lVal;
            const long long r = op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y;
            return IntegerResult(r, ta.vt == VT_I4 || tb.vt == VT_I4 ? RLong : RInt);
        }
        const double x = PlainNumber(ta), y = PlainNumber(tb);
        return RealResult(op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y, RDouble);
    }
    if (ta.vt == VT_NULL || tb.vt == VT_NULL)
        return Value::Null();
    Value ha, hb;
    const Operand x = Classify(ta, ha);
    const Operand y = Classify(tb, hb);
    Rank rank = Common(x.rank, y.rank);
    if (rank <= RLong)
    {
        const long long r = op == Arith::Add   ? x.integer + y.integer
                            : op == Arith::Sub ? x.integer - y.integer
                                               : x.integer * y.integer;
        return IntegerResult(r, rank);
    }
    if (rank == RDate)
    {
        const double r = op == Arith::Add   ? RealOf(x) + RealOf(y)
                         : op == Arith::Sub ? RealOf(x) - RealOf(y)
                                            : RealOf(x) * RealOf(y);
        if (op == Arith::Mul || (op == Arith::Sub && x.rank == RDate && y.rank == RDate))
            return RealResult(r, RDouble);
        return RealResult(r, RDate);
    }
    if (rank == RCurrency)
    {
        if (op == Arith::Mul)
        {
            if (x.rank == RCurrency && y.rank == RCurrency)
                return CurrencyResult(static_cast<__int128>(x.currency) * y.currency / 10000);
            const double r = RealOf(x) * RealOf(y);
            const double scaled = RoundHalfEven(r * 10000.0);
            if (!(std::fabs(scaled) < 9.2233720368547758e18))
                Throw(err::Overflow);
            return Value::Currency(static_cast<LONGLONG>(scaled));
        }
        const __int128 cx = CurrencyOf(x), cy = CurrencyOf(y);
        return CurrencyResult(op == Arith::Add ? cx + cy : cx - cy);
    }
    const double r = op == Arith::Add   ? RealOf(x) + RealOf(y)
                     : op == Arith::Sub ? RealOf(x) - RealOf(y)
                                        : RealOf(x) * RealOf(y);
    return RealResult(r, rank);
}

} // namespace

ResourceLimits& Limits() noexcept
{
    thread_local ResourceLimits limits;
    return limits;
}

Value Add(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_I4 && tb.vt == VT_I4)
        return IntegerResult(static_cast<long long>(ta.lVal) + tb.lVal, RLong);
    if (ta.vt == VT_I2 && tb.vt == VT_I2)
        return IntegerResult(static_cast<long long>(ta.iVal) + tb.iVal, RInt);
    const bool sa = ta.vt == VT_BSTR, sb = tb.vt == VT_BSTR;
    if ((sa && (sb || tb.vt == VT_EMPTY)) || (sb && ta.vt == VT_EMPTY))
        return Concatenate(ta, tb);
    return Arithmetic(ta, tb, Arith::Add);
}

Value Subtract(const Value& a, const Value& b)
{
    return Arithmetic(a, b, Arith::Sub);
}
Value Multiply(const Value& a, const Value& b)
{
    return Arithmetic(a, b, Arith::Mul);
}

Value Divide(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_NULL || tb.vt == VT_NULL)
        return Value::Null();
    Value ha, hb;
    const Operand x = Classify(ta, ha);
    const Operand y = Classify(tb, hb);
    const double dx = RealOf(x), dy = RealOf(y);
    if (dy == 0)
        Throw(dx == 0 ? err::Overflow : err::DivisionByZero);
    const double r = dx / dy;
    if (x.rank == RCurrency || y.rank == RCurrency)
        return RealResult(r, RDouble);
    const Rank rank = (x.rank <= RSingle && y.rank <= RSingle && (x.rank == RSingle || y.rank == RSingle) &&
                       x.rank != RLong && y.rank != RLong)
                          ? RSingle
                          : RDouble;
    return RealResult(r, rank);
}

namespace
{

Rank IntegerRank(const Value& t, long long& out)
{
    switch (t.vt)
    {
    case VT_UI1:
        out = t.bVal;
        return RByte;
    case VT_I2:
        out = t.iVal;
        return RInt;
    case VT_BOOL:
        out = t.boolVal ? -1 : 0;
        return RInt;
    case VT_EMPTY:
        out = 0;
        return RInt;
    default:
        out = ToLong(t);
        return RLong;
    }
}

} // namespace

Value IntegerDivide(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_NULL || tb.vt == VT_NULL)
        return Value::Null();
    long long x = 0, y = 0;
    const Rank rx = IntegerRank(ta, x), ry = IntegerRank(tb, y);
    if (y == 0)
        Throw(err::DivisionByZero);
    // Integer division stays within Long: the smallest Long divided by -1 overflows.
    if (x / y > 2147483647LL)
        Throw(err::Overflow);
    return IntegerResult(x / y, rx > ry ? rx : ry);
}

Value Modulo(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_NULL || tb.vt == VT_NULL)
        return Value::Null();
    long long x = 0, y = 0;
    const Rank rx = IntegerRank(ta, x), ry = IntegerRank(tb, y);
    if (y == 0)
        Throw(err::DivisionByZero);
    return IntegerResult(x % y, rx > ry ? rx : ry);
}

Value Power(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_NULL || tb.vt == VT_NULL)
        return Value::Null();
    const double x = ToDouble(ta), y = ToDouble(tb);
    if (x == 0 && y < 0)
        Throw(err::InvalidCall);
    const double r = std::pow(x, y);
    if (std::isnan(r))
        Throw(err::InvalidCall);
    if (!std::isfinite(r))
        Throw(err::Overflow);
    return Value::Double(r);
}

Value Negate(const Value& a)
{
    const Value& t = a.Target();
    switch (t.vt)
    {
    case VT_NULL:
        return Value::Null();
    case VT_EMPTY:
        return Value::Int(0);
    case VT_BOOL:
        return Value::Int(t.boolVal ? 1 : 0);
    case VT_UI1:
        return IntegerResult(-static_cast<long long>(t.bVal), RInt);
    case VT_I2:
        return IntegerResult(-static_cast<long long>(t.iVal), RInt);
    case VT_I4:
        return IntegerResult(-static_cast<long long>(t.lVal), RLong);
    case VT_R4:
        return Value::Single(-t.fltVal);
    case VT_R8:
        return Value::Double(-t.dblVal);
    case VT_CY:
        if (t.cyVal.int64 == std::numeric_limits<LONGLONG>::min())
            Throw(err::Overflow);
        return Value::Currency(-t.cyVal.int64);
    case VT_DATE:
        return RealResult(-t.date, RDate);
    default:
        return Value::Double(-ToDouble(t));
    }
}

Value Concatenate(const Value& a, const Value& b)
{
    const Value& ta = a.Target();
    const Value& tb = b.Target();
    if (ta.vt == VT_NULL && tb.vt == VT_NULL)
        return Value::Null();
    if (ta.vt == VT_BSTR && tb.vt == VT_BSTR)
    {
        const UINT la = SysStringLen(ta.bstrVal), lb = SysStringLen(tb.bstrVal);
        if (static_cast<unsigned long long>(la) + lb > Limits().stringLength)
            Throw(err::OutOfMemory);
        BSTR r = SysAllocStringLen(nullptr, la + lb);
        if (!r)
            Throw(err::OutOfMemory);
        std::copy_n(ta.bstrVal, la, r);
        std::copy_n(tb.bstrVal, lb, r + la);
        return Value::AdoptString(r);
    }
    // A string and an Integer or Long: one allocation.
    const bool ia = ta.vt == VT_I2 || ta.vt == VT_I4, ib = tb.vt == VT_I2 || tb.vt == VT_I4;
    if ((ta.vt == VT_BSTR && ib) || (ia && tb.vt == VT_BSTR))
    {
        const Value& number = ia ? ta : tb;
        char digits[16];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, number.vt == VT_I2 ? number.iVal : number.lVal).ptr;
        const size_t n = static_cast<size_t>(end - digits);
        const std::u16string_view text = ia ? tb.Text() : ta.Text();
        if (text.size() + n > Limits().stringLength)
            Throw(err::OutOfMemory);
        BSTR r = SysAllocStringLen(nullptr, static_cast<UINT>(text.size() + n));
        if (!r)
            Throw(err::OutOfMemory);
        OLECHAR* at = r;
        if (!ia)
            at = std::copy(text.begin(), text.end(), at);
        at = std::copy(digits, end, at);
        if (ia)
            std::copy(text.begin(), text.end(), at);
        return Value::AdoptString(r);
    }
    std::u16string s = TextOf(ta);
    s += TextOf(tb);
    if (s.size() > Limits().stringLength)
        Throw(err::OutOfMemory);
    return Value::String(s);
}

namespace
{
bool Latin1Letter(char16_t c)
{
    return c >= 0xC0 && c <= 0xFE && c != 0xD7 && c != 0xF7 && c != 0xDF;
}
} // namespace

char16_t UpperCase(char16_t c)
{
    if ((c >= 'a' && c <= 'z') || (Latin1Letter(c) && c >= 0xE0))
        return static_cast<char16_t>(c - 32);
    return c;
}

char16_t LowerCase(char16_t c)
{
    if ((c >= 'A' && c <= 'Z') || (Latin1Letter(c) && c < 0xE0))
        return static_cast<char16_t>(c + 32);
    return c;
}

int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        char16_t x = a[i], y = b[i];
        if (mode == CompareMode::Text)
        {
            x = UpperCase(x);
            y = UpperCase(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

namespace
{

Order OrderOf(double x, double y)
{
    return x < y ? Order::Less : x > y ? Order::Greater : Order::Equal;
}
bool NumberLike(VARTYPE vt)
{
    return IsNumericType(vt) || vt == VT_BOOL || vt == VT_DATE;
}

} // namespace

Order Compare(const Value& a, const Value& b, bool aLiteral, bool bLiteral, CompareMode mode)
{
    Value ha, hb;
    const Value* pa = &a.Target();
    const Value* pb = &b.Target();
    if (Plain(pa->vt) && Plain(pb->vt))
        return OrderOf(PlainNumber(*pa), PlainNumber(*pb));
    if (pa->IsObject())
        pa = &(ha = Scalar(*pa));
    if (pb->IsObject())
        pb = &(hb = Scalar(*pb));
    const Value& x = *pa;
    const Value& y = *pb;
    if (x.vt == VT_NULL || y.vt == VT_NULL)
        return Order::Unknown;
    if (x.IsArray() || y.IsArray())
        Throw(err::TypeMismatch);
    if (x.vt == VT_I4 && y.vt == VT_I4)
        return x.lVal < y.lVal ? Order::Less : x.lVal > y.lVal ? Order::Greater : Order::Equal;
    const bool sx = x.vt == VT_BSTR, sy = y.vt == VT_BSTR;
    if (sx && sy)
        return static_cast<Order>(CompareText(x.Text(), y.Text(), mode));
    if (sx || sy)
    {
        const Value& text = sx ? x : y;
        const Value& other = sx ? y : x;
        const bool textLiteral = sx ? aLiteral : bLiteral;
        const bool otherLiteral = sx ? bLiteral : aLiteral;
        int r;
        if (other.vt == VT_EMPTY)
            r = CompareText(text.Text(), u"", mode);
        else if (otherLiteral)
        {
            double number = 0;
            r = ParseNumber(text.Text(), number) ? static_cast<int>(OrderOf(number, ToDouble(other))) : 1;
        }
        else if (textLiteral)
            r = CompareText(text.Text(), ToText(other), mode);
        else
            r = 1; // a string is greater than any number
        return static_cast<Order>(sx ? r : -r);
    }
    if (x.vt == VT_CY && y.vt == VT_CY)
        return x.cyVal.int64 < y.cyVal.int64   ? Order::Less
               : x.cyVal.int64 > y.cyVal.int64 ? Order::Greater
                                               : Order::Equal;
    // A Single against a Double compares as Singles: CSng(0.1) = 0.1.
    if ((x.vt == VT_R4 && y.vt == VT_R8) || (x.vt == VT_R8 && y.vt == VT_R4))
        return OrderOf(static_cast<float>(ToDouble(x)), static_cast<float>(ToDouble(y)));
    if ((NumberLike(x.vt) || x.vt == VT_EMPTY) && (NumberLike(y.vt) || y.vt == VT_EMPTY))
        return OrderOf(ToDouble(x), ToDouble(y));
    Throw(err::TypeMismatch);
}

namespace
{

// Operands of the logical operators: both Boolean keeps Boolean, otherwise integers.
struct Logic
{
    bool null = false;
    bool boolean = false;
    long long bits = 0;
    Rank rank = RInt;
};

Logic LogicOf(const Value& v)
{
    const Value& t = v.Target();
    Logic l;
    switch (t.vt)
    {
    case VT_NULL:
        l.null = true;
        return l;
    case VT_BOOL:
        l.boolean = true;
        l.bits = t.boolVal ? -1 : 0;
        return l;
    case VT_UI1:
        l.rank = RByte;
        l.bits = t.bVal;
        return l;
    case VT_I2:
        l.bits = t.iVal;
        return l;
    case VT_EMPTY:
        return l;
    case VT_BSTR:
    {
        const auto text = t.Text();
        if (CompareText(text, u"True", CompareMode::Text) == 0 ||
            CompareText(text, u"False", CompareMode::Text) == 0)
        {
            l.boolean = true;
            l.bits = ToBool(t) ? -1 : 0;
            return l;
        }
        l.rank = RLong;
        l.bits = ToLong(t);
        return l;
    }
    default:
        if (t.IsObject())
            return LogicOf(Scalar(t));
        l.rank = RLong;
        l.bits = ToLong(t);
        return l;
    }
}

Value LogicResult(long long bits, const Logic& x, const Logic& y)
{
    if ((x.boolean || x.null) && (y.boolean || y.null))
        return Value::Bool(bits != 0);
    Rank rank = RByte;
    for (const Logic* l : {&x, &y})
        if (!l->null)
            rank = std::max(rank, l->boolean ? RInt : l->rank);
    if (rank == RByte)
        return Value::Byte(static_cast<BYTE>(bits));
    if (rank == RInt)
        return Value::Int(static_cast<SHORT>(bits));
    return Value::Long(static_cast<LONG>(bits));
}

} // namespace

Value Not(const Value& a)
{
    const Logic x = LogicOf(a);
    if (x.null)
        return Value::Null();
    if (x.boolean)
        return Value::Bool(x.bits == 0);
    return LogicResult(~x.bits, x, x);
}

Value And(const Value& a, const Value& b)
{
    const Logic x = LogicOf(a), y = LogicOf(b);
    if (x.null && y.null)
        return Value::Null();
    if (x.null || y.null)
    {
        const Logic& other = x.null ? y : x;
        return other.bits == 0 ? LogicResult(0, x, y) : Value::Null();
    }
    return LogicResult(x.bits & y.bits, x, y);
}

Value Or(const Value& a, const Value& b)
{
    const Logic x = LogicOf(a), y = LogicOf(b);
    if (x.null && y.null)
        return Value::Null();
    if (x.null || y.null)
    {
        const Logic& other = x.null ? y : x;
        return other.bits == -1 || (other.rank == RByte && other.bits == 255) ? LogicResult(other.bits, x, y)
                                                                              : Value::Null();
    }
    return LogicResult(x.bits | y.bits, x, y);
}

Value Xor(const Value& a, const Value& b)
{
    const Logic x = LogicOf(a), y = LogicOf(b);
    if (x.null || y.null)
        return Value::Null();
    return LogicResult(x.bits ^ y.bits, x, y);
}

Value Eqv(const Value& a, const Value& b)
{
    const Logic x = LogicOf(a), y = LogicOf(b);
    if (x.null || y.null)
        return Value::Null();
    return LogicResult(~(x.bits ^ y.bits), x, y);
}

Value Imp(const Value& a, const Value& b)
{
    const Logic x = LogicOf(a), y = LogicOf(b);
    if (x.null && y.null)
        return Value::Null();
    if (x.null)
        return y.bits == -1 ? LogicResult(-1, x, y) : Value::Null();
    if (y.null)
        return x.bits == 0 ? LogicResult(-1, x, y) : Value::Null();
    return LogicResult(~x.bits | y.bits, x, y);
}

namespace
{
IUnknown* IdentityOf(const Value& v)
{
    const Value& t = v.Target();
    if (!t.IsObject())
        Throw(err::ObjectRequired);
    if (!t.punkVal)
        return nullptr;
    IUnknown* identity = nullptr;
    t.punkVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    if (identity)
        identity->Release();
    return identity;
}
} // namespace

bool Is(const Value& a, const Value& b)
{
    return IdentityOf(a) == IdentityOf(b);
}

bool Truth(const Value& v)
{
    const Value& t = v.Target();
    switch (t.vt)
    {
    case VT_BOOL:
        return t.boolVal != 0;
    case VT_NULL:
    case VT_EMPTY:
        return false;
    case VT_I2:
        return t.iVal != 0;
    case VT_I4:
        return t.lVal != 0;
    default:
        return ToBool(t);
    }
}

} // namespace tvsk::script
