// 16-bit parameter reads per second through the protocol object, the port component, Porthaven,
// a pseudo-terminal and drivesim (the 10 ms gap included), and one read's transaction alone.
#include "../tests/DriveChain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

static void BM_ParRead16ThroughTheChain(benchmark::State& state)
{
    CDriveChain chain("bench");
    if (!chain.Error().empty() || !chain.StartDrive())
    {
        state.SkipWithError(chain.Error().c_str());
        return;
    }
    HRESULT hr = E_FAIL;
    ComPtr<IVrnSer> link = chain.CreateLink(ChainSettings(static_cast<int>(state.range(0))), hr);
    if (FAILED(hr))
    {
        state.SkipWithError("Init failed");
        return;
    }
    VARIANT value;
    VariantInit(&value);
    for (auto _ : state)
    {
        if (FAILED(link->get_Par(2, 0, VT_UI2, &value)) || value.uiVal != 2050)
            state.SkipWithError("read failed");
    }
    state.counters["reads/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
// The transaction alone: the gap has passed (outside the timing) before each read.
static void BM_ParRead16Transaction(benchmark::State& state)
{
    CDriveChain chain("bench");
    if (!chain.Error().empty() || !chain.StartDrive())
    {
        state.SkipWithError(chain.Error().c_str());
        return;
    }
    HRESULT hr = E_FAIL;
    ComPtr<IVrnSer> link = chain.CreateLink(ChainSettings(static_cast<int>(state.range(0))), hr);
    if (FAILED(hr))
    {
        state.SkipWithError("Init failed");
        return;
    }
    VARIANT value;
    VariantInit(&value);
    for (auto _ : state)
    {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(12));
        state.ResumeTiming();
        if (FAILED(link->get_Par(2, 0, VT_UI2, &value)) || value.uiVal != 2050)
            state.SkipWithError("read failed");
    }
}

// Binary frames at address 0, ASCII commands at address 1000.
BENCHMARK(BM_ParRead16ThroughTheChain)
    ->Arg(0)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_ParRead16Transaction)
    ->Arg(0)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Iterations(200);
