// The serial port server's state for its one port: the shared block, its commands and clients.
#pragma once

#include "DiagnoServer.h"
#include "PortClientList.h"
#include "PortDevice.h"
#include "PortServerLink.h"
#include "PortSpy.h"

#include <atomic>

class CPortServer : public CDiagnoServer
{
public:
    CPortServer() = default;
    ~CPortServer() override { Close(); }
    CPortServer(const CPortServer&) = delete;
    CPortServer& operator=(const CPortServer&) = delete;

    // Opens the named objects of port n and the device; true when all were obtained.
    bool Open(BYTE port);

    // Runs one command; true once the last client has detached and everything is closed.
    // While no command comes, clients whose process has ended are forgotten every second, so a
    // server whose clients were all killed ends too.
    bool Dispatch();

    // Detaches a client through the block, as a client does.
    BOOL DetachClient(DWORD processId) override;
    void EndWithoutClients() override;

    bool LastDetached() const noexcept { return m_lastDetach; }
    int ClientCount() const noexcept override { return m_clients.Count(); }
    CDWordArray Clients() const override { return m_clients.Copy(); }
    const CString& LineText() const noexcept { return m_device.LineText(); }
    CPortSpy& Spy() noexcept override { return m_spy; }

private:
    void RunCommand(PORT_BLOCK& block);
    void Close() noexcept;

    BYTE m_port = 0;
    CPortSpy m_spy;
    CPortDevice m_device;
    CPortServerLink m_link;
    std::atomic<bool> m_lastDetach = false;
    CPortClientList m_clients;
};

// The worker thread: dispatches until the last client has detached.
unsigned ServerThreadProc(CPortServer* server);

// The port number of the command line: the text read as a decimal number, reduced to 8 bits.
BYTE PortNumberArgument(const char* text);
