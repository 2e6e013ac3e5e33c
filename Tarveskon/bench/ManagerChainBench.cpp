// Host command 1 (read a parameter by name) per second through the manager, the link client, the
// protocol object, Porthaven, a pseudo-terminal and drivesim; bench_vrnser_chain gives the rate of
// the protocol object alone on the same chain.
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>

#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

namespace
{

void BM_HostReadThroughTheChain(benchmark::State& state)
{
    CDriveChain chain("managerbench");
    if (!chain.Error().empty() || !chain.StartDrive())
    {
        state.SkipWithError(chain.Error().c_str());
        return;
    }
    CProfile::Instance().SetRegistryKey("MurnApps");
    RegisterTvskStrings();
    CTvskManager manager(TVSK_SAMPLE_DATA_DIR);
    if (manager.OpenFile(TVSK_SAMPLE_DATA_DIR "/Samples/TK20.dat") != 0 ||
        manager.Connect(ChainSettings(0).c_str()) != 0)
    {
        state.SkipWithError("the session does not open or connect");
        return;
    }
    const long name = static_cast<long>(reinterpret_cast<std::intptr_t>("Pr33"));
    for (auto _ : state)
        if (manager.SendCommand(1, name, 0) != 0)
            state.SkipWithError("read failed");
    state.counters["reads/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    manager.Disconnect();
}
BENCHMARK(BM_HostReadThroughTheChain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
