#include "GraphView.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <TvskLumoPlc/textview/WidgetEventWatch.h>
#include <TvskLumoPlc/graphui/GraphTrackers.h>

#include <ui/App.h>
#include <ui/Gdi.h>
#include <ui/Dc.h>
#include <ui/RectTracker.h>

#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNCREATE(CGraphView, CScrollView)

namespace
{
CPoint Offset(CPoint to, CPoint from)
{
    return {to.x - from.x, to.y - from.y};
}

// The single selection other than a wire or cross, or null.
CGraphBlock* SingleElement(CGraphManager* manager)
{
    if (!manager || manager->GetSelection().size() != 1)
        return nullptr;
    CGraphObject* object = manager->GetSelection().front();
    if (object->GetType() == FBD_CONNECTION || object->GetType() == FBD_CROSS)
        return nullptr;
    return static_cast<CGraphBlock*>(object);
}
} // namespace

CGraphView::CGraphView() = default;

CGraphView::~CGraphView()
{
    // Without a document the manager may have gone with it.
    if (m_pDocument)
        ForgetManager();
}

void CGraphView::ForgetManager()
{
    if (m_pManager && m_pManager->GetOwner() == this)
        m_pManager->SetOwner(nullptr);
    m_pManager = nullptr;
    m_pFonts = nullptr;
}

void CGraphView::PostNcDestroy()
{
    // Leaving the document may delete it, and the manager it owns with it.
    ForgetManager();
    CScrollView::PostNcDestroy();
}

int CGraphView::OnCreate(CREATESTRUCT* createStruct)
{
    if (CScrollView::OnCreate(createStruct) == -1)
        return -1;
    CGraphDoc* doc = GetGraphDoc();
    m_pManager = doc ? doc->GetManager() : nullptr;
    if (!m_pManager)
    {
        ProgramError("GraphView", __LINE__, "the document has no manager");
        return -1;
    }
    m_pManager->SetOwner(this);
    m_pManager->UseWindowColor(GetSysColor(COLOR_WINDOW));
    m_pPaletteWatch = std::make_unique<CWidgetEventWatch>(GetWidget(), QEvent::PaletteChange,
                                                          [this] { OnSysColorChange(); });
    m_pDeactivateWatch = std::make_unique<CWidgetEventWatch>(GetWidget(), QEvent::WindowDeactivate,
                                                             [this] { OnDeactivate(); });
    auto fonts = std::make_unique<CFontTextMetrics>();
    m_pFonts = fonts.get();
    m_pManager->SetTextMetrics(std::move(fonts));
    m_pManager->SetFont(m_pManager->GetFontSize(), m_pManager->GetFontName());
    SetScrollSizes(MM_TEXT, CSize(1, 1));
    return 0;
}

void CGraphView::OnInitialUpdate()
{
    if (!m_pManager)
        return;
    BuildGridBrush(*m_pManager, m_Grid);
    SetScrollExtent();
    UpdateScrollSizes();
    LayoutNetworks();
    ScrollToPosition(CPoint(0, 0));
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetModifiedFlag(FALSE);
}

CNetworkWnd* CGraphView::NetworkAt(int i) const
{
    return m_pManager ? static_cast<CNetworkWnd*>(m_pManager->GetNetwork(i)) : nullptr;
}

CGraphNetworkIntf* CGraphView::NewNetworkWindow()
{
    return new CNetworkWnd(this, m_pManager);
}

void CGraphView::OnNetworkPlaced(CGraphNetworkIntf*, int)
{
    Renumber();
}

void CGraphView::OnNetworkChanged(CGraphNetworkIntf* network)
{
    if (auto* window = static_cast<CNetworkWnd*>(network); window && window->GetSafeHwnd())
        window->GetObjectWnd()->Invalidate(FALSE);
}

void CGraphView::Renumber()
{
    if (!m_pManager)
        return;
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
        if (CNetworkWnd* network = NetworkAt(i); network->GetNumber() != i + 1)
            network->SetNumber(i + 1, true);
}

