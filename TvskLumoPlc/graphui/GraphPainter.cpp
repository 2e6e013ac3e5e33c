#include "GraphPainter.h"

#include "FontTextMetrics.h"
#include "ElementBodyCache.h"
#include "GraphBitmap.h"

#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

#include <algorithm>
#include <cmath>
#include <vector>

CGraphPainter::CGraphPainter(CDC* dc, const CGraphManager& manager, CFontTextMetrics* fonts)
    : m_dc(dc), m_manager(manager), m_fonts(fonts)
{
}

bool CGraphPainter::Draw(CGraphObject* object)
{
    if (!m_dc || !IsValidGraphObject(object))
        return false;
    switch (object->GetType())
    {
    case FBD_CONNECTION:
        DrawWire(static_cast<CConnection*>(object));
        return true;
    case FBD_CROSS:
        DrawCross(static_cast<CCrossConnection*>(object));
        return true;
    case FBD_PIN:
        DrawPin(static_cast<CGraphPin*>(object));
        return true;
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
    case FBD_LD_POWER_RAIL:
    case FBD_FUNCTION_BLOCK:
    case FBD_FUNCTION:
    case FBD_OPERATOR:
    case FBD_COMMENT:
    case FBD_CONST:
    case FBD_VARIABLE:
    case FBD_JUMP:
    case FBD_RETURN:
        DrawBody(static_cast<CGraphBlock*>(object));
        DrawOverlay(static_cast<CGraphBlock*>(object));
        return true;
    default:
        return false;
    }
}

CRect CGraphPainter::BodyArea(const CGraphBlock* element)
{
    switch (element->GetType())
    {
    case FBD_LD_POWER_RAIL:
        return CRect(); // a line as high as the network: nothing worth keeping
    case FBD_COMMENT:
        return element->GetWindowRect();
    default:
        return element->GetBodyRectInNetwork();
    }
}

bool CGraphPainter::DrawBody(CGraphBlock* element)
{
    switch (element->GetType())
    {
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
        LadderBody(static_cast<CGraphLadderElem*>(element));
        return true;
    case FBD_FUNCTION_BLOCK:
    case FBD_FUNCTION:
    case FBD_OPERATOR:
        ExeBlockBody(static_cast<CGraphExeBlock*>(element));
        return true;
    case FBD_COMMENT:
        CommentBody(static_cast<CGraphComment*>(element));
        return true;
    case FBD_CONST:
    case FBD_VARIABLE:
    case FBD_JUMP:
    case FBD_RETURN:
        PinBoxBody(static_cast<CGraphPinBox*>(element));
        return true;
    default:
        return false;
    }
}

void CGraphPainter::DrawOverlay(CGraphBlock* element)
{
    switch (element->GetType())
    {
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
    {
        auto* ladder = static_cast<CGraphLadderElem*>(element);
        CRect name = ladder->GetNameRect();
        m_dc->FillSolidRect(&name, m_manager.GetColor(BkgndGrid));
        Text(ladder->GetName(), name, DT_CENTER | DT_VCENTER, m_manager.GetColor(TextColor));
        break;
    }
    case FBD_LD_POWER_RAIL:
    {
        auto* rail = static_cast<CGraphPwrRail*>(element);
        const int x = rail->GetLineX();
        Line(x, 0, x, rail->GetHeightPixels(), rail->GetLineColor());
        break;
    }
    case FBD_FUNCTION_BLOCK:
    {
        const CRect instance = static_cast<CGraphFuncBlock*>(element)->GetInstanceRect();
        Text(element->GetText(), instance, DT_CENTER | DT_VCENTER, m_manager.GetColor(TextColor));
        break;
    }
    default:
        break;
    }
    for (CGraphPin* pin : element->AllPins())
        DrawPin(pin);
}

