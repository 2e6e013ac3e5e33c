#include "ManagerTestSupport.h"

#include <fstream>
#include <map>
#include <tuple>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

class TvskManagerFilesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        manager.SetHostUi(&ui);
    }
    DBPAR& Par(CTvskManager& m, const char* name)
    {
        DBPAR* par = m.ParDb().GetPar(name, true);
        EXPECT_NE(par, nullptr) << name;
        static DBPAR none{};
        return par ? *par : none;
    }

    ProgramFolder folder;
    RecordingUi ui;
    CTvskManager manager{folder.Dir().c_str()};
};

TEST_F(TvskManagerFilesTest, NewFileStartsFromTheDefaultSession)
{
    ASSERT_TRUE(manager.NewFile());
    EXPECT_TRUE(manager.DataDb().IsOpen());
    EXPECT_STREQ(manager.GetFileName(), "");
    EXPECT_STREQ(manager.DataDb().GetCommSettings(), "VrnSer:0,200#COM:1,9600,E,8,1");
    EXPECT_EQ(manager.DataDb().GetDriveImg().str(), "/Drives.jpg");
    EXPECT_FALSE(manager.IsModified());
    EXPECT_EQ(ui.title, "Tarveskon - [ Senza nome ]");
}

TEST_F(TvskManagerFilesTest, OpenFailuresAnswerTheirCodeAndText)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    EXPECT_EQ(manager.OpenFile(folder.Path("Samples/None.dat").c_str()), 1);
    EXPECT_EQ(manager.GetFileErrorText(1).Left(43).str(), "Errore nel caricamento della configurazione");
    EXPECT_STREQ(manager.GetFileName(), "") << "the previous file's path is gone with it";
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    folder.Remove("TK20/TK20.par");
    EXPECT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 4);
    EXPECT_EQ(manager.GetFileErrorText(4).Left(51).str(),
              "Errore nel caricamento del file parametri associato");
    EXPECT_STREQ(manager.GetFileName(), "");
}

TEST_F(TvskManagerFilesTest, AFileThatIsNoDataFileIsExplainedInTheLanguage)
{
    const std::string other = folder.Path("Drives.db");
    EXPECT_EQ(manager.OpenFile(other.c_str()), 1);
    const std::string italian = manager.GetFileErrorText(1).str();
    EXPECT_NE(italian.find("Info : riga di una sezione sconosciuta"), std::string::npos) << italian;
    EXPECT_NE(italian.find("File : " + other), std::string::npos) << italian;
    EXPECT_EQ(italian.find("unknown"), std::string::npos) << italian;

    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(manager.OpenFile(other.c_str()), 1);
    const std::string english = manager.GetFileErrorText(1).str();
    EXPECT_EQ(english.rfind("Error while loading the configuration\n", 0), 0u) << english;
    EXPECT_NE(english.find("Info : row of an unknown section"), std::string::npos) << english;
    manager.ChangeLanguage(0);
}

// Every failed open names the file it tried and why, whatever an earlier load left behind.
TEST_F(TvskManagerFilesTest, AFailedOpenNamesItsOwnFileAndWhyEveryTime)
{
    const std::string other = folder.Path("Drives.db");
    const std::string missing = folder.Path("Samples/None.dat");
    EXPECT_EQ(manager.OpenFile(other.c_str()), 1);
    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ(manager.OpenFile(missing.c_str()), 1);
        const std::string text = manager.GetFileErrorText(1).str();
        EXPECT_EQ(text, "Errore nel caricamento della configurazione\nIl file " + missing + " non esiste")
            << round;
    }
    EXPECT_EQ(manager.OpenFile(folder.Path("Samples").c_str()), 1);
    EXPECT_NE(manager.GetFileErrorText(1).str().find("è una cartella"), std::string::npos);

    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(manager.OpenFile(missing.c_str()), 1);
    EXPECT_EQ(manager.GetFileErrorText(1).str(),
              "Error while loading the configuration\nThe file " + missing + " does not exist");
    // A session whose drive type's parameter file is missing names that file.
    folder.Remove("TK20/TK20.par");
    EXPECT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 4);
    EXPECT_NE(manager.GetFileErrorText(4).str().find("The file " + folder.Path("TK20/TK20.par") +
                                                     " does not exist"),
              std::string::npos)
        << manager.GetFileErrorText(4).str();
    manager.ChangeLanguage(0);
}

