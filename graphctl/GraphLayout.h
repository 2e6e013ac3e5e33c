// Where the graph lies in the control and how many time units one pixel step spans.
#pragma once

#include <framework/Geometry.h>

struct GraphLayout
{
    static constexpr int kSliderHeight = 20;
    static constexpr int kSliderInset = 70;
    static constexpr int kSplitterHeight = 3;

    int factor = 1;      // drawing factor: 1 on screen, 20 printing
    CRect client;        // the control's client area
    CRect graph;         // the graph rectangle
    CRect list;          // the trace list strip (empty without it)
    CRect slider;        // the time-position slider (empty without it)
    CRect splitter;      // the strip between graph and list
    double spacingX = 0; // grid column and row spacing
    double spacingY = 0;

    // Recomputes every rectangle for a client area of width x height.
    void Compute(int width, int height, bool viewList, int listHeight, bool viewSlider, bool printing);
    int HorzDivisor() const noexcept { return graph.Width() + 1; }
    int Scaled(int size) const noexcept { return size * factor; }
};
