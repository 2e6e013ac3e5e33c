// The main dialog recognises the drive and motor of the simulated drive and starts the wizard on
// them, and runs a long transfer in its progress window: the real protocol object, Porthaven, a
// pseudo-terminal and drivesim.
#include "ManagerTestSupport.h"
#include "PageComponents.h"

#include <Tarveskon/DlgSaveAndDownload.h>
#include <Tarveskon/TarveskonDlg.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskStrings.h>

#include <protocol/ConfigDialog.h>
#include <protocol/SettingsString.h>
#include <protocol/tests/DriveChain.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/App.h>
#include <ui/Controls.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>
#include <web/engine/WebBrowser.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <deque>
#include <fstream>
#include <memory>
#include <optional>

#include <dlfcn.h>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

using tvsk::testing::ProgramFolder;

using Clock = std::chrono::steady_clock;

long Pointer(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

// Settings for the chain's port and the simulated drive's line.
class ChainConfigDialog : public CConfigDialog
{
public:
    bool Edit(CDriveSettings& settings, CAutodetectTarget&) override
    {
        settings.portCode = kSerialPortCodeBase + CDriveChain::Port;
        settings.baudRate = 9600;
        settings.address = 0;
        settings.timeOut = 200;
        return true;
    }
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

class TarveskonRecognitionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        ASSERT_TRUE(chain->StartDrive()) << chain->Error();
        m_module = ::dlopen(VRNSER_COMPONENT, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_module, nullptr);
        m_setHook = reinterpret_cast<SetHook>(::dlsym(m_module, "VrnSerSetConfigDialog"));
        ASSERT_NE(m_setHook, nullptr);
        m_setHook(&settingsDialog);
        AfxGetApp()->SetRegistryKey("MurnApps");
        tvsk::testing::PreparePageComponents();
        RegisterTvskStrings();
        AfxGetApp()->LoadStdProfileSettings(8);
        AfxSetMessageBoxSink(&boxes);
        folder = std::make_unique<ProgramFolder>();
        dialog = std::make_unique<CTarveskonDlg>(folder->Dir().c_str());
        ASSERT_TRUE(dialog->Create(IDD_TARVESKON_DIALOG));
    }
    void TearDown() override
    {
        if (dialog && dialog->GetSafeHwnd())
            dialog->DestroyWindow();
        dialog.reset();
        AfxSetMessageBoxSink(nullptr);
        if (m_setHook)
            m_setHook(nullptr);
        if (m_module)
            ::dlclose(m_module);
        EXPECT_EQ(chain->StopDrive(), 0);
        EXPECT_TRUE(chain->NothingLeftWithin(60000));
        chain.reset();
    }
    void Command(const char* word) { dialog->SendMessage(WM_HTML_COMMAND, 0, Pointer(word)); }
    // Words of the simulated drive written through a link of their own.
    void SetDriveWord(int address, long value)
    {
        CTvskManager& manager = dialog->Manager();
        ASSERT_EQ(manager.Connect(ChainSettings(0).c_str()), 0);
        EXPECT_EQ(manager.SendCommand(15, (16L << 16) + address, value), 0);
        manager.Disconnect();
    }
    bool MainShows(const std::string& page)
    {
        const std::string expected = folder->Dir() + "/" + page;
        return WaitUntil(
            [&]
            {
                const std::string url = dialog->MainPageWnd().GetLocationURL().str();
                return url.size() >= expected.size() &&
                       url.compare(url.size() - expected.size(), expected.size(), expected) == 0;
            });
    }

    // A control's text on a page once the page is bound.
    static std::string Text(CHtmlWnd& wnd, CHtmlDataManager& html, const char* name)
    {
        CString text;
        if (!WaitUntil([&] { return !wnd.GetBusy() && html.ControlsNum() > 0; }))
            return "<none>";
        if (html.ControlType(name) != HTMLCTRL_TEXT || !html.GetRawText(name, text))
            html.GetText(name, text);
        return text.str();
    }
    std::string Status(const char* name)
    {
        return Text(dialog->StatusPageWnd(), dialog->StatusPageWnd().DataManager(), name);
    }
    // The picture file a start page's image element shows.
    std::string MainPicture(const char* name)
    {
        CHtmlWnd& wnd = dialog->MainPageWnd();
        WaitUntil([&] { return !wnd.GetBusy() && dialog->MainPageWnd().DataManager().ControlsNum() > 0; });
        auto result = std::make_shared<std::optional<QString>>();
        wnd.Browser()->View()->page()->runJavaScript(
            QString("document.getElementsByName('%1')[0].src").arg(name),
            [result](const QVariant& v) { *result = v.toString(); });
        WaitUntil([&] { return result->has_value(); });
        return result->value_or(QString()).section('/', -1).toStdString();
    }

    std::unique_ptr<CDriveChain> chain;
    ChainConfigDialog settingsDialog;
    RecordedBoxes boxes;
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<CTarveskonDlg> dialog;

private:
    using SetHook = CConfigDialog* (*)(CConfigDialog*);
    void* m_module = nullptr;
    SetHook m_setHook = nullptr;
};

