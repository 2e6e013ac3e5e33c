// Argument checks and failure reports shared by every dispatch table.
#include "DispatchTable.h"

#include "ErrorInfo.h"

namespace tvsk::com::detail
{

HRESULT CheckArguments(const DISPPARAMS* params, WORD flags, UINT expected)
{
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (put)
    {
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    }
    else if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (params->cArgs != expected)
        return DISP_E_BADPARAMCOUNT;
    if (expected > 0 && !params->rgvarg)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT ReportMemberFailure(HRESULT hr, EXCEPINFO* exception)
{
    if (SUCCEEDED(hr) || !exception || (hr >= DISP_E_UNKNOWNINTERFACE && hr <= DISP_E_PARAMNOTOPTIONAL))
        return hr;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info)
    {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
        info->GetHelpFile(&exception->bstrHelpFile);
        info->GetHelpContext(&exception->dwHelpContext);
        info->Release();
    }
    return DISP_E_EXCEPTION;
}

} // namespace tvsk::com::detail
