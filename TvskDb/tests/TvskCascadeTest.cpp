#include <TvskDb/TvskDriveCascade.h>
#include <TvskDb/TvskMotorCascade.h>

#include <gtest/gtest.h>

namespace
{

TEST(TvskCascadeTest, ExistingPathStaysAndLevelsAreShared)
{
    CDriveStringToPtr drives;
    drives.UpdateValues("A", "1", "400");
    drives.UpdateValues("A", "1", "400");
    drives.UpdateValues("A", "2", "230");
    EXPECT_EQ(1, drives.GetCount());
    EXPECT_EQ(2, drives.Below("A")->GetCount());
    EXPECT_EQ(1, drives.Below("A")->Below("1")->GetCount());
    EXPECT_EQ(nullptr, drives.Below("A")->Below("1")->Below("400"));
    drives.Reset();
    EXPECT_TRUE(drives.IsEmpty());
}

TEST(TvskCascadeTest, MissingLevelsAnswerZeroAndLeaveLaterOutputs)
{
    CDriveStringToPtr drives;
    drives.UpdateValues("A", "1", "400");
    CString current = "x";
    CString voltage = "y";
    EXPECT_EQ(0, drives.GetValuesFromDrive("B", current, voltage));
    EXPECT_EQ("x", current);
    EXPECT_EQ(0, drives.GetValuesFromCurr("A", "2", voltage));
    EXPECT_EQ("y", voltage);
    EXPECT_EQ(1, drives.GetValuesFromCurr("A", "1", voltage));
    EXPECT_EQ("400", voltage);
}

TEST(TvskCascadeTest, MotorLevelsBelowEachPart)
{
    CMotorStringToPtr motors;
    motors.UpdateValues("MB", "56", "3000", "0.6", "230");
    motors.UpdateValues("MB", "71", "4500", "1.3", "400");
    CString size, speed, torque, voltage;
    EXPECT_EQ(1, motors.GetValuesFromSize("MB", "71", speed, torque, voltage));
    EXPECT_EQ("4500", speed);
    EXPECT_EQ("400", voltage);
    EXPECT_EQ(1, motors.GetValuesFromTorque("MB", "56", "3000", "0.6", voltage));
    EXPECT_EQ("230", voltage);
    EXPECT_EQ(0, motors.GetValuesFromVel("MB", "56", "9999", torque, voltage));
    EXPECT_EQ(1, motors.GetValuesFromType("MB", size, speed, torque, voltage));
    EXPECT_EQ("56", size); // "56" hashes into an earlier bucket than "71"
}

} // namespace
