#include "../ModuleName.h"

#include <gtest/gtest.h>

using tvsk::modlode::ModulePath;

TEST(ModuleNameTest, DllNameBecomesASharedObjectInTheFolder)
{
    EXPECT_EQ(ModulePath("/opt/tvsk", "TvskOsc.dll"), "/opt/tvsk/TvskOsc.so");
    EXPECT_EQ(ModulePath("/opt/tvsk/", "TvskOsc.DLL"), "/opt/tvsk/TvskOsc.so");
    EXPECT_EQ(ModulePath("/opt/tvsk", "My Plugin.v2.dll"), "/opt/tvsk/My Plugin.v2.so");
}

TEST(ModuleNameTest, AnythingButAPlainDllNameIsRefused)
{
    const char* refused[] = {
        nullptr,          "",           ".dll",        "TvskOsc",      "TvskOsc.so",
        "TvskOsc.dll.so", "../Osc.dll", "lib/Osc.dll", "/tmp/Osc.dll", "..\\Osc.dll",
        "a..b.dll",       "C:Osc.dll",  "Osc\n.dll",   "sub\\Osc.dll",
    };
    for (const char* name : refused)
        EXPECT_EQ(ModulePath("/opt/tvsk", name), "") << (name ? name : "(null)");
    EXPECT_EQ(ModulePath("", "TvskOsc.dll"), "");
}
