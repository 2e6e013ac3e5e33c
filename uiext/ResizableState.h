// A window's placement saved to and restored from the application profile.
#pragma once

#include <ui/Wnd.h>

class CResizableState
{
public:
    virtual ~CResizableState() = default;

protected:
    virtual CWnd* GetResizableWnd() = 0;

    // Entry "WindowPlacement" of the section: "left,top,right,bottom,show command,flags".
    BOOL SaveWindowRect(const char* section, BOOL rectOnly);
    // 0 (and the window untouched) when the value is missing or has not six numbers.
    BOOL LoadWindowRect(const char* section, BOOL rectOnly);
};
