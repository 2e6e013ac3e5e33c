// The versions of the program, parameter file, databases and pages, as used and as installed.
#pragma once

#include <ui/Dialog.h>

class CTvskManager;

constexpr UINT IDD_VERSIONS = 135;
constexpr UINT IDC_VERSIONS_FIRST = 1002;
constexpr UINT IDC_VERSIONS_RELEASE = 1012;
constexpr UINT IDC_VERSIONS_INSTALLED_TITLE = 1018;

class CDlgVersions : public CDialog
{
public:
    explicit CDlgVersions(CWnd* parent = nullptr);

    void SetHost(CTvskManager* host) { m_pHost = host; }

protected:
    BOOL OnInitDialog() override;

private:
    // Controls 1002-1018.
    CString m_strTexts[17];
    CTvskManager* m_pHost = nullptr;
};
