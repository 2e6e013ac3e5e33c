// Read all and write all against a drive that stops answering: the retry questions and their
// answers, the error codes, the events and the link left free.
#include "TransfersChainFixture.h"

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{

using tvsk::testing::RecordingEvents;

constexpr const char* kReadQuestion = "Pr1 : Errore nella lettura del parametro.\nRitentare ?";
constexpr const char* kWriteQuestion = "Pr1 : Errore nella scrittura del parametro.\nRitentare ?";
constexpr UINT kQuestion = MB_YESNOCANCEL | MB_ICONWARNING;

class TvskTransfersRetryTest : public tvsk::testing::TransfersChainFixture
{
protected:
    void SetUp() override
    {
        TransfersChainFixture::SetUp();
        OpenAndConnect();
        events = std::make_unique<RecordingEvents>(*manager);
        manager->SetScriptEvents(events.get());
    }
    void TearDown() override
    {
        manager->SetScriptEvents(nullptr);
        TransfersChainFixture::TearDown();
    }
    // The drive answers again while the first question is up.
    void RecoverAtTheFirstQuestion()
    {
        ui.whileShown = [this](size_t shownBefore)
        {
            if (shownBefore == 0)
                Fault(false);
        };
    }
    bool Journaled(size_t from, const std::string& prefix)
    {
        const std::vector<std::string> lines = JournalFrom(from);
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    }
    void ExpectTheLinkFree()
    {
        std::thread(
            [this]
            {
                EXPECT_EQ(manager->SendCommand(18, 0, 0), 0);
                EXPECT_EQ(manager->SendCommand(19, 0, 0), 0);
            })
            .join();
    }

    std::unique_ptr<RecordingEvents> events;
};

TEST_F(TvskTransfersRetryTest, ReadAllCancelledAtTheOperatingModeEndsWithTwo)
{
    Fault(true);
    ui.boxes.clear();
    ui.types.clear();
    ui.answers = {IDCANCEL};
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 2);
    // The question, then how far the read got.
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0], kReadQuestion);
    EXPECT_EQ(ui.boxes[1].rfind("Lettura parametri annullata dopo 0 parametri su ", 0), 0u) << ui.boxes[1];
    EXPECT_EQ(ui.types, (std::vector<UINT>{kQuestion, MB_OK | MB_ICONWARNING}));
    EXPECT_EQ(events->seen, (std::vector<std::string>{"BeforeReadAll", "AfterReadAll"}));
}

TEST_F(TvskTransfersRetryTest, ReadAllRetriedReadsTheWholeWorkingList)
{
    Fault(true);
    ui.boxes.clear();
    ui.answers = {IDYES};
    RecoverAtTheFirstQuestion();
    const size_t from = JournalLength();
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(ui.boxes, std::vector<std::string>{kReadQuestion});
    EXPECT_TRUE(Journaled(from, "read 1 ")) << "the operating mode read again";
    // Pr42 and its bits are in no menu: they sit at the working list's tail.
    EXPECT_TRUE(Journaled(from, "read 42")) << "the whole working list is read";
}

TEST_F(TvskTransfersRetryTest, ReadAllSkippedThenCancelledEndsWithTwo)
{
    Fault(true);
    ui.boxes.clear();
    ui.answers = {IDNO, IDCANCEL};
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 2);
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[0], kReadQuestion);
    EXPECT_NE(ui.boxes[1].rfind("Pr1 :", 0), 0u) << "the next parameter is asked about";
    EXPECT_NE(ui.boxes[1].find("Errore nella lettura del parametro."), std::string::npos);
    // The skipped parameter counts among those passed.
    EXPECT_EQ(ui.boxes[2].rfind("Lettura parametri annullata dopo 1 parametri su ", 0), 0u) << ui.boxes[2];
    EXPECT_EQ(events->seen.back(), "AfterReadAll");
}

TEST_F(TvskTransfersRetryTest, WriteAllCancelledEndsWithOneAndFreesTheLink)
{
    Fault(true);
    ui.boxes.clear();
    ui.types.clear();
    ui.answers = {IDCANCEL};
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 1);
    // The question, then how far the write got.
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0], kWriteQuestion);
    EXPECT_EQ(ui.boxes[1].rfind("Scrittura parametri annullata dopo 0 parametri su ", 0), 0u) << ui.boxes[1];
    EXPECT_EQ(ui.types, (std::vector<UINT>{kQuestion, MB_OK | MB_ICONWARNING}));
    ASSERT_FALSE(events->seen.empty());
    EXPECT_EQ(events->seen.front(), "BeforeWriteAll");
    EXPECT_EQ(events->seen.back(), "AfterWriteAll");
    ExpectTheLinkFree();
}

TEST_F(TvskTransfersRetryTest, WriteAllSkippingOneWritesTheRest)
{
    Fault(true);
    ui.boxes.clear();
    ui.shown.clear();
    ui.answers = {IDNO};
    RecoverAtTheFirstQuestion();
    events->seen.clear();
    const size_t from = JournalLength();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(ui.boxes, std::vector<std::string>{kWriteQuestion});
    const std::string progress = "wait Scrittura parametri in corso ...";
    EXPECT_EQ(ui.shown, (std::vector<std::string>{progress, "end wait", std::string("box ") + kWriteQuestion,
                                                  progress, "end wait"}))
        << "the progress window is off while the question is up";
    EXPECT_FALSE(Journaled(from, "write 1 ")) << "the operating mode was skipped";
    EXPECT_TRUE(Journaled(from, "write 42")) << "the rest is written";

    // Every parameter written after the skipped one is announced before and after.
    ASSERT_GE(events->seen.size(), 4u);
    EXPECT_EQ(events->seen.front(), "BeforeWriteAll");
    EXPECT_EQ(events->seen.back(), "AfterWriteAll");
    const auto firstWritten = std::find_if(events->seen.begin() + 1, events->seen.end(),
                                           [](const std::string& e)
                                           { return e != "BeforeWritePar Pr1" && e != "AfterWritePar Pr1"; });
    for (auto it = firstWritten; it + 1 < events->seen.end(); it += 2)
    {
        ASSERT_EQ(it->rfind("BeforeWritePar ", 0), 0u) << *it;
        EXPECT_EQ(*(it + 1), "AfterWritePar " + it->substr(15));
    }
    ExpectTheLinkFree();
}

TEST_F(TvskTransfersRetryTest, WriteAllRetriedWritesTheOperatingModeFirst)
{
    Fault(true);
    ui.boxes.clear();
    ui.answers = {IDYES};
    RecoverAtTheFirstQuestion();
    const size_t from = JournalLength();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(ui.boxes, std::vector<std::string>{kWriteQuestion});
    const std::vector<std::string> lines = JournalFrom(from);
    const auto firstWrite = std::find_if(lines.begin(), lines.end(),
                                         [](const std::string& line) { return line.rfind("write", 0) == 0; });
    ASSERT_NE(firstWrite, lines.end());
    EXPECT_EQ(firstWrite->rfind("write 1 ", 0), 0u) << *firstWrite;
}

} // namespace
