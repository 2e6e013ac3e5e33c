// Infix expression to postfix element list, on the PLC library's table-driven parser.
#pragma once

#include <ZoLumoPlcObj/CodeParser.h>
#include <ZoLumoPlcObj/Parser.h>

#include <framework/CString.h>

#include <vector>

enum ExprElemKind
{
    EXPR_VALUE = 0,
    EXPR_OPERATOR = 1,
    EXPR_FUNCTION = 2
};

// Operator codes of postfix elements; the grammar emits 0 to 14.
enum ExprOperator
{
    EXPR_OR = 0,
    EXPR_XOR = 1,
    EXPR_AND = 2,
    EXPR_LESS = 3,
    EXPR_GREATER = 4,
    EXPR_LESS_EQUAL = 5,
    EXPR_GREATER_EQUAL = 6,
    EXPR_EQUAL = 7,
    EXPR_NOT_EQUAL = 8,
    EXPR_ADD = 9,
    EXPR_SUB = 10,
    EXPR_MUL = 11,
    EXPR_DIV = 12,
    EXPR_MOD = 13,
    EXPR_POW = 14,
    EXPR_NEGATE = 15,
    EXPR_NOT = 16
};

struct EXPR_ELEM
{
    int nKind = EXPR_VALUE;
    CString strText; // value text or function name
    int nOper = 0;
    int nArgs = 0;
};

class CExprParser : private CParseHandler
{
public:
    CExprParser();
    CExprParser(const CExprParser&) = delete;
    CExprParser& operator=(const CExprParser&) = delete;

    // False when the text is not an expression; the elements then mean nothing.
    bool Parse(const char* text);
    const std::vector<EXPR_ELEM>& GetElements() const noexcept { return m_Elements; }

private:
    // What a table had pushed when it began, so a failed table takes back its own pushes.
    struct Mark
    {
        size_t nOpers;
        size_t nNames;
        size_t nCounters;
        size_t nElements;
    };

    void BeginTable(const char* name) override;
    bool EndTable(const char* name) override;
    void TableFailed(const char* name) override;
    bool HandleToken(const char* text, int tokenClass) override;

    void EmitOperator(int oper);
    int PopOperator();

    CParser m_Parser;
    CCodeParser m_CodeParser;
    std::vector<int> m_OperStack;
    std::vector<CString> m_FuncNames;
    std::vector<int> m_ArgCounters;
    bool m_bInFunc = false;
    std::vector<EXPR_ELEM> m_Elements;
    std::vector<Mark> m_Marks;
};
