// Live animation: watch entries and blocks, the worker against a recording host, power flow
// through contacts, crosses and coils, and switching on and off in the ladder view.
#include "LadderViewFixture.h"
#include "RecordingHost.h"

#include <TvskLumoPlc/graph/GraphLadder.h>

#include <QElapsedTimer>
#include <QTest>

namespace
{
// The window and flags the worker reads, without a ladder view.
class FakeAnimationView : public CAnimationView
{
public:
    CWnd* GetAnimationWnd() override { return &window; }
    CPluginIntf* GetAnimationHost() const override { return host; }
    bool IsAnimationShown() const override { return shown.load(); }

    CWnd window;
    CPluginIntf* host = nullptr;
    std::atomic<bool> shown{true};
};

std::vector<std::pair<unsigned long, unsigned short>> Blocks(const CAnimateChart& chart)
{
    std::vector<std::pair<unsigned long, unsigned short>> blocks;
    for (const ANIMATION_BLOCK& block : chart.GetBlocks())
        blocks.emplace_back(block.address, block.width);
    return blocks;
}

using BlockList = std::vector<std::pair<unsigned long, unsigned short>>;
} // namespace

TEST(AnimateChart, BitsOfOneWordShareABlockAndNeighbouringWordsJoin)
{
    CAnimateChart chart;
    EXPECT_TRUE(chart.AddVariable("3.0"));
    EXPECT_TRUE(chart.AddVariable("3.5"));
    chart.BuildBlocks();
    EXPECT_EQ(Blocks(chart), (BlockList{{3, 16}}));

    for (const auto& order : {std::pair{"7.0", "8.1"}, std::pair{"8.1", "7.0"}})
    {
        chart.Clear();
        chart.AddVariable(order.first);
        chart.AddVariable(order.second);
        chart.BuildBlocks();
        EXPECT_EQ(Blocks(chart), (BlockList{{7, 32}})) << order.first;
    }
    chart.Clear();
    for (const char* operand : {"20.0", "10.0", "12.0", "11.3"})
        chart.AddVariable(operand);
    chart.BuildBlocks();
    EXPECT_EQ(Blocks(chart), (BlockList{{10, 32}, {12, 16}, {20, 16}}));
}

TEST(AnimateChart, OnlyBitOperandsWithinTheCommandsRangeAreWatched)
{
    CAnimateChart chart;
    EXPECT_FALSE(chart.AddVariable("P12"));
    EXPECT_FALSE(chart.AddVariable("12"));
    EXPECT_FALSE(chart.AddVariable("70000.1"));
    EXPECT_FALSE(chart.AddVariable("5.16"));
    EXPECT_TRUE(chart.AddVariable("65535.15"));
    EXPECT_EQ(chart.GetEntries().size(), 1u);
    int value = 0;
    EXPECT_FALSE(chart.GetValue("P12", &value));
}

