// Drive and motor selection on the sample databases, their pages in the real engine.
#include "DialogFixture.h"

#include <Tarveskon/DlgConnChoice.h>
#include <Tarveskon/DlgDriveSelect.h>
#include <Tarveskon/DlgMotorSelect.h>
#include <Tarveskon/TvskIntf.h>

#include <testing/TestApplication.h>
#include <ui/HelpInfo.h>
#include <ui/RecentFileList.h>
#include <web/engine/WebBrowser.h>

#include <QWebEnginePage>
#include <QApplication>
#include <QTimer>
#include <QWebEngineView>

#include <fstream>
#include <optional>
#include <vector>
#include <type_traits>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

// The main dialog records the help topics its selection dialogs ask for.
class SelectionDialogTest : public tvsk::testing::DialogFixture
{
protected:
    template <class Dialog> bool Open(Dialog& selection, CWnd* parent = nullptr)
    {
        selection.SetTvskManager(&dialog->Manager());
        const UINT id = std::is_same_v<Dialog, CDlgDriveSelect> ? IDD_DRIVE_SELECT : IDD_MOTOR_SELECT;
        if (!selection.Create(id, parent ? parent : dialog.get()))
            return false;
        selection.ShowWindow(SW_SHOW);
        return WaitUntil([&] { return Page(selection).DataManager().ControlsNum() > 0; });
    }
    static CSelectHtmlWnd& Page(CDlgDriveSelect& d) { return d.DriveWnd(); }
    static CSelectHtmlWnd& Page(CDlgMotorSelect& d) { return d.MotorWnd(); }

    static int Options(CHtmlWnd& wnd, const char* select)
    {
        return Script(wnd, QString("document.getElementsByName('%1')[0].options.length").arg(select)).toInt();
    }
    static void Change(CWnd& wnd, UINT message, const char* name, const char* value)
    {
        HTML_SELCHANGE change{name, value};
        wnd.SendMessage(message, 0, reinterpret_cast<LPARAM>(&change));
        QTest::qWait(20);
    }
    // Each data field's label: "text|whole" a row, whole when the label and its field lie inside the page.
    static QString DataLabels(CHtmlWnd& page)
    {
        return Script(
            page,
            "Array.from(document.querySelectorAll('table.data tr')).map(r => {"
            " const label = r.cells[0]; const field = r.cells[1].querySelector('input');"
            " const whole = label.scrollWidth <= label.clientWidth && field.scrollWidth <= field.clientWidth"
            "  && field.getBoundingClientRect().right <= document.documentElement.clientWidth;"
            " return label.textContent + '|' + whole; }).join('\\n')");
    }
};

TEST(SelectOrderTest, NumbersGoByValueAndTextsWithoutCase)
{
    CMapStringToPtr numbers;
    for (const char* key : {"115", "142", "56", "71", "90", "7.5", ""})
        numbers.SetAt(key, nullptr);
    const std::vector<CString> byValue = CHtmlDataManager::SelectOrder(numbers);
    EXPECT_EQ(byValue, (std::vector<CString>{"7.5", "56", "71", "90", "115", "142"}));
    CMapStringToPtr texts;
    for (const char* key : {"mb", "16", "Ma", "4"})
        texts.SetAt(key, nullptr);
    EXPECT_EQ(CHtmlDataManager::SelectOrder(texts), (std::vector<CString>{"16", "4", "Ma", "mb"}))
        << "one text among them: all as text";
}

