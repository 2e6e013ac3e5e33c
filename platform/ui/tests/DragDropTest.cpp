// Registered formats over MIME types, and a window's drop target fed by the toolkit's drag events.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

TEST(ClipboardFormats, OneNumberPerNameAndAMimeTypeForEach)
{
    const CLIPFORMAT rows = RegisterClipboardFormat("TvskTestRows");
    EXPECT_GE(rows, 0xC000);
    EXPECT_EQ(RegisterClipboardFormat("TvskTestRows"), rows);
    EXPECT_NE(RegisterClipboardFormat("TvskTestCells"), rows);
    EXPECT_EQ(RegisterClipboardFormat(""), 0);
    EXPECT_EQ(RegisterClipboardFormat(nullptr), 0);

    EXPECT_EQ(ClipboardFormatMimeType(CF_TEXT), CString("text/plain"));
    EXPECT_EQ(ClipboardFormatMimeType(rows), CString("application/x-tvsk-TvskTestRows"));
    EXPECT_TRUE(ClipboardFormatMimeType(0xBFFF).IsEmpty());
}

TEST(ClipboardFormats, DataObjectAnswersTheBytesOfOfferedFormatsOnly)
{
    const CLIPFORMAT rows = RegisterClipboardFormat("TvskTestRows");
    QMimeData mime;
    mime.setData("application/x-tvsk-TvskTestRows", QByteArray("\x01\x00\x02", 3));
    COleDataObject data(&mime);
    EXPECT_TRUE(data.IsDataAvailable(rows));
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    CByteArray bytes;
    ASSERT_TRUE(data.GetData(rows, bytes));
    ASSERT_EQ(bytes.GetSize(), 3);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_FALSE(data.GetData(CF_TEXT, bytes));
    EXPECT_FALSE(COleDataObject().IsDataAvailable(rows));
}

// Accepts text at x < 50 only; records every call.
class TextDropTarget : public COleDropTarget
{
public:
    std::vector<std::string> calls;
    CString dropped;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint point) override
    {
        calls.push_back("enter");
        return Effect(data, point);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint point) override
    {
        calls.push_back("over " + std::to_string(point.x));
        return Effect(data, point);
    }
    void OnDragLeave(CWnd*) override { calls.push_back("leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint) override
    {
        calls.push_back("drop " + std::to_string(effect));
        CByteArray bytes;
        if (!data->GetData(CF_TEXT, bytes))
            return FALSE;
        dropped = CString(reinterpret_cast<const char*>(bytes.GetData()), static_cast<int>(bytes.GetSize()));
        return TRUE;
    }

private:
    static DROPEFFECT Effect(COleDataObject* data, CPoint point)
    {
        return data->IsDataAvailable(CF_TEXT) && point.x < 50 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
};

class DropTargetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "drop", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
        mime.setText("dropped text");
    }
    void TearDown() override
    {
        target.Revoke();
        wnd.DestroyWindow();
    }
    bool Send(QEvent&& event)
    {
        return QCoreApplication::sendEvent(wnd.GetWidget(), &event) && event.isAccepted();
    }
    bool Enter(int x)
    {
        return Send(QDragEnterEvent(QPoint(x, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier));
    }
    bool Move(int x)
    {
        return Send(QDragMoveEvent(QPoint(x, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier));
    }
    bool Drop(int x)
    {
        return Send(QDropEvent(QPointF(x, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier));
    }

    CWnd wnd;
    TextDropTarget target;
    QMimeData mime;
};

TEST_F(DropTargetTest, DragEventsReachTheTargetWithClientPointsAndItsEffectDecides)
{
    ASSERT_TRUE(target.Register(&wnd));
    EXPECT_FALSE(target.Register(&wnd)) << "one window per target";
    EXPECT_TRUE(Enter(10));
    EXPECT_TRUE(Move(20));
    EXPECT_FALSE(Move(70)) << "refused where the target says none";
    EXPECT_TRUE(Drop(20));
    EXPECT_EQ(target.dropped, CString("dropped text"));
    EXPECT_EQ(target.calls, (std::vector<std::string>{"enter", "over 20", "over 70", "drop 1"}));
}

TEST_F(DropTargetTest, LeavingAndRevokingEndTheTargetsPart)
{
    ASSERT_TRUE(target.Register(&wnd));
    Enter(10);
    Send(QDragLeaveEvent());
    target.Revoke();
    Enter(10);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_TRUE(target.Register(&wnd)) << "registered again after the revoke";
}

TEST_F(DropTargetTest, DropWithoutUsableDataIsRefused)
{
    ASSERT_TRUE(target.Register(&wnd));
    QMimeData other;
    other.setData("application/x-other", "x");
    QDropEvent drop(QPointF(10, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(wnd.GetWidget(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_TRUE(target.dropped.IsEmpty());
}

} // namespace
