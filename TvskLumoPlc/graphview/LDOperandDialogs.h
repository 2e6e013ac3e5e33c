// The operand dialogs the ladder view opens on a double click. The editor's shell supplies
// them: the view's library does not know the shell's dialogs.
#pragma once

#include <framework/CString.h>

class CWnd;

class CLDOperandDialogs
{
public:
    virtual ~CLDOperandDialogs() = default;

    // Parameter and bit (parameter only: no bit row); true on OK with the values chosen.
    virtual bool SelectBit(CWnd* parent, const CString& caption, bool parameterOnly, int& parameter,
                           int& bit) = 0;
    // FIN or FIN NEG, parameter and bit; true on OK with the choice.
    virtual bool SelectFin(CWnd* parent, const CString& okText, const CString& cancelText, bool& positive,
                           int& parameter, int& bit) = 0;
};
