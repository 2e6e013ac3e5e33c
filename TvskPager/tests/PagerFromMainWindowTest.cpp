// The pager opened from the main program's wizard start page, as an engineer opens it.
#include "PageScript.h"

#include <TvskPager/ui/PagerDlg.h>

#include <Tarveskon/TarveskonDlg.h>
#include <Tarveskon/TvskHtmlEvent.h>
#include <Tarveskon/TvskIntf.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <Tarveskon/tests/PageComponents.h>
#include <com/Bstr.h>
#include <protocol/tests/DriveChain.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/App.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

using tvsk::testing::ProgramFolder;

class OneFileBox : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        dialog.SetResult(path.c_str(), 1);
        return IDOK;
    }
    std::string path;
};

class RecordedBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        return DefaultMessageBoxAnswer(type);
    }
    std::vector<std::string> texts;
};

std::string AsText(VARIANT& value)
{
    VARIANT text;
    VariantInit(&text);
    VariantChangeType(&text, &value, 0, VT_BSTR);
    std::string result = text.vt == VT_BSTR ? tvsk::com::Utf8FromBstr(text.bstrVal) : "";
    VariantClear(&text);
    VariantClear(&value);
    return result;
}

// A sample session, the start page the main window shows for it and its drive type's parameters.
struct DriveSample
{
    const char* name;
    const char* file;
    const char* startPage;
    const char* parameters;
    const char* motorCaption; // the type's own motor page or the family's
};

const DriveSample kTK20 = {"TK20", "Samples/TK20.dat", "TK20/TK20_ITA.htm", "TK20/TK20.par", "Dati motore"};

class PagerFromMainWindowTest : public testing::Test
{
protected:
    virtual const DriveSample& Sample() const { return kTK20; }
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))) << "the drive chain may have started COM";
        tvsk::testing::PreparePageComponents();
        RegisterTvskStrings();
        AfxSetFileDialogSink(&files);
        AfxSetMessageBoxSink(&boxes);
        dialog = std::make_unique<CTarveskonDlg>(folder.Dir().c_str());
        ASSERT_TRUE(dialog->Create(IDD_TARVESKON_DIALOG));
        dialog->ShowWindow(SW_SHOW);
        files.path = folder.Path(Sample().file);
        dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("OpenFile"));
        ASSERT_TRUE(MainShows(Sample().startPage));
    }
    void TearDown() override
    {
        if (dialog && dialog->GetSafeHwnd())
            dialog->DestroyWindow();
        dialog.reset();
        AfxSetFileDialogSink(nullptr);
        AfxSetMessageBoxSink(nullptr);
        CoUninitialize();
    }
    bool MainShows(const std::string& page)
    {
        const std::string expected = folder.Dir() + "/" + page;
        return WaitUntil(
            [&]
            {
                const std::string url = dialog->MainPageWnd().GetLocationURL().str();
                return url.size() >= expected.size() &&
                       url.compare(url.size() - expected.size(), expected.size(), expected) == 0 &&
                       !dialog->MainPageWnd().GetBusy();
            });
    }
    // The start page the main window shows holds a button of the id.
    bool StartPageHas(const std::string& element)
    {
        std::ifstream file(folder.Path(Sample().startPage));
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        return text.find("name=\"" + element + "\"") != std::string::npos;
    }
    // Clicks the start page's element for the page; inside the pager, once bound, look runs.
    void OpenFromStartPage(const std::string& page, const std::function<void(CPagerDlg&)>& look)
    {
        const std::string element = "PLUGIN#TvskPager_" + page;
        ASSERT_TRUE(StartPageHas(element)) << element;
        bool looked = false;
        QTimer::singleShot(0,
                           [&]
                           {
                               CPagerDlg* pager = nullptr;
                               const bool bound = WaitUntil(
                                   [&]
                                   {
                                       pager = dynamic_cast<CPagerDlg*>(
                                           CWnd::FromWidget(QApplication::activeModalWidget()));
                                       return pager && pager->Page().Binding().IsAttached();
                                   },
                                   10000);
                               EXPECT_TRUE(bound);
                               if (!pager)
                                   return;
                               if (bound)
                                   look(*pager);
                               looked = true;
                               pager->Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Ok"));
                           });
        // What the start page's sink does for a click on the element.
        SendPluginRequest(dialog.get(), element.c_str() + 7);
        EXPECT_TRUE(looked);
    }
    std::string Shown(CPagerDlg& pager, const char* name)
    {
        BSTR key = tvsk::com::BstrFromUtf8(name);
        VARIANT value;
        VariantInit(&value);
        pager.Page().Manager()->get_ControlValue(key, &value);
        SysFreeString(key);
        return AsText(value);
    }
    std::string FileValue(const char* name)
    {
        VARIANT value;
        VariantInit(&value);
        dialog->Manager().GetParValue(name, &value);
        return AsText(value);
    }
    std::set<std::string> PageList()
    {
        std::set<std::string> names;
        const CPtrArray& list = dialog->Manager().PageParList();
        for (int i = 0; i < list.GetSize(); ++i)
            names.insert(static_cast<const DBPAR*>(list[i])->szID);
        return names;
    }

    ProgramFolder folder;
    OneFileBox files;
    RecordedBoxes boxes;
    std::unique_ptr<CTarveskonDlg> dialog;
};