TEST_F(TarveskonRecognitionTest, RecognisesDriveAndMotorAndStartsTheWizard)
{
    Command("ConfigConn");
    SetDriveWord(60, 103);
    SetDriveWord(61, 2);

    Command("UploadDrive");
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_FALSE(dialog->Manager().IsConnected()) << "the link is closed after the read";
    EXPECT_TRUE(dialog->Manager().IsDriveChosen());
    EXPECT_STREQ(dialog->Manager().DataDb().GetDrive(), "TK20^5^230");

    Command("UploadMotor");
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_FALSE(dialog->Manager().IsConnected());
    ASSERT_TRUE(dialog->Manager().IsMotorChosen());
    EXPECT_STREQ(dialog->Manager().DataDb().GetMotorData()->szMotorDef, "MB^71^3000^1.3^230");
    ASSERT_NE(dialog->Manager().DataDb().GetEncoderData(), nullptr);
    EXPECT_STREQ(dialog->Manager().DataDb().GetEncoderData()->szCodVrn, "TTL2048");

    dialog->SendMessage(WM_COMMAND, ID_START_WIZARD, 0);
    EXPECT_TRUE(MainShows("TK20/TK20_ITA.htm"));
    EXPECT_FALSE(dialog->IsStartPageShown());
    const DBPAR* current = dialog->Manager().ParDb().GetPar("Pr33", true);
    ASSERT_NE(current, nullptr);
    EXPECT_DOUBLE_EQ(current->dblDefVal, 2.6);
    EXPECT_TRUE(dialog->Manager().IsModified());
}

TEST_F(TarveskonRecognitionTest, AnUnknownDriveCodeIsSaid)
{
    testing::internal::CaptureStderr();
    Command("ConfigConn");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("ProgramError"), std::string::npos);
    SetDriveWord(0xA7, 1234);
    Command("UploadDrive");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Drive sconosciuto");
    EXPECT_FALSE(dialog->Manager().IsDriveChosen());
}

TEST_F(TarveskonRecognitionTest, TheDrivesDatabaseMustBeThereAndHoldDrives)
{
    Command("ConfigConn");
    folder->Remove("Drives.db");
    Command("UploadDrive");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Database drives non trovato");
    std::ofstream(folder->Path("Drives.db")) << "VER\t\"1.0\"\n";
    Command("UploadDrive");
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "Il database drives non contiene drives");
    EXPECT_FALSE(dialog->Manager().IsDriveChosen());
    EXPECT_FALSE(dialog->Manager().DriveDb().IsOpen()) << "the refused database is closed";
    std::filesystem::copy_file(TVSK_SAMPLE_DATA_DIR "/Drives.db", folder->Path("Drives.db"),
                               std::filesystem::copy_options::overwrite_existing);
    Command("UploadDrive");
    EXPECT_EQ(boxes.texts.size(), 2u) << boxes.texts.back();
    EXPECT_TRUE(dialog->Manager().IsDriveChosen()) << "the mended database is read";
}

