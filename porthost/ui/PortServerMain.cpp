#include "PortServerMain.h"

#include "Display.h"

#include <ui/App.h>

#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <thread>

namespace
{

constexpr DWORD TimerMilliseconds = 100;

} // namespace

int CPortServerMain::Run(int argc, char** argv)
{
    if (AnotherServerIsStarting())
        return 1;
    BYTE port = 0;
    if (!Open(argc > 1 ? argv[1] : nullptr, port))
        return 2;
    std::thread worker([this] { Work(); });
    if (HasDisplay())
    {
        static CWinApp app(m_appName);
        AfxInitToolkit(argc, argv);
        ShowWindow(port);
    }
    // Without a window, the same timer: the program ends at the first tick after the server ended.
    while (!Ended())
        Sleep(TimerMilliseconds);
    worker.join();
    return ExitCode();
}

// True when another server is starting at this very moment.
bool CPortServerMain::AnotherServerIsStarting() const
{
    HANDLE startup = CreateMutex(nullptr, FALSE, m_startupMutex);
    const bool existed = !startup || GetLastError() == ERROR_ALREADY_EXISTS;
    if (startup)
        CloseHandle(startup);
    return existed;
}
