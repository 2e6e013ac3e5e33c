#include "GridFakes.h"

#include <TVEditGrid/EditGridPaint.h>

#include <ZoSupport/System.h>
#include <ui/UiDefs.h>

#include <gtest/gtest.h>

namespace
{

const EG_COLUMN kCols[] = {
    {50, 10, 0, 0, EG_EDIT, 0, "A"},       {60, 0, 0, 0, EG_LIST, 0, "B"},
    {40, 0, 1, 0, EG_EDIT, 0, "C"}, // read-only
    {70, 8, 0, 1, EG_EDIT_OPTION, 0, "D"}, {30, 0, 0, 0, EG_EDIT, 0, nullptr},
};

class EditGridControllerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        grid.SetCols(kCols, 5);
        grid.AddMargin(20, "#");
        grid.AddHeader();
        grid.Layout().SetMetrics(20, 1000, 16, 16);
        ASSERT_TRUE(grid.Create(&data));
        grid.SetViewIntf(&view);
        grid.InsertRows(50);
        grid.Size(300, 200);
    }
    void TearDown() override
    {
        CSystem::SetKeyState(static_cast<int>(VK_SHIFT), false);
        CSystem::SetKeyState(static_cast<int>(VK_CONTROL), false);
    }
    void Key(UINT key, bool shift = false, bool control = false)
    {
        CSystem::SetKeyState(static_cast<int>(VK_SHIFT), shift);
        CSystem::SetKeyState(static_cast<int>(VK_CONTROL), control);
        grid.ProcessKey(key);
    }
    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (int i = 0; i < data.GetSelections().GetCount(); ++i)
            rows.push_back(data.GetSelections()[i]);
        return rows;
    }
    CPoint CellPoint(int row, int col) const
    {
        return grid.Layout().GetCellRect(row, col).TopLeft() + CPoint(1, 1);
    }

    FakeData data;
    RecordingView view;
    FakeSurface surface;
    CEditGridController grid{surface};
};

} // namespace

TEST_F(EditGridControllerTest, MoveStoresThenReportsRowColumnAndCellInThatOrder)
{
    view.log.clear();
    grid.Move(3, 1, false, false);
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"PostEditCell 0 0", "ChangeRow 3", "ChangeCol 1", "ChangeCell 3 1"}));
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.SelectedCol(), 1);

    view.log.clear();
    grid.Move(3, 1, false, false); // the current cell
    grid.Move(50, 0, false, false);
    grid.Move(0, 5, false, false);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(EditGridControllerTest, EnterOpensColumnZeroAndTabWalksTheEditableColumns)
{
    grid.Move(2, 4, false, false);
    Key(VK_RETURN);
    EXPECT_TRUE(grid.GetEditMode());
    EXPECT_EQ(grid.SelectedCol(), 0);
    EXPECT_EQ(surface.opened, std::vector<std::string>{"edit 2,0"});

    Key(VK_TAB);
    EXPECT_EQ(grid.SelectedCol(), 1);
    EXPECT_EQ(surface.opened.back(), "list 1"); // value 2 is the second entry
    Key(VK_TAB);
    EXPECT_EQ(grid.SelectedCol(), 3); // the read-only column is skipped
    EXPECT_TRUE(surface.editNumeric);
    EXPECT_EQ(surface.opened.back(), "option");
    data.locked.insert(4);
    Key(VK_TAB);
    EXPECT_EQ(grid.SelectedCol(), 3); // nothing editable right of it
    Key(VK_TAB, true);
    EXPECT_EQ(grid.SelectedCol(), 1);
}

TEST_F(EditGridControllerTest, EnterOnTheLastEditableColumnStoresAndLeavesEditMode)
{
    grid.Move(0, 3, false, false);
    grid.EditMode(true, false);
    grid.Move(0, 4, false, false);
    surface.editText = "7";
    Key(VK_RETURN);
    EXPECT_FALSE(grid.GetEditMode());
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(data.writes, std::vector<std::string>{"S 0 4 7"});
}

TEST_F(EditGridControllerTest, MovesStoreTheEditWhileEscapeAndEditModeOffWithoutStoreDiscardIt)
{
    Key(VK_RETURN);
    surface.editText = "42";
    Key(VK_DOWN);
    EXPECT_EQ(data.writes, std::vector<std::string>{"S 0 0 42"});
    EXPECT_TRUE(grid.IsEditing()); // the editor opened again on the new row

    Key(VK_ESCAPE);
    EXPECT_FALSE(grid.GetEditMode());
    EXPECT_FALSE(grid.IsEditing());
    grid.EditMode(true, false);
    grid.Move(2, 0, false, false);
    grid.EditMode(false, false);
    grid.EditMode(true, false);
    grid.Move(3, 0, false, false);
    grid.DeleteRows(1);
    EXPECT_EQ(data.writes.size(), 1u);
}

