// The parser.
#include "Parser.h"

#include "ScriptError.h"
#include "Stack.h"

#include <initializer_list>
#include <utility>

namespace tvsk::script
{

std::u16string Lower(std::u16string_view text)
{
    std::u16string s(text);
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char16_t>(c + 32);
    return s;
}

int Scope::Declare(const std::u16string& lowerName)
{
    auto it = locals.find(lowerName);
    if (it != locals.end())
        return it->second;
    const int slot = procedure->localCount++;
    locals.emplace(lowerName, slot);
    return slot;
}

const ClassMember* ClassDef::Find(std::u16string_view lowerName) const
{
    auto it = memberIndex.find(std::u16string(lowerName));
    return it == memberIndex.end() ? nullptr : &members[static_cast<size_t>(it->second)];
}

namespace
{

constexpr int MaxDepth = 200;
constexpr int MaxOperators = 1000;

class Parser
{
public:
    Parser(std::vector<Token> tokens, Unit& unit) : m_tokens(std::move(tokens)), m_unit(unit) {}

    void Program()
    {
        m_scope = m_unit.globalScope.get();
        SkipNewlines();
        while (Peek().kind != Tok::End)
        {
            if (IsKw(Kw::Option))
            {
                Next();
                if (!IsKw(Kw::Explicit))
                    Fail(err::ExpectedIdentifier);
                Next();
                m_unit.optionExplicit = true;
                EndOfStatement();
                continue;
            }
            if (IsKw(Kw::Class))
            {
                ClassDecl();
                continue;
            }
            if (StartsProcedure())
            {
                ProcedureDecl(nullptr);
                continue;
            }
            Statement(m_unit.code, false);
            EndOfStatement();
        }
    }

    ExprPtr SingleExpression(Scope* scope)
    {
        m_scope = scope;
        SkipNewlines();
        ExprPtr e = Expression();
        SkipNewlines();
        if (Peek().kind != Tok::End)
            Fail(err::ExpectedEndOfStatement);
        return e;
    }

private:
    // Tokens.
    const Token& Peek(size_t ahead = 0) const
    {
        const size_t at = std::min(m_pos + ahead, m_tokens.size() - 1);
        return m_tokens[at];
    }
    const Token& Next()
    {
        const Token& t = m_tokens[m_pos];
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        return t;
    }
    bool IsKw(Kw k, size_t ahead = 0) const
    {
        return Peek(ahead).kind == Tok::Word && Peek(ahead).keyword == k;
    }
    bool Is(Tok k) const { return Peek().kind == k; }
    bool Accept(Tok k)
    {
        if (!Is(k))
            return false;
        Next();
        return true;
    }
    bool AcceptKw(Kw k)
    {
        if (!IsKw(k))
            return false;
        Next();
        return true;
    }
    [[noreturn]] void Fail(long number) const { ThrowCompile(number, Peek().line, Peek().column); }
    void Expect(Tok k, long number)
    {
        if (!Accept(k))
            Fail(number);
    }
    void ExpectKw(Kw k, long number)
    {
        if (!AcceptKw(k))
            Fail(number);
    }
    bool AtEndOfStatement() const
    {
        return Is(Tok::Newline) || Is(Tok::End) || (m_inlineIf && IsKw(Kw::Else));
    }
    void EndOfStatement()
    {
        if (Is(Tok::End))
            return;
        if (!Is(Tok::Newline))
            Fail(err::ExpectedEndOfStatement);
        SkipNewlines();
    }
    void SkipNewlines()
    {
        while (Is(Tok::Newline))
            Next();
    }
    Pos Here() const { return {Peek().line, Peek().column}; }

    std::u16string Identifier()
    {
        const Token& t = Peek();
        if (t.kind != Tok::Word || IsReserved(t.keyword))
            Fail(err::ExpectedIdentifier);
        Next();
        return t.text;
    }

    struct DepthGuard
    {
        Parser& p;
        explicit DepthGuard(Parser& parser) : p(parser)
        {
            if (++p.m_depth > MaxDepth || StackNearlyFull())
                ThrowCompile(err::OutOfStack, p.Peek().line, p.Peek().column);
        }
        ~DepthGuard() { --p.m_depth; }
    };

    // Declarations.

    bool StartsProcedure() const
    {
        size_t i = 0;
        if (IsKw(Kw::Public, i) || IsKw(Kw::Private, i))
            ++i;
        if (IsKw(Kw::Default, i))
            ++i;
        return IsKw(Kw::Sub, i) || IsKw(Kw::Function, i) || IsKw(Kw::Property, i);
    }

