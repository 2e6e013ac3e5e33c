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
        if (!CGraphPainter::PaintBody(element, m_manager, m_pFonts, area, body.bitmap))
        {
            m_Bodies.erase(element);
            return false;
        }
        body.look = std::move(look);
        ++m_nPainted;
        at = m_Bodies.find(element);
    }
    return dc->DrawImage(area.left, area.top, area.Width(), area.Height(),
                         at->second.bitmap.GetBitmap().GetImage()) != FALSE;
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
        look.colours[static_cast<size_t>(role)] = m_manager.GetColor(static_cast<GraphColor>(role));
    switch (look.type)
    {
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
        look.kind = static_cast<const CGraphLadderElem*>(element)->GetKind();
        break;
    case FBD_VARIABLE:
        look.kind = static_cast<const CGraphVar*>(element)->IsRead() ? 1 : 0;
        break;
    case FBD_COMMENT:
        for (INT_PTR i = 0; i < static_cast<const CGraphComment*>(element)->GetLines().GetSize(); ++i)
            look.lines += static_cast<const CGraphComment*>(element)->GetLines()[i] + "\n";
        break;
    default:
        break;
    }
    // Pin names stand inside a box, and pins cut the labels beside them (FNV-1a over their parts).
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::uint64_t value)
    {
        hash ^= value;
        hash *= 1099511628211ull;
    };
    for (const CGraphPin* pin : element->AllPins())
    {
        for (const char* c = pin->GetName(); *c; ++c)
            mix(static_cast<unsigned char>(*c));
        mix(static_cast<std::uint64_t>(pin->GetSide()) << 8 | static_cast<std::uint64_t>(pin->GetStyle()));
        mix(static_cast<std::uint32_t>(pin->GetPosition().x));
        mix(static_cast<std::uint32_t>(pin->GetPosition().y));
    }
    look.pins = hash;
    return look;
}
