// The status cell as drawn: field colour, button-face strip, frame, text, and the rows it takes.
#include <ZoLumoPlcObj/ui/TriggerState.h>

#include <ZoSupport/ResourceString.h>

#include <ui/Dc.h>

#include <QImage>
#include <QWidget>

#include <testing/TestApplication.h>

#include <gtest/gtest.h>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("PlcObjUiTests");
} // namespace

namespace
{
constexpr COLORREF Red = RGB(200, 0, 0);
constexpr COLORREF Green = RGB(0, 160, 0);
constexpr COLORREF Blue = RGB(0, 0, 200);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr UINT StoppedId = 4711;
constexpr UINT EmptyId = 4712;

const RESOURCE_STRING Strings[] = {{StoppedId, "Fermo"}, {EmptyId, ""}};

class TriggerStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 200, 60), nullptr, 0));
        RegisterResourceStrings(nullptr, Strings, 2);
    }
    void TearDown() override { UnregisterResourceStrings(nullptr); }

    QImage Render(CTriggerState& cell) { return cell.GetWidget()->grab().toImage(); }
    static COLORREF At(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }
    // Pixels of the colour inside the field, frame excluded.
    static int Count(const QImage& image, COLORREF colour)
    {
        int n = 0;
        for (int y = 3; y < image.height() - 1; ++y)
            for (int x = 6; x < image.width() - 1; ++x)
                n += At(image, x, y) == colour;
        return n;
    }

    CWnd parent;
    TRIG_STATE table[3] = {
        {"OFF", Red, White, 0},
        {"RUN", Green, Yellow, 0},
        {"?", Blue, White, StoppedId},
    };
};

TEST_F(TriggerStateTest, CreateGivesA20PixelHighCellOfTheWidthOr75)
{
    CTriggerState standard;
    ASSERT_TRUE(standard.Create(3, &parent, -1));
    CRect rect;
    standard.GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 75);
    EXPECT_EQ(rect.Height(), 20);
    EXPECT_EQ(standard.GetDlgCtrlID(), 0xFFFF);
    EXPECT_EQ(standard.GetStyle(), 3u);

    CTriggerState wide;
    ASSERT_TRUE(wide.Create(1, &parent, 120));
    wide.GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 120);
}

TEST_F(TriggerStateTest, DrawsTheRowOnItsColourBesideAButtonFaceStripInASunkenFrame)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 100));
    cell.SetStatusArray(table, 3);
    cell.SetInfo(1, 7, true);
    const QImage image = Render(cell);

    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(At(image, x, 10), GetSysColor(COLOR_BTNFACE)) << x;
    EXPECT_EQ(At(image, 5, 10), GetSysColor(COLOR_BTNSHADOW));     // left edge
    EXPECT_EQ(At(image, 50, 0), GetSysColor(COLOR_BTNSHADOW));     // top edge
    EXPECT_EQ(At(image, 99, 10), GetSysColor(COLOR_BTNHIGHLIGHT)); // right edge
    EXPECT_EQ(At(image, 50, 19), GetSysColor(COLOR_BTNHIGHLIGHT)); // bottom edge
    EXPECT_EQ(At(image, 8, 17), Green);
    EXPECT_GT(Count(image, Yellow), 10); // the text in its colour
    EXPECT_EQ(cell.GetRows().GetText(), "RUN");
    EXPECT_EQ(cell.GetRows().GetValue(), 7u);
}

TEST_F(TriggerStateTest, RowsOutOfRangeShowRowZero)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 100));
    cell.SetStatusArray(table, 3);
    for (int row : {3, -1, 99})
    {
        cell.SetInfo(1, 0, true);
        cell.SetInfo(row, 0, true);
        const QImage image = Render(cell);
        EXPECT_EQ(At(image, 8, 17), Red) << row;
        EXPECT_EQ(cell.GetRows().GetText(), "OFF") << row;
    }
}

TEST_F(TriggerStateTest, TextComesFromTheStringTableUnlessItIsEmptyOrMissing)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 100));
    cell.SetStatusArray(table, 3);
    cell.SetInfo(2, 0, true);
    EXPECT_EQ(cell.GetRows().GetText(), "Fermo");

    table[2].nStringId = static_cast<int>(EmptyId);
    cell.SetInfo(2, 0, true);
    EXPECT_EQ(cell.GetRows().GetText(), "?");

    table[2].nStringId = 999;
    cell.SetInfo(1, 0, true);
    cell.SetInfo(2, 0, true);
    EXPECT_EQ(cell.GetRows().GetText(), "?");
}

TEST_F(TriggerStateTest, WithoutTheStateBitTheCellIsAnEmptyButtonFaceField)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 100));
    cell.SetStatusArray(table, 3);
    for (int row : {0, 1, 2})
    {
        cell.SetInfo(row, 0, true);
        cell.SetStyle(0);
        const QImage image = Render(cell);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(At(image, x, y), GetSysColor(COLOR_BTNFACE)) << row << " " << x << "," << y;
        cell.SetStyle(3);
    }
    EXPECT_EQ(cell.GetStyle(), 3u);
}

TEST_F(TriggerStateTest, WithoutATableTheCellStaysAsItWas)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 100));
    cell.SetStatusArray(table, 3);
    cell.SetInfo(1, 5, true);
    const QImage before = Render(cell);

    cell.SetStatusArray(table, 0);
    cell.SetInfo(2, 9, true);
    EXPECT_EQ(Render(cell), before);
    cell.SetStatusArray(nullptr, 3); // a null table is never read
    cell.Reset();
    EXPECT_EQ(Render(cell), before);
    EXPECT_EQ(cell.GetRows().GetText(), "RUN");
    EXPECT_EQ(cell.GetRows().GetValue(), 5u);
}

TEST_F(TriggerStateTest, SetPositionMovesTheCellKeepingItsSize)
{
    CTriggerState cell;
    ASSERT_TRUE(cell.Create(3, &parent, 90));
    cell.SetPosition(30, 25);
    CRect rect;
    cell.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(30, 25, 120, 45));
}
} // namespace