    void ProcedureDecl(ClassDef* owner)
    {
        auto proc = std::make_unique<Procedure>();
        proc->pos = Here();
        if (AcceptKw(Kw::Private))
            proc->isPublic = false;
        else
            AcceptKw(Kw::Public);
        if (IsKw(Kw::Default))
        {
            if (!owner)
                Fail(err::InsideClass);
            if (!proc->isPublic)
                Fail(err::DefaultNeedsPublic);
            Next();
            proc->isDefault = true;
        }
        Kw endKw;
        if (AcceptKw(Kw::Sub))
            proc->kind = Procedure::Sub, endKw = Kw::Sub;
        else if (AcceptKw(Kw::Function))
            proc->kind = Procedure::Function, endKw = Kw::Function;
        else
        {
            ExpectKw(Kw::Property, err::ExpectedProperty);
            if (!owner)
                Fail(err::InsideClass);
            endKw = Kw::Property;
            if (AcceptKw(Kw::Get))
                proc->kind = Procedure::PropertyGet;
            else if (AcceptKw(Kw::Let))
                proc->kind = Procedure::PropertyLet;
            else if (AcceptKw(Kw::Set))
                proc->kind = Procedure::PropertySet;
            else
                Fail(err::ExpectedLetSetGet);
        }
        if (proc->isDefault && proc->kind != Procedure::PropertyGet && proc->kind != Procedure::Function &&
            proc->kind != Procedure::Sub)
            Fail(err::DefaultOnlyGet);
        proc->name = Identifier();
        proc->owner = owner;
        proc->scope = std::make_unique<Scope>();
        proc->scope->procedure = proc.get();
        proc->scope->classDef = owner;
        proc->scope->parent = owner ? owner->scope.get() : nullptr;
        if (Accept(Tok::LParen))
        {
            if (!Is(Tok::RParen))
            {
                do
                {
                    Parameter p;
                    if (AcceptKw(Kw::ByVal))
                        p.byVal = true;
                    else
                        AcceptKw(Kw::ByRef);
                    p.name = Identifier();
                    if (Accept(Tok::LParen))
                    {
                        Expect(Tok::RParen, err::ExpectedRParen);
                        p.array = true;
                    }
                    const std::u16string lower = Lower(p.name);
                    if (proc->scope->locals.count(lower))
                        Fail(err::NameRedefined);
                    proc->scope->Declare(lower);
                    proc->params.push_back(std::move(p));
                } while (Accept(Tok::Comma));
            }
            Expect(Tok::RParen, err::ExpectedRParen);
        }
        if ((proc->kind == Procedure::PropertyLet || proc->kind == Procedure::PropertySet) &&
            proc->params.empty())
            Fail(err::PropertyArguments);
        if (proc->kind == Procedure::Function || proc->kind == Procedure::PropertyGet)
            proc->resultSlot = proc->scope->Declare(u"\x01result");
        if (owner)
        {
            const std::u16string lower = Lower(proc->name);
            if ((lower == u"class_initialize" || lower == u"class_terminate") && !proc->params.empty())
                Fail(err::InitTermArguments);
        }
        EndOfStatement();
        Scope* outer = m_scope;
        m_scope = proc->scope.get();
        m_procedure = proc.get();
        Body(proc->body, {Kw::End});
        ExpectKw(Kw::End, err::ExpectedEnd);
        ExpectKw(endKw, endKw == Kw::Sub        ? err::ExpectedSub
                        : endKw == Kw::Function ? err::ExpectedFunction
                                                : err::ExpectedProperty);
        EndOfStatement();
        m_scope = outer;
        m_procedure = nullptr;
        if (owner)
            AddMember(*owner, std::move(proc));
        else
            m_unit.procedures.push_back(std::move(proc));
    }

    void AddMember(ClassDef& cls, std::unique_ptr<Procedure> proc)
    {
        const std::u16string lower = Lower(proc->name);
        ClassMember& m = Member(cls, proc->name, proc->isPublic);
        Procedure*& slot = proc->kind == Procedure::PropertyGet   ? m.get
                           : proc->kind == Procedure::PropertyLet ? m.let
                           : proc->kind == Procedure::PropertySet ? m.set
                                                                  : m.method;
        if (slot || m.field >= 0 || (m.method && proc->kind >= Procedure::PropertyGet) ||
            ((m.get || m.let || m.set) && proc->kind < Procedure::PropertyGet))
            ThrowCompile(err::NameRedefined, proc->pos.line, proc->pos.column);
        slot = proc.get();
        if (proc->isDefault)
        {
            if (cls.defaultMember >= 0)
                ThrowCompile(err::MultipleDefaults, proc->pos.line, proc->pos.column);
            cls.defaultMember = cls.memberIndex[lower];
        }
        if (lower == u"class_initialize" && proc->kind == Procedure::Sub)
            cls.initialize = proc.get();
        if (lower == u"class_terminate" && proc->kind == Procedure::Sub)
            cls.terminate = proc.get();
        cls.procedures.push_back(std::move(proc));
    }

    ClassMember& Member(ClassDef& cls, const std::u16string& name, bool isPublic)
    {
        const std::u16string lower = Lower(name);
        auto it = cls.memberIndex.find(lower);
        if (it != cls.memberIndex.end())
        {
            ClassMember& m = cls.members[static_cast<size_t>(it->second)];
            m.isPublic = m.isPublic || isPublic;
            return m;
        }
        cls.memberIndex.emplace(lower, static_cast<int>(cls.members.size()));
        cls.members.push_back({name, isPublic});
        return cls.members.back();
    }