TEST_F(SelectionDialogTest, ADriveTypeRefillsItsListsDataAndPicture)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    CDriveHtmlWnd& page = drives.DriveWnd();
    EXPECT_EQ(Options(page, "selDrive"), 2);
    Change(page, WM_HTML_SELCHANGE, "selDrive", "TK40");
    EXPECT_EQ(Value(page.DataManager(), "selDrive"), "TK40");
    EXPECT_EQ(Options(page, "selCurrent"), 4) << "4, 8, 16, 32 A";
    EXPECT_EQ(Script(page, "Array.from(document.getElementsByName('selCurrent')[0].options)"
                           ".map(o => o.text).join(' ')"),
              QString("4 8 16 32"))
        << "numbers go by value";
    Change(page, WM_HTML_SELCHANGE, "selCurrent", "8");
    EXPECT_EQ(Options(page, "selVoltage"), 2) << "230 and 400 V";
    Change(page, WM_HTML_SELCHANGE, "selVoltage", "400");
    EXPECT_EQ(Value(page.DataManager(), "idD1"), "8");
    EXPECT_EQ(Value(page.DataManager(), "idD5"), "4008");
    EXPECT_EQ(Value(page.DataManager(), "idD19"), "0");
    EXPECT_TRUE(
        Script(page, "document.getElementsByName('imgDriveType')[0].src").endsWith("/Image/TK40.jpg"));
    drives.DestroyWindow();
}

TEST_F(SelectionDialogTest, ADataFieldThatIsNoNumberKeepsItsDatum)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    CDriveHtmlWnd& page = drives.DriveWnd();
    const double before = dialog->Manager().GetDriveValue(2);
    page.DataManager().PutText("idD2", "12abc");
    page.DataManager().PutText("idD3", "231.5");
    page.GetDriveValue();
    EXPECT_DOUBLE_EQ(dialog->Manager().GetDriveValue(2), before);
    EXPECT_EQ(Value(page.DataManager(), "idD2"), CString(FormatString("%g", before)).str());
    EXPECT_DOUBLE_EQ(dialog->Manager().GetDriveValue(3), 231.5);
    drives.DestroyWindow();
}

TEST_F(SelectionDialogTest, CancelAfterChangesRestoresTheConfigurationsDrive)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    const std::string chosen = dialog->Manager().DriveDb().GetCurrRecord()->szDriveDef;
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selDrive", "TK40");
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selCurrent", "16");
    drives.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog->Manager().DriveDb().GetCurrRecord()->szDriveDef, chosen);
    EXPECT_EQ(dialog->Manager().DataDb().GetDriveType().str(), "TK20");
}

TEST_F(SelectionDialogTest, ADriveBelowTheMotorAsks2078AndCancelKeepsTheDialog)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(dialog->Manager().IsMotorChosen());
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selCurrent", "2.5");
    dialog->Manager().DataDb().GetMotorData()->dblD1 = 4.9;
    boxes.answers.push_back(IDCANCEL);
    drives.SendMessage(WM_COMMAND, IDOK, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Corrente nominale drive incompatibile con il motore selezionato\nProseguire?");
    EXPECT_TRUE(drives.IsWindowVisible());
    EXPECT_EQ(dialog->Manager().DataDb().GetDriveCurrent().str(), "5") << "nothing taken";
    drives.DestroyWindow();
}

TEST_F(SelectionDialogTest, OkTakesTheChosenDriveAndACommandOnePressesIt)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selDrive", "TK40");
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selCurrent", "16");
    Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selVoltage", "230");
    drives.PostMessage(WM_COMMAND, 1, 0); // what "CMD#1" posts
    ASSERT_TRUE(WaitUntil([&] { return !drives.IsWindowVisible(); }));
    EXPECT_TRUE(dialog->Manager().IsDriveChosen());
    EXPECT_STREQ(dialog->Manager().DataDb().GetDriveData()->szDriveDef, "TK40^16^230");
}