TEST_F(PagerFromMainWindowTest, TheStartPagesElementOpensItsPageShowingTheFile)
{
    OpenFromStartPage("Motor",
                      [&](CPagerDlg& pager)
                      {
                          EXPECT_EQ(pager.PageName().str(), "Motor");
                          EXPECT_EQ(pager.GetWindowText().str(), "Dati motore");
                          for (const char* name : {"Pr30", "Pr31", "Pr32", "Pr33", "Pr34", "Pr39"})
                              EXPECT_EQ(Shown(pager, name), FileValue(name)) << name;
                          EXPECT_NE(Shown(pager, "Pr33"), "");
                          EXPECT_EQ(PageList(), (std::set<std::string>{"Pr30", "Pr31", "Pr32", "Pr33", "Pr34",
                                                                       "Pr38", "Pr39"}));
                          // The page's scripts reach the program's automation object.
                          EXPECT_EQ(RunPageScript(pager, "window.external.ErrorCode = 7;"
                                                         "String(window.external.ErrorCode())"),
                                    "7");
                          LONG code = 0;
                          dialog->Manager().GetIntf()->get_ErrorCode(&code);
                          EXPECT_EQ(code, 7);
                      });
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

// The main window linked to drivesim, which journals every request it serves.
class PagerWritesFromMainWindowTest : public PagerFromMainWindowTest
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>("pagerwrites");
        ASSERT_EQ(chain->Error(), "");
        PagerFromMainWindowTest::SetUp();
        journal = folder.Path("journal");
        ASSERT_TRUE(chain->StartDrive({"--journal", journal})) << chain->Error();
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0).c_str());
        ASSERT_EQ(dialog->Manager().Connect(""), 0);
    }
    void TearDown() override
    {
        PagerFromMainWindowTest::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    // The addresses written since the journal had the size.
    std::vector<std::string> WrittenSince(std::uintmax_t size) const
    {
        std::vector<std::string> addresses;
        std::ifstream in(journal);
        in.seekg(static_cast<std::streamoff>(size));
        for (std::string kind, address, bits, value; in >> kind >> address >> bits >> value;)
            if (kind == "write")
                addresses.push_back(address);
        std::sort(addresses.begin(), addresses.end());
        return addresses;
    }
    // The value of the last write to the address in the journal.
    std::string LastWrite(const std::string& address) const
    {
        std::string last;
        std::ifstream in(journal);
        for (std::string kind, at, bits, value; in >> kind >> at >> bits >> value;)
            if (kind == "write" && at == address)
                last = value;
        return last;
    }

    std::unique_ptr<CDriveChain> chain;
    std::string journal;
};

