// A label drawn in a colour of its own on the dialog face.
#pragma once

#include <ui/Wnd.h>

class CColourText : public CWnd
{
public:
    BOOL Create(const char* text, COLORREF colour, const RECT& rect, CWnd* parent);

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;

private:
    COLORREF m_colour = 0;
};
