// The clipboard's plain text, and system settings windows read.
#pragma once

#include "DragDrop.h"

// Replaces the clipboard's contents with the text.
BOOL SetClipboardText(const char* text);
// FALSE when the clipboard holds no text.
BOOL GetClipboardText(CString& text);
// Only CF_TEXT is known.
BOOL IsClipboardFormatAvailable(UINT format);

constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
// SPI_GETWHEELSCROLLLINES writes the lines one wheel notch scrolls into the UINT at param.
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);
