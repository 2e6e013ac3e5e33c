// What one paint of an editable grid draws, worked out from its layout and interfaces without drawing.
#pragma once

#include <framework/CString.h>
#include <framework/Geometry.h>

#include <vector>

class CEditGridController;

struct GridColours
{
    COLORREF background;
    COLORREF gridLines;
    COLORREF currentText;
    COLORREF normalText;
};

struct GridPaint
{
    struct Fill
    {
        CRect rect;
        COLORREF colour;
    };
    struct Line
    {
        CPoint from;
        CPoint to;
    };
    struct Text
    {
        CRect rect;
        CString text;
        COLORREF colour;
    };
    std::vector<Fill> fills; // in painting order
    std::vector<Line> lines;
    std::vector<Text> texts;
};

// The colour of the current row and of selected rows without a colour of their own.
constexpr COLORREF kGridMarkColour = 0xCCCCCC;

// A row colour made darker for a selected row: each of red, green and blue times 0.8, truncated.
COLORREF DarkenForSelection(COLORREF colour);

// Asks the data and view interfaces for every row and column in view.
GridPaint BuildGridPaint(const CEditGridController& grid, const GridColours& colours);