// The element in its edit state comes last, over everything else.
void CGraphPainter::DrawNetwork(const CGraphNetworkIntf* network, CElementBodyCache* bodies)
{
    auto drawElement = [&](CGraphBlock* element)
    {
        if (bodies && bodies->CopyBody(m_dc, element))
            DrawOverlay(element);
        else
            Draw(element);
    };
    CGraphBlock* edited = nullptr;
    if (const CGraphObjArray* elements = m_manager.GetElements(network))
        for (CGraphBlock* element : *elements)
        {
            if (element->GetType() == FBD_CONST && static_cast<CGraphConst*>(element)->IsEditing())
                edited = element;
            else if (element->IsVisible())
                drawElement(element);
        }
    if (const CConnectionList* wires = m_manager.GetWires(network))
        for (CConnection* wire : *wires)
            Draw(wire);
    if (const CCrossList* crosses = m_manager.GetCrosses(network))
        for (CCrossConnection* cross : *crosses)
            Draw(cross);
    if (edited && edited->IsVisible())
        drawElement(edited);
}

bool CGraphPainter::PaintBody(CGraphBlock* element, const CGraphManager& manager, CFontTextMetrics* fonts,
                              CGraphBitmap& bitmap)
{
    return PaintBody(element, manager, fonts, element->GetWindowRect(), bitmap);
}

bool CGraphPainter::PaintBody(CGraphBlock* element, const CGraphManager& manager, CFontTextMetrics* fonts,
                              const CRect& area, CGraphBitmap& bitmap)
{
    if (!bitmap.Create(std::max(1, area.Width()), std::max(1, area.Height())))
        return false;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap.GetBitmap());
    dc.FillSolidRect(0, 0, area.Width(), area.Height(), manager.GetColor(BkgndGrid));
    dc.SetViewportOrg(-area.left, -area.top);
    CGraphPainter painter(&dc, manager, fonts);
    const bool drawn = painter.DrawBody(element);
    dc.SelectObject(old);
    return drawn;
}

void CGraphPainter::Line(int x1, int y1, int x2, int y2, COLORREF colour, int width, int style)
{
    CPen pen(style, width, colour);
    CPen* old = m_dc->SelectObject(&pen);
    m_dc->MoveTo(x1, y1);
    m_dc->LineTo(x2, y2);
    m_dc->SelectObject(old);
}

void CGraphPainter::Text(const CString& text, CRect rect, UINT format, COLORREF colour, bool bold)
{
    CFont* old = m_fonts ? m_dc->SelectObject(m_fonts->GetFont(bold)) : nullptr;
    m_dc->SetTextColor(colour);
    m_dc->SetBkMode(TRANSPARENT);
    m_dc->DrawText(text, &rect, format | DT_SINGLELINE | DT_NOPREFIX);
    if (old)
        m_dc->SelectObject(old);
}

void CGraphPainter::DrawValue(const CGraphBlock* element, const CRect& body)
{
    if (!element->HasValue())
        return;
    CString value;
    value.Format("%d", element->GetValue());
    Text(value, body, DT_CENTER | DT_VCENTER, m_manager.GetColor(SelTextColor));
}

void CGraphPainter::DrawWire(CConnection* wire)
{
    const int sx = StepX();
    const int sy = StepY();
    const COLORREF colour = wire->GetDrawColor();
    for (const GraphSegment& s : wire->GetSegments())
        Line(s.x1 * sx, s.y1 * sy, s.x2 * sx, s.y2 * sy, colour, 1, wire->IsDotted() ? PS_DOT : PS_SOLID);
}

void CGraphPainter::DrawCross(CCrossConnection* cross)
{
    if (!cross->IsDrawable())
        return;
    const int r = cross->GetRadius();
    const CPoint centre(cross->GetPosition().x * StepX(), cross->GetPosition().y * StepY());
    CBrush brush(cross->GetDrawColor());
    CPen pen(PS_SOLID, 1, cross->GetDrawColor());
    CBrush* oldBrush = m_dc->SelectObject(&brush);
    CPen* oldPen = m_dc->SelectObject(&pen);
    m_dc->Ellipse(centre.x - r, centre.y - r, centre.x + r + 1, centre.y + r + 1);
    m_dc->SelectObject(oldPen);
    m_dc->SelectObject(oldBrush);
}

