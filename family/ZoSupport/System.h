// System services: the state of the keyboard's keys.
#pragma once

class CSystem
{
public:
    // True while the key of that virtual-key code (0 to 255) is down.
    static bool IsKeyPressed(int virtualKey);
    // The window layer reports every key press and release here.
    static void SetKeyState(int virtualKey, bool down);
};
