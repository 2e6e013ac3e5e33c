// The function tracer: formula to cam points.
#include <TvskCamEditor/model/FuncTracerDoc.h>

#include <TvskCamEditor/model/CamTable.h>

#include <ZoSupport/ProgramError.h>

#include <cmath>
#include <strings.h>
#include <vector>

CFuncTracerDoc::CFuncTracerDoc() : m_Evaluator(this) {}

void CFuncTracerDoc::Bind(CCamTable* table, int points, double lo, double hi)
{
    m_pTable = table;
    m_nPoints = points;
    m_dLo = lo;
    m_dHi = hi;
}

bool CFuncTracerDoc::Trace(const char* text, double x0, double x1)
{
    if (!text || !*text || m_nPoints < 2)
        return false;
    if (!m_pTable)
    {
        ProgramError("FuncTracerDoc", __LINE__, nullptr);
        return false;
    }
    if (!m_Evaluator.Parse(text))
        return false;
    const int n = m_nPoints;
    std::vector<double> values(static_cast<size_t>(n));
    const double step = (x1 - x0) / (n - 1);
    double least = 0.0;
    double greatest = 0.0;
    for (int i = 0; i <= n - 2; ++i)
    {
        m_dX = x0 + i * step;
        double v = 0.0;
        if (!m_Evaluator.Evaluate(nullptr, v) || !std::isfinite(v))
            return false;
        values[static_cast<size_t>(i)] = v;
        least = i == 0 ? v : std::min(least, v);
        greatest = i == 0 ? v : std::max(greatest, v);
    }
    // A span wider than the doubles reach cannot be scaled into the cam's range.
    if (greatest == least || !std::isfinite(greatest - least))
        return false;
    for (int i = 0; i <= n - 2; ++i)
    {
        double& v = values[static_cast<size_t>(i)];
        v = (v - greatest) / (greatest - least) * (m_dHi - m_dLo) + m_dHi;
    }
    const double beforeLast = values[static_cast<size_t>(n - 2)];
    values[static_cast<size_t>(n - 1)] =
        std::fabs(beforeLast - m_dLo) < std::fabs(beforeLast - m_dHi) ? m_dLo : m_dHi;
    for (int i = 0; i < n; ++i)
    {
        CString cell;
        cell.Format("%d", static_cast<int>(values[static_cast<size_t>(i)]));
        m_pTable->SetValueText(i, cell);
    }
    m_bTraced = true;
    return true;
}

bool CFuncTracerDoc::GetVariable(const char* name, double* value)
{
    if (strcasecmp(name, "x") != 0)
        return false;
    *value = m_dX;
    return true;
}

bool CFuncTracerDoc::GetFuncArgs(const char* /*name*/, int* /*count*/)
{
    return false;
}

bool CFuncTracerDoc::CallFunc(const char* /*name*/, const double* /*args*/, int /*count*/, double* /*result*/)
{
    return false;
}
