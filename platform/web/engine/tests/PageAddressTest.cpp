#include <web/engine/PageAddress.h>

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace tvsk::web;

TEST(PageAddressTest, FilesAndBuiltInPagesAreServedFromThePageScheme)
{
    EXPECT_EQ(ServedUrl("/data/Common/page.htm").toString(), "tvsk://file/data/Common/page.htm");
    EXPECT_EQ(ServedUrl("file:///data/a%20b.htm").toString(), "tvsk://file/data/a b.htm");
    EXPECT_EQ(ServedUrl("res:///opt/bin/Tarveskon/start.htm").toString(), "tvsk://res/start.htm");
    EXPECT_EQ(ServedUrl("res://module/101").toString(), "tvsk://res/101");
    EXPECT_EQ(ServedUrl("app:ReadAll").toString(), "app:ReadAll");
    EXPECT_EQ(ServedUrl("https://example.org/x").toString(), "https://example.org/x");
}

TEST(PageAddressTest, LoadedUrlsAreReportedAsTheProgramsAddresses)
{
    EXPECT_EQ(ProgramUrl(QUrl("tvsk://file/data/a b.htm")), "file:///data/a b.htm");
    EXPECT_EQ(ProgramUrl(QUrl("tvsk://res/start.htm")),
              "res://" + QCoreApplication::applicationFilePath() + "/start.htm");
    EXPECT_EQ(ProgramUrl(QUrl("app:ReadAll")), "app:ReadAll");
}
