// Resizable dialog: anchors under growth and shrinkage, limits, grip and the saved placement.
#include "UiExtTestSupport.h"

#include <uiext/ResizableDialog.h>

#include <ui/App.h>

#include <gtest/gtest.h>

namespace
{

constexpr UINT kResizeDialog = 31000;
constexpr UINT kGrowing = 100;
constexpr UINT kCorner = 101;
constexpr UINT kCentred = 102;
constexpr UINT kGroup = 103;

const DlgItem kItems[] = {
    {DlgKind::EditText, kGrowing, 4, 4, 100, 40},
    {DlgKind::PushButton, kCorner, 140, 80, 50, 14, "Go"},
    {DlgKind::LText, kCentred, 90, 60, 20, 8, "mid"},
    {DlgKind::GroupBox, kGroup, 2, 50, 80, 40, "group"},
};
const DialogTemplate kTemplate = {"Resize", WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, kItems, 4};
const BOOL kRegistered = AfxRegisterDialogTemplate(kResizeDialog, &kTemplate);

class TestDialog : public CResizableDialog
{
public:
    explicit TestDialog(const char* section = nullptr) : CResizableDialog(kResizeDialog), m_section(section)
    {
    }

    CRect ChildRect(UINT id)
    {
        CRect rect;
        GetDlgItem(static_cast<int>(id))->GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }
    CRect GripRect()
    {
        CRect rect;
        m_wndGrip.GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }
    bool GripEnabled() const { return m_wndGrip.IsWindowEnabled() != FALSE; }
    void Resize(int width, int height)
    {
        SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }

protected:
    BOOL OnInitDialog() override
    {
        CResizableDialog::OnInitDialog();
        AddAnchor(kGrowing, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
        AddAnchor(kCorner, ANCHOR_BOTTOM_RIGHT);
        AddAnchor(kCentred, ANCHOR_TOP_CENTER);
        AddAnchor(kGroup, ANCHOR_TOP_LEFT);
        if (m_section)
            EnableSaveRestore(m_section);
        return TRUE;
    }

private:
    const char* m_section;
};

class ResizableDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kRegistered);
        ASSERT_TRUE(dialog.Create(kResizeDialog));
        dialog.GetWindowRect(&initial);
    }
    TestDialog dialog;
    CRect initial;
};

TEST_F(ResizableDialogTest, AnchoredChildrenFollowGrowthAndComeBackExactly)
{
    const CRect growing = dialog.ChildRect(kGrowing);
    const CRect corner = dialog.ChildRect(kCorner);
    const CRect centred = dialog.ChildRect(kCentred);
    dialog.Resize(initial.Width() + 31, initial.Height() + 17);

    const CRect grown = dialog.ChildRect(kGrowing);
    EXPECT_EQ(grown.TopLeft(), growing.TopLeft());
    EXPECT_EQ(grown.Size(), growing.Size() + CSize(31, 17));
    const CRect moved = dialog.ChildRect(kCorner);
    EXPECT_EQ(moved.Size(), corner.Size());
    EXPECT_EQ(moved.TopLeft(), corner.TopLeft() + CSize(31, 17));
    CRect client;
    dialog.GetClientRect(&client);
    const int width = client.Width() - 31;
    EXPECT_EQ(dialog.ChildRect(kCentred).left - centred.left, (width + 31) * 50 / 100 - width * 50 / 100);

    dialog.Resize(initial.Width(), initial.Height());
    EXPECT_EQ(dialog.ChildRect(kGrowing), growing);
    EXPECT_EQ(dialog.ChildRect(kCorner), corner);
    EXPECT_EQ(dialog.ChildRect(kCentred), centred);
}

TEST_F(ResizableDialogTest, HalfAnchorsSplitOddGrowthByTruncationBothWays)
{
    const CRect centred = dialog.ChildRect(kCentred);
    CRect client;
    dialog.GetClientRect(&client);
    const int w = client.Width();
    auto offsetAt = [&](int growth)
    {
        dialog.Resize(initial.Width() + growth, initial.Height());
        return dialog.ChildRect(kCentred).left - centred.left;
    };
    EXPECT_EQ(offsetAt(31), (w + 31) * 50 / 100 - w * 50 / 100);
    EXPECT_EQ(offsetAt(62), (w + 62) * 50 / 100 - w * 50 / 100);
    // Shrinking by the same odd amount lands where growing to that size did.
    EXPECT_EQ(offsetAt(31), (w + 31) * 50 / 100 - w * 50 / 100);
    EXPECT_EQ(offsetAt(0), 0);
}

