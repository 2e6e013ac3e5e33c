#include "ManagerTestSupport.h"
#include "PageComponents.h"

#include <Tarveskon/DlgConnChoice.h>
#include <Tarveskon/TarveskonDlg.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>

#include <testing/PageClick.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/App.h>
#include <ui/FileDialog.h>
#include <ui/Menu.h>
#include <ui/MessageBox.h>
#include <web/engine/WebBrowser.h>
#include <ui/SystemMenu.h>

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

using tvsk::testing::ProgramFolder;

// Answers file boxes from a queue: a path and filter, or Cancel when the queue is empty.
class QueuedFileBoxes : public CFileDialogSink
{
public:
    struct Answer
    {
        std::string path;
        DWORD filter = 1;
    };
    INT_PTR Show(CFileDialog& dialog) override
    {
        ++shown;
        offered.push_back(std::string(dialog.IsOpenDialog() ? "open " : "save ") +
                          dialog.GetInitialFileName().str() + " | " +
                          (dialog.m_ofn.lpstrTitle ? dialog.m_ofn.lpstrTitle : "") + " | " +
                          dialog.GetDefaultExt().str());
        if (answers.empty())
            return IDCANCEL;
        const Answer answer = answers.front();
        answers.pop_front();
        dialog.SetResult(answer.path.c_str(), answer.filter);
        return IDOK;
    }
    std::deque<Answer> answers;
    int shown = 0;
    std::vector<std::string> offered;
};

class RecordedBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        if (answers.empty())
            return DefaultMessageBoxAnswer(type);
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts;
    std::deque<int> answers;
};

class TarveskonDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        tvsk::testing::PreparePageComponents();
        RegisterTvskStrings();
        AfxGetApp()->LoadStdProfileSettings(8);
        for (int i = AfxGetApp()->m_pRecentFileList->GetSize() - 1; i >= 0; --i)
            AfxGetApp()->m_pRecentFileList->Remove(i);
        AfxSetFileDialogSink(&files);
        AfxSetMessageBoxSink(&boxes);
        dialog = std::make_unique<CTarveskonDlg>(folder.Dir().c_str());
        ASSERT_TRUE(dialog->Create(IDD_TARVESKON_DIALOG));
        dialog->ShowWindow(SW_SHOW);
        ASSERT_TRUE(MainShows("Common/MainPage.htm"));
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
    std::string Title() { return dialog->GetWindowText().str(); }
    // The script's answer in the main window's page, as text.
    std::string RunMainScript(const QString& script)
    {
        auto answer = std::make_shared<std::optional<QString>>();
        dialog->MainPageWnd().Browser()->View()->page()->runJavaScript(script, [answer](const QVariant& value)
                                                                       { *answer = value.toString(); });
        WaitUntil([&] { return answer->has_value(); }, 10000);
        return answer->value_or("<no answer>").toStdString();
    }
    // The toolkit's Yes button as a message box shows it.
    static std::string YesButton()
    {
        QMessageBox box;
        return box.addButton(QMessageBox::Yes)->text().toStdString();
    }
    std::string MenuText(UINT id)
    {
        CString text;
        dialog->GetSystemMenu(FALSE)->GetMenuString(id, text, MF_BYCOMMAND);
        return text.str();
    }
    void Command(const char* word)
    {
        dialog->SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>(word));
        QTest::qWait(50);
    }
    void OpenSample(const char* session)
    {
        files.answers.push_back({folder.Path(session)});
        Command("OpenFile");
    }

    ProgramFolder folder;
    QueuedFileBoxes files;
    RecordedBoxes boxes;
    std::unique_ptr<CTarveskonDlg> dialog;
};

