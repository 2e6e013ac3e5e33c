// Evaluation of expressions and statements.
#include "Arrays.h"
#include "Builtins.h"
#include "Convert.h"
#include "Dispatch.h"
#include "ErrObject.h"
#include "Interpreter.h"
#include "Operators.h"
#include "RegExp.h"
#include "ScriptObject.h"
#include "SmallVector.h"

#include <com/EnumVariant.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace tvsk::script
{

namespace
{

bool IsVariable(Binding binding)
{
    return binding == Binding::Local || binding == Binding::Global || binding == Binding::Field;
}

// Arrays locked while references to their elements live.
class ArrayLocks
{
public:
    ArrayLocks() = default;
    ~ArrayLocks()
    {
        for (size_t i = 0; i < m_locked.size(); ++i)
            SafeArrayUnlock(m_locked.data()[i]);
    }
    ArrayLocks(const ArrayLocks&) = delete;
    ArrayLocks& operator=(const ArrayLocks&) = delete;
    void Add(SAFEARRAY* array) { m_locked.push_back(array); }

private:
    SmallVector<SAFEARRAY*, 2> m_locked; // most calls lock nothing
};

// Evaluates a call's arguments into out: variables as references (ByRef), the rest as values.
[[gnu::always_inline]] inline void EvaluateArguments(Frame& f, const Arguments& args, Value* out,
                                                     ArrayLocks& locks)
{
    for (const auto& a : args)
    {
        Value& to = *out++;
        if (!a)
        {
            to = MissingArgument();
            continue;
        }
        SAFEARRAY* locked = nullptr;
        // The slots are blank: a value is made in place.
        if (!a->names)
            new (&to) Value(a->Eval(f));
        else if (Value* ref = a->Ref(f))
            to = Value::Reference(*ref);
        else if (Value* element = a->ElementRef(f, &locked))
        {
            locks.Add(locked);
            to = Value::Reference(*element);
        }
        else
            new (&to) Value(a->Eval(f));
    }
}

// Arguments evaluated for a call.
class ArgValues
{
public:
    ArgValues(Frame& f, const Arguments& args) : m_values(args.size())
    {
        EvaluateArguments(f, args, m_values.data(), m_locks);
    }
    Value* data() { return m_values.data(); }
    size_t size() const { return m_values.size(); }

private:
    SmallValues m_values;
    ArrayLocks m_locks; // unlocked before the values go
};

// A call with another number of arguments than the procedure has parameters: Call's error.
[[gnu::noinline]] Value CallWithOtherCount(Frame& f, const Procedure& p, ScriptObject* me,
                                           const Arguments& args)
{
    ArgValues values(f, args);
    return f.interp.Call(p, me, values.data(), values.size());
}

// A call of a script procedure whose arguments go straight into the callee's slots.
[[gnu::noinline]] Value CallProcedure(Frame& f, const Procedure& p, ScriptObject* me, const Arguments& args)
{
    if (args.size() != p.params.size())
        return CallWithOtherCount(f, p, me, args);
    // The locks outlive the callee's locals, which may refer to elements.
    ArrayLocks locks;
    Slots locals(static_cast<size_t>(p.localCount));
    EvaluateArguments(f, args, locals.data(), locks);
    return f.interp.Enter(p, me, locals.data());
}

// An array's indexes, evaluated as numbers.
class Indexes
{
public:
    Indexes(Frame& f, const Arguments& args)
    {
        for (const auto& a : args)
        {
            if (!a)
                Throw(err::SubscriptOutOfRange);
            // A variable or literal index is read where it lives; an object's default value could run
            // code that replaces it meanwhile, so that one is copied.
            const Value* plain = a->Peek(f);
            m_at.push_back(plain && !plain->IsObject() ? ToLong(*plain) : ToLong(a->Eval(f)));
        }
    }
    const LONG* data() const { return const_cast<Indexes*>(this)->m_at.data(); }
    size_t size() const { return m_at.size(); }

private:
    SmallVector<LONG, 4> m_at;
};

// Index arguments: plain values.
std::vector<LONG> Indices(Value* args, size_t count)
{
    std::vector<LONG> out(count);
    for (size_t i = 0; i < count; ++i)
    {
        if (IsMissing(args[i]))
            Throw(err::SubscriptOutOfRange);
        out[i] = ToLong(args[i]);
    }
    return out;
}

ScriptObject* Me(Frame& f)
{
    if (!f.me)
        Throw(err::ObjectRequired);
    return f.me;
}

[[gnu::noinline]] Value CallBuiltin(Frame& f, const Builtin& b, const Arguments& args)
{
    const int n = static_cast<int>(args.size());
    if (n < b.minArgs || n > b.maxArgs)
        Throw(err::WrongArguments);
    // A plain argument is lent to a function that only reads it when the arguments after it run no
    // code that could change it meanwhile (an object's default member, a procedure).
    size_t lendable = args.size(); // the arguments from here on run no code
    if (b.borrows)
    {
        size_t firstPlain = 0; // only plain arguments are lent: the ones before need no check
        while (firstPlain < args.size() &&
               !(args[firstPlain] && (args[firstPlain]->literal || args[firstPlain]->Plain())))
            ++firstPlain;
        while (lendable > firstPlain &&
               (!args[lendable - 1] || args[lendable - 1]->literal || args[lendable - 1]->RunsNoCode(f)))
            --lendable;
    }
    SmallValues values;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const Expr* a = args[i].get();
        // The arguments before may have run code that made the rest's variables objects.
        if (i == lendable && i > 0)
            for (size_t j = i; j < args.size() && lendable < args.size(); ++j)
                if (args[j] && !args[j]->literal && !args[j]->RunsNoCode(f))
                    lendable = args.size();
        if (!a)
            values.push_back(MissingArgument());
        else if (i >= lendable && a->literal)
            values.push_back(Value::Reference(const_cast<Value&>(static_cast<const LiteralExpr*>(a)->value)));
        else if (i >= lendable && a->Plain())
            values.push_back(Value::Reference(const_cast<Value&>(*a->Peek(f))));
        else
            values.push_back(a->Eval(f));
    }
    return b.call(f, values.data(), n);
}

Value CallMeMember(Frame& f, int slot, WORD flags, const Arguments& args, Value* value = nullptr)
{
    ScriptObject* me = Me(f);
    const ClassMember& member = me->Class().members[static_cast<size_t>(slot)];
    ArgValues values(f, args);
    return me->InvokeMember(member, flags, values.data(), values.size(), value);
}

void Tick(Frame& f)
{
    f.interp.Tick();
}

ComPtr<IDispatch> WithObject(Frame& f)
{
    if (!f.with)
        Throw(err::InvalidQualifier);
    return ObjectOf(f.with->object);
}

} // namespace

