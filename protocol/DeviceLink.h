// The drive protocol object's interfaces "IDeviceLink" and "IVrnSer" ("VrnSer.VrnSer.1").
#pragma once

#include "DeviceLinkError.h"

#include <com/Com.h>

constexpr CLSID CLSID_VrnSer = MakeGuid("3E3476E0-1BFE-4306-A95D-84198FD0CB7B");
constexpr GUID LIBID_VRNSERLib = MakeGuid("9DD46667-4866-43A1-89EB-3B4D96E56A4E");
constexpr const char* kVrnSerProgId = "VrnSer.VrnSer.1";

// Packet command codes.
enum : SHORT
{
    PKT_SET_PROBE = 1,
    PKT_RAW_READ = 2,
    PKT_ACK_OFF = 3,
    PKT_ACK_ON = 4,
    PKT_MEM_ONCE = 5,
    PKT_IS_MODEM = 6, // sent by the main program, not served
};

// Buffers typed short* carry bytes. Every member returns an HRESULT; a failing one records its
// code in ErrorCode and, while MsgOn is nonzero, shows one warning box.
struct IDeviceLink : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("4A1EDF78-D561-414C-8C6E-993BEC194249");

    virtual HRESULT get_Address(SHORT* value) = 0;
    virtual HRESULT put_Address(SHORT value) = 0;
    virtual HRESULT get_MsgOn(LONG* value) = 0;
    virtual HRESULT put_MsgOn(LONG value) = 0;
    virtual HRESULT get_Port(SHORT* value) = 0;
    virtual HRESULT put_Port(SHORT value) = 0;
    virtual HRESULT get_Protocol(BSTR* value) = 0;
    virtual HRESULT put_Protocol(BSTR value) = 0;
    virtual HRESULT get_TimeOut(SHORT* value) = 0;
    virtual HRESULT put_TimeOut(SHORT value) = 0;
    virtual HRESULT get_Success(LONG* value) = 0;
    virtual HRESULT get_ErrorCode(SHORT* value) = 0;
    virtual HRESULT get_ErrorString(BSTR* value) = 0;
    virtual HRESULT get_Active(LONG* value) = 0;
    virtual HRESULT get_ErrTimeOut(LONG* value) = 0;
    virtual HRESULT get_Option(LONG* value) = 0;
    virtual HRESULT put_Option(LONG value) = 0;
    virtual HRESULT Config() = 0;
    virtual HRESULT Init(BSTR fName) = 0;
    virtual HRESULT Packet(SHORT CmdId, BYTE* BuffOut, LONG LenOut, BYTE* BuffIn, LONG* LenIn) = 0;
    virtual HRESULT ShowMsg() = 0;
    virtual HRESULT get_Par(LONG ipa, LONG subI, SHORT type, VARIANT* value) = 0;
    virtual HRESULT put_Par(LONG ipa, LONG subI, SHORT type, VARIANT value) = 0;
    virtual HRESULT get_ParDWord(LONG ipa, LONG* value) = 0;
    virtual HRESULT put_ParDWord(LONG ipa, LONG value) = 0;
    virtual HRESULT get_ParFloat(LONG ipa, FLOAT* value) = 0;
    virtual HRESULT put_ParFloat(LONG ipa, FLOAT value) = 0;
    virtual HRESULT get_ParInt(LONG ipa, SHORT* value) = 0;
    virtual HRESULT put_ParInt(LONG ipa, SHORT value) = 0;
    virtual HRESULT get_ParWord(LONG ipa, SHORT* value) = 0;
    virtual HRESULT put_ParWord(LONG ipa, SHORT value) = 0;
    virtual HRESULT get_InputD(LONG index, LONG* value) = 0;
    virtual HRESULT get_InputA(LONG index, LONG* value) = 0;
    virtual HRESULT get_OutputD(LONG index, LONG* value) = 0;
    virtual HRESULT put_OutputD(LONG index, LONG value) = 0;
    virtual HRESULT get_OutputA(LONG index, LONG* value) = 0;
    virtual HRESULT put_OutputA(LONG index, LONG value) = 0;
    virtual HRESULT get_ConfString(BSTR* value) = 0;
    virtual HRESULT put_ConfString(BSTR value) = 0;
    virtual HRESULT get_Broadcast(LONG* value) = 0;
    virtual HRESULT put_Broadcast(LONG value) = 0;
    virtual HRESULT EraseFlash() = 0;
    virtual HRESULT ReadMemory(LONG addr, LONG len, SHORT* buff) = 0;
    virtual HRESULT WriteMemory(LONG addr, LONG len, SHORT* buff) = 0;
    virtual HRESULT get_DeviceStatus(LONG* value) = 0;

protected:
    ~IDeviceLink() = default;
};

struct IVrnSer : IDeviceLink
{
    using Base = IDeviceLink;
    static constexpr IID Iid = MakeGuid("FFB56871-4D9F-4D34-87BF-A65EC214A24A");

protected:
    ~IVrnSer() = default;
};