    void ClassDecl()
    {
        Next();
        auto cls = std::make_unique<ClassDef>();
        cls->pos = Here();
        cls->name = Identifier();
        cls->scope = std::make_unique<Scope>();
        cls->scope->classDef = cls.get();
        m_class = cls.get();
        EndOfStatement();
        while (!IsKw(Kw::End))
        {
            if (Is(Tok::End))
                Fail(err::ExpectedEnd);
            if (StartsProcedure())
            {
                ProcedureDecl(cls.get());
                continue;
            }
            bool isPublic = true;
            if (AcceptKw(Kw::Private))
                isPublic = false;
            else if (!AcceptKw(Kw::Public))
                ExpectKw(Kw::Dim, err::ExpectedStatement);
            if (IsKw(Kw::Const))
                Fail(err::ExpectedStatement);
            do
            {
                const Pos at = Here();
                FieldDef field;
                field.name = Identifier();
                if (Accept(Tok::LParen))
                {
                    field.isArray = true;
                    if (!Is(Tok::RParen))
                        do
                            field.bounds.push_back(Expression());
                        while (Accept(Tok::Comma));
                    Expect(Tok::RParen, err::ExpectedRParen);
                }
                ClassMember& m = Member(*cls, field.name, isPublic);
                if (m.field >= 0 || m.method || m.get || m.let || m.set)
                    ThrowCompile(err::NameRedefined, at.line, at.column);
                m.field = static_cast<int>(cls->fields.size());
                cls->fields.push_back(std::move(field));
            } while (Accept(Tok::Comma));
            EndOfStatement();
        }
        Next();
        ExpectKw(Kw::Class, err::ExpectedClass);
        EndOfStatement();
        m_class = nullptr;
        m_unit.classes.push_back(std::move(cls));
    }

    // Statements.

    void Body(Block& block, std::initializer_list<Kw> terminators)
    {
        DepthGuard guard(*this);
        SkipNewlines();
        for (;;)
        {
            if (Is(Tok::End))
                return;
            if (Peek().kind == Tok::Word)
                for (Kw k : terminators)
                    if (Peek().keyword == k)
                        return;
            if (StartsProcedure() && !m_procedure && !m_class)
            {
                // A procedure in a block of the global code exists whether or not the block runs.
                NestedProcedure();
                continue;
            }
            if (StartsProcedure() || IsKw(Kw::Class))
                Fail(err::ExpectedStatement);
            Statement(block, false);
            EndOfStatement();
        }
    }

    void NestedProcedure()
    {
        const Loops loops = std::exchange(m_loops, Loops{});
        const bool inlineIf = std::exchange(m_inlineIf, false);
        ProcedureDecl(nullptr);
        m_loops = loops;
        m_inlineIf = inlineIf;
    }

    template <class T> T& Add(Block& block, Pos at)
    {
        auto s = std::make_unique<T>();
        s->pos = at;
        T& r = *s;
        block.statements.push_back(std::move(s));
        return r;
    }

    void Statement(Block& block, bool inlineIf)
    {
        DepthGuard guard(*this);
        m_operators = 0;
        const Pos at = Here();
        const Token& t = Peek();
        if (t.kind == Tok::Dot || t.kind == Tok::LParen)
            return AssignOrCall(block, at, false);
        if (t.kind != Tok::Word)
            Fail(err::ExpectedStatement);
        switch (t.keyword)
        {
        case Kw::Dim:
            Next();
            return Declarations(block, true);
        case Kw::Public:
        case Kw::Private:
            if (m_procedure)
                Fail(err::ExpectedStatement);
            Next();
            if (IsKw(Kw::Const))
                return ConstStmt(block);
            return Declarations(block, true);
        case Kw::Const:
            return ConstStmt(block);
        case Kw::ReDim:
            return ReDim(block, at);
        case Kw::Erase:
        {
            Next();
            auto& s = Add<EraseStmt>(block, at);
            s.target = NameOnly();
            return;
        }
        case Kw::Set:
        {
            Next();
            auto& s = Add<AssignStmt>(block, at);
            s.set = true;
            s.target = Postfix(false);
            Expect(Tok::Eq, err::ExpectedEquals);
            s.value = Expression();
            return;
        }
        case Kw::If:
            return If(block, at);
        case Kw::Select:
            return Select(block, at);
        case Kw::For:
            return For(block, at);
        case Kw::Do:
            return Do(block, at);
        case Kw::While:
        {
            Next();
            auto& s = Add<DoStmt>(block, at);
            s.condition = Expression();
            EndOfStatement();
            ++m_loops.doDepth;
            Body(s.body, {Kw::Wend});
            --m_loops.doDepth;
            ExpectKw(Kw::Wend, err::ExpectedWend);
            return;
        }
        case Kw::With:
        {
            Next();
            auto& s = Add<WithStmt>(block, at);
            s.object = Expression();
            EndOfStatement();
            Body(s.body, {Kw::End});
            ExpectKw(Kw::End, err::ExpectedEnd);
            ExpectKw(Kw::With, err::ExpectedWith);
            return;
        }
        case Kw::Exit:
            return Exit(block, at);
        case Kw::On:
        {
            Next();
            ExpectKw(Kw::Error, err::SyntaxError);
            auto& s = Add<OnErrorStmt>(block, at);
            if (AcceptKw(Kw::Resume))
            {
                ExpectKw(Kw::Next, err::SyntaxError);
                s.resumeNext = true;
            }
            else
            {
                ExpectKw(Kw::GoTo, err::SyntaxError);
                if (!(Is(Tok::Number) && Peek().value.vt == VT_I2 && Peek().value.iVal == 0))
                    Fail(err::SyntaxError);
                Next();
            }
            return;
        }
        case Kw::Call:
        {
            Next();
            return AssignOrCall(block, at, true);
        }
        case Kw::Stop:
            Next();
            return;
        case Kw::Option:
            Fail(err::MustBeFirst);
        case Kw::Next:
            Fail(err::UnexpectedNext);
        case Kw::Loop:
            Fail(err::LoopWithoutDo);
        default:
            if (IsReserved(t.keyword) && t.keyword != Kw::Me)
                Fail(err::ExpectedStatement);
            (void)inlineIf;
            return AssignOrCall(block, at, false);
        }
    }

