// Cam points, their segments and the values computed from them.
#include <TvskCamEditor/model/CamTable.h>

#include <Tarveskon/PluginIntf.h>
#include <ZoSupport/LinearSystem.h>
#include <ZoSupport/ProgramError.h>
#include <framework/ExactNumber.h>
#include <framework/LeadingNumber.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr double kPi = 3.1415; // the drive's own approximations, not pi
constexpr double kHalfPi = 1.57075;
constexpr double kInvPi = 0.31831927423205475;
constexpr int kMaxPoints = 65536; // points are addressed with 16 bits

// The drive's +0.45 rounding, the same on both sides of 0: a whole value stays as it is.
double RoundPoint(double v)
{
    return v < 0 ? -std::trunc(0.45 - v) : std::trunc(v + 0.45);
}

} // namespace

CCamTable::CCamTable() : m_Points(kDefaultPoints) {}

bool CCamTable::CheckHost(int line) const
{
    if (m_pHost)
        return true;
    ProgramError("TabIntf", line, nullptr);
    return false;
}

void CCamTable::NotifyGraph() const
{
    if (m_pObserver)
        m_pObserver->OnGraphChanged();
}

void CCamTable::NotifyGrid() const
{
    if (m_pObserver)
        m_pObserver->OnGridChanged();
}

void CCamTable::NotifyCam() const
{
    if (m_pObserver)
        m_pObserver->OnCamChanged();
}

CString CCamTable::GetValueText(int row) const
{
    CString text;
    if (row >= 0 && row < GetCount() && GetPointAt(row).bDefined)
        text.Format("%.0f",
                    std::trunc(GetPointAt(row).dValue) + 0.0); // as "%d" would, without "-0" or overflow
    return text;
}

bool CCamTable::SetValueText(int row, const char* text)
{
    double value = 0.0;
    if (row < 0 || row >= GetCount() || !text || !tvsk::WholeDouble(text, value))
        return false;
    CAM_POINT& point = m_Points[static_cast<size_t>(row)];
    const bool changed = value != point.dValue;
    if (m_bCompleted && !changed)
        return true;
    if (changed)
        m_bModified = true;
    point.dValue = value;
    point.bDefined = 1;
    Recompute();
    NotifyGraph();
    NotifyGrid();
    NotifyCam();
    return true;
}

bool CCamTable::AllowEdit(int row) const
{
    if (row < 0 || row >= GetCount())
        return false;
    return row == 0 || GetPointAt(row).nKind == CAM_VAL || GetPointAt(row).nKind != GetPointAt(row - 1).nKind;
}

bool CCamTable::SetKinds(int first, int last, int kind)
{
    if (first < 0 || last < first || last >= GetCount() || kind < 0 || kind >= CAM_KIND_COUNT)
        return false;
    for (int i = first; i <= last; ++i)
        m_Points[static_cast<size_t>(i)].nKind = kind;
    Recompute();
    NotifyGraph();
    NotifyGrid();
    NotifyCam();
    return true;
}

bool CCamTable::Load(int cam)
{
    if (!CheckHost(__LINE__))
        return false;
    const int count = m_pHost->GetCamStepsNr();
    if (count < 2 || count > kMaxPoints)
    {
        ProgramError("TabIntf", __LINE__, "point count");
        return false;
    }
    std::vector<CAM_POINT> points(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        double value = 0.0;
        int kind = CAM_VAL;
        int defined = 0;
        m_pHost->GetCamData(i, &value, &kind, &defined, cam);
        CAM_POINT& point = points[static_cast<size_t>(i)];
        point.dValue = std::isfinite(value) ? value : 0.0;
        point.nKind = kind >= 0 && kind < CAM_KIND_COUNT ? kind : CAM_VAL;
        point.bDefined = defined ? 1 : 0;
    }
    m_Points.swap(points);
    m_Segments.clear();
    m_bCompleted = false;
    return true;
}

bool CCamTable::Store(int cam) const
{
    if (!CheckHost(__LINE__))
        return false;
    for (int i = 0; i < GetCount(); ++i)
    {
        const CAM_POINT& point = GetPointAt(i);
        m_pHost->SetCamData(i, point.dValue, point.nKind, point.bDefined ? TRUE : FALSE, cam);
    }
    return true;
}

