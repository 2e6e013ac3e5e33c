// An instance of a script Class: its fields, and its members reached by name through IDispatch.
#pragma once

#include "Ast.h"

#include <com/TypeInfo.h>

#include <memory>

namespace tvsk::script
{

class ScriptObject final : public IDispatch
{
public:
    // Answered by QueryInterface so the evaluator recognises its own objects.
    static constexpr IID Iid = MakeGuid("6C1D2A8E-3F41-4E7B-9B0D-52A6E4F1C903");

    ScriptObject(Interpreter& interp, const ClassDef& cls);
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    // At the last release Class_Terminate runs; objects released while another is being destroyed
    // are destroyed after it, so a long chain of objects never deepens the stack.
    ULONG Release() override;
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override;

    const ClassDef& Class() const { return m_class; }
    Value& Field(int index) { return m_fields[static_cast<size_t>(index)]; }
    // Calls a member: flags DISPATCH_PROPERTYPUT/PUTREF put `value` (args are the indexes).
    Value InvokeMember(const ClassMember& member, WORD flags, Value* args, size_t count, Value* value);
    // Creation: fields, then Class_Initialize.
    void Initialize();
    // The object answering QueryInterface for Iid, or null.
    static ScriptObject* From(IDispatch* object);

private:
    ~ScriptObject();
    void Terminate();

    Interpreter& m_interp;
    std::shared_ptr<Interpreter> m_keepAlive;
    const ClassDef& m_class;
    std::vector<Value> m_fields;
    ULONG m_references = 0;
    bool m_terminated = false;
};

} // namespace tvsk::script
