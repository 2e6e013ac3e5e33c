// The hex view of the diagnostics window: 96 recorded bytes in six rows, coloured by direction.
#pragma once

#include <PortSpy.h>

#include <ui/Wnd.h>

class CComDBuff : public CWnd
{
public:
    static constexpr COLORREF Background = RGB(192, 192, 192);
    static constexpr COLORREF EmptyColour = RGB(128, 128, 128);
    static constexpr COLORREF ReceivedColour = RGB(192, 0, 0);
    static constexpr COLORREF SentColour = RGB(0, 0, 192);
    static constexpr int ColumnWidth = 20;
    static constexpr int RowHeight = 16;

    // Fills the rectangle in the parent.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Shows a copy of the bytes and their tags (96 each).
    void SetView(const BYTE* bytes, const BYTE* tags);
    static COLORREF TagColour(BYTE tag) noexcept;

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;

private:
    BYTE m_bytes[CPortSpy::VIEW_SIZE] = {};
    BYTE m_tags[CPortSpy::VIEW_SIZE] = {};
};
