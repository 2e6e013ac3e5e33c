// Forwarding to the port client, with the variant forms of data and messages.
#include "LanyardPort.h"

#include "Lanyard.h"
#include "VariantBytes.h"

#include <com/Bstr.h>

#include <functional>

using namespace lanyard;

namespace
{
constexpr LONG kTransferFailed = 2;
constexpr LONG kNoPort = 3;
constexpr LONG kOpenFailed = 5;
constexpr LONG kArrayAccess = 6;
constexpr LONG kRequestRefused = 8;
constexpr unsigned long kLockWait = 2000;

unsigned short Milliseconds(LONG to)
{
    return static_cast<unsigned short>(to & 0xFFFF);
}

HRESULT Outcome(int result)
{
    return result ? S_OK : E_FAIL;
}

// The value field of a variant, where its scalar bytes lie.
BYTE* ValueBytes(VARIANT& v)
{
    return reinterpret_cast<BYTE*>(&v.llVal);
}
} // namespace

HRESULT LanyardPort::Fail(LONG code, HRESULT hr)
{
    m_errorCode = code;
    return hr;
}

HRESULT LanyardPort::RequirePort()
{
    return m_port ? S_OK : Fail(kNoPort);
}

HRESULT LanyardPort::Open(BSTR bstrOpenData)
{
    m_port = nullptr;
    if (!m_factory.Open(tvsk::com::Utf8FromBstr(bstrOpenData)))
        return Fail(kOpenFailed);
    m_port = m_factory.Port();
    return S_OK;
}

HRESULT LanyardPort::Close()
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    m_port = nullptr;
    m_factory.Close();
    return S_OK;
}

HRESULT LanyardPort::Reset()
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    m_port->reset();
    return S_OK;
}

HRESULT LanyardPort::Lock()
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return Outcome(m_port->lock(kLockWait));
}

HRESULT LanyardPort::Unlock()
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    m_port->unlock();
    return S_OK;
}

HRESULT LanyardPort::ReadData(SHORT* buff, LONG len, SHORT to)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (len < 0)
        return E_FAIL;
    return Outcome(m_port->get(reinterpret_cast<unsigned char*>(buff), static_cast<unsigned short>(to),
                               static_cast<unsigned long>(len)));
}

HRESULT LanyardPort::WriteData(SHORT* buff, LONG len)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (len < 0)
        return E_FAIL;
    return Outcome(m_port->put(reinterpret_cast<unsigned char*>(buff), static_cast<unsigned long>(len)));
}

HRESULT LanyardPort::WriteVariantData(const VARIANT& data)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (data.vt & VT_BYREF)
        return E_FAIL;
    if (data.vt & VT_ARRAY)
    {
        if (!data.parray)
            return E_FAIL;
        bool written = false;
        const HRESULT access = WithArrayData(
            data.parray, [this](BYTE* bytes, ULONG count) { return m_port->put(bytes, count) != 0; },
            written);
        if (FAILED(access))
            return Fail(kArrayAccess, access);
        return written ? S_OK : E_FAIL;
    }
    const ULONG size = ScalarSize(data.vt);
    if (size == 0)
        return E_FAIL;
    VARIANT value = data;
    return Outcome(m_port->put(ValueBytes(value), size));
}

HRESULT LanyardPort::ReadVariantData(VARIANT* data, LONG to)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (!data || !(data->vt & VT_BYREF) || !data->byref)
        return E_FAIL;
    const unsigned short timeout = Milliseconds(to);
    if (data->vt & VT_ARRAY)
    {
        bool read = false;
        const HRESULT access = WithArrayData(
            *data->pparray, [&](BYTE* bytes, ULONG count) { return m_port->get(bytes, timeout, count) != 0; },
            read);
        if (FAILED(access))
            return Fail(kArrayAccess, access);
        return read ? S_OK : Fail(kTransferFailed);
    }
    const ULONG size = ScalarSize(data->vt & VT_TYPEMASK);
    if (size == 0)
        return E_FAIL;
    if (!m_port->get(static_cast<unsigned char*>(data->byref), timeout, size))
        m_errorCode = kTransferFailed; // a scalar read reports its failure only through the error code
    return S_OK;
}

HRESULT LanyardPort::SendVariantMessage(LONG id, const VARIANT& msg)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    const auto uid = static_cast<unsigned long>(id);
    if (msg.vt == VT_BYREF)
    {
        const auto* pair = static_cast<const LANYARD_MSG*>(msg.byref);
        if (!pair)
            return E_FAIL;
        return Outcome(m_port->put_msg(uid, pair->data, pair->length));
    }
    if (msg.vt & VT_BYREF)
        return E_FAIL;
    if (msg.vt & VT_ARRAY)
    {
        if (!msg.parray || msg.parray->cDims == 0)
            return Outcome(m_port->put_msg(uid, nullptr, 0));
        bool sent = false;
        const HRESULT access = WithArrayData(
            msg.parray, [&](BYTE* bytes, ULONG count) { return m_port->put_msg(uid, bytes, count) != 0; },
            sent);
        if (FAILED(access))
            return Fail(kArrayAccess, access);
        return sent ? S_OK : E_FAIL;
    }
    const ULONG size = ScalarSize(msg.vt);
    if (size == 0)
        return E_FAIL;
    VARIANT value = msg;
    return Outcome(m_port->put_msg(uid, ValueBytes(value), size));
}

