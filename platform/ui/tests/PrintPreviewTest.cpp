#include <ui/PrintPreview.h>

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

namespace
{

// Dark pixels of the image inside the rectangle (image pixels).
int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

class CountingSink final : public CPrintPreviewSink
{
public:
    void Show(CWnd*, const CPreviewDC& pages) override
    {
        shown = pages.GetPageCount();
        first = pages.RenderPage(0, 100);
    }
    int shown = -1;
    QImage first;
};

class PrintPreviewTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dc.CreatePreview()); }

    // A filled square of side device units at (x, y) of the printable area.
    void Square(int x, int y, int side)
    {
        CBrush black(RGB(0, 0, 0));
        const CRect square(x, y, x + side, y + side);
        dc.FillRect(&square, &black);
    }

    CPreviewDC dc;
};

TEST_F(PrintPreviewTest, ThePageHasThePrintersMetricsAt600Dpi)
{
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), 3000);
    EXPECT_GT(dc.GetDeviceCaps(PHYSICALWIDTH), dc.GetDeviceCaps(HORZRES));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), CPrinterDC::kResolution);
    EXPECT_GT(dc.GetDeviceCaps(PHYSICALOFFSETX), 0);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX) * 2,
              dc.GetDeviceCaps(PHYSICALWIDTH) - dc.GetDeviceCaps(HORZRES));
}

TEST_F(PrintPreviewTest, EachPageIsRenderedWithItsOwnDrawingAtTheAskedResolution)
{
    ASSERT_GT(dc.StartDoc("preview"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    Square(600, 600, 600);
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.StartPage(), 0);
    Square(1800, 1800, 600);
    ASSERT_GT(dc.EndPage(), 0);
    EXPECT_EQ(dc.GetPageCount(), 0) << "pages count once the document ended";
    ASSERT_GT(dc.EndDoc(), 0);
    ASSERT_EQ(dc.GetPageCount(), 2);

    const int offsetX = dc.GetDeviceCaps(PHYSICALOFFSETX) / 6;
    const int offsetY = dc.GetDeviceCaps(PHYSICALOFFSETY) / 6;
    const QImage first = dc.RenderPage(0, 100);
    EXPECT_EQ(first.width(), dc.GetDeviceCaps(PHYSICALWIDTH) / 6);
    EXPECT_EQ(first.height(), dc.GetDeviceCaps(PHYSICALHEIGHT) / 6);
    // 600 dots are 100 pixels: the square from (100, 100) to (200, 200) of the printable area.
    EXPECT_EQ(DarkPixels(first, QRect(offsetX + 105, offsetY + 105, 90, 90)), 90 * 90);
    EXPECT_EQ(DarkPixels(first, QRect(0, 0, first.width(), first.height())),
              DarkPixels(first, QRect(offsetX + 99, offsetY + 99, 102, 102)));
    const QImage second = dc.RenderPage(1, 100);
    EXPECT_EQ(DarkPixels(second, QRect(offsetX + 105, offsetY + 105, 90, 90)), 0);
    EXPECT_EQ(DarkPixels(second, QRect(offsetX + 305, offsetY + 305, 90, 90)), 90 * 90);
    EXPECT_TRUE(dc.RenderPage(2, 100).isNull());
    EXPECT_TRUE(dc.RenderPage(0, 0).isNull());
}

TEST_F(PrintPreviewTest, TextKeepsItsDeviceHeight)
{
    CFont font;
    font.CreateFont(80, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Monospace");
    ASSERT_GT(dc.StartDoc("text"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    dc.SelectObject(&font);
    const CSize extent = dc.GetTextExtent("MMMM");
    dc.TextOut(600, 600, "MMMM");
    dc.EndPage();
    dc.EndDoc();
    EXPECT_GT(extent.cy, 60);
    EXPECT_LT(extent.cy, 140);
    const QImage page = dc.RenderPage(0, 600);
    const int x = dc.GetDeviceCaps(PHYSICALOFFSETX) + 600;
    const int y = dc.GetDeviceCaps(PHYSICALOFFSETY) + 600;
    const int inside = DarkPixels(page, QRect(x, y, extent.cx, extent.cy));
    EXPECT_GT(inside, 0);
    EXPECT_EQ(DarkPixels(page, QRect(0, 0, page.width(), page.height())), inside)
        << "nothing drawn outside the text's extent";
}

TEST_F(PrintPreviewTest, PagesOutsideADocumentAreRefusedAndAnAbortedOneKeepsTheLast)
{
    EXPECT_EQ(dc.StartPage(), SP_ERROR);
    EXPECT_EQ(dc.EndPage(), SP_ERROR);
    EXPECT_EQ(dc.EndDoc(), SP_ERROR);
    ASSERT_GT(dc.StartDoc("one"), 0);
    EXPECT_EQ(dc.StartDoc("again"), SP_ERROR);
    ASSERT_GT(dc.StartPage(), 0);
    EXPECT_EQ(dc.StartPage(), SP_ERROR);
    ASSERT_GT(dc.EndDoc(), 0) << "an open page ends with the document";
    ASSERT_EQ(dc.GetPageCount(), 1);
    ASSERT_GT(dc.StartDoc("two"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    ASSERT_GT(dc.AbortDoc(), 0);
    EXPECT_EQ(dc.GetPageCount(), 1);
}

TEST_F(PrintPreviewTest, TheInstalledSinkShowsThePagesAndNullRestoresTheDesktop)
{
    CountingSink sink;
    CPrintPreviewSink* previous = AfxSetPrintPreviewSink(&sink);
    ASSERT_GT(dc.StartDoc("sink"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    Square(0, 0, 60);
    dc.EndDoc();
    AfxShowPrintPreview(nullptr, dc);
    EXPECT_EQ(sink.shown, 1);
    EXPECT_FALSE(sink.first.isNull());
    EXPECT_EQ(AfxSetPrintPreviewSink(nullptr), &sink);
    EXPECT_EQ(AfxGetPrintPreviewSink(), previous);
    AfxShowPrintPreview(nullptr, dc); // headless: returns at once
}

} // namespace
