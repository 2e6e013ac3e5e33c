// Importing a generated ladder program of 500 networks (4,000 instructions) into the ladder manager.
#include "../tests/GraphTestSupport.h"
#include "../tests/LadderTestSupport.h"

#include <TvskLumoPlc/graph/LDManager.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <benchmark/benchmark.h>

namespace
{
// Networks of eight instructions with a comment each: series, parallels, a box and outputs.
CString MakeProgram(int instructions)
{
    CString text;
    for (int n = 0; n < instructions; n += 8)
    {
        const int w = n % 200;
        text.AppendFormat("(* network %d *)\n", n / 8);
        text.AppendFormat("LD\t%d.1\nAND\t%d.2\nOR\t%d.3\nORN\t%d.4\n", w, w, w, w);
        text.AppendFormat("ADD\t%d, %d, %d\nOUT\t%d.5\nAND\t%d.6\nSET\t%d.7\n\n", w, w + 1, w + 2, w, w, w);
    }
    text += "END\n";
    return text;
}

void BM_ImportLadderProgram(benchmark::State& state)
{
    const int instructions = static_cast<int>(state.range(0));
    CLadderTestHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    CLDLogicDoc doc;
    if (!gen.LoadILSource(MakeProgram(instructions), &doc))
    {
        state.SkipWithError("program not read");
        return;
    }
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    if (!code)
    {
        state.SkipWithError("program not generated");
        return;
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        auto manager = std::make_unique<CLDManager>();
        CFakeOwner owner(*manager);
        state.ResumeTiming();
        for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
            manager->CreateNetworkFromObject(network, FakeParent());
        benchmark::DoNotOptimize(manager->GetNetworkCount());
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
    state.counters["networks"] = static_cast<double>(code->GetCount());
    state.SetItemsProcessed(state.iterations() * instructions);
}
} // namespace

BENCHMARK(BM_ImportLadderProgram)->Arg(4000)->Unit(benchmark::kMillisecond);
