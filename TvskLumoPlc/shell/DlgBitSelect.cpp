// Bit selection: the parameter row always, the bit row unless parameter-only.
#include "DlgBitSelect.h"

#include "DialogTexts.h"
#include "PlcIds.h"

#include <ui/Resources.h>
#include <ui/SpinButtonCtrl.h>

CDlgBitSelect::CDlgBitSelect(CWnd* parent)
    : CDialog(IDD_PLC_BITSELECT, parent), m_param(IDC_BITSEL_PARAM, IDC_BITSEL_PARAM_SPIN, 0, 200),
      m_bit(IDC_BITSEL_BIT, IDC_BITSEL_BIT_SPIN, 0, 15)
{
    PlcModule();
}

BOOL CDlgBitSelect::OnInitDialog()
{
    if (m_bParamOnly)
        for (UINT id : {IDC_BITSEL_BIT, IDC_BITSEL_BIT_SPIN, IDC_BITSEL_BIT_LABEL})
            GetDlgItem(static_cast<int>(id))->ShowWindow(SW_HIDE);
    CDialog::OnInitDialog();
    ReplaceDialogTexts(*this, m_strCaption, m_strOkText, m_strCancelText);
    m_param.Set(*this, m_nParam);
    m_param.SetRange(*this);
    if (!m_bParamOnly)
    {
        m_bit.Set(*this, m_nBit);
        m_bit.SetRange(*this);
    }
    return TRUE;
}

void CDlgBitSelect::OnOK()
{
    int param = 0;
    int bit = m_nBit;
    if (!m_param.Read(*this, param) || (!m_bParamOnly && !m_bit.Read(*this, bit)))
        return;
    m_nParam = param;
    m_nBit = bit;
    EndDialog(IDOK);
}

LRESULT CDlgBitSelect::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY)
    {
        const auto& notify = *reinterpret_cast<const NMUPDOWN*>(lParam);
        if (m_param.Step(*this, notify) || m_bit.Step(*this, notify))
            return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
