#include "DeviceLinkClient.h"

#include <algorithm>
#include <array>
#include <mutex>

using Guard = std::lock_guard<CFairLock>;

CDeviceLinkClient::CDeviceLinkClient() = default;

CDeviceLinkClient::~CDeviceLinkClient()
{
    Guard guard(m_lock);
    SetObject({});
}

void CDeviceLinkClient::SetObject(ComPtr<IVrnSer> object)
{
    m_link = std::move(object);
    m_connected = static_cast<bool>(m_link);
}

bool CDeviceLinkClient::BoundToAnotherThread() const
{
    const std::thread::id owner = m_owner;
    return owner != std::thread::id() && owner != std::this_thread::get_id();
}

bool CDeviceLinkClient::Blocked() const
{
    return BoundToAnotherThread() || !m_enabled ||
           (m_inDialog && m_dialogThread != std::this_thread::get_id());
}

ComPtr<IVrnSer> CDeviceLinkClient::CreateObject()
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(tvsk::com::Utf16FromUtf8(kVrnSerProgId).c_str(), &clsid)))
        return {};
    ComPtr<IVrnSer> object;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IVrnSer::Iid,
                                reinterpret_cast<void**>(object.Receive()))))
        return {};
    return object;
}

bool CDeviceLinkClient::Open(const char* settings)
{
    Guard guard(m_lock);
    if (Blocked())
        return false;
    SetObject({});
    SetObject(CreateObject());
    if (!m_link)
        return false;
    m_link->put_MsgOn(0);
    BSTR text = tvsk::com::BstrFromUtf8(settings ? settings : "");
    const HRESULT hr = m_link->Init(settings ? text : nullptr);
    SysFreeString(text);
    return SUCCEEDED(hr);
}

void CDeviceLinkClient::Close()
{
    Guard guard(m_lock);
    if (BoundToAnotherThread() || !m_enabled)
        return;
    SetObject({});
}

void CDeviceLinkClient::Configure(CString& result, const char* settings, int probeNumber, int probeType)
{
    std::unique_lock guard(m_lock);
    result.Empty();
    if (Blocked() || m_inDialog)
        return;
    const bool temporary = !m_link;
    ComPtr<IVrnSer> object = temporary ? CreateObject() : m_link;
    if (!object)
        return;
    if (settings && *settings)
    {
        BSTR text = tvsk::com::BstrFromUtf8(settings);
        object->put_ConfString(text);
        SysFreeString(text);
    }
    if (probeNumber > 0)
    {
        std::array<BYTE, 3> probe{static_cast<BYTE>(probeNumber & 0xFF),
                                  static_cast<BYTE>((probeNumber >> 8) & 0xFF), static_cast<BYTE>(probeType)};
        object->Packet(PKT_SET_PROBE, probe.data(), static_cast<LONG>(probe.size()), nullptr, nullptr);
    }
    BSTR before = nullptr;
    object->get_ConfString(&before);
    m_inDialog = true;
    m_dialogThread = std::this_thread::get_id();
    guard.unlock();
    // No lock across the modal loop: the windows it runs take other locks and call in again.
    const HRESULT hr = object->Config();
    guard.lock();
    m_inDialog = false;
    m_dialogThread = std::thread::id();
    if (SUCCEEDED(hr))
    {
        BSTR after = nullptr;
        if (SUCCEEDED(object->get_ConfString(&after)) && SysStringLen(after) > 0)
        {
            // The dialog answers S_OK on Cancel too: settings it left alone are no choice.
            const std::string chosen = tvsk::com::Utf8FromBstr(after);
            if (chosen != tvsk::com::Utf8FromBstr(before))
                result = chosen.c_str();
        }
        SysFreeString(after);
    }
    SysFreeString(before);
    LONG active = 0;
    object->get_Active(&active);
    if (!temporary && !active && m_link.Get() == object.Get())
        SetObject({}); // the dialog could not reopen the port: the link counts as closed
}

bool CDeviceLinkClient::ReadPar(int address, int subindex, int variantType, VARIANT* value)
{
    Guard guard(m_lock);
    if (Blocked() || !m_link || !value)
        return false;
    for (int attempt = 0; attempt < m_tries; ++attempt)
    {
        VARIANT read;
        VariantInit(&read);
        if (SUCCEEDED(m_link->get_Par(address, subindex, static_cast<SHORT>(variantType), &read)))
        {
            VariantClear(value);
            const bool copied = SUCCEEDED(VariantCopy(value, &read));
            VariantClear(&read);
            return copied;
        }
        VariantClear(&read);
    }
    return false;
}

