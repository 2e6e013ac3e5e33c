#include "ManagerTestSupport.h"

#include <TvskDb/TvskParDb.h>

#include <fstream>
#include <set>
#include <string>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

class TvskLanguageTest : public testing::Test
{
protected:
    void SetUp() override { tvsk::testing::ResetProfile(); }
    ProgramFolder folder;
};

TEST_F(TvskLanguageTest, PrefixedNamesLookUpTheirNumber)
{
    folder.Append("ITA.str", "\nSTR\t\"12\"\t\"dodici\"\n");
    CTvskManager manager(folder.Dir().c_str());
    CString text;
    EXPECT_TRUE(manager.GetPrefixedString("S_12", text));
    EXPECT_EQ(text.str(), "dodici");
    EXPECT_FALSE(manager.GetPrefixedString("S_AB", text));
    EXPECT_FALSE(manager.GetPrefixedString("X_12", text));
    EXPECT_FALSE(manager.GetStringByName("12x", text));
    EXPECT_FALSE(manager.GetStringByName("50000", text)) << "names are string ids of at most 49999";
}

TEST_F(TvskLanguageTest, IdsAboveTheTablesComeFromTheProgramsOwnStrings)
{
    CTvskManager manager(folder.Dir().c_str());
    CString text;
    EXPECT_FALSE(manager.Language().GetString(60000, text));
    EXPECT_TRUE(manager.GetString(60000, text)) << "slot 5 always answers";
    EXPECT_TRUE(text.IsEmpty());
    ASSERT_TRUE(manager.GetString(2043, text));
    EXPECT_EQ(text.str(), "Senza nome") << "not in ITA.str: the built-in text";
    ASSERT_TRUE(manager.GetString(100, text));
    EXPECT_FALSE(text.IsEmpty()) << "string 100 has a text";
}

TEST_F(TvskLanguageTest, ChangingLanguageSwitchesStringsAndProfile)
{
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(CProfile::Instance().GetProfileInt("Settings", "LangID", 0), 1u);
    CString text;
    manager.GetString(2004, text);
    EXPECT_EQ(text.str(), "Error while saving the configuration");
    EXPECT_EQ(manager.GetLanguageName().str(), "ENG");
    EXPECT_FALSE(manager.ChangeLanguage(7)) << "an id without a name is refused";
    EXPECT_EQ(manager.GetLanguageName().str(), "ENG");
}

TEST_F(TvskLanguageTest, AFailingStringFileKeepsThePreviousLanguage)
{
    folder.Remove("ENG.str");
    CTvskManager manager(folder.Dir().c_str());
    EXPECT_FALSE(manager.ChangeLanguage(1));
    EXPECT_EQ(CProfile::Instance().GetProfileInt("Settings", "LangID", 0), 0u);
    CString text;
    manager.GetString(2004, text);
    EXPECT_EQ(text.str(), "Errore nel salvataggio della configurazione");
}

TEST_F(TvskLanguageTest, DescriptionEqualToItsIdFallsBackToTheFilesText)
{
    folder.Replace("TK20/TK20.par", "\"Corrente nominale motore\"", "\"Corrente nominale motore\"\t3990");
    folder.Replace("TK20/TK20.par", "\"Corrente di picco motore\"", "\"Corrente di picco motore\"\t3991");
    folder.Append("ITA.str", "\nSTR\t\"3990\"\t\"3990\"\nSTR\t\"3991\"\t\"Picco\"\n");
    folder.Remove("TK20/TK20_ITA.str");
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    CString text;
    ASSERT_TRUE(manager.GetParDescr("Pr33", text, false));
    EXPECT_EQ(text.str(), "Corrente nominale motore");
    ASSERT_TRUE(manager.GetParDescr("Pr34", text, false));
    EXPECT_EQ(text.str(), "Picco");
    ASSERT_TRUE(manager.GetParDescr("Pr3.1", text, true));
    EXPECT_EQ(text.str(), "Drive abilitato(Val:0)");
    EXPECT_FALSE(manager.GetParDescr("Pr999", text, false));
}

TEST_F(TvskLanguageTest, AFileWhoseLanguageHasNoMainPageKeepsThePreviousLanguage)
{
    folder.Replace("Samples/TK20.dat", "LANG\t\"ITA\"", "LANG\t\"ENG\"");
    folder.Remove("Common/MainPage.htm");
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_EQ(manager.GetLanguageName().str(), "ITA");
    EXPECT_STREQ(manager.DataDb().GetLanguage(), "ITA");
}

TEST_F(TvskLanguageTest, AFileInAnotherLanguageSwitchesToIt)
{
    folder.Replace("Samples/TK20.dat", "LANG\t\"ITA\"", "LANG\t\"ENG\"");
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_EQ(manager.GetLanguageName().str(), "ENG");
}