void CGraphView::LayoutNetworks()
{
    if (!m_pManager || !GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const CPoint scroll = GetDeviceScrollPosition();
    int y = -scroll.y;
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
    {
        CNetworkWnd* network = NetworkAt(i);
        CRect window;
        network->GetWindowRect(&window);
        network->MoveWindow(-scroll.x, y, client.Width(), window.Height(), TRUE);
        y += window.Height() - 1;
    }
    m_nStackHeight = y + scroll.y;
    Invalidate(FALSE);
}

int CGraphView::NetworkOffset(const CNetworkWnd* network) const
{
    int offset = 0;
    for (int i = 0; m_pManager && i < m_pManager->GetNetworkCount(); ++i)
    {
        CNetworkWnd* other = NetworkAt(i);
        if (other == network)
            break;
        CRect window;
        other->GetWindowRect(&window);
        offset += window.Height() - 1;
    }
    return offset;
}

void CGraphView::UpdateScrollSizes()
{
    if (!m_pManager || m_pManager->GetNetworkCount() == 0)
    {
        SetScrollSizes(MM_TEXT, CSize(10, 10));
        return;
    }
    int height = 0;
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
    {
        CRect window;
        NetworkAt(i)->GetWindowRect(&window);
        height += window.Height();
    }
    SetScrollSizes(MM_TEXT, CSize(ScrollCells * std::max(1, m_pManager->GetStepX()), height + ScrollMargin));
}

void CGraphView::SetScrollExtent()
{
    if (!m_pManager)
        return;
    CRect client;
    GetClientRect(&client);
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    SetScrollSizes(MM_TEXT, CSize(100 * cx + client.Width() % cx, 100 * cy + client.Height() % cy));
}

CPoint CGraphView::CellAt(CNetworkWnd* network, CPoint screen) const
{
    if (!network && m_pManager)
        network = static_cast<CNetworkWnd*>(m_pManager->GetCurrentNetwork());
    if (!network)
        return {-1, -1};
    return network->GetObjectWnd()->SnapToGrid(screen);
}

void CGraphView::RebuildFromList(CPlcFBDCode* code)
{
    auto* ladder = dynamic_cast<CLDManager*>(m_pManager);
    if (!ladder || IsReadOnly())
        return;
    const CPoint scroll = GetDeviceScrollPosition();
    SetRedraw(FALSE);
    EndInput();
    ladder->ClearSelection();
    ladder->RemoveAllNetworks();
    if (code)
        for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
            ladder->CreateNetworkFromObject(network, this);
    Renumber();
    UpdateScrollSizes();
    ScrollToPosition(scroll);
    LayoutNetworks();
    SetRedraw(TRUE);
    Invalidate();
}

void CGraphView::ResizeNetwork(CNetworkWnd* network, int heightPixels, bool markModified)
{
    if (!network || !m_pManager)
        return;
    const int cy = std::max(1, m_pManager->GetStepY());
    network->SetSize(ScrollCells, std::max(CNetworkWnd::MinRows, (heightPixels + cy / 2) / cy));
    LayoutNetworks();
    UpdateScrollSizes();
    if (CGraphDoc* doc = GetGraphDoc(); doc && markModified)
        doc->SetModifiedFlag(TRUE);
}

void CGraphView::OnNetworkResize(CNetworkWnd* network, CPoint screen)
{
    if (IsReadOnly())
        return;
    CRect window;
    network->GetWindowRect(&window);
    ScreenToClient(&window);
    CPoint point = screen;
    ScreenToClient(&point);
    CRectTracker tracker(&window);
    tracker.m_sizeMin = CSize(1, CNetworkWnd::MinRows * std::max(1, m_pManager->GetStepY()));
    if (tracker.Track(this, CPoint(point.x, window.bottom)))
        ResizeNetwork(network, tracker.m_rect.Height(), true);
}

void CGraphView::SetMode(int mode)
{
    if (mode == m_nMode)
        return;
    m_nPreviousMode = m_nMode;
    m_nMode = mode;
    EndWiring();
    if (m_nPreviousMode == MODE_WIRING)
        MoveMarker(nullptr, CPoint(-1, -1));
    if (m_pManager && mode != MODE_NORMAL)
        m_pManager->ClearSelection();
    SetCursor(LoadCursor(nullptr, mode == MODE_NORMAL ? IDC_ARROW : IDC_CROSS));
}

bool CGraphView::IsWireEnd(CNetworkWnd* network, CPoint cell) const
{
    GRAPH_HIT hit;
    if (!m_pManager || !m_pManager->HitTest(network, cell.x, cell.y, hit) || !hit.object)
        return false;
    if (hit.object->GetType() == FBD_PIN)
        return static_cast<CGraphPin*>(hit.object)->GetConnection() == nullptr;
    if (hit.object->GetType() == FBD_CROSS)
        return static_cast<CCrossConnection*>(hit.object)->GetArmCount() < CCrossConnection::ArmCount;
    return false;
}

void CGraphView::ApplyFont(int size, const char* face)
{
    if (!m_pManager)
        return;
    m_pManager->SetFont(size, face);
    BuildGridBrush(*m_pManager, m_Grid);
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
        NetworkAt(i)->Layout();
    LayoutNetworks();
    UpdateScrollSizes();
}

void CGraphView::SendStatusText(const CString& text)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_GRAPH_STATUSTEXT, 0, reinterpret_cast<LPARAM>(text.GetString()));
}

