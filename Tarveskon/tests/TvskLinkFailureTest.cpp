// A drive that stops answering or answers late, against drivesim: a refused value is told with its
// parameter and cause, the alarm poll waits as long as the line allows and stays off a held line.
#include "TransfersChainFixture.h"

#include <Tarveskon/PluginCall.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace
{

using tvsk::testing::RecordingEvents;

using Lines = std::vector<std::string>;

class TvskLinkFailureTest : public tvsk::testing::TransfersChainFixture
{
protected:
    // The row of the download grid (the current menu's list) that shows the parameter.
    int Row(const char* name)
    {
        for (int row = 0; row < manager->GetParNum(); ++row)
        {
            CString id;
            if (manager->GetParField(row, 0, id) && id == name)
                return row;
        }
        ADD_FAILURE() << name << " is in no row";
        return -1;
    }
    std::string LastError()
    {
        CString text;
        manager->GetLastErrorText(text);
        return text.str();
    }
};

TEST_F(TvskLinkFailureTest, AGridOrMonitorValueTheDriveDoesNotTakeIsRefusedWithItsParameterAndCause)
{
    OpenAndConnect();
    const int row = Row("Pr50");
    ASSERT_TRUE(manager->AddMonitorPar("Pr50"));
    manager->SetModified(FALSE);
    Fault(true);
    EXPECT_EQ(manager->SetParField(row, 1, "150"), HOSTRES_WRITEERR);
    EXPECT_EQ(LastError(), "Pr50 : Errore nella scrittura del parametro\nErrore di comunicazione:\ntime out");
    EXPECT_EQ(Value("Pr50"), 100) << "the configuration keeps its value";
    EXPECT_FALSE(manager->IsModified());

    EXPECT_EQ(manager->SetMonitorParField(0, 1, "150"), HOSTRES_WRITEERR);
    EXPECT_EQ(LastError(), "Pr50 : Errore nella scrittura del parametro\nErrore di comunicazione:\ntime out");
    CString shown;
    ASSERT_TRUE(manager->GetMonitorParField(0, 1, shown));
    EXPECT_EQ(shown.str(), "100");

    // Answering again, the same entry goes out once and stays.
    Fault(false);
    const size_t from = JournalLength();
    EXPECT_EQ(manager->SetParField(row, 1, "150"), HOSTRES_OK);
    EXPECT_EQ(Journaled(from, "write"), Lines{"write 50 16 150"});
    EXPECT_EQ(Value("Pr50"), 150);
    EXPECT_TRUE(manager->IsModified());
}

TEST_F(TvskLinkFailureTest, TheAlarmPollWaitsAsLongAsTheLinesOwnTimeOutAllows)
{
    // Replies held back 400 ms on a line whose reply time-out is 1000 ms.
    OpenAndConnect("Samples/TK40.dat", 1000);
    Delay(400);
    const DBCMD* alarm = manager->ParDb().GetCmdPar("Alarm");
    ASSERT_NE(alarm, nullptr);
    const size_t from = JournalLength();
    char commFailed = 0;
    EXPECT_GE(manager->ReadAlarm(&commFailed), 0);
    EXPECT_EQ(commFailed, 0);
    EXPECT_EQ(Journaled(from, "read").size(), 1u);
    EXPECT_EQ(manager->Link().GetTimeOut(), 1000) << "the line's own time-out is put back";

    // A drive that does not answer at all is still told.
    Fault(true);
    EXPECT_EQ(manager->ReadAlarm(&commFailed), -1);
    EXPECT_EQ(commFailed, 1);
}

TEST_F(TvskLinkFailureTest, AConnectWhereNoDriveAnswersFailsAndLeavesTheProgramOffLine)
{
    OpenAndConnect();
    Fault(true);
    manager->Disconnect();
    ui.boxes.clear();
    EXPECT_EQ(manager->SendCommand(HOSTCMD_CONNECT, 0, 0), HOSTRES_OK);
    EXPECT_EQ(ui.boxes, Lines{"Errore di comunicazione:\ntime out"});
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(manager->GetConnectionDescription(nullptr), "");

    // A drive that answers makes it a connection, after one read of its alarm word.
    ASSERT_TRUE(SendDriveControl(control, "fault none\n"));
    const size_t from = JournalLength();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!manager->IsConnected() && std::chrono::steady_clock::now() < deadline)
        manager->SendCommand(HOSTCMD_CONNECT, 0, 0);
    ASSERT_TRUE(manager->IsConnected());
    EXPECT_EQ(Journaled(from, "read"), Lines{"read 4 16 0"});
}

TEST_F(TvskLinkFailureTest, ALineSilentForASecondIsLostAndTheProgramGoesOffLine)
{
    // Connected without going on line: no watchdog period of the file's.
    OpenAndConnect();
    char answered = 1;
    ASSERT_GE(manager->ReadAlarm(&answered), 0);
    manager->CheckConnection(true);
    const auto start = std::chrono::steady_clock::now();
    Fault(true);
    ui.boxes.clear();
    const auto deadline = start + std::chrono::seconds(20);
    while (manager->IsConnected() && std::chrono::steady_clock::now() < deadline)
    {
        // The status page's poll: the alarm read, then the watchdog with its answer.
        char commFailed = 0;
        manager->ReadAlarm(&commFailed);
        manager->CheckConnection(commFailed == 0);
    }
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(ui.boxes,
              Lines{"Timeot di comunicazione con il drive.\nLa connessione con il drive viene interrotta."});
    EXPECT_EQ(manager->GetConnectionDescription(nullptr), "");
}

TEST_F(TvskLinkFailureTest, WhileATransferHoldsTheLineThePollKnowsIt)
{
    OpenAndConnect();
    EXPECT_FALSE(manager->IsLinkHeldByTransfer());
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    std::vector<bool> held;
    events.onEvent = [&](const std::string& event)
    {
        if (event.rfind("BeforeWritePar", 0) == 0)
            held.push_back(manager->IsLinkHeldByTransfer());
    };
    manager->SendCommand(4, 0, 0);
    ASSERT_FALSE(held.empty());
    EXPECT_EQ(std::count(held.begin(), held.end(), false), 0) << "write all";
    manager->SetScriptEvents(nullptr);
    EXPECT_FALSE(manager->IsLinkHeldByTransfer());

    // The oscilloscope switches the channel off while it records.
    ASSERT_EQ(manager->SendCommand(HOSTCMD_ENABLECOMM, 0, 0), 1);
    EXPECT_TRUE(manager->IsLinkHeldByTransfer());
    manager->SendCommand(HOSTCMD_ENABLECOMM, 1, 0);
    EXPECT_FALSE(manager->IsLinkHeldByTransfer());
}

} // namespace
