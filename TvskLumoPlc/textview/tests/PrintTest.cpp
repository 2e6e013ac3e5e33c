// Printing the text view to PDF: margins from the profile, word wrapping, page footers, margins too
// wide for any text; page set-up writes the profile; a source view prints only with a printer.
#include "TextViewFixture.h"

#include <TvskLumoPlc/textview/CrystalEditView.h>
#include <TvskLumoPlc/textview/SourceView.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

class PdfPrintSink : public CPrintDialogSink
{
public:
    explicit PdfPrintSink(std::string file) : m_file(std::move(file)) {}
    int Show(CWnd*, PRINTDLG& settings) override
    {
        settings.outputFile = m_file.c_str();
        return IDOK;
    }

private:
    std::string m_file;
};

std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

int PageCount(const std::string& pdf)
{
    std::istringstream info(RunCommand("pdfinfo '" + pdf + "'"));
    for (std::string line; std::getline(info, line);)
        if (line.rfind("Pages:", 0) == 0)
            return std::stoi(line.substr(6));
    return 0;
}

void WriteMargins(int left, int right, int top, int bottom)
{
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt("TextEdit\\PageSetup", "LeftMargin", left);
    app->WriteProfileInt("TextEdit\\PageSetup", "RightMargin", right);
    app->WriteProfileInt("TextEdit\\PageSetup", "TopMargin", top);
    app->WriteProfileInt("TextEdit\\PageSetup", "BottomMargin", bottom);
}

class Printing : public TextViewFixture<CCrystalEditView>
{
protected:
    void SetUp() override
    {
        TextViewFixture::SetUp();
        m_pdf = (fs::temp_directory_path() / ("textprint-" + std::to_string(::getpid()) + ".pdf")).string();
        m_previousPrint = AfxSetPrintDialogSink(&m_sink);
    }
    void TearDown() override
    {
        AfxSetPrintDialogSink(m_previousPrint);
        fs::remove(m_pdf);
        TextViewFixture::TearDown();
    }
    std::string Text() { return RunCommand("pdftotext -layout '" + m_pdf + "' -"); }

    std::string m_pdf;
    PdfPrintSink m_sink{""};
    CPrintDialogSink* m_previousPrint = nullptr;

    void Print()
    {
        m_sink = PdfPrintSink(m_pdf);
        ASSERT_TRUE(m_view.OnFilePrint());
    }
};

TEST_F(Printing, WithoutPageSetUpTheMarginsAreTenMillimetres)
{
    EXPECT_EQ(CCrystalTextView::GetPrintMargins(), CRect(1000, 1000, 1000, 1000));
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    Print();
    EXPECT_EQ(PageCount(m_pdf), 1);
    const std::string text = Text();
    EXPECT_NE(text.find("LD 1.0"), std::string::npos);
    EXPECT_NE(text.find("Page 1/1"), std::string::npos);
    // The first word starts 10 mm (28.3 points) inside the printable area.
    const std::string box = RunCommand("pdftotext -bbox '" + m_pdf + "' - | grep -m1 '>LD<'");
    const size_t at = box.find("xMin=\"");
    ASSERT_NE(at, std::string::npos) << box;
    const double xMin = std::stod(box.substr(at + 6));
    EXPECT_GE(xMin, 28.0);
    EXPECT_LE(xMin, 28.35 + 20.0); // plus the printer's own unprintable strip
}

TEST_F(Printing, WrappedLinesCountTowardsThePages)
{
    std::string text;
    std::string words;
    for (int i = 0; i < 80; ++i)
        words += "word" + std::to_string(i % 10) + " ";
    for (int i = 0; i < 60; ++i)
        text += words + "\n";
    Load(text, CRLF_STYLE_MAC);
    Print();
    EXPECT_EQ(m_view.GetPrintPageCount(), 2);
    EXPECT_EQ(PageCount(m_pdf), 2);
    const std::string printed = Text();
    EXPECT_NE(printed.find("Page 1/2"), std::string::npos);
    EXPECT_NE(printed.find("Page 2/2"), std::string::npos);
}

TEST_F(Printing, MarginsLeavingNoRoomReadAsTenMillimetres)
{
    WriteMargins(30000, 30000, 40000, 40000);
    Load("LD 1.0", CRLF_STYLE_MAC);
    Print();
    EXPECT_EQ(PageCount(m_pdf), 1);
    EXPECT_NE(Text().find("LD 1.0"), std::string::npos);
    WriteMargins(1000, 1000, 1000, 1000);
}

TEST_F(Printing, LineNumbersPrintWithFourDigits)
{
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    m_view.SetPrintLineNumbers(TRUE);
    Print();
    const std::string text = Text();
    EXPECT_NE(text.find("0001 LD 1.0"), std::string::npos) << text;
    EXPECT_NE(text.find("0002 OUT 2.0"), std::string::npos) << text;
}

TEST(PrintWrap, WordsWrapAndLongWordsBreakWithAtLeastOneCharacterALine)
{
    using Pieces = std::vector<std::pair<int, int>>;
    EXPECT_EQ(CCrystalTextView::WrapLine("", 10), (Pieces{{0, 0}}));
    EXPECT_EQ(CCrystalTextView::WrapLine("LD 1.0 OUT 2.0", 8), (Pieces{{0, 6}, {7, 7}}));
    EXPECT_EQ(CCrystalTextView::WrapLine("abcdefgh", 3), (Pieces{{0, 3}, {3, 3}, {6, 2}}));
    EXPECT_EQ(CCrystalTextView::WrapLine("abc", 0), (Pieces{{0, 1}, {1, 1}, {2, 1}}));
}

class MarginAnswer : public CPageSetupSink
{
public:
    INT_PTR Run(PAGESETUPDLG& settings) override
    {
        shown = settings.rtMargin;
        settings.rtMargin = CRect(500, 700, 600, 800);
        return IDOK;
    }
    CRect shown;
};

TEST_F(Printing, PageSetUpShowsAndStoresTheMargins)
{
    Load("x", CRLF_STYLE_MAC);
    MarginAnswer answer;
    CPageSetupSink* previous = AfxSetPageSetupSink(&answer);
    m_view.SendMessage(WM_COMMAND, ID_FILE_PAGE_SETUP, 0);
    AfxSetPageSetupSink(previous);
    EXPECT_EQ(answer.shown, CRect(1000, 1000, 1000, 1000));
    EXPECT_EQ(CCrystalTextView::GetPrintMargins(), CRect(500, 700, 600, 800));
    WriteMargins(1000, 1000, 1000, 1000);
}

class CountingPrinter : public CSourcePrinter
{
public:
    int GetPageCount(CDC*, CCrystalTextBuffer&) override { return 3; }
    void PrintPage(CDC* dc, CCrystalTextBuffer&, int page) override
    {
        pages.push_back(page);
        dc->TextOut(100, 100, FormatString("printed %d", page));
    }
    std::vector<int> pages;
};

TEST_F(Printing, ASourceViewPrintsOnlyThroughItsPrinter)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CSourceView);
    auto* view = dynamic_cast<CSourceView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 100, 100), 9));
    ASSERT_NE(view, nullptr);
    m_sink = PdfPrintSink(m_pdf);
    EXPECT_FALSE(view->OnFilePrint());
    EXPECT_FALSE(fs::exists(m_pdf));
    CountingPrinter printer;
    view->SetPrinter(&printer);
    EXPECT_TRUE(view->OnFilePrint());
    EXPECT_EQ(printer.pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(PageCount(m_pdf), 3);
    view->DestroyWindow();
}

} // namespace
