// A network window as the diagram model sees it; the network window implements it, tests fake it.
#pragma once

#include <framework/CString.h>
#include <framework/Geometry.h>

class CGraphBlock;
class CPlcLDNetwork;
class CWnd;

class CGraphNetworkIntf
{
public:
    virtual ~CGraphNetworkIntf() = default;

    // Creates the window: child id, size in grid cells and the two creation flags.
    virtual bool Create(CWnd* parent, UINT childId, int width, int height, bool first, bool second) = 0;

    virtual int GetNumber() const = 0;
    virtual void SetNumber(int number) = 0;
    // "%d$": the number followed by "$".
    CString GetKey() const
    {
        CString key;
        key.Format("%d%s", GetNumber(), "$");
        return key;
    }
    virtual CString GetComment() const = 0;
    virtual void SetComment(const char* comment) = 0;
    // Size in grid cells.
    virtual int GetGridWidth() const = 0;
    virtual int GetGridHeight() const = 0;
    // Grows or shrinks the window to a number of rows.
    virtual void SetGridHeight(int rows) = 0;
    virtual bool GetMark() const = 0;
    virtual void SetMark(bool mark) = 0;
    virtual void SetFocusRect(bool shown) = 0;

    // A rectangle in the window's pixels to repaint.
    virtual void InvalidateRect(const CRect& rect) = 0;
    // Element notices: placed (or rebuilt) at its window rectangle, and removed before deletion.
    virtual void OnElementPlaced(CGraphBlock* element) = 0;
    virtual void OnElementRemoved(CGraphBlock* element) = 0;
    // Builds the animation map from the generated network the window was filled from.
    virtual void BuildAnimationMap(CPlcLDNetwork* network) = 0;
};
