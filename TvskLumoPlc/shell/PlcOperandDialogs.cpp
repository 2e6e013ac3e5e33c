#include "PlcOperandDialogs.h"

#include "DlgBitSelect.h"
#include "DlgFin.h"

bool CPlcOperandDialogs::SelectBit(CWnd* parent, const CString& caption, bool parameterOnly, int& parameter,
                                   int& bit)
{
    CDlgBitSelect dialog(parent);
    dialog.m_strCaption = caption;
    dialog.m_bParamOnly = parameterOnly ? 1 : 0;
    dialog.m_nParam = parameter;
    dialog.m_nBit = bit;
    if (dialog.DoModal() != IDOK)
        return false;
    parameter = dialog.m_nParam;
    bit = dialog.m_nBit;
    return true;
}

bool CPlcOperandDialogs::SelectFin(CWnd* parent, const CString& okText, const CString& cancelText,
                                   bool& positive, int& parameter, int& bit)
{
    CDlgFin dialog(parent);
    dialog.m_strOkText = okText;
    dialog.m_strCancelText = cancelText;
    dialog.m_bPositive = positive;
    dialog.m_nParam = parameter;
    dialog.m_nBit = bit;
    if (dialog.DoModal() != IDOK)
        return false;
    positive = dialog.m_bPositive;
    parameter = dialog.m_nParam;
    bit = dialog.m_nBit;
    return true;
}
