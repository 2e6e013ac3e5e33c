// Draws the diagram model's objects on a device context, screen or printer, in network pixels.
#pragma once

#include <TvskLumoPlc/graph/GraphManager.h>

#include <ui/Dc.h>

#include <vector>

class CCrossConnection;
class CElementBodyCache;
class CFontTextMetrics;
class CGraphBitmap;
class CGraphComment;
class CGraphConst;
class CGraphExeBlock;
class CGraphLadderElem;
class CGraphPinBox;
class CGraphPwrRail;

class CGraphPainter
{
public:
    // Fonts of the graph; null draws texts in the device context's font.
    CGraphPainter(CDC* dc, const CGraphManager& manager, CFontTextMetrics* fonts);

    // Any object by its type; false for an object without a picture.
    bool Draw(CGraphObject* object);
    // Every element, wire and junction of a network; with a cache the elements' bodies are copied
    // from their bitmaps.
    void DrawNetwork(const CGraphNetworkIntf* network, CElementBodyCache* bodies = nullptr);
    // An element's body alone, into a bitmap of its window's size (the element's cached bitmap).
    static bool PaintBody(CGraphBlock* element, const CGraphManager& manager, CFontTextMetrics* fonts,
                          CGraphBitmap& bitmap);
    // The same over a part of the network (in network pixels), the bitmap as big as the part.
    static bool PaintBody(CGraphBlock* element, const CGraphManager& manager, CFontTextMetrics* fonts,
                          const CRect& area, CGraphBitmap& bitmap);
    // The part of an element's window its body bitmap covers, in network pixels; empty for a
    // power rail.
    static CRect BodyArea(const CGraphBlock* element);

    void DrawWire(CConnection* wire);
    void DrawCross(CCrossConnection* cross);
    void DrawPin(const CGraphPin* pin);
    // What an element draws inside its body: box, symbol, title and pin names, value.
    bool DrawBody(CGraphBlock* element);
    // What an element draws around its body: its name or instance name, the rail's line, its pins.
    void DrawOverlay(CGraphBlock* element);

private:
    // Room left between a label and its pin's mark, in network pixels: a printed text comes out a
    // little wider or narrower than measured.
    static constexpr int kLabelGap = 2;

    // The pixels a pin's stroke or circle covers, its selected width included.
    CRect PinMark(const CGraphPin* pin) const;
    // A label's rectangle on the pin's row, cut back so that it keeps clear of the pin's mark.
    CRect ClearOfPin(CRect label, const CGraphPin* pin) const;

    void Text(const CString& text, CRect rect, UINT format, COLORREF colour, bool bold = false);
    void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width = 1, int style = PS_SOLID);
    void DrawValue(const CGraphBlock* element, const CRect& body);
    void LadderBody(CGraphLadderElem* element);
    void ExeBlockBody(CGraphExeBlock* block);
    void CommentBody(CGraphComment* comment);
    void PinBoxBody(CGraphPinBox* element);
    // A polygon's edge drawn raised in the button colours.
    void RaisedOutline(const std::vector<POINT>& outline);
    int StepX() const { return m_manager.GetStepX(); }
    int StepY() const { return m_manager.GetStepY(); }

    CDC* m_dc;
    const CGraphManager& m_manager;
    CFontTextMetrics* m_fonts;
};