TEST(AnimateChart, TheWorkerReadsEveryBlockAndValuesArriveWordByWord)
{
    RecordingHost host;
    host.Set(7, 0x0001);
    host.Set(8, 0x0002);
    host.Set(30, 0x8000);
    FakeAnimationView view;
    ASSERT_TRUE(
        view.window.CreateEx(0, nullptr, "view", WS_OVERLAPPEDWINDOW, CRect(0, 0, 10, 10), nullptr, 0));
    view.host = &host;
    CAnimateChart chart;
    chart.SetView(&view);
    for (const char* name : {"8.1", "7.0", "30.15", "P3", "7.1"})
        chart.GetNameList().Add(name);
    ASSERT_NE(chart.Start(), nullptr);
    EXPECT_TRUE(chart.IsRunning());
    ASSERT_TRUE(WaitUntil([&] { return host.Calls().size() >= 10; }));
    int value = -1;
    EXPECT_TRUE(chart.GetValue("8.1", &value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(chart.GetValue("7.0", &value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(chart.GetValue("7.1", &value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(chart.GetValue("30.15", &value));
    EXPECT_EQ(value, 1);
    chart.StopTask();
    for (const RecordingHost::Call& call : host.Calls())
    {
        EXPECT_TRUE(call.width == 16 || call.width == 32);
        EXPECT_TRUE(call.address == 7 || call.address == 30);
        EXPECT_NE(call.thread, std::this_thread::get_id());
    }
    view.window.DestroyWindow();
}

TEST(AnimateChart, AHiddenViewSendsNothing)
{
    RecordingHost host;
    FakeAnimationView view;
    view.shown = false;
    view.host = &host;
    CAnimateChart chart;
    chart.SetView(&view);
    chart.GetNameList().Add("3.0");
    ASSERT_NE(chart.Start(), nullptr);
    QTest::qWait(300);
    EXPECT_TRUE(host.Calls().empty());
    chart.Clear();
    EXPECT_FALSE(chart.IsRunning());
}

TEST(AnimateChart, StoppingWhileTheDriveFailsEndsWithinOnePause)
{
    RecordingHost host;
    host.failing = true;
    FakeAnimationView view;
    view.host = &host;
    CAnimateChart chart;
    chart.SetView(&view);
    chart.GetNameList().Add("3.0");
    ASSERT_NE(chart.Start(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !host.Calls().empty(); }));
    QElapsedTimer timer;
    timer.start();
    chart.StopTask();
    EXPECT_LT(timer.elapsed(), 300);
    // One read, then the long pause: no second try in that time.
    EXPECT_EQ(host.Calls().size(), 1u);
}

namespace
{
class LadderAnimation : public LadderViewFixture
{
protected:
    void TearDown() override
    {
        if (m_view)
            m_view->EnableAnimation(false);
        LadderViewFixture::TearDown();
    }
    void Animate(const char* program)
    {
        Show(GenerateIL(program));
        m_view->SetHostIntf(&m_drive);
        m_view->EnableAnimation(true);
        ASSERT_TRUE(m_view->GetChart().IsRunning());
    }
    // Waits for a few fresh cycles and their updates.
    void Settle()
    {
        m_drive.ClearCalls();
        ASSERT_TRUE(WaitUntil([&] { return m_drive.Calls().size() >= 6; }));
        QTest::qWait(30);
    }
    bool Active(int type, const char* text)
    {
        CGraphBlock* element = Element(type, text);
        EXPECT_NE(element, nullptr) << text;
        return element && element->IsActive();
    }
    RecordingHost m_drive;
};
} // namespace

TEST_F(LadderAnimation, ParallelBranchesGiveTheCoilTheirOr)
{
    Animate("LD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n");
    for (const auto& [a, b] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{2, 0}, std::pair{3, 0}})
    {
        (void)b;
        m_drive.Set(1, static_cast<unsigned>(a));
        Settle();
        const bool first = a & 1;
        const bool second = a & 2;
        EXPECT_EQ(Active(FBD_LD_CONTACT, "1.0"), first) << a;
        EXPECT_EQ(Active(FBD_LD_CONTACT, "1.1"), second) << a;
        EXPECT_EQ(Active(FBD_LD_COIL, "2.0"), first || second) << a;
    }
}

TEST_F(LadderAnimation, SeriesContactsAndANegatedOneDecideTheCoil)
{
    Animate("LD\t3.0\nANDN\t3.1\nOUT\t4.0\nEND\n");
    m_drive.Set(3, 1);
    Settle();
    EXPECT_TRUE(Active(FBD_LD_CONTACT, "3.1"));
    EXPECT_TRUE(Active(FBD_LD_COIL, "4.0"));
    m_drive.Set(3, 3);
    Settle();
    EXPECT_FALSE(Active(FBD_LD_CONTACT, "3.1"));
    EXPECT_FALSE(Active(FBD_LD_COIL, "4.0"));

    m_view->EnableAnimation(false);
    EXPECT_FALSE(m_view->GetChart().IsRunning());
    EXPECT_FALSE(Active(FBD_LD_CONTACT, "3.0"));
}

// A negated coil shows the power that reaches it, like a plain one, not the bit it writes.
TEST_F(LadderAnimation, ANegatedCoilShowsItsPower)
{
    Animate("LD\t3.0\nOUTN\t4.0\nEND\n");
    m_drive.Set(3, 1);
    Settle();
    EXPECT_TRUE(Active(FBD_LD_COIL, "4.0"));
    m_drive.Set(3, 0);
    Settle();
    EXPECT_FALSE(Active(FBD_LD_COIL, "4.0"));
}

TEST_F(LadderAnimation, AHiddenViewReadsNothing)
{
    Animate("LD\t3.0\nOUT\t4.0\nEND\n");
    Settle();
    m_view->ShowWindow(SW_HIDE);
    QTest::qWait(50);
    m_drive.ClearCalls();
    QTest::qWait(300);
    EXPECT_TRUE(m_drive.Calls().empty());
}

// A posted update reaching no destroyed window is the window layer's own test; here the running
// animation stops reading with its view.
TEST_F(LadderAnimation, DestroyingTheViewStopsItsReads)
{
    Animate("LD\t3.0\nOUT\t4.0\nEND\n");
    Settle();
    m_view->PostMessage(WM_ANIMATION_UPDATE);
    m_view->DestroyWindow();
    m_view = nullptr;
    QTest::qWait(50);
    m_drive.ClearCalls();
    QTest::qWait(300);
    EXPECT_TRUE(m_drive.Calls().empty());
}

TEST_F(LadderViewFixture, BranchesJoinToTheOrOfTheirPowerWhicheverIsWalkedFirst)
{
    Show(GenerateIL("LD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n"));
    CAnimateChart& chart = m_view->GetChart();
    Network(0)->CollectWatchNames(chart.GetNameList());
    FakeAnimationView idle; // running, but reading nothing
    chart.SetView(&idle);
    ASSERT_NE(chart.Start(), nullptr);
    CAnimationMap& map = Network(0)->GetAnimationMap();
    ANIMATION_ENTRY* left = map.FindLeftRail();
    ASSERT_NE(left, nullptr);
    const int start = static_cast<int>(left - map.GetAt(0));
    ANIMATION_ENTRY* fanOut = nullptr;
    int joins = 0;
    for (int i = 0; i < map.GetCount(); ++i)
        if (map.GetAt(i)->model->m_nType == FBD_CROSS)
        {
            if (map.GetAt(i)->next.size() > 1)
                fanOut = map.GetAt(i);
            else
                joins += map.GetAt(i)->previous.size() > 1;
        }
    ASSERT_NE(fanOut, nullptr);
    EXPECT_EQ(joins, 1);
    ANIMATION_ENTRY* coil = nullptr;
    for (int i = 0; i < map.GetCount(); ++i)
        if (map.GetAt(i)->model->m_nType == FBD_LD_COIL)
            coil = map.GetAt(i);
    ASSERT_NE(coil, nullptr);
    for (const uint16_t word : {0, 1, 2, 3})
        for (const bool reversed : {false, true})
        {
            chart.GetBlocks().front().words[0].store(word);
            if (reversed)
                std::reverse(fanOut->next.begin(), fanOut->next.end());
            map.ResetStates();
            m_view->EvaluatePowerFlow(start, map);
            EXPECT_TRUE(coil->evaluated) << word << reversed;
            EXPECT_EQ(coil->power != 0, word != 0) << word << reversed;
        }
    chart.Clear();
}

TEST_F(LadderViewFixture, AContactWithoutAWatchedOperandDoesNotConduct)
{
    Show(GenerateIL("LDN\t1.0\nOUT\t2.0\nEND\n"));
    CGraphBlock* contact = Element(FBD_LD_CONTACT, "1.0");
    ASSERT_NE(contact, nullptr);
    contact->SetName("P12");
    RecordingHost drive;
    m_view->SetHostIntf(&drive);
    m_view->EnableAnimation(true);
    EXPECT_EQ(m_view->GetChart().GetNameList().GetSize(), 1);
    EXPECT_TRUE(m_view->GetChart().GetEntries().empty());
    m_view->OnAnimationUpdate();
    EXPECT_FALSE(contact->IsActive());
    EXPECT_FALSE(Element(FBD_LD_COIL, "2.0")->IsActive());
    m_view->EnableAnimation(false);
}

TEST(AnimateChart, NothingToWatchPostsAFewUpdatesASecond)
{
    RecordingParent window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "view", WS_OVERLAPPEDWINDOW, CRect(0, 0, 10, 10), nullptr, 0));
    RecordingHost host;
    class Bound : public CAnimationView
    {
    public:
        CWnd* wnd = nullptr;
        CPluginIntf* host = nullptr;
        CWnd* GetAnimationWnd() override { return wnd; }
        CPluginIntf* GetAnimationHost() const override { return host; }
        bool IsAnimationShown() const override { return true; }
    } view;
    view.wnd = &window;
    view.host = &host;
    CAnimateChart chart;
    chart.SetView(&view);
    const auto updates = [&]
    {
        return std::count_if(window.messages.begin(), window.messages.end(),
                             [](const auto& m) { return m.first == WM_ANIMATION_UPDATE; });
    };
    QElapsedTimer clock;
    clock.start();
    ASSERT_NE(chart.Start(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return clock.elapsed() >= 500 && updates() >= 1; }));
    chart.Clear();
    const qint64 ran = clock.elapsed();
    QTest::qWait(20); // the updates posted before the chart stopped
    // A few a second: no more than one each 100 ms of the time it really ran.
    EXPECT_LE(updates(), ran / 100) << "in " << ran << " ms";
    window.DestroyWindow();
}
