#include <TvskCamEditor/ui/CamEditorIds.h>
#include <TvskCamEditor/ui/DlgCamEdit.h>

#include "CamHost.h"

#include <testing/WaitUntil.h>
#include <ui/Controls.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace
{
// The cam host with a drive behind commands 14 and 15.
class CDriveCamHost : public CCamHost
{
public:
    long SendCommand(UINT code, long param1, long param2) override
    {
        commands.emplace_back(code, param1);
        const int address = static_cast<int>(param1 & 0xFFFF);
        if (silent || (code != 14 && code != 15))
            return 5;
        if (code == 14)
            *reinterpret_cast<double*>(param2) = words[address];
        else
            words[address] = static_cast<int>(param2);
        return 0;
    }
    BOOL GetString(UINT id, CString& text) override
    {
        if (id != IDS_CAM_DRIVE_ERROR)
            return FALSE;
        text = "Errore di comunicazione con il drive";
        return TRUE;
    }
    int GetCamDefNum() override { return 4; }
    int GetCamDefIndex(int i) override { return i; }
    int GetCamStartAddr(int cam) override { return 3072 + cam * 257; }
    void SetModified(BOOL modified) override { modifiedCalls += modified ? 1 : 0; }

    std::map<int, int> words;
    std::vector<std::pair<UINT, long>> commands;
    bool silent = false;
    int modifiedCalls = 0;
};

class CAnsweringSink : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        texts.push_back(text);
        return answer;
    }
    std::vector<CString> texts;
    int answer = IDOK;
};

class CamDialogTest : public ::testing::Test
{
protected:
    CamDialogTest() { previous = AfxSetMessageBoxSink(&boxes); }
    ~CamDialogTest() override { AfxSetMessageBoxSink(previous); }

    std::unique_ptr<CDlgCamEdit> Open(int cam)
    {
        auto dialog = std::make_unique<CDlgCamEdit>(&host, cam);
        EXPECT_TRUE(dialog->Create(IDD_CAMEDIT));
        return dialog;
    }

    CDriveCamHost host;
    CAnsweringSink boxes;
    CMessageBoxSink* previous = nullptr;
};
} // namespace

TEST_F(CamDialogTest, OpensTheCamAskedForWhenListedElseTheFirst)
{
    host.m_Cams[2][0] = {1500, 0};
    auto dialog = Open(2);
    EXPECT_EQ(dialog->GetCam(), 2);
    EXPECT_EQ(dialog->GetTable().Table().GetPointAt(0).dValue, 1500);
    EXPECT_EQ(dialog->GetGrid().GetNumRows(), 257);
    EXPECT_EQ(Open(7)->GetCam(), 0);
}

TEST_F(CamDialogTest, HelpAsksTheHostForTheTopicOfTheCams)
{
    auto dialog = Open(0);
    HELPINFO info{};
    dialog->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_FALSE(host.commands.empty());
    EXPECT_EQ(host.commands.back(), (std::pair<UINT, long>{50, 1005}));
}

TEST_F(CamDialogTest, ReadingTheDriveMakesEveryPointAValuePoint)
{
    for (int i = 0; i < 257; ++i)
        host.words[3072 + 257 + i] = i * 10;
    host.m_Cams[1][5] = {0, 4};
    auto dialog = Open(1);
    dialog->OnReadDrive();
    const CCamTable& table = dialog->GetTable().Table();
    for (int i = 0; i < 257; ++i)
    {
        ASSERT_EQ(table.GetPointAt(i).dValue, i * 10) << i;
        ASSERT_EQ(table.GetPointAt(i).nKind, CAM_VAL) << i;
    }
    EXPECT_FALSE(dialog->IsModifiedMarker());
    EXPECT_EQ(host.modifiedCalls, 1);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CamDialogTest, WritingSendsTruncatedValues)
{
    auto dialog = Open(0);
    ASSERT_TRUE(dialog->GetTable().Table().SetPoint(3, 1234.9, CAM_VAL));
    boxes.answer = IDNO; // the cam changed: do not store it first
    dialog->OnWriteDrive();
    EXPECT_EQ(host.words[3072 + 3], 1234);
    EXPECT_EQ(host.words.size(), 257u);
}

TEST_F(CamDialogTest, ASilentDriveShowsTheHostErrorAndStops)
{
    host.silent = true;
    auto dialog = Open(0);
    dialog->OnReadDrive();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Errore di comunicazione con il drive");
}