    void Declarations(Block& block, bool)
    {
        do
        {
            const Pos at = Here();
            const std::u16string name = Identifier();
            const std::u16string lower = Lower(name);
            Declare(name, at);
            if (Accept(Tok::LParen))
            {
                auto& s = Add<DimArrayStmt>(block, at);
                s.target = MakeName(name, at);
                if (!Is(Tok::RParen))
                    do
                        s.bounds.push_back(Expression());
                    while (Accept(Tok::Comma));
                Expect(Tok::RParen, err::ExpectedRParen);
            }
        } while (Accept(Tok::Comma));
    }

    void Declare(const std::u16string& name, Pos at)
    {
        const std::u16string lower = Lower(name);
        if (m_procedure)
        {
            if (m_scope->locals.count(lower) || m_scope->constants.count(lower))
                ThrowCompile(err::NameRedefined, at.line, at.column);
            m_scope->Declare(lower);
        }
        else
        {
            for (const auto& d : m_unit.globalDims)
                if (Lower(d.first) == lower)
                    ThrowCompile(err::NameRedefined, at.line, at.column);
            m_unit.globalDims.emplace_back(name, at);
        }
    }

    void ConstStmt(Block&)
    {
        Next();
        do
        {
            const Pos at = Here();
            const std::u16string name = Identifier();
            Expect(Tok::Eq, err::ExpectedEquals);
            Value v = ConstValue();
            const std::u16string lower = Lower(name);
            if (m_procedure)
            {
                if (m_scope->locals.count(lower) || m_scope->constants.count(lower))
                    ThrowCompile(err::NameRedefined, at.line, at.column);
                m_scope->constants.emplace(lower, std::move(v));
            }
            else
            {
                for (const auto& c : m_unit.globalConsts)
                    if (Lower(c.first) == lower)
                        ThrowCompile(err::NameRedefined, at.line, at.column);
                m_unit.globalConsts.emplace_back(name, std::move(v));
            }
        } while (Accept(Tok::Comma));
    }

    // A literal, optionally signed or in parentheses.
    Value ConstValue()
    {
        if (Accept(Tok::LParen))
        {
            Value v = ConstValue();
            Expect(Tok::RParen, err::ExpectedRParen);
            return v;
        }
        bool negative = false;
        while (Is(Tok::Minus) || Is(Tok::Plus))
            if (Next().kind == Tok::Minus)
                negative = !negative;
        const Token& t = Peek();
        Value v;
        if (t.kind == Tok::Number || t.kind == Tok::String || t.kind == Tok::Date)
            v = t.value;
        else if (t.kind == Tok::Word && t.keyword == Kw::True)
            v = Value::Bool(true);
        else if (t.kind == Tok::Word && t.keyword == Kw::False)
            v = Value::Bool(false);
        else if (t.kind == Tok::Word && t.keyword == Kw::Null)
            v = Value::Null();
        else if (t.kind == Tok::Word && t.keyword == Kw::Empty)
            v = Value();
        else if (t.kind == Tok::Word && t.keyword == Kw::Nothing)
            v = Value::Object(nullptr);
        else
            Fail(err::ExpectedLiteral);
        Next();
        if (negative)
            v = NegateLiteral(v);
        return v;
    }

    static Value NegateLiteral(const Value& v);

    void ReDim(Block& block, Pos)
    {
        Next();
        const bool preserve = AcceptKw(Kw::Preserve);
        do
        {
            const Pos at = Here();
            auto& s = Add<ReDimStmt>(block, at);
            s.preserve = preserve;
            const std::u16string name = Identifier();
            NameExpr* target = MakeNameNode(name, at);
            target->declares = true;
            s.target = ExprPtr(target);
            Expect(Tok::LParen, err::ExpectedLParen);
            do
                s.bounds.push_back(Expression());
            while (Accept(Tok::Comma));
            Expect(Tok::RParen, err::ExpectedRParen);
        } while (Accept(Tok::Comma));
    }

    ExprPtr NameOnly()
    {
        const Pos at = Here();
        return MakeName(Identifier(), at);
    }

    void If(Block& block, Pos at)
    {
        Next();
        auto& s = Add<IfStmt>(block, at);
        ExprPtr condition = Expression();
        ExpectKw(Kw::Then, err::ExpectedThen);
        if (!Is(Tok::Newline) || Peek().colon)
        {
            if (Is(Tok::Newline) && Peek().colon)
                Next();
            // One line: statements up to the line end, with an optional Else part.
            Block then;
            InlineStatements(then);
            s.branches.emplace_back(std::move(condition), std::move(then));
            if (AcceptKw(Kw::Else))
                InlineStatements(s.otherwise);
            if (IsKw(Kw::End) && IsKw(Kw::If, 1))
            {
                Next();
                Next();
            }
            return;
        }
        Block then;
        Body(then, {Kw::ElseIf, Kw::Else, Kw::End});
        s.branches.emplace_back(std::move(condition), std::move(then));
        while (AcceptKw(Kw::ElseIf))
        {
            ExprPtr c = Expression();
            ExpectKw(Kw::Then, err::ExpectedThen);
            Block b;
            if (!Is(Tok::Newline))
            {
                InlineStatements(b);
                EndOfStatement();
            }
            Body(b, {Kw::ElseIf, Kw::Else, Kw::End});
            s.branches.emplace_back(std::move(c), std::move(b));
        }
        if (AcceptKw(Kw::Else))
        {
            if (!Is(Tok::Newline))
            {
                InlineStatements(s.otherwise);
                EndOfStatement();
            }
            Body(s.otherwise, {Kw::End});
        }
        ExpectKw(Kw::End, err::ExpectedEnd);
        ExpectKw(Kw::If, err::ExpectedIf);
    }