// A database that gives nothing to choose is closed again, so the next use loads it anew.
TEST_F(SelectionDialogTest, ARefusedDatabaseDoesNotStayOpen)
{
    std::ofstream(folder.Path("Drives.db")) << "VER\t\"1.0\"\n";
    dialog->SetDrive();
    dialog->Manager().GetMotorDb()->Close();
    std::ofstream(folder.Path("Motor.db")) << "VER\t\"1.0\"\n";
    std::ofstream(folder.Path("CustomMotor.db")) << "VER\t\"1.0\"\n";
    dialog->SetMotor();
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Impossibile copiare il drive nella configurazione",
                                                     "Impossibile copiare il motore nella configurazione"}));
    EXPECT_FALSE(dialog->Manager().DriveDb().IsOpen());
    EXPECT_FALSE(dialog->Manager().GetMotorDb()->IsOpen());
}

// The TK40 of 16 A at 230 V is sold with its motor.
class DriveWithMotorTest : public SelectionDialogTest
{
protected:
    void BeforeDialog() override
    {
        folder.Replace("Drives.db", "\"TK40^16^230\"\t\"TK40.jpg\"\t\"0\"",
                       "\"TK40^16^230\"\t\"TK40.jpg\"\t\"1\"");
    }
    void ChooseDriveWithMotor(CDlgDriveSelect& drives)
    {
        Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selDrive", "TK40");
        Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selCurrent", "16");
        Change(drives.DriveWnd(), WM_HTML_SELCHANGE, "selVoltage", "230");
    }
};

// Nothing of the configuration changes before the user agreed to close it.
TEST_F(DriveWithMotorTest, CancelOfTheSaveQuestionTakesNothing)
{
    OpenSample("Samples/TK20.dat");
    CTvskManager& manager = dialog->Manager();
    ASSERT_TRUE(manager.IsMotorChosen());
    manager.SetModified(TRUE);
    ASSERT_EQ(manager.LoadDriveDb(), 0);
    const std::string configured = manager.DriveDb().GetCurrRecord()->szDriveDef;
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    ChooseDriveWithMotor(drives);
    boxes.answers.push_back(IDCANCEL);
    drives.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Salvo la configurazione corrente ?"});
    EXPECT_TRUE(drives.IsWindowVisible());
    EXPECT_EQ(manager.DataDb().GetDriveType().str(), "TK20");
    EXPECT_FALSE(manager.IsDriveWithMotor());
    EXPECT_TRUE(manager.IsMotorChosen());
    EXPECT_TRUE(manager.IsModified());
    drives.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(manager.DriveDb().GetCurrRecord()->szDriveDef, configured) << "Cancel restores the old drive";
    EXPECT_EQ(manager.DataDb().GetDriveType().str(), "TK20");
}

TEST_F(DriveWithMotorTest, AgreeingStartsANewConfigurationForTheDrive)
{
    OpenSample("Samples/TK20.dat");
    CTvskManager& manager = dialog->Manager();
    manager.SetModified(TRUE);
    ASSERT_EQ(manager.LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    ChooseDriveWithMotor(drives);
    boxes.answers.push_back(IDNO);
    drives.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(drives.IsWindowVisible());
    EXPECT_STREQ(manager.DataDb().GetDriveData()->szDriveDef, "TK40^16^230");
    EXPECT_TRUE(manager.IsDriveWithMotor());
    EXPECT_FALSE(manager.IsMotorChosen()) << "a new configuration";
    EXPECT_STREQ(manager.GetFileName(), "");
}

TEST_F(SelectionDialogTest, APageWithoutTitleKeepsTheCaption)
{
    folder.Replace("Common/Drives.htm", "<title id=\"S_3030\">Scelta del drive</title>", "");
    folder.Replace("Common/Drives.htm", "<p id=\"S_3030\">Scelta del drive</p>", "");
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    EXPECT_EQ(drives.GetWindowText().str(), "Select drive");
    drives.DestroyWindow();
}

TEST_F(SelectionDialogTest, ATitledPageNamesTheDialogInTheLanguage)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    CDlgDriveSelect drives(dialog.get());
    ASSERT_TRUE(Open(drives));
    EXPECT_EQ(drives.GetWindowText().str(), "Scelta del drive");
    EXPECT_EQ(Script(drives.DriveWnd(), "document.getElementsByName('CMD#2')[0].value"), "Annulla");
    drives.DestroyWindow();
}

