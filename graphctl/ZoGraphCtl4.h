// ZoGraphCtl4: the graph control's automation object: properties, traces, user strings, events, file.
#pragma once

#include "DescString4.h"
#include "GraphLayout.h"
#include "GraphView.h"
#include "TrackCollection4.h"
#include "TrackFile.h"

#include <com/ConnectionPoint.h>

#include <memory>
#include <string>
#include <vector>

class CZoGraphCtl4 : public tvsk::com::DispatchObject<CZoGraphCtl4, IZoGraphCtl4, IConnectionPointContainer>,
                     public TrackOwner,
                     public TrackFileTarget
{
public:
    static constexpr OLE_COLOR kPalette[8] = {0x00FFFF, 0xFFFF00, 0xFF00FF, 0x00FF00,
                                              0x0000FF, 0xFFFFFF, 0xFF6400, 0x00BE00};
    static constexpr int kDefaultListHeight = 80;

    CZoGraphCtl4();
    ~CZoGraphCtl4() override;

    static const tvsk::com::DispatchTable<CZoGraphCtl4>& Dispatch();

    HRESULT get_Grid(LONG* value) override;
    HRESULT put_Grid(LONG value) override;
    HRESULT get_ViewList(LONG* value) override;
    HRESULT put_ViewList(LONG value) override;
    HRESULT get_Tracks(VARIANT* tracks) override;
    HRESULT get_SplitTracks(LONG* value) override;
    HRESULT put_SplitTracks(LONG value) override;
    HRESULT get_MeasureBar(LONG* value) override;
    HRESULT put_MeasureBar(LONG value) override;
    HRESULT get_ViewTimePosBar(LONG* value) override;
    HRESULT put_ViewTimePosBar(LONG value) override;
    HRESULT AddTrack(BSTR name) override;
    HRESULT get_DragDropEnable(LONG* value) override;
    HRESULT put_DragDropEnable(LONG value) override;
    HRESULT Update() override;
    HRESULT RemoveSelectedTracks() override;
    HRESULT RemoveAllTracks() override;
    HRESULT get_track(VARIANT var, IDispatch** track) override;
    HRESULT get_SelectedTrack(IDispatch** track) override;
    HRESULT get_ViewAcquisitions(LONG* value) override;
    HRESULT put_ViewAcquisitions(LONG value) override;
    HRESULT get_TimeDiv(DOUBLE* value) override;
    HRESULT put_TimeDiv(DOUBLE value) override;
    HRESULT Reset() override;
    HRESULT RemoveTrack(LONG idx) override;
    HRESULT get_TracksNo(LONG* count) override;
    HRESULT get_GraphRange(DOUBLE* value) override;
    HRESULT get_BackColor(OLE_COLOR* color) override;
    HRESULT put_BackColor(OLE_COLOR color) override;
    HRESULT get_MaxTracksNum(SHORT* value) override;
    HRESULT put_MaxTracksNum(SHORT value) override;
    HRESULT get_GridColor(OLE_COLOR* color) override;
    HRESULT put_GridColor(OLE_COLOR color) override;
    HRESULT get_GraphColor(OLE_COLOR* color) override;
    HRESULT put_GraphColor(OLE_COLOR color) override;
    HRESULT get_Autoscale(LONG* value) override;
    HRESULT put_Autoscale(LONG value) override;
    HRESULT get_ViewTrackMarkers(LONG* value) override;
    HRESULT put_ViewTrackMarkers(LONG value) override;
    HRESULT AddUserString(BSTR text, LONG x, LONG y, SHORT align) override;
    HRESULT get_ViewUserString(LONG* value) override;
    HRESULT put_ViewUserString(LONG value) override;
    HRESULT get_UserStringColor(LONG idx, OLE_COLOR* color) override;
    HRESULT put_UserStringColor(LONG idx, OLE_COLOR color) override;
    HRESULT get_UserStringText(LONG idx, BSTR* text) override;
    HRESULT put_UserStringText(LONG idx, BSTR text) override;
    HRESULT get_UserStringPosX(LONG idx, LONG* x) override;
    HRESULT put_UserStringPosX(LONG idx, LONG x) override;
    HRESULT get_UserStringPosY(LONG idx, LONG* y) override;
    HRESULT put_UserStringPosY(LONG idx, LONG y) override;
    HRESULT RemoveUserString(LONG idx) override;
    HRESULT RemoveAllUserString() override;
    HRESULT get_TMin(DOUBLE* value) override;
    HRESULT get_TMax(DOUBLE* value) override;
    HRESULT get_DimBuffer(LONG* dim) override;
    HRESULT put_DimBuffer(LONG dim) override;
    HRESULT PrintGraph() override;
    HRESULT get_UserStringsNum(LONG* count) override;
    HRESULT AutoArrange() override;
    HRESULT Load(BSTR bstrFileName) override;
    HRESULT Save(BSTR bstrFileName) override;
    HRESULT get_TimeDiff(DOUBLE* value) override;
    HRESULT get_TriggerBar(LONG* value) override;
    HRESULT put_TriggerBar(LONG value) override;
    HRESULT get_TriggerPos(FLOAT* value) override;
    HRESULT put_TriggerPos(FLOAT value) override;
    HRESULT get_XScale(FLOAT* value) override;
    HRESULT put_XScale(FLOAT value) override;
    HRESULT get_ViewRange(DOUBLE* value) override;
    HRESULT put_ViewRange(DOUBLE value) override;
    HRESULT get_GraphHDim(LONG* value) override;
    HRESULT get_GraphVDim(LONG* value) override;
    HRESULT get_StartViewIndex(LONG* value) override;
    HRESULT put_StartViewIndex(LONG value) override;
    HRESULT UpdateBarPosIndex(LONG startIdx) override;
    HRESULT UpdateBarPosTime(DOUBLE t) override;
    HRESULT MapPixelToTime(LONG px, DOUBLE* t) override;
    HRESULT get_FirstFreeColor(LONG* res, OLE_COLOR* color) override;
    HRESULT get_DirectUnknown(IUnknown** unknown) override;
    HRESULT get_Feature(INT idf, VARIANT* value) override;
    HRESULT put_Feature(INT idf, VARIANT value) override;
    HRESULT UpdateSamples(INT num) override;
    HRESULT get_SampleTimeBase(DOUBLE* value) override;
    HRESULT put_SampleTimeBase(DOUBLE value) override;

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // TrackOwner
    void TrackListChanged() override;
    void TrackShowChanged() override;
    void TrackRedraw() override;
    // TrackFileTarget
    void ClearTracks() override { RemoveAllTracks(); }
    CTrack4* NewTrack(const std::string& name) override;
    void SetCapacity(long dim) override { put_DimBuffer(dim); }
    long MaxTracks() const override { return m_maxTracksNum; }

    // The window side.
    void SetView(GraphView* view) { m_view = view; }
    // Lays the control out for a client area; printing scales every size by the factor.
    void Layout(int width, int height, int factor = 1, bool printing = false);
    const GraphLayout& Geometry() const noexcept { return m_layout; }
    CTrackCollection4& Tracks() noexcept { return *m_tracks; }
    const CTrackCollection4& Tracks() const noexcept { return *m_tracks; }
    const std::vector<CDescString4*>& UserStrings() const noexcept { return m_userStrings; }
    int ListHeight() const noexcept { return m_listHeight; }
    // The splitter moved by dy: the list grows by -dy.
    void MoveListBorder(int dy);

    bool GridOn() const noexcept { return m_grid != 0; }
    bool ListShown() const noexcept { return m_viewList != 0; }
    bool SliderShown() const noexcept { return m_viewTimePosBar != 0; }
    bool BarsOn() const noexcept { return m_measureBar != 0; }
    bool AcquisitionsShown() const noexcept { return m_viewAcquisitions != 0; }
    bool MarkersShown() const noexcept { return m_viewTrackMarkers != 0; }
    bool UserStringsShown() const noexcept { return m_viewUserString != 0; }
    bool TriggerShown() const noexcept { return m_triggerBar != 0; }
    bool DropEnabled() const noexcept { return m_dragDropEnable != 0; }
    bool TimeScaleShown() const noexcept { return m_feature1 != 0; }
    OLE_COLOR BackColor() const noexcept { return m_backColor; }
    OLE_COLOR GridColor() const noexcept { return m_gridColor; }
    OLE_COLOR GraphColor() const noexcept { return m_graphColor; }
    double TimeDivValue() const noexcept { return m_timeDiv; }
    float XScaleValue() const noexcept { return m_xScale; }
    double ViewRangeValue() const noexcept { return m_viewRange; }
    float TriggerPosValue() const noexcept { return m_triggerPos; }
    long DimBufferValue() const noexcept { return m_dimBuffer; }
    long ViewPosition() const noexcept { return m_startViewIndex; }
    // Time units from one pixel to the next.
    double TimeStep() const noexcept { return m_timeStep; }
    // The time at a vertical bar (1 or 2) at the last reading.
    double BarTime(int bar) const noexcept { return m_barTimes[bar - 1]; }

    // The background layer must be drawn again at the next paint.
    bool BackgroundDirty() const noexcept { return m_backgroundDirty; }
    void MarkBackgroundDirty() { m_backgroundDirty = true; }
    // After a paint the flag takes the value of feature 4.
    void BackgroundPainted() { m_backgroundDirty = m_feature4 != 0; }

    // How many samples the right edge lies before a trace's newest; -1 when the trace has none there.
    long RightEdgeAge(const CTrack4& track) const;
    // The time at the right edge of a trace; false for a trace with no sample there.
    bool RightEdgeTime(const CTrack4& track, double& time) const;

    // Measure bars: 1 and 2 vertical at x, 3 horizontal at y.
    int BarPosition(int bar) const noexcept { return m_bars[bar - 1]; }
    // Moves a bar, kept inside the graph.
    void MoveBar(int bar, int position);
    // Readings of every trace at the bars; the horizontal bar's text is written while it is dragged.
    void RecomputeBars(bool horzDragged = false);
    // The view position from a slider code (WM_HSCROLL); `current` is the slider's own position.
    void Scroll(unsigned code, long current);
    void SetViewPosition(long position);

    // Events
    void FireKeyDown(long key);
    void FireDropText(const std::string& text);
    void FireListContextMenu(long x, long y);
    void FireGraphContextMenu(long x, long y);
    void FireListDblClick(long x, long y);
    void FireMoveZeroTrack(int idx);
    void FireMoveMeasureValueBar(int bar, double time);
    void FireTrackListSelection(CTrack4* track);
    void FireRectSelection(long left, long top, long right, long bottom);
    void FireRButtonUp(long x, long y);

protected:
    GraphView* View() const noexcept { return m_view; }

private:
    void Fire(DISPID id, std::initializer_list<VARIANT> arguments);
    // Rebuilds the layers and repaints; background: the background layer too.
    void Redraw(bool background = false);
    void Relayout();
    void RebuildList();
    HRESULT SetFlag(LONG& field, LONG value);
    HRESULT SetColour(OLE_COLOR& field, OLE_COLOR value);
    CDescString4* UserString(LONG idx) const;
    void ApplyTimeRange(double viewRange);
    void UpdateSlider();
    // After a layout: the bars where they were in time and height, inside the new graph.
    void KeepBars(const CRect& before, double stepBefore);

    tvsk::com::ConnectionPoint m_events{*this, DIID__IZoGraphCtl4Events};
    CTrackCollection4* m_tracks = nullptr;    // one reference
    std::vector<CDescString4*> m_userStrings; // one reference each
    GraphView* m_view = nullptr;
    GraphLayout m_layout;
    bool m_printing = false;

    LONG m_grid = 1;
    LONG m_viewList = 1;
    LONG m_viewTimePosBar = 1;
    LONG m_measureBar = 1;
    LONG m_dragDropEnable = 1;
    LONG m_autoscale = 1;
    LONG m_splitTracks = 0;
    LONG m_viewAcquisitions = 0;
    LONG m_viewTrackMarkers = 1;
    LONG m_viewUserString = 1;
    LONG m_triggerBar = 1;
    double m_timeDiv = 1.0;
    float m_xScale = 1.0f;
    double m_viewRange = 100;
    float m_triggerPos = 0;
    long m_dimBuffer = 1000;
    long m_startViewIndex = 1000;
    SHORT m_maxTracksNum = 8;
    OLE_COLOR m_backColor = 0xFFFFFF;
    OLE_COLOR m_gridColor = 0xC0C0C0;
    OLE_COLOR m_graphColor = 0;
    int m_listHeight = kDefaultListHeight;
    ULONG m_feature0 = 0;
    LONG m_feature1 = 1;
    LONG m_feature4 = 0;
    int m_palette = 0;
    double m_timeStep = 100;
    bool m_backgroundDirty = true;
    int m_bars[3] = {0, 0, 0};
    double m_barTimes[2] = {0, 0};
};