TEST_F(ResizableDialogTest, DialogCannotBecomeSmallerThanDesigned)
{
    MINMAXINFO info{};
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, initial.Width());
    EXPECT_EQ(info.ptMinTrackSize.y, initial.Height());
    dialog.Resize(initial.Width() - 50, initial.Height() - 40);
    CRect now;
    dialog.GetWindowRect(&now);
    EXPECT_EQ(now.Size(), initial.Size());
}

TEST_F(ResizableDialogTest, MinimisingLaysOutButMaxShowAndMaxHideDoNot)
{
    CWnd* corner = dialog.GetDlgItem(kCorner);
    const CRect anchored = dialog.ChildRect(kCorner);
    corner->MoveWindow(0, 0, 10, 10);
    dialog.SendMessage(WM_SIZE, SIZE_MAXSHOW, 0);
    dialog.SendMessage(WM_SIZE, SIZE_MAXHIDE, 0);
    EXPECT_EQ(dialog.ChildRect(kCorner), CRect(0, 0, 10, 10));
    dialog.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(dialog.ChildRect(kCorner), anchored);
}

TEST_F(ResizableDialogTest, GripSitsInTheCornerAndIsDisabledWhileMaximised)
{
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(dialog.GripRect().BottomRight(), client.BottomRight());
    EXPECT_TRUE(dialog.GripEnabled());
    dialog.ShowWindow(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(PumpUntil([&]() { return dialog.IsZoomed() != FALSE; }));
    EXPECT_FALSE(dialog.GripEnabled());
    dialog.ShowWindow(SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&]() { return dialog.IsZoomed() == FALSE; }));
    EXPECT_TRUE(dialog.GripEnabled());
}

TEST_F(ResizableDialogTest, AnchoredGroupBoxClipsSiblingsAndIsNeverClippedOut)
{
    EXPECT_NE(dialog.GetDlgItem(kGroup)->GetStyle() & WS_CLIPSIBLINGS, 0u);
    dialog.ShowWindow(SW_SHOW);
    CBitmap canvas;
    ASSERT_TRUE(canvas.CreateBitmap(400, 200));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&canvas);
    dialog.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    const CRect group = dialog.ChildRect(kGroup);
    const CRect edit = dialog.ChildRect(kGrowing);
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
    const QImage& image = canvas.GetImage();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The group box's area is erased; the edit field's is left to the edit.
    EXPECT_EQ(FromQColor(image.pixelColor(group.left + 5, group.bottom - 5)), face);
    EXPECT_NE(FromQColor(image.pixelColor(edit.left + 5, edit.top + 5)), face);
}

TEST(ResizableDialogState, PlacementRoundTripsThroughTheProfile)
{
    const char* section = "ResizeRoundTrip";
    CRect moved;
    {
        TestDialog first(section);
        ASSERT_TRUE(first.Create(kResizeDialog));
        first.SetWindowPos(nullptr, 40, 50, 360, 230, SWP_NOZORDER);
        first.GetWindowRect(&moved);
        first.DestroyWindow();
    }
    const CString stored = AfxGetApp()->GetProfileString(section, "WindowPlacement");
    EXPECT_EQ(stored,
              FormatString("%d,%d,%d,%d,1,0", static_cast<int>(moved.left), static_cast<int>(moved.top),
                           static_cast<int>(moved.right), static_cast<int>(moved.bottom)));
    TestDialog second(section);
    ASSERT_TRUE(second.Create(kResizeDialog));
    CRect restored;
    second.GetWindowRect(&restored);
    EXPECT_EQ(restored, moved);
}

TEST(ResizableDialogState, MalformedValueRestoresNothingAndNoSaveWritesNothing)
{
    TestDialog plain;
    ASSERT_TRUE(plain.Create(kResizeDialog));
    CRect designed;
    plain.GetWindowRect(&designed);
    plain.DestroyWindow();
    EXPECT_EQ(AfxGetApp()->GetProfileString("NoSection", "WindowPlacement"), CString());

    AfxGetApp()->WriteProfileString("ResizeMalformed", "WindowPlacement", "1,2,300,400,1");
    TestDialog restored("ResizeMalformed");
    ASSERT_TRUE(restored.Create(kResizeDialog));
    CRect now;
    restored.GetWindowRect(&now);
    EXPECT_EQ(now, designed);
}

} // namespace
