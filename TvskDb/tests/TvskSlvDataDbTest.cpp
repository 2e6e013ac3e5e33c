#include <TvskDb/TvskSlvDataDb.h>

#include <TvskDb/TvskParListWriter.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace
{

class CTvskSlvDataDbTest : public ::testing::Test
{
protected:
    std::string Write(const char* text) { return dir.Write("listing.slv", text); }
    // The golden listing copied into the test's folder: a load writes its temporary copy beside it.
    std::string GoldenListing()
    {
        std::filesystem::copy_file(TVSK_TEST_DATA_DIR "/Listing.slv", dir.File("Listing.slv"));
        return dir.File("Listing.slv");
    }
    CTestDir dir;
    CTvskSlvDataDb db;
};

} // namespace

TEST_F(CTvskSlvDataDbTest, ReadsTheGoldenListing)
{
    ASSERT_EQ(db.Load(GoldenListing().c_str()), 0);
    EXPECT_TRUE(db.IsOpen());
    ASSERT_EQ(db.GetValNums(), 8);
    EXPECT_EQ(db.GetValue(0)->iID, 20);
    EXPECT_EQ(db.GetValue(0)->iValue, 15);
    EXPECT_EQ(db.GetValue(1)->iValue, -12);
    EXPECT_EQ(db.GetValue(7)->iValue, 2147483647);
    EXPECT_EQ(db.GetValue(8), nullptr);
    EXPECT_EQ(db.GetValue(-1), nullptr);

    ASSERT_EQ(db.GetInstrNums(), 4);
    const DBSLVPLC* ld = db.GetInstruction(0);
    EXPECT_STREQ(ld->szIstr, "ld");
    EXPECT_STREQ(ld->szOperands[0], "3");
    const DBSLVPLC* andRow = db.GetInstruction(1);
    EXPECT_STREQ(andRow->szOperands[0], "3.4");
    EXPECT_STREQ(andRow->szOperands[1], "");
    const DBSLVPLC* add = db.GetInstruction(2);
    EXPECT_STREQ(add->szOperands[0], "3");
    EXPECT_STREQ(add->szOperands[1], "4");
    EXPECT_STREQ(add->szOperands[2], "5");
    const DBSLVPLC* end = db.GetInstruction(3);
    EXPECT_STREQ(end->szIstr, "end");
    EXPECT_STREQ(end->szOperands[0], "");

    double value = 0;
    EXPECT_EQ(db.GetCammaData(0, 1, value), 1);
    EXPECT_DOUBLE_EQ(value, -7);
    EXPECT_EQ(db.GetCammaData(1, 0, value), 1);
    EXPECT_DOUBLE_EQ(value, 3);
    EXPECT_EQ(db.GetCammaData(1, 1, value), 0);
    EXPECT_EQ(db.GetCammaData(4, 0, value), 0);
    EXPECT_EQ(db.GetCammaData(-1, 0, value), 0);
}

TEST_F(CTvskSlvDataDbTest, LeavesNoTemporaryFileBehind)
{
    const std::string path = Write("'PARAMETERS' LIST :\n\nPr  1 :  2\n\n'LUMO-PLC PROGRAMM :\n\nld 1.2\n");
    ASSERT_EQ(db.Load(path.c_str()), 0);
    EXPECT_EQ(db.GetValNums(), 1);
    EXPECT_EQ(db.GetInstrNums(), 1);
    EXPECT_EQ(dir.EntryCount(), 1u);

    Write("Pr  1 :  x\n");
    EXPECT_EQ(db.Load(path.c_str()), 2);
    EXPECT_EQ(dir.EntryCount(), 1u);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_NE(db.GetErrorString().Find("\nL : 1\nT : 4\nInfo : "), -1) << db.GetErrorString();
    // The report names the listing, not its removed copy.
    EXPECT_NE(db.GetErrorString().Find(("\nFile : " + path + "\n").c_str()), -1) << db.GetErrorString();
}

