// Drag feedback: a region or a line band inverted with a halftone brush; drawing it again erases it.
#pragma once

#include "Dc.h"

// Inverts the region's pixels with the halftone brush.
void DrawHalftoneRegion(CDC* dc, const CRgn& region);
// Bands of the given width centred on the horizontal and vertical lines of a path, inverted once
// where they overlap (an L-shaped rubber band keeps its corner).
void DrawHalftonePath(CDC* dc, const POINT* points, int count, int width);
// The outline of a rectangle, one pixel wide.
void DrawHalftoneFrame(CDC* dc, const CRect& rect);