void CGraphPainter::DrawPin(const CGraphPin* pin)
{
    if (!pin->IsDrawable())
        return;
    const int sx = StepX();
    const int sy = StepY();
    const int x = pin->GetPosition().x * sx;
    const int y = pin->GetPosition().y * sy;
    const bool input = pin->GetSide() == CGraphPin::SIDE_INPUT;
    const COLORREF black = RGB(0, 0, 0);
    const bool horizontal = pin->IsHorizontal();
    if (pin->IsNegated())
    {
        CPen pen(PS_SOLID, 1, black);
        CBrush hollow;
        hollow.CreateStockObject(NULL_BRUSH);
        CBrush* oldBrush = m_dc->SelectObject(&hollow);
        CPen* oldPen = m_dc->SelectObject(&pen);
        if (horizontal)
        {
            const int left = input ? x : x - sx / 2;
            m_dc->Ellipse(left, y - sy / 4, left + sx / 2, y + sy / 4);
        }
        else
        {
            const int top = input ? y : y - sy / 2;
            m_dc->Ellipse(x - sx / 4, top, x + sx / 4, top + sy / 2);
        }
        m_dc->SelectObject(oldPen);
        m_dc->SelectObject(oldBrush);
        return;
    }
    const int width = pin->IsSelected() ? 3 : 1;
    if (horizontal && input)
        Line(x, y, x + sx / 2, y, black, width);
    else if (horizontal)
        Line(x - 1, y, x - 1 - sx / 2, y, black, width);
    else if (input)
        Line(x, y, x, y + sy / 2, black, width);
    else
        Line(x, y - 2, x, y - 2 - sy / 2, black, width);
}

CRect CGraphPainter::PinMark(const CGraphPin* pin) const
{
    const int sx = StepX();
    const int sy = StepY();
    const int x = pin->GetPosition().x * sx;
    const int y = pin->GetPosition().y * sy;
    const bool input = pin->GetSide() == CGraphPin::SIDE_INPUT;
    if (pin->IsHorizontal())
    {
        const int across = pin->IsNegated() ? sy / 4 : 2;
        return input ? CRect(x, y - across, x + sx / 2 + 1, y + across + 1)
                     : CRect(x - 1 - sx / 2, y - across, x, y + across + 1);
    }
    const int across = pin->IsNegated() ? sx / 4 : 2;
    return input ? CRect(x - across, y, x + across + 1, y + sy / 2 + 1)
                 : CRect(x - across, y - 2 - sy / 2, x + across + 1, y);
}

CRect CGraphPainter::ClearOfPin(CRect label, const CGraphPin* pin) const
{
    const CRect mark = PinMark(pin);
    // A vertical pin or one off the label's row leaves the label as it is.
    if (!pin->IsHorizontal() || mark.bottom <= label.top || mark.top >= label.bottom)
        return label;
    if (pin->GetSide() == CGraphPin::SIDE_INPUT)
        label.left = std::max<LONG>(label.left, mark.right + kLabelGap);
    else
        label.right = std::min<LONG>(label.right, mark.left - kLabelGap);
    return label;
}

