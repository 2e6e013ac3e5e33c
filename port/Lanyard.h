// The port objects' interfaces and class ids: what callers of "Lanyard.Lanyard.1" and "Lanyard.Lanyard2.1"
// use.
#pragma once

#include <com/Com.h>

constexpr GUID LIBID_LANYARDLib = MakeGuid("13E5476B-BCDC-4F1F-A577-05D0FBAE83C7");
constexpr CLSID CLSID_Lanyard = MakeGuid("B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F");
constexpr CLSID CLSID_Lanyard2 = MakeGuid("0918A6F5-47A9-466E-8E92-65D0B75DB555");

// The message of SendVariantMessage and ReceiveVariantMessage passed as a VT_BYREF variant without
// a type: byref points to this pair (send) or straight to the bytes (receive).
struct LANYARD_MSG
{
    ULONG length;
    BYTE* data;
};

// Every member returns S_OK or a failure; ErrorCode keeps the last failure's code:
// 2 transfer failed, 3 no open port (or, in ILanyard2, a failed property or flush),
// 5 open failed, 6 array access failed, 8 message request refused.
struct ILanyard : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("54737F1C-CA28-4CD7-8C8D-35B2AB830A91");

    // "COM:1,9600,E,8,1", "MODEM:...", "CAN:...", "CANPC:...", "CANUSB:...", "NET:...", "TCPIP:...",
    // "SOCK:..._...", "DP:", "DPDEB:", "PC:n".
    virtual HRESULT Open(BSTR bstrOpenData) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Reset() = 0;
    // Holds the port for this object, waiting at most 2000 ms.
    virtual HRESULT Lock() = 0;
    virtual HRESULT Unlock() = 0;
    // buff is a byte buffer; to is in milliseconds (0xFFFF: return at once with what has come).
    virtual HRESULT ReadData(SHORT* buff, LONG len, SHORT to) = 0;
    virtual HRESULT WriteData(SHORT* buff, LONG len) = 0;
    virtual HRESULT WriteVariantData(VARIANT data) = 0;
    virtual HRESULT ReadVariantData(VARIANT* data, LONG to) = 0;
    virtual HRESULT get_ErrorCode(LONG* pVal) = 0;
    virtual HRESULT SendVariantMessage(LONG id, VARIANT msg) = 0;
    // On a failed receive *len is -1, error code 2, and the result still S_OK.
    virtual HRESULT ReceiveVariantMessage(LONG* id, LONG* len, VARIANT* data, LONG to) = 0;
    virtual HRESULT AddMessageFilter(LONG mask, LONG filter) = 0;
    virtual HRESULT RemMessageFilter(LONG mask, LONG filter) = 0;
    virtual HRESULT RequireMessage(LONG id, LONG len) = 0;
    virtual HRESULT ReceiveVariantEvent(LONG* time, LONG* id, LONG* len, VARIANT* data, LONG to) = 0;
    virtual HRESULT PutProperty(SHORT code, VARIANT data) = 0;
    virtual HRESULT GetProperty(SHORT code, VARIANT* data) = 0;

protected:
    ~ILanyard() = default;
};
inline constexpr IID IID_ILanyard = ILanyard::Iid;

// The members of ILanyard with the port's properties passed through, and Flush and Command.
struct ILanyard2 : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("8AC561BB-A8A2-40E6-86EF-4FA75364BAEA");

    virtual HRESULT Open(BSTR bstrOpenData) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Lock() = 0;
    virtual HRESULT Unlock() = 0;
    virtual HRESULT ReadData(SHORT* buff, LONG len, SHORT to) = 0;
    virtual HRESULT WriteData(SHORT* buff, LONG len) = 0;
    virtual HRESULT WriteVariantData(VARIANT data) = 0;
    virtual HRESULT ReadVariantData(VARIANT* data, LONG to) = 0;
    virtual HRESULT get_ErrorCode(LONG* pVal) = 0;
    virtual HRESULT SendVariantMessage(LONG id, VARIANT msg) = 0;
    virtual HRESULT ReceiveVariantMessage(LONG* id, LONG* len, VARIANT* data, LONG to) = 0;
    virtual HRESULT AddMessageFilter(LONG mask, LONG filter) = 0;
    virtual HRESULT RemMessageFilter(LONG mask, LONG filter) = 0;
    virtual HRESULT RequireMessage(LONG id, LONG len) = 0;
    virtual HRESULT ReceiveVariantEvent(LONG* time, LONG* id, LONG* len, VARIANT* data, LONG to) = 0;
    // data's value field is handed to the port as the property's bytes.
    virtual HRESULT PutProperty(SHORT code, VARIANT data) = 0;
    // The port writes the property through the pointer held in data's value field.
    virtual HRESULT GetProperty(SHORT code, VARIANT* data) = 0;
    virtual HRESULT Flush() = 0;
    virtual HRESULT Command(LONG cmd, VARIANT* data) = 0;

protected:
    ~ILanyard2() = default;
};
inline constexpr IID IID_ILanyard2 = ILanyard2::Iid;