HRESULT LanyardPort::ReceiveInto(VARIANT* data, LONG* len, bool messageForms, const Receiver& receive)
{
    if (!data || !len)
        return E_POINTER;
    unsigned long id = 0;
    bool received = false;
    const auto finish = [&](unsigned long count)
    {
        if (received)
            *len = static_cast<LONG>(count);
        else
        {
            *len = -1;
            m_errorCode = kTransferFailed;
        }
    };
    const bool byRef = data->vt & VT_BYREF;
    if (data->vt & VT_ARRAY)
    {
        if (!byRef && messageForms)
            return E_FAIL;
        SAFEARRAY* array = byRef ? (data->pparray ? *data->pparray : nullptr) : data->parray;
        if (!array)
            return E_FAIL;
        unsigned long count = 0;
        const HRESULT access = WithArrayData(
            array,
            [&](BYTE* bytes, ULONG capacity)
            {
                count = capacity;
                received = receive(&id, bytes, &count) != 0;
                return received;
            },
            received);
        if (FAILED(access))
            return Fail(kArrayAccess, access);
        finish(count);
        return S_OK;
    }
    if (!byRef || !data->byref)
        return E_FAIL;
    unsigned long count = 0;
    if (data->vt == VT_BYREF && messageForms)
        count = *len < 0 ? 0 : static_cast<unsigned long>(*len);
    else if (ULONG size = ScalarSize(data->vt & VT_TYPEMASK))
        count = size;
    else
        return E_FAIL;
    received = receive(&id, static_cast<BYTE*>(data->byref), &count) != 0;
    finish(count);
    return S_OK;
}

HRESULT LanyardPort::ReceiveVariantMessage(LONG* id, LONG* len, VARIANT* data, LONG to)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (!id)
        return E_POINTER;
    return ReceiveInto(data, len, true,
                       [&](unsigned long* uid, BYTE* target, unsigned long* count)
                       {
                           const int result = m_port->get_msg(uid, target, count, Milliseconds(to));
                           if (result)
                               *id = static_cast<LONG>(*uid);
                           return result;
                       });
}

HRESULT LanyardPort::ReceiveVariantEvent(LONG* time, LONG* id, LONG* len, VARIANT* data, LONG to)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (!time || !id)
        return E_POINTER;
    return ReceiveInto(data, len, false,
                       [&](unsigned long* uid, BYTE* target, unsigned long* count)
                       {
                           unsigned long stamp = 0;
                           const int result = m_port->get_event(&stamp, uid, target, count, Milliseconds(to));
                           if (result)
                           {
                               *time = static_cast<LONG>(stamp);
                               *id = static_cast<LONG>(*uid);
                           }
                           return result;
                       });
}

HRESULT LanyardPort::AddMessageFilter(LONG mask, LONG filter)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return Outcome(
        m_port->msg_filter(true, static_cast<unsigned long>(mask), static_cast<unsigned long>(filter)));
}

HRESULT LanyardPort::RemMessageFilter(LONG mask, LONG filter)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return Outcome(
        m_port->msg_filter(false, static_cast<unsigned long>(mask), static_cast<unsigned long>(filter)));
}

HRESULT LanyardPort::RequireMessage(LONG id, LONG len)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (!m_port->req_msg(static_cast<unsigned long>(id), static_cast<unsigned long>(len)))
        return Fail(kRequestRefused);
    return S_OK;
}

HRESULT LanyardPort::PutPortProperty(SHORT code, VARIANT& data)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return m_port->put_property(code, ValueBytes(data)) ? S_OK : Fail(kNoPort);
}

HRESULT LanyardPort::GetPortProperty(SHORT code, VARIANT* data)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    if (!data)
        return E_POINTER;
    if (!(data->vt & VT_BYREF) || !data->byref)
        return E_FAIL;
    return m_port->get_property(code, data->byref) ? S_OK : Fail(kNoPort);
}

HRESULT LanyardPort::Flush()
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return m_port->flush() ? S_OK : Fail(kNoPort);
}

HRESULT LanyardPort::Command(LONG cmd)
{
    if (FAILED(RequirePort()))
        return E_FAIL;
    return Outcome(m_port->command(cmd, nullptr, 0));
}
