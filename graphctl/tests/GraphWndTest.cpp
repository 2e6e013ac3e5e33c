#include "GraphFixture.h"

#include <graphctl/TraceRow.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>

#include <cstdlib>

using namespace tvsk::com;

using GraphWndTest = GraphFixture;

namespace
{
std::vector<double> Ramp(int count)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.push_back(i % 20);
    return values;
}
} // namespace

TEST_F(GraphWndTest, LayoutLeavesRoomForListAndSlider)
{
    LONG h = 0, v = 0;
    Control().get_GraphHDim(&h);
    Control().get_GraphVDim(&v);
    EXPECT_EQ(h, 340);
    EXPECT_EQ(v, 175);
    CRect list;
    Wnd().List().GetWindowRect(&list);
    EXPECT_EQ(list.Height(), 80);
    Control().put_ViewList(0);
    Control().get_GraphVDim(&v);
    EXPECT_EQ(v, 255);
    EXPECT_FALSE(Wnd().List().IsWindowVisible());
}

TEST_F(GraphWndTest, GridIsDrawnInItsColour)
{
    Control().put_GridColor(0x00FF00);
    const QImage image = Wnd().Render();
    const CRect& g = Graph();
    const int x = g.left + static_cast<int>(Control().Geometry().spacingX);
    EXPECT_GT(CountColour(image, CRect(x - 1, g.top + 2, x + 2, g.bottom - 2), 0x00FF00), 20);
    Control().put_Grid(0);
    EXPECT_EQ(CountColour(Wnd().Render(), g, 0x00FF00), 0);
}

TEST_F(GraphWndTest, TracesShowOnWhiteAndOnBlack)
{
    Control().put_ViewRange(100);
    CTrack4* track = AddTrace("A", Ramp(100), -1, 20);
    track->put_Color(0x40A0FF);
    Control().Update();
    EXPECT_GT(CountColour(Wnd().Render(), Graph(), 0x40A0FF), 100);
    Control().put_BackColor(0);
    EXPECT_GT(CountColour(Wnd().Render(), Graph(), 0x40A0FF), 100);
}

TEST_F(GraphWndTest, HiddenTraceIsNotDrawnButKeepsItsRow)
{
    CTrack4* track = AddTrace("A", Ramp(100), -1, 20);
    track->put_Color(0x40A0FF);
    track->put_Show(0);
    Control().Update();
    EXPECT_EQ(CountColour(Wnd().Render(), Graph(), 0x40A0FF), 0);
    EXPECT_EQ(Wnd().List().GetItemCount(), 1);
}

TEST_F(GraphWndTest, EmptyMarksBreakTheLine)
{
    std::vector<double> values(100, 10.0);
    for (int i = 40; i < 60; ++i)
        values[static_cast<size_t>(i)] = kTrackEmptyMark;
    CTrack4* track = AddTrace("A", values, 0, 20);
    track->put_Color(0x40A0FF);
    Control().Update();
    const QImage image = Wnd().Render();
    const CRect& g = Graph();
    const double step = Control().TimeStep();
    // Sample i lies (99 - i) / step pixels left of the right edge.
    const int gapLeft = g.right - static_cast<int>((99 - 42) / step);
    const int gapRight = g.right - static_cast<int>((99 - 57) / step);
    EXPECT_EQ(CountColour(image, CRect(gapLeft, g.top, gapRight, g.bottom), 0x40A0FF), 0);
    EXPECT_GT(CountColour(image, CRect(g.right - 20, g.top, g.right, g.bottom), 0x40A0FF), 5);
}

TEST_F(GraphWndTest, FeatureFourRebuildsTheBackgroundOnEveryPaint)
{
    Wnd().Render();
    EXPECT_FALSE(Control().BackgroundDirty());
    Control().put_Feature(4, MakeVariantI4(1));
    Wnd().Render();
    EXPECT_TRUE(Control().BackgroundDirty());
    Wnd().Render();
    EXPECT_TRUE(Control().BackgroundDirty());
}

