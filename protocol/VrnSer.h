// The drive protocol object "VrnSer.VrnSer.1": settings, port, parameter and memory transfers.
#pragma once

#include "ComPort.h"
#include "ConfigDialog.h"
#include "DeviceLink.h"
#include "MessageFile.h"
#include "ParAccess.h"
#include "SettingsString.h"
#include "TickClock.h"
#include "TransactionFrame.h"
#include "WarningSink.h"

#include <memory>

// What the object stands on; the component uses the real ones, tests their own.
struct VrnSerServices
{
    CPortObjectFactory& ports;
    CTickClock& clock;
    CWarningSink* sink; // null: the process's sink (SetVrnSerWarningSink)
    std::string messageFile;
};

class CVrnSer : public tvsk::com::DispatchObject<CVrnSer, IVrnSer, ISupportErrorInfo>,
                public CAutodetectTarget
{
public:
    CVrnSer();
    explicit CVrnSer(const VrnSerServices& services);
    static const tvsk::com::DispatchTable<CVrnSer>& Dispatch();

    HRESULT get_Address(SHORT* value) override;
    HRESULT put_Address(SHORT value) override;
    HRESULT get_MsgOn(LONG* value) override;
    HRESULT put_MsgOn(LONG value) override;
    HRESULT get_Port(SHORT* value) override;
    HRESULT put_Port(SHORT value) override;
    HRESULT get_Protocol(BSTR* value) override;
    HRESULT put_Protocol(BSTR value) override;
    HRESULT get_TimeOut(SHORT* value) override;
    HRESULT put_TimeOut(SHORT value) override;
    HRESULT get_Success(LONG* value) override;
    HRESULT get_ErrorCode(SHORT* value) override;
    HRESULT get_ErrorString(BSTR* value) override;
    HRESULT get_Active(LONG* value) override;
    HRESULT get_ErrTimeOut(LONG* value) override;
    HRESULT get_Option(LONG* value) override;
    HRESULT put_Option(LONG value) override;
    HRESULT Config() override;
    HRESULT Init(BSTR fName) override;
    HRESULT Packet(SHORT CmdId, BYTE* BuffOut, LONG LenOut, BYTE* BuffIn, LONG* LenIn) override;
    HRESULT ShowMsg() override;
    HRESULT get_Par(LONG ipa, LONG subI, SHORT type, VARIANT* value) override;
    HRESULT put_Par(LONG ipa, LONG subI, SHORT type, VARIANT value) override;
    HRESULT get_ParDWord(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT put_ParDWord(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT get_ParFloat(LONG, FLOAT*) override { return E_NOTIMPL; }
    HRESULT put_ParFloat(LONG, FLOAT) override { return E_NOTIMPL; }
    HRESULT get_ParInt(LONG, SHORT*) override { return E_NOTIMPL; }
    HRESULT put_ParInt(LONG, SHORT) override { return E_NOTIMPL; }
    HRESULT get_ParWord(LONG, SHORT*) override { return E_NOTIMPL; }
    HRESULT put_ParWord(LONG, SHORT) override { return E_NOTIMPL; }
    HRESULT get_InputD(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT get_InputA(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT get_OutputD(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT put_OutputD(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT get_OutputA(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT put_OutputA(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT get_ConfString(BSTR* value) override;
    HRESULT put_ConfString(BSTR value) override;
    HRESULT get_Broadcast(LONG*) override { return E_NOTIMPL; }
    HRESULT put_Broadcast(LONG) override { return E_NOTIMPL; }
    HRESULT EraseFlash() override { return E_NOTIMPL; }
    HRESULT ReadMemory(LONG addr, LONG len, SHORT* buff) override;
    HRESULT WriteMemory(LONG addr, LONG len, SHORT* buff) override;
    HRESULT get_DeviceStatus(LONG*) override { return E_NOTIMPL; }

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

    bool PortOpen() const override { return m_active; }
    void Autodetect(DWORD portCode, DWORD frameCode, CAutodetectState& state) override;

private:
    // Records the code, shows its box, and hands back hr.
    HRESULT Fail(int error, HRESULT hr);
    // A refused settings part records its code and shows its box; the parse goes on.
    void ApplyPart(int error);
    // Parses both parts of a settings string; with portPartAlone also a string that is only a port part.
    void ApplySettings(BSTR text, bool portPartAlone);
    HRESULT CheckedAccess(LONG ipa, LONG subI, VARTYPE type, ParAccess& access);
    // The checks of a CANopen transfer: object number, node, then those of every transfer.
    HRESULT CanOpenAccess(LONG ipa, LONG subI, VARTYPE type, ParAccess& access);
    HRESULT CanOpenRead(LONG ipa, LONG subI, VARTYPE type, VARIANT& value);
    HRESULT CanOpenWrite(LONG ipa, LONG subI, VARTYPE type, const VARIANT& value);
    HRESULT RawRead(const BYTE* countBytes, BYTE* buffer, LONG* length);
    // Copies what the dialog accepted and reopens a port that was open.
    HRESULT ApplyConfig(const CDriveSettings& edited);
    // Probes every baud rate (and in binary mode every address) with the probe parameter.
    void Scan(const DWORD* baudRates, size_t count, CAutodetectState& state);
    bool Probe();

    CPortObjectFactory& m_ports;
    CWarningSink* m_sink;

    CTransactionFrame m_frame;
    CDriveSettings m_settings;
    SHORT m_errorCode = 0;
    bool m_active = false;
    bool m_messagesOn = true;
    std::unique_ptr<CComPort> m_port;
    CMessageTable m_messages;
    WORD m_probeParameter = 1;
    WORD m_probeType = VT_UI1;
    bool m_writeAcknowledge = true;
    bool m_memoryWriteOnce = false;
};
