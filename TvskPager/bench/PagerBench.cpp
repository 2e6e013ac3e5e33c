// The pager binding's costs on the UI thread: the rebuilding refresh of a parsed page of 100
// controls, and one poll tick that reads a parameter through the chain to drivesim.
#include <TvskPager/binding/PagerBinding.h>

#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>
#include <htmlbind/JyHtml2Mng.h>
#include <protocol/tests/DriveChain.h>

#include <com/ComModule.h>
#include <registry/Profile.h>
#include <web/DomObjects.h>
#include <web/HtmlPage.h>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{

class QuietView : public CPagerView
{
public:
    void SetCaption(const CString&) override {}
    void ResizeTo(long, long) override {}
    void Close(int) override {}
    void ShowRefusal(const CString&) override {}
    void BeginWait() override {}
    void EndWait() override {}
};

// The sample data as a program folder, with the TK20 session open.
struct Session
{
    Session()
    {
        char pattern[] = "/tmp/tvsk-pagerbench-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        host = std::make_unique<CTvskManager>(dir.c_str());
        ok = host->OpenFile((dir + "/Samples/TK20.dat").c_str()) == 0;
        tvsk::com::CreateObject<CJyHtml2Mng>(IJyHtml2Mng::Iid, reinterpret_cast<void**>(manager.Receive()));
    }
    ~Session()
    {
        manager = nullptr;
        host.reset();
        std::filesystem::remove_all(dir);
    }
    void Bind(const std::string& html)
    {
        document = tvsk::web::NewDocumentObject(tvsk::web::ParseHtmlPage(html, "mem:"));
        manager->put_HtmlDocument(document.Get());
    }

    std::string dir;
    std::unique_ptr<CTvskManager> host;
    ComPtr<IJyHtml2Mng> manager;
    ComPtr<IDomDocument> document;
    bool ok = false;
};

std::string PageOf(int controls)
{
    static const char* const names[] = {"Pr30", "Pr32", "Pr33", "Pr34", "Pr35", "Pr36", "Pr37", "Pr39",
                                        "Pr50", "Pr51", "Pr52", "Pr62", "Pr63", "Pr65", "Pr66", "Pr70"};
    std::string html = "<html><head><title>S_3410</title></head><body>";
    for (int i = 0; i < controls; ++i)
        html += i % 4 == 3 ? "<p id=\"S_3416\">x</p>"
                           : std::string("<input type=\"text\" name=\"") + names[i % 16] + "\">";
    return html + "</body></html>";
}

} // namespace

static void BM_RebuildingRefreshOf100Controls(benchmark::State& state)
{
    Session session;
    if (!session.ok)
        return state.SkipWithError("no session");
    session.Bind(PageOf(100));
    QuietView view;
    CPagerBinding binding(session.host.get(), view);
    binding.Attach(session.manager.Get());
    for (auto _ : state)
        binding.Refresh(true);
}
BENCHMARK(BM_RebuildingRefreshOf100Controls)->Unit(benchmark::kMillisecond);

// CPU time is the UI thread's share; the rest of the wall time it waits for the reply.
static void BM_PollTickThroughTheChain(benchmark::State& state)
{
    CDriveChain chain("pagerbench");
    Session session;
    if (!chain.Error().empty() || !chain.StartDrive() || !session.ok)
        return state.SkipWithError("no chain");
    session.host->ParDb().SetCommSettings(ChainSettings(0).c_str());
    if (session.host->Connect("") != 0)
        return state.SkipWithError("no link");
    session.Bind("<html><body><input type=\"text\" name=\"Pr33\"></body></html>");
    QuietView view;
    CPagerBinding binding(session.host.get(), view);
    binding.Attach(session.manager.Get());
    for (auto _ : state)
        if (binding.Tick() > binding.Period()) // a failed read waits longer
            state.SkipWithError("read failed");
    session.host->Disconnect();
    chain.StopDrive();
}
BENCHMARK(BM_PollTickThroughTheChain)->Unit(benchmark::kMillisecond)->Iterations(50);