TEST_F(TarveskonDlgTest, StartsOnTheStartPageOverTheStatusPage)
{
    EXPECT_TRUE(dialog->IsStartPageShown());
    const std::string status = folder.Dir() + "/Common/Status.htm";
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            const std::string url = dialog->StatusPageWnd().GetLocationURL().str();
            return url.size() >= status.size() &&
                   url.compare(url.size() - status.size(), status.size(), status) == 0;
        }));
    EXPECT_EQ(Title(), "Tarveskon - [ Senza nome ]");
    EXPECT_EQ(MenuText(IDM_ABOUTBOX), "&Informazioni su...");
    EXPECT_EQ(MenuText(IDM_VERSIONS), "Versioni");
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

// The start page's static texts are Italian: in English it shows, once it shows at all, English
// texts only; back in Italian the language list names English "Inglese".
TEST_F(TarveskonDlgTest, TheStartPageShowsOnlyOnceInTheProgramsLanguage)
{
    const auto seen = [&]
    {
        return RunMainScript("(window.before ? 'before|' : '') +"
                             "getComputedStyle(document.documentElement).visibility + '|' +"
                             "document.getElementsByName('CMD#NewFile')[0].value + '|' +"
                             "document.getElementsByName('selLanguage')[0].options[1].text");
    };
    for (const auto& [index, shown] : {std::pair{1, std::string("visible|New|English")},
                                       std::pair{0, std::string("visible|Nuovo|Inglese")}})
    {
        RunMainScript("window.before = true; ''"); // the page the language change replaces
        dialog->SendMessage(WM_SELECT_LANGUAGE, 0, index);
        std::string first;
        ASSERT_TRUE(WaitUntil(
            [&]
            {
                first = seen();
                return first.rfind("visible", 0) == 0;
            },
            30000))
            << first;
        EXPECT_EQ(first, shown) << "the first look at the page";
    }
}

TEST_F(TarveskonDlgTest, ALanguageChangeOnTheStartPageReplacesTheMenuTexts)
{
    EXPECT_EQ(MenuText(SC_CLOSE), "&Chiudi\tAlt+F4");
    dialog->SendMessage(WM_SELECT_LANGUAGE, 0, 1);
    EXPECT_EQ(MenuText(IDM_ABOUTBOX), "&About...");
    EXPECT_EQ(MenuText(IDM_VERSIONS), "Versions");
    EXPECT_EQ(MenuText(SC_CLOSE), "&Close\tAlt+F4");
    EXPECT_EQ(YesButton(), "&Yes");
    EXPECT_EQ(dialog->GetSystemMenu(FALSE)->GetMenuItemCount(),
              [&]
              {
                  dialog->SendMessage(WM_SELECT_LANGUAGE, 0, 0);
                  return dialog->GetSystemMenu(FALSE)->GetMenuItemCount();
              }())
        << "items are replaced in place, not appended again";
}

// Opening a session of the other language switches the program's language: the toolkit's own
// texts (message box buttons, file boxes) and the whole system menu follow, both ways.
TEST_F(TarveskonDlgTest, ASessionOfTheOtherLanguageSwitchesTheToolkitAndTheSystemMenu)
{
    EXPECT_EQ(YesButton(), "&S\u00ec");
    OpenSample("Samples/ENG/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ENG.htm"));
    EXPECT_EQ(YesButton(), "&Yes");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "Look in:");
    EXPECT_EQ(MenuText(SC_CLOSE), "&Close\tAlt+F4");
    EXPECT_EQ(MenuText(IDM_ABOUTBOX), "&About...");
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_EQ(YesButton(), "&S\u00ec");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "Cerca in:");
    EXPECT_EQ(MenuText(SC_CLOSE), "&Chiudi\tAlt+F4");
    EXPECT_EQ(MenuText(IDM_ABOUTBOX), "&Informazioni su...");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TarveskonDlgTest, EnterAndEscapeKeepTheDialogOpen)
{
    QWidget* widget = dialog->GetWidget();
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(widget, Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TarveskonDlgTest, CloseAsksOnlyWhenModified)
{
    dialog->Manager().SetModified(TRUE);
    boxes.answers.push_back(IDCANCEL);
    dialog->SendMessage(WM_CLOSE);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Salvo la configurazione corrente ?");
    EXPECT_TRUE(dialog->IsWindowVisible());
    dialog->Manager().SetModified(FALSE);
    dialog->SendMessage(WM_CLOSE);
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_FALSE(dialog->IsWindowVisible());
}

TEST_F(TarveskonDlgTest, OpeningASessionShowsItsWizardPageAndAddsItToTheRecentFiles)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_FALSE(dialog->IsStartPageShown());
    EXPECT_EQ(Title(), "Tarveskon - [ TK20.dat ]");
    EXPECT_EQ((*AfxGetApp()->m_pRecentFileList)[0].str(), folder.Path("Samples/TK20.dat"));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TarveskonDlgTest, ExecutableElementsStartTheirProgram)
{
    OpenSample("Samples/TK20.dat");
    const std::string marker = folder.Path("started");
    const std::string command = "touch " + marker;
    dialog->SendMessage(WM_HTML_EXE, 0, reinterpret_cast<LPARAM>(command.c_str()));
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(marker); }));
}

