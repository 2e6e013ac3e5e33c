// Processes over posix_spawn and pidfd.
#include <kernel/Process.h>

#include "ProgramLocator.h"
#include "Waitable.h"

#include <cerrno>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tvsk::kernel
{
namespace
{

int OpenPidDescriptor(pid_t pid) noexcept
{
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

class ProcessObject : public Waitable
{
public:
    ProcessObject(int pidfd, bool child) : m_pidfd(pidfd), m_child(child) {}

    ~ProcessObject() override
    {
        if (m_child && !m_reaped && !Reap(WNOHANG))
        {
            // Collect the child once it ends, so no zombie is left behind.
            std::thread(
                [fd = m_pidfd]
                {
                    siginfo_t info = {};
                    waitid(P_PIDFD, static_cast<id_t>(fd), &info, WEXITED);
                    close(fd);
                })
                .detach();
            return;
        }
        close(m_pidfd);
    }

    bool TryAcquire() noexcept override
    {
        pollfd descriptor = {m_pidfd, POLLIN, 0};
        return poll(&descriptor, 1, 0) > 0;
    }
    int PollDescriptor() const noexcept override { return m_pidfd; }

    BOOL ExitCode(DWORD* code) noexcept
    {
        if (!m_child)
        {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (!m_reaped)
            Reap(WNOHANG);
        *code = m_reaped ? m_exitCode : STILL_ACTIVE;
        return TRUE;
    }

    bool Kill() noexcept
    {
        if (syscall(SYS_pidfd_send_signal, m_pidfd, SIGKILL, nullptr, 0) == 0)
            return true;
        FailWithErrno(errno);
        return false;
    }

private:
    bool Reap(int options) noexcept
    {
        siginfo_t info = {};
        if (waitid(P_PIDFD, static_cast<id_t>(m_pidfd), &info, WEXITED | options) != 0 || info.si_pid == 0)
            return false;
        m_reaped = true;
        m_exitCode = info.si_code == CLD_EXITED ? static_cast<DWORD>(info.si_status)
                                                : 128 + static_cast<DWORD>(info.si_status);
        return true;
    }

    int m_pidfd;
    bool m_child;
    bool m_reaped = false;
    DWORD m_exitCode = STILL_ACTIVE;
};

BOOL Spawn(const std::string& path, const std::vector<std::string>& words, const char* currentDirectory,
           PROCESS_INFORMATION* information)
{
    if (currentDirectory)
    {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::vector<char*> argv;
    for (const auto& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A program of its own: the terminal's interrupt of its starter does not end it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0)
        return FailWithErrno(rc);
    const int pidfd = OpenPidDescriptor(pid);
    if (pidfd < 0)
        return FailWithErrno(errno);
    PROCESS_INFORMATION result;
    result.hProcess = AddHandle(std::make_shared<ProcessObject>(pidfd, true));
    result.dwProcessId = static_cast<DWORD>(pid);
    if (information)
        *information = result;
    else
        CloseHandle(result.hProcess);
    return TRUE;
}

} // namespace
} // namespace tvsk::kernel

using namespace tvsk::kernel;

BOOL CreateProcess(const char* applicationName, const char* commandLine, SECURITY_ATTRIBUTES*,
                   SECURITY_ATTRIBUTES*, BOOL, DWORD, void* environment, const char* currentDirectory,
                   const STARTUPINFO*, PROCESS_INFORMATION* processInformation)
{
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (environment || (words.empty() && !applicationName))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string path;
    if (applicationName)
    {
        path = applicationName;
        if (words.empty())
            words.push_back(path);
    }
    else if (words.front().find('/') != std::string::npos)
    {
        path = words.front();
    }
    else
    {
        path = FindProgramBeside(words.front());
        if (path.empty())
            path = FindProgramOnPath(words.front());
    }
    if (path.empty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return Spawn(path, words, currentDirectory, processInformation);
}

UINT WinExec(const char* commandLine, UINT)
{
    if (!CreateProcess(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr))
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 2 : 0;
    return 33;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId)
{
    const int pidfd = OpenPidDescriptor(static_cast<pid_t>(processId));
    if (pidfd < 0)
    {
        FailWithErrno(errno == ESRCH ? ENOENT : errno);
        return nullptr;
    }
    return AddHandle(std::make_shared<ProcessObject>(pidfd, false));
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) noexcept
{
    auto object = FindHandleOf<ProcessObject>(process);
    if (!object || !exitCode)
        return FALSE;
    return object->ExitCode(exitCode);
}

BOOL TerminateProcess(HANDLE process, UINT) noexcept
{
    // The signal goes through the process descriptor, so it cannot reach another process.
    auto object = FindHandleOf<ProcessObject>(process);
    if (!object)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return object->Kill() ? TRUE : FALSE;
}

DWORD GetCurrentProcessId() noexcept
{
    return static_cast<DWORD>(getpid());
}