TEST_F(SelectionDialogTest, AMotorTypeRefillsTheLowerSelectsAndTheEncoderIsChosen)
{
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    dialog->Manager().GetMotorDb()->ResetCurrEnc();
    CDlgMotorSelect motors(dialog.get());
    ASSERT_TRUE(Open(motors));
    CMotorHtmlWnd& page = motors.MotorWnd();
    CTvskMotorDb& db = *dialog->Manager().GetMotorDb();
    ASSERT_GT(db.GetEncNumRecs(), 0);
    EXPECT_EQ(Value(page.DataManager(), "selEncoder"), db.GetEncRecord(0)->szCodVrn);
    EXPECT_EQ(db.GetCurrEncoder(), db.GetEncRecord(0)) << "the first encoder becomes current";
    EXPECT_EQ(Options(page, "selEncoder"), db.GetEncNumRecs());
    Change(page, WM_HTML_SELCHANGE, "selType", "MA");
    ASSERT_TRUE(WaitUntil([&] { return Value(page.DataManager(), "selType") == "MA"; }));
    EXPECT_EQ(Options(page, "selSize"), 3) << "90, 100, 112";
    EXPECT_EQ(Value(page.DataManager(), "idD12"),
              std::to_string(static_cast<int>(db.GetCurrRecord()->dblD12)));
    EXPECT_EQ(Options(page, "selEncoder"), db.GetEncNumRecs()) << "every encoder, always";
    motors.DestroyWindow();
}

// The user's motor file, empty or ended without a line end, keeps every motor selectable.
TEST_F(SelectionDialogTest, AnEmptyOrUnendedCustomFileKeepsTheMotorsSelectable)
{
    std::ofstream(folder.Path("CustomMotor.db"), std::ios::trunc).flush();
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0) << dialog->Manager().GetMotorDb()->GetErrorString();
    {
        CDlgMotorSelect motors(dialog.get());
        ASSERT_TRUE(Open(motors));
        EXPECT_EQ(Options(motors.MotorWnd(), "selType"), 3) << "MA, MB and MBH";
        Change(motors.MotorWnd(), WM_HTML_SELCHANGE, "selType", "MA");
        EXPECT_EQ(Value(motors.MotorWnd().DataManager(), "selType"), "MA");
        motors.DestroyWindow();
    }
    dialog->Manager().GetMotorDb()->Close();
    std::ofstream(folder.Path("CustomMotor.db"), std::ios::trunc)
        << "M\t\"MX^80^3000^2.2^400\"\t8\t2.4\t7.2\t7.5\t19\t0.92\t0\t1\t0\t0\t2048\t4500\t30001";
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0) << dialog->Manager().GetMotorDb()->GetErrorString();
    CDlgMotorSelect motors(dialog.get());
    ASSERT_TRUE(Open(motors));
    EXPECT_EQ(Options(motors.MotorWnd(), "selType"), 4);
    Change(motors.MotorWnd(), WM_HTML_SELCHANGE, "selType", "MX");
    ASSERT_TRUE(WaitUntil([&] { return Value(motors.MotorWnd().DataManager(), "selType") == "MX"; }));
    EXPECT_EQ(dialog->Manager().GetMotorDb()->GetCurrRecord()->dblD12, 30001);
    EXPECT_TRUE(boxes.texts.empty());
    motors.DestroyWindow();
}

TEST_F(SelectionDialogTest, AMotorAboveTheDriveAsks2077)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    CDlgMotorSelect motors(dialog.get());
    ASSERT_TRUE(Open(motors));
    Change(motors.MotorWnd(), WM_HTML_SELCHANGE, "selType", "MB");
    Change(motors.MotorWnd(), WM_HTML_SELCHANGE, "selSize", "142");
    boxes.answers.push_back(IDCANCEL);
    motors.SendMessage(WM_COMMAND, IDOK, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Corrente nominale motore incompatibile con il drive selezionato\nProseguire?");
    EXPECT_TRUE(motors.IsWindowVisible());
    motors.DestroyWindow();
}

