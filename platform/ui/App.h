// The application object: toolkit start, main loop, idle time, pre-translation, wait cursor, shell open.
#pragma once

#include "RecentFileList.h"
#include "UiDefs.h"

#include <framework/CString.h>

#include <memory>

class CWinApp
{
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The event loop until the last window closes or the loop is quit.
    virtual int Run();
    // Idle work between message bursts; nonzero asks for more idle calls.
    virtual BOOL OnIdle(LONG count);
    // Offers an input message to the window it is for and then to each window above it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // The profile on the registry store: HKEY_CURRENT_USER\Software\<key>\<application>\<section>.
    void SetRegistryKey(const char* registryKey);
    CString GetProfileString(const char* section, const char* entry,
                             const char* defaultValue = nullptr) const;
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    BOOL GetProfileBinary(const char* section, const char* entry, BYTE** data, UINT* bytes) const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    BOOL WriteProfileBinary(const char* section, const char* entry, const BYTE* data, UINT bytes);
    // The recent-file list of maxMru entries in the profile's "Recent File List" (RecentFileList.cpp).
    void LoadStdProfileSettings(UINT maxMru = 4);
    virtual void AddToRecentFileList(const char* pathName);

    HCURSOR LoadStandardCursor(UINT id) const;
    void BeginWaitCursor();
    void EndWaitCursor();

    CWnd* m_pMainWnd = nullptr;
    std::unique_ptr<CRecentFileList> m_pRecentFileList; // after LoadStdProfileSettings
    const char* m_pszAppName;

private:
    CString m_appName;
    int m_waitCursors = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Makes sure the toolkit application exists (creating it with the given arguments when not) and
// puts LC_NUMERIC back to "C", which the toolkit changes to the user's locale on start.
void AfxInitToolkit(int& argc, char** argv);
// Program entry: toolkit start, InitInstance, Run when it answers TRUE, ExitInstance.
int AfxWinMain(int argc, char** argv);
// Handles every waiting event for the given wall-clock time, then the application's idle work.
void AfxPumpMessages(int milliseconds);

// Shows the wait cursor while it lives.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

// Opens a file or address with the desktop's handler; answers a value above 32 on success.
INT_PTR ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                     const char* directory, int showCommand);
