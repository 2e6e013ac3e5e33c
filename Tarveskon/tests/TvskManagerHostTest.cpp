#include "ManagerTestSupport.h"

#include <com/Variant.h>
#include <ui/UiDefs.h>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

class TvskManagerHostTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        manager.SetHostUi(&ui);
        manager.NewFile();
    }

    ProgramFolder folder;
    RecordingUi ui;
    CTvskManager manager{folder.Dir().c_str()};
};

TEST_F(TvskManagerHostTest, TheTitleShowsNameAndModifiedMark)
{
    EXPECT_EQ(ui.title, "Tarveskon - [ Senza nome ]");
    manager.SetModified(TRUE);
    EXPECT_EQ(ui.title, "Tarveskon - [ Senza nome*]");
    EXPECT_TRUE(manager.IsModified());
    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(ui.title, "Tarveskon - [ Untitled*]") << "the name of no file is a text of the language";
    manager.ChangeLanguage(0);
}

TEST_F(TvskManagerHostTest, AnUnmodifiedConfigurationClosesWithoutAsking)
{
    EXPECT_TRUE(manager.CanClose());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(TvskManagerHostTest, CloseGuardFollowsTheAnswer)
{
    manager.SetModified(TRUE);
    ui.answers = {IDCANCEL};
    EXPECT_FALSE(manager.CanClose());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Salvo la configurazione corrente ?");
    ui.answers = {IDNO};
    EXPECT_TRUE(manager.CanClose());
    ui.answers = {IDYES};
    EXPECT_FALSE(manager.CanClose()) << "no name chosen: the save is cancelled";
}

TEST_F(TvskManagerHostTest, YesWithAFailingSaveKeepsTheWindowOpen)
{
    manager.SetModified(TRUE);
    ui.savePath = folder.Path("Session.txt");
    ui.answers = {IDYES};
    EXPECT_FALSE(manager.CanClose());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Errore nel salvataggio della configurazione");
    ui.savePath = folder.Path("Session.dat");
    ui.answers = {IDYES};
    EXPECT_TRUE(manager.CanClose());
    EXPECT_TRUE(std::filesystem::exists(ui.savePath));
}

TEST_F(TvskManagerHostTest, BoxesGoToTheTopOfTheOwnerStack)
{
    CWnd* const first = reinterpret_cast<CWnd*>(0x1000);
    CWnd* const second = reinterpret_cast<CWnd*>(0x2000);
    manager.MessageBox(2054, MB_OK);
    manager.PushParentWnd(first);
    manager.PushParentWnd(second);
    manager.MessageBox(2054, MB_OK);
    manager.PopParentWnd();
    manager.MessageBox(2054, MB_OK);
    manager.PopParentWnd();
    manager.PopParentWnd();
    manager.MessageBox(2054, MB_OK);
    EXPECT_EQ(ui.owners, (std::vector<CWnd*>{nullptr, second, first, nullptr}));
    EXPECT_EQ(ui.boxes[0], "Comando non disponibile");
}

TEST_F(TvskManagerHostTest, TheLastErrorTextIsHandedOverOnce)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_FALSE(manager.AddTmpPar("12.16", "bit", 0, nullptr));
    CString text;
    EXPECT_TRUE(manager.GetLastErrorText(text));
    EXPECT_EQ(text.Left(34).str(), "Specifica di indirizzo non valida,");
    EXPECT_TRUE(manager.GetLastErrorText(text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(ui.boxes.empty()) << "no owner, no box";
}

TEST_F(TvskManagerHostTest, TemporaryParametersAndMonitorEntriesAreUnique)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_TRUE(manager.AddTmpPar("200", "Parola utente", 5, nullptr));
    EXPECT_FALSE(manager.AddTmpPar("200", "again", 6, nullptr));
    EXPECT_TRUE(ui.boxes.empty()) << "a second one of the same id is refused silently";
    CWnd* const owner = reinterpret_cast<CWnd*>(0x1000);
    EXPECT_FALSE(manager.AddTmpPar("33", "Pr33 again", 1, owner));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Indirizzo e dimensione di parametro già esistente");
    EXPECT_TRUE(manager.AddMonitorPar("Pr33"));
    EXPECT_FALSE(manager.AddMonitorPar("Pr33"));
    EXPECT_FALSE(manager.AddMonitorPar("Pr999"));
    EXPECT_EQ(manager.MonitorList().GetSize(), 1);
    EXPECT_TRUE(manager.IsModified());
}

TEST_F(TvskManagerHostTest, MonitorAndTemporaryParametersAreSavedOnlyWhenAsked)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    ASSERT_TRUE(manager.AddTmpPar("201.3", "Bit utente", 1, nullptr));
    ASSERT_TRUE(manager.AddMonitorPar("Pr4"));
    const std::string plain = folder.Path("Plain.dat");
    ASSERT_EQ(manager.SaveFile(plain.c_str()), 0);
    manager.SetSaveMonitor(TRUE);
    const std::string withMonitor = folder.Path("Monitor.dat");
    ASSERT_EQ(manager.SaveFile(withMonitor.c_str()), 0);

    CTvskManager reopened(folder.Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(plain.c_str()), 0);
    EXPECT_EQ(reopened.MonitorList().GetSize(), 0);
    EXPECT_EQ(reopened.TmpPars().GetSize(), 0);
    ASSERT_EQ(reopened.OpenFile(withMonitor.c_str()), 0);
    ASSERT_EQ(reopened.MonitorList().GetSize(), 1);
    EXPECT_STREQ(reopened.MonitorList()[0].szID, "Pr4");
    ASSERT_EQ(reopened.TmpPars().GetSize(), 1);
    EXPECT_STREQ(reopened.TmpPars()[0].szID, "201.3");
    EXPECT_STREQ(reopened.TmpPars()[0].szDescr, "Bit utente");
    EXPECT_FALSE(reopened.IsModified());
}

