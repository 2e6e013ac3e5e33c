// Profile section "Oscilloscope" and the small numeric rules of the scope.
#include <TvskOsc/model/OscSettings.h>

#include <framework/LeadingNumber.h>
#include <registry/Profile.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* kSection = "Oscilloscope";
constexpr const char* kParameterSection = "OSC";
constexpr OSC_RANGE kDefaultRanges[COscSettings::kTracks] = {
    {-3750, 3750}, {-125, 125}, {-125, 125}, {-125, 125}};
constexpr double kDefaultLevels[COscSettings::kTracks] = {0, 0, 0.5, 0.5};

CString Key(const char* format, int track)
{
    CString key;
    key.Format(format, track + 1);
    return key;
}

CString Number(double value)
{
    CString text;
    text.Format("%g", value);
    return text;
}

// The stored value, or fallback when it is beyond limit in magnitude (or 0 where 0 is refused).
double Read(const CProfile& profile, const CString& key, double defaultValue, double limit, double fallback,
            bool zeroRefused = false)
{
    const double value =
        tvsk::LeadingDouble(profile.GetProfileString(kSection, key, Number(defaultValue)).GetString());
    if (!std::isfinite(value) || std::fabs(value) > limit || (zeroRefused && value == 0.0))
        return fallback;
    return value;
}
} // namespace

COscSettings::COscSettings() : m_dHorzDiv(100)
{
    for (int t = 0; t < kTracks; ++t)
    {
        m_Ranges[static_cast<size_t>(t)] = kDefaultRanges[t];
        m_TrgPos[static_cast<size_t>(t)] = 500;
        m_TrgLev[static_cast<size_t>(t)] = kDefaultLevels[t];
    }
}

void COscSettings::Load(const CProfile& profile)
{
    for (int t = 0; t < kTracks; ++t)
    {
        const auto i = static_cast<size_t>(t);
        const OSC_RANGE& fallback = kDefaultRanges[t];
        m_Ranges[i].dMin = Read(profile, Key("Track%dMin", t), fallback.dMin, 1000000, fallback.dMin);
        m_Ranges[i].dMax = Read(profile, Key("Track%dMax", t), fallback.dMax, 1000000, fallback.dMax);
        m_TrgPos[i] = Read(profile, Key("Track%dTrgPos", t), 500, 30000, 500);
        m_TrgLev[i] = Read(profile, Key("Track%dTrgLev", t), kDefaultLevels[t], 1000000, 0);
    }
    m_dHorzDiv = Read(profile, "HorzDiv", 100, 6000, 100, true);
}

void COscSettings::SaveRanges(CProfile& profile) const
{
    for (int t = 0; t < kTracks; ++t)
    {
        profile.WriteProfileString(kSection, Key("Track%dMin", t),
                                   Number(m_Ranges[static_cast<size_t>(t)].dMin));
        profile.WriteProfileString(kSection, Key("Track%dMax", t),
                                   Number(m_Ranges[static_cast<size_t>(t)].dMax));
    }
    profile.WriteProfileString(kSection, "HorzDiv", Number(m_dHorzDiv));
}

void COscSettings::SaveTrigger(CProfile& profile, int source) const
{
    if (source < 0 || source >= kTracks)
        return;
    profile.WriteProfileString(kSection, Key("Track%dTrgPos", source),
                               Number(m_TrgPos[static_cast<size_t>(source)]));
    profile.WriteProfileString(kSection, Key("Track%dTrgLev", source),
                               Number(m_TrgLev[static_cast<size_t>(source)]));
}

std::array<CString, COscSettings::kParameters> COscSettings::LoadParameterNames(const CProfile& profile)
{
    std::array<CString, kParameters> names;
    for (int p = 0; p < kParameters; ++p)
        names[static_cast<size_t>(p)] = profile.GetProfileString(kParameterSection, Key("P%d", p), "");
    return names;
}

void COscSettings::SaveParameterNames(CProfile& profile, const std::array<CString, kParameters>& names)
{
    for (int p = 0; p < kParameters; ++p)
        profile.WriteProfileString(kParameterSection, Key("P%d", p), names[static_cast<size_t>(p)]);
}

double OscStep125(double value, bool up)
{
    if (value == 0.0 || !std::isfinite(value))
        return up ? 1.0 : 0.0;
    if (value < 0)
        return -OscStep125(-value, !up);
    const double d = std::pow(10.0, std::floor(std::log10(value) + 1e-12));
    const int c = std::clamp(static_cast<int>(value / d + 1e-9), 1, 9);
    if (up)
        return c == 1 ? 2 * d : c < 5 ? 5 * d : 10 * d;
    return c == 1 ? 0.5 * d : c == 2 ? d : c < 6 ? 2 * d : 5 * d;
}

bool OscRms(const double* samples, int count, int from, int to, double& rms)
{
    if (!samples || from == to || std::abs(to - from) >= 15000)
        return false;
    if (from > to)
        std::swap(from, to);
    if (from < 0 || to >= count)
        return false;
    double sum = 0.0;
    int used = 0;
    for (int i = from; i <= to; ++i)
    {
        if (samples[i] == COscSettings::kEmptyMark)
            continue;
        sum += samples[i] * samples[i];
        ++used;
    }
    if (used == 0)
        return false;
    rms = std::sqrt(sum / used);
    return true;
}
