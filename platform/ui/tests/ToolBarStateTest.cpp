// Toolbar button state: the style bits the update pass sets, what the buttons show, and the layout.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

constexpr UINT kCut = 400;
constexpr UINT kBold = 401;
constexpr UINT kWrap = 402;

// Windows whose handlers the tests map.
class MappingWnd : public CWnd
{
public:
    using CWnd::MapCommand;
    using CWnd::MapUpdateCommandUI;
};

class MappingToolBar : public CToolBar
{
public:
    using CToolBar::MapUpdateCommandUI;
};

class ToolBarState : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
        ASSERT_TRUE(bar.Create(&owner));
        const UINT ids[] = {kCut, ID_SEPARATOR, kBold, kWrap};
        ASSERT_TRUE(bar.SetButtons(ids, 4));
    }
    void TearDown() override { owner.DestroyWindow(); }
    // The button widget where the bar lays out the command's button.
    QToolButton* Button(UINT id)
    {
        CRect rect;
        bar.GetItemRect(bar.CommandToIndex(id), &rect);
        for (QToolButton* button : bar.GetWidget()->findChildren<QToolButton*>())
            if (button->geometry() == QRect(rect.left, rect.top, rect.Width(), rect.Height()))
                return button;
        return nullptr;
    }
    UINT Style(UINT id) const { return bar.GetButtonStyle(bar.CommandToIndex(id)); }

    MappingWnd owner;
    MappingToolBar bar;
};

TEST_F(ToolBarState, UpdateHandlersEnableDisableAndCheckTheButtons)
{
    CToolCmdUI state(&bar);
    state.m_nIndex = static_cast<UINT>(bar.CommandToIndex(kCut));
    bar.SetButtonStyle(static_cast<int>(state.m_nIndex), TBBS_BUTTON | TBBS_PRESSED);
    state.Enable(FALSE);
    EXPECT_EQ(Style(kCut), TBBS_DISABLED) << "disabling also lets go of the press";
    EXPECT_FALSE(Button(kCut)->isEnabled());
    state.Enable(TRUE);
    EXPECT_EQ(Style(kCut), 0u);
    EXPECT_TRUE(Button(kCut)->isEnabled());

    state.m_nIndex = static_cast<UINT>(bar.CommandToIndex(kBold));
    state.SetCheck(1);
    EXPECT_EQ(Style(kBold), TBBS_CHECKBOX | TBBS_CHECKED);
    EXPECT_TRUE(Button(kBold)->isCheckable());
    EXPECT_TRUE(Button(kBold)->isChecked());
    state.SetCheck(2);
    EXPECT_EQ(Style(kBold), TBBS_CHECKBOX | TBBS_INDETERMINATE);
    state.SetCheck(0);
    EXPECT_EQ(Style(kBold), TBBS_CHECKBOX);
    EXPECT_FALSE(Button(kBold)->isChecked());
}

TEST_F(ToolBarState, TheBarsOwnHandlersComeBeforeTheTargets)
{
    bar.MapUpdateCommandUI(kWrap, [](CCmdUI* ui) { ui->SetCheck(1); });
    owner.MapCommand(kCut, [] {});
    owner.MapUpdateCommandUI(kWrap, [](CCmdUI* ui) { ui->Enable(FALSE); });
    bar.OnUpdateCmdUI(&owner, TRUE);
    EXPECT_EQ(Style(kCut), 0u);
    EXPECT_EQ(Style(kBold), TBBS_DISABLED) << "no handler anywhere";
    EXPECT_EQ(Style(kWrap), TBBS_CHECKBOX | TBBS_CHECKED) << "the bar's handler answered";

    bar.OnUpdateCmdUI(&owner, FALSE);
    EXPECT_EQ(Style(kBold), TBBS_DISABLED) << "left as it was without disableIfNoHandler";
}

TEST_F(ToolBarState, SeparatorWidthAndButtonSizeDecideTheLayout)
{
    const CSize before = bar.CalcSize();
    UINT id = 0, style = 0;
    int width = 0;
    bar.GetButtonInfo(1, id, style, width);
    EXPECT_EQ(id, ID_SEPARATOR);
    EXPECT_NE(style & TBBS_SEPARATOR, 0u);

    bar.SetButtonInfo(1, ID_SEPARATOR, TBBS_SEPARATOR, width + 40);
    EXPECT_EQ(bar.CalcSize().cx, before.cx + 40);
    CRect separator, bold;
    bar.GetItemRect(1, &separator);
    bar.GetItemRect(2, &bold);
    EXPECT_EQ(separator.Width(), width + 40);
    EXPECT_EQ(bold.left, separator.right);

    bar.SetSizes(CSize(30, 28), CSize(20, 18));
    bar.GetItemRect(0, &bold);
    EXPECT_EQ(bold.Size(), CSize(30, 28));
}

TEST_F(ToolBarState, ButtonTextsShowUnderTheImageAndSeparatorsTakeNone)
{
    EXPECT_TRUE(bar.SetButtonText(bar.CommandToIndex(kBold), "LDN"));
    EXPECT_EQ(bar.GetButtonText(bar.CommandToIndex(kBold)), CString("LDN"));
    EXPECT_EQ(Button(kBold)->text(), QString("LDN"));
    EXPECT_EQ(Button(kBold)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(Button(kCut)->toolButtonStyle(), Qt::ToolButtonIconOnly);

    EXPECT_FALSE(bar.SetButtonText(1, "gap"));
    EXPECT_FALSE(bar.SetButtonText(9, "none"));
    EXPECT_TRUE(bar.GetButtonText(1).IsEmpty());

    bar.SetButtonStyle(bar.CommandToIndex(kBold), TBBS_DISABLED);
    EXPECT_EQ(Button(kBold)->text(), QString("LDN")) << "a state change keeps the text";
    bar.SetButtonText(bar.CommandToIndex(kBold), "");
    EXPECT_EQ(Button(kBold)->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

} // namespace
