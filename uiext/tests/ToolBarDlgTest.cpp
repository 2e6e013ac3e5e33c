// Toolbar in a dialog: a combo box in place of a button, its commands and the update pass.
#include "UiExtTestSupport.h"

#include <uiext/ToolBarDlg.h>

#include <QComboBox>

#include <gtest/gtest.h>

namespace
{

constexpr UINT kOpen = 200;
constexpr UINT kSelect = 201;

class HostWnd : public CWnd
{
public:
    HostWnd()
    {
        MapCommand(kOpen, [this]() { ++opens; });
        MapCommand(
            kSelect, [this]() { ++selections; }, CBN_SELCHANGE);
    }
    int opens = 0;
    int selections = 0;
};

class ToolBarDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, CRect(0, 0, 400, 200), nullptr, 0));
        ASSERT_TRUE(bar.Create(&host));
        const UINT ids[] = {kOpen, ID_SEPARATOR, kSelect};
        ASSERT_TRUE(bar.SetButtons(ids, 3));
    }
    HostWnd host;
    CToolBarDlg bar;
};

TEST_F(ToolBarDlgTest, ComboForAnUnknownCommandFailsAndChangesNothing)
{
    EXPECT_EQ(bar.CreateComboBox(999, 100, 200), 0);
    EXPECT_EQ(bar.GetComboBox(), nullptr);
    EXPECT_EQ(bar.GetButtonStyle(2), TBBS_BUTTON);
}

TEST_F(ToolBarDlgTest, ComboTakesTheButtonsPlaceAndReportsToTheDialog)
{
    ASSERT_EQ(bar.CreateComboBox(kSelect, 120, 150), 1);
    CComboBox* combo = bar.GetComboBox();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(bar.GetButtonStyle(2), TBBS_SEPARATOR);
    CRect item;
    bar.GetItemRect(2, &item);
    EXPECT_EQ(item.Width(), 120);
    CRect comboRect;
    combo->GetWindowRect(&comboRect);
    bar.ScreenToClient(&comboRect);
    EXPECT_EQ(comboRect.left, item.left);
    EXPECT_EQ(comboRect.Width(), 120);
    EXPECT_EQ(bar.GetDlgItem(kSelect), combo);

    combo->AddString("one");
    emit qobject_cast<QComboBox*>(combo->GetWidget())->activated(0);
    EXPECT_EQ(host.selections, 1);
}

TEST_F(ToolBarDlgTest, UpdatePassDisablesButtonsAndControlsWithoutHandlers)
{
    ASSERT_EQ(bar.CreateEditBox(kSelect, 80), 1);
    bar.OnUpdateCmdUI(&host, TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    // The edit's id has only a notification handler, no command: it is disabled.
    EXPECT_FALSE(bar.GetDlgItem(kSelect)->IsWindowEnabled());
}

} // namespace