void CGraphView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case HINT_REBUILD:
        RebuildFromList(reinterpret_cast<CPlcFBDCode*>(hintObject));
        break;
    case HINT_OBJECT:
        if (!IsReadOnly() && hintObject)
            if (auto* network = dynamic_cast<CNetworkWnd*>(reinterpret_cast<CGraphNetworkIntf*>(hintObject)))
                network->GetObjectWnd()->Invalidate(FALSE);
        break;
    case HINT_RECT_SELECTED:
        if (auto* current = static_cast<CNetworkWnd*>(m_pManager ? m_pManager->GetCurrentNetwork() : nullptr))
            current->GetObjectWnd()->Invalidate(FALSE);
        break;
    case HINT_READONLY_CHANGED:
        m_bReadOnly = hintObject ? *reinterpret_cast<BYTE*>(hintObject) : 0;
        EndCapture();
        EndWiring();
        break;
    case HINT_CURRENT_NETWORK:
        break;
    default:
        CScrollView::OnUpdate(sender, hint, hintObject);
        break;
    }
}

LRESULT CGraphView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GRAPH_DELETE)
    {
        DeleteSelection();
        return 0;
    }
    return CScrollView::WindowProc(message, wParam, lParam);
}

BOOL CGraphView::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (!cmdUI)
        if (CGraphDoc* doc = GetGraphDoc(); doc && doc->OnCommand(id))
            return TRUE;
    return CScrollView::OnCmdMsg(id, code, cmdUI);
}

void CGraphView::OnSize(UINT type, int cx, int cy)
{
    CScrollView::OnSize(type, cx, cy);
    LayoutNetworks();
}

CGraphObject* CGraphView::GetHighlighted() const
{
    if (!m_pManager || m_pManager->GetSelection().size() != 1)
        return nullptr;
    CGraphObject* object = m_pManager->GetSelection().front();
    return object->GetType() == FBD_CROSS || object->GetType() == FBD_CONNECTION ? object : nullptr;
}

bool CGraphView::PickAt(CNetworkWnd* network, CPoint cell)
{
    if (m_nMode == MODE_PLACE || m_nMode == MODE_PLACE_AGAIN)
    {
        PlaceAt(network, cell);
        if (m_nMode == MODE_PLACE)
            SetMode(m_nPreviousMode == MODE_PLACE_AGAIN ? MODE_NORMAL : m_nPreviousMode);
        return true;
    }
    GRAPH_HIT hit;
    CGraphObject* object = m_pManager->HitTest(network, cell.x, cell.y, hit) ? hit.object : nullptr;
    if (object && object->GetType() != FBD_CROSS && object->GetType() != FBD_CONNECTION)
        object = nullptr;
    SelectOnly(object); // a selected cross or wire is drawn highlighted (draw state 3)
    return object != nullptr;
}

bool CGraphView::PressOnHighlighted(CNetworkWnd* network, CPoint cell, CPoint point)
{
    CGraphObject* highlighted = GetHighlighted();
    if (!highlighted || highlighted->GetNetwork() != network)
        return false;
    if (highlighted->GetType() == FBD_CROSS)
    {
        if (highlighted->GetPosition() != cell || !IsWireEnd(network, cell))
            return false;
        SetMode(MODE_WIRING);
        WireAt(network, cell);
        return true;
    }
    auto* wire = static_cast<CConnection*>(highlighted);
    const std::vector<GraphSegment>& segments = wire->GetSegments();
    for (size_t i = 0; i < segments.size(); ++i)
    {
        const GraphSegment& segment = segments[i];
        if (segment.IsEmpty() || !segment.Holds(cell.x, cell.y))
            continue;
        const CSize step = network->GetCellSize();
        CSegmentTracker tracker(CPoint(segment.x1 * step.cx, segment.y1 * step.cy),
                                CPoint(segment.x2 * step.cx, segment.y2 * step.cy));
        if (tracker.Track(network->GetObjectWnd(), point, segment.IsHorizontal() ? step.cy : step.cx))
        {
            wire->Invalidate();
            wire->MoveSegment(static_cast<int>(i), tracker.GetOffset().cx, tracker.GetOffset().cy);
            wire->Validate();
            network->GetObjectWnd()->Invalidate(FALSE);
            if (CGraphDoc* doc = GetGraphDoc())
                doc->SetModifiedFlag(TRUE);
        }
        return true;
    }
    return false;
}

