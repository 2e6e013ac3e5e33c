// CDC drawing operations mapped onto QPainter.
#include "Dc.h"

#include "Wnd.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintDevice>
#include <QWidget>

#include <vector>

namespace
{

CPen& DefaultPen()
{
    static CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    return pen;
}

CBrush& DefaultBrush()
{
    static CBrush brush(RGB(255, 255, 255));
    return brush;
}

CFont& DefaultFont()
{
    static CFont font;
    if (!font.IsCreated())
        font.CreateStockObject(SYSTEM_FONT);
    return font;
}

QRect ToQRect(const RECT& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

struct CDC::State
{
    CPen* pen;
    CBrush* brush;
    CFont* font;
    COLORREF textColour;
    COLORREF bkColour;
    int bkMode;
    int rop2;
    UINT textAlign;
    CPoint viewportOrg;
    std::unique_ptr<QRegion> clip;
};

CDC::CDC()
    : m_pen(&DefaultPen()), m_brush(&DefaultBrush()), m_font(&DefaultFont()), m_textColour(RGB(0, 0, 0)),
      m_bkColour(RGB(255, 255, 255))
{
}

CDC::~CDC()
{
    EndPainting();
}

BOOL CDC::CreateCompatibleDC(CDC*)
{
    EndPainting();
    Reset();
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    EndPainting();
    m_bitmap = nullptr;
    return TRUE;
}

bool CDC::IsValid() const noexcept
{
    return m_painter && m_painter->isActive();
}

void CDC::Reset()
{
    m_pen = &DefaultPen();
    m_brush = &DefaultBrush();
    m_font = &DefaultFont();
    m_textColour = RGB(0, 0, 0);
    m_bkColour = RGB(255, 255, 255);
    m_bkMode = OPAQUE;
    m_rop2 = R2_COPYPEN;
    m_textAlign = TA_LEFT | TA_TOP;
    m_position = CPoint();
    m_viewportOrg = CPoint();
    m_clip.reset();
}

void CDC::BeginOn(QPaintDevice* device)
{
    EndPainting();
    if (!device)
        return;
    m_ownedPainter = std::make_unique<QPainter>();
    if (!m_ownedPainter->begin(device))
    {
        m_ownedPainter.reset();
        return;
    }
    m_painter = m_ownedPainter.get();
}

void CDC::UsePainter(QPainter* painter)
{
    EndPainting();
    m_painter = painter;
}

void CDC::EndPainting()
{
    if (m_ownedPainter && m_ownedPainter->isActive())
        m_ownedPainter->end();
    m_ownedPainter.reset();
    m_painter = nullptr;
}

CPen* CDC::SelectObject(CPen* pen)
{
    CPen* old = m_pen;
    m_pen = pen ? pen : &DefaultPen();
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    CBrush* old = m_brush;
    m_brush = brush ? brush : &DefaultBrush();
    return old;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* old = m_font;
    m_font = (font && font->IsCreated()) ? font : &DefaultFont();
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    CBitmap* old = m_bitmap;
    EndPainting();
    m_bitmap = bitmap;
    if (bitmap && bitmap->IsCreated())
        BeginOn(&bitmap->GetImage());
    return old;
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    const COLORREF old = m_textColour;
    m_textColour = colour;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF colour)
{
    const COLORREF old = m_bkColour;
    m_bkColour = colour;
    return old;
}

int CDC::SetBkMode(int mode)
{
    const int old = m_bkMode;
    m_bkMode = mode;
    return old;
}

int CDC::SetROP2(int mode)
{
    const int old = m_rop2;
    m_rop2 = mode;
    return old;
}

UINT CDC::SetTextAlign(UINT flags)
{
    const UINT old = m_textAlign;
    m_textAlign = flags;
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_viewportOrg;
    m_viewportOrg = CPoint(x, y);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint old = m_viewportOrg;
    m_viewportOrg.Offset(dx, dy);
    return old;
}

void CDC::LPtoDP(POINT* points, int count) const
{
    for (int i = 0; points && i < count; ++i)
    {
        points[i].x += m_viewportOrg.x;
        points[i].y += m_viewportOrg.y;
    }
}

void CDC::LPtoDP(RECT* rect) const
{
    if (rect)
        LPtoDP(reinterpret_cast<POINT*>(rect), 2);
}

void CDC::DPtoLP(POINT* points, int count) const
{
    for (int i = 0; points && i < count; ++i)
    {
        points[i].x -= m_viewportOrg.x;
        points[i].y -= m_viewportOrg.y;
    }
}

void CDC::DPtoLP(RECT* rect) const
{
    if (rect)
        DPtoLP(reinterpret_cast<POINT*>(rect), 2);
}

int CDC::GetDeviceCaps(int index) const
{
    const QPaintDevice* device = m_painter ? m_painter->device() : nullptr;
    switch (index)
    {
    case HORZRES:
        return device ? device->width() : 0;
    case VERTRES:
        return device ? device->height() : 0;
    case PHYSICALWIDTH:
        return GetDeviceCaps(HORZRES);
    case PHYSICALHEIGHT:
        return GetDeviceCaps(VERTRES);
    case LOGPIXELSX:
        return device ? device->logicalDpiX() : 96;
    case LOGPIXELSY:
        return device ? device->logicalDpiY() : 96;
    default:
        return 0;
    }
}

int CDC::SaveDC()
{
    State state{
        m_pen,    m_brush, m_font,      m_textColour,  m_bkColour,
        m_bkMode, m_rop2,  m_textAlign, m_viewportOrg, m_clip ? std::make_unique<QRegion>(*m_clip) : nullptr};
    m_saved.push_back(std::move(state));
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int savedDc)
{
    // -1 restores the most recent state, as Windows does.
    const int index = savedDc < 0 ? static_cast<int>(m_saved.size()) + savedDc + 1 : savedDc;
    if (index < 1 || index > static_cast<int>(m_saved.size()))
        return FALSE;
    State& state = m_saved[static_cast<size_t>(index - 1)];
    m_pen = state.pen;
    m_brush = state.brush;
    m_font = state.font;
    m_textColour = state.textColour;
    m_bkColour = state.bkColour;
    m_bkMode = state.bkMode;
    m_rop2 = state.rop2;
    m_textAlign = state.textAlign;
    m_viewportOrg = state.viewportOrg;
    m_clip = std::move(state.clip);
    m_saved.resize(static_cast<size_t>(index - 1));
    return TRUE;
}

int CDC::SelectClipRgn(CRgn* region)
{
    return SelectClipRgn(region, RGN_COPY);
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    if (mode == RGN_COPY)
    {
        m_clip = region ? std::make_unique<QRegion>(region->GetQRegion()) : nullptr;
    }
    else
    {
        if (!region)
            return ERROR;
        // Without a clip the whole device is visible.
        const QRegion current =
            m_clip ? *m_clip
                   : QRegion(m_painter && m_painter->device()
                                 ? QRect(0, 0, m_painter->device()->width(), m_painter->device()->height())
                                 : QRect(-32768, -32768, 65536, 65536));
        const QRegion& other = region->GetQRegion();
        switch (mode)
        {
        case RGN_AND:
            m_clip = std::make_unique<QRegion>(current.intersected(other));
            break;
        case RGN_OR:
            m_clip = std::make_unique<QRegion>(current.united(other));
            break;
        case RGN_XOR:
            m_clip = std::make_unique<QRegion>(current.xored(other));
            break;
        case RGN_DIFF:
            m_clip = std::make_unique<QRegion>(current.subtracted(other));
            break;
        default:
            return ERROR;
        }
    }
    if (!m_clip)
        return SIMPLEREGION;
    return m_clip->isEmpty() ? NULLREGION : (m_clip->rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    CRect r(left, top, right, bottom);
    LPtoDP(&r);
    CRgn region;
    region.CreateRectRgnIndirect(&r);
    return SelectClipRgn(&region, RGN_AND);
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    CRect r(left, top, right, bottom);
    LPtoDP(&r);
    CRgn region;
    region.CreateRectRgnIndirect(&r);
    return SelectClipRgn(&region, RGN_DIFF);
}

int CDC::GetClipBox(RECT* rect) const
{
    if (!rect)
        return ERROR;
    QRect box;
    if (m_clip)
        box = m_clip->boundingRect();
    else if (m_painter && m_painter->device())
        box = QRect(0, 0, m_painter->device()->width(), m_painter->device()->height());
    CRect r(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    DPtoLP(&r);
    *rect = r;
    return box.isEmpty() ? NULLREGION : SIMPLEREGION;
}

void CDC::ApplyComposition(int rop2)
{
    switch (rop2)
    {
    case R2_NOT:
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case R2_XORPEN:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case R2_NOTXORPEN:
        m_painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        break;
    default:
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
}

void CDC::ApplyBlockComposition(DWORD rop)
{
    switch (rop)
    {
    case SRCPAINT:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case SRCAND:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case SRCINVERT:
    case PATINVERT:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case DSTINVERT:
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    default:
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
}

void CDC::ApplyPenAndBrush(bool withPen, bool withBrush)
{
    m_painter->resetTransform();
    m_painter->translate(m_viewportOrg.x, m_viewportOrg.y);
    if (m_clip)
    {
        m_painter->setClipRegion(m_clip->translated(-m_viewportOrg.x, -m_viewportOrg.y));
    }
    else
    {
        m_painter->setClipping(false);
    }
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen = withPen ? m_pen->GetQPen() : QPen(Qt::NoPen);
    QBrush brush = withBrush ? m_brush->GetQBrush() : QBrush(Qt::NoBrush);
    if (m_rop2 == R2_BLACK || m_rop2 == R2_WHITE)
    {
        const QColor fixed = m_rop2 == R2_BLACK ? Qt::black : Qt::white;
        if (pen.style() != Qt::NoPen)
            pen.setColor(fixed);
    }
    if (m_rop2 == R2_NOT && pen.style() != Qt::NoPen)
        pen.setColor(Qt::black); // any source: the destination is inverted
    m_painter->setPen(pen);
    m_painter->setBrush(brush);
    if (brush.style() > Qt::SolidPattern && brush.style() < Qt::LinearGradientPattern)
        m_painter->setBackground(ToQColor(m_bkColour));
    m_painter->setBackgroundMode(m_bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    ApplyComposition(m_rop2);
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_position;
    m_position = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    if (!IsValid())
        return FALSE;
    ApplyPenAndBrush(true, false);
    const QPen& pen = m_painter->pen();
    if (pen.style() != Qt::NoPen)
    {
        // Flat caps end the line before its end point, which the platform's lines leave out.
        m_painter->drawLine(m_position.x, m_position.y, x, y);
    }
    m_position = CPoint(x, y);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    if (!IsValid() || !points || count < 2)
        return FALSE;
    const CPoint saved = m_position;
    MoveTo(points[0]);
    for (int i = 1; i < count; ++i)
        LineTo(points[i]);
    m_position = saved;
    return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    if (!IsValid() || !points || count < 2)
        return FALSE;
    ApplyPenAndBrush(true, true);
    std::vector<QPoint> qpoints;
    qpoints.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        qpoints.emplace_back(points[i].x, points[i].y);
    m_painter->drawPolygon(qpoints.data(), count);
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    if (!IsValid())
        return FALSE;
    CRect r(left, top, right, bottom);
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return TRUE;
    ApplyPenAndBrush(false, true);
    const bool hasPen = m_pen->GetQPen().style() != Qt::NoPen;
    const int inset = hasPen ? 1 : 0;
    m_painter->fillRect(QRect(r.left + inset, r.top + inset, r.Width() - 2 * inset, r.Height() - 2 * inset),
                        m_painter->brush());
    if (hasPen)
    {
        ApplyPenAndBrush(true, false);
        // The outline lies inside the rectangle: right and bottom are excluded.
        m_painter->drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
    }
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    if (!IsValid())
        return FALSE;
    ApplyPenAndBrush(true, true);
    m_painter->drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    return TRUE;
}

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    if (!IsValid() || !rect || !brush)
        return;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(ToQRect(*rect), brush->GetQBrush());
}

void CDC::FillSolidRect(const RECT* rect, COLORREF colour)
{
    if (rect)
        FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, colour);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour)
{
    if (!IsValid())
        return;
    CRect r(x, y, x + cx, y + cy);
    r.NormalizeRect();
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(ToQRect(r), ToQColor(colour));
}

void CDC::FrameRect(const RECT* rect, CBrush* brush)
{
    if (!IsValid() || !rect || !brush)
        return;
    const CRect r(*rect);
    if (r.IsRectEmpty())
        return;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QBrush& b = brush->GetQBrush();
    m_painter->fillRect(QRect(r.left, r.top, r.Width(), 1), b);
    m_painter->fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), b);
    m_painter->fillRect(QRect(r.left, r.top, 1, r.Height()), b);
    m_painter->fillRect(QRect(r.right - 1, r.top, 1, r.Height()), b);
}

void CDC::InvertRect(const RECT* rect)
{
    if (!IsValid() || !rect)
        return;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
    m_painter->fillRect(ToQRect(*rect), Qt::black);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
                   bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    // Top and left edges in the first colour, bottom and right in the second; the corners
    // top-right and bottom-left belong to the second.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags)
{
    if (!IsValid() || !rect)
        return FALSE;
    CRect r(*rect);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF face = GetSysColor(COLOR_3DLIGHT);
    auto drawBorder = [&](COLORREF tl, COLORREF br)
    {
        if (flags & BF_TOP)
            FillSolidRect(r.left, r.top, r.Width(), 1, tl);
        if (flags & BF_LEFT)
            FillSolidRect(r.left, r.top, 1, r.Height(), tl);
        if (flags & BF_BOTTOM)
            FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, br);
        if (flags & BF_RIGHT)
            FillSolidRect(r.right - 1, r.top, 1, r.Height(), br);
        r.DeflateRect(1, 1);
    };
    if (edge & BDR_RAISEDOUTER)
        drawBorder(face, dark);
    else if (edge & BDR_SUNKENOUTER)
        drawBorder(shadow, light);
    if (edge & BDR_RAISEDINNER)
        drawBorder(light, shadow);
    else if (edge & BDR_SUNKENINNER)
        drawBorder(dark, face);
    *rect = r;
    return TRUE;
}

void CDC::DrawFocusRect(const RECT* rect)
{
    if (!IsValid() || !rect)
        return;
    const CRect r(*rect);
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
    for (int x = r.left; x < r.right; x += 2)
    {
        m_painter->fillRect(x, r.top, 1, 1, Qt::black);
        m_painter->fillRect(x, r.bottom - 1, 1, 1, Qt::black);
    }
    for (int y = r.top + 2; y < r.bottom - 1; y += 2)
    {
        m_painter->fillRect(r.left, y, 1, 1, Qt::black);
        m_painter->fillRect(r.right - 1, y, 1, 1, Qt::black);
    }
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF colour)
{
    FillSolidRect(x, y, 1, 1, colour);
    return colour;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
    if (!m_bitmap || !m_bitmap->IsCreated())
        return CLR_INVALID;
    const QImage& image = m_bitmap->GetImage();
    const QPoint p(x + m_viewportOrg.x, y + m_viewportOrg.y);
    if (!image.rect().contains(p))
        return CLR_INVALID;
    return FromQColor(image.pixelColor(p));
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    if (!IsValid())
        return FALSE;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setFont(m_font->GetQFont());
    m_painter->setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics(m_font->GetQFont());
    const QString qtext = QString::fromUtf8(text.GetString());
    const int width = metrics.horizontalAdvance(qtext);
    int left = x;
    if ((m_textAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (m_textAlign & TA_RIGHT)
        left = x - width;
    int top = y;
    if ((m_textAlign & TA_BASELINE) == TA_BASELINE)
        top = y - metrics.ascent();
    else if (m_textAlign & TA_BOTTOM)
        top = y - metrics.height();
    if (m_bkMode == OPAQUE)
        m_painter->fillRect(QRect(left, top, width, metrics.height()), ToQColor(m_bkColour));
    m_painter->setPen(ToQColor(m_textColour));
    m_painter->drawText(QPoint(left, top + metrics.ascent()), qtext);
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const CString& text, const int*)
{
    constexpr UINT ETO_OPAQUE = 0x2;
    constexpr UINT ETO_CLIPPED = 0x4;
    if (!IsValid())
        return FALSE;
    if (rect && (options & ETO_OPAQUE))
        FillSolidRect(rect, m_bkColour);
    if (rect && (options & ETO_CLIPPED))
    {
        SaveDC();
        IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
        TextOut(x, y, text);
        RestoreDC(-1);
        return TRUE;
    }
    return TextOut(x, y, text);
}

int CDC::DrawText(const CString& text, RECT* rect, UINT format)
{
    if (!rect)
        return 0;
    const QFont& font = m_font->GetQFont();
    const QFontMetrics metrics(font);
    const QString qtext = QString::fromUtf8(text.GetString());
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & DT_SINGLELINE)
    {
        if (format & DT_VCENTER)
            flags |= Qt::AlignVCenter;
        else if (format & DT_BOTTOM)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    }
    else
    {
        flags |= Qt::AlignTop;
        if (format & DT_WORDBREAK)
            flags |= Qt::TextWordWrap;
    }
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    const QRect area = ToQRect(*rect);
    if (format & DT_CALCRECT)
    {
        const QRect needed = metrics.boundingRect(
            area.width() > 0 && (format & DT_WORDBREAK) ? area : QRect(area.topLeft(), QSize(100000, 100000)),
            flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom), qtext);
        rect->right = rect->left + needed.width();
        rect->bottom = rect->top + needed.height();
        return needed.height();
    }
    if (!IsValid())
        return 0;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setFont(font);
    m_painter->setBackgroundMode(Qt::TransparentMode);
    QString shown = qtext;
    if (format & DT_END_ELLIPSIS)
        shown = metrics.elidedText(qtext, Qt::ElideRight, area.width());
    QRect bounding = metrics.boundingRect(area, flags, shown);
    if (m_bkMode == OPAQUE)
        m_painter->fillRect(bounding.intersected(area), ToQColor(m_bkColour));
    if (!(format & DT_NOCLIP))
        m_painter->setClipRect(area, m_clip ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter->setPen(ToQColor(m_textColour));
    m_painter->drawText(area, flags, shown, &bounding);
    return bounding.height();
}

CSize CDC::GetTextExtent(const CString& text) const
{
    const QFontMetrics metrics(m_font->GetQFont());
    return {metrics.horizontalAdvance(QString::fromUtf8(text.GetString())), metrics.height()};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    if (!metrics)
        return FALSE;
    const QFontMetrics fm(m_font->GetQFont());
    metrics->tmHeight = fm.height();
    metrics->tmAscent = fm.ascent();
    metrics->tmDescent = fm.descent();
    metrics->tmInternalLeading = fm.height() - fm.ascent() - fm.descent();
    metrics->tmExternalLeading = fm.leading();
    metrics->tmAveCharWidth = fm.averageCharWidth();
    metrics->tmMaxCharWidth = fm.maxWidth();
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    if (rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS)
        return PatBlt(x, y, width, height, rop);
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    if (!IsValid() || !source || !source->m_bitmap || !source->m_bitmap->IsCreated())
        return FALSE;
    const QImage& image = source->m_bitmap->GetImage();
    const QRect from(xSrc + source->m_viewportOrg.x, ySrc + source->m_viewportOrg.y, srcWidth, srcHeight);
    ApplyPenAndBrush(false, false);
    ApplyBlockComposition(rop);
    m_painter->drawImage(QRect(x, y, width, height), image, from);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    if (!IsValid())
        return FALSE;
    ApplyPenAndBrush(false, false);
    const QRect area(x, y, width, height);
    switch (rop)
    {
    case BLACKNESS:
        m_painter->fillRect(area, Qt::black);
        break;
    case WHITENESS:
        m_painter->fillRect(area, Qt::white);
        break;
    case DSTINVERT:
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        m_painter->fillRect(area, Qt::black);
        break;
    case PATINVERT:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_painter->fillRect(area, m_brush->GetQBrush());
        break;
    default:
        m_painter->fillRect(area, m_brush->GetQBrush());
        break;
    }
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return TRUE;
}

BOOL CDC::DrawImage(int x, int y, int width, int height, const QImage& image)
{
    if (!IsValid() || image.isNull())
        return FALSE;
    ApplyPenAndBrush(false, false);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter->drawImage(QRect(x, y, width, height), image);
    return TRUE;
}

void CDC::DrawDragRect(const RECT* rect, SIZE size, const RECT* lastRect, SIZE lastSize)
{
    if (!IsValid())
        return;
    CBrush halftone(RGB(128, 128, 128));
    CBrush* old = SelectObject(&halftone);
    auto frame = [this](const RECT& r, SIZE s)
    {
        const CRect c(r);
        const int cx = std::min<int>(s.cx, c.Width());
        const int cy = std::min<int>(s.cy, c.Height());
        PatBlt(c.left, c.top, c.Width(), cy, PATINVERT);
        PatBlt(c.left, c.bottom - cy, c.Width(), c.Height() > cy ? cy : 0, PATINVERT);
        PatBlt(c.left, c.top + cy, cx, c.Height() - 2 * cy, PATINVERT);
        PatBlt(c.right - cx, c.top + cy, c.Width() > cx ? cx : 0, c.Height() - 2 * cy, PATINVERT);
    };
    // A frame thicker than half the rectangle is one solid bar: draw it once, not four overlapping times.
    auto draw = [&](const RECT& r, SIZE s)
    {
        const CRect c(r);
        if (2 * s.cx >= c.Width() || 2 * s.cy >= c.Height())
            PatBlt(c.left, c.top, c.Width(), c.Height(), PATINVERT);
        else
            frame(r, s);
    };
    if (lastRect)
        draw(*lastRect, lastSize);
    if (rect)
        draw(*rect, size);
    SelectObject(old);
}

CPaintDC::CPaintDC(CWnd* wnd)
{
    m_ps_rcPaint = RECT{};
    if (wnd && wnd->GetWidget())
    {
        BeginOn(wnd->GetWidget());
        CRect client;
        wnd->GetClientRect(&client);
        m_ps_rcPaint = client;
    }
}

CPaintDC::~CPaintDC()
{
    EndPainting();
}

CWindowDC::CWindowDC(CWnd* wnd) : m_wnd(wnd)
{
    if (wnd)
        BeginOn(wnd->GetOverlayImage());
}

CWindowDC::~CWindowDC()
{
    EndPainting();
    if (m_wnd)
        m_wnd->UpdateOverlay();
}

CMemDC::CMemDC(CDC* target, const RECT& area) : m_target(target), m_area(area)
{
    CreateCompatibleDC(target);
    if (m_buffer.CreateCompatibleBitmap(target, m_area.Width(), m_area.Height()))
    {
        SelectObject(&m_buffer);
        SetViewportOrg(-m_area.left, -m_area.top);
    }
}

CMemDC::~CMemDC()
{
    if (m_target && m_buffer.IsCreated())
    {
        SetViewportOrg(0, 0);
        m_target->BitBlt(m_area.left, m_area.top, m_area.Width(), m_area.Height(), this, 0, 0, SRCCOPY);
    }
    SelectObject(static_cast<CBitmap*>(nullptr));
}
