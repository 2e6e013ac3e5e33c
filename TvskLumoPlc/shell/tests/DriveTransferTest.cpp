// The main dialog's drive actions against a host that records its commands: read, write, the
// on-line switch and going on line at opening.
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <testing/TestApplication.h>
#include <ui/MessageBox.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <QTimer>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{
const tvsk::test::TestApplication g_app("PlcTransferTests", "MurnApps");

// Commands 10 toggle the connection; 31 loads the drive's program, 32 writes it, 33 compares;
// transfers answer 0, or 11 when they fail.
class RecordingHost : public PlcTestHost
{
public:
    long SendCommand(UINT code, long param1, long) override
    {
        if (code == 14)
            return 0; // the animation's reads run on a timer: not recorded
        commands.emplace_back(code, param1);
        if (code == 10)
            connected = !connected;
        if (code == 33 && compareOk)
            *reinterpret_cast<int*>(param1) = program == drive ? 1 : 0;
        if (code == 31 && uploadOk)
            program = drive;
        if (code == 31 && !uploadOk)
            program.clear();
        if (code == 32)
            drive = program;
        const bool failed = (code == 33 && !compareOk) || (code == 31 && !uploadOk);
        return failed ? 11 : 0;
    }
    BOOL IsConnected() override { return connected; }
    void SetModified(BOOL) override { ++stores; }

    std::vector<std::pair<UINT, long>> commands;
    std::vector<Instr> drive;
    bool connected = false;
    bool compareOk = true;
    bool uploadOk = true;
    int stores = 0;
};

using Commands = std::vector<std::pair<UINT, long>>;

class DriveTransfer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", {-1, -1, -1}}};
        host.drive = host.program;
    }
    void Run(const std::function<void(CDlgLumoPlc&)>& step) { RunPlcDialog(host, step); }
    static void Send(CDlgLumoPlc& dialog, UINT id) { dialog.SendMessage(WM_COMMAND, id, 0); }

    RecordingHost host;
    RecordingBoxes boxes;
};

TEST_F(DriveTransfer, DisconnectedReadConnectsComparesAndDisconnects)
{
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_READ); });
    ASSERT_EQ(host.commands.size(), 5u);
    EXPECT_EQ(host.commands[0], std::make_pair(24u, 1L));
    EXPECT_EQ(host.commands[1].first, 10u);
    EXPECT_EQ(host.commands[2].first, 33u);
    EXPECT_EQ(host.commands[3], std::make_pair(24u, 1L));
    EXPECT_EQ(host.commands[4].first, 10u);
    EXPECT_FALSE(host.connected);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Il codice PLC sul drive è identico a quello di Tarveskon"));
}

TEST_F(DriveTransfer, ReadComparesTheProgramOnScreenAndAsksBeforeLoadingTheDrives)
{
    host.drive = {{"LD", {3, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", {-1, -1, -1}}};
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_READ); });
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Questa azione provoca la cancellazione del PLC esistente"));
    EXPECT_EQ(host.program, host.drive);
    EXPECT_FALSE(host.connected);
}

TEST_F(DriveTransfer, UnsavedEditsOnScreenAreNotCalledIdentical)
{
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Send(dialog, ID_PLC_NEW_CODE);
            Send(dialog, ID_PLC_READ);
        });
    ASSERT_EQ(boxes.texts.size(), 1u); // New code's question; the empty screen is replaced silently
    EXPECT_EQ(host.program, host.drive);
    ASSERT_EQ(host.commands.size(), 6u);
    EXPECT_EQ(host.commands[3].first, 31u);
}

TEST_F(DriveTransfer, AFailedUploadIsShownAndTheProgramOnScreenGoesBackIntoTheHost)
{
    host.drive = {{"END", {-1, -1, -1}}};
    host.uploadOk = false;
    const auto before = host.program;
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_READ); });
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], CString("Errore di comunicazione con il drive"));
    EXPECT_EQ(host.program, before);
    EXPECT_FALSE(host.connected);
}

TEST_F(DriveTransfer, AFailedCompareIsShownAfterTheLinkIsReleased)
{
    host.compareOk = false;
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_READ); });
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Errore di comunicazione con il drive"));
    EXPECT_FALSE(host.connected);
}

TEST_F(DriveTransfer, WriteStoresThenDownloadsBetweenConnectAndDisconnect)
{
    host.drive.clear();
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_WRITE); });
    const Commands expected = {{24, 1}, {10, 1}, {32, 0}, {24, 1}, {10, 1}};
    EXPECT_EQ(host.commands, expected);
    EXPECT_EQ(host.drive, host.program);
    EXPECT_GE(host.stores, 1);
}

TEST_F(DriveTransfer, WriteStopsAfterAFailedStoreWithTheLinkReleased)
{
    host.refuseAt = 0;
    host.drive.clear();
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_WRITE); });
    const Commands expected = {{24, 1}, {10, 1}, {24, 1}, {10, 1}};
    EXPECT_EQ(host.commands, expected);
    EXPECT_TRUE(host.drive.empty());
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.back(), CString("Errore in fase di generazione record istruzioni"));
}

TEST_F(DriveTransfer, OpenedConnectedItGoesOnLineAndStoresAtOnce)
{
    host.connected = true;
    Run([](CDlgLumoPlc&) {});
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].first, 33u);
    EXPECT_GE(host.stores, 1);
    EXPECT_TRUE(host.connected); // not the link owner: the host's link stays
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(DriveTransfer, TheOnLineSwitchConnectsAndBackOffDisconnects)
{
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Send(dialog, ID_PLC_ONLINE);
            Send(dialog, ID_PLC_ONLINE);
        });
    ASSERT_EQ(host.commands.size(), 5u);
    EXPECT_EQ(host.commands[2].first, 33u);
    EXPECT_FALSE(host.connected);
}

TEST_F(DriveTransfer, AnUnterminatedProgramWarnsAndCancelCloses)
{
    host.program.pop_back();
    boxes.answer = IDCANCEL;
    CResourceModuleScope resources(PlcModule());
    CDlgLumoPlc dialog;
    dialog.m_pPluginIntf = &host;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts[0], CString("Attenzione, il programma LumoPlc potrebbe essere errato"));
}
} // namespace