TEST_F(TarveskonDlgTest, ThePagesFileComparisonAsksThroughTheMainWindowsBoxesAndOpensTheReport)
{
    OpenSample("Samples/TK40.dat");
    ASSERT_TRUE(dialog->Manager().IsFileOpen());
    const std::string opened = folder.Path("opened");
    const std::string editor = folder.Path("editor.sh");
    std::ofstream(editor) << "#!/bin/sh\nprintf '%s' \"$1\" > " << opened << ".tmp && mv " << opened
                          << ".tmp " << opened << "\n";
    std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
    CProfile::Instance().WriteProfileString("Settings", "Notepad", editor.c_str());
    const std::string report = folder.Path("Diff Log.txt");
    files.offered.clear();
    files.answers = {{folder.Path("Samples/TK40S.dat")}, {report}};
    Command("CompareWithFile");

    EXPECT_EQ(files.offered,
              (std::vector<std::string>{"open  |  | par",
                                        "save " + folder.Dir() + "/DiffLog.txt | Salva logfile come .. | "}));
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(opened); }));
    std::ifstream in(opened);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), report);
    std::ifstream written(report);
    const std::string text((std::istreambuf_iterator<char>(written)), {});
    EXPECT_NE(text.find("|   \tfile 2: " + folder.Path("Samples/TK40S.dat") + "\n"), std::string::npos)
        << text;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.texts.empty()) << (boxes.texts.empty() ? "" : boxes.texts[0]);
}

TEST_F(TarveskonDlgTest, AListingChosenDuringAWizardIsRefused)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    OpenSample("Samples/TK20.slv");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Un file .slv si può importare solo dalla pagina iniziale");
    EXPECT_EQ(Title(), "Tarveskon - [ TK20.dat ]") << "nothing else changes";
    EXPECT_FALSE(dialog->IsStartPageShown());
}

TEST_F(TarveskonDlgTest, AFailedOpenGoesBackToTheStartPage)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    OpenSample("Samples/Missing.dat");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].substr(0, 43), "Errore nel caricamento della configurazione");
    EXPECT_TRUE(MainShows("Common/MainPage.htm"));
    EXPECT_TRUE(dialog->IsStartPageShown());
}

TEST_F(TarveskonDlgTest, AFailedImportSaysWhatTheListingReaderFound)
{
    std::ofstream(folder.Path("Samples/Cut.slv"), std::ios::binary) << "PAR 33 250";
    OpenSample("Samples/Cut.slv");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].substr(0, 43), "Errore nel caricamento della configurazione");
    EXPECT_NE(boxes.texts[0].find("Cut.slv"), std::string::npos) << boxes.texts[0];
    EXPECT_NE(boxes.texts[0].find("the last line has no line end"), std::string::npos) << boxes.texts[0];
    EXPECT_TRUE(dialog->IsStartPageShown());
}

