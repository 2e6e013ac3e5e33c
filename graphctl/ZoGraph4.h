// The graph control's classes, interfaces and events, as hosts and clients use them.
#pragma once

#include <com/Com.h>

using OLE_COLOR = ULONG;

constexpr GUID LIBID_ZOGRAPH4Lib = MakeGuid("A1DED015-A7B4-4B24-880D-D5F1488BCE42");
constexpr CLSID CLSID_ZoGraphCtl4 = MakeGuid("185F51C9-95ED-4D4A-90DC-5B691B37EC71");
constexpr CLSID CLSID_Track4 = MakeGuid("BEA3ADC9-F9DF-4885-8935-C6A8938ADD6D");
constexpr CLSID CLSID_TrackCollection4 = MakeGuid("8DB4E32D-693A-4549-A63D-BD159B285106");
constexpr CLSID CLSID_DescString4 = MakeGuid("FEDD9FD1-D3CD-419D-A51F-BA1A741A46CB");
constexpr IID DIID__IZoGraphCtl4Events = MakeGuid("D00BFDE1-9083-4EB3-8ECE-1EF719FCE575");

// One recorded signal: samples in a circular buffer and the range it is drawn in.
struct ITrack4 : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("53E596C4-4783-4E72-8E0A-3D37484CBBCE");
    virtual HRESULT get_Name(BSTR* name) = 0;
    virtual HRESULT put_Name(BSTR name) = 0;
    virtual HRESULT get_Um(BSTR* um) = 0;
    virtual HRESULT put_Um(BSTR um) = 0;
    virtual HRESULT get_Min(DOUBLE* value) = 0;
    virtual HRESULT put_Min(DOUBLE value) = 0;
    virtual HRESULT get_Max(DOUBLE* value) = 0;
    virtual HRESULT put_Max(DOUBLE value) = 0;
    virtual HRESULT get_Offset(DOUBLE* value) = 0;
    virtual HRESULT put_Offset(DOUBLE value) = 0;
    virtual HRESULT get_Color(OLE_COLOR* color) = 0;
    virtual HRESULT put_Color(OLE_COLOR color) = 0;
    virtual HRESULT get_DimBuffer(LONG* dim) = 0;
    virtual HRESULT put_DimBuffer(LONG dim) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT AddSamples(LONG num, DOUBLE* data, DOUBLE* time) = 0;
    virtual HRESULT get_SamplesNum(LONG* num) = 0;
    virtual HRESULT get_Scale(DOUBLE* value) = 0;
    virtual HRESULT put_Scale(DOUBLE value) = 0;
    virtual HRESULT SetRange(DOUBLE min, DOUBLE max) = 0;
    virtual HRESULT get_UserData(VARIANT* data) = 0;
    virtual HRESULT put_UserData(VARIANT data) = 0;
    virtual HRESULT GetSamples(LONG num, LONG from, DOUBLE* data, DOUBLE* time) = 0;
    virtual HRESULT AddSamplesV(VARIANT data, VARIANT time) = 0;
    virtual HRESULT GetSamplesV(LONG num, LONG from, VARIANT* data, VARIANT* time) = 0;
    virtual HRESULT get_GraphControl(IDispatch** control) = 0;
    virtual HRESULT put_GraphControl(IDispatch* control) = 0;
    virtual HRESULT get_MaxValue(DOUBLE* value) = 0;
    virtual HRESULT get_MinValue(DOUBLE* value) = 0;
    virtual HRESULT get_SampleFromTime(DOUBLE time, DOUBLE* value) = 0;
    virtual HRESULT get_DigitalView(LONG* view) = 0;
    virtual HRESULT put_DigitalView(LONG view) = 0;
    virtual HRESULT get_Note(BSTR* note) = 0;
    virtual HRESULT put_Note(BSTR note) = 0;
    virtual HRESULT get_Show(LONG* show) = 0;
    virtual HRESULT put_Show(LONG show) = 0;
    virtual HRESULT get_TotalTime(DOUBLE* time) = 0;
    virtual HRESULT get_Feature(INT idf, VARIANT* value) = 0;
    virtual HRESULT put_Feature(INT idf, VARIANT value) = 0;