    void InlineStatements(Block& block)
    {
        const bool outer = m_inlineIf;
        m_inlineIf = true;
        for (;;)
        {
            // ": End Sub" (any End but End If) ends the line's statements and what encloses them.
            if (Is(Tok::Newline) && Peek().colon && IsKw(Kw::End, 1) && !IsKw(Kw::If, 2))
                break;
            if (Is(Tok::Newline) && Peek().colon)
            {
                Next();
                continue;
            }
            if (AtEndOfStatement() || (IsKw(Kw::End) && IsKw(Kw::If, 1)))
                break;
            Statement(block, true);
            if (Is(Tok::Newline) && !Peek().colon)
                break;
        }
        m_inlineIf = outer;
    }

    void Select(Block& block, Pos at)
    {
        Next();
        ExpectKw(Kw::Case, err::ExpectedCase);
        auto& s = Add<SelectStmt>(block, at);
        s.subject = Expression();
        EndOfStatement();
        while (AcceptKw(Kw::Case))
        {
            if (AcceptKw(Kw::Else))
            {
                s.hasElse = true;
                if (Is(Tok::Newline) && Peek().colon)
                    Next();
                Body(s.otherwise, {Kw::End});
                break;
            }
            std::vector<CaseItem> items;
            do
            {
                CaseItem item;
                if (AcceptKw(Kw::Is))
                {
                    switch (Next().kind)
                    {
                    case Tok::Eq:
                        item.comparison = Op::Eq;
                        break;
                    case Tok::Ne:
                        item.comparison = Op::Ne;
                        break;
                    case Tok::Lt:
                        item.comparison = Op::Lt;
                        break;
                    case Tok::Gt:
                        item.comparison = Op::Gt;
                        break;
                    case Tok::Le:
                        item.comparison = Op::Le;
                        break;
                    case Tok::Ge:
                        item.comparison = Op::Ge;
                        break;
                    default:
                        Fail(err::SyntaxError);
                    }
                    item.value = Concat();
                }
                else
                {
                    item.value = Expression();
                    if (AcceptKw(Kw::To))
                        item.upper = Expression();
                }
                items.push_back(std::move(item));
            } while (Accept(Tok::Comma));
            if (Is(Tok::Newline) && Peek().colon)
                Next();
            Block b;
            Body(b, {Kw::Case, Kw::End});
            s.cases.emplace_back(std::move(items), std::move(b));
        }
        ExpectKw(Kw::End, err::ExpectedEnd);
        ExpectKw(Kw::Select, err::ExpectedSelect);
    }

    void For(Block& block, Pos at)
    {
        Next();
        if (AcceptKw(Kw::Each))
        {
            auto& s = Add<ForEachStmt>(block, at);
            s.variable = NameOnly();
            ExpectKw(Kw::In, err::ExpectedIn);
            s.collection = Expression();
            EndOfStatement();
            ++m_loops.forDepth;
            Body(s.body, {Kw::Next});
            --m_loops.forDepth;
            ExpectKw(Kw::Next, err::ExpectedNext);
            if (Peek().kind == Tok::Word && !IsReserved(Peek().keyword))
                Next();
            return;
        }
        auto& s = Add<ForStmt>(block, at);
        if (Peek().kind != Tok::Word || IsReserved(Peek().keyword))
            Fail(err::InvalidForVariable);
        s.variable = NameOnly();
        Expect(Tok::Eq, err::ExpectedEquals);
        s.from = Expression();
        ExpectKw(Kw::To, err::ExpectedTo);
        s.to = Expression();
        if (AcceptKw(Kw::Step))
            s.step = Expression();
        EndOfStatement();
        ++m_loops.forDepth;
        Body(s.body, {Kw::Next});
        --m_loops.forDepth;
        ExpectKw(Kw::Next, err::ExpectedNext);
        if (Peek().kind == Tok::Word && !IsReserved(Peek().keyword))
            Next();
    }

    void Do(Block& block, Pos at)
    {
        Next();
        auto& s = Add<DoStmt>(block, at);
        if (IsKw(Kw::While) || IsKw(Kw::Until))
        {
            s.until = Next().keyword == Kw::Until;
            s.condition = Expression();
        }
        EndOfStatement();
        ++m_loops.doDepth;
        Body(s.body, {Kw::Loop});
        --m_loops.doDepth;
        ExpectKw(Kw::Loop, err::ExpectedLoop);
        if (IsKw(Kw::While) || IsKw(Kw::Until))
        {
            if (s.condition)
                Fail(err::ExpectedEndOfStatement);
            s.until = Next().keyword == Kw::Until;
            s.condition = Expression();
            s.testFirst = false;
        }
    }

