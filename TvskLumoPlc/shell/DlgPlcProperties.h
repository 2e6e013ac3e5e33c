// The project properties dialog: release, version, author and note.
#pragma once

#include <ui/Dialog.h>

class CPluginIntf;

class CDlgPlcProperties : public CDialog
{
public:
    explicit CDlgPlcProperties(CWnd* parent = nullptr);

    CPluginIntf* m_pHost = nullptr; // not owned, may be null
    CString m_strRelease;
    CString m_strVersion;
    CString m_strAuthor;
    CString m_strNote;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
