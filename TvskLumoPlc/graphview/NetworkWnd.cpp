#include "NetworkWnd.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>
#include <TvskLumoPlc/graphui/FontTextMetrics.h>
#include <TvskLumoPlc/graphui/GraphBitmap.h>
#include <TvskLumoPlc/graphui/GraphPainter.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <ui/Dc.h>
#include <ui/Gdi.h>

#include <algorithm>
#include <map>

namespace
{
CPoint WirePointMax(const CConnection* wire)
{
    CPoint most(0, 0);
    for (const GraphSegment& s : wire->GetSegments())
    {
        most.x = std::max({most.x, s.x1, s.x2});
        most.y = std::max({most.y, s.y1, s.y2});
    }
    return most;
}
} // namespace

// ---- object window ----

BOOL CNetworkObj::Create(CNetworkWnd* network)
{
    m_pNetwork = network;
    m_pManager = network ? network->GetManager() : nullptr;
    m_pFace = network ? network->GetFace() : nullptr;
    if (!m_pManager || !m_pFace)
    {
        ProgramError("NetworkObj", __LINE__, "no manager or face");
        return FALSE;
    }
    m_pBodies = std::make_unique<CElementBodyCache>(*m_pManager, m_pFace->GetFonts());
    CRect client;
    network->GetClientRect(&client);
    client.left = network->GetHeaderRect().right;
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, network, ChildId);
}

CPoint CNetworkObj::ToScreen(CPoint point) const
{
    ClientToScreen(&point);
    return point;
}

CPoint CNetworkObj::SnapToGrid(CPoint screen) const
{
    if (!m_pManager)
    {
        ProgramError("NetworkObj", __LINE__, "no face");
        return {-1, -1};
    }
    CPoint point = screen;
    ScreenToClient(&point);
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    const int column = point.x >= 0 ? point.x / cx : (point.x - cx + 1) / cx;
    const int row = point.y >= 0 ? point.y / cy : (point.y - cy + 1) / cy;
    CPoint cell(column + (point.x - column * cx >= cx / 2 ? 1 : 0),
                row + (point.y - row * cy >= cy / 2 ? 1 : 0));
    cell.x = std::max(0, cell.x);
    return cell;
}

int CNetworkObj::GetMaxColumn() const
{
    int column = 0;
    if (const CGraphObjArray* elements = m_pManager ? m_pManager->GetElements(m_pNetwork) : nullptr)
        for (CGraphBlock* element : *elements)
            column = std::max(column, element->GetRightX());
    if (const CConnectionList* wires = m_pManager ? m_pManager->GetWires(m_pNetwork) : nullptr)
        for (CConnection* wire : *wires)
            column = std::max(column, WirePointMax(wire).x);
    return column;
}

int CNetworkObj::GetRowCount() const
{
    CRect client;
    GetClientRect(&client);
    return m_pManager ? client.Height() / std::max(1, m_pManager->GetStepY()) : 0;
}

void CNetworkObj::PaintBackground(CDC* dc, const CRect& area)
{
    CGraphBitmap* grid = m_pFace ? m_pFace->GetGridPattern() : nullptr;
    if (!m_pManager->IsGridShown() || !grid || !grid->IsCreated())
    {
        dc->FillSolidRect(&area, m_pManager->GetColor(BkgndColor));
        return;
    }
    const CSize tile = grid->GetSize();
    if (tile.cx <= 0 || tile.cy <= 0)
        return;
    const QImage& image = grid->GetBitmap().GetImage();
    for (int y = area.top / tile.cy * tile.cy; y < area.bottom; y += tile.cy)
        for (int x = area.left / tile.cx * tile.cx; x < area.right; x += tile.cx)
            dc->DrawImage(x, y, tile.cx, tile.cy, image);
}

BOOL CNetworkObj::OnEraseBkgnd(CDC*)
{
    return TRUE; // painting covers the whole area
}