    void Exit(Block& block, Pos at)
    {
        Next();
        auto& s = Add<ExitStmt>(block, at);
        const Kw k = Peek().kind == Tok::Word ? Peek().keyword : Kw::None;
        switch (k)
        {
        case Kw::Do:
            if (!m_loops.doDepth)
                Fail(err::InvalidExit);
            s.flow = Flow::ExitDo;
            break;
        case Kw::For:
            if (!m_loops.forDepth)
                Fail(err::InvalidExit);
            s.flow = Flow::ExitFor;
            break;
        case Kw::Sub:
        case Kw::Function:
        case Kw::Property:
        {
            const bool ok =
                m_procedure && ((k == Kw::Sub && m_procedure->kind == Procedure::Sub) ||
                                (k == Kw::Function && m_procedure->kind == Procedure::Function) ||
                                (k == Kw::Property && m_procedure->kind >= Procedure::PropertyGet));
            if (!ok)
                Fail(err::InvalidExit);
            s.flow = Flow::ExitProc;
            break;
        }
        default:
            Fail(err::InvalidExit);
        }
        Next();
    }

    // An assignment or a call, told apart by what follows the target.
    void AssignOrCall(Block& block, Pos at, bool callKeyword)
    {
        const size_t start = m_pos;
        const size_t names = m_unit.names.size();
        ExprPtr target = Postfix(false);
        if (!callKeyword && Is(Tok::Eq))
        {
            Next();
            auto& s = Add<AssignStmt>(block, at);
            s.target = std::move(target);
            s.value = Expression();
            return;
        }
        if (AtEndOfStatement())
        {
            if (!callKeyword)
                UnparenthesizedCall(*target);
            auto& s = Add<CallStmt>(block, at);
            s.call = std::move(target);
            return;
        }
        if (callKeyword)
            Fail(err::ExpectedEndOfStatement);
        // Arguments without parentheses: read the target again, stopping before its argument list.
        m_pos = start;
        m_unit.names.resize(names);
        target = Postfix(true);
        UnwrapCallee(target);
        Arguments args;
        ArgumentList(args, true);
        Arguments* slot = ArgumentsOf(*target);
        if (!slot)
            Fail(err::ExpectedEndOfStatement);
        *slot = std::move(args);
        auto& s = Add<CallStmt>(block, at);
        s.call = std::move(target);
    }

    // "f(a)" as a statement passes a by value; "f(a, b)" needs Call.
    void UnparenthesizedCall(Expr& target)
    {
        auto* name = dynamic_cast<NameExpr*>(&target);
        auto* member = dynamic_cast<MemberExpr*>(&target);
        Arguments* args = name ? &name->args : member ? &member->args : nullptr;
        const bool parens = name ? name->hasParens : member ? member->hasParens : false;
        if (!args || !parens)
            return;
        if (args->size() > 1)
            ThrowCompile(err::ParenthesesOnSubCall, target.pos.line, target.pos.column);
        if (args->size() == 1 && (*args)[0])
        {
            auto p = std::make_unique<ParenExpr>();
            p->pos = (*args)[0]->pos;
            p->inner = std::move((*args)[0]);
            (*args)[0] = std::move(p);
        }
    }

    // "(f)" or "((o.m))" before an argument list: the parentheses only enclose what is called.
    static void UnwrapCallee(ExprPtr& e)
    {
        ExprPtr* inner = &e;
        while (auto* p = dynamic_cast<ParenExpr*>(inner->get()))
            inner = &p->inner;
        if (inner == &e)
            return;
        auto* name = dynamic_cast<NameExpr*>(inner->get());
        auto* member = dynamic_cast<MemberExpr*>(inner->get());
        if ((name && !name->hasParens) || (member && !member->hasParens))
            e = std::move(*inner);
    }

    static Arguments* ArgumentsOf(Expr& e)
    {
        if (auto* n = dynamic_cast<NameExpr*>(&e); n && !n->hasParens)
        {
            n->hasParens = true;
            return &n->args;
        }
        if (auto* m = dynamic_cast<MemberExpr*>(&e); m && !m->hasParens)
        {
            m->hasParens = true;
            return &m->args;
        }
        return nullptr;
    }

    void ArgumentList(Arguments& args, bool allowEmptyFirst)
    {
        (void)allowEmptyFirst;
        for (;;)
        {
            if (Is(Tok::Comma))
                args.push_back(nullptr);
            else if (Is(Tok::RParen) || AtEndOfStatement())
            {
                if (!args.empty())
                    args.push_back(nullptr);
                return;
            }
            else
                args.push_back(Expression());
            if (!Accept(Tok::Comma))
                return;
        }
    }

    // Does the '(' at the current position close with a ')' that is followed by '.' or '('?
    bool ParenContinues() const
    {
        int depth = 0;
        for (size_t i = m_pos; i < m_tokens.size(); ++i)
        {
            const Tok k = m_tokens[i].kind;
            if (k == Tok::LParen)
                ++depth;
            else if (k == Tok::RParen && --depth == 0)
                return i + 1 < m_tokens.size() &&
                       ((m_tokens[i + 1].kind == Tok::Dot && !m_tokens[i + 1].spaceBefore) ||
                        m_tokens[i + 1].kind == Tok::LParen);
            else if (k == Tok::Newline || k == Tok::End)
                return false;
        }
        return false;
    }

