// Asks the address and description of a temporary parameter.
#pragma once

#include <ui/Dialog.h>

class CPluginIntf;

class CDlgInsertPar : public CDialog
{
public:
    CDlgInsertPar(CPluginIntf* host, CWnd* parent);

    CString m_strAddress;
    CString m_strDescr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CPluginIntf* m_pHost; // not owned
};
