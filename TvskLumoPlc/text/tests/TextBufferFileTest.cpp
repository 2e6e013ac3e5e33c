// Loading and saving files: byte-exact round trips, read-only files, safe saves.
#include <TvskLumoPlc/text/CrystalTextBuffer.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{

class TextBufferFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("plctext-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }

    std::string PathOf(const char* name) const { return (m_dir / name).string(); }

    std::string Write(const char* name, const std::string& bytes) const
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    bool HasTemporaryFile() const
    {
        for (const auto& entry : fs::directory_iterator(m_dir))
            if (entry.path().filename().string().find(".~") != std::string::npos)
                return true;
        return false;
    }

    fs::path m_dir;
};

TEST_F(TextBufferFile, EachStyleSavesBackByteForByte)
{
    for (const std::string bytes : {"a\r\nb\r\n", "x\n\ry\n\r", "x\ny", "single"})
    {
        const std::string path = Write("text.il", bytes);
        CCrystalTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFile(path.c_str()));
        ASSERT_TRUE(buffer.SaveFile(path.c_str()));
        EXPECT_EQ(Read(path), bytes);
    }
}

TEST_F(TextBufferFile, ThreeLinesSaveWithTwoSeparatorsInTheChosenStyle)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("a\nb\nc", CRLF_STYLE_MAC);
    const std::string path = PathOf("out.il");
    ASSERT_TRUE(buffer.SaveFile(path.c_str(), CRLF_STYLE_DOS));
    EXPECT_EQ(Read(path), "a\r\nb\r\nc");
    EXPECT_FALSE(HasTemporaryFile());
}

TEST_F(TextBufferFile, AFileWithoutWriteBitsLoadsReadOnlyAndRefusesTyping)
{
    const std::string path = Write("locked.il", "LD 1.0\r\n");
    ::chmod(path.c_str(), 0444);
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
    EXPECT_TRUE(buffer.GetReadOnly());
    int endLine = 0;
    int endChar = 0;
    EXPECT_FALSE(buffer.InsertAt(nullptr, 0, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, 0, 0, 0, 1));
    EXPECT_FALSE(buffer.CanStepBack());
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_EQ(buffer.GetLine(0), "LD 1.0");
}

TEST_F(TextBufferFile, AMissingFileLeavesTheBufferAsItWas)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("kept");
    EXPECT_FALSE(buffer.LoadFile(PathOf("missing.il").c_str()));
    EXPECT_FALSE(buffer.LoadFile(m_dir.string().c_str()));
    EXPECT_EQ(buffer.GetLine(0), "kept");
}

TEST_F(TextBufferFile, TheBackupHoldsTheOldBytes)
{
    const std::string path = Write("prog.il", "old\r\n");
    CCrystalTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str()));
    int endLine = 0;
    int endChar = 0;
    buffer.InsertAt(nullptr, 0, 0, "new ", endLine, endChar);
    buffer.SetCreateBackup(TRUE);
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    EXPECT_EQ(Read(path + ".bak"), "old\r\n");
    EXPECT_EQ(Read(path), "new old\r\n");
    EXPECT_FALSE(buffer.IsModified());
}

TEST_F(TextBufferFile, AFailedFinalMoveChangesNothingAndLeavesNoTemporaryFile)
{
    const std::string target = PathOf("folder");
    fs::create_directories(target + "/inside");
    CCrystalTextBuffer buffer;
    buffer.LoadString("text");
    int endLine = 0;
    int endChar = 0;
    buffer.InsertAt(nullptr, 0, 0, "more ", endLine, endChar);
    EXPECT_FALSE(buffer.SaveFile(target.c_str()));
    EXPECT_TRUE(fs::is_directory(target + "/inside"));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_FALSE(HasTemporaryFile());
}

TEST_F(TextBufferFile, TheTemporaryIsNamedAfterTheTargetAndAStaleOneGoes)
{
    const std::string path = Write("prog.il", "old");
    const std::string stale = path + ".~" + std::to_string(::getpid());
    std::ofstream(stale) << "left by a save that was killed";
    CCrystalTextBuffer buffer;
    buffer.LoadString("new");
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    EXPECT_EQ(Read(path), "new");
    EXPECT_FALSE(HasTemporaryFile());
}

TEST_F(TextBufferFile, AFileBeyondTheSizeBoundIsRefused)
{
    const std::string path = Write("huge.il", "LD 1.0\r\n");
    fs::resize_file(path, CCrystalTextBuffer::kMaxFileSize + 1);
    CCrystalTextBuffer buffer;
    buffer.LoadString("kept");
    errno = 0;
    EXPECT_FALSE(buffer.LoadFile(path.c_str()));
    EXPECT_EQ(errno, EFBIG);
    EXPECT_EQ(buffer.GetLine(0), "kept");
    fs::resize_file(path, CCrystalTextBuffer::kMaxFileSize);
    EXPECT_TRUE(buffer.LoadFile(path.c_str())) << "up to the bound a file loads";
}

TEST_F(TextBufferFile, AFailedSaveKeepsTheOldTextAndItsMode)
{
    const std::string path = Write("prog.il", "old");
    ::chmod(path.c_str(), 0640);
    CCrystalTextBuffer buffer;
    buffer.LoadString("new");
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_FALSE(buffer.SaveFile(PathOf("no/such/dir/x.il").c_str()));
    EXPECT_EQ(Read(path), "new");
}

} // namespace