void CGraphPainter::LadderBody(CGraphLadderElem* element)
{
    const CRect body = element->GetBodyRectInNetwork();
    m_dc->FillSolidRect(&body, element->GetBackgroundColor());
    const COLORREF symbol = element->GetSymbolColor();
    const bool contact = element->GetType() == FBD_LD_CONTACT;
    if (contact)
    {
        m_dc->FillSolidRect(body.left, body.top, 2, body.Height(), symbol);
        m_dc->FillSolidRect(body.right - 2, body.top, 2, body.Height(), symbol);
    }
    else
    {
        // Two arcs of half a step, as a coil is drawn.
        const int radius = StepX() / 2;
        std::vector<POINT> left;
        std::vector<POINT> right;
        const double middle = (body.top + body.bottom) / 2.0;
        const double half = body.Height() / 2.0;
        for (int i = -8; i <= 8; ++i)
        {
            const double angle = i / 8.0 * 1.2;
            const int dy = static_cast<int>(std::lround(std::sin(angle) * half));
            const int dx = static_cast<int>(std::lround((1 - std::cos(angle)) * radius));
            left.push_back({body.left + dx, static_cast<LONG>(middle + dy)});
            right.push_back({body.right - 1 - dx, static_cast<LONG>(middle + dy)});
        }
        CPen pen(PS_SOLID, 2, symbol);
        CPen* old = m_dc->SelectObject(&pen);
        m_dc->Polyline(left.data(), static_cast<int>(left.size()));
        m_dc->Polyline(right.data(), static_cast<int>(right.size()));
        m_dc->SelectObject(old);
    }
    if (element->GetKind() == 1)
        Line(body.right - 3, body.top + 3, body.left + 3, body.bottom - 3, symbol);
    else if (*element->GetKindLetter())
        Text(element->GetKindLetter(), body, DT_CENTER | DT_VCENTER, symbol);
    DrawValue(element, body);
}

void CGraphPainter::ExeBlockBody(CGraphExeBlock* block)
{
    const CRect body = block->GetBodyRectInNetwork();
    CRect box = body;
    m_dc->FillSolidRect(&box, block->GetBoxColor());
    m_dc->DrawEdge(&box, EDGE_RAISED, BF_RECT);
    const int ch = block->GetCharCell().cy;
    const bool selected = block->IsSelected() && !block->HasValue();
    const COLORREF text = m_manager.GetColor(selected ? SelTextColor : TextColor);
    Text(block->GetName(), CRect(body.left, body.top, body.right, body.top + ch), DT_CENTER | DT_TOP, text,
         true);
    if (block->GetType() == FBD_OPERATOR)
    {
        CGraphBitmap picture;
        const int step = StepY();
        if (DrawOperatorPicture(static_cast<CGraphOpr*>(block)->GetOperatorCode(), step, picture))
        {
            const CRect target(CPoint(body.CenterPoint().x - step / 2, body.top + ch), CSize(step, step));
            picture.DrawTransparent(m_dc, target.left, target.top, RGB(255, 255, 255), &target);
        }
    }
    const int sy = StepY();
    for (CGraphPin* pin : block->AllPins())
    {
        if (!pin->IsNameShown())
            continue;
        const int y = pin->GetPosition().y * sy;
        const CRect row = ClearOfPin(CRect(body.left + 3, y - sy / 2, body.right - 3, y + sy / 2), pin);
        Text(pin->GetName(), row, (pin->GetSide() == CGraphPin::SIDE_INPUT ? DT_LEFT : DT_RIGHT) | DT_VCENTER,
             text);
    }
    if (block->HasValue())
    {
        // The value stands in a circle in the middle of the box.
        const CPoint centre = body.CenterPoint();
        CRect circle(centre.x - ch, centre.y - ch, centre.x + ch, centre.y + ch);
        CBrush fill(m_manager.GetColor(TriggerColor));
        CBrush* old = m_dc->SelectObject(&fill);
        m_dc->Ellipse(&circle);
        m_dc->SelectObject(old);
        DrawValue(block, circle);
    }
}

void CGraphPainter::CommentBody(CGraphComment* comment)
{
    const CRect window = comment->GetWindowRect();
    m_dc->FillSolidRect(&window, m_manager.GetColor(comment->IsSelected() ? SelectionColor : BkgndGrid));
    const int ch = comment->GetCharCell().cy;
    for (INT_PTR i = 0; i < comment->GetLines().GetSize(); ++i)
    {
        const int top = window.top + static_cast<int>(i) * ch;
        Text(comment->GetLines()[i], CRect(window.left + 5, top, window.right, top + ch), DT_LEFT | DT_TOP,
             comment->GetTextColor());
    }
}

