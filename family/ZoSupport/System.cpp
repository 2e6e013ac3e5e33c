#include "System.h"

#include <array>
#include <atomic>
#include <ctime>

#include <locale.h>

namespace
{

// Written by the window layer's thread, read by any thread.
std::array<std::atomic<bool>, 256> g_keyDown{};

bool IsKeyCode(int virtualKey)
{
    return virtualKey >= 0 && virtualKey < static_cast<int>(g_keyDown.size());
}

} // namespace

bool CSystem::IsKeyPressed(int virtualKey)
{
    return IsKeyCode(virtualKey) &&
           g_keyDown[static_cast<size_t>(virtualKey)].load(std::memory_order_relaxed);
}

void CSystem::SetKeyState(int virtualKey, bool down)
{
    if (IsKeyCode(virtualKey))
        g_keyDown[static_cast<size_t>(virtualKey)].store(down, std::memory_order_relaxed);
}

CString CSystem::GetUserDateString() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The user's own date form, without touching the process's locale.
    locale_t userLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    char text[64] = {};
    if (userLocale)
    {
        strftime_l(text, sizeof text, "%x", &local, userLocale);
        freelocale(userLocale);
    }
    else
    {
        std::strftime(text, sizeof text, "%x", &local);
    }
    return CString(text);
}
