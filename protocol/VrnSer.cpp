#include "VrnSer.h"

#include "CanOpenPar.h"
#include "MemoryWindow.h"
#include "ParArguments.h"
#include "ParTransfer.h"

#include <algorithm>
#include <new>
#include <utility>

using namespace tvsk::com;

namespace
{
constexpr const char* kProtocolName = "VrnSer";
constexpr const char* kMessageSection = "ERR";
constexpr WORD kNoWait = 0xFFFF;
// Request identifiers 0x600 + node must stay among the SDO identifiers.
constexpr SHORT kLastCanOpenNode = 127;

VrnSerServices DefaultServices()
{
    static CLanyardFactory ports;
    static CSystemTickClock clock;
    return {ports, clock, nullptr, MessageFilePath()};
}
} // namespace

CVrnSer::CVrnSer() : CVrnSer(DefaultServices()) {}

CVrnSer::CVrnSer(const VrnSerServices& services)
    : m_ports(services.ports), m_sink(services.sink), m_frame(services.clock)
{
    m_messages.Load(services.messageFile.c_str());
}

const DispatchTable<CVrnSer>& CVrnSer::Dispatch()
{
    static const DispatchTable<CVrnSer> table =
        DispatchTable<CVrnSer>(InterfaceDescription(IVrnSer::Iid, "IVrnSer", "IVrnSer Interface"))
            .Get(0x60020000, "Address", &CVrnSer::get_Address)
            .Put(0x60020000, "Address", &CVrnSer::put_Address)
            .Get(0x60020002, "MsgOn", &CVrnSer::get_MsgOn)
            .Put(0x60020002, "MsgOn", &CVrnSer::put_MsgOn)
            .Get(0x60020004, "Port", &CVrnSer::get_Port)
            .Put(0x60020004, "Port", &CVrnSer::put_Port)
            .Get(0x60020006, "Protocol", &CVrnSer::get_Protocol)
            .Put(0x60020006, "Protocol", &CVrnSer::put_Protocol)
            .Get(0x60020008, "TimeOut", &CVrnSer::get_TimeOut)
            .Put(0x60020008, "TimeOut", &CVrnSer::put_TimeOut)
            .Get(0x6002000A, "Success", &CVrnSer::get_Success)
            .Get(0x6002000B, "ErrorCode", &CVrnSer::get_ErrorCode)
            .Get(0x6002000C, "ErrorString", &CVrnSer::get_ErrorString)
            .Get(0x6002000D, "Active", &CVrnSer::get_Active)
            .Get(0x6002000E, "ErrTimeOut", &CVrnSer::get_ErrTimeOut)
            .Get(0x6002000F, "Option", &CVrnSer::get_Option)
            .Put(0x6002000F, "Option", &CVrnSer::put_Option)
            .Method(0x60020011, "Config", &CVrnSer::Config)
            .Method(0x60020012, "Init", &CVrnSer::Init)
            .Method(0x60020013, "Packet", &CVrnSer::Packet)
            .Method(0x60020014, "ShowMsg", &CVrnSer::ShowMsg)
            .Get(0x60020015, "Par", &CVrnSer::get_Par)
            .Put(0x60020015, "Par", &CVrnSer::put_Par)
            .Get(0x60020017, "ParDWord", &CVrnSer::get_ParDWord)
            .Put(0x60020017, "ParDWord", &CVrnSer::put_ParDWord)
            .Get(0x60020019, "ParFloat", &CVrnSer::get_ParFloat)
            .Put(0x60020019, "ParFloat", &CVrnSer::put_ParFloat)
            .Get(0x6002001B, "ParInt", &CVrnSer::get_ParInt)
            .Put(0x6002001B, "ParInt", &CVrnSer::put_ParInt)
            .Get(0x6002001D, "ParWord", &CVrnSer::get_ParWord)
            .Put(0x6002001D, "ParWord", &CVrnSer::put_ParWord)
            .Get(0x6002001F, "InputD", &CVrnSer::get_InputD)
            .Get(0x60020020, "InputA", &CVrnSer::get_InputA)
            .Get(0x60020021, "OutputD", &CVrnSer::get_OutputD)
            .Put(0x60020021, "OutputD", &CVrnSer::put_OutputD)
            .Get(0x60020023, "OutputA", &CVrnSer::get_OutputA)
            .Put(0x60020023, "OutputA", &CVrnSer::put_OutputA)
            .Get(0x60020025, "ConfString", &CVrnSer::get_ConfString)
            .Put(0x60020025, "ConfString", &CVrnSer::put_ConfString)
            .Get(0x60020027, "Broadcast", &CVrnSer::get_Broadcast)
            .Put(0x60020027, "Broadcast", &CVrnSer::put_Broadcast)
            .Method(0x60020029, "EraseFlash", &CVrnSer::EraseFlash)
            .Method(0x6002002A, "ReadMemory", &CVrnSer::ReadMemory)
            .Method(0x6002002B, "WriteMemory", &CVrnSer::WriteMemory)
            .Get(0x6002002C, "DeviceStatus", &CVrnSer::get_DeviceStatus);
    return table;
}

