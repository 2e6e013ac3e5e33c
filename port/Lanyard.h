// The port object's interface: one opened port reached through COM ("Lanyard.Lanyard.1").
#pragma once

#include <com/Com.h>

constexpr CLSID CLSID_Lanyard = MakeGuid("B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F");
constexpr GUID LIBID_LANYARDLib = MakeGuid("13E5476B-BCDC-4F1F-A577-05D0FBAE83C7");

// Every method returns E_FAIL without an open port; buffers typed short* carry bytes; time-outs
// reach the port client as unsigned 16-bit milliseconds (0xFFFF: do not wait).
struct ILanyard : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("54737F1C-CA28-4CD7-8C8D-35B2AB830A91");

    virtual HRESULT Open(BSTR bstrOpenData) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT Reset() = 0;
    // Waits at most 2000 ms for the port's lock.
    virtual HRESULT Lock() = 0;
    virtual HRESULT Unlock() = 0;
    // S_OK only when all len bytes came.
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
    virtual HRESULT PutProperty(SHORT code, VARIANT data) = 0;
    virtual HRESULT GetProperty(SHORT code, VARIANT* data) = 0;

protected:
    ~ILanyard() = default;
};
inline constexpr IID IID_ILanyard = ILanyard::Iid;