void CGraphView::DragFromPin(CNetworkWnd* network, CGraphPin* pin, CPoint point)
{
    const CSize step = network->GetCellSize();
    const CPoint from = pin->GetPosition();
    CPointTracker tracker(CPoint(from.x * step.cx, from.y * step.cy));
    if (!tracker.Track(network->GetObjectWnd(), point, std::max<LONG>(1, step.cx)))
    {
        // A click without a move: the tracker took the release; the element is selected.
        SelectOnly(pin->GetElement());
        network->GetObjectWnd()->Invalidate(FALSE);
        return;
    }
    const CPoint to(from.x + tracker.GetOffset().cx, from.y + tracker.GetOffset().cy);
    GRAPH_HIT hit;
    if (!IsWireEnd(network, to) || !m_pManager->HitTest(network, to.x, to.y, hit) || hit.object == pin)
        return;
    auto* wire = new CConnection;
    CGraphDoc* doc = GetGraphDoc();
    if (!wire->Connect(pin, hit.object, true) || !doc || !doc->AddWire(network, wire))
    {
        delete wire;
        return;
    }
    network->GetObjectWnd()->Invalidate(FALSE);
    doc->SetModifiedFlag(TRUE);
}

void CGraphView::OnDeactivate()
{
    EndCapture();
    m_bMoved = 0;
    if (m_nMode == MODE_WIRING)
        SetMode(MODE_NORMAL);
}

void CGraphView::OnSysColorChange()
{
    if (!m_pManager)
        return;
    m_pManager->FollowWindowColor(GetSysColor(COLOR_WINDOW));
    Invalidate();
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
        NetworkAt(i)->GetObjectWnd()->Invalidate(FALSE);
}

BOOL CGraphView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CGraphView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int below = m_nStackHeight - GetDeviceScrollPosition().y;
    if (below < client.bottom && m_pManager)
        dc.FillSolidRect(0, std::max(0, below), client.Width(), client.bottom - std::max(0, below),
                         m_pManager->GetColor(BkgndColor));
}

BOOL CGraphView::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (flags & (MK_SHIFT | MK_CONTROL))
        return FALSE;
    const BOOL scrolled = CScrollView::OnMouseWheel(flags, delta, point);
    LayoutNetworks();
    return scrolled;
}

void CGraphView::OnHScroll(UINT code, UINT pos)
{
    CScrollView::OnHScroll(code, pos);
    LayoutNetworks();
}

void CGraphView::OnVScroll(UINT code, UINT pos)
{
    CScrollView::OnVScroll(code, pos);
    LayoutNetworks();
}

CGraphBlock* CGraphView::ElementAt(CNetworkWnd* network, CPoint screen) const
{
    CGraphObjArray* elements = m_pManager ? m_pManager->GetElements(network) : nullptr;
    if (!elements)
        return nullptr;
    CPoint point = screen;
    network->GetObjectWnd()->ScreenToClient(&point);
    for (CGraphBlock* element : *elements)
        if (element->IsVisible() && element->GetWindowRect().PtInRect(point))
            return element;
    return nullptr;
}

void CGraphView::SelectOnly(CGraphObject* object)
{
    m_pManager->ClearSelection();
    if (object)
        m_pManager->ToggleSelection(object, true);
}

