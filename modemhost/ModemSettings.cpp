// The modem server's profile values: the shortest read time-out and the minutes it stays connected.
#include "ModemSettings.h"

#include <registry/Profile.h>

namespace
{
constexpr const char* Section = "Settings";
}

void ModemSettings::SelectProfile()
{
    CProfile::Instance().SetRegistryKey("MurnApps");
    CProfile::Instance().SetAppName("Fonwick");
}

ModemSettings ModemSettings::Read()
{
    const CProfile& profile = CProfile::Instance();
    ModemSettings settings;
    settings.normalTimeout =
        static_cast<WORD>(profile.GetProfileInt(Section, "NormTmo", settings.normalTimeout));
    settings.inactivityMinutes =
        static_cast<WORD>(profile.GetProfileInt(Section, "InacTmo", settings.inactivityMinutes));
    return settings;
}

bool ModemSettings::Write() const
{
    CProfile& profile = CProfile::Instance();
    return profile.WriteProfileInt(Section, "NormTmo", normalTimeout) &&
           profile.WriteProfileInt(Section, "InacTmo", inactivityMinutes);
}
