#include "ComPort.h"

HRESULT CLanyardFactory::Create(ILanyard** port)
{
    CLSID clsid;
    const std::u16string progId = tvsk::com::Utf16FromUtf8("Lanyard.Lanyard.1");
    const HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr))
        return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, ILanyard::Iid, reinterpret_cast<void**>(port));
}

BOOL CComPort::open(const char* text)
{
    close();
    ComPtr<ILanyard> port;
    if (FAILED(m_factory.Create(port.Receive())) || !port)
        return 0;
    const BSTR openText = tvsk::com::BstrFromUtf8(text ? text : "");
    const HRESULT hr = port->Open(openText);
    SysFreeString(openText);
    if (FAILED(hr))
        return 0;
    m_port = port;
    return 1;
}

void CComPort::close()
{
    if (m_port)
        m_port->Close();
    m_port.Reset();
}

BOOL CComPort::lock(DWORD)
{
    return m_port && SUCCEEDED(m_port->Lock());
}

BOOL CComPort::unlock()
{
    return m_port && SUCCEEDED(m_port->Unlock());
}

BOOL CComPort::get(BYTE* buffer, WORD timeout, LONG length)
{
    return m_port &&
           SUCCEEDED(m_port->ReadData(reinterpret_cast<SHORT*>(buffer), length, static_cast<SHORT>(timeout)));
}

BOOL CComPort::put(const BYTE* buffer, LONG length)
{
    // The port object only reads the bytes; its signature predates const.
    return m_port &&
           SUCCEEDED(m_port->WriteData(reinterpret_cast<SHORT*>(const_cast<BYTE*>(buffer)), length));
}

BOOL CComPort::reset()
{
    return m_port && SUCCEEDED(m_port->Reset());
}

BOOL CComPort::WriteMsg(DWORD id, const BYTE* data, LONG length)
{
    if (!m_port || length < 0 || length > MaxMessageLength || (length > 0 && !data))
        return 0;
    // The port object only reads the bytes.
    LANYARD_MSG message{static_cast<ULONG>(length), const_cast<BYTE*>(data)};
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BYREF;
    argument.byref = &message;
    return SUCCEEDED(m_port->SendVariantMessage(static_cast<LONG>(id), argument));
}

BOOL CComPort::ReadMsg(DWORD* id, BYTE* data, LONG* length, WORD timeout)
{
    if (!m_port || !id || !data || !length)
        return 0;
    // The capacity bounds the copy: a longer message is refused by the port object.
    LONG received = MaxMessageLength;
    LONG receivedId = 0;
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_BYREF;
    target.byref = data;
    if (FAILED(m_port->ReceiveVariantMessage(&receivedId, &received, &target, timeout)) || received < 0)
        return 0;
    *id = static_cast<DWORD>(receivedId);
    *length = received;
    return 1;
}

BOOL CComPort::AddMessageFilter(LONG mask, LONG filter)
{
    return m_port && SUCCEEDED(m_port->AddMessageFilter(mask, filter));
}

BOOL CComPort::RemMessageFilter(LONG mask, LONG filter)
{
    return m_port && SUCCEEDED(m_port->RemMessageFilter(mask, filter));
}
