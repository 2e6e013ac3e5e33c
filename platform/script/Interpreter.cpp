// The interpreter: resolving names to slots, calls, and the program's global state.
#include "Interpreter.h"

#include "Arrays.h"
#include "Builtins.h"
#include "Convert.h"
#include "Dispatch.h"
#include "ErrObject.h"
#include "NativeObject.h"
#include "Parser.h"
#include "ScriptObject.h"
#include "SmallVector.h"
#include "Stack.h"
#include "DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <pthread.h>

#include <new>

namespace tvsk::script
{

std::shared_ptr<Interpreter> Interpreter::Create()
{
    // Script objects keep the core alive; the owner's handle closes it when the owner lets go, which
    // releases the objects the program holds and so breaks the cycle through them.
    std::shared_ptr<Interpreter> core(new Interpreter);
    Interpreter* raw = core.get();
    return std::shared_ptr<Interpreter>(raw,
                                        [core = std::move(core)](Interpreter* interp) mutable
                                        {
                                            interp->Close();
                                            core.reset();
                                        });
}

Interpreter::Interpreter() : m_err(new ErrObject), m_locale(&DefaultLocale())
{
    m_err->AddRef();
}

Interpreter::~Interpreter()
{
    Close();
    m_err->Release();
}

void Interpreter::Close()
{
    if (m_closed)
        return;
    // Objects released here still run Class_Terminate. The variables' storage stays until the
    // interpreter goes: code still running (Close from inside an event) unwinds on its next call.
    for (Value& v : m_globals)
        v.Clear();
    m_closed = true;
    m_items.clear();
    m_itemResolver = nullptr;
    m_globalObject.Reset();
}

namespace
{
// The global code's Me: members are the script's global procedures and variables, by name, then the
// members of the host's items whose members are global.
class GlobalObject final : public NativeObject
{
public:
    explicit GlobalObject(Interpreter& interp) : m_interp(interp.weak_from_this()) {}
    std::u16string_view TypeName() const override { return u"Object"; }

    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids || !count || !names[0])
            return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        const std::u16string lower = Lower(names[0]);
        const auto interp = m_interp.lock();
        if (!interp)
            return DISP_E_UNKNOWNNAME;
        HostMember host;
        if (!interp->FindProcedure(lower) && !interp->FindGlobal(lower) &&
            !FindHostMember(*interp, names[0], host))
            return DISP_E_UNKNOWNNAME;
        auto it = std::find(m_names.begin(), m_names.end(), lower);
        if (it == m_names.end())
        {
            it = m_names.insert(m_names.end(), lower);
            m_hostMembers.push_back(host);
        }
        ids[0] = static_cast<DISPID>(it - m_names.begin() + 1);
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }

protected:
    std::span<const Member> Members() const override { return {}; }
    bool Knows(DISPID id) const override { return id >= 1 && static_cast<size_t>(id) <= m_names.size(); }
    Value Call(DISPID id, WORD flags, Value* args, size_t count, Value* value) override
    {
        // The script may be gone while a host still holds its Me.
        const auto interp = m_interp.lock();
        if (!interp || interp->Closed())
            Throw(err::InvalidCall);
        const std::u16string& name = m_names[static_cast<size_t>(id) - 1];
        if (const Procedure* p = interp->FindProcedure(name); p && !value)
            return interp->Call(*p, nullptr, args, count);
        Value* variable = interp->FindGlobal(name);
        if (!variable)
        {
            const HostMember& host = m_hostMembers[static_cast<size_t>(id) - 1];
            if (host.item < 0)
                Throw(err::NoSuchMember);
            const ComPtr<IDispatch> item(interp->NamedItemObject(static_cast<size_t>(host.item)));
            return InvokeId(item.Get(), host.id, flags, args, count, value);
        }
        if (value && count)
            AssignIndexed(*variable, args, count, std::move(*value), flags & DISPATCH_PROPERTYPUTREF);
        else if (value)
        {
            Value v =
                (flags & DISPATCH_PROPERTYPUTREF) ? SetValue(std::move(*value)) : LetValue(std::move(*value));
            CheckReplaceable(*variable);
            variable->Target() = std::move(v);
        }
        else if (count)
            return IndexValue(*variable, args, count);
        else
            return variable->Target();
        return {};
    }

private:
    struct HostMember
    {
        int item = -1;
        DISPID id = DISPID_UNKNOWN;
    };
    static bool FindHostMember(Interpreter& interp, LPOLESTR name, HostMember& found)
    {
        for (size_t i = 0; i < interp.NamedItems().size(); ++i)
        {
            if (!interp.NamedItems()[i].globalMembers)
                continue;
            try
            {
                IDispatch* object = interp.NamedItemObject(i);
                if (object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &found.id) == S_OK)
                {
                    found.item = static_cast<int>(i);
                    return true;
                }
            }
            catch (const ScriptException&)
            {
                continue; // an item the host cannot give has no members
            }
        }
        return false;
    }

    std::weak_ptr<Interpreter> m_interp;
    std::vector<std::u16string> m_names;   // DISPID = index + 1
    std::vector<HostMember> m_hostMembers; // for each name, the host's member it stands for
};
} // namespace

