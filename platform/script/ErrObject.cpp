// The Err object.
#include "ErrObject.h"

#include "Convert.h"
#include "Dispatch.h"
#include "Ast.h"

#include <vector>

namespace tvsk::script
{

namespace
{
enum : DISPID
{
    Number = 0,
    Description = 1,
    Source = 2,
    HelpFile = 3,
    HelpContext = 4,
    Raise = 5,
    Clear = 6
};

struct Name
{
    const char16_t* name;
    DISPID id;
};
constexpr Name Names[] = {{u"number", Number},     {u"description", Description}, {u"source", Source},
                          {u"helpfile", HelpFile}, {u"helpcontext", HelpContext}, {u"raise", Raise},
                          {u"clear", Clear}};
} // namespace

HRESULT ErrObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
    {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ErrObject::Release()
{
    const ULONG left = --m_references;
    if (!left)
        delete this;
    return left;
}

HRESULT ErrObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT ErrObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT ErrObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || !count || !names[0])
        return E_INVALIDARG;
    const std::u16string lower = Lower(names[0]);
    for (const Name& n : Names)
        if (lower == n.name)
        {
            ids[0] = n.id;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT ErrObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT*)
{
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    auto arg = [&](UINT i) { return Value(params->rgvarg[params->cArgs - 1 - i]); };
    try
    {
        const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        Value r;
        switch (id)
        {
        case Number:
            if (put)
            {
                m_error.number = ErrorNumberOf(ToLong(Value(params->rgvarg[0])));
                if (m_error.description.empty())
                    m_error.description = ErrorText(m_error.number);
            }
            else
                r = Value::Long(static_cast<LONG>(m_error.number));
            break;
        case Description:
            if (put)
                m_error.description = com::Utf8FromUtf16(ToText(Value(params->rgvarg[0])));
            else
                r = Value::Utf8(m_error.description);
            break;
        case Source:
            if (put)
                m_error.source = com::Utf8FromUtf16(ToText(Value(params->rgvarg[0])));
            else
                r = Value::Utf8(m_error.source);
            break;
        case HelpFile:
            if (put)
                m_error.helpFile = com::Utf8FromUtf16(ToText(Value(params->rgvarg[0])));
            else
                r = Value::Utf8(m_error.helpFile);
            break;
        case HelpContext:
            if (put)
                m_error.helpContext = ToLong(Value(params->rgvarg[0]));
            else
                r = Value::Long(static_cast<LONG>(m_error.helpContext));
            break;
        case Raise:
        {
            if (params->cArgs < 1 || params->cArgs > 5)
                return DISP_E_BADPARAMCOUNT;
            std::vector<Value> args;
            for (UINT i = 0; i < params->cArgs; ++i)
                args.push_back(arg(i));
            return ReportException(Raised(args.data(), args.size()), exception);
        }
        case Clear:
            m_error = {};
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
        if (result && !put)
        {
            VariantClear(result);
            *result = r.Detach();
        }
        return S_OK;
    }
    catch (const ScriptException& e)
    {
        return ReportException(e.error, exception);
    }
}

const ScriptError& ErrObject::Raised(const Value* args, size_t count)
{
    if (count < 1 || count > 5)
        Throw(err::WrongArguments);
    auto given = [&](size_t i) { return i < count && !IsMissing(args[i]); };
    if (!given(0))
        Throw(err::ArgumentNotOptional);
    const LONG number = ToLong(args[0]);
    // A number is the language's (up to 16 bits) or an HRESULT (negative), which stands for the
    // language's number as a host's failure does (&H800A000D is 13).
    const long n = number < 0 ? FailureNumber(number) : number;
    if (n == 0 || n > 0xFFFF)
        Throw(err::InvalidCall);
    // What is omitted keeps what Err holds for the same number (Err.Raise Err.Number raises it again).
    const bool holds = m_error.number == n;
    ScriptError raised;
    raised.number = n;
    raised.source = holds && !m_error.source.empty() ? m_error.source : RuntimeErrorSource;
    if (holds)
    {
        raised.description = m_error.description;
        raised.helpFile = m_error.helpFile;
        raised.helpContext = m_error.helpContext;
    }
    if (given(1))
        raised.source = com::Utf8FromUtf16(ToText(args[1]));
    if (given(2))
        raised.description = com::Utf8FromUtf16(ToText(args[2]));
    if (given(3))
        raised.helpFile = com::Utf8FromUtf16(ToText(args[3]));
    if (given(4))
        raised.helpContext = ToLong(args[4]);
    if (raised.description.empty())
        raised.description = *ErrorText(n) ? ErrorText(n) : "Unknown runtime error";
    m_error = std::move(raised);
    return m_error;
}

} // namespace tvsk::script
