// The window of one network (rung): a header strip with the network's number and marker, and an
// object window that paints the grid, elements, wires and junctions and passes input on.
#pragma once

#include "AnimationMap.h"

#include <TvskLumoPlc/graph/GraphManager.h>
#include <TvskLumoPlc/graphui/ElementBodyCache.h>
#include <TvskLumoPlc/graphui/GraphHitWnd.h>

#include <ui/Wnd.h>

#include <map>
#include <memory>
#include <vector>

class CFontTextMetrics;
class CGraphBitmap;
class CNetworkWnd;
class CStringArray;

// Message setting a network's comment; lParam the text.
constexpr UINT WM_NETWORK_SETCOMMENT = WM_USER + 0x202;

// What a network window hands to the view that holds it (points in screen coordinates).
class CNetworkFace
{
public:
    virtual ~CNetworkFace() = default;
    virtual void OnNetworkLButtonDown(CNetworkWnd* network, UINT flags, CPoint screen) = 0;
    virtual void OnNetworkLButtonUp(CNetworkWnd* network, CPoint screen) = 0;
    virtual void OnNetworkDblClk(CNetworkWnd* network, CPoint screen) = 0;
    virtual void OnNetworkMouseMove(CNetworkWnd* network, UINT flags, CPoint screen) = 0;
    virtual void OnNetworkKeyDown(CNetworkWnd* network, UINT key) = 0;
    // The right button or the menu key over the network: on an element, or null.
    virtual void OnNetworkContextMenu(CNetworkWnd* network, CGraphBlock* element, CPoint screen) = 0;
    // The pointer over an element, on one of its pins or on its body (null): true when the face set
    // the cursor.
    virtual bool OnElementSetCursor(CNetworkWnd* network, CGraphBlock* element, CGraphPin* pin) = 0;
    virtual void OnHeaderClick(CNetworkWnd* network, CPoint screen) = 0;
    virtual void OnHeaderDblClk(CNetworkWnd* network, CPoint screen) = 0;
    virtual void OnHeaderMenu(CNetworkWnd* network, CPoint screen) = 0;
    // A press on the bottom border: the face tracks the new height.
    virtual void OnNetworkResize(CNetworkWnd* network, CPoint screen) = 0;
    virtual CFontTextMetrics* GetFonts() = 0;
    // The grid pattern, null when none is built.
    virtual CGraphBitmap* GetGridPattern() = 0;
    // While a wire is drawn in the network: the marked grid point ((-1, -1) for none) and the
    // points of the wire so far, in grid cells; false when nothing is drawn there.
    virtual bool GetWiringFeedback(const CNetworkWnd* network, CPoint& marker, std::vector<CPoint>& path) = 0;
};

// The object window; every element has its hit window over it, whose input comes back here.
class CNetworkObj : public CWnd, public CGraphHitTarget
{
public:
    static constexpr UINT ChildId = 100;
    // The square marking the grid point under the pointer while a wire is drawn.
    static constexpr int MarkerSize = 8;
    static constexpr COLORREF MarkerColor = 0x00FF00;

    BOOL Create(CNetworkWnd* network);
    // The grid corner nearest the point (screen coordinates), by quarters of its cell.
    CPoint SnapToGrid(CPoint screen) const;
    int GetMaxColumn() const;
    int GetRowCount() const;
    // Every element, wire and junction with another manager's colours and sizes (printing).
    void DrawAll(CDC* dc, CGraphManager* face) const;
    void PaintBackground(CDC* dc, const CRect& area);
    CRect MarkerRect(CPoint cell) const;

    // Makes the element's hit window, or moves it to where the element now stands.
    void PlaceHitWnd(CGraphBlock* element);
    void RemoveHitWnd(const CGraphBlock* element);
    CGraphHitWnd* GetHitWnd(const CGraphBlock* element) const;
    // The elements' body bitmaps the window paints from; null before the window is made.
    CElementBodyCache* GetBodyCache() const noexcept { return m_pBodies.get(); }

    void OnElementButtonDown(CGraphBlock* element, int x, int y) override;
    void OnElementButtonUp(CPoint screen) override;
    void OnElementDblClk(CGraphBlock* element, CPoint point) override;
    void OnElementContextMenu(CGraphBlock* element, CPoint screen) override;
    bool OnElementSetCursor(CGraphBlock* element, CGraphPin* pin) override;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CPoint ToScreen(CPoint point) const;
    // A point of the element's window in screen coordinates.
    CPoint ElementToScreen(const CGraphBlock* element, int x, int y) const;
    void DrawWiringFeedback(CDC* dc);

