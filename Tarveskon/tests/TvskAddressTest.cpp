#include <Tarveskon/TvskAddress.h>

#include <gtest/gtest.h>

namespace
{

struct AddressRow
{
    const char* text;
    bool valid;
    int addr;
    int sub;
    int bits;
};

TEST(TvskAddressTest, ParsesTheThreeFormsAndRefusesTheRest)
{
    const AddressRow rows[] = {
        {"12", true, 12, 0, 16},    {"12.0", true, 12, 0, 1},      {"12.15", true, 12, 15, 1},
        {"13:12", true, 12, 0, 32}, {"65535", true, 65535, 0, 16}, {"12.16", false, 0, 0, 0},
        {"12:13", false, 0, 0, 0},  {"12:14", false, 0, 0, 0},     {".3", false, 0, 0, 0},
        {"12.", false, 0, 0, 0},    {"1.2.3", false, 0, 0, 0},     {"13:12.1", false, 0, 0, 0},
        {"a12", false, 0, 0, 0},    {"12a", false, 0, 0, 0},       {"", false, 0, 0, 0},
        {"65536", false, 0, 0, 0},  {"-1", false, 0, 0, 0},
    };
    for (const AddressRow& row : rows)
    {
        CTvskAddress address;
        ASSERT_EQ(CTvskAddress::Parse(row.text, address), row.valid) << row.text;
        if (!row.valid)
            continue;
        EXPECT_EQ(address.nAddr, row.addr) << row.text;
        EXPECT_EQ(address.nSubAddr, row.sub) << row.text;
        EXPECT_EQ(address.nBitDim, row.bits) << row.text;
    }
    EXPECT_FALSE(CTvskAddress::Parse(nullptr, *std::make_unique<CTvskAddress>()));
}

TEST(TvskAddressTest, NamesDropTheirLetterPrefixAndPackWidthAboveAddress)
{
    CTvskAddress address;
    ASSERT_TRUE(CTvskAddress::ParseName("Pr167", address));
    EXPECT_EQ(address.Packed(), (16L << 16) + 167);
    ASSERT_TRUE(CTvskAddress::ParseName("b42.3", address));
    EXPECT_EQ(address.Packed(), (1L << 16) + 42);
    ASSERT_TRUE(CTvskAddress::ParseName("Pr61:60", address));
    EXPECT_EQ(address.Packed(), (32L << 16) + 60);
    EXPECT_FALSE(CTvskAddress::ParseName("Xr12", address));
}

} // namespace
