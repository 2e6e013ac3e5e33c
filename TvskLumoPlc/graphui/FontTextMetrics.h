// Text metrics of the graph's real font, normal and bold (weight 900), measured off-screen.
#pragma once

#include <TvskLumoPlc/graph/GraphFace.h>

#include <ui/Dc.h>

#include <string>
#include <unordered_map>

class CFontTextMetrics : public CGraphTextMetrics
{
public:
    CFontTextMetrics();

    bool SetFont(int size, const char* face) override;
    bool HasFont() const override { return m_normal.IsCreated(); }
    int GetTextHeight() const override;
    CSize GetTextExtent(const char* text, bool bold) const override;

    CFont* GetFont(bool bold) { return bold ? &m_bold : &m_normal; }

private:
    CFont m_normal;
    CFont m_bold;
    CBitmap m_surface;
    mutable CDC m_dc;
    // Measured extents by text, bold ones behind a leading '\1'; emptied with a new font.
    mutable std::unordered_map<std::string, CSize> m_extents;
};
