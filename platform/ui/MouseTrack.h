// A modal mouse-tracking loop: the window captures the mouse and a nested event loop hands every
// mouse and key message to a handler until it ends the loop (drags of wires, segments, points).
#pragma once

#include "UiDefs.h"

#include <framework/Geometry.h>

#include <functional>

class CWnd;

struct MOUSETRACK_MSG
{
    UINT message; // WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_KEYDOWN
    CPoint point; // in the tracking window's client coordinates
    UINT key;     // WM_KEYDOWN: the virtual key (VK_ESCAPE, VK_RETURN, letters and digits as themselves)
};

// Runs until the handler answers false; other windows see none of these messages meanwhile.
// FALSE at once when the window has no widget.
BOOL RunMouseTrackLoop(CWnd* wnd, const std::function<bool(const MOUSETRACK_MSG&)>& handler);
