// Drawing objects over the toolkit's pens, brushes, fonts, images and regions.
#include "Gdi.h"

#include "Resources.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>

#include <cstring>
#include <cstdlib>

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF FromQColor(const QColor& colour)
{
    return RGB(static_cast<BYTE>(colour.red()), static_cast<BYTE>(colour.green()),
               static_cast<BYTE>(colour.blue()));
}

COLORREF GetSysColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index)
    {
    case COLOR_SCROLLBAR:
        return FromQColor(palette.color(QPalette::Button));
    case COLOR_WINDOW:
        return FromQColor(palette.color(QPalette::Base));
    case COLOR_WINDOWFRAME:
        return FromQColor(palette.color(QPalette::Shadow));
    case COLOR_WINDOWTEXT:
        return FromQColor(palette.color(QPalette::WindowText));
    case COLOR_HIGHLIGHT:
        return FromQColor(palette.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
        return FromQColor(palette.color(QPalette::HighlightedText));
    case COLOR_BTNFACE:
        return FromQColor(palette.color(QPalette::Button));
    case COLOR_BTNSHADOW:
        return FromQColor(palette.color(QPalette::Dark));
    case COLOR_GRAYTEXT:
        return FromQColor(palette.color(QPalette::Disabled, QPalette::Text));
    case COLOR_BTNTEXT:
        return FromQColor(palette.color(QPalette::ButtonText));
    case COLOR_BTNHIGHLIGHT:
        return FromQColor(palette.color(QPalette::Light));
    case COLOR_3DDKSHADOW:
        return FromQColor(palette.color(QPalette::Shadow));
    case COLOR_3DLIGHT:
        return FromQColor(palette.color(QPalette::Midlight));
    case COLOR_INFOTEXT:
        return FromQColor(palette.color(QPalette::ToolTipText));
    case COLOR_INFOBK:
        return FromQColor(palette.color(QPalette::ToolTipBase));
    default:
        return RGB(0, 0, 0);
    }
}

int GetSystemMetrics(int index)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (index)
    {
    case SM_CXSCREEN:
        return screen ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
        return screen ? screen->geometry().height() : 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CYCAPTION:
        return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    default:
        return 0;
    }
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour)
{
    if (style == PS_NULL)
    {
        m_pen = QPen(Qt::NoPen);
    }
    else
    {
        m_pen = QPen(ToQColor(colour));
        // Width 0 is the one-pixel cosmetic pen; flat ends keep lines exactly as long as asked.
        m_pen.setWidth(width < 1 ? 1 : width);
        m_pen.setCapStyle(Qt::FlatCap);
        m_pen.setJoinStyle(Qt::MiterJoin);
        switch (style)
        {
        case PS_DASH:
            m_pen.setStyle(Qt::DashLine);
            break;
        case PS_DOT:
            m_pen.setStyle(Qt::DotLine);
            break;
        case PS_DASHDOT:
            m_pen.setStyle(Qt::DashDotLine);
            break;
        default:
            m_pen.setStyle(Qt::SolidLine);
            break;
        }
    }
    m_created = true;
    return TRUE;
}