HRESULT CVrnSer::get_Address(SHORT* value)
{
    if (!value)
        return E_POINTER;
    *value = m_settings.address;
    return S_OK;
}

HRESULT CVrnSer::put_Address(SHORT value)
{
    m_settings.address = value;
    return S_OK;
}

HRESULT CVrnSer::get_MsgOn(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_messagesOn ? 1 : 0;
    return S_OK;
}

HRESULT CVrnSer::put_MsgOn(LONG value)
{
    m_messagesOn = value != 0;
    return S_OK;
}

HRESULT CVrnSer::get_Port(SHORT* value)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<SHORT>(m_settings.portCode);
    return S_OK;
}

HRESULT CVrnSer::put_Port(SHORT value)
{
    m_settings.portCode = static_cast<USHORT>(value);
    return S_OK;
}

HRESULT CVrnSer::get_Protocol(BSTR* value)
{
    if (!value)
        return E_POINTER;
    *value = BstrFromUtf8(kProtocolName);
    return S_OK;
}

HRESULT CVrnSer::put_Protocol(BSTR)
{
    return E_ACCESSDENIED;
}

HRESULT CVrnSer::get_TimeOut(SHORT* value)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<SHORT>(m_settings.timeOut);
    return S_OK;
}

HRESULT CVrnSer::put_TimeOut(SHORT value)
{
    m_settings.timeOut = static_cast<WORD>(value);
    return S_OK;
}

HRESULT CVrnSer::get_Success(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_errorCode == DLE_OK ? 1 : 0;
    return S_OK;
}

HRESULT CVrnSer::get_ErrorCode(SHORT* value)
{
    if (!value)
        return E_POINTER;
    *value = m_errorCode;
    return S_OK;
}

HRESULT CVrnSer::get_ErrorString(BSTR* value)
{
    if (!value)
        return E_POINTER;
    const char* text = m_messages.Lookup(kMessageSection, m_errorCode);
    *value = text ? BstrFromUtf8(text) : nullptr;
    return S_OK;
}

HRESULT CVrnSer::get_Active(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_active ? 1 : 0;
    return S_OK;
}

HRESULT CVrnSer::get_ErrTimeOut(LONG* value)
{
    if (!value)
        return E_POINTER;
    *value = m_errorCode == DLE_NO_REPLY ? 1 : 0;
    return S_OK;
}

HRESULT CVrnSer::get_Option(LONG*)
{
    return E_NOTIMPL;
}

HRESULT CVrnSer::put_Option(LONG)
{
    return E_NOTIMPL;
}

HRESULT CVrnSer::Init(BSTR fName)
{
    if (!fName)
        return Fail(DLE_NO_SETTINGS, VRNSER_E_NO_SETTINGS);
    m_port.reset();
    m_active = false;
    m_port.reset(new (std::nothrow) CComPort(m_ports));
    if (!m_port)
        return Fail(DLE_NOT_OPEN, VRNSER_E_NOT_OPEN);
    m_settings.ResetPortFields();
    ApplySettings(fName, true);
    if (!m_port->open(BuildPortPart(m_settings).c_str()))
    {
        m_port.reset();
        return Fail(DLE_OPEN_FAILED, VRNSER_E_OPEN_FAILED);
    }
    m_active = true;
    return S_OK;
}