TEST_F(TvskManagerFilesTest, AScriptWithoutTheScriptManagerAnswersFive)
{
    // No script components registered here: the manager for the TK40's script cannot be made.
    ProgramFolder withScript(ProgramFolder::SampleScript::Kept);
    CTvskManager scripted(withScript.Dir().c_str());
    scripted.SetHostUi(&ui);
    EXPECT_EQ(scripted.OpenFile(withScript.Path("Samples/TK40.dat").c_str()), 5);
    const std::string text = scripted.GetFileErrorText(5).str();
    EXPECT_EQ(text.rfind("Errore nel caricamento del file di VB script associato\n", 0), 0u) << text;
    EXPECT_NE(text.find("ZoScripter.ZoScriptMng.1"), std::string::npos) << text;
    EXPECT_TRUE(scripted.IsFileOpen()) << "the rest of the configuration is loaded";
    EXPECT_FALSE(scripted.CanFireEvents());
    EXPECT_EQ(scripted.LoadWizardData(false), 5);
}

TEST_F(TvskManagerFilesTest, OpenAppliesTheSessionAndChoosesItsDriveAndMotor)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_DOUBLE_EQ(Par(manager, "Pr33").dblDefVal, 2.6);
    EXPECT_DOUBLE_EQ(Par(manager, "Pr30").dblDefVal, 8);
    EXPECT_TRUE(manager.IsDriveChosen());
    EXPECT_TRUE(manager.IsMotorChosen());
    EXPECT_FALSE(manager.DataDb().GetDriveImg().IsEmpty()) << "the drives database's picture";
    EXPECT_EQ(manager.DataDb().GetMotorImg().str(), "MB.jpg") << "the motors database's picture";
    EXPECT_EQ(manager.GetFileName(), folder.Path("Samples/TK20.dat"));
    EXPECT_FALSE(manager.IsModified());
    EXPECT_EQ(ui.title, "Tarveskon - [ TK20.dat ]");
}

TEST_F(TvskManagerFilesTest, SavingToAnotherExtensionChangesNothing)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    manager.SetModified(TRUE);
    EXPECT_EQ(manager.SaveFile(folder.Path("Session.txt").c_str()), 2);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("Session.txt")));
    EXPECT_EQ(manager.GetFileName(), folder.Path("Samples/TK20.dat"));
    EXPECT_TRUE(manager.IsModified());
    EXPECT_TRUE(ui.recent.empty());
}

TEST_F(TvskManagerFilesTest, ADataFileRoundTripKeepsValuesPlcAndSessionVariables)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    Par(manager, "Pr33").dblDefVal = 3.15;
    Par(manager, "Pr36").dblDefVal = 22.5;
    manager.ParDb().ResetParPlc();
    DBPLC* first = manager.ParDb().AllocatePlcInstr(0);
    *first = DBPLC{"LD", {75, 1, -1}};
    *manager.ParDb().AllocatePlcInstr(1) = DBPLC{"END", {-1, -1, -1}};
    DBSESSVAR* var = manager.ParDb().GetSessionVar("NomeAsse", nullptr);
    ASSERT_NE(var, nullptr);
    std::strcpy(var->szValue, "Asse X");
    const std::string saved = folder.Path("Saved.dat");
    ASSERT_EQ(manager.SaveFile(saved.c_str()), 0);
    EXPECT_EQ(ui.recent, std::vector<std::string>{saved});

    CTvskManager reopened(folder.Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    EXPECT_DOUBLE_EQ(Par(reopened, "Pr33").dblDefVal, 3.15);
    EXPECT_DOUBLE_EQ(Par(reopened, "Pr36").dblDefVal, 22.5);
    ASSERT_EQ(reopened.ParDb().GetInstrNum(), 2);
    EXPECT_STREQ(reopened.ParDb().GetPlcInstr(0)->szIstr, "LD");
    EXPECT_EQ(reopened.ParDb().GetPlcInstr(0)->iOperands[1], 1);
    DBSESSVAR* reread = reopened.ParDb().GetSessionVar("NomeAsse", nullptr);
    ASSERT_NE(reread, nullptr);
    EXPECT_STREQ(reread->szValue, "Asse X");
}

