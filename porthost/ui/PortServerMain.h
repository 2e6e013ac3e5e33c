// The program both port servers are: one server starting at a time, the server opened on its port,
// its worker thread, its window when there is a display, and without one the same timer until the
// server has ended.
#pragma once

#include <framework/WinTypes.h>

class CPortServerMain
{
public:
    virtual ~CPortServerMain() = default;
    CPortServerMain(const CPortServerMain&) = delete;
    CPortServerMain& operator=(const CPortServerMain&) = delete;

    // 1 when another server is starting, 2 when the server did not open, else ExitCode().
    int Run(int argc, char** argv);

protected:
    // appName names the application object; startupMutex the object that tells another server is
    // starting.
    CPortServerMain(const char* appName, const char* startupMutex)
        : m_appName(appName), m_startupMutex(startupMutex)
    {
    }

    // Opens the server on the port its command line names (portArgument, or none).
    virtual bool Open(const char* portArgument, BYTE& port) = 0;
    // The worker: runs commands until the server has closed everything.
    virtual void Work() = 0;
    // Shows the server's window until it is closed.
    virtual void ShowWindow(BYTE port) = 0;
    // The timer's question: whether the program may end.
    virtual bool Ended() const = 0;
    virtual int ExitCode() { return 0; }

private:
    bool AnotherServerIsStarting() const;

    const char* m_appName;
    const char* m_startupMutex;
};
