#include "GraphLayout.h"

#include <algorithm>

void GraphLayout::Compute(int width, int height, bool viewList, int listHeight, bool viewSlider,
                          bool printing)
{
    client = CRect(0, 0, width, height);
    graph.left = Scaled(30);
    graph.top = Scaled(10);
    graph.right = width - Scaled(30);
    graph.bottom = height - Scaled(30);
    if (viewList && !printing)
        graph.bottom -= listHeight;
    if (viewSlider && !printing)
        graph.bottom -= 5;
    graph.right = std::max(graph.right, graph.left);
    graph.bottom = std::max(graph.bottom, graph.top);
    spacingX = graph.Width() / 10.0;
    spacingY = graph.Height() / 10.0;

    list = viewList ? CRect(0, height - listHeight, width, height) : CRect();
    const int sliderBottom = viewList ? list.top : height;
    slider = viewSlider ? CRect(kSliderInset, sliderBottom - kSliderHeight,
                                std::max(kSliderInset, width - kSliderInset), sliderBottom)
                        : CRect();
    splitter = viewList ? CRect(0, list.top - kSplitterHeight, width, list.top) : CRect();
}
