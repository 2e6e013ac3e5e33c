// Device contexts over QPainter: window painting, off-screen bitmaps and the window's overlay.
#pragma once

#include "Gdi.h"

#include <memory>

class CWnd;
class QPainter;
class QPaintDevice;

// Background modes
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Line raster operations (SetROP2)
constexpr int R2_BLACK = 1;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_COPYPEN = 13;
constexpr int R2_WHITE = 16;
// Block raster operations (BitBlt, PatBlt)
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
// Text alignment of TextOut
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
// DrawText formats
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
// Device capabilities
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
// Edges of DrawEdge
constexpr UINT BDR_RAISEDOUTER = 0x1;
constexpr UINT BDR_SUNKENOUTER = 0x2;
constexpr UINT BDR_RAISEDINNER = 0x4;
constexpr UINT BDR_SUNKENINNER = 0x8;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT BF_LEFT = 0x1;
constexpr UINT BF_TOP = 0x2;
constexpr UINT BF_RIGHT = 0x4;
constexpr UINT BF_BOTTOM = 0x8;
constexpr UINT BF_RECT = 0xF;

struct TEXTMETRIC
{
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
};

// A drawing surface with the selected pen, brush, font, colours and modes. Logical units are pixels.
class CDC
{
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context; select a bitmap into it to draw off-screen.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    bool IsValid() const noexcept;
    virtual BOOL IsPrinting() const { return FALSE; }

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CPen* GetCurrentPen() const noexcept { return m_pen; }
    CBrush* GetCurrentBrush() const noexcept { return m_brush; }
    CFont* GetCurrentFont() const noexcept { return m_font; }
    CBitmap* GetCurrentBitmap() const noexcept { return m_bitmap; }

    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const noexcept { return m_textColour; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const noexcept { return m_bkColour; }
    int SetBkMode(int mode);
    int SetROP2(int mode);
    UINT SetTextAlign(UINT flags);
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const noexcept { return m_viewportOrg; }
    CPoint OffsetViewportOrg(int dx, int dy);
    void LPtoDP(POINT* points, int count = 1) const;
    void LPtoDP(RECT* rect) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;
    int GetDeviceCaps(int index) const;
    int SaveDC();
    BOOL RestoreDC(int savedDc);

    // Clipping in device coordinates; a null region removes the clip.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int GetClipBox(RECT* rect) const;

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const noexcept { return m_position; }
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const RECT* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(const RECT* rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
    void FrameRect(const RECT* rect, CBrush* brush);
    void InvertRect(const RECT* rect);
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
    void DrawFocusRect(const RECT* rect);
    COLORREF SetPixel(int x, int y, COLORREF colour);
    COLORREF GetPixel(int x, int y) const;

    BOOL TextOut(int x, int y, const CString& text);
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const CString& text,
                    const int* widths = nullptr);
    int DrawText(const CString& text, RECT* rect, UINT format);
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL DrawImage(int x, int y, int width, int height, const QImage& image);
    // The tracking rectangle of a drag: drawn inverted, and drawing lastRect again first erases it.
    void DrawDragRect(const RECT* rect, SIZE size, const RECT* lastRect, SIZE lastSize);

    QPainter* GetPainter() const noexcept { return m_painter; }

protected:
    // Starts painting on a device the context does not own.
    void BeginOn(QPaintDevice* device);
    // Uses a painter that the caller keeps (and ends) itself.
    void UsePainter(QPainter* painter);
    void EndPainting();

private:
    struct State;
    void ApplyPenAndBrush(bool withPen, bool withBrush);
    void ApplyComposition(int rop2);
    void ApplyBlockComposition(DWORD rop);
    void Reset();

    QPainter* m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownedPainter;
    CPen* m_pen;
    CBrush* m_brush;
    CFont* m_font;
    CBitmap* m_bitmap = nullptr;
    COLORREF m_textColour;
    COLORREF m_bkColour;
    int m_bkMode = OPAQUE;
    int m_rop2 = R2_COPYPEN;
    UINT m_textAlign = TA_LEFT | TA_TOP;
    CPoint m_position;
    CPoint m_viewportOrg;
    std::unique_ptr<QRegion> m_clip; // device coordinates; null: no clip
    std::vector<State> m_saved;
};

// Painting a window inside its WM_PAINT handler.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    RECT m_ps_rcPaint;
};

// Drawing on the window outside painting (drag feedback): goes to an overlay over the window and its
// children.
class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    CWnd* m_wnd;
};
using CClientDC = CWindowDC;

// Copies an off-screen drawing to a window context at destruction: double buffering.
class CMemDC : public CDC
{
public:
    CMemDC(CDC* target, const RECT& area);
    ~CMemDC() override;

private:
    CDC* m_target;
    CRect m_area;
    CBitmap m_buffer;
};
