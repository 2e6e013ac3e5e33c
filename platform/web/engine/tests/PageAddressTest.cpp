#include <web/engine/PageAddress.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

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

TEST(PageAddressTest, AnAnchorAfterAnExistingFileIsTheFragment)
{
    const QString dir = QDir::tempPath() + "/tvsk-page-address";
    QDir().mkpath(dir);
    QFile(dir + "/help.htm").open(QIODevice::WriteOnly);
    QFile(dir + "/odd#name.htm").open(QIODevice::WriteOnly);
    EXPECT_EQ(ServedUrl(dir + "/help.htm#Start").toString(), "tvsk://file" + dir + "/help.htm#Start");
    EXPECT_EQ(ServedUrl("file://" + dir + "/help.htm#Start").toString(),
              "tvsk://file" + dir + "/help.htm#Start");
    EXPECT_EQ(ServedUrl(dir + "/odd#name.htm").path(), dir + "/odd#name.htm") << "a file of the whole name";
    EXPECT_EQ(ServedUrl(dir + "/missing.htm#Start").path(), dir + "/missing.htm#Start");
    QDir(dir).removeRecursively();
}

TEST(PageAddressTest, LoadedUrlsAreReportedAsTheProgramsAddresses)
{
    EXPECT_EQ(ProgramUrl(QUrl("tvsk://file/data/a b.htm")), "file:///data/a b.htm");
    EXPECT_EQ(ProgramUrl(QUrl("tvsk://res/start.htm")),
              "res://" + QCoreApplication::applicationFilePath() + "/start.htm");
    EXPECT_EQ(ProgramUrl(QUrl("app:ReadAll")), "app:ReadAll");
}