TEST_F(GraphWndTest, TraceListHasItsColumnsAndCells)
{
    CListCtrl& list = Wnd().List();
    ASSERT_EQ(list.GetColumnCount(), 12);
    EXPECT_EQ(std::string(list.GetColumnHeading(0)), "Track");
    EXPECT_EQ(std::string(list.GetColumnHeading(11)), "note");
    EXPECT_EQ(list.GetColumnWidth(0), 150);
    EXPECT_EQ(list.GetColumnWidth(8), 80);
    Control().put_MeasureBar(0);
    EXPECT_EQ(list.GetColumnWidth(9), 0);
    Control().put_MeasureBar(1);
    EXPECT_EQ(list.GetColumnWidth(10), 80);

    CTrack4* track = AddTrace("Speed", {1.25, 3.5}, -10, 27.9);
    const BSTR empty = BstrFromUtf8("Empty");
    Control().AddTrack(empty);
    SysFreeString(empty);
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), "Speed");
    EXPECT_EQ(std::string(list.GetItemText(0, 3)), "1.250");
    EXPECT_EQ(std::string(list.GetItemText(0, 4)), "3.500");
    EXPECT_EQ(std::string(list.GetItemText(0, 5)), "3");
    EXPECT_EQ(std::string(list.GetItemText(0, 6)), "-10.000");
    EXPECT_EQ(std::string(list.GetItemText(1, 3)), "...");
    EXPECT_EQ(std::string(list.GetItemText(1, 8)), "...");
    const BSTR note = BstrFromUtf8("n");
    track->put_Note(note);
    SysFreeString(note);
    EXPECT_EQ(std::string(list.GetItemText(0, 11)), "n");
}

TEST_F(GraphWndTest, SelectingARowSelectsTheTraceAndDeleteIsReported)
{
    CTrack4* a = AddTrace("A", {1, 2}, 0, 3);
    CTrack4* b = AddTrace("B", {1, 2}, 0, 3);
    CListCtrl& list = Wnd().List();
    CRect row;
    list.GetSubItemRect(0, 0, &row);
    QTest::mouseClick(list.GetWidget(), Qt::LeftButton, {}, QPoint(row.left + 5, row.top + 3));
    EXPECT_EQ(Control().Tracks().DrawOrder().back(), a);
    ASSERT_EQ(m_events->Of(DISPID_ZG_TrackListSelection).size(), 1u);
    QTest::keyClick(list.GetWidget(), Qt::Key_Delete);
    ASSERT_EQ(m_events->Of(DISPID_ZG_KeyDown).size(), 1u);
    EXPECT_EQ(m_events->Of(DISPID_ZG_KeyDown)[0].args, std::vector<std::string>{"46"});
    Control().RemoveSelectedTracks();
    EXPECT_EQ(Control().Tracks().Count(), 1);
    EXPECT_EQ(Control().Tracks().At(0), b);
    EXPECT_EQ(list.GetItemCount(), 1);
}

TEST_F(GraphWndTest, BarDraggedPastTheRightEdgeStaysInside)
{
    AddTrace("A", Ramp(100), 0, 20);
    const CRect grip = GraphPainter::GripRect(Control(), 1);
    Drag(Widget(), QPoint(grip.left + 5, grip.top + 5), QPoint(Graph().right + 50, grip.top + 5));
    EXPECT_EQ(Control().BarPosition(1), Graph().right - 1);
    EXPECT_FALSE(m_events->Of(DISPID_ZG_MoveMeasureValueBar).empty());
    EXPECT_TRUE(m_events->Of(DISPID_ZG_RectSelection).empty());
    double diff = 0;
    Control().get_TimeDiff(&diff);
    EXPECT_NEAR(diff, 0, 1.0);
}

