// File boxes: the "|" filter text, the chosen path and filter through the sink, no box without a display.
#include "UiTestSupport.h"

#include <ui/Language.h>
#include <ui/Ui.h>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

namespace
{

// The toolkit's own box (not a desktop's), as the program shows it, on a folder and a data file.
class FittedFileBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/filebox-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::filesystem::create_directory(folder / "Samples");
        std::ofstream(folder / "Default.dat") << std::string(140, ';');
    }
    void TearDown() override
    {
        AfxSetTextTranslator({});
        std::filesystem::remove_all(folder);
    }
    // Shows the box on the folder and waits for both entries.
    bool Show(QFileDialog& box)
    {
        box.setOption(QFileDialog::DontUseNativeDialog);
        tvsk::ui::FitFileBox(box);
        box.setDirectory(QString::fromStdString(folder.string()));
        box.show();
        details = box.findChild<QTreeView*>("treeView");
        model = details ? qobject_cast<QFileSystemModel*>(details->model()) : nullptr;
        return model && PumpUntil([&] { return model->rowCount(details->rootIndex()) == 2; }, 10000);
    }
    QString Text(const char* name, int column)
    {
        const QModelIndex entry = model->index(QString::fromStdString((folder / name).string()));
        return model->data(entry.siblingAtColumn(column)).toString();
    }

    std::filesystem::path folder;
    QTreeView* details = nullptr;
    QFileSystemModel* model = nullptr;
};

} // namespace

TEST_F(FittedFileBoxTest, SizeTypeAndDateAreWhole)
{
    QFileDialog box;
    ASSERT_TRUE(Show(box));
    QHeaderView* header = details->header();
    ASSERT_EQ(header->count(), 4);
    const QAbstractItemView* view = details; // the room its texts ask for
    PumpUntil([&] { return header->sectionSize(1) >= view->sizeHintForColumn(1); });
    for (int column = 1; column < 4; ++column)
    {
        EXPECT_GE(header->sectionSize(column), view->sizeHintForColumn(column)) << column;
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
    }
    EXPECT_FALSE(Text("Default.dat", 1).isEmpty());
}

TEST_F(FittedFileBoxTest, AFoldersTypeIsInTheChosenLanguage)
{
    {
        QFileDialog box;
        ASSERT_TRUE(Show(box));
        EXPECT_EQ(Text("Samples", 2).toStdString(), "Cartella") << "the tables' own words";
    }
    AfxSetTextTranslator(
        [](const char* text, CString& translated)
        {
            if (CString(text) != "Cartella")
                return false;
            translated = "Dossier";
            return true;
        });
    QFileDialog box;
    ASSERT_TRUE(Show(box));
    EXPECT_EQ(Text("Samples", 2).toStdString(), "Dossier");
    EXPECT_NE(Text("Default.dat", 2).toStdString(), "Dossier");
}
