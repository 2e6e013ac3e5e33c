// The main dialog's drive actions against a host that records its commands: read, write, the
// on-line switch and going on line at opening.
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/DlgLumoPlcIL.h>
#include <TvskLumoPlc/textview/ILView.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <testing/TestApplication.h>
#include <ui/App.h>
#include <ui/MessageBox.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
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
        if (code == 31 && uploadOk && drivePlcEnabled)
            program = drive;
        if (code == 31 && !uploadOk)
            program.clear();
        if (code == 32)
            drive = program;
        if (code == 50)
            return helpShown ? 0 : 13;
        const bool failed =
            (code == 33 && !compareOk) || (code == 31 && !uploadOk) || (code == 32 && !downloadOk);
        if (failed)
            lastError = failureText;
        return failed ? 11 : 0;
    }
    BOOL IsConnected() override { return connected; }
    void SetModified(BOOL) override { ++stores; }
    BOOL GetLastErrorText(CString& text) override
    {
        text = lastError;
        lastError.Empty();
        return TRUE;
    }

    std::vector<std::pair<UINT, long>> commands;
    std::vector<Instr> drive;
    bool connected = false;
    bool compareOk = true;
    bool uploadOk = true;
    bool downloadOk = true;
    bool helpShown = false;
    // Off, the upload answers 0 and reads nothing, as the program's does.
    bool drivePlcEnabled = true;
    int stores = 0;
    // What a failed transfer leaves as the last-error text.
    CString failureText;
    CString lastError;
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
    // Runs the dialog, does the step and presses the exit button: IDOK when the dialog closed,
    // kStayedOpen when it is still open after the exit.
    static constexpr int kStayedOpen = -2;
    INT_PTR RunAndExit(const std::function<void(CDlgLumoPlc&)>& step)
    {
        CResourceModuleScope resources(PlcModule());
        CDlgLumoPlc dialog;
        dialog.m_pPluginIntf = &host;
        auto open = std::make_shared<bool>(true);
        QTimer::singleShot(0,
                           [&dialog, step, open]
                           {
                               step(dialog);
                               Send(dialog, ID_PLC_EXIT);
                               QTimer::singleShot(0,
                                                  [&dialog, open]
                                                  {
                                                      if (*open)
                                                          dialog.EndDialog(kStayedOpen);
                                                  });
                           });
        const INT_PTR result = dialog.DoModal();
        *open = false;
        return result;
    }
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
    EXPECT_EQ(host.stores, 0) << "the file's own program stored again leaves it unmodified";
}

TEST_F(DriveTransfer, OnlyAStoreThatChangesTheProgramMarksTheFileModified)
{
    boxes.answer = IDOK;
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Send(dialog, ID_PLC_SAVE_CODE);
            Send(dialog, ID_PLC_NEW_CODE);
            Send(dialog, ID_PLC_SAVE_CODE);
        });
    EXPECT_EQ(host.stores, 1);
    EXPECT_NE(host.program, host.drive) << "the new code is in the file";
}

// The host says why a write failed: the editor adds no second box.
TEST_F(DriveTransfer, AWriteTheHostRefusesLeavesTheWordToTheHost)
{
    host.downloadOk = false;
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_WRITE); });
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_FALSE(host.connected);
}

// With the drive's PLC not enabled the upload reads nothing: the editor says so once, stays off
// line and keeps its own program in the host.
TEST_F(DriveTransfer, AnUploadThatReadsNothingLeavesTheEditorOffLine)
{
    host.drive = {{"LD", {3, 0, -1}}, {"END", {-1, -1, -1}}};
    host.drivePlcEnabled = false;
    const auto before = host.program;
    bool online = true, animated = true;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            Send(dialog, ID_PLC_ONLINE);
            online = dialog.IsOnline();
            animated = dialog.GetView()->IsAnimated();
        });
    EXPECT_FALSE(online);
    EXPECT_FALSE(animated);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], CString("Questa azione provoca la cancellazione del PLC esistente"));
    EXPECT_EQ(boxes.texts[1],
              CString("Nessun programma letto dal drive: il LumoPLC del drive non è abilitato. "
                      "LumoPlc resta off line"));
    EXPECT_EQ(host.program, before);
    EXPECT_EQ(host.stores, 0) << "the file's program is as it was";
    EXPECT_FALSE(host.connected);
}