Value LetValue(Value value)
{
    const Value& t = value.Target();
    if (t.IsObject())
        return Scalar(t);
    if (value.IsReference())
        return Value(t);
    return value;
}

Value SetValue(Value value)
{
    const Value& t = value.Target();
    if (!t.IsObject())
        Throw(err::ObjectRequired);
    if (value.IsReference())
        return Value(t);
    return value;
}

Value IndexValue(const Value& container, Value* args, size_t count)
{
    const Value& c = container.Target();
    if (c.IsArray())
    {
        const auto idx = Indices(args, count);
        return ReadElement(c.parray, idx.data(), idx.size());
    }
    if (c.IsObject())
        return InvokeId(ObjectOf(c).Get(), DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, count);
    if (count == 0)
        return c;
    Throw(err::TypeMismatch);
}

void AssignIndexed(Value& container, Value* args, size_t count, Value value, bool set)
{
    Value& c = container.Target();
    if (c.IsArray())
    {
        Value v = set ? SetValue(std::move(value)) : LetValue(std::move(value));
        CheckNesting(v);
        const auto idx = Indices(args, count);
        *Element(c.parray, idx.data(), idx.size()) = std::move(v);
        return;
    }
    if (c.IsObject())
    {
        InvokeId(ObjectOf(c).Get(), DISPID_VALUE, set ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, args,
                 count, &value);
        return;
    }
    Throw(err::TypeMismatch);
}

namespace
{
// The element a(i) names when i is a variable or literal of Integer or Long inside a one-dimensional
// array of variants; null leaves it to the general path (and its errors).
Value* DirectElement(Frame& f, const Value& array, const Arguments& args)
{
    if (args.size() != 1 || !args[0] || array.vt != (VT_ARRAY | VT_VARIANT))
        return nullptr;
    SAFEARRAY* a = array.parray;
    if (!a || a->vt != VT_VARIANT || a->cDims != 1)
        return nullptr;
    const Value* index = args[0]->Peek(f);
    if (!index || (index->vt != VT_I2 && index->vt != VT_I4))
        return nullptr;
    const long long at =
        (index->vt == VT_I2 ? index->iVal : index->lVal) - static_cast<long long>(a->rgsabound[0].lLbound);
    if (at < 0 || at >= static_cast<long long>(a->rgsabound[0].cElements))
        return nullptr;
    return static_cast<Value*>(a->pvData) + at;
}
} // namespace

void Expr::Call(Frame& f) const
{
    Eval(f);
}

void Expr::Assign(Frame&, Value, bool) const
{
    Throw(err::IllegalAssignment);
}

bool Expr::IsTrue(Frame& f) const
{
    const Value c = Eval(f);
    return c.vt == VT_BOOL ? c.boolVal != VARIANT_FALSE : Truth(c);
}

// Names.

[[gnu::always_inline]] inline Value* NameExpr::Variable(Frame& f) const
{
    if (binding == Binding::Local && !global)
    {
        Value& local = f.locals[slot];
        return local.IsReference() ? &local.Target() : &local;
    }
    if (binding == Binding::Global && defined)
        return &global->Target();
    if (binding == Binding::Field && f.me)
        return &f.me->Field(slot).Target();
    return OtherVariable(f);
}

Value* NameExpr::OtherVariable(Frame& f) const
{
    switch (binding)
    {
    case Binding::Local:
        // An undeclared name in a procedure is the global of that name once the global code made it.
        if (global && f.interp.Defined(global))
            return &global->Target();
        return &f.locals[slot].Target();
    case Binding::Global:
        if (!defined)
        {
            f.interp.Define(global);
            defined = true;
        }
        return &global->Target();
    case Binding::Field:
        return &Me(f)->Field(slot).Target();
    default:
        return nullptr;
    }
}

bool NameExpr::Plain() const
{
    return PlainName();
}

const Value* NameExpr::Peek(Frame& f) const
{
    if (PlainName())
        return binding == Binding::Constant ? &constant : Variable(f);
    if (!IsVariable(binding))
        return nullptr;
    return PeekElement(f);
}

const Value* NameExpr::PeekElement(Frame& f) const
{
    // An element a(i) of an array is read where it lives: reading it runs no code. An object is copied
    // (its default member could free the array meanwhile).
    if (args.size() == 1 && IsVariable(binding))
    {
        const Value* element = DirectElement(f, *Variable(f), args);
        return element && !element->IsObject() ? element : nullptr;
    }
    return nullptr;
}

bool NameExpr::RunsNoCode(Frame& f) const
{
    if (PlainName())
        return !Peek(f)->IsObject();
    if (binding != Binding::Builtin || !builtin->borrows)
        return false;
    for (const auto& a : args)
        if (a && !a->RunsNoCode(f))
            return false;
    return true;
}

Value* NameExpr::Ref(Frame& f) const
{
    if (!args.empty() || readOnly)
        return nullptr;
    Value* v = Variable(f);
    // x() of an object is its default member's value.
    if (v && hasParens && v->Target().IsObject())
        return nullptr;
    return v;
}

Value* NameExpr::StableVariable(Frame& f) const
{
    if (!args.empty() || hasParens || readOnly)
        return nullptr;
    if ((binding == Binding::Local && !global) || binding == Binding::Global)
        return Variable(f);
    return nullptr;
}

Value* NameExpr::ElementRef(Frame& f, SAFEARRAY** locked) const
{
    if (args.empty() || readOnly)
        return nullptr;
    Value* v = Variable(f);
    if (!v || !v->IsArray() || !v->parray || v->parray->vt != VT_VARIANT)
        return nullptr;
    std::vector<LONG> indices;
    indices.reserve(args.size());
    for (const auto& a : args)
    {
        if (!a)
            Throw(err::SubscriptOutOfRange);
        indices.push_back(ToLong(a->Eval(f)));
    }
    // The indexes may have run code that replaced the variable.
    v = Variable(f);
    if (!v->IsArray() || !v->parray || v->parray->vt != VT_VARIANT)
        Throw(err::TypeMismatch);
    Value* element = Element(v->parray, indices.data(), indices.size());
    SafeArrayLock(v->parray);
    *locked = v->parray;
    return element;
}