TEST_F(TarveskonDlgTest, AFailedOpenFromTheStartPageDropsItsRecentFileEntry)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    dialog->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    ASSERT_TRUE(MainShows("Common/MainPage.htm"));
    const auto entry = [&]
    {
        CString text;
        dialog->MainPageWnd().DataManager().GetText("MRU0", text);
        return text.str();
    };
    ASSERT_TRUE(WaitUntil([&] { return entry() == "TK20.dat"; })) << entry();

    std::filesystem::remove(folder.Path("Samples/TK20.dat"));
    OpenSample("Samples/TK20.dat");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(dialog->IsStartPageShown());
    EXPECT_EQ(entry(), "") << "the page's entries follow the list at once";
}

TEST_F(TarveskonDlgTest, AnEmptySaveAsNameIsAskedAgain)
{
    files.answers.push_back({""});
    files.answers.push_back({folder.Path("Saved"), 1});
    testing::internal::CaptureStderr();
    Command("SaveFileAs");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("ProgramError"), std::string::npos)
        << "a new configuration has no parameter file to store";
    EXPECT_EQ(files.shown, 2);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Nome del file non valido");
    EXPECT_TRUE(std::filesystem::exists(folder.Path("Saved.dat"))) << "filter 1 adds .dat";
    EXPECT_EQ(Title(), "Tarveskon - [ Saved.dat ]");
}