IDispatch* Interpreter::GlobalObject()
{
    if (m_closed)
        Throw(err::InvalidCall);
    if (!m_globalObject)
        m_globalObject = ComPtr<IDispatch>(new tvsk::script::GlobalObject(*this));
    return m_globalObject.Get();
}

IDispatch* Interpreter::ErrDispatch()
{
    return m_err;
}
void Interpreter::SetError(const ScriptError& error)
{
    m_err->Set(error);
}

void Interpreter::SetItemResolver(std::function<ComPtr<IDispatch>(const std::u16string&)> resolver)
{
    m_itemResolver = std::move(resolver);
}

void Interpreter::AddNamedItem(const std::u16string& name, bool globalMembers, IDispatch* object)
{
    m_items.push_back({name, Lower(name), globalMembers, ComPtr<IDispatch>(object)});
}

IDispatch* Interpreter::NamedItemObject(size_t index)
{
    if (index >= m_items.size())
        Throw(err::ObjectRequired);
    NamedItem& item = m_items[index];
    if (!item.object && m_itemResolver)
        item.object = m_itemResolver(item.name);
    if (!item.object)
        Throw(err::ObjectRequired);
    return item.object.Get();
}

Value* Interpreter::NewGlobal(const std::u16string& lower, GlobalEntry::Kind kind)
{
    m_globals.emplace_back();
    Value* v = &m_globals.back();
    m_names[lower] = GlobalEntry{kind, v};
    return v;
}

void Interpreter::Declare(Unit& unit)
{
    for (const auto& cls : unit.classes)
    {
        const std::u16string lower = Lower(cls->name);
        auto it = m_names.find(lower);
        if (it != m_names.end() && it->second.kind != GlobalEntry::Class)
            ThrowCompile(err::NameRedefined, cls->pos.line, cls->pos.column);
        m_names[lower] = GlobalEntry{GlobalEntry::Class, nullptr, nullptr, cls.get()};
    }
    for (const auto& proc : unit.procedures)
    {
        const std::u16string lower = Lower(proc->name);
        auto it = m_names.find(lower);
        if (it != m_names.end() && it->second.kind == GlobalEntry::Variable && it->second.implicit)
        {
            auto users = m_implicitUsers.find(it->second.value);
            if (users != m_implicitUsers.end())
                for (NameExpr* n : users->second)
                {
                    n->binding = Binding::Procedure;
                    n->procedure = proc.get();
                    n->global = nullptr;
                }
            m_implicitUsers.erase(it->second.value);
        }
        else if (it != m_names.end() && it->second.kind != GlobalEntry::Procedure)
            ThrowCompile(err::NameRedefined, proc->pos.line, proc->pos.column);
        m_names[lower] = GlobalEntry{GlobalEntry::Procedure, nullptr, proc.get()};
    }
    for (const auto& [name, pos] : unit.globalDims)
    {
        const std::u16string lower = Lower(name);
        auto it = m_names.find(lower);
        if (it == m_names.end())
            Define(NewGlobal(lower, GlobalEntry::Variable));
        else if (it->second.kind == GlobalEntry::Variable)
        {
            it->second.implicit = false;
            Define(it->second.value);
        }
        else
            ThrowCompile(err::NameRedefined, pos.line, pos.column);
    }
    for (auto& [name, value] : unit.globalConsts)
    {
        const std::u16string lower = Lower(name);
        auto it = m_names.find(lower);
        if (it != m_names.end() && it->second.kind != GlobalEntry::Constant)
            ThrowCompile(err::NameRedefined, 0, 0);
        *NewGlobal(lower, GlobalEntry::Constant) = value;
    }
}

