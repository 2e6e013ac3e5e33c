// Importing the 4,000-instruction program with the real font, each element's body painted into
// its cached bitmap off-screen as the network window does when an element is placed.
#include "../../graph/tests/GraphTestSupport.h"
#include "../../graph/tests/LadderTestSupport.h"

#include <TvskLumoPlc/graph/LDManager.h>
#include <TvskLumoPlc/graphui/FontTextMetrics.h>
#include <TvskLumoPlc/graphui/GraphBitmap.h>
#include <TvskLumoPlc/graphui/GraphPainter.h>

#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>

namespace
{
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

// A network window that caches each placed element's body.
class CPaintingNetwork : public CFakeNetwork
{
public:
    CPaintingNetwork(const CGraphManager& manager, CFontTextMetrics& fonts)
        : m_manager(manager), m_fonts(fonts)
    {
    }
    void OnElementPlaced(CGraphBlock* element) override
    {
        CGraphPainter::PaintBody(element, m_manager, &m_fonts, m_bodies[element]);
    }
    void OnElementRemoved(CGraphBlock* element) override { m_bodies.erase(element); }

private:
    const CGraphManager& m_manager;
    CFontTextMetrics& m_fonts;
    std::map<CGraphBlock*, CGraphBitmap> m_bodies;
};

class CPaintingOwner : public CFakeOwner
{
public:
    CPaintingOwner(CGraphManager& manager, CFontTextMetrics& fonts) : CFakeOwner(manager), m_fonts(fonts) {}
    CGraphNetworkIntf* NewNetworkWindow() override { return new CPaintingNetwork(m_manager, m_fonts); }

private:
    CFontTextMetrics& m_fonts;
};

void BM_ImportLadderProgramWithFonts(benchmark::State& state)
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
    CFontTextMetrics fonts;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto manager = std::make_unique<CLDManager>();
        CPaintingOwner owner(*manager, fonts);
        state.ResumeTiming();
        manager->SetTextMetrics(std::make_unique<CFontTextMetrics>());
        fonts.SetFont(manager->GetFontSize(), manager->GetFontName());
        for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
            manager->CreateNetworkFromObject(network, FakeParent());
        benchmark::DoNotOptimize(manager->GetNetworkCount());
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * instructions);
}
} // namespace

BENCHMARK(BM_ImportLadderProgramWithFonts)->Arg(4000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