void CGraphPainter::RaisedOutline(const std::vector<POINT>& outline)
{
    // Edges facing up or left catch the light, the others lie in shadow.
    long sumX = 0;
    long sumY = 0;
    for (const POINT& p : outline)
    {
        sumX += p.x;
        sumY += p.y;
    }
    const auto count = static_cast<long>(outline.size());
    const CPoint centre(static_cast<int>(sumX / count), static_cast<int>(sumY / count));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (size_t i = 0; i < outline.size(); ++i)
    {
        const POINT& from = outline[i];
        const POINT& to = outline[(i + 1) % outline.size()];
        // The edge's normal that points away from the middle of the arrow.
        int nx = to.y - from.y;
        int ny = from.x - to.x;
        const int towardsMiddle =
            nx * (centre.x - (from.x + to.x) / 2) + ny * (centre.y - (from.y + to.y) / 2);
        if (towardsMiddle > 0)
        {
            nx = -nx;
            ny = -ny;
        }
        const bool lit = ny < 0 || (ny == 0 && nx < 0);
        Line(from.x, from.y, to.x, to.y, lit ? light : shadow);
    }
}

void CGraphPainter::PinBoxBody(CGraphPinBox* element)
{
    const CRect box = element->GetBodyRectInNetwork();
    const COLORREF fill = element->GetBoxColor();
    const COLORREF text = m_manager.GetColor(element->IsSelected() ? SelTextColor : TextColor);
    const int type = element->GetType();
    if (type == FBD_CONST)
    {
        CRect edge = box;
        m_dc->FillSolidRect(&edge, fill);
        m_dc->DrawEdge(&edge, EDGE_RAISED, BF_RECT);
        Text(element->GetName(), box, DT_CENTER | DT_VCENTER, text);
    }
    else
    {
        const int tip = box.Height() / 2;
        std::vector<POINT> outline;
        const bool read = type == FBD_VARIABLE && static_cast<CGraphVar*>(element)->IsRead();
        if (type == FBD_VARIABLE && read)
            outline = {{box.left, box.top},
                       {box.right - tip, box.top},
                       {box.right, box.top + tip},
                       {box.right - tip, box.bottom},
                       {box.left, box.bottom}};
        else if (type == FBD_VARIABLE)
            outline = {{box.left, box.top + tip},
                       {box.left + tip, box.top},
                       {box.right, box.top},
                       {box.right, box.bottom},
                       {box.left + tip, box.bottom}};
        else
            outline = {{box.left, box.top + tip},     {box.left + tip, box.top},
                       {box.right - tip, box.top},    {box.right, box.top + tip},
                       {box.right - tip, box.bottom}, {box.left + tip, box.bottom}};
        CBrush brush(fill);
        // A variable's arrow stands out with a raised edge, as a button does.
        CPen pen(PS_SOLID, 1, type == FBD_VARIABLE ? GetSysColor(COLOR_BTNFACE) : RGB(0, 0, 0));
        CBrush* oldBrush = m_dc->SelectObject(&brush);
        CPen* oldPen = m_dc->SelectObject(&pen);
        m_dc->Polygon(outline.data(), static_cast<int>(outline.size()));
        if (type == FBD_RETURN)
            m_dc->Polyline(outline.data() + 1, 2);
        m_dc->SelectObject(oldPen);
        m_dc->SelectObject(oldBrush);
        if (type == FBD_VARIABLE)
            RaisedOutline(outline);
        const UINT align = type == FBD_VARIABLE ? (read ? DT_RIGHT : DT_LEFT) : DT_CENTER;
        CRect inner = box;
        inner.DeflateRect(tip, 0);
        for (CGraphPin* pin : element->AllPins())
            inner = ClearOfPin(inner, pin);
        Text(element->GetName(), inner, align | DT_VCENTER, text);
    }
}
