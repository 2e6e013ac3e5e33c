#include <TvskDb/TvskDbErrString.h>

#include <gtest/gtest.h>

TEST(TvskDbErrStringTest, FormatsTheSyntaxError)
{
    CTvskDbErrString err;
    EXPECT_EQ(err.GetErrorString(), "");
    CTextDbException e(12, 4, "field \"nAddr\" of section \"PAR\": \"x\" is not an integer",
                       "/data/TK40/TK40.par");
    err.CreateErrorString(&e);
    EXPECT_EQ(err.GetErrorString(),
              "\nFile : /data/TK40/TK40.par\nL : 12\nT : 4\nInfo : field \"nAddr\" of section "
              "\"PAR\": \"x\" is not an integer");
}

TEST(TvskDbErrStringTest, NullExceptionIsReportedAndKeepsTheText)
{
    CTvskDbErrString err;
    CTextDbException e(1, 1, "x", "f");
    err.CreateErrorString(&e);
    const CString before = err.GetErrorString();
    testing::internal::CaptureStderr();
    err.CreateErrorString(nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("TvskDbErrString.cpp"), std::string::npos);
    EXPECT_EQ(err.GetErrorString(), before);
}
