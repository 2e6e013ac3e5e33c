// The pager opened from the main program's wizard start page, as an engineer opens it.
#include "PageClick.h"
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
#include <QWebEngineView>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

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
        if (questionAnswer && (type & 0xF) == MB_YESNO)
            return questionAnswer;
        return DefaultMessageBoxAnswer(type);
    }
    std::vector<std::string> texts;
    int questionAnswer = 0; // 0: the default button
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
                       !dialog->MainPageWnd().GetBusy() &&
                       // the program has taken the page and filled it
                       dialog->MainPageWnd().GetReadyState() == 4;
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
                                   });
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
        const std::vector<std::string> list = dialog->Manager().PageParList();
        return {list.begin(), list.end()};
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

// A page's script asking for a new or another file while its pager runs: the main window keeps
// the pager's module (its modal loop runs that module's code) and says why; once the pager has
// closed, a new file lets the module go.
TEST_F(PagerFromMainWindowTest, NewOrOpenFileFromAPagerPageWaitsUntilThePagerHasClosed)
{
    CString refusal;
    dialog->Manager().GetString(2143, refusal);
    const std::string file = std::string(dialog->Manager().GetFileName());
    const size_t loaders = dialog->LoaderProxy().GetLoaderCount(); // the help's
    OpenFromStartPage("Motor",
                      [&](CPagerDlg& pager)
                      {
                          EXPECT_EQ(RunPageScript(pager, "window.external.NewFile(); 'asked'"), "asked");
                          EXPECT_TRUE(WaitUntil([&] { return boxes.texts.size() == 1; }));
                          EXPECT_EQ(RunPageScript(pager, "window.external.OpenFile(''); 'asked'"), "asked");
                          EXPECT_TRUE(WaitUntil([&] { return boxes.texts.size() == 2; }));
                          EXPECT_EQ(dialog->LoaderProxy().GetLoaderCount(), loaders + 1) << "the pager's";
                          EXPECT_EQ(std::string(dialog->Manager().GetFileName()), file);
                          EXPECT_EQ(RunPageScript(pager, "document.title"), pager.GetWindowText().str())
                              << "the page still answers";
                      });
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{refusal.str(), refusal.str()}));
    EXPECT_EQ(std::string(dialog->Manager().GetFileName()), file);
    dialog->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    EXPECT_EQ(dialog->LoaderProxy().GetLoaderCount(), loaders) << "the help's again";
    EXPECT_EQ(boxes.texts.size(), 2u);
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
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
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

// What a field of the live page shows.
std::string PageValue(CPagerDlg& pager, const char* name)
{
    return RunPageScript(pager, QString("document.getElementsByName('%1')[0].value").arg(name));
}

// The engineer types into a field of the live page and, once the field shows it, presses Return.
void TypeAndEnter(CPagerDlg& pager, const char* name, const char* text)
{
    RunPageScript(
        pager, QString("var f = document.getElementsByName('%1')[0]; f.focus(); f.select(); ''").arg(name));
    QWidget* keys = pager.Page().Browser()->View()->focusProxy();
    QTest::keyClicks(keys, text);
    EXPECT_TRUE(WaitUntil([&] { return PageValue(pager, name) == text; }, 10000)) << name;
    QTest::keyClick(keys, Qt::Key_Return);
}

