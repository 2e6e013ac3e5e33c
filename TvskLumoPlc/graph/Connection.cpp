#include "Connection.h"

#include "CrossConnection.h"
#include "GraphBlock.h"
#include "NetworkIntf.h"

#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <new>

bool GraphSegment::Holds(int x, int y) const noexcept
{
    if (y1 == y2 && y == y1)
        return x >= std::min(x1, x2) && x <= std::max(x1, x2);
    if (x1 == x2 && x == x1)
        return y >= std::min(y1, y2) && y <= std::max(y1, y2);
    return false;
}

namespace
{
// The path from one point to another: one segment when they share a row or a column, else three.
std::vector<GraphSegment> Route(CPoint from, CPoint to)
{
    if (from.x == to.x || from.y == to.y)
        return {{from.x, from.y, to.x, to.y}};
    const int middle = (from.x + to.x) / 2;
    return {{from.x, from.y, middle, from.y}, {middle, from.y, middle, to.y}, {middle, to.y, to.x, to.y}};
}

int KindOfEnd(const CGraphObject* end)
{
    if (!end || end->GetType() != FBD_PIN)
        return CConnection::END_NONE;
    return static_cast<const CGraphPin*>(end)->GetSide() == CGraphPin::SIDE_INPUT ? CConnection::END_INPUT
                                                                                  : CConnection::END_OUTPUT;
}

bool Perpendicular(const GraphSegment& a, const GraphSegment& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.IsHorizontal() != b.IsHorizontal();
}
} // namespace

CConnection::~CConnection()
{
    for (End* end : {&m_Start, &m_End})
    {
        CGraphObject* object = end->object;
        end->object = nullptr;
        if (!object)
            continue;
        if (object->GetType() == FBD_PIN)
        {
            auto* pin = static_cast<CGraphPin*>(object);
            if (pin->GetConnection() == this)
                pin->SetConnection(nullptr);
        }
        else if (object->GetType() == FBD_CROSS)
            static_cast<CCrossConnection*>(object)->RemoveConnection(this);
    }
}

void CConnection::PointBack(CGraphObject* end, CConnection* wire)
{
    if (!end)
        return;
    if (end->GetType() == FBD_PIN)
        static_cast<CGraphPin*>(end)->SetConnection(wire);
    else if (end->GetType() == FBD_CROSS)
        static_cast<CCrossConnection*>(end)->AddConnection(wire);
}

bool CConnection::Connect(CGraphObject* start, CGraphObject* end, bool orthogonal)
{
    if (!start || !end)
        return false;
    m_Start = End{start, start->GetKey(), start->GetPosition(), KindOfEnd(start)};
    m_End = End{end, end->GetKey(), end->GetPosition(), KindOfEnd(end)};
    m_Segments.clear();
    for (const GraphSegment& s : Route(m_Start.point, m_End.point))
        if (!AddSegment(s.x1, s.y1, s.x2, s.y2, orthogonal))
            return false;
    CleanUp();
    PointBack(start, this);
    PointBack(end, this);
    Validate();
    return true;
}

