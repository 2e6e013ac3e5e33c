// The TK40 session's write-all and cam download through the whole chain (manager, link client,
// protocol object, Porthaven, pseudo-terminal, drivesim), as writes per second beside
// bench_tvsk_manager_chain's single reads; write-all also with the TK40 script receiving its events.
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>

#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>
#include <ui/MessageBox.h>
#include <ui/UiDefs.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

// The script's offer to save after write-all is declined.
class DecliningBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString&, const CString&, UINT) override { return IDNO; }
};

// The chain, drivesim with the TK40 defaults, and the named session connected; with the script,
// the script manager and its engine are registered first, so opening the session starts it.
class TransferSession
{
public:
    TransferSession(const char* label, const char* sample, bool withScript = false) : m_chain(label)
    {
        if (!m_chain.Error().empty() ||
            !m_chain.StartDrive({"--par", TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"}))
            return;
        if (withScript)
            for (const char* component : {TVSK_ENGINE_MODULE, TVSK_SCRIPTER_MODULE})
                if (std::system((std::string(TVSK_REGSVR) + " " + component).c_str()) != 0)
                    return;
        m_previousBoxes = AfxSetMessageBoxSink(&m_boxes);
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        m_manager = std::make_unique<CTvskManager>(TVSK_SAMPLE_DATA_DIR);
        // Without the script components the TK40's script cannot start (5); the rest is loaded.
        m_ready = m_manager->OpenFile(sample) == (withScript ? 0 : 5) &&
                  m_manager->CanFireEvents() == withScript &&
                  m_manager->Connect(ChainSettings(0).c_str()) == 0;
    }
    ~TransferSession()
    {
        m_manager.reset();
        AfxSetMessageBoxSink(m_previousBoxes);
    }
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    bool Ready() const { return m_ready; }
    CTvskManager& Manager() { return *m_manager; }

private:
    CDriveChain m_chain;
    DecliningBoxes m_boxes;
    CMessageBoxSink* m_previousBoxes = nullptr;
    std::unique_ptr<CTvskManager> m_manager;
    bool m_ready = false;
};

void WriteAll(benchmark::State& state, bool withScript)
{
    TransferSession session(withScript ? "writeallscriptbench" : "writeallbench",
                            TVSK_SAMPLE_DATA_DIR "/Samples/TK40.dat", withScript);
    if (!session.Ready())
    {
        state.SkipWithError("the session does not open or connect");
        return;
    }
    long writes = 0;
    for (long i = 0; i < session.Manager().ParDb().GetParNum(true); ++i)
        if (const DBPAR* par = session.Manager().ParDb().GetPar(i, true);
            par && std::string(par->szRW) == "rw")
            ++writes;
    for (auto _ : state)
    {
        session.Manager().WriteAllPars();
        if (session.Manager().GetErrorCode() != 0)
            state.SkipWithError("write-all failed");
    }
    state.counters["writes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * writes), benchmark::Counter::kIsRate);
}

void BM_WriteAllPars(benchmark::State& state)
{
    WriteAll(state, false);
}
BENCHMARK(BM_WriteAllPars)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WriteAllParsWithScript(benchmark::State& state)
{
    WriteAll(state, true);
}
BENCHMARK(BM_WriteAllParsWithScript)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_DownloadCams(benchmark::State& state)
{
    TransferSession session("camsbench", TVSK_SAMPLE_DATA_DIR "/Samples/TK40Cam.dat");
    if (!session.Ready())
    {
        state.SkipWithError("the session does not open or connect");
        return;
    }
    const long writes =
        static_cast<long>(session.Manager().GetCamDefNum()) * session.Manager().GetCamStepsNr();
    for (auto _ : state)
        if (!session.Manager().DownloadCams())
            state.SkipWithError("cam download failed");
    state.counters["writes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * writes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DownloadCams)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