TEST_F(TarveskonRecognitionTest, MotorRecognitionFirstInARunFindsNoMaps)
{
    ASSERT_EQ(dialog->Manager().OpenFile(folder->Path("Samples/TK20.dat").c_str()), 0);
    dialog->Manager().ParDb().SetCommSettings(ChainSettings(0).c_str());
    Command("UploadMotor");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Riconoscimento del motore non disponibile per questo drive");
    EXPECT_FALSE(dialog->Manager().IsConnected());
}

TEST_F(TarveskonRecognitionTest, RecognitionsRefreshTheStatusStringsAndPictures)
{
    Command("ConfigConn");
    SetDriveWord(60, 103);
    SetDriveWord(61, 2);
    ASSERT_EQ(Status("strDriveData"), "");
    Command("UploadDrive");
    ASSERT_TRUE(dialog->Manager().IsDriveChosen());
    EXPECT_EQ(Status("strDriveData"), dialog->Manager().GetDriveDescription().str());
    EXPECT_NE(Status("strDriveData"), "");
    const std::string drivePicture = dialog->Manager().DataDb().GetDriveImg().str();
    ASSERT_FALSE(drivePicture.empty());
    EXPECT_EQ(MainPicture("imgDriveType"), drivePicture);

    Command("UploadMotor");
    ASSERT_TRUE(dialog->Manager().IsMotorChosen());
    EXPECT_EQ(Status("strMotorData"), dialog->Manager().GetMotorDescription().str());
    EXPECT_NE(Status("strMotorData"), "");
    EXPECT_EQ(MainPicture("imgMotorType"), "MB.jpg");
}

TEST_F(TarveskonRecognitionTest, SettingsLeftUnchangedKeepTheDialogsSettingsText)
{
    Command("ConfigConn");
    const std::string description =
        dialog->Manager().GetConnectionDescription(ChainSettings(0).c_str()).str();
    EXPECT_EQ(Status("strCommConf"), description);

    // OK with the same settings: the dialog keeps its text, so the drive is still reached.
    Command("ConfigConn");
    EXPECT_EQ(Status("strCommConf"), description);
    Command("UploadDrive");
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_TRUE(dialog->Manager().IsDriveChosen());
}