bool CDeviceLinkClient::WritePar(int address, int subindex, int variantType, VARIANT value)
{
    Guard guard(m_lock);
    if (Blocked() || !m_link)
        return false;
    for (int attempt = 0; attempt < m_tries; ++attempt)
        if (SUCCEEDED(m_link->put_Par(address, subindex, static_cast<SHORT>(variantType), value)))
            return true;
    return false;
}

bool CDeviceLinkClient::ReadParQuietly(int address, int subindex, int variantType, VARIANT* value,
                                       short timeOut)
{
    Guard guard(m_lock);
    if (Blocked() || !m_link)
        return false;
    LONG messages = 0;
    SHORT previous = 0;
    m_link->get_MsgOn(&messages);
    m_link->get_TimeOut(&previous);
    m_link->put_MsgOn(0);
    m_link->put_TimeOut(std::max(timeOut, previous));
    const bool read = ReadPar(address, subindex, variantType, value);
    m_link->put_MsgOn(messages);
    if (previous > 0)
        m_link->put_TimeOut(previous);
    return read;
}

short CDeviceLinkClient::GetErrorCode()
{
    Guard guard(m_lock);
    if (Blocked())
        return DLE_PORT_BUSY;
    SHORT code = 0;
    if (!m_link || FAILED(m_link->get_ErrorCode(&code)))
        return DLE_NOT_OPEN;
    return code;
}

long CDeviceLinkClient::GetMsgOn()
{
    Guard guard(m_lock);
    LONG on = 0;
    if (Blocked() || !m_link || FAILED(m_link->get_MsgOn(&on)))
        return 0;
    return on;
}

void CDeviceLinkClient::SetMsgOn(long on)
{
    Guard guard(m_lock);
    if (!Blocked() && m_link)
        m_link->put_MsgOn(on);
}

short CDeviceLinkClient::GetTimeOut()
{
    Guard guard(m_lock);
    SHORT milliseconds = 0;
    if (Blocked() || !m_link || FAILED(m_link->get_TimeOut(&milliseconds)))
        return -1;
    return milliseconds;
}

void CDeviceLinkClient::SetTimeOut(short milliseconds)
{
    Guard guard(m_lock);
    if (!Blocked() && m_link && milliseconds > 0)
        m_link->put_TimeOut(milliseconds);
}

int CDeviceLinkClient::RawRead(unsigned short count, BYTE* buffer)
{
    Guard guard(m_lock);
    if (Blocked() || !m_link || !buffer)
        return -1;
    std::array<BYTE, 2> wanted{static_cast<BYTE>(count & 0xFF), static_cast<BYTE>(count >> 8)};
    LONG read = 0;
    if (FAILED(m_link->Packet(PKT_RAW_READ, wanted.data(), static_cast<LONG>(wanted.size()), buffer, &read)))
        return -1;
    return static_cast<int>(read);
}

bool CDeviceLinkClient::TakeOwner()
{
    Guard guard(m_lock);
    if (Blocked())
        return false;
    m_owner = std::this_thread::get_id();
    m_enabled = true;
    return true;
}

bool CDeviceLinkClient::FreeOwner()
{
    Guard guard(m_lock);
    if (Blocked())
        return false;
    m_owner = std::thread::id();
    m_enabled = true;
    return true;
}

bool CDeviceLinkClient::IsBlocked()
{
    return Blocked();
}

bool CDeviceLinkClient::IsOwned()
{
    return m_owner.load() != std::thread::id();
}

bool CDeviceLinkClient::IsWantedByAnotherThread() const
{
    return m_lock.IsWantedByAnother();
}

bool CDeviceLinkClient::SetWriteAck(bool on)
{
    Guard guard(m_lock);
    if (Blocked() || !m_link)
        return false;
    LONG none = 0;
    return SUCCEEDED(m_link->Packet(on ? PKT_ACK_ON : PKT_ACK_OFF, nullptr, 0, nullptr, &none));
}

bool CDeviceLinkClient::Enable(bool on)
{
    Guard guard(m_lock);
    if (BoundToAnotherThread() || m_enabled == on)
        return false;
    m_enabled = on;
    return true;
}

bool CDeviceLinkClient::IsModem()
{
    Guard guard(m_lock);
    if (Blocked() || !m_link)
        return false;
    BYTE answer = 0;
    LONG length = 0;
    return SUCCEEDED(m_link->Packet(PKT_IS_MODEM, nullptr, 0, &answer, &length)) && length > 0 && answer != 0;
}

bool CDeviceLinkClient::IsConnected()
{
    return m_connected;
}

bool CDeviceLinkClient::IsInDialog()
{
    return m_inDialog;
}
