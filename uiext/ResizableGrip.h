// The size grip in the bottom-right corner of a resizable window.
#pragma once

#include <ui/Controls.h>

class CResizableGrip
{
public:
    CResizableGrip();
    virtual ~CResizableGrip() = default;

    // 0 when the grip cannot be created.
    BOOL InitGrip();
    // Moves the grip into the corner; it is enabled only while the window is not maximised.
    void UpdateGripPos();
    void ShowSizeGrip(BOOL show);

protected:
    virtual CWnd* GetResizableWnd() = 0;

    CSize m_sizeGrip;
    CScrollBar m_wndGrip;
};
