// The operand dialog of a ladder contact or coil: parameter number and bit.
#pragma once

#include "RangedEdit.h"

#include <ui/Dialog.h>

class CDlgBitSelect : public CDialog
{
public:
    explicit CDlgBitSelect(CWnd* parent = nullptr);

    int m_nBit = 0;
    int m_nParam = 0;
    // Empty: the layout's own text stays.
    CString m_strCaption;
    CString m_strOkText;
    CString m_strCancelText;
    // Only the parameter row is shown.
    int m_bParamOnly = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CRangedEdit m_param;
    CRangedEdit m_bit;
};
