// The multi-line edit: an "Edit" control with ES_MULTILINE, for logs and longer texts.
#pragma once

#include "Controls.h"

class QWidget;

// The toolkit widget of a multi-line edit (read-only with ES_READONLY).
QWidget* CreateMultiLineEditWidget(DWORD style, QWidget* parent);
// Re-applies ES_READONLY to a multi-line edit's widget; false for another widget.
bool ApplyMultiLineEditStyle(QWidget* widget, DWORD style);

// Its text is read and written here, with "\r\n" line ends; a lone "\r" is not shown.
class CMultiLineEdit : public CEdit
{
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetText(const char* text);
    CString GetText() const;
    // Adds text at the end and scrolls so that the end is in view.
    void AppendText(const char* text);
    int GetLineCount() const;
    // Whether the last line is in view.
    bool IsEndVisible() const;
};