protected:
    ~ITrack4() = default;
};

// The control's traces; Item counts from 1, Remove from 0.
struct ITrackCollection4 : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("F4874262-3D50-4D4F-A10D-56760046E297");
    virtual HRESULT get_Count(LONG* count) = 0;
    virtual HRESULT get_Item(LONG index, VARIANT* item) = 0;
    virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;
    virtual HRESULT AddTrack(BSTR name) = 0;
    virtual HRESULT Remove(LONG idx) = 0;
    virtual HRESULT RemoveAll() = 0;

protected:
    ~ITrackCollection4() = default;
};

// A text drawn on the graph.
struct IDescString4 : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("A329E77A-715B-4F95-8D90-2BE858C1F005");
    virtual HRESULT get_String(BSTR* text) = 0;
    virtual HRESULT put_String(BSTR text) = 0;
    virtual HRESULT get_PosX(LONG* x) = 0;
    virtual HRESULT put_PosX(LONG x) = 0;
    virtual HRESULT get_PosY(LONG* y) = 0;
    virtual HRESULT put_PosY(LONG y) = 0;
    virtual HRESULT get_Align(SHORT* align) = 0;
    virtual HRESULT put_Align(SHORT align) = 0;
    virtual HRESULT get_Color(OLE_COLOR* color) = 0;
    virtual HRESULT put_Color(OLE_COLOR color) = 0;

protected:
    ~IDescString4() = default;
};

// Dispatch ids of IZoGraphCtl4 (15 is not used).
enum ZoGraphCtl4Dispid : DISPID
{
    DISPID_ZG_Grid = 1,
    DISPID_ZG_ViewList = 2,
    DISPID_ZG_Tracks = 3,
    DISPID_ZG_SplitTracks = 4,
    DISPID_ZG_MeasureBar = 5,
    DISPID_ZG_ViewTimePosBar = 6,
    DISPID_ZG_AddTrack = 7,
    DISPID_ZG_DragDropEnable = 8,
    DISPID_ZG_Update = 9,
    DISPID_ZG_RemoveSelectedTracks = 10,
    DISPID_ZG_RemoveAllTracks = 11,
    DISPID_ZG_track = 12,
    DISPID_ZG_SelectedTrack = 13,
    DISPID_ZG_ViewAcquisitions = 14,
    DISPID_ZG_TimeDiv = 16,
    DISPID_ZG_Reset = 17,
    DISPID_ZG_RemoveTrack = 18,
    DISPID_ZG_TracksNo = 19,
    DISPID_ZG_GraphRange = 20,
    DISPID_ZG_BackColor = 21,
    DISPID_ZG_MaxTracksNum = 22,
    DISPID_ZG_GridColor = 23,
    DISPID_ZG_GraphColor = 24,
    DISPID_ZG_Autoscale = 25,
    DISPID_ZG_ViewTrackMarkers = 26,
    DISPID_ZG_AddUserString = 27,
    DISPID_ZG_ViewUserString = 28,
    DISPID_ZG_UserStringColor = 29,
    DISPID_ZG_UserStringText = 30,
    DISPID_ZG_UserStringPosX = 31,
    DISPID_ZG_UserStringPosY = 32,
    DISPID_ZG_RemoveUserString = 33,
    DISPID_ZG_RemoveAllUserString = 34,
    DISPID_ZG_TMin = 35,
    DISPID_ZG_TMax = 36,
    DISPID_ZG_DimBuffer = 37,
    DISPID_ZG_PrintGraph = 38,
    DISPID_ZG_UserStringsNum = 39,
    DISPID_ZG_AutoArrange = 40,
    DISPID_ZG_Load = 41,
    DISPID_ZG_Save = 42,
    DISPID_ZG_TimeDiff = 43,
    DISPID_ZG_TriggerBar = 44,
    DISPID_ZG_TriggerPos = 45,
    DISPID_ZG_XScale = 46,
    DISPID_ZG_ViewRange = 47,
    DISPID_ZG_GraphHDim = 48,
    DISPID_ZG_GraphVDim = 49,
    DISPID_ZG_StartViewIndex = 50,
    DISPID_ZG_UpdateBarPosIndex = 51,
    DISPID_ZG_UpdateBarPosTime = 52,
    DISPID_ZG_MapPixelToTime = 53,
    DISPID_ZG_FirstFreeColor = 54,
    DISPID_ZG_DirectUnknown = 55,
    DISPID_ZG_Feature = 56,
    DISPID_ZG_UpdateSamples = 57,
    DISPID_ZG_SampleTimeBase = 58,
};