BOOL CPen::CreateStockObject(int stockIndex)
{
    switch (stockIndex)
    {
    case WHITE_PEN:
        return CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    case BLACK_PEN:
        return CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    case NULL_PEN:
        return CreatePen(PS_NULL, 0, 0);
    default:
        return FALSE;
    }
}

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    m_brush = QBrush(ToQColor(colour));
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF colour)
{
    Qt::BrushStyle style = Qt::HorPattern;
    switch (hatch)
    {
    case HS_HORIZONTAL:
        style = Qt::HorPattern;
        break;
    case HS_VERTICAL:
        style = Qt::VerPattern;
        break;
    case HS_FDIAGONAL:
        style = Qt::FDiagPattern;
        break;
    case HS_BDIAGONAL:
        style = Qt::BDiagPattern;
        break;
    case HS_CROSS:
        style = Qt::CrossPattern;
        break;
    case HS_DIAGCROSS:
        style = Qt::DiagCrossPattern;
        break;
    default:
        return FALSE;
    }
    m_brush = QBrush(ToQColor(colour), style);
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateStockObject(int stockIndex)
{
    switch (stockIndex)
    {
    case WHITE_BRUSH:
        return CreateSolidBrush(RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return CreateSolidBrush(RGB(192, 192, 192));
    case GRAY_BRUSH:
        return CreateSolidBrush(RGB(128, 128, 128));
    case BLACK_BRUSH:
        return CreateSolidBrush(RGB(0, 0, 0));
    case NULL_BRUSH:
        m_brush = QBrush(Qt::NoBrush);
        m_created = true;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (!logFont)
        return FALSE;
    QFont font = QApplication::font();
    if (logFont->lfFaceName[0])
        font.setFamily(
            QString::fromUtf8(logFont->lfFaceName, static_cast<int>(strnlen(logFont->lfFaceName, 32))));
    if (logFont->lfHeight != 0)
        font.setPixelSize(std::abs(logFont->lfHeight));
    font.setWeight(logFont->lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont->lfItalic != 0);
    font.setUnderline(logFont->lfUnderline != 0);
    font.setStrikeOut(logFont->lfStrikeOut != 0);
    m_font = font;
    m_created = true;
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const char* faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName)
        CopyTextCut(lf.lfFaceName, faceName);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, const char* faceName)
{
    QFont font = QApplication::font();
    if (faceName && *faceName)
        font.setFamily(QString::fromUtf8(faceName));
    if (pointSize > 0)
        font.setPointSizeF(pointSize / 10.0);
    m_font = font;
    m_created = true;
    return TRUE;
}

BOOL CFont::CreateStockObject(int stockIndex)
{
    if (stockIndex != ANSI_VAR_FONT && stockIndex != DEFAULT_GUI_FONT && stockIndex != SYSTEM_FONT)
        return FALSE;
    m_font = QApplication::font();
    m_created = true;
    return TRUE;
}

int CFont::GetLogFont(LOGFONT* logFont) const
{
    if (!logFont || !m_created)
        return 0;
    *logFont = LOGFONT{};
    const QFontMetrics metrics(m_font);
    logFont->lfHeight = -(m_font.pixelSize() > 0 ? m_font.pixelSize() : metrics.ascent());
    logFont->lfWeight = m_font.bold() ? FW_BOLD : FW_NORMAL;
    logFont->lfItalic = m_font.italic() ? 1 : 0;
    logFont->lfUnderline = m_font.underline() ? 1 : 0;
    logFont->lfStrikeOut = m_font.strikeOut() ? 1 : 0;
    CopyTextCut(logFont->lfFaceName, m_font.family().toUtf8().constData());
    return static_cast<int>(sizeof(LOGFONT));
}

BOOL CFont::DeleteObject()
{
    const bool was = m_created;
    m_font = QFont();
    m_created = false;
    return was ? TRUE : FALSE;
}

void CFont::SetQFont(const QFont& font)
{
    m_font = font;
    m_created = true;
}

BOOL CBitmap::CreateBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return FALSE;
    m_image = QImage(width, height, QImage::Format_RGB32);
    m_image.fill(Qt::black);
    return !m_image.isNull();
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height)
{
    return CreateBitmap(width, height);
}

BOOL CBitmap::LoadFromData(const void* data, size_t size)
{
    QImage image;
    if (!data || size == 0 || size > static_cast<size_t>(INT32_MAX) ||
        !image.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size)))
        return FALSE;
    m_image = image.convertToFormat(QImage::Format_RGB32);
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    const ResourceData* resource = AfxFindResource(resourceId, RT_BITMAP);
    return resource ? LoadFromData(resource->data, resource->size) : FALSE;
}

BOOL CBitmap::DeleteObject()
{
    const bool was = !m_image.isNull();
    m_image = QImage();
    return was ? TRUE : FALSE;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    m_region = QRegion(r.left, r.top, r.Width(), r.Height());
    m_created = true;
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    if (!a || (mode != RGN_COPY && !b))
        return ERROR;
    switch (mode)
    {
    case RGN_AND:
        m_region = a->m_region.intersected(b->m_region);
        break;
    case RGN_OR:
        m_region = a->m_region.united(b->m_region);
        break;
    case RGN_XOR:
        m_region = a->m_region.xored(b->m_region);
        break;
    case RGN_DIFF:
        m_region = a->m_region.subtracted(b->m_region);
        break;
    case RGN_COPY:
        m_region = a->m_region;
        break;
    default:
        return ERROR;
    }
    m_created = true;
    return GetRegionType();
}

int CRgn::OffsetRgn(int dx, int dy)
{
    m_region.translate(dx, dy);
    return GetRegionType();
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return m_region.contains(QPoint(x, y)) ? TRUE : FALSE;
}

int CRgn::GetRgnBox(RECT* rect) const
{
    if (!rect)
        return ERROR;
    const QRect box = m_region.boundingRect();
    *rect = CRect(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    return GetRegionType();
}

int CRgn::GetRegionType() const
{
    if (m_region.isEmpty())
        return NULLREGION;
    return m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL CRgn::DeleteObject()
{
    const bool was = m_created;
    m_region = QRegion();
    m_created = false;
    return was ? TRUE : FALSE;
}
