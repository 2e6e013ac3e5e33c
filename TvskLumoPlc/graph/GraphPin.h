// A pin of an element: where one wire may end.
#pragma once

#include <TvskLumoPlc/graph/GraphObject.h>

class CConnection;
class CGraphBlock;

class CGraphPin : public CGraphObject
{
public:
    enum Style
    {
        STYLE_PLAIN = 1,
        STYLE_NEGATED = 2
    };
    enum Side
    {
        SIDE_INPUT = 1, // left edge
        SIDE_OUTPUT = 2 // right edge
    };

    CGraphPin(CGraphBlock* element, const char* name, int side, bool negated);
    ~CGraphPin() override;

    CString GetKey() const override;
    bool MoveTo(int x, int y) override;
    // The pin at its own point; null (and a program error) without an owner.
    CGraphObject* ObjectAt(int x, int y) override;
    void Invalidate() override;
    // True when it can be drawn: a pin without an owner reports a program error.
    bool IsDrawable() const { return CheckOwner("GraphPin", __LINE__); }

    // Sets the grid position and the hit rectangle: one step wide on the pin's side, 2 pixels high.
    void SetPinPosition(int x, int y);
    void Offset(int dx, int dy) { SetPinPosition(m_nX + dx, m_nY + dy); }
    // The connected wire forgets the pin.
    void Detach();

    CConnection* GetConnection() const noexcept { return m_pConnection; }
    void SetConnection(CConnection* connection) noexcept { m_pConnection = connection; }
    CGraphBlock* GetElement() const noexcept { return m_pElement; }
    int GetSide() const noexcept { return m_nSide; }
    void SetSide(int side);
    int GetStyle() const noexcept { return m_nStyle; }
    void SetStyle(int style) noexcept { m_nStyle = style; }
    bool IsNegated() const noexcept { return m_nStyle == STYLE_NEGATED; }
    bool IsNameShown() const noexcept { return m_bShowName && !m_strName.IsEmpty() && m_strName[0] != '#'; }
    void ShowName(bool shown) noexcept { m_bShowName = shown ? 1 : 0; }
    const CRect& GetHitRect() const noexcept { return m_rcHit; }
    bool IsHorizontal() const noexcept { return m_nOrientation == 1; }
    // 1 horizontal (the default), else vertical: the pin then reaches down (an input) or up.
    void SetOrientation(BYTE orientation);

private:
    int m_nStyle;
    int m_nSide;
    BYTE m_bShowName = 1;
    CConnection* m_pConnection = nullptr;
    CGraphBlock* m_pElement;
    CRect m_rcHit;
    BYTE m_nOrientation = 1;
};
