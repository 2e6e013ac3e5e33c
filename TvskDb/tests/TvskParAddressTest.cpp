#include <TvskDb/TvskParAddress.h>

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

static std::ostream& operator<<(std::ostream& os, const CParAddress& a)
{
    return os << a.nAddr << "/" << a.nSubAddr;
}

TEST(CParAddress, ParsesWordsBitsAndDoubleWords)
{
    const struct
    {
        const char* id;
        CParAddress expected;
    } cases[] = {
        {"Pr120.3", {120, 3}},
        {"Pr5:40", {40, 0}},
        {"Pr77", {77, 0}},
        {"Pr103:102", {102, 0}},
        {"b42.11", {42, 11}},
        {"Pr", {0, 0}},
        {"abc", {0, 0}},
        {"", {0, 0}},
        {"Pr7.", {7, 0}},
        {"Pr7:", {0, 0}},
        {"12", {12, 0}},
        {"Pr1.2.3", {1, 2}},
        {"Pr99999999999", {INT_MAX, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CParAddress::Parse(c.id), c.expected) << c.id;
    EXPECT_EQ(CParAddress::Parse(nullptr), CParAddress{});
}
