// The recent-file list in the profile: order, case-insensitive duplicates, removal, reload.
#include <ui/Ui.h>

#include <gtest/gtest.h>

class RecentFileListTest : public ::testing::Test
{
protected:
    void SetUp() override { AfxGetApp()->WriteProfileString("Recent File List", nullptr, nullptr); }
    void TearDown() override { AfxGetApp()->m_pRecentFileList.reset(); }
};

TEST_F(RecentFileListTest, NewestFirstWithoutDuplicatesAndAtMostTheSize)
{
    CWinApp* app = AfxGetApp();
    app->LoadStdProfileSettings(3);
    ASSERT_NE(app->m_pRecentFileList, nullptr);
    CRecentFileList& list = *app->m_pRecentFileList;
    EXPECT_EQ(list.GetSize(), 3);
    app->AddToRecentFileList("/d/a.dat");
    app->AddToRecentFileList("/d/b.dat");
    app->AddToRecentFileList("/d/A.DAT"); // the same file: moved up, not doubled
    app->AddToRecentFileList("/d/c.dat");
    app->AddToRecentFileList("/d/d.dat");
    EXPECT_EQ(list[0], "/d/d.dat");
    EXPECT_EQ(list[1], "/d/c.dat");
    EXPECT_EQ(list[2], "/d/A.DAT");
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(app->GetProfileString("Recent File List", "File1"), "/d/d.dat");
    EXPECT_EQ(app->GetProfileString("Recent File List", "File3"), "/d/A.DAT");
}

TEST_F(RecentFileListTest, RemovalIsKeptAndTheListReadsBack)
{
    CWinApp* app = AfxGetApp();
    app->LoadStdProfileSettings(8);
    for (const char* path : {"/d/1.dat", "/d/2.dat", "/d/3.dat"})
        app->AddToRecentFileList(path);
    app->m_pRecentFileList->Remove(1);
    app->m_pRecentFileList->Remove(7); // nothing there
    app->LoadStdProfileSettings(8);
    const CRecentFileList& list = *app->m_pRecentFileList;
    EXPECT_EQ(list[0], "/d/3.dat");
    EXPECT_EQ(list[1], "/d/1.dat");
    EXPECT_EQ(list[2], "");
    EXPECT_EQ(app->GetProfileString("Recent File List", "File3", "none"), "none");
}
