// The page engine's sandbox for a program started as root.
#include "RootSandbox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace tvsk::app
{

bool TurnSandboxOffForRoot()
{
    if (::geteuid() != 0)
        return false;
    const char* disabled = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
    const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if ((disabled && *disabled) || (flags && std::strstr(flags, "--no-sandbox")))
        return false;
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    std::fprintf(stderr, "%s\n", kSandboxOffForRoot);
    return true;
}

} // namespace tvsk::app
