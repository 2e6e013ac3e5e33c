// The evaluator's state: globals, named items, the Err object, and calls into procedures.
#pragma once

#include "Ast.h"
#include "Dispatch.h"
#include "Locale.h"
#include "ScriptError.h"
#include "Stack.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace tvsk::script
{

// Message and input boxes: the host shows them; without a host MsgBox answers OK and InputBox cancels.
class ScriptUi
{
public:
    virtual ~ScriptUi() = default;
    // The button pressed (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    virtual int MessageBox(const std::u16string& prompt, int buttons, const std::u16string& title) = 0;
    // The text entered, or nothing when cancelled.
    virtual std::optional<std::u16string> InputBox(const std::u16string& prompt, const std::u16string& title,
                                                   const std::u16string& defaultText) = 0;
};

// The object of a With statement, inside the With statements around it.
struct WithTarget
{
    Value object;
    const WithTarget* outer;
};

// One running procedure (or the global code): its locals, Me, and its error mode.
struct Frame
{
    Interpreter& interp;
    Value* locals = nullptr;
    ScriptObject* me = nullptr;
    const Procedure* procedure = nullptr;
    Scope* scope = nullptr;
    bool resumeNext = false;
    const WithTarget* with = nullptr;
};

class ErrObject;

// A host object added by name; with global members its members are reached without the name.
struct NamedItem
{
    std::u16string name;
    std::u16string lower;
    bool globalMembers = false;
    ComPtr<IDispatch> object;
};

// Owned through the handle Create gives; the objects a script makes keep it alive while the host holds
// them, and dropping the handle closes it.
class Interpreter : public std::enable_shared_from_this<Interpreter>
{
public:
    static std::shared_ptr<Interpreter> Create();
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    void SetUi(ScriptUi* ui) { m_ui = ui; }
    ScriptUi* Ui() const { return m_ui; }
    // Asked for a named item's object the first time a script needs it.
    void SetItemResolver(std::function<ComPtr<IDispatch>(const std::u16string& name)> resolver);
    void AddNamedItem(const std::u16string& name, bool globalMembers, IDispatch* object = nullptr);
    IDispatch* NamedItemObject(size_t index);
    const std::vector<NamedItem>& NamedItems() const { return m_items; }

    // Parses, resolves and keeps a text; throws its syntax error. The global code is returned to run.
    Unit& Compile(std::u16string_view text, int firstLine = 0);
    // Runs a unit's global code; a run-time error is thrown.
    void Run(const Unit& unit);
    // Compiles and runs text (Execute, ExecuteGlobal); frame null for the global scope.
    void Execute(std::u16string_view text, Frame* frame);
    Value Evaluate(std::u16string_view text, Frame& frame);

    // A global Sub or Function by name (without case), or null.
    Procedure* FindProcedure(std::u16string_view name) const;
    // The value of a global variable or constant, or null.
    Value* FindGlobal(std::u16string_view name);
    // Calls a procedure with arguments (references for ByRef parameters) and returns its result.
    Value Call(const Procedure& procedure, ScriptObject* me, Value* args, size_t count);
    // Runs a procedure on locals of its local count whose first slots hold the arguments as passed.
    Value Enter(const Procedure& procedure, ScriptObject* me, Value* locals);
    // Calls a global procedure by name with plain values (events, GetScriptDispatch).
    Value CallByName(std::u16string_view name, std::vector<Value> args);

    ClassDef* FindClass(std::u16string_view lowerName) const;
    Value NewObject(const ClassDef& cls);

    // Me in the global code: the script's procedures and variables as an object.
    IDispatch* GlobalObject();

    // The Err object.
    ErrObject& Err() { return *m_err; }
    IDispatch* ErrDispatch();
    void SetError(const ScriptError& error);

    // Depth of nested calls, bounded by the thread's stack. The outermost entry makes the script's
    // locale the thread's until it leaves.
    void EnterCall()
    {
        const char probe = 0; // its address is where the stack is
        if (m_callDepth != 0 && m_callDepth < MaxCallDepth &&
            reinterpret_cast<std::uintptr_t>(&probe) >= m_stackLimit)
            ++m_callDepth;
        else
            EnterOuterCall();
    }
    void LeaveCall()
    {
        if (m_callDepth > 1)
            --m_callDepth;
        else
            LeaveOuterCall();
    }
    const Locale& GetLocale() const { return *m_locale; }
    void SetLocale(const Locale& locale);

    bool Closed() const { return m_closed; }
    // Globals exist once declared or first used by global code; until then a procedure's
    // undeclared name of the same spelling is its own local.
    void Define(Value* global) { m_defined.insert(global); }
    bool Defined(Value* global) const { return m_defined.count(global) != 0; }
    // Ends every entry with an error once this many more statements have run (for fuzzing).
    void LimitStatements(unsigned long long count);
    // Stops the running script at its next statement with this error, from any thread; the error
    // passes every On Error Resume Next up to the host's entry. Nothing when no script runs.
    void Interrupt(ScriptError error);
    // Asked on the script's thread about every 50 ms while a script runs; false stops it as Interrupt does.
    void SetPoll(std::function<bool()> keepGoing) { m_poll = std::move(keepGoing); }
    // Counts a statement or a loop's turn: throws once the statement limit is reached or the script is
    // stopped.
    void Tick()
    {
        if (--m_ticksLeft == 0 || m_interrupted.load(std::memory_order_relaxed))
            Checkpoint();
    }
    // Drops objects and the program; later calls fail. Class_Terminate still runs for released objects.
    void Close();
    // Rnd: the next number, the last one (0), or one seeded by a negative argument.
    float NextRandom(const Value* arg);
    void Randomize(const Value* seed);

private:
    Interpreter();
    struct GlobalEntry
    {
        enum Kind
        {
            Variable,
            Constant,
            Procedure,
            Class
        } kind;
        Value* value = nullptr;
        tvsk::script::Procedure* procedure = nullptr;
        ClassDef* classDef = nullptr;
        bool implicit = false; // made by a name never declared; a later procedure may take its place
    };

    void Resolve(Unit& unit, Scope* dynamicScope);
    void Declare(Unit& unit);
    void Bind(NameExpr& name, bool optionExplicit, bool dynamic);
    Value* NewGlobal(const std::u16string& lower, GlobalEntry::Kind kind);
    [[noreturn]] void StatementLimitReached();
    // Starts the next run of ticks up to a checkpoint.
    void StartTicks();
    static constexpr int MaxCallDepth = 10000;
    // The outermost entry and exit, and the checks of depth and stack.
    void EnterOuterCall();
    void LeaveOuterCall();
    // Polls the host now and then, and throws the error of a stopped script.
    void Checkpoint();

    std::deque<Value> m_globals;
    std::unordered_map<std::u16string, GlobalEntry> m_names;
    // The names bound to each undeclared global, rebound when a procedure of that name appears.
    std::unordered_map<Value*, std::vector<NameExpr*>> m_implicitUsers;
    std::unordered_set<Value*> m_defined;
    std::vector<std::unique_ptr<Unit>> m_units;
    std::vector<NamedItem> m_items;
    std::function<ComPtr<IDispatch>(const std::u16string&)> m_itemResolver;
    ErrObject* m_err = nullptr;
    ComPtr<IDispatch> m_globalObject;
    ScriptUi* m_ui = nullptr;
    bool m_optionExplicit = false;
    bool m_closed = false;
    int m_callDepth = 0;
    std::uintptr_t m_stackLimit = 0; // the entering thread's, taken by the outermost entry
    const Locale* m_locale;
    const Locale* m_outerLocale = nullptr;
    // Statements left before the limit, not counting the current run of ticks, which is as long as a
    // clock read's interval or up to the limit's statement.
    unsigned long long m_statementsLeft = ~0ull;
    unsigned m_ticks = 1;
    unsigned m_ticksLeft = 1;
    std::function<bool()> m_poll;
    std::chrono::steady_clock::time_point m_lastPoll;
    // Interrupt's side: whether a script runs, and the error that stops it.
    std::mutex m_stopMutex;
    bool m_running = false;
    ScriptError m_stopError;
    std::atomic<bool> m_interrupted{false};
    unsigned m_rndSeed = 0x50000;
};

// Inline: the evaluator's calls of procedures enter here without another frame.
[[gnu::always_inline]] inline Value Interpreter::Enter(const Procedure& p, ScriptObject* me, Value* locals)
{
    if (m_closed)
        Throw(err::InvalidCall);
    EnterCall();
    struct Leave
    {
        Interpreter& i;
        ~Leave() { i.LeaveCall(); }
    } leave{*this};
    const Parameter* params = p.params.data();
    for (size_t i = 0, n = p.params.size(); i < n; ++i)
    {
        Value& local = locals[i];
        if (IsMissing(local))
            Throw(err::ArgumentNotOptional);
        if (local.IsReference() && params[i].byVal)
            local = Value(local.Target());
    }
    Frame f{*this, locals, me, &p, p.scope.get()};
    p.body.Exec(f);
    if (p.resultSlot < 0)
        return {};
    return std::move(locals[p.resultSlot]);
}

// Reading and writing through an index list: array elements, or an object's default member.
Value IndexValue(const Value& container, Value* args, size_t count);
void AssignIndexed(Value& container, Value* args, size_t count, Value value, bool set);
// A value assigned with Let (objects give their default value) or Set (Object required otherwise).
Value LetValue(Value value);
Value SetValue(Value value);

} // namespace tvsk::script
