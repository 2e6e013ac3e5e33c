#include "GraphFixture.h"

#include <ui/Print.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace tvsk::com;

namespace
{

class AnsweringSink final : public CPrintDialogSink
{
public:
    AnsweringSink(int answer, std::string file) : m_answer(answer), m_file(std::move(file)) {}
    int Show(CWnd*, PRINTDLG& settings) override
    {
        settings.outputFile = m_file.c_str();
        flags = settings.Flags;
        return m_answer;
    }
    DWORD flags = 0;

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

} // namespace

class GraphPrintTest : public GraphFixture
{
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        char dir[] = "/tmp/tvsk-graphprint-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override
    {
        AfxSetPrintDialogSink(nullptr);
        std::filesystem::remove_all(m_dir);
        GraphFixture::TearDown();
    }
    std::filesystem::path m_dir;
};

TEST_F(GraphPrintTest, CancelPrintsNothing)
{
    AnsweringSink sink(IDCANCEL, (m_dir / "graph.pdf").string());
    AfxSetPrintDialogSink(&sink);
    EXPECT_EQ(Control().PrintGraph(), S_OK);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "graph.pdf"));
    EXPECT_EQ(sink.flags & (PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_DISABLEPRINTTOFILE),
              PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_DISABLEPRINTTOFILE);
}

TEST_F(GraphPrintTest, PrintsOnePageWithGraphAndListAndRestoresTheLayout)
{
    std::vector<double> values;
    for (int i = 0; i < 100; ++i)
        values.push_back(i % 10);
    AddTrace("Speed", values, 0, 10);
    AddTrace("Current", values, -10, 10);
    Control().Update();
    const std::string file = (m_dir / "graph.pdf").string();
    AnsweringSink sink(IDOK, file);
    AfxSetPrintDialogSink(&sink);
    LONG before = 0, after = 0;
    Control().get_GraphHDim(&before);
    ASSERT_EQ(Control().PrintGraph(), S_OK);
    Control().get_GraphHDim(&after);
    EXPECT_EQ(after, before);
    const std::string info = RunCommand("pdfinfo '" + file + "' 2>/dev/null");
    const size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::atoi(info.c_str() + pages + 6), 1);
    const std::string text = RunCommand("pdftotext '" + file + "' - 2>/dev/null");
    EXPECT_NE(text.find("t/div"), std::string::npos) << text;
    EXPECT_NE(text.find("Speed"), std::string::npos);
    EXPECT_NE(text.find("max displ."), std::string::npos);
}
