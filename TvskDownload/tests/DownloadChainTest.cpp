// The download window on the real manager connected through the drive chain to drivesim.
#include <TvskDownload/ui/DownloadIds.h>
#include <TvskDownload/ui/DownloadWnd.h>

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/tests/ManagerOnDrive.h>
#include <ui/MessageBox.h>

#include <kernel/SharedLibrary.h>
#include <testing/WaitUntil.h>

#include <VrnSerConfigDlg.h>

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{
class CYes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return IDYES;
    }
    std::vector<CString> asked;
};

class DownloadChainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(drive.Start({}, "Samples/TK20.dat"));
        manager = &drive.Manager();
        previous = AfxSetMessageBoxSink(&boxes);
        plugin = proxy.CreateLoader("TvskDownload.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(manager), 0);
        plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = dynamic_cast<CDownloadWnd*>(CWnd::FromWidget(widget)))
                wnd = found;
        ASSERT_NE(wnd, nullptr);
    }
    void TearDown() override
    {
        proxy.Reset();
        AfxSetMessageBoxSink(previous);
    }
    // Chooses the menu that lists the parameter in the window's combo, as the engineer would.
    void ShowMenuOf(const char* name)
    {
        WaitUntil([] { return false; }, 200); // the window settles on the menu it activates with
        const DBPAR* par = manager->ParDb().GetPar(name, true);
        ASSERT_NE(par, nullptr);
        CComboBox* combo = wnd->ToolBar().GetComboBox();
        ASSERT_NE(combo, nullptr);
        for (int item = 0; item < combo->GetCount(); ++item)
            if (static_cast<int>(combo->GetItemData(item)) == par->nMenu)
                combo->SetCurSel(item);
        wnd->OnMenuChange();
        WaitUntil([] { return false; }, 100);
    }
    int RowOf(const char* name)
    {
        for (int row = 0; row < manager->GetParNum(); ++row)
            if (wnd->Pars().Field(row, FIELD_NAME) == name)
                return row;
        return -1;
    }

    tvsk::testing::ManagerOnDrive drive;
    CTvskManager* manager = nullptr;
    CYes boxes;
    CMessageBoxSink* previous = nullptr;
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = nullptr;
    CDownloadWnd* wnd = nullptr;
};
} // namespace

TEST_F(DownloadChainTest, ReadAndWriteTheSelectedParameterInTheDrive)
{
    ASSERT_TRUE(manager->IsExclusiveMode());
    drive.SendControl("set 33 300\n");
    ASSERT_TRUE(WaitUntil([this] { return drive.Word(33) == 300; })); // the drive took the control line
    ShowMenuOf("Pr33");
    const int row = RowOf("Pr33");
    ASSERT_GE(row, 0);
    wnd->ParGrid().Move(row, 1);
    wnd->OnReadSelected();
    EXPECT_EQ(wnd->Pars().Field(row, FIELD_VALUE), "3");
    ASSERT_EQ(manager->SetParField(row, FIELD_VALUE, "4"), HOSTRES_OK);
    wnd->OnWriteSelected();
    EXPECT_EQ(drive.Word(33), 400);
    EXPECT_EQ(boxes.asked.size(), 1u); // the exclusive-mode question only
}

TEST_F(DownloadChainTest, TheMonitorFollowsTheDrive)
{
    ShowMenuOf("Pr33");
    const int row = RowOf("Pr33");
    ASSERT_GE(row, 0);
    wnd->ParGrid().Move(row, 1);
    wnd->OnMonitorAdd();
    ASSERT_EQ(wnd->MonitorGrid().GetNumRows(), 1);
    drive.SendControl("set 33 500\n");
    EXPECT_TRUE(WaitUntil([this] { return wnd->Monitor().Field(0, FIELD_VALUE) == "5"; }))
        << wnd->Monitor().Field(0, FIELD_VALUE).GetString();
}

TEST_F(DownloadChainTest, OnlineTheVisibleRowsFollowTheDrive)
{
    ShowMenuOf("Pr33");
    const int row = RowOf("Pr33");
    ASSERT_GE(row, 0);
    wnd->ParGrid().Move(row, 1); // scrolled into view
    drive.SendControl("set 33 600\n");
    ASSERT_TRUE(WaitUntil([this] { return drive.Word(33) == 600; }));
    EXPECT_NE(wnd->Pars().Field(row, FIELD_VALUE), "6");
    wnd->ToggleOnline();
    EXPECT_TRUE(WaitUntil([&] { return wnd->Pars().Field(row, FIELD_VALUE) == "6"; }));
    wnd->ToggleOnline();
    EXPECT_EQ(boxes.asked.size(), 1u); // the exclusive-mode question only
}

