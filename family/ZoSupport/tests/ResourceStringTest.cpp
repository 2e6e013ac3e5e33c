#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

namespace
{

HINSTANCE FakeModule(int n)
{
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(0x1000 + n));
}

class ResourceStringTest : public testing::Test
{
protected:
    void TearDown() override
    {
        UnregisterResourceStrings(nullptr);
        UnregisterResourceStrings(FakeModule(1));
    }
};

} // namespace

TEST_F(ResourceStringTest, ProgramAndModuleTablesAreSeparate)
{
    const RESOURCE_STRING program[] = {{2000, "Errore"}, {2001, "Attenzione"}};
    const RESOURCE_STRING plugin[] = {{2000, "Plug-in"}};
    RegisterResourceStrings(nullptr, program, 2);
    RegisterResourceStrings(FakeModule(1), plugin, 1);

    EXPECT_EQ(GetResourceString(2001), "Attenzione");
    EXPECT_EQ(GetResourceString(2000, nullptr), "Errore");
    EXPECT_EQ(GetResourceString(2000, FakeModule(1)), "Plug-in");
}

TEST_F(ResourceStringTest, MissingTextsAreEmpty)
{
    const RESOURCE_STRING program[] = {{1, "one"}};
    RegisterResourceStrings(nullptr, program, 1);
    EXPECT_TRUE(GetResourceString(2).IsEmpty());
    EXPECT_TRUE(GetResourceString(1, FakeModule(2)).IsEmpty());
}

TEST_F(ResourceStringTest, ReregisteringReplacesAndUnregisteringForgets)
{
    const RESOURCE_STRING first[] = {{1, "old"}, {2, "two"}};
    const RESOURCE_STRING second[] = {{1, "new"}};
    RegisterResourceStrings(FakeModule(1), first, 2);
    RegisterResourceStrings(FakeModule(1), second, 1);
    EXPECT_EQ(GetResourceString(1, FakeModule(1)), "new");
    EXPECT_TRUE(GetResourceString(2, FakeModule(1)).IsEmpty());

    UnregisterResourceStrings(FakeModule(1));
    EXPECT_TRUE(GetResourceString(1, FakeModule(1)).IsEmpty());
}

TEST_F(ResourceStringTest, ChangingTheReturnedTextLeavesTheTableAlone)
{
    const RESOURCE_STRING program[] = {{5, "five"}};
    RegisterResourceStrings(nullptr, program, 1);
    GetResourceString(5) = "changed";
    EXPECT_EQ(GetResourceString(5), "five");
}