bool CCamTable::SetPoint(int i, double value, int kind)
{
    if (i < 0 || i >= GetCount() || !std::isfinite(value) || kind < 0 || kind >= CAM_KIND_COUNT)
        return false;
    CAM_POINT& point = m_Points[static_cast<size_t>(i)];
    point.dValue = value;
    point.nKind = kind;
    point.bDefined = 1;
    NotifyGraph();
    NotifyCam();
    return true;
}

bool CCamTable::GetPoint(int i, double& index, double& value) const
{
    if (i < 0 || i >= GetCount())
        return false;
    index = i;
    value = GetPointAt(i).dValue;
    return true;
}

bool CCamTable::GetFirstDiff(int i, double& diff) const
{
    if (i < 0 || i >= GetCount())
        return false;
    diff = GetPointAt(i).dFirstDiff;
    return true;
}

bool CCamTable::GetSecondDiff(int i, double& diff) const
{
    if (i < 0 || i >= GetCount())
        return false;
    diff = GetPointAt(i).dSecondDiff;
    return true;
}

double CCamTable::GetMinValue() const
{
    return CheckHost(__LINE__) ? m_pHost->GetCamMinValue() : 0.0;
}

double CCamTable::GetMaxValue() const
{
    return CheckHost(__LINE__) ? m_pHost->GetCamMaxValue() : 0.0;
}

int CCamTable::GetStartAddr(int cam) const
{
    return CheckHost(__LINE__) ? m_pHost->GetCamStartAddr(cam) : 0;
}

int CCamTable::GetStepsNr() const
{
    return CheckHost(__LINE__) ? m_pHost->GetCamStepsNr() : 0;
}

bool CCamTable::IsComplete() const
{
    return std::all_of(m_Points.begin(), m_Points.end(), [](const CAM_POINT& p) { return p.bDefined != 0; });
}

void CCamTable::Reset(bool defined)
{
    CAM_POINT fresh;
    fresh.bDefined = defined ? 1 : 0;
    m_Points.assign(m_Points.size() < 2 ? kDefaultPoints : m_Points.size(), fresh);
    m_Segments.clear();
    m_FirstProfileSeg = CAM_SEGMENT();
    m_BeforeLastSeg = CAM_SEGMENT();
    m_bCompletionMode = false;
    m_bCompleted = false;
    m_bModified = false;
}

CString CCamTable::GetCopyText() const
{
    CString text;
    for (int i = 0; i < GetCount(); ++i)
        text.AppendFormat("%d\t%s\n", i, tvsk::ExactText(GetPointAt(i).dValue).GetString());
    return text;
}

int CCamTable::PasteText(const char* text)
{
    int set = 0;
    std::istringstream lines(text ? text : "");
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream tokens(line);
        std::string first;
        std::string second;
        if (!(tokens >> first >> second) || !std::isdigit(static_cast<unsigned char>(first[0])))
            continue;
        double value = 0.0;
        if (!tvsk::WholeDouble(second, value))
            continue;
        if (SetPoint(std::atoi(first.c_str()), value, CAM_VAL))
            ++set;
    }
    return set;
}

void CCamTable::BuildSegments()
{
    m_Segments.clear();
    if (m_Points.empty())
        return;
    CAM_SEGMENT open;
    open.y0 = open.y1 = m_Points[0].dValue;
    open.nKind = m_Points[0].nKind;
    for (int i = 1; i < GetCount(); ++i)
    {
        const CAM_POINT& point = GetPointAt(i);
        open.x1 = i;
        open.y1 = point.dValue;
        if (point.nKind == open.nKind)
            continue;
        ComputeSegment(open);
        m_Segments.push_back(open);
        open = CAM_SEGMENT();
        open.x0 = open.x1 = i;
        open.y0 = open.y1 = point.dValue;
        open.nKind = point.nKind;
    }
    ComputeSegment(open);
    m_Segments.push_back(open);
    ComputeCubics();
}

