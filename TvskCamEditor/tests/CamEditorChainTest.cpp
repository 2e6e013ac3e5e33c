// The cam editor from the real loader on the real manager, reading and writing a cam of the TK40
// session through the drive chain to drivesim.
#include <TvskCamEditor/ui/CamEditorIds.h>
#include <TvskCamEditor/ui/DlgCamEdit.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/tests/ManagerOnDrive.h>
#include <ui/MessageBox.h>

#include <testing/WaitUntil.h>

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
class CAnswer : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return IDNO;
    }
    std::vector<CString> asked;
};

class CamEditorChainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(drive.Start({"--par", drive.Folder().Path("TKSERIES/TK40.par")}, "Samples/TK40Cam.dat"));
        manager = &drive.Manager();
        previous = AfxSetMessageBoxSink(&boxes);
    }
    void TearDown() override
    {
        proxy.Reset();
        AfxSetMessageBoxSink(previous);
    }
    // Runs the plug-in on a request and does the step inside its dialog's loop.
    void Run(const char* argument, std::function<void(CDlgCamEdit&)> step)
    {
        CPluginImpl* plugin = proxy.CreateLoader("TvskCamEditor.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout,
                         [step]
                         {
                             auto* dialog = dynamic_cast<CDlgCamEdit*>(
                                 CWnd::FromWidget(QApplication::activeModalWidget()));
                             ASSERT_NE(dialog, nullptr);
                             step(*dialog);
                             dialog->EndDialog(IDCANCEL);
                         });
        timer.start(20);
        const PLUGIN_CALL call = {"TvskCamEditor", 0, argument};
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager), 0);
        plugin->SendCommand(PLUGINCMD_RUN, 0, reinterpret_cast<intptr_t>(&call));
    }

    tvsk::testing::ManagerOnDrive drive;
    CTvskManager* manager = nullptr;
    CAnswer boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
};
} // namespace

TEST_F(CamEditorChainTest, ReadsAndWritesTheCamOfTheRequestInTheDrive)
{
    drive.SendControl("set 3072 100\nset 3073 250\nset 3328 9999\n");
    Run("2",
        [this](CDlgCamEdit& dialog)
        {
            EXPECT_EQ(dialog.GetCam(), 2);
            dialog.OnReadDrive();
            const CCamTable& table = dialog.GetTable().Table();
            EXPECT_EQ(table.GetPointAt(0).dValue, 100);
            EXPECT_EQ(table.GetPointAt(1).dValue, 250);
            EXPECT_EQ(table.GetPointAt(256).dValue, 9999);
            for (int i = 0; i < table.GetCount(); ++i)
                ASSERT_EQ(table.GetPointAt(i).nKind, CAM_VAL) << i;
            EXPECT_TRUE(manager->IsModified());
            ASSERT_TRUE(dialog.GetTable().Table().SetPoint(5, 1234.9, CAM_VAL));
            dialog.OnWriteDrive(); // the changed cam is offered for saving first; the box says No
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_EQ(boxes.asked[0], "Salvare le modifiche ?");
        });
    EXPECT_EQ(drive.Word(3072 + 5), 1234);
    EXPECT_EQ(drive.Word(3072 + 1), 250);
}

// What the editor stores is what the configuration saves, reopens and downloads.
TEST_F(CamEditorChainTest, AStoredCamIsSavedReopenedAndDownloaded)
{
    Run("1",
        [](CDlgCamEdit& dialog)
        {
            ASSERT_TRUE(dialog.GetTable().Table().SetPoint(7, 777, CAM_VAL));
            dialog.OnStore();
        });
    const std::string saved = drive.Folder().Path("Stored.dat");
    ASSERT_EQ(manager->SaveFile(saved.c_str()), 0);
    double value = 0;
    manager->GetCamData(7, &value, nullptr, nullptr, 1);
    EXPECT_EQ(value, 777) << "after the save";
    ASSERT_TRUE(manager->DownloadCams());
    EXPECT_EQ(drive.Word(manager->GetCamStartAddr(1) + 7), 777);
    CTvskManager reopened(drive.Folder().Dir().c_str());
    ASSERT_EQ(reopened.OpenFile(saved.c_str()), 0);
    int valid = 0;
    reopened.GetCamData(7, &value, nullptr, &valid, 1);
    EXPECT_EQ(value, 777);
    EXPECT_EQ(valid, 1);
}

TEST_F(CamEditorChainTest, TheFirstCamOpensForAnUnlistedOneAndTheSampleProfileShows)
{
    Run("7",
        [](CDlgCamEdit& dialog)
        {
            EXPECT_EQ(dialog.GetCam(), 0);
            const CCamTable& table = dialog.GetTable().Table();
            EXPECT_TRUE(table.IsComplete());
            EXPECT_EQ(table.GetPointAt(0).dValue, 0);
            EXPECT_EQ(table.GetPointAt(256).dValue, 10000);
        });
}

TEST_F(CamEditorChainTest, ASilentDriveShowsTheHostsErrorAndStops)
{
    drive.SendControl("fault silent\n");
    Run("2",
        [this](CDlgCamEdit& dialog)
        {
            dialog.OnReadDrive();
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_EQ(boxes.asked[0],
                      "Errore di comunicazione con il drive durante il trasferimento della camma");
        });
}

