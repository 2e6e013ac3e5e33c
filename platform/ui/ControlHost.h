// Hosting a component's window in a window of ours (its events connect through <com/ConnectionAdvise.h>).
#pragma once

#include "Wnd.h"

#include <com/ConnectionAdvise.h>
#include <com/Dispatch.h>

// A component that makes its own window as a child of a host window (there is no in-place activation).
struct IControlWindow : IUnknown
{
    using Base = IUnknown;
    static constexpr IID Iid = MakeGuid("5E1A7C3B-2D44-4F1E-9B6A-0C3D2E8F4A11");
    // Makes the component's window as a child of parent at rect; *window is the component's, not counted.
    virtual HRESULT CreateControlWindow(CWnd* parent, const RECT& rect, CWnd** window) = 0;
    // The component's window, or null before it was made.
    virtual CWnd* GetControlWindow() = 0;

protected:
    ~IControlWindow() = default;
};
