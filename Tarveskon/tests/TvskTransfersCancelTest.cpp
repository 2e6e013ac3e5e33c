// Long transfers on a late line: their progress, the slow-line note and Cancel, against drivesim.
#include "TransfersChainFixture.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// Replies this late, and a time-out that still waits for them.
constexpr int kLateMs = 400;
constexpr int kPatientTimeOut = 1500;

class TvskTransfersCancelTest : public tvsk::testing::TransfersChainFixture
{
protected:
    // Presses Cancel once the transfer counted the exchanges, in the middle of the next one.
    void CancelAfter(int exchanges)
    {
        m_canceller = std::thread(
            [this, exchanges]
            {
                const auto deadline = Clock::now() + std::chrono::seconds(60);
                while (ui.lastDone < exchanges && Clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                std::this_thread::sleep_for(std::chrono::milliseconds(kLateMs / 2));
                m_pressed = Clock::now();
                ui.cancel = true;
            });
    }
    // Milliseconds from the press to now.
    long SincePressed()
    {
        const auto now = Clock::now();
        m_canceller.join();
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now - m_pressed).count());
    }
    void TearDown() override
    {
        if (m_canceller.joinable())
            m_canceller.join();
        TransfersChainFixture::TearDown();
    }
    size_t Count(size_t from, const std::string& prefix)
    {
        size_t count = 0;
        for (const std::string& line : JournalFrom(from))
            count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }
    bool SomeNote(const char* text) const
    {
        for (const auto& step : ui.steps)
            if (step.note.find(text) != std::string::npos)
                return true;
        return false;
    }
    void LongProgram(int instructions)
    {
        manager->ResetPlc();
        for (int i = 0; i < instructions; ++i)
        {
            int operands[3] = {3, i % 16, -1};
            ASSERT_EQ(manager->SetPlcInstr(i, "LD", operands), HOSTRES_OK);
        }
    }

private:
    std::thread m_canceller;
    Clock::time_point m_pressed;
};

TEST_F(TvskTransfersCancelTest, ACamDownloadOnALateLineTellsItsPaceAndCancelStopsItAtACleanPoint)
{
    OpenAndConnect("Samples/TK40Cam.dat", kPatientTimeOut);
    Delay(kLateMs);
    const size_t from = JournalLength();
    ui.boxes.clear();
    CancelAfter(4);
    EXPECT_EQ(manager->DownloadCams(), FALSE);
    EXPECT_LT(SincePressed(), 1000) << "Cancel stops within a second";
    EXPECT_EQ(manager->GetErrorCode(), 5);

    ASSERT_FALSE(ui.steps.empty());
    EXPECT_EQ(ui.steps.front().done, 0);
    EXPECT_EQ(ui.steps.front().total, 4 * 257);
    EXPECT_TRUE(SomeNote("La linea è molto più lenta della sua velocità nominale")) << "a slow line is told";
    EXPECT_TRUE(ui.steps.front().note.empty()) << "nothing judged before the first exchanges";
    // What the box says reached the drive is what the drive served, no more.
    const int done = ui.steps.back().done;
    EXPECT_GE(done, 4);
    EXPECT_LE(done, 6);
    EXPECT_EQ(Count(from, "write "), static_cast<size_t>(done));
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "Scrittura camme annullata: il drive contiene i primi %d punti nuovi su %d, gli altri sono "
                  "quelli di prima",
                  done, 4 * 257);
    EXPECT_EQ(ui.boxes, Lines{expected});
    EXPECT_EQ(ui.types.back(), UINT(MB_OK | MB_ICONWARNING));

    // The next operation finds the line clean: no late reply of the stopped transfer comes first.
    Delay(0);
    EXPECT_EQ(Word(2048 + 3), 150);
    EXPECT_EQ(Word(2048 + done), 0) << "the first point not sent";
}

TEST_F(TvskTransfersCancelTest, APlcDownloadCancelledLeavesTheDriveAnEmptyProgramAndTheNextOneLands)
{
    OpenAndConnect("Samples/TK40.dat", kPatientTimeOut);
    LongProgram(12);
    Delay(kLateMs);
    ui.boxes.clear();
    CancelAfter(2);
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_LT(SincePressed(), 1000 + kLateMs) << "Cancel stops within a second, then the END is written";
    EXPECT_EQ(manager->GetErrorCode(), 11);
    EXPECT_EQ(ui.boxes, Lines{"Scrittura LumoPLC annullata: il programma nel drive ora è vuoto (solo END)"});
    ASSERT_FALSE(ui.steps.empty());
    EXPECT_EQ(ui.steps.front().total, 13) << "twelve instructions and the END appended";

    Delay(0);
    ui.cancel = false;
    ui.steps.clear();
    EXPECT_EQ(Word(0x4000), 0x000F) << "END";
    ASSERT_EQ(manager->DownloadPlc(), TRUE);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(ui.steps.back().done, 13);
    EXPECT_FALSE(SomeNote("ms")) << "a clean line is not called slow";
    bool equal = false;
    ASSERT_EQ(manager->ComparePlc(&equal), TRUE);
    EXPECT_TRUE(equal);
}

TEST_F(TvskTransfersCancelTest, WriteAllAndReadAllCancelledSayHowFarTheyGot)
{
    OpenAndConnect("Samples/TK40.dat", kPatientTimeOut);
    Delay(kLateMs);
    ui.boxes.clear();
    CancelAfter(3);
    manager->WriteAllPars();
    EXPECT_LT(SincePressed(), 1000);
    EXPECT_EQ(manager->GetErrorCode(), 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes.front().rfind("Scrittura parametri annullata dopo ", 0), 0u) << ui.boxes.front();
    const int written = ui.steps.back().done;
    EXPECT_NE(ui.boxes.front().find(" " + std::to_string(written) + " parametri su " +
                                    std::to_string(ui.steps.back().total) + ":"),
              std::string::npos)
        << ui.boxes.front();
    EXPECT_EQ(ui.shown.front(), "wait Scrittura parametri in corso ...");

    ui.cancel = false;
    ui.boxes.clear();
    ui.steps.clear();
    ui.lastDone = -1;
    CancelAfter(3);
    manager->ReadAllPars();
    EXPECT_LT(SincePressed(), 1000);
    EXPECT_EQ(manager->GetErrorCode(), 2);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes.front().rfind("Lettura parametri annullata dopo ", 0), 0u) << ui.boxes.front();

    Delay(0);
    double value = 0;
    EXPECT_TRUE(manager->ReadAddr(1, 0, 16, &value)) << "the link is free and clean";
}

TEST_F(TvskTransfersCancelTest, APlcDownloadRefusedBeforeItsFirstRequestSaysWhy)
{
    OpenAndConnect();
    SetProgram({{"LD", {3, 5}}, {"END", {}}});
    ui.boxes.clear();
    Fault(true);
    const size_t from = JournalLength();
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 12);
    EXPECT_EQ(ui.boxes,
              Lines{"Il drive non ha risposto alla lettura del bit di abilitazione del LumoPLC: nulla è "
                    "stato scritto nel drive"});
    EXPECT_EQ(ui.types.back(), UINT(MB_OK | MB_ICONERROR));
    Fault(false);
    EXPECT_EQ(Count(from, "write M"), 0u);

    EnablePlc(false);
    ui.boxes.clear();
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 12);
    EXPECT_EQ(ui.boxes, Lines{"Il LumoPLC del drive non è abilitato: nulla è stato scritto nel drive"});
    EXPECT_EQ(Count(from, "write M"), 0u);
}

} // namespace
