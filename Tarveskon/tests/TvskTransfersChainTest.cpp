// The bulk transfers end to end: the TK40 session against drivesim with the TK40 defaults.
#include "TransfersChainFixture.h"

#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace
{

using tvsk::testing::Pointer;
using tvsk::testing::RecordingEvents;

class TvskTransfersChainTest : public tvsk::testing::TransfersChainFixture
{
protected:
    void SampleProgram()
    {
        SetProgram(
            {{"LD", {3, 5}}, {"COMM:x", {}}, {"OUT", {42, 0}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 0}}});
    }
};

TEST_F(TvskTransfersChainTest, DownloadedProgramLandsInDriveMemoryAndUploadsBackEqual)
{
    OpenAndConnect();
    SampleProgram();
    ASSERT_EQ(manager->SendCommand(32, 0, 0), TRUE);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Word(0x4000), 0x0350);
    EXPECT_EQ(Word(0x4002, 32), 0x0C0B0A08);
    EXPECT_EQ(Word(0x4005), 0x000F);

    bool equal = false;
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), TRUE);
    EXPECT_TRUE(equal);

    ASSERT_EQ(manager->SendCommand(31, 0, 0), TRUE);
    EXPECT_EQ(Instruction(0), "LD 3 5");
    EXPECT_EQ(Instruction(1), "OUT 42 0");
    EXPECT_EQ(Instruction(2), "ADD 10 11 12");
    EXPECT_EQ(Instruction(3), "OUT 76 0");
    EXPECT_EQ(Instruction(4), "END 0 0");
    EXPECT_EQ(Instruction(5), "");

    SetProgram({{"LD", {3, 5}}, {"END", {}}});
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), TRUE);
    EXPECT_FALSE(equal);
    SetProgram({{"LD", {3, 5}}, {"OUT", {42, 0}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 1}}});
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), TRUE);
    EXPECT_FALSE(equal);
}

TEST_F(TvskTransfersChainTest, ProgramThatCannotBeEncodedWritesNothing)
{
    OpenAndConnect();
    SetProgram({{"LD", {3, 5}}, {"OUT", {300, 0}}});
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
    EXPECT_EQ(Word(0x4000), 0);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back(), "Errore in fase di scrittura del LumoPLC nel drive");

    SetProgram({{"NOSUCH", {}}});
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
}

TEST_F(TvskTransfersChainTest, VetoAndMissingLinkStopTheDownloadBeforeAnyWrite)
{
    OpenAndConnect();
    SampleProgram();
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    events.veto = "BeforeWritePLC";
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(Word(0x4000), 0);

    events.veto.clear();
    events.seen.clear();
    EXPECT_EQ(manager->DownloadPlc(), TRUE);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeWritePLC", "AfterWritePLC"}));
    manager->SetScriptEvents(nullptr);

    EnablePlc(false);
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 12);
    EXPECT_EQ(manager->SendCommand(31, 0, 0), FALSE);

    manager->Disconnect();
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

TEST_F(TvskTransfersChainTest, WriteAllAnnouncesEveryParameterAndTheLinkIsFreeAfterwards)
{
    OpenAndConnect();
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    ASSERT_GE(events.seen.size(), 4u);
    EXPECT_EQ(events.seen.front(), "BeforeWriteAll");
    EXPECT_EQ(events.seen.back(), "AfterWriteAll");
    int writes = 0;
    for (size_t i = 1; i + 1 < events.seen.size(); i += 2)
    {
        ASSERT_EQ(events.seen[i].rfind("BeforeWritePar ", 0), 0u) << events.seen[i];
        EXPECT_EQ(events.seen[i + 1], "AfterWritePar " + events.seen[i].substr(15));
        ++writes;
    }
    EXPECT_GT(writes, 0);

    events.veto = "BeforeWriteAll";
    events.seen.clear();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeWriteAll", "AfterWriteAll"}));

    events.veto.clear();
    events.seen.clear();
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(events.seen.front(), "BeforeReadAll");
    EXPECT_EQ(events.seen.back(), "AfterReadAll");
    manager->SetScriptEvents(nullptr);

    // Another thread reaches the drive at once: the transfers left the link free.
    double value = 0;
    std::thread([&] { EXPECT_TRUE(manager->ReadAddr(0x4000, 0, 16, &value)); }).join();

    manager->Disconnect();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 21);
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

TEST_F(TvskTransfersChainTest, CamsLandAtTheirStartAddressesAndBadPointsWriteNothing)
{
    OpenAndConnect("Samples/TK40Cam.dat");
    ASSERT_EQ(manager->SendCommand(37, 0, 0), TRUE);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Word(2048), 0);
    EXPECT_EQ(Word(2048 + 3), 150);
    EXPECT_EQ(Word(2048 + 100), 5000);
    EXPECT_EQ(Word(2048 + 256), 10000);
    EXPECT_EQ(Word(2560 + 5), 0); // cam 1 has no points: zeros

    ASSERT_TRUE(manager->SetCamData(3, std::nan(""), 1, TRUE, 0));
    ASSERT_TRUE(manager->SetCamData(4, 777, 1, TRUE, 0));
    EXPECT_EQ(manager->DownloadCams(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
    EXPECT_EQ(Word(2048 + 4), 200);

    manager->Disconnect();
    EXPECT_EQ(manager->DownloadCams(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

} // namespace