// One Enter, one write, and a refused value told once and replaced by the file's. Once the program
// has acted on an Enter, an entry in another field follows: the page's events reach the program in
// their order, so once drivesim has served the second, anything the first Enter still had on its
// way has come too.
TEST_F(PagerWritesFromMainWindowTest, OneEnterWritesOnceAndARefusalIsToldOnce)
{
    const auto writes = [&](const std::string& line)
    {
        std::ifstream in(journal);
        int count = 0;
        for (std::string l; std::getline(in, l);)
            count += l == line ? 1 : 0;
        return count;
    };
    CString limits;
    dialog->Manager().GetString(2048, limits);
    CString notANumber;
    dialog->Manager().GetString(2150, notANumber);
    OpenFromStartPage("Loops",
                      [&](CPagerDlg& pager)
                      {
                          TypeAndEnter(pager, "Pr65", "123");
                          ASSERT_TRUE(WaitUntil([&] { return writes("write 65 16 123") > 0; }, 30000));
                          TypeAndEnter(pager, "Pr66", "124");
                          ASSERT_TRUE(WaitUntil([&] { return writes("write 66 16 124") > 0; }, 30000));
                          EXPECT_EQ(writes("write 65 16 123"), 1);
                          EXPECT_EQ(writes("write 66 16 124"), 1);
                          EXPECT_EQ(FileValue("Pr65"), "123");

                          TypeAndEnter(pager, "Pr65", "99999"); // beyond its 10000 ms
                          ASSERT_TRUE(WaitUntil([&] { return !boxes.texts.empty(); }, 30000));
                          TypeAndEnter(pager, "Pr66", "125");
                          ASSERT_TRUE(WaitUntil([&] { return writes("write 66 16 125") > 0; }, 30000));
                          ASSERT_EQ(boxes.texts.size(), 1u);
                          EXPECT_EQ(boxes.texts[0].rfind(limits.str(), 0), 0u) << boxes.texts[0];
                          EXPECT_TRUE(WaitUntil([&] { return PageValue(pager, "Pr65") == "123"; }, 10000))
                              << PageValue(pager, "Pr65") << ": the file's value, not the refused one";
                          EXPECT_EQ(FileValue("Pr65"), "123");

                          // Letters are no number, and are told so.
                          boxes.texts.clear();
                          TypeAndEnter(pager, "Pr65", "abc");
                          ASSERT_TRUE(WaitUntil([&] { return !boxes.texts.empty(); }, 30000));
                          TypeAndEnter(pager, "Pr66", "126");
                          ASSERT_TRUE(WaitUntil([&] { return writes("write 66 16 126") > 0; }, 30000));
                          EXPECT_EQ(boxes.texts, std::vector<std::string>{notANumber.str()});
                          EXPECT_TRUE(WaitUntil([&] { return PageValue(pager, "Pr65") == "123"; }, 10000))
                              << PageValue(pager, "Pr65");
                      });
    // In Italian 4.5 A is written 4,5.
    boxes.texts.clear();
    OpenFromStartPage("Motor",
                      [&](CPagerDlg& pager)
                      {
                          TypeAndEnter(pager, "Pr33", "4,5");
                          EXPECT_TRUE(WaitUntil([&] { return writes("write 33 16 450") > 0; }, 30000));
                          EXPECT_EQ(FileValue("Pr33"), "4.5");
                      });
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
    EXPECT_EQ(writes("write 33 16 450"), 1);
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
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
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
    // The reads of the addresses the drive served between the journal's two sizes.
    size_t ReadsSince(std::uintmax_t from, std::uintmax_t to, const std::set<std::string>& addresses) const
    {
        std::ifstream in(journal);
        in.seekg(static_cast<std::streamoff>(from));
        size_t reads = 0;
        for (std::string kind, address, bits, value;
             static_cast<std::uintmax_t>(in.tellg()) < to && in >> kind >> address >> bits >> value;)
            reads += kind == "read" && addresses.count(address) ? 1 : 0;
        return reads;
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
            ASSERT_TRUE(SendDriveControl(control, "set 34 900\n"));
            EXPECT_TRUE(WaitUntil(
                [&] { return RunPageScript(pager, "document.getElementsByName('Pr34')[0].value") == "9"; }));
            RunPageScript(pager, "var f = document.getElementsByName('Pr33')[0]; f.focus(); f.select(); ''");
            QWidget* keys = pager.Page().Browser()->View()->focusProxy();
            QTest::keyClicks(keys, "4.5");
            QTest::keyClick(keys, Qt::Key_Return);
            EXPECT_TRUE(WaitUntil([&] { return Journaled("write 33 16 450"); }));
            EXPECT_EQ(FileValue("Pr33"), "4.5");
        });
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

