// The serial port server's state for its one port: the shared block, its commands and clients.
#pragma once

#include "ServedPort.h"

#include <atomic>

class CPortServer : public CServedPort
{
public:
    CPortServer() : CServedPort(SERIAL_PORT_PREFIX) {}

    // Opens the named objects of port n and the device; true when all were obtained.
    bool Open(BYTE port) { return OpenPort(port); }

    // Runs one command; true once the last client has detached and everything is closed.
    // While no command comes, clients whose process has ended are forgotten every second, so a
    // server whose clients were all killed ends too.
    bool Dispatch() override;

    void EndWithoutClients() override;

    bool LastDetached() const noexcept { return m_lastDetach; }

private:
    void RunCommand(PORT_BLOCK& block);
    void LastClientDetached() override { m_lastDetach = true; }

    std::atomic<bool> m_lastDetach = false;
};

// The port number of the command line: the text read as a decimal number, reduced to 8 bits.
BYTE PortNumberArgument(const char* text);