    NameExpr* MakeNameNode(const std::u16string& name, Pos at)
    {
        auto* n = new NameExpr;
        n->pos = at;
        n->name = name;
        n->lower = Lower(name);
        n->scope = m_scope;
        m_unit.names.push_back(n);
        return n;
    }
    ExprPtr MakeName(const std::u16string& name, Pos at) { return ExprPtr(MakeNameNode(name, at)); }

    // A name or With member and what follows it: members, argument lists, indexes.
    ExprPtr Postfix(bool stopBeforeArguments)
    {
        const Pos at = Here();
        ExprPtr e;
        if (Is(Tok::Dot))
        {
            Next();
            auto m = std::make_unique<MemberExpr>();
            m->pos = at;
            m->name = MemberName();
            e = std::move(m);
        }
        else if (Is(Tok::LParen))
            return Primary();
        else if (IsKw(Kw::Me))
        {
            Next();
            e = std::make_unique<MeExpr>();
            e->pos = at;
        }
        else
            e = MakeName(Identifier(), at);
        return PostfixTail(std::move(e), stopBeforeArguments);
    }

    ExprPtr PostfixTail(ExprPtr e, bool stopBeforeArguments)
    {
        for (;;)
        {
            if (Is(Tok::Dot) && !Peek().spaceBefore)
            {
                const Pos at = Here();
                Next();
                auto m = std::make_unique<MemberExpr>();
                m->pos = at;
                m->onMe = dynamic_cast<MeExpr*>(e.get()) != nullptr;
                m->object = std::move(e);
                m->name = MemberName();
                e = std::move(m);
                continue;
            }
            if (Is(Tok::LParen))
            {
                if (stopBeforeArguments && !ParenContinues())
                    return e;
                Next();
                Arguments args;
                if (!Is(Tok::RParen))
                    ArgumentList(args, false);
                Expect(Tok::RParen, err::ExpectedRParen);
                UnwrapCallee(e);
                auto* name = dynamic_cast<NameExpr*>(e.get());
                auto* member = dynamic_cast<MemberExpr*>(e.get());
                if (name && !name->hasParens)
                {
                    name->hasParens = true;
                    name->args = std::move(args);
                }
                else if (member && !member->hasParens)
                {
                    member->hasParens = true;
                    member->args = std::move(args);
                }
                else
                {
                    auto ix = std::make_unique<IndexExpr>();
                    ix->pos = e->pos;
                    ix->base = std::move(e);
                    ix->args = std::move(args);
                    e = std::move(ix);
                }
                continue;
            }
            return e;
        }
    }

    std::u16string MemberName()
    {
        if (Peek().kind != Tok::Word)
            Fail(err::ExpectedIdentifier);
        return Next().text;
    }

    // Expressions, lowest precedence first.

    template <class Next> ExprPtr Binary(Op op, ExprPtr left, Next next)
    {
        // Long operator chains nest as deeply as parentheses do when evaluated.
        if (++m_operators > MaxOperators)
            Fail(err::OutOfStack);
        auto b = std::make_unique<BinaryExpr>();
        b->pos = left->pos;
        b->op = op;
        b->left = std::move(left);
        b->right = next();
        return b;
    }

    // An operator of a left-associative level: a symbol, or a keyword when the token is a word.
    struct LevelOperator
    {
        Tok token;
        Kw keyword;
        Op op;
    };
    // One left-associative level over the next tighter one.
    ExprPtr LeftAssociative(ExprPtr (Parser::*tighter)(), std::initializer_list<LevelOperator> operators)
    {
        ExprPtr e = (this->*tighter)();
        for (;;)
        {
            const LevelOperator* found = nullptr;
            for (const LevelOperator& candidate : operators)
                if (candidate.token == Tok::Word ? IsKw(candidate.keyword) : Is(candidate.token))
                {
                    found = &candidate;
                    break;
                }
            if (!found)
                return e;
            Next();
            e = Binary(found->op, std::move(e), [&] { return (this->*tighter)(); });
        }
    }

