// Installs the crash reporter and crashes the way its argument names.
#include <Tarveskon/ExceptionAttacher.h>

#include <uiext/VersionInfo.h>

#include <csignal>
#include <cstring>
#include <stdexcept>

#include <dlfcn.h>
#include <unistd.h>

namespace
{

constexpr VersionValue kValues[] = {
    {"CompanyName", "Test Maker"}, {"ProductName", "Crash Test"}, {"FileDescription", "Crashes on purpose"},
    {"FileVersion", "1,2,3,4"},    {"ProductVersion", "5.6.7.8"},
};
constexpr VersionResource kBlock = {"crash.test.EXE", 0x0409, 0x04b0, kValues, 5};
const BOOL kRegistered = RegisterVersionResource(&kBlock);

volatile int s_zero = 0;

int Recurse(int depth)
{
    if (depth == s_zero - 1)
        return 0;
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + frame[0];
}

} // namespace

int main(int argc, char** argv)
{
    ExceptionAttacher::Install();
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "loaded") == 0)
    {
        // A module loaded after the reporter was installed, as a plug-in is.
        if (!::dlopen(TVSK_LOADED_MODULE, RTLD_NOW))
            return 2;
        *static_cast<volatile int*>(nullptr) = kRegistered;
    }
    else if (std::strcmp(mode, "null") == 0)
        *static_cast<volatile int*>(nullptr) = kRegistered;
    else if (std::strcmp(mode, "jump") == 0)
        reinterpret_cast<void (*)()>(0x10)();
    else if (std::strcmp(mode, "divide") == 0)
        return 10 / s_zero;
    else if (std::strcmp(mode, "overflow") == 0)
        return Recurse(0);
    else if (std::strcmp(mode, "exception") == 0)
        throw std::runtime_error("uncaught");
    else if (std::strcmp(mode, "stop") == 0)
    {
        // Stopped until the test has sent its signal.
        ::raise(SIGSTOP);
        for (;;)
            ::pause();
    }
    return 0;
}
