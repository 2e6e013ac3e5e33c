// The report "ERRORLOG.TXT" written beside the program when it crashes.
#pragma once

#include <cstdint>

#include <ucontext.h>

struct VersionResource;

// What the handler knows of the crash.
struct CrashEvent
{
    unsigned code = 0;                   // the exception code the report names
    const ucontext_t* context = nullptr; // registers at the fault
    bool accessViolation = false;        // with the address and direction below
    uintptr_t faultAddress = 0;
    bool writeAccess = false;
    bool sent = false; // raised by kill, sigqueue or tkill rather than by a fault
    int signal = 0;    // with the sender's process and user
    int senderPid = 0;
    unsigned senderUid = 0;
};

class CrashReport
{
public:
    static constexpr const char* kFileName = "ERRORLOG.TXT";

    // What a report cannot learn safely in a signal handler: the user, the local time offset and
    // the version blocks, copied to static storage. Call before any crash.
    static void Prepare(const VersionResource* const* versionBlocks, int count);
    // Copies the block of a module loaded after Prepare (a plug-in, a component).
    static void AddVersion(const VersionResource* block);

    // Writes the report; always 0. Allocates nothing and uses system calls only.
    static int Write(const CrashEvent& event, const char* location);

    // "an Access Violation" for 0xC0000005; unknown codes give "an Unknown exception type".
    static const char* ExceptionName(unsigned code);
};
