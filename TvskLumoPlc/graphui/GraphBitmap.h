// A bitmap that knows its size: the grid pattern, operator pictures and cached element bodies.
#pragma once

#include <ui/Dc.h>

class CGraphManager;

class CGraphBitmap
{
public:
    BOOL Create(int width, int height);
    // A bitmap of the plug-in's resources; its size is read from it.
    BOOL LoadBitmap(UINT resourceId);
    CSize GetSize() const noexcept { return m_size; }
    bool IsCreated() const { return m_bitmap.IsCreated(); }
    CBitmap& GetBitmap() noexcept { return m_bitmap; }

    // Copies the bitmap to the rectangle (stretched to it), or at its own size when the
    // rectangle is null.
    BOOL Draw(CDC* dc, int x, int y, const CRect* target = nullptr);
    // Leaves out the pixels of the background colour: the bitmap is combined with the target by
    // XOR, a one-bit mask of the background colour by AND, and the bitmap by XOR again.
    BOOL DrawTransparent(CDC* dc, int x, int y, COLORREF background, const CRect* target = nullptr);

private:
    CBitmap m_bitmap;
    CSize m_size;
};

// Two by two grid cells of the grid background with a dot of the grid colour at each cell corner;
// the cell is the font's text height.
BOOL BuildGridBrush(const CGraphManager& manager, CGraphBitmap& pattern);

// Pictures of the operators (codes of CGraphOpr), drawn in code on white: black symbols.
BOOL DrawOperatorPicture(int code, int size, CGraphBitmap& picture);
