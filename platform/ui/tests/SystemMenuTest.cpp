// The system menu: items by id, shown on unanswered context-menu requests and Alt+Space,
// the choice arriving as WM_SYSCOMMAND.
#include "UiTestSupport.h"

#include <ui/Language.h>
#include <ui/Ui.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class SysCommandDialog : public CWnd
{
public:
    std::vector<UINT> commands;
    bool answerContextMenu = false;

protected:
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        if ((id & 0xFFF0) == 16 || (id & 0xFFF0) == 32)
            commands.push_back(id & 0xFFF0);
        else
            CWnd::OnSysCommand(id, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CONTEXTMENU && answerContextMenu)
            return 1;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ChoosingMenuSink : public CPopupMenuSink
{
public:
    UINT choice = 0;
    std::vector<std::vector<CMenu::Item>> shown;
    UINT Show(CWnd*, const CMenu& menu, CPoint) override
    {
        shown.push_back(menu.GetItems());
        return choice;
    }
};

class SystemMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetPopupMenuSink(&sink);
        ASSERT_TRUE(dialog.CreateEx(0, nullptr, "Tarveskon", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                    CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(
            child.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 100), &dialog, 200));
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, 16, "&Informazioni su...");
        menu->AppendMenu(MF_STRING, 32, "Versioni");
    }
    void TearDown() override { AfxSetPopupMenuSink(nullptr); }

    ChoosingMenuSink sink;
    SysCommandDialog dialog;
    CWnd child;
};

} // namespace

TEST_F(SystemMenuTest, ItemsAreAppendedAndReplacedById)
{
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    EXPECT_EQ(dialog.GetSystemMenu(FALSE), menu);
    const int count = menu->GetMenuItemCount();
    EXPECT_EQ(menu->GetMenuItemID(count - 1), 32u);
    EXPECT_EQ(menu->GetMenuItemID(count - 3), 0u); // the separator
    EXPECT_TRUE(menu->ModifyMenu(16, MF_BYCOMMAND | MF_STRING, 16, "&About..."));
    EXPECT_FALSE(menu->ModifyMenu(64, MF_BYCOMMAND | MF_STRING, 64, "missing"));
    CString text;
    EXPECT_EQ(menu->GetMenuString(16, text, MF_BYCOMMAND), 9);
    EXPECT_EQ(text, "&About...");
    EXPECT_EQ(menu->GetMenuItemCount(), count);
    EXPECT_EQ(menu->GetMenuItemID(count), 0xFFFFFFFFu);
}

TEST_F(SystemMenuTest, UnansweredContextMenuShowsItAndTheChoiceIsASysCommand)
{
    sink.choice = 32;
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 50));
    QApplication::sendEvent(child.GetWidget(), &request); // the child does not answer: it reaches the dialog
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].back().text, "Versioni");
    ASSERT_TRUE(PumpUntil([&] { return !dialog.commands.empty(); }));
    EXPECT_EQ(dialog.commands, std::vector<UINT>{32});
}

TEST_F(SystemMenuTest, AnsweredContextMenuShowsNothing)
{
    dialog.answerContextMenu = true;
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 50));
    QApplication::sendEvent(dialog.GetWidget(), &request);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(SystemMenuTest, AltSpaceShowsItAndNoChoiceSendsNothing)
{
    dialog.ShowWindow(SW_SHOW);
    QApplication::setActiveWindow(dialog.GetWidget());
    child.SetFocus();
    sink.choice = 0;
    QTest::keyClick(child.GetWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_EQ(sink.shown.size(), 1u);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(SystemMenuTest, CloseItemClosesTheWindowThroughTheDefaultHandling)
{
    sink.choice = SC_CLOSE;
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(dialog.GetWidget(), &request);
    ASSERT_TRUE(PumpUntil([&] { return dialog.GetSafeHwnd() == nullptr; }));
}

TEST_F(SystemMenuTest, RevertRestoresTheDefaultItems)
{
    EXPECT_EQ(dialog.GetSystemMenu(TRUE), nullptr);
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    ASSERT_EQ(menu->GetMenuItemCount(), 1);
    EXPECT_EQ(menu->GetMenuItemID(0), SC_CLOSE);
}

// A window renewing its menu's texts after a language change gets the close item in that language.
TEST_F(SystemMenuTest, TheCloseItemFollowsALanguageChosenAfterTheMenuWasMade)
{
    AfxSetTextTranslator(
        [](const char* text, CString& translated)
        {
            if (CString(text) != "Chiudi")
                return false;
            translated = "Close";
            return true;
        });
    CString text;
    dialog.GetSystemMenu(FALSE)->GetMenuString(SC_CLOSE, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "&Close\tAlt+F4");
    AfxSetTextTranslator({});
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(dialog.GetWidget(), &request);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].front().text, "&Close\tAlt+F4") << "shown as the window left it";
    EXPECT_EQ(sink.shown[0].back().text, "Versioni");
}
