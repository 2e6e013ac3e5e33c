// One port served through its shared block: the block's link, the device, the traffic record and
// the attached clients. The serial port server and the modem server differ only in their commands.
#pragma once

#include "DiagnoServer.h"
#include "PortClientList.h"
#include "PortDevice.h"
#include "PortServerLink.h"
#include "PortSpy.h"

class CServedPort : public CDiagnoServer
{
public:
    ~CServedPort() override { Close(); }
    CServedPort(const CServedPort&) = delete;
    CServedPort& operator=(const CServedPort&) = delete;

    // Waits for one command and runs it; true once the server has closed everything.
    virtual bool Dispatch() = 0;

    // Detaches a client through the block, as a client does.
    BOOL DetachClient(DWORD processId) override;
    int ClientCount() const noexcept override { return m_clients.Count(); }
    CDWordArray Clients() const override { return m_clients.Copy(); }
    const CString& LineText() const noexcept { return m_device.LineText(); }
    CPortSpy& Spy() noexcept override { return m_spy; }

protected:
    // prefix: the block's object names ("COM." or the modem's).
    explicit CServedPort(const char* prefix) : m_prefix(prefix) {}

    // Opens the named objects of port n and the device; true when all were obtained.
    bool OpenPort(BYTE port);
    void Close() noexcept;
    // Runs the commands every server runs alike (write, purge, attach, detach); false for others.
    bool RunClientCommand(PORT_BLOCK& block);
    // The last attached client detached through the block.
    virtual void LastClientDetached() = 0;
    virtual void ClientAttached() {}

    const char* m_prefix;
    BYTE m_port = 0;
    CPortSpy m_spy;
    CPortDevice m_device;
    CPortServerLink m_link;
    CPortClientList m_clients;
};

// The worker thread: dispatches until the server has ended.
unsigned ServerThreadProc(CServedPort* server);
