// The thread's stack as the engine's nesting sees it.
#pragma once

namespace tvsk::script
{

// True when this thread's real stack is used up but for a reserve: deeper calls and nesting fail with
// Out of stack space.
bool StackNearlyFull();

} // namespace tvsk::script
