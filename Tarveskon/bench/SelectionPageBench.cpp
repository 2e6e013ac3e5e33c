// The drive selection page: the dialog until its page shows lists and values in the real engine,
// and the page logic (document complete, a select change) on a parsed page.
#include <Tarveskon/DlgDriveSelect.h>
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/bench/EngineBenchToolkit.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>

#include <ui/App.h>
#include <web/DomObjects.h>
#include <web/HtmlPage.h>

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

void EnsureToolkit()
{
    EnsureEngineToolkit("bench_selection_page", TVSK_BIN_DIR "/JyHtml2.so");
}

CTvskManager& Manager()
{
    static CTvskManager* manager = []
    {
        auto* m = new CTvskManager(TVSK_BIN_DIR);
        m->LoadDriveDb();
        return m;
    }();
    return *manager;
}

void BM_DriveDialogShowsItsPage(benchmark::State& state)
{
    EnsureToolkit();
    for (auto _ : state)
    {
        CDlgDriveSelect dialog;
        dialog.SetTvskManager(&Manager());
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout,
                         [&]
                         {
                             if (dialog.DriveWnd().DataManager().ControlsNum() > 0)
                                 dialog.EndDialog(IDCANCEL);
                         });
        poll.start(1);
        dialog.DoModal();
    }
}
BENCHMARK(BM_DriveDialogShowsItsPage)->Unit(benchmark::kMillisecond)->Iterations(20);

// The drive window with a parsed Drives.htm bound to its data manager.
class ParsedDrivePage
{
public:
    ParsedDrivePage()
    {
        m_parent.CreateEx(0, nullptr, "bench", WS_POPUP, CRect(0, 0, 800, 600), nullptr, 0);
        m_page.SetTvskManager(&Manager());
        m_page.Create(nullptr, WS_CHILD, CRect(0, 0, 800, 600), &m_parent, IDC_SELECT_PAGE);
        std::ifstream in(TVSK_SAMPLE_DATA_DIR "/Common/Drives.htm");
        std::stringstream text;
        text << in.rdbuf();
        m_html = text.str();
    }
    ~ParsedDrivePage()
    {
        m_page.DestroyWindow();
        m_parent.DestroyWindow();
    }
    void DocumentComplete()
    {
        m_document = tvsk::web::NewDocumentObject(tvsk::web::ParseHtmlPage(m_html, "mem:"));
        m_page.DataManager().Get()->put_HtmlDocument(m_document.Get());
        m_page.UpdateSelectCtrl();
        m_page.UpdateDriveValue();
    }
    CDriveHtmlWnd& Page() { return m_page; }

private:
    CWnd m_parent;
    CDriveHtmlWnd m_page;
    std::string m_html;
    ComPtr<IDomDocument> m_document;
};

void BM_ParsedDocumentComplete(benchmark::State& state)
{
    EnsureToolkit();
    ParsedDrivePage page;
    for (auto _ : state)
        page.DocumentComplete();
}
BENCHMARK(BM_ParsedDocumentComplete)->Unit(benchmark::kMillisecond);

void BM_ParsedSelectChange(benchmark::State& state)
{
    EnsureToolkit();
    ParsedDrivePage page;
    page.DocumentComplete();
    const char* const types[] = {"TK20", "TK40"};
    int i = 0;
    for (auto _ : state)
    {
        HTML_SELCHANGE change{"selDrive", types[i++ % 2]};
        page.Page().SendMessage(WM_HTML_SELCHANGE, 0, reinterpret_cast<LPARAM>(&change));
    }
    CString code;
    page.Page().DataManager().GetRawText("idD5", code);
    if (page.Page().DataManager().ControlsNum() == 0 || code.Left(2) != (i % 2 ? "20" : "40"))
        state.SkipWithError(("the page did not follow the change: " + code.str()).c_str());
}
BENCHMARK(BM_ParsedSelectChange)->Unit(benchmark::kMillisecond);

} // namespace
