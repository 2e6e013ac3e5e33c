// drivesim: simulated drives on a pseudo-terminal, for tests of the drive protocol.
#include "DriveLine.h"
#include "ParDefaults.h"
#include "PtyLine.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

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
    std::vector<int> addresses;
    std::string parFile;
    LineSettings line;
    int delayMs = 0;
    ReplyFault fault = ReplyFault::None;
};

int Usage()
{
    std::fputs("usage: drivesim --link PATH [--address N]... [--par FILE] [--line 9600,E,8,1]\n"
               "                [--delay MS] [--fault silent|corrupt|header]\n",
               stderr);
    return 2;
}

bool ParseFault(const std::string& text, ReplyFault& fault)
{
    if (text == "silent")
        fault = ReplyFault::Silent;
    else if (text == "corrupt")
        fault = ReplyFault::Corrupt;
    else if (text == "header")
        fault = ReplyFault::WrongHeader;
    else
        return false;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (name == "--link")
            o.link = value;
        else if (name == "--address")
            o.addresses.push_back(std::atoi(value.c_str()));
        else if (name == "--par")
            o.parFile = value;
        else if (name == "--line" && ParseLineSettings(value, o.line))
            continue;
        else if (name == "--delay")
            o.delayMs = std::atoi(value.c_str());
        else if (!(name == "--fault" && ParseFault(value, o.fault)))
            return false;
    }
    if (o.addresses.empty())
        o.addresses.push_back(0);
    return !o.link.empty();
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    CDriveLine drives(options.addresses);
    drives.SetFault(options.fault);
    if (!options.parFile.empty())
    {
        std::vector<ParDefault> defaults;
        std::string error;
        if (!ReadParDefaults(options.parFile.c_str(), defaults, error))
        {
            std::fprintf(stderr, "drivesim: %s\n", error.c_str());
            return 1;
        }
        for (CSimulatedDrive& drive : drives.Drives())
            ApplyParDefaults(defaults, drive);
    }
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);
    CPtyLine line;
    std::string error;
    if (!line.Open(options.link, options.line, error))
    {
        std::fprintf(stderr, "drivesim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", options.link.c_str());
    std::fflush(stdout);
    while (!g_stop)
    {
        const std::vector<BYTE> received = line.Read(100);
        // A host on another baud rate or frame would only hear noise: the drives stay silent.
        if (received.empty() || !line.LineMatches())
            continue;
        const std::vector<BYTE> reply = drives.Receive(received);
        if (reply.empty())
            continue;
        std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
        if (!line.Write(reply))
        {
            std::fprintf(stderr, "drivesim: cannot write to the terminal\n");
            return 1;
        }
    }
    return 0;
}