TEST_F(EditGridControllerTest, ListChoiceIsWrittenAtOnceAndTheListStoresItsSelectionOnMove)
{
    grid.EditMode(true, false);
    grid.Move(1, 1, false, false);
    grid.OnListChoice(2);
    EXPECT_EQ(data.writes, std::vector<std::string>{"I 1 1 2"});
    surface.listValue = 1;
    grid.Move(1, 0, false, false);
    EXPECT_EQ(data.writes.back(), "I 1 1 1");
    EXPECT_EQ(surface.closed, std::vector<std::string>{"list"});
}

TEST_F(EditGridControllerTest, ReadOnlyColumnNeverOpensAnEditor)
{
    grid.EditMode(true, false);
    grid.Move(0, 2, false, false);
    EXPECT_FALSE(grid.IsEditing());
    data.withList = false;
    grid.Move(0, 1, false, false); // a list cell without value list opens nothing
    EXPECT_FALSE(grid.IsEditing());
}

TEST_F(EditGridControllerTest, PageKeysScrollAndMoveOnlyOntoRowsThatExist)
{
    ASSERT_EQ(grid.Layout().RowsPerPage(), 9);
    Key(VK_NEXT);
    EXPECT_EQ(grid.Layout().FirstRow(), 9);
    EXPECT_EQ(grid.SelectedRow(), 9);
    grid.Move(45, 0, false, false);
    Key(VK_NEXT);
    EXPECT_EQ(grid.Layout().FirstRow(), 41);
    EXPECT_EQ(grid.SelectedRow(), 45);
    Key(VK_PRIOR, false, true);
    EXPECT_EQ(grid.Layout().FirstRow(), 0);
    EXPECT_EQ(grid.SelectedRow(), 0);
    Key(VK_NEXT, false, true);
    EXPECT_EQ(grid.SelectedRow(), 49);
    EXPECT_EQ(grid.Layout().FirstRow(), 41);
    grid.Move(4, 0, false, false);
    Key(VK_PRIOR);
    EXPECT_EQ(grid.Layout().FirstRow(), 0);
    EXPECT_EQ(grid.SelectedRow(), 4);
}

TEST_F(EditGridControllerTest, HomeAndEndWorkOnlyInEditMode)
{
    grid.Move(0, 1, false, false);
    EXPECT_EQ(grid.ProcessKey(VK_END), 0);
    grid.EditMode(true, false);
    EXPECT_EQ(grid.ProcessKey(VK_END), 1);
    EXPECT_EQ(grid.SelectedCol(), 4);
    grid.ProcessKey(VK_HOME);
    EXPECT_EQ(grid.SelectedCol(), 0);
    EXPECT_EQ(grid.ProcessKey('A'), 0);
}

TEST_F(EditGridControllerTest, ShiftDownExtendsTheSelectionAndDownAloneSelectsTheNewRow)
{
    grid.EnableMultiSelection();
    Key(VK_DOWN, true);
    Key(VK_DOWN, true);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), std::vector<int>{3});
}

TEST_F(EditGridControllerTest, MouseSelectionWithShiftAndControl)
{
    grid.EnableMultiSelection();
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(2, 0));
    grid.OnLButtonDown(MK_LBUTTON | MK_SHIFT, CellPoint(5, 0));
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 4, 5}));
    grid.OnLButtonDown(MK_LBUTTON | MK_CONTROL, CellPoint(4, 0));
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(grid.SelectedRow(), 2); // the first remaining row took the clicked row's place
    grid.OnLButtonDown(MK_LBUTTON | MK_CONTROL, CellPoint(7, 0));
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3, 5, 7}));
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(1, 0));
    EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(EditGridControllerTest, ClicksReachTheViewAndTheSameCellDoesNotReopenItsEditor)
{
    grid.EditMode(true, false);
    view.log.clear();
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(1, 0));
    grid.OnLButtonUp(CellPoint(1, 0));
    EXPECT_EQ(view.log.back(), "ClickUpElem 1 0");
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "ClickElem 1 0"), view.log.end());
    ASSERT_EQ(surface.opened.size(), 1u);
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(1, 0));
    EXPECT_EQ(surface.opened.size(), 1u);
    EXPECT_TRUE(grid.IsEditing());

    grid.OnLButtonDown(MK_LBUTTON, CPoint(5, 45)); // margin of row 1
    EXPECT_FALSE(grid.GetEditMode());
    EXPECT_EQ(grid.SelectedRow(), 1);
    EXPECT_EQ(grid.SelectedCol(), 0);
    grid.OnLButtonDown(MK_LBUTTON, CPoint(5, 5)); // top-left corner
    EXPECT_EQ(view.log.back(), "PostEditCell 1 0");
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "ColClick -1"), view.log.end());
}