TEST_F(GraphWndTest, BarsKeepTheirTimeAndHeightWhenTheGraphIsLaidOutAgain)
{
    CTrack4* track = AddTrace("A", Ramp(400), 0, 20);
    Control().MoveBar(1, Graph().left + 100);
    Control().MoveBar(2, Graph().left + 200);
    Control().MoveBar(3, Graph().top + Graph().Height() / 4);
    Control().RecomputeBars();
    const double times[2] = {Control().BarTime(1), Control().BarTime(2)};
    const double level = track->Readings().horzValue;
    const auto unchanged = [&](const char* what)
    {
        Control().RecomputeBars();
        EXPECT_NEAR(Control().BarTime(1), times[0], Control().TimeStep()) << what;
        EXPECT_NEAR(Control().BarTime(2), times[1], Control().TimeStep()) << what;
        EXPECT_NEAR(track->Readings().horzValue, level, 20.0 / Graph().Height()) << what;
    };
    Control().put_ViewList(0);
    unchanged("list hidden");
    Control().put_ViewTimePosBar(0);
    unchanged("time bar hidden");
    track->put_Show(0);
    unchanged("trace hidden");
    Wnd().MoveWindow(0, 0, 300, 250);
    unchanged("resized");
    Wnd().MoveWindow(0, 0, 500, 400);
    unchanged("resized back");

    Wnd().MoveWindow(0, 0, 120, 250); // a range narrower than the bars' times keeps them inside
    EXPECT_GE(Control().BarPosition(1), Graph().left);
    EXPECT_LT(Control().BarPosition(2), Graph().right);
}

TEST_F(GraphWndTest, WithoutMeasureBarsNoGripIsHit)
{
    Control().put_MeasureBar(0);
    const int before = Control().BarPosition(1);
    const CRect grip = GraphPainter::GripRect(Control(), 1);
    Drag(Widget(), QPoint(grip.left + 5, grip.top + 5), QPoint(Graph().right - 50, grip.top + 5));
    EXPECT_EQ(Control().BarPosition(1), before);
}

TEST_F(GraphWndTest, HorizontalBarReadsEveryTrace)
{
    CTrack4* track = AddTrace("A", Ramp(10), 0, 100);
    const CRect grip = GraphPainter::GripRect(Control(), 3);
    const int y = Graph().top + Graph().Height() / 2;
    Drag(Widget(), QPoint(grip.left + 5, grip.top + 5), QPoint(grip.left + 5, y));
    EXPECT_NEAR(track->Readings().horzValue, 50, 1.0);
    ASSERT_FALSE(m_events->Of(DISPID_ZG_MoveMeasureHorzBar).empty());
    EXPECT_EQ(m_events->Of(DISPID_ZG_MoveMeasureHorzBar).back().args[0], "A");
    EXPECT_NE(std::string(Wnd().List().GetItemText(0, 10)), "...");
}

TEST_F(GraphWndTest, TraceMarkerDragMovesTheRange)
{
    CTrack4* track = AddTrace("A", Ramp(10), 0, 100);
    Control().Update();
    Wnd().Render();
    const double height = Graph().Height();
    const int zeroY = static_cast<int>(Graph().bottom - (0 - 0) / (100 / height));
    Drag(Widget(), QPoint(Graph().left - 15, zeroY - 1), QPoint(Graph().left - 15, zeroY - 1 - 35));
    EXPECT_NEAR(track->Min(), -100.0 / height * 35, 0.01);
    EXPECT_DOUBLE_EQ(track->Max() - track->Min(), 100.0);
    ASSERT_FALSE(m_events->Of(DISPID_ZG_MoveZeroTrack).empty());
    EXPECT_EQ(m_events->Of(DISPID_ZG_MoveZeroTrack).back().args, std::vector<std::string>{"0"});
}

