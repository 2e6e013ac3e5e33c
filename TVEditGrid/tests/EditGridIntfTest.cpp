#include <TVEditGrid/EditGridDataIntf.h>
#include <TVEditGrid/EditGridViewIntf.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

std::vector<int> Rows(const CEditGridDataIntf& data)
{
    std::vector<int> rows;
    for (int i = 0; i < data.GetSelections().GetCount(); ++i)
        rows.push_back(data.GetSelections()[i]);
    return rows;
}

class CountingData : public CEditGridDataIntf
{
public:
    explicit CountingData(int* destroyed) : m_destroyed(destroyed) {}
    ~CountingData() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

} // namespace

TEST(CEditGridDataIntfTest, MultiSelectionKeepsRowsSortedAndUnique)
{
    CEditGridDataIntf data;
    data.EnableMultiSelection();
    for (int row : {5, 3, 4, 3})
        data.AddRowSelection(row);
    EXPECT_EQ(Rows(data), (std::vector<int>{3, 4, 5}));
    EXPECT_TRUE(data.isNoGapRowSel());
}

TEST(CEditGridDataIntfTest, WithoutMultiSelectionRowsStayInOrderWithDuplicates)
{
    CEditGridDataIntf data;
    for (int row : {5, 3, 3})
        data.AddRowSelection(row);
    EXPECT_EQ(Rows(data), (std::vector<int>{5, 3, 3}));
}

TEST(CEditGridDataIntfTest, RemoveRowSelectionByPositionOrFromTheEnd)
{
    CEditGridDataIntf data;
    int position = -1;
    EXPECT_FALSE(data.RemoveRowSelection(position));
    EXPECT_EQ(position, -1);
    for (int row : {2, 3, 5})
        data.AddRowSelection(row);
    EXPECT_FALSE(data.isNoGapRowSel());
    position = -1;
    EXPECT_TRUE(data.RemoveRowSelection(position));
    EXPECT_EQ(position, 5);
    position = 0;
    EXPECT_TRUE(data.RemoveRowSelection(position));
    EXPECT_EQ(Rows(data), std::vector<int>{3});
    position = 4;
    EXPECT_FALSE(data.RemoveRowSelection(position));
    data.AddRowSelection(4);
    EXPECT_TRUE(data.isNoGapRowSel());
    data.RemoveAllSelections();
    EXPECT_TRUE(data.GetSelections().IsEmpty());
}

TEST(CEditGridDataIntfTest, DefaultsNumberTheMarginFromOneAndAllowEditing)
{
    CEditGridDataIntf data;
    CString text;
    EXPECT_EQ(data.GetMarginS(0, text), 1);
    EXPECT_EQ(text, "1");
    EXPECT_EQ(data.GetColType(0, 0), EG_EDIT);
    EXPECT_EQ(data.AllowEdit(0, 0), 1);
    EXPECT_EQ(data.GetElemS(0, 0, text), 0);
    EXPECT_EQ(data.GetDataSource(0, 0), nullptr);
}

TEST(CEditGridDataIntfTest, OwnersAreDestroyedThroughTheInterface)
{
    int destroyed = 0;
    std::unique_ptr<CEditGridDataIntf> data = std::make_unique<CountingData>(&destroyed);
    data.reset();
    EXPECT_EQ(destroyed, 1);
}