TEST_F(PagerWritesFromMainWindowTest, WriteAllOnThePageWritesExactlyItsParameters)
{
    OpenFromStartPage("Motor",
                      [&](CPagerDlg& pager)
                      {
                          const std::uintmax_t before = std::filesystem::file_size(journal);
                          pager.Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("WriteAll"));
                          EXPECT_EQ(WrittenSince(before),
                                    (std::vector<std::string>{"30", "31", "32", "33", "34", "38", "39"}));
                          EXPECT_EQ(PageList().size(), 7u);
                      });
    const DBPAR* current = dialog->Manager().ParDb().GetPar("Pr33", true);
    ASSERT_NE(current, nullptr);
    const double scale = current->nScale ? current->nScale : 1;
    EXPECT_EQ(LastWrite("33"), std::to_string(std::lround(current->dblDefVal * scale + current->nOffs)))
        << "the file's value, scaled";
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

// Each sample drive's session in the main window, linked to drivesim with its type's parameters.
class PagerOnEachDriveTest : public PagerFromMainWindowTest, public testing::WithParamInterface<DriveSample>
{
protected:
    const DriveSample& Sample() const override { return GetParam(); }
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(std::string("pager") + GetParam().name);
        ASSERT_EQ(chain->Error(), "");
        PagerFromMainWindowTest::SetUp();
        journal = folder.Path("journal");
        control = folder.Path("control");
        ASSERT_TRUE(chain->StartDrive(
            {"--par", folder.Path(GetParam().parameters), "--control", control, "--journal", journal}))
            << chain->Error();
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0).c_str());
        ASSERT_EQ(dialog->Manager().Connect(""), 0);
    }
    void TearDown() override
    {
        PagerFromMainWindowTest::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    bool Journaled(const std::string& line) const
    {
        std::ifstream in(journal);
        for (std::string l; std::getline(in, l);)
            if (l == line)
                return true;
        return false;
    }

    std::unique_ptr<CDriveChain> chain;
    std::string journal;
    std::string control;
};

TEST_P(PagerOnEachDriveTest, TheMotorPageShowsPollsAndWritesItsParameters)
{
    OpenFromStartPage(
        "Motor",
        [&](CPagerDlg& pager)
        {
            EXPECT_EQ(pager.GetWindowText().str(), GetParam().motorCaption);
            for (const char* name : {"Pr31", "Pr33", "Pr34"})
                EXPECT_EQ(Shown(pager, name), FileValue(name)) << name;
            std::ofstream(control) << "set 34 900\n";
            EXPECT_TRUE(WaitUntil(
                [&] { return RunPageScript(pager, "document.getElementsByName('Pr34')[0].value") == "9"; },
                10000));
            RunPageScript(pager, "var f = document.getElementsByName('Pr33')[0]; f.focus(); f.select(); ''");
            QWidget* keys = pager.Page().Browser()->View()->focusProxy();
            QTest::keyClicks(keys, "4.5");
            QTest::keyClick(keys, Qt::Key_Return);
            EXPECT_TRUE(WaitUntil([&] { return Journaled("write 33 16 450"); }, 10000));
            EXPECT_EQ(FileValue("Pr33"), "4.5");
        });
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

INSTANTIATE_TEST_SUITE_P(SampleDrives, PagerOnEachDriveTest,
                         testing::Values(kTK20,
                                         DriveSample{"TK40", "Samples/TK40.dat", "TKSERIES/TKSERIES.htm",
                                                     "TKSERIES/TK40.par", "Dati motore TK40"},
                                         DriveSample{"TK40S", "Samples/TK40S.dat", "TKSERIES/TKSERIES.htm",
                                                     "TKSERIES/TK40.par", "Dati motore"}),
                         [](const testing::TestParamInfo<DriveSample>& sample)
                         { return std::string(sample.param.name); });

} // namespace
