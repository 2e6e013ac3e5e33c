#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskParListWriter.h>
#include <TvskDb/TvskSlvDataDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <framework/Truncate.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace
{

const char s_emptyListing[] = "'PARAMETERS' LIST :\r\n\r\n\r\n'LUMO-PLC PROGRAMM :\r\n\r\n";

} // namespace

TEST(CParListWriter, ValueLinesFollowTheSignOfTheRawValue)
{
    DBPAR tmp = Par("Pr30", 1, 16);
    tmp.bTmp = 1;
    const DBPAR pars[] = {Par("Pr20", 1.5, 16, 10),  Par("Pr21", -1.9, 16), Par("Pr22", 0, 16, 1, -3),
                          Par("Pr25:24", 65537, 32), Par("Pr9.1", 1, 1),    tmp};
    const CString text = CParListWriter(pars, {}, {}).Text();
    EXPECT_EQ(text, "'PARAMETERS' LIST :\r\n\r\n"
                    "Pr  20 :  15\r\nPr  21 : -1\r\nPr  22 : -3\r\nPr  24 :  1\r\nPr  25 :  1\r\n"
                    "\r\n'LUMO-PLC PROGRAMM :\r\n\r\n");
}

TEST(CParListWriter, ConversionsClampInsteadOfOverflowing)
{
    const DBPAR pars[] = {Par("Pr1", 1e300, 16), Par("Pr2", -1e300, 16), Par("Pr3", std::nan(""), 16),
                          Par("Pr5:4", 1e20, 32), Par("Pr7:6", -1e20, 32)};
    const CString text = CParListWriter(pars, {}, {}).Text();
    EXPECT_NE(text.Find("Pr  1 :  2147483647\r\n"), -1) << text;
    EXPECT_NE(text.Find("Pr  2 : -2147483648\r\n"), -1) << text;
    EXPECT_NE(text.Find("Pr  3 :  0\r\n"), -1) << text;
    EXPECT_NE(text.Find("Pr  4 :  65535\r\nPr  5 :  65535\r\n"), -1) << text;
    EXPECT_NE(text.Find("Pr  6 :  0\r\nPr  7 :  32768\r\n"), -1) << text;
}

TEST(CParListWriter, PlcOperandsJoinByPointOrComma)
{
    const DBPLC plc[] = {Plc("LD", 3, -1, -1), Plc("AND", 3, 4, -1),   Plc("ADD", 3, 4, 5),
                         Plc("OUT", 3, -1, 5), Plc("END", -1, -1, -1), Plc("NFIN", -1, -1, -1)};
    const CString text = CParListWriter({}, plc, {}).Text();
    EXPECT_EQ(text, CString(s_emptyListing) + "ld 3\r\nand 3.4\r\nadd 3,4,5\r\nout 3\r\nend\r\nnfin \r\n");
}

TEST(CParListWriter, CamTablesGetAHeaderAtEachChange)
{
    const DBCAMMA cams[] = {{0, 10.7, 0, 0}, {1, -2.5, 0, 0}, {0, 5, 0, 1}, {0, 6, 0, 12}};
    const CString text = CParListWriter({}, {}, cams).Text();
    EXPECT_EQ(text, CString(s_emptyListing) + "\r\n'CAM TABLE PTS :\r\n\r\nPt  0 :  10\r\nPt  1 : -2\r\n"
                                              "\r\n'CAM TABLE1 PTS :\r\n\r\nPt1  0 :  5\r\n"
                                              "\r\n'CAM TABLE12 PTS :\r\n\r\nPt12  0 :  6\r\n");
}

TEST(CParListWriter, TwoWordValuesKeepTheir32BitPatternThroughTheReader)
{
    struct Case
    {
        double value;
        int low;
        int high;
    };
    const Case cases[] = {{0, 0, 0},
                          {65535, 65535, 0},
                          {65536, 0, 1},
                          {2147483647, 65535, 32767},
                          {2147483648.0, 0, 32768},
                          {3000000000.0, 24064, 45776},
                          {4294967295.0, 65535, 65535},
                          {-1, 65535, 65535}};
    CTestDir dir;
    for (const Case& c : cases)
    {
        const DBPAR pars[] = {Par("Pr41:40", c.value, 32)};
        const CString text = CParListWriter(pars, {}, {}).Text();
        CString lines;
        lines.Format("Pr  40 :  %d\r\nPr  41 :  %d\r\n", c.low, c.high);
        EXPECT_NE(text.Find(lines), -1) << c.value << "\n" << text;

        CTvskSlvDataDb listing;
        ASSERT_EQ(listing.Load(dir.Write("two.slv", text.GetString()).c_str()), 0)
            << listing.GetErrorString();
        ASSERT_EQ(listing.GetValNums(), 2);
        const auto low = static_cast<DWORD>(listing.GetValue(0)->iValue);
        const auto high = static_cast<DWORD>(listing.GetValue(1)->iValue);
        EXPECT_EQ(high << 16 | low, TruncateToDWord(c.value)) << c.value;
        EXPECT_EQ(static_cast<double>(high << 16 | low), c.value < 0 ? c.value + 4294967296.0 : c.value);
    }
}

