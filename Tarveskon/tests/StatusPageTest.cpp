// The status page polling the simulated drive, and the main page's values and writes, through
// VrnSer, Lanyard, Porthaven and a pseudo-terminal.
#include "DialogFixture.h"

#include <protocol/SettingsString.h>
#include <protocol/tests/DriveChain.h>
#include <testing/TestApplication.h>

#include <filesystem>
#include <fstream>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

// A select and two fields added to the copy of the TK20 page.
constexpr const char* kExtraElements =
    "<select name=\"Pr31\" id=\"Pr31\"><option value=\"0\">0</option><option value=\"1\">1</option>"
    "<option value=\"7\">7</option></select>"
    "<input type=\"text\" name=\"Pr30\" id=\"Pr30T\" title=\"poles\">";

class StatusPageTest : public tvsk::testing::DialogFixture
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        ASSERT_TRUE(chain->StartDrive(DriveOptions())) << chain->Error();
        tvsk::testing::DialogFixture::SetUp();
    }
    void TearDown() override
    {
        tvsk::testing::DialogFixture::TearDown();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    virtual std::vector<std::string> DriveOptions() { return {}; }
    void BeforeDialog() override
    {
        folder.Replace("TK20/TK20_ITA.htm", "<table", std::string(kExtraElements) + "<table");
    }

    CHtmlDataManager& Status() { return dialog->StatusPageWnd().DataManager(); }
    CHtmlDataManager& Main() { return dialog->MainPageWnd().DataManager(); }
    void OpenConnected()
    {
        OpenSample("Samples/TK20.dat");
        ASSERT_TRUE(Shows(dialog->MainPageWnd(), "TK20/TK20_ITA.htm"));
        ASSERT_TRUE(WaitUntil([&] { return Main().ControlsNum() > 0; }));
        dialog->Manager().ParDb().SetCommSettings(ChainSettings(0).c_str());
        ASSERT_EQ(dialog->Manager().Connect(""), 0);
    }
    long DriveWord(int address)
    {
        double value = -1;
        dialog->Manager().ReadAddr(address, 0, 16, &value);
        return static_cast<long>(value);
    }

    std::unique_ptr<CDriveChain> chain;
};

TEST_F(StatusPageTest, DisconnectedThePollShowsNoStateEverySecond)
{
    ASSERT_TRUE(WaitUntil([&] { return dialog->StatusPageWnd().ArmedPeriod() == 1000; }));
    EXPECT_EQ(Picture(dialog->StatusPageWnd(), "imgAlarm"), "LinkOff.png");
    EXPECT_EQ(Value(Status(), "strAlarm"), "");
}

TEST_F(StatusPageTest, ConnectedThePollShowsAWorkingLinkAndComesBackSoon)
{
    OpenConnected();
    ASSERT_TRUE(WaitUntil([&] { return Value(Status(), "strAlarm") == "Comunicazione attiva"; }));
    EXPECT_EQ(Picture(dialog->StatusPageWnd(), "imgAlarm"), "LinkOk.png");
    EXPECT_EQ(dialog->StatusPageWnd().ArmedPeriod(), 321u);
    EXPECT_EQ(Value(Status(), "strCommConf"), dialog->Manager().GetConnectionDescription(nullptr).str());
    // Each field shows its text whole at the main window's first size.
    EXPECT_EQ(Script(dialog->StatusPageWnd(), "Array.from(document.querySelectorAll('input[type=text]'))"
                                              ".filter(e => e.scrollWidth > e.clientWidth)"
                                              ".map(e => e.name + ': ' + e.value).join('; ')")
                  .toStdString(),
              "");
}