TEST_F(CamDialogTest, FillingWaitsForTheCheckBox)
{
    auto dialog = Open(0);
    dialog->OnFill();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Abilitare prima il calcolo");
    EXPECT_FALSE(dialog->GetTable().Table().GetPointAt(10).bDefined);

    static_cast<CButton*>(dialog->GetDlgItem(IDC_CAM_ENABLE_FORMULA))->SetCheck(BST_CHECKED);
    static_cast<CComboBox*>(dialog->GetDlgItem(IDC_CAM_SAMPLES))->SetCurSel(1); // y = x
    dialog->OnFill();
    EXPECT_EQ(dialog->GetTable().Table().GetPointAt(128).dValue, 5019);
    EXPECT_TRUE(dialog->GetTable().Table().IsComplete());
}

TEST_F(CamDialogTest, AnEditMarksTheCaptionAndCancelKeepsTheDialog)
{
    auto dialog = Open(0);
    dialog->ShowWindow(SW_SHOW);
    const CString caption = dialog->GetWindowText();
    ASSERT_TRUE(dialog->GetTable().Table().SetValueText(4, "400"));
    EXPECT_EQ(dialog->GetWindowText(), caption + "*");
    boxes.answer = IDCANCEL;
    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(dialog->IsWindowVisible());
    boxes.answer = IDYES;
    dialog->OnStore();
    EXPECT_EQ(dialog->GetWindowText(), caption);
    EXPECT_EQ(host.m_Cams[0][4].value, 400);
}

TEST_F(CamDialogTest, ResetStoresDefinedZerosThenShowsAnEmptyTable)
{
    host.m_Cams[0][9] = {900, 0};
    auto dialog = Open(0);
    boxes.answer = IDOK;
    dialog->OnReset();
    EXPECT_EQ(host.m_Cams[0].size(), 257u);
    EXPECT_EQ(host.m_Cams[0][9].value, 0);
    EXPECT_FALSE(dialog->GetTable().Table().GetPointAt(9).bDefined);
    EXPECT_EQ(dialog->GetTable().Table().GetValueText(9), "");
}

TEST_F(CamDialogTest, TheGraphDrawsTheValuesInBlue)
{
    host.m_Cams[0][0] = {0, 1};
    for (int i = 1; i < 257; ++i)
        host.m_Cams[0][i] = {i == 256 ? 10000.0 : 0.0, 1};
    auto dialog = Open(0);
    dialog->GetTable().Table().Recompute();
    dialog->MoveWindow(0, 0, 900, 500);
    QWidget* graph = dialog->GetGraph().GetWidget();
    const QImage image = graph->grab().toImage();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            blue += image.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_GT(blue, 100);
}

TEST_F(CamDialogTest, TheRowEditsSelectFromFirstToLastWithinTheTable)
{
    const struct
    {
        const char* first;
        const char* last;
        int count; // rows selected afterwards; -1: the selection before stays
        int from;
    } rows[] = {
        {"3", "5", 3, 3},   {"250", "900", 7, 250}, // the last clamped to the last row
        {"7", "7", 1, 7},   {"5", "3", -1, 0},      // last below first: nothing
        {"-1", "4", -1, 0}, {"2", "-4", -1, 0},
    };
    auto dialog = Open(0);
    for (const auto& row : rows)
    {
        dialog->SetDlgItemText(IDC_CAM_FIRST_ROW, row.first); // each edit selects on its own
        dialog->SetDlgItemText(IDC_CAM_LAST_ROW, row.last);
        dialog->GetTable().RemoveAllSelections();
        dialog->GetTable().AddRowSelection(100);
        dialog->OnRowsChanged();
        const CStackEx<int>& selected = dialog->GetTable().GetSelections();
        if (row.count < 0)
        {
            ASSERT_EQ(selected.GetCount(), 1) << row.first << ".." << row.last;
            EXPECT_EQ(selected[0], 100);
            continue;
        }
        ASSERT_EQ(selected.GetCount(), row.count) << row.first << ".." << row.last;
        for (int i = 0; i < row.count; ++i)
            EXPECT_EQ(selected[i], row.from + i) << row.first << ".." << row.last;
    }
}