bool CConnection::AddSegment(int x1, int y1, int x2, int y2, bool orthogonal)
{
    if (orthogonal)
    {
        if (x1 == x2 && y1 == y2)
            return true;
        if (x1 > x2 || (x1 == x2 && y1 > y2))
        {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
    }
    try
    {
        m_Segments.push_back({x1, y1, x2, y2});
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("Connection", __LINE__, "out of memory");
        return false;
    }
    return true;
}

bool CConnection::AddPath(CPoint from, CPoint to)
{
    for (const GraphSegment& s : Route(from, to))
        if (!AddSegment(s.x1, s.y1, s.x2, s.y2, false))
            return false;
    return true;
}

std::vector<GraphSegment> CConnection::PathBetween(CPoint from, CPoint to)
{
    return Route(from, to);
}

bool CConnection::RemoveSegment(int index)
{
    if (index < 0 || index >= static_cast<int>(m_Segments.size()))
        return false;
    m_Segments.erase(m_Segments.begin() + index);
    m_nDrawState = DRAW_ERROR;
    return true;
}

bool CConnection::IsSelectionComplete() const
{
    auto selected = [](const CGraphObject* end)
    {
        if (!end)
            return false;
        if (end->GetType() == FBD_PIN)
        {
            const CGraphBlock* element = static_cast<const CGraphPin*>(end)->GetElement();
            return element && element->IsSelected();
        }
        return end->IsSelected();
    };
    return selected(m_Start.object) && selected(m_End.object);
}

CGraphObject* CConnection::ObjectAt(int x, int y)
{
    for (const GraphSegment& s : m_Segments)
        if (s.Holds(x, y))
            return this;
    return nullptr;
}

bool CConnection::IsInside(const CRect& pixels) const
{
    if (!m_pOwner)
        return true;
    const int sx = StepX();
    const int sy = StepY();
    auto inside = [&](int x, int y)
    {
        return x * sx >= pixels.left && x * sx <= pixels.right && y * sy >= pixels.top &&
               y * sy <= pixels.bottom;
    };
    for (const GraphSegment& s : m_Segments)
        if (!inside(s.x1, s.y1) || !inside(s.x2, s.y2))
            return false;
    return true;
}

void CConnection::Validate()
{
    if (m_Start.point == m_End.point && m_Segments.empty())
        AddSegment(m_Start.point.x, m_Start.point.y, m_End.point.x, m_End.point.y, false);
    // A selected wire stays drawn as selected; in error it is drawn dotted.
    if (!IsValidGraphObject(m_Start.object) || !IsValidGraphObject(m_End.object))
    {
        m_nDrawState = IsSelected() ? DRAW_SELECTED : DRAW_DANGLING;
        SetError(true);
        return;
    }
    if (m_Start.object->GetType() == FBD_PIN && m_End.object->GetType() == FBD_PIN &&
        static_cast<CGraphPin*>(m_Start.object)->GetElement() ==
            static_cast<CGraphPin*>(m_End.object)->GetElement())
    {
        SetError(true);
        m_nDrawState = IsSelected() ? DRAW_SELECTED : DRAW_ERROR;
        return;
    }
    SetError(false);
    m_nDrawState = IsSelected() ? DRAW_SELECTED : DRAW_NORMAL;
}

CString CConnection::GetKey() const
{
    CString key;
    key.Format("C:%d", m_nNumber);
    return key;
}

CPlcFBDObject* CConnection::GetModelObject() const
{
    return m_pModel;
}

void CConnection::Select(bool selected)
{
    CGraphObject::Select(selected);
    if (selected)
        m_nDrawState = DRAW_SELECTED;
    else
        Validate();
}

void CConnection::Invalidate()
{
    if (!m_pOwner)
    {
        ProgramError("Connection", __LINE__, "no owner");
        return;
    }
    if (!m_pNetwork)
        return;
    const int sx = StepX();
    const int sy = StepY();
    for (const GraphSegment& s : m_Segments)
    {
        CRect r(std::min(s.x1, s.x2) * sx, std::min(s.y1, s.y2) * sy, std::max(s.x1, s.x2) * sx,
                std::max(s.y1, s.y2) * sy);
        r.InflateRect(1, 1);
        m_pNetwork->InvalidateRect(r);
    }
}

void CConnection::RefreshColors()
{
    if (!m_pOwner)
        return;
    m_Colors[0] = m_pOwner->GetColor(ConnectColor);
    m_Colors[1] = m_pOwner->GetColor(::ErrorColor);
    m_Colors[2] = FixedGreen;
    m_Colors[3] = m_pOwner->GetColor(SelConnectColor);
    m_Colors[4] = m_pOwner->GetColor(::ActiveColor);
}

COLORREF CConnection::GetDrawColor()
{
    RefreshColors();
    switch (m_nDrawState)
    {
    case DRAW_NORMAL:
        return IsActive() ? m_Colors[4] : m_Colors[0];
    case DRAW_FIXED:
        return m_Colors[2];
    case DRAW_SELECTED:
        return m_Colors[3];
    default:
        return m_Colors[1];
    }
}

void CConnection::Offset(int dx, int dy)
{
    for (GraphSegment& s : m_Segments)
    {
        s.x1 += dx;
        s.x2 += dx;
        s.y1 += dy;
        s.y2 += dy;
    }
    m_Start.point.Offset(dx, dy);
    m_End.point.Offset(dx, dy);
}

void CConnection::DetachEnd(const CGraphObject* object)
{
    if (!object)
        return;
    if (m_Start.object == object)
        m_Start.object = nullptr;
    if (m_End.object == object)
        m_End.object = nullptr;
    Validate();
}

void CConnection::SetEndObject(bool start, CGraphObject* object, int kind)
{
    End& end = start ? m_Start : m_End;
    end.object = object;
    end.kind = kind;
    if (object)
        end.name = object->GetKey();
}

void CConnection::SwapEnds()
{
    std::swap(m_Start, m_End);
    std::reverse(m_Segments.begin(), m_Segments.end());
    for (GraphSegment& s : m_Segments)
        s.Reverse();
}

bool CConnection::MoveEnd(bool start, int x, int y)
{
    const CPoint target(x, y);
    if (m_Segments.empty())
    {
        (start ? m_Start : m_End).point = target;
        AddPath(m_Start.point, m_End.point);
        CleanUp();
        return true;
    }
    // Work on the last segment; a moved start is the end of the reversed path.
    if (start)
        SwapEnds();
    GraphSegment& last = m_Segments.back();
    if (m_Segments.size() == 1)
    {
        const CPoint corner = last.IsVertical() ? CPoint(last.x1, y) : CPoint(x, last.y1);
        last.x2 = corner.x;
        last.y2 = corner.y;
        AddSegment(corner.x, corner.y, x, y, false);
    }
    else
    {
        GraphSegment& before = m_Segments[m_Segments.size() - 2];
        const CPoint corner = last.IsVertical() ? CPoint(x, last.y1) : CPoint(last.x1, y);
        before.x2 = corner.x;
        before.y2 = corner.y;
        last = {corner.x, corner.y, x, y};
    }
    m_End.point = target;
    if (start)
        SwapEnds();
    CleanUp();
    return true;
}

bool CConnection::MoveSegment(int index, int dx, int dy, bool stubs)
{
    if (index < 0 || index >= static_cast<int>(m_Segments.size()))
        return false;
    const GraphSegment original = m_Segments[index];
    if (original.IsVertical())
        dy = 0;
    else
        dx = 0;
    if (dx == 0 && dy == 0)
        return false;

    auto isCross = [](const CGraphObject* end) { return end && end->GetType() == FBD_CROSS; };
    auto stepOf = [](int from, int to) { return to > from ? 1 : (to < from ? -1 : 0); };
    // A segment leaving a junction keeps a one-step stub on the junction's arm.
    if (stubs && original.Length() >= 2)
    {
        if (index == 0 && isCross(m_Start.object) && original.Start() == m_Start.point)
        {
            const CPoint cut(original.x1 + stepOf(original.x1, original.x2),
                             original.y1 + stepOf(original.y1, original.y2));
            m_Segments[0] = {original.x1, original.y1, cut.x, cut.y};
            m_Segments.insert(m_Segments.begin() + 1, GraphSegment{cut.x, cut.y, original.x2, original.y2});
            index = 1;
        }
        const GraphSegment current = m_Segments[index];
        if (index == static_cast<int>(m_Segments.size()) - 1 && isCross(m_End.object) &&
            current.End() == m_End.point && current.Length() >= 2)
        {
            const CPoint cut(current.x2 - stepOf(current.x1, current.x2),
                             current.y2 - stepOf(current.y1, current.y2));
            m_Segments[index] = {current.x1, current.y1, cut.x, cut.y};
            m_Segments.insert(m_Segments.begin() + index + 1,
                              GraphSegment{cut.x, cut.y, current.x2, current.y2});
        }
    }

    const GraphSegment segment = m_Segments[index];
    const GraphSegment moved{segment.x1 + dx, segment.y1 + dy, segment.x2 + dx, segment.y2 + dy};
    if (index > 0 && Perpendicular(m_Segments[index - 1], segment))
    {
        m_Segments[index - 1].x2 = moved.x1;
        m_Segments[index - 1].y2 = moved.y1;
    }
    else
    {
        m_Segments.insert(m_Segments.begin() + index,
                          GraphSegment{segment.x1, segment.y1, moved.x1, moved.y1});
        ++index;
    }
    const int last = static_cast<int>(m_Segments.size()) - 1;
    if (index < last && Perpendicular(m_Segments[index + 1], segment))
    {
        m_Segments[index + 1].x1 = moved.x2;
        m_Segments[index + 1].y1 = moved.y2;
    }
    else
        m_Segments.insert(m_Segments.begin() + index + 1,
                          GraphSegment{moved.x2, moved.y2, segment.x2, segment.y2});
    m_Segments[index] = moved;
    CleanUp();
    return true;
}

void CConnection::CleanUp()
{
    const bool startOk = m_Start.kind == END_NONE || m_Start.kind == END_OUTPUT;
    const bool endOk = m_End.kind == END_NONE || m_End.kind == END_INPUT;
    if (!startOk || !endOk)
        SwapEnds();
    RebuildChain();
    MergeSegments();
}

void CConnection::RebuildChain()
{
    std::vector<GraphSegment> rest = std::move(m_Segments);
    m_Segments.clear();
    CPoint at = m_Start.point;
    while (!rest.empty())
    {
        auto next =
            std::find_if(rest.begin(), rest.end(), [&](const GraphSegment& s) { return s.Start() == at; });
        bool reversed = false;
        if (next == rest.end())
        {
            next =
                std::find_if(rest.begin(), rest.end(), [&](const GraphSegment& s) { return s.End() == at; });
            reversed = true;
        }
        if (next == rest.end())
            break;
        GraphSegment s = *next;
        rest.erase(next);
        if (reversed)
            s.Reverse();
        m_Segments.push_back(s);
        at = s.End();
    }
    // Pieces that do not continue the chain are kept behind it rather than lost.
    m_Segments.insert(m_Segments.end(), rest.begin(), rest.end());
    std::erase_if(m_Segments, [](const GraphSegment& s) { return s.IsEmpty(); });
}

void CConnection::MergeSegments()
{
    for (size_t i = 1; i < m_Segments.size();)
    {
        GraphSegment& a = m_Segments[i - 1];
        const GraphSegment& b = m_Segments[i];
        if (a.End() == b.Start() && a.IsHorizontal() == b.IsHorizontal())
        {
            a.x2 = b.x2;
            a.y2 = b.y2;
            m_Segments.erase(m_Segments.begin() + static_cast<std::ptrdiff_t>(i));
            if (a.IsEmpty())
            {
                m_Segments.erase(m_Segments.begin() + static_cast<std::ptrdiff_t>(i - 1));
                i = std::max<size_t>(i - 1, 1);
            }
        }
        else
            ++i;
    }
}

CConnection* CConnection::Split(CConnection* other, const CPoint& point)
{
    // Ending at this wire's junction end: the junction takes the other wire.
    for (const End* end : {&m_Start, &m_End})
        if (end->point == point && end->object && end->object->GetType() == FBD_CROSS)
        {
            if (other)
                static_cast<CCrossConnection*>(end->object)->AddConnection(other);
            return nullptr;
        }
    auto at = std::find_if(m_Segments.begin(), m_Segments.end(),
                           [&](const GraphSegment& s) { return s.Holds(point.x, point.y); });
    if (at == m_Segments.end())
        return nullptr;
    CConnection* beyond = nullptr;
    try
    {
        beyond = new CConnection;
    }
    catch (const std::bad_alloc&)
    {
        ProgramError("Connection", __LINE__, "out of memory");
        return nullptr;
    }
    beyond->m_pOwner = m_pOwner;
    beyond->m_pNetwork = m_pNetwork;
    beyond->m_Segments.push_back({point.x, point.y, at->x2, at->y2});
    beyond->m_Segments.insert(beyond->m_Segments.end(), at + 1, m_Segments.end());
    at->x2 = point.x;
    at->y2 = point.y;
    m_Segments.erase(at + 1, m_Segments.end());
    beyond->m_Start.point = point;
    beyond->m_End = m_End;
    m_End = End{nullptr, CString(), point, END_NONE};
    if (CGraphObject* far = beyond->m_End.object)
    {
        if (far->GetType() == FBD_PIN)
            static_cast<CGraphPin*>(far)->SetConnection(beyond);
        else if (far->GetType() == FBD_CROSS)
            static_cast<CCrossConnection*>(far)->ReplaceConnection(this, beyond);
    }
    CleanUp();
    Validate();
    beyond->CleanUp();
    beyond->Validate();
    return beyond;
}

bool CConnection::InheritEnd(const CGraphObject* ownNear, CConnection& other, const CGraphObject* otherNear)
{
    if (&other == this)
        return false;
    if (m_Start.object == ownNear && ownNear)
        SwapEnds();
    if (other.m_End.object == otherNear && otherNear)
        other.SwapEnds();
    if (m_End.object != ownNear || other.m_Start.object != otherNear)
        return false;
    AddPath(m_End.point, other.m_Start.point);
    m_Segments.insert(m_Segments.end(), other.m_Segments.begin(), other.m_Segments.end());
    m_End = other.m_End;
    other.m_End = End{nullptr, CString(), other.m_End.point, END_NONE};
    if (CGraphObject* far = m_End.object)
    {
        if (far->GetType() == FBD_PIN)
            static_cast<CGraphPin*>(far)->SetConnection(this);
        else if (far->GetType() == FBD_CROSS)
            static_cast<CCrossConnection*>(far)->ReplaceConnection(&other, this);
    }
    CleanUp();
    Validate();
    return true;
}
