// The page viewer in the real engine: a sample wizard page opened until every field shows the
// open file's value.
#include <TvskPager/ui/PagerDlg.h>
#include <TvskPager/ui/PagerIds.h>

#include <Tarveskon/TvskManager.h>
#include <Tarveskon/bench/EngineBenchToolkit.h>
#include <Tarveskon/TvskStrings.h>

#include <ui/App.h>
#include <ui/Resources.h>
#include <web/engine/WebBrowser.h>

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace
{

void EnsureToolkit()
{
    EnsureEngineToolkit("bench_pager_page", JYHTML2_COMPONENT);
}

// The sample data as a program folder, with the TK20 session open.
struct Session
{
    Session()
    {
        char pattern[] = "/tmp/tvsk-pager-page-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        host = std::make_unique<CTvskManager>(dir.c_str());
        ok = host->OpenFile((dir + "/Samples/TK20.dat").c_str()) == 0;
        host->GetPagesDir(page, true);
        page += "/Motor.htm";
    }
    ~Session()
    {
        host.reset();
        std::filesystem::remove_all(dir);
    }

    std::string dir;
    std::unique_ptr<CTvskManager> host;
    CString page;
    bool ok = false;
};

// Every text field of the live page shows a value (the page's own fields start empty).
const QString kAllShown = "Array.from(document.querySelectorAll('input[type=text]'))"
                          ".every(function (f) { return f.value !== ''; })";

void BM_PageOpenedUntilEveryFieldShowsItsValue(benchmark::State& state)
{
    EnsureToolkit();
    Session session;
    if (!session.ok)
        return state.SkipWithError("no session");
    bool allShown = true;
    for (auto _ : state)
    {
        CResourceModuleScope resources(PagerModule());
        CPagerDlg dialog(session.page, session.host.get(), nullptr, nullptr);
        bool asked = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout,
                         [&]
                         {
                             if (asked || !dialog.Page().Binding().IsAttached())
                                 return;
                             asked = true;
                             dialog.Page().Browser()->View()->page()->runJavaScript(kAllShown,
                                                                                    [&](const QVariant& shown)
                                                                                    {
                                                                                        asked = false;
                                                                                        if (shown.toBool())
                                                                                            dialog.EndDialog(
                                                                                                IDOK);
                                                                                    });
                         });
        poll.start(1);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout,
                         [&]
                         {
                             allShown = false;
                             dialog.EndDialog(IDCANCEL);
                         });
        giveUp.start(10000);
        dialog.DoModal();
    }
    if (!allShown)
        state.SkipWithError("a field stayed empty");
}
BENCHMARK(BM_PageOpenedUntilEveryFieldShowsItsValue)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
