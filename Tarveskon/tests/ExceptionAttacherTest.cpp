// The crash reporter: a small program copied under a two-dot name crashes in each way it can.
#include <Tarveskon/CrashReport.h>
#include <Tarveskon/CrashReportBuffer.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

struct CrashRun
{
    int signal = 0;
    std::string report; // empty when none was written
    std::string errors;
};

class CrashingProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("crash-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        m_program = m_folder / "crash.test.prog";
        fs::copy_file(TVSK_CRASHING_PROGRAM, m_program, fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // signal: sent by this test once the program stopped itself, 0 for none.
    CrashRun Run(const char* mode, int signal = 0)
    {
        const fs::path errors = fs::temp_directory_path() / ("crash-errors-" + std::to_string(::getpid()));
        const pid_t child = ::fork();
        if (child == 0)
        {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            std::freopen(errors.c_str(), "w", stderr);
            ::execl(m_program.c_str(), m_program.c_str(), mode, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        if (signal != 0)
        {
            ::waitpid(child, &status, WUNTRACED);
            ::kill(child, signal);
            ::kill(child, SIGCONT);
        }
        ::waitpid(child, &status, 0);
        CrashRun run;
        run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        run.report = ReadFile(m_folder / "ERRORLOG.TXT");
        run.errors = ReadFile(errors);
        fs::remove(errors);
        return run;
    }

    static std::string ReadFile(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Each piece must follow the one before it.
    static void ExpectInOrder(const std::string& report, std::initializer_list<std::string> pieces)
    {
        size_t at = 0;
        for (const std::string& piece : pieces)
        {
            const size_t found = report.find(piece, at);
            ASSERT_NE(found, std::string::npos) << "missing or out of order: " << piece << "\n" << report;
            at = found + piece.size();
        }
    }

    fs::path m_folder;
    fs::path m_program;
};

TEST_F(CrashingProgramTest, NullWriteReportsEverySectionInOrder)
{
    const CrashRun run = Run("null");
    EXPECT_EQ(run.signal, SIGSEGV);
    ExpectInOrder(
        run.report,
        {"crash.test caused an Access Violation (0xc0000005) \r\nin module crash.test.prog at 0033:",
         ".\r\n\r\nException handler called in ExceptionAttacher - AfxWinMain.\r\n",
         "Error occurred at ",
         ".\r\n" + m_program.string() + ", run by ",
         "Operating system:  Linux (",
         "processor(s), type 8664.\r\n",
         "% memory in use.\r\n",
         " MBytes physical memory.\r\n",
         " MBytes physical memory free.\r\n",
         " MBytes paging file.\r\n",
         " MBytes paging file free.\r\n",
         " MBytes user address space.\r\n",
         " MBytes user address space free.\r\n",
         "Write to location 0000000000000000 caused an access violation.\r\n",
         "\r\nContext:\r\nRDI:    0x",
         "RBX:    0x",
         "RIP:    0x",
         "  SegCs: 0x00000033\r\nEFlags: 0x",
         "\r\nBytes at CS:EIP:\r\n",
         "\r\n\r\nStack:\r\n0x",
         "Module 1\r\n" + m_program.string() + "\r\nImage Base: 0x",
         "Checksum:   0x00000000  Time Stamp: 0x00000000\r\nFile Size:  ",
         "Version Information:\r\n   Company:    Test Maker\r\n   Product:    Crash Test\r\n"
         "   FileDesc:   Crashes on purpose\r\n   FileVer:    1.2.3.4\r\n   ProdVer:    5.6.7.8\r\n\r\n",
         "Module 2\r\n"});
    const std::string end = "\r\n===== [end of ERRORLOG.TXT] =====\r\n";
    ASSERT_GE(run.report.size(), end.size());
    EXPECT_EQ(run.report.substr(run.report.size() - end.size()), end);
}

// A module loaded after the reporter started lists the version the build gave it.
TEST_F(CrashingProgramTest, AModuleLoadedLaterListsItsBuildVersion)
{
    const CrashRun run = Run("loaded");
    EXPECT_EQ(run.signal, SIGSEGV);
    ExpectInOrder(run.report,
                  {"TvskScriptEngine.so\r\n", "Version Information:\r\n   Company:    MurnApps\r\n",
                   "   Product:    Tarveskon\r\n   FileDesc:   TvskScriptEngine\r\n",
                   std::string("   FileVer:    ") + TVSK_PROJECT_VERSION + ".0\r\n",
                   std::string("   ProdVer:    ") + TVSK_PROJECT_VERSION + ".0\r\n"});
}

TEST_F(CrashingProgramTest, StackLinesStopAtTheStackTopOrTheLimit)
{
    const CrashRun run = Run("null");
    const size_t begin = run.report.find("Stack:\r\n") + 8;
    const size_t end = run.report.find("\r\n\r\n", begin);
    ASSERT_NE(end, std::string::npos);
    std::istringstream lines(run.report.substr(begin, end - begin));
    std::string line;
    int count = 0;
    while (std::getline(lines, line))
    {
        ++count;
        ASSERT_EQ(line.substr(0, 2), "0x") << line;
        ASSERT_EQ(line.substr(18, 2), ": ") << line;
    }
    EXPECT_GT(count, 0);
    EXPECT_LE(count, 3072 / 4);
}

TEST_F(CrashingProgramTest, JumpToAnUnreadableAddressDumpsNoCode)
{
    const CrashRun run = Run("jump");
    EXPECT_EQ(run.signal, SIGSEGV);
    std::string unknown;
    for (int i = 0; i < 16; ++i)
        unknown += "?? ";
    ExpectInOrder(run.report,
                  {"an Access Violation (0xc0000005) \r\nin module Unknown at 0033:0000000000000010.",
                   "Read from location 0000000000000010",
                   "Bytes at CS:EIP:\r\n" + unknown + "\r\n\r\nStack:"});
}

TEST_F(CrashingProgramTest, DivisionByZeroAndStackOverflowHaveTheirOwnCodes)
{
    const CrashRun divide = Run("divide");
    EXPECT_EQ(divide.signal, SIGFPE);
    EXPECT_NE(divide.report.find("crash.test caused an Integer Divide by Zero (0xc0000094)"),
              std::string::npos);
    EXPECT_EQ(divide.report.find("caused an access violation"), std::string::npos);

    const CrashRun overflow = Run("overflow");
    EXPECT_EQ(overflow.signal, SIGSEGV);
    EXPECT_NE(overflow.report.find("crash.test caused a Stack Overflow (0xc00000fd)"), std::string::npos);
    EXPECT_NE(overflow.report.find("[end of ERRORLOG.TXT]"), std::string::npos);
}

TEST_F(CrashingProgramTest, ASentSignalNamesItsSenderNotAnAddress)
{
    const CrashRun run = Run("stop", SIGSEGV);
    EXPECT_EQ(run.signal, SIGSEGV);
    ExpectInOrder(run.report, {"crash.test caused an Unknown exception type (0x40000015)",
                               "Signal 11 sent by process " + std::to_string(::getpid()) + ", user " +
                                   std::to_string(::getuid()) + ".\r\n",
                               "Context:"});
    EXPECT_EQ(run.report.find("caused an access violation"), std::string::npos) << run.report;
}

TEST_F(CrashingProgramTest, UncaughtExceptionReportsOnceThoughAbortFollows)
{
    const CrashRun run = Run("exception");
    EXPECT_EQ(run.signal, SIGABRT);
    EXPECT_NE(run.report.find("crash.test caused a Microsoft C++ Exception (0xe06d7363)"), std::string::npos);
    const size_t first = run.report.find("===== [end of");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(run.report.find("===== [end of", first + 1), std::string::npos);
}

TEST_F(CrashingProgramTest, AReportThatCannotBeCreatedIsOnlyAnnounced)
{
    fs::create_directory(m_folder / "ERRORLOG.TXT");
    const CrashRun run = Run("null");
    EXPECT_EQ(run.signal, SIGSEGV);
    EXPECT_TRUE(fs::is_directory(m_folder / "ERRORLOG.TXT"));
    EXPECT_NE(run.errors.find("Error creating exception report\r\n"), std::string::npos);
}

std::string Format(const char* format, ...)
{
    char out[CrashReportBuffer::kPieceLimit];
    va_list args;
    va_start(args, format);
    const size_t length = CrashReportBuffer::FormatTo(out, sizeof out, format, args);
    va_end(args);
    return std::string(out, length);
}

TEST(CrashReportFormat, MatchesTheConversionsTheReportUses)
{
    EXPECT_EQ(Format("%08x|%02x|%04x", 0xC0000005U, 0x7U, 0x33U), "c0000005|07|0033");
    EXPECT_EQ(Format("%016lx", 0x7ffc1234UL), "000000007ffc1234");
    EXPECT_EQ(Format("%-10ld|%d%%|%d", 1234L, 57, -12), "1234      |57%|-12");
    EXPECT_EQ(Format("%s, run by %s.", "/x/prog", "user"), "/x/prog, run by user.");
    EXPECT_EQ(Format("%02d:%02d", 5, 0), "05:00");
    EXPECT_EQ(Format("%d", -2147483647 - 1), "-2147483648");
    const std::string longText(2000, 'a');
    EXPECT_EQ(Format("%s", longText.c_str()).size(), CrashReportBuffer::kPieceLimit);
}

TEST(CrashReportNames, UnknownCodesHaveTheirOwnText)
{
    EXPECT_STREQ(CrashReport::ExceptionName(0xC0000005), "an Access Violation");
    EXPECT_STREQ(CrashReport::ExceptionName(0xE06D7363), "a Microsoft C++ Exception");
    EXPECT_STREQ(CrashReport::ExceptionName(0x12345678), "an Unknown exception type");
}

} // namespace
