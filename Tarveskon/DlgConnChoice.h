// The connection choice: what to do with the drive while the link is not open.
#pragma once

#include <ui/Dialog.h>

class CTvskManager;

constexpr UINT IDD_CONN_CHOICE = 137;
constexpr UINT IDC_CONN_READ = 1014;
constexpr UINT IDC_CONN_WRITE = 1015;
constexpr UINT IDC_CONN_COMPARE_DRIVE = 1016;
constexpr UINT IDC_CONN_COMPARE_FILE = 1017;
// What DoModal answers for each choice (IDOK: "Esci", IDCANCEL: closed).
constexpr int IDC_CONN_READ_RESULT = 100;
constexpr int IDC_CONN_WRITE_RESULT = 101;
constexpr int IDC_CONN_COMPARE_DRIVE_RESULT = 102;
constexpr int IDC_CONN_COMPARE_FILE_RESULT = 103;

class CDlgConnChoice : public CDialog
{
public:
    CDlgConnChoice(CTvskManager* manager, CWnd* parent);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // F1: the main dialog shows the help's topic of the connection.
    BOOL OnHelpInfo(HELPINFO* info) override;

private:
    CTvskManager* m_pManager;
};