TEST_F(CTvskSlvDataDbTest, EmptyFilesAreRefused)
{
    for (const char* text : {"", "\n  \n\t\n"})
    {
        EXPECT_EQ(db.Load(Write(text).c_str()), 2) << text;
        EXPECT_FALSE(db.IsOpen());
        EXPECT_NE(db.GetErrorString().Find("\nT : 12\n"), -1) << db.GetErrorString();
        EXPECT_EQ(db.GetValNums(), 0);
    }
    // Lines of blanks alone are empty lines, not PLC instructions.
    ASSERT_EQ(db.Load(Write("'PARAMETERS' LIST :\n  \nPr  1 :  2\n\t\n").c_str()), 0) << db.GetErrorString();
    EXPECT_EQ(db.GetValNums(), 1);
    EXPECT_EQ(db.GetInstrNums(), 0);
}

// What the writer makes when no line qualifies: its block headers alone.
TEST_F(CTvskSlvDataDbTest, AListingOfBlockHeadersAloneLoadsEmpty)
{
    const CString headers = CParListWriter({}, {}, {}).Text();
    ASSERT_NE(headers.Find("'PARAMETERS' LIST :"), -1);
    ASSERT_EQ(db.Load(Write(headers).c_str()), 0) << db.GetErrorString();
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetValNums(), 0);
    EXPECT_EQ(db.GetInstrNums(), 0);
    double value = 0;
    for (long cam = 0; cam < 4; ++cam)
        EXPECT_EQ(db.GetCammaData(cam, 0, value), 0);
    EXPECT_EQ(dir.EntryCount(), 1u) << "no copy left";
    ASSERT_EQ(db.Load(Write("'PARAMETERS' LIST :\n").c_str()), 0) << "one header is enough";
    EXPECT_EQ(db.GetValNums(), 0);
}

TEST_F(CTvskSlvDataDbTest, AListingLargerThanADatabaseFileIsRefusedBeforeItIsRead)
{
    const std::string path = Write("'PARAMETERS' LIST :\n\nPr  1 :  2\n");
    std::filesystem::resize_file(path, 100u << 20); // sparse: nothing to read but its size
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(db.Load(path.c_str()), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_NE(db.GetErrorString().Find("\nT : 11\n"), -1) << db.GetErrorString();
    EXPECT_EQ(dir.EntryCount(), 1u) << "no copy made";
}

TEST_F(CTvskSlvDataDbTest, OperandTooLongForItsFieldIsAnError)
{
    const std::string path = Write("'LUMO-PLC PROGRAMM :\n\nld 1\nadd 1234567,2,3\n");
    EXPECT_EQ(db.Load(path.c_str()), 2);
    EXPECT_FALSE(db.IsOpen());
    const CString error = db.GetErrorString();
    EXPECT_NE(error.Find("\nL : 4\nT : 9\nInfo : "), -1) << error;
    EXPECT_NE(error.Find("1234567"), -1) << error;
    EXPECT_EQ(dir.EntryCount(), 1u);

    ASSERT_EQ(db.Load(Write("add 123456,2,3\n").c_str()), 0);
    EXPECT_STREQ(db.GetInstruction(0)->szOperands[0], "123456");
}

TEST_F(CTvskSlvDataDbTest, MissingListingAnswersThree)
{
    EXPECT_EQ(db.Load(dir.File("none.slv").c_str()), 3);
    EXPECT_EQ(db.Load(nullptr), 3);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(dir.EntryCount(), 0u);
}

TEST_F(CTvskSlvDataDbTest, CreateOpensAnEmptyListingOnce)
{
    EXPECT_EQ(db.Create(), 0);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetValNums(), 0);
    EXPECT_EQ(db.Create(), -1);
    EXPECT_EQ(db.Close(), 1);
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(CTvskSlvDataDbTest, CopiesShareTheListingAndCloseApart)
{
    ASSERT_EQ(db.Load(GoldenListing().c_str()), 0);
    CTvskSlvDataDb copy(db);
    CTvskSlvDataDb assigned;
    assigned = db;
    db.Close();
    EXPECT_EQ(db.GetValNums(), 0);
    EXPECT_TRUE(copy.IsOpen());
    EXPECT_EQ(copy.GetValNums(), 8);
    EXPECT_EQ(assigned.GetValue(0)->iValue, 15);
}
