#include <ui/Print.h>

#include <gtest/gtest.h>

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

// Answers the dialog as a user would, and remembers what it was asked.
class AnsweringSink final : public CPrintDialogSink
{
public:
    AnsweringSink(int answer, std::string file) : m_answer(answer), m_file(std::move(file)) {}
    int Show(CWnd*, PRINTDLG& settings) override
    {
        askedFlags = settings.Flags;
        settings.outputFile = m_file.c_str();
        return m_answer;
    }
    DWORD askedFlags = 0;

private:
    int m_answer;
    std::string m_file;
};

std::string RunCommand(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

int PageCount(const std::string& pdf)
{
    const std::string info = RunCommand("pdfinfo '" + pdf + "' 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

class PrintTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tvsk-print-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override
    {
        AfxSetPrintDialogSink(nullptr);
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path m_dir;
};

} // namespace

TEST_F(PrintTest, CancelledDialogMakesNoPrinter)
{
    AnsweringSink sink(IDCANCEL, (m_dir / "never.pdf").string());
    AfxSetPrintDialogSink(&sink);
    CPrintDialog dialog(FALSE, PD_RETURNDC | PD_NOSELECTION);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
    EXPECT_EQ(sink.askedFlags & PD_RETURNDC, PD_RETURNDC);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "never.pdf"));
}

// A printer that cannot be had is told apart from a dialog the user cancelled.
TEST_F(PrintTest, AnAcceptedDialogWhosePrinterIsGoneAnswersAbort)
{
    class GonePrinter final : public CPrintDialogSink
    {
    public:
        int Show(CWnd*, PRINTDLG& settings) override
        {
            settings.printerName = "No such printer on this desk";
            return IDOK;
        }
    } sink;
    AfxSetPrintDialogSink(&sink);
    CPrintDialog dialog(FALSE, PD_RETURNDC | PD_NOSELECTION);
    EXPECT_EQ(dialog.DoModal(), IDABORT);
    EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
}

TEST_F(PrintTest, DocumentOfTwoPagesBecomesAPdfAtSixHundredDots)
{
    const std::string file = (m_dir / "out.pdf").string();
    AnsweringSink sink(IDOK, file);
    AfxSetPrintDialogSink(&sink);
    CPrintDialog dialog(FALSE, PD_RETURNDC);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    CPrinterDC* dc = dialog.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(dc->IsPrinting());
    EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSX), 600);
    // A page of paper is several inches wide at 600 dots an inch.
    EXPECT_GT(dc->GetDeviceCaps(HORZRES), 4 * 600);
    EXPECT_GT(dc->GetDeviceCaps(VERTRES), dc->GetDeviceCaps(HORZRES));

    EXPECT_EQ(dc->StartPage(), SP_ERROR);
    ASSERT_GT(dc->StartDoc("Two pages"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    dc->TextOut(100, 100, "First page");
    ASSERT_GT(dc->EndPage(), 0);
    ASSERT_GT(dc->StartPage(), 0);
    dc->TextOut(100, 100, "Second page");
    ASSERT_GT(dc->EndPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);

    EXPECT_EQ(PageCount(file), 2);
    const std::string text = RunCommand("pdftotext '" + file + "' - 2>/dev/null");
    EXPECT_NE(text.find("First page"), std::string::npos);
    EXPECT_NE(text.find("Second page"), std::string::npos);
}

TEST_F(PrintTest, WithoutAFileTheDocumentNamesThePdf)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(m_dir.string()));
    {
        CPrinterDC dc;
        PRINTDLG settings;
        ASSERT_TRUE(dc.CreatePrinter(settings));
        ASSERT_GT(dc.StartDoc("Graph/print"), 0);
        dc.StartPage();
        dc.EndPage();
        dc.EndDoc();
    }
    QDir::setCurrent(before);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "Graph_print.pdf"));
}

TEST_F(PrintTest, UnknownPrinterIsRefused)
{
    CPrinterDC dc;
    PRINTDLG settings;
    settings.printerName = "No such printer";
    EXPECT_FALSE(dc.CreatePrinter(settings));
    EXPECT_EQ(dc.StartDoc("x"), SP_ERROR);
}
