// The syntax tree: expressions and statements with their positions, bound to slots by the resolver.
#pragma once

#include "Lexer.h"
#include "Value.h"

#include <com/EnumVariant.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tvsk::script
{

class Interpreter;
class ScriptObject;
struct Procedure;
struct ClassDef;
struct ClassMember;
struct Frame;

struct Pos
{
    int line = 0;
    int column = 0;
};

struct Expr
{
    Pos pos;
    bool names = false;   // a NameExpr: the only kind whose Ref or ElementRef can give a variable
    bool literal = false; // a LiteralExpr: plain, running no code, its value where it lives
    virtual ~Expr() = default;
    virtual Value Eval(Frame& f) const = 0;
    // A call made as a statement (its result, if any, is dropped).
    virtual void Call(Frame& f) const;
    // Assignment to the expression; set is true for Set.
    virtual void Assign(Frame& f, Value value, bool set) const;
    // The variable the expression names, for ByRef arguments, ReDim and For; null when it is no variable.
    virtual Value* Ref(Frame&) const { return nullptr; }
    // An array element the expression names, for ByRef arguments; the array is locked (the caller
    // unlocks it), so it cannot be resized or replaced while the reference lives.
    virtual Value* ElementRef(Frame&, SAFEARRAY**) const { return nullptr; }
    virtual bool IsLiteral() const { return false; }
    // Whether reading it runs no code (variables, constants, literals): then Peek gives its value where
    // it lives, without a copy, valid until the next code runs.
    virtual bool Plain() const { return false; }
    // Peek also gives an array element whose reading runs no code; null: evaluate it.
    virtual const Value* Peek(Frame&) const { return nullptr; }
    // Whether evaluating it now runs no code that could change a variable: literals, variables that
    // hold no object, operators and functions that only read over such.
    virtual bool RunsNoCode(Frame&) const { return false; }
    // The expression as a condition: True, or a value whose truth is true.
    virtual bool IsTrue(Frame& f) const;
};
using ExprPtr = std::unique_ptr<Expr>;

enum class Flow
{
    Normal,
    ExitDo,
    ExitFor,
    ExitProc
};

struct Stmt
{
    Pos pos;
    virtual ~Stmt() = default;
    virtual Flow Exec(Frame& f) const = 0;
};
using StmtPtr = std::unique_ptr<Stmt>;

struct Block
{
    std::vector<StmtPtr> statements;
    Flow Exec(Frame& f) const;
};

// Where a name leads, decided once by the resolver.
enum class Binding : unsigned char
{
    Unresolved,
    Local,        // slot in the frame
    Global,       // a global variable (pointer into the interpreter's globals)
    Constant,     // a named constant's value
    Field,        // a field of Me
    MeMember,     // a procedure or property of Me's class
    Procedure,    // a global Sub or Function
    Builtin,      // a function of the language
    ErrObject,    // Err
    NamedItem,    // an object the host added
    GlobalMember, // a member of a host object added with global members
    Undefined     // Option Explicit and never declared
};

struct Builtin;

// The scope a name is resolved in: a procedure's locals, then its class's members, then the globals.
struct Scope
{
    Scope* parent = nullptr; // the class scope of a method
    Procedure* procedure = nullptr;
    ClassDef* classDef = nullptr;
    std::unordered_map<std::u16string, int> locals; // lower-case name -> slot
    std::unordered_map<std::u16string, Value> constants;
    // Undeclared locals that share their name with an undeclared global.
    std::unordered_map<std::u16string, Value*> maybeGlobal;
    int Declare(const std::u16string& lowerName);
};

// An argument list; a missing argument ("f(1, , 3)") is null.
using Arguments = std::vector<ExprPtr>;

// A name, with its arguments when it has any: a variable, a call, an array element.
struct NameExpr : Expr
{
    std::u16string name;  // as written
    std::u16string lower; // for lookups
    Arguments args;
    bool hasParens = false;
    Binding binding = Binding::Unresolved;
    int slot = -1;
    Value* global = nullptr; // a global, or for a Local the global an undeclared name may turn out to be
    Value constant;
    Procedure* procedure = nullptr;
    const Builtin* builtin = nullptr;
    DISPID dispid = DISPID_UNKNOWN;
    Scope* scope = nullptr;
    bool readOnly = false;
    bool declares = false;        // ReDim's name: declared where it is not found, even with Option Explicit
    mutable bool defined = false; // a global's first use made it exist

    NameExpr() { names = true; }
    Value Eval(Frame& f) const override;
    void Call(Frame& f) const override;
    void Assign(Frame& f, Value value, bool set) const override;
    Value* Ref(Frame& f) const override;
    Value* ElementRef(Frame& f, SAFEARRAY** locked) const override;
    bool Plain() const override;
    const Value* Peek(Frame& f) const override;
    bool RunsNoCode(Frame& f) const override;

    Value* Variable(Frame& f) const;
    // A plain variable whose place stays the same while its procedure runs (a procedure's own local, a
    // global): where it lives, else null.
    Value* StableVariable(Frame& f) const;

private:
    Value* OtherVariable(Frame& f) const;
    // Everything but a plain variable or constant: kept out of the plain read's frame.
    [[gnu::noinline]] Value EvalCall(Frame& f) const;
    [[gnu::noinline]] const Value* PeekElement(Frame& f) const;
    bool PlainName() const
    {
        return args.empty() && !hasParens &&
               (binding == Binding::Local || binding == Binding::Global || binding == Binding::Field ||
                binding == Binding::Constant);
    }
};

// object.name, or .name inside With (object null).
struct MemberExpr : Expr
{
    ExprPtr object;
    std::u16string name;
    Arguments args;
    bool hasParens = false;
    bool onMe = false; // Me.name
    // The member last found on a script object of this class.
    mutable const ClassDef* cachedClass = nullptr;
    mutable const ClassMember* cachedMember = nullptr;

    Value Eval(Frame& f) const override;
    void Call(Frame& f) const override;
    void Assign(Frame& f, Value value, bool set) const override;
};

// A call's result indexed again: f(1)(2), a.b(1)(2).
struct IndexExpr : Expr
{
    ExprPtr base;
    Arguments args;

    Value Eval(Frame& f) const override;
    void Call(Frame& f) const override;
    void Assign(Frame& f, Value value, bool set) const override;
};

struct LiteralExpr : Expr
{
    Value value;
    LiteralExpr() { literal = true; }
    Value Eval(Frame&) const override { return value; }
    bool IsLiteral() const override { return true; }
    bool Plain() const override { return true; }
    const Value* Peek(Frame&) const override { return &value; }
    bool RunsNoCode(Frame&) const override { return true; }
};

// (expression): a value, never a variable, so a ByRef argument in parentheses passes a copy.
struct ParenExpr : Expr
{
    ExprPtr inner;
    Value Eval(Frame& f) const override { return inner->Eval(f); }
    bool IsLiteral() const override { return inner->IsLiteral(); }
    bool Plain() const override { return inner->Plain(); }
    const Value* Peek(Frame& f) const override { return inner->Peek(f); }
    bool RunsNoCode(Frame& f) const override { return inner->RunsNoCode(f); }
};

struct MeExpr : Expr
{
    Value Eval(Frame& f) const override;
};

struct NewExpr : Expr
{
    std::u16string className;
    Value Eval(Frame& f) const override;
};

enum class Op : unsigned char
{
    Add,
    Sub,
    Mul,
    Div,
    IntDiv,
    Mod,
    Pow,
    Concat,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp
};

struct BinaryExpr : Expr
{
    Op op;
    ExprPtr left, right;
    Value Eval(Frame& f) const override;
    bool RunsNoCode(Frame& f) const override;
    bool IsTrue(Frame& f) const override;

private:
    // An operand read without a virtual call: a literal's or a defined global's value where it lives, or
    // a procedure's own local's slot.
    struct Direct
    {
        const Value* fixed = nullptr;
        int local = -1;
    };
    // later: a global not defined yet, which its first read defines.
    static Direct DirectOperand(Frame& f, const Expr& e, bool& later);
    void FindDirect(Frame& f) const;
    const Value& Read(Frame& f, const Direct& d) const;
    Value Apply(const Value& a, const Value& b) const;
    // Operands that are not both Direct: kept out of the direct read's frame.
    [[gnu::noinline]] Value EvalOperands(Frame& f) const;
    // A local and an Integer or Long literal under +, - or a compare (k - 1, k < 2): the literal as a
    // number, so a local that holds an Integer or Long needs nothing else; integers: both are Integers.
    bool LocalAndNumber(Frame& f, long long& x, bool& integers) const;
    mutable Direct m_left, m_right;
    mutable long long m_number = 0;
    mutable bool m_numberIsInteger = false;
    mutable bool m_localAndNumber = false;
    mutable bool m_rightCalls = false;  // the right operand calls: a procedure, a function or a member
    mutable bool m_direct = false;      // both operands are Direct
    mutable bool m_directKnown = false; // found on the first evaluation that can tell
};

struct UnaryExpr : Expr
{
    bool negate = true; // else Not
    ExprPtr operand;
    Value Eval(Frame& f) const override;
};

// Statements.

struct AssignStmt : Stmt
{
    ExprPtr target, value;
    bool set = false;
    Flow Exec(Frame& f) const override;

private:
    // "s = s & a & b" with a, b that cannot change s: appended in place, in amortised linear time.
    enum class Append : unsigned char
    {
        Unknown,
        No,
        Yes
    };
    mutable Append m_append = Append::Unknown;
    mutable std::vector<const Expr*> m_appended;
    mutable const NameExpr* m_variable = nullptr; // the target when it is a name, once known
    mutable int m_local = -1;                     // the slot when it is the procedure's own local
    mutable const NameExpr* m_from = nullptr;     // the value when it is a name without arguments
    bool Appends() const;
    bool AppendInPlace(Frame& f) const;
    // Where a plain value v goes without the target's Assign (a variable, an element a(i)), or null.
    Value* PlainPlace(Frame& f, const Value& v) const;
};

struct CallStmt : Stmt
{
    ExprPtr call;
    Flow Exec(Frame& f) const override;

private:
    mutable signed char m_conversion = -1; // whether it calls a conversion function, once known
};

// Dim a(2, 3): the array is made when the statement runs; plain names need nothing at run time.
struct DimArrayStmt : Stmt
{
    ExprPtr target;
    std::vector<ExprPtr> bounds;
    Flow Exec(Frame& f) const override;
};

struct ReDimStmt : Stmt
{
    bool preserve = false;
    ExprPtr target;
    std::vector<ExprPtr> bounds;
    Flow Exec(Frame& f) const override;
};

struct EraseStmt : Stmt
{
    ExprPtr target;
    Flow Exec(Frame& f) const override;
};

struct IfStmt : Stmt
{
    std::vector<std::pair<ExprPtr, Block>> branches;
    Block otherwise;
    Flow Exec(Frame& f) const override;
};

struct CaseItem
{
    ExprPtr value;
    ExprPtr upper;          // Case a To b
    Op comparison = Op::Eq; // Case Is < x
};

struct SelectStmt : Stmt
{
    ExprPtr subject;
    std::vector<std::pair<std::vector<CaseItem>, Block>> cases;
    Block otherwise;
    bool hasElse = false;
    Flow Exec(Frame& f) const override;
};

struct ForStmt : Stmt
{
    ExprPtr variable, from, to, step;
    Block body;
    Flow Exec(Frame& f) const override;
};

struct ForEachStmt : Stmt
{
    ExprPtr variable, collection;
    Block body;
    Flow Exec(Frame& f) const override;

private:
    // The array's elements (into items) or the collection's enumerator.
    ComPtr<IEnumVARIANT> Enumerate(Frame& f, std::vector<Value>& items) const;
};

struct DoStmt : Stmt
{
    ExprPtr condition; // null: endless
    bool until = false;
    bool testFirst = true;
    Block body;
    Flow Exec(Frame& f) const override;

private:
    bool Ends(Frame& f) const;
};

struct ExitStmt : Stmt
{
    Flow flow;
    Flow Exec(Frame& f) const override;
};

struct WithStmt : Stmt
{
    ExprPtr object;
    Block body;
    Flow Exec(Frame& f) const override;
};

struct OnErrorStmt : Stmt
{
    bool resumeNext = false;
    Flow Exec(Frame& f) const override;
};

// Procedures and classes.

struct Parameter
{
    std::u16string name;
    bool byVal = false;
    bool array = false;
};

struct Procedure
{
    enum Kind
    {
        Sub,
        Function,
        PropertyGet,
        PropertyLet,
        PropertySet
    } kind = Sub;
    std::u16string name;
    std::vector<Parameter> params; // slots 0..n-1
    int resultSlot = -1;           // Function and Property Get
    int localCount = 0;
    bool isPublic = true;
    bool isDefault = false;
    ClassDef* owner = nullptr;
    Block body;
    Pos pos;
    std::unique_ptr<Scope> scope;
};

struct ClassMember
{
    std::u16string name;
    bool isPublic = true;
    int field = -1;
    Procedure* method = nullptr; // Sub or Function
    Procedure* get = nullptr;
    Procedure* let = nullptr;
    Procedure* set = nullptr;
};

struct FieldDef
{
    std::u16string name;
    std::vector<ExprPtr> bounds; // Dim a(3) inside a class: an array made at creation
    bool isArray = false;
};

struct ClassDef
{
    std::u16string name;
    std::vector<FieldDef> fields;
    std::vector<ClassMember> members; // DISPID = index + 1
    std::unordered_map<std::u16string, int> memberIndex;
    std::vector<std::unique_ptr<Procedure>> procedures;
    Procedure* initialize = nullptr;
    Procedure* terminate = nullptr;
    int defaultMember = -1;
    std::unique_ptr<Scope> scope;
    Pos pos;

    const ClassMember* Find(std::u16string_view lowerName) const;
};

// One parsed text: its global code, procedures and classes, kept while the engine lives.
struct Unit
{
    Block code;
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::vector<std::unique_ptr<ClassDef>> classes;
    std::vector<NameExpr*> names;                           // every name, for the resolver
    std::vector<std::pair<std::u16string, Pos>> globalDims; // Dim at global level
    std::vector<std::pair<std::u16string, Value>> globalConsts;
    bool optionExplicit = false;
    std::unique_ptr<Scope> globalScope; // names of the global code (its locals unused)
};

std::u16string Lower(std::u16string_view text);

} // namespace tvsk::script