TEST_F(TarveskonRecognitionTest, ACamDownloadOnALateLineShowsItsProgressAndACancelClickStopsItWithinASecond)
{
    using Clock = std::chrono::steady_clock;
    ASSERT_EQ(chain->StopDrive(), 0);
    ASSERT_TRUE(chain->StartDrive({"--delay", "400"})) << chain->Error();
    dialog->ShowWindow(SW_SHOW);
    CTvskManager& manager = dialog->Manager();
    ASSERT_EQ(manager.OpenFile(folder->Path("Samples/TK40Cam.dat").c_str()), 0);
    manager.ParDb().SetCommSettings(ChainSettings(0, 1500).c_str());
    ASSERT_EQ(manager.Connect(""), 0);

    // The progress window as a user sees it: its texts, then a click on its button.
    std::vector<std::string> seen;
    Clock::time_point firstSeen{};
    Clock::time_point clicked{};
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&]
                     {
                         QWidget* window = QApplication::activeModalWidget();
                         if (!window || clicked != Clock::time_point{})
                             return;
                         int written = 0;
                         for (QLabel* label : window->findChildren<QLabel*>())
                             if (!label->text().isEmpty())
                             {
                                 seen.push_back(label->text().toStdString());
                                 const QRegularExpressionMatch count =
                                     QRegularExpression("(\\d+) di 1028").match(label->text());
                                 if (count.hasMatch())
                                     written = count.captured(1).toInt();
                             }
                         if (firstSeen == Clock::time_point{})
                             firstSeen = Clock::now();
                         // Once the first points are in the drive (the check reads one of them),
                         // however slowly a loaded machine gets there.
                         auto* button = window->findChild<QPushButton*>();
                         if (button && Clock::now() - firstSeen > std::chrono::milliseconds(1900) &&
                             written > 4)
                         {
                             clicked = Clock::now();
                             QTest::mouseClick(button, Qt::LeftButton);
                         }
                     });
    watch.start(50);
    EXPECT_EQ(manager.DownloadCams(), FALSE);
    const auto ended = Clock::now();
    watch.stop();
    ASSERT_NE(clicked, Clock::time_point{}) << "the progress window came up with its button";
    EXPECT_LT(ended - clicked, std::chrono::milliseconds(1000));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the window is gone";

    const auto shows = [&](const std::string& text)
    {
        return std::any_of(seen.begin(), seen.end(),
                           [&](const std::string& s) { return s.find(text) != s.npos; });
    };
    EXPECT_TRUE(shows("Scrittura dati camme in corso ..."));
    EXPECT_TRUE(shows(" di 1028"));
    EXPECT_TRUE(shows("La linea è molto più lenta della sua velocità nominale"));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("Scrittura camme annullata: il drive contiene i primi ", 0), 0u)
        << boxes.texts[0];
    double value = 0;
    EXPECT_EQ(manager.SendCommand(14, (16L << 16) + 2048 + 3, Pointer(&value)), 0)
        << "the next read is clean";
    EXPECT_EQ(value, 150);
}

// A long transfer's progress window as a user meets it: its texts, the longest time the program
// went without taking an event, and a click on its Cancel once it was up for a while.
class ProgressWatch
{
public:
    explicit ProgressWatch(std::chrono::milliseconds clickAfter) : m_clickAfter(clickAfter)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
        m_timer.start(50);
    }
    bool Shows(const std::string& text) const
    {
        return std::any_of(seen.begin(), seen.end(),
                           [&](const std::string& s) { return s.find(text) != s.npos; });
    }
    void Stop() { m_timer.stop(); }

    std::vector<std::string> seen;
    Clock::time_point clicked{};
    Clock::duration longestGap{};

