// Going on line counted in the progress window and stopped by Cancel, and what read all and write
// all say when a question's Cancel stops them, against drivesim's journal.
#include "TransfersChainFixture.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

constexpr int kLateMs = 150;
constexpr int kPatientTimeOut = 1500;

class TvskTransfersStopTest : public tvsk::testing::TransfersChainFixture
{
protected:
    // The journal's reads from the line on, by address and width ("33 16", "M12 16"), with their count.
    std::map<std::string, int> Reads(size_t from)
    {
        std::map<std::string, int> reads;
        for (const std::string& line : JournalFrom(from))
            if (line.rfind("read ", 0) == 0)
                ++reads[line.substr(5, line.find(' ', line.find(' ', 5) + 1) - 5)];
        return reads;
    }
    static int Total(const std::map<std::string, int>& reads)
    {
        int total = 0;
        for (const auto& [what, count] : reads)
            total += count;
        return total;
    }
    static int PlcWords(const std::map<std::string, int>& reads)
    {
        int words = 0;
        for (const auto& [what, count] : reads)
            words += what[0] == 'M' ? count : 0;
        return words;
    }
    // The drive's word as drivesim's control sets it, taken before the next request.
    void SetDriveWord(int address, long value)
    {
        ASSERT_TRUE(
            SendDriveControl(control, "set " + std::to_string(address) + " " + std::to_string(value) + "\n"));
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (Word(address) != (value & 0xFFFF) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void GoOnline()
    {
        ui.answers = {IDYES};
        manager->GoOnline(nullptr);
    }
};

TEST_F(TvskTransfersStopTest, GoingOnLineCountsEveryReadAndReadsEachProgramWordOnceUpToItsEnd)
{
    OpenAndConnect();
    SetProgram({{"LD", {3, 5}}, {"OUT", {76, 1}}, {"END", {}}});
    ASSERT_TRUE(manager->DownloadPlc());
    ui.steps.clear();
    ui.boxes.clear();
    const size_t from = JournalLength();
    GoOnline();
    ASSERT_EQ(ui.boxes.size(), 1u) << ui.boxes.back();
    const std::map<std::string, int> reads = Reads(from);
    // Each program word once (a word's bits are parameters of their own, read on their own).
    for (const auto& [what, count] : reads)
    {
        if (what[0] == 'M')
        {
            EXPECT_EQ(count, 1) << what << " read more than once";
        }
    }
    EXPECT_EQ(PlcWords(reads), 3) << "the program up to its END, nothing past it";

    ASSERT_FALSE(ui.steps.empty()) << "the progress window counts the reads";
    EXPECT_EQ(ui.steps.front().done, 0);
    EXPECT_EQ(ui.steps.back().done, ui.steps.back().total) << "the count ends complete";
    // Every read but the enable test is counted.
    EXPECT_GE(ui.steps.back().done, Total(reads) - 1);
    EXPECT_LE(ui.steps.back().done, Total(reads));
    EXPECT_EQ(Program(), (Lines{"LD 3 5", "OUT 76 1", "END 0 0"}));
}

TEST_F(TvskTransfersStopTest, GoingOnLineCancelledAmongTheParametersStopsWithinASecondAndSaysWhatWasRead)
{
    OpenAndConnect("Samples/TK40.dat", kPatientTimeOut);
    SetProgram({{"LD", {3, 5}}, {"END", {}}});
    ASSERT_TRUE(manager->DownloadPlc());
    SetProgram({{"OUT", {76, 1}}, {"END", {}}});
    SetDriveWord(32, 2500);
    Delay(kLateMs);
    ui.steps.clear();
    ui.boxes.clear();
    Clock::time_point pressed{};
    ui.onStep = [&](int done)
    {
        if (done == 3)
        {
            pressed = Clock::now();
            ui.cancel = true;
        }
    };
    const size_t from = JournalLength();
    GoOnline();
    const auto ended = Clock::now();
    ASSERT_NE(pressed, Clock::time_point{});
    EXPECT_LT(ended - pressed, std::chrono::milliseconds(1000));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Lettura dal drive annullata dopo 3 letture: gli altri parametri e il programma "
                           "LumoPLC della configurazione non sono stati letti dal drive");
    EXPECT_EQ(ui.types.back(), UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(Total(Reads(from)), 3) << "nothing read after the Cancel";
    EXPECT_EQ(Program(), (Lines{"OUT 76 1", "END"})) << "the configuration's program stays";
    EXPECT_TRUE(manager->IsConnected()) << "the user's connection stays";
    ASSERT_GE(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[ui.shown.size() - 2], "end wait") << "the window is gone before the box";
    Delay(0);
    double value = 0;
    EXPECT_TRUE(manager->ReadAddr(1, 0, 16, &value)) << "the link is free and clean";
}

TEST_F(TvskTransfersStopTest, GoingOnLineCancelledInTheProgramKeepsTheConfigurationsProgram)
{
    OpenAndConnect("Samples/TK40.dat", kPatientTimeOut);
    manager->ResetPlc();
    for (int i = 0; i < 20; ++i)
    {
        int operands[3] = {3, i % 16, -1};
        ASSERT_EQ(manager->SetPlcInstr(i, "LD", operands), HOSTRES_OK);
    }
    ASSERT_TRUE(manager->DownloadPlc());
    SetProgram({{"OUT", {76, 1}}, {"END", {}}});
    SetDriveWord(32, 2500);
    ui.steps.clear();
    ui.boxes.clear();
    const size_t from = JournalLength();
    // Cancel on the fifth program word.
    ui.onStep = [&](int)
    {
        if (PlcWords(Reads(from)) == 5)
            ui.cancel = true;
    };
    GoOnline();
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Lettura dal drive annullata durante il LumoPLC: i parametri della configurazione "
                           "sono quelli del drive, il suo programma LumoPLC è quello di prima");
    EXPECT_EQ(PlcWords(Reads(from)), 5);
    EXPECT_EQ(Program(), (Lines{"OUT 76 1", "END"}));
    EXPECT_EQ(Value("Pr32"), 2500) << "the parameters read stay";
}

TEST_F(TvskTransfersStopTest, ReadAllStoppedByAQuestionSaysHowFarItGotAndWhatTheRestHolds)
{
    OpenAndConnect();
    // The drive in another operating mode than the file's: the mode read brings that mode's list.
    SetDriveWord(1, 0);
    ASSERT_NE(manager->ParDb().GetOpMode(), 0);
    ui.boxes.clear();
    ui.onStep = [&](int done)
    {
        if (done == 1)
        {
            ASSERT_TRUE(SendDriveControl(control, "fault silent\n"));
        }
    };
    ui.answers = {IDCANCEL};
    const size_t from = JournalLength();
    manager->ReadAllPars();
    ui.onStep = nullptr;
    EXPECT_EQ(JournalFrom(from).size(), 1u) << "the mode, then nothing answered";
    Fault(false);
    EXPECT_EQ(manager->GetErrorCode(), 2);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_NE(ui.boxes[0].find(" : Errore nella lettura del parametro."), std::string::npos) << ui.boxes[0];
    char expected[300];
    std::snprintf(
        expected, sizeof expected,
        "Lettura parametri annullata dopo 1 parametri su %d: il drive non è cambiato; il modo operativo "
        "letto dal drive ha dato agli altri parametri della configurazione i valori predefiniti del modo",
        ui.steps.back().total);
    EXPECT_EQ(ui.boxes[1], expected);

    // The same mode: the rest keeps the configuration's own values.
    ui.boxes.clear();
    ui.steps.clear();
    ui.onStep = [&](int done)
    {
        if (done == 2)
        {
            ASSERT_TRUE(SendDriveControl(control, "fault silent\n"));
        }
    };
    ui.answers = {IDCANCEL};
    manager->ReadAllPars();
    ui.onStep = nullptr;
    Fault(false);
    ASSERT_EQ(ui.boxes.size(), 2u);
    std::snprintf(
        expected, sizeof expected,
        "Lettura parametri annullata dopo 2 parametri su %d: il drive non è cambiato, per gli altri la "
        "configurazione mantiene i suoi valori",
        ui.steps.back().total);
    EXPECT_EQ(ui.boxes[1], expected);
}

TEST_F(TvskTransfersStopTest, WriteAllStoppedByAQuestionSaysHowFarItGot)
{
    OpenAndConnect();
    ui.boxes.clear();
    ui.onStep = [&](int done)
    {
        if (done == 2)
        {
            ASSERT_TRUE(SendDriveControl(control, "fault silent\n"));
        }
    };
    ui.answers = {IDCANCEL};
    const size_t from = JournalLength();
    manager->WriteAllPars();
    ui.onStep = nullptr;
    const Lines served = JournalFrom(from);
    Fault(false);
    EXPECT_EQ(manager->GetErrorCode(), 1);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_NE(ui.boxes[0].find(" : Errore nella scrittura del parametro."), std::string::npos) << ui.boxes[0];
    char expected[300];
    std::snprintf(
        expected, sizeof expected,
        "Scrittura parametri annullata dopo 2 parametri su %d: per gli altri il drive mantiene i valori "
        "di prima",
        ui.steps.back().total);
    EXPECT_EQ(ui.boxes[1], expected);
    size_t writes = 0;
    for (const std::string& line : served)
        writes += line.rfind("write ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(writes, 2u);
}

} // namespace