TEST_F(SelectionDialogTest, TheRadioDatumIsReadAsADecimalIntegerAndNoNumberIsZero)
{
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    CDlgMotorSelect motors(dialog.get());
    ASSERT_TRUE(Open(motors));
    Change(motors.MotorWnd(), WM_HTML_RADIOCHANGE, "idD6", "1");
    EXPECT_DOUBLE_EQ(dialog->Manager().GetMotorValue(6), 1);
    Change(motors.MotorWnd(), WM_HTML_RADIOCHANGE, "idD6", "abc");
    EXPECT_DOUBLE_EQ(dialog->Manager().GetMotorValue(6), 0);
    Change(motors.MotorWnd(), WM_HTML_RADIOCHANGE, "idD6", "2x");
    EXPECT_DOUBLE_EQ(dialog->Manager().GetMotorValue(6), 2);
    Change(motors.MotorWnd(), WM_HTML_RADIOCHANGE, "idD5", "abc");
    EXPECT_DOUBLE_EQ(dialog->Manager().GetMotorValue(6), 2) << "only idD6";
    motors.DestroyWindow();
}

// Records the help topics the selection dialogs ask their parent for.
class HelpRecorder : public CWnd
{
public:
    HelpRecorder() { CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~HelpRecorder() override { DestroyWindow(); }
    std::vector<std::string> topics;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_HTML_HELP)
            return CWnd::WindowProc(message, wParam, lParam);
        topics.push_back(reinterpret_cast<const char*>(lParam));
        return 1;
    }
};

TEST_F(SelectionDialogTest, F1AsksTheMainDialogForTheTopic)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    HelpRecorder main;
    CDlgDriveSelect drives(&main);
    ASSERT_TRUE(Open(drives, &main));
    CDlgMotorSelect motors(&main);
    ASSERT_TRUE(Open(motors, &main));
    HELPINFO info;
    drives.DriveWnd().SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    motors.MotorWnd().SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(main.topics, (std::vector<std::string>{"Drives", "Motors"}));
    drives.DestroyWindow();
    motors.DestroyWindow();
}

TEST_F(SelectionDialogTest, F1InTheConnectionChoiceAsksForTheConnectionTopic)
{
    HelpRecorder main;
    CDlgConnChoice choice(&dialog->Manager(), &main);
    QTimer::singleShot(100,
                       [&]
                       {
                           HELPINFO info;
                           choice.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
                           choice.SendMessage(WM_COMMAND, IDOK, 0);
                       });
    EXPECT_EQ(choice.DoModal(), IDOK);
    EXPECT_EQ(main.topics, std::vector<std::string>{"Connection"});
}

// The main dialog's drive selection: the databases opened for the dialog and closed after it, the
// choice taken at OK and shown on the status page.
TEST_F(SelectionDialogTest, SetDriveRunsTheDialogAndShowsTheChoice)
{
    QTimer poll;
    bool pressed = false;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         auto* drives =
                             modal ? dynamic_cast<CDlgDriveSelect*>(CWnd::FromWidget(modal)) : nullptr;
                         if (pressed || !drives || drives->DriveWnd().DataManager().ControlsNum() == 0)
                             return;
                         pressed = true;
                         Change(drives->DriveWnd(), WM_HTML_SELCHANGE, "selDrive", "TK40");
                         drives->PostMessage(WM_COMMAND, IDOK, 0);
                     });
    poll.start(20);
    dialog->SetDrive();
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(dialog->Manager().IsDriveChosen());
    EXPECT_EQ(dialog->Manager().DataDb().GetDriveType().str(), "TK40");
    EXPECT_FALSE(dialog->Manager().DriveDb().IsOpen());
    EXPECT_EQ(Value(dialog->StatusPageWnd().DataManager(), "strDriveData"),
              dialog->Manager().GetDriveDescription().str());
    EXPECT_NE(dialog->Manager().GetDriveDescription().Find("TK40"), -1);
}

