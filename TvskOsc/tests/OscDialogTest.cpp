// The oscilloscope plug-in through the real loader and manager, recording drivesim's sample stream.
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

#include <testing/DialogFit.h>
#include <testing/WaitUntil.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace
{
class CAnswer : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return IDOK;
    }
    std::vector<CString> asked;
};

// Answers every file box with the path set last.
class CChosenFile : public CFileDialogSink
{
public:
    INT_PTR Show(CFileDialog& dialog) override
    {
        ++shown;
        dialog.SetResult(path.c_str(), 1);
        return IDOK;
    }
    std::string path;
    int shown = 0;
};

bool RegisterGraphControl()
{
    CSharedLibrary module;
    if (!module.Open(TVSK_BIN_DIR "/ZoGraph4.so"))
        return false;
    auto* registerServer = reinterpret_cast<HRESULT (*)()>(module.Symbol("DllRegisterServer"));
    return registerServer && SUCCEEDED(registerServer());
}

class OscDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        char pattern[] = "/tmp/tvsk-oscdlg-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::copy(TVSK_SAMPLE_DATA_DIR, dir, std::filesystem::copy_options::recursive);
        manager = std::make_unique<CTvskManager>(dir.c_str());
        manager->SetHostUi(&ui);
        ASSERT_EQ(manager->OpenFile((dir + "/Samples/TK20.dat").c_str()), 0);
        previous = AfxSetMessageBoxSink(&boxes);
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
    void Connect()
    {
        ASSERT_TRUE(chain->StartDrive({"--line", "38400,E,8,1"})) << chain->Error();
        manager->ParDb().SetCommSettings(("VrnSer:0," + std::to_string(kPatientReplyTimeOut) +
                                          "#COM:" + std::to_string(CDriveChain::Port) + ",38400,E,8,1")
                                             .c_str());
        ASSERT_EQ(manager->Connect(""), 0);
    }
    // Runs the plug-in and does the step inside its dialog's loop.
    void Run(std::function<void(CDlgOscilloscope&)> step)
    {
        CPluginImpl* plugin = proxy.CreateLoader("TvskOsc.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        QTimer timer; // gone with this call, so a dialog that never opened leaves no step behind
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout,
                         [step]
                         {
                             auto* dialog = dynamic_cast<CDlgOscilloscope*>(
                                 CWnd::FromWidget(QApplication::activeModalWidget()));
                             if (!dialog)
                                 return;
                             step(*dialog);
                             dialog->EndDialog(IDCANCEL);
                         });
        timer.start(50);
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager.get()), 0);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    }

    std::unique_ptr<CDriveChain> chain;
    std::string dir;
    CTvskHeadlessUi ui;
    std::unique_ptr<CTvskManager> manager;
    CAnswer boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
};
} // namespace

TEST_F(OscDialogTest, WithoutTheGraphControlTheScopeSaysItIsMissing)
{
    Run([](CDlgOscilloscope&) { ADD_FAILURE() << "the dialog opened"; });
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], "ZoGraph3 Library Missing");
}

