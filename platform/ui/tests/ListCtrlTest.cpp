// Report list view and trackbar: contents, selection, custom-drawn cells and notifications to the parent.
#include <ui/Dc.h>
#include <ui/ListCtrl.h>
#include <ui/SliderCtrl.h>

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// Records notifications and scroll requests; fills column 1 of every row itself.
class ListParent : public CWnd
{
public:
    struct Change
    {
        int item;
        UINT oldState;
        UINT newState;
    };
    std::vector<int> codes;
    std::vector<Change> changes;
    std::vector<WORD> keys;
    std::vector<UINT> scrolls;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HSCROLL)
        {
            scrolls.push_back(LOWORD(static_cast<DWORD_PTR>(wParam)));
            return 0;
        }
        if (message != WM_NOTIFY)
            return CWnd::WindowProc(message, wParam, lParam);
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == NM_CUSTOMDRAW)
        {
            auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
            if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
                return CDRF_NOTIFYITEMDRAW;
            if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
                return CDRF_NOTIFYSUBITEMDRAW;
            if (draw->iSubItem == 1)
            {
                draw->nmcd.hdc->FillSolidRect(&draw->nmcd.rc, 0x00FF00);
                return CDRF_SKIPDEFAULT;
            }
            return CDRF_DODEFAULT;
        }
        codes.push_back(header->code);
        if (header->code == LVN_ITEMCHANGED)
        {
            const auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
            changes.push_back({change->iItem, change->uOldState, change->uNewState});
        }
        if (header->code == LVN_KEYDOWN)
            keys.push_back(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey);
        return 0;
    }
};

class ListCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "l", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
        parent.ShowWindow(SW_SHOW);
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 150), &parent, 7));
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        list.InsertColumn(1, "Swatch", LVCFMT_LEFT, 60);
        list.InsertColumn(2, "Value", LVCFMT_RIGHT, 80);
        for (int i = 0; i < 3; ++i)
        {
            list.InsertItem(i, ("row" + std::to_string(i)).c_str());
            list.SetItemText(i, 2, std::to_string(i * 10).c_str());
            list.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
        parent.codes.clear();
    }
    void Click(int item, Qt::KeyboardModifiers keys = {})
    {
        CRect cell;
        list.GetSubItemRect(item, 0, &cell);
        QTest::mouseClick(list.GetWidget(), Qt::LeftButton, keys, QPoint(cell.left + 5, cell.top + 3));
    }

    ListParent parent;
    CListCtrl list;
};

} // namespace

TEST_F(ListCtrlTest, KeepsTextsAndDataByRowAndColumn)
{
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(std::string(list.GetItemText(1, 0)), "row1");
    EXPECT_EQ(std::string(list.GetItemText(2, 2)), "20");
    EXPECT_EQ(std::string(list.GetItemText(2, 1)), "");
    EXPECT_EQ(list.GetItemData(2), 102u);
    list.DeleteItem(0);
    EXPECT_EQ(list.GetItemData(0), 101u);
    EXPECT_EQ(list.GetColumnWidth(2), 80);
    list.SetColumnWidth(2, 0);
    EXPECT_EQ(list.GetColumnWidth(2), 0);
    EXPECT_EQ(std::string(list.GetColumnHeading(1)), "Swatch");
    EXPECT_FALSE(list.SetItemText(5, 0, "x"));
}

TEST_F(ListCtrlTest, ClicksSelectOneOrManyAndReportEachChange)
{
    Click(0);
    ASSERT_EQ(parent.changes.size(), 1u);
    EXPECT_EQ(parent.changes[0].item, 0);
    EXPECT_TRUE(parent.changes[0].newState & LVIS_SELECTED);
    Click(2, Qt::ControlModifier);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(list.GetNextItem(0, LVNI_SELECTED), 2);
    Click(1);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    Click(2, Qt::ShiftModifier);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    EXPECT_NE(std::find(parent.codes.begin(), parent.codes.end(), NM_CLICK), parent.codes.end());
}

TEST_F(ListCtrlTest, KeysGoToTheParent)
{
    list.SetFocus();
    QTest::keyClick(list.GetWidget(), Qt::Key_Delete);
    ASSERT_EQ(parent.keys.size(), 1u);
    EXPECT_EQ(parent.keys[0], VK_DELETE);
}

TEST_F(ListCtrlTest, ParentDrawsTheCellsItAsksFor)
{
    const QImage image = list.GetWidget()->grab().toImage();
    CRect cell;
    list.GetSubItemRect(1, 1, &cell);
    EXPECT_EQ(image.pixelColor(cell.CenterPoint().x, cell.CenterPoint().y), QColor(0, 255, 0));
    list.GetSubItemRect(1, 0, &cell);
    EXPECT_NE(image.pixelColor(cell.left + 1, cell.top + 1), QColor(0, 255, 0));
}

TEST(SliderCtrlTest, RangePositionAndMovesReportedToTheParent)
{
    ListParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "s", WS_POPUP, CRect(0, 0, 300, 60), nullptr, 0));
    parent.ShowWindow(SW_SHOW);
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(0, 0, 300, 20), &parent, 3));
    slider.SetRange(0, 20000);
    slider.SetPageSize(100);
    slider.SetPos(50);
    EXPECT_EQ(slider.GetPos(), 50);
    EXPECT_EQ(slider.GetRangeMax(), 20000);
    EXPECT_EQ(slider.GetPageSize(), 100);
    EXPECT_EQ(slider.SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(10, 500)), 0);
    EXPECT_EQ(slider.GetRangeMin(), 10);
    slider.SetFocus();
    QTest::keyClick(slider.GetWidget(), Qt::Key_End);
    ASSERT_FALSE(parent.scrolls.empty());
    EXPECT_EQ(parent.scrolls.back(), TB_BOTTOM);
    EXPECT_EQ(slider.GetPos(), 500);
    QTest::keyClick(slider.GetWidget(), Qt::Key_Left);
    EXPECT_EQ(parent.scrolls.back(), TB_LINEUP);
    EXPECT_EQ(slider.GetPos(), 499);
}

TEST_F(ListCtrlTest, RowsThatDoNotFitScroll)
{
    for (int i = 3; i < 20; ++i)
        list.InsertItem(i, ("row" + std::to_string(i)).c_str());
    SCROLLINFO info;
    ASSERT_TRUE(list.GetScrollInfo(SB_VERT, &info));
    EXPECT_EQ(info.nMax, 19);
    const CPoint firstRow(5, list.GetHeaderHeight() + 2);
    EXPECT_EQ(list.HitTest(firstRow), 0);
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(list.HitTest(firstRow), 1);
    list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    CRect last;
    list.GetSubItemRect(19, 0, &last);
    CRect client;
    list.GetClientRect(&client);
    EXPECT_LE(last.bottom, client.bottom);
    list.DeleteAllItems();
    EXPECT_EQ(list.HitTest(firstRow), -1);
}
