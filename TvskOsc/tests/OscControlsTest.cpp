// The oscilloscope dialog's controls as a user works them, against drivesim's sample stream: the
// trigger modes, the 1-2-5 spin arrows, Enter in the fields, the mode buttons and Cancel while
// recording.
#include <TvskOsc/ui/DlgOscilloscope.h>
#include <TvskOsc/ui/OscIds.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>
#include <kernel/SharedLibrary.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>
#include <ui/FileDialog.h>
#include <ui/MessageBox.h>

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace
{
// The application object: keys pass the dialog's pre-translation as in the program.
const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

class CBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text.str());
        return IDOK;
    }
    std::vector<std::string> asked;
};

// Answers every file box with the path set last.
class CChosenFile : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        dialog.SetResult(path.c_str(), 1);
        return IDOK;
    }
    std::string path;
};

class OscControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        CSharedLibrary graph;
        ASSERT_TRUE(graph.Open(TVSK_BIN_DIR "/ZoGraph4.so"));
        auto* registerServer = reinterpret_cast<HRESULT (*)()>(graph.Symbol("DllRegisterServer"));
        ASSERT_TRUE(registerServer && SUCCEEDED(registerServer()));
        char pattern[] = "/tmp/tvsk-osccontrols-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        manager = std::make_unique<CTvskManager>(dir.c_str());
        manager->SetHostUi(&ui);
        ASSERT_EQ(manager->OpenFile((dir + "/Samples/TK20.dat").c_str()), 0);
        previous = AfxSetMessageBoxSink(&boxes);
        ASSERT_TRUE(chain->StartDrive({"--line", "38400,E,8,1"})) << chain->Error();
        manager->ParDb().SetCommSettings(("VrnSer:0," + std::to_string(kPatientReplyTimeOut) +
                                          "#COM:" + std::to_string(CDriveChain::Port) + ",38400,E,8,1")
                                             .c_str());
        ASSERT_EQ(manager->Connect(""), 0);
    }
    void TearDown() override
    {
        proxy.Reset();
        AfxSetMessageBoxSink(previous);
        manager.reset();
        chain->StopDrive();
        chain.reset();
        std::filesystem::remove_all(dir);
    }
    // Runs the plug-in and does the step inside its dialog's loop; the dialog ends after it.
    void Run(std::function<void(CDlgOscilloscope&)> step)
    {
        CPluginImpl* plugin = proxy.CreateLoader("TvskOsc.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        bool stepped = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout,
                         [&]
                         {
                             auto* dialog = dynamic_cast<CDlgOscilloscope*>(
                                 CWnd::FromWidget(QApplication::activeModalWidget()));
                             if (!dialog)
                                 return;
                             stepped = true;
                             step(*dialog);
                             if (dialog->IsRunning())
                                 dialog->OnRunStop();
                             dialog->EndDialog(IDCANCEL);
                         });
        timer.start(50);
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager.get()), 0);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
        EXPECT_TRUE(stepped);
    }
    // A click on a button of the dialog, as the mouse gives it.
    static void Press(CDlgOscilloscope& dialog, UINT id)
    {
        CWnd* control = dialog.GetDlgItem(id);
        auto* button = control ? qobject_cast<QAbstractButton*>(control->GetWidget()) : nullptr;
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    // A click on the up or down arrow of a spin control.
    static void Arrow(CDlgOscilloscope& dialog, UINT spin, bool up)
    {
        CWnd* control = dialog.GetDlgItem(spin);
        ASSERT_NE(control, nullptr) << spin;
        for (QToolButton* arrow : control->GetWidget()->findChildren<QToolButton*>())
            if (arrow->arrowType() == (up ? Qt::UpArrow : Qt::DownArrow))
                arrow->click();
    }
    static std::string Text(CDlgOscilloscope& dialog, UINT id)
    {
        CString text;
        dialog.GetDlgItemText(id, text);
        return text.str();
    }
    // Types the text into a field and presses Enter there.
    void Enter(CDlgOscilloscope& dialog, UINT id, const char* text)
    {
        dialog.SetDlgItemText(id, text);
        Focus(dialog, id);
        Key(dialog, id, Qt::Key_Return);
    }
    static void Focus(CDlgOscilloscope& dialog, UINT id)
    {
        CWnd* field = dialog.GetDlgItem(id);
        ASSERT_NE(field, nullptr);
        dialog.GetWidget()->activateWindow();
        field->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return dialog.GetFocus() == field; })) << "the field has the focus";
    }
    // One key pressed and released in a control, as the keyboard gives it.
    void Key(CDlgOscilloscope& dialog, UINT id, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString())
    {
        CWnd* field = dialog.GetDlgItem(id);
        ASSERT_NE(field, nullptr);
        // Kept alive: the window layer passes an event once, known by its address.
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        {
            keys.push_back(std::make_unique<QKeyEvent>(type, key, modifiers, text));
            QApplication::sendEvent(field->GetWidget(), keys.back().get());
        }
    }
    // Digits typed one by one into the focused field.
    void Type(CDlgOscilloscope& dialog, UINT id, const char* digits)
    {
        for (const char* digit = digits; *digit; ++digit)
            Key(dialog, id, Qt::Key_0 + (*digit - '0'), Qt::NoModifier, QString(QChar(*digit)));
    }
    // One tick of the 200 ms timer has passed: it puts the acquisition count back into its field.
    static bool TickPassed(CDlgOscilloscope& dialog)
    {
        dialog.SetDlgItemText(IDC_OSC_ACQUISITIONS, "?");
        return WaitUntil([&] { return Text(dialog, IDC_OSC_ACQUISITIONS) != "?"; }, 20000);
    }
    long DriveWord(int address)
    {
        double value = -1;
        EXPECT_TRUE(manager->ReadAddr(address, 0, 16, &value));
        return static_cast<long>(value);
    }

    std::unique_ptr<CDriveChain> chain;
    std::string dir;
    CTvskHeadlessUi ui;
    std::unique_ptr<CTvskManager> manager;
    CBoxes boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
    std::vector<std::unique_ptr<QKeyEvent>> keys;
};
} // namespace