void CGraphView::OnNetworkLButtonDown(CNetworkWnd* network, UINT, CPoint screen)
{
    CGraphDoc* doc = GetGraphDoc();
    if (!doc || !m_pManager)
        return;
    doc->SetCurrentNetwork(network);
    // The keys go to the network pressed.
    network->GetObjectWnd()->SetFocus();
    if (IsReadOnly())
        return;
    if (m_nMode == MODE_WIRING)
    {
        WireAt(network, CellAt(network, screen));
        return;
    }
    const CPoint cell = CellAt(network, screen);
    if (m_nMode == MODE_PLACE || m_nMode == MODE_PLACE_AGAIN)
    {
        PickAt(network, cell);
        return;
    }
    if (m_nMode != MODE_NORMAL)
        return;
    CPoint point = screen;
    network->GetObjectWnd()->ScreenToClient(&point);
    if (PressOnHighlighted(network, cell, point))
        return;
    CGraphBlock* element = ElementAt(network, screen);
    if (element)
        if (CGraphPin* pin = element->PinAtPixel(point); pin && !pin->GetConnection())
        {
            DragFromPin(network, pin, point);
            return;
        }
    if (!element)
    {
        const bool hit = PickAt(network, cell);
        network->GetObjectWnd()->Invalidate(FALSE);
        if (hit || !m_bRectSelect)
            return;
        CNetworkObj* objects = network->GetObjectWnd();
        CPoint start = screen;
        objects->ScreenToClient(&start);
        CRectTracker band;
        if (band.TrackRubberBand(objects, start))
        {
            band.m_rect.NormalizeRect();
            doc->SelectRect(band.m_rect);
        }
        return;
    }
    if (!element->IsSelected())
        SelectOnly(element);
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    m_ptGrab = Offset(CPoint(point.x / cx, point.y / cy), element->GetPosition());
    m_ptDragStart = element->GetPosition();
    m_pDragged = element;
    m_bCapture = 1;
    m_bMoved = 0;
    network->GetObjectWnd()->SetCapture();
    network->GetObjectWnd()->Invalidate(FALSE);
    // Contacts and coils are described by their operand, other elements by their text.
    const bool operand = element->GetType() == FBD_LD_CONTACT || element->GetType() == FBD_LD_COIL;
    SendStatusText(operand ? element->GetName() : element->GetText());
}

void CGraphView::OnNetworkMouseMove(CNetworkWnd* network, UINT, CPoint screen)
{
    // Over a segment of the highlighted wire: the cursor that moves it across its direction.
    if (m_nMode == MODE_NORMAL && !m_bCapture)
        if (auto* wire = dynamic_cast<CConnection*>(GetHighlighted()); wire && wire->GetNetwork() == network)
        {
            const CPoint cell = CellAt(network, screen);
            for (const GraphSegment& segment : wire->GetSegments())
                if (!segment.IsEmpty() && segment.Holds(cell.x, cell.y))
                {
                    SetCursor(LoadCursor(nullptr, segment.IsHorizontal() ? IDC_SIZENS : IDC_SIZEWE));
                    return;
                }
        }
    if (m_nMode == MODE_WIRING)
    {
        const CPoint cell = CellAt(network, screen);
        MoveMarker(network, cell);
        const bool end = IsWireEnd(network, cell);
        SetCursor(LoadCursor(nullptr, end ? IDC_CROSS : IDC_NO));
        return;
    }
    if (!m_bCapture || !m_pDragged)
        return;
    CPoint point = screen;
    network->GetObjectWnd()->ScreenToClient(&point);
    const int cx = std::max(1, m_pManager->GetStepX());
    const int cy = std::max(1, m_pManager->GetStepY());
    const CPoint to = Offset(CPoint(point.x / cx, point.y / cy), m_ptGrab);
    const CPoint offset = Offset(to, m_pDragged->GetPosition());
    if (offset == CPoint(0, 0) || !m_pDragged->MoveTo(to.x, to.y))
        return;
    for (CGraphObject* object : m_pManager->GetSelection())
        if (object != m_pDragged && object->GetType() != FBD_CONNECTION && object->GetType() != FBD_CROSS)
            object->MoveTo(object->GetPosition().x + offset.x, object->GetPosition().y + offset.y);
    m_bMoved = 1;
    network->GetObjectWnd()->Invalidate(FALSE);
}

void CGraphView::OnNetworkLButtonUp(CNetworkWnd* network, CPoint screen)
{
    if (m_bCapture)
        EndDrag(network, screen);
}

void CGraphView::EndCapture()
{
    if (m_bCapture && GetCapture())
        ReleaseCapture();
    m_bCapture = 0;
    m_pDragged = nullptr;
}

void CGraphView::EndInput()
{
    EndCapture();
    if (m_nMode == MODE_WIRING)
        SetMode(MODE_NORMAL);
}

