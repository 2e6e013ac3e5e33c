// Calls from the evaluator into objects: by name or id, with ByRef arguments and the language's errors.
#pragma once

#include "ScriptError.h"
#include "Value.h"

#include <string_view>

namespace tvsk::script
{

// The value for an omitted argument.
Value MissingArgument();
inline bool IsMissing(const Value& v)
{
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

// Invokes a member of object; for puts value is the value put. Arguments may be references
// (VT_BYREF | VT_VARIANT) the callee writes through. Failures are thrown as the language's errors.
Value InvokeName(IDispatch* object, std::u16string_view name, WORD flags, Value* args, size_t count,
                 Value* value = nullptr, bool allowPrivate = false);
Value InvokeId(IDispatch* object, DISPID id, WORD flags, Value* args, size_t count, Value* value = nullptr);
// The language's number for a failure a host object reports (E_NOINTERFACE 430 ...).
long FailureNumber(HRESULT hr);
// Throws the error a failed Invoke stands for.
[[noreturn]] void ThrowInvokeFailure(HRESULT hr, EXCEPINFO& info);
// Fills EXCEPINFO from a script error, for objects the script implements.
HRESULT ReportException(const ScriptError& error, EXCEPINFO* info);

} // namespace tvsk::script
