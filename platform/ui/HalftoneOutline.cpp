#include "HalftoneOutline.h"

#include <algorithm>

namespace
{
constexpr COLORREF Halftone = RGB(128, 128, 128);
}

void DrawHalftoneRegion(CDC* dc, const CRgn& region)
{
    if (!dc || !dc->IsValid() || !region.IsCreated())
        return;
    CBrush halftone(Halftone);
    CBrush* old = dc->SelectObject(&halftone);
    for (const QRect& r : region.GetQRegion())
        dc->PatBlt(r.x(), r.y(), r.width(), r.height(), PATINVERT);
    dc->SelectObject(old);
}

void DrawHalftonePath(CDC* dc, const POINT* points, int count, int width)
{
    if (!points || count < 2)
        return;
    const int half = std::max(1, width) / 2;
    CRgn path;
    path.CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i + 1 < count; ++i)
    {
        const POINT a = points[i];
        const POINT b = points[i + 1];
        CRgn band;
        band.CreateRectRgn(std::min(a.x, b.x) - half, std::min(a.y, b.y) - half,
                           std::max(a.x, b.x) + half + 1, std::max(a.y, b.y) + half + 1);
        path.CombineRgn(&path, &band, RGN_OR);
    }
    DrawHalftoneRegion(dc, path);
}

void DrawHalftoneFrame(CDC* dc, const CRect& rect)
{
    dc->DrawDragRect(&rect, CSize(1, 1), nullptr, CSize(1, 1));
}
