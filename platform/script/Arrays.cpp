// Arrays.
#include "Arrays.h"

#include "Operators.h"

#include <algorithm>
#include "ScriptError.h"

namespace tvsk::script
{

Value NewArray(const std::vector<LONG>& upperBounds, bool fixed)
{
    if (upperBounds.empty() || upperBounds.size() > 60)
        Throw(err::SubscriptOutOfRange);
    std::vector<SAFEARRAYBOUND> bounds;
    unsigned long long total = 1;
    for (LONG upper : upperBounds)
    {
        if (upper < -1)
            Throw(err::SubscriptOutOfRange);
        const unsigned long long n = static_cast<unsigned long long>(upper) + 1;
        total *= n;
        if (total > Limits().arrayElements)
            Throw(err::OutOfMemory);
        bounds.push_back({static_cast<ULONG>(n), 0});
    }
    SAFEARRAY* a = SafeArrayCreate(VT_VARIANT, static_cast<UINT>(bounds.size()), bounds.data());
    if (!a)
        Throw(err::OutOfMemory);
    if (fixed)
        a->fFeatures |= FixedArray;
    return Value::AdoptArray(a);
}

namespace
{

size_t Count(const SAFEARRAY* a)
{
    size_t n = 1;
    for (USHORT d = 0; d < a->cDims; ++d)
        n *= a->rgsabound[d].cElements;
    return a->cDims ? n : 0;
}

// Offset of indices in the array's storage (the last index varies fastest), or -1 when outside.
long long Offset(const SAFEARRAY* a, const LONG* indices, size_t count)
{
    if (!a || count != a->cDims)
        return -1;
    long long offset = 0;
    for (size_t d = 0; d < count; ++d)
    {
        const long long i = static_cast<long long>(indices[d]) - a->rgsabound[d].lLbound;
        if (i < 0 || i >= static_cast<long long>(a->rgsabound[d].cElements))
            return -1;
        offset = offset * a->rgsabound[d].cElements + i;
    }
    return offset;
}

} // namespace

Value* Element(SAFEARRAY* array, const LONG* indices, size_t count)
{
    if (!array || array->vt != VT_VARIANT)
        Throw(err::SubscriptOutOfRange);
    const long long at = Offset(array, indices, count);
    if (at < 0)
        Throw(err::SubscriptOutOfRange);
    return static_cast<Value*>(array->pvData) + at;
}

Value ReadElement(SAFEARRAY* array, const LONG* indices, size_t count)
{
    if (array && array->vt == VT_VARIANT)
        return *Element(array, indices, count);
    if (!array || Offset(array, indices, count) < 0)
        Throw(err::SubscriptOutOfRange);
    VARIANT raw;
    VariantInit(&raw);
    if (array->vt == VT_BSTR || array->vt == VT_DISPATCH || array->vt == VT_UNKNOWN)
    {
        void* item = nullptr;
        if (FAILED(SafeArrayGetElement(array, indices, &item)))
            Throw(err::SubscriptOutOfRange);
        raw.vt = array->vt;
        raw.byref = item;
        return Value::Adopt(raw);
    }
    raw.vt = array->vt;
    if (FAILED(SafeArrayGetElement(array, indices, &raw.llVal)))
        Throw(err::SubscriptOutOfRange);
    return Value::Adopt(raw);
}

std::vector<Value> Elements(SAFEARRAY* array)
{
    std::vector<Value> out;
    if (!array || !array->cDims)
        return out;
    const size_t n = Count(array);
    out.reserve(n);
    std::vector<LONG> index(array->cDims);
    for (USHORT d = 0; d < array->cDims; ++d)
        index[d] = array->rgsabound[d].lLbound;
    for (size_t k = 0; k < n; ++k)
    {
        out.push_back(ReadElement(array, index.data(), index.size()));
        for (USHORT d = 0; d < array->cDims; ++d)
        {
            if (++index[d] < array->rgsabound[d].lLbound + static_cast<LONG>(array->rgsabound[d].cElements))
                break;
            index[d] = array->rgsabound[d].lLbound;
        }
    }
    return out;
}

void CheckReplaceable(const Value& variable)
{
    const Value& v = variable.Target();
    if (v.IsArray() && !(v.vt & VT_BYREF) && v.parray &&
        ((v.parray->fFeatures & FixedArray) || v.parray->cLocks))
        Throw(err::ArrayFixed);
}

void ReDimension(Value& variable, const std::vector<LONG>& upperBounds, bool preserve)
{
    Value& v = variable.Target();
    CheckReplaceable(v);
    Value fresh = NewArray(upperBounds, false);
    if (preserve && v.IsArray() && v.parray && v.parray->cDims)
    {
        SAFEARRAY* old = v.parray;
        if (old->cDims != upperBounds.size())
            Throw(err::SubscriptOutOfRange);
        for (USHORT d = 0; d + 1 < old->cDims; ++d)
            if (old->rgsabound[d].cElements != fresh.parray->rgsabound[d].cElements)
                Throw(err::SubscriptOutOfRange);
        if (old->vt == VT_VARIANT)
        {
            const ULONG oldLast = old->rgsabound[old->cDims - 1].cElements;
            const ULONG newLast = fresh.parray->rgsabound[old->cDims - 1].cElements;
            const ULONG keep = std::min(oldLast, newLast);
            const size_t rows = oldLast ? Count(old) / oldLast : 0;
            auto* from = static_cast<Value*>(old->pvData);
            auto* to = static_cast<Value*>(fresh.parray->pvData);
            for (size_t r = 0; r < rows; ++r)
                for (ULONG c = 0; c < keep; ++c)
                    std::swap(to[r * newLast + c], from[r * oldLast + c]);
        }
    }
    v = std::move(fresh);
}

Value MakeArray(std::vector<Value> values)
{
    Value a = NewArray({static_cast<LONG>(values.size()) - 1}, false);
    auto* to = static_cast<Value*>(a.parray->pvData);
    for (size_t i = 0; i < values.size(); ++i)
        to[i] = std::move(values[i]);
    return a;
}

namespace
{
SAFEARRAY* ArrayOf(const Value& v, int dimension)
{
    const Value& t = v.Target();
    if (!t.IsArray())
        Throw(err::TypeMismatch);
    if (!t.parray || dimension < 1 || dimension > t.parray->cDims)
        Throw(err::SubscriptOutOfRange);
    return t.parray;
}
} // namespace

namespace
{
// The depth of arrays within value, counting no further than limit.
int Nesting(const Value& value, int limit)
{
    const Value& v = value.Target();
    if (!v.IsArray() || !v.parray || v.parray->vt != VT_VARIANT)
        return 0;
    if (limit <= 0)
        return 1;
    int deepest = 0;
    const auto* items = static_cast<const Value*>(v.parray->pvData);
    for (size_t i = 0, n = Count(v.parray); i < n && deepest < limit; ++i)
        if (items[i].IsArray())
            deepest = std::max(deepest, Nesting(items[i], limit - 1));
    return 1 + deepest;
}
} // namespace

void CheckNesting(const Value& value)
{
    if (value.Target().IsArray() && Nesting(value, MaxArrayNesting) >= MaxArrayNesting)
        Throw(err::OutOfStack);
}

LONG LowerBound(const Value& array, int dimension)
{
    return ArrayOf(array, dimension)->rgsabound[dimension - 1].lLbound;
}

LONG UpperBound(const Value& array, int dimension)
{
    const SAFEARRAYBOUND& b = ArrayOf(array, dimension)->rgsabound[dimension - 1];
    return b.lLbound + static_cast<LONG>(b.cElements) - 1;
}

} // namespace tvsk::script
