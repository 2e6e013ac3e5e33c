#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskSlvDataDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> SampleParFiles()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TVSK_SAMPLE_DATA_DIR))
        if (entry.is_regular_file() && entry.path().extension() == ".par")
            files.push_back(entry.path().string());
    return files;
}

// Raw values by address as the listing must hold them.
std::map<int, int> ExpectedRawValues(CTvskParDb& db)
{
    std::map<int, int> values;
    for (long i = 0; i < db.GetParNum(true); ++i)
    {
        const DBPAR* par = db.GetPar(i, true);
        if (par->nBitDim == 32)
        {
            const auto v = static_cast<unsigned>(static_cast<int>(par->dblDefVal));
            values[par->nAddr] = static_cast<int>(v & 0xFFFF);
            values[par->nAddr + 1] = static_cast<int>(v >> 16);
        }
        else if (par->nBitDim != 1)
        {
            values[par->nAddr] = static_cast<int>(par->dblDefVal * par->nScale + par->nOffs);
        }
    }
    return values;
}

std::vector<CString> Column(CTvskParDb& db, const char* section, const char* column)
{
    std::vector<CString> texts;
    for (long row = 0; row < 100000; ++row)
    {
        CString text = db.GetField(section, column, row);
        if (text.IsEmpty())
            break;
        texts.push_back(text);
    }
    return texts;
}

} // namespace

TEST(SampleParFiles, TheShippedDriveTypesAreThere)
{
    const auto files = SampleParFiles();
    EXPECT_GE(files.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(TVSK_SAMPLE_DATA_DIR "/TK20/TK20.par"));
    EXPECT_TRUE(std::filesystem::exists(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
}

TEST(SampleParFiles, EachLoadsCompleteAndItsListingReadsBack)
{
    for (const std::string& file : SampleParFiles())
    {
        SCOPED_TRACE(file);
        CTvskParDb db;
        ASSERT_EQ(db.Load(file.c_str()), 0) << db.GetErrorString();
        EXPECT_GE(Column(db, "par", "szID").size(), 40u);
        EXPECT_STREQ(db.GetDrive(), std::filesystem::path(file).stem().c_str());
        EXPECT_NE(db.GetOpMode(), 0xFFFF);
        for (const char* command : {"Alarm", "DriveType", "EnablePLC", "Save", "SavePLC"})
            EXPECT_NE(db.GetCmdPar(command), nullptr) << command;
        for (const char* option :
             {"CHECKCONN", "SCRIPTDEBUG", "PLCMAXLEN", "OSCMODE", "OSCRESETTRIES", "OSCMINBAUD"})
            EXPECT_NE(db.GetOption(option), nullptr) << option;
        for (const char* id : {"Pr31", "Pr33", "Pr45", "Pr48", "Pr49"})
            EXPECT_NE(db.GetPar(id, true), nullptr) << id;
        EXPECT_GT(db.GetAlarmsNum(), 0);
        EXPECT_GT(db.GetMenusNum(), 0);
        EXPECT_GT(db.GetInstrNum(), 0);
        EXPECT_GT(db.GetSessionVarNum(), 0);

        // Every motor and drive data row names a parameter of the file.
        for (const char* section : {"MOTORDATA", "DRIVEDATA"})
            for (const CString& id : Column(db, section, "szID"))
                EXPECT_NE(db.GetPar(id, true), nullptr) << id;

        // The listing of every operating mode reads back with the same raw values.
        const unsigned short firstMode = db.GetOpMode();
        for (int mode = 0; mode < 4; ++mode)
        {
            db.GetPar(db.GetField("OPMODEPAR", "szID", 0), true)->dblDefVal = mode;
            db.UpdateListAllPar();
            CTestDir dir;
            const std::string listing = dir.File("sample.slv");
            ASSERT_EQ(db.Save(listing.c_str()), 0);
            CTvskSlvDataDb reader;
            ASSERT_EQ(reader.Load(listing.c_str()), 0) << reader.GetErrorString();
            std::map<int, int> read;
            for (long i = 0; i < reader.GetValNums(); ++i)
                read[reader.GetValue(i)->iID] = reader.GetValue(i)->iValue;
            EXPECT_EQ(read, ExpectedRawValues(db)) << "mode " << mode;
            ASSERT_EQ(reader.GetInstrNums(), db.GetInstrNum());
            for (long i = 0; i < reader.GetInstrNums(); ++i)
                EXPECT_STRCASEEQ(reader.GetInstruction(i)->szIstr,
                                 db.GetPlcInstr(static_cast<int>(i))->szIstr);
        }
        EXPECT_EQ(firstMode, 0);
    }
}