// The current ramps through 0 every 200 samples: single mode captures once and stops.
TEST_F(OscControlsTest, SingleModeStopsAfterOneCapture)
{
    bool stopped = false;
    int acquisitions = -1;
    int state = -1;
    std::string shown;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            Press(dialog, IDC_OSC_SRC_CH2);
            Press(dialog, IDC_OSC_MODE_SINGLE);
            ASSERT_EQ(dialog.Acquisition().GetMode(), OSC_TRIG_SINGLE);
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            ASSERT_TRUE(dialog.IsRunning());
            stopped = WaitUntil([&] { return !dialog.IsRunning(); });
            acquisitions = dialog.Acquisition().Acquisitions();
            WaitUntil([&] { return dialog.StateRow() == 1; });
            state = dialog.StateRow();
            shown = Text(dialog, IDC_OSC_ACQUISITIONS);
        });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(acquisitions, 1);
    EXPECT_EQ(state, 1); // STOP
    EXPECT_EQ(shown, "1");
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(OscControlsTest, SpinArrowsStepThroughOneTwoFive)
{
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            EXPECT_EQ(Text(dialog, IDC_OSC_CH2_DIV), "25");
            Arrow(dialog, IDC_OSC_CH2_SPIN, true);
            EXPECT_EQ(Text(dialog, IDC_OSC_CH2_DIV), "50");
            EXPECT_DOUBLE_EQ(dialog.Settings().m_Ranges[1].dMin, -250) << "the zero line stays";
            EXPECT_DOUBLE_EQ(dialog.Settings().m_Ranges[1].dMax, 250);
            Arrow(dialog, IDC_OSC_CH2_SPIN, false);
            EXPECT_EQ(Text(dialog, IDC_OSC_CH2_DIV), "20");
            Arrow(dialog, IDC_OSC_CH2_SPIN, false);
            EXPECT_EQ(Text(dialog, IDC_OSC_CH2_DIV), "10");

            EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), "100");
            for (const char* expected : {"200", "500", "1000"})
            {
                Arrow(dialog, IDC_OSC_HORZ_SPIN, true);
                EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), expected);
            }
            Arrow(dialog, IDC_OSC_HORZ_SPIN, false);
            EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), "500");
            for (int i = 0; i < 3; ++i)
                Arrow(dialog, IDC_OSC_HORZ_SPIN, true);
            EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), "5000");
            Arrow(dialog, IDC_OSC_HORZ_SPIN, true);
            EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), "6000") << "at most 6000";

            EXPECT_EQ(Text(dialog, IDC_OSC_TRG_POS), "500");
            Arrow(dialog, IDC_OSC_TRG_POS_SPIN, true);
            EXPECT_EQ(Text(dialog, IDC_OSC_TRG_POS), "1000");
            Arrow(dialog, IDC_OSC_TRG_POS_SPIN, false);
            Arrow(dialog, IDC_OSC_TRG_POS_SPIN, false);
            EXPECT_EQ(Text(dialog, IDC_OSC_TRG_POS), "200");
        });
}