void CCamTable::ComputeSegment(CAM_SEGMENT& s) const
{
    const double D = s.x1 - s.x0;
    if (D == 0.0 || s.nKind == CAM_VAL || s.nKind == CAM_CUBIC)
        return; // a point's own value; cubics come last
    switch (s.nKind)
    {
    case CAM_LINEAR:
        s.a = (s.y1 - s.y0) / D;
        s.b = s.y0 - s.a * s.x0;
        s.dStartSlope = s.dEndSlope = s.a;
        break;
    case CAM_SQUARE1:
        s.a = (s.y1 - s.y0) / (D * D);
        s.b = -2 * s.a * s.x0;
        s.c = s.a * s.x0 * s.x0 + s.y0;
        s.dStartSlope = 2 * s.a * s.x0 + s.b;
        s.dEndSlope = 2 * s.a * s.x1 + s.b;
        break;
    case CAM_SQUARE2:
        s.a = (s.y0 - s.y1) / (D * D);
        s.b = -2 * s.a * s.x1;
        s.c = s.a * s.x1 * s.x1 + s.y1;
        s.dStartSlope = 2 * s.a * s.x0 + s.b;
        s.dEndSlope = 0.0;
        break;
    case CAM_SIN:
        s.a = (s.y0 + s.y1) / 2;
        s.b = (s.y1 - s.y0) / 2;
        s.c = s.x0;
        s.d = kPi / D;
        s.dStartSlope = s.b * s.d * std::cos(-kHalfPi);
        s.dEndSlope = s.b * s.d * std::cos(D * s.d - kHalfPi);
        break;
    case CAM_COS1:
    case CAM_COS2:
        s.a = (s.y1 - s.y0) / D;
        s.b = (s.y1 - s.y0) * kInvPi;
        s.c = (s.nKind == CAM_COS1 ? kPi : -kPi) / D;
        s.d = (s.nKind == CAM_COS1 ? -s.x1 : s.x1) * kPi / D;
        s.e = (s.y0 * s.x1 - s.y1 * s.x0) / D;
        s.dStartSlope = s.b * s.c * std::cos(s.d + s.c * s.x0) + s.a;
        s.dEndSlope = s.b * s.c * std::cos(s.d + s.c * s.x1) + s.a;
        break;
    default:
        break;
    }
}

void CCamTable::ComputeCubics()
{
    const size_t count = m_Segments.size();
    for (size_t k = 0; k < count; ++k)
    {
        CAM_SEGMENT& seg = m_Segments[k];
        if (seg.nKind != CAM_CUBIC)
            continue;
        if (k == 0)
        {
            if (count == 1)
                seg.dStartSlope = seg.dEndSlope = 0.0;
            else if (m_bCompletionMode)
            {
                seg.dStartSlope = m_BeforeLastSeg.dEndSlope;
                seg.dEndSlope = m_FirstProfileSeg.dStartSlope;
            }
            else
            {
                seg.dStartSlope = 0.0;
                seg.dEndSlope = m_Segments[1].dStartSlope;
            }
        }
        else
        {
            seg.dStartSlope = m_Segments[k - 1].dEndSlope;
            seg.dEndSlope = k + 1 < count ? m_Segments[k + 1].dStartSlope : m_Segments[0].dStartSlope;
        }
        SolveCubic(seg);
    }
}

void CCamTable::SolveCubic(CAM_SEGMENT& s) const
{
    const double x0 = s.x0, x1 = s.x1;
    CLinearSystem system(4,                                            //
                         x0 * x0 * x0, x0 * x0, x0, 1.0, s.y0,         //
                         x1 * x1 * x1, x1 * x1, x1, 1.0, s.y1,         //
                         3 * x0 * x0, 2 * x0, 1.0, 0.0, s.dStartSlope, //
                         3 * x1 * x1, 2 * x1, 1.0, 0.0, s.dEndSlope);
    const bool solved = system.Calculate();
    s.a = solved ? system[0] : 0.0;
    s.b = solved ? system[1] : 0.0;
    s.c = solved ? system[2] : 0.0;
    s.d = solved ? system[3] : 0.0;
}