void CGraphView::EndDrag(CNetworkWnd* network, CPoint)
{
    const bool moved = m_bMoved && m_pDragged;
    const CPoint total = moved ? Offset(m_pDragged->GetPosition(), m_ptDragStart) : CPoint(0, 0);
    EndCapture();
    m_bMoved = 0;
    if (!moved)
        return;
    for (CGraphObject* object : m_pManager->GetSelection())
        if (object->GetType() == FBD_CONNECTION)
            static_cast<CConnection*>(object)->Offset(total.x, total.y);
        else if (object->GetType() == FBD_CROSS)
            object->MoveTo(object->GetPosition().x + total.x, object->GetPosition().y + total.y);
    for (CGraphObject* object : m_pManager->GetSelection())
    {
        if (object->GetType() == FBD_CONNECTION || object->GetType() == FBD_CROSS)
            continue;
        for (CGraphPin* pin : static_cast<CGraphBlock*>(object)->AllPins())
            if (CConnection* wire = pin->GetConnection())
            {
                const bool start = wire->GetStart().object == pin;
                wire->MoveEnd(start, pin->GetPosition().x, pin->GetPosition().y);
            }
    }
    CSize needed = network->GetSize();
    network->GetNeededSize(needed);
    if (needed.cy > network->GetSize().cy)
    {
        network->SetSize(network->GetSize().cx, needed.cy);
        LayoutNetworks();
        UpdateScrollSizes();
    }
    network->GetObjectWnd()->Invalidate(FALSE);
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetModifiedFlag(TRUE);
}

void CGraphView::OnNetworkDblClk(CNetworkWnd*, CPoint) {}

void CGraphView::OnNetworkKeyDown(CNetworkWnd*, UINT key)
{
    if (m_nMode == MODE_WIRING || m_nMode == MODE_PLACE || m_nMode == MODE_PLACE_AGAIN)
    {
        if (key == VK_ESCAPE)
            SetMode(MODE_NORMAL);
        return;
    }
    switch (key)
    {
    case VK_LEFT:
        SelectNeighbour(0);
        break;
    case VK_UP:
        SelectNeighbour(1);
        break;
    case VK_RIGHT:
        SelectNeighbour(2);
        break;
    case VK_DOWN:
        SelectNeighbour(3);
        break;
    case VK_HOME:
        SelectFirstElement();
        break;
    case VK_DELETE:
        PostMessage(WM_GRAPH_DELETE);
        break;
    case VK_RETURN:
        if (CGraphBlock* element = SingleElement(m_pManager); element && !IsReadOnly())
        {
            const int type = element->GetType();
            if (type == FBD_FUNCTION_BLOCK || type == FBD_FUNCTION || type == FBD_VARIABLE ||
                type == FBD_CONST)
                EditElement(element);
        }
        break;
    default:
        break;
    }
}

void CGraphView::OnHeaderDblClk(CNetworkWnd* network, CPoint screen)
{
    OnHeaderClick(network, screen);
}

void CGraphView::OnHeaderMenu(CNetworkWnd* network, CPoint screen)
{
    if (m_pManager)
        m_pManager->ClearSelection();
    OnHeaderClick(network, screen);
    ShowContextMenu(network, nullptr, screen);
}

void CGraphView::OnNetworkContextMenu(CNetworkWnd* network, CGraphBlock* element, CPoint screen)
{
    CGraphDoc* doc = GetGraphDoc();
    if (!doc || !m_pManager)
        return;
    doc->SetCurrentNetwork(network);
    if (element && !IsReadOnly() && !element->IsSelected())
    {
        SelectOnly(element);
        network->GetObjectWnd()->Invalidate(FALSE);
    }
    ShowContextMenu(network, element, screen);
}

bool CGraphView::OnElementSetCursor(CNetworkWnd*, CGraphBlock*, CGraphPin* pin)
{
    if (IsReadOnly() || m_nMode != MODE_NORMAL || !pin)
        return false;
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    return true;
}

void CGraphView::OnHeaderClick(CNetworkWnd* network, CPoint)
{
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetCurrentNetwork(network);
    network->SetSelected(true);
}

void CGraphView::DeleteSelection()
{
    CGraphDoc* doc = GetGraphDoc();
    if (IsReadOnly() || !m_pManager || !doc)
        return;
    if (m_pManager->GetSelection().empty())
    {
        auto* current = static_cast<CNetworkWnd*>(doc->GetCurrentNetwork());
        if (!current || !current->IsSelected() || !CanDeleteNetwork(current))
            return;
        EndInput();
        doc->RemoveNetwork(current);
        Renumber();
        LayoutNetworks();
        UpdateScrollSizes();
        doc->SetModifiedFlag(TRUE);
        return;
    }
    auto* network = static_cast<CNetworkWnd*>(m_pManager->GetSelection().front()->GetNetwork());
    m_pManager->DeleteSelection();
    m_pManager->ClearSelection();
    if (network)
        network->GetObjectWnd()->Invalidate(FALSE);
    doc->SetModifiedFlag(TRUE);
}

