// The control's six small images, drawn in code: the three bar grips and the three trigger marks.
#pragma once

#include <framework/WinTypes.h>

class QImage;

constexpr UINT IDB_GRIP_BAR1 = 201;
constexpr UINT IDB_GRIP_BAR2 = 202;
constexpr UINT IDB_GRIP_BAR3 = 203;
constexpr UINT IDB_TRIGGER = 204;
constexpr UINT IDB_TRIGGER_LEFT = 205;
constexpr UINT IDB_TRIGGER_RIGHT = 206;

constexpr COLORREF kBar1Colour = 0xFF0000; // blue
constexpr COLORREF kBar2Colour = 0x0000FF; // red
constexpr COLORREF kBar3Colour = 0x008000; // green
constexpr COLORREF kTriggerColour = 0x0080FF;

// The image of that id (201 to 206): grips 10 x 10, trigger marks 13 x 9.
const QImage& GraphImage(UINT id);