void Interpreter::Bind(NameExpr& n, bool optionExplicit, bool dynamic)
{
    Scope* scope = n.scope;
    // The procedure's own locals and constants.
    if (scope && scope->procedure)
    {
        Procedure& p = *scope->procedure;
        if (auto it = scope->locals.find(n.lower); it != scope->locals.end())
        {
            n.binding = Binding::Local;
            n.slot = it->second;
            if (auto g = scope->maybeGlobal.find(n.lower); g != scope->maybeGlobal.end())
            {
                n.global = g->second;
                m_implicitUsers[g->second].push_back(&n);
            }
            return;
        }
        if (auto it = scope->constants.find(n.lower); it != scope->constants.end())
        {
            n.binding = Binding::Constant;
            n.constant = it->second;
            n.readOnly = true;
            return;
        }
        if (p.resultSlot >= 0 && n.args.empty() && !n.hasParens && Lower(p.name) == n.lower)
        {
            n.binding = Binding::Local;
            n.slot = p.resultSlot;
            return;
        }
    }
    // Members of the class, reached through Me.
    const ClassDef* cls = scope ? (scope->classDef ? scope->classDef
                                   : scope->parent ? scope->parent->classDef
                                                   : nullptr)
                                : nullptr;
    if (cls)
    {
        if (auto it = cls->memberIndex.find(n.lower); it != cls->memberIndex.end())
        {
            const ClassMember& m = cls->members[static_cast<size_t>(it->second)];
            if (m.field >= 0)
            {
                n.binding = Binding::Field;
                n.slot = m.field;
            }
            else
            {
                n.binding = Binding::MeMember;
                n.slot = it->second;
            }
            return;
        }
    }
    if (auto it = m_names.find(n.lower); it != m_names.end())
    {
        const GlobalEntry& g = it->second;
        switch (g.kind)
        {
        case GlobalEntry::Variable:
            if (g.implicit && scope && scope->procedure && !dynamic)
            {
                // Undeclared in the global code too: which one it is depends on what has run.
                n.binding = Binding::Local;
                n.slot = scope->Declare(n.lower);
                n.global = g.value;
                scope->maybeGlobal[n.lower] = g.value;
                m_implicitUsers[g.value].push_back(&n);
                return;
            }
            n.binding = Binding::Global;
            n.global = g.value;
            if (g.implicit)
                m_implicitUsers[g.value].push_back(&n);
            return;
        case GlobalEntry::Constant:
            n.binding = Binding::Constant;
            n.constant = *g.value;
            n.readOnly = true;
            return;
        case GlobalEntry::Procedure:
            n.binding = Binding::Procedure;
            n.procedure = g.procedure;
            return;
        case GlobalEntry::Class:
            // A class name is no value.
            n.binding = Binding::Undefined;
            return;
        }
    }
    if (n.lower == u"err")
    {
        n.binding = Binding::ErrObject;
        return;
    }
    if (FindConstant(n.lower, n.constant))
    {
        n.binding = Binding::Constant;
        n.readOnly = true;
        return;
    }
    if (const Builtin* b = FindBuiltin(n.lower))
    {
        n.binding = Binding::Builtin;
        n.builtin = b;
        return;
    }
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].lower == n.lower)
        {
            n.binding = Binding::NamedItem;
            n.slot = static_cast<int>(i);
            n.readOnly = true;
            return;
        }
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (!m_items[i].globalMembers)
            continue;
        IDispatch* object = nullptr;
        try
        {
            object = NamedItemObject(i);
        }
        catch (const ScriptException&)
        {
            continue;
        }
        std::u16string text = n.name;
        LPOLESTR names[] = {text.data()};
        DISPID id = DISPID_UNKNOWN;
        if (object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id) == S_OK)
        {
            n.binding = Binding::GlobalMember;
            n.slot = static_cast<int>(i);
            n.dispid = id;
            return;
        }
    }
    if (optionExplicit && !n.declares)
    {
        n.binding = Binding::Undefined;
        return;
    }
    // An undeclared name is a new variable: local in a procedure, global elsewhere.
    if (scope && scope->procedure && !dynamic)
    {
        n.binding = Binding::Local;
        n.slot = scope->Declare(n.lower);
        return;
    }
    n.binding = Binding::Global;
    n.global = NewGlobal(n.lower, GlobalEntry::Variable);
    m_names[n.lower].implicit = true;
    m_implicitUsers[n.global].push_back(&n);
}

void Interpreter::Resolve(Unit& unit, Scope* dynamicScope)
{
    m_optionExplicit = m_optionExplicit || unit.optionExplicit;
    Declare(unit);
    // Global code first, so its undeclared names become globals the procedures then see.
    for (NameExpr* n : unit.names)
        if (!n->scope || !n->scope->procedure)
            Bind(*n, m_optionExplicit, dynamicScope != nullptr);
    for (NameExpr* n : unit.names)
        if (n->scope && n->scope->procedure)
            Bind(*n, m_optionExplicit, dynamicScope != nullptr);
}

