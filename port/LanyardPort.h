// What both port objects do: the error code, the factory with its client, and every member's rules.
#pragma once

#include "PortFactory.h"

#include <com/Variant.h>

#include <functional>

// Each member returns the HRESULT of the member of the same name of ILanyard and keeps the error
// code: 2 transfer failed, 3 no open port, 5 open failed, 6 array access failed, 8 request refused.
class LanyardPort
{
public:
    HRESULT Open(BSTR bstrOpenData);
    HRESULT Close();
    HRESULT Reset();
    HRESULT Lock();
    HRESULT Unlock();
    HRESULT ReadData(SHORT* buff, LONG len, SHORT to);
    HRESULT WriteData(SHORT* buff, LONG len);
    HRESULT WriteVariantData(const VARIANT& data);
    HRESULT ReadVariantData(VARIANT* data, LONG to);
    LONG ErrorCode() const { return m_errorCode; }
    HRESULT SendVariantMessage(LONG id, const VARIANT& msg);
    HRESULT ReceiveVariantMessage(LONG* id, LONG* len, VARIANT* data, LONG to);
    HRESULT AddMessageFilter(LONG mask, LONG filter);
    HRESULT RemMessageFilter(LONG mask, LONG filter);
    HRESULT RequireMessage(LONG id, LONG len);
    HRESULT ReceiveVariantEvent(LONG* time, LONG* id, LONG* len, VARIANT* data, LONG to);
    // The port's own properties, flush and commands (the second object's members).
    HRESULT PutPortProperty(SHORT code, VARIANT& data);
    HRESULT GetPortProperty(SHORT code, VARIANT* data);
    HRESULT Flush();
    HRESULT Command(LONG cmd);
    // E_FAIL with error code 3 when no port is open, else S_OK.
    HRESULT RequirePort();

private:
    // A receive into the target data names; receive gets the target's capacity in *len. The message
    // forms take a typeless reference to bytes, the event forms an array also by value.
    using Receiver = std::function<int(unsigned long* id, BYTE* target, unsigned long* len)>;
    HRESULT ReceiveInto(VARIANT* data, LONG* len, bool messageForms, const Receiver& receive);
    HRESULT Fail(LONG code, HRESULT hr = E_FAIL);

    LONG m_errorCode = 0;
    PortFactory m_factory;
    ComPort* m_port = nullptr;
};
