// What the wizard manager asks of the window layer: boxes, message pumping, the main window's
// title, the recent-file list and posts to the main window. The program installs its own.
#pragma once

#include <ZoHelp/ZoHelpIntf.h>

#include <framework/CString.h>
#include <framework/WinTypes.h>

#include <memory>

class CWnd;

class CTvskHostUi
{
public:
    virtual ~CTvskHostUi() = default;
    // owner null: the active window, else the main window. Answers the button pressed.
    virtual int MessageBox(CWnd* owner, const CString& text, UINT type) = 0;
    virtual void PumpMessages(int milliseconds) = 0;
    // Whether one of the program's windows is active (a box would have an owner).
    virtual bool HasActiveWindow() { return true; }
    virtual CString GetAppTitle() = 0;
    virtual void SetMainWindowTitle(const CString& title) = 0;
    virtual void AddToRecentFileList(const char* path) = 0;
    virtual void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // To a window of the program, such as the owner of the host's boxes; the window layer posts.
    virtual void PostToWindow(CWnd* /*window*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    // The file a configuration without a name is saved to; false when the user cancels.
    virtual bool ChooseSavePath(CString& path) = 0;
    // The help window the manager keeps; none without a window layer.
    virtual std::unique_ptr<CZoHelpIntf> CreateHelpWindow() { return nullptr; }
    // A file box (open or save) with a "|" filter text, default extension, title and the initial
    // file in path; false when the user cancels.
    virtual bool ChooseFile(CWnd* /*owner*/, bool /*open*/, const CString& /*filter*/,
                            const char* /*defaultExt*/, const CString& /*title*/, CString& /*path*/)
    {
        return false;
    }
    // The progress window with its text and the wait cursor, until EndWait.
    virtual void BeginWait(CWnd* /*owner*/, const CString& /*text*/) {}
    virtual void EndWait() {}
    // How far a long transfer under BeginWait got: done of total exchanges and a note (empty:
    // none), such as a slow line. Lets the window take input; true once the user cancelled.
    virtual bool ShowTransferProgress(int /*done*/, int /*total*/, const CString& /*note*/) { return false; }
};

// The host of a manager that runs without windows: boxes answer their default button.
class CTvskHeadlessUi : public CTvskHostUi
{
public:
    int MessageBox(CWnd* owner, const CString& text, UINT type) override;
    void PumpMessages(int) override {}
    CString GetAppTitle() override { return "Tarveskon"; }
    void SetMainWindowTitle(const CString&) override {}
    void AddToRecentFileList(const char*) override {}
    void PostToMainWindow(UINT, WPARAM, LPARAM) override {}
    bool ChooseSavePath(CString&) override { return false; }
};