Unit& Interpreter::Compile(std::u16string_view text, int firstLine)
{
    if (m_closed)
        Throw(err::InvalidCall);
    std::unique_ptr<Unit> unit = Parse(text, firstLine);
    Resolve(*unit, nullptr);
    unit->names.clear();
    m_units.push_back(std::move(unit));
    return *m_units.back();
}

void Interpreter::Run(const Unit& unit)
{
    Frame f{*this};
    f.scope = unit.globalScope.get();
    EnterCall();
    struct Leave
    {
        Interpreter& i;
        ~Leave() { i.LeaveCall(); }
    } leave{*this};
    unit.code.Exec(f);
}

void Interpreter::Execute(std::u16string_view text, Frame* frame)
{
    std::unique_ptr<Unit> unit = Parse(text);
    if (frame && frame->scope)
        for (NameExpr* n : unit->names)
            if (n->scope == unit->globalScope.get())
                n->scope = frame->scope;
    Resolve(*unit, frame ? frame->scope : nullptr);
    unit->names.clear();
    m_units.push_back(std::move(unit));
    const Unit& u = *m_units.back();
    if (frame)
    {
        EnterCall();
        struct Leave
        {
            Interpreter& i;
            ~Leave() { i.LeaveCall(); }
        } leave{*this};
        u.code.Exec(*frame);
    }
    else
        Run(u);
}

Value Interpreter::Evaluate(std::u16string_view text, Frame& frame)
{
    auto unit = std::make_unique<Unit>();
    unit->globalScope = std::make_unique<Scope>();
    EnterCall();
    struct Leave
    {
        Interpreter& i;
        ~Leave() { i.LeaveCall(); }
    } leave{*this};
    ExprPtr e = ParseExpression(text, *unit, frame.scope ? frame.scope : unit->globalScope.get());
    Resolve(*unit, frame.scope ? frame.scope : unit->globalScope.get());
    unit->names.clear();
    Value r = e->Eval(frame);
    // The expression's names may have made globals; the unit stays with the program.
    struct Holder : Stmt
    {
        ExprPtr e;
        Flow Exec(Frame&) const override { return Flow::Normal; }
    };
    auto holder = std::make_unique<Holder>();
    holder->e = std::move(e);
    unit->code.statements.push_back(std::move(holder));
    m_units.push_back(std::move(unit));
    return r;
}

Procedure* Interpreter::FindProcedure(std::u16string_view name) const
{
    auto it = m_names.find(Lower(name));
    if (it == m_names.end() || it->second.kind != GlobalEntry::Procedure)
        return nullptr;
    return it->second.procedure;
}

Value* Interpreter::FindGlobal(std::u16string_view name)
{
    auto it = m_names.find(Lower(name));
    if (it == m_names.end() ||
        (it->second.kind != GlobalEntry::Variable && it->second.kind != GlobalEntry::Constant))
        return nullptr;
    return it->second.value;
}

ClassDef* Interpreter::FindClass(std::u16string_view lowerName) const
{
    auto it = m_names.find(std::u16string(lowerName));
    if (it == m_names.end() || it->second.kind != GlobalEntry::Class)
        return nullptr;
    return it->second.classDef;
}

Value Interpreter::NewObject(const ClassDef& cls)
{
    auto* object = new ScriptObject(*this, cls);
    Value v = Value::Object(object);
    object->Initialize();
    return v;
}

// The thread's real stack less a reserve for the deepest expression and the host's calls below it.
std::uintptr_t StackLimit()
{
    thread_local std::uintptr_t limit = 0;
    if (!limit)
    {
        pthread_attr_t attr;
        void* base = nullptr;
        size_t size = 0;
        if (pthread_getattr_np(pthread_self(), &attr) == 0)
        {
            pthread_attr_getstack(&attr, &base, &size);
            pthread_attr_destroy(&attr);
        }
        char here;
        const auto at = reinterpret_cast<std::uintptr_t>(&here);
        const auto low = reinterpret_cast<std::uintptr_t>(base);
        if (!base || at <= low || at - low < (64u << 10))
            limit = at - std::min<std::uintptr_t>(at, 32u << 10);
        else
            limit = low +
                    std::max<std::uintptr_t>(std::min<std::uintptr_t>((at - low) / 2, 256u << 10), size / 8);
    }
    return limit;
}

bool StackNearlyFull()
{
    char here;
    return reinterpret_cast<std::uintptr_t>(&here) < StackLimit();
}

