// Controls tell their parent what the user did: WM_COMMAND with the id, the notification and the
// control, or WM_VSCROLL for scroll bars.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace
{

// For WM_VSCROLL the id is the scroll code and the code the position.
struct Notification
{
    UINT message;
    WORD id;
    WORD code;
    LPARAM control;
    bool operator==(const Notification&) const = default;
};

class ParentWnd : public CWnd
{
public:
    std::vector<Notification> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == WM_VSCROLL)
            received.push_back({message, LOWORD(wParam), HIWORD(wParam), lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ControlNotification : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    }
    void TearDown() override { parent.DestroyWindow(); }
    static LPARAM Of(CWnd& control) { return reinterpret_cast<LPARAM>(&control); }

    ParentWnd parent;
    const CRect rect{0, 0, 100, 20};
};

TEST_F(ControlNotification, CheckBoxClickTogglesAndReportsClicked)
{
    CButton box;
    ASSERT_TRUE(box.Create("Box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, rect, &parent, 10));
    qobject_cast<QCheckBox*>(box.GetWidget())->click();
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    EXPECT_EQ(parent.received, (std::vector<Notification>{{WM_COMMAND, 10, BN_CLICKED, Of(box)}}));

    box.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(parent.received.size(), 1u) << "setting the state is no click";
}

TEST_F(ControlNotification, EditReportsEveryChangeOfItsText)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, rect, &parent, 11));
    edit.SetWindowText("abc");
    edit.SetWindowText("abcd");
    EXPECT_EQ(parent.received, (std::vector<Notification>{{WM_COMMAND, 11, EN_CHANGE, Of(edit)},
                                                          {WM_COMMAND, 11, EN_CHANGE, Of(edit)}}));
    EXPECT_EQ(edit.GetWindowText(), CString("abcd"));
}

TEST_F(ControlNotification, ComboBoxReportsTheUsersChoiceOnly)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &parent, 12));
    combo.AddString("one");
    combo.AddString("two");
    combo.SetCurSel(0);
    EXPECT_TRUE(parent.received.empty());

    auto* widget = qobject_cast<QComboBox*>(combo.GetWidget());
    widget->setCurrentIndex(1);
    emit widget->activated(1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(parent.received, (std::vector<Notification>{{WM_COMMAND, 12, CBN_SELCHANGE, Of(combo)}}));
}

TEST_F(ControlNotification, AComboBoxShowsNoSelectionUntilOneIsMade)
{
    CComboBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &parent, 13));
    list.AddString("one");
    list.InsertString(0, "zero");
    list.AddString("two");
    EXPECT_EQ(list.GetCurSel(), CB_ERR);
    EXPECT_EQ(list.SetCurSel(2), 2);
    list.AddString("three");
    EXPECT_EQ(list.GetCurSel(), 2);
    list.ResetContent();
    list.AddString("again");
    EXPECT_EQ(list.GetCurSel(), CB_ERR);

    CComboBox edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 100, 100), &parent, 14));
    edit.SetWindowText("typed");
    const size_t before = parent.received.size();
    edit.AddString("one");
    EXPECT_EQ(edit.GetCurSel(), CB_ERR);
    EXPECT_EQ(edit.GetWindowText(), CString("typed"));
    EXPECT_EQ(parent.received.size(), before) << "adding an item is no edit";
}

TEST_F(ControlNotification, ListBoxReportsASelectionTheUserMakes)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 13));
    list.AddString("one");
    list.AddString("two");
    parent.received.clear();
    qobject_cast<QListWidget*>(list.GetWidget())->setCurrentRow(1);
    EXPECT_EQ(list.GetCurSel(), 1);
    ASSERT_FALSE(parent.received.empty());
    EXPECT_EQ(parent.received.back(), (Notification{WM_COMMAND, 13, LBN_SELCHANGE, Of(list)}));
}

TEST_F(ControlNotification, ScrollBarActionsArriveAsScrollCodesWithThePosition)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 16, 100), &parent, 14));
    bar.SetScrollRange(0, 10);
    bar.SetScrollPos(4);
    auto* widget = qobject_cast<QScrollBar*>(bar.GetWidget());
    widget->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    widget->triggerAction(QAbstractSlider::SliderPageStepSub);
    widget->triggerAction(QAbstractSlider::SliderToMaximum);
    ASSERT_EQ(parent.received.size(), 3u);
    EXPECT_EQ(parent.received[0].message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(parent.received[0].id, SB_LINEDOWN);
    EXPECT_EQ(parent.received[0].code, 5) << "the position the action moved to";
    EXPECT_EQ(parent.received[1].id, SB_PAGEUP);
    EXPECT_EQ(parent.received[2].id, SB_BOTTOM);
    EXPECT_EQ(parent.received[2].control, Of(bar));
}

TEST_F(ControlNotification, NotificationsFollowTheControlIntoTheWindowThatSubclassedIt)
{
    CButton original;
    ASSERT_TRUE(original.Create("Go", WS_CHILD | WS_VISIBLE, rect, &parent, 15));
    CButton subclassed;
    ASSERT_TRUE(subclassed.SubclassDlgItem(15, &parent));
    qobject_cast<QAbstractButton*>(subclassed.GetWidget())->click();
    EXPECT_EQ(parent.received, (std::vector<Notification>{{WM_COMMAND, 15, BN_CLICKED, Of(subclassed)}}));
}

} // namespace
