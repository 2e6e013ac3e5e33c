// Input prompts: a line of text asked of the user, through a replaceable sink like message boxes.
#pragma once

#include "UiDefs.h"

#include <framework/CString.h>

class CWnd;

// Asks for a text; text holds the proposal on entry and the answer on return. False when cancelled.
class CInputBoxSink
{
public:
    virtual ~CInputBoxSink() = default;
    virtual bool Prompt(CWnd* owner, const CString& prompt, const CString& caption, CString& text) = 0;
};

// Installs a sink (null: the desktop one again) and answers the previous one.
CInputBoxSink* AfxSetInputBoxSink(CInputBoxSink* sink);

// Without a display the prompt is cancelled rather than left waiting.
bool AfxInputBox(CWnd* owner, const char* prompt, const char* caption, CString& text);
