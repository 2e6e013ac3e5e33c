// Evaluates a parsed expression with a value stack; variables and further functions come from outside.
#pragma once

#include <TvskCamEditor/model/ExprParser.h>

#include <memory>

class CExprEvalIntf
{
public:
    virtual ~CExprEvalIntf() = default;
    virtual bool GetVariable(const char* name, double* value) = 0;
    virtual bool GetFuncArgs(const char* name, int* count) = 0;
    virtual bool CallFunc(const char* name, const double* args, int count, double* result) = 0;
};

class CExprEvaluator
{
public:
    explicit CExprEvaluator(CExprEvalIntf* intf = nullptr) : m_pIntf(intf) {}

    void SetEvalIntf(CExprEvalIntf* intf) noexcept { m_pIntf = intf; }
    // Parses text (null: evaluates the last parse again) and evaluates it.
    bool Evaluate(const char* text, double& result);
    // Parses without evaluating, so that later calls may pass no text.
    bool Parse(const char* text);

private:
    bool Run(double& result);
    bool PushValue(const CString& text, std::vector<double>& stack);
    bool ApplyOperator(int oper, std::vector<double>& stack);
    bool CallFunction(const EXPR_ELEM& elem, std::vector<double>& stack);

    std::unique_ptr<CExprParser> m_pParser;
    bool m_bParsed = false;
    CExprEvalIntf* m_pIntf; // not owned
};
