// A VARIANT that owns its contents: the value every variable, argument and result holds.
#pragma once

#include <com/Dispatch.h>
#include <com/SafeArray.h>

#include <cstring>
#include <string_view>
#include <utility>

namespace tvsk::script
{

class Value : public VARIANT
{
public:
    Value() noexcept { Blank(); }
    Value(const Value& other)
    {
        if (!Owns(other.vt))
            std::memcpy(static_cast<VARIANT*>(this), static_cast<const VARIANT*>(&other), sizeof(VARIANT));
        else
            CopyFrom(other);
    }
    Value(Value&& other) noexcept
    {
        std::memcpy(static_cast<VARIANT*>(this), static_cast<const VARIANT*>(&other), sizeof(VARIANT));
        other.vt = VT_EMPTY;
    }
    // A copy of a raw variant (read through a reference).
    explicit Value(const VARIANT& raw);
    ~Value() { Release(); }
    Value& operator=(const Value& other)
    {
        if (this != &other)
        {
            Value copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    Value& operator=(Value&& other) noexcept
    {
        if (this != &other)
        {
            // The old contents go last: releasing an object may run script code that reads this value.
            VARIANT old;
            std::memcpy(&old, static_cast<VARIANT*>(this), sizeof old);
            std::memcpy(static_cast<VARIANT*>(this), static_cast<const VARIANT*>(&other), sizeof(VARIANT));
            other.vt = VT_EMPTY;
            if (Owns(old.vt))
                ReleaseOwned(old);
        }
        return *this;
    }

    static Value Null();
    static Value Bool(bool b);
    static Value Byte(BYTE b);
    static Value Int(SHORT i);
    static Value Long(LONG l);
    static Value Single(float f);
    static Value Double(double d);
    static Value Currency(LONGLONG tenThousandths);
    static Value Date(double d);
    static Value String(std::u16string_view text);
    static Value Utf8(std::string_view text);
    // Takes over a BSTR.
    static Value AdoptString(BSTR text);
    // Adds a reference; null is Nothing.
    static Value Object(IDispatch* object);
    // Takes over a reference.
    static Value AdoptObject(IDispatch* object);
    static Value AdoptArray(SAFEARRAY* array);
    // Takes over a raw variant's contents and leaves it empty.
    static Value Adopt(VARIANT& raw);

    bool IsEmpty() const noexcept { return vt == VT_EMPTY; }
    bool IsNull() const noexcept { return vt == VT_NULL; }
    bool IsString() const noexcept { return vt == VT_BSTR; }
    bool IsObject() const noexcept { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }
    bool IsArray() const noexcept { return (vt & VT_ARRAY) != 0; }
    bool IsReference() const noexcept { return vt == (VT_BYREF | VT_VARIANT); }
    std::u16string_view Text() const noexcept { return com::BstrView(bstrVal); }

    // A variable that is a ByRef parameter points at its caller's variable.
    Value& Target() noexcept { return IsReference() ? static_cast<Value&>(*pvarVal).Target() : *this; }
    const Value& Target() const noexcept
    {
        return IsReference() ? static_cast<const Value&>(*pvarVal).Target() : *this;
    }
    static Value Reference(Value& target);
    // An argument as a callee keeps it: a reference to a variable stays one, so a ByRef parameter
    // writes through it; anything else (a reference to a fixed array's reference included) is copied.
    static Value Argument(const VARIANT& raw);

    // Hands the contents to a raw variant the caller then owns.
    VARIANT Detach() noexcept
    {
        VARIANT raw;
        std::memcpy(&raw, static_cast<VARIANT*>(this), sizeof raw);
        vt = VT_EMPTY;
        return raw;
    }
    void Clear() noexcept { *this = Value(); }

private:
    void Blank() noexcept
    {
        vt = VT_EMPTY;
        wReserved1 = wReserved2 = wReserved3 = 0;
        llVal = 0;
    }
    // Contents to release or copy: a string, an object or an array held (not referred to). The plain
    // types are told by one test of a bit.
    static bool Owns(VARTYPE type) noexcept
    {
        constexpr unsigned long long held = 1ull << VT_BSTR | 1ull << VT_DISPATCH | 1ull << VT_UNKNOWN;
        if (type < 64)
            return (held >> type) & 1;
        return (type & (VT_ARRAY | VT_BYREF)) == VT_ARRAY;
    }
    void Release() noexcept
    {
        if (Owns(vt))
            ReleaseOwned(*this);
    }
    // Frees a string, object or array held and leaves the variant empty.
    static void ReleaseOwned(VARIANT& v) noexcept;
    void CopyFrom(const Value& other);
};

static_assert(sizeof(Value) == sizeof(VARIANT));

// The plain factories are inline: a value built field by field out of line and then moved whole
// stalls the processor on every arithmetic result.
inline Value Value::Null()
{
    Value v;
    v.vt = VT_NULL;
    return v;
}

inline Value Value::Bool(bool b)
{
    Value v;
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

inline Value Value::Byte(BYTE b)
{
    Value v;
    v.vt = VT_UI1;
    v.bVal = b;
    return v;
}

inline Value Value::Int(SHORT i)
{
    Value v;
    v.vt = VT_I2;
    v.iVal = i;
    return v;
}

inline Value Value::Long(LONG l)
{
    Value v;
    v.vt = VT_I4;
    v.lVal = l;
    return v;
}

inline Value Value::Single(float f)
{
    Value v;
    v.vt = VT_R4;
    v.fltVal = f;
    return v;
}

inline Value Value::Double(double d)
{
    Value v;
    v.vt = VT_R8;
    v.dblVal = d;
    return v;
}

inline Value Value::Currency(LONGLONG tenThousandths)
{
    Value v;
    v.vt = VT_CY;
    v.cyVal.int64 = tenThousandths;
    return v;
}

inline Value Value::Date(double d)
{
    Value v;
    v.vt = VT_DATE;
    v.date = d;
    return v;
}

inline Value Value::AdoptString(BSTR text)
{
    Value v;
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}

inline Value Value::AdoptObject(IDispatch* object)
{
    Value v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

inline Value Value::AdoptArray(SAFEARRAY* array)
{
    Value v;
    v.vt = VT_ARRAY | VT_VARIANT;
    v.parray = array;
    return v;
}

inline Value Value::Reference(Value& target)
{
    Value v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = &target.Target();
    return v;
}

} // namespace tvsk::script
