// A small IDispatch for event sinks held by value: its own count (it never deletes itself), and
// Invoke handing the event's number, its first argument as text and all arguments to OnEvent.
#pragma once

#include <com/Com.h>

class CImpIDispatch : public IDispatch
{
public:
    CImpIDispatch() = default;
    virtual ~CImpIDispatch() = default;
    CImpIDispatch(const CImpIDispatch&) = delete;
    CImpIDispatch& operator=(const CImpIDispatch&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override { return m_references > 0 ? --m_references : 0; }
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

protected:
    // text: the first argument when it is a string, else null.
    virtual void OnEvent(DISPID id, const char* text, DISPPARAMS* params) = 0;
    // The outgoing interface the sink answers besides IDispatch (IID_NULL: none).
    virtual const IID& EventIid() const = 0;

private:
    ULONG m_references = 0;
};
