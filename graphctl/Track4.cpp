#include "Track4.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

using namespace tvsk::com;

namespace
{

HRESULT PutText(std::string& field, BSTR text)
{
    field = Utf8FromBstr(text);
    return S_OK;
}

HRESULT GetText(const std::string& field, BSTR* text)
{
    if (!text)
        return E_POINTER;
    *text = BstrFromUtf8(field);
    return S_OK;
}

template <class V> HRESULT GetValue(V value, V* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

bool IsNumericScalar(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_UI1:
    case VT_I1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return true;
    default:
        return false;
    }
}

HRESULT ToDouble(const VARIANT& in, double* out)
{
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, &in, 0, VT_R8);
    if (SUCCEEDED(hr))
        *out = converted.dblVal;
    return hr;
}

SAFEARRAY* ArrayOf(const VARIANT& v)
{
    if (!(v.vt & VT_ARRAY))
        return nullptr;
    if (v.vt & VT_BYREF)
        return v.pparray ? *v.pparray : nullptr;
    return v.parray;
}

LONG ElementCount(SAFEARRAY* array)
{
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        return 0;
    return std::max(0, upper - lower + 1);
}

// The values of a vector array as doubles, whatever its element type.
HRESULT ReadArray(SAFEARRAY* array, LONG count, std::vector<double>& out)
{
    VARTYPE vt = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(array, &vt);
    if (FAILED(hr))
        return hr;
    out.resize(static_cast<size_t>(count));
    if (vt == VT_R8)
    {
        void* data = nullptr;
        hr = SafeArrayAccessData(array, &data);
        if (FAILED(hr))
            return hr;
        std::copy_n(static_cast<const double*>(data), count, out.begin());
        return SafeArrayUnaccessData(array);
    }
    LONG lower = 0;
    SafeArrayGetLBound(array, 1, &lower);
    for (LONG i = 0; i < count; ++i)
    {
        VARIANT element;
        VariantInit(&element);
        const LONG index = lower + i;
        if (vt == VT_VARIANT)
        {
            hr = SafeArrayGetElement(array, &index, &element);
        }
        else
        {
            element.vt = vt;
            hr = SafeArrayGetElement(array, &index, &element.llVal);
        }
        if (SUCCEEDED(hr))
            hr = ToDouble(element, &out[static_cast<size_t>(i)]);
        VariantClear(&element);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

} // namespace

CTrack4::CTrack4() : m_min(DBL_MAX), m_max(-DBL_MAX)
{
    VariantInit(&m_userData);
}

CTrack4::~CTrack4()
{
    VariantClear(&m_userData);
}

const DispatchTable<CTrack4>& CTrack4::Dispatch()
{
    static const DispatchTable<CTrack4> table =
        DispatchTable<CTrack4>(InterfaceDescription(ITrack4::Iid, "ITrack4", "ITrack4 Interface"))
            .Get(1, "Name", &CTrack4::get_Name)
            .Put(1, "Name", &CTrack4::put_Name)
            .Get(2, "Um", &CTrack4::get_Um)
            .Put(2, "Um", &CTrack4::put_Um)
            .Get(3, "Min", &CTrack4::get_Min)
            .Put(3, "Min", &CTrack4::put_Min)
            .Get(4, "Max", &CTrack4::get_Max)
            .Put(4, "Max", &CTrack4::put_Max)
            .Get(5, "Offset", &CTrack4::get_Offset)
            .Put(5, "Offset", &CTrack4::put_Offset)
            .Get(7, "Color", &CTrack4::get_Color)
            .Put(7, "Color", &CTrack4::put_Color)
            .Get(8, "DimBuffer", &CTrack4::get_DimBuffer)
            .Put(8, "DimBuffer", &CTrack4::put_DimBuffer)
            .Method(9, "Reset", &CTrack4::Reset)
            .Method(10, "AddSamples", &CTrack4::AddSamples)
            .Get(11, "SamplesNum", &CTrack4::get_SamplesNum)
            .Get(12, "Scale", &CTrack4::get_Scale)
            .Put(12, "Scale", &CTrack4::put_Scale)
            .Method(13, "SetRange", &CTrack4::SetRange)
            .Get(14, "UserData", &CTrack4::get_UserData)
            .Put(14, "UserData", &CTrack4::put_UserData)
            .Method(15, "GetSamples", &CTrack4::GetSamples)
            .Method(16, "AddSamplesV", &CTrack4::AddSamplesV)
            .Method(17, "GetSamplesV", &CTrack4::GetSamplesV)
            .Get(18, "GraphControl", &CTrack4::get_GraphControl)
            .Put(18, "GraphControl", &CTrack4::put_GraphControl)
            .Get(19, "MaxValue", &CTrack4::get_MaxValue)
            .Get(20, "MinValue", &CTrack4::get_MinValue)
            .Get(21, "SampleFromTime", &CTrack4::get_SampleFromTime)
            .Get(22, "DigitalView", &CTrack4::get_DigitalView)
            .Put(22, "DigitalView", &CTrack4::put_DigitalView)
            .Get(23, "Note", &CTrack4::get_Note)
            .Put(23, "Note", &CTrack4::put_Note)
            .Get(24, "Show", &CTrack4::get_Show)
            .Put(24, "Show", &CTrack4::put_Show)
            .Get(25, "TotalTime", &CTrack4::get_TotalTime)
            .Get(26, "Feature", &CTrack4::get_Feature)
            .Put(26, "Feature", &CTrack4::put_Feature);
    return table;
}

void CTrack4::SetOwner(TrackOwner* owner, IDispatch* control)
{
    m_owner = owner;
    m_graphControl = control;
}

void CTrack4::ListChanged()
{
    if (m_owner)
        m_owner->TrackListChanged();
}

HRESULT CTrack4::get_Name(BSTR* name)
{
    return GetText(m_name, name);
}

HRESULT CTrack4::put_Name(BSTR name)
{
    PutText(m_name, name);
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Um(BSTR* um)
{
    return GetText(m_um, um);
}

HRESULT CTrack4::put_Um(BSTR um)
{
    PutText(m_um, um);
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Min(DOUBLE* value)
{
    return GetValue(m_min, value);
}

HRESULT CTrack4::put_Min(DOUBLE value)
{
    m_min = value;
    UpdateRange(false);
    m_scale = m_max - m_min;
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Max(DOUBLE* value)
{
    return GetValue(m_max, value);
}

HRESULT CTrack4::put_Max(DOUBLE value)
{
    m_max = value == DBL_MAX ? -DBL_MAX : value;
    UpdateRange(false);
    m_scale = m_max - m_min;
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Offset(DOUBLE* value)
{
    return GetValue(m_offset, value);
}

HRESULT CTrack4::put_Offset(DOUBLE value)
{
    m_offset = value;
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Color(OLE_COLOR* color)
{
    return GetValue(m_color, color);
}

HRESULT CTrack4::put_Color(OLE_COLOR color)
{
    m_color = color;
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_DimBuffer(LONG* dim)
{
    return GetValue(static_cast<LONG>(m_buffer.Dim()), dim);
}

HRESULT CTrack4::put_DimBuffer(LONG dim)
{
    return SetDim(dim) ? S_OK : E_INVALIDARG;
}

bool CTrack4::SetDim(long dim)
{
    if (!m_buffer.SetDim(dim))
        return false;
    Reset();
    return true;
}

HRESULT CTrack4::Reset()
{
    m_buffer.Reset();
    m_min = DBL_MAX;
    m_max = -DBL_MAX;
    m_offset = 0;
    m_scale = 0;
    return S_OK;
}

HRESULT CTrack4::AddSamples(LONG num, DOUBLE* data, DOUBLE* time)
{
    if (num <= 0)
        return E_INVALIDARG;
    if (!data)
        return E_POINTER;
    m_buffer.Add(num, data, time);
    return S_OK;
}

HRESULT CTrack4::get_SamplesNum(LONG* num)
{
    return GetValue(static_cast<LONG>(m_buffer.SamplesNum()), num);
}

HRESULT CTrack4::get_Scale(DOUBLE* value)
{
    return GetValue(m_scale, value);
}

HRESULT CTrack4::put_Scale(DOUBLE value)
{
    if (value == m_scale)
        return S_OK;
    m_scale = value;
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::SetRange(DOUBLE min, DOUBLE max)
{
    if (max == DBL_MAX)
        max = -DBL_MAX;
    if (max == -DBL_MAX)
    {
        SetAutoscale(true);
        return S_OK;
    }
    SetDisplayRange(min, max);
    return S_OK;
}

void CTrack4::SetDisplayRange(double min, double max)
{
    m_min = min;
    m_max = max;
    m_scale = m_max - m_min;
    ListChanged();
}

HRESULT CTrack4::get_UserData(VARIANT* data)
{
    if (!data)
        return E_POINTER;
    VariantInit(data);
    return VariantCopy(data, &m_userData);
}

HRESULT CTrack4::put_UserData(VARIANT data)
{
    VariantClear(&m_userData);
    const HRESULT hr = VariantCopy(&m_userData, &data);
    if (FAILED(hr))
    {
        m_userData.vt = VT_ERROR;
        m_userData.scode = hr;
    }
    return hr;
}

HRESULT CTrack4::GetSamples(LONG num, LONG from, DOUBLE* data, DOUBLE* time)
{
    m_buffer.CopySlots(num, from, data, time);
    return S_OK;
}

HRESULT CTrack4::AddSamplesV(VARIANT data, VARIANT time)
{
    if (IsNumericScalar(data.vt))
        return AddScalarSample(data, time);
    if (SAFEARRAY* values = ArrayOf(data))
        return AddArraySamples(values, ArrayOf(time));
    return E_FAIL;
}

HRESULT CTrack4::AddScalarSample(const VARIANT& data, const VARIANT& time)
{
    double value = 0;
    HRESULT hr = ToDouble(data, &value);
    if (FAILED(hr))
        return hr;
    if (!IsNumericScalar(time.vt))
    {
        m_buffer.Add(1, &value, nullptr);
        return S_OK;
    }
    double at = 0;
    hr = ToDouble(time, &at);
    if (FAILED(hr))
        return hr;
    m_buffer.Add(1, &value, &at);
    return S_OK;
}

HRESULT CTrack4::AddArraySamples(SAFEARRAY* data, SAFEARRAY* time)
{
    LONG count = ElementCount(data);
    if (time)
        count = std::min(count, ElementCount(time));
    if (count <= 0)
        return S_OK;
    std::vector<double> values;
    HRESULT hr = ReadArray(data, count, values);
    if (FAILED(hr))
        return hr;
    std::vector<double> times;
    if (time)
    {
        hr = ReadArray(time, count, times);
        if (FAILED(hr))
            return hr;
    }
    m_buffer.Add(count, values.data(), time ? times.data() : nullptr);
    return S_OK;
}

HRESULT CTrack4::GetSamplesV(LONG num, LONG from, VARIANT* data, VARIANT* time)
{
    HRESULT hr = data ? CopySamplesInto(num, from, data, false) : S_OK;
    if (SUCCEEDED(hr) && time)
        hr = CopySamplesInto(num, from, time, true);
    return hr;
}

HRESULT CTrack4::CopySamplesInto(LONG num, LONG from, VARIANT* target, bool times)
{
    if (target->vt == (VT_ARRAY | VT_BYREF))
        return E_FAIL;
    if ((target->vt & VT_ARRAY) && (target->vt & VT_BYREF))
    {
        SAFEARRAY* array = target->pparray ? *target->pparray : nullptr;
        if (!array)
            return E_POINTER;
        // Never past the end of the caller's array.
        const LONG count = std::min(num, ElementCount(array));
        std::vector<double> values(static_cast<size_t>(std::max(count, 0)));
        const long copied = count > 0 ? m_buffer.CopySlots(count, from, times ? nullptr : values.data(),
                                                           times ? values.data() : nullptr)
                                      : 0;
        const VARTYPE elementType = static_cast<VARTYPE>(target->vt & VT_TYPEMASK);
        LONG lower = 0;
        SafeArrayGetLBound(array, 1, &lower);
        for (long i = 0; i < copied; ++i)
        {
            const LONG index = lower + static_cast<LONG>(i);
            VARIANT converted;
            VariantInit(&converted);
            VARIANT value = MakeVariantR8(values[static_cast<size_t>(i)]);
            HRESULT hr = S_OK;
            if (elementType == VT_VARIANT)
            {
                hr = SafeArrayPutElement(array, &index, &value);
            }
            else
            {
                hr = VariantChangeType(&converted, &value, 0, elementType);
                if (SUCCEEDED(hr))
                    hr = SafeArrayPutElement(array, &index, &converted.llVal);
            }
            VariantClear(&converted);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    }
    double sample = 0;
    const bool got = m_buffer.CopySlots(1, from, times ? nullptr : &sample, times ? &sample : nullptr) == 1;
    const VARIANT value = MakeVariantR8(sample);
    if (target->vt == VT_EMPTY)
    {
        if (got)
            *target = value;
        return S_OK;
    }
    if (!(target->vt & VT_BYREF) || !IsNumericScalar(static_cast<VARTYPE>(target->vt & VT_TYPEMASK)))
        return E_FAIL;
    if (!got)
        return S_OK;
    VARIANT converted;
    VariantInit(&converted);
    const VARTYPE type = static_cast<VARTYPE>(target->vt & VT_TYPEMASK);
    const HRESULT hr = VariantChangeType(&converted, &value, 0, type);
    if (FAILED(hr))
        return hr;
    switch (type)
    {
    case VT_I2:
        *target->piVal = converted.iVal;
        break;
    case VT_I4:
        *target->plVal = converted.lVal;
        break;
    case VT_R4:
        *target->pfltVal = converted.fltVal;
        break;
    case VT_R8:
        *target->pdblVal = converted.dblVal;
        break;
    case VT_UI1:
        *target->pbVal = converted.bVal;
        break;
    case VT_I1:
        *target->pcVal = converted.cVal;
        break;
    case VT_UI2:
        *target->puiVal = converted.uiVal;
        break;
    case VT_UI4:
        *target->pulVal = converted.ulVal;
        break;
    case VT_INT:
        *target->pintVal = converted.intVal;
        break;
    case VT_UINT:
        *target->puintVal = converted.uintVal;
        break;
    default:
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CTrack4::get_GraphControl(IDispatch** control)
{
    if (!control)
        return E_POINTER;
    *control = m_graphControl;
    if (m_graphControl)
        m_graphControl->AddRef();
    return S_OK;
}

HRESULT CTrack4::put_GraphControl(IDispatch* control)
{
    m_graphControl = control;
    return S_OK;
}

HRESULT CTrack4::get_MaxValue(DOUBLE* value)
{
    return GetValue(m_buffer.MaxValue(), value);
}
HRESULT CTrack4::get_MinValue(DOUBLE* value)
{
    return GetValue(m_buffer.MinValue(), value);
}

HRESULT CTrack4::get_SampleFromTime(DOUBLE time, DOUBLE* value)
{
    return GetValue(m_buffer.SampleFromTime(time), value);
}

HRESULT CTrack4::get_DigitalView(LONG* view)
{
    return GetValue(m_digitalView, view);
}

HRESULT CTrack4::put_DigitalView(LONG view)
{
    m_digitalView = view;
    return S_OK;
}

HRESULT CTrack4::get_Note(BSTR* note)
{
    return GetText(m_note, note);
}

HRESULT CTrack4::put_Note(BSTR note)
{
    PutText(m_note, note);
    ListChanged();
    return S_OK;
}

HRESULT CTrack4::get_Show(LONG* show)
{
    return GetValue(m_show, show);
}

HRESULT CTrack4::put_Show(LONG show)
{
    if (show == m_show)
        return S_OK;
    m_show = show;
    if (m_owner)
        m_owner->TrackShowChanged();
    return S_OK;
}

HRESULT CTrack4::get_TotalTime(DOUBLE* time)
{
    return GetValue(m_buffer.TotalTime(), time);
}

HRESULT CTrack4::get_Feature(INT idf, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    switch (idf)
    {
    case 3:
        value->vt = VT_UI4;
        value->ulVal = static_cast<ULONG>(m_buffer.TotalAdded());
        return S_OK;
    case 5:
        *value = MakeVariantR8(m_readings.horzValue);
        return S_OK;
    case 6:
        *value = MakeVariantR8(m_readings.value1);
        return S_OK;
    case 7:
        *value = MakeVariantR8(m_readings.value2);
        return S_OK;
    case 8:
        *value = MakeVariantR8(m_buffer.SamplePeriod());
        return S_OK;
    case 9:
        *value = MakeVariantI4(m_readings.position1);
        return S_OK;
    case 10:
        *value = MakeVariantI4(m_readings.position2);
        return S_OK;
    default:
        return S_OK;
    }
}

HRESULT CTrack4::put_Feature(INT idf, VARIANT value)
{
    if (idf == 3)
        return E_ACCESSDENIED;
    if (idf < 5 || idf > 10)
        return S_OK;
    double number = 0;
    const HRESULT hr = ToDouble(value, &number);
    if (FAILED(hr))
        return hr;
    switch (idf)
    {
    case 5:
        m_readings.horzValue = number;
        break;
    case 6:
        m_readings.value1 = number;
        break;
    case 7:
        m_readings.value2 = number;
        break;
    case 8:
        m_buffer.SetSamplePeriod(number);
        break;
    case 9:
    case 10:
    {
        // A position is read back as a 32-bit integer: only what one holds is taken.
        if (!(number > -2147483649.0 && number < 2147483648.0))
            return E_INVALIDARG;
        (idf == 9 ? m_readings.position1 : m_readings.position2) = static_cast<long>(number);
        break;
    }
    }
    return S_OK;
}

namespace
{
// Widened by 5 % of the span on each side, or by 0.05 when there is no span.
void Widen(double& min, double& max)
{
    const double span = max - min;
    const double margin = span == 0 ? 0.05 : span * 0.05;
    min -= margin;
    max += margin;
}
} // namespace

void CTrack4::UpdateRange(bool fit)
{
    const bool valuesMoved = m_buffer.ExtendValueRange();
    const bool notSet = m_min == DBL_MAX || m_max == -DBL_MAX;
    const bool haveValues = m_buffer.MinValue() <= m_buffer.MaxValue();
    if (haveValues && ((fit && m_autoscale) || notSet))
    {
        m_min = m_buffer.MinValue();
        m_max = m_buffer.MaxValue();
        if (m_autoscale)
            Widen(m_min, m_max);
    }
    if (m_min == m_max)
    {
        m_min -= 0.05;
        m_max += 0.05;
    }
    if (m_min != DBL_MAX && m_max != -DBL_MAX)
        m_scale = m_max - m_min;
    if (valuesMoved)
        ListChanged();
}

void CTrack4::FitRange()
{
    m_buffer.ExtendValueRange();
    if (m_buffer.MinValue() > m_buffer.MaxValue())
        return;
    m_min = m_buffer.MinValue();
    m_max = m_buffer.MaxValue();
    Widen(m_min, m_max);
    m_scale = m_max - m_min;
}

void CTrack4::SetAutoscale(bool on)
{
    m_autoscale = on ? 1 : 0;
    if (!on)
        return;
    if (m_buffer.MinValue() <= m_buffer.MaxValue())
    {
        m_min = m_buffer.MinValue();
        m_max = m_buffer.MaxValue();
        Widen(m_min, m_max);
        m_scale = m_max - m_min;
    }
    if (m_owner)
        m_owner->TrackRedraw();
}

void CTrack4::MoveRange(double min)
{
    m_min = min;
    m_max = min + m_scale;
}
