// Error information: a failing call leaves a description for its caller on the calling thread.
#pragma once

#include "Bstr.h"

#include <string_view>

struct IErrorInfo : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("1CF2B120-547D-101B-8E65-08002B2BD119");
    virtual HRESULT GetGUID(GUID* guid) = 0;
    virtual HRESULT GetSource(BSTR* source) = 0;
    virtual HRESULT GetDescription(BSTR* description) = 0;
    virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* helpContext) = 0;

protected:
    ~IErrorInfo() = default;
};
inline constexpr IID IID_IErrorInfo = IErrorInfo::Iid;

// S_OK when the object sets error information for calls through interface iid, else S_FALSE.
struct ISupportErrorInfo : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("DF0B3D60-548F-101B-8E65-08002B2BD119");
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};
inline constexpr IID IID_ISupportErrorInfo = ISupportErrorInfo::Iid;

// The thread's current error information; null clears it. The thread keeps a reference.
HRESULT SetErrorInfo(DWORD reserved, IErrorInfo* info);
// Hands the thread's error information to the caller (and clears it); S_FALSE and null when none.
HRESULT GetErrorInfo(DWORD reserved, IErrorInfo** info);

namespace tvsk::com
{
// Sets the thread's error information from texts and returns hr, for `return ReportError(...)`.
HRESULT ReportError(HRESULT hr, REFIID iid, std::string_view source, std::string_view description);
} // namespace tvsk::com