void CGraphView::ToggleSelected()
{
    if (IsReadOnly() || !m_pManager)
        return;
    CGraphBlock* element = SingleElement(m_pManager);
    if (!element)
    {
        m_bToggle = m_bToggle ? 0 : 1;
        return;
    }
    if (!element->ToggleOnOff())
        return;
    element->Invalidate();
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetModifiedFlag(TRUE);
}

void CGraphView::StepSelectedSize(int step)
{
    CGraphBlock* element = IsReadOnly() ? nullptr : SingleElement(m_pManager);
    if (!element || !element->AddInputs(step))
        return;
    if (auto* network = static_cast<CNetworkWnd*>(element->GetNetwork()))
        network->GetObjectWnd()->Invalidate(FALSE);
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetModifiedFlag(TRUE);
}

void CGraphView::SwitchReturnMode()
{
    CGraphBlock* element = IsReadOnly() ? nullptr : SingleElement(m_pManager);
    if (!element || (element->GetType() != FBD_RETURN && element->GetType() != FBD_JUMP))
        return;
    auto* jump = static_cast<CGraphJmp*>(element);
    jump->SetMode(jump->GetMode() == 1 ? 2 : 1);
    element->Invalidate();
    if (CGraphDoc* doc = GetGraphDoc())
        doc->SetModifiedFlag(TRUE);
}

void CGraphView::ApplySettings(const CGraphManager& settings)
{
    if (!m_pManager)
        return;
    for (int role = 0; role < GraphColorCount; ++role)
        m_pManager->SetColor(static_cast<GraphColor>(role), settings.GetColor(static_cast<GraphColor>(role)));
    m_pManager->ShowGrid(settings.IsGridShown());
    ApplyFont(settings.GetFontSize(), settings.GetFontName());
    Invalidate();
    for (int i = 0; i < m_pManager->GetNetworkCount(); ++i)
        NetworkAt(i)->GetObjectWnd()->Invalidate(FALSE);
}

void CGraphView::EditElement(CGraphBlock* element)
{
    if (!element || element->GetType() != FBD_CONST)
        return;
    auto* network = static_cast<CNetworkWnd*>(element->GetNetwork());
    CGraphHitWnd* hit = network ? network->GetObjectWnd()->GetHitWnd(element) : nullptr;
    if (hit && m_pFonts)
        hit->OpenEditor(m_pFonts->GetFont(false));
}

void CGraphView::SelectNeighbour(int direction)
{
    if (!m_pManager || m_pManager->GetSelection().size() != 1)
        return;
    CGraphObject* object = m_pManager->GetSelection().front();
    auto* network = static_cast<CNetworkWnd*>(object->GetNetwork());
    if (!network || object->GetType() == FBD_CONNECTION || object->GetType() == FBD_CROSS)
        return;
    if (CGraphBlock* next = network->FindNeighbour(static_cast<CGraphBlock*>(object), direction))
    {
        SelectOnly(next);
        network->GetObjectWnd()->Invalidate(FALSE);
    }
}

void CGraphView::SelectFirstElement()
{
    auto* network = static_cast<CNetworkWnd*>(m_pManager ? m_pManager->GetCurrentNetwork() : nullptr);
    if (!network)
        return;
    if (CGraphBlock* first = network->FirstElementAt())
    {
        SelectOnly(first);
        network->GetObjectWnd()->Invalidate(FALSE);
        ShowObject(first);
    }
}

void CGraphView::MoveMarker(CNetworkWnd* network, CPoint cell)
{
    if (m_pMarkerNetwork && m_ptMarker.x >= 0)
    {
        const CRect old = m_pMarkerNetwork->GetObjectWnd()->MarkerRect(m_ptMarker);
        m_pMarkerNetwork->GetObjectWnd()->InvalidateRect(&old, FALSE);
    }
    m_pMarkerNetwork = network;
    m_ptMarker = cell;
    if (network && cell.x >= 0)
    {
        const CRect marked = network->GetObjectWnd()->MarkerRect(cell);
        network->GetObjectWnd()->InvalidateRect(&marked, FALSE);
    }
}