TEST_F(TvskManagerFilesTest, CamsOfAFamilyDriveSurviveTheRoundTrip)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    ASSERT_EQ(manager.ParDb().GetCamWorkNum(), 10);
    manager.ParDb().SetCamData(2, 777.5, 1, 0);
    manager.ParDb().SetCamData(3, 12.0, 0, 1);
    const std::string saved = folder.Path("Cams.dat");
    ASSERT_EQ(manager.SaveFile(saved.c_str()), 0);

    CTvskManager reopened(folder.Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    ASSERT_EQ(reopened.ParDb().GetCamWorkNum(), 11);
    double value = 0;
    int interp = 0;
    ASSERT_TRUE(reopened.DataDb().GetCammaData(2, value, interp, 0));
    EXPECT_DOUBLE_EQ(value, 777.5);
    ASSERT_TRUE(reopened.DataDb().GetCammaData(3, value, interp, 1));
    EXPECT_DOUBLE_EQ(value, 12.0);
    ASSERT_TRUE(reopened.DataDb().GetCammaData(128, value, interp, 1));
    EXPECT_DOUBLE_EQ(value, -200.0);
    EXPECT_DOUBLE_EQ(Par(reopened, "Pr1").dblDefVal, 2) << "the operating mode is applied first";
}

// Every reader and writer of cam points, the host's calls included, shares the saved store.
TEST_F(TvskManagerFilesTest, CamPointsSetThroughTheHostAreSavedAndReopened)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    ASSERT_TRUE(manager.SetCamData(2, 777.5, 1, TRUE, 0));
    ASSERT_TRUE(manager.SetCamData(5, -12.25, 2, TRUE, 3));
    EXPECT_TRUE(manager.SetCamData(6, 99, 0, FALSE, 3)) << "an undefined point is not kept";
    EXPECT_TRUE(manager.IsModified());
    const std::string saved = folder.Path("Cams.dat");
    ASSERT_EQ(manager.SaveFile(saved.c_str()), 0);
    const auto point = [](CTvskManager& m, int index, int cam)
    {
        double value = -1;
        int interp = -1;
        int valid = -1;
        m.GetCamData(index, &value, &interp, &valid, cam);
        return std::tuple{value, interp, valid};
    };
    EXPECT_EQ(point(manager, 2, 0), std::tuple(777.5, 1, 1)) << "after the save";

    CTvskManager reopened(folder.Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    EXPECT_EQ(point(reopened, 2, 0), std::tuple(777.5, 1, 1));
    EXPECT_EQ(point(reopened, 5, 3), std::tuple(-12.25, 2, 1));
    EXPECT_EQ(point(reopened, 6, 3), std::tuple(0.0, 0, 0));
    EXPECT_EQ(std::get<0>(point(reopened, 128, 1)), -200.0) << "the file's own points stay";
}

TEST_F(TvskManagerFilesTest, CamPointsOfAnImportedListingAreTheConfigurationsCams)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    ASSERT_TRUE(manager.SetCamData(4, 321, 1, TRUE, 1));
    const std::string listing = folder.Path("Cams.slv");
    ASSERT_EQ(manager.SaveFile(listing.c_str()), 0);

    CTvskManager importer(folder.Dir().c_str());
    ASSERT_EQ(importer.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    ASSERT_EQ(importer.ImportSlv(listing.c_str()), 0);
    importer.ApplySlv();
    double value = 0;
    int interp = 0;
    int valid = 0;
    importer.GetCamData(4, &value, &interp, &valid, 1);
    EXPECT_EQ(std::tuple(value, interp, valid), std::tuple(321.0, 1, 1));
    importer.GetCamData(128, &value, &interp, &valid, 1);
    EXPECT_EQ(std::tuple(value, valid), std::tuple(-200.0, 1));
    const std::string saved = folder.Path("Imported.dat");
    ASSERT_EQ(importer.SaveFile(saved.c_str()), 0);
    CTvskManager reopened(folder.Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    reopened.GetCamData(4, &value, &interp, &valid, 1);
    EXPECT_EQ(std::tuple(value, valid), std::tuple(321.0, 1));
}

TEST_F(TvskManagerFilesTest, AListingWrittenAndImportedGivesTheSameValues)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    Par(manager, "Pr33").dblDefVal = 4.25;
    Par(manager, "Pr30").dblDefVal = 12;
    const std::string listing = folder.Path("Saved.slv");
    ASSERT_EQ(manager.SaveFile(listing.c_str()), 0);
    EXPECT_TRUE(ui.recent.empty()) << "listings are not recent files";

    CTvskManager importer(folder.Dir().c_str());
    ASSERT_EQ(importer.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    ASSERT_EQ(importer.ImportSlv(listing.c_str()), 0);
    importer.ApplySlv();
    EXPECT_DOUBLE_EQ(Par(importer, "Pr33").dblDefVal, 4.25);
    EXPECT_DOUBLE_EQ(Par(importer, "Pr30").dblDefVal, 12);
    EXPECT_DOUBLE_EQ(Par(importer, "Pr32").dblDefVal, 4500);
    EXPECT_EQ(importer.DataDb().GetValNums(), 0) << "the session's values give way to the listing";
}

TEST_F(TvskManagerFilesTest, AFailedImportGivesTheListingReadersReason)
{
    const std::string missing = folder.Path("Samples/Missing.slv");
    EXPECT_EQ(manager.ImportSlv(missing.c_str()), 1);
    const std::string text = manager.GetImportErrorText().str();
    EXPECT_EQ(text.substr(0, 43), "Errore nel caricamento della configurazione");
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
}

TEST_F(TvskManagerFilesTest, AListedValueForAParameterWithScaleZeroIsReportedAndKept)
{
    folder.Replace("TK20/TK20.par", "Pr35\t-1\trw\t6.4\t16\t100", "Pr35\t-1\trw\t6.4\t16\t0");
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    const std::string listing = folder.Path("Scale.slv");
    ASSERT_EQ(manager.SaveFile(listing.c_str()), 0);
    ASSERT_EQ(manager.ImportSlv(listing.c_str()), 0);
    testing::internal::CaptureStderr();
    manager.ApplySlv();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("ProgramError"), std::string::npos);
    EXPECT_DOUBLE_EQ(Par(manager, "Pr35").dblDefVal, 6.4);
    EXPECT_DOUBLE_EQ(Par(manager, "Pr33").dblDefVal, 2.6);
}