    ExprPtr Expression()
    {
        DepthGuard guard(*this);
        return LeftAssociative(&Parser::EqvExpr, {{Tok::Word, Kw::Imp, Op::Imp}});
    }
    ExprPtr EqvExpr() { return LeftAssociative(&Parser::XorExpr, {{Tok::Word, Kw::Eqv, Op::Eqv}}); }
    ExprPtr XorExpr() { return LeftAssociative(&Parser::OrExpr, {{Tok::Word, Kw::Xor, Op::Xor}}); }
    ExprPtr OrExpr() { return LeftAssociative(&Parser::AndExpr, {{Tok::Word, Kw::Or, Op::Or}}); }
    ExprPtr AndExpr() { return LeftAssociative(&Parser::NotExpr, {{Tok::Word, Kw::And, Op::And}}); }
    ExprPtr NotExpr()
    {
        if (IsKw(Kw::Not))
        {
            DepthGuard guard(*this);
            const Pos at = Here();
            Next();
            auto u = std::make_unique<UnaryExpr>();
            u->pos = at;
            u->negate = false;
            u->operand = NotExpr();
            return u;
        }
        return Comparison();
    }
    ExprPtr Comparison()
    {
        return LeftAssociative(&Parser::Concat, {{Tok::Eq, Kw::None, Op::Eq},
                                                 {Tok::Ne, Kw::None, Op::Ne},
                                                 {Tok::Lt, Kw::None, Op::Lt},
                                                 {Tok::Gt, Kw::None, Op::Gt},
                                                 {Tok::Le, Kw::None, Op::Le},
                                                 {Tok::Ge, Kw::None, Op::Ge},
                                                 {Tok::Word, Kw::Is, Op::Is}});
    }
    ExprPtr Concat() { return LeftAssociative(&Parser::Additive, {{Tok::Amp, Kw::None, Op::Concat}}); }
    ExprPtr Additive()
    {
        return LeftAssociative(&Parser::ModExpr,
                               {{Tok::Plus, Kw::None, Op::Add}, {Tok::Minus, Kw::None, Op::Sub}});
    }
    ExprPtr ModExpr() { return LeftAssociative(&Parser::IntDivExpr, {{Tok::Word, Kw::Mod, Op::Mod}}); }
    ExprPtr IntDivExpr()
    {
        return LeftAssociative(&Parser::Multiplicative, {{Tok::Backslash, Kw::None, Op::IntDiv}});
    }
    ExprPtr Multiplicative()
    {
        return LeftAssociative(&Parser::PowerExpr,
                               {{Tok::Star, Kw::None, Op::Mul}, {Tok::Slash, Kw::None, Op::Div}});
    }
    // ^ over signed operands: the sign binds tighter ("-3 ^ 2" is 9).
    ExprPtr PowerExpr()
    {
        ExprPtr e = Unary();
        while (Accept(Tok::Caret))
            e = Binary(Op::Pow, std::move(e), [&] { return Unary(); });
        return e;
    }
    ExprPtr Unary()
    {
        if (Is(Tok::Minus) || Is(Tok::Plus))
        {
            DepthGuard guard(*this);
            const Pos at = Here();
            const bool minus = Next().kind == Tok::Minus;
            ExprPtr operand = Unary();
            if (!minus)
                return operand;
            auto u = std::make_unique<UnaryExpr>();
            u->pos = at;
            u->operand = std::move(operand);
            return u;
        }
        return Primary();
    }

    ExprPtr Literal(Value v, Pos at)
    {
        auto l = std::make_unique<LiteralExpr>();
        l->pos = at;
        l->value = std::move(v);
        return l;
    }

    ExprPtr Primary()
    {
        const Pos at = Here();
        const Token& t = Peek();
        switch (t.kind)
        {
        case Tok::Number:
        case Tok::String:
        case Tok::Date:
            Next();
            return Literal(t.value, at);
        case Tok::LParen:
        {
            Next();
            auto p = std::make_unique<ParenExpr>();
            p->pos = at;
            p->inner = Expression();
            Expect(Tok::RParen, err::ExpectedRParen);
            return PostfixTail(std::move(p), false);
        }
        case Tok::Dot:
            return Postfix(false);
        case Tok::Word:
            switch (t.keyword)
            {
            case Kw::True:
                Next();
                return Literal(Value::Bool(true), at);
            case Kw::False:
                Next();
                return Literal(Value::Bool(false), at);
            case Kw::Empty:
                Next();
                return Literal(Value(), at);
            case Kw::Null:
                Next();
                return Literal(Value::Null(), at);
            case Kw::Nothing:
                Next();
                return Literal(Value::Object(nullptr), at);
            case Kw::New:
            {
                Next();
                auto n = std::make_unique<NewExpr>();
                n->pos = at;
                n->className = Identifier();
                return n;
            }
            case Kw::Me:
                return Postfix(false);
            default:
                if (IsReserved(t.keyword))
                    Fail(err::ExpectedExpression);
                return Postfix(false);
            }
        default:
            Fail(err::ExpectedExpression);
        }
    }

    struct Loops
    {
        int doDepth = 0;
        int forDepth = 0;
    };

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    Unit& m_unit;
    Scope* m_scope = nullptr;
    Procedure* m_procedure = nullptr;
    ClassDef* m_class = nullptr;
    Loops m_loops;
    bool m_inlineIf = false;
    int m_depth = 0;
    int m_operators = 0; // binary operators in the current statement
};

Value Parser::NegateLiteral(const Value& v)
{
    switch (v.vt)
    {
    case VT_I2:
        return v.iVal == -32768 ? Value::Long(32768) : Value::Int(static_cast<SHORT>(-v.iVal));
    case VT_I4:
        return v.lVal == 32768 ? Value::Int(-32768) : Value::Long(-v.lVal);
    case VT_R8:
        return Value::Double(-v.dblVal);
    case VT_DATE:
        return Value::Date(-v.date);
    case VT_BOOL:
        return Value::Int(v.boolVal ? 1 : 0);
    default:
        ThrowCompile(err::ExpectedLiteral, 0, 0);
    }
}

} // namespace

std::unique_ptr<Unit> Parse(std::u16string_view text, int firstLine)
{
    auto unit = std::make_unique<Unit>();
    unit->globalScope = std::make_unique<Scope>();
    Parser(Tokenize(text, firstLine), *unit).Program();
    return unit;
}

ExprPtr ParseExpression(std::u16string_view text, Unit& unit, Scope* scope)
{
    return Parser(Tokenize(text), unit).SingleExpression(scope);
}

} // namespace tvsk::script
