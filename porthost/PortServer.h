// The serial port server's state for its one port: the shared block, its commands and clients.
#pragma once

#include "PortBlock.h"
#include "PortDevice.h"
#include "PortSpy.h"

#include <framework/Array.h>
#include <kernel/Handle.h>

#include <atomic>

class CPortServer
{
public:
    CPortServer() = default;
    ~CPortServer() { Close(); }
    CPortServer(const CPortServer&) = delete;
    CPortServer& operator=(const CPortServer&) = delete;

    // Opens the named objects of port n and the device; true when all were obtained.
    bool Open(BYTE port);

    // Runs one command; true once the last client has detached and everything is closed.
    // While no command comes, clients whose process has ended are forgotten every second, so a
    // server whose clients were all killed ends too.
    bool Dispatch();

    // Detaches a client through the block, as a client does.
    BOOL DetachClient(DWORD processId);

    bool LastDetached() const noexcept { return m_lastDetach; }
    int ClientCount() const noexcept { return static_cast<int>(m_clientCount); }
    const CString& LineText() const noexcept { return m_device.LineText(); }
    CPortSpy& Spy() noexcept { return m_spy; }

private:
    void RunCommand(PORT_BLOCK& block);
    void Read(PORT_BLOCK& block);
    void Write(PORT_BLOCK& block);
    BYTE Detach(DWORD processId);
    void ForgetEndedClients();
    void Close() noexcept;

    BYTE m_port = 0;
    CPortSpy m_spy;
    CPortDevice m_device;
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mapping = nullptr;
    HANDLE m_mutex = nullptr;
    HANDLE m_serverIdMapping = nullptr;
    PORT_BLOCK* m_block = nullptr;
    DWORD* m_serverId = nullptr;
    bool m_opened = false;
    std::atomic<bool> m_lastDetach = false;
    CDWordArray m_clients;
    std::atomic<INT_PTR> m_clientCount = 0; // read by the window thread
};

// The worker thread: dispatches until the last client has detached.
unsigned ServerThreadProc(CPortServer* server);