void Interpreter::EnterOuterCall()
{
    if (StackNearlyFull() || m_callDepth >= MaxCallDepth)
        Throw(err::OutOfStack);
    if (m_callDepth++ == 0)
    {
        m_stackLimit = StackLimit();
        m_outerLocale = &CurrentLocale();
        SetCurrentLocale(*m_locale);
        m_lastPoll = std::chrono::steady_clock::now();
        const std::lock_guard lock(m_stopMutex);
        m_running = true;
    }
}

void Interpreter::LeaveOuterCall()
{
    if (--m_callDepth != 0)
        return;
    if (m_outerLocale)
        SetCurrentLocale(*m_outerLocale);
    // The stop ends with the outermost entry; the host's next call runs.
    const std::lock_guard lock(m_stopMutex);
    m_running = false;
    m_interrupted.store(false, std::memory_order_relaxed);
}

void Interpreter::Interrupt(ScriptError error)
{
    const std::lock_guard lock(m_stopMutex);
    if (!m_running)
        return;
    error.stops = true;
    m_stopError = std::move(error);
    m_interrupted.store(true, std::memory_order_relaxed);
}

namespace
{
constexpr unsigned TicksPerClockRead = 4096;
}

void Interpreter::LimitStatements(unsigned long long count)
{
    m_statementsLeft = count;
    StartTicks();
}

void Interpreter::StartTicks()
{
    // The run ends at the clock's next read or at the statement past the limit.
    m_ticks = m_statementsLeft < TicksPerClockRead ? static_cast<unsigned>(m_statementsLeft) + 1
                                                   : TicksPerClockRead;
    m_ticksLeft = m_ticks;
}

void Interpreter::StatementLimitReached()
{
    // Every later statement fails too.
    m_statementsLeft = 0;
    StartTicks();
    ScriptError error{E_ABORT, "Statement limit reached", RuntimeErrorSource};
    error.stops = true;
    throw ScriptException{std::move(error)};
}

void Interpreter::Checkpoint()
{
    constexpr auto PollInterval = std::chrono::milliseconds(50);
    if (m_ticksLeft == 0)
    {
        // This tick is the run's last: the statement past the limit, or one more before a clock read.
        if (m_statementsLeft < m_ticks)
            StatementLimitReached();
        m_statementsLeft -= m_ticks;
        StartTicks();
        const auto now = std::chrono::steady_clock::now();
        if (m_poll && now - m_lastPoll >= PollInterval)
        {
            m_lastPoll = now;
            if (!m_poll())
                Interrupt({E_ABORT, HResultText(E_ABORT), RuntimeErrorSource});
        }
    }
    if (!m_interrupted.load(std::memory_order_relaxed))
        return;
    ScriptError error;
    {
        const std::lock_guard lock(m_stopMutex);
        error = m_stopError;
    }
    throw ScriptException{std::move(error)};
}

void Interpreter::SetLocale(const Locale& locale)
{
    m_locale = &locale;
    if (m_callDepth > 0)
        SetCurrentLocale(locale);
}

Value Interpreter::Call(const Procedure& p, ScriptObject* me, Value* args, size_t count)
{
    if (m_closed)
        Throw(err::InvalidCall);
    if (count != p.params.size())
        Throw(err::WrongArguments);
    Slots locals(static_cast<size_t>(p.localCount));
    for (size_t i = 0; i < count; ++i)
        locals.data()[i] = std::move(args[i]);
    return Enter(p, me, locals.data());
}

float Interpreter::NextRandom(const Value* arg)
{
    if (arg)
    {
        const double d = ToDouble(*arg);
        if (d == 0)
            return static_cast<float>(m_rndSeed) / 16777216.0f;
        if (d < 0)
        {
            const float f = static_cast<float>(d);
            std::uint32_t bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            m_rndSeed = (bits + (bits >> 24)) & 0xFFFFFFu;
        }
    }
    m_rndSeed = (m_rndSeed * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(m_rndSeed) / 16777216.0f;
}

void Interpreter::Randomize(const Value* seed)
{
    double d = 0;
    if (seed)
        d = ToDouble(*seed);
    else
    {
        const double now = Now();
        d = (now - std::floor(now)) * 86400.0;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    const auto high = static_cast<std::uint32_t>(bits >> 32);
    m_rndSeed = (m_rndSeed & 0xFF) | (((high & 0xFFFF) ^ (high >> 16)) << 8);
    m_rndSeed &= 0xFFFFFFu;
}

Value Interpreter::CallByName(std::u16string_view name, std::vector<Value> args)
{
    Procedure* p = FindProcedure(name);
    if (!p)
        Throw(err::SubNotDefined);
    return Call(*p, nullptr, args.data(), args.size());
}

} // namespace tvsk::script