TEST_F(StatusPageTest, TheMainPageShowsTheFilesValuesAndWritesASelectToTheDrive)
{
    OpenConnected();
    EXPECT_EQ(Value(Main(), "Pr33"), "2.6");
    EXPECT_EQ(Value(Main(), "Pr31"), "0");
    dialog->MainPageWnd().SelectChange("Pr31", 1);
    EXPECT_EQ(DriveWord(31), 1);
    EXPECT_DOUBLE_EQ(dialog->Manager().ParDb().GetPar("Pr31", true)->dblDefVal, 1.0);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(StatusPageTest, ARefusedSelectValueIsToldAndTheFilesValueShownAgain)
{
    OpenConnected();
    dialog->MainPageWnd().SelectChange("Pr31", 7);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Valore fuori dai limiti\nMin : 0 Max : 1");
    EXPECT_EQ(Value(Main(), "Pr31"), "0");
    EXPECT_EQ(DriveWord(31), 0) << "nothing written";
    dialog->MainPageWnd().SelectChange("Pr31", std::nullopt);
    EXPECT_EQ(boxes.texts.size(), 1u) << "an absent value writes nothing and says nothing";
}

TEST_F(StatusPageTest, ATitledElementShowsNoTipAnUntitledOneItsParameter)
{
    OpenConnected();
    CString description;
    dialog->Manager().GetParDescr("Pr33", description, false);
    ASSERT_FALSE(description.IsEmpty());
    EXPECT_EQ(dialog->MainPageWnd().DataTipText("Pr33").str(), "Pr33:" + description.str());
    EXPECT_EQ(dialog->MainPageWnd().DataTipText("Pr30").str(), "") << "the page's title wins";
    EXPECT_EQ(dialog->MainPageWnd().DataTipText("Nothing").str(), "");
}

TEST_F(StatusPageTest, LanguageOneReloadsTheStartPageInEnglish)
{
    dialog->SendMessage(WM_SELECT_LANGUAGE, 0, 1);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return Script(dialog->MainPageWnd(), "document.getElementsByName('CMD#NewFile')[0].value") ==
                   "New";
        }));
}

TEST_F(StatusPageTest, InExclusiveModeASelectShows2060AndWritesNothing)
{
    OpenConnected();
    dialog->Manager().SendCommand(17, 1, 0);
    dialog->MainPageWnd().SelectChange("Pr31", 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Impossibile eseguire l'operazione\nDownload in modalità esclusiva");
    EXPECT_EQ(DriveWord(31), 0);
}

TEST_F(StatusPageTest, OnTheMainPageTheWord12IsADriveCommand)
{
    OpenSample("Samples/TK20.dat");
    dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("12"));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Comando non disponibile");
}

// A drive that falls silent once connected, told so on its control pipe.
class SilentDriveStatusTest : public StatusPageTest
{
protected:
    std::vector<std::string> DriveOptions() override { return {"--control", Control()}; }
    std::string Control() const { return chainDir + "/control"; }
    void SetUp() override
    {
        char pattern[] = "/tmp/tvsk-status-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        chainDir = pattern;
        StatusPageTest::SetUp();
    }
    void TearDown() override
    {
        StatusPageTest::TearDown();
        std::filesystem::remove_all(chainDir);
    }

    std::string chainDir;
};

TEST_F(SilentDriveStatusTest, ABrokenLinkIsShownAndPolledEverySecond)
{
    OpenConnected();
    ASSERT_TRUE(WaitUntil([&] { return Value(Status(), "strAlarm") == "Comunicazione attiva"; }));
    ASSERT_TRUE(SendDriveControl(Control(), "fault silent\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(Status(), "strAlarm") == "Comunicazione interrotta"; }));
    EXPECT_EQ(Picture(dialog->StatusPageWnd(), "imgAlarm"), "LinkBroken.png");
    EXPECT_EQ(dialog->StatusPageWnd().ArmedPeriod(), 1000u);
}

TEST_F(SilentDriveStatusTest, ALineLostForASecondTakesTheProgramOffLineInEveryRespect)
{
    OpenConnected();
    ASSERT_TRUE(WaitUntil([&] { return Value(Status(), "strAlarm") == "Comunicazione attiva"; }, 5000));
    std::ofstream(Control()) << "fault silent\n" << std::flush;
    ASSERT_TRUE(WaitUntil([&] { return !dialog->Manager().IsConnected(); }, 20000));
    EXPECT_EQ(boxes.texts.back(),
              "Timeot di comunicazione con il drive.\nLa connessione con il drive viene interrotta.");
    EXPECT_TRUE(
        WaitUntil([&] { return Picture(dialog->StatusPageWnd(), "imgAlarm") == "LinkOff.png"; }, 5000));
    EXPECT_EQ(Value(Status(), "strAlarm"), "");
    EXPECT_EQ(Value(Status(), "strCommConf"), "");
}

} // namespace
