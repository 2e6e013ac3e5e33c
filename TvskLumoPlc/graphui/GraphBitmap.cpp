#include "GraphBitmap.h"

#include <TvskLumoPlc/graph/GraphManager.h>

#include <QImage>

BOOL CGraphBitmap::Create(int width, int height)
{
    if (width <= 0 || height <= 0 || !m_bitmap.CreateBitmap(width, height))
        return FALSE;
    m_size = CSize(width, height);
    return TRUE;
}

BOOL CGraphBitmap::LoadBitmap(UINT resourceId)
{
    if (!m_bitmap.LoadBitmap(resourceId))
        return FALSE;
    m_size = m_bitmap.GetBitmapDimension();
    return TRUE;
}

BOOL CGraphBitmap::Draw(CDC* dc, int x, int y, const CRect* target)
{
    if (!dc || !IsCreated())
        return FALSE;
    CDC source;
    source.CreateCompatibleDC(dc);
    CBitmap* old = source.SelectObject(&m_bitmap);
    const BOOL done = target ? dc->StretchBlt(target->left, target->top, target->Width(), target->Height(),
                                              &source, 0, 0, m_size.cx, m_size.cy, SRCCOPY)
                             : dc->BitBlt(x, y, m_size.cx, m_size.cy, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
    return done;
}

BOOL CGraphBitmap::DrawTransparent(CDC* dc, int x, int y, COLORREF background, const CRect* target)
{
    if (!dc || !IsCreated())
        return FALSE;
    const CSize size = target ? target->Size() : m_size;
    if (target)
    {
        x = target->left;
        y = target->top;
    }
    // The picture at the size it is drawn, and its mask: white where the background colour is.
    CBitmap picture;
    picture.CreateBitmap(size.cx, size.cy);
    picture.GetImage() = m_bitmap.GetImage().scaled(size.cx, size.cy).convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(GetRValue(background), GetGValue(background), GetBValue(background));
    CBitmap mask;
    mask.CreateBitmap(size.cx, size.cy);
    mask.GetImage() = QImage(size.cx, size.cy, QImage::Format_RGB32);
    CBitmap masked;
    masked.CreateBitmap(size.cx, size.cy);
    masked.GetImage() = picture.GetImage();
    for (int row = 0; row < size.cy; ++row)
        for (int column = 0; column < size.cx; ++column)
        {
            const bool clear = (picture.GetImage().pixel(column, row) & 0xFFFFFF) == (key & 0xFFFFFF);
            mask.GetImage().setPixel(column, row, clear ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            if (clear)
                masked.GetImage().setPixel(column, row, qRgb(0, 0, 0));
        }
    CDC source;
    source.CreateCompatibleDC(dc);
    CBitmap* old = source.SelectObject(&masked);
    dc->BitBlt(x, y, size.cx, size.cy, &source, 0, 0, SRCINVERT);
    source.SelectObject(&mask);
    dc->BitBlt(x, y, size.cx, size.cy, &source, 0, 0, SRCAND);
    source.SelectObject(&masked);
    dc->BitBlt(x, y, size.cx, size.cy, &source, 0, 0, SRCINVERT);
    source.SelectObject(old);
    return TRUE;
}

BOOL BuildGridBrush(const CGraphManager& manager, CGraphBitmap& pattern)
{
    const int cell = manager.GetStepY();
    if (!pattern.Create(2 * cell, 2 * cell))
        return FALSE;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&pattern.GetBitmap());
    dc.FillSolidRect(0, 0, 2 * cell, 2 * cell, manager.GetColor(BkgndGrid));
    const COLORREF dot = manager.GetColor(GridColor);
    for (const CPoint corner : {CPoint(0, 0), CPoint(cell, 0), CPoint(cell, cell), CPoint(0, cell)})
        dc.SetPixel(corner.x, corner.y, dot);
    dc.SelectObject(old);
    return TRUE;
}

BOOL DrawOperatorPicture(int code, int size, CGraphBitmap& picture)
{
    static const char* const symbols[] = {":=", "",  "",  "S", "R",  "&", ">=1", "=1", "+",
                                          "-",  "*", "/", ">", ">=", "=", "<>",  "<=", "<"};
    if (code < 0 || code >= static_cast<int>(std::size(symbols)) || !*symbols[code])
        return FALSE;
    if (!picture.Create(size, size))
        return FALSE;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&picture.GetBitmap());
    dc.FillSolidRect(0, 0, size, size, RGB(255, 255, 255));
    CFont font;
    font.CreateFont(-size * 2 / 3, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    CRect all(0, 0, size, size);
    dc.DrawText(symbols[code], &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(oldFont);
    dc.SelectObject(old);
    return TRUE;
}