TEST_F(EditGridControllerTest, ControlEnterOnAnOptionCellPressesTheOptionButton)
{
    grid.EditMode(true, false);
    grid.Move(0, 3, false, false);
    Key(VK_RETURN, false, true);
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "OptionClick 0 3"), view.log.end());
    EXPECT_EQ(grid.SelectedCol(), 4);
}

TEST_F(EditGridControllerTest, KeyControlConsumesEditorKeys)
{
    view.consumeKeys = true;
    EXPECT_EQ(grid.OnEditorKey(VK_DOWN), 1);
    EXPECT_EQ(grid.SelectedRow(), 0);
    view.consumeKeys = false;
    EXPECT_EQ(grid.OnEditorKey(VK_DOWN), 1);
    EXPECT_EQ(grid.SelectedRow(), 1);
}

TEST_F(EditGridControllerTest, DeletingRowsPutsTheCursorOnTheLastRow)
{
    grid.EnableMultiSelection();
    grid.Move(49, 2, false, false);
    grid.DeleteRows(5);
    EXPECT_EQ(grid.SelectedRow(), 44);
    EXPECT_EQ(grid.SelectedCol(), 2);
    EXPECT_EQ(Selected(), std::vector<int>{44});
    grid.DeleteRows(45);
    EXPECT_EQ(grid.GetNumRows(), 0);
    EXPECT_EQ(grid.SelectedRow(), 0);
    EXPECT_TRUE(Selected().empty());
    EXPECT_TRUE(surface.margin.empty());
}

TEST_F(EditGridControllerTest, ShowColHidesByWidthZeroAndRestoresTheDefinedWidth)
{
    grid.SetColWidth(1, 99);
    EXPECT_EQ(grid.GetColWidth(1), 99);
    EXPECT_EQ(grid.ShowCol(1, false), 1);
    EXPECT_EQ(grid.GetColWidth(1), 0);
    EXPECT_EQ(grid.Layout().TranslatePoint(CPoint(70, 30)).col, 2); // nothing lands in a hidden column
    grid.ShowCol(1, true);
    EXPECT_EQ(grid.GetColWidth(1), 60);
    EXPECT_EQ(grid.ShowCol(5, true), 0);
    EXPECT_EQ(grid.Layout().ColDefs(false)[1].width, 60);
}

TEST_F(EditGridControllerTest, HitTestingGivesEachColumnItsFirstPixel)
{
    const CEditGridLayout& layout = grid.Layout();
    EXPECT_EQ(layout.TranslatePoint(CPoint(20, 20)).col, 0);
    EXPECT_EQ(layout.TranslatePoint(CPoint(69, 20)).col, 0);
    EXPECT_EQ(layout.TranslatePoint(CPoint(70, 20)).col, 1);
    EXPECT_EQ(layout.TranslatePoint(CPoint(19, 20)).col, -1);
    EXPECT_EQ(layout.TranslatePoint(CPoint(270, 20)).col, 5);
    EXPECT_EQ(layout.TranslatePoint(CPoint(30, 19)).row, -1);
    EXPECT_EQ(layout.TranslatePoint(CPoint(30, 20)).row, 0);
    EXPECT_EQ(layout.TranslatePoint(CPoint(30, 59)).row, 1);
    EXPECT_EQ(layout.GetCellRect(1, 1), CRect(70, 40, 129, 59));
}

TEST_F(EditGridControllerTest, PageSizesAndScrollBarsFollowTheWindowSize)
{
    EXPECT_EQ(grid.Layout().ColsPerPage(), 5);
    EXPECT_FALSE(surface.horz.shown);
    EXPECT_TRUE(surface.vert.shown);
    EXPECT_EQ(surface.vert.max, 1000);
    EXPECT_EQ(surface.vert.page, 180);

    grid.Size(150, 200);
    EXPECT_EQ(grid.Layout().RowsPerPage(), 8);
    EXPECT_EQ(grid.Layout().ColsPerPage(), 2);
    EXPECT_TRUE(surface.horz.shown);
    EXPECT_EQ(surface.horz.page, 114);
    EXPECT_EQ(surface.horz.max, 224);

    grid.OnHScroll(SB_PAGERIGHT, 0);
    EXPECT_EQ(grid.Layout().FirstCol(), 2);
    EXPECT_EQ(surface.horz.pos, 110);
    EXPECT_EQ(surface.headerItems.size(), 3u);
    grid.OnHScroll(SB_THUMBTRACK, 49);
    EXPECT_EQ(grid.Layout().FirstCol(), 0);
    grid.OnVScroll(SB_THUMBTRACK, 21);
    EXPECT_EQ(grid.Layout().FirstRow(), 2);
    grid.OnMouseWheel(-120);
    EXPECT_EQ(grid.Layout().FirstRow(), 3);
    int first, last;
    grid.GetVisibleRows(first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 11);
    ASSERT_EQ(surface.margin.size(), 9u);
    EXPECT_EQ(surface.margin[0], "4");
}

