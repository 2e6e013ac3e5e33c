// The scrolling view of a graph document: stacks the network windows, keeps the scroll sizes in
// step, turns mouse and keys into editing requests, and is the owner the manager notifies.
#pragma once

#include "GraphDoc.h"
#include "NetworkWnd.h"

#include <TvskLumoPlc/graphui/FontTextMetrics.h>
#include <TvskLumoPlc/graphui/GraphBitmap.h>

#include <ui/DocView.h>

#include <memory>

class CWidgetEventWatch;

// Status text of an element to the main window; lParam the text.
constexpr UINT WM_GRAPH_STATUSTEXT = 2560;
// The Delete key's step, posted: it may take away the window whose key brought it.
constexpr UINT WM_GRAPH_DELETE = WM_USER + 0x203;

class CGraphView : public CScrollView, public CGraphOwnerIntf, public CNetworkFace
{
    DECLARE_DYNCREATE(CGraphView)

public:
    enum Mode
    {
        MODE_NORMAL = 0,
        MODE_WIRING = 1,
        MODE_PLACE = 2,
        MODE_PLACE_AGAIN = 3
    };
    static constexpr int ScrollCells = 200;
    static constexpr int ScrollMargin = 10;

    CGraphView();
    ~CGraphView() override;

    CGraphDoc* GetGraphDoc() const { return dynamic_cast<CGraphDoc*>(m_pDocument); }
    CGraphManager* GetManager() const noexcept { return m_pManager; }

    void Renumber();
    void LayoutNetworks();
    void UpdateScrollSizes();
    void SetScrollExtent();
    int NetworkOffset(const CNetworkWnd* network) const;
    int GetStackHeight() const noexcept { return m_nStackHeight; }
    CPoint CellAt(CNetworkWnd* network, CPoint screen) const;
    // Removes every network and makes one window per generated network of the list.
    void RebuildFromList(CPlcFBDCode* code);
    // The network's height in rows from a tracked pixel height (at least 5), width 200 cells.
    void ResizeNetwork(CNetworkWnd* network, int heightPixels, bool markModified);
    void SetMode(int mode);
    int GetMode() const noexcept { return m_nMode; }
    bool IsReadOnly() const noexcept { return m_bReadOnly != 0; }
    // Can a wire start or end at the cell: a free pin, or a junction with fewer than four wires.
    bool IsWireEnd(CNetworkWnd* network, CPoint cell) const;
    void ApplyFont(int size, const char* face);
    void SendStatusText(const CString& text);
    CNetworkWnd* NetworkAt(int i) const;

    // Manager notices.
    CGraphNetworkIntf* NewNetworkWindow() override;
    void OnNetworkPlaced(CGraphNetworkIntf* network, int placement) override;
    void OnNetworkChanged(CGraphNetworkIntf* network) override;
    void OnObjectDeleted(CGraphObject*) override {}
    bool CheckConstant(CGraphConst*, const char*) override { return true; }

