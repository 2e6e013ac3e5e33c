// The port client: one port object "Lanyard.Lanyard.1", every call passed straight to it.
#pragma once

#include <port/Lanyard.h>
#include <protocol/CanMessagePort.h>

// Makes the port object; tests hand in their own.
class CPortObjectFactory
{
public:
    virtual ~CPortObjectFactory() = default;
    virtual HRESULT Create(ILanyard** port) = 0;
};

// Creates "Lanyard.Lanyard.1" through the component model.
class CLanyardFactory : public CPortObjectFactory
{
public:
    HRESULT Create(ILanyard** port) override;
};

// Each member returns nonzero when the port object succeeded, 0 without a port object. The CAN
// message members carry the SDO client's transfers.
class CComPort : public CCanMessagePort
{
public:
    explicit CComPort(CPortObjectFactory& factory) : m_factory(factory) {}
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;
    ~CComPort() override { close(); }

    // Closes a port object it holds, creates a new one and opens it with the open string.
    BOOL open(const char* text);
    void close();
    // The port object waits up to 2000 ms whatever the argument.
    BOOL lock(DWORD timeout) override;
    BOOL unlock() override;
    // length bytes within timeout ms each call; 0xFFFF: only what is there.
    BOOL get(BYTE* buffer, WORD timeout, LONG length);
    BOOL put(const BYTE* buffer, LONG length);
    BOOL reset() override;
    // At most MaxMessageLength bytes.
    BOOL WriteMsg(DWORD id, const BYTE* data, LONG length) override;
    BOOL ReadMsg(DWORD* id, BYTE* data, LONG* length, WORD timeout) override;
    BOOL AddMessageFilter(LONG mask, LONG filter) override;
    BOOL RemMessageFilter(LONG mask, LONG filter) override;

private:
    ComPtr<ILanyard> m_port;
    CPortObjectFactory& m_factory;
};