// The engineer's road with a file open: the wizard page's own buttons save it and save it under a
// new name, clicked with the mouse; an edit on the page marks the title; the start page lists a
// file saved under a new name at once.
TEST_F(TarveskonDlgTest, TheWizardPageSavesTheOpenFileAndUnderANewName)
{
    for (const char* page : {"TK20/TK20_ITA.htm", "TK20/TK20_ENG.htm", "TKSERIES/TKSERIES.htm"})
    {
        std::ifstream file(folder.Path(page));
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (const char* word : {"CMD#SaveFile\"", "CMD#SaveFileAs\""})
            EXPECT_NE(text.find(word), std::string::npos) << page << " " << word;
    }
    // The main page's sink hands its clicks to the program's main window.
    AfxGetApp()->m_pMainWnd = dialog.get();
    struct NoMainWindowAfter
    {
        ~NoMainWindowAfter() { AfxGetApp()->m_pMainWnd = nullptr; }
    } after;
    QWebEngineView* view = dialog->MainPageWnd().Browser()->View();
    // The page takes clicks and keys once the program has filled and shown it.
    const auto click = [&](const char* element)
    { EXPECT_TRUE(ClickPageElement(view, QString("input[name=\"%1\"]").arg(element))) << element; };
    const auto type = [&](const char* text)
    {
        ASSERT_TRUE(WaitUntil(
            [&]
            { return RunMainScript("getComputedStyle(document.documentElement).visibility") == "visible"; },
            30000));
        RunMainScript("var f = document.getElementsByName('Pr33')[0]; f.focus(); f.select(); ''");
        QTest::keyClicks(view->focusProxy(), text);
        QTest::keyClick(view->focusProxy(), Qt::Key_Return);
    };
    const auto fileValue = [](const std::string& path)
    {
        ProgramFolder unused;
        CTvskManager reader(unused.Dir().c_str());
        VARIANT value;
        VariantInit(&value);
        EXPECT_EQ(reader.OpenFile(path.c_str()), 0) << path;
        reader.GetParValue("Pr33", &value);
        return value.vt == VT_R8 ? value.dblVal : -1;
    };
    OpenSample("Samples/TK40.dat");
    ASSERT_TRUE(MainShows("TKSERIES/TKSERIES.htm"));
    const std::string copy = folder.Path("Copy.dat");
    files.answers.push_back({copy});
    click("CMD#SaveFileAs");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(copy); }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return Title() == "Tarveskon - [ Copy.dat ]"; }, 10000)) << Title();
    EXPECT_EQ((*AfxGetApp()->m_pRecentFileList)[0].str(), copy);

    // An entry on the page itself: a decimal comma, Return.
    type("4,5");
    EXPECT_TRUE(WaitUntil([&] { return Title() == "Tarveskon - [ Copy.dat*]"; }, 30000)) << Title();
    click("CMD#SaveFile");
    EXPECT_TRUE(WaitUntil([&] { return Title() == "Tarveskon - [ Copy.dat ]"; }, 30000)) << Title();
    EXPECT_EQ(fileValue(copy), 4.5);
    EXPECT_NE(fileValue(folder.Path("Samples/TK40.dat")), 4.5) << "the file it came from is as it was";

    // Letters on the page are no number: told so, and the value stays the configuration's.
    type("abc");
    ASSERT_TRUE(WaitUntil([&] { return !boxes.texts.empty(); }, 30000));
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Il valore inserito non è un numero"});
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            const std::string shown = RunMainScript("document.getElementsByName('Pr33')[0].value");
            return shown == "4.5" || shown == "4,5"; // the desktop's decimal point
        },
        10000));
    EXPECT_EQ(Title(), "Tarveskon - [ Copy.dat ]");

    // The start page: a configuration saved there under a new name heads its list at once.
    Command("NewFile");
    ASSERT_TRUE(MainShows("Common/MainPage.htm"));
    const auto entry = [&]
    {
        CString text;
        dialog->MainPageWnd().DataManager().GetText("MRU0", text);
        return text.str();
    };
    ASSERT_TRUE(WaitUntil([&] { return entry() == "Copy.dat"; }, 10000)) << entry();
    files.answers.push_back({folder.Path("Fresh.dat")});
    click("CMD#SaveFileAs");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(folder.Path("Fresh.dat")); }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return entry() == "Fresh.dat"; }, 10000)) << entry();
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(TarveskonDlgTest, RecentFileAnchorsOpenTheirEntryOnly)
{
    AfxGetApp()->AddToRecentFileList(folder.Path("Samples/TK40.dat").c_str());
    dialog->SendMessage(WM_HTML_TAGCOMMAND, 0, reinterpret_cast<LPARAM>("MRU1"));
    dialog->SendMessage(WM_HTML_TAGCOMMAND, 0, reinterpret_cast<LPARAM>("MRU9"));
    dialog->SendMessage(WM_HTML_TAGCOMMAND, 0, reinterpret_cast<LPARAM>("xMRU0"));
    QTest::qWait(50);
    EXPECT_TRUE(dialog->IsStartPageShown()) << "anchors naming no entry open nothing";
    dialog->SendMessage(WM_HTML_TAGCOMMAND, 0, reinterpret_cast<LPARAM>("MRU0"));
    EXPECT_TRUE(MainShows("TKSERIES/TKSERIES.htm"));
    EXPECT_EQ(files.shown, 0) << "no file box for a recent file";
}

TEST_F(TarveskonDlgTest, ALanguageChangeDuringAWizardReloadsNothing)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    dialog->SendMessage(WM_SELECT_LANGUAGE, 0, 1);
    QTest::qWait(200);
    EXPECT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_EQ(MenuText(IDM_ABOUTBOX), "&Informazioni su...");
    EXPECT_EQ(dialog->Manager().GetLanguageName().str(), "ENG");
}

} // namespace