TEST_F(GraphWndTest, ZoomDraggedUpLeftIsNormalised)
{
    const CRect& g = Graph();
    Drag(Widget(), QPoint(g.right - 10, g.bottom - 10), QPoint(g.left + 20, g.top + 30));
    const auto zooms = m_events->Of(DISPID_ZG_RectSelection);
    ASSERT_EQ(zooms.size(), 1u);
    const std::vector<std::string> expected = {std::to_string(g.left + 20), std::to_string(g.top + 30),
                                               std::to_string(g.right - 10), std::to_string(g.bottom - 10)};
    EXPECT_EQ(zooms[0].args, expected);
}

TEST_F(GraphWndTest, SliderBottomShowsTheNewest)
{
    Control().put_DimBuffer(500);
    Control().SetViewPosition(100);
    m_events->events.clear();
    Wnd().Slider().SetFocus();
    QTest::keyClick(Wnd().Slider().GetWidget(), Qt::Key_End);
    LONG position = 0;
    Control().get_StartViewIndex(&position);
    EXPECT_EQ(position, 500);
    EXPECT_EQ(Wnd().Slider().GetPos(), 500);
    ASSERT_FALSE(m_events->Of(DISPID_ZG_TimeRefChange).empty());
    EXPECT_EQ(m_events->Of(DISPID_ZG_TimeRefChange).back().args, std::vector<std::string>{"500"});
    QTest::keyClick(Wnd().Slider().GetWidget(), Qt::Key_Left);
    Control().get_StartViewIndex(&position);
    EXPECT_EQ(position, 499);
}

TEST_F(GraphWndTest, SplitterDragResizesTheList)
{
    QWidget* splitter = Wnd().Splitter().GetWidget();
    Drag(splitter, QPoint(50, 1), QPoint(50, 1 - 25));
    EXPECT_EQ(Control().ListHeight(), 80 + 25);
    CRect list;
    Wnd().List().GetWindowRect(&list);
    EXPECT_EQ(list.Height(), 105);
    LONG v = 0;
    Control().get_GraphVDim(&v);
    EXPECT_EQ(v, 175 - 25);
}

TEST_F(GraphWndTest, DroppedTextIsReported)
{
    QMimeData data;
    data.setData("text/plain", QByteArray("Pr31"));
    const QPoint at(200, 100);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::NoButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(Widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::MoveAction);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Widget(), &drop);
    ASSERT_EQ(m_events->Of(DISPID_ZG_DropText).size(), 1u);
    EXPECT_EQ(m_events->Of(DISPID_ZG_DropText)[0].args, std::vector<std::string>{"Pr31"});
}

TEST_F(GraphWndTest, NewSamplesScrollTheTraceLayer)
{
    CTrack4* track = AddTrace("A", std::vector<double>(50, 5.0), 0, 10);
    track->put_Color(0x40A0FF);
    Control().put_DimBuffer(200);
    double five[] = {5, 5, 5};
    for (int i = 0; i < 20; ++i)
        track->AddSamples(3, five, nullptr);
    track->SetDisplayRange(0, 10);
    Control().Update();
    const QImage full = Wnd().Render();
    double more[] = {5, 5, 5};
    track->AddSamples(3, more, nullptr);
    Control().UpdateSamples(3);
    const QImage scrolled = Wnd().Render();
    Control().Update();
    const QImage rebuilt = Wnd().Render();
    const CRect& g = Graph();
    EXPECT_NEAR(CountColour(scrolled, g, 0x40A0FF), CountColour(rebuilt, g, 0x40A0FF), 12);
    EXPECT_GT(CountColour(full, g, 0x40A0FF), 0);
}

