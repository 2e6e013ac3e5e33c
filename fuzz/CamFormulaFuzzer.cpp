// The cam editor's formulas: evaluated alone, and traced over a cam's points, which must stay finite.
#include <TvskCamEditor/model/CamTable.h>
#include <TvskCamEditor/model/FuncTracerDoc.h>
#include <TvskCamEditor/tests/CamHost.h>

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string formula(reinterpret_cast<const char*>(data), size);
    CExprEvaluator evaluator;
    double result = 0.0;
    evaluator.Evaluate(formula.c_str(), result);

    CCamHost host;
    CCamTable table;
    table.SetHost(&host);
    CFuncTracerDoc tracer;
    tracer.Bind(&table, 257, 0.0, 10000.0);
    if (tracer.Trace(formula.c_str(), 0, 255))
        for (int i = 0; i < table.GetCount(); ++i)
            if (!std::isfinite(table.GetPointAt(i).dValue))
                std::abort();
    return 0;
}