TEST_F(OscDialogTest, WithoutAHostTheScopeReportsAnInternalErrorOnly)
{
    ASSERT_TRUE(RegisterGraphControl());
    CPluginImpl* plugin = proxy.CreateLoader("TvskOsc.dll")->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ProgramError: DlgOscilloscope("),
              std::string::npos);
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(OscDialogTest, ASecondOfRecordingFillsTheTraces)
{
    ASSERT_TRUE(RegisterGraphControl());
    Connect();
    LONG samples = 0;
    qint64 recordedMs = 0;
    double speed = 0;
    int stateWhileRunning = -1;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            EXPECT_EQ(dialog.StateRow(), 0);
            ITrack4* track = dialog.Graph().GetTrack(0);
            ASSERT_NE(track, nullptr);
            const auto count = [track]
            {
                LONG n = 0;
                track->get_SamplesNum(&n);
                return n;
            };
            QElapsedTimer clock;
            clock.start();
            dialog.OnRunStop();
            ASSERT_TRUE(dialog.IsRunning());
            // A second of recording at least, and the traces filling: a loaded machine may take longer.
            EXPECT_TRUE(WaitUntil([&] { return clock.elapsed() >= 1000 && count() > 180; }));
            stateWhileRunning = dialog.StateRow();
            dialog.OnRunStop();
            samples = count();
            recordedMs = clock.elapsed();
            std::vector<double> values(static_cast<size_t>(std::max<LONG>(samples, 1)));
            if (samples > 0)
                track->GetSamples(samples, 0, values.data(), nullptr);
            speed = values[static_cast<size_t>(std::max<LONG>(samples - 1, 0))];
            track->Release();
            EXPECT_TRUE(WaitUntil([&dialog] { return dialog.StateRow() == 1; })); // STOP
        });
    EXPECT_GT(samples, 180);
    // Never more samples than the drive sends in the time the recording really ran (no frame
    // taken twice).
    EXPECT_LE(samples, static_cast<LONG>(recordedMs / COscAcquisition::kSamplePeriodMs) + 2)
        << "in " << recordedMs << " ms";
    EXPECT_DOUBLE_EQ(speed, 8 * COscFrameDecoder::kSpeedScale);
    EXPECT_EQ(stateWhileRunning, 3); // TRIG'D in automatic mode
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(OscDialogTest, OpeningWhileRecordingAsksToStopFirstAndOffersNoFile)
{
    ASSERT_TRUE(RegisterGraphControl());
    Connect();
    CChosenFile chosen;
    CFileDialogSink* previousFiles = AfxSetFileDialogSink(&chosen);
    chosen.path = dir + "/capture.txt";
    bool runningAfterwards = false;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            dialog.OnRunStop();
            ASSERT_TRUE(dialog.IsRunning());
            dialog.OnOpen();
            runningAfterwards = dialog.IsRunning();
            dialog.OnRunStop();
        });
    AfxSetFileDialogSink(previousFiles);
    EXPECT_EQ(chosen.shown, 0);
    EXPECT_TRUE(runningAfterwards);
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], "Fermare l'acquisizione prima di aprirne una da file");
}

TEST_F(OscDialogTest, CapturesSaveAndOpenAndBadFilesAreRefused)
{
    ASSERT_TRUE(RegisterGraphControl());
    CChosenFile chosen;
    CFileDialogSink* previousFiles = AfxSetFileDialogSink(&chosen);
    const std::string saved = dir + "/capture.txt";
    std::vector<LONG> counts;
    std::vector<double> firstValues;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            auto samplesOf = [&dialog](int index)
            {
                ITrack4* track = dialog.Graph().GetTrack(index);
                LONG count = 0;
                track->get_SamplesNum(&count);
                track->Release();
                return count;
            };
            for (int i = 0; i < 4; ++i)
            {
                ITrack4* track = dialog.Graph().GetTrack(i);
                double values[] = {1.5 + i, -2.25, 3.0};
                track->AddSamples(3, values, nullptr);
                track->Release();
            }
            chosen.path = saved;
            dialog.OnSave();

            // Neither a missing file nor one without samples replaces the capture on screen.
            chosen.path = dir + "/absent.txt";
            dialog.OnOpen();
            chosen.path = dir + "/names-only.txt";
            std::ofstream(chosen.path, std::ios::binary)
                << "ZO_OSC\t10\t4\r\ntime\t...\r\nA\t1\r\nB\t2\r\nC\t3\r\nD\t4\r\n";
            dialog.OnOpen();
            counts.push_back(samplesOf(0));

            chosen.path = dir + "/missing/capture.txt";
            dialog.OnSave();

            ITrack4* track = dialog.Graph().GetTrack(1);
            track->Reset();
            track->Release();
            chosen.path = saved;
            dialog.OnOpen();
            for (int i = 0; i < 4; ++i)
                counts.push_back(samplesOf(i));
            track = dialog.Graph().GetTrack(1);
            firstValues.resize(3);
            track->GetSamples(3, 0, firstValues.data(), nullptr);
            track->Release();
        });
    AfxSetFileDialogSink(previousFiles);
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_EQ(counts, (std::vector<LONG>{3, 3, 3, 3, 3}));
    EXPECT_EQ(firstValues, (std::vector<double>{2.5, -2.25, 3.0}));
    ASSERT_EQ(boxes.asked.size(), 3u);
    EXPECT_EQ(boxes.asked[0], "Il file non contiene campioni leggibili");
    EXPECT_EQ(boxes.asked[1], "Il file non contiene campioni leggibili");
    EXPECT_EQ(boxes.asked[2], "Impossibile salvare il file");
}