Value NameExpr::Eval(Frame& f) const
{
    if (PlainName())
        return binding == Binding::Constant ? constant : *Variable(f);
    if (binding == Binding::Procedure)
        return CallProcedure(f, *procedure, nullptr, args);
    if (binding == Binding::Builtin)
        return CallBuiltin(f, *builtin, args);
    return EvalCall(f);
}

Value NameExpr::EvalCall(Frame& f) const
{
    switch (binding)
    {
    case Binding::Local:
    case Binding::Global:
    case Binding::Field:
    {
        const Value& v = *Variable(f);
        if (args.empty() && !(hasParens && v.Target().IsObject()))
            return v;
        if (const Value* element = DirectElement(f, v, args))
            return *element;
        if (v.IsArray())
        {
            const Indexes at(f, args);
            // The indexes may have run code that replaced the variable.
            const Value& array = *Variable(f);
            if (array.IsArray())
                return ReadElement(array.parray, at.data(), at.size());
        }
        ArgValues values(f, args);
        return IndexValue(*Variable(f), values.data(), values.size());
    }
    case Binding::Constant:
        if (args.empty())
            return constant;
        {
            ArgValues values(f, args);
            return IndexValue(constant, values.data(), values.size());
        }
    case Binding::MeMember:
        return CallMeMember(f, slot, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
    case Binding::Procedure:
        return CallProcedure(f, *procedure, nullptr, args);
    case Binding::Builtin:
        return CallBuiltin(f, *builtin, args);
    case Binding::ErrObject:
    {
        Value err = Value::Object(f.interp.ErrDispatch());
        if (args.empty())
            return err;
        ArgValues values(f, args);
        return IndexValue(err, values.data(), values.size());
    }
    case Binding::NamedItem:
    {
        Value item = Value::Object(f.interp.NamedItemObject(static_cast<size_t>(slot)));
        if (args.empty() && !hasParens)
            return item;
        ArgValues values(f, args);
        return IndexValue(item, values.data(), values.size());
    }
    case Binding::GlobalMember:
    {
        ArgValues values(f, args);
        const ComPtr<IDispatch> item(f.interp.NamedItemObject(static_cast<size_t>(slot)));
        return InvokeId(item.Get(), dispid, DISPATCH_METHOD | DISPATCH_PROPERTYGET, values.data(),
                        values.size());
    }
    default:
        Throw(err::VariableUndefined);
    }
}

void NameExpr::Call(Frame& f) const
{
    switch (binding)
    {
    case Binding::MeMember:
        CallMeMember(f, slot, DISPATCH_METHOD, args);
        return;
    case Binding::GlobalMember:
    {
        ArgValues values(f, args);
        const ComPtr<IDispatch> item(f.interp.NamedItemObject(static_cast<size_t>(slot)));
        InvokeId(item.Get(), dispid, DISPATCH_METHOD, values.data(), values.size());
        return;
    }
    case Binding::Local:
    case Binding::Global:
    case Binding::Field:
    {
        Value* v = Variable(f);
        if (v->IsObject())
        {
            ArgValues values(f, args);
            InvokeId(ObjectOf(*v).Get(), DISPID_VALUE, DISPATCH_METHOD, values.data(), values.size());
            return;
        }
        if (args.empty())
            Throw(err::TypeMismatch);
        Eval(f);
        return;
    }
    default:
        Eval(f);
    }
}

void NameExpr::Assign(Frame& f, Value value, bool set) const
{
    switch (binding)
    {
    case Binding::Local:
    case Binding::Global:
    case Binding::Field:
    {
        Value* v = Variable(f);
        if (!args.empty() && v->IsArray())
        {
            const Indexes at(f, args);
            Value element = set ? SetValue(std::move(value)) : LetValue(std::move(value));
            CheckNesting(element);
            v = Variable(f);
            if (!v->IsArray())
                Throw(err::TypeMismatch);
            *Element(v->parray, at.data(), at.size()) = std::move(element);
            return;
        }
        if (!args.empty())
        {
            ArgValues values(f, args);
            AssignIndexed(*Variable(f), values.data(), values.size(), std::move(value), set);
            return;
        }
        if (set)
        {
            Value object = SetValue(std::move(value));
            v = Variable(f);
            CheckReplaceable(*v);
            *v = std::move(object);
            return;
        }
        Value let = LetValue(std::move(value));
        v = Variable(f);
        CheckReplaceable(*v);
        *v = std::move(let);
        return;
    }
    case Binding::MeMember:
        CallMeMember(f, slot, set ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, args, &value);
        return;
    case Binding::GlobalMember:
    {
        ArgValues values(f, args);
        const ComPtr<IDispatch> item(f.interp.NamedItemObject(static_cast<size_t>(slot)));
        InvokeId(item.Get(), dispid, set ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, values.data(),
                 values.size(), &value);
        return;
    }
    case Binding::NamedItem:
    case Binding::ErrObject:
        if (!args.empty())
        {
            Value object = Eval(f);
            ArgValues values(f, args);
            AssignIndexed(object, values.data(), values.size(), std::move(value), set);
            return;
        }
        Throw(err::IllegalAssignment);
    case Binding::Undefined:
        Throw(err::VariableUndefined);
    default:
        Throw(err::IllegalAssignment);
    }
}

// Members.

namespace
{
Value ObjectValue(Frame& f, const ExprPtr& object)
{
    if (!object)
        return Value::Object(WithObject(f).Get());
    return object->Eval(f);
}

Value MemberOn(Frame& f, const MemberExpr& m, IDispatch* target, WORD flags, Value* args, size_t count,
               Value* value)
{
    // Err.Raise throws the error itself: its number and texts stay as raised.
    if (target == f.interp.ErrDispatch() && Lower(m.name) == u"raise")
        throw ScriptException{f.interp.Err().Raised(args, count)};
    const bool mine = f.me && m.onMe;
    if (ScriptObject* own = ScriptObject::From(target))
    {
        if (m.cachedClass != &own->Class())
        {
            m.cachedMember = own->Class().Find(Lower(m.name));
            m.cachedClass = &own->Class();
        }
        if (!m.cachedMember || (!m.cachedMember->isPublic && !mine))
            Throw(err::NoSuchMember);
        return own->InvokeMember(*m.cachedMember, flags, args, count, value);
    }
    return InvokeName(target, m.name, flags, args, count, value, mine);
}

Value Member(Frame& f, const MemberExpr& m, WORD flags, Value* value)
{
    // A variable's object is taken where it lives: the reference taken keeps it while the member runs.
    const Value* plain = m.object ? m.object->Peek(f) : nullptr;
    const ComPtr<IDispatch> target = plain ? ObjectOf(*plain) : ObjectOf(ObjectValue(f, m.object));
    if (!target)
        Throw(err::ObjectRequired);
    if (m.args.empty())
        return MemberOn(f, m, target.Get(), flags, nullptr, 0, value);
    ArgValues values(f, m.args);
    return MemberOn(f, m, target.Get(), flags, values.data(), values.size(), value);
}
} // namespace

Value MemberExpr::Eval(Frame& f) const
{
    return Member(f, *this, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr);
}
void MemberExpr::Call(Frame& f) const
{
    Member(f, *this, DISPATCH_METHOD, nullptr);
}
void MemberExpr::Assign(Frame& f, Value value, bool set) const
{
    Member(f, *this, set ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, &value);
}

Value IndexExpr::Eval(Frame& f) const
{
    Value b = base->Eval(f);
    ArgValues values(f, args);
    return IndexValue(b, values.data(), values.size());
}

void IndexExpr::Call(Frame& f) const
{
    Eval(f);
}

void IndexExpr::Assign(Frame& f, Value value, bool set) const
{
    Value b = base->Eval(f);
    if (b.IsArray())
        Throw(err::IllegalAssignment);
    ArgValues values(f, args);
    AssignIndexed(b, values.data(), values.size(), std::move(value), set);
}

Value MeExpr::Eval(Frame& f) const
{
    // In the global code Me is the script itself.
    if (!f.me)
        return Value::Object(f.interp.GlobalObject());
    return Value::Object(f.me);
}

Value NewExpr::Eval(Frame& f) const
{
    const std::u16string lower = Lower(className);
    const ClassDef* cls = f.interp.FindClass(lower);
    if (!cls && lower == u"regexp")
        return Value::Object(new RegExp);
    if (!cls)
        Throw(err::ClassNotDefined);
    return f.interp.NewObject(*cls);
}

// Operators.

namespace
{
bool IsInteger(VARTYPE vt)
{
    return vt == VT_I2 || vt == VT_I4;
}

Value CompareResult(Op op, Order o)
{
    switch (op)
    {
    case Op::Eq:
        return Value::Bool(o == Order::Equal);
    case Op::Ne:
        return Value::Bool(o != Order::Equal);
    case Op::Lt:
        return Value::Bool(o == Order::Less);
    case Op::Gt:
        return Value::Bool(o == Order::Greater);
    case Op::Le:
        return Value::Bool(o != Order::Greater);
    default:
        return Value::Bool(o != Order::Less);
    }
}

bool IsNumber(VARTYPE vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_R8;
}

// Integer, Long and Double operands of +, -, * and the compares take the straight path.
bool Straight(Op op, const Value& a, const Value& b)
{
    switch (op)
    {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Gt:
    case Op::Le:
    case Op::Ge:
        return IsNumber(a.vt) && IsNumber(b.vt);
    default:
        return false;
    }
}

template <class T> [[gnu::always_inline]] inline bool NumericTest(Op op, T x, T y)
{
    switch (op)
    {
    case Op::Eq: // as the general rules order them: neither less nor greater is equal
        return !(x < y) && !(x > y);
    case Op::Ne:
        return x < y || x > y;
    case Op::Lt:
        return x < y;
    case Op::Gt:
        return x > y;
    case Op::Le:
        return !(x > y);
    default:
        return !(x < y);
    }
}

template <class T> [[gnu::always_inline]] inline Value NumericCompare(Op op, T x, T y)
{
    return Value::Bool(NumericTest(op, x, y));
}

[[gnu::always_inline]] inline Value IntegerValue(long long r, bool integers)
{
    if (integers && r >= -32768 && r <= 32767)
        return Value::Int(static_cast<SHORT>(r));
    if (r >= -2147483648LL && r <= 2147483647LL)
        return Value::Long(static_cast<LONG>(r));
    return Value::Double(static_cast<double>(r));
}

// The straight path's result (Straight is true); results are returned whole, never moved through
// temporaries. The result widens as the general rules widen it (Integer to Long, Long to Double).
[[gnu::always_inline]] inline Value StraightValue(Op op, const Value& a, const Value& b)
{
    if (a.vt != VT_R8 && b.vt != VT_R8)
    {
        const bool aInt = a.vt == VT_I2, bInt = b.vt == VT_I2;
        const long long x = aInt ? a.iVal : a.lVal;
        const long long y = bInt ? b.iVal : b.lVal;
        switch (op)
        {
        case Op::Add:
            return IntegerValue(x + y, aInt && bInt);
        case Op::Sub:
            return IntegerValue(x - y, aInt && bInt);
        case Op::Mul:
            return IntegerValue(x * y, aInt && bInt);
        default:
            return NumericCompare(op, x, y);
        }
    }
    const double x = a.vt == VT_R8 ? a.dblVal : a.vt == VT_I4 ? a.lVal : a.iVal;
    const double y = b.vt == VT_R8 ? b.dblVal : b.vt == VT_I4 ? b.lVal : b.iVal;
    double r = 0;
    switch (op)
    {
    case Op::Add:
        r = x + y;
        break;
    case Op::Sub:
        r = x - y;
        break;
    case Op::Mul:
        r = x * y;
        break;
    default:
        return NumericCompare(op, x, y);
    }
    // An overflow is the general rules' error.
    if (!std::isfinite(r))
        return op == Op::Add ? Add(a, b) : op == Op::Sub ? Subtract(a, b) : Multiply(a, b);
    return Value::Double(r);
}
} // namespace

BinaryExpr::Direct BinaryExpr::DirectOperand(Frame& f, const Expr& e, bool& later)
{
    if (const auto* literal = dynamic_cast<const LiteralExpr*>(&e))
        return {&literal->value, -1};
    const auto* name = dynamic_cast<const NameExpr*>(&e);
    if (!name || !name->args.empty() || name->hasParens)
        return {};
    if (name->binding == Binding::Local && !name->global)
        return {nullptr, name->slot};
    // A global once defined stays so.
    if (name->binding == Binding::Global)
    {
        if (name->defined || f.interp.Defined(name->global))
            return {name->global, -1};
        later = true;
    }
    return {};
}

[[gnu::always_inline]] inline const Value& BinaryExpr::Read(Frame& f, const Direct& d) const
{
    return (d.fixed ? *d.fixed : f.locals[d.local]).Target();
}

void BinaryExpr::FindDirect(Frame& f) const
{
    bool later = false;
    m_left = DirectOperand(f, *left, later);
    m_right = DirectOperand(f, *right, later);
    m_direct = (m_left.fixed || m_left.local >= 0) && (m_right.fixed || m_right.local >= 0);
    m_directKnown = !later;
    // Bindings to procedures and functions are final (only an undeclared global's may change).
    const auto* call = dynamic_cast<const NameExpr*>(right.get());
    m_rightCalls = (call && (call->binding == Binding::Procedure || call->binding == Binding::Builtin)) ||
                   dynamic_cast<const MemberExpr*>(right.get());
    const auto* literal = dynamic_cast<const LiteralExpr*>(right.get());
    if (m_left.local >= 0 && literal && (literal->value.vt == VT_I2 || literal->value.vt == VT_I4) &&
        op != Op::Mul && Straight(op, literal->value, literal->value))
    {
        m_localAndNumber = true;
        m_numberIsInteger = literal->value.vt == VT_I2;
        m_number = m_numberIsInteger ? literal->value.iVal : literal->value.lVal;
    }
}

[[gnu::always_inline]] inline bool BinaryExpr::LocalAndNumber(Frame& f, long long& x, bool& integers) const
{
    if (!m_localAndNumber)
        return false;
    const Value& a = f.locals[m_left.local].Target();
    if (a.vt == VT_I2)
        x = a.iVal;
    else if (a.vt == VT_I4)
        x = a.lVal;
    else
        return false;
    integers = a.vt == VT_I2 && m_numberIsInteger;
    return true;
}

bool BinaryExpr::IsTrue(Frame& f) const
{
    if (!m_directKnown)
        FindDirect(f);
    // A compare of Integer and Long operands read directly: its Boolean without a value.
    long long x = 0;
    bool integers = false;
    if (LocalAndNumber(f, x, integers) && op >= Op::Eq && op <= Op::Ge)
        return NumericTest(op, x, m_number);
    if (m_direct && op >= Op::Eq && op <= Op::Ge)
    {
        const Value& a = Read(f, m_left);
        const Value& b = Read(f, m_right);
        if ((a.vt == VT_I2 || a.vt == VT_I4) && (b.vt == VT_I2 || b.vt == VT_I4))
            return NumericTest<LONG>(op, a.vt == VT_I2 ? a.iVal : a.lVal, b.vt == VT_I2 ? b.iVal : b.lVal);
    }
    return Expr::IsTrue(f);
}

Value BinaryExpr::Eval(Frame& f) const
{
    if (!m_directKnown)
        FindDirect(f);
    long long x = 0;
    bool integers = false;
    if (LocalAndNumber(f, x, integers))
    {
        switch (op)
        {
        case Op::Add:
            return IntegerValue(x + m_number, integers);
        case Op::Sub:
            return IntegerValue(x - m_number, integers);
        default:
            return NumericCompare(op, x, m_number);
        }
    }
    // Literals and variables, as plain operands are read below, without asking them.
    if (m_direct)
    {
        const Value& a = Read(f, m_left);
        const Value& b = Read(f, m_right);
        if (Straight(op, a, b))
            return StraightValue(op, a, b);
        if (!a.IsObject() && !b.IsObject())
            return Apply(a, b);
    }
    return EvalOperands(f);
}

Value BinaryExpr::EvalOperands(Frame& f) const
{
    // A call on the right (F(k - 1) + F(k - 2), n + Len(s), n + o.V) is neither plain nor read in place.
    if (m_rightCalls)
    {
        const Value a = left->Eval(f);
        const Value b = right->Eval(f);
        if (Straight(op, a, b))
            return StraightValue(op, a, b);
        return Apply(a, b);
    }
    // Plain operands without objects: reading them runs no code.
    const bool rightPlain = right->Plain();
    if (rightPlain)
        if (const Value* pa = left->Peek(f))
        {
            const Value* pb = right->Peek(f);
            if (Straight(op, *pa, *pb))
                return StraightValue(op, *pa, *pb);
            if (!pa->IsObject() && !pb->IsObject())
                return Apply(*pa, *pb);
        }
    // Plain operands are read in place; the left one only when the right runs no code that could change
    // it, and neither while the other is an object whose default member could.
    const Value* pa = rightPlain ? left->Peek(f) : nullptr;
    Value ownA = pa ? Value() : left->Eval(f);
    if (!pa)
        pa = &ownA;
    const Value* pb = right->Peek(f);
    Value ownB = pb ? Value() : right->Eval(f);
    if (!pb)
        pb = &ownB;
    if (pa != &ownA && pb->IsObject())
    {
        ownA = *pa;
        pa = &ownA;
    }
    if (pb != &ownB && pa->IsObject())
    {
        ownB = *pb;
        pb = &ownB;
    }
    if (Straight(op, *pa, *pb))
        return StraightValue(op, *pa, *pb);
    return Apply(*pa, *pb);
}

Value BinaryExpr::Apply(const Value& a, const Value& b) const
{
    if (Straight(op, a, b))
        return StraightValue(op, a, b);
    switch (op)
    {
    case Op::Add:
        return Add(a, b);
    case Op::Sub:
        return Subtract(a, b);
    case Op::Mul:
        return Multiply(a, b);
    case Op::Div:
        return Divide(a, b);
    case Op::IntDiv:
        return IntegerDivide(a, b);
    case Op::Mod:
        return Modulo(a, b);
    case Op::Pow:
        return Power(a, b);
    case Op::Concat:
        return Concatenate(a, b);
    case Op::Is:
        return Value::Bool(Is(a, b));
    case Op::And:
        return And(a, b);
    case Op::Or:
        return Or(a, b);
    case Op::Xor:
        return Xor(a, b);
    case Op::Eqv:
        return Eqv(a, b);
    case Op::Imp:
        return Imp(a, b);
    default:
        break;
    }
    const Order o = Compare(a, b, left->IsLiteral(), right->IsLiteral());
    if (o == Order::Unknown)
        return Value::Null();
    return CompareResult(op, o);
}

bool BinaryExpr::RunsNoCode(Frame& f) const
{
    return left->RunsNoCode(f) && right->RunsNoCode(f);
}

Value UnaryExpr::Eval(Frame& f) const
{
    Value v = operand->Eval(f);
    return negate ? Negate(v) : Not(v);
}

// Statements.

Flow Block::Exec(Frame& f) const
{
    for (const auto& s : statements)
    {
        try
        {
            Tick(f);
            const Flow flow = s->Exec(f);
            if (flow != Flow::Normal)
                return flow;
        }
        catch (ScriptException& e)
        {
            if (e.error.line < 0 && !e.error.compile)
            {
                e.error.line = s->pos.line;
                e.error.column = s->pos.column;
            }
            if (!f.resumeNext || e.error.number == err::OutOfStack || e.error.stops)
                throw;
            f.interp.SetError(e.error);
        }
        catch (const std::bad_alloc&)
        {
            ScriptError error{err::OutOfMemory, ErrorText(err::OutOfMemory), RuntimeErrorSource, s->pos.line,
                              s->pos.column};
            if (!f.resumeNext)
                throw ScriptException{error};
            f.interp.SetError(error);
        }
    }
    return Flow::Normal;
}

[[gnu::always_inline]] inline Value* AssignStmt::PlainPlace(Frame& f, const Value& v) const
{
    // An array may be fixed or locked: replacing it is checked by the general path.
    if (m_local >= 0)
    {
        Value& local = f.locals[m_local].Target();
        return local.IsArray() ? nullptr : &local;
    }
    if (!m_variable || !IsVariable(m_variable->binding))
        return nullptr;
    Value* slot = m_variable->Variable(f);
    if (m_variable->args.empty())
        return slot->IsArray() ? nullptr : slot;
    // An array as an element is checked for its nesting by the general path.
    return v.IsArray() ? nullptr : DirectElement(f, *slot, m_variable->args);
}

Flow AssignStmt::Exec(Frame& f) const
{
    if (set)
    {
        target->Assign(f, value->Eval(f), true);
        return Flow::Normal;
    }
    if (m_append != Append::No && Appends() && AppendInPlace(f))
        return Flow::Normal;
    // A variable's plain value into a variable or an element a(i): copied straight, asking neither.
    if (m_from && IsVariable(m_from->binding))
    {
        const Value& from = *m_from->Variable(f);
        if (!from.IsObject())
            if (Value* to = PlainPlace(f, from))
            {
                *to = from;
                return Flow::Normal;
            }
    }
    Value v = value->Eval(f);
    // A plain value: stored straight.
    if (!v.IsObject() && !v.IsReference())
        if (Value* to = PlainPlace(f, v))
        {
            *to = std::move(v);
            return Flow::Normal;
        }
    target->Assign(f, std::move(v), false);
    return Flow::Normal;
}

namespace
{
// An expression whose evaluation calls nothing the script defines, so it cannot change a variable.
bool CallsNoCode(const Expr* e)
{
    if (dynamic_cast<const LiteralExpr*>(e))
        return true;
    if (auto* p = dynamic_cast<const ParenExpr*>(e))
        return CallsNoCode(p->inner.get());
    if (auto* u = dynamic_cast<const UnaryExpr*>(e))
        return CallsNoCode(u->operand.get());
    if (auto* b = dynamic_cast<const BinaryExpr*>(e))
        return CallsNoCode(b->left.get()) && CallsNoCode(b->right.get());
    auto* n = dynamic_cast<const NameExpr*>(e);
    if (!n)
        return false;
    switch (n->binding)
    {
    case Binding::Local:
    case Binding::Global:
    case Binding::Field:
    case Binding::Constant:
        return n->args.empty();
    case Binding::Builtin:
        if (n->lower == u"eval" || n->lower == u"execute" || n->lower == u"executeglobal" ||
            n->lower == u"getref" || n->lower == u"msgbox" || n->lower == u"inputbox")
            return false;
        for (const auto& a : n->args)
            if (a && !CallsNoCode(a.get()))
                return false;
        return true;
    default:
        return false;
    }
}

bool SameVariable(const NameExpr& a, const NameExpr& b)
{
    return a.binding == b.binding && a.slot == b.slot && a.global == b.global && a.args.empty() &&
           b.args.empty() && !a.hasParens && !b.hasParens && IsVariable(a.binding);
}

// Appends to the string a variable holds, growing its block by doubling.
void AppendText(Value& variable, std::u16string_view text)
{
    BSTR s = variable.bstrVal;
    const UINT length = SysStringLen(s);
    const unsigned long long total = static_cast<unsigned long long>(length) + text.size();
    if (total > Limits().stringLength)
        Throw(err::OutOfMemory);
    // A shared string is copied before it is written.
    if (!s || com::BstrShared(s) || com::BstrCapacity(s) < total)
    {
        const UINT capacity = static_cast<UINT>(std::max<unsigned long long>(total * 2, 16));
        BSTR grown = SysAllocStringLen(nullptr, capacity);
        if (!grown)
            Throw(err::OutOfMemory);
        std::copy_n(s, length, grown);
        SysFreeString(s);
        variable.bstrVal = s = grown;
    }
    std::copy(text.begin(), text.end(), s + length);
    com::SetBstrLength(s, static_cast<UINT>(total));
}
} // namespace

bool AssignStmt::Appends() const
{
    if (m_append != Append::Unknown)
        return m_append == Append::Yes;
    m_append = Append::No;
    auto* name = dynamic_cast<const NameExpr*>(target.get());
    m_variable = name;
    if (!name)
        return false;
    if (name->binding == Binding::Local && !name->global && name->args.empty())
        m_local = name->slot;
    const auto* from = dynamic_cast<const NameExpr*>(value.get());
    if (from && from->args.empty() && !from->hasParens)
        m_from = from;
    std::vector<const Expr*> appended;
    const Expr* e = value.get();
    for (auto* b = dynamic_cast<const BinaryExpr*>(e); b && b->op == Op::Concat;
         b = dynamic_cast<const BinaryExpr*>(e))
    {
        if (!CallsNoCode(b->right.get()))
            return false;
        appended.insert(appended.begin(), b->right.get());
        e = b->left.get();
    }
    auto* first = dynamic_cast<const NameExpr*>(e);
    if (appended.empty() || !first || !SameVariable(*name, *first))
        return false;
    m_appended = std::move(appended);
    m_append = Append::Yes;
    return true;
}

bool AssignStmt::AppendInPlace(Frame& f) const
{
    Value* variable = target->Ref(f);
    if (!variable || variable->vt != VT_BSTR)
        return false;
    SmallValues parts;
    for (const Expr* e : m_appended)
    {
        parts.push_back(e->Eval(f));
        // An object's default value could run code: the general path evaluates it.
        if (parts.back().Target().IsObject())
            return false;
    }
    variable = target->Ref(f);
    if (!variable || variable->vt != VT_BSTR)
        return false;
    for (size_t i = 0; i < parts.size(); ++i)
    {
        const Value& part = parts.data()[i].Target();
        if (part.vt == VT_BSTR)
            AppendText(*variable, part.Text());
        else
            AppendText(*variable, TextOf(part));
    }
    return true;
}

namespace
{
// The conversion functions give a value of a type; called as statements they fail.
bool IsConversion(const Expr& call)
{
    const auto* name = dynamic_cast<const NameExpr*>(&call);
    if (!name || !name->builtin)
        return false;
    static constexpr std::u16string_view conversions[] = {u"cbool", u"cbyte", u"ccur", u"cdate", u"cdbl",
                                                          u"cint",  u"clng",  u"csng", u"cstr"};
    for (const std::u16string_view c : conversions)
        if (name->builtin->name == c)
            return true;
    return false;
}
} // namespace

Flow CallStmt::Exec(Frame& f) const
{
    call->Call(f);
    // A conversion's own failure comes first.
    if (m_conversion < 0)
        m_conversion = IsConversion(*call) ? 1 : 0;
    if (m_conversion)
        Throw(err::UnsupportedType);
    return Flow::Normal;
}

namespace
{
std::vector<LONG> Bounds(Frame& f, const std::vector<ExprPtr>& bounds)
{
    std::vector<LONG> upper;
    upper.reserve(bounds.size());
    for (const auto& b : bounds)
        upper.push_back(ToLong(b->Eval(f)));
    return upper;
}

Value& VariableOf(Frame& f, const ExprPtr& target)
{
    Value* v = target->Ref(f);
    if (!v)
        Throw(err::IllegalAssignment);
    return *v;
}
} // namespace

Flow DimArrayStmt::Exec(Frame& f) const
{
    if (bounds.empty())
    {
        VariableOf(f, target) = Value::AdoptArray(nullptr);
        return Flow::Normal;
    }
    Value array = NewArray(Bounds(f, bounds), true);
    VariableOf(f, target) = std::move(array);
    return Flow::Normal;
}

Flow ReDimStmt::Exec(Frame& f) const
{
    const std::vector<LONG> upper = Bounds(f, bounds);
    ReDimension(VariableOf(f, target), upper, preserve);
    return Flow::Normal;
}

Flow EraseStmt::Exec(Frame& f) const
{
    Value& v = VariableOf(f, target);
    if (!v.IsArray())
        Throw(err::TypeMismatch);
    if (v.parray && v.parray->cLocks)
        Throw(err::ArrayFixed);
    if (v.parray && (v.parray->fFeatures & FixedArray))
    {
        std::vector<LONG> upper;
        for (USHORT d = 0; d < v.parray->cDims; ++d)
            upper.push_back(static_cast<LONG>(v.parray->rgsabound[d].cElements) - 1);
        v = NewArray(upper, true);
        return Flow::Normal;
    }
    v = Value::AdoptArray(nullptr);
    return Flow::Normal;
}

namespace
{
// Under On Error Resume Next a statement's failing header resumes at the next statement: the first
// of its body. True when it failed so (the error is in Err); other errors are thrown.
template <class Header> bool HeaderFailed(Frame& f, const Stmt& at, Header&& header)
{
    try
    {
        header();
        return false;
    }
    catch (ScriptException& e)
    {
        if (!f.resumeNext || e.error.compile || e.error.number == err::OutOfStack || e.error.stops)
            throw;
        if (e.error.line < 0)
        {
            e.error.line = at.pos.line;
            e.error.column = at.pos.column;
        }
        f.interp.SetError(e.error);
        return true;
    }
}

bool BranchTaken(const Expr& condition, const Stmt& at, Frame& f)
{
    bool taken = true;
    HeaderFailed(f, at, [&] { taken = condition.IsTrue(f); });
    return taken;
}

// The body run once after its loop's header failed.
Flow BodyOnce(const Block& body, Frame& f)
{
    const Flow flow = body.Exec(f);
    return flow == Flow::ExitFor || flow == Flow::ExitDo ? Flow::Normal : flow;
}
} // namespace

Flow IfStmt::Exec(Frame& f) const
{
    for (const auto& [condition, body] : branches)
        if (BranchTaken(*condition, *this, f))
            return body.Exec(f);
    return otherwise.Exec(f);
}

namespace
{
bool Matches(const Value& subject, bool subjectLiteral, const CaseItem& item, Frame& f)
{
    Value v = item.value->Eval(f);
    const bool literal = item.value->IsLiteral();
    if (item.upper)
    {
        Value upper = item.upper->Eval(f);
        const Order low = Compare(subject, v, subjectLiteral, literal);
        const Order high = Compare(subject, upper, subjectLiteral, item.upper->IsLiteral());
        return (low == Order::Greater || low == Order::Equal) &&
               (high == Order::Less || high == Order::Equal);
    }
    const Order o = Compare(subject, v, subjectLiteral, literal);
    if (o == Order::Unknown)
        return false;
    switch (item.comparison)
    {
    case Op::Ne:
        return o != Order::Equal;
    case Op::Lt:
        return o == Order::Less;
    case Op::Gt:
        return o == Order::Greater;
    case Op::Le:
        return o != Order::Greater;
    case Op::Ge:
        return o != Order::Less;
    default:
        return o == Order::Equal;
    }
}
} // namespace

Flow SelectStmt::Exec(Frame& f) const
{
    Value v;
    // A failing subject takes no case.
    if (HeaderFailed(f, *this, [&] { v = subject->Eval(f); }))
        return Flow::Normal;
    for (const auto& [items, body] : cases)
        for (const CaseItem& item : items)
            if (Matches(v, subject->IsLiteral(), item, f))
                return body.Exec(f);
    return otherwise.Exec(f);
}

Flow ForStmt::Exec(Frame& f) const
{
    Value start, end, increment;
    bool down = false;
    const bool failed =
        HeaderFailed(f, *this,
                     [&]
                     {
                         start = from->Eval(f);
                         end = to->Eval(f);
                         increment = step ? step->Eval(f) : Value::Int(1);
                         // The bounds and the step are numbers: a string reads as a Double.
                         for (Value* v : {&start, &end, &increment})
                         {
                             if (v->Target().IsNull() || !IsNumeric(*v))
                                 Throw(v->Target().IsNull() ? err::InvalidUseOfNull : err::TypeMismatch);
                             if (v->Target().IsString())
                                 *v = Value::Double(ToDouble(*v));
                         }
                         down = ToDouble(increment) < 0;
                         variable->Assign(f, start, false);
                     });
    if (failed)
        return BodyOnce(body, f);
    // Integer and Long bounds: a counter that stays one is compared natively.
    const bool integral = IsInteger(end.vt) && IsInteger(increment.vt);
    const long long last = end.vt == VT_I2 ? end.iVal : end.lVal;
    const auto* name = dynamic_cast<const NameExpr*>(variable.get());
    Value* const counterPlace = name ? name->StableVariable(f) : nullptr;
    for (;;)
    {
        Tick(f);
        Value* ref = counterPlace ? counterPlace : variable->Ref(f);
        bool past = false;
        if (integral && ref && IsInteger(ref->vt))
        {
            const long long counter = ref->vt == VT_I2 ? ref->iVal : ref->lVal;
            past = down ? counter < last : counter > last;
        }
        else
        {
            const Value current = ref ? Value() : variable->Eval(f);
            const Value& counter = ref ? *ref : current;
            const Op beyond = down ? Op::Lt : Op::Gt;
            if (Straight(beyond, counter, end))
                past = StraightValue(beyond, counter, end).boolVal;
            else
            {
                const Order o = Compare(counter, end);
                past = down ? o == Order::Less : o == Order::Greater;
            }
        }
        if (past)
            break;
        const Flow flow = body.Exec(f);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
        ref = counterPlace ? counterPlace : variable->Ref(f);
        if (ref && Straight(Op::Add, *ref, increment))
            *ref = StraightValue(Op::Add, *ref, increment);
        else if (ref)
            *ref = Add(*ref, increment);
        else
            variable->Assign(f, Add(variable->Eval(f), increment), false);
    }
    return Flow::Normal;
}

Flow ForEachStmt::Exec(Frame& f) const
{
    std::vector<Value> items;
    ComPtr<IEnumVARIANT> enumerator;
    if (HeaderFailed(f, *this, [&] { enumerator = Enumerate(f, items); }))
        return BodyOnce(body, f);
    size_t next = 0;
    for (;;)
    {
        Tick(f);
        Value item;
        if (enumerator)
        {
            VARIANT raw;
            VariantInit(&raw);
            ULONG fetched = 0;
            if (enumerator->Next(1, &raw, &fetched) != S_OK || fetched != 1)
            {
                // A collection's loop leaves its variable Empty.
                variable->Assign(f, Value(), false);
                break;
            }
            item = Value::Adopt(raw);
        }
        else
        {
            if (next >= items.size())
                break;
            item = std::move(items[next++]);
        }
        const bool object = item.IsObject();
        variable->Assign(f, std::move(item), object);
        const Flow flow = body.Exec(f);
        if (flow == Flow::ExitFor)
            break;
        if (flow != Flow::Normal)
            return flow;
    }
    return Flow::Normal;
}

ComPtr<IEnumVARIANT> ForEachStmt::Enumerate(Frame& f, std::vector<Value>& items) const
{
    Value c = collection->Eval(f);
    const Value& t = c.Target();
    ComPtr<IEnumVARIANT> enumerator;
    if (t.IsArray())
        items = Elements(t.parray);
    else if (t.IsObject())
    {
        ComPtr<IDispatch> object;
        try
        {
            object = ObjectOf(t);
        }
        catch (const ScriptException&)
        {
            Throw(err::NotACollection);
        }
        if (!object)
            Throw(err::ObjectNotSet);
        Value e;
        try
        {
            e = InvokeId(object.Get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0);
        }
        catch (const ScriptException& failure)
        {
            // An object without an enumerator is no collection, whatever its host answers.
            if (failure.error.number != err::NoSuchMember && failure.error.number != err::NotSupported)
                throw;
            Throw(err::NotACollection);
        }
        if (!e.IsObject() || !e.punkVal)
            Throw(err::NotACollection);
        e.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(enumerator.Receive()));
        if (!enumerator)
            Throw(err::NotACollection);
    }
    else
        Throw(err::NotACollection);
    return enumerator;
}