// The graph control's automation interface.
struct IZoGraphCtl4 : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("F3D5D8B5-AE68-4746-BCDF-E1D029E85BFA");
    virtual HRESULT get_Grid(LONG* value) = 0;
    virtual HRESULT put_Grid(LONG value) = 0;
    virtual HRESULT get_ViewList(LONG* value) = 0;
    virtual HRESULT put_ViewList(LONG value) = 0;
    virtual HRESULT get_Tracks(VARIANT* tracks) = 0;
    virtual HRESULT get_SplitTracks(LONG* value) = 0;
    virtual HRESULT put_SplitTracks(LONG value) = 0;
    virtual HRESULT get_MeasureBar(LONG* value) = 0;
    virtual HRESULT put_MeasureBar(LONG value) = 0;
    virtual HRESULT get_ViewTimePosBar(LONG* value) = 0;
    virtual HRESULT put_ViewTimePosBar(LONG value) = 0;
    virtual HRESULT AddTrack(BSTR name) = 0;
    virtual HRESULT get_DragDropEnable(LONG* value) = 0;
    virtual HRESULT put_DragDropEnable(LONG value) = 0;
    virtual HRESULT Update() = 0;
    virtual HRESULT RemoveSelectedTracks() = 0;
    virtual HRESULT RemoveAllTracks() = 0;
    virtual HRESULT get_track(VARIANT var, IDispatch** track) = 0;
    virtual HRESULT get_SelectedTrack(IDispatch** track) = 0;
    virtual HRESULT get_ViewAcquisitions(LONG* value) = 0;
    virtual HRESULT put_ViewAcquisitions(LONG value) = 0;
    virtual HRESULT get_TimeDiv(DOUBLE* value) = 0;
    virtual HRESULT put_TimeDiv(DOUBLE value) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT RemoveTrack(LONG idx) = 0;
    virtual HRESULT get_TracksNo(LONG* count) = 0;
    virtual HRESULT get_GraphRange(DOUBLE* value) = 0;
    virtual HRESULT get_BackColor(OLE_COLOR* color) = 0;
    virtual HRESULT put_BackColor(OLE_COLOR color) = 0;
    virtual HRESULT get_MaxTracksNum(SHORT* value) = 0;
    virtual HRESULT put_MaxTracksNum(SHORT value) = 0;
    virtual HRESULT get_GridColor(OLE_COLOR* color) = 0;
    virtual HRESULT put_GridColor(OLE_COLOR color) = 0;
    virtual HRESULT get_GraphColor(OLE_COLOR* color) = 0;
    virtual HRESULT put_GraphColor(OLE_COLOR color) = 0;
    virtual HRESULT get_Autoscale(LONG* value) = 0;
    virtual HRESULT put_Autoscale(LONG value) = 0;
    virtual HRESULT get_ViewTrackMarkers(LONG* value) = 0;
    virtual HRESULT put_ViewTrackMarkers(LONG value) = 0;
    virtual HRESULT AddUserString(BSTR text, LONG x, LONG y, SHORT align) = 0;
    virtual HRESULT get_ViewUserString(LONG* value) = 0;
    virtual HRESULT put_ViewUserString(LONG value) = 0;
    virtual HRESULT get_UserStringColor(LONG idx, OLE_COLOR* color) = 0;
    virtual HRESULT put_UserStringColor(LONG idx, OLE_COLOR color) = 0;
    virtual HRESULT get_UserStringText(LONG idx, BSTR* text) = 0;
    virtual HRESULT put_UserStringText(LONG idx, BSTR text) = 0;
    virtual HRESULT get_UserStringPosX(LONG idx, LONG* x) = 0;
    virtual HRESULT put_UserStringPosX(LONG idx, LONG x) = 0;
    virtual HRESULT get_UserStringPosY(LONG idx, LONG* y) = 0;
    virtual HRESULT put_UserStringPosY(LONG idx, LONG y) = 0;
    virtual HRESULT RemoveUserString(LONG idx) = 0;
    virtual HRESULT RemoveAllUserString() = 0;
    virtual HRESULT get_TMin(DOUBLE* value) = 0;
    virtual HRESULT get_TMax(DOUBLE* value) = 0;
    virtual HRESULT get_DimBuffer(LONG* dim) = 0;
    virtual HRESULT put_DimBuffer(LONG dim) = 0;
    virtual HRESULT PrintGraph() = 0;
    virtual HRESULT get_UserStringsNum(LONG* count) = 0;
    virtual HRESULT AutoArrange() = 0;
    virtual HRESULT Load(BSTR bstrFileName) = 0;
    virtual HRESULT Save(BSTR bstrFileName) = 0;
    virtual HRESULT get_TimeDiff(DOUBLE* value) = 0;
    virtual HRESULT get_TriggerBar(LONG* value) = 0;
    virtual HRESULT put_TriggerBar(LONG value) = 0;
    virtual HRESULT get_TriggerPos(FLOAT* value) = 0;
    virtual HRESULT put_TriggerPos(FLOAT value) = 0;
    virtual HRESULT get_XScale(FLOAT* value) = 0;
    virtual HRESULT put_XScale(FLOAT value) = 0;
    virtual HRESULT get_ViewRange(DOUBLE* value) = 0;
    virtual HRESULT put_ViewRange(DOUBLE value) = 0;
    virtual HRESULT get_GraphHDim(LONG* value) = 0;
    virtual HRESULT get_GraphVDim(LONG* value) = 0;
    virtual HRESULT get_StartViewIndex(LONG* value) = 0;
    virtual HRESULT put_StartViewIndex(LONG value) = 0;
    virtual HRESULT UpdateBarPosIndex(LONG startIdx) = 0;
    virtual HRESULT UpdateBarPosTime(DOUBLE t) = 0;
    virtual HRESULT MapPixelToTime(LONG px, DOUBLE* t) = 0;
    virtual HRESULT get_FirstFreeColor(LONG* res, OLE_COLOR* color) = 0;
    virtual HRESULT get_DirectUnknown(IUnknown** unknown) = 0;
    virtual HRESULT get_Feature(INT idf, VARIANT* value) = 0;
    virtual HRESULT put_Feature(INT idf, VARIANT value) = 0;
    virtual HRESULT UpdateSamples(INT num) = 0;
    virtual HRESULT get_SampleTimeBase(DOUBLE* value) = 0;
    virtual HRESULT put_SampleTimeBase(DOUBLE value) = 0;

protected:
    ~IZoGraphCtl4() = default;
};

// Event ids of _IZoGraphCtl4Events.
enum ZoGraphCtl4Event : DISPID
{
    DISPID_ZG_KeyDown = 2,             // long vKey
    DISPID_ZG_DropText = 3,            // BSTR text
    DISPID_ZG_ListContextMenu = 4,     // long x, long y
    DISPID_ZG_GraphContextMenu = 5,    // long x, long y
    DISPID_ZG_TimeRefChange = 6,       // long pos
    DISPID_ZG_ListDblClick = 7,        // long x, long y
    DISPID_ZG_MoveZeroTrack = 8,       // int idx
    DISPID_ZG_MoveMeasureValueBar = 9, // int idBar, double valIdx
    DISPID_ZG_TrackListSelection = 10, // IDispatch track
    DISPID_ZG_MoveMeasureHorzBar = 11, // BSTR trackName, double value
    DISPID_ZG_RectSelection = 12,      // long left, long top, long right, long bottom
    DISPID_ZG_RButtonUp = 13,          // long x, long y
    DISPID_ZG_MouseMove = 14,          // long x, long y (never fired)
};

// The empty-slot mark of a trace buffer.
constexpr double kTrackEmptyMark = 3.4028234663852886e38;
