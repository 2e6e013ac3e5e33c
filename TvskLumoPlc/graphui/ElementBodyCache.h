// Each element's body painted once into a bitmap, and copied from there until its look changes.
#pragma once

#include "GraphBitmap.h"

#include <TvskLumoPlc/graph/GraphFace.h>

#include <array>
#include <cstdint>
#include <map>

class CFontTextMetrics;
class CGraphBlock;
class CGraphManager;

class CElementBodyCache
{
public:
    CElementBodyCache(const CGraphManager& manager, CFontTextMetrics* fonts);

    // Copies the element's body from its bitmap (as big as the body), painted again first when
    // anything it shows has changed since; false for an element without a body picture (a rail).
    bool CopyBody(CDC* dc, CGraphBlock* element);
    void Forget(const CGraphBlock* element);
    // How many bodies were painted into their bitmaps so far.
    int GetPaintCount() const noexcept { return m_nPainted; }

private:
    // Everything a body's picture depends on.
    struct Look
    {
        int type = 0;
        DWORD flags = 0;
        int value = 0;
        CString name;
        CString text;
        int kind = 0;         // a contact's or coil's kind, a variable's direction
        CString lines;        // a comment's lines
        std::uint64_t pins{}; // names, sides, styles and places of the pins, hashed
        CRect window;
        CRect body;
        int stepX = 0;
        int stepY = 0;
        int fontSize = 0;
        CString fontName;
        std::array<COLORREF, GraphColorCount> colours{};
        bool operator==(const Look&) const = default;
    };
    struct Body
    {
        Look look;
        CGraphBitmap bitmap;
    };

    Look LookOf(const CGraphBlock* element) const;

    const CGraphManager& m_manager;
    CFontTextMetrics* m_pFonts;
    std::map<const CGraphBlock*, Body> m_Bodies;
    int m_nPainted = 0;
};