// The start page's drive button: the object answers the page at once and the dialog runs on the
// next turn of the event loop.
TEST_F(SelectionDialogTest, ThePagesDriveButtonAnswersAtOnceAndTheDialogRunsAfter)
{
    QTimer poll;
    bool pressed = false;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         auto* drives =
                             modal ? dynamic_cast<CDlgDriveSelect*>(CWnd::FromWidget(modal)) : nullptr;
                         if (pressed || !drives || drives->DriveWnd().DataManager().ControlsNum() == 0)
                             return;
                         pressed = true;
                         Change(drives->DriveWnd(), WM_HTML_SELCHANGE, "selDrive", "TK40");
                         drives->PostMessage(WM_COMMAND, IDOK, 0);
                     });
    poll.start(20);
    EXPECT_EQ(dialog->Manager().GetIntf()->SetDrive(), S_OK);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(pressed);
    ASSERT_TRUE(WaitUntil([&] { return pressed && dialog->Manager().IsDriveChosen(); }));
    EXPECT_EQ(dialog->Manager().DataDb().GetDriveType().str(), "TK40");

    pressed = false;
    dialog->Manager().NewFile();
    EXPECT_EQ(Script(dialog->MainPageWnd(), "window.external.SetDrive(); 'answered'"), "answered");
    ASSERT_TRUE(WaitUntil([&] { return pressed && dialog->Manager().IsDriveChosen(); }));
}

// The page's "Ok" reaches the window that owns the host's boxes as its OK button.
TEST_F(SelectionDialogTest, OkFromAPageEndsTheBoxOwnersDialog)
{
    CDlgConnChoice choice(&dialog->Manager(), dialog.get());
    QTimer::singleShot(100,
                       [&]
                       {
                           dialog->Manager().PushParentWnd(&choice);
                           LONG result = -1;
                           BSTR word = tvsk::com::BstrFromUtf8("Ok");
                           dialog->Manager().GetIntf()->ExecHtmlCommand(word, &result);
                           SysFreeString(word);
                           dialog->Manager().PopParentWnd();
                       });
    EXPECT_EQ(choice.DoModal(), IDOK);
}

// The recent files the page lists: only the ones there are, empty past the last.
TEST_F(SelectionDialogTest, TheRecentFilesAreTheListsEntries)
{
    CRecentFileList* recent = AfxGetApp()->m_pRecentFileList.get();
    ASSERT_NE(recent, nullptr);
    recent->Add("/tmp/a.par");
    recent->Add("/tmp/b.par");
    LONG count = 0;
    dialog->Manager().GetIntf()->get_MRUNum(&count);
    EXPECT_EQ(count, 2);
    BSTR item = nullptr;
    dialog->Manager().GetIntf()->get_MRUItem(0, &item);
    EXPECT_EQ(tvsk::com::Utf8FromBstr(item), "/tmp/b.par");
    SysFreeString(item);
    dialog->Manager().GetIntf()->get_MRUItem(2, &item);
    EXPECT_EQ(tvsk::com::Utf8FromBstr(item), "");
    SysFreeString(item);
}

