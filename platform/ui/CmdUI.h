// The state of one command's button or control, set by update handlers before it is shown.
#pragma once

#include "UiDefs.h"

class CCmdUI
{
public:
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int check = 1);
    virtual void SetText(const char* text);

    // Runs the target's update handler; when it has none (or it left the enable state alone) and
    // disableIfNoHandler is set, the item is enabled exactly when the target handles the command.
    BOOL DoUpdate(CWnd* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr; // the control updated, for dialog controls
    bool m_bEnableChanged = false;
};
