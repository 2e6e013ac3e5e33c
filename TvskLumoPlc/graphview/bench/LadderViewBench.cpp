// Live animation and ladder view speed: read cycles through the whole drive chain, one update of
// 127 changing rungs, and rebuilding the view of 127 networks with one paint.
#include <TvskLumoPlc/graphview/LDView.h>

#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>

#include <ZoLumoPlcObj/LDLogicDoc.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcFBDCode.h>

#include <com/Variant.h>

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// Forwards to the manager and counts the reads.
class CountingHost : public CPluginIntf
{
public:
    explicit CountingHost(CPluginIntf& host) : m_host(host) {}
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    long SendCommand(UINT code, long param1, long param2) override
    {
        const long result = m_host.SendCommand(code, param1, param2);
        if (result == HOSTRES_OK)
            ++reads;
        return result;
    }
    std::atomic<long> reads{0};

private:
    CPluginIntf& m_host;
};

// The worker's view: no window to post to, always shown.
class WorkerOnly : public CAnimationView
{
public:
    CWnd* GetAnimationWnd() override { return nullptr; }
    CPluginIntf* GetAnimationHost() const override { return host; }
    bool IsAnimationShown() const override { return true; }
    CPluginIntf* host = nullptr;
};

// A host for the code generator, which asks the program's capacity.
class GeneratorHost : public CPluginIntf
{
public:
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    int GetPlcMaxLen() override { return 256; }
};

// 127 rungs of a contact and a coil: a full 256-word program with its END.
std::unique_ptr<CPlcFBDCode> FullProgram()
{
    std::string text;
    for (int i = 0; i < 127; ++i)
        text += "LD\t" + std::to_string(i % 8) + "." + std::to_string(i / 8) + "\nOUT\t" +
                std::to_string(200 + i / 16) + "." + std::to_string(i % 16) + "\n\n";
    text += "END\n";
    GeneratorHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    CLDLogicDoc logic;
    if (!gen.LoadILSource(text.c_str(), &logic))
        return nullptr;
    return std::unique_ptr<CPlcFBDCode>(logic.GenerateLDCode());
}

struct ViewWindow
{
    ViewWindow()
    {
        host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1020, 760), nullptr, 0);
        doc = new CLDDoc;
        doc->m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CLDView);
        context.m_pCurrentDoc = doc;
        view = static_cast<CLDView*>(AfxCreateView(&context, &host, CRect(0, 0, 1000, 740), 1));
        host.ShowWindow(SW_SHOW);
    }
    ~ViewWindow()
    {
        view->DestroyWindow();
        host.DestroyWindow();
        delete doc;
    }
    CWnd host;
    CLDDoc* doc = nullptr;
    CLDView* view = nullptr;
};
} // namespace

// Contacts on eight words two apart: eight blocks, read back to back.
static void BM_AnimationCyclesThroughTheChain(benchmark::State& state)
{
    CDriveChain chain("ldview_bench");
    if (!chain.Error().empty() || !chain.StartDrive())
    {
        state.SkipWithError(chain.Error().c_str());
        return;
    }
    const fs::path folder = fs::temp_directory_path() / ("tvsk_ldview_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::copy(TVSK_SAMPLE_DATA_DIR, folder,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    CProfile::Instance().SetRegistryKey("MurnApps");
    RegisterTvskStrings();
    CTvskHeadlessUi ui;
    {
        CTvskManager manager(folder.c_str());
        manager.SetHostUi(&ui);
        if (manager.OpenFile((folder / "Samples/TK20.dat").c_str()) != 0)
            state.SkipWithError("TK20 not opened");
        manager.ParDb().SetCommSettings(ChainSettings(0).c_str());
        if (manager.Connect("") != 0)
            state.SkipWithError("not connected");
        CountingHost counting(manager);
        WorkerOnly view;
        view.host = &counting;
        CAnimateChart chart;
        chart.SetView(&view);
        for (int word = 0; word < 16; word += 2)
            chart.GetNameList().Add((std::to_string(100 + word) + ".0").c_str());
        chart.Start();
        long reads = 0;
        for (auto _ : state)
        {
            const long before = counting.reads.load();
            std::this_thread::sleep_for(std::chrono::seconds(1));
            reads += counting.reads.load() - before;
        }
        chart.Clear();
        state.counters["cycles/s"] =
            benchmark::Counter(static_cast<double>(reads) / 8.0, benchmark::Counter::kIsRate);
        manager.Disconnect();
    }
    chain.StopDrive();
    fs::remove_all(folder);
}
BENCHMARK(BM_AnimationCyclesThroughTheChain)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

// Every rung's contact changes between updates.
static void BM_AnimationUpdateOf127Rungs(benchmark::State& state)
{
    ViewWindow window;
    window.doc->ShowCode(FullProgram());
    WorkerOnly idle; // no host: the worker only waits
    CAnimateChart& chart = window.view->GetChart();
    for (int i = 0; i < window.doc->GetNetworkCount(); ++i)
        window.view->NetworkAt(i)->CollectWatchNames(chart.GetNameList());
    chart.SetView(&idle);
    chart.Start();
    uint16_t pattern = 0;
    for (auto _ : state)
    {
        pattern = static_cast<uint16_t>(~pattern);
        for (const ANIMATION_BLOCK& block : chart.GetBlocks())
            for (int w = 0; w < block.width / 16; ++w)
                block.words[w].store(pattern);
        window.view->OnAnimationUpdate();
    }
    chart.Clear();
}
BENCHMARK(BM_AnimationUpdateOf127Rungs)->Unit(benchmark::kMillisecond);

// Hint 2 with 127 generated networks: windows made, laid out, and the view painted once.
static void BM_RebuildAndPaint127Networks(benchmark::State& state)
{
    ViewWindow window;
    for (auto _ : state)
    {
        state.PauseTiming();
        std::unique_ptr<CPlcFBDCode> code = FullProgram();
        state.ResumeTiming();
        window.doc->ShowCode(std::move(code));
        window.view->GetWidget()->repaint();
    }
}
BENCHMARK(BM_RebuildAndPaint127Networks)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