namespace
{

// Runs the connection choice from the start page and presses the button.
void ChooseOnConnection(CTarveskonDlg& dialog, UINT button)
{
    QTimer::singleShot(0,
                       [button]
                       {
                           CWnd* choice = nullptr;
                           WaitUntil(
                               [&]
                               {
                                   choice = CWnd::FromWidget(QApplication::activeModalWidget());
                                   return choice && choice->GetDlgItem(IDC_CONN_READ);
                               });
                           if (choice)
                               choice->SendMessage(WM_COMMAND, button, 0);
                       });
    dialog.SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Connect"));
}

TEST_F(TarveskonDlgTest, ReadingOrComparingWithoutAFileSaysWhy)
{
    for (const UINT button : {IDC_CONN_READ, IDC_CONN_COMPARE_DRIVE, IDC_CONN_COMPARE_FILE})
    {
        boxes.texts.clear();
        ChooseOnConnection(*dialog, button);
        ASSERT_EQ(boxes.texts.size(), 1u) << button;
        EXPECT_EQ(boxes.texts[0],
                  "Nessuna configurazione aperta.\nAprire un file o avviare il wizard prima di "
                  "leggere o confrontare i parametri.");
    }
    EXPECT_EQ(files.shown, 0);
}

TEST_F(TarveskonDlgTest, TheWizardPagesTransfersOffLineSayWhy)
{
    OpenSample("Samples/TK40.dat");
    ASSERT_TRUE(MainShows("TKSERIES/TKSERIES.htm"));
    Command("ReadAll");
    Command("WriteAll");
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1],
              "Drive non connesso.\nConnettersi al drive prima di leggere o scrivere i parametri.");
}

TEST_F(TarveskonDlgTest, StartingTheWizardWithoutADriveOrAMotorSaysWhich)
{
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Selezionare prima il drive");
    CTvskManager& manager = dialog->Manager();
    ASSERT_EQ(manager.DriveDb().Load(folder.Path("Drives.db").c_str()), 0);
    ASSERT_TRUE(manager.SelectDrive("TK20^5^230"));
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "Selezionare il motore prima di avviare il wizard");
    EXPECT_TRUE(dialog->IsStartPageShown());
}

class TarveskonImportTest : public TarveskonDlgTest
{
protected:
    // Imports the sample listing on the start page, then chooses a drive and a motor.
    void ImportAndChoose()
    {
        OpenSample("Samples/TK20.slv");
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0], "File importato.\nSelezionare drive e motore prima di avviare il wizard.");
        EXPECT_TRUE(dialog->IsStartPageShown());
        CTvskManager& manager = dialog->Manager();
        ASSERT_EQ(manager.DriveDb().Load(folder.Path("Drives.db").c_str()), 0);
        ASSERT_TRUE(manager.SelectDrive("TK20^5^230"));
        ASSERT_EQ(manager.GetMotorDb()->Load(folder.Path("Motor.db").c_str(),
                                             folder.Path("CustomMotor.db").c_str()),
                  0);
        ASSERT_TRUE(manager.SelectMotor("MB^71^3000^2.5^400", false));
    }
    double Value(const char* name)
    {
        const DBPAR* par = dialog->Manager().ParDb().GetPar(name, true);
        return par ? par->dblDefVal : -1;
    }
};

TEST_F(TarveskonImportTest, NoAfterAnImportKeepsTheListedMotorParameters)
{
    ImportAndChoose();
    boxes.answers.push_back(IDNO);
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "Mantengo i parametri motore importati ?");
    EXPECT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.6) << "the listing's value";
    EXPECT_DOUBLE_EQ(Value("Pr34"), 7.8);
}

// With drive and motor chosen the connection choice's operations work on the configuration the
// wizard starts with: a comparison with a file runs against it.
TEST_F(TarveskonImportTest, TheConnectionChoiceAfterAnImportStartsTheWizardAndCompares)
{
    ImportAndChoose();
    const std::string report = folder.Path("Import Diff.txt");
    CProfile::Instance().WriteProfileString("Settings", "Notepad", "true");
    boxes.answers.push_back(IDNO);
    files.answers = {{folder.Path("Samples/TK20.dat")}, {report}};
    ChooseOnConnection(*dialog, IDC_CONN_COMPARE_FILE);
    EXPECT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "Mantengo i parametri motore importati ?");
    std::ifstream written(report);
    const std::string text((std::istreambuf_iterator<char>(written)), {});
    EXPECT_NE(text.find("|   \tfile 2: " + folder.Path("Samples/TK20.dat") + "\n"), std::string::npos)
        << text;
}