TEST(PluginIntfTest, AHostWithoutTheFeaturesAnswersNeutrally)
{
    class BareHost : public CPluginIntf
    {
    } host;
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(host.SetParValue("Pr33", value, TRUE), HOSTRES_NOTAVAIL);
    EXPECT_EQ(host.WritePar("Pr33", value), HOSTRES_NOTAVAIL);
    EXPECT_EQ(host.ReadPar("Pr33", &value), HOSTRES_OK);
    EXPECT_EQ(host.GetBaudRate(nullptr), -1);
    EXPECT_EQ(host.GetAlarm(), -1);
    EXPECT_EQ(host.GetTipHideDelay(), 1000);
    EXPECT_EQ(host.GetOscMinBaud().str(), "19200");
}

TEST_F(TvskManagerHostTest, DelayAndDefaultsOfTheHostInterface)
{
    EXPECT_EQ(manager.GetTipHideDelay(), 5000);
    CPluginIntf& host = manager;
    EXPECT_EQ(host.GetAlarm(), -1);
    EXPECT_EQ(host.GetMotorDb(), manager.GetMotorDb());
    EXPECT_EQ(host.GetCamStepsNr(), 257);
}

} // namespace

TEST_F(TvskManagerHostTest, AProgramThatDoesNotStartIsNamedWithTheReason)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    manager.SendCommand(13, reinterpret_cast<long>("no-such-program-here \"manual.htm\""), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Avvio del programma non riuscito\nno-such-program-here: programma non trovato");

    const std::filesystem::path plain = std::filesystem::path(folder.Dir()) / "not-a-program";
    std::ofstream(plain) << "text\n";
    manager.SendCommand(13, reinterpret_cast<long>(plain.c_str()), 0);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Avvio del programma non riuscito\n" + plain.string() + ": permesso negato");

    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(manager.StartProgram("no-such-program-here"), "no-such-program-here: program not found");
    EXPECT_EQ(manager.StartProgram("true"), "");
    manager.ChangeLanguage(0);
}
