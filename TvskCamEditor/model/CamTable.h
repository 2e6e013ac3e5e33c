// The points of one cam: segments by kind, computed values and differences, cubic completion,
// exchange with the host and as text. The grid and graph glue lives in the dialog library.
#pragma once

#include <framework/CString.h>

#include <cstdint>
#include <vector>

class CPluginIntf;

enum CamSegmentKind
{
    CAM_VAL = 0,
    CAM_LINEAR = 1,
    CAM_SQUARE1 = 2,
    CAM_SQUARE2 = 3,
    CAM_SIN = 4,
    CAM_COS1 = 5,
    CAM_COS2 = 6,
    CAM_CUBIC = 7,
    CAM_KIND_COUNT = 8
};

struct CAM_POINT
{
    double dValue = 0.0;
    int32_t nKind = CAM_VAL;
    int32_t bDefined = 0;
    double dFirstDiff = 0.0;
    double dSecondDiff = 0.0;
};
static_assert(sizeof(CAM_POINT) == 32);

struct CAM_SEGMENT
{
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    double a = 0.0, b = 0.0, c = 0.0, d = 0.0, e = 0.0;
    int32_t nKind = CAM_VAL;
    double dStartSlope = 0.0, dEndSlope = 0.0;
};

// What the table tells its grid, graph and dialog.
class CCamTableObserver
{
public:
    virtual ~CCamTableObserver() = default;
    virtual void OnGraphChanged() {}
    virtual void OnGridChanged() {}
    virtual void OnCamChanged() {}
};

class CCamTable
{
public:
    static constexpr int kDefaultPoints = 257;

    CCamTable();

    void SetHost(CPluginIntf* host) noexcept { m_pHost = host; }
    CPluginIntf* GetHost() const noexcept { return m_pHost; }
    void SetObserver(CCamTableObserver* observer) noexcept { m_pObserver = observer; }

    int GetCount() const noexcept { return static_cast<int>(m_Points.size()); }
    const CAM_POINT& GetPointAt(int i) const { return m_Points[static_cast<size_t>(i)]; }
    const std::vector<CAM_SEGMENT>& GetSegments() const noexcept { return m_Segments; }

    // Cell texts of the value column: "%d" of a defined point, else empty.
    CString GetValueText(int row) const;
    // Reads text as a number and stores it as the row's defined value; false refuses the edit.
    bool SetValueText(int row, const char* text);
    // Point 0, a point of kind 0, or the first point of a segment.
    bool AllowEdit(int row) const;
    // Gives rows first..last the kind; false when the range is outside the table.
    bool SetKinds(int first, int last, int kind);

    bool Load(int cam);
    bool Store(int cam) const;
    bool SetPoint(int i, double value, int kind);
    bool GetPoint(int i, double& index, double& value) const;
    bool GetFirstDiff(int i, double& diff) const;
    bool GetSecondDiff(int i, double& diff) const;
    double GetMinValue() const;
    double GetMaxValue() const;
    int GetStartAddr(int cam) const;
    int GetStepsNr() const;
    bool IsComplete() const;
    void Reset(bool defined);

    CString GetCopyText() const;
    // Sets the points named by the text's lines; answers how many were set.
    int PasteText(const char* text);

    // Closes an open profile over the cycle end with a cubic; false when the profile does not allow it.
    bool CompleteWithCubic();
    bool IsCompleted() const noexcept { return m_bCompleted; }
    bool IsModified() const noexcept { return m_bModified; }
    void SetModified(bool modified) noexcept { m_bModified = modified; }

    void Recompute();

private:
    void BuildSegments();
    void ComputeSegment(CAM_SEGMENT& seg) const;
    void ComputeCubics();
    void SolveCubic(CAM_SEGMENT& seg) const;
    double ValueAt(int i) const;
    void RefreshDifferencesAround(int i);
    void NotifyGraph() const;
    void NotifyGrid() const;
    void NotifyCam() const;
    bool CheckHost(int line) const;

    std::vector<CAM_POINT> m_Points;
    std::vector<CAM_SEGMENT> m_Segments;
    CAM_SEGMENT m_FirstProfileSeg;
    CAM_SEGMENT m_BeforeLastSeg;
    CPluginIntf* m_pHost = nullptr;           // not owned
    CCamTableObserver* m_pObserver = nullptr; // not owned
    bool m_bCompletionMode = false;
    bool m_bCompleted = false;
    bool m_bModified = false;
};
