// Binds the members of a C++ class to dispatch ids, so Invoke calls them with converted arguments.
#pragma once

#include "TypeDescription.h"

#include <cassert>
#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace tvsk::com
{

namespace detail
{

// The variant field that holds a parameter of C++ type V, and its automation type.
template <class V> struct VariantField;
#define TVSK_VARIANT_FIELD(Type, Vt, Member)                                                                 \
    template <> struct VariantField<Type>                                                                    \
    {                                                                                                        \
        static constexpr VARTYPE vt = Vt;                                                                    \
        static Type& Of(VARIANT& v) { return v.Member; }                                                     \
    }
TVSK_VARIANT_FIELD(BYTE, VT_UI1, bVal);
TVSK_VARIANT_FIELD(SHORT, VT_I2, iVal);
TVSK_VARIANT_FIELD(USHORT, VT_UI2, uiVal);
TVSK_VARIANT_FIELD(LONG, VT_I4, lVal);
TVSK_VARIANT_FIELD(ULONG, VT_UI4, ulVal);
TVSK_VARIANT_FIELD(LONGLONG, VT_I8, llVal);
TVSK_VARIANT_FIELD(ULONGLONG, VT_UI8, ullVal);
TVSK_VARIANT_FIELD(FLOAT, VT_R4, fltVal);
TVSK_VARIANT_FIELD(DOUBLE, VT_R8, dblVal);
TVSK_VARIANT_FIELD(BSTR, VT_BSTR, bstrVal);
TVSK_VARIANT_FIELD(IDispatch*, VT_DISPATCH, pdispVal);
TVSK_VARIANT_FIELD(IUnknown*, VT_UNKNOWN, punkVal);
#undef TVSK_VARIANT_FIELD

// An argument converted to the parameter's type; the converted copy is freed after the call.
template <class P> class InSlot
{
public:
    InSlot() { VariantInit(&m_value); }
    ~InSlot() { VariantClear(&m_value); }
    // as, when not VT_EMPTY, is a type stored in the same field (VT_BOOL for a VARIANT_BOOL).
    HRESULT Bind(VARIANT* arg, VARTYPE as = VT_EMPTY)
    {
        return VariantChangeType(&m_value, arg, 0, as != VT_EMPTY ? as : VariantField<P>::vt);
    }
    P Value() { return VariantField<P>::Of(m_value); }
    static constexpr VARTYPE Type() { return VariantField<P>::vt; }

private:
    VARIANT m_value;
};

template <class P> class ParamSlot : public InSlot<P>
{
public:
    void Finish() {}
};
// Strings and interfaces are pointers, yet in parameters.
template <> class ParamSlot<BSTR> : public InSlot<BSTR>
{
public:
    void Finish() {}
};
template <> class ParamSlot<IDispatch*> : public InSlot<IDispatch*>
{
public:
    void Finish() {}
};
template <> class ParamSlot<IUnknown*> : public InSlot<IUnknown*>
{
public:
    void Finish() {}
};

// A VARIANT parameter receives the argument as the caller passed it.
template <> class ParamSlot<VARIANT>
{
public:
    // A reference to a variant (a script's ByRef argument) passes the variant it points to.
    HRESULT Bind(VARIANT* arg)
    {
        m_arg = (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal) ? arg->pvarVal : arg;
        return S_OK;
    }
    VARIANT Value() { return *m_arg; }
    void Finish() {}
    static constexpr VARTYPE Type() { return VT_VARIANT; }

private:
    VARIANT* m_arg = nullptr;
};

// An in/out or result parameter: the caller's own storage when it passed a reference of the right
// type, else a local converted copy (whose changes the caller then does not see).
template <class V> class ParamSlot<V*>
{
public:
    ParamSlot() { VariantInit(&m_local); }
    ~ParamSlot() { VariantClear(&m_local); }
    HRESULT Bind(VARIANT* arg)
    {
        if (arg->vt == (VT_BYREF | VariantField<V>::vt))
        {
            m_pointer = static_cast<V*>(arg->byref);
            return S_OK;
        }
        VARIANT* source = arg;
        if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal)
        {
            source = arg->pvarVal;
            m_writeBack = arg->pvarVal;
        }
        const HRESULT hr = VariantChangeType(&m_local, source, 0, VariantField<V>::vt);
        m_pointer = &VariantField<V>::Of(m_local);
        return hr;
    }
    // A variant passed by reference receives what the member wrote.
    void Finish()
    {
        if (m_writeBack)
            VariantCopy(m_writeBack, &m_local);
    }
    void BindResult()
    {
        m_local.vt = VariantField<V>::vt;
        m_pointer = &VariantField<V>::Of(m_local);
    }
    V* Value() { return m_pointer; }
    // Hands the result over; the slot no longer owns it.
    VARIANT TakeResult()
    {
        VARIANT r = m_local;
        VariantInit(&m_local);
        return r;
    }
    static constexpr VARTYPE Type() { return VT_BYREF | VariantField<V>::vt; }

private:
    VARIANT m_local;
    V* m_pointer = nullptr;
    VARIANT* m_writeBack = nullptr;
};

template <> class ParamSlot<VARIANT*>
{
public:
    ParamSlot() { VariantInit(&m_local); }
    ~ParamSlot() { VariantClear(&m_local); }
    // A reference to a variant passes the variant it points to; any other argument is the caller's
    // by-value slot, so the member works on a copy it may clear or replace.
    HRESULT Bind(VARIANT* arg)
    {
        if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal)
        {
            m_pointer = arg->pvarVal;
            return S_OK;
        }
        m_pointer = &m_local;
        return VariantCopy(&m_local, arg);
    }
    void BindResult() { m_pointer = &m_local; }
    VARIANT* Value() { return m_pointer; }
    void Finish() {}
    VARIANT TakeResult()
    {
        VARIANT r = m_local;
        VariantInit(&m_local);
        return r;
    }
    static constexpr VARTYPE Type() { return VT_BYREF | VT_VARIANT; }

private:
    VARIANT m_local;
    VARIANT* m_pointer = nullptr;
};

