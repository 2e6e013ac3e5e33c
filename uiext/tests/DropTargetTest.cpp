// Drop target: effects from the offered formats and the key state, and the callbacks.
#include <uiext/DropTarget.h>

#include <ui/Wnd.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class RecordingIntf : public CDropTargetIntf
{
public:
    void ShowIndicator(DWORD effect, CPoint point) override { shown.push_back({effect, point}); }
    void HideIndicator() override { ++hides; }
    BOOL OnDrop(COleDataObject*, DWORD effect, CPoint) override
    {
        dropped = effect;
        return TRUE;
    }
    struct Shown
    {
        DWORD effect;
        CPoint point;
    };
    std::vector<Shown> shown;
    int hides = 0;
    DWORD dropped = 0;
};

class DropTargetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "drop", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
        target = std::make_unique<CDropTargetImpl>(&wnd, &intf);
        format = target->AddFormat("ClpParTest");
        ASSERT_NE(format, 0);
        offered.setData(QString::fromUtf8(ClipboardFormatMimeType(format).GetString()), "x");
    }
    CWnd wnd;
    RecordingIntf intf;
    std::unique_ptr<CDropTargetImpl> target;
    CLIPFORMAT format = 0;
    QMimeData offered;
};

TEST_F(DropTargetTest, ControlAloneCopiesAndAnythingElseMoves)
{
    COleDataObject data(&offered);
    EXPECT_EQ(target->OnDragEnter(&wnd, &data, MK_CONTROL, CPoint(1, 2)), DROPEFFECT_COPY);
    EXPECT_EQ(target->OnDragOver(&wnd, &data, MK_CONTROL | MK_LBUTTON, CPoint(1, 2)), DROPEFFECT_MOVE);
    EXPECT_EQ(target->OnDragOver(&wnd, &data, 0, CPoint(1, 2)), DROPEFFECT_MOVE);
    ASSERT_EQ(intf.shown.size(), 3u);
    EXPECT_EQ(intf.shown[0].effect, DROPEFFECT_COPY);
    EXPECT_EQ(intf.shown[0].point, CPoint(1, 2));
}

TEST_F(DropTargetTest, DataWithoutARegisteredFormatShowsNoneAndStillTellsTheIndicator)
{
    QMimeData other;
    other.setText("plain");
    COleDataObject data(&other);
    EXPECT_EQ(target->OnDragEnter(&wnd, &data, MK_CONTROL, CPoint(3, 4)), DROPEFFECT_NONE);
    ASSERT_EQ(intf.shown.size(), 1u);
    EXPECT_EQ(intf.shown[0].effect, DROPEFFECT_NONE);
}

TEST_F(DropTargetTest, ScrollNeverScrollsAndLeaveAndDropReachTheCallbacks)
{
    EXPECT_EQ(target->OnDragScroll(&wnd, 0, CPoint(5, 6)), DROPEFFECT_NONE);
    ASSERT_EQ(intf.shown.size(), 1u);
    EXPECT_EQ(intf.shown[0].effect, DROPEFFECT_NONE);
    target->OnDragLeave(&wnd);
    EXPECT_EQ(intf.hides, 1);
    COleDataObject data(&offered);
    EXPECT_TRUE(target->OnDrop(&wnd, &data, DROPEFFECT_COPY, CPoint()));
    EXPECT_EQ(intf.dropped, DROPEFFECT_COPY);
    CDropTargetImpl silent(nullptr, nullptr);
    EXPECT_FALSE(silent.OnDrop(&wnd, &data, DROPEFFECT_COPY, CPoint()));
}

TEST_F(DropTargetTest, FormatNamesMapToStableNumbersAndAnEmptyNameAddsNothing)
{
    EXPECT_EQ(RegisterClipboardFormat("ClpParTest"), format);
    EXPECT_NE(RegisterClipboardFormat("ClpMotorDbTest"), format);
    EXPECT_EQ(target->AddFormat(""), 0);
    QMimeData other;
    other.setText("plain");
    COleDataObject data(&other);
    EXPECT_EQ(target->OnDragEnter(&wnd, &data, 0, CPoint()), DROPEFFECT_NONE);
}

TEST_F(DropTargetTest, ToolkitDragEventsReachTheTarget)
{
    QDragEnterEvent enter(QPoint(7, 8), Qt::CopyAction | Qt::MoveAction, &offered, Qt::NoButton,
                          Qt::ControlModifier);
    QCoreApplication::sendEvent(wnd.GetWidget(), &enter);
    ASSERT_EQ(intf.shown.size(), 2u); // the scroll probe, then the enter
    EXPECT_EQ(intf.shown[1].effect, DROPEFFECT_COPY);
    EXPECT_EQ(intf.shown[1].point, CPoint(7, 8));
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
}

} // namespace
