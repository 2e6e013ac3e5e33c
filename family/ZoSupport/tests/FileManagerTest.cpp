#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <filesystem>

TEST(FileManagerTest, CurrentDirectoryFollowsTheProcess)
{
    const auto previous = std::filesystem::current_path();
    const auto folder = std::filesystem::temp_directory_path();
    std::filesystem::current_path(folder);
    const CString current = CFileManager().GetCurrentDirectory();
    std::filesystem::current_path(previous);
    EXPECT_EQ(std::filesystem::path(current.GetString()), std::filesystem::canonical(folder));
}