// Each button of the connection choice ends it with its result; Escape cancels.
TEST_F(SelectionDialogTest, TheConnectionChoiceAnswersByButton)
{
    const std::pair<UINT, int> buttons[] = {{IDC_CONN_READ, 100},
                                            {IDC_CONN_WRITE, 101},
                                            {IDC_CONN_COMPARE_DRIVE, 102},
                                            {IDC_CONN_COMPARE_FILE, 103},
                                            {IDOK, IDOK}};
    for (const auto& [id, result] : buttons)
    {
        CDlgConnChoice choice(&dialog->Manager(), dialog.get());
        std::string caption;
        std::string exitText;
        QTimer::singleShot(100,
                           [&, id = id]
                           {
                               caption = choice.GetWindowText().str();
                               exitText = choice.GetDlgItem(IDOK)->GetWindowText().str();
                               choice.SendMessage(WM_COMMAND, id, 0);
                           });
        EXPECT_EQ(choice.DoModal(), result) << id;
        EXPECT_EQ(caption, "Connessione");
        EXPECT_EQ(exitText, "Esci");
    }
    CDlgConnChoice choice(&dialog->Manager(), dialog.get());
    QTimer::singleShot(100, [&] { QTest::keyClick(choice.GetWidget(), Qt::Key_Escape); });
    EXPECT_EQ(choice.DoModal(), IDCANCEL);
}

} // namespace

TEST_F(SelectionDialogTest, EveryDataFieldIsNamedWithItsUnitWholeInEachLanguage)
{
    ASSERT_EQ(dialog->Manager().LoadDriveDb(), 0);
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    for (const int language : {0, 1})
    {
        ASSERT_TRUE(language == 0 || dialog->Manager().ChangeLanguage(language));
        const auto expected = [&](std::initializer_list<std::pair<int, int>> ranges)
        {
            QStringList rows;
            for (const auto [first, last] : ranges)
                for (int id = first; id <= last; ++id)
                {
                    CString text;
                    dialog->Manager().GetString(static_cast<UINT>(id), text);
                    rows << QString::fromStdString(text.str()) + "|true";
                }
            return rows.join("\n");
        };

        CDlgDriveSelect drives(dialog.get());
        ASSERT_TRUE(Open(drives));
        EXPECT_EQ(DataLabels(drives.DriveWnd()), expected({{3060, 3079}})) << language;
        EXPECT_TRUE(DataLabels(drives.DriveWnd())
                        .contains(language == 0 ? "Corrente di picco [A]" : "Peak current [A]"));
        drives.DestroyWindow();

        CDlgMotorSelect motors(dialog.get());
        ASSERT_TRUE(Open(motors));
        Change(motors.MotorWnd(), WM_HTML_SELCHANGE, "selVel", "6000"); // a motor with an encoder
        EXPECT_EQ(DataLabels(motors.MotorWnd()),
                  expected({{3080, 3085}, {3050, 3050}, {3087, 3099}, {3100, 3104}}))
            << language;
        EXPECT_EQ(Script(motors.MotorWnd(), "const t = document.getElementById('strMotorType');"
                                            " t.scrollWidth <= t.clientWidth && t.value.length > 0"),
                  "true");
        motors.DestroyWindow();
    }
}

// The encoder's kind and description are texts of the motors database's language.
TEST_F(SelectionDialogTest, TheEncoderDataAreShownInTheLanguage)
{
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    dialog->Manager().GetMotorDb()->SetCurrEncoder("ABS22");
    struct Shown
    {
        int language;
        const char* kind;
        const char* description;
    };
    for (const Shown& shown : {Shown{0, "Assoluto", "Encoder assoluto seriale 22 bit multigiro"},
                               Shown{1, "Absolute", "Serial multiturn absolute encoder 22 bit"}})
    {
        ASSERT_TRUE(shown.language == 0 || dialog->Manager().ChangeLanguage(shown.language));
        CDlgMotorSelect motors(dialog.get());
        ASSERT_TRUE(Open(motors));
        EXPECT_EQ(Value(motors.MotorWnd().DataManager(), "idE0"), shown.kind);
        EXPECT_EQ(Value(motors.MotorWnd().DataManager(), "idE4"), shown.description);
        EXPECT_EQ(Value(motors.MotorWnd().DataManager(), "idE3"), "4096") << "a number stays as it is";
        motors.DestroyWindow();
    }
}