// A compare the user cancelled says what the host says of it, not a line fault.
TEST_F(DriveTransfer, ACancelledCompareShowsTheHostsWord)
{
    host.compareOk = false;
    host.failureText = "Lettura annullata";
    Run([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_READ); });
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Lettura annullata"));
}

// F1 pressed in the ladder view and in the instruction list: the host's help, or a box saying
// there is none.
TEST_F(DriveTransfer, FOneAsksTheHostForHelpAndSaysWhenThereIsNone)
{
    const auto pressF1 = [](CDlgLumoPlc& dialog)
    {
        dialog.GetView()->SetFocus();
        QTest::keyClick(dialog.GetView()->GetWidget(), Qt::Key_F1);
    };
    Run(pressF1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("La guida non è disponibile per LumoPlc"));
    ASSERT_FALSE(host.commands.empty());
    EXPECT_EQ(host.commands.back().first, 50u);

    boxes.texts.clear();
    host.helpShown = true;
    Run(pressF1);
    EXPECT_TRUE(boxes.texts.empty());

    host.helpShown = false;
    Run(
        [](CDlgLumoPlc& dialog)
        {
            QTimer::singleShot(0,
                               []
                               {
                                   auto* list = dynamic_cast<CDlgLumoPlcIL*>(
                                       CWnd::FromWidget(QApplication::activeModalWidget()));
                                   ASSERT_NE(list, nullptr);
                                   QTest::keyClick(list->GetView()->GetWidget(), Qt::Key_F1);
                                   list->SendMessage(WM_COMMAND, ID_IL_LADDER, 0);
                               });
            Send(dialog, ID_PLC_IL_MODE);
        });
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("La guida non è disponibile per LumoPlc"));
}

// Going to the instruction list and straight back changes nothing; an edit there does.
TEST_F(DriveTransfer, TheInstructionListLeftUnchangedLeavesTheProgramUnmodified)
{
    bool modified = true;
    CString caption;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            QTimer::singleShot(0,
                               []
                               {
                                   auto* list = dynamic_cast<CDlgLumoPlcIL*>(
                                       CWnd::FromWidget(QApplication::activeModalWidget()));
                                   ASSERT_NE(list, nullptr);
                                   list->SendMessage(WM_COMMAND, ID_IL_LADDER, 0);
                               });
            Send(dialog, ID_PLC_IL_MODE);
            modified = dialog.IsModified();
            caption = dialog.GetWindowText();
        });
    EXPECT_FALSE(modified);
    EXPECT_EQ(caption, CString("Lumo Plc"));

    Run(
        [&](CDlgLumoPlc& dialog)
        {
            QTimer::singleShot(
                0,
                []
                {
                    auto* list =
                        dynamic_cast<CDlgLumoPlcIL*>(CWnd::FromWidget(QApplication::activeModalWidget()));
                    ASSERT_NE(list, nullptr);
                    QTest::keyClick(list->GetView()->GetWidget(), Qt::Key_End, Qt::ControlModifier);
                    QTest::keyClick(list->GetView()->GetWidget(), Qt::Key_Space);
                    list->SendMessage(WM_COMMAND, ID_IL_LADDER, 0);
                });
            Send(dialog, ID_PLC_IL_MODE);
            modified = dialog.IsModified();
            caption = dialog.GetWindowText();
        });
    EXPECT_TRUE(modified);
    EXPECT_EQ(caption, CString("Lumo Plc*"));
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

// On the host's link the editor opens on line: it stores its program and compares at once; the
// drive holds the same program, so nothing is asked or read.
TEST_F(DriveTransfer, OpenedConnectedItGoesOnLineAndStoresAtOnce)
{
    host.connected = true;
    bool online = false, animated = false;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            online = dialog.IsOnline();
            animated = dialog.GetView()->IsAnimated();
        });
    EXPECT_TRUE(online);
    EXPECT_TRUE(animated);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].first, 33u);
    EXPECT_EQ(host.stores, 0) << "the program it stored is the file's own";
    EXPECT_TRUE(host.connected); // not the link owner: the host's link stays
    EXPECT_TRUE(boxes.texts.empty());
}

