// The temporary parameter dialog.
#include <TvskDownload/ui/DlgInsertPar.h>

#include <TvskDownload/ui/DownloadIds.h>

CDlgInsertPar::CDlgInsertPar(CPluginIntf* host, CWnd* parent) : CDialog(IDD_INSERTPAR, parent), m_pHost(host)
{
}

BOOL CDlgInsertPar::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(DownloadString(m_pHost, IDS_DL_INSERT_CAPTION));
    SetDlgItemText(IDC_INSERTPAR_ADDRESS_LABEL, DownloadString(m_pHost, IDS_DL_ADDRESS));
    SetDlgItemText(IDC_INSERTPAR_DESCR_LABEL, DownloadString(m_pHost, IDS_DL_DESCR));
    return TRUE;
}

void CDlgInsertPar::OnOK()
{
    GetDlgItemText(IDC_INSERTPAR_ADDRESS, m_strAddress);
    GetDlgItemText(IDC_INSERTPAR_DESCR, m_strDescr);
    CDialog::OnOK();
}
