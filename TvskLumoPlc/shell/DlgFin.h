// The FIN operand dialog: parameter 40 or 150, bit 0 to 7, positive or negated.
#pragma once

#include "RangedEdit.h"

#include <ui/Dialog.h>

class CDlgFin : public CDialog
{
public:
    explicit CDlgFin(CWnd* parent = nullptr);

    int m_nBit = 0;
    // Empty: the layout's own text stays.
    CString m_strCaption;
    CString m_strOkText;
    CString m_strCancelText;
    // Set before opening, the choice after IDOK.
    bool m_bPositive = true;
    int m_nParam = 40;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int CheckedRadio(UINT first, UINT second) const;
    void CheckRadio(UINT first, UINT second, int index);

    // 0 FIN, 1 FIN NEG
    int m_nKind = -1;
    // 0 Pr.40, 1 Pr.150
    int m_nParamIndex = -1;
    CRangedEdit m_bit;
};
