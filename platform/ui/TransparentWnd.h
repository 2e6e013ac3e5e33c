// A child window that paints nothing, so its parent shows through, yet receives the mouse.
#pragma once

#include "Wnd.h"

constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;

class CTransparentWnd : public CWnd
{
public:
    // A visible child with the transparent extended style over the rectangle of the parent.
    BOOL CreateTransparent(const RECT& rect, CWnd* parent, UINT id);

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
};
