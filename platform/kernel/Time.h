// The system tick count and sleeping.
#pragma once

#include <framework/WinTypes.h>

// Milliseconds since an arbitrary start, wrapping after about 49.7 days.
DWORD GetTickCount() noexcept;
void Sleep(DWORD milliseconds) noexcept;
