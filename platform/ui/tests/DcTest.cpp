// Drawing checked on rendered images: frames, text alignment, raster operations, clipping.
#include <ui/Ui.h>

#include <QImage>

#include <gtest/gtest.h>

namespace
{

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

COLORREF Pixel(const CBitmap& bitmap, int x, int y)
{
    return FromQColor(bitmap.GetImage().pixelColor(x, y));
}

// The smallest rectangle holding every pixel that differs from the background.
CRect InkBounds(const CBitmap& bitmap, COLORREF background)
{
    CRect ink(10000, 10000, -1, -1);
    const QImage& image = bitmap.GetImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (FromQColor(image.pixelColor(x, y)) != background)
            {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    return ink;
}

class CanvasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bitmap.CreateBitmap(120, 60));
        dc.CreateCompatibleDC(nullptr);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 120, 60, kWhite);
    }
    void Finish() { dc.SelectObject(old); }
    CBitmap bitmap;
    CDC dc;
    CBitmap* old = nullptr;
};

TEST_F(CanvasTest, ThreeDFrameColoursTopLeftAndBottomRightEdges)
{
    dc.Draw3dRect(10, 10, 20, 10, kRed, kBlue);
    Finish();
    EXPECT_EQ(Pixel(bitmap, 10, 10), kRed);  // top-left corner
    EXPECT_EQ(Pixel(bitmap, 28, 10), kRed);  // top edge, last pixel before the corner
    EXPECT_EQ(Pixel(bitmap, 29, 10), kBlue); // top-right corner belongs to the right edge
    EXPECT_EQ(Pixel(bitmap, 10, 18), kRed);  // left edge
    EXPECT_EQ(Pixel(bitmap, 10, 19), kBlue); // bottom-left corner belongs to the bottom edge
    EXPECT_EQ(Pixel(bitmap, 29, 19), kBlue);
    EXPECT_EQ(Pixel(bitmap, 15, 15), kWhite); // inside untouched
    EXPECT_EQ(Pixel(bitmap, 30, 10), kWhite); // nothing beyond the rectangle
    EXPECT_EQ(Pixel(bitmap, 10, 20), kWhite);
}

TEST_F(CanvasTest, RectangleOutlineStaysInsideItsBounds)
{
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.Rectangle(5, 5, 15, 12);
    Finish();
    EXPECT_EQ(InkBounds(bitmap, kWhite), CRect(5, 5, 15, 12));
    EXPECT_EQ(Pixel(bitmap, 5, 5), kRed);
    EXPECT_EQ(Pixel(bitmap, 14, 11), kRed);
    EXPECT_EQ(Pixel(bitmap, 8, 8), kBlue);
}

TEST_F(CanvasTest, LineLeavesOutItsEndPoint)
{
    CPen pen(PS_SOLID, 1, kRed);
    dc.SelectObject(&pen);
    dc.MoveTo(2, 3);
    dc.LineTo(12, 3);
    Finish();
    EXPECT_EQ(InkBounds(bitmap, kWhite), CRect(2, 3, 12, 4));
}

TEST_F(CanvasTest, DrawTextPlacesTextByItsAlignmentFlags)
{
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect area(0, 0, 120, 60);
    dc.DrawText("Wg", &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const CSize extent = dc.GetTextExtent("Wg");
    Finish();
    const CRect centred = InkBounds(bitmap, kWhite);
    ASSERT_GT(centred.right, centred.left);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 60, 3);
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, 30, extent.cy / 2.0);

    CanvasTest::SetUp();
    dc.SetBkMode(TRANSPARENT);
    area = CRect(0, 0, 120, 60);
    dc.DrawText("Wg", &area, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    Finish();
    const CRect rightBottom = InkBounds(bitmap, kWhite);
    EXPECT_NEAR(rightBottom.right, 120, 3);
    EXPECT_GT(rightBottom.bottom, 60 - extent.cy / 2);
    EXPECT_GT(rightBottom.left, 120 - extent.cx - 3);
}

TEST_F(CanvasTest, TextOutAlignsOnTheGivenPoint)
{
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_RIGHT | TA_TOP);
    dc.TextOut(100, 10, "Ab");
    Finish();
    const CRect ink = InkBounds(bitmap, kWhite);
    EXPECT_LE(ink.right, 101);
    EXPECT_GE(ink.right, 96);
    EXPECT_GE(ink.top, 10);
}

