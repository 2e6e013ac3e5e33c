// The ladder view's operand dialogs: the bit selection and FIN dialogs of the editor.
#pragma once

#include <TvskLumoPlc/graphview/LDOperandDialogs.h>

class CPlcOperandDialogs : public CLDOperandDialogs
{
public:
    bool SelectBit(CWnd* parent, const CString& caption, bool parameterOnly, int& parameter,
                   int& bit) override;
    bool SelectFin(CWnd* parent, const CString& okText, const CString& cancelText, bool& positive,
                   int& parameter, int& bit) override;
};
