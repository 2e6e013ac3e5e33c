// Properties: the four texts, and with a host its caption and labels.
#include "DlgPlcProperties.h"

#include "PlcIds.h"

namespace
{
struct Field
{
    UINT edit;
    UINT label;
    UINT labelText;
    CString CDlgPlcProperties::*member;
};

const Field kFields[] = {
    {IDC_PROP_RELEASE, IDC_PROP_RELEASE_LABEL, IDS_PLC_RELEASE, &CDlgPlcProperties::m_strRelease},
    {IDC_PROP_VERSION, IDC_PROP_VERSION_LABEL, IDS_PLC_VERSION, &CDlgPlcProperties::m_strVersion},
    {IDC_PROP_AUTHOR, IDC_PROP_AUTHOR_LABEL, IDS_PLC_AUTHOR, &CDlgPlcProperties::m_strAuthor},
    {IDC_PROP_NOTE, IDC_PROP_NOTE_LABEL, IDS_PLC_NOTE, &CDlgPlcProperties::m_strNote},
};
} // namespace

CDlgPlcProperties::CDlgPlcProperties(CWnd* parent) : CDialog(IDD_PLC_PROPERTIES, parent)
{
    PlcModule();
}

BOOL CDlgPlcProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const Field& field : kFields)
        SetDlgItemText(static_cast<int>(field.edit), this->*field.member);
    if (m_pHost)
    {
        SetWindowText(PlcHostString(m_pHost, IDS_PLC_PROPERTIES_CAPTION));
        for (const Field& field : kFields)
            SetDlgItemText(static_cast<int>(field.label), PlcHostString(m_pHost, field.labelText));
    }
    return TRUE;
}

void CDlgPlcProperties::OnOK()
{
    for (const Field& field : kFields)
        GetDlgItemText(static_cast<int>(field.edit), this->*field.member);
    EndDialog(IDOK);
}
