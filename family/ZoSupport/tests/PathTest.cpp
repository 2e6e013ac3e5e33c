#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

TEST(PathTest, SplitsAFilePath)
{
    CPath path("/home/user/lists/Drive 1.slv");
    EXPECT_STREQ(path.Drive(), "");
    EXPECT_STREQ(path.Path(), "/home/user/lists/");
    EXPECT_STREQ(path.Name(), "Drive 1");
    EXPECT_STREQ(path.Ext(), ".slv");
    EXPECT_STREQ(path.FileName(), "Drive 1.slv");
    EXPECT_STREQ(path.PathName(), "/home/user/lists/Drive 1.slv");
}

TEST(PathTest, FolderIsThePathLessTheFileName)
{
    const CString full = "C:\\Data\\TK40\\par.v2.par";
    CPath path(full);
    EXPECT_STREQ(path.Drive(), "C:");
    EXPECT_STREQ(path.Name(), "par.v2");
    EXPECT_EQ(full.Left(full.GetLength() - static_cast<int>(strlen(path.FileName()))), "C:\\Data\\TK40\\");
}

TEST(PathTest, NamesWithoutExtensionAndHiddenFiles)
{
    EXPECT_STREQ(CPath("pages/MainPage").Ext(), "");
    EXPECT_STREQ(CPath("/x/.config").Name(), ".config");
    EXPECT_STREQ(CPath("file:///srv/pages/Drives.htm").Name(), "Drives");
}

TEST(PathTest, InvalidPathAnswersNullButFileNameStaysUsable)
{
    CPath path(nullptr);
    EXPECT_FALSE(path.IsValid());
    EXPECT_EQ(path.Drive(), nullptr);
    EXPECT_EQ(path.Path(), nullptr);
    EXPECT_EQ(path.Name(), nullptr);
    EXPECT_EQ(path.Ext(), nullptr);
    EXPECT_EQ(path.PathName(), nullptr);
    EXPECT_STREQ(path.FileName(), "");
    EXPECT_FALSE(path.Exist());
}

TEST(PathTest, FolderFlagTakesTheWholePathAsFolder)
{
    CPath path("/srv/data/TK40", true);
    EXPECT_STREQ(path.Path(), "/srv/data/TK40");
    EXPECT_STREQ(path.Name(), "");
}

TEST(PathTest, ExistFindsFilesAndFolders)
{
    char dir[] = "/tmp/zosupport-pathXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/a.txt";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);

    EXPECT_TRUE(CPath(dir, true).Exist());
    EXPECT_TRUE(CPath(file.c_str()).Exist());
    EXPECT_FALSE(CPath((std::string(dir) + "/b.txt").c_str()).Exist());

    unlink(file.c_str());
    rmdir(dir);
}
