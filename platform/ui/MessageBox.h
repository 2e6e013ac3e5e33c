// Message boxes and questions: every one goes through a replaceable sink.
#pragma once

#include "UiDefs.h"

#include <framework/CString.h>

// Shows a box and answers the button pressed (IDOK, IDYES ...). Tests install one that answers.
class CMessageBoxSink
{
public:
    virtual ~CMessageBoxSink() = default;
    virtual int Show(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one.
CMessageBoxSink* AfxSetMessageBoxSink(CMessageBoxSink* sink);
CMessageBoxSink* AfxGetMessageBoxSink();

// The answer a box gives without anyone to ask: its default button.
int DefaultMessageBoxAnswer(UINT type);

// caption null: the application's name.
int AfxShowMessageBox(CWnd* owner, const char* text, const char* caption, UINT type);
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
