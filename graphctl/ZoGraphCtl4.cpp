#include "ZoGraphCtl4.h"

#include <kernel/Handle.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace tvsk::com;

namespace
{

template <class V> HRESULT Read(V value, V* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

std::string Fixed3(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.03f", value);
    return text;
}

constexpr UINT kScrollLineLeft = 0;
constexpr UINT kScrollLineRight = 1;
constexpr UINT kScrollPageLeft = 2;
constexpr UINT kScrollPageRight = 3;
constexpr UINT kScrollTop = 6;
constexpr UINT kScrollBottom = 7;
constexpr UINT kScrollEnd = 8;

} // namespace

CZoGraphCtl4::CZoGraphCtl4() : m_tracks(new CTrackCollection4)
{
    m_tracks->AddRef();
    Layout(0, 0);
}

CZoGraphCtl4::~CZoGraphCtl4()
{
    RemoveAllUserString();
    for (CTrack4* track : m_tracks->Tracks())
        track->SetOwner(nullptr, nullptr);
    m_tracks->Release();
}

const DispatchTable<CZoGraphCtl4>& CZoGraphCtl4::Dispatch()
{
    using C = CZoGraphCtl4;
    static const DispatchTable<C> table =
        DispatchTable<C>(InterfaceDescription(IZoGraphCtl4::Iid, "IZoGraphCtl4", "IZoGraphCtl4 Interface"))
            .Get(1, "Grid", &C::get_Grid)
            .Put(1, "Grid", &C::put_Grid)
            .Get(2, "ViewList", &C::get_ViewList)
            .Put(2, "ViewList", &C::put_ViewList)
            .Get(3, "Tracks", &C::get_Tracks)
            .Get(4, "SplitTracks", &C::get_SplitTracks)
            .Put(4, "SplitTracks", &C::put_SplitTracks)
            .Get(5, "MeasureBar", &C::get_MeasureBar)
            .Put(5, "MeasureBar", &C::put_MeasureBar)
            .Get(6, "ViewTimePosBar", &C::get_ViewTimePosBar)
            .Put(6, "ViewTimePosBar", &C::put_ViewTimePosBar)
            .Method(7, "AddTrack", static_cast<HRESULT (C::*)(BSTR)>(&C::AddTrack))
            .Get(8, "DragDropEnable", &C::get_DragDropEnable)
            .Put(8, "DragDropEnable", &C::put_DragDropEnable)
            .Method(9, "Update", &C::Update)
            .Method(10, "RemoveSelectedTracks", &C::RemoveSelectedTracks)
            .Method(11, "RemoveAllTracks", &C::RemoveAllTracks)
            .Get(12, "track", &C::get_track)
            .Get(13, "SelectedTrack", &C::get_SelectedTrack)
            .Get(14, "ViewAcquisitions", &C::get_ViewAcquisitions)
            .Put(14, "ViewAcquisitions", &C::put_ViewAcquisitions)
            .Get(16, "TimeDiv", &C::get_TimeDiv)
            .Put(16, "TimeDiv", &C::put_TimeDiv)
            .Method(17, "Reset", &C::Reset)
            .Method(18, "RemoveTrack", &C::RemoveTrack)
            .Get(19, "TracksNo", &C::get_TracksNo)
            .Get(20, "GraphRange", &C::get_GraphRange)
            .Get(21, "BackColor", &C::get_BackColor)
            .Put(21, "BackColor", &C::put_BackColor)
            .Get(22, "MaxTracksNum", &C::get_MaxTracksNum)
            .Put(22, "MaxTracksNum", &C::put_MaxTracksNum)
            .Get(23, "GridColor", &C::get_GridColor)
            .Put(23, "GridColor", &C::put_GridColor)
            .Get(24, "GraphColor", &C::get_GraphColor)
            .Put(24, "GraphColor", &C::put_GraphColor)
            .Get(25, "Autoscale", &C::get_Autoscale)
            .Put(25, "Autoscale", &C::put_Autoscale)
            .Get(26, "ViewTrackMarkers", &C::get_ViewTrackMarkers)
            .Put(26, "ViewTrackMarkers", &C::put_ViewTrackMarkers)
            .Method(27, "AddUserString", &C::AddUserString)
            .Get(28, "ViewUserString", &C::get_ViewUserString)
            .Put(28, "ViewUserString", &C::put_ViewUserString)
            .Get(29, "UserStringColor", &C::get_UserStringColor)
            .Put(29, "UserStringColor", &C::put_UserStringColor)
            .Get(30, "UserStringText", &C::get_UserStringText)
            .Put(30, "UserStringText", &C::put_UserStringText)
            .Get(31, "UserStringPosX", &C::get_UserStringPosX)
            .Put(31, "UserStringPosX", &C::put_UserStringPosX)
            .Get(32, "UserStringPosY", &C::get_UserStringPosY)
            .Put(32, "UserStringPosY", &C::put_UserStringPosY)
            .Method(33, "RemoveUserString", &C::RemoveUserString)
            .Method(34, "RemoveAllUserString", &C::RemoveAllUserString)
            .Get(35, "TMin", &C::get_TMin)
            .Get(36, "TMax", &C::get_TMax)
            .Get(37, "DimBuffer", &C::get_DimBuffer)
            .Put(37, "DimBuffer", &C::put_DimBuffer)
            .Method(38, "PrintGraph", &C::PrintGraph)
            .Get(39, "UserStringsNum", &C::get_UserStringsNum)
            .Method(40, "AutoArrange", &C::AutoArrange)
            .Method(41, "Load", &C::Load)
            .Method(42, "Save", &C::Save)
            .Get(43, "TimeDiff", &C::get_TimeDiff)
            .Get(44, "TriggerBar", &C::get_TriggerBar)
            .Put(44, "TriggerBar", &C::put_TriggerBar)
            .Get(45, "TriggerPos", &C::get_TriggerPos)
            .Put(45, "TriggerPos", &C::put_TriggerPos)
            .Get(46, "XScale", &C::get_XScale)
            .Put(46, "XScale", &C::put_XScale)
            .Get(47, "ViewRange", &C::get_ViewRange)
            .Put(47, "ViewRange", &C::put_ViewRange)
            .Get(48, "GraphHDim", &C::get_GraphHDim)
            .Get(49, "GraphVDim", &C::get_GraphVDim)
            .Get(50, "StartViewIndex", &C::get_StartViewIndex)
            .Put(50, "StartViewIndex", &C::put_StartViewIndex)
            .Method(51, "UpdateBarPosIndex", &C::UpdateBarPosIndex)
            .Method(52, "UpdateBarPosTime", &C::UpdateBarPosTime)
            .Method(53, "MapPixelToTime", &C::MapPixelToTime)
            .Get(54, "FirstFreeColor", &C::get_FirstFreeColor)
            .Get(55, "DirectUnknown", &C::get_DirectUnknown)
            .Get(56, "Feature", &C::get_Feature)
            .Put(56, "Feature", &C::put_Feature)
            .Method(57, "UpdateSamples", &C::UpdateSamples)
            .Get(58, "SampleTimeBase", &C::get_SampleTimeBase)
            .Put(58, "SampleTimeBase", &C::put_SampleTimeBase);
    return table;
}

// Window requests -------------------------------------------------------------------------------------------

void CZoGraphCtl4::Redraw(bool background)
{
    if (background)
        m_backgroundDirty = true;
    if (m_view)
        m_view->Redraw();
}

void CZoGraphCtl4::Relayout()
{
    m_backgroundDirty = true;
    if (m_view)
        m_view->Relayout();
    else
        Layout(m_layout.client.Width(), m_layout.client.Height());
}

void CZoGraphCtl4::RebuildList()
{
    if (m_view)
        m_view->RebuildList();
}

void CZoGraphCtl4::TrackListChanged()
{
    // Ranges and colours move the trace markers on the background.
    m_backgroundDirty = true;
    if (m_view)
        m_view->RefreshList();
}

void CZoGraphCtl4::TrackShowChanged()
{
    Relayout();
}

void CZoGraphCtl4::TrackRedraw()
{
    Redraw();
}

void CZoGraphCtl4::Layout(int width, int height, int factor, bool printing)
{
    const CRect before = m_layout.graph;
    const double stepBefore = m_timeStep;
    m_printing = printing;
    m_layout.factor = factor;
    m_layout.Compute(width, height, m_viewList != 0, m_listHeight, m_viewTimePosBar != 0, printing);
    m_timeStep = m_viewRange / m_layout.HorzDivisor();
    KeepBars(before, stepBefore);
    m_backgroundDirty = true;
}

void CZoGraphCtl4::KeepBars(const CRect& before, double stepBefore)
{
    const CRect& g = m_layout.graph;
    if (before.Width() <= 0 || before.Height() <= 0)
    {
        // The first layout puts the bars on the graph's edges.
        MoveBar(1, g.left);
        MoveBar(2, g.right - 1);
        MoveBar(3, g.bottom - 1);
        return;
    }
    // Vertical bars keep their time before the right edge, the horizontal bar its share of the height.
    const double pixels =
        stepBefore > 0 && m_timeStep > 0 ? stepBefore / m_timeStep : double(g.Width()) / before.Width();
    for (int bar = 1; bar <= 2; ++bar)
        MoveBar(bar, g.right - static_cast<int>(std::lround((before.right - m_bars[bar - 1]) * pixels)));
    MoveBar(3, g.top + static_cast<int>(
                           std::lround((m_bars[2] - before.top) * double(g.Height()) / before.Height())));
}

void CZoGraphCtl4::MoveListBorder(int dy)
{
    m_listHeight = std::max(0, m_listHeight - dy);
    Relayout();
}

HRESULT CZoGraphCtl4::SetFlag(LONG& field, LONG value)
{
    if (field == value)
        return S_OK;
    field = value;
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::SetColour(OLE_COLOR& field, OLE_COLOR value)
{
    if (field == value)
        return S_OK;
    field = value;
    Redraw(true);
    return S_OK;
}

// Properties ------------------------------------------------------------------------------------------------

HRESULT CZoGraphCtl4::get_Grid(LONG* value)
{
    return Read(m_grid, value);
}
HRESULT CZoGraphCtl4::put_Grid(LONG value)
{
    return SetFlag(m_grid, value);
}
HRESULT CZoGraphCtl4::get_ViewList(LONG* value)
{
    return Read(m_viewList, value);
}

HRESULT CZoGraphCtl4::put_ViewList(LONG value)
{
    if (value == m_viewList)
        return S_OK;
    m_viewList = value;
    Relayout();
    return S_OK;
}

HRESULT CZoGraphCtl4::get_Tracks(VARIANT* tracks)
{
    if (!tracks)
        return E_POINTER;
    if (!m_tracks)
        return E_FAIL;
    m_tracks->AddRef();
    tracks->vt = VT_DISPATCH;
    tracks->pdispVal = m_tracks;
    return S_OK;
}

HRESULT CZoGraphCtl4::get_SplitTracks(LONG* value)
{
    return Read(m_splitTracks, value);
}

HRESULT CZoGraphCtl4::put_SplitTracks(LONG)
{
    if (!m_autoscale)
        return S_OK;
    m_autoscale = 0;
    for (CTrack4* track : m_tracks->Tracks())
        track->SetAutoscale(false);
    m_splitTracks = 1;
    return AutoArrange();
}

HRESULT CZoGraphCtl4::get_MeasureBar(LONG* value)
{
    return Read(m_measureBar, value);
}

HRESULT CZoGraphCtl4::put_MeasureBar(LONG value)
{
    if (value == m_measureBar)
        return S_OK;
    m_measureBar = value;
    if (m_view)
        m_view->SetBarColumns(value == 1);
    if (value == 1)
        RecomputeBars();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_ViewTimePosBar(LONG* value)
{
    return Read(m_viewTimePosBar, value);
}

HRESULT CZoGraphCtl4::put_ViewTimePosBar(LONG value)
{
    if (value == m_viewTimePosBar)
        return S_OK;
    m_viewTimePosBar = value;
    Relayout();
    return S_OK;
}

HRESULT CZoGraphCtl4::AddTrack(BSTR name)
{
    if (m_tracks->Count() >= m_maxTracksNum)
        return S_OK;
    return NewTrack(Utf8FromBstr(name)) ? S_OK : E_FAIL;
}

CTrack4* CZoGraphCtl4::NewTrack(const std::string& name)
{
    if (m_tracks->Count() >= m_maxTracksNum)
        return nullptr;
    CTrack4* track = m_tracks->Add(name);
    if (!track)
        return nullptr;
    track->SetColor(kPalette[m_palette]);
    track->SetAutoscale(m_autoscale != 0);
    track->SetOwner(this, this);
    m_palette = (m_palette + 1) % 8;
    RebuildList();
    return track;
}

HRESULT CZoGraphCtl4::get_DragDropEnable(LONG* value)
{
    return Read(m_dragDropEnable, value);
}

HRESULT CZoGraphCtl4::put_DragDropEnable(LONG value)
{
    if (value == m_dragDropEnable)
        return S_OK;
    m_dragDropEnable = value;
    if (m_view)
        m_view->SetDropTarget(value == 1);
    return S_OK;
}

HRESULT CZoGraphCtl4::Update()
{
    for (CTrack4* track : m_tracks->Tracks())
        track->UpdateRange(false);
    // The time labels show the newest time.
    Redraw(m_feature1 != 0);
    return S_OK;
}

HRESULT CZoGraphCtl4::RemoveSelectedTracks()
{
    if (!m_view)
        return S_OK;
    bool removed = false;
    for (CTrack4* track : m_view->SelectedTracks())
    {
        const long position = m_tracks->PositionOf(track);
        if (position >= 0 && SUCCEEDED(m_tracks->Remove(position)))
            removed = true;
    }
    if (removed)
    {
        RebuildList();
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::RemoveAllTracks()
{
    if (!m_tracks)
        return E_FAIL;
    const HRESULT hr = m_tracks->RemoveAll();
    RebuildList();
    Redraw(true);
    return hr;
}

HRESULT CZoGraphCtl4::get_track(VARIANT var, IDispatch** track)
{
    if (!track)
        return E_POINTER;
    *track = nullptr;
    CTrack4* found = nullptr;
    if (var.vt == VT_I4)
    {
        found = m_tracks->At(var.lVal);
    }
    else
    {
        VARIANT name;
        VariantInit(&name);
        if (SUCCEEDED(VariantChangeType(&name, &var, 0, VT_BSTR)))
            found = m_tracks->Find(Utf8FromBstr(name.bstrVal));
        VariantClear(&name);
    }
    if (found)
    {
        found->AddRef();
        *track = found;
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::get_SelectedTrack(IDispatch** track)
{
    if (!track)
        return E_POINTER;
    *track = nullptr;
    if (!m_view)
        return S_OK;
    const std::vector<CTrack4*> selected = m_view->SelectedTracks();
    if (selected.size() == 1)
    {
        selected.front()->AddRef();
        *track = selected.front();
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::get_ViewAcquisitions(LONG* value)
{
    return Read(m_viewAcquisitions, value);
}
HRESULT CZoGraphCtl4::put_ViewAcquisitions(LONG value)
{
    return SetFlag(m_viewAcquisitions, value);
}

HRESULT CZoGraphCtl4::get_TimeDiv(DOUBLE* value)
{
    return Read(m_xScale != 0 ? m_timeDiv / m_xScale : m_timeDiv, value);
}

HRESULT CZoGraphCtl4::put_TimeDiv(DOUBLE value)
{
    if (!(value > 0) || !std::isfinite(value))
        return E_INVALIDARG;
    ApplyTimeRange(10 * value);
    return S_OK;
}

HRESULT CZoGraphCtl4::put_ViewRange(DOUBLE value)
{
    if (!(value > 0) || !std::isfinite(value))
        return E_INVALIDARG;
    ApplyTimeRange(value);
    return S_OK;
}

void CZoGraphCtl4::ApplyTimeRange(double viewRange)
{
    m_viewRange = viewRange;
    m_timeDiv = viewRange * 0.1;
    m_timeStep = viewRange / m_layout.HorzDivisor();
    UpdateSlider();
    RecomputeBars();
    Redraw(true);
}

void CZoGraphCtl4::UpdateSlider()
{
    if (m_view)
        m_view->SetSliderRange(m_dimBuffer, static_cast<long>(m_timeDiv * m_timeDiv / m_viewRange));
}

HRESULT CZoGraphCtl4::Reset()
{
    if (!m_tracks)
        return E_FAIL;
    for (CTrack4* track : m_tracks->Tracks())
        track->Reset();
    RebuildList();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::RemoveTrack(LONG idx)
{
    const HRESULT hr = m_tracks->Remove(idx);
    if (FAILED(hr))
        return hr;
    RebuildList();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_TracksNo(LONG* count)
{
    return Read(static_cast<LONG>(m_tracks->Count()), count);
}
HRESULT CZoGraphCtl4::get_GraphRange(DOUBLE* value)
{
    return Read(m_viewRange, value);
}
HRESULT CZoGraphCtl4::get_BackColor(OLE_COLOR* color)
{
    return Read(m_backColor, color);
}
HRESULT CZoGraphCtl4::put_BackColor(OLE_COLOR color)
{
    return SetColour(m_backColor, color);
}
HRESULT CZoGraphCtl4::get_MaxTracksNum(SHORT* value)
{
    return Read(m_maxTracksNum, value);
}

HRESULT CZoGraphCtl4::put_MaxTracksNum(SHORT value)
{
    m_maxTracksNum = value;
    return S_OK;
}

HRESULT CZoGraphCtl4::get_GridColor(OLE_COLOR* color)
{
    return Read(m_gridColor, color);
}
HRESULT CZoGraphCtl4::put_GridColor(OLE_COLOR color)
{
    return SetColour(m_gridColor, color);
}
HRESULT CZoGraphCtl4::get_GraphColor(OLE_COLOR* color)
{
    return Read(m_graphColor, color);
}
HRESULT CZoGraphCtl4::put_GraphColor(OLE_COLOR color)
{
    return SetColour(m_graphColor, color);
}
HRESULT CZoGraphCtl4::get_Autoscale(LONG* value)
{
    return Read(m_autoscale, value);
}

HRESULT CZoGraphCtl4::put_Autoscale(LONG value)
{
    m_autoscale = value;
    for (CTrack4* track : m_tracks->Tracks())
        track->SetAutoscale(value != 0);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_ViewTrackMarkers(LONG* value)
{
    return Read(m_viewTrackMarkers, value);
}
HRESULT CZoGraphCtl4::put_ViewTrackMarkers(LONG value)
{
    return SetFlag(m_viewTrackMarkers, value);
}

// User strings ----------------------------------------------------------------------------------------------

HRESULT CZoGraphCtl4::AddUserString(BSTR text, LONG x, LONG y, SHORT align)
{
    auto* string = new (std::nothrow) CDescString4;
    if (!string)
        return E_FAIL;
    string->AddRef();
    string->SetText(Utf8FromBstr(text));
    string->put_PosX(x);
    string->put_PosY(y);
    string->put_Align(align);
    m_userStrings.push_back(string);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_ViewUserString(LONG* value)
{
    return Read(m_viewUserString, value);
}
HRESULT CZoGraphCtl4::put_ViewUserString(LONG value)
{
    return SetFlag(m_viewUserString, value);
}

CDescString4* CZoGraphCtl4::UserString(LONG idx) const
{
    return idx >= 1 && idx <= static_cast<LONG>(m_userStrings.size())
               ? m_userStrings[static_cast<size_t>(idx - 1)]
               : nullptr;
}

HRESULT CZoGraphCtl4::get_UserStringColor(LONG idx, OLE_COLOR* color)
{
    const CDescString4* string = UserString(idx);
    return Read(string ? string->Color() : 0u, color);
}

HRESULT CZoGraphCtl4::put_UserStringColor(LONG idx, OLE_COLOR color)
{
    if (CDescString4* string = UserString(idx))
    {
        string->put_Color(color);
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::get_UserStringText(LONG idx, BSTR* text)
{
    if (!text)
        return E_POINTER;
    const CDescString4* string = UserString(idx);
    *text = BstrFromUtf8(string ? string->Text() : std::string());
    return S_OK;
}

HRESULT CZoGraphCtl4::put_UserStringText(LONG idx, BSTR text)
{
    if (CDescString4* string = UserString(idx))
    {
        string->SetText(Utf8FromBstr(text));
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::get_UserStringPosX(LONG idx, LONG* x)
{
    const CDescString4* string = UserString(idx);
    return Read(string ? string->X() : 0, x);
}

HRESULT CZoGraphCtl4::put_UserStringPosX(LONG idx, LONG x)
{
    if (CDescString4* string = UserString(idx))
    {
        string->put_PosX(x);
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::get_UserStringPosY(LONG idx, LONG* y)
{
    const CDescString4* string = UserString(idx);
    return Read(string ? string->Y() : 0, y);
}

HRESULT CZoGraphCtl4::put_UserStringPosY(LONG idx, LONG y)
{
    if (CDescString4* string = UserString(idx))
    {
        string->put_PosY(y);
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::RemoveUserString(LONG idx)
{
    if (CDescString4* string = UserString(idx))
    {
        m_userStrings.erase(m_userStrings.begin() + (idx - 1));
        string->Release();
        Redraw(true);
    }
    return S_OK;
}

HRESULT CZoGraphCtl4::RemoveAllUserString()
{
    for (CDescString4* string : m_userStrings)
        string->Release();
    m_userStrings.clear();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_UserStringsNum(LONG* count)
{
    return Read(static_cast<LONG>(m_userStrings.size()), count);
}

// Time axis -------------------------------------------------------------------------------------------------

long CZoGraphCtl4::RightEdgeAge(const CTrack4& track) const
{
    const TraceBuffer& buffer = track.Buffer();
    if (buffer.Empty())
        return -1;
    const long age = std::max(0L, buffer.Dim() - m_startViewIndex);
    return std::min(age, buffer.SamplesNum() - 1);
}

bool CZoGraphCtl4::RightEdgeTime(const CTrack4& track, double& time) const
{
    const long age = RightEdgeAge(track);
    if (age < 0)
        return false;
    time = track.Buffer().Time(track.Buffer().SlotOfAge(age));
    return true;
}

HRESULT CZoGraphCtl4::get_TMin(DOUBLE* value)
{
    double right = 0;
    const CTrack4* first = m_tracks->At(0);
    if (first && RightEdgeTime(*first, right))
        return Read(right - m_viewRange, value);
    return Read(0.0, value);
}

HRESULT CZoGraphCtl4::get_TMax(DOUBLE* value)
{
    double right = 0;
    const CTrack4* first = m_tracks->At(0);
    if (first)
        RightEdgeTime(*first, right);
    return Read(right, value);
}

HRESULT CZoGraphCtl4::get_DimBuffer(LONG* dim)
{
    return Read(static_cast<LONG>(m_dimBuffer), dim);
}

HRESULT CZoGraphCtl4::put_DimBuffer(LONG dim)
{
    if (dim < 1)
        return E_INVALIDARG;
    // A view showing the newest samples keeps showing them.
    const bool atNewest = m_startViewIndex >= m_dimBuffer;
    m_dimBuffer = dim;
    if (atNewest)
        m_startViewIndex = dim;
    for (CTrack4* track : m_tracks->Tracks())
        track->SetDim(dim);
    UpdateSlider();
    if (m_view)
        m_view->SetSliderPosition(m_startViewIndex);
    RecomputeBars();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::PrintGraph()
{
    return m_view ? static_cast<HRESULT>(m_view->Print()) : E_FAIL;
}

HRESULT CZoGraphCtl4::AutoArrange()
{
    std::vector<CTrack4*> shown;
    for (CTrack4* track : m_tracks->Tracks())
        if (track->Shown())
            shown.push_back(track);
    const double bands = static_cast<double>(shown.size());
    for (size_t i = 0; i < shown.size(); ++i)
    {
        CTrack4* track = shown[i];
        track->FitRange();
        const double span = track->Scale();
        if (span <= 0 || !std::isfinite(span))
            continue;
        // Band i from the top: the trace's own range fills one of the bands.
        const double min = track->Min() - (bands - 1 - static_cast<double>(i)) * span;
        track->put_Offset(0);
        track->SetDisplayRange(min, min + bands * span);
    }
    RecomputeBars();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::Load(BSTR bstrFileName)
{
    DWORD error = 0;
    const bool loaded = TrackFile::Load(Utf8FromBstr(bstrFileName), *this, error);
    SetLastError(error);
    RebuildList();
    if (!loaded)
    {
        Redraw(true);
        return E_FAIL;
    }
    AutoArrange();
    return S_OK;
}

HRESULT CZoGraphCtl4::Save(BSTR bstrFileName)
{
    if (!m_tracks)
        return E_FAIL;
    if (m_tracks->Count() == 0)
        return S_OK;
    const std::string path = Utf8FromBstr(bstrFileName);
    if (path.empty())
        return E_FAIL;
    return TrackFile::Write(path, TrackFile::Format(m_tracks->Tracks())) ? S_OK : E_FAIL;
}

HRESULT CZoGraphCtl4::get_TimeDiff(DOUBLE* value)
{
    return Read(m_barTimes[1] - m_barTimes[0], value);
}
HRESULT CZoGraphCtl4::get_TriggerBar(LONG* value)
{
    return Read(m_triggerBar, value);
}

HRESULT CZoGraphCtl4::put_TriggerBar(LONG value)
{
    m_triggerBar = value;
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_TriggerPos(FLOAT* value)
{
    return Read(m_triggerPos, value);
}

HRESULT CZoGraphCtl4::put_TriggerPos(FLOAT value)
{
    if (value == m_triggerPos)
        return S_OK;
    m_triggerPos = value;
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_XScale(FLOAT* value)
{
    return Read(m_xScale, value);
}

HRESULT CZoGraphCtl4::put_XScale(FLOAT value)
{
    m_xScale = value;
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_ViewRange(DOUBLE* value)
{
    return Read(m_viewRange, value);
}
HRESULT CZoGraphCtl4::get_GraphHDim(LONG* value)
{
    return Read(static_cast<LONG>(m_layout.graph.Width()), value);
}
HRESULT CZoGraphCtl4::get_GraphVDim(LONG* value)
{
    return Read(static_cast<LONG>(m_layout.graph.Height()), value);
}
HRESULT CZoGraphCtl4::get_StartViewIndex(LONG* value)
{
    return Read(static_cast<LONG>(m_startViewIndex), value);
}

HRESULT CZoGraphCtl4::put_StartViewIndex(LONG value)
{
    m_startViewIndex = value;
    return S_OK;
}

HRESULT CZoGraphCtl4::UpdateBarPosIndex(LONG startIdx)
{
    m_startViewIndex = startIdx;
    if (m_view)
        m_view->SetSliderPosition(startIdx);
    RecomputeBars();
    Redraw(true);
    return S_OK;
}

HRESULT CZoGraphCtl4::UpdateBarPosTime(DOUBLE t)
{
    const CTrack4* first = m_tracks->At(0);
    if (!first || first->Buffer().Empty())
        return S_FALSE;
    const TraceBuffer& buffer = first->Buffer();
    if (t < buffer.Time(buffer.OldestSlot()) || t > buffer.Time(buffer.NewestSlot()))
        return S_FALSE;
    const long age = buffer.AgeNearTime(t);
    if (age < 0)
        return S_FALSE;
    return UpdateBarPosIndex(buffer.Dim() - age);
}

HRESULT CZoGraphCtl4::MapPixelToTime(LONG px, DOUBLE* t)
{
    if (!t)
        return E_POINTER;
    double right = 0;
    const CTrack4* first = m_tracks->At(0);
    if (!first || !RightEdgeTime(*first, right))
        return S_FALSE;
    *t = right - (m_layout.graph.right - px) * m_timeStep;
    return S_OK;
}

HRESULT CZoGraphCtl4::get_FirstFreeColor(LONG* res, OLE_COLOR* color)
{
    if (!res || !color)
        return E_POINTER;
    for (OLE_COLOR candidate : kPalette)
    {
        const auto& tracks = m_tracks->Tracks();
        if (std::none_of(tracks.begin(), tracks.end(), [&](CTrack4* t) { return t->Color() == candidate; }))
        {
            *res = 1;
            *color = candidate;
            return S_OK;
        }
    }
    *res = 0;
    return S_OK;
}

HRESULT CZoGraphCtl4::get_DirectUnknown(IUnknown** unknown)
{
    if (!unknown)
        return E_POINTER;
    *unknown = Identity();
    (*unknown)->AddRef();
    return S_OK;
}

HRESULT CZoGraphCtl4::get_Feature(INT idf, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    switch (idf)
    {
    case 0:
        value->vt = VT_UI4;
        value->ulVal = m_feature0;
        return S_OK;
    case 1:
        *value = MakeVariantBool(m_feature1 != 0);
        return S_OK;
    case 2:
    case 4:
        return E_ACCESSDENIED;
    default:
        return S_OK;
    }
}

HRESULT CZoGraphCtl4::put_Feature(INT idf, VARIANT value)
{
    switch (idf)
    {
    case 0:
        return E_ACCESSDENIED;
    case 1:
    case 4:
    {
        VARIANT flag;
        VariantInit(&flag);
        const HRESULT hr = VariantChangeType(&flag, &value, 0, VT_I4);
        if (FAILED(hr))
            return hr;
        (idf == 1 ? m_feature1 : m_feature4) = flag.lVal != 0 ? 1 : 0;
        m_backgroundDirty = true;
        return S_OK;
    }
    case 2:
        Scroll(kScrollBottom, m_startViewIndex);
        return S_OK;
    default:
        return S_OK;
    }
}

HRESULT CZoGraphCtl4::UpdateSamples(INT num)
{
    if (m_backgroundDirty || !m_view)
        Redraw();
    else
        m_view->DrawNewSamples(num);
    return S_OK;
}

HRESULT CZoGraphCtl4::get_SampleTimeBase(DOUBLE*)
{
    return S_OK;
}
HRESULT CZoGraphCtl4::put_SampleTimeBase(DOUBLE)
{
    return S_OK;
}

// Measure bars and slider -----------------------------------------------------------------------------------

void CZoGraphCtl4::MoveBar(int bar, int position)
{
    const CRect& g = m_layout.graph;
    if (bar == 3)
        m_bars[2] = std::clamp(position, g.top, std::max(g.top, g.bottom - 1));
    else
        m_bars[bar - 1] = std::clamp(position, g.left, std::max(g.left, g.right - 1));
    m_backgroundDirty = true;
}

void CZoGraphCtl4::RecomputeBars(bool horzDragged)
{
    if (!m_measureBar)
        return;
    const CRect& g = m_layout.graph;
    double right = 0;
    const CTrack4* first = m_tracks->At(0);
    const bool haveTime = first && RightEdgeTime(*first, right);
    for (int bar = 0; bar < 2; ++bar)
    {
        const double time = right - (g.right - m_bars[bar]) * m_timeStep;
        m_barTimes[bar] = haveTime ? time : 0;
        for (CTrack4* track : m_tracks->Tracks())
        {
            TrackBarReadings& r = track->Readings();
            const TraceBuffer& buffer = track->Buffer();
            const long age = haveTime ? buffer.AgeNearTime(time) : -1;
            const long position = age >= 0 ? buffer.SlotOfAge(age) : 0;
            const double value = age >= 0 ? buffer.SampleFromTime(time) : 0;
            (bar == 0 ? r.value1 : r.value2) = value;
            (bar == 0 ? r.position1 : r.position2) = position;
            (bar == 0 ? r.text1 : r.text2) = age >= 0 ? Fixed3(value) : "...";
        }
    }
    const int height = g.Height();
    for (CTrack4* track : m_tracks->Tracks())
    {
        const double scale = track->Scale();
        if (scale == 0 || !std::isfinite(scale) || height <= 0)
            continue;
        const double value = track->Max() - scale / height * (m_bars[2] - g.top) - track->Offset();
        track->Readings().horzValue = value;
        if (horzDragged)
        {
            track->Readings().textHorz = Fixed3(value);
            BSTR name = BstrFromUtf8(track->NameText());
            VARIANT nameArg{};
            nameArg.vt = VT_BSTR;
            nameArg.bstrVal = name;
            Fire(DISPID_ZG_MoveMeasureHorzBar, {nameArg, MakeVariantR8(value)});
            SysFreeString(name);
        }
    }
    if (m_view)
        m_view->RefreshList();
}

void CZoGraphCtl4::Scroll(unsigned code, long current)
{
    long position = m_startViewIndex;
    const long page = static_cast<long>(m_timeDiv / m_viewRange * m_timeDiv);
    switch (code)
    {
    case kScrollLineLeft:
        position -= 1;
        break;
    case kScrollLineRight:
        position += 1;
        break;
    case kScrollPageLeft:
        position -= page;
        break;
    case kScrollPageRight:
        position += page;
        break;
    case kScrollTop:
        position = 0;
        break;
    case kScrollBottom:
        position = m_dimBuffer;
        break;
    case kScrollEnd:
        break;
    default:
        position = current;
        break;
    }
    SetViewPosition(position);
}

void CZoGraphCtl4::SetViewPosition(long position)
{
    m_startViewIndex = std::clamp(position, 0L, m_dimBuffer);
    if (m_view)
        m_view->SetSliderPosition(m_startViewIndex);
    RecomputeBars();
    Redraw(true);
    Fire(DISPID_ZG_TimeRefChange, {MakeVariantI4(m_startViewIndex)});
}

// Events ----------------------------------------------------------------------------------------------------

HRESULT CZoGraphCtl4::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT CZoGraphCtl4::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    return FindConnectionPointIn({&m_events}, iid, point);
}

void CZoGraphCtl4::Fire(DISPID id, std::initializer_list<VARIANT> arguments)
{
    // A sink may drop the host's last reference to the control.
    const ComPtr<IZoGraphCtl4> self(this);
    m_events.Fire(id, std::span<const VARIANT>(arguments.begin(), arguments.size()));
}

void CZoGraphCtl4::FireKeyDown(long key)
{
    Fire(DISPID_ZG_KeyDown, {MakeVariantI4(key)});
}

void CZoGraphCtl4::FireDropText(const std::string& text)
{
    VARIANT arg = MakeVariantBstr(text);
    Fire(DISPID_ZG_DropText, {arg});
    VariantClear(&arg);
}

void CZoGraphCtl4::FireListContextMenu(long x, long y)
{
    Fire(DISPID_ZG_ListContextMenu, {MakeVariantI4(x), MakeVariantI4(y)});
}

void CZoGraphCtl4::FireGraphContextMenu(long x, long y)
{
    Fire(DISPID_ZG_GraphContextMenu, {MakeVariantI4(x), MakeVariantI4(y)});
}

void CZoGraphCtl4::FireListDblClick(long x, long y)
{
    Fire(DISPID_ZG_ListDblClick, {MakeVariantI4(x), MakeVariantI4(y)});
}

void CZoGraphCtl4::FireMoveMeasureValueBar(int bar, double time)
{
    Fire(DISPID_ZG_MoveMeasureValueBar, {MakeVariantI4(bar), MakeVariantR8(time)});
}

void CZoGraphCtl4::FireMoveZeroTrack(int idx)
{
    Fire(DISPID_ZG_MoveZeroTrack, {MakeVariantI4(idx)});
}

void CZoGraphCtl4::FireTrackListSelection(CTrack4* track)
{
    VARIANT arg{};
    arg.vt = VT_DISPATCH;
    arg.pdispVal = track;
    Fire(DISPID_ZG_TrackListSelection, {arg});
}

void CZoGraphCtl4::FireRectSelection(long left, long top, long right, long bottom)
{
    Fire(DISPID_ZG_RectSelection,
         {MakeVariantI4(left), MakeVariantI4(top), MakeVariantI4(right), MakeVariantI4(bottom)});
}

void CZoGraphCtl4::FireRButtonUp(long x, long y)
{
    Fire(DISPID_ZG_RButtonUp, {MakeVariantI4(x), MakeVariantI4(y)});
}
