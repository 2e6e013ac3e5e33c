// Lists with several selected entries and item data; scroll bar actions reported to the parent.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class ScrollParent : public CWnd
{
public:
    std::vector<std::pair<WORD, WORD>> scrolls;
    std::vector<CWnd*> from;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL)
        {
            scrolls.emplace_back(LOWORD(wParam), HIWORD(wParam));
            from.push_back(reinterpret_cast<CWnd*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(ListBoxSelection, SeveralEntriesAreSelectedAndKeepTheirData)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    CListBox list;
    ASSERT_TRUE(list.Create(LBS_EXTENDEDSEL, CRect(0, 0, 100, 100), &parent, 5));
    for (const char* text : {"A", "B", "C", "D"})
        list.SetItemData(list.AddString(text), static_cast<DWORD_PTR>(text[0]));
    EXPECT_EQ(list.SetSel(1), 0);
    EXPECT_EQ(list.SetSel(3), 0);
    EXPECT_EQ(list.GetSelCount(), 2);
    int items[4] = {};
    ASSERT_EQ(list.GetSelItems(4, items), 2);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[1], 3);
    EXPECT_EQ(list.GetItemData(3), static_cast<DWORD_PTR>('D'));
    EXPECT_EQ(list.GetItemData(4), static_cast<DWORD_PTR>(LB_ERR));

    list.DeleteString(1);
    EXPECT_EQ(list.GetSelCount(), 1);
    EXPECT_EQ(list.GetItemData(2), static_cast<DWORD_PTR>('D')); // data moves with its entry
    list.SetSel(-1, FALSE);
    EXPECT_EQ(list.GetSelCount(), 0);
    EXPECT_EQ(list.GetSel(0), 0);
}

TEST(ScrollBarActions, ReachTheParentAsVScrollWithTheCodeAndPosition)
{
    ScrollParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(SBS_VERT, CRect(0, 0, 16, 100), &parent, 7));
    bar.SetScrollRange(1, 64);
    bar.SetScrollPos(64);
    auto* widget = qobject_cast<QScrollBar*>(bar.GetWidget());
    ASSERT_NE(widget, nullptr);
    widget->setPageStep(6);
    widget->triggerAction(QAbstractSlider::SliderSingleStepSub);
    widget->triggerAction(QAbstractSlider::SliderPageStepSub);
    ASSERT_EQ(parent.scrolls.size(), 2u);
    EXPECT_EQ(parent.scrolls[0], std::make_pair(WORD(SB_LINEUP), WORD(63)));
    EXPECT_EQ(parent.scrolls[1], std::make_pair(WORD(SB_PAGEUP), WORD(57)));
    EXPECT_EQ(parent.from[0], &bar);
    EXPECT_EQ(bar.GetScrollPos(SB_CTL), 57);
}

} // namespace
