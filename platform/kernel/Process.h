// Starting programs, waiting for their end, and the identity of this process.
#pragma once

#include <kernel/Sync.h>

constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;

// Window wishes of the new program; programs here run without a display and ignore them.
struct STARTUPINFO
{
    DWORD cb = sizeof(STARTUPINFO);
    const char* lpDesktop = nullptr;
    const char* lpTitle = nullptr;
    DWORD dwFlags = 0;
    WORD wShowWindow = 0;
};

struct PROCESS_INFORMATION
{
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

// Without an application name the first word of the command line names a program beside the
// running one ("PORTHAVEN 3" starts Porthaven from this program's directory, the name matched
// exactly first, then ignoring case), else a program of that name on PATH. TARVESKON_PROGRAM_DIR, when set,
// names that directory instead; the tests, which run from their own directory, use it. Words are split at
// blanks, double quotes group. hThread is always null: threads of other processes are not handed out.
BOOL CreateProcess(const char* applicationName, const char* commandLine,
                   SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                   BOOL inheritHandles, DWORD creationFlags, void* environment, const char* currentDirectory,
                   const STARTUPINFO* startupInfo, PROCESS_INFORMATION* processInformation);

// Starts a program as CreateProcess does; above 31 on success.
UINT WinExec(const char* commandLine, UINT showCommand);

// A waitable handle of a running process; null when it has ended or never existed.
HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);

// STILL_ACTIVE while the process runs, then its exit status (128 + signal number when killed).
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) noexcept;

// Ends the process the handle was opened on, never a later one that reuses its identifier;
// FALSE when that process has already ended.
BOOL TerminateProcess(HANDLE process, UINT exitCode) noexcept;

DWORD GetCurrentProcessId() noexcept;