// Opened on the host's link over a drive that holds another program: the question comes at
// opening; a read that brings nothing leaves the editor off line, said once, its program kept.
TEST_F(DriveTransfer, OpenedConnectedOverAnotherProgramAsksAndAnEmptyReadLeavesItOffLine)
{
    host.connected = true;
    host.drive = {{"LD", {3, 0, -1}}, {"END", {-1, -1, -1}}};
    host.drivePlcEnabled = false;
    const auto before = host.program;
    bool online = true, animated = true;
    std::vector<CString> atOpening;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            atOpening = boxes.texts;
            online = dialog.IsOnline();
            animated = dialog.GetView()->IsAnimated();
        });
    EXPECT_FALSE(online);
    EXPECT_FALSE(animated);
    ASSERT_EQ(atOpening.size(), 2u);
    EXPECT_EQ(atOpening[0], CString("Questa azione provoca la cancellazione del PLC esistente"));
    EXPECT_EQ(atOpening[1], CString("Nessun programma letto dal drive: il LumoPLC del drive non è abilitato. "
                                    "LumoPlc resta off line"));
    const Commands expected = {{33, host.commands[0].second}, {31, 0}};
    EXPECT_EQ(host.commands, expected);
    EXPECT_EQ(host.program, before);
    EXPECT_TRUE(host.connected) << "the host's link stays";
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

TEST_F(DriveTransfer, ClosingOnLineEndsTheLinkTheDialogOpened)
{
    EXPECT_EQ(RunAndExit([](CDlgLumoPlc& dialog) { Send(dialog, ID_PLC_ONLINE); }), IDOK);
    const Commands expected = {{24, 1}, {10, 1}, {33, host.commands[2].second}, {24, 1}, {10, 1}};
    EXPECT_EQ(host.commands, expected);
    EXPECT_FALSE(host.connected);
}

TEST_F(DriveTransfer, ClosingOnTheHostsLinkLeavesItConnected)
{
    host.connected = true;
    EXPECT_EQ(RunAndExit([](CDlgLumoPlc&) {}), IDOK);
    EXPECT_TRUE(host.connected);
    EXPECT_TRUE(boxes.texts.empty());
}

// Not the link owner and switched off line: a modified program asks before it is dropped.
TEST_F(DriveTransfer, LeavingAModifiedProgramOffLineAsksAndYesDropsTheChanges)
{
    host.connected = true;
    const auto before = host.program;
    const auto modifyOffLine = [](CDlgLumoPlc& dialog)
    {
        Send(dialog, ID_PLC_ONLINE);
        Send(dialog, ID_PLC_LD);
        EXPECT_EQ(dialog.GetWindowText(), CString("Lumo Plc*"));
    };
    const CString question = "Il sorgente PLC è stato modificato, se si esce da LumoPlc le modifiche "
                             "saranno perse.\nUscire comunque?";
    boxes.answer = IDNO;
    EXPECT_EQ(RunAndExit(modifyOffLine), kStayedOpen);
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.back(), question);
    EXPECT_EQ(boxes.types.back(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));

    boxes.texts.clear();
    boxes.answer = IDYES;
    const int stores = host.stores;
    EXPECT_EQ(RunAndExit(modifyOffLine), IDOK);
    EXPECT_EQ(boxes.texts.back(), question);
    EXPECT_EQ(host.program, before) << "the changes are dropped";
    EXPECT_EQ(host.stores, stores) << "going on line at opening stored the file's own program";
}

// Only a rectangle of exactly 16 bytes is taken; the closing writes 16 again.
TEST_F(DriveTransfer, AStoredRectangleOfFifteenOrSeventeenBytesIsIgnored)
{
    const int32_t rect[5] = {40, 50, 640, 530, 0};
    for (UINT bytes : {15u, 17u, 16u})
    {
        AfxGetApp()->WriteProfileBinary("Settings", "LumoPlcWin", reinterpret_cast<const BYTE*>(rect), bytes);
        CRect placed;
        EXPECT_EQ(RunAndExit([&](CDlgLumoPlc& dialog) { dialog.GetWindowRect(&placed); }), IDOK);
        // The dialog keeps the stored corner; it may widen to hold its toolbars.
        EXPECT_EQ(placed.TopLeft() == CPoint(40, 50), bytes == 16) << bytes;
        BYTE* data = nullptr;
        UINT stored = 0;
        ASSERT_TRUE(AfxGetApp()->GetProfileBinary("Settings", "LumoPlcWin", &data, &stored));
        delete[] data;
        EXPECT_EQ(stored, 16u);
    }
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