TEST_F(GraphWndTest, UserStringsAndAcquisitionsAreDrawn)
{
    BSTR text = BstrFromUtf8("MARK");
    Control().AddUserString(text, 100, 50, 0);
    SysFreeString(text);
    Control().put_UserStringColor(1, 0x8000FF);
    // Text is smoothed: count the pixels of the string's hue.
    auto pinkPixels = [](const QImage& image)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
            {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > 200 && c.green() < 150 && c.blue() > 60 && c.blue() < 230;
            }
        return count;
    };
    EXPECT_GT(pinkPixels(Wnd().Render()), 10);
    Control().put_ViewUserString(0);
    EXPECT_EQ(pinkPixels(Wnd().Render()), 0);

    CTrack4* track = AddTrace("A", std::vector<double>(10, 5.0), 0, 10);
    track->put_Color(0x40A0FF);
    Control().Update();
    const int line = CountColour(Wnd().Render(), Graph(), 0x40A0FF);
    Control().put_ViewAcquisitions(1);
    Control().Update();
    EXPECT_GT(CountColour(Wnd().Render(), Graph(), 0x40A0FF), line + 10);
}

TEST_F(GraphWndTest, TraceWithoutRangeOrGraphWithoutHeightDrawsNothing)
{
    CTrack4* flat = AddTrace("Flat", Ramp(50), 5, 5);
    flat->put_Color(0x40A0FF);
    flat->put_Scale(0);
    Control().put_TriggerBar(1);
    EXPECT_EQ(CountColour(Wnd().Render(), Graph(), 0x40A0FF), 0);
    Control().RecomputeBars(true);
    EXPECT_EQ(std::string(Wnd().List().GetItemText(0, 10)), "...");

    flat->SetDisplayRange(0, 20);
    m_frame.MoveWindow(0, 0, 400, 90);
    Wnd().MoveWindow(0, 0, 400, 90);
    LONG height = -1;
    Control().get_GraphVDim(&height);
    EXPECT_EQ(height, 0);
    Control().Update();
    Control().RecomputeBars(true);
    EXPECT_EQ(CountColour(Wnd().Render(), CRect(0, 0, 400, 90), 0x40A0FF), 0);
    double t = 0;
    EXPECT_EQ(Control().MapPixelToTime(Graph().right, &t), S_OK);
    EXPECT_EQ(t, 49.0);
}

TEST_F(GraphWndTest, RightClicksAndDoubleClicksAreReported)
{
    AddTrace("A", {1, 2}, 0, 3);
    QTest::mouseClick(Widget(), Qt::RightButton, {}, QPoint(100, 60));
    ASSERT_EQ(m_events->Of(DISPID_ZG_RButtonUp).size(), 1u);
    EXPECT_EQ(m_events->Of(DISPID_ZG_RButtonUp)[0].args, (std::vector<std::string>{"100", "60"}));
    EXPECT_EQ(m_events->Of(DISPID_ZG_GraphContextMenu).size(), 1u);
    CListCtrl& list = Wnd().List();
    CRect row;
    list.GetSubItemRect(0, 0, &row);
    QTest::mouseClick(list.GetWidget(), Qt::RightButton, {}, QPoint(row.left + 5, row.top + 3));
    ASSERT_EQ(m_events->Of(DISPID_ZG_ListContextMenu).size(), 1u);
    QTest::mouseDClick(list.GetWidget(), Qt::LeftButton, {}, QPoint(row.left + 5, row.top + 3));
    EXPECT_EQ(m_events->Of(DISPID_ZG_ListDblClick).size(), 1u);
}

TEST_F(GraphWndTest, TimeScaleTextStandsAtFourTimesTheCurrentFont)
{
    Control().put_Grid(0);
    Control().put_BackColor(0xFFFFFF);
    const QImage image = Wnd().Render();
    const CRect& g = Graph();
    // The rows inked by the "t/div" text in the upper half of the graph.
    int top = -1;
    int bottom = -1;
    for (int y = g.top + 1; y < g.top + g.Height() / 2; ++y)
        for (int x = g.left + 1; x < g.right - 1; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
            {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    ASSERT_GE(top, 0) << "no time-scale text";
    const int ascent = QFontMetrics(QApplication::font()).ascent();
    EXPECT_GE(bottom - top + 1, 2 * ascent);
}
