// The text editor on a generated 4,000-line instruction-list program: load, colour, a failed find,
// Replace All of 1,000 matches with a view attached, one screen painted offscreen.
#include <TvskLumoPlc/text/SyntaxParser.h>
#include <TvskLumoPlc/text/TextEditStrings.h>
#include <TvskLumoPlc/text/TextSearch.h>
#include <TvskLumoPlc/textview/CrystalEditView.h>
#include <TvskLumoPlc/textview/TextReplaceDialog.h>

#include <ui/Ui.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <string>

namespace
{

constexpr int kLines = 4000;

// 4,000 lines: 500 networks of a comment line and seven instructions, two of which read M1.3
// (1,000 matches for Replace All); some instructions carry a trailing comment.
const std::string& IlProgram()
{
    static const std::string text = []
    {
        static const char* const kInstructions[] = {"LD I0.1",  "ANDN M1.3",   "OR M1.3",
                                                    "AND 0x1F", "ADD 12.5E+3", "OUT Q0.1 (* output *)",
                                                    "SET M2.0"};
        std::string out;
        for (int line = 0; line < kLines; ++line)
        {
            if (line % 8 == 0)
                out += "(* network " + std::to_string(line / 8) + " *)\n";
            else
                out += std::string(kInstructions[line % 8 - 1]) + "\n";
        }
        return out;
    }();
    return text;
}

int CountMatches(const CCrystalTextBuffer& buffer, const char* what)
{
    int count = 0;
    for (int line = 0; line < buffer.GetLineCount(); ++line)
        for (size_t at = buffer.GetLine(line).find(what); at != std::string_view::npos;
             at = buffer.GetLine(line).find(what, at + 1))
            ++count;
    return count;
}

void EnsureToolkit()
{
    static QApplication* app = []
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "plctext_bench";
        static char* argv[] = {name, nullptr};
        auto* application = new QApplication(argc, argv);
        int zero = 0;
        AfxInitToolkit(zero, nullptr);
        return application;
    }();
    (void)app;
}

class SilentBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString&, const CString&, UINT) override { return IDOK; }
};

void BM_LoadString(benchmark::State& state)
{
    CCrystalTextBuffer buffer;
    for (auto _ : state)
    {
        buffer.LoadString(IlProgram());
        benchmark::DoNotOptimize(buffer.GetLineCount());
    }
}
BENCHMARK(BM_LoadString)->Unit(benchmark::kMillisecond);

void BM_ColourEveryLine(benchmark::State& state)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString(IlProgram());
    CIlSyntaxParser parser;
    std::vector<TEXTBLOCK> blocks;
    for (auto _ : state)
    {
        DWORD cookie = 0;
        for (int line = 0; line < buffer.GetLineCount(); ++line)
            cookie = parser.ParseLine(cookie, buffer.GetLine(line), &blocks);
        benchmark::DoNotOptimize(cookie);
    }
}
BENCHMARK(BM_ColourEveryLine)->Unit(benchmark::kMillisecond);

void BM_FailedFind(benchmark::State& state)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString(IlProgram());
    const int last = buffer.GetLineCount() - 1;
    for (auto _ : state)
    {
        CPoint found;
        const bool hit =
            FindTextInBlock(buffer, "JMPC", CPoint(0, 0), CPoint(0, 0),
                            CPoint(buffer.GetLineLength(last), last), FIND_WHOLE_WORD, true, found);
        benchmark::DoNotOptimize(hit);
    }
}
BENCHMARK(BM_FailedFind)->Unit(benchmark::kMillisecond);

struct ViewWindow
{
    ViewWindow()
    {
        EnsureToolkit();
        host.CreateEx(0, nullptr, "bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, 820, 620), nullptr, 0);
        view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &host, 1, nullptr);
        LOGFONT font;
        CopyTextCut(font.lfFaceName, "Courier");
        font.lfHeight = -13;
        view.SetFont(font);
        view.SetSyntaxParser(&parser);
        host.ShowWindow(SW_SHOW);
    }
    ~ViewWindow()
    {
        view.DestroyWindow();
        host.DestroyWindow();
    }
    CWnd host;
    CCrystalEditView view;
    CIlSyntaxParser parser;
    CCrystalTextBuffer buffer;
};

void BM_ReplaceAll1000WithView(benchmark::State& state)
{
    ViewWindow window;
    SilentBoxes boxes;
    CMessageBoxSink* previous = AfxSetMessageBoxSink(&boxes);
    for (auto _ : state)
    {
        state.PauseTiming();
        window.buffer.LoadString(IlProgram());
        window.view.AttachToBuffer(&window.buffer);
        CTextReplaceDialog dialog(&window.view);
        window.view.PrepareReplaceDialog(dialog);
        dialog.m_sText = "M1.3";
        dialog.m_sNewText = "M1.4";
        dialog.m_nScope = 1;
        dialog.m_ptCurrentPos = CPoint(0, 0);
        dialog.Create(IDS_REPLACE_DIALOG, &window.view);
        state.ResumeTiming();
        dialog.OnEditReplaceAll();
        state.PauseTiming();
        state.counters["replaced"] = CountMatches(window.buffer, "M1.4");
        dialog.DestroyWindow();
        state.ResumeTiming();
    }
    AfxSetMessageBoxSink(previous);
}
BENCHMARK(BM_ReplaceAll1000WithView)->Unit(benchmark::kMillisecond);

void BM_PaintOneScreen(benchmark::State& state)
{
    ViewWindow window;
    window.buffer.LoadString(IlProgram());
    window.view.AttachToBuffer(&window.buffer);
    window.view.ScrollToLine(2000);
    QImage image(window.view.GetWidget()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
    {
        // Each screen from scratch: the colouring caches are dropped first.
        state.PauseTiming();
        window.view.SetTabSize(window.view.GetTabSize() == 4 ? 8 : 4);
        state.ResumeTiming();
        window.view.GetWidget()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMillisecond);

} // namespace
