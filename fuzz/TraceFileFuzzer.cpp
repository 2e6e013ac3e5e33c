// The graph control's trace file: loaded into the control (versions "10" and "11"), every sample
// read back, and the traces saved again; whatever is loaded must be finite.
#include "FuzzInput.h"

#include <graphctl/ZoGraphCtl4.h>

#include <com/Bstr.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using tvsk::com::BstrFromUtf8;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputFile file(data, size, "trace.txt");
    ComPtr<CZoGraphCtl4> control(new CZoGraphCtl4);
    BSTR path = BstrFromUtf8(file.Path());
    if (control->Load(path) == S_OK)
    {
        for (long t = 0; t < control->Tracks().Count(); ++t)
        {
            CTrack4* track = control->Tracks().At(t);
            LONG count = 0;
            track->get_SamplesNum(&count);
            std::vector<double> values(static_cast<size_t>(count)), times(static_cast<size_t>(count));
            if (count > 0 && track->GetSamples(count, 0, values.data(), times.data()) == S_OK)
                for (LONG i = 0; i < count; ++i)
                    if (!std::isfinite(values[static_cast<size_t>(i)]) ||
                        !std::isfinite(times[static_cast<size_t>(i)]))
                        std::abort();
        }
        control->Save(path);
    }
    SysFreeString(path);
    return 0;
}
