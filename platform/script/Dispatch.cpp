// Late-bound calls.
#include "Dispatch.h"

#include "Arrays.h"
#include "ScriptError.h"
#include "ScriptObject.h"

#include <vector>

namespace tvsk::script
{

Value MissingArgument()
{
    Value v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

namespace
{
void FreeInfo(EXCEPINFO& info)
{
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;
}
} // namespace

namespace
{
// The storage family's failures as the language's file errors.
long StorageNumberOf(std::uint32_t code)
{
    switch (code & 0xFFFFu)
    {
    case 0x01: // invalid function
    case 0x57: // invalid parameter
        return err::InvalidCall;
    case 0x02: // file not found
        return 53;
    case 0x03: // path not found
        return 76;
    case 0x04: // too many open files
    case 0x12: // no more files
        return 67;
    case 0x05:  // access denied
    case 0x13:  // disk write-protected
    case 0x21:  // lock violation
    case 0x100: // in use
        return 70;
    case 0x06: // invalid handle
    case 0xFC: // invalid name
        return 52;
    case 0x08: // insufficient memory
        return err::OutOfMemory;
    case 0x19:  // seek error
    case 0x1D:  // write fault
    case 0x1E:  // read fault
    case 0x103: // cannot save
        return 57;
    case 0x20: // share violation
        return 75;
    case 0x50: // file already exists
        return 58;
    case 0x70: // medium full
        return 61;
    case 0xFE: // unimplemented function
        return err::NotSupported;
    default:
        return 75;
    }
}

} // namespace

long FailureNumber(HRESULT hr)
{
    const auto code = static_cast<std::uint32_t>(hr);
    switch (hr)
    {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
    case DISP_E_UNKNOWNINTERFACE:
        return err::NoSuchMember;
    case DISP_E_TYPEMISMATCH:
        return err::TypeMismatch;
    case DISP_E_BADPARAMCOUNT:
        return err::WrongArguments;
    case DISP_E_PARAMNOTOPTIONAL:
        return err::ArgumentNotOptional;
    case DISP_E_OVERFLOW:
        return err::Overflow;
    case DISP_E_BADINDEX:
        return err::SubscriptOutOfRange;
    case DISP_E_NONAMEDARGS:
        return err::NamedArguments;
    case MakeHResult(0x80020012u):
        return err::DivisionByZero;
    case E_OUTOFMEMORY:
        return err::OutOfMemory;
    case E_NOTIMPL:
        return err::NotSupported;
    case E_NOINTERFACE:
        return err::NoAutomation;
    case DISP_E_ARRAYISLOCKED:
        return err::ArrayFixed;
    case E_INVALIDARG:
        return err::InvalidCall;
    case MakeHResult(0x80040154u): // class not registered
    case MakeHResult(0x80080005u): // server execution failed
        return err::CannotCreateObject;
    default:
        break;
    }
    if (code >= 0x80030000u && code <= 0x8003010Fu) // storage
        return StorageNumberOf(code);
    // Monikers (0x800401E0..EF): the name names nothing; class objects (0x800401F0..FF): none is made.
    if (code >= 0x800401E0u && code <= 0x800401EFu)
        return err::NameNotFound;
    if (code >= 0x800401F0u && code <= 0x800401FFu)
        return err::CannotCreateObject;
    return ErrorNumberOf(hr);
}

void ThrowInvokeFailure(HRESULT hr, EXCEPINFO& info)
{
    if (hr == DISP_E_EXCEPTION)
    {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        const HRESULT code = info.scode ? info.scode : HResultOf(info.wCode);
        ScriptError error;
        error.number = FailureNumber(code);
        error.description = info.bstrDescription ? com::Utf8FromBstr(info.bstrDescription) : std::string();
        error.source = info.bstrSource ? com::Utf8FromBstr(info.bstrSource) : std::string();
        error.helpFile = info.bstrHelpFile ? com::Utf8FromBstr(info.bstrHelpFile) : std::string();
        error.helpContext = static_cast<long>(info.dwHelpContext);
        FreeInfo(info);
        if (error.description.empty())
            error.description = *ErrorText(error.number) ? ErrorText(error.number) : HResultText(code);
        if (error.source.empty())
            error.source = RuntimeErrorSource;
        throw ScriptException{std::move(error)};
    }
    FreeInfo(info);
    const long number = FailureNumber(hr);
    if (*ErrorText(number))
        Throw(number);
    Throw(number, *HResultText(hr) ? HResultText(hr) : "Automation error");
}

namespace
{
// Arrays locked for the length of a call (a locked array cannot be replaced or resized).
class ArrayLocks
{
public:
    ArrayLocks() = default;
    ArrayLocks(const ArrayLocks&) = delete;
    ArrayLocks& operator=(const ArrayLocks&) = delete;
    ~ArrayLocks()
    {
        for (SAFEARRAY* a : m_arrays)
            SafeArrayUnlock(a);
    }
    void Lock(SAFEARRAY* a)
    {
        m_arrays.reserve(m_arrays.size() + 1);
        SafeArrayLock(a);
        m_arrays.push_back(a);
    }

private:
    std::vector<SAFEARRAY*> m_arrays;
};
} // namespace

Value InvokeId(IDispatch* object, DISPID id, WORD flags, Value* args, size_t count, Value* value)
{
    if (!object)
        Throw(err::ObjectNotSet);
    // A script object's default member takes the arguments as they are: references to fixed arrays too.
    if (ScriptObject* own = id == DISPID_VALUE ? ScriptObject::From(object) : nullptr)
    {
        const int index = own->Class().defaultMember;
        if (index < 0 || !own->Class().members[static_cast<size_t>(index)].isPublic)
            Throw(err::NoSuchMember);
        return own->InvokeMember(own->Class().members[static_cast<size_t>(index)], flags, args, count, value);
    }
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const size_t total = count + (put ? 1 : 0);
    std::vector<VARIANT> raw(total);
    // A fixed array's variable holds a reference to the array, as the language keeps it.
    std::vector<VARIANT> fixedArrays(count);
    ArrayLocks held;
    // Arguments travel last first; references stay references, so the callee writes the variable.
    for (size_t i = 0; i < count; ++i)
    {
        VARIANT& slot = raw[total - 1 - i];
        std::memcpy(&slot, static_cast<VARIANT*>(&args[i]), sizeof(VARIANT));
        // A fixed array travels as a reference to a variable that refers to the array (locked while the
        // callee may hold it).
        Value& target = args[i].Target();
        if (args[i].IsReference() && target.IsArray() && !(target.vt & VT_BYREF) && target.parray &&
            (target.parray->fFeatures & FixedArray))
        {
            VARIANT& array = fixedArrays[i];
            array.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
            array.pparray = &target.parray;
            slot.pvarVal = &array;
            held.Lock(target.parray);
        }
    }
    if (put)
        std::memcpy(&raw[0], static_cast<VARIANT*>(value), sizeof(VARIANT));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{raw.data(), put ? &named : nullptr, static_cast<UINT>(total), put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      put ? nullptr : &result, &info, &argError);
    if (FAILED(hr))
    {
        VariantClear(&result);
        ThrowInvokeFailure(hr, info);
    }
    FreeInfo(info);
    return Value::Adopt(result);
}

Value InvokeName(IDispatch* object, std::u16string_view name, WORD flags, Value* args, size_t count,
                 Value* value, bool allowPrivate)
{
    if (!object)
        Throw(err::ObjectNotSet);
    if (ScriptObject* own = ScriptObject::From(object))
    {
        const ClassMember* member = own->Class().Find(Lower(name));
        if (!member || (!member->isPublic && !allowPrivate))
            Throw(err::NoSuchMember);
        return own->InvokeMember(*member, flags, args, count, value);
    }
    std::u16string text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        Throw(err::NoSuchMember);
    return InvokeId(object, id, flags, args, count, value);
}

HRESULT ReportException(const ScriptError& error, EXCEPINFO* info)
{
    if (!info)
        return HResultOf(error.number);
    *info = EXCEPINFO{};
    info->scode = HResultOf(error.number);
    info->bstrDescription = com::BstrFromUtf8(error.description);
    info->bstrSource = com::BstrFromUtf8(error.source);
    if (!error.helpFile.empty())
        info->bstrHelpFile = com::BstrFromUtf8(error.helpFile);
    info->dwHelpContext = static_cast<DWORD>(error.helpContext);
    return DISP_E_EXCEPTION;
}

} // namespace tvsk::script