HRESULT CVrnSer::get_ConfString(BSTR* value)
{
    if (!value)
        return E_POINTER;
    *value = BstrFromUtf8(BuildSettingsString(m_settings));
    return S_OK;
}

HRESULT CVrnSer::put_ConfString(BSTR value)
{
    m_settings.ResetPortFields();
    ApplySettings(value, false);
    return S_OK;
}

void CVrnSer::ApplySettings(BSTR text, bool portPartAlone)
{
    const std::vector<std::string> parts = SplitFields(Utf8FromBstr(text), "#");
    if (parts.size() >= 2)
    {
        ApplyPart(ParseProtocolPart(parts[0], m_settings));
        ApplyPart(ParsePortPart(parts[1], m_settings));
    }
    else if (parts.size() == 1 && portPartAlone)
        ApplyPart(ParsePortPart(parts[0], m_settings));
}

void CVrnSer::ApplyPart(int error)
{
    if (error != DLE_OK)
        Fail(error, S_OK);
}

HRESULT CVrnSer::Packet(SHORT CmdId, BYTE* BuffOut, LONG, BYTE* BuffIn, LONG* LenIn)
{
    switch (CmdId)
    {
    case PKT_SET_PROBE:
        if (!BuffOut)
            return E_POINTER;
        m_probeParameter = static_cast<WORD>(BuffOut[0] | BuffOut[1] << 8);
        m_probeType = BuffOut[2];
        return S_OK;
    case PKT_RAW_READ:
        if (m_settings.canOpenMode)
            return VRNSER_E_TRANSFER;
        return RawRead(BuffOut, BuffIn, LenIn);
    case PKT_ACK_OFF:
        m_writeAcknowledge = false;
        return S_OK;
    case PKT_ACK_ON:
        m_writeAcknowledge = true;
        return S_OK;
    case PKT_MEM_ONCE:
        m_memoryWriteOnce = true;
        return S_OK;
    default:
        return VRNSER_E_TRANSFER;
    }
}

HRESULT CVrnSer::RawRead(const BYTE* countBytes, BYTE* buffer, LONG* length)
{
    if (!countBytes || !buffer || !length)
        return E_POINTER;
    LONG count = countBytes[0] | countBytes[1] << 8;
    // A positive length on entry is the capacity of the buffer.
    if (*length > 0)
        count = std::min(count, *length);
    LONG read = 0;
    while (read < count && m_port && m_port->get(buffer + read, kNoWait, 1))
        ++read;
    *length = read;
    return S_OK;
}

HRESULT CVrnSer::ShowMsg()
{
    if (!m_messagesOn)
        return S_OK;
    const char* text = m_messages.Lookup(kMessageSection, m_errorCode);
    const std::string shown = text ? text : "Err: " + std::to_string(m_errorCode);
    (m_sink ? *m_sink : VrnSerWarningSink()).ShowWarning(shown.c_str(), kProtocolName);
    return S_OK;
}

HRESULT CVrnSer::Fail(int error, HRESULT hr)
{
    m_errorCode = static_cast<SHORT>(error);
    ShowMsg();
    return hr;
}

HRESULT CVrnSer::CheckedAccess(LONG ipa, LONG subI, VARTYPE type, ParAccess& access)
{
    const int error = MakeParAccess(ipa, subI, type, m_settings, access);
    return error == DLE_OK ? S_OK : Fail(error, E_INVALIDARG);
}

