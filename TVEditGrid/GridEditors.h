// The grid's in-cell controls: edit box, drop-down list and option button, each forwarding to the grid.
#pragma once

#include <ui/Controls.h>

// Private messages the in-cell controls send to their grid.
constexpr UINT WM_EG_KEY = WM_USER + 101;         // wParam: virtual key; nonzero answer consumes it
constexpr UINT WM_EG_KILLFOCUS = WM_USER + 102;   // the edit box lost the focus
constexpr UINT WM_EG_COMBOSEL = WM_USER + 103;    // wParam: value of the chosen list entry
constexpr UINT WM_EG_OPTIONCLICK = WM_USER + 104; // the option button was pressed

// Whether a numeric-only edit box takes a typed character: digits, "+", "-", ".", "E", "e" and
// control characters such as Backspace.
bool GridEditAccepts(UINT ch, bool numericOnly);

class CGridEditBox : public CEdit
{
public:
    explicit CGridEditBox(bool numericOnly) : m_numericOnly(numericOnly) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    bool m_numericOnly;
};

class CGridComboBox : public CComboBox
{
protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
};

class CGridOptionButton : public CStatic
{
protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
};
