// The download plug-in object: owns the tool window and opens it on request.
#pragma once

#include <TvskDownload/ui/DownloadWnd.h>

#include <Modlode/PluginImpl.h>

class CPluginIntf;
class CWnd;

class CDownloadPlugin : public CPluginImpl
{
public:
    const char* GetClassName() override { return "TvskDownloadClass"; }
    // 1 host, 2 parent, 3 run, 7 bring the window to the front; 0 for those, 1 for others.
    int SendCommand(unsigned code, intptr_t param1, intptr_t param2) override;
    CDownloadWnd& Window() noexcept { return m_Wnd; }

private:
    void Run();

    CPluginIntf* m_pHost = nullptr; // not owned
    CWnd* m_pParent = nullptr;      // not owned
    CDownloadWnd m_Wnd;
};
