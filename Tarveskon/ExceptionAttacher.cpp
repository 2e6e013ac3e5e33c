// Signals and uncaught exceptions mapped to the report's exception codes.
#include "ExceptionAttacher.h"

#include "CrashReport.h"

#include <uiext/VersionInfo.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

#include <ucontext.h>

namespace
{

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGABRT};
constexpr unsigned kCppException = 0xE06D7363;
constexpr unsigned kUnnamedCode = 0x40000015; // an abort or a sent signal: no name of its own
constexpr long kStackGuardReach = 64 * 1024;

std::atomic<bool> s_armed{true};
alignas(16) char s_alternateStack[256 * 1024];

// A signal another process (or this one) sent carries the sender, not a fault address.
bool SentSignal(const siginfo_t* info)
{
    return info->si_code == SI_USER || info->si_code == SI_QUEUE || info->si_code == SI_TKILL;
}

unsigned FaultCode(int signal, const siginfo_t* info, const ucontext_t* context)
{
    if (SentSignal(info))
        return kUnnamedCode;
    switch (signal)
    {
    case SIGSEGV:
    {
        // A fault next to the stack pointer hit the stack's guard.
        const long distance =
            reinterpret_cast<long>(info->si_addr) - static_cast<long>(context->uc_mcontext.gregs[REG_RSP]);
        return distance > -kStackGuardReach && distance < kStackGuardReach ? 0xC00000FD : 0xC0000005;
    }
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGILL:
        return info->si_code == ILL_PRVOPC || info->si_code == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    case SIGFPE:
        switch (info->si_code)
        {
        case FPE_INTDIV:
            return 0xC0000094;
        case FPE_INTOVF:
            return 0xC0000095;
        case FPE_FLTDIV:
            return 0xC000008E;
        case FPE_FLTOVF:
            return 0xC0000091;
        case FPE_FLTUND:
            return 0xC0000093;
        case FPE_FLTRES:
            return 0xC000008F;
        case FPE_FLTSUB:
            return 0xC000008C;
        default:
            return 0xC0000090;
        }
    case SIGTRAP:
        return 0x80000003;
    default:
        return kUnnamedCode;
    }
}

void OnFatalSignal(int signal, siginfo_t* info, void* raw)
{
    const auto* context = static_cast<const ucontext_t*>(raw);
    if (s_armed.exchange(false))
    {
        CrashEvent event;
        event.code = FaultCode(signal, info, context);
        event.context = context;
        event.accessViolation = event.code == 0xC0000005;
        event.faultAddress = reinterpret_cast<uintptr_t>(info->si_addr);
        event.writeAccess = (context->uc_mcontext.gregs[REG_ERR] & 2) != 0;
        event.sent = SentSignal(info);
        event.signal = signal;
        event.senderPid = info->si_pid;
        event.senderUid = info->si_uid;
        CrashReport::Write(event, ExceptionAttacher::kLocation);
    }
    // The default action ends the program once this handler returns.
    struct sigaction fallback
    {
    };
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

[[noreturn]] void OnTerminate()
{
    if (s_armed.exchange(false))
    {
        ucontext_t context{};
        ::getcontext(&context);
        CrashEvent event;
        event.code = std::current_exception() ? kCppException : kUnnamedCode;
        event.context = &context;
        CrashReport::Write(event, ExceptionAttacher::kLocation);
    }
    std::abort();
}

} // namespace

void ExceptionAttacher::Install()
{
    const VersionResource* blocks[64];
    const int count = RegisteredVersionResources(blocks, 64);
    CrashReport::Prepare(blocks, count);
    SetVersionListener(&CrashReport::AddVersion);

    stack_t alternate{};
    alternate.ss_sp = s_alternateStack;
    alternate.ss_size = sizeof s_alternateStack;
    ::sigaltstack(&alternate, nullptr);

    struct sigaction action
    {
    };
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
    std::set_terminate(OnTerminate);
}