TEST_F(DownloadChainTest, FormattedEntriesOfAThirtyTwoBitValueReachTheDriveExactly)
{
    VARIANT positioner{};
    positioner.vt = VT_I4;
    positioner.lVal = 2;
    ASSERT_EQ(manager->SetParValue("Pr1", positioner, TRUE), HOSTRES_OK);
    ShowMenuOf("Pr103:102");
    const int row = RowOf("Pr103:102");
    ASSERT_GE(row, 0);
    wnd->OnShowFormat();
    ASSERT_TRUE(wnd->IsShowFormat());
    const auto driveValue = [this]
    {
        double value = 0;
        EXPECT_EQ(manager->SendCommand(14, (32L << 16) + 102, reinterpret_cast<long>(&value)), 0);
        return value;
    };
    for (const auto& [format, typed, value] : {std::tuple{PARFMT_DECIMAL, "1234567", "1234567"},
                                               std::tuple{PARFMT_DECIMAL, "-7654321", "-7654321"},
                                               std::tuple{PARFMT_HEX, "12345678", "305419896"}})
    {
        ASSERT_EQ(wnd->Pars().SetElemI(row, 3, format, 0), 1);
        ASSERT_EQ(wnd->Pars().SetElemS(row, 2, typed, 0), 1) << typed;
        EXPECT_EQ(wnd->Pars().Field(row, FIELD_VALUE), value);
        CString shown;
        wnd->Pars().GetElemS(row, 2, shown);
        EXPECT_EQ(shown, typed);
        EXPECT_EQ(driveValue(), std::strtod(value, nullptr)) << typed;
        wnd->ParGrid().Move(row, 1);
        wnd->OnReadSelected();
        EXPECT_EQ(wnd->Pars().Field(row, FIELD_VALUE), value) << "read back from the drive";
    }
}

// The protocol's settings dialog runs its modal loop while the monitor's worker and the window's
// timers keep calling the host: neither may wait on a lock the other holds.
TEST_F(DownloadChainTest, TheSettingsDialogOpensWhileTheMonitorReads)
{
    CSharedLibrary component;
    ASSERT_TRUE(component.Open(VRNSER_COMPONENT)) << component.Error();
    ASSERT_TRUE(InstallVrnSerConfigDialog(component));
    ShowMenuOf("Pr33");
    const int row = RowOf("Pr33");
    ASSERT_GE(row, 0);
    wnd->ParGrid().Move(row, 1);
    wnd->OnMonitorAdd();
    wnd->Select(&wnd->Monitor()); // the toolbar's state then asks the host for the monitor list
    wnd->ToggleOnline();
    ASSERT_TRUE(WaitUntil([this] { return wnd->Monitor().Field(0, FIELD_VALUE) == "2.5"; }));

    std::atomic<bool> closed{false};
    std::thread watchdog(
        [this, &closed]
        {
            for (int i = 0; i < 600 && !closed; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!closed)
            {
                std::fprintf(stderr, "the settings dialog froze the program\n");
                drive.StopDrive();
                std::_Exit(1);
            }
        });
    bool shown = false;
    QTimer::singleShot(0,
                       [&shown]
                       {
                           shown = WaitUntil([] { return QApplication::activeModalWidget() != nullptr; });
                           WaitUntil([] { return false; }, 1000); // the timers and the worker run meanwhile
                           if (QWidget* dialog = QApplication::activeModalWidget())
                               CWnd::FromWidget(dialog)->SendMessage(WM_COMMAND,
                                                                     MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                       });
    CString settings;
    EXPECT_EQ(manager->SendCommand(HOSTCMD_CONFIGCONN, 0, reinterpret_cast<intptr_t>(&settings)), HOSTRES_OK);
    closed = true;
    watchdog.join();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(manager->IsConnected());
    drive.SendControl("set 33 700\n");
    EXPECT_TRUE(WaitUntil([this] { return wnd->Monitor().Field(0, FIELD_VALUE) == "7"; }))
        << "the monitor reads again after the dialog";
    wnd->ToggleOnline();
}
