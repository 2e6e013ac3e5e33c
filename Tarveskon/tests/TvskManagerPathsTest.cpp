#include "ManagerTestSupport.h"

#include <sstream>

namespace
{

using tvsk::testing::ProgramFolder;

class TvskManagerPathsTest : public testing::Test
{
protected:
    void SetUp() override { tvsk::testing::ResetProfile(); }
    std::string Rel(const CString& path) const { return path.str().substr(folder.Dir().size() + 1); }
    std::string PagesDir(bool typeSubdir)
    {
        CString dir;
        manager.GetPagesDir(dir, typeSubdir);
        return Rel(dir);
    }

    ProgramFolder folder;
    CTvskManager manager{folder.Dir().c_str()};
};

TEST_F(TvskManagerPathsTest, ApplicationPagesLiveInCommon)
{
    EXPECT_EQ(Rel(manager.GetMainPagePath()), "Common/MainPage.htm");
    EXPECT_EQ(Rel(manager.GetStatusPagePath()), "Common/Status.htm");
    EXPECT_EQ(Rel(manager.GetDrivesPagePath()), "Common/Drives.htm");
    EXPECT_EQ(Rel(manager.GetMotorsPagePath()), "Common/Motors.htm");
    EXPECT_EQ(Rel(manager.GetHelpPagePath("Help")), "Common/Help/TvskHelp_ITA.htm");
}

TEST_F(TvskManagerPathsTest, ADriveTypeOfItsOwnUsesItsFolderAndLanguage)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_EQ(PagesDir(false), "TK20/ITA");
    EXPECT_EQ(PagesDir(true), "TK20/ITA");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(true)), "TK20/TK20_ITA.htm");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(false)), "TK20/TK20_ITA.htm");
    EXPECT_EQ(Rel(manager.GetHelpPagePath(nullptr)), "TK20/TK20Help_ITA.htm");
    EXPECT_EQ(Rel(manager.GetParFilePath()), "TK20/TK20.par");
}

TEST_F(TvskManagerPathsTest, AFamilyMemberUsesTheFamilyFolder)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    EXPECT_EQ(PagesDir(false), "TKSERIES/Pages");
    EXPECT_EQ(PagesDir(true), "TKSERIES/TK40/Pages");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(false)), "TKSERIES/TKSERIES.htm");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(true)), "TKSERIES/TK40.htm");
    EXPECT_EQ(Rel(manager.GetHelpPagePath(nullptr)), "TKSERIES/TK40/TK40Help_ITA.htm");
    EXPECT_EQ(Rel(manager.GetParFilePath()), "TKSERIES/TK40.par");
}

TEST_F(TvskManagerPathsTest, AnAliasFindsItsFamilyButNoTypeSubfolder)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40S.dat").c_str()), 0);
    EXPECT_EQ(PagesDir(true), "TK40S/ITA");
    EXPECT_EQ(PagesDir(false), "TKSERIES/Pages");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(false)), "TKSERIES/TKSERIES.htm");
    EXPECT_EQ(Rel(manager.GetWizardStartPage(true)), "TK40S/TK40S_ITA.htm");
    // Its own parameter file, drive texts and help, in the family's folder.
    EXPECT_EQ(Rel(manager.GetParFilePath()), "TKSERIES/TK40S.par");
    EXPECT_EQ(Rel(manager.GetHelpPagePath(nullptr)), "TKSERIES/TK40S/TK40SHelp_ITA.htm");
    EXPECT_EQ(Rel(manager.Folders().DriveTextsFile(folder.Dir().c_str(), "TK40S", "ENG")),
              "TKSERIES/TK40S_ENG.str");
    for (const char* file : {"TKSERIES/TK40S.par", "TKSERIES/TK40S_ITA.str", "TKSERIES/TK40S_ENG.str",
                             "TKSERIES/TK40S/TK40SHelp_ITA.htm", "TKSERIES/TK40S/TK40SHelp_ENG.htm"})
        EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path(file))) << "the sample data hold " << file;
    EXPECT_STREQ(manager.DataDb().GetDrive(), "TK40S^8^400") << "the alias is never written into the file";
}

TEST_F(TvskManagerPathsTest, TheMapsComeFromTheDrivesDatabase)
{
    CString type;
    EXPECT_TRUE(manager.Folders().DriveTypeMap().Lookup(2050, type));
    EXPECT_EQ(type.str(), "TK20");
    EXPECT_TRUE(manager.Folders().AliasMap().Lookup("TK40S", type));
    EXPECT_EQ(type.str(), "TK40");
    EXPECT_TRUE(manager.Folders().FamilyMap().Lookup("TK40", type));
    EXPECT_EQ(type.str(), "TKSERIES");
    EXPECT_TRUE(manager.Folders().EncoderParMap().Lookup("TK20", type));
    EXPECT_EQ(type.str(), "Pr61");
}

} // namespace

namespace
{
std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST_F(TvskManagerPathsTest, EveryWizardPageHasItsSectionInTheDrivesHelpOfEachLanguage)
{
    for (const char* sample : {"Samples/TK20.dat", "Samples/TK40.dat", "Samples/TK40S.dat"})
        for (int language : {0, 1})
        {
            ASSERT_TRUE(manager.ChangeLanguage(language));
            ASSERT_EQ(manager.OpenFile(folder.Path(sample).c_str()), 0) << sample;
            const std::string help = FileText(manager.GetHelpPagePath(nullptr).str());
            ASSERT_FALSE(help.empty()) << sample << " " << manager.GetHelpPagePath(nullptr).str();
            for (bool typeSubdir : {true, false})
            {
                CString dir;
                manager.GetPagesDir(dir, typeSubdir);
                std::error_code error;
                for (const auto& entry : std::filesystem::directory_iterator(dir.str(), error))
                {
                    if (entry.path().extension() != ".htm")
                        continue;
                    EXPECT_NE(help.find("id=\"" + entry.path().stem().string() + "\""), std::string::npos)
                        << sample << " " << language << " " << entry.path();
                }
            }
        }
    manager.ChangeLanguage(0);
}

TEST_F(TvskManagerPathsTest, TheProgramsHelpFileIsTheLanguagesOwn)
{
    EXPECT_EQ(Rel(manager.DefaultHelpFile()), "Tarveskon_ITA.chm");
    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(Rel(manager.DefaultHelpFile()), "Tarveskon.chm");
    const std::string italian = FileText(folder.Path("Tarveskon_ITA.chm"));
    const std::string english = FileText(folder.Path("Tarveskon.chm"));
    EXPECT_NE(italian.find("\"Per iniziare\""), std::string::npos);
    // The same topics and context ids in both.
    for (const char* row :
         {"TOPIC\t\"Start\"", "TOPIC\t\"Plc\"", "CONTEXT\t1005\t\"Plc\"", "CONTEXT\t1000\t\"Start\"",
          "CONTEXT\t1006\t\"Oscilloscope\"", "CONTEXT\t1007\t\"Download\""})
    {
        EXPECT_NE(italian.find(row), std::string::npos) << row;
        EXPECT_NE(english.find(row), std::string::npos) << row;
    }
    manager.ChangeLanguage(0);
}
