// Ladder elements: contact, coil and power rail.
#pragma once

#include <TvskLumoPlc/graph/GraphBlock.h>

// A contact or a coil: two pins on one row, a kind and a name above the body.
class CGraphLadderElem : public CGraphBlock
{
public:
    static constexpr int PinsPerElement = 2;

    bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) override;
    CString GetKey() const override;
    bool MoveTo(int x, int y) override;
    void SetText(const char* text) override;
    int GetRightX() const override;
    CSize GetOverflow() const override;
    void Invalidate() override;

    int GetKind() const noexcept { return m_nKind; }
    void SetKind(int kind);
    int NextKind();
    // Plain and negated swap; the edge and set/reset kinds have no negation.
    bool ToggleOnOff() override;
    // The letter drawn for kinds beyond the negated one, empty for the others.
    const char* GetKindLetter() const;
    const CRect& GetNameRect() const noexcept { return m_rcName; }
    COLORREF GetBackgroundColor() const;
    COLORREF GetSymbolColor() const;

protected:
    CGraphLadderElem(int type, int kinds, const char* source, const char* tag)
        : CGraphBlock(type), m_nKinds(kinds), m_pSource(source), m_pTag(tag)
    {
    }
    void CreatePins() override;
    void ComputeLayout() override;
    void PlacePins() override;

    int m_nKind = 0;
    int m_nKinds;
    const char* m_pSource;
    const char* m_pTag;
    CRect m_rcName;
};

class CGraphContact : public CGraphLadderElem
{
public:
    CGraphContact() : CGraphLadderElem(FBD_LD_CONTACT, 4, "GraphContact", "$CN") {}
};

class CGraphCoil : public CGraphLadderElem
{
public:
    CGraphCoil() : CGraphLadderElem(FBD_LD_COIL, 6, "GraphCoil", "$CL") {}
    // The middle of the input wire when it is one segment, else one step left of the coil.
    CPoint GetReferencePoint() const override;
};

class CGraphPwrRail : public CGraphBlock
{
public:
    CGraphPwrRail() : CGraphBlock(FBD_LD_POWER_RAIL) {}

    bool Init(CGraphNetworkIntf* network, CPlcFBDObject* model) override;
    bool MoveTo(int x, int y) override;
    int GetRightX() const override { return m_nX + 2; }
    bool IsRight() const noexcept { return m_bRight; }
    int GetHeightPixels() const noexcept { return m_nHeight; }
    int GetRows() const noexcept { return m_nRows; }
    // Pixel column of the rail's line.
    int GetLineX() const;
    COLORREF GetLineColor() const;

protected:
    void CreatePins() override;
    void ComputeLayout() override;

private:
    bool m_bRight = false;
    int m_nHeight = 0;
    int m_nRows = 0;
};
