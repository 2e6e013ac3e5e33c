// Caller-given texts of a small dialog: caption, OK and Cancel; an empty one keeps the layout's.
#pragma once

#include <framework/CString.h>

class CWnd;

void ReplaceDialogTexts(CWnd& dialog, const CString& caption, const CString& okText,
                        const CString& cancelText);