HRESULT CVrnSer::get_Par(LONG ipa, LONG subI, SHORT type, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    if (!m_port)
        return Fail(DLE_NOT_OPEN, VRNSER_E_NOT_OPEN);
    const VARTYPE resultType = type != 0 ? static_cast<VARTYPE>(type) : value->vt;
    if (m_settings.canOpenMode)
        return CanOpenRead(ipa, subI, resultType, *value);
    m_errorCode = DLE_OK;
    ParAccess access;
    if (const HRESULT hr = CheckedAccess(ipa, subI, resultType, access); FAILED(hr))
        return hr;
    const ParReadResult result = CParTransfer(*m_port, m_frame, m_settings).Read(access);
    if (result.hasValue)
        SetParResult(*value, resultType, result.value);
    return result.error == DLE_OK ? S_OK : Fail(result.error, VRNSER_E_TRANSFER);
}

HRESULT CVrnSer::put_Par(LONG ipa, LONG subI, SHORT type, VARIANT value)
{
    if (!m_port)
        return Fail(DLE_NOT_OPEN, VRNSER_E_NOT_OPEN);
    const VARTYPE accessType = type != 0 ? static_cast<VARTYPE>(type) : value.vt;
    if (m_settings.canOpenMode)
        return CanOpenWrite(ipa, subI, accessType, value);
    m_errorCode = DLE_OK;
    ParAccess access;
    if (const HRESULT hr = CheckedAccess(ipa, subI, accessType, access); FAILED(hr))
        return hr;
    const int error =
        CParTransfer(*m_port, m_frame, m_settings).Write(access, ParValueOf(value), m_writeAcknowledge);
    return error == DLE_OK ? S_OK : Fail(error, VRNSER_E_TRANSFER);
}

HRESULT CVrnSer::CanOpenAccess(LONG ipa, LONG subI, VARTYPE type, ParAccess& access)
{
    // Subindex n + 1 cannot reach further; refused without touching the error code.
    if (!IsParIndex(ipa) || CCanOpenPar::ObjectNumber(ipa) > CCanOpenPar::LastObjectNumber)
        return E_INVALIDARG;
    if (m_settings.address < 0 || m_settings.address > kLastCanOpenNode)
        return Fail(DLE_BAD_INDEX, E_INVALIDARG);
    return CheckedAccess(ipa, subI, type, access);
}

// A failed transfer keeps the error code and shows nothing: the SDO result is not a link error.
HRESULT CVrnSer::CanOpenRead(LONG ipa, LONG subI, VARTYPE type, VARIANT& value)
{
    ParAccess access;
    if (const HRESULT hr = CanOpenAccess(ipa, subI, type, access); FAILED(hr))
        return hr;
    DWORD read = 0;
    if (CCanOpenPar(*m_port, static_cast<BYTE>(m_settings.address)).Read(access, read) != C_ERRO_OK)
        return VRNSER_E_TRANSFER;
    SetParResult(value, type, read);
    return S_OK;
}

HRESULT CVrnSer::CanOpenWrite(LONG ipa, LONG subI, VARTYPE type, const VARIANT& value)
{
    ParAccess access;
    if (const HRESULT hr = CanOpenAccess(ipa, subI, type, access); FAILED(hr))
        return hr;
    if (CCanOpenPar(*m_port, static_cast<BYTE>(m_settings.address)).Write(access, ParValueOf(value)) !=
        C_ERRO_OK)
        return VRNSER_E_TRANSFER;
    return S_OK;
}

HRESULT CVrnSer::ReadMemory(LONG addr, LONG len, SHORT* buff)
{
    m_errorCode = DLE_OK;
    if (len < 0)
        return E_INVALIDARG;
    if (!buff && len > 0)
        return E_POINTER;
    return CMemoryWindow(*this).Read(addr, len, reinterpret_cast<BYTE*>(buff));
}

HRESULT CVrnSer::WriteMemory(LONG addr, LONG len, SHORT* buff)
{
    const bool oneShot = std::exchange(m_memoryWriteOnce, false);
    m_errorCode = DLE_OK;
    if (len < 0)
        return E_INVALIDARG;
    if (!buff && len > 0)
        return E_POINTER;
    return CMemoryWindow(*this).Write(addr, len, reinterpret_cast<const BYTE*>(buff), oneShot);
}

HRESULT CVrnSer::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IVrnSer::Iid ? S_OK : S_FALSE;
}