void CNetworkObj::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pManager)
        return;
    PaintBackground(&dc, CRect(dc.m_ps_rcPaint));
    CGraphPainter painter(&dc, *m_pManager, m_pFace->GetFonts());
    painter.DrawNetwork(m_pNetwork, m_pBodies.get());
    DrawWiringFeedback(&dc);
}

void CNetworkObj::DrawWiringFeedback(CDC* dc)
{
    CPoint marker;
    std::vector<CPoint> path;
    if (!m_pFace->GetWiringFeedback(m_pNetwork, marker, path))
        return;
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    CPen pen(PS_SOLID, 1, m_pManager->GetColor(ConnectColor));
    CPen* old = dc->SelectObject(&pen);
    for (size_t i = 0; i < path.size(); ++i)
        if (i == 0)
            dc->MoveTo(path[i].x * cx, path[i].y * cy);
        else
            dc->LineTo(path[i].x * cx, path[i].y * cy);
    dc->SelectObject(old);
    if (marker.x >= 0)
        dc->FillSolidRect(marker.x * cx - MarkerSize / 2, marker.y * cy - MarkerSize / 2, MarkerSize,
                          MarkerSize, MarkerColor);
}

CRect CNetworkObj::MarkerRect(CPoint cell) const
{
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    return {cell.x * cx - MarkerSize / 2, cell.y * cy - MarkerSize / 2, cell.x * cx + MarkerSize / 2,
            cell.y * cy + MarkerSize / 2};
}

void CNetworkObj::DrawAll(CDC* dc, CGraphManager* face) const
{
    if (!face || !m_pManager)
        return;
    CGraphPainter painter(dc, *face, m_pFace->GetFonts());
    painter.DrawNetwork(m_pNetwork);
}

void CNetworkObj::OnLButtonDown(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.y >= client.bottom - CNetworkWnd::BorderPixels)
        m_pFace->OnNetworkResize(m_pNetwork, ToScreen(point));
    else
        m_pFace->OnNetworkLButtonDown(m_pNetwork, flags, ToScreen(point));
}

void CNetworkObj::OnLButtonUp(UINT, CPoint point)
{
    m_pFace->OnNetworkLButtonUp(m_pNetwork, ToScreen(point));
}

void CNetworkObj::OnLButtonDblClk(UINT, CPoint point)
{
    m_pFace->OnNetworkDblClk(m_pNetwork, ToScreen(point));
}

void CNetworkObj::OnMouseMove(UINT flags, CPoint point)
{
    m_pFace->OnNetworkMouseMove(m_pNetwork, flags, ToScreen(point));
}

void CNetworkObj::OnKeyDown(UINT key, UINT, UINT)
{
    m_pFace->OnNetworkKeyDown(m_pNetwork, key);
}

void CNetworkObj::PlaceHitWnd(CGraphBlock* element)
{
    if (!GetSafeHwnd() || !element)
        return;
    auto& hit = m_HitWnds[element];
    if (hit)
    {
        hit->Place();
        return;
    }
    hit = std::make_unique<CGraphHitWnd>();
    if (!hit->Create(this, element, this))
        m_HitWnds.erase(element);
}

void CNetworkObj::RemoveHitWnd(const CGraphBlock* element)
{
    m_HitWnds.erase(element);
}

CGraphHitWnd* CNetworkObj::GetHitWnd(const CGraphBlock* element) const
{
    const auto found = m_HitWnds.find(element);
    return found == m_HitWnds.end() ? nullptr : found->second.get();
}

CPoint CNetworkObj::ElementToScreen(const CGraphBlock* element, int x, int y) const
{
    const CRect& window = element->GetWindowRect();
    return ToScreen(CPoint(x + window.left, y + window.top));
}

void CNetworkObj::OnElementButtonDown(CGraphBlock* element, int x, int y)
{
    m_pFace->OnNetworkLButtonDown(m_pNetwork, MK_LBUTTON, ElementToScreen(element, x, y));
}

void CNetworkObj::OnElementButtonUp(CPoint screen)
{
    m_pFace->OnNetworkLButtonUp(m_pNetwork, screen);
}

