// Children anchored to points of the parent's client area given in percent, kept there on resize.
#pragma once

#include <ui/Dc.h>
#include <ui/Wnd.h>

#include <framework/Array.h>

inline constexpr CSize ANCHOR_TOP_LEFT(0, 0);
inline constexpr CSize ANCHOR_TOP_CENTER(50, 0);
inline constexpr CSize ANCHOR_TOP_RIGHT(100, 0);
inline constexpr CSize ANCHOR_MIDDLE_LEFT(0, 50);
inline constexpr CSize ANCHOR_MIDDLE_CENTER(50, 50);
inline constexpr CSize ANCHOR_MIDDLE_RIGHT(100, 50);
inline constexpr CSize ANCHOR_BOTTOM_LEFT(0, 100);
inline constexpr CSize ANCHOR_BOTTOM_CENTER(50, 100);
inline constexpr CSize ANCHOR_BOTTOM_RIGHT(100, 100);
inline constexpr CSize ANCHOR_NONE(-1, -1);

class CResizableLayout
{
public:
    // One anchored item: a child window, or a callback whose geometry is asked at each pass.
    struct LayoutInfo
    {
        HWND hWnd = nullptr;
        UINT nCallbackID = 0;
        BOOL bAdjHScroll = FALSE;
        BOOL bNeedRefresh = FALSE;
        CSize sizeTypeTL;
        CSize sizeMarginTL;
        CSize sizeTypeBR;
        CSize sizeMarginBR;
    };

    virtual ~CResizableLayout() = default;

protected:
    virtual BOOL LikesClipping(HWND wnd);
    virtual BOOL NeedsRefresh(HWND wnd);
    virtual void GetTotalClientRect(RECT* rect);
    // Fills the item's window, anchors and margins; 0 skips the item.
    virtual BOOL ArrangeLayoutCallback(LayoutInfo& layout);
    virtual CWnd* GetResizableWnd() = 0;

    // ANCHOR_NONE as the bottom-right anchor means the same as the top-left one.
    void AddAnchor(HWND wnd, CSize typeTL, CSize typeBR = ANCHOR_NONE);
    void AddAnchor(UINT id, CSize typeTL, CSize typeBR = ANCHOR_NONE);
    void AddAnchorCallback(UINT callbackId);
    void RemoveAllAnchors();
    void ArrangeLayout();
    // Keeps the children out of the background erase (those that like it).
    void ClipChildren(CDC* dc);

private:
    CRect ChildRectInClient(HWND wnd);

    CArray<LayoutInfo, const LayoutInfo&> m_arrLayout;
    int m_iFirstCallback = 0;
};
