// The computer's name, the configuration folder and names of temporary files.
#pragma once

#include <framework/WinTypes.h>

constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;

// The host name cut to MAX_COMPUTERNAME_LENGTH characters. *size holds the buffer's capacity and
// receives the length; a buffer too small fails with ERROR_BUFFER_OVERFLOW and *size = length + 1.
BOOL GetComputerName(char* buffer, DWORD* size) noexcept;

// The folder that stands in for the Windows directory: the configuration folder
// $XDG_CONFIG_HOME/MurnApps (~/.config/MurnApps when unset), without a trailing "/". Its length,
// or the size needed when the buffer is too small, 0 on failure.
UINT GetWindowsDirectory(char* buffer, UINT size) noexcept;

// The directory for temporary files ($TMPDIR or /tmp) with a trailing "/"; its length, or the
// size needed when the buffer is too small, 0 on failure.
DWORD GetTempPath(DWORD bufferLength, char* buffer) noexcept;

// "<path>/<up to 3 prefix characters><hex number>.tmp". With unique 0 a number is chosen and the
// file is created empty; otherwise the name is only built. Returns the number used, 0 on failure.
// buffer must hold MAX_PATH characters.
UINT GetTempFileName(const char* pathName, const char* prefix, UINT unique, char* buffer) noexcept;