TEST_F(EditGridControllerTest, EditorScrolledOutOfViewIsHiddenAndShownAgain)
{
    grid.EditMode(true, false);
    grid.Move(0, 0, false, false);
    grid.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_FALSE(surface.editorsVisible);
    EXPECT_TRUE(grid.IsEditing());
    grid.OnVScroll(SB_LINEUP, 0);
    EXPECT_TRUE(surface.editorsVisible);
    EXPECT_EQ(surface.editRect, grid.Layout().GetCellRect(0, 0));
}

TEST_F(EditGridControllerTest, HeaderClicksAndDividerDragsReachTheView)
{
    grid.OnHeaderClick(2);
    grid.OnHeaderTrack(1, 80);
    grid.OnHeaderEndTrack(1, 80);
    EXPECT_EQ(grid.GetColWidth(1), 80);
    EXPECT_EQ(view.log.back(), "EndColTrack 1");
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "ColClick 2"), view.log.end());
}

TEST_F(EditGridControllerTest, DragLeavingTheRowAsksForTheCellsDataAndReleasesIt)
{
    COleDataSource* const source = reinterpret_cast<COleDataSource*>(&data);
    data.source = source;
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(1, 1));
    EXPECT_TRUE(surface.captured);
    grid.OnMouseMove(MK_LBUTTON, CellPoint(1, 3));
    EXPECT_TRUE(data.dragAsked.empty());
    grid.OnMouseMove(MK_LBUTTON, CellPoint(4, 1));
    EXPECT_EQ(data.dragAsked, (std::vector<std::string>{"drag 1 1", "released"}));
    EXPECT_EQ(surface.drags.size(), 1u);
    EXPECT_FALSE(surface.captured);
}

TEST_F(EditGridControllerTest, WithoutViewInterfaceTheGridStillMovesClicksAndPaints)
{
    grid.SetViewIntf(nullptr);
    grid.EditMode(true, false);
    grid.OnLButtonDown(MK_LBUTTON, CellPoint(2, 3));
    grid.OnLButtonUp(CellPoint(2, 3));
    grid.OnEditorKey(VK_RETURN);
    grid.OnHeaderClick(0);
    grid.OnHeaderEndTrack(0, 44);
    grid.OnContextMenu(CellPoint(3, 0), CPoint());
    EXPECT_EQ(grid.SelectedRow(), 3);
    EXPECT_EQ(grid.GetColWidth(0), 44);
    EXPECT_FALSE(BuildGridPaint(grid, GridColours{0xFFFFFF, 0, 0, 0}).texts.empty());
}

TEST_F(EditGridControllerTest, RowColoursOfViewSelectionAndCurrentRow)
{
    grid.EnableMultiSelection();
    view.coloured = {1, 2};
    grid.Move(2, 0, false, false);
    grid.OnLButtonDown(MK_LBUTTON | MK_CONTROL, CellPoint(3, 0));
    grid.Move(1, 0, true, true);
    const GridPaint paint = BuildGridPaint(grid, GridColours{0xFFFFFF, 0x808080, 0x000000, 0x111111});
    auto fillsOf = [&](int row)
    {
        std::vector<COLORREF> colours;
        for (const auto& fill : paint.fills)
            if (fill.rect == grid.Layout().GetRowRect(row))
                colours.push_back(fill.colour);
        return colours;
    };
    const COLORREF darkened = RGB(80, 160, 200);
    EXPECT_EQ(DarkenForSelection(RGB(100, 200, 250)), darkened);
    EXPECT_EQ(fillsOf(1),
              (std::vector<COLORREF>{RGB(100, 200, 250), darkened, darkened})); // view, selected, current
    EXPECT_EQ(fillsOf(3), std::vector<COLORREF>{kGridMarkColour});
    EXPECT_TRUE(fillsOf(4).empty());

    for (const auto& text : paint.texts)
    {
        if (text.text == "1,0")
        {
            EXPECT_EQ(text.colour, 0x000000u);
        }
        if (text.text == "4,0")
        {
            EXPECT_EQ(text.colour, 0x111111u);
        }
    }
}
