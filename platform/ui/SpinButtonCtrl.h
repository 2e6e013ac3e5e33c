// The up-down control "msctls_updown32": two arrows that tell the parent by WM_NOTIFY (UDN_DELTAPOS)
// before they move their position, which the parent may refuse.
#pragma once

#include "Wnd.h"

constexpr int UDN_DELTAPOS = -722;
constexpr DWORD UDS_HORZ = 0x0040;

struct NMUPDOWN
{
    NMHDR hdr;
    int iPos;
    int iDelta;
};

class CSpinButtonCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange32(int lower, int upper);
    void GetRange32(int& lower, int& upper) const;
    int SetPos32(int pos);
    int GetPos32() const;
    // What an arrow does: +1 up, -1 down. The parent answering the notification nonzero keeps the position.
    void Step(int delta);
};

// The toolkit widget of a "msctls_updown32" window (made by CreateControlWidget).
QWidget* CreateUpDownWidget(DWORD style, QWidget* parent);
