// fakemodem: a Hayes modem on a pseudo-terminal, for tests of the modem server.
#include "FakeModem.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
std::atomic<bool> g_stop{false};

void Stop(int)
{
    g_stop = true;
}

struct Options
{
    std::string link;
    std::string line;
    ModemBehaviour behaviour;
};

int Usage()
{
    std::fputs("usage: fakemodem --link PATH [--line DEVICE] [--dial connect|nocarrier|silent] [--mute]\n",
               stderr);
    return 2;
}

bool ParseDial(const std::string& text, ModemBehaviour::DialAnswer& dial)
{
    if (text == "connect")
        dial = ModemBehaviour::DialAnswer::Connect;
    else if (text == "nocarrier")
        dial = ModemBehaviour::DialAnswer::NoCarrier;
    else if (text == "silent")
        dial = ModemBehaviour::DialAnswer::Silence;
    else
        return false;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string name = argv[i];
        if (name == "--mute")
        {
            o.behaviour.answers = false;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (name == "--link")
            o.link = value;
        else if (name == "--line")
            o.line = value;
        else if (!(name == "--dial" && ParseDial(value, o.behaviour.dial)))
            return false;
    }
    return !o.link.empty();
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);
    CFakeModem modem(options.behaviour, options.line);
    std::string error;
    if (!modem.Open(error))
    {
        std::fprintf(stderr, "fakemodem: %s\n", error.c_str());
        return 1;
    }
    ::unlink(options.link.c_str());
    if (::symlink(modem.DevicePath().c_str(), options.link.c_str()) != 0)
    {
        std::perror("fakemodem: link");
        return 1;
    }
    std::printf("%s\n", options.link.c_str());
    std::fflush(stdout);
    modem.OnCommand(
        [](const std::string& command)
        {
            std::printf("%s\n", command.c_str());
            std::fflush(stdout);
        });
    const bool served = modem.Run(g_stop, error);
    ::unlink(options.link.c_str());
    if (!served)
    {
        std::fprintf(stderr, "fakemodem: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
