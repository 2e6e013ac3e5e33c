// The configuration dialog's hook: the dialog lives in a window library the component does not link.
#pragma once

#include "SettingsString.h"

#include <atomic>

// Flags and tried values shared by the dialog and the autodetect worker; each written by one side.
struct CAutodetectState
{
    std::atomic<bool> running = false; // dialog
    std::atomic<bool> found = false;   // set by the worker, cleared by the dialog
    std::atomic<bool> done = false;    // worker
    std::atomic<SHORT> address = 0;
    std::atomic<DWORD> baudRate = 0;
};

// What the dialog needs of the protocol object.
class CAutodetectTarget
{
public:
    virtual ~CAutodetectTarget() = default;
    virtual bool PortOpen() const = 0;
    // The worker's whole run: saves the settings, scans every baud rate of the list on the port and
    // frame given, and puts the settings back. The port is left closed.
    virtual void Autodetect(DWORD portCode, DWORD frameCode, CAutodetectState& state) = 0;
};

class CConfigDialog
{
public:
    virtual ~CConfigDialog() = default;
    // Edits settings (a modem port shown by its plain code, the dial number unescaped);
    // true on OK.
    virtual bool Edit(CDriveSettings& settings, CAutodetectTarget& target) = 0;
};

// The dialog every protocol object of the process shows; null: none (Config reports E_NOTIMPL).
// Returns the previous one.
CConfigDialog* SetVrnSerConfigDialog(CConfigDialog* dialog);
CConfigDialog* VrnSerConfigDialog();

// The baud rates autodetect tries, in order.
inline constexpr DWORD kAutodetectBaudRates[] = {9600, 19200, 38400, 57600, 115200};
