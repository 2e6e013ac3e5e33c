// Owned variants.
#include "Value.h"

#include "ScriptError.h"

namespace tvsk::script
{

Value::Value(const VARIANT& raw)
{
    Blank();
    const VARIANT* source = &raw;
    while (source->vt == (VT_BYREF | VT_VARIANT) && source->pvarVal)
        source = source->pvarVal;
    if (source->vt & VT_BYREF)
    {
        if (FAILED(VariantCopyInd(this, source)))
            Throw(err::TypeMismatch);
        return;
    }
    CopyFrom(static_cast<const Value&>(*source));
}

void Value::CopyFrom(const Value& other)
{
    if (!Owns(other.vt))
    {
        std::memcpy(static_cast<VARIANT*>(this), static_cast<const VARIANT*>(&other), sizeof(VARIANT));
        return;
    }
    // A string is shared: its block is copied only when a holder writes into it.
    if (other.vt == VT_BSTR)
    {
        std::memcpy(static_cast<VARIANT*>(this), static_cast<const VARIANT*>(&other), sizeof(VARIANT));
        com::ShareBstr(bstrVal);
        return;
    }
    Blank();
    if (FAILED(VariantCopy(this, &other)))
    {
        vt = VT_EMPTY;
        Throw(err::OutOfMemory);
    }
}

void Value::ReleaseOwned(VARIANT& v) noexcept
{
    if (v.vt == VT_BSTR) // the most common: freed without VariantClear's checks
    {
        SysFreeString(v.bstrVal);
        v.vt = VT_EMPTY;
        v.wReserved1 = v.wReserved2 = v.wReserved3 = 0;
        v.llVal = 0;
    }
    else
        VariantClear(&v);
}

Value Value::String(std::u16string_view text)
{
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!b && !text.empty())
        Throw(err::OutOfMemory);
    return AdoptString(b);
}

Value Value::Utf8(std::string_view text)
{
    return String(com::Utf16FromUtf8(text));
}

Value Value::Object(IDispatch* object)
{
    if (object)
        object->AddRef();
    return AdoptObject(object);
}

Value Value::Adopt(VARIANT& raw)
{
    Value v;
    if (raw.vt & VT_BYREF)
    {
        v = Value(raw);
        VariantClear(&raw);
        return v;
    }
    std::memcpy(static_cast<VARIANT*>(&v), &raw, sizeof raw);
    raw.vt = VT_EMPTY;
    // An object that answers IDispatch is kept as one; others (enumerators) stay IUnknown.
    if (v.vt == VT_UNKNOWN && v.punkVal)
    {
        IUnknown* unknown = v.punkVal;
        IDispatch* dispatch = nullptr;
        if (unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)) != S_OK || !dispatch)
            return v;
        v.vt = VT_EMPTY;
        unknown->Release();
        return AdoptObject(dispatch);
    }
    return v;
}

Value Value::Argument(const VARIANT& raw)
{
    if (raw.vt == (VT_BYREF | VT_VARIANT) && raw.pvarVal &&
        (!(raw.pvarVal->vt & VT_BYREF) || raw.pvarVal->vt == (VT_BYREF | VT_VARIANT)))
        return Reference(static_cast<Value&>(*raw.pvarVal));
    return Value(raw);
}

} // namespace tvsk::script
