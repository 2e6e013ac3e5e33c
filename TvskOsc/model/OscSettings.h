// The oscilloscope's remembered ranges, divisions and trigger values, read within their limits.
#pragma once

#include <framework/CString.h>

#include <array>

class CProfile;

struct OSC_RANGE
{
    double dMin;
    double dMax;
};

class COscSettings
{
public:
    static constexpr int kTracks = 4;
    static constexpr int kParameters = 8;
    static constexpr double kEmptyMark = 3.4028234663852886e38;

    COscSettings();

    void Load(const CProfile& profile);
    void SaveRanges(CProfile& profile) const;
    // The trigger position and level of one source (0-3).
    void SaveTrigger(CProfile& profile, int source) const;

    std::array<OSC_RANGE, kTracks> m_Ranges;
    double m_dHorzDiv;
    std::array<double, kTracks> m_TrgPos;
    std::array<double, kTracks> m_TrgLev;

    // Names of the parameter dialog's rows, section "OSC" keys "P1" to "P8".
    static std::array<CString, kParameters> LoadParameterNames(const CProfile& profile);
    static void SaveParameterNames(CProfile& profile, const std::array<CString, kParameters>& names);
};

// The next value of the 1-2-5 sequence up or down from value (the sign is kept; 0 steps up to 1).
double OscStep125(double value, bool up);

// Root mean square of samples[from..to] (either order); false without two different positions
// less than 15000 apart inside the samples, or when every sample there is the empty mark.
bool OscRms(const double* samples, int count, int from, int to, double& rms);
