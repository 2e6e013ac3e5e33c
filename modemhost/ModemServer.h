// The modem server's state for its one port: the shared block, the modem's connection and its clients.
#pragma once

#include "ModemDialer.h"
#include "ModemSettings.h"

#include <porthost/ServedPort.h>

#include <atomic>

enum MODEM_STATE : int
{
    MODEM_NOT_CONNECTED = 0,
    MODEM_INITIALISING = 1,
    MODEM_DIALLING = 2,
    MODEM_CONNECTED = 3,
    MODEM_ABORTED = 4,
};

class CModemServer : public CServedPort
{
public:
    static constexpr DWORD IdleCheckMilliseconds = 1000;

    explicit CModemServer(const ModemSettings& settings);

    // Opens the named objects of port n and the device; true when all were obtained.
    bool Open(BYTE port);
    // Waits up to a second for one command and runs it; true once the server has closed
    // everything: no client for longer than the inactivity time since the last command.
    bool Dispatch() override;
    // The connection still ends only after the inactivity time.
    void EndWithoutClients() override;

    // The file whose lines initialise the modem; when it does not open, the built-in commands.
    void SetInitFile(const CString& path) { m_initFile = path; }
    void SetInactivityMinutes(WORD minutes) { m_settings.inactivityMinutes = minutes; }
    const ModemSettings& Settings() const noexcept { return m_settings; }
    CModemDialer& Dialer() noexcept { return m_dialer; }

    bool Ended() const noexcept { return m_ended; }
    int State() const noexcept { return m_state; }
    CString DialNumber() const;

private:
    void RunCommand(PORT_BLOCK& block);
    BYTE SetLineAndDial(PORT_BLOCK& block);
    BYTE Connect(const PORT_BLOCK& block);
    void Read(PORT_BLOCK& block);
    bool InactivityPassed() const;
    // The connection stays for the next client until the inactivity time has passed.
    void LastClientDetached() override { m_noClients = true; }
    void ClientAttached() override { m_noClients = false; }

    ModemSettings m_settings;
    CString m_initFile;
    CModemDialer m_dialer{m_device};
    std::atomic<int> m_state = MODEM_NOT_CONNECTED;
    CString m_dialNumber;
    mutable std::mutex m_numberMutex; // the window shows the number the worker sets
    DWORD m_lastCommand = 0;
    std::atomic<bool> m_noClients = false;
    std::atomic<bool> m_ended = false;
};