TEST(CParListWriter, CommentRowsReadBackAsText)
{
    const DBPLC plc[] = {Plc("COMM:conveyor, belt 2 \"fast\"", -1, -1, -1),
                         Plc("COMM:don't stop", -1, -1, -1), Plc("LD", 3, 4, -1), Plc("END", -1, -1, -1)};
    CTestDir dir;
    CTvskSlvDataDb listing;
    const std::string path = dir.Write("comm.slv", CParListWriter({}, plc, {}).Text().GetString());
    ASSERT_EQ(listing.Load(path.c_str()), 0) << listing.GetErrorString();
    ASSERT_EQ(listing.GetInstrNums(), 4);
    EXPECT_STREQ(listing.GetInstruction(0)->szIstr, "comm:conveyor, belt 2 \"fast\"");
    EXPECT_STREQ(listing.GetInstruction(0)->szOperands[0], "");
    EXPECT_STREQ(listing.GetInstruction(1)->szIstr, "comm:don't stop");
    EXPECT_STREQ(listing.GetInstruction(2)->szIstr, "ld");
    EXPECT_STREQ(listing.GetInstruction(2)->szOperands[0], "3.4");
    EXPECT_STREQ(listing.GetInstruction(3)->szIstr, "end");
}

TEST(CTvskParDbSave, WritesTheGoldenListing)
{
    CTestDir dir;
    CTvskParDb db;
    ASSERT_EQ(db.Load(TVSK_TEST_DATA_DIR "/Listing.par"), 0);
    db.SetCamData(0, 100, 0, 0);
    db.SetCamData(1, -7.5, 0, 0);
    db.SetCamData(0, 3, 0, 1);
    const std::string path = dir.File("out.slv");
    ASSERT_EQ(db.Save(path.c_str()), 0);
    EXPECT_EQ(ReadFile(path), ReadFile(TVSK_TEST_DATA_DIR "/Listing.slv"));
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(CTvskParDbSave, AnswersMinusOneWhenClosedAndFourWhenNotWritten)
{
    CTestDir dir;
    CTvskParDb db;
    EXPECT_EQ(db.Save(dir.File("x.slv").c_str()), -1);
    ASSERT_EQ(db.Load(TVSK_TEST_DATA_DIR "/Plain.par"), 0);
    EXPECT_EQ(db.Save(dir.File("no/such/folder/x.slv").c_str()), 4);
    EXPECT_EQ(db.Save(""), 4);

    // A target that cannot be replaced stays as it was, and no temporary file is left behind.
    const std::string blocked = dir.File("blocked.slv");
    ASSERT_EQ(::mkdir(blocked.c_str(), 0755), 0);
    std::ofstream(blocked + "/keep") << "old";
    EXPECT_EQ(db.Save(blocked.c_str()), 4);
    EXPECT_EQ(ReadFile(blocked + "/keep"), "old");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(CTvskParDbSave, ReplacesAnExistingListing)
{
    CTestDir dir;
    const std::string path = dir.File("x.slv");
    std::ofstream(path) << "an older and much longer listing than the one that replaces it\n";
    CTvskParDb db;
    ASSERT_EQ(db.Load(TVSK_TEST_DATA_DIR "/Plain.par"), 0);
    db.ResetParPlc();
    ASSERT_EQ(db.Save(path.c_str()), 0);
    EXPECT_EQ(ReadFile(path), "'PARAMETERS' LIST :\r\n\r\nPr  9 :  2\r\nPr  3 :  3\r\nPr  5 :  5\r\n"
                              "\r\n'LUMO-PLC PROGRAMM :\r\n\r\n");
}
