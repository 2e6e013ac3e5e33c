// Commands from controls and toolbar buttons to the dialog that holds them, by id and notification.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <vector>

namespace
{

constexpr UINT kRoutingDialog = 30101;
constexpr UINT kApply = 200;
constexpr UINT kName = 201;
constexpr UINT kBold = 300;
constexpr UINT kItalic = 301;

const DlgItem kItems[] = {
    {DlgKind::EditText, kName, 4, 4, 100, 12},
    {DlgKind::PushButton, kApply, 4, 20, 50, 14, "Apply"},
    {DlgKind::DefPushButton, IDOK, 60, 20, 50, 14, "OK"},
};
const DialogTemplate kTemplate = {"Routing", WS_POPUP | WS_CAPTION, 160, 60, kItems, 3};
const BOOL kRegistered = AfxRegisterDialogTemplate(kRoutingDialog, &kTemplate);

class RoutingDialog : public CDialog
{
public:
    RoutingDialog() : CDialog(kRoutingDialog)
    {
        MapCommand(kApply, [this] { commands.push_back(kApply); });
        MapCommand(
            kName, [this] { commands.push_back(kName); }, EN_CHANGE);
        MapCommand(kBold, [this] { commands.push_back(kBold); });
        MapUpdateCommandUI(kBold, [this](CCmdUI* ui) { ui->SetCheck(boldChecked); });
    }
    std::vector<UINT> commands;
    int okCalls = 0;
    int boldChecked = 0;

protected:
    void OnOK() override { ++okCalls; }
};

class MappingWnd : public CWnd
{
public:
    using CWnd::MapCommand;
};

void Click(CWnd* control)
{
    ASSERT_NE(control, nullptr);
    qobject_cast<QAbstractButton*>(control->GetWidget())->click();
}

TEST(CommandRouting, ControlsInADialogReachItsHandlersByIdAndNotification)
{
    ASSERT_TRUE(kRegistered);
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create(kRoutingDialog));
    Click(dialog.GetDlgItem(kApply));
    dialog.GetDlgItem(kName)->SetWindowText("new name");
    Click(dialog.GetDlgItem(IDOK));
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{kApply, kName}));
    EXPECT_EQ(dialog.okCalls, 1);

    // A handler mapped for one notification does not answer another from the same id.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kName, BN_CLICKED), 0);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kApply, EN_CHANGE), 0);
    EXPECT_EQ(dialog.commands.size(), 2u);
    dialog.DestroyWindow();
}

TEST(CommandRouting, AHandlerMayReplaceItselfWhileItRuns)
{
    MappingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    std::vector<int> runs;
    const std::vector<int> captured{1, 2, 3}; // state the first handler still reads after replacing itself
    wnd.MapCommand(kApply,
                   [&wnd, &runs, captured]
                   {
                       wnd.MapCommand(kApply, [&runs] { runs.push_back(0); });
                       runs.push_back(captured.back());
                   });
    EXPECT_TRUE(wnd.OnCmdMsg(kApply, 0, nullptr));
    EXPECT_TRUE(wnd.OnCmdMsg(kApply, 0, nullptr));
    EXPECT_FALSE(wnd.OnCmdMsg(kApply + 1, 0, nullptr));
    EXPECT_EQ(runs, (std::vector<int>{3, 0}));
    wnd.DestroyWindow();
}

TEST(CommandRouting, ToolbarButtonsInADialogCommandTheDialogAndFollowItsUpdatePass)
{
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create(kRoutingDialog));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&dialog));
    const UINT ids[] = {kBold, kItalic};
    ASSERT_TRUE(bar.SetButtons(ids, 2));

    dialog.boldChecked = 1;
    bar.OnUpdateCmdUI(&dialog, TRUE);
    EXPECT_NE(bar.GetButtonStyle(0) & TBBS_CHECKED, 0u);
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    EXPECT_NE(bar.GetButtonStyle(1) & TBBS_DISABLED, 0u) << "no handler for the second button";

    const auto buttons = bar.GetWidget()->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[0]->click();
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{kBold}));
    EXPECT_FALSE(buttons[1]->isEnabled());

    dialog.boldChecked = 0;
    bar.OnUpdateCmdUI(&dialog, TRUE);
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_CHECKED, 0u);
    dialog.DestroyWindow();
}

} // namespace
