// Script class instances.
#include "ScriptObject.h"

#include "Arrays.h"
#include "Convert.h"
#include "Dispatch.h"
#include "Interpreter.h"
#include "SmallVector.h"

#include <new>
#include <typeinfo>

namespace tvsk::script
{

namespace
{
thread_local bool t_destroying = false;
thread_local std::vector<ScriptObject*>* t_pending = nullptr;
} // namespace

ScriptObject::ScriptObject(Interpreter& interp, const ClassDef& cls)
    : m_interp(interp), m_keepAlive(interp.shared_from_this()), m_class(cls), m_fields(cls.fields.size())
{
}

ScriptObject::~ScriptObject() = default;

ScriptObject* ScriptObject::From(IDispatch* object)
{
    if (!object)
        return nullptr;
    // The engine's own objects are known by their type, without counting references on every call.
    if (typeid(*object) == typeid(ScriptObject))
        return static_cast<ScriptObject*>(object);
    void* own = nullptr;
    if (object->QueryInterface(Iid, &own) != S_OK)
        return nullptr;
    auto* o = static_cast<ScriptObject*>(own);
    o->Release();
    return o;
}

HRESULT ScriptObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Iid)
    {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ScriptObject::AddRef()
{
    return ++m_references;
}

ULONG ScriptObject::Release()
{
    if (--m_references)
        return m_references;
    if (!m_terminated)
    {
        m_terminated = true;
        m_references = 1;
        Terminate();
        if (--m_references)
            return m_references;
    }
    if (t_destroying)
    {
        t_pending->push_back(this);
        return 0;
    }
    std::vector<ScriptObject*> pending;
    t_pending = &pending;
    t_destroying = true;
    delete this;
    while (!pending.empty())
    {
        ScriptObject* next = pending.back();
        pending.pop_back();
        delete next;
    }
    t_destroying = false;
    t_pending = nullptr;
    return 0;
}

void ScriptObject::Terminate()
{
    if (!m_class.terminate || m_interp.Closed())
        return;
    try
    {
        m_interp.Call(*m_class.terminate, this, nullptr, 0);
    }
    catch (const ScriptException&)
    {
    }
    catch (const std::bad_alloc&)
    {
    }
}

void ScriptObject::Initialize()
{
    Frame f{m_interp};
    for (size_t i = 0; i < m_class.fields.size(); ++i)
    {
        const FieldDef& field = m_class.fields[i];
        if (!field.isArray)
            continue;
        if (field.bounds.empty())
        {
            m_fields[i] = Value::AdoptArray(nullptr);
            continue;
        }
        std::vector<LONG> upper;
        for (const auto& b : field.bounds)
            upper.push_back(ToLong(b->Eval(f)));
        m_fields[i] = NewArray(upper, true);
    }
    if (m_class.initialize)
        m_interp.Call(*m_class.initialize, this, nullptr, 0);
}

HRESULT ScriptObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT ScriptObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const ClassMember* member =
        m_class.Find(Lower(names[0] ? std::u16string_view(names[0]) : std::u16string_view()));
    if (!member || !member->isPublic)
        return DISP_E_UNKNOWNNAME;
    ids[0] = static_cast<DISPID>(member - m_class.members.data()) + 1;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT*)
{
    if (m_interp.Closed())
        return E_UNEXPECTED;
    const ClassMember* member = nullptr;
    if (id == DISPID_VALUE)
    {
        if (m_class.defaultMember < 0)
            return DISP_E_MEMBERNOTFOUND;
        member = &m_class.members[static_cast<size_t>(m_class.defaultMember)];
    }
    else if (id >= 1 && static_cast<size_t>(id) <= m_class.members.size())
        member = &m_class.members[static_cast<size_t>(id) - 1];
    if (!member || !member->isPublic)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (!params)
        params = &none;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (put && params->cArgs == 0)
        return DISP_E_PARAMNOTOPTIONAL;
    const size_t count = params->cArgs - (put ? 1 : 0);
    std::vector<Value> args(count);
    // The first argument is last in rgvarg; references are kept so ByRef parameters write through.
    for (size_t i = 0; i < count; ++i)
    {
        VARIANT& raw = params->rgvarg[params->cArgs - 1 - i];
        args[i] = Value::Argument(raw);
    }
    Value value;
    if (put)
        value = Value(params->rgvarg[0]);
    AddRef();
    HRESULT hr = S_OK;
    try
    {
        Value r = InvokeMember(*member, flags, args.data(), count, put ? &value : nullptr);
        if (result)
        {
            VariantClear(result);
            *result = r.Detach();
        }
    }
    catch (const ScriptException& e)
    {
        hr = ReportException(e.error, exception);
    }
    catch (const std::bad_alloc&)
    {
        hr = E_OUTOFMEMORY;
    }
    Release();
    return hr;
}

Value ScriptObject::InvokeMember(const ClassMember& member, WORD flags, Value* args, size_t count,
                                 Value* value)
{
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const bool set = flags & DISPATCH_PROPERTYPUTREF;
    if (member.field >= 0)
    {
        Value& field = m_fields[static_cast<size_t>(member.field)];
        if (put)
        {
            if (count)
                AssignIndexed(field, args, count, std::move(*value), set);
            else
            {
                Value v = set ? SetValue(std::move(*value)) : LetValue(std::move(*value));
                CheckReplaceable(field);
                field = std::move(v);
            }
            return {};
        }
        if (count)
            return IndexValue(field, args, count);
        return field;
    }
    if (put)
    {
        const Procedure* p = set ? member.set : member.let;
        if (!p)
            Throw(member.get || member.method ? err::WrongArguments : err::NoSuchMember);
        // The index arguments and the value go straight into the procedure's slots.
        const bool fits = count + 1 == p->params.size();
        Slots all(fits ? static_cast<size_t>(p->localCount) : count + 1);
        for (size_t i = 0; i < count; ++i)
            all.data()[i] = args[i];
        all.data()[count] = set ? SetValue(std::move(*value)) : LetValue(std::move(*value));
        if (fits)
            m_interp.Enter(*p, this, all.data());
        else
            m_interp.Call(*p, this, all.data(), count + 1);
        return {};
    }
    if (member.get)
        return m_interp.Call(*member.get, this, args, count);
    if (member.method)
    {
        // A Sub takes no index list of its own result: f(1) on a Sub with no parameters is an error.
        return m_interp.Call(*member.method, this, args, count);
    }
    Throw(err::NoSuchMember);
}

} // namespace tvsk::script
