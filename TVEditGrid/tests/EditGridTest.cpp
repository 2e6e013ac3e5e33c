// The grid window: typing into its edit box, list choices, painted row colours and drags.
#include "GridFakes.h"

#include <TVEditGrid/EditGrid.h>

#include <ui/DataSource.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>

#include <testing/TestApplication.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("GridTests");
} // namespace

namespace
{

const EG_COLUMN kCols[] = {
    {60, 0, 0, 1, EG_EDIT, 0, "Num"},
    {60, 0, 0, 0, EG_LIST, 0, "List"},
    {120, 0, 0, 0, EG_EDIT, 0, "Blank"},
};

// Leaves the third column empty so that its pixels show the row colours.
class WidgetData : public FakeData
{
public:
    int GetElemS(int row, int col, CString& text) override
    {
        return col == 2 ? 0 : FakeData::GetElemS(row, col, text);
    }
};

class CapturingSource : public COleDataSource
{
public:
    DROPEFFECT DoDragDrop(DROPEFFECT, const RECT*) override
    {
        offered.reset(CreateMimeData());
        return DROPEFFECT_COPY;
    }
    std::unique_ptr<QMimeData> offered;
};

class EditGridTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "grid", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
        grid.SetCols(kCols, 3);
        grid.AddMargin(30, "#");
        grid.AddHeader();
        ASSERT_TRUE(grid.Create(&data, &parent));
        grid.SetViewIntf(&view);
        grid.MoveWindow(0, 0, 400, 300);
        grid.InsertRows(20);
    }

    void Type(QWidget* widget, int key, const char* text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromLatin1(text));
        QApplication::sendEvent(widget, &release);
    }

    QColor PixelOfRow(const QImage& image, int row)
    {
        const CRect cell = grid.GetCellRect(row, 2);
        return image.pixelColor(cell.left + 100, cell.top + cell.Height() / 2);
    }

    CWnd parent;
    WidgetData data;
    RecordingView view;
    CEditGrid grid;
};

} // namespace

TEST_F(EditGridTest, NumericEditBoxTakesOnlyNumberCharactersAndBackspace)
{
    grid.EditMode(1, 0);
    grid.Move(1, 0);
    ASSERT_NE(grid.GetEditBox(), nullptr);
    QWidget* edit = grid.GetEditBox()->GetWidget();
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->text(), "1,0");
    Type(edit, Qt::Key_1, "1");
    Type(edit, Qt::Key_A, "a");
    Type(edit, Qt::Key_Plus, "+");
    Type(edit, Qt::Key_E, "E");
    Type(edit, Qt::Key_Comma, ",");
    Type(edit, Qt::Key_Period, ".");
    Type(edit, Qt::Key_X, "x");
    Type(edit, Qt::Key_Minus, "-");
    Type(edit, Qt::Key_E, "e");
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->text(), "1+E.-e");
    Type(edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->text(), "1+E.-");

    Type(edit, Qt::Key_Down, "");
    EXPECT_EQ(grid.SelectedRow(), 2);
    EXPECT_EQ(data.writes, std::vector<std::string>{"S 1 0 1+E.-"});
}

TEST_F(EditGridTest, ListChoiceIsStoredAtOnce)
{
    grid.EditMode(1, 0);
    grid.Move(3, 1);
    ASSERT_NE(grid.GetComboBox(), nullptr);
    auto* combo = qobject_cast<QComboBox*>(grid.GetComboBox()->GetWidget());
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(data.writes, std::vector<std::string>{"I 3 1 1"});
    EXPECT_TRUE(grid.IsEditing());
}

TEST_F(EditGridTest, CurrentAndSelectedRowsArePaintedInTheirColours)
{
    grid.EnableMultiSelection();
    view.coloured = {4};
    grid.Move(2, 2);
    grid.Move(4, 2, 0, 1);
    grid.Move(6, 2);
    grid.Move(4, 2, 1, 1);
    const QImage image = grid.GetWidget()->grab().toImage();
    EXPECT_EQ(PixelOfRow(image, 4), QColor(80, 160, 200));  // current, selected, coloured by the view
    EXPECT_EQ(PixelOfRow(image, 6), QColor(204, 204, 204)); // selected
    EXPECT_EQ(PixelOfRow(image, 8), ToQColor(GetSysColor(COLOR_WINDOW)));
}

TEST_F(EditGridTest, DragFromACellCarriesTheClientsFormat)
{
    const CLIPFORMAT format = RegisterClipboardFormat("TvskGridRows");
    CapturingSource source;
    source.CacheData(format, "row 3", 5);
    data.source = &source;
    const CRect cell = grid.GetCellRect(3, 0);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(static_cast<WORD>(cell.left + 5), static_cast<WORD>(cell.top + 5)));
    grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(static_cast<WORD>(cell.left + 5), static_cast<WORD>(cell.bottom + 30)));
    ASSERT_NE(source.offered, nullptr);
    EXPECT_EQ(source.offered->data(QString::fromUtf8(ClipboardFormatMimeType(format).GetString())),
              QByteArray("row 3"));
    EXPECT_EQ(data.dragAsked, (std::vector<std::string>{"drag 3 0", "released"}));
}
