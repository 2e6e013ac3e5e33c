// The download window's value entry: the first line gives the parameter's bit width, scale, offset
// and display format as the parameter file does; every further line is typed as a raw value, and
// what it enters is shown again.
#include <TvskDownload/model/ParValueFormat.h>

#include <framework/LeadingNumber.h>

#include <cmath>
#include <sstream>
#include <string>

namespace
{
double Finite(const std::string& text, double fallback)
{
    const double value = tvsk::LeadingDouble(text.c_str());
    return std::isfinite(value) ? value : fallback;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string header;
    std::getline(lines, header);
    std::istringstream fields(header);
    std::string bits, scale, offset, format;
    fields >> bits >> scale >> offset >> format;
    PAR_SCALING scaling;
    scaling.nBits = tvsk::LeadingInt(bits.c_str());
    scaling.dScale = Finite(scale, 1.0);
    scaling.dOffset = Finite(offset, 0.0);
    scaling.nFormat = tvsk::LeadingInt(format.c_str());
    std::string typed;
    while (std::getline(lines, typed))
    {
        CString value;
        if (CParValueFormat::Entry(typed.c_str(), scaling, value))
            CParValueFormat::Display(value, scaling);
        CParValueFormat::Display(typed.c_str(), scaling);
    }
    return 0;
}
