// The trackbar "msctls_trackbar32" over a QSlider: range, position and page size by message or member,
// movements reported to the parent as WM_HSCROLL (or WM_VSCROLL) with the trackbar's codes.
#pragma once

#include "Wnd.h"

constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_NOTICKS = 0x0010;

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;

// Codes in the low word of WM_HSCROLL's wParam
constexpr UINT TB_LINEUP = 0;
constexpr UINT TB_LINEDOWN = 1;
constexpr UINT TB_PAGEUP = 2;
constexpr UINT TB_PAGEDOWN = 3;
constexpr UINT TB_THUMBPOSITION = 4;
constexpr UINT TB_THUMBTRACK = 5;
constexpr UINT TB_TOP = 6;
constexpr UINT TB_BOTTOM = 7;
constexpr UINT TB_ENDTRACK = 8;

class CSliderCtrl : public CWnd
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;
    int SetPageSize(int size);
    int GetPageSize() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The toolkit widget of a "msctls_trackbar32" window (made by CreateControlWidget).
QWidget* CreateTrackbarWidget(DWORD style, QWidget* parent);