TEST_F(TvskLanguageTest, ATextOfAnyLanguageIsSaidInTheChosenOne)
{
    CTvskManager manager(folder.Dir().c_str());
    CString text;
    ASSERT_TRUE(manager.Language().TranslateText("Serial comunication", text));
    EXPECT_EQ(text.str(), "Comunicazione seriale") << "the protocol settings in Italian";
    ASSERT_TRUE(manager.Language().TranslateText("Chiudi", text));
    EXPECT_EQ(text.str(), "Chiudi");
    ASSERT_TRUE(manager.ChangeLanguage(1));
    ASSERT_TRUE(manager.Language().TranslateText("Chiudi", text));
    EXPECT_EQ(text.str(), "Close");
    ASSERT_TRUE(manager.Language().TranslateText("Avvia wizard", text));
    EXPECT_EQ(text.str(), "Start wizard");
    EXPECT_FALSE(manager.Language().TranslateText("No table has this", text));
    EXPECT_FALSE(manager.Language().TranslateText("", text));
}

// Half a language shows the other's texts: every table names the same strings.
TEST_F(TvskLanguageTest, EveryLanguageHasEveryString)
{
    auto ids = [this](const char* table)
    {
        std::ifstream in(folder.Path(table));
        std::set<std::string> found;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("STR\t\"", 0) == 0)
                found.insert(line.substr(5, line.find('"', 5) - 5));
        return found;
    };
    const std::set<std::string> italian = ids("ITA.str");
    EXPECT_GT(italian.size(), 300u);
    EXPECT_EQ(ids("ENG.str"), italian);
}

TEST_F(TvskLanguageTest, TheDriveTextsOfTheFilesTypeAndLanguageAnswer)
{
    folder.Replace("Samples/TK20.dat", "LANG\t\"ITA\"", "LANG\t\"ENG\"");
    CTvskManager manager(folder.Dir().c_str());
    EXPECT_EQ(manager.GetVersionString(5).str(), "n/a") << "no file";
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    CString text;
    ASSERT_TRUE(manager.GetParDescr("Pr33", text, false));
    EXPECT_EQ(text.str(), "Motor rated current");
    ASSERT_TRUE(manager.GetParDescr("Pr100", text, false));
    EXPECT_EQ(text.str(), "Full-scale speed of the reference") << "the speed mode's text";
    EXPECT_STREQ(manager.ParDb().GetPar("Pr32", true)->szDescr, "Maximum motor speed");
    int id = 0;
    ASSERT_TRUE(manager.GetMenu(1, &id, text));
    EXPECT_EQ(id, 2);
    EXPECT_EQ(text.str(), "Motor");
    EXPECT_EQ(manager.GetVersionString(5).str(), "1.0.0");
    EXPECT_EQ(manager.GetReleaseVersion(5).str(), "1.0.0");

    // The positioner's texts once the mode changes; a new file has no drive texts.
    VARIANT mode;
    mode.vt = VT_I4;
    mode.lVal = 2;
    ASSERT_EQ(manager.SetParValue("Pr1", mode, FALSE), HOSTRES_OK);
    ASSERT_TRUE(manager.GetParDescr("Pr100", text, false));
    EXPECT_EQ(text.str(), "Positioning speed");
    ASSERT_TRUE(manager.NewFile());
    EXPECT_EQ(manager.GetVersionString(5).str(), "n/a");
    EXPECT_EQ(manager.GetReleaseVersion(5).str(), "n/a");
}

TEST_F(TvskLanguageTest, AFamilyDriveFindsItsTextsBesideItsParameterFile)
{
    CTvskManager manager(folder.Dir().c_str());
    const int opened = manager.OpenFile(folder.Path("Samples/TK40.dat").c_str());
    ASSERT_TRUE(opened == 0 || opened == 5) << opened;
    CString text;
    ASSERT_TRUE(manager.GetParDescr("Pr100", text, false));
    EXPECT_EQ(text.str(), "Velocità di posizionamento") << "the file's mode 2";
    EXPECT_EQ(manager.Language().GetParDescrText("Pr100", text, false), FALSE) << "no text for every mode";
    ASSERT_TRUE(manager.Language().GetMenuString(100, text));
    EXPECT_EQ(text.str(), "Parametri utente");
    EXPECT_EQ(manager.GetVersionString(5).str(), "1.0.0");
}

TEST_F(TvskLanguageTest, WithoutDriveTextsTheVersionsAreNotAvailable)
{
    folder.Remove("TK20/TK20_ITA.str");
    CTvskManager manager(folder.Dir().c_str());
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
    EXPECT_EQ(manager.GetVersionString(5).str(), "n/a");
    EXPECT_EQ(manager.GetReleaseVersion(5).str(), "n/a");
    CString text;
    ASSERT_TRUE(manager.GetParDescr("Pr33", text, false));
    EXPECT_EQ(text.str(), "Corrente nominale motore") << "the parameter file's own text";
}

} // namespace

namespace
{

// The program's picture carries a subtitle: each language whose picture is installed gets its own.
TEST_F(TvskLanguageTest, ThePicturesSubtitleIsInTheChosenLanguage)
{
    CTvskManager manager(folder.Dir().c_str());
    EXPECT_EQ(manager.Language().GetSplashPicturePath().str(), folder.Path("splash.jpg"));
    ASSERT_TRUE(manager.ChangeLanguage(1));
    EXPECT_EQ(manager.Language().GetSplashPicturePath().str(), folder.Path("splash_ENG.jpg"));
    folder.Remove("splash_ENG.jpg");
    EXPECT_EQ(manager.Language().GetSplashPicturePath().str(), folder.Path("splash.jpg"))
        << "without its own the shared one";
}

} // namespace
