#include "TraceRow.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace
{

std::string Fixed3(double value, bool set)
{
    if (!set || !std::isfinite(value))
        return "...";
    char text[64];
    std::snprintf(text, sizeof text, "%.03f", value);
    return text;
}

std::string VoltsPerDivision(double scale)
{
    const double perDivision = std::trunc(scale * 0.1);
    if (!std::isfinite(perDivision) || std::fabs(perDivision) > 2147483647.0)
        return "...";
    return std::to_string(static_cast<int>(perDivision));
}

} // namespace

std::array<std::string, kTraceColumnCount> TraceRowTexts(const CTrack4& track)
{
    const TraceBuffer& buffer = track.Buffer();
    const TrackBarReadings& readings = track.Readings();
    return {
        track.NameText(),
        std::string(),
        track.UmText(),
        Fixed3(buffer.MinValue(), buffer.MinValue() != DBL_MAX),
        Fixed3(buffer.MaxValue(), buffer.MaxValue() != -DBL_MAX),
        VoltsPerDivision(track.Scale()),
        Fixed3(track.Min(), track.Min() != DBL_MAX),
        Fixed3(track.Max(), track.Max() != -DBL_MAX),
        readings.text1,
        readings.text2,
        readings.textHorz,
        track.NoteText(),
    };
}
