// Fonwick: serves one modem port to the client processes that attach to it ("FONWICK <n>").
#include "ModemServer.h"
#include "ModemServerDlg.h"

#include <Display.h>
#include <ui/App.h>

#include <kernel/Sync.h>
#include <kernel/System.h>
#include <kernel/Time.h>

#include <cstdlib>
#include <thread>

namespace
{

constexpr DWORD TimerMilliseconds = 100;
constexpr BYTE DefaultPort = 3;

// True when another server is starting at this very moment.
bool AnotherServerIsStarting()
{
    HANDLE startup = CreateMutex(nullptr, FALSE, "MODEM.SERVER.MTX");
    const bool existed = !startup || GetLastError() == ERROR_ALREADY_EXISTS;
    if (startup)
        CloseHandle(startup);
    return existed;
}

CString InitFilePath()
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectory(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return CString();
    return CString(folder) + "/modem.ini";
}

} // namespace

int main(int argc, char** argv)
{
    if (AnotherServerIsStarting())
        return 1;
    ModemSettings::SelectProfile();
    const ModemSettings settings = ModemSettings::Read();
    const int number = argc > 1 ? std::atoi(argv[1]) : 0;
    const auto port = static_cast<BYTE>(number == 0 ? DefaultPort : number);
    CModemServer server(settings);
    server.SetInitFile(InitFilePath());
    if (!server.Open(port))
        return 2;
    std::thread worker(ModemThreadProc, &server);
    if (HasDisplay())
    {
        static CWinApp app("Fonwick");
        AfxInitToolkit(argc, argv);
        CModemServerDlg window(port, server);
        window.DoModal();
    }
    // Without a window, the same timer: the program ends at the first tick after the worker has closed everything.
    while (!server.Ended())
        Sleep(TimerMilliseconds);
    worker.join();
    return server.Settings().Write() ? 0 : 3;
}
