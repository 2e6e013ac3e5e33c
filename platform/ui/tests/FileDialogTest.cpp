// File boxes: the "|" filter text, the chosen path and filter through the sink, no box without a display.
#include <ui/Ui.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class ChoosingSink : public CFileDialogSink
{
public:
    INT_PTR answer = IDOK;
    std::string path;
    DWORD filter = 1;
    std::vector<CFileDialog*> shown;

    INT_PTR Show(CFileDialog& dialog) override
    {
        shown.push_back(&dialog);
        if (answer == IDOK)
            dialog.SetResult(path.c_str(), filter);
        return answer;
    }
};

constexpr const char* kDataFilter =
    "File dati (*.dat)|*.dat|File dati desueti(*.slv)|*.slv|Tutti i Files (*.*)|*.*||";

} // namespace

TEST(FileDialogTest, FilterTextSplitsIntoDescriptionsAndPatterns)
{
    const auto filters = ParseFileFilter(kDataFilter);
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].description, "File dati (*.dat)");
    EXPECT_EQ(filters[1].description, "File dati desueti(*.slv)");
    EXPECT_EQ(filters[2].patterns, std::vector<CString>{"*.*"});
    const auto several = ParseFileFilter("Pagine|*.htm;*.html||ignored|*.x|");
    ASSERT_EQ(several.size(), 1u);
    EXPECT_EQ(several[0].patterns, (std::vector<CString>{"*.htm", "*.html"}));
    EXPECT_TRUE(ParseFileFilter(nullptr).empty());
    EXPECT_TRUE(ParseFileFilter("no patterns").empty());
}

TEST(FileDialogTest, SinkAnswersWithPathAndChosenFilter)
{
    ChoosingSink sink;
    sink.path = "/home/user/sessions/TK20.motor.dat";
    sink.filter = 2;
    AfxSetFileDialogSink(&sink);
    CFileDialog box(TRUE, ".par", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kDataFilter);
    EXPECT_EQ(box.DoModal(), IDOK);
    AfxSetFileDialogSink(nullptr);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_TRUE(box.IsOpenDialog());
    EXPECT_EQ(box.GetDefaultExt(), "par");
    EXPECT_EQ(box.m_ofn.Flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(box.GetFilters().size(), 3u);
    EXPECT_EQ(box.GetPathName(), "/home/user/sessions/TK20.motor.dat");
    EXPECT_EQ(box.GetFileName(), "TK20.motor.dat");
    EXPECT_EQ(box.GetFileExt(), "dat");
    EXPECT_EQ(box.GetFileTitle(), "TK20.motor");
    EXPECT_EQ(box.m_ofn.nFilterIndex, 2u);
}

TEST(FileDialogTest, CancelAndEmptyNamesReachTheCaller)
{
    ChoosingSink sink;
    AfxSetFileDialogSink(&sink);
    sink.path = "";
    CFileDialog save(FALSE, nullptr, "Senza nome", OFN_OVERWRITEPROMPT, kDataFilter);
    EXPECT_EQ(save.DoModal(), IDOK); // the user confirmed an empty name: the caller decides
    EXPECT_EQ(save.GetPathName(), "");
    EXPECT_EQ(save.GetFileExt(), "");
    EXPECT_FALSE(save.IsOpenDialog());
    EXPECT_EQ(save.GetInitialFileName(), "Senza nome");
    sink.answer = IDCANCEL;
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    AfxSetFileDialogSink(nullptr);
}

TEST(FileDialogTest, DesktopBoxWithoutADisplayCancels)
{
    EXPECT_EQ(AfxSetFileDialogSink(nullptr), nullptr);
    CFileDialog box(TRUE, "dat", nullptr, OFN_FILEMUSTEXIST, kDataFilter);
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    EXPECT_EQ(box.GetPathName(), "");
}
