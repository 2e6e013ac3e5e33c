// A tooltip-like popup that follows the pointer: shown after a delay, hidden after another.
#pragma once

#include <ui/Gdi.h>
#include <ui/Wnd.h>

class CDataTip : public CWnd
{
public:
    CDataTip();

    virtual BOOL Create(CWnd* owner);
    void On(BOOL on) { m_bOn = on; }
    BOOL IsOn() const { return m_bOn; }
    void SetOffset(CPoint offset) { m_offset = offset; }
    void SetOffset(int x, int y) { m_offset = CPoint(x, y); }
    // Point in the owner's client coordinates; the same screen point again changes nothing.
    void Set(CPoint point, const CString& text);
    void Hide();
    BOOL DestroyWindow() override;
    // Hides the tip on a button press or cancel mode; the owner routes its messages through it.
    BOOL PreTranslateMessage(MSG* msg) override;

    static void SetDelayShow(SHORT delay) { m_nDelayShow = delay; }
    static void SetDelayHide(long delay) { m_nDelayHide = delay; }

    static SHORT m_nDelayShow;
    static long m_nDelayHide;
    static int m_fRegistered;

    static constexpr UINT_PTR kShowTimer = 1010;
    static constexpr UINT_PTR kHideTimer = 1011;

protected:
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;

private:
    void Display();
    static CFont& SharedFont();

    CWnd* m_pOwner = nullptr;
    CString m_strText;
    CPoint m_offset{10, 5};
    CPoint m_ptLast{-1, -1};
    BOOL m_bCreated = FALSE;
    CRect m_rcHideZone;
    BOOL m_bOn = FALSE;
};
