// Draining the drive's sample stream with raw reads through the link client, the protocol object,
// the port component, Porthaven, a pseudo-terminal and drivesim: bytes per second of reading.
#include <Tarveskon/DeviceLinkClient.h>

#include <protocol/tests/DriveChain.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

static void BM_RawReadDrainsTheStream(benchmark::State& state)
{
    CDriveChain chain("streambench");
    CDeviceLinkClient client;
    if (!chain.Error().empty() || !chain.StartDrive() || !client.Open(ChainSettings(0).c_str()))
    {
        state.SkipWithError(chain.Error().empty() ? "open failed" : chain.Error().c_str());
        return;
    }
    client.SetWriteAck(false);
    client.WritePar(42, 11, VT_BOOL, tvsk::com::MakeVariantR8(1));
    BYTE buffer[4096];
    size_t drained = 0;
    for (auto _ : state)
    {
        // Half a second of stream piles up (about 490 bytes), then the reads take it all.
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        state.ResumeTiming();
        int read = 0;
        while ((read = client.RawRead(sizeof buffer, buffer)) > 0)
            drained += static_cast<size_t>(read);
        if (read < 0)
            state.SkipWithError("raw read failed");
    }
    client.WritePar(42, 11, VT_BOOL, tvsk::com::MakeVariantR8(0));
    client.SetWriteAck(true);
    state.SetBytesProcessed(static_cast<int64_t>(drained));
    state.counters["bytes/s"] = benchmark::Counter(static_cast<double>(drained), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RawReadDrainsTheStream)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(10);