TEST_F(CamEditorChainTest, InEnglishTheWindowItsLabelsHeadersAndToolTipsAreEnglish)
{
    ASSERT_TRUE(manager->ChangeLanguage(1));
    Run("0",
        [](CDlgCamEdit& dialog)
        {
            EXPECT_EQ(dialog.GetWindowText(), "Cam editor");
            CString text;
            dialog.GetDlgItemText(IDC_CAM_NUMBER_LABEL, text);
            EXPECT_EQ(text, "Cam number");
            dialog.GetDlgItemText(IDC_CAM_ENABLE_FORMULA, text);
            EXPECT_EQ(text, "Calculate function");
            CString header;
            dialog.GetTable().GetHeaderS(IDS_CAM_VALUE, header);
            EXPECT_EQ(header, "Value");
            CToolBarDlg& toolBar = dialog.GetToolBar();
            int tips = 0;
            for (int i = 0; i < toolBar.GetCount(); ++i)
                if (toolBar.GetItemID(i) != ID_SEPARATOR)
                {
                    EXPECT_FALSE(toolBar.GetButtonToolTip(i).IsEmpty()) << i;
                    ++tips;
                }
            EXPECT_EQ(tips, 11);
            EXPECT_EQ(toolBar.GetButtonToolTip(0), "Store the profile");
        });
}

namespace
{
// The host's window layer as far as a transfer needs it: the progress counts it was shown, and a
// Cancel click once the count reaches cancelAt.
class ProgressUi : public CTvskHeadlessUi
{
public:
    void BeginWait(CWnd*, const CString& text) override { shown.push_back("begin " + text.str()); }
    void EndWait() override { shown.push_back("end"); }
    bool ShowTransferProgress(int done, int total, const CString&) override
    {
        counts.push_back(std::to_string(done) + " of " + std::to_string(total));
        return done >= cancelAt;
    }
    std::vector<std::string> shown;
    std::vector<std::string> counts;
    int cancelAt = 1 << 30;
};

} // namespace

// Reading and writing all points are counted in the host's progress window, whose Cancel stops
// them between two points with the count told.
TEST(CamEditorTransferTest, ReadAndWriteAllAreCountedByTheHostAndItsCancelStopsThem)
{
    tvsk::testing::ManagerOnDrive drive;
    const std::string journal = drive.Folder().Path("journal");
    ASSERT_TRUE(drive.Start({"--par", drive.Folder().Path("TKSERIES/TK40.par"), "--journal", journal},
                            "Samples/TK40Cam.dat"));
    CTvskManager* manager = &drive.Manager();
    ProgressUi ui;
    manager->SetHostUi(&ui);
    CAnswer boxes;
    CMessageBoxSink* previous = AfxSetMessageBoxSink(&boxes);
    drive.SendControl("set 3072 100\nset 3073 250\nset 3081 900\n");
    ASSERT_TRUE(WaitUntil([&] { return drive.Word(3081) == 900; }));
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = proxy.CreateLoader("TvskCamEditor.dll")->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(
        &timer, &QTimer::timeout,
        [&]
        {
            auto* dialog = dynamic_cast<CDlgCamEdit*>(CWnd::FromWidget(QApplication::activeModalWidget()));
            ASSERT_NE(dialog, nullptr);
            CCamTable& table = dialog->GetTable().Table();
            const size_t readsAtStart = JournalCount(journal, "read 3");
            dialog->OnReadDrive();
            EXPECT_EQ(ui.shown, (std::vector<std::string>{"begin Lettura dati camma in corso ...", "end"}));
            EXPECT_EQ(ui.counts.front(), "0 of 257");
            EXPECT_EQ(ui.counts.back(), "257 of 257");
            EXPECT_TRUE(boxes.asked.empty());
            EXPECT_EQ(JournalCount(journal, "read 3") - readsAtStart, 257u) << "every point read once";
            EXPECT_EQ(table.GetPointAt(9).dValue, 900);
            const double tenth = table.GetPointAt(10).dValue;

            // Cancelled at the tenth point: the points read stay, the rest as it was.
            drive.SendControl("set 3081 4321\nset 3082 4321\n");
            ASSERT_TRUE(WaitUntil([&] { return drive.Word(3082) == 4321; }));
            ui.shown.clear();
            ui.cancelAt = 10;
            const size_t readsBefore = JournalCount(journal, "read 3");
            dialog->OnReadDrive();
            EXPECT_EQ(JournalCount(journal, "read 3") - readsBefore, 10u);
            EXPECT_EQ(ui.shown, (std::vector<std::string>{"begin Lettura dati camma in corso ...", "end"}));
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_EQ(boxes.asked[0], "Lettura camma annullata: letti dal drive i primi 10 punti su 257, gli "
                                      "altri sono quelli di prima");
            EXPECT_EQ(table.GetPointAt(9).dValue, 4321);
            EXPECT_EQ(table.GetPointAt(10).dValue, tenth) << "not read again";
            EXPECT_TRUE(dialog->IsModifiedMarker()) << "what was read is not stored";

            dialog->OnStore();
            boxes.asked.clear();
            ui.shown.clear();
            ui.cancelAt = 4;
            const size_t writesBefore = JournalCount(journal, "write ");
            dialog->OnWriteDrive();
            EXPECT_EQ(JournalCount(journal, "write ") - writesBefore, 4u);
            EXPECT_EQ(ui.shown, (std::vector<std::string>{"begin Scrittura dati camma in corso ...", "end"}));
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_EQ(boxes.asked[0], "Scrittura camma annullata: il drive contiene i primi 4 punti nuovi su "
                                      "257, gli altri sono quelli di prima");
            dialog->EndDialog(IDCANCEL);
        });
    timer.start(20);
    const PLUGIN_CALL call = {"TvskCamEditor", 0, "2"};
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager), 0);
    plugin->SendCommand(PLUGINCMD_RUN, 0, reinterpret_cast<intptr_t>(&call));
    proxy.Reset();
    AfxSetMessageBoxSink(previous);
    manager->SetHostUi(nullptr);
}