// Writes "7.0" to Pr33 through the parameter window, then reads it back; gives both shown results.
void ExchangeParameter(CDlgOscilloscope& dialog, CString& written, CString& read)
{
    dialog.OnParameters();
    CDlgOscParameters* parameters = dialog.Parameters();
    ASSERT_NE(parameters, nullptr);
    parameters->SetDlgItemText(IDC_OSC_PAR_NAME, "Pr33");
    parameters->SetDlgItemText(IDC_OSC_PAR_VALUE, "7.0");
    const auto result = [parameters](CString& text)
    {
        parameters->GetDlgItemText(IDC_OSC_PAR_VALUE, text);
        return text == "7" || text == "#####";
    };
    parameters->SendMessage(WM_COMMAND, IDC_OSC_PAR_SEND, 0);
    WaitUntil([&] { return result(written); });
    parameters->SetDlgItemText(IDC_OSC_PAR_VALUE, "");
    parameters->SendMessage(WM_COMMAND, IDC_OSC_PAR_READ, 0);
    WaitUntil([&] { return result(read); });
}

double DriveValue(CTvskManager& manager)
{
    VARIANT value;
    VariantInit(&value);
    return manager.ReadPar("Pr33", &value) == HOSTRES_OK && value.vt == VT_R8 ? value.dblVal : -1;
}

TEST_F(OscDialogTest, AParameterIsReadAndWrittenWhileRecording)
{
    ASSERT_TRUE(RegisterGraphControl());
    Connect();
    CString written;
    CString read;
    bool runningAfterwards = false;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            dialog.OnRunStop();
            ASSERT_TRUE(dialog.IsRunning());
            ExchangeParameter(dialog, written, read);
            runningAfterwards = dialog.IsRunning();
            dialog.OnRunStop();
        });
    EXPECT_EQ(written, "7");
    EXPECT_EQ(read, "7");
    EXPECT_TRUE(runningAfterwards);
    EXPECT_EQ(DriveValue(*manager), 7);
}

TEST_F(OscDialogTest, AParameterIsReadAndWrittenOnTheScopesOwnConnection)
{
    ASSERT_TRUE(RegisterGraphControl());
    ASSERT_TRUE(chain->StartDrive({"--line", "38400,E,8,1"})) << chain->Error();
    manager->ParDb().SetCommSettings(("VrnSer:0," + std::to_string(kPatientReplyTimeOut) +
                                      "#COM:" + std::to_string(CDriveChain::Port) + ",38400,E,8,1")
                                         .c_str());
    CString written;
    CString read;
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            dialog.OnConnect();
            ASSERT_TRUE(manager->IsConnected());
            ExchangeParameter(dialog, written, read);
            dialog.OnConnect(); // the button toggles
            EXPECT_FALSE(manager->IsConnected());
            dialog.OnConnect();
            EXPECT_TRUE(manager->IsConnected());
        });
    EXPECT_EQ(written, "7");
    EXPECT_EQ(read, "7");
    EXPECT_FALSE(manager->IsConnected()); // closing gave the connection back
}

// The radios of a row that are checked.
std::vector<UINT> Checked(CDlgOscilloscope& dialog, std::initializer_list<UINT> row)
{
    std::vector<UINT> on;
    for (const UINT id : row)
        if (static_cast<CButton*>(dialog.GetDlgItem(static_cast<int>(id)))->GetCheck() == BST_CHECKED)
            on.push_back(id);
    return on;
}

// Pixels of the graph in channel 2's colour (cyan).
int ChannelTwoPixels(CDlgOscilloscope& dialog)
{
    const QImage picture = dialog.Graph().GetWidget()->grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelColor(x, y) == QColor(0, 255, 255) ? 1 : 0;
    return count;
}

