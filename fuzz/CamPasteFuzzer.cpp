// Text pasted into a cam table: whatever it sets is finite, and the table copies and recomputes.
#include <TvskCamEditor/model/CamTable.h>
#include <TvskCamEditor/tests/CamHost.h>

#include <cmath>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CCamHost host;
    CCamTable table;
    table.SetHost(&host);
    table.PasteText(text.c_str());
    for (int i = 0; i < table.GetCount(); ++i)
        if (!std::isfinite(table.GetPointAt(i).dValue))
            std::abort();
    table.CompleteWithCubic();
    table.GetCopyText();
    double diff = 0.0;
    for (int i = 0; i < table.GetCount(); ++i)
    {
        table.GetFirstDiff(i, diff);
        table.GetSecondDiff(i, diff);
    }
    return 0;
}
