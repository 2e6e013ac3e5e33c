// What the bulk transfers send and in which order, read from drivesim's journal: write all over the
// current menu, a word with its bits, the page list after its operating mode, a whole PLC program.
#include "TransfersChainFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using tvsk::testing::Pointer;
using tvsk::testing::RecordingEvents;

using Lines = std::vector<std::string>;

class TvskTransfersOrderTest : public tvsk::testing::TransfersChainFixture
{
};

TEST_F(TvskTransfersOrderTest, WriteAllSendsTheRwParametersOfTheChosenMenuOnceEach)
{
    OpenAndConnect();
    ASSERT_TRUE(manager->SetMenu(3));
    size_t from = JournalLength();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    // Menu 3 of the TK40 holds Pr50-Pr53 rw and Pr55, Pr56, Pr58 read-only; the control word Pr42
    // is in no menu.
    EXPECT_EQ(Journaled(from, "write"),
              (Lines{"write 50 16 100", "write 51 16 2000", "write 52 16 300", "write 53 16 10"}));

    // Menu 0 is every parameter of some menu: still not the control word, still nothing read-only.
    ASSERT_TRUE(manager->SetMenu(0));
    from = JournalLength();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    const Lines written = Journaled(from, "write");
    EXPECT_FALSE(written.empty());
    for (const char* absent : {"write 42 ", "write 42.1 ", "write 55 ", "write 3 "})
        EXPECT_TRUE(std::none_of(written.begin(), written.end(),
                                 [&](const std::string& line) { return line.rfind(absent, 0) == 0; }))
            << absent;
    Lines sorted = written;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a parameter written twice";
    EXPECT_EQ(written.front(), "write 1 16 2") << "the operating mode first";
}

// The control word in menu 1 beside its bits.
class TvskWordAndBitsTest : public TvskTransfersOrderTest
{
protected:
    void BeforeDrive() override
    {
        folder->Replace("TKSERIES/TK40.par", "PAR\tPr42\t-1\trw\t0\t16\t1\t0\t65535\t0\t-1",
                        "PAR\tPr42\t-1\trw\t0\t16\t1\t0\t65535\t0\t1");
    }
};

TEST_F(TvskWordAndBitsTest, AWordGoesOutWithItsBitsSoNoBitPassesThroughAnotherValue)
{
    // The file holds the word 0 and its PLC bit 1; the drive runs its PLC.
    OpenAndConnect();
    ASSERT_EQ(Value("Pr42"), 0);
    ASSERT_EQ(Value("Pr42.4"), 1);
    ASSERT_EQ(Word(42) & 0x10, 0x10);
    ASSERT_TRUE(manager->SetMenu(1));
    const size_t from = JournalLength();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Journaled(from, "write 42"), (Lines{"write 42 16 16", "write 42.0 1 0", "write 42.4 1 1"}));
    EXPECT_EQ(Word(42), 0x10);
    EXPECT_EQ(Value("Pr42"), 0) << "the configuration is left as it was";

    // The page list writes a word and its bits the same way.
    manager->SendCommand(6, 0, 0);
    for (const char* name : {"Pr42", "Pr42.4"})
        ASSERT_EQ(manager->SendCommand(7, Pointer(name), 0), 0);
    const size_t pageFrom = JournalLength();
    manager->SendCommand(9, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Journaled(pageFrom, "write"), (Lines{"write 42 16 16", "write 42.4 1 1"}));
}

TEST_F(TvskTransfersOrderTest, ThePageListReadsTheOperatingModeFirstAndKeepsTheValuesRead)
{
    // The file is in mode 2, the drive in mode 0 with its own full-scale speed.
    OpenAndConnect();
    ASSERT_EQ(Value("Pr1"), 2);
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 1, 0), 0);
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 100, 1500), 0);
    manager->SendCommand(6, 0, 0);
    for (const char* name : {"Pr100", "Pr1"})
        ASSERT_EQ(manager->SendCommand(7, Pointer(name), 0), 0);
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    const size_t from = JournalLength();
    manager->SendCommand(8, 0, 0);
    manager->SetScriptEvents(nullptr);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Journaled(from, "read"), (Lines{"read 1 16 0", "read 100 16 1500"}));
    EXPECT_EQ(Value("Pr1"), 0);
    EXPECT_EQ(Value("Pr100"), 1500) << "not the default of mode 0";
    EXPECT_EQ(events.seen, (Lines{"BeforeReadAll", "AfterReadAll"}));
}

TEST_F(TvskTransfersOrderTest, ThePlcDownloadWritesEveryInstructionAlsoPastTheFirstEnd)
{
    OpenAndConnect();
    SetProgram({{"LD", {3, 5}}, {"END", {}}, {"COMM:after the end", {}}, {"LD", {3, 6}}, {"OUT", {42, 0}}});
    const size_t from = JournalLength();
    ASSERT_EQ(manager->DownloadPlc(), TRUE);
    const Lines written = Journaled(from, "write M");
    ASSERT_EQ(written.size(), 4u) << "no END appended to a program that has one";
    EXPECT_EQ(Word(0x4000), 0x0350);
    EXPECT_EQ(Word(0x4001), 0x000F);
    EXPECT_EQ(Word(0x4002), 0x0360) << "the LD after the END";
}

TEST_F(TvskTransfersOrderTest, AVetoedReadAllFromFiresNoAfterEventAndReadsNothing)
{
    OpenAndConnect();
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    events.veto = "BeforeReadAll";
    const size_t from = JournalLength();
    CString text;
    int index = 7;
    EXPECT_EQ(manager->ReadAllFrom(-1, text, &index), 0);
    manager->SetScriptEvents(nullptr);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(events.seen, Lines{"BeforeReadAll"});
    EXPECT_TRUE(Journaled(from, "read").empty());
    EXPECT_EQ(manager->GetCanRW(), TRUE);
}

} // namespace