// A constant is edited in place; other elements go to the face.
void CNetworkObj::OnElementDblClk(CGraphBlock* element, CPoint point)
{
    CGraphHitWnd* hit = GetHitWnd(element);
    if (element->GetType() == FBD_CONST && hit && m_pFace->GetFonts())
        hit->OpenEditor(m_pFace->GetFonts()->GetFont(false));
    else
        m_pFace->OnNetworkDblClk(m_pNetwork, ElementToScreen(element, point.x, point.y));
}

void CNetworkObj::OnElementContextMenu(CGraphBlock* element, CPoint screen)
{
    m_pFace->OnNetworkContextMenu(m_pNetwork, element, screen);
}

bool CNetworkObj::OnElementSetCursor(CGraphBlock* element, CGraphPin* pin)
{
    return m_pFace->OnElementSetCursor(m_pNetwork, element, pin);
}

LRESULT CNetworkObj::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU && m_pFace)
    {
        m_pFace->OnNetworkContextMenu(m_pNetwork, nullptr,
                                      CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 1; // answered: the dialog's window menu does not follow
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CNetworkObj::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    if (point.y >= client.bottom - CNetworkWnd::BorderPixels)
    {
        SetCursor(LoadCursor(nullptr, IDC_SIZENS));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

// ---- network window ----

CNetworkWnd::CNetworkWnd(CNetworkFace* face, CGraphManager* manager) : m_pFace(face), m_pManager(manager) {}

CNetworkWnd::~CNetworkWnd()
{
    if (m_Obj.GetSafeHwnd())
        m_Obj.DestroyWindow();
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CNetworkWnd::Create(CWnd* parent, UINT childId, int width, int height, bool first, bool second)
{
    if (!parent || !m_pFace || !m_pManager)
    {
        ProgramError("NetworkWnd", __LINE__, "no parent, face or manager");
        return false;
    }
    m_nCellX = std::max(1, m_pManager->GetStepX());
    m_nCellY = std::max(1, m_pManager->GetStepY());
    m_nWidth = width > 0 ? width : CGraphManager::DefaultNetworkWidth;
    m_nHeight = std::max(MinRows, height);
    m_bHeader = second ? 1 : 0;
    const CRect rect(0, 0, m_nWidth * m_nCellX, m_nHeight * m_nCellY);
    const DWORD style = WS_CHILD | WS_BORDER | (first ? WS_VISIBLE : 0);
    if (!CWnd::Create(nullptr, nullptr, style, rect, parent, childId))
        return false;
    m_rcHeader = m_bHeader ? CRect(0, 0, HeaderCells * m_nCellX, rect.Height()) : CRect();
    if (!m_Obj.Create(this))
        return false;
    Layout();
    return true;
}

void CNetworkWnd::Layout()
{
    m_nCellX = std::max(1, m_pManager->GetStepX());
    m_nCellY = std::max(1, m_pManager->GetStepY());
    CRect window;
    GetWindowRect(&window);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&window);
    const int width = window.Width() > 0 ? window.Width() : m_nWidth * m_nCellX;
    MoveWindow(window.left, window.top, width, m_nHeight * m_nCellY, TRUE);
    m_rcHeader = m_bHeader ? CRect(0, 0, HeaderCells * m_nCellX, m_nHeight * m_nCellY) : CRect();
    if (m_Obj.GetSafeHwnd())
        m_Obj.MoveWindow(m_rcHeader.right, 0, std::max(0, width - m_rcHeader.right), m_nHeight * m_nCellY,
                         TRUE);
    DrawHeader();
    Invalidate();
    if (CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
            element->Invalidate();
}

void CNetworkWnd::SetNumber(int number, bool redraw)
{
    m_nNumber = number;
    if (redraw && GetSafeHwnd())
        Layout();
}

CString CNetworkWnd::GetHeaderText() const
{
    CString text;
    text.Format("%04d", m_nNumber);
    return text;
}

void CNetworkWnd::SetComment(const char* comment)
{
    if (CGraphBlock* label = m_pManager->FirstLabel(this))
        label->SetName(comment ? comment : "");
    m_strComment = comment ? comment : "";
    if (GetSafeHwnd())
        Invalidate();
}

void CNetworkWnd::SetSize(int width, int height)
{
    m_nWidth = width;
    m_nHeight = std::max(MinRows, height);
    if (GetSafeHwnd())
        Layout();
}

void CNetworkWnd::GetNeededSize(CSize& size) const
{
    size.cx = std::max(0L, static_cast<long>(size.cx));
    int lowest = 0;
    if (const CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
            lowest = std::max(lowest, element->GetPosition().y + element->GetHeightRows());
    if (const CConnectionList* wires = m_pManager->GetWires(this))
        for (CConnection* wire : *wires)
            lowest = std::max(lowest, static_cast<int>(WirePointMax(wire).y));
    size.cy = std::max(static_cast<int>(size.cy), lowest + 1);
}

CSize CNetworkWnd::GetExtent() const
{
    CSize extent(0, 0);
    if (const CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
        {
            const CRect rect = element->GetWindowRect();
            extent.cx = std::max(extent.cx, rect.right);
            extent.cy = std::max(extent.cy, rect.bottom);
        }
    if (const CConnectionList* wires = m_pManager->GetWires(this))
        for (CConnection* wire : *wires)
        {
            const CPoint most = WirePointMax(wire);
            extent.cx = std::max<long>(extent.cx, most.x * m_nCellX);
            extent.cy = std::max<long>(extent.cy, most.y * m_nCellY);
        }
    if (const CCrossList* crosses = m_pManager->GetCrosses(this))
        for (CCrossConnection* cross : *crosses)
        {
            extent.cx = std::max<long>(extent.cx, cross->GetPosition().x * m_nCellX);
            extent.cy = std::max<long>(extent.cy, cross->GetPosition().y * m_nCellY);
        }
    return extent;
}

void CNetworkWnd::OffsetObjects(int dx, int dy)
{
    if (CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
            if (element->GetType() != FBD_LABEL)
                element->MoveTo(element->GetPosition().x + dx, element->GetPosition().y + dy);
    if (CConnectionList* wires = m_pManager->GetWires(this))
        for (CConnection* wire : *wires)
            wire->Offset(dx, dy);
    if (CCrossList* crosses = m_pManager->GetCrosses(this))
        for (CCrossConnection* cross : *crosses)
            cross->SetPosition(cross->GetPosition().x + dx, cross->GetPosition().y + dy);
    if (m_Obj.GetSafeHwnd())
        m_Obj.Invalidate();
}

void CNetworkWnd::SetSelected(bool selected)
{
    if ((m_bSelected != 0) == selected && !m_bCurrent)
        return;
    m_bSelected = selected ? 1 : 0;
    m_bCurrent = 0;
    DrawHeader();
}

void CNetworkWnd::SetCurrent(bool current, const CRect* rect)
{
    m_bCurrent = current ? 1 : 0;
    DrawHeader();
    if (m_Obj.GetSafeHwnd())
        m_Obj.InvalidateRect(rect);
}

void CNetworkWnd::SetMark(bool mark)
{
    m_bMark = mark ? 1 : 0;
    DrawHeader();
}

void CNetworkWnd::SetMarker(bool on, int number)
{
    m_bMarker = on ? 1 : 0;
    m_nMarker = number;
    DrawHeader();
    if (m_Obj.GetSafeHwnd())
        m_Obj.Invalidate();
}

void CNetworkWnd::DrawHeader()
{
    if (!GetSafeHwnd() || m_rcHeader.IsRectEmpty())
        return;
    const CRect area(0, 0, m_rcHeader.Width(), m_rcHeader.Height());
    if (!m_Header.IsCreated() || m_Header.GetImage().width() != area.Width() ||
        m_Header.GetImage().height() != area.Height())
        m_Header.CreateBitmap(area.Width(), area.Height());
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&m_Header);
    COLORREF fill = m_pManager->GetColor(BkgndColor);
    COLORREF text = m_pManager->GetColor(TextColor);
    if (m_bMark)
    {
        fill = m_bMarker
                   ? m_pManager->GetColor(TriggerColor)
                   : (IsSelected() ? m_pManager->GetColor(SelectionColor) : m_pManager->GetColor(ObjColor));
        text = m_pManager->GetColor(SelTextColor);
    }
    dc.FillSolidRect(&area, fill);
    CRect edge = area;
    dc.DrawEdge(&edge, IsActive() ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_RIGHT);
    CFontTextMetrics* fonts = m_pFace->GetFonts();
    if (fonts)
        dc.SelectObject(fonts->GetFont(false));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(text);
    CRect top(area.left, 2, area.right, 2 + m_nCellY);
    dc.DrawText(GetHeaderText(), &top, DT_CENTER | DT_SINGLELINE);
    if (m_bMarker)
    {
        const int diameter = area.Width() / 2;
        const CPoint middle = area.CenterPoint();
        CRect circle(middle.x - diameter / 2, middle.y - diameter / 2, middle.x + diameter / 2,
                     middle.y + diameter / 2);
        dc.Ellipse(&circle);
        CString number;
        number.Format("%d", m_nMarker);
        dc.DrawText(number, &circle, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(old);
    CWnd::InvalidateRect(&m_rcHeader, FALSE);
}

void CNetworkWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_Header.IsCreated() && !m_rcHeader.IsRectEmpty())
        dc.DrawImage(m_rcHeader.left, m_rcHeader.top, m_rcHeader.Width(), m_rcHeader.Height(),
                     m_Header.GetImage());
}

bool CNetworkWnd::IsOnBottomBorder(CPoint client) const
{
    CRect rect;
    GetClientRect(&rect);
    return client.y >= rect.bottom - BorderPixels;
}

void CNetworkWnd::OnLButtonDown(UINT, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (IsOnBottomBorder(point))
        m_pFace->OnNetworkResize(this, screen);
    else if (m_rcHeader.PtInRect(point))
        m_pFace->OnHeaderClick(this, screen);
}

void CNetworkWnd::OnLButtonDblClk(UINT, CPoint point)
{
    if (!m_rcHeader.PtInRect(point))
        return;
    ClientToScreen(&point);
    m_pFace->OnHeaderDblClk(this, point);
}

BOOL CNetworkWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    if (IsOnBottomBorder(point))
    {
        SetCursor(LoadCursor(nullptr, IDC_SIZENS));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

LRESULT CNetworkWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NETWORK_SETCOMMENT)
    {
        SetComment(reinterpret_cast<const char*>(lParam));
        return 0;
    }
    if (message == WM_CONTEXTMENU)
    {
        const CPoint screen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        CPoint client = screen;
        ScreenToClient(&client);
        if (!m_rcHeader.PtInRect(client))
            return 0;
        m_pFace->OnHeaderMenu(this, screen);
        return 1; // answered: the dialog's window menu does not follow
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CNetworkWnd::InvalidateRect(const CRect& rect)
{
    if (m_Obj.GetSafeHwnd())
        m_Obj.CWnd::InvalidateRect(&rect, FALSE);
}

void CNetworkWnd::OnElementPlaced(CGraphBlock* element)
{
    if (!m_Obj.GetSafeHwnd() || !element)
        return;
    m_Obj.CWnd::InvalidateRect(&element->GetWindowRect(), FALSE);
    m_Obj.PlaceHitWnd(element);
}

void CNetworkWnd::OnElementRemoved(CGraphBlock* element)
{
    m_Obj.RemoveHitWnd(element);
    if (CElementBodyCache* bodies = m_Obj.GetBodyCache())
        bodies->Forget(element);
}

void CNetworkWnd::CollectWatchNames(CStringArray& names) const
{
    const CGraphObjArray* elements = m_pManager->GetElements(this);
    if (!elements)
        return;
    for (CGraphBlock* element : *elements)
    {
        if (element->GetType() != FBD_LD_CONTACT || element->GetName().IsEmpty())
            continue;
        bool listed = false;
        for (int i = 0; i < names.GetSize() && !listed; ++i)
            listed = names[i] == element->GetName();
        if (!listed)
            names.Add(element->GetName());
    }
}

void CNetworkWnd::BuildAnimationMap(CPlcLDNetwork* network)
{
    std::vector<CGraphObject*> objects;
    if (const CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
        {
            const int type = element->GetType();
            if ((type == FBD_LD_POWER_RAIL || type == FBD_LD_CONTACT || type == FBD_LD_COIL) &&
                element->GetModelObject())
                objects.push_back(element);
        }
    if (const CCrossList* crosses = m_pManager->GetCrosses(this))
        for (CCrossConnection* cross : *crosses)
            if (cross->GetModelObject())
                objects.push_back(cross);
    if (const CConnectionList* wires = m_pManager->GetWires(this))
        for (CConnection* wire : *wires)
            if (wire->GetModelObject())
                objects.push_back(wire);
    m_Map.Clear();
    if (objects.empty() || !network || network->m_nType != FBD_LD_NETWORK)
        return;
    m_Map.Init(static_cast<int>(objects.size()));
    for (CGraphObject* object : objects)
        m_Map.Add(object->GetModelObject(), object);
    m_Map.Link();
}

CGraphBlock* CNetworkWnd::FindNeighbour(const CGraphBlock* element, int direction) const
{
    const CGraphObjArray* elements = m_pManager->GetElements(this);
    if (!element || !elements || direction < 0 || direction > 3)
        return nullptr;
    std::map<std::pair<int, int>, CGraphBlock*> at;
    int columns = 0;
    int rows = 0;
    for (CGraphBlock* other : *elements)
    {
        const CPoint p = other->GetPosition();
        at.emplace(std::make_pair(p.x, p.y), other);
        columns = std::max(columns, static_cast<int>(p.x) + 1);
        rows = std::max(rows, static_cast<int>(p.y) + 1);
    }
    auto found = [&](int x, int y) -> CGraphBlock*
    {
        auto it = at.find({x, y});
        return it != at.end() && it->second != element ? it->second : nullptr;
    };
    const CPoint from = element->GetPosition();
    switch (direction)
    {
    case 0: // left along the row, then the rows above from the right
        for (int y = from.y; y >= 0; --y)
            for (int x = y == from.y ? from.x - 1 : columns - 1; x >= 0; --x)
                if (CGraphBlock* hit = found(x, y))
                    return hit;
        break;
    case 1: // up along the column, then the columns to the left from the bottom
        for (int x = from.x; x >= 0; --x)
            for (int y = x == from.x ? from.y - 1 : rows - 1; y >= 0; --y)
                if (CGraphBlock* hit = found(x, y))
                    return hit;
        break;
    case 2: // right along the row, then the rows below from the left
        for (int y = from.y; y < rows; ++y)
            for (int x = y == from.y ? from.x + 1 : 0; x < columns; ++x)
                if (CGraphBlock* hit = found(x, y))
                    return hit;
        break;
    default: // down along the column, then the columns to the right from the top
        for (int x = from.x; x < columns; ++x)
            for (int y = x == from.x ? from.y + 1 : 0; y < rows; ++y)
                if (CGraphBlock* hit = found(x, y))
                    return hit;
        break;
    }
    return nullptr;
}

CGraphBlock* CNetworkWnd::FirstElementAt() const
{
    CGraphBlock* first = nullptr;
    if (const CGraphObjArray* elements = m_pManager->GetElements(this))
        for (CGraphBlock* element : *elements)
        {
            const CPoint p = element->GetPosition();
            if (element->GetType() == FBD_LABEL || (p.x == 0 && p.y == 0))
                continue;
            if (!first || p.y < first->GetPosition().y ||
                (p.y == first->GetPosition().y && p.x < first->GetPosition().x))
                first = element;
        }
    return first;
}
