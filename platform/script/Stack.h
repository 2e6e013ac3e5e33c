// The thread's stack as the engine's nesting sees it.
#pragma once

#include <cstdint>

namespace tvsk::script
{

// True when this thread's real stack is used up but for a reserve: deeper calls and nesting fail with
// Out of stack space.
bool StackNearlyFull();
// The lowest address this thread's stack may reach before calls fail with Out of stack space.
std::uintptr_t StackLimit();

} // namespace tvsk::script
