// FIN dialog: radios for the kind and the parameter, the bit with its range.
#include "DlgFin.h"

#include "DialogTexts.h"
#include "PlcIds.h"
#include "RadioGroup.h"

#include <ui/Controls.h>
#include <ui/SpinButtonCtrl.h>

CDlgFin::CDlgFin(CWnd* parent) : CDialog(IDD_PLC_FIN, parent), m_bit(IDC_FIN_BIT, IDC_FIN_BIT_SPIN, 0, 7)
{
    PlcModule();
}

BOOL CDlgFin::OnInitDialog()
{
    CDialog::OnInitDialog();
    GroupRadioButtons(*this, {IDC_FIN_POSITIVE, IDC_FIN_NEGATED});
    GroupRadioButtons(*this, {IDC_FIN_PR40, IDC_FIN_PR150});
    m_nKind = 0;
    m_nParamIndex = 0;
    ReplaceDialogTexts(*this, m_strCaption, m_strOkText, m_strCancelText);
    m_nKind = m_bPositive ? 0 : 1;
    m_nParamIndex = m_nParam == 150 ? 1 : 0;
    CheckRadio(IDC_FIN_POSITIVE, IDC_FIN_NEGATED, m_nKind);
    CheckRadio(IDC_FIN_PR40, IDC_FIN_PR150, m_nParamIndex);
    m_bit.Set(*this, m_nBit);
    m_bit.SetRange(*this);
    return TRUE;
}

void CDlgFin::OnOK()
{
    int bit = 0;
    if (!m_bit.Read(*this, bit))
        return;
    m_nBit = bit;
    m_nKind = CheckedRadio(IDC_FIN_POSITIVE, IDC_FIN_NEGATED);
    m_nParamIndex = CheckedRadio(IDC_FIN_PR40, IDC_FIN_PR150);
    m_bPositive = m_nKind != 1;
    m_nParam = m_nParamIndex == 1 ? 150 : 40;
    EndDialog(IDOK);
}

LRESULT CDlgFin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && m_bit.Step(*this, *reinterpret_cast<const NMUPDOWN*>(lParam)))
        return 1;
    return CDialog::WindowProc(message, wParam, lParam);
}

int CDlgFin::CheckedRadio(UINT first, UINT second) const
{
    if (static_cast<CButton*>(GetDlgItem(static_cast<int>(first)))->GetCheck() == BST_CHECKED)
        return 0;
    if (static_cast<CButton*>(GetDlgItem(static_cast<int>(second)))->GetCheck() == BST_CHECKED)
        return 1;
    return -1;
}

void CDlgFin::CheckRadio(UINT first, UINT second, int index)
{
    static_cast<CButton*>(GetDlgItem(static_cast<int>(first)))
        ->SetCheck(index == 0 ? BST_CHECKED : BST_UNCHECKED);
    static_cast<CButton*>(GetDlgItem(static_cast<int>(second)))
        ->SetCheck(index == 1 ? BST_CHECKED : BST_UNCHECKED);
}
