// The comparison report's text, byte for byte.
#include <Tarveskon/TvskCompareReport.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{

DBPLC Instruction(const char* text, int a = -1, int b = -1, int c = -1)
{
    DBPLC instruction{};
    std::snprintf(instruction.szIstr, sizeof instruction.szIstr, "%s", text);
    instruction.iOperands[0] = a;
    instruction.iOperands[1] = b;
    instruction.iOperands[2] = c;
    return instruction;
}

std::tm When()
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    return when;
}

class CompareReportTest : public testing::Test
{
protected:
    void TearDown() override { std::filesystem::remove(path); }
    std::string Written(const CTvskCompareReport& report)
    {
        EXPECT_TRUE(report.Write(path.c_str(), When()));
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string path = std::filesystem::temp_directory_path() / ("tvsk-report-" + std::to_string(::getpid()));
};

const std::string kParRule =
    "---+-------------+------------+------------+--------------------------------------\n";
const std::string kPlcRule = "---+------------------+------------------+\n";
const std::string kRule =
    "+-------------------------------------------------------------------------------\n";

TEST_F(CompareReportTest, DriveReportListsEveryLineWithItsMarkAndTheShorterProgramEmpty)
{
    CTvskCompareReport report("/cfg/TK40.dat", nullptr, false);
    report.AddPar("Pr1", CTvskCompareReport::ValueText(2), CTvskCompareReport::ValueText(0),
                  "Modo operativo");
    report.AddPar("Pr35", CTvskCompareReport::ValueText(1.85), CTvskCompareReport::ValueText(1.85), "R");
    report.AddPar("Pr103:102", CTvskCompareReport::ValueText(-2147483648.0), CTvskCompareReport::kMissing,
                  "Quota target");
    report.AddPar("Pr0", CTvskCompareReport::ValueText(1.0 / 3.0),
                  CTvskCompareReport::ValueText(12345678901.0), "");
    report.AddInstruction(1, Instruction("LD", 3, 5));
    report.AddInstruction(1, Instruction("COMM:x"));
    report.AddInstruction(1, Instruction("ADD", 10, 11, 12));
    report.AddInstruction(1, Instruction("END"));
    report.AddInstruction(1, Instruction("OUT", 76, 0));
    report.AddInstruction(2, Instruction("LD", 3, 5));
    report.AddInstruction(2, Instruction("END", 0, 0));

    EXPECT_EQ(Written(report), kRule + "|   Compare of /cfg/TK40.dat with drive values\n" + kRule + "\n" +
                                   "Date: 03/07/26\n"
                                   "Time: 09:05:03\n\n" +
                                   kParRule + "Dif| Par. ID     | File       | Drive      |\n" + kParRule +
                                   "***| Pr1         |          2 |          0 | Modo operativo\n"
                                   "   | Pr35        |       1.85 |       1.85 | R\n"
                                   "***| Pr103:102   | -2147483648 |      ##### | Quota target\n"
                                   "***| Pr0         | 0.3333333333 | 1.23456789e+10 | \n" +
                                   kParRule + "\n" + "LumoPLC\n\n" + kPlcRule +
                                   "Dif| File             | Drive            |\n" + kPlcRule +
                                   "   | LD 3 5           | LD 3 5           |\n"
                                   "***| COMM:x           | END              |\n"
                                   "***| ADD 10 11 12     |                  |\n"
                                   "***| END              |                  |\n"
                                   "   |                  |                  |\n" +
                                   kPlcRule);
}

TEST_F(CompareReportTest, OnlyDiffsLeavesEqualLinesOutAndAFileReportNamesBothFiles)
{
    CTvskCompareReport report("", "/other/TK40.dat", true);
    report.AddPar("Pr1", "2", "2", "Modo operativo");
    report.AddPar("Pr32", "3000", "2500", "Velocita");
    report.AddInstruction(1, Instruction("LD", 3, 5));
    report.AddInstruction(2, Instruction("LD", 3, 5));
    report.AddInstruction(2, Instruction("OUT", 42, 0));

    EXPECT_EQ(Written(report),
              kRule + "|   Compare between files:\n" + "|   \tfile 1: (new file)\n" +
                  "|   \tfile 2: /other/TK40.dat\n" + kRule + "\n" + "Date: 03/07/26\nTime: 09:05:03\n\n" +
                  kParRule + "Dif| Par. ID     | File 1     | File 2     |\n" + kParRule +
                  "***| Pr32        |       3000 |       2500 | Velocita\n" + kParRule + "\n" +
                  "LumoPLC\n\n" + kPlcRule + "Dif| File 1           | File 2           |\n" + kPlcRule +
                  "***|                  | OUT 42 0         |\n" + kPlcRule);
}

TEST_F(CompareReportTest, AReportThatCannotBeWrittenSaysSo)
{
    CTvskCompareReport report("", nullptr, true);
    EXPECT_FALSE(report.Write("/nonexistent-folder/DiffLog.txt", When()));
    EXPECT_FALSE(report.Write("", When()));
}

} // namespace
