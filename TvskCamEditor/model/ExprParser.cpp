// Expression grammar and the handler that turns it into postfix elements.
#include <TvskCamEditor/model/ExprParser.h>

#include <ZoSupport/ProgramError.h>

#include <cstdint>
#include <cstring>

namespace
{
enum TokenClass
{
    TOK_VALUE = 0,
    TOK_COMPARE = 1,
    TOK_MULTIPLY = 3,
    TOK_ADD = 4,
    TOK_FUNCTION = 5
};

const void* Class(int c)
{
    return reinterpret_cast<const void*>(static_cast<intptr_t>(c));
}

extern const PRS_ELEM expExpr[];
extern const PRS_ELEM iniPow[];

const PRS_ELEM funzArg[] = {{"expExpr", PRS_SUBTABLE, PRS_MANDATORY, expExpr},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM funzNext[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, ","},
                             {"funzArg", PRS_SUBTABLE, PRS_MANDATORY, funzArg},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM funzArgs[] = {{"funzArg", PRS_SUBTABLE, PRS_MANDATORY, funzArg},
                             {"funzNext", PRS_SUBTABLE, PRS_REPEAT, funzNext},
                             {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expFunz[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, Class(TOK_FUNCTION)},
                            {nullptr, PRS_LITERAL, PRS_MANDATORY, "("},
                            {"funzArgs", PRS_SUBTABLE, PRS_OPTIONAL, funzArgs},
                            {nullptr, PRS_LITERAL, PRS_MANDATORY, ")"},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expVal[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, Class(TOK_VALUE)},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM parExp[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "("},
                           {"expExpr", PRS_SUBTABLE, PRS_MANDATORY, expExpr},
                           {nullptr, PRS_LITERAL, PRS_MANDATORY, ")"},
                           {nullptr, PRS_END, 0, nullptr}};
// A leading minus negates what follows up to the next operator below "^".
const PRS_ELEM expNeg[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "-"},
                           {"iniPow", PRS_SUBTABLE, PRS_MANDATORY, iniPow},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM primExp[] = {{"expNeg", PRS_SUBTABLE, PRS_FIRST_ALT, expNeg},
                            {"expFunz", PRS_SUBTABLE, PRS_FIRST_ALT, expFunz},
                            {"expVal", PRS_SUBTABLE, PRS_FIRST_ALT, expVal},
                            {"parExp", PRS_SUBTABLE, PRS_LAST_ALT, parExp},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expPow[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "^"},
                           {"primExp", PRS_SUBTABLE, PRS_MANDATORY, primExp},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniPow[] = {{"primExp", PRS_SUBTABLE, PRS_MANDATORY, primExp},
                           {"expPow", PRS_SUBTABLE, PRS_REPEAT, expPow},
                           {nullptr, PRS_END, 0, nullptr}};
// "MOD" is a keyword, which a token row would refuse: it is matched as a literal first.
const PRS_ELEM expMod[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "MOD"}, {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM mulOp[] = {{"expMod", PRS_SUBTABLE, PRS_FIRST_ALT, expMod},
                          {nullptr, PRS_TOKEN, PRS_LAST_ALT, Class(TOK_MULTIPLY)},
                          {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expTerm[] = {{"mulOp", PRS_SUBTABLE, PRS_MANDATORY, mulOp},
                            {"iniPow", PRS_SUBTABLE, PRS_MANDATORY, iniPow},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniTerm[] = {{"iniPow", PRS_SUBTABLE, PRS_MANDATORY, iniPow},
                            {"expTerm", PRS_SUBTABLE, PRS_REPEAT, expTerm},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expAdd[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, Class(TOK_ADD)},
                           {"iniTerm", PRS_SUBTABLE, PRS_MANDATORY, iniTerm},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniAdd[] = {{"iniTerm", PRS_SUBTABLE, PRS_MANDATORY, iniTerm},
                           {"expAdd", PRS_SUBTABLE, PRS_REPEAT, expAdd},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expComp[] = {{nullptr, PRS_TOKEN, PRS_MANDATORY, Class(TOK_COMPARE)},
                            {"iniAdd", PRS_SUBTABLE, PRS_MANDATORY, iniAdd},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniComp[] = {{"iniAdd", PRS_SUBTABLE, PRS_MANDATORY, iniAdd},
                            {"expComp", PRS_SUBTABLE, PRS_REPEAT, expComp},
                            {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expAnd[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "AND"},
                           {"iniComp", PRS_SUBTABLE, PRS_MANDATORY, iniComp},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniAnd[] = {{"iniComp", PRS_SUBTABLE, PRS_MANDATORY, iniComp},
                           {"expAnd", PRS_SUBTABLE, PRS_REPEAT, expAnd},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expXor[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "XOR"},
                           {"iniAnd", PRS_SUBTABLE, PRS_MANDATORY, iniAnd},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniXor[] = {{"iniAnd", PRS_SUBTABLE, PRS_MANDATORY, iniAnd},
                           {"expXor", PRS_SUBTABLE, PRS_REPEAT, expXor},
                           {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expOr[] = {{nullptr, PRS_LITERAL, PRS_MANDATORY, "OR"},
                          {"iniXor", PRS_SUBTABLE, PRS_MANDATORY, iniXor},
                          {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM iniOr[] = {{"iniXor", PRS_SUBTABLE, PRS_MANDATORY, iniXor},
                          {"expOr", PRS_SUBTABLE, PRS_REPEAT, expOr},
                          {nullptr, PRS_END, 0, nullptr}};
const PRS_ELEM expExpr[] = {{"iniOr", PRS_SUBTABLE, PRS_MANDATORY, iniOr}, {nullptr, PRS_END, 0, nullptr}};

const char* const kKeywords[] = {"NOT", "MOD", "OR", "XOR", ")", "(", nullptr};
const char* const kTokenSeparators[] = {"<=", ">=", "=", "<>", ">", "<", "+",    "-",
                                        "*",  "/",  "^", "(",  ")", ",", nullptr};

bool Is(const char* name, const char* rule)
{
    return name && std::strcmp(name, rule) == 0;
}

struct OperatorText
{
    const char* text;
    int oper;
};

int LookUp(const OperatorText* table, const char* text)
{
    for (; table->text; ++table)
        if (std::strcmp(table->text, text) == 0)
            return table->oper;
    return -1;
}

const OperatorText kCompare[] = {{"<", EXPR_LESS},
                                 {">", EXPR_GREATER},
                                 {"<=", EXPR_LESS_EQUAL},
                                 {">=", EXPR_GREATER_EQUAL},
                                 {"=", EXPR_EQUAL},
                                 {"<>", EXPR_NOT_EQUAL},
                                 {nullptr, 0}};
const OperatorText kMultiply[] = {{"*", EXPR_MUL}, {"/", EXPR_DIV}, {"MOD", EXPR_MOD}, {nullptr, 0}};
const OperatorText kAdd[] = {{"+", EXPR_ADD}, {"-", EXPR_SUB}, {nullptr, 0}};
} // namespace

CExprParser::CExprParser() : m_Parser(nullptr, 0, '\\', nullptr), m_CodeParser(nullptr, nullptr, nullptr)
{
    m_Parser.SetSeps("\n\r \t");
    for (const char* const* sep = kTokenSeparators; *sep; ++sep)
        m_Parser.AddTokSep(*sep);
    m_CodeParser.SetParser(&m_Parser);
    m_CodeParser.SetParseTable(expExpr);
    m_CodeParser.SetKeywords(kKeywords);
    m_CodeParser.SetHandler(this);
}

bool CExprParser::Parse(const char* text)
{
    m_OperStack.clear();
    m_FuncNames.clear();
    m_ArgCounters.clear();
    m_Marks.clear();
    m_bInFunc = false;
    m_Elements.clear();
    return m_CodeParser.ParseLine(text ? text : "");
}

void CExprParser::BeginTable(const char* /*name*/)
{
    m_Marks.push_back({m_OperStack.size(), m_FuncNames.size(), m_ArgCounters.size(), m_Elements.size()});
}

bool CExprParser::EndTable(const char* name)
{
    if (!m_Marks.empty())
        m_Marks.pop_back();
    if (Is(name, "expOr"))
        EmitOperator(EXPR_OR);
    else if (Is(name, "expXor"))
        EmitOperator(EXPR_XOR);
    else if (Is(name, "expAnd"))
        EmitOperator(EXPR_AND);
    else if (Is(name, "expPow"))
        EmitOperator(EXPR_POW);
    else if (Is(name, "expNeg"))
        EmitOperator(EXPR_NEGATE);
    else if (Is(name, "expMod"))
        m_OperStack.push_back(EXPR_MOD);
    else if (Is(name, "expComp") || Is(name, "expAdd") || Is(name, "expTerm"))
        EmitOperator(PopOperator());
    else if (Is(name, "funzArg"))
    {
        if (m_ArgCounters.empty())
            ProgramError("ExprParser", __LINE__, nullptr);
        else
            ++m_ArgCounters.back();
    }
    else if (Is(name, "expFunz"))
    {
        if (m_FuncNames.empty() || m_ArgCounters.empty())
        {
            ProgramError("ExprParser", __LINE__, nullptr);
            return false;
        }
        EXPR_ELEM elem;
        elem.nKind = EXPR_FUNCTION;
        elem.strText = m_FuncNames.back();
        elem.nArgs = m_ArgCounters.back();
        m_FuncNames.pop_back();
        m_ArgCounters.pop_back();
        m_bInFunc = !m_FuncNames.empty();
        m_Elements.push_back(elem);
    }
    return true;
}

void CExprParser::TableFailed(const char* /*name*/)
{
    if (m_Marks.empty())
        return;
    const Mark mark = m_Marks.back();
    m_Marks.pop_back();
    m_OperStack.resize(mark.nOpers);
    m_FuncNames.resize(mark.nNames);
    m_ArgCounters.resize(mark.nCounters);
    m_Elements.resize(mark.nElements);
    m_bInFunc = !m_FuncNames.empty();
}

bool CExprParser::HandleToken(const char* text, int tokenClass)
{
    switch (tokenClass)
    {
    case TOK_VALUE:
    {
        EXPR_ELEM elem;
        elem.nKind = EXPR_VALUE;
        elem.strText = text;
        m_Elements.push_back(elem);
        return true;
    }
    case TOK_COMPARE:
    case TOK_MULTIPLY:
    case TOK_ADD:
    {
        const OperatorText* table = tokenClass == TOK_COMPARE    ? kCompare
                                    : tokenClass == TOK_MULTIPLY ? kMultiply
                                                                 : kAdd;
        const int oper = LookUp(table, text);
        if (oper < 0)
            return false;
        m_OperStack.push_back(oper);
        return true;
    }
    case TOK_FUNCTION:
        m_FuncNames.emplace_back(text);
        m_ArgCounters.push_back(0);
        m_bInFunc = true;
        return true;
    default:
        return false;
    }
}

void CExprParser::EmitOperator(int oper)
{
    if (oper < 0)
        return;
    EXPR_ELEM elem;
    elem.nKind = EXPR_OPERATOR;
    elem.nOper = oper;
    m_Elements.push_back(elem);
}

int CExprParser::PopOperator()
{
    if (m_OperStack.empty())
    {
        ProgramError("ExprParser", __LINE__, nullptr);
        return -1;
    }
    const int oper = m_OperStack.back();
    m_OperStack.pop_back();
    return oper;
}
