#include <TvskDb/TvskDriveData.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(TvskDriveDataTest, NamesAndValuesByIndex)
{
    CTvskDriveData data;
    EXPECT_EQ(data.GetDriveDataNum(), 20);
    EXPECT_EQ(data.GetDriveRecName(0), "D0");
    EXPECT_EQ(data.GetDriveRecName(19), "D19");
    EXPECT_EQ(data.GetDriveRecName(20), "");
    EXPECT_EQ(data.GetDriveRecName(-1), "");

    DBDRIVEDB rec{};
    data.SetDriveRecVal(&rec, 0, 1.5);
    data.SetDriveRecVal(&rec, 19, -2.0);
    EXPECT_EQ(rec.dblD0, 1.5);
    EXPECT_EQ(rec.dblD19, -2.0);
    EXPECT_EQ(data.GetDriveRecVal(&rec, 19), -2.0);

    const DBDRIVEDB before = rec;
    data.SetDriveRecVal(&rec, 20, 1.0);
    data.SetDriveRecVal(&rec, -1, 1.0);
    data.SetDriveRecVal(nullptr, 0, 1.0);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(data.GetDriveRecVal(&rec, i), data.GetDriveRecVal(&before, i)) << i;
    EXPECT_STREQ(rec.szDriveDef, before.szDriveDef);
    EXPECT_EQ(data.GetDriveRecVal(&rec, 20), 0.0);
    EXPECT_EQ(data.GetDriveRecVal(nullptr, 0), 0.0);
}

TEST(TvskMotorDataTest, NamesAndValuesByIndex)
{
    CTvskMotorData data;
    EXPECT_EQ(data.GetMotorDataNum(), 20);
    EXPECT_EQ(data.GetMotorRecName(7), "D7");
    EXPECT_EQ(data.GetMotorRecName(20), "");

    DBMOTORDB rec{};
    data.SetMotorRecVal(&rec, 7, 3.25);
    EXPECT_EQ(rec.dblD7, 3.25);
    EXPECT_EQ(data.GetMotorRecVal(&rec, 7), 3.25);
    EXPECT_EQ(data.GetMotorRecVal(nullptr, 0), 0.0);
    EXPECT_EQ(data.GetMotorRecVal(&rec, -1), 0.0);
    EXPECT_STREQ(rec.szType, ""); // the texts before the data are untouched
}

TEST(TvskMotorDataTest, EncoderTextsByIndex)
{
    CTvskMotorData data;
    DBMOTORENC rec{"CODE", "zero", "one", "two", "three", "four", "five", "six", "seven", "eight"};
    EXPECT_EQ(data.GetEncoderRecVal(&rec, 0), "zero");
    EXPECT_EQ(data.GetEncoderRecVal(&rec, 4), "four");
    EXPECT_EQ(data.GetEncoderRecVal(&rec, 8), "eight");
    EXPECT_EQ(data.GetEncoderRecVal(&rec, 9), "");
    EXPECT_EQ(data.GetEncoderRecVal(&rec, -1), "");
    EXPECT_EQ(data.GetEncoderRecVal(nullptr, 0), "");

    std::memset(rec.stE1, 'x', sizeof rec.stE1); // no terminator
    EXPECT_EQ(data.GetEncoderRecVal(&rec, 1), "xxxx");
}
