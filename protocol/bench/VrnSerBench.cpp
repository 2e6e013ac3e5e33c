// 16-bit parameter reads per second through the protocol object, the fake port object and the
// in-process simulated drive, on the system tick clock (the 10 ms gap included).
#include "../tests/ProtocolTestSupport.h"

#include <protocol/VrnSer.h>

#include <benchmark/benchmark.h>

static void BM_ParRead16InProcess(benchmark::State& state)
{
    CSystemTickClock clock;
    CDriveLine line({0});
    CFakePortFactory ports(line, clock);
    CCountingSink sink;
    ComPtr<IVrnSer> vrnser(new CVrnSer({ports, clock, &sink, ""}));
    BSTR text = tvsk::com::BstrFromUtf8("VrnSer:0,200#COM:1,9600,E,8,1");
    vrnser->Init(text);
    SysFreeString(text);
    VARIANT value;
    VariantInit(&value);
    for (auto _ : state)
    {
        if (FAILED(vrnser->get_Par(20, 0, VT_UI2, &value)))
            state.SkipWithError("read failed");
        ports.last->writes.clear();
        ports.last->writeTimes.clear();
        ports.last->calls.clear();
        ports.last->timeouts.clear();
    }
    state.counters["reads/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParRead16InProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
