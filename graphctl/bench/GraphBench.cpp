// The graph control at 800 x 600 offscreen: a full update of four 15000-sample traces, three new
// samples a trace drawn onto the layer, and loading a four-trace 15000-line file.
#include <graphctl/ZoGraphCtl4Window.h>

#include <ui/App.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace
{

constexpr long kSamples = 15000;

// A control in a top-level window with four full traces, all in view.
class Scope
{
public:
    Scope()
    {
        m_frame.CreateEx(0, "", "bench", WS_OVERLAPPED, CRect(0, 0, 800, 600), nullptr, 0);
        m_frame.ShowWindow(SW_SHOW);
        m_control = ComPtr<CZoGraphCtl4Window>(new CZoGraphCtl4Window);
        CWnd* window = nullptr;
        m_control->CreateWindowIn(&m_frame, CRect(0, 0, 800, 600), &window);
        for (const char* name : {"Speed", "Current", "DIn0", "DIn1"})
            m_control->NewTrack(name);
        m_control->put_DimBuffer(kSamples);
        m_control->put_ViewRange(kSamples);
        for (int t = 0; t < 4; ++t)
        {
            CTrack4* track = m_control->Tracks().At(t);
            track->put_DigitalView(t >= 2 ? 1 : 0);
            std::vector<double> values(kSamples);
            for (long i = 0; i < kSamples; ++i)
                values[static_cast<size_t>(i)] =
                    t >= 2 ? ((i / (500 + 100 * t)) % 2) : std::sin(i * 0.01 * (t + 1)) * 100;
            track->AddSamples(kSamples, values.data(), nullptr);
            track->SetDisplayRange(-120, 120);
        }
        m_control->Update();
        m_control->Window()->Render();
    }
    ~Scope()
    {
        m_control.Reset();
        m_frame.DestroyWindow();
    }
    CZoGraphCtl4Window& Control() { return *m_control.Get(); }

private:
    CWnd m_frame;
    ComPtr<CZoGraphCtl4Window> m_control;
};

void BM_UpdateFourFullTraces(benchmark::State& state)
{
    Scope scope;
    for (auto _ : state)
    {
        scope.Control().Update();
        benchmark::DoNotOptimize(scope.Control().Window()->Render());
    }
}
BENCHMARK(BM_UpdateFourFullTraces)->Unit(benchmark::kMillisecond);

void BM_UpdateThreeSamplesATrace(benchmark::State& state)
{
    Scope scope;
    double values[3] = {1, 2, 3};
    for (auto _ : state)
    {
        for (int t = 0; t < 4; ++t)
            scope.Control().Tracks().At(t)->AddSamples(3, values, nullptr);
        scope.Control().UpdateSamples(3);
        benchmark::DoNotOptimize(scope.Control().Window()->Render());
    }
}
BENCHMARK(BM_UpdateThreeSamplesATrace)->Unit(benchmark::kMicrosecond);

void BM_LoadFourTraceFile(benchmark::State& state)
{
    Scope scope;
    const std::string path = (std::filesystem::temp_directory_path() / "tvsk-graph-bench.txt").string();
    BSTR name = tvsk::com::BstrFromUtf8(path);
    scope.Control().Save(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(scope.Control().Load(name));
    SysFreeString(name);
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFourTraceFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    AfxInitToolkit(argc, argv);
    CoInitialize(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}
