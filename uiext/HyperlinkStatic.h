// A static text that opens its address with the desktop's handler when its caption is clicked.
#pragma once

#include <ui/Controls.h>
#include <ui/Gdi.h>

class CHyperlinkStatic : public CStatic
{
public:
    void SetHyperlink(const CString& address) { m_strHyperlink = address; }
    void SetCaption(const CString& caption);
    const CString& GetCaption() const { return m_strCaption; }
    bool IsHovering() const { return m_bHover != 0; }
    // The caption's width centred in the client area over its full height; empty until the font exists.
    CRect GetCaptionRect();

    static constexpr COLORREF kLinkColour = RGB(0, 0, 255);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnDestroy() override;

private:
    void CreateUnderlinedFont();

    CString m_strCaption;
    CString m_strHyperlink;
    CFont m_fntUnderline;
    int m_nCaptionWidth = 0;
    int m_nCaptionHeight = 0;
    BYTE m_bCaptionSizeKnown = 0;
    BYTE m_bFontCreated = 0;
    BYTE m_bTracking = 0;
    HCURSOR m_hLinkCursor = LoadCursor(nullptr, IDC_ARROW);
    HCURSOR m_hNormalCursor = LoadCursor(nullptr, IDC_ARROW);
    BYTE m_bHover = 0;
};
