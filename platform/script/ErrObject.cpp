// The Err object.
#include "ErrObject.h"

#include "Convert.h"
#include "Dispatch.h"
#include "Ast.h"

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
                m_error.number = ToLong(Value(params->rgvarg[0]));
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
            if (!put)
                r = Value::Utf8("");
            break;
        case HelpContext:
            if (!put)
                r = Value::Long(0);
            break;
        case Raise:
        {
            if (params->cArgs < 1 || params->cArgs > 5)
                return DISP_E_BADPARAMCOUNT;
            const Value number = arg(0);
            if (IsMissing(number))
                Throw(err::ArgumentNotOptional);
            const LONG n = ToLong(number);
            if (n == 0)
                Throw(err::InvalidCall);
            std::string source = RuntimeErrorSource;
            std::string description;
            if (params->cArgs > 1 && !IsMissing(arg(1)))
                source = com::Utf8FromUtf16(ToText(arg(1)));
            if (params->cArgs > 2 && !IsMissing(arg(2)))
                description = com::Utf8FromUtf16(ToText(arg(2)));
            else
                description =
                    *ErrorText(ErrorNumberOf(n)) ? ErrorText(ErrorNumberOf(n)) : "Unknown runtime error";
            m_error = {n, description, source};
            return ReportException(n, description, source, exception);
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
        return ReportException(e.error.number, e.error.description, e.error.source, exception);
    }
}

} // namespace tvsk::script