// Checks the DISPPARAMS shape against a member taking `expected` arguments.
HRESULT CheckArguments(const DISPPARAMS* params, WORD flags, UINT expected);
// The platform's report of a failed member when the caller asked for exception details.
HRESULT ReportMemberFailure(HRESULT hr, EXCEPINFO* exception);

} // namespace detail

// Built once per class: `static const DispatchTable<CThing> table = DispatchTable<CThing>(desc)
// .Method(1, "Open", &CThing::Open).Get(2, "Value", &CThing::get_Value).Put(2, "Value", &CThing::put_Value);`
// Get and MethodWithResult take their last (pointer) parameter as the result; Put takes its last
// parameter from the value being put. Every member returns an HRESULT.
template <class T> class DispatchTable
{
public:
    explicit DispatchTable(InterfaceDescription description) : m_description(std::move(description)) {}

    // parameterTypes relabels inputs in order (VT_BOOL for a VARIANT_BOOL parameter, so arguments
    // convert as booleans); VT_EMPTY or a missing entry keeps the parameter's own type.
    template <class C, class... A>
    DispatchTable& Method(DISPID id, const char* name, HRESULT (C::*fn)(A...), const char* help = "",
                          std::vector<VARTYPE> parameterTypes = {})
    {
        return Bind<false>(id, name, MemberKind::Method, fn, help, VT_EMPTY, std::move(parameterTypes));
    }
    template <class C, class... A>
    DispatchTable& MethodWithResult(DISPID id, const char* name, HRESULT (C::*fn)(A...),
                                    const char* help = "", VARTYPE resultType = VT_EMPTY,
                                    std::vector<VARTYPE> parameterTypes = {})
    {
        return Bind<true>(id, name, MemberKind::Method, fn, help, resultType, std::move(parameterTypes));
    }
    // resultType relabels a result of the same width (VT_BOOL for a VARIANT_BOOL* result).
    template <class C, class... A>
    DispatchTable& Get(DISPID id, const char* name, HRESULT (C::*fn)(A...), const char* help = "",
                       VARTYPE resultType = VT_EMPTY)
    {
        return Bind<true>(id, name, MemberKind::PropertyGet, fn, help, resultType);
    }
    template <class C, class... A>
    DispatchTable& Put(DISPID id, const char* name, HRESULT (C::*fn)(A...), const char* help = "",
                       std::vector<VARTYPE> parameterTypes = {})
    {
        return Bind<false>(id, name, MemberKind::PropertyPut, fn, help, VT_EMPTY, std::move(parameterTypes));
    }

    const InterfaceDescription& Description() const noexcept { return m_description; }

    HRESULT Invoke(T& self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                   UINT* argError) const
    {
        const MemberDescription* member = m_description.Find(id, flags);
        if (!member)
            return DISP_E_MEMBERNOTFOUND;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (!params)
            params = &none;
        const size_t index = static_cast<size_t>(member - m_description.Members().data());
        const HRESULT hr = m_invokers[index](self, *params, result, argError);
        return detail::ReportMemberFailure(hr, exception);
    }

private:
    using Invoker = std::function<HRESULT(T&, DISPPARAMS&, VARIANT*, UINT*)>;

    template <bool HasResult, class C, class... A>
    DispatchTable& Bind(DISPID id, const char* name, MemberKind kind, HRESULT (C::*fn)(A...),
                        const char* help, VARTYPE resultType, std::vector<VARTYPE> parameterTypes = {})
    {
        static_assert(std::is_base_of_v<C, T>, "the member must belong to the class");
        constexpr size_t total = sizeof...(A);
        constexpr size_t inputs = HasResult ? total - 1 : total;
        static_assert(!HasResult || total > 0, "a result needs a pointer parameter");

        MemberDescription member{id, name, kind, {}, VT_EMPTY, help};
        constexpr VARTYPE types[] = {detail::ParamSlot<A>::Type()..., VT_EMPTY};
        parameterTypes.resize(inputs, VT_EMPTY);
        for (size_t i = 0; i < inputs; ++i)
        {
            assert(parameterTypes[i] == VT_EMPTY || (types[i] == VT_I2 && parameterTypes[i] == VT_BOOL));
            member.parameters.push_back(parameterTypes[i] != VT_EMPTY ? parameterTypes[i] : types[i]);
        }
        if constexpr (HasResult)
            member.result =
                resultType != VT_EMPTY ? resultType : static_cast<VARTYPE>(types[total - 1] & ~VT_BYREF);
        m_description.Add(std::move(member));
        const WORD flags = static_cast<WORD>(kind);
        const VARTYPE relabel = resultType;
        m_invokers.push_back(
            [fn, flags, relabel, parameterTypes](T& self, DISPPARAMS& params, VARIANT* result, UINT* argError)
            {
                const HRESULT shape = detail::CheckArguments(&params, flags, static_cast<UINT>(inputs));
                if (FAILED(shape))
                    return shape;
                return Call<HasResult>(self, fn, params, result, argError, relabel, parameterTypes,
                                       std::index_sequence_for<A...>{});
            });
        return *this;
    }

    template <bool HasResult, class C, class... A, size_t... I>
    static HRESULT Call(T& self, HRESULT (C::*fn)(A...), DISPPARAMS& params, VARIANT* result, UINT* argError,
                        VARTYPE relabel, const std::vector<VARTYPE>& parameterTypes,
                        std::index_sequence<I...>)
    {
        std::tuple<detail::ParamSlot<A>...> paramSlots;
        constexpr size_t total = sizeof...(A);
        HRESULT hr = S_OK;
        auto bind = [&](auto& slot, size_t i)
        {
            if (FAILED(hr))
                return;
            if constexpr (requires { slot.BindResult(); })
            {
                if (HasResult && i == total - 1)
                {
                    slot.BindResult();
                    return;
                }
            }
            // Natural argument i sits at rgvarg[cArgs - 1 - i].
            const UINT at = params.cArgs - 1 - static_cast<UINT>(i);
            if constexpr (requires { slot.Bind(&params.rgvarg[at], VT_EMPTY); })
                hr =
                    slot.Bind(&params.rgvarg[at],
                              i < parameterTypes.size() ? parameterTypes[i] : static_cast<VARTYPE>(VT_EMPTY));
            else
                hr = slot.Bind(&params.rgvarg[at]);
            if (FAILED(hr) && argError)
                *argError = at;
        };
        (bind(std::get<I>(paramSlots), I), ...);
        (void)bind; // unused by members without parameters
        if (FAILED(hr))
            return hr;
        hr = (static_cast<C&>(self).*fn)(std::get<I>(paramSlots).Value()...);
        if (SUCCEEDED(hr))
            (std::get<I>(paramSlots).Finish(), ...);
        if constexpr (HasResult)
        {
            auto& last = std::get<total - 1>(paramSlots);
            if (SUCCEEDED(hr) && result)
            {
                VariantClear(result);
                *result = last.TakeResult();
                if (relabel != VT_EMPTY && !(result->vt & VT_BYREF))
                    result->vt = relabel;
            }
        }
        return hr;
    }

    InterfaceDescription m_description;
    std::vector<Invoker> m_invokers;
};

} // namespace tvsk::com