TEST_F(OscDialogTest, TheParameterWindowHeadsItsColumnsAndShowsItsTextsWhole)
{
    ASSERT_TRUE(RegisterGraphControl());
    const tvsk::testing::ScopedDesktopFont font(11);
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            dialog.OnParameters();
            CDlgOscParameters* parameters = dialog.Parameters();
            ASSERT_NE(parameters, nullptr);
            CString name;
            CString value;
            parameters->GetDlgItemText(IDC_OSC_PAR_NAME_HEAD, name);
            parameters->GetDlgItemText(IDC_OSC_PAR_VALUE_HEAD, value);
            EXPECT_EQ(name, CString("Parametro"));
            EXPECT_EQ(value, CString("Valore"));
            EXPECT_EQ(tvsk::testing::CutTexts(*parameters), std::vector<std::string>{});
        });
}

TEST_F(OscDialogTest, OpeningShowsOneTriggerChoiceARowZeroOffsetsAndChannelTwoWhenShown)
{
    ASSERT_TRUE(RegisterGraphControl());
    Connect();
    const std::initializer_list<UINT> modes = {IDC_OSC_MODE_AUTO, IDC_OSC_MODE_NORMAL, IDC_OSC_MODE_SINGLE};
    const std::initializer_list<UINT> edges = {IDC_OSC_EDGE_POS, IDC_OSC_EDGE_NEG, IDC_OSC_EDGE_BOTH};
    const std::initializer_list<UINT> sources = {IDC_OSC_SRC_CH1, IDC_OSC_SRC_CH2, IDC_OSC_SRC_DIN0,
                                                 IDC_OSC_SRC_DIN1};
    const tvsk::testing::ScopedDesktopFont font(9);
    Run(
        [&](CDlgOscilloscope& dialog)
        {
            EXPECT_EQ(tvsk::testing::CutTexts(dialog), std::vector<std::string>{}) << "with its own texts";
            EXPECT_EQ(Checked(dialog, modes), std::vector<UINT>{IDC_OSC_MODE_AUTO}) << "the default mode";
            EXPECT_EQ(Checked(dialog, edges), std::vector<UINT>{IDC_OSC_EDGE_POS});
            EXPECT_EQ(Checked(dialog, sources), std::vector<UINT>{IDC_OSC_SRC_CH1});
            for (int i = 0; i < dialog.ToolBar().GetCount(); ++i)
                if (dialog.ToolBar().GetItemID(i) != ID_SEPARATOR)
                    EXPECT_FALSE(dialog.ToolBar().GetButtonToolTip(i).IsEmpty()) << i;
            CString offset;
            for (const UINT id : {IDC_OSC_CH1_OFFSET, IDC_OSC_CH2_OFFSET})
            {
                dialog.GetDlgItemText(id, offset);
                EXPECT_EQ(offset, CString("0")) << id;
            }

            // A click changes its own row only.
            dialog.ShowWindow(SW_SHOW);
            QTest::mouseClick(dialog.GetDlgItem(IDC_OSC_MODE_NORMAL)->GetWidget(), Qt::LeftButton, {},
                              QPoint(5, 5));
            EXPECT_EQ(Checked(dialog, modes), std::vector<UINT>{IDC_OSC_MODE_NORMAL});
            EXPECT_EQ(Checked(dialog, edges), std::vector<UINT>{IDC_OSC_EDGE_POS});
            EXPECT_EQ(Checked(dialog, sources), std::vector<UINT>{IDC_OSC_SRC_CH1});
            QTest::mouseClick(dialog.GetDlgItem(IDC_OSC_MODE_AUTO)->GetWidget(), Qt::LeftButton, {},
                              QPoint(5, 5));

            // Channel 2's trace goes with its button and comes back with it.
            dialog.OnRunStop();
            int pixels = 0;
            EXPECT_TRUE(WaitUntil([&] { return (pixels = ChannelTwoPixels(dialog)) > 100; })) << pixels;
            dialog.SendMessage(WM_COMMAND, ID_OSC_SHOW_CH2, 0);
            EXPECT_TRUE(WaitUntil([&] { return (pixels = ChannelTwoPixels(dialog)) == 0; })) << pixels;
            dialog.SendMessage(WM_COMMAND, ID_OSC_SHOW_CH2, 0);
            EXPECT_TRUE(WaitUntil([&] { return (pixels = ChannelTwoPixels(dialog)) > 100; })) << pixels;
            dialog.OnRunStop();
        });
    EXPECT_TRUE(boxes.asked.empty());
}
