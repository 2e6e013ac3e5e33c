// Windows: posted and sent messages, timers, handlers, controls by id, command routing.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <thread>
#include <vector>

namespace
{

constexpr UINT WM_TEST = WM_USER + 1;

class RecordingWnd : public CWnd
{
public:
    struct Received
    {
        WPARAM wParam;
        LPARAM lParam;
        QThread* thread;
    };
    std::vector<Received> received;
    std::vector<UINT_PTR> timers;
    std::vector<CSize> sizes;
    int createResult = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TEST)
        {
            received.push_back({wParam, lParam, QThread::currentThread()});
            return static_cast<LRESULT>(wParam * 2);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int OnCreate(CREATESTRUCT* cs) override { return createResult != 0 ? createResult : CWnd::OnCreate(cs); }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnSize(UINT type, int cx, int cy) override
    {
        CWnd::OnSize(type, cx, cy);
        sizes.emplace_back(cx, cy);
    }
};

BOOL CreateTopLevel(CWnd& wnd, const CRect& rect = CRect(10, 10, 210, 110))
{
    return wnd.CreateEx(0, nullptr, "test", WS_POPUP | WS_CAPTION, rect, nullptr, 0);
}

TEST(WndMessages, PostedMessagesFromAWorkerArriveInOrderOnTheWindowsThread)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    constexpr int count = 2000;
    std::thread worker(
        [&wnd]()
        {
            for (int i = 0; i < count; ++i)
                ASSERT_TRUE(PostMessage(&wnd, WM_TEST, static_cast<WPARAM>(i), -i));
        });
    worker.join();
    ASSERT_TRUE(PumpUntil([&]() { return wnd.received.size() == count; }));
    for (int i = 0; i < count; ++i)
    {
        EXPECT_EQ(wnd.received[static_cast<size_t>(i)].wParam, static_cast<WPARAM>(i));
        EXPECT_EQ(wnd.received[static_cast<size_t>(i)].lParam, -i);
        EXPECT_EQ(wnd.received[static_cast<size_t>(i)].thread, QCoreApplication::instance()->thread());
    }
}

TEST(WndMessages, SentMessageRunsAtOnceAndAnswersTheHandlersResult)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.SendMessage(WM_TEST, 21, 0), 42);
    EXPECT_EQ(wnd.received.size(), 1u);
}

TEST(WndMessages, SentFromAWorkerRunsOnTheWindowsThreadAndWaits)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    LRESULT answer = 0;
    std::thread worker([&]() { answer = SendMessage(&wnd, WM_TEST, 5, 0); });
    ASSERT_TRUE(PumpUntil([&]() { return !wnd.received.empty(); }));
    worker.join();
    EXPECT_EQ(answer, 10);
    EXPECT_EQ(wnd.received[0].thread, QCoreApplication::instance()->thread());
}

TEST(WndMessages, PostingToADestroyedWindowFailsAndPendingPostsAreDropped)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    ASSERT_TRUE(wnd.PostMessage(WM_TEST, 1, 0));
    wnd.DestroyWindow();
    EXPECT_FALSE(wnd.PostMessage(WM_TEST, 2, 0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(wnd.received.empty());
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
}

TEST(WndMessages, CreateFailsWhenOnCreateAnswersMinusOne)
{
    RecordingWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
}

TEST(WndTimers, TimerTicksUnderItsIdUntilKilled)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.SetTimer(7, 10), 7u);
    ASSERT_TRUE(PumpUntil([&]() { return wnd.timers.size() >= 3; }));
    EXPECT_TRUE(wnd.KillTimer(7));
    const size_t ticks = wnd.timers.size();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
    PumpUntil([&]() { return std::chrono::steady_clock::now() > end; });
    EXPECT_EQ(wnd.timers.size(), ticks);
    for (UINT_PTR id : wnd.timers)
        EXPECT_EQ(id, 7u);
    EXPECT_FALSE(wnd.KillTimer(7));
}

TEST(WndTimers, SettingAnIdAgainReplacesItsTimer)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.SetTimer(1, 10);
    wnd.SetTimer(1, 5000);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    PumpUntil([&]() { return std::chrono::steady_clock::now() > end; });
    EXPECT_TRUE(wnd.timers.empty()) << "the 10 ms timer still runs beside the new one";
    wnd.SetTimer(1, 10);
    ASSERT_TRUE(PumpUntil([&]() { return wnd.timers.size() >= 2; }, 1000));
    EXPECT_TRUE(wnd.KillTimer(1));
    EXPECT_FALSE(wnd.KillTimer(1)) << "one timer under the id, not two";
}

