#include "TempStore.h"

#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <cstring>

class ProfileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        profile.SetRegistryKey("MurnApps");
        profile.SetAppName("Tarveskon");
    }
    void TearDown() override { profile.SetRegistryKey(""); }

    TempStore store;
    CProfile& profile = CProfile::Instance();
};

TEST_F(ProfileTest, EntriesLiveUnderSoftwareKeyAppAndSection)
{
    ASSERT_TRUE(profile.WriteProfileString("Settings", "HomePage", "Start.htm"));
    ASSERT_TRUE(profile.WriteProfileInt("Settings", "LangID", -2));
    const BYTE placement[] = {1, 2, 3, 0};
    ASSERT_TRUE(profile.WriteProfileBinary("Settings", "WindowPlacement", placement, sizeof placement));

    EXPECT_EQ(profile.GetProfileString("settings", "homepage"), "Start.htm");
    EXPECT_EQ(static_cast<int>(profile.GetProfileInt("Settings", "LangID", 0)), -2);
    LPBYTE data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(profile.GetProfileBinary("Settings", "WindowPlacement", &data, &bytes));
    ASSERT_EQ(bytes, sizeof placement);
    EXPECT_EQ(std::memcmp(data, placement, bytes), 0);
    delete[] data;

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\MurnApps\\Tarveskon\\Settings", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(ProfileTest, MissingOrOtherTypedEntriesGiveTheDefault)
{
    EXPECT_EQ(profile.GetProfileString("Settings", "None", "dflt"), "dflt");
    EXPECT_EQ(profile.GetProfileString("Settings", "None"), "");
    EXPECT_EQ(profile.GetProfileInt("Nowhere", "None", 17), 17u);
    ASSERT_TRUE(profile.WriteProfileString("Settings", "Text", "12"));
    EXPECT_EQ(profile.GetProfileInt("Settings", "Text", 5), 5u);
    ASSERT_TRUE(profile.WriteProfileInt("Settings", "Number", 12));
    EXPECT_EQ(profile.GetProfileString("Settings", "Number", "x"), "x");
    LPBYTE data = reinterpret_cast<LPBYTE>(&data);
    UINT bytes = 9;
    EXPECT_FALSE(profile.GetProfileBinary("Settings", "Number", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(bytes, 0u);
}

TEST_F(ProfileTest, NullValueDeletesTheEntryAndNullEntryTheWholeSection)
{
    ASSERT_TRUE(profile.WriteProfileString("Recent File List", "File1", "a.dat"));
    ASSERT_TRUE(profile.WriteProfileString("Recent File List", "File2", "b.dat"));
    HKEY nested = profile.GetSectionKey("Recent File List\\Nested");
    ASSERT_NE(nested, nullptr);
    RegCloseKey(nested);

    ASSERT_TRUE(profile.WriteProfileString("Recent File List", "File1", nullptr));
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", "gone"), "gone");
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2"), "b.dat");

    ASSERT_TRUE(profile.WriteProfileString("Recent File List", nullptr, nullptr));
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2", "gone"), "gone");
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\MurnApps\\Tarveskon\\Recent File List", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
}

TEST_F(ProfileTest, WithoutARegistryKeyWritesFailAndReadsGiveDefaults)
{
    profile.SetRegistryKey("");
    EXPECT_FALSE(profile.WriteProfileInt("Settings", "X", 1));
    EXPECT_EQ(profile.GetProfileInt("Settings", "X", 3), 3u);
    EXPECT_EQ(profile.GetAppRegistryKey(), nullptr);
}