TEST_F(TvskManagerFilesTest, VersionsInstalledAndInUse)
{
    EXPECT_EQ(manager.GetReleaseVersion(6).str(), "2.4");
    EXPECT_EQ(manager.GetReleaseVersion(4).str(), "1.2.0");
    EXPECT_EQ(manager.GetReleaseVersion(9).str(), "n/a");
    EXPECT_EQ(manager.GetReleaseVersion(2).str(), "n/a") << "no file open";
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_EQ(manager.GetReleaseVersion(2).str(), "1.0.0");
    EXPECT_EQ(manager.GetVersionString(2).str(), "1.0.0");
    EXPECT_EQ(manager.GetVersionString(4).str(), "1.2.0");
    EXPECT_EQ(manager.GetVersionString(3).str(), "1.1.0");
    EXPECT_EQ(manager.GetVersionString(7).str(), "n/a");
    EXPECT_FALSE(manager.GetVersionString(1).IsEmpty());
}

TEST_F(TvskManagerFilesTest, AMissingVersionsFileGivesNotAvailable)
{
    folder.Remove("Versions.txt");
    CTvskManager bare(folder.Dir().c_str());
    EXPECT_EQ(bare.GetReleaseVersion(6).str(), "n/a");
}

} // namespace

TEST_F(TvskManagerFilesTest, EverySampleHasAnEnglishTwinThatKeepsEnglish)
{
    for (const char* name : {"TK20.dat", "TK40.dat", "TK40Cam.dat", "TK40S.dat"})
    {
        ASSERT_TRUE(manager.ChangeLanguage(1));
        ASSERT_EQ(manager.OpenFile(folder.Path(std::string("Samples/ENG/") + name).c_str()), 0) << name;
        EXPECT_EQ(manager.GetLanguageName().str(), "ENG") << name;
        EXPECT_EQ(ui.title, std::string("Tarveskon - [ ") + name + " ]");
        // The PLC program's comment rows are in the session's language.
        const std::map<std::string, std::string> comments = {
            {"PLC\t\"COMM:avvio\"", "PLC\t\"COMM:start\""},
            {"PLC\t\"COMM:pronto\"", "PLC\t\"COMM:ready\""},
            {"PLC\t\"COMM:registri\"", "PLC\t\"COMM:registers\""}};
        const auto settings = [&](const std::string& path, bool commentsInEnglish)
        {
            std::ifstream in(folder.Path(path));
            std::string rows;
            for (std::string line; std::getline(in, line);)
            {
                if (line.rfind("LANG\t", 0) == 0 || line.rfind("SVAR\t", 0) == 0)
                    continue;
                if (commentsInEnglish && line.rfind("PLC\t\"COMM:", 0) == 0)
                    if (const auto said = comments.find(line.substr(0, line.find('"', 10) + 1));
                        said != comments.end())
                        line.replace(0, said->first.size(), said->second);
                rows += line + "\n";
            }
            return rows;
        };
        EXPECT_EQ(settings(std::string("Samples/ENG/") + name, false),
                  settings(std::string("Samples/") + name, true))
            << name << ": the same configuration";
        ASSERT_EQ(manager.OpenFile(folder.Path(std::string("Samples/") + name).c_str()), 0) << name;
        EXPECT_EQ(manager.GetLanguageName().str(), "ITA") << name;
    }
}
