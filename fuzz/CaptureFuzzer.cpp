// The oscilloscope's capture reader: whatever it accepts is four equally long, finite channels.
#include "FuzzInput.h"

#include <TvskOsc/model/OscCaptureFile.h>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::InputFile file(data, size, "capture.txt");
    OscCaptureValues values;
    if (!ReadOscCapture(file.Path(), values))
        return 0;
    for (const auto& channel : values)
    {
        if (channel.size() != values[0].size())
            std::abort();
        for (double value : channel)
            if (!std::isfinite(value))
                std::abort();
    }
    return 0;
}
