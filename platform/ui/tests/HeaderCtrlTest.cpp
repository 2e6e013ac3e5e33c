// Header control: items, and clicks and divider drags reported to the parent.
#include <ui/Ui.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class HeaderParent : public CWnd
{
public:
    struct Note
    {
        int code;
        int item;
        int width;
    };
    std::vector<Note> notes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            const auto* header = reinterpret_cast<const NMHEADER*>(lParam);
            notes.push_back({header->hdr.code, header->iItem, header->pitem ? header->pitem->cxy : -1});
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class HeaderCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "h", WS_POPUP, CRect(0, 0, 300, 100), nullptr, 0));
        ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 300, 20), &parent, 3));
        for (int i = 0; i < 3; ++i)
        {
            HDITEM item;
            item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
            item.cxy = 50;
            item.pszText = "T";
            item.fmt = HDF_CENTER | HDF_STRING;
            ASSERT_EQ(header.InsertItem(i, &item), i);
        }
    }
    LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

    HeaderParent parent;
    CHeaderCtrl header;
};

} // namespace

TEST_F(HeaderCtrlTest, ItemsAreInsertedChangedAndDeleted)
{
    HDITEM item;
    item.mask = HDI_WIDTH;
    item.cxy = 80;
    EXPECT_TRUE(header.SetItem(1, &item));
    HDITEM back;
    back.mask = HDI_WIDTH | HDI_FORMAT;
    ASSERT_TRUE(header.GetItem(1, &back));
    EXPECT_EQ(back.cxy, 80);
    EXPECT_EQ(back.fmt, HDF_CENTER | HDF_STRING);
    EXPECT_EQ(header.HitTest(CPoint(129, 5)), 1);
    EXPECT_EQ(header.HitTest(CPoint(130, 5)), 2);
    EXPECT_TRUE(header.DeleteItem(0));
    EXPECT_EQ(header.GetItemCount(), 2);
    EXPECT_FALSE(header.SetItem(5, &item));
}

TEST_F(HeaderCtrlTest, ClickOnAnItemIsReportedOnRelease)
{
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(75, 10));
    EXPECT_TRUE(parent.notes.empty());
    header.SendMessage(WM_LBUTTONUP, 0, At(75, 10));
    ASSERT_EQ(parent.notes.size(), 1u);
    EXPECT_EQ(parent.notes[0].code, HDN_ITEMCLICK);
    EXPECT_EQ(parent.notes[0].item, 1);
}

TEST_F(HeaderCtrlTest, DividerDragReportsTrackingAndItsEnd)
{
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(101, 10));
    header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(120, 10));
    header.SendMessage(WM_LBUTTONUP, 0, At(130, 10));
    ASSERT_EQ(parent.notes.size(), 2u);
    EXPECT_EQ(parent.notes[0].code, HDN_TRACK);
    EXPECT_EQ(parent.notes[0].item, 1);
    EXPECT_EQ(parent.notes[0].width, 70);
    EXPECT_EQ(parent.notes[1].code, HDN_ENDTRACK);
    EXPECT_EQ(parent.notes[1].width, 70);
    HDITEM back;
    back.mask = HDI_WIDTH;
    header.GetItem(1, &back);
    EXPECT_EQ(back.cxy, 70);
}
