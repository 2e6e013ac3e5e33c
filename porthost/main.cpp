// Porthaven: serves one serial port to the client processes that attach to it ("PORTHAVEN <n>").
#include "Display.h"
#include "PortServer.h"
#include "ServerDlg.h"

#include <ui/App.h>

#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <thread>

namespace
{

constexpr DWORD TimerMilliseconds = 100;

// True when another server is starting at this very moment.
bool AnotherServerIsStarting()
{
    HANDLE startup = CreateMutex(nullptr, FALSE, "COMM.SERVER.MTX");
    const bool existed = !startup || GetLastError() == ERROR_ALREADY_EXISTS;
    if (startup)
        CloseHandle(startup);
    return existed;
}

} // namespace

int main(int argc, char** argv)
{
    if (AnotherServerIsStarting())
        return 1;
    const BYTE port = PortNumberArgument(argc > 1 ? argv[1] : nullptr);
    CPortServer server;
    if (!server.Open(port))
        return 2;
    std::thread worker(ServerThreadProc, &server);
    if (HasDisplay())
    {
        static CWinApp app("Porthaven");
        AfxInitToolkit(argc, argv);
        CServerDlg window(port, server);
        window.DoModal();
    }
    // Without a window, the same timer: the program ends at the first tick after the last detach.
    while (!server.LastDetached())
        Sleep(TimerMilliseconds);
    worker.join();
    return 0;
}
