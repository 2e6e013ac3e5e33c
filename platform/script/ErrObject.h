// Err: the last run-time error (Number, Description, Source) with Raise and Clear.
#pragma once

#include "ScriptError.h"
#include "Value.h"

#include <com/Dispatch.h>

namespace tvsk::script
{

class ErrObject final : public IDispatch
{
public:
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override;
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

    void Set(const ScriptError& error) { m_error = error; }
    // Err.Raise: the error raised (kept as Err's), from number, source, description, help file and
    // context; omitted ones keep what Err holds for the same number.
    const ScriptError& Raised(const Value* args, size_t count);
    const ScriptError& Get() const { return m_error; }

private:
    ScriptError m_error;
    ULONG m_references = 0;
};

} // namespace tvsk::script