// The listing's values come over the parameter file's texts: the descriptions stay the language's.
TEST_F(TarveskonImportTest, AfterAnImportTheWizardDescribesItsParametersInTheLanguage)
{
    ImportAndChoose();
    ASSERT_TRUE(dialog->Manager().ChangeLanguage(1));
    boxes.answers.push_back(IDNO);
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    for (const auto& [name, english] : {std::pair{"Pr33", "Motor rated current"},
                                        {"Pr1", "Operating mode (0=speed 1=torque 2=positioner)"}})
    {
        const DBPAR* par = dialog->Manager().ParDb().GetPar(name, true);
        ASSERT_NE(par, nullptr) << name;
        EXPECT_STREQ(par->szDescr, english);
    }
}

TEST_F(TarveskonImportTest, YesAfterAnImportTakesTheChosenMotorsData)
{
    ImportAndChoose();
    boxes.answers.push_back(IDYES);
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    EXPECT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.8) << "the motor's rated current";
    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    EXPECT_EQ(boxes.texts.size(), 2u) << "asked once after the import";
}

} // namespace

namespace
{

// The script manager and its engine registered in the test's store: the TK40 type's script runs.
class TarveskonScriptTest : public TarveskonDlgTest
{
protected:
    void SetUp() override
    {
        for (const char* component : {TVSK_ENGINE_MODULE, TVSK_SCRIPTER_MODULE})
            ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + component).c_str()), 0) << component;
        TarveskonDlgTest::SetUp();
    }
    std::string SessionVar(const char* name)
    {
        CString value;
        return dialog->Manager().GetSessionVarValue(name, value) ? value.str() : "<none>";
    }
};

TEST_F(TarveskonScriptTest, EverySampleOpensUnmodifiedAndIsLeftWithoutAQuestion)
{
    // The TK40 type's own script, which gives empty session variables their defaults as a file loads.
    std::filesystem::copy_file(std::string(TVSK_SAMPLE_DATA_DIR) + "/TKSERIES/TK40.vbs",
                               folder.Path("TKSERIES/TK40.vbs"));
    for (const char* sample :
         {"Samples/TK20.dat", "Samples/TK40.dat", "Samples/TK40S.dat", "Samples/TK40Cam.dat"})
    {
        OpenSample(sample);
        ASSERT_FALSE(dialog->IsStartPageShown()) << sample;
        ASSERT_TRUE(dialog->Manager().CanFireEvents() || std::string(sample) == "Samples/TK20.dat")
            << sample << (boxes.texts.empty() ? "" : ": " + boxes.texts.back());
        QTest::qWait(1000); // the page's and the script's first events
        EXPECT_FALSE(dialog->Manager().IsModified()) << sample;
        if (std::string(sample) == "Samples/TK40.dat")
        {
            EXPECT_EQ(SessionVar("Commessa"), "Nessuna") << "the TK40 type's script gave its default";
        }
        EXPECT_EQ(Title().find('*'), std::string::npos) << sample << ": " << Title();
        boxes.texts.clear();
        Command("NewFile");
        EXPECT_TRUE(boxes.texts.empty()) << sample << ": " << (boxes.texts.empty() ? "" : boxes.texts[0]);
        ASSERT_TRUE(MainShows("Common/MainPage.htm"));
    }
}

TEST_F(TarveskonScriptTest, TheMainWindowsClockReachesTheScript)
{
    folder.Remove("TKSERIES/TK40.vbs");
    folder.Append("TKSERIES/TK40.vbs", "Sub Tvsk_OnTimer()\n"
                                       "    Tvsk.TvskVar(\"Commessa\") = Tvsk.TvskVar(\"Commessa\") & \"+\"\n"
                                       "End Sub\n");
    OpenSample("Samples/TK40.dat");
    ASSERT_TRUE(dialog->Manager().CanFireEvents());
    EXPECT_TRUE(WaitUntil([&] { return SessionVar("Commessa").size() >= 2; })) << SessionVar("Commessa");
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts[0];
}

} // namespace
