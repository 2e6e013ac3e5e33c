// The modem server's profile values: the shortest read time-out and the minutes it stays connected.
#pragma once

#include <framework/WinTypes.h>

struct ModemSettings
{
    WORD normalTimeout = 2000;
    WORD inactivityMinutes = 0;

    // Selects the registry key "MurnApps" and the server's own profile under it.
    static void SelectProfile();
    // From the profile section "Settings".
    static ModemSettings Read();
    // false when the profile could not be written.
    bool Write() const;
};
