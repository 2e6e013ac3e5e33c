// The application object: prepares the component layer and the profile, checks the page engine,
// shows the splash and runs the main dialog for the whole run.
#pragma once

#include <ui/App.h>

class CTarveskonApp : public CWinApp
{
public:
    CTarveskonApp();

    BOOL InitInstance() override;
    // False (after message 107) when the page engine does not start.
    BOOL CheckBrowserVersion();
    void ShowSplash();

    const CString& GetProgramDir() const { return m_strProgramDir; }
    CString GetImageDir() const;
    CString GetPagesDir() const;

private:
    CString m_strProgramDir;
    CString m_strCommonSubdir = "/Common";
    CString m_strDefFilesSubdir = "/DefFiles";
};
