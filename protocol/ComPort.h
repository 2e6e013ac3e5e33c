// The port client: one port object "Lanyard.Lanyard.1", every call passed straight to it.
#pragma once

#include <port/Lanyard.h>

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

// Each member returns nonzero when the port object succeeded, 0 without a port object.
class CComPort
{
public:
    explicit CComPort(CPortObjectFactory& factory) : m_factory(factory) {}
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;
    ~CComPort() { close(); }

    // Closes a port object it holds, creates a new one and opens it with the open string.
    BOOL open(const char* text);
    void close();
    // The port object waits up to 2000 ms whatever the argument.
    BOOL lock(DWORD timeout);
    BOOL unlock();
    // length bytes within timeout ms each call; 0xFFFF: only what is there.
    BOOL get(BYTE* buffer, WORD timeout, LONG length);
    BOOL put(const BYTE* buffer, LONG length);
    BOOL reset();

private:
    ComPtr<ILanyard> m_port;
    CPortObjectFactory& m_factory;
};
