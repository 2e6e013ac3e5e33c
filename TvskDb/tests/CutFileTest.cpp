// Every prefix of every shipped file either fails to open or opens with exactly the records of its
// whole lines: no cut ever changes a value.
#include <TvskDb/TvskDataDb.h>
#include <TvskDb/TvskDriveDb.h>
#include <TvskDb/TvskMotorDb.h>
#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskSlvDataDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace
{

// What an open gave: its code, and the records it holds as text (empty unless the code is 0).
using Opener = std::function<std::pair<int, std::string>(const std::string& path)>;

std::string ReadSample(const char* name)
{
    std::ifstream in(std::string(TVSK_SAMPLE_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::pair<int, std::string> OpenSession(const std::string& path)
{
    CTvskDataDb db;
    const int code = db.Load(path.c_str());
    std::ostringstream out;
    if (code == 0)
    {
        out << db.GetDrive() << '|' << db.GetMotor() << '|' << db.GetLanguage() << '|'
            << db.GetCommSettings();
        for (long i = 0; i < db.GetValNums(); ++i)
            out << '|' << db.GetValue(i)->szID << '=' << db.GetValue(i)->dblValue << ','
                << db.GetValue(i)->iFormat;
        for (long i = 0; i < db.GetInstrNums(); ++i)
        {
            const DBPLC* plc = db.GetInstruction(i);
            out << '|' << plc->szIstr << ' ' << plc->iOperands[0] << ' ' << plc->iOperands[1] << ' '
                << plc->iOperands[2];
        }
        for (long i = 0; i < db.GetCammaNums(); ++i)
            out << '|' << db.GetCam(i)->nIdx << ':' << db.GetCam(i)->dblVal << ':' << db.GetCam(i)->nCamNo;
    }
    return {code, out.str()};
}

std::pair<int, std::string> OpenParameters(const std::string& path)
{
    CTvskParDb db;
    const int code = db.Load(path.c_str());
    std::ostringstream out;
    if (code == 0)
    {
        out << db.GetVersion().GetString();
        for (long i = 0; i < db.GetParNum(true); ++i)
        {
            const DBPAR* par = db.GetPar(i, true);
            out << '|' << par->szID << ' ' << par->dblDefVal << ' ' << par->dblMin << ' ' << par->dblMax
                << ' ' << par->szUm << ' ' << par->szDescr;
        }
    }
    return {code, out.str()};
}

std::pair<int, std::string> OpenListing(const std::string& path)
{
    CTvskSlvDataDb db;
    const int code = db.Load(path.c_str());
    std::ostringstream out;
    if (code == 0)
    {
        for (long i = 0; i < db.GetValNums(); ++i)
            out << '|' << db.GetValue(i)->iID << '=' << db.GetValue(i)->iValue;
        for (long i = 0; i < db.GetInstrNums(); ++i)
        {
            const DBSLVPLC* plc = db.GetInstruction(i);
            out << '|' << plc->szIstr << ' ' << plc->szOperands[0] << ' ' << plc->szOperands[1] << ' '
                << plc->szOperands[2];
        }
    }
    return {code, out.str()};
}

std::pair<int, std::string> OpenDrives(const std::string& path)
{
    CTvskDriveDb db;
    const int code = db.Load(path.c_str());
    std::ostringstream out;
    if (code == 0)
        out << db.GetVersion().GetString() << '|' << db.GetRecordsNum() << '|' << db.GetExtendedRecordsNum()
            << '|' << db.GetDrivesTypesNum() << '|' << db.GetDrivesAliasNum() << '|'
            << db.GetDrivesFamilyNum() << '|' << db.GetMotorParRecNum() << '|' << db.GetEncoderParRecNum();
    return {code, out.str()};
}

std::pair<int, std::string> OpenMotors(const std::string& standard, const std::string& custom)
{
    CTvskMotorDb db;
    const int code = db.Load(standard.c_str(), custom.c_str());
    std::ostringstream out;
    if (code == 0)
    {
        for (int set = 1; set <= 2; ++set)
            for (long i = 0; i < db.GetRecordsNum(set); ++i)
            {
                const DBMOTORDB* motor = db.GetRecord(static_cast<int>(i), set);
                out << '|' << set << ' ' << motor->szMotorDef;
                for (double d :
                     {motor->dblD0, motor->dblD1, motor->dblD7, motor->dblD12, motor->dblD16, motor->dblD19})
                    out << ' ' << d;
            }
        for (int i = 0; i < db.GetEncNumRecs(); ++i)
            out << '|' << db.GetEncRecord(i)->szCodVrn << ' ' << db.GetEncRecord(i)->stE8;
    }
    return {code, out.str()};
}

// Opens every prefix of text; one that opens must give what its whole lines give.
void CheckEveryPrefix(const char* name, const Opener& open)
{
    SCOPED_TRACE(name);
    const std::string text = ReadSample(name);
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(open(CTestDir().Write("whole", text)).first, 0) << "the whole file opens";
    CTestDir dir;
    int opened = 0;
    for (size_t length = 0; length < text.size(); ++length)
    {
        const std::string prefix = text.substr(0, length);
        const auto [code, records] = open(dir.Write("cut", prefix));
        if (code != 0)
        {
            EXPECT_TRUE(code == 2 || code == 3) << length;
            continue;
        }
        ++opened;
        // The records of the whole lines before the cut, or of the cut line too when nothing of it
        // was lost.
        const std::string before = prefix.substr(0, prefix.rfind('\n') + 1);
        const size_t lineEnd = text.find('\n', length);
        const std::string through = text.substr(0, lineEnd == std::string::npos ? text.size() : lineEnd + 1);
        const auto wholeBefore = open(dir.Write("before", before));
        const auto wholeThrough = open(dir.Write("through", through));
        const bool asBefore = wholeBefore.first == 0 && records == wholeBefore.second;
        const bool asThrough = wholeThrough.first == 0 && records == wholeThrough.second;
        EXPECT_TRUE(asBefore || asThrough) << "prefix of " << length << " bytes gives " << records;
    }
    EXPECT_GT(opened, 0) << "some whole-line prefixes open";
}

} // namespace

TEST(CutFileTest, SessionFilesOpenOnlyWithWholeRecords)
{
    for (const char* name :
         {"Samples/TK40.dat", "Samples/TK20.dat", "Samples/TK40Cam.dat", "Samples/TK40S.dat"})
        CheckEveryPrefix(name, OpenSession);
}

TEST(CutFileTest, ParameterFilesAndListingsOpenOnlyWithWholeRecords)
{
    CheckEveryPrefix("TK20/TK20.par", OpenParameters);
    CheckEveryPrefix("Samples/TK20.slv", OpenListing);
}

TEST(CutFileTest, DriveAndMotorFilesOpenOnlyWithWholeRecords)
{
    CheckEveryPrefix("Drives.db", OpenDrives);
    const std::string standard = std::string(TVSK_SAMPLE_DATA_DIR) + "/Motor.db";
    const std::string custom = std::string(TVSK_SAMPLE_DATA_DIR) + "/CustomMotor.db";
    CheckEveryPrefix("Motor.db", [&](const std::string& path) { return OpenMotors(path, custom); });
}

// The user's motor file is edited by hand: its last row needs no line end, so a file that ends at
// the end of any row gives the rows of the file that ends with the line end after it.
TEST(CutFileTest, TheCustomMotorFilesRowsNeedNoLastLineEnd)
{
    const std::string standard = std::string(TVSK_SAMPLE_DATA_DIR) + "/Motor.db";
    const std::string text = ReadSample("CustomMotor.db");
    CTestDir dir;
    int rows = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end + 1))
    {
        const auto unended = OpenMotors(standard, dir.Write("unended", text.substr(0, end)));
        const auto ended = OpenMotors(standard, dir.Write("ended", text.substr(0, end + 1)));
        ASSERT_EQ(ended.first, 0) << end;
        EXPECT_EQ(unended.first, 0) << end;
        EXPECT_EQ(unended.second, ended.second) << end;
        rows += text.compare(end + 1, 2, "M\t") == 0;
    }
    EXPECT_GT(rows, 1);
}

TEST(CutFileTest, EmptyAndRecordlessFilesAreRefusedWithTheirReason)
{
    CTestDir dir;
    CTvskParDb parameters;
    EXPECT_EQ(parameters.Load(dir.Write("empty.par", "").c_str()), 2);
    EXPECT_NE(parameters.GetErrorString().Find("the file is empty"), -1) << parameters.GetErrorString();
    EXPECT_EQ(parameters.Load(
                  dir.Write("nopar.par", "VER \"1.0\"\nCOMM \"VrnSer:0,200#COM:1,9600,E,8,1\"\n").c_str()),
              2);
    EXPECT_NE(parameters.GetErrorString().Find("no parameter"), -1) << parameters.GetErrorString();
    CTvskDataDb session;
    EXPECT_EQ(session.Load(dir.Write("empty.dat", "").c_str()), 2);
    EXPECT_EQ(session.Load(dir.Write("new.dat", "#VERSION 1\n;\n").c_str()), 0) << "a saved new session";
    CTvskDriveDb drives;
    EXPECT_EQ(drives.Load(dir.Write("Drives.db", "").c_str()), 2);
    EXPECT_EQ(drives.Load(dir.Write("Drives.db", "VER \"1\"\n").c_str()), 0)
        << "the program itself says that the file holds no drive";
}
