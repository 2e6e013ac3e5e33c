// Track4: one trace of the graph control, an automation object over its sample buffer and range.
#pragma once

#include "TraceBuffer.h"
#include "ZoGraph4.h"

#include <com/DispatchObject.h>

#include <string>

// What a trace tells the control that owns it.
class TrackOwner
{
public:
    // A property shown in the trace list changed.
    virtual void TrackListChanged() = 0;
    // The trace appeared or vanished: lay out and redraw.
    virtual void TrackShowChanged() = 0;
    virtual void TrackRedraw() = 0;

protected:
    ~TrackOwner() = default;
};

// Bar readings the control keeps on each trace (features 5, 6, 7, 9, 10).
struct TrackBarReadings
{
    double horzValue = 0; // at the horizontal bar
    double value1 = 0;    // at vertical bar 1
    double value2 = 0;    // at vertical bar 2
    long position1 = 0;   // sample positions at the vertical bars
    long position2 = 0;
    std::string text1 = "..."; // list cells of the readings
    std::string text2 = "...";
    std::string textHorz = "...";
};

class CTrack4 final : public tvsk::com::DispatchObject<CTrack4, ITrack4>
{
public:
    CTrack4();
    ~CTrack4() override;

    static const tvsk::com::DispatchTable<CTrack4>& Dispatch();

    HRESULT get_Name(BSTR* name) override;
    HRESULT put_Name(BSTR name) override;
    HRESULT get_Um(BSTR* um) override;
    HRESULT put_Um(BSTR um) override;
    HRESULT get_Min(DOUBLE* value) override;
    HRESULT put_Min(DOUBLE value) override;
    HRESULT get_Max(DOUBLE* value) override;
    HRESULT put_Max(DOUBLE value) override;
    HRESULT get_Offset(DOUBLE* value) override;
    HRESULT put_Offset(DOUBLE value) override;
    HRESULT get_Color(OLE_COLOR* color) override;
    HRESULT put_Color(OLE_COLOR color) override;
    HRESULT get_DimBuffer(LONG* dim) override;
    HRESULT put_DimBuffer(LONG dim) override;
    HRESULT Reset() override;
    HRESULT AddSamples(LONG num, DOUBLE* data, DOUBLE* time) override;
    HRESULT get_SamplesNum(LONG* num) override;
    HRESULT get_Scale(DOUBLE* value) override;
    HRESULT put_Scale(DOUBLE value) override;
    HRESULT SetRange(DOUBLE min, DOUBLE max) override;
    HRESULT get_UserData(VARIANT* data) override;
    HRESULT put_UserData(VARIANT data) override;
    HRESULT GetSamples(LONG num, LONG from, DOUBLE* data, DOUBLE* time) override;
    HRESULT AddSamplesV(VARIANT data, VARIANT time) override;
    HRESULT GetSamplesV(LONG num, LONG from, VARIANT* data, VARIANT* time) override;
    HRESULT get_GraphControl(IDispatch** control) override;
    HRESULT put_GraphControl(IDispatch* control) override;
    HRESULT get_MaxValue(DOUBLE* value) override;
    HRESULT get_MinValue(DOUBLE* value) override;
    HRESULT get_SampleFromTime(DOUBLE time, DOUBLE* value) override;
    HRESULT get_DigitalView(LONG* view) override;
    HRESULT put_DigitalView(LONG view) override;
    HRESULT get_Note(BSTR* note) override;
    HRESULT put_Note(BSTR note) override;
    HRESULT get_Show(LONG* show) override;
    HRESULT put_Show(LONG show) override;
    HRESULT get_TotalTime(DOUBLE* time) override;
    HRESULT get_Feature(INT idf, VARIANT* value) override;
    HRESULT put_Feature(INT idf, VARIANT value) override;

    // The control's side.
    void SetOwner(TrackOwner* owner, IDispatch* control);
    void SetNameText(const std::string& name) { m_name = name; }
    const std::string& NameText() const noexcept { return m_name; }
    void SetUmText(const std::string& um) { m_um = um; }
    const std::string& UmText() const noexcept { return m_um; }
    const std::string& NoteText() const noexcept { return m_note; }
    OLE_COLOR Color() const noexcept { return m_color; }
    void SetColor(OLE_COLOR color) { m_color = color; }
    double Min() const noexcept { return m_min; }
    double Max() const noexcept { return m_max; }
    double Scale() const noexcept { return m_scale; }
    double Offset() const noexcept { return m_offset; }
    bool Shown() const noexcept { return m_show != 0; }
    bool Digital() const noexcept { return m_digitalView != 0; }
    bool Autoscale() const noexcept { return m_autoscale != 0; }
    // Drag of the trace's zero: the range moves, its span stays.
    void MoveRange(double min);
    // Min and Max from the held values, widened when autoscaled.
    void FitRange();
    void SetDisplayRange(double min, double max);
    // The control's autoscale switch: on, the range follows the samples at once.
    void SetAutoscale(bool on);
    // Rescans the samples; with fit (and autoscale on, or no range set) takes the range from them.
    void UpdateRange(bool fit);
    // Capacity for every trace of a control; false for a capacity below 1.
    bool SetDim(long dim);
    TraceBuffer& Buffer() noexcept { return m_buffer; }
    const TraceBuffer& Buffer() const noexcept { return m_buffer; }
    TrackBarReadings& Readings() noexcept { return m_readings; }
    const TrackBarReadings& Readings() const noexcept { return m_readings; }

private:
    void ListChanged();
    HRESULT AddScalarSample(const VARIANT& data, const VARIANT& time);
    HRESULT AddArraySamples(SAFEARRAY* data, SAFEARRAY* time);
    HRESULT CopySamplesInto(LONG num, LONG from, VARIANT* target, bool times);

    std::string m_name = "Track";
    std::string m_um = "...";
    std::string m_note = "...";
    VARIANT m_userData;
    OLE_COLOR m_color = 200;
    double m_min;
    double m_max;
    double m_scale = 0;
    double m_offset = 0;
    LONG m_autoscale = 1;
    LONG m_digitalView = 1;
    LONG m_show = 1;
    TrackBarReadings m_readings;
    IDispatch* m_graphControl = nullptr; // not counted: the control owns the trace
    TrackOwner* m_owner = nullptr;
    TraceBuffer m_buffer;
};
