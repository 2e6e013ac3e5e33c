#include <TvskCustomDb/model/CustomMotorSet.h>

#include <TvskDb/TvskMotorDb.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// The shipped motor files copied to a folder of the test's own.
class CustomMotorSetTest : public ::testing::Test
{
protected:
    CustomMotorSetTest()
    {
        fs::create_directories(dir);
        fs::copy_file(fs::path(TVSK_SAMPLE_DATA_DIR) / "Motor.db", dir / "Motor.db");
        fs::copy_file(fs::path(TVSK_SAMPLE_DATA_DIR) / "CustomMotor.db", dir / "CustomMotor.db");
        EXPECT_EQ(Open(db), 0);
    }
    ~CustomMotorSetTest() override { fs::remove_all(dir); }

    int Open(CTvskMotorDb& motors) const
    {
        return motors.Load((dir / "Motor.db").c_str(), (dir / "CustomMotor.db").c_str());
    }

    const fs::path dir = fs::temp_directory_path() / ("custommotors-" + std::to_string(getpid()));
    CTvskMotorDb db;
    CCustomMotorSet set;
};
} // namespace

TEST_F(CustomMotorSetTest, DeletingTwoOfFiveAndSavingLeavesThree)
{
    ASSERT_TRUE(set.Load(&db));
    const int shipped = set.GetCount();
    while (set.GetCount() < 5)
    {
        set.Append();
        const int row = set.GetCount() - 1;
        ASSERT_TRUE(set.SetText(row, 0, "MZ"));
        ASSERT_TRUE(set.SetText(row, 21, std::to_string(31000 + row).c_str()));
    }
    ASSERT_TRUE(set.Delete(0));
    ASSERT_TRUE(set.Delete(shipped - 1));
    ASSERT_TRUE(set.Store());
    EXPECT_FALSE(set.IsModified());

    CTvskMotorDb reopened;
    ASSERT_EQ(Open(reopened), 0);
    ASSERT_EQ(reopened.GetRecordsNum(2), 3);
    EXPECT_STREQ(reopened.GetRecord(0, 2)->szMotorDef, "MX^80^3000^3.2^400");
}

TEST_F(CustomMotorSetTest, IdsStayInTheUsersRange)
{
    ASSERT_TRUE(set.Load(&db));
    for (const char* refused : {"29999", "32768", "30000.5", "abc", ""})
        EXPECT_FALSE(set.SetText(0, 21, refused)) << refused;
    EXPECT_EQ(set.GetText(0, 21), "30001");
    EXPECT_TRUE(set.SetText(0, 21, "30000"));
    EXPECT_TRUE(set.SetText(0, 21, " 32767 "));
    EXPECT_EQ(set.GetText(0, 21), "32767");
}

TEST_F(CustomMotorSetTest, AnAsynchronousMotorShowsItsColumnsAndTwoResolverPoles)
{
    ASSERT_TRUE(set.Load(&db));
    EXPECT_FALSE(set.AllowEdit(0, 18));
    EXPECT_EQ(set.GetText(0, 19), "");
    ASSERT_TRUE(set.SetInt(0, CCustomMotorSet::kAsyncColumn, 1));
    EXPECT_TRUE(set.AllowEdit(0, 18));
    EXPECT_EQ(set.GetText(0, 13), "2");
    EXPECT_EQ(set.GetText(0, 19), "0");
    EXPECT_TRUE(set.IsModified());
    EXPECT_EQ(set.GetText(2, 20), "1458"); // the shipped asynchronous motor
}

TEST_F(CustomMotorSetTest, ResolverPolesSetByTheAsynchronousSwitchAreSaved)
{
    ASSERT_TRUE(set.Load(&db));
    ASSERT_TRUE(set.SetText(2, 13, "4"));
    ASSERT_TRUE(set.Store());
    ASSERT_FALSE(set.IsModified());
    ASSERT_TRUE(set.SetInt(2, CCustomMotorSet::kAsyncColumn, 1)); // already asynchronous
    EXPECT_EQ(set.GetText(2, 13), "2");
    EXPECT_TRUE(set.IsModified());
}

TEST_F(CustomMotorSetTest, TheIdShowsTheLowSixteenBitsOfAnyStoredValue)
{
    const struct
    {
        double stored;
        const char* shown;
    } rows[] = {{30000.9, "30000"}, {65537, "1"}, {-1, "65535"}, {1e300, "0"}, {std::nan(""), ""}};
    for (const auto& row : rows)
    {
        db.GetRecord(0, CCustomMotorSet::kSet)->dblD12 = row.stored;
        ASSERT_TRUE(set.Load(&db));
        EXPECT_EQ(set.GetText(0, 21), row.shown) << row.stored;
    }
}

TEST_F(CustomMotorSetTest, TextsAreCutAndCheckedAndNumbersMustBeNumbers)
{
    ASSERT_TRUE(set.Load(&db));
    EXPECT_FALSE(set.SetText(0, 0, "MX^Y"));
    EXPECT_TRUE(set.SetText(0, 1, "ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(set.GetText(0, 1), "ABCDEFGHIJKL");
    EXPECT_FALSE(set.SetText(0, 6, "2.4A"));
    EXPECT_EQ(set.GetText(0, 6), "2.4");
    EXPECT_FALSE(set.SetText(9, 6, "1"));
    EXPECT_FALSE(set.SetInt(0, 6, 1));
}

TEST_F(CustomMotorSetTest, NothingIsStoredAfterAFailedLoad)
{
    EXPECT_FALSE(set.Load(nullptr));
    EXPECT_FALSE(set.Store());
}

// A new motor takes the first ID of the users' range that no motor holds; a motor whose ID lies
// outside the range (a hand-edited file) is named and nothing is stored until it is mended.
TEST_F(CustomMotorSetTest, NewMotorsTakeAFreeUserIdAndABadIdStopsTheStore)
{
    ASSERT_TRUE(set.Load(&db)); // 30001, 30002, 30010
    set.Append();
    EXPECT_EQ(set.GetText(3, 21), "30000");
    set.Append();
    EXPECT_EQ(set.GetText(4, 21), "30003");
    EXPECT_EQ(set.FirstRowWithBadId(), -1);

    db.GetRecord(1, CCustomMotorSet::kSet)->dblD12 = 29999;
    ASSERT_TRUE(set.Load(&db));
    EXPECT_EQ(set.FirstRowWithBadId(), 1);
    ASSERT_TRUE(set.SetText(0, 0, "MY"));
    EXPECT_FALSE(set.Store());
    EXPECT_TRUE(set.IsModified());
    CTvskMotorDb reopened;
    ASSERT_EQ(Open(reopened), 0);
    EXPECT_STREQ(reopened.GetRecord(0, 2)->szMotorDef, "MX^80^3000^2.2^400") << "the file stays as it was";

    CellRefusal refusal = CellRefusal::None;
    EXPECT_FALSE(set.SetText(1, 21, "29999", &refusal));
    EXPECT_EQ(refusal, CellRefusal::IdOutOfRange);
    EXPECT_FALSE(set.SetText(1, 5, "abc", &refusal));
    EXPECT_EQ(refusal, CellRefusal::NotANumber);
    EXPECT_TRUE(set.SetText(1, 21, "30020", &refusal));
    EXPECT_EQ(refusal, CellRefusal::None);
    EXPECT_TRUE(set.Store());
}