double CCamTable::ValueAt(int i) const
{
    const CAM_SEGMENT* seg = &m_Segments.back();
    for (const CAM_SEGMENT& s : m_Segments)
        if (s.x0 <= i && i < s.x1)
        {
            seg = &s;
            break;
        }
    const double x = i;
    if (seg->x1 == seg->x0)
        return GetPointAt(i).dValue;
    switch (seg->nKind)
    {
    case CAM_LINEAR:
        return seg->a * x + seg->b;
    case CAM_SQUARE1:
    case CAM_SQUARE2:
        return seg->a * x * x + seg->b * x + seg->c;
    case CAM_SIN:
        return std::sin((x - seg->c) * seg->d - kHalfPi) * seg->b + seg->a;
    case CAM_COS1:
    case CAM_COS2:
        return std::sin(x * seg->c + seg->d) * seg->b + seg->a * x + seg->e;
    case CAM_CUBIC:
        return ((seg->a * x + seg->b) * x + seg->c) * x + seg->d;
    default:
        return GetPointAt(i).dValue;
    }
}

void CCamTable::Recompute()
{
    BuildSegments();
    if (m_Segments.empty())
        return;
    const bool clamp = m_pHost != nullptr;
    const double lo = clamp ? m_pHost->GetCamMinValue() : 0.0;
    const double hi = clamp ? m_pHost->GetCamMaxValue() : 0.0;
    std::vector<double> values(m_Points.size());
    for (int i = 0; i < GetCount(); ++i)
        values[static_cast<size_t>(i)] = ValueAt(i);
    double previousFirst = 0.0;
    for (size_t i = 0; i < m_Points.size(); ++i)
    {
        double stored = RoundPoint(values[i]);
        if (clamp)
            stored = std::trunc(std::clamp(stored, lo, hi));
        CAM_POINT& point = m_Points[i];
        point.dValue = std::isfinite(stored) ? stored + 0.0 : 0.0;
        point.dFirstDiff = i > 0 ? values[i] - values[i - 1] : 0.0;
        point.dSecondDiff = i > 0 ? point.dFirstDiff - previousFirst : 0.0;
        previousFirst = point.dFirstDiff;
    }
}

void CCamTable::RefreshDifferencesAround(int i)
{
    for (int k = std::max(i, 1); k <= i + 1 && k < GetCount(); ++k)
    {
        CAM_POINT& point = m_Points[static_cast<size_t>(k)];
        const CAM_POINT& before = GetPointAt(k - 1);
        point.dFirstDiff = point.dValue - before.dValue;
        point.dSecondDiff = point.dFirstDiff - before.dFirstDiff;
    }
}

bool CCamTable::CompleteWithCubic()
{
    BuildSegments();
    const size_t count = m_Segments.size();
    if (count < 2)
        return false;
    const bool leadingVal = m_Segments.front().nKind == CAM_VAL;
    if (leadingVal && m_Segments.back().nKind != CAM_VAL)
        return false;
    const int last = GetCount() - 1;
    const int s = static_cast<int>(leadingVal ? m_Segments.front().x1 : m_Segments.front().x0);
    const int e = static_cast<int>(m_Segments.back().x0);
    const int gap = s - e + last; // index of the profile's start in the cubic's table
    if (s > e || gap < 1)
        return false;

    m_FirstProfileSeg = m_Segments[leadingVal ? 1 : 0];
    m_BeforeLastSeg = m_Segments[count - 2];
    const std::vector<CAM_POINT> profile(m_Points.begin() + s, m_Points.begin() + e + 1);

    std::vector<CAM_POINT> fresh(m_Points.size());
    fresh[0].dValue = m_BeforeLastSeg.y1;
    fresh[static_cast<size_t>(gap)].dValue = m_FirstProfileSeg.y0;
    for (int p = 0; p < gap; ++p)
        fresh[static_cast<size_t>(p)].nKind = CAM_CUBIC;
    m_Points.swap(fresh);
    m_bCompletionMode = true;
    Recompute();
    const std::vector<CAM_POINT> cubic = m_Points;

    for (int p = 0; p <= last; ++p)
    {
        CAM_POINT& point = m_Points[static_cast<size_t>(p)];
        if (p > s && p <= e)
            point = profile[static_cast<size_t>(p - s)];
        else
        {
            point = cubic[static_cast<size_t>(p <= s ? last - e + p : p - e)];
            point.nKind = p == s ? profile.front().nKind : CAM_VAL;
        }
        point.bDefined = 1;
    }
    RefreshDifferencesAround(s + 1);
    RefreshDifferencesAround(e + 1);
    m_bCompleted = true;
    m_bModified = false;
    m_bCompletionMode = false;
    BuildSegments();
    NotifyGraph();
    NotifyGrid();
    NotifyCam();
    return true;
}
