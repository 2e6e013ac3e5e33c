#include "ElementBodyCache.h"

#include "GraphPainter.h"

#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

CElementBodyCache::CElementBodyCache(const CGraphManager& manager, CFontTextMetrics* fonts)
    : m_manager(manager), m_pFonts(fonts)
{
}

bool CElementBodyCache::CopyBody(CDC* dc, CGraphBlock* element)
{
    const CRect area = CGraphPainter::BodyArea(element);
    if (!dc || area.IsRectEmpty())
        return false;
    Look look = LookOf(element);
    auto at = m_Bodies.find(element);
    if (at == m_Bodies.end() || !(at->second.look == look))
    {
        Body& body = m_Bodies[element];
        if (!CGraphPainter::PaintBody(element, m_manager, m_pFonts, body.bitmap))
        {
            m_Bodies.erase(element);
            return false;
        }
        body.look = std::move(look);
        ++m_nPainted;
        at = m_Bodies.find(element);
    }
    // The bitmap covers the element's window; the body lies inside it.
    CDC source;
    source.CreateCompatibleDC(nullptr);
    CBitmap* old = source.SelectObject(&at->second.bitmap.GetBitmap());
    const CRect window = element->GetWindowRect();
    dc->BitBlt(area.left, area.top, area.Width(), area.Height(), &source, area.left - window.left,
               area.top - window.top, SRCCOPY);
    source.SelectObject(old);
    return true;
}

void CElementBodyCache::Forget(const CGraphBlock* element)
{
    m_Bodies.erase(element);
}

CElementBodyCache::Look CElementBodyCache::LookOf(const CGraphBlock* element) const
{
    Look look;
    look.type = element->GetType();
    look.flags = element->GetFlags();
    look.value = element->GetValue();
    look.name = element->GetName();
    look.text = element->GetText();
    look.window = element->GetWindowRect();
    look.body = element->GetBodyRectInNetwork();
    look.stepX = m_manager.GetStepX();
    look.stepY = m_manager.GetStepY();
    look.fontSize = m_manager.GetFontSize();
    look.fontName = m_manager.GetFontName();
    for (int role = 0; role < GraphColorCount; ++role)
        look.colours.push_back(m_manager.GetColor(static_cast<GraphColor>(role)));
    switch (look.type)
    {
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
        look.detail.Format("%d", static_cast<const CGraphLadderElem*>(element)->GetKind());
        break;
    case FBD_VARIABLE:
        look.detail = static_cast<const CGraphVar*>(element)->IsRead() ? "read" : "written";
        break;
    case FBD_COMMENT:
        for (INT_PTR i = 0; i < static_cast<const CGraphComment*>(element)->GetLines().GetSize(); ++i)
            look.detail += static_cast<const CGraphComment*>(element)->GetLines()[i] + "\n";
        break;
    default:
        break;
    }
    // Pin names stand inside a box, and pins cut the labels beside them.
    for (const CGraphPin* pin : element->AllPins())
        look.detail.AppendFormat("|%s %d %d %d,%d", static_cast<const char*>(pin->GetName()), pin->GetSide(),
                                 pin->GetStyle(), pin->GetPosition().x, pin->GetPosition().y);
    return look;
}