TEST_F(CanvasTest, OpaqueTextFillsItsCellWithTheBackgroundColour)
{
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kBlue);
    dc.TextOut(0, 0, "x");
    Finish();
    EXPECT_EQ(Pixel(bitmap, 0, 0), kBlue);
}

TEST_F(CanvasTest, PatternInvertTwiceRestoresAndDestinationInvertInverts)
{
    dc.FillSolidRect(0, 0, 10, 10, kRed);
    CBrush grey(RGB(128, 128, 128));
    dc.SelectObject(&grey);
    dc.PatBlt(0, 0, 10, 10, PATINVERT);
    const COLORREF once = FromQColor(bitmap.GetImage().pixelColor(5, 5));
    dc.PatBlt(0, 0, 10, 10, PATINVERT);
    dc.PatBlt(20, 0, 10, 10, DSTINVERT);
    Finish();
    EXPECT_EQ(once, RGB(255 ^ 128, 128, 128));
    EXPECT_EQ(Pixel(bitmap, 5, 5), kRed);
    EXPECT_EQ(Pixel(bitmap, 25, 5), RGB(0, 0, 0));
}

TEST_F(CanvasTest, XorPenDrawnTwiceLeavesNoTrace)
{
    CPen pen(PS_SOLID, 1, kRed);
    dc.SelectObject(&pen);
    dc.SetROP2(R2_XORPEN);
    for (int pass = 0; pass < 2; ++pass)
    {
        dc.MoveTo(0, 5);
        dc.LineTo(50, 5);
    }
    Finish();
    EXPECT_EQ(InkBounds(bitmap, kWhite).right, -1);
}

TEST_F(CanvasTest, BlitFromAnOffscreenBitmapCopiesAndAndsPixels)
{
    CBitmap source;
    ASSERT_TRUE(source.CreateBitmap(4, 4));
    CDC sourceDc;
    sourceDc.CreateCompatibleDC(&dc);
    CBitmap* sourceOld = sourceDc.SelectObject(&source);
    sourceDc.FillSolidRect(0, 0, 4, 4, RGB(0, 255, 255));
    dc.BitBlt(0, 0, 4, 4, &sourceDc, 0, 0, SRCCOPY);
    dc.FillSolidRect(10, 0, 4, 4, RGB(255, 255, 0));
    dc.BitBlt(10, 0, 4, 4, &sourceDc, 0, 0, SRCAND);
    sourceDc.SelectObject(sourceOld);
    Finish();
    EXPECT_EQ(Pixel(bitmap, 1, 1), RGB(0, 255, 255));
    EXPECT_EQ(Pixel(bitmap, 11, 1), RGB(0, 255, 0));
}

TEST_F(CanvasTest, ExcludedClipRectangleStaysUntouched)
{
    dc.ExcludeClipRect(10, 10, 20, 20);
    dc.PatBlt(0, 0, 40, 40, BLACKNESS);
    dc.SelectClipRgn(nullptr);
    Finish();
    EXPECT_EQ(Pixel(bitmap, 15, 15), kWhite);
    EXPECT_EQ(Pixel(bitmap, 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(bitmap, 25, 15), RGB(0, 0, 0));
}

TEST_F(CanvasTest, SaveAndRestoreBringBackTheSelectedPen)
{
    CPen red(PS_SOLID, 1, kRed);
    CPen* original = dc.SelectObject(&red);
    const int saved = dc.SaveDC();
    CPen blue(PS_SOLID, 1, kBlue);
    dc.SelectObject(&blue);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    dc.SelectObject(original);
    EXPECT_FALSE(dc.RestoreDC(saved));
    Finish();
}

TEST(WindowDc, DragRectangleDrawnTwiceLeavesTheOverlayClear)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, nullptr, WS_POPUP, CRect(0, 0, 100, 80), nullptr, 0));
    const CRect bar(0, 30, 100, 34);
    {
        CWindowDC dc(&wnd);
        dc.DrawDragRect(&bar, CSize(100, 4), nullptr, CSize(0, 0));
    }
    const QImage* overlay = wnd.GetOverlayImage();
    EXPECT_NE(overlay->pixel(50, 31), 0u);
    EXPECT_EQ(overlay->pixel(50, 40), 0u);
    {
        CWindowDC dc(&wnd);
        dc.DrawDragRect(nullptr, CSize(0, 0), &bar, CSize(100, 4));
    }
    EXPECT_EQ(wnd.GetOverlayImage()->pixel(50, 31), 0u);
}

} // namespace