private:
    void Tick()
    {
        const auto now = Clock::now();
        if (m_lastTick != Clock::time_point{})
            longestGap = std::max(longestGap, now - m_lastTick);
        m_lastTick = now;
        QWidget* window = QApplication::activeModalWidget();
        if (!window || clicked != Clock::time_point{})
            return;
        for (QLabel* label : window->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                seen.push_back(label->text().toStdString());
        if (m_firstSeen == Clock::time_point{})
            m_firstSeen = now;
        auto* button = window->findChild<QPushButton*>();
        if (button && now - m_firstSeen > m_clickAfter)
        {
            clicked = now;
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }

    QTimer m_timer;
    std::chrono::milliseconds m_clickAfter;
    Clock::time_point m_firstSeen{};
    Clock::time_point m_lastTick{};
};

TEST_F(TarveskonRecognitionTest, GoingOnLineOnALateLineTakesInputAndACancelClickStopsItAndSaysWhatWasRead)
{
    ASSERT_EQ(chain->StopDrive(), 0);
    const std::string journal = folder->Path("journal");
    ASSERT_TRUE(chain->StartDrive({"--delay", "150", "--journal", journal})) << chain->Error();
    dialog->ShowWindow(SW_SHOW);
    CTvskManager& manager = dialog->Manager();
    ASSERT_EQ(manager.OpenFile(folder->Path("Samples/TK40.dat").c_str()), 0);
    manager.ParDb().SetCommSettings(ChainSettings(0, 1500).c_str());
    ASSERT_EQ(manager.Connect(""), 0);
    const size_t linesBefore = JournalLines(journal).size();

    boxes.answers = {IDYES};
    ProgressWatch watch(std::chrono::milliseconds(1500));
    manager.GoOnline(nullptr);
    const auto ended = Clock::now();
    watch.Stop();
    ASSERT_NE(watch.clicked, Clock::time_point{}) << "the progress window came up with its button";
    EXPECT_LT(ended - watch.clicked, std::chrono::milliseconds(1000));
    EXPECT_LT(watch.longestGap, std::chrono::milliseconds(1000)) << "the program took events all along";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the window is gone";
    EXPECT_TRUE(watch.Shows("Lettura parametri in corso ..."));
    EXPECT_TRUE(watch.Shows(" di "));
    ASSERT_EQ(boxes.texts.size(), 2u);
    const std::string told = boxes.texts[1];
    ASSERT_EQ(told.rfind("Lettura dal drive annullata dopo ", 0), 0u) << told;
    // What the drive served from the operating mode on is what the count says: the status page's
    // polls (one may come while the question is up) wait meanwhile.
    const std::vector<std::string> lines = JournalLines(journal);
    const auto startsWith = [](const char* prefix)
    { return [prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; }; };
    const auto mode =
        std::find_if(lines.begin() + static_cast<long>(linesBefore), lines.end(), startsWith("read 1 16 "));
    const int reads = static_cast<int>(std::count_if(mode, lines.end(), startsWith("read ")));
    const int count = std::atoi(told.c_str() + std::strlen("Lettura dal drive annullata dopo "));
    EXPECT_EQ(count, reads);
    EXPECT_NE(told.find(" letture: gli altri parametri e il programma LumoPLC della configurazione non sono "
                        "stati letti dal drive"),
              std::string::npos)
        << told;
    EXPECT_TRUE(manager.IsConnected());
}

TEST_F(TarveskonRecognitionTest, ACancelledStepOfTheDownloadEndsItAndNamesWhatWasNotSent)
{
    ASSERT_EQ(chain->StopDrive(), 0);
    const std::string journal = folder->Path("journal");
    ASSERT_TRUE(chain->StartDrive({"--delay", "150", "--journal", journal})) << chain->Error();
    dialog->ShowWindow(SW_SHOW);
    CTvskManager& manager = dialog->Manager();
    ASSERT_EQ(manager.OpenFile(folder->Path("Samples/TK40Cam.dat").c_str()), 0);
    manager.ParDb().SetCommSettings(ChainSettings(0, 1500).c_str());
    ASSERT_EQ(manager.Connect(""), 0);

    CDlgSaveAndDownload save(dialog.get());
    save.SetHost(&manager);
    ASSERT_TRUE(save.Create(IDD_SAVE_AND_DOWNLOAD, dialog.get()));
    for (const UINT box : {IDC_DOWNLOAD_PARAMS, IDC_DOWNLOAD_CAMS})
    {
        static_cast<CButton*>(save.GetDlgItem(box))->SetCheck(BST_CHECKED);
        save.SendMessage(WM_COMMAND, MAKEWPARAM(box, BN_CLICKED), 0);
    }
    const size_t from = JournalCount(journal, "write ");
    ProgressWatch watch(std::chrono::milliseconds(1000));
    save.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD, BN_CLICKED), 0);
    watch.Stop();
    ASSERT_NE(watch.clicked, Clock::time_point{});
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0].rfind("Scrittura parametri annullata dopo ", 0), 0u) << boxes.texts[0];
    EXPECT_EQ(boxes.texts[1], "Invio interrotto: non sono stati inviati al drive: Camma");
    const size_t written = JournalCount(journal, "write ") - from;
    EXPECT_GT(written, 0u);
    EXPECT_EQ(JournalCount(journal, "write 2048 "), 0u) << "no cam point went out";
    EXPECT_NE(boxes.texts[0].find(" " + std::to_string(written) + " parametri su "), std::string::npos)
        << boxes.texts[0];
    EXPECT_TRUE(manager.IsConnected()) << "a connection found open stays";
    save.DestroyWindow();
}

} // namespace
