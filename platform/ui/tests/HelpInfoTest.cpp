// F1 sends WM_HELP to the focused window; unanswered it climbs to the parent, then to the owner.
#include <ui/Ui.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class HelpWnd : public CWnd
{
public:
    BOOL answer = FALSE;
    std::vector<HWND> requests; // the window each request started at

protected:
    BOOL OnHelpInfo(HELPINFO* info) override
    {
        requests.push_back(info->hItemHandle);
        return answer ? TRUE : CWnd::OnHelpInfo(info);
    }
};

class HelpInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.CreateEx(0, nullptr, "dialog", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(
            page.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 150), &dialog, 200));
        ASSERT_TRUE(field.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &page, 1010));
        dialog.ShowWindow(SW_SHOW);
        QApplication::setActiveWindow(dialog.GetWidget());
        field.GetWidget()->setFocusPolicy(Qt::StrongFocus);
        field.SetFocus();
    }

    HelpWnd dialog;
    HelpWnd page;
    HelpWnd field;
};

} // namespace

TEST_F(HelpInfoTest, UnansweredRequestClimbsToTheTopWindow)
{
    QTest::keyClick(field.GetWidget(), Qt::Key_F1);
    ASSERT_EQ(field.requests.size(), 1u);
    EXPECT_EQ(field.requests[0], &field);
    ASSERT_EQ(page.requests.size(), 1u);
    EXPECT_EQ(page.requests[0], &field);
    EXPECT_EQ(dialog.requests.size(), 1u);
}

// A box over the dialog without help of its own: the dialog that owns it is asked.
TEST_F(HelpInfoTest, UnansweredRequestOfAnOwnedWindowGoesToItsOwner)
{
    HelpWnd box;
    ASSERT_TRUE(box.CreateEx(0, nullptr, "box", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 80), &dialog, 0));
    box.GetWidget()->setFocusPolicy(Qt::StrongFocus);
    box.SetFocus();
    QTest::keyClick(box.GetWidget(), Qt::Key_F1);
    EXPECT_EQ(box.requests.size(), 1u);
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0], &box);
    box.DestroyWindow();
}

TEST_F(HelpInfoTest, AnsweredRequestStopsWhereItWasAnswered)
{
    page.answer = TRUE;
    QTest::keyClick(field.GetWidget(), Qt::Key_F1);
    EXPECT_EQ(field.requests.size(), 1u);
    EXPECT_EQ(page.requests.size(), 1u);
    EXPECT_TRUE(dialog.requests.empty());
}

TEST_F(HelpInfoTest, OtherKeysSendNoHelp)
{
    QTest::keyClick(field.GetWidget(), Qt::Key_F2);
    QTest::keyClick(field.GetWidget(), Qt::Key_A);
    EXPECT_TRUE(field.requests.empty());
    EXPECT_TRUE(dialog.requests.empty());
}
