#include "../HtmlAttributeLists.h"

#include <gtest/gtest.h>

using Map = std::map<std::string, std::string>;

TEST(HtmlAttributeListsTest, HiddenListsAreTrimmedAndKeepTheFirstOfAKey)
{
    EXPECT_EQ(ParseHiddenValue("DocDimX: 640 ; DocDimY:480;ATTRIBUTE:ro"),
              (Map{{"DocDimX", "640"}, {"DocDimY", "480"}, {"ATTRIBUTE", "ro"}}));
    EXPECT_EQ(ParseHiddenValue("a:1;a:2"), (Map{{"a", "1"}}));
    EXPECT_EQ(ParseHiddenValue("novalue;b:;"), (Map{{"b", ""}}));
    EXPECT_EQ(ParseHiddenValue("url: http://x:8080/p ;;  ; :lonely"),
              (Map{{"url", "http://x:8080/p"}, {"", "lonely"}}));
    EXPECT_TRUE(ParseHiddenValue("").empty());
}

TEST(HtmlAttributeListsTest, ImageListsMapValuesToPictures)
{
    EXPECT_EQ(ParseImageList("0, off.gif | 1, on.gif | 2,alarm.gif"),
              (Map{{"0", "off.gif"}, {"1", "on.gif"}, {"2", "alarm.gif"}}));
    EXPECT_EQ(ParseImageList("1,on.gif|nocomma|1,other.gif|"), (Map{{"1", "on.gif"}}));
}