TEST_F(OscControlsTest, EnterInAFieldAppliesItAndANonNumberIsPutBack)
{
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            Enter(dialog, IDC_OSC_CH2_DIV, "40");
            EXPECT_DOUBLE_EQ(dialog.Settings().m_Ranges[1].dMin, -200);
            EXPECT_DOUBLE_EQ(dialog.Settings().m_Ranges[1].dMax, 200);
            Enter(dialog, IDC_OSC_HORZ_DIV, "250");
            EXPECT_DOUBLE_EQ(dialog.Settings().m_dHorzDiv, 250);
            Enter(dialog, IDC_OSC_HORZ_DIV, "abc");
            EXPECT_DOUBLE_EQ(dialog.Settings().m_dHorzDiv, 250);
            EXPECT_EQ(Text(dialog, IDC_OSC_HORZ_DIV), "250");
            Enter(dialog, IDC_OSC_TRG_LEVEL, "12.5");
            EXPECT_DOUBLE_EQ(
                dialog.Settings().m_TrgLev[static_cast<size_t>(dialog.Acquisition().GetSource())], 12.5);
            EXPECT_TRUE(dialog.IsWindowVisible()) << "Enter in a field does not close the dialog";
        });
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(OscControlsTest, ModeButtonsWriteTheDrivesModeAndRelabelTheChannels)
{
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            EXPECT_NE(Text(dialog, IDC_OSC_CH1_LABEL).find("CH1 ("), std::string::npos);
            dialog.SendMessage(WM_COMMAND, ID_OSC_MODE_EXTENDED, 0);
            EXPECT_EQ(Text(dialog, IDC_OSC_CH1_LABEL), "CH1 u/div");
            EXPECT_EQ(DriveWord(90), 1);
            dialog.SendMessage(WM_COMMAND, ID_OSC_MODE_SPEED, 0);
            EXPECT_NE(Text(dialog, IDC_OSC_CH1_LABEL).find("CH1 ("), std::string::npos);
            EXPECT_EQ(DriveWord(90), 0);

            // Not while recording.
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            ASSERT_TRUE(dialog.IsRunning());
            dialog.SendMessage(WM_COMMAND, ID_OSC_MODE_EXTENDED, 0);
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            EXPECT_EQ(DriveWord(90), 0);
        });
}

TEST_F(OscControlsTest, CancelWhileRecordingAsksToStopFirst)
{
    bool stillRunning = false;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            ASSERT_TRUE(dialog.IsRunning());
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
            stillRunning = dialog.IsRunning() && dialog.IsWindowVisible();
        });
    EXPECT_TRUE(stillRunning);
    EXPECT_EQ(boxes.asked, std::vector<std::string>{"Fermare l'acquisizione prima di chiudere"});
}

