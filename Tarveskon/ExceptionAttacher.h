// The crash reporter: installed first in main, it writes "ERRORLOG.TXT" beside the program when a
// fatal signal or an uncaught exception ends it, then lets the crash take its default course.
#pragma once

class ExceptionAttacher
{
public:
    // Handlers on an alternate stack for SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP and SIGABRT, and
    // the terminate handler. Only the first crash of the process writes a report.
    static void Install();

    // The location text of every report.
    static constexpr const char* kLocation = "ExceptionAttacher - AfxWinMain";
};
