// One 16-byte write and one 16-byte read through the block and Porthaven against a terminal echo.
#include <port/ComSer.h>

#include <registry/Registry.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr unsigned char Port = 5;

// The far end of a pseudo-terminal that sends back whatever it receives.
class EchoTerminal
{
public:
    EchoTerminal()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(m_master);
        unlockpt(m_master);
        m_device = ptsname(m_master);
        m_echo = std::thread([this] { Echo(); });
    }
    ~EchoTerminal()
    {
        m_stop = true;
        m_echo.join();
        close(m_master);
    }
    const std::string& Device() const { return m_device; }

private:
    void Echo()
    {
        char buffer[256];
        while (!m_stop)
        {
            pollfd descriptor = {m_master, POLLIN, 0};
            if (poll(&descriptor, 1, 50) <= 0 || !(descriptor.revents & POLLIN))
                continue;
            const ssize_t n = read(m_master, buffer, sizeof buffer);
            if (n > 0 && write(m_master, buffer, static_cast<size_t>(n)) != n)
                break;
        }
    }

    int m_master = -1;
    std::string m_device;
    std::atomic<bool> m_stop = false;
    std::thread m_echo;
};

void MapPort(const std::string& device)
{
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0, KEY_ALL_ACCESS,
                   nullptr, &key, nullptr);
    RegSetValueEx(key, "COM5", 0, REG_SZ, reinterpret_cast<const BYTE*>(device.c_str()),
                  static_cast<DWORD>(device.size() + 1));
    RegCloseKey(key);
}

// A port served by Porthaven over an echoing terminal, in a namespace and store of its own.
class EchoedPort
{
public:
    EchoedPort()
        : m_store(std::filesystem::temp_directory_path() / ("tvsk_bench_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(m_store);
        setenv("TARVESKON_REGISTRY", (m_store / "registry").c_str(), 1);
        setenv("TARVESKON_IPC_NAMESPACE", ("bench" + std::to_string(getpid())).c_str(), 1);
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        MapPort(m_echo.Device());
        m_port = std::make_unique<ComSer>(Port, 115200, 8, 0, 0);
    }
    ~EchoedPort()
    {
        m_port.reset();
        std::filesystem::remove_all(m_store);
    }
    ComSer& Client() { return *m_port; }

private:
    std::filesystem::path m_store;
    EchoTerminal m_echo;
    std::unique_ptr<ComSer> m_port;
};

void WriteAndReadSixteenBytes(benchmark::State& state)
{
    EchoedPort echoed;
    ComSer& port = echoed.Client();
    unsigned char out[16] = "0123456789abcde";
    unsigned char in[16] = {};
    for (auto _ : state)
    {
        if (!port.put(out, sizeof out) || !port.get(in, 1000, sizeof in))
        {
            state.SkipWithError("a round trip failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// The same 16 bytes written and read on a pseudo-terminal directly, against the same echo: the
// floor under the round trip through the block.
void PlainEchoSixteenBytes(benchmark::State& state)
{
    EchoTerminal echo;
    const int device = open(echo.Device().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings;
    tcgetattr(device, &settings);
    cfmakeraw(&settings);
    tcsetattr(device, TCSANOW, &settings);
    unsigned char out[16] = "0123456789abcde";
    unsigned char in[16] = {};
    for (auto _ : state)
    {
        size_t got = 0;
        if (write(device, out, sizeof out) != static_cast<ssize_t>(sizeof out))
            state.SkipWithError("write failed");
        while (got < sizeof in)
        {
            pollfd descriptor = {device, POLLIN, 0};
            if (poll(&descriptor, 1, 1000) <= 0)
            {
                state.SkipWithError("no echo");
                break;
            }
            const ssize_t n = read(device, in + got, sizeof in - got);
            if (n > 0)
                got += static_cast<size_t>(n);
        }
    }
    close(device);
    state.SetItemsProcessed(state.iterations());
}

// The hand-off alone: a purge touches the device only for a flush.
void PurgeCommand(benchmark::State& state)
{
    EchoedPort echoed;
    ComSer& port = echoed.Client();
    for (auto _ : state)
        port.reset();
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(PlainEchoSixteenBytes)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(WriteAndReadSixteenBytes)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(PurgeCommand)->Unit(benchmark::kMicrosecond)->UseRealTime();