// Every page the start page links to, on line: each field naming a 16-bit word shows what the drive
// holds and follows a change within the page's period (and the time one round of reads takes).
TEST_P(PagerOnEachDriveTest, EveryPageShowsTheDriveAndFollowsItAtItsPeriod)
{
    std::ifstream file(folder.Path(Sample().startPage));
    const std::string start((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> pages;
    for (size_t at = start.find("PLUGIN#TvskPager_"); at != std::string::npos;
         at = start.find("PLUGIN#TvskPager_", at + 1))
        pages.push_back(start.substr(at + 17, start.find('"', at) - at - 17));
    ASSERT_GE(pages.size(), 6u);
    for (const std::string& page : pages)
        OpenFromStartPage(
            page,
            [&](CPagerDlg& pager)
            {
                // Copies: an operating mode read anew rebuilds the parameter table.
                std::vector<DBPAR> words;
                std::string mismatch;
                std::istringstream names(
                    RunPageScript(pager, "Array.from(document.querySelectorAll('input[type=text],pre'))"
                                         ".map(e=>e.name||e.id).join('\\n')"));
                int fields = 0;
                for (std::string name; std::getline(names, name); ++fields)
                    if (const DBPAR* par = dialog->Manager().ParDb().GetPar(name.c_str(), true);
                        par && par->nBitDim == 16 && name.find_first_of(".:") == std::string::npos &&
                        !dialog->Manager().ParDb().IsOpModePar(par->szID))
                        words.push_back(*par);
                if (words.empty())
                    return;
                // The drive's words move to a value of the range: low, then high.
                const auto shownAll = [&](double share)
                {
                    for (const DBPAR& par : words)
                    {
                        const double scale = par.nScale ? par.nScale : 1;
                        const long raw =
                            std::lround((par.dblMin + (par.dblMax - par.dblMin) * share) * scale);
                        const std::string shown = Shown(pager, par.szID);
                        if (shown.empty() || std::fabs(std::stod(shown) - raw / scale) > 1e-6)
                        {
                            mismatch = std::string(par.szID) + " shows '" + shown + "', the drive " +
                                       std::to_string(raw / scale);
                            return false;
                        }
                    }
                    return true;
                };
                const auto move = [&](double share)
                {
                    std::ostringstream commands;
                    for (const DBPAR& par : words)
                    {
                        const double scale = par.nScale ? par.nScale : 1;
                        const long raw =
                            std::lround((par.dblMin + (par.dblMax - par.dblMin) * share) * scale);
                        commands << "set " << par.nAddr << " " << ((raw + par.nOffs) & 0xFFFF) << "\n";
                    }
                    EXPECT_TRUE(SendDriveControl(control, commands.str()));
                };
                move(0.25);
                EXPECT_TRUE(WaitUntil([&] { return shownAll(0.25); })) << page << ": " << mismatch;
                const std::uintmax_t before = std::filesystem::file_size(journal);
                move(0.75);
                std::uintmax_t shownAt = 0;
                EXPECT_TRUE(WaitUntil(
                    [&]
                    {
                        shownAt = std::filesystem::file_size(journal);
                        return shownAll(0.75);
                    }))
                    << page << ": " << mismatch;
                // One control is read a period: a change shows within one round of the page's
                // fields, counted in the drive's reads, whatever the machine's speed (a round that
                // began before the drive took the change, then one round).
                std::set<std::string> addresses;
                for (const DBPAR& par : words)
                    addresses.insert(std::to_string(par.nAddr));
                EXPECT_LE(ReadsSince(before, shownAt, addresses), 2 * words.size() + 2)
                    << page << ": " << fields << " fields, " << words.size() << " of them words";
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

const DriveSample kTK40 = {"TK40", "Samples/TK40.dat", "TKSERIES/TKSERIES.htm", "TKSERIES/TK40.par",
                           "Dati motore TK40"};
const DriveSample kTK40Cam = {"TK40Cam", "Samples/TK40Cam.dat", "TKSERIES/TKSERIES.htm", "TKSERIES/TK40.par",
                              "Dati motore TK40"};

// The modal pager other than the one given.
CPagerDlg* ModalPager(const CPagerDlg* other = nullptr)
{
    auto* pager = dynamic_cast<CPagerDlg*>(CWnd::FromWidget(QApplication::activeModalWidget()));
    return pager != other ? pager : nullptr;
}

// The visible top-level window whose title holds the text.
QWidget* WindowTitled(const QString& title)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle().contains(title))
            return widget;
    return nullptr;
}

// The main window on a sample, its pages clicked with the mouse.
class PageClickTest : public PagerFromMainWindowTest
{
protected:
    const DriveSample& Sample() const override { return kTK40Cam; }
    // The main page's sink hands its clicks to the program's main window.
    void SetUp() override
    {
        PagerFromMainWindowTest::SetUp();
        AfxGetApp()->m_pMainWnd = dialog.get();
        // The oscilloscope and the cam editor draw with the graph control.
        static void* const graph = ::dlopen(TVSK_BIN_DIR "/ZoGraph4.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(graph, nullptr) << ::dlerror();
        const auto registerServer = reinterpret_cast<HRESULT (*)()>(::dlsym(graph, "DllRegisterServer"));
        ASSERT_TRUE(registerServer && SUCCEEDED(registerServer()));
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        PagerFromMainWindowTest::TearDown();
    }
    QWebEngineView* MainView() { return dialog->MainPageWnd().Browser()->View(); }
    static QString PluginButton(const std::string& name)
    {
        return QString::fromStdString("input[name=\"PLUGIN#" + name + "\"]");
    }
    // Every field of the live page that names a parameter (text, select, checked radio, check box)
    // shows the file's value.
    bool ShowsTheFile(CPagerDlg& pager)
    {
        const std::string fields = RunPageScript(
            pager,
            "Array.from(document.querySelectorAll('input[type=text],select,input[type=radio]:checked,"
            "input[type=checkbox]')).map(e=>e.name+'='+(e.type=='checkbox'?(e.checked?'on':'off'):e.value))"
            ".join('\\n')");
        std::istringstream lines(fields);
        int shown = 0;
        for (std::string line; std::getline(lines, line);)
        {
            const size_t equals = line.find('=');
            const std::string name = line.substr(0, equals);
            if (equals == std::string::npos || !dialog->Manager().ExistPar(name.c_str()))
                continue;
            const std::string value = line.substr(equals + 1);
            const std::string file = FileValue(name.c_str());
            const bool same = value == "on" || value == "off"
                                  ? (value == "on") == (std::stod(file) != 0)
                                  : !value.empty() && std::stod(value) == std::stod(file);
            if (!same)
            {
                mismatch = line + " (file " + file + ")";
                return false;
            }
            ++shown;
        }
        mismatch = shown > 0 ? "" : "no field";
        return shown > 0;
    }
    std::string mismatch;
};

TEST_F(PageClickTest, APagerClickedOnTheMainPageShowsTheFileAndSoDoesOneClickedOnItsPage)
{
    // After the click the page is bound and shows the file; a page left blank is closed. (How
    // soon is the pager benchmark's figure.)
    const auto showsTheFileSoon = [&](CPagerDlg& pager)
    {
        const bool shown =
            WaitUntil([&] { return pager.Page().Binding().IsAttached() && ShowsTheFile(pager); });
        EXPECT_TRUE(shown) << pager.PageName().str() << " stays blank after the click: " << mismatch;
        if (!shown)
            pager.EndDialog(IDCANCEL);
        return shown;
    };
    bool outer = false;
    bool nested = false;
    WhileModal watch(
        [&]
        {
            CPagerDlg* pager = ModalPager();
            if (!pager)
                return false;
            outer = true;
            if (!showsTheFileSoon(*pager))
                return true;
            EXPECT_EQ(pager->PageName().str(), "Config");
            WhileModal watchNested(
                [&]
                {
                    CPagerDlg* inner = ModalPager(pager);
                    if (!inner)
                        return false;
                    nested = true;
                    EXPECT_EQ(inner->PageName().str(), "Motor");
                    if (showsTheFileSoon(*inner))
                        inner->Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Cancel"));
                    return true;
                });
            EXPECT_TRUE(ClickPageElement(pager->Page().Browser()->View(), PluginButton("TvskPager_Motor")));
            EXPECT_TRUE(WaitUntil([&] { return nested && !ModalPager(pager); }));
            pager->Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Cancel"));
            return true;
        });
    ASSERT_TRUE(ClickPageElement(MainView(), PluginButton("TvskPager_Config")));
    EXPECT_TRUE(WaitUntil([&] { return outer && !ModalPager(); }));
    EXPECT_TRUE(nested);
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

TEST_F(PageClickTest, ToolPlugInsOpenFromTheirPageButtons)
{
    // Each window shows, is closed, and the page that opened it answers clicks again.
    const auto opens = [&](QWebEngineView* view, const std::string& module, const QString& title)
    {
        bool seen = false;
        WhileModal watch(
            [&]
            {
                QWidget* window = WindowTitled(title);
                if (!window)
                    return false;
                seen = true;
                window->close();
                return true;
            });
        EXPECT_TRUE(ClickPageElement(view, PluginButton(module))) << module;
        EXPECT_TRUE(WaitUntil([&] { return seen && !WindowTitled(title); }))
            << module << (boxes.texts.empty() ? "" : ": " + boxes.texts.back());
    };
    opens(MainView(), "TvskOsc", "Oscilloscopio");
    opens(MainView(), "TvskLumoPlc", "Lumo Plc");
    bool camEditor = false;
    WhileModal watch(
        [&]
        {
            CPagerDlg* pager = ModalPager();
            if (!pager || !pager->Page().Binding().IsAttached())
                return false;
            opens(pager->Page().Browser()->View(), "TvskCamEditor", "camm");
            camEditor = true;
            pager->Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Cancel"));
            return true;
        });
    ASSERT_TRUE(ClickPageElement(MainView(), PluginButton("TvskPager_Positioner")));
    EXPECT_TRUE(WaitUntil([&] { return camEditor; }));
    boxes.questionAnswer = IDYES; // the download window takes the link for itself
    opens(MainView(), "TvskDownload", "Download");
}

// The wizard page's own buttons on TK40, linked to drivesim with a control channel.
class WizardPageTransfersTest : public PagerFromMainWindowTest
{
protected:
    const DriveSample& Sample() const override { return kTK40; }
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>("wizardpage");
        ASSERT_EQ(chain->Error(), "");
        PagerFromMainWindowTest::SetUp();
        journal = folder.Path("journal");
        control = folder.Path("control");
        ASSERT_TRUE(chain->StartDrive(
            {"--par", folder.Path(Sample().parameters), "--control", control, "--journal", journal}))
            << chain->Error();
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
        ASSERT_EQ(dialog->Manager().Connect(""), 0);
        boxes.questionAnswer = IDNO; // the drive type's script offers to store what was written
    }
    void TearDown() override
    {
        PagerFromMainWindowTest::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    // The addresses the drive served of the kind since the journal had the size, sorted.
    std::vector<std::string> ServedSince(const char* what, std::uintmax_t size) const
    {
        std::vector<std::string> addresses;
        std::ifstream in(journal);
        in.seekg(static_cast<std::streamoff>(size));
        for (std::string kind, address, bits, value; in >> kind >> address >> bits >> value;)
            if (kind == what && std::find(addresses.begin(), addresses.end(), address) == addresses.end())
                addresses.push_back(address);
        std::sort(addresses.begin(), addresses.end());
        return addresses;
    }
    std::vector<std::string> WrittenBy(const char* word)
    {
        const std::uintmax_t before = std::filesystem::file_size(journal);
        dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>(word));
        return ServedSince("write", before);
    }

    std::unique_ptr<CDriveChain> chain;
    std::string journal;
    std::string control;
    const std::vector<std::string> mainPage{"1", "30", "32", "33", "34"};
};

TEST_F(WizardPageTransfersTest, WriteAllWritesThePageItsButtonIsOn)
{
    EXPECT_EQ(WrittenBy("WriteAll"), mainPage) << "no page opened before";
    OpenFromStartPage("Comm", [](CPagerDlg&) {});
    EXPECT_EQ(WrittenBy("WriteAll"), mainPage) << "after the Comm page";
    OpenFromStartPage(
        "Comm",
        [&](CPagerDlg& pager)
        {
            OpenFromStartPage("Motor", [](CPagerDlg&) {});
            const std::uintmax_t before = std::filesystem::file_size(journal);
            pager.Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("WriteAll"));
            EXPECT_EQ(ServedSince("write", before), (std::vector<std::string>{"90", "91", "92"}))
                << "a pager after a page opened over it";
        });
}

TEST_F(WizardPageTransfersTest, ReadAllReadsThePageItsButtonIsOnAndShowsTheDrive)
{
    OpenFromStartPage("Comm", [](CPagerDlg&) {});
    ASSERT_TRUE(SendDriveControl(control, "set 32 4321\n"));
    const std::uintmax_t before = std::filesystem::file_size(journal);
    dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("ReadAll"));
    const std::vector<std::string> read = ServedSince("read", before);
    for (const std::string& address : mainPage)
        EXPECT_TRUE(std::count(read.begin(), read.end(), address)) << address;
    EXPECT_FALSE(std::count(read.begin(), read.end(), "91")) << "the Comm page's parameters";
    EXPECT_EQ(FileValue("Pr32"), "4321");
    BSTR key = tvsk::com::BstrFromUtf8("Pr32");
    VARIANT shown;
    VariantInit(&shown);
    dialog->MainPageWnd().DataManager().Get()->get_ControlValue(key, &shown);
    SysFreeString(key);
    EXPECT_EQ(AsText(shown), "4321");
}

} // namespace