bool CGraphView::GetWiringFeedback(const CNetworkWnd* network, CPoint& marker, std::vector<CPoint>& path)
{
    if (m_nMode != MODE_WIRING)
        return false;
    marker = network == m_pMarkerNetwork ? m_ptMarker : CPoint(-1, -1);
    path.clear();
    if (network == m_pWireNetwork)
    {
        path = m_WirePoints;
        if (marker.x >= 0)
            path.push_back(marker);
    }
    return marker.x >= 0 || !path.empty();
}

void CGraphView::WireAt(CNetworkWnd* network, CPoint cell)
{
    GRAPH_HIT hit;
    const bool end = IsWireEnd(network, cell) && m_pManager->HitTest(network, cell.x, cell.y, hit);
    if (!m_pWireStart)
    {
        // Waiting: a refused cell ends the wiring mode.
        if (!end)
        {
            SetMode(MODE_NORMAL);
            return;
        }
        m_pWireStart = hit.object;
        m_pWireNetwork = network;
        m_WirePoints = {cell};
        network->GetObjectWnd()->SetCapture();
        return;
    }
    if (network != m_pWireNetwork)
        return;
    if (!end || hit.object == m_pWireStart)
    {
        // A bend whose path would run through an element is refused.
        for (const GraphSegment& s : CConnection::PathBetween(m_WirePoints.back(), cell))
            if (!m_pManager->CanDrawSegment(network, s.Start(), s.End()))
                return;
        m_WirePoints.push_back(cell);
        network->GetObjectWnd()->Invalidate(FALSE);
        return;
    }
    m_WirePoints.push_back(cell);
    auto* wire = new CConnection;
    bool made = wire->Connect(m_pWireStart, hit.object, true);
    if (made && m_WirePoints.size() > 2)
    {
        while (!wire->GetSegments().empty())
            wire->RemoveSegment(0);
        for (size_t i = 1; made && i < m_WirePoints.size(); ++i)
            made = wire->AddPath(m_WirePoints[i - 1], m_WirePoints[i]);
        wire->CleanUp();
        wire->Validate();
    }
    CGraphDoc* doc = GetGraphDoc();
    if (!made || !doc || !doc->AddWire(network, wire))
        delete wire;
    EndWiring();
    network->GetObjectWnd()->Invalidate(FALSE);
}

void CGraphView::EndWiring()
{
    if (m_pWireStart && GetCapture())
        ReleaseCapture();
    m_pWireStart = nullptr;
    m_pWireNetwork = nullptr;
    m_WirePoints.clear();
}

void CGraphView::PreviousNetwork()
{
    CGraphNetworkIntf* current = m_pManager ? m_pManager->GetCurrentNetwork() : nullptr;
    if (current && current->GetNumber() > 1)
        if (auto* previous = static_cast<CNetworkWnd*>(m_pManager->NetworkByNumber(current->GetNumber() - 1)))
        {
            GetGraphDoc()->SetCurrentNetwork(previous);
            ScrollToPosition(CPoint(GetDeviceScrollPosition().x,
                                    previous->GetNumber() == 1 ? 0 : NetworkOffset(previous)));
            LayoutNetworks();
        }
}

void CGraphView::NextNetwork()
{
    CGraphNetworkIntf* current = m_pManager ? m_pManager->GetCurrentNetwork() : nullptr;
    const int number = current ? current->GetNumber() + 1 : 1;
    if (auto* next = static_cast<CNetworkWnd*>(m_pManager ? m_pManager->NetworkByNumber(number) : nullptr))
    {
        GetGraphDoc()->SetCurrentNetwork(next);
        ScrollToPosition(CPoint(GetDeviceScrollPosition().x, number == 1 ? 0 : NetworkOffset(next)));
        LayoutNetworks();
    }
}

void CGraphView::ShowObject(CGraphBlock* element)
{
    auto* network = element ? static_cast<CNetworkWnd*>(element->GetNetwork()) : nullptr;
    if (!network)
        return;
    CRect rect = element->GetWindowRect();
    rect.OffsetRect(network->GetHeaderRect().right, NetworkOffset(network));
    CRect client;
    GetClientRect(&client);
    CPoint scroll = GetDeviceScrollPosition();
    if (rect.bottom > scroll.y + client.Height())
        scroll.y = rect.bottom - client.Height();
    if (rect.top < scroll.y)
        scroll.y = rect.top;
    if (rect.right > scroll.x + client.Width())
        scroll.x = rect.right - client.Width();
    if (rect.left < scroll.x)
        scroll.x = rect.left;
    ScrollToPosition(scroll);
    LayoutNetworks();
}