TEST(WndGeometry, ChildRectanglesAndResizeReachTheHandler)
{
    RecordingWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    RecordingWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 6, 55, 36), &parent, 42));
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 50, 30));
    CRect inParent;
    child.GetWindowRect(&inParent);
    parent.ScreenToClient(&inParent);
    EXPECT_EQ(inParent, CRect(5, 6, 55, 36));
    child.MoveWindow(1, 2, 80, 40);
    ASSERT_FALSE(child.sizes.empty());
    EXPECT_EQ(child.sizes.back(), CSize(80, 40));
    EXPECT_EQ(child.GetParent(), &parent);
}

TEST(WndControls, ControlsAreFoundByIdAndSubclassingMovesTheWindow)
{
    RecordingWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CButton ok;
    ASSERT_TRUE(ok.Create("OK", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, IDOK));
    CWnd text;
    ASSERT_TRUE(text.Create("Static", "hello", WS_VISIBLE | SS_CENTER, CRect(0, 30, 100, 50), &parent, 100));
    EXPECT_EQ(parent.GetDlgItem(IDOK), &ok);
    EXPECT_EQ(parent.GetDlgItem(100), &text);
    EXPECT_EQ(parent.GetDlgItem(999), nullptr);

    CStatic replacement;
    ASSERT_TRUE(replacement.SubclassDlgItem(100, &parent));
    EXPECT_EQ(parent.GetDlgItem(100), &replacement);
    EXPECT_EQ(text.GetSafeHwnd(), nullptr);
    EXPECT_EQ(replacement.GetWindowText(), CString("hello"));
    EXPECT_EQ(replacement.GetStyle() & SS_TYPEMASK, SS_CENTER);
    char className[32];
    EXPECT_EQ(GetClassName(&replacement, className, sizeof className), 6);
    EXPECT_STREQ(className, "Static");
}

class CommandWnd : public RecordingWnd
{
public:
    CommandWnd()
    {
        MapCommand(IDOK, [this]() { ++okClicks; });
        MapUpdateCommandUI(IDOK, [this](CCmdUI* ui) { ui->Enable(okEnabled); });
    }
    int okClicks = 0;
    BOOL okEnabled = TRUE;
};

TEST(WndCommands, ButtonClickReachesTheParentsMappedHandler)
{
    CommandWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CButton ok;
    ASSERT_TRUE(ok.Create("OK", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, IDOK));
    qobject_cast<QPushButton*>(ok.GetWidget())->click();
    EXPECT_EQ(parent.okClicks, 1);
}

TEST(WndCommands, UpdatePassFollowsHandlersAndDisablesCommandsWithoutOne)
{
    CommandWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CButton ok, other;
    ASSERT_TRUE(ok.Create("OK", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, IDOK));
    ASSERT_TRUE(other.Create("Other", WS_CHILD | WS_VISIBLE, CRect(0, 30, 50, 50), &parent, 300));
    parent.okEnabled = FALSE;
    parent.UpdateDialogControls(&parent, TRUE);
    EXPECT_FALSE(ok.IsWindowEnabled());
    EXPECT_FALSE(other.IsWindowEnabled());
    parent.okEnabled = TRUE;
    parent.UpdateDialogControls(&parent, FALSE);
    EXPECT_TRUE(ok.IsWindowEnabled());
}

TEST(WndToolBar, ButtonsLayOutAndFollowTheUpdatePass)
{
    CommandWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent, CRect(0, 0, 300, 100)));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&parent));
    const UINT ids[] = {IDOK, ID_SEPARATOR, 500};
    ASSERT_TRUE(bar.SetButtons(ids, 3));
    CRect first, separator, last;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &separator);
    bar.GetItemRect(2, &last);
    EXPECT_EQ(separator.left, first.right);
    EXPECT_EQ(last.left, separator.right);
    EXPECT_EQ(bar.CommandToIndex(500), 2);
    EXPECT_EQ(bar.CommandToIndex(501), -1);

    bar.OnUpdateCmdUI(&parent, TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    EXPECT_NE(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);

    bar.GetWidget()->findChildren<QToolButton*>().first()->click();
    EXPECT_EQ(parent.okClicks, 1);
}

TEST(WndApplication, NumbersAreFormattedInTheCLocaleAfterStart)
{
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

} // namespace

namespace
{

TEST(WndApplication, ProfileValuesRoundTripThroughTheRegistryStore)
{
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(app->WriteProfileString("Settings", "HomePage", "http://example.invalid/"));
    EXPECT_TRUE(app->WriteProfileInt("Settings", "LangID", 3));
    EXPECT_EQ(app->GetProfileString("Settings", "HomePage"), CString("http://example.invalid/"));
    EXPECT_EQ(app->GetProfileInt("Settings", "LangID", 0), 3u);
    EXPECT_EQ(app->GetProfileString("Settings", "Missing", "fallback"), CString("fallback"));
}

} // namespace
