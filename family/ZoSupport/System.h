// System services: the state of the keyboard's keys, the date for the user.
#pragma once

#include <framework/CString.h>

class CSystem
{
public:
    // True while the key of that virtual-key code (0 to 255) is down.
    static bool IsKeyPressed(int virtualKey);
    // The window layer reports every key press and release here.
    static void SetKeyState(int virtualKey, bool down);
    // Today's date in the user's locale's short form ("%x"); the C locale's when the user's is unset.
    CString GetUserDateString() const;
};
