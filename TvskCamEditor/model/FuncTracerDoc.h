// Samples a formula of x over a cam's points and writes it, scaled into the cam's range.
#pragma once

#include <TvskCamEditor/model/ExprEvaluator.h>

class CCamTable;

class CFuncTracerDoc : private CExprEvalIntf
{
public:
    CFuncTracerDoc();

    // The table written by Trace, its point count and value range.
    void Bind(CCamTable* table, int points, double lo, double hi);
    // False (nothing written) for an empty or bad formula, fewer than two points, or a result
    // that is constant, not finite somewhere, or spans more than a double holds.
    bool Trace(const char* text, double x0, double x1);
    bool IsTraced() const noexcept { return m_bTraced; }

private:
    bool GetVariable(const char* name, double* value) override;
    bool GetFuncArgs(const char* name, int* count) override;
    bool CallFunc(const char* name, const double* args, int count, double* result) override;

    CExprEvaluator m_Evaluator;
    CCamTable* m_pTable = nullptr; // not owned
    int m_nPoints = 0;
    double m_dLo = 0.0;
    double m_dHi = 0.0;
    double m_dX = 0.0;
    bool m_bTraced = false;
};
