#include "System.h"

#include <array>
#include <atomic>

namespace {

// Written by the window layer's thread, read by any thread.
std::array<std::atomic<bool>, 256> g_keyDown{};

bool IsKeyCode(int virtualKey) { return virtualKey >= 0 && virtualKey < static_cast<int>(g_keyDown.size()); }

} // namespace

bool CSystem::IsKeyPressed(int virtualKey)
{
    return IsKeyCode(virtualKey) && g_keyDown[static_cast<size_t>(virtualKey)].load(std::memory_order_relaxed);
}

void CSystem::SetKeyState(int virtualKey, bool down)
{
    if (IsKeyCode(virtualKey)) g_keyDown[static_cast<size_t>(virtualKey)].store(down, std::memory_order_relaxed);
}
