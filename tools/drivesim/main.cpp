// drivesim: simulated drives on a pseudo-terminal, for tests of the drive protocol.
#include "ControlChannel.h"
#include "DriveLine.h"
#include "ParDefaults.h"
#include "PtyLine.h"
#include "RequestJournal.h"
#include "SampleStream.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <unistd.h>

namespace
{
std::atomic<bool> g_stop{false};

void Stop(int)
{
    g_stop = true;
}

using Clock = std::chrono::steady_clock;
constexpr auto kSamplePeriod = std::chrono::microseconds(kSamplePeriodMicroseconds);
// A loop that fell further behind than this starts the sample clock afresh instead of bursting.
constexpr int kMostSamplesCaughtUp = 50;

struct Options
{
    std::string link;
    std::vector<int> addresses;
    std::string parFile;
    LineSettings line;
    int delayMs = 0;
    ReplyFault fault = ReplyFault::None;
    std::string controlPipe;
    std::string journalFile;
    DWORD streamBit = kDefaultStreamBit;
    int counterStep = 8;
    bool motion = false; // the monitor words move even without the stream
    int strayEvery = 0;
};

int Usage()
{
    std::fputs("usage: drivesim --link PATH [--address N]... [--par FILE] [--line 9600,E,8,1]\n"
               "                [--delay MS] [--fault silent|corrupt|header|stray]\n"
               "                [--control FIFO] [--journal FILE] [--stream-bit PACKED] [--motion STEP]\n",
               stderr);
    return 2;
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
        else if (name == "--fault" && value == "stray")
            o.strayEvery = 100;
        else if (name == "--control")
            o.controlPipe = value;
        else if (name == "--journal")
            o.journalFile = value;
        else if (name == "--stream-bit")
            o.streamBit = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 0));
        else if (name == "--motion")
        {
            o.counterStep = std::atoi(value.c_str());
            o.motion = true;
        }
        else if (!(name == "--fault" && ParseReplyFault(value, o.fault)))
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
    drives.SetReplyDelayMs(options.delayMs);
    drives.SetStreamBit(options.streamBit);
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
    std::string error;
    CControlChannel control;
    if (!options.controlPipe.empty() && !control.Open(options.controlPipe, error))
    {
        std::fprintf(stderr, "drivesim: %s\n", error.c_str());
        return 1;
    }
    CRequestJournal journal;
    if (!options.journalFile.empty())
    {
        if (!journal.Open(options.journalFile, error))
        {
            std::fprintf(stderr, "drivesim: %s\n", error.c_str());
            return 1;
        }
        drives.SetJournal([&journal](const ServedRequest& request) { journal.Record(request); });
    }
    CSampleStream stream(options.counterStep, options.strayEvery);
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);
    CPtyLine line;
    if (!line.Open(options.link, options.line, error))
    {
        std::fprintf(stderr, "drivesim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", options.link.c_str());
    std::fflush(stdout);
    bool wasStreaming = false;
    Clock::time_point nextSample = Clock::now() + kSamplePeriod;
    // A test that dies leaves no drive behind (nor its output pipe open under ctest).
    const pid_t starter = ::getppid();
    while (!g_stop && ::getppid() == starter)
    {
        control.Poll(drives);
        const bool moving = options.motion || drives.Streaming();
        int waitMs = options.controlPipe.empty() ? 100 : 20;
        if (moving)
        {
            const auto untilSample =
                std::chrono::duration_cast<std::chrono::milliseconds>(nextSample - Clock::now());
            waitMs = std::clamp(static_cast<int>(untilSample.count()), 0, waitMs);
        }
        const std::vector<BYTE> received = line.Read(waitMs);
        // A host on another baud rate or frame would only hear noise: the drives stay silent.
        if (!received.empty() && line.LineMatches())
        {
            const std::vector<BYTE> reply = drives.Receive(received);
            if (!reply.empty())
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(drives.ReplyDelayMs()));
                if (!line.Write(reply))
                {
                    std::fprintf(stderr, "drivesim: cannot write to the terminal\n");
                    return 1;
                }
            }
        }
        const bool streaming = drives.Streaming();
        const Clock::time_point now = Clock::now();
        // The sample clock starts afresh with the stream (its first frame one period on), while
        // nothing moves, and after a stall too long to catch up.
        if (!(options.motion || streaming) || (streaming && !wasStreaming) ||
            now - nextSample > kMostSamplesCaughtUp * kSamplePeriod)
            nextSample = now + kSamplePeriod;
        wasStreaming = streaming;
        for (; nextSample <= now; nextSample += kSamplePeriod)
        {
            stream.Advance();
            stream.WriteMonitorWords(drives.Drives().front());
            // The stream stops at once when its bit is cleared: checked before every frame.
            if (drives.Streaming() && line.LineMatches() && !line.Write(stream.Frame()))
            {
                std::fprintf(stderr, "drivesim: cannot write to the terminal\n");
                return 1;
            }
        }
    }
    return 0;
}
