// Error information: a failing call leaves a description for its caller on the calling thread.
#include "ErrorInfo.h"

#include "ComObject.h"

#include <string>

namespace
{

class CErrorInfo : public tvsk::com::ComObject<IErrorInfo>
{
public:
    CErrorInfo(const GUID& guid, std::string_view source, std::string_view description)
        : m_guid(guid), m_source(source), m_description(description)
    {
    }

    HRESULT GetGUID(GUID* guid) override
    {
        if (!guid)
            return E_INVALIDARG;
        *guid = m_guid;
        return S_OK;
    }
    HRESULT GetSource(BSTR* source) override { return Hand(m_source, source); }
    HRESULT GetDescription(BSTR* description) override { return Hand(m_description, description); }
    HRESULT GetHelpFile(BSTR* helpFile) override
    {
        if (!helpFile)
            return E_INVALIDARG;
        *helpFile = nullptr;
        return S_OK;
    }
    HRESULT GetHelpContext(DWORD* helpContext) override
    {
        if (!helpContext)
            return E_INVALIDARG;
        *helpContext = 0;
        return S_OK;
    }

private:
    static HRESULT Hand(const std::string& text, BSTR* out)
    {
        if (!out)
            return E_INVALIDARG;
        *out = tvsk::com::BstrFromUtf8(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    GUID m_guid;
    std::string m_source;
    std::string m_description;
};

// Releases the thread's error information when the thread ends.
struct ThreadErrorInfo
{
    ~ThreadErrorInfo()
    {
        if (info)
            info->Release();
    }
    IErrorInfo* info = nullptr;
};

thread_local ThreadErrorInfo t_errorInfo;

} // namespace

HRESULT SetErrorInfo(DWORD, IErrorInfo* info)
{
    if (info)
        info->AddRef();
    if (t_errorInfo.info)
        t_errorInfo.info->Release();
    t_errorInfo.info = info;
    return S_OK;
}

HRESULT GetErrorInfo(DWORD, IErrorInfo** info)
{
    if (!info)
        return E_INVALIDARG;
    *info = t_errorInfo.info;
    t_errorInfo.info = nullptr;
    return *info ? S_OK : S_FALSE;
}

namespace tvsk::com
{

HRESULT ReportError(HRESULT hr, REFIID iid, std::string_view source, std::string_view description)
{
    auto* info = new CErrorInfo(iid, source, description);
    info->AddRef();
    SetErrorInfo(0, info);
    info->Release();
    return hr;
}

} // namespace tvsk::com