// Typed slowly, a value stays in its field across the display ticks until Enter applies it.
TEST_F(OscControlsTest, AFieldKeepsWhatIsTypedUntilEnterAppliesIt)
{
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            for (const UINT id : {IDC_OSC_TRG_LEVEL, IDC_OSC_TRG_POS, IDC_OSC_CH2_DIV, IDC_OSC_HORZ_DIV})
            {
                Focus(dialog, id);
                Key(dialog, id, Qt::Key_A, Qt::ControlModifier); // select what the field shows
                Type(dialog, id, "3");
                ASSERT_TRUE(TickPassed(dialog));
                ASSERT_TRUE(TickPassed(dialog));
                EXPECT_EQ(Text(dialog, id), "3") << id;
                Type(dialog, id, "7");
                ASSERT_TRUE(TickPassed(dialog));
                EXPECT_EQ(Text(dialog, id), "37") << id;
                Key(dialog, id, Qt::Key_Return);
                ASSERT_TRUE(TickPassed(dialog));
                EXPECT_EQ(Text(dialog, id), "37") << id;
            }
            const size_t source = static_cast<size_t>(dialog.Acquisition().GetSource());
            EXPECT_DOUBLE_EQ(dialog.Settings().m_TrgLev[source], 37);
            EXPECT_DOUBLE_EQ(dialog.Settings().m_TrgPos[source], 37);
            EXPECT_DOUBLE_EQ(dialog.Settings().m_Ranges[1].dMax - dialog.Settings().m_Ranges[1].dMin, 370);
            EXPECT_DOUBLE_EQ(dialog.Settings().m_dHorzDiv, 37);
            EXPECT_TRUE(dialog.IsWindowVisible());
        });
    EXPECT_TRUE(boxes.asked.empty());
}

// A capture opened after a recording shows at the scales its fields give, with its own readouts.
TEST_F(OscControlsTest, AnOpenedCaptureShowsAtTheFieldsScalesWithItsOwnReadouts)
{
    CChosenFile chosen;
    chosen.path = dir + "/Samples/OscCapture.txt"; // channel 1 ends at -3000 rpm
    CFileDialogSink* previousFiles = AfxSetFileDialogSink(&chosen);
    std::string recorded;
    std::string opened;
    std::vector<std::pair<double, double>> scales;
    std::vector<std::pair<double, double>> ranges;
    std::vector<std::string> divisions;
    std::vector<std::string> shownDivisions;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            const auto samples = [&dialog]
            {
                LONG count = 0;
                ITrack4* track = dialog.Graph().GetTrack(0);
                track->get_SamplesNum(&count);
                track->Release();
                return count;
            };
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            ASSERT_TRUE(dialog.IsRunning());
            ASSERT_TRUE(WaitUntil([&] { return samples() > 300; }, 30000));
            dialog.SendMessage(WM_COMMAND, ID_OSC_RUN, 0);
            dialog.SendMessage(WM_COMMAND, ID_OSC_MEASURE, 0);
            ASSERT_TRUE(TickPassed(dialog));
            recorded = Text(dialog, IDC_OSC_CH1_BAR2);
            dialog.SendMessage(WM_COMMAND, ID_OSC_OPEN, 0);
            ASSERT_TRUE(TickPassed(dialog));
            opened = Text(dialog, IDC_OSC_CH1_BAR2);
            for (int i = 0; i < 2; ++i)
            {
                ITrack4* track = dialog.Graph().GetTrack(i);
                double min = 0;
                double max = 0;
                track->get_Min(&min);
                track->get_Max(&max);
                track->Release();
                scales.emplace_back(min, max);
                ranges.emplace_back(dialog.Settings().m_Ranges[static_cast<size_t>(i)].dMin,
                                    dialog.Settings().m_Ranges[static_cast<size_t>(i)].dMax);
            }
            divisions = {Text(dialog, IDC_OSC_CH1_DIV), Text(dialog, IDC_OSC_CH2_DIV)};
            for (const auto& [min, max] : ranges)
            {
                CString division;
                division.Format("%g", (max - min) / 10);
                shownDivisions.push_back(division.str());
            }
        });
    AfxSetFileDialogSink(previousFiles);
    EXPECT_NE(recorded, "-3000") << "the recording ends elsewhere";
    EXPECT_NE(recorded, "...");
    EXPECT_EQ(opened, "-3000");
    EXPECT_EQ(scales, ranges);
    EXPECT_EQ(divisions, shownDivisions) << "the fields tell the scales drawn";
    EXPECT_TRUE(boxes.asked.empty());
}
