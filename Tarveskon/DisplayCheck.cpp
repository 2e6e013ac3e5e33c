#include "DisplayCheck.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace tvsk::app
{

namespace
{

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// "xcb:option=1;wayland" -> "xcb": the first platform asked for, without its options.
std::string FirstPlatform(std::string wanted)
{
    wanted = wanted.substr(0, wanted.find(';'));
    return wanted.substr(0, wanted.find(':'));
}

QtMessageHandler g_previous = nullptr;

void FatalStartHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg)
    {
        if (g_previous)
            g_previous(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", kNeedsDisplay);
    std::fflush(stderr);
    ::_exit(1);
}

} // namespace

bool DisplayReachable(int argc, char** argv)
{
    std::string platform;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[i + 1];
    if (platform.empty() && IsSet("QT_QPA_PLATFORM"))
        platform = std::getenv("QT_QPA_PLATFORM");
    platform = FirstPlatform(platform);
    if (platform.empty())
        return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("WAYLAND_SOCKET");
    if (platform == "xcb")
        return IsSet("DISPLAY");
    if (platform.rfind("wayland", 0) == 0)
        return IsSet("WAYLAND_DISPLAY") || IsSet("WAYLAND_SOCKET");
    return true; // offscreen, vnc, minimal, linuxfb, eglfs: no display server to reach
}

void ExitOnFatalToolkitStart()
{
    g_previous = qInstallMessageHandler(FatalStartHandler);
}

void ToolkitStarted()
{
    qInstallMessageHandler(g_previous);
}

} // namespace tvsk::app
