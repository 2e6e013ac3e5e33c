#include <ParDefaults.h>

#include <gtest/gtest.h>

TEST(ParDefaultsTest, FieldsFollowTheTextDatabaseSyntax)
{
    using Fields = std::vector<std::string>;
    EXPECT_EQ(ParFields("PAR\t\"Pr1\"  -1 \"a b\""), (Fields{"PAR", "Pr1", "-1", "a b"}));
    EXPECT_EQ(ParFields("PAR \"say \"\"hi\"\"\" x"), (Fields{"PAR", "say \"hi\"", "x"}));
    EXPECT_EQ(ParFields("PAR \"\" 2 ; comment \"x\""), (Fields{"PAR", "", "2"}));
    EXPECT_EQ(ParFields("PAR \"a;b\" 2\r"), (Fields{"PAR", "a;b", "2"}));
    EXPECT_EQ(ParFields("; only a comment"), Fields{});
}

TEST(ParDefaultsTest, DefaultsBecomeRawValuesAtTheirAddresses)
{
    std::vector<ParDefault> defaults;
    std::string error;
    ASSERT_TRUE(ReadParDefaults(TVSK_TEST_DATA_DIR "/sample.par", defaults, error)) << error;
    ASSERT_EQ(defaults.size(), 5u);
    EXPECT_EQ(defaults[2].address, 12);
    EXPECT_EQ(defaults[2].subAddress, 3);

    CSimulatedDrive drive(0);
    drive.SetParameter(12, 2, 0x8000);
    ApplyParDefaults(defaults, drive);
    EXPECT_EQ(drive.Parameter(10, 2), 1500u);
    EXPECT_EQ(drive.Parameter(20, 4), 2505u) << "default times scale plus offset";
    EXPECT_EQ(drive.Parameter(12, 2), 0x8008u) << "a bit parameter sets only its bit";
    EXPECT_EQ(drive.Parameter(13, 2), 0xFFFFu);
    EXPECT_EQ(drive.Parameter(14, 2), 7u);
}

TEST(ParDefaultsTest, UnreadableOrShortRowsAreReported)
{
    std::vector<ParDefault> defaults;
    std::string error;
    EXPECT_FALSE(ReadParDefaults(TVSK_TEST_DATA_DIR "/none.par", defaults, error));
    EXPECT_NE(error.find("none.par"), std::string::npos);
    EXPECT_FALSE(ReadParDefaults(TVSK_TEST_DATA_DIR "/short.par", defaults, error));
    EXPECT_NE(error.find(":2:"), std::string::npos) << error;
}

TEST(ParDefaultsTest, TheSampleParameterFileLoads)
{
    std::vector<ParDefault> defaults;
    std::string error;
    ASSERT_TRUE(ReadParDefaults(TVSK_SAMPLE_DATA_DIR "/TK20/TK20.par", defaults, error)) << error;
    CSimulatedDrive drive(0);
    ApplyParDefaults(defaults, drive);
    EXPECT_EQ(drive.Parameter(0, 2), 214u);
    EXPECT_EQ(drive.Parameter(32, 2), 4500u);
}