    CNetworkWnd* m_pNetwork = nullptr;
    CGraphManager* m_pManager = nullptr;
    CNetworkFace* m_pFace = nullptr;
    std::map<const CGraphBlock*, std::unique_ptr<CGraphHitWnd>> m_HitWnds;
    std::unique_ptr<CElementBodyCache> m_pBodies;
};

class CNetworkWnd : public CWnd, public CGraphNetworkIntf
{
public:
    static constexpr int MinRows = 5;
    static constexpr int HeaderCells = 4;
    static constexpr int BorderPixels = 3;

    CNetworkWnd(CNetworkFace* face, CGraphManager* manager);
    ~CNetworkWnd() override;

    // The model's creation: first shows the window, second the header strip.
    bool Create(CWnd* parent, UINT childId, int width, int height, bool first, bool second) override;

    int GetNumber() const override { return m_nNumber; }
    void SetNumber(int number) override { SetNumber(number, true); }
    void SetNumber(int number, bool redraw);
    CString GetComment() const override { return m_strComment; }
    // The network's first label takes the text as its name.
    void SetComment(const char* comment) override;
    int GetGridWidth() const override { return m_nWidth; }
    int GetGridHeight() const override { return m_nHeight; }
    void SetGridHeight(int rows) override { SetSize(m_nWidth, rows); }
    CSize GetSize() const noexcept { return {m_nWidth, m_nHeight}; }
    // Height at least five rows.
    void SetSize(int width, int height);
    // The height the content needs: one row below the lowest element or wire point.
    void GetNeededSize(CSize& size) const;
    CSize GetExtent() const;
    void OffsetObjects(int dx, int dy);
    bool GetMark() const override { return m_bMark != 0; }
    // The header shows the mark at once.
    void SetMark(bool mark) override;
    void SetFocusRect(bool shown) override { SetCurrent(shown, nullptr); }
    void SetSelected(bool selected);
    void SetCurrent(bool current, const CRect* rect);
    bool IsSelected() const noexcept { return m_bSelected && !m_bCurrent; }
    bool IsActive() const noexcept { return m_bSelected || m_bCurrent; }
    void SetMarker(bool on, int number);
    CString GetHeaderText() const;
    const CRect& GetHeaderRect() const noexcept { return m_rcHeader; }

    void InvalidateRect(const CRect& rect) override;
    void OnElementPlaced(CGraphBlock* element) override;
    void OnElementRemoved(CGraphBlock* element) override;

    // Appends the operand of every contact not yet in the list.
    void CollectWatchNames(CStringArray& names) const;
    void BuildAnimationMap(CPlcLDNetwork* network) override;
    CAnimationMap& GetAnimationMap() noexcept { return m_Map; }

    // Neighbour of an element: 0 left, 1 up, 2 right, 3 down; null when none.
    CGraphBlock* FindNeighbour(const CGraphBlock* element, int direction) const;
    CGraphBlock* FirstElementAt() const;

    CNetworkObj* GetObjectWnd() noexcept { return &m_Obj; }
    CNetworkFace* GetFace() const noexcept { return m_pFace; }
    CGraphManager* GetManager() const noexcept { return m_pManager; }
    CSize GetCellSize() const noexcept { return {m_nCellX, m_nCellY}; }
    bool IsOnBottomBorder(CPoint client) const;
    // Size from the cells, the header and the object window placed, the elements refreshed.
    void Layout();

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawHeader();

    CNetworkFace* m_pFace;
    CGraphManager* m_pManager;
    int m_nNumber = 0;
    int m_nMarker = 0;
    BYTE m_bSelected = 0;
    BYTE m_bCurrent = 0;
    BYTE m_bMark = 1;
    BYTE m_bMarker = 0;
    BYTE m_bHeader = 1;
    CBitmap m_Header;
    CString m_strComment;
    CRect m_rcHeader;
    int m_nCellX = 1;
    int m_nCellY = 1;
    int m_nWidth = CGraphManager::DefaultNetworkWidth;
    int m_nHeight = MinRows;
    CNetworkObj m_Obj;
    CAnimationMap m_Map;
};
