// A whole-number edit with its up-down control: the arrows step the number within the range, and
// reading refuses anything that is not a whole number in the range.
#pragma once

#include <framework/WinTypes.h>

class CWnd;
struct NMUPDOWN;

class CRangedEdit
{
public:
    CRangedEdit(UINT editId, UINT spinId, int lower, int upper) noexcept
        : m_editId(editId), m_spinId(spinId), m_lower(lower), m_upper(upper)
    {
    }

    // Gives the dialog's up-down control the range.
    void SetRange(CWnd& dialog) const;
    void Set(CWnd& dialog, int value) const;
    // True when the notification came from this edit's up-down control (the edit then moved).
    bool Step(CWnd& dialog, const NMUPDOWN& notify) const;
    // False, after a box naming the range and with the focus on the edit, when the text is refused.
    bool Read(CWnd& dialog, int& value) const;

private:
    UINT m_editId;
    UINT m_spinId;
    int m_lower;
    int m_upper;
};

// The whole number a text holds (blanks around it allowed); false for anything else.
bool ParseWholeNumber(const char* text, int& value);
