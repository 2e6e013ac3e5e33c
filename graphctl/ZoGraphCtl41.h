// CZoGraphCtl41: a host's window for the graph control, calling it by dispatch id.
#pragma once

#include "ZoGraph4.h"

#include <ui/ControlHost.h>

#include <string_view>

class CZoGraphCtl41 : public CWnd
{
public:
    BOOL Create(const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CreateControl(CLSID_ZoGraphCtl4, windowName, style, rect, parent, id);
    }

    HRESULT SetProperty(DISPID id, VARIANT value)
    {
        return InvokeHelper(id, DISPATCH_PROPERTYPUT, nullptr, {value});
    }
    HRESULT SetLong(DISPID id, LONG value) { return SetProperty(id, tvsk::com::MakeVariantI4(value)); }
    HRESULT SetDouble(DISPID id, double value) { return SetProperty(id, tvsk::com::MakeVariantR8(value)); }
    LONG GetLong(DISPID id) { return Get(id, VT_I4).lVal; }
    double GetDouble(DISPID id) { return Get(id, VT_R8).dblVal; }

    void SetViewList(LONG value) { SetLong(DISPID_ZG_ViewList, value); }
    void SetViewTimePosBar(LONG value) { SetLong(DISPID_ZG_ViewTimePosBar, value); }
    void SetMeasureBar(LONG value) { SetLong(DISPID_ZG_MeasureBar, value); }
    void SetBackColor(OLE_COLOR value) { SetLong(DISPID_ZG_BackColor, static_cast<LONG>(value)); }
    void SetGraphColor(OLE_COLOR value) { SetLong(DISPID_ZG_GraphColor, static_cast<LONG>(value)); }
    void SetTriggerBar(LONG value) { SetLong(DISPID_ZG_TriggerBar, value); }
    void SetViewUserString(LONG value) { SetLong(DISPID_ZG_ViewUserString, value); }
    void SetDimBuffer(LONG value) { SetLong(DISPID_ZG_DimBuffer, value); }
    void SetTimeDiv(double value) { SetDouble(DISPID_ZG_TimeDiv, value); }
    double GetTimeDiv() { return GetDouble(DISPID_ZG_TimeDiv); }
    void SetTriggerPos(float value)
    {
        VARIANT v{};
        v.vt = VT_R4;
        v.fltVal = value;
        SetProperty(DISPID_ZG_TriggerPos, v);
    }
    double GetTimeDiff() { return GetDouble(DISPID_ZG_TimeDiff); }
    LONG GetTracksNo() { return GetLong(DISPID_ZG_TracksNo); }
    HRESULT SetFeature(INT idf, VARIANT value)
    {
        return InvokeHelper(DISPID_ZG_Feature, DISPATCH_PROPERTYPUT, nullptr,
                            {tvsk::com::MakeVariantI4(idf), value});
    }
    HRESULT AddTrack(std::string_view name) { return CallWithText(DISPID_ZG_AddTrack, name); }
    HRESULT Save(std::string_view file) { return CallWithText(DISPID_ZG_Save, file); }
    HRESULT Load(std::string_view file) { return CallWithText(DISPID_ZG_Load, file); }
    HRESULT Update() { return InvokeHelper(DISPID_ZG_Update, DISPATCH_METHOD, nullptr, {}); }
    HRESULT PrintGraph() { return InvokeHelper(DISPID_ZG_PrintGraph, DISPATCH_METHOD, nullptr, {}); }
    HRESULT UpdateSamples(INT num)
    {
        return InvokeHelper(DISPID_ZG_UpdateSamples, DISPATCH_METHOD, nullptr,
                            {tvsk::com::MakeVariantI4(num)});
    }
    // The trace at a 0-based position, or null; the caller releases it.
    ITrack4* GetTrack(LONG position)
    {
        VARIANT result;
        VariantInit(&result);
        if (FAILED(InvokeHelper(DISPID_ZG_track, DISPATCH_PROPERTYGET, &result,
                                {tvsk::com::MakeVariantI4(position)})) ||
            result.vt != VT_DISPATCH || !result.pdispVal)
        {
            VariantClear(&result);
            return nullptr;
        }
        ITrack4* track = nullptr;
        result.pdispVal->QueryInterface(ITrack4::Iid, reinterpret_cast<void**>(&track));
        VariantClear(&result);
        return track;
    }

private:
    VARIANT Get(DISPID id, VARTYPE vt)
    {
        VARIANT result;
        VariantInit(&result);
        InvokeHelper(id, DISPATCH_PROPERTYGET, &result, {});
        VARIANT converted;
        VariantInit(&converted);
        VariantChangeType(&converted, &result, 0, vt);
        VariantClear(&result);
        return converted;
    }
    HRESULT CallWithText(DISPID id, std::string_view text)
    {
        VARIANT arg = tvsk::com::MakeVariantBstr(text);
        const HRESULT hr = InvokeHelper(id, DISPATCH_METHOD, nullptr, {arg});
        VariantClear(&arg);
        return hr;
    }
};
