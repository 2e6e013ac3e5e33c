// A wire: horizontal and vertical segments between two pins or junctions.
#pragma once

#include <TvskLumoPlc/graph/GraphObject.h>

#include <vector>

class CCrossConnection;
class CGraphPin;
class CPlcFBDConnection;

struct GraphSegment
{
    int x1, y1, x2, y2;

    bool IsHorizontal() const noexcept { return y1 == y2; }
    bool IsVertical() const noexcept { return x1 == x2 && y1 != y2; }
    bool IsEmpty() const noexcept { return x1 == x2 && y1 == y2; }
    int Length() const noexcept { return IsHorizontal() ? std::abs(x2 - x1) : std::abs(y2 - y1); }
    CPoint Start() const noexcept { return {x1, y1}; }
    CPoint End() const noexcept { return {x2, y2}; }
    bool Holds(int x, int y) const noexcept;
    void Reverse() noexcept
    {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    bool operator==(const GraphSegment&) const = default;
};

class CConnection : public CGraphObject
{
public:
    enum EndKind
    {
        END_NONE = 0,
        END_INPUT = 1, // ends at an element's input
        END_OUTPUT = 2 // starts at an element's output
    };
    enum DrawState
    {
        DRAW_ERROR = 0,
        DRAW_NORMAL = 1,
        DRAW_FIXED = 2,
        DRAW_SELECTED = 3,
        DRAW_DANGLING = 4
    };
    // One end: the pin or junction, its reference text until resolved, its point and kind.
    struct End
    {
        CGraphObject* object = nullptr;
        CString name;
        CPoint point;
        int kind = END_NONE;
        int partnerType = 0; // from the generated connection until resolved
        int pinNumber = -1;
    };

    CConnection() : CGraphObject(FBD_CONNECTION) { SetError(true); }
    ~CConnection() override;

    // Both ends, their points from their positions, a first path, and pins pointing back.
    bool Connect(CGraphObject* start, CGraphObject* end, bool orthogonal);
    // A zero-length segment is skipped with the flag, which also orders the ends.
    bool AddSegment(int x1, int y1, int x2, int y2, bool orthogonal);
    bool RemoveSegment(int index);
    // One segment where the points share a row or a column, else three through the middle column.
    bool AddPath(CPoint from, CPoint to);
    // The segments AddPath would add.
    static std::vector<GraphSegment> PathBetween(CPoint from, CPoint to);

    bool IsSelectionComplete() const override;
    CGraphObject* ObjectAt(int x, int y) override;
    bool IsInside(const CRect& pixels) const override;
    void Validate() override;
    CString GetKey() const override;
    CPlcFBDObject* GetModelObject() const override;
    void Select(bool selected) override;
    void Invalidate() override;

    void Offset(int dx, int dy);
    bool IsOpen() const noexcept { return !m_Start.object || !m_End.object; }
    // The end holding the object becomes null and the wire is validated again.
    void DetachEnd(const CGraphObject* object);
    void SetEndObject(bool start, CGraphObject* object, int kind);
    // The element or junction at one end moved: the path follows, staying orthogonal.
    bool MoveEnd(bool start, int x, int y);
    // Moves one segment across its direction; neighbours follow or joining segments appear.
    bool MoveSegment(int index, int dx, int dy, bool stubs = true);
    // Start of an output end, end at an input end; one chain of merged segments.
    void CleanUp();
    // Another wire ends at the point of this one: a new wire takes the path beyond the point.
    CConnection* Split(CConnection* other, const CPoint& point);
    // Takes over the far end of another wire, path and pin or junction included.
    bool InheritEnd(const CGraphObject* ownNear, CConnection& other, const CGraphObject* otherNear);

    const End& GetStart() const noexcept { return m_Start; }
    const End& GetEnd() const noexcept { return m_End; }
    End& Start() noexcept { return m_Start; }
    End& EndOf() noexcept { return m_End; }
    const std::vector<GraphSegment>& GetSegments() const noexcept { return m_Segments; }
    int GetDrawState() const noexcept { return m_nDrawState; }
    void SetDrawState(int state) noexcept { m_nDrawState = state; }
    // The pen colour for the draw state; colours come from the owner once it is known.
    COLORREF GetDrawColor();
    bool IsDotted() const noexcept { return m_nDrawState == DRAW_SELECTED && IsError(); }
    void SetModel(CPlcFBDConnection* model) noexcept { m_pModel = model; }

private:
    void RefreshColors();
    static void PointBack(CGraphObject* end, CConnection* wire);
    void SwapEnds();
    void RebuildChain();
    void MergeSegments();

    End m_Start;
    End m_End;
    std::vector<GraphSegment> m_Segments;
    // connection, error, fixed green, selected connection, active
    COLORREF m_Colors[5] = {RGB(0, 150, 0), RGB(200, 0, 0), RGB(0, 0, 200), RGB(200, 0, 200), RGB(0, 196, 0)};
    int m_nDrawState = DRAW_ERROR;
    CPlcFBDConnection* m_pModel = nullptr;
};
