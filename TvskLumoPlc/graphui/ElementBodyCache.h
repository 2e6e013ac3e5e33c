// Each element's body painted once into a bitmap, and copied from there until its look changes.
#pragma once

#include "GraphBitmap.h"

#include <TvskLumoPlc/graph/GraphFace.h>

#include <map>
#include <vector>

class CFontTextMetrics;
class CGraphBlock;
class CGraphManager;

class CElementBodyCache
{
public:
    CElementBodyCache(const CGraphManager& manager, CFontTextMetrics* fonts);

    // Copies the element's body from its bitmap, painted again first when anything it shows has
    // changed since; false for an element without a body picture (a power rail).
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
        CString detail; // kind, direction, pin names: what each element type adds
        CRect window;
        CRect body;
        int stepX = 0;
        int stepY = 0;
        int fontSize = 0;
        CString fontName;
        std::vector<COLORREF> colours;
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