    // Network window input.
    void OnNetworkLButtonDown(CNetworkWnd* network, UINT flags, CPoint screen) override;
    void OnNetworkLButtonUp(CNetworkWnd* network, CPoint screen) override;
    void OnNetworkDblClk(CNetworkWnd* network, CPoint screen) override;
    void OnNetworkMouseMove(CNetworkWnd* network, UINT flags, CPoint screen) override;
    void OnNetworkKeyDown(CNetworkWnd* network, UINT key) override;
    // The network becomes current and the element the selection; then the view's menu.
    void OnNetworkContextMenu(CNetworkWnd* network, CGraphBlock* element, CPoint screen) override;
    // Over a pin in the normal mode the cross: a wire starts or a pin is dragged there.
    bool OnElementSetCursor(CNetworkWnd* network, CGraphBlock* element, CGraphPin* pin) override;
    void OnHeaderClick(CNetworkWnd* network, CPoint screen) override;
    // A double click on the header selects the network as a click does.
    void OnHeaderDblClk(CNetworkWnd* network, CPoint screen) override;
    // The header's menu: the network selected, then the view's menu without an element.
    void OnHeaderMenu(CNetworkWnd* network, CPoint screen) override;
    void OnNetworkResize(CNetworkWnd* network, CPoint screen) override;
    CFontTextMetrics* GetFonts() override { return m_pFonts; }
    CGraphBitmap* GetGridPattern() override { return &m_Grid; }
    bool GetWiringFeedback(const CNetworkWnd* network, CPoint& marker, std::vector<CPoint>& path) override;
    bool IsDrawingWire() const noexcept { return m_pWireStart != nullptr; }
    bool IsDragging() const noexcept { return m_bCapture != 0; }
    void EnableRectSelection(bool on) noexcept { m_bRectSelect = on ? 1 : 0; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnDraw(CDC*) override {}
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Editing commands; nothing while read-only.
    // The selection goes; without one the current network, when it is selected and the owner agrees.
    void DeleteSelection();
    // A single element's on/off property; otherwise the view's own toggle flag.
    void ToggleSelected();
    bool GetToggleFlag() const noexcept { return m_bToggle != 0; }
    // A single selected element that allows it grows by a size step (2 or 1 more inputs).
    void StepSelectedSize(int step);
    // A single selected return or jump switches between its modes 1 and 2.
    void SwitchReturnMode();
    // Colours, font and grid of the settings manager into the view's, then a redraw.
    void ApplySettings(const CGraphManager& settings);
    // The desktop's colours changed: the window background takes the new window colour.
    void OnSysColorChange();
    // Enter: the owner's edit for a function block, function, variable or constant.
    virtual void EditElement(CGraphBlock* element);
    void SelectNeighbour(int direction);
    void SelectFirstElement();
    // The network one above or below the current one becomes current and is scrolled into view.
    void PreviousNetwork();
    void NextNetwork();
    // Scrolls so that the object's rectangle lies in the client area.
    void ShowObject(CGraphBlock* element);

protected:
    int OnCreate(CREATESTRUCT* createStruct) override;
    void PostNcDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnHScroll(UINT code, UINT pos) override;
    void OnVScroll(UINT code, UINT pos) override;
    // A drag ends: wires follow, the network grows, the document is modified.
    virtual void EndDrag(CNetworkWnd* network, CPoint screen);
    // A press beside the elements: in a placing mode the placing; otherwise the cross under the
    // pointer, else the wire there, is highlighted. False when nothing was hit.
    bool PickAt(CNetworkWnd* network, CPoint cell);
    // The placing of modes 2 (once) and 3 (again and again); nothing in the plain graph view.
    virtual void PlaceAt(CNetworkWnd*, CPoint) {}
    // The highlighted cross or wire (the single selection), or null.
    CGraphObject* GetHighlighted() const;
    // A press on the highlighted cross continues a wire from it; on a segment of the highlighted
    // wire the segment is dragged across its direction. True when the press was taken.
    bool PressOnHighlighted(CNetworkWnd* network, CPoint cell, CPoint point);
    // A press on a free pin drags a point to where a wire from the pin may end; without a move
    // the element is selected.
    void DragFromPin(CNetworkWnd* network, CGraphPin* pin, CPoint point);
    // The window lost the activation: a drag or a wire in progress ends.
    void OnDeactivate();
    // Whether the current network may go; the plain graph view always agrees.
    virtual bool CanDeleteNetwork(CNetworkWnd*) { return true; }
    // The menu of a right click, after the selection was made; none in the plain graph view.
    virtual void ShowContextMenu(CNetworkWnd*, CGraphBlock*, CPoint) {}
    void EndCapture();
    // Before networks go: a drag ends, and a wire being drawn with the wiring mode.
    void EndInput();
    CGraphBlock* ElementAt(CNetworkWnd* network, CPoint screen) const;
    void SelectOnly(CGraphObject* object);
    // A press in the wiring mode: starts, bends or ends the wire being drawn.
    void WireAt(CNetworkWnd* network, CPoint cell);
    void EndWiring();
    // The manager no longer hears of this view, which no longer uses it.
    void ForgetManager();
    void MoveMarker(CNetworkWnd* network, CPoint cell);

    CGraphManager* m_pManager = nullptr;
    CFontTextMetrics* m_pFonts = nullptr;
    CGraphBitmap m_Grid;
    BYTE m_bCapture = 0;
    BYTE m_bMoved = 0;
    int m_nMode = MODE_NORMAL;
    int m_nPreviousMode = MODE_NORMAL;
    BYTE m_bReadOnly = 0;
    BYTE m_bRectSelect = 1;
    BYTE m_bToggle = 0;
    std::unique_ptr<CWidgetEventWatch> m_pPaletteWatch;
    std::unique_ptr<CWidgetEventWatch> m_pDeactivateWatch;
    CGraphBlock* m_pDragged = nullptr;
    CPoint m_ptGrab;
    CPoint m_ptDragStart;
    CPoint m_ptDragOffset;
    int m_nStackHeight = 0;
    // The wire being drawn: its start object, its network and its points so far.
    CGraphObject* m_pWireStart = nullptr;
    CNetworkWnd* m_pWireNetwork = nullptr;
    std::vector<CPoint> m_WirePoints;
    CNetworkWnd* m_pMarkerNetwork = nullptr;
    CPoint m_ptMarker{-1, -1};
};