// The graph's cursor: only on a complete table; the arrow keys move it a point, the mouse puts it
// under the pointer and drags it, always within the table.
TEST_F(CamDialogTest, TheGraphsCursorFollowsArrowKeysAndTheDraggedMouse)
{
    host.m_Cams[0][0] = {0, 1};
    auto incomplete = Open(0);
    incomplete->SendMessage(WM_COMMAND, ID_CAM_CURSOR, 0);
    EXPECT_FALSE(incomplete->GetGraph().IsCursorMode()) << "a point is undefined";
    incomplete->DestroyWindow();

    for (int i = 0; i < 257; ++i)
        host.m_Cams[0][i] = {i * 10.0, 1};
    auto dialog = Open(0);
    dialog->MoveWindow(0, 0, 900, 500);
    CFuncTracerView& graph = dialog->GetGraph();
    QWidget* widget = graph.GetWidget();
    std::vector<std::unique_ptr<QEvent>> sent; // kept: the window layer knows an event by its address
    const auto key = [&](Qt::Key k)
    {
        sent.push_back(std::make_unique<QKeyEvent>(QEvent::KeyPress, k, Qt::NoModifier));
        QApplication::sendEvent(widget, sent.back().get());
    };
    const auto mouse = [&](QEvent::Type type, int index, Qt::MouseButtons buttons)
    {
        const CRect box = graph.PlotRect();
        const QPoint at(CFuncTracerView::Map(box, 257, index, 0, 0, 2560).x, box.CenterPoint().y);
        sent.push_back(std::make_unique<QMouseEvent>(
            type, QPointF(at), widget->mapToGlobal(QPointF(at)),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier));
        QApplication::sendEvent(widget, sent.back().get());
    };

    key(Qt::Key_Right);
    EXPECT_EQ(graph.GetCursor(), 0) << "no cursor yet";
    dialog->SendMessage(WM_COMMAND, ID_CAM_CURSOR, 0);
    ASSERT_TRUE(graph.IsCursorMode());
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(graph.GetCursor(), 2);
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Left);
    EXPECT_EQ(graph.GetCursor(), 0) << "not below the first point";

    mouse(QEvent::MouseButtonPress, 100, Qt::LeftButton);
    EXPECT_EQ(graph.GetCursor(), 100);
    mouse(QEvent::MouseMove, 180, Qt::LeftButton);
    EXPECT_EQ(graph.GetCursor(), 180) << "dragged";
    mouse(QEvent::MouseButtonRelease, 180, Qt::NoButton);
    mouse(QEvent::MouseMove, 40, Qt::NoButton);
    EXPECT_EQ(graph.GetCursor(), 180) << "the button is up";
    for (int i = 0; i < 100; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(graph.GetCursor(), 256) << "not past the last point";

    dialog->SendMessage(WM_COMMAND, ID_CAM_CURSOR, 0);
    EXPECT_FALSE(graph.IsCursorMode());
    key(Qt::Key_Left);
    EXPECT_EQ(graph.GetCursor(), 256) << "the keys move no hidden cursor";
}

// The grid opens ready for typing: in edit mode on point 0, which is the selected row; the value
// column takes any text (the table refuses what is no number) and the kind column is a list.
TEST_F(CamDialogTest, TheGridOpensEditingTheSelectedFirstPoint)
{
    auto dialog = Open(0);
    CEditGrid& grid = dialog->GetGrid();
    EXPECT_EQ(grid.GetEditMode(), 1);
    EXPECT_EQ(grid.IsEditing(), 1);
    EXPECT_EQ(grid.SelectedRow(), 0);
    EXPECT_EQ(grid.SelectedCol(), 0);
    const CStackEx<int>& selected = dialog->GetTable().GetSelections();
    ASSERT_EQ(selected.GetCount(), 1);
    EXPECT_EQ(selected[0], 0);
    // Point 0 is the first row shown, its editor over its value cell (not over the header).
    int first = -1;
    int last = -1;
    grid.GetVisibleRows(first, last);
    EXPECT_EQ(first, 0);
    ASSERT_NE(grid.GetEditBox(), nullptr);
    CRect editor;
    grid.GetEditBox()->GetWindowRect(&editor);
    grid.ScreenToClient(&editor);
    EXPECT_EQ(editor.top, grid.GetCellRect(0, 0).top);

    const EG_COLUMN* columns = grid.GetColDefs(false);
    EXPECT_EQ((std::vector<int>{columns[0].width, columns[0].numChar, columns[0].readOnly,
                                columns[0].numericOnly, columns[0].type}),
              (std::vector<int>{73, 7, 0, 0, EG_EDIT}));
    EXPECT_EQ(
        (std::vector<int>{columns[1].width, columns[1].readOnly, columns[1].numericOnly, columns[1].type}),
        (std::vector<int>{90, 0, 1, EG_LIST}));
    EXPECT_EQ(dialog->GetTable().SetElemS(0, 0, "abc", 0), 0) << "no number, no value";
    EXPECT_EQ(dialog->GetTable().SetElemS(0, 1, "1", 0), 0) << "the kind is not typed";
}
