// Line state records to and from the terminal settings of a serial device.
#pragma once

#include <kernel/Serial.h>

#include <termios.h>

namespace tvsk::kernel
{

// The raw-mode settings every opened port starts with.
void MakeRaw(termios& settings) noexcept;

// Fills the framing and flow control of dcb from the settings (modem lines are not in them).
void SettingsToDcb(const termios& settings, DCB& dcb) noexcept;

// False (ERROR_INVALID_PARAMETER) for a baud rate, byte size, parity or stop bits out of range.
bool DcbToSettings(const DCB& dcb, termios& settings) noexcept;

} // namespace tvsk::kernel
