#include <framework/File.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

class FileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tvsk_file_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir / "Sub");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(FileTest, ReadStringDropsCrLfAndLfAndReadsALastLineWithoutEnd)
{
    const std::string path = (dir / "a.txt").string();
    {
        CStdioFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        f.WriteString("one\r\ntwo\n\nthree");
        f.Close();
    }
    CStdioFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    CString line;
    std::vector<std::string> lines;
    while (f.ReadString(line))
        lines.push_back(line.str());
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "", "three"}));
}

TEST_F(FileTest, ReadOnlyOpenFindsAFileCaseInsensitively)
{
    {
        CFile f((dir / "Sub" / "Drives.db").c_str(), CFile::modeCreate | CFile::modeWrite);
        f.Write("x", 1);
    }
    const std::string asked = (dir / "SUB" / "drives.DB").string();
    CFile f;
    ASSERT_TRUE(f.Open(asked.c_str(), CFile::modeRead));
    EXPECT_EQ(f.GetFileName(), "Drives.db");
    EXPECT_TRUE(FileExists(asked.c_str()));
    EXPECT_FALSE(FileExists((dir / "Sub" / "Motors.db").c_str()));
}

TEST_F(FileTest, OpenFailureFillsTheCauseAndConstructorThrows)
{
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open((dir / "missing").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    try
    {
        CFile g((dir / "missing").c_str(), CFile::modeRead);
        FAIL();
    }
    catch (CFileException* ex)
    {
        EXPECT_EQ(ex->m_cause, CFileException::fileNotFound);
        ex->Delete();
    }
}

TEST_F(FileTest, SeekLengthAndBinaryRoundTrip)
{
    const std::string path = (dir / "b.bin").string();
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    const unsigned char bytes[] = {0, 1, 0xFE, 0xFF};
    f.Write(bytes, 4);
    EXPECT_EQ(f.GetLength(), 4u);
    f.SeekToBegin();
    unsigned char back[8] = {};
    EXPECT_EQ(f.Read(back, 8), 4u);
    EXPECT_EQ(back[2], 0xFE);
    EXPECT_EQ(f.Seek(-1, CFile::end), 3u);
}

TEST_F(FileTest, StaleSaveTemporariesOfEndedProcessesGo)
{
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const pid_t alive = ::fork();
    ASSERT_GE(alive, 0);
    if (alive == 0)
    {
        ::pause();
        ::_exit(0);
    }
    const std::string target = (dir / "Default.dat").string();
    EXPECT_EQ(CFile::SaveTempName(target.c_str()), target + ".~" + std::to_string(::getpid()));
    const std::string names[] = {"Default.dat.~" + std::to_string(ended),
                                 "Default.dat.~" + std::to_string(::getpid()),
                                 "Default.dat.~" + std::to_string(alive),
                                 "Other.dat.~" + std::to_string(ended),
                                 "Default.dat.~notapid",
                                 "Default.dat"};
    for (const std::string& name : names)
        std::ofstream(dir / name) << "x";
    CFile::RemoveStaleSaveTemps(target.c_str());
    ::kill(alive, SIGKILL);
    ::waitpid(alive, nullptr, 0);
    EXPECT_FALSE(fs::exists(dir / names[0])) << "left by an ended save";
    EXPECT_FALSE(fs::exists(dir / names[1])) << "left by an earlier save of this process";
    EXPECT_TRUE(fs::exists(dir / names[2])) << "a save still running";
    EXPECT_TRUE(fs::exists(dir / names[3])) << "another target's";
    EXPECT_TRUE(fs::exists(dir / names[4]));
    EXPECT_TRUE(fs::exists(dir / names[5]));
}

TEST_F(FileTest, SaveWholeReplacesTheTargetOrLeavesItAsItWas)
{
    const std::string target = (dir / "LumoPlc.plc").string();
    std::ofstream(target) << "old";
    std::ofstream(target + ".~999999999") << "stale";
    ASSERT_TRUE(CFile::SaveWhole(target.c_str(), std::string_view("new\0text", 8)));
    std::ifstream in(target, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, std::string("new\0text", 8));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0644));
    EXPECT_FALSE(fs::exists(target + ".~999999999")) << "a stale temporary of an ended save";
    EXPECT_FALSE(fs::exists(CFile::SaveTempName(target.c_str()).GetString()));

    const std::string folder = (dir / "gone" / "LumoPlc.plc").string();
    EXPECT_FALSE(CFile::SaveWhole(folder.c_str(), "text"));
    fs::create_directory(dir / "LumoPlc.dir");
    EXPECT_FALSE(CFile::SaveWhole((dir / "LumoPlc.dir").c_str(), "text")) << "a folder is no file";
    EXPECT_TRUE(fs::is_directory(dir / "LumoPlc.dir"));
    EXPECT_FALSE(fs::exists(CFile::SaveTempName((dir / "LumoPlc.dir").c_str()).GetString()));
}

TEST_F(FileTest, OnlyRegularFilesWithinTheLimitFitForReading)
{
    const fs::path file = dir / "small.txt";
    std::ofstream(file) << "text";
    EXPECT_TRUE(FitsForReading(file.c_str()));
    EXPECT_TRUE(FitsForReading(file.c_str(), 4));
    EXPECT_FALSE(FitsForReading(file.c_str(), 3));
    fs::resize_file(file, kMaxInputFileSize + 1);
    EXPECT_FALSE(FitsForReading(file.c_str()));
    EXPECT_FALSE(FitsForReading("/dev/zero")) << "a device never ends";
    EXPECT_FALSE(FitsForReading(dir.c_str()));
    EXPECT_TRUE(FitsForReading((dir / "absent").c_str())) << "its open says why";
}