Flow DoStmt::Exec(Frame& f) const
{
    for (;;)
    {
        Tick(f);
        if (testFirst && condition && Ends(f))
            break;
        const Flow flow = body.Exec(f);
        if (flow == Flow::ExitDo)
            break;
        if (flow != Flow::Normal)
            return flow;
        if (!testFirst && condition && Ends(f))
            break;
    }
    return Flow::Normal;
}

bool DoStmt::Ends(Frame& f) const
{
    // A failing condition resumes at the next statement: the body's first at the top, the one after the
    // loop at its end.
    bool ends = false;
    if (HeaderFailed(f, *this, [&] { ends = condition->IsTrue(f) == until; }))
        return !testFirst;
    return ends;
}

Flow WithStmt::Exec(Frame& f) const
{
    Value target;
    HeaderFailed(f, *this,
                 [&]
                 {
                     target = object->Eval(f);
                     if (!target.Target().IsObject())
                         Throw(err::ObjectRequired);
                 });
    WithTarget inner{std::move(target), f.with};
    f.with = &inner;
    struct Pop
    {
        Frame& f;
        ~Pop() { f.with = f.with->outer; }
    } pop{f};
    return body.Exec(f);
}

Flow OnErrorStmt::Exec(Frame& f) const
{
    // Either form of the statement clears Err.
    f.resumeNext = resumeNext;
    f.interp.SetError({});
    return Flow::Normal;
}

Flow ExitStmt::Exec(Frame& f) const
{
    // Leaving a procedure with Exit clears Err, as On Error Resume Next does.
    if (flow == Flow::ExitProc)
        f.interp.SetError({});
    return flow;
}

} // namespace tvsk::script
