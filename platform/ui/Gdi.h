// Drawing objects (pens, brushes, fonts, bitmaps, regions) and the system colours.
#pragma once

#include "UiDefs.h"

#include <framework/CString.h>

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRegion>

class CDC;

// Pen styles
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_NULL = 5;
// Brush hatches
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;
// Stock objects
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
// Font weights
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// System colour indexes
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

// The desktop's colour for a role; unknown roles answer black.
COLORREF GetSysColor(int index);

// System metrics the window code sizes things by.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
int GetSystemMetrics(int index);

QColor ToQColor(COLORREF colour);
COLORREF FromQColor(const QColor& colour);

class CPen
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    BOOL CreatePen(int style, int width, COLORREF colour);
    BOOL CreateStockObject(int stockIndex);
    bool IsCreated() const noexcept { return m_created; }
    const QPen& GetQPen() const noexcept { return m_pen; }

private:
    QPen m_pen{Qt::NoPen};
    bool m_created = false;
};

class CBrush
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL CreateHatchBrush(int hatch, COLORREF colour);
    BOOL CreateSysColorBrush(int index) { return CreateSolidBrush(GetSysColor(index)); }
    BOOL CreateStockObject(int stockIndex);
    bool IsCreated() const noexcept { return m_created; }
    const QBrush& GetQBrush() const noexcept { return m_brush; }

private:
    QBrush m_brush{Qt::NoBrush};
    bool m_created = false;
};

struct LOGFONT
{
    LONG lfHeight = 0; // negative: character height in pixels; positive: cell height
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

class CFont
{
public:
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const char* faceName);
    // Size in tenths of a point.
    BOOL CreatePointFont(int pointSize, const char* faceName);
    BOOL CreateStockObject(int stockIndex);
    int GetLogFont(LOGFONT* logFont) const;
    BOOL DeleteObject();
    bool IsCreated() const noexcept { return m_created; }
    const QFont& GetQFont() const noexcept { return m_font; }
    void SetQFont(const QFont& font);

private:
    QFont m_font;
    bool m_created = false;
};

// A device-dependent bitmap: 32-bit pixels in memory.
class CBitmap
{
public:
    BOOL CreateBitmap(int width, int height);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // Decodes an image in any format the toolkit reads; FALSE when the bytes are no image.
    BOOL LoadFromData(const void* data, size_t size);
    // A bitmap resource registered under the id (see Resources.h).
    BOOL LoadBitmap(UINT resourceId);
    BOOL DeleteObject();
    bool IsCreated() const noexcept { return !m_image.isNull(); }
    CSize GetBitmapDimension() const { return {m_image.width(), m_image.height()}; }
    QImage& GetImage() noexcept { return m_image; }
    const QImage& GetImage() const noexcept { return m_image; }

private:
    QImage m_image;
};

// Region operations
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class CRgn
{
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT* rect);
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int OffsetRgn(int dx, int dy);
    BOOL PtInRegion(int x, int y) const;
    int GetRgnBox(RECT* rect) const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int GetRegionType() const;
    BOOL DeleteObject();
    const QRegion& GetQRegion() const noexcept { return m_region; }
    void SetQRegion(const QRegion& region)
    {
        m_region = region;
        m_created = true;
    }
    bool IsCreated() const noexcept { return m_created; }

private:
    QRegion m_region;
    bool m_created = false;
};
