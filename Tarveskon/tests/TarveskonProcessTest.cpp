#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

// The built program, started offscreen from another folder with a registry store of its own.
TEST(TarveskonProcessTest, RunsOnTheSampleDataWithoutProgramErrors)
{
    char pattern[] = "/tmp/tvsk-process-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::filesystem::copy_file(TVSK_BIN_DIR "/registry", dir + "/registry");
    const std::string errors = dir + "/stderr.txt";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        ::setenv("TARVESKON_REGISTRY", (dir + "/registry").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        if (::chdir(dir.c_str()) != 0 || !std::freopen(errors.c_str(), "w", stderr))
            ::_exit(126);
        ::execl(TVSK_BIN_DIR "/Tarveskon", "Tarveskon", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 150 && !ended; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ended = ::waitpid(child, &status, WNOHANG) == child;
    }
    EXPECT_FALSE(ended) << "the program ended within 15 s, status " << status;
    if (!ended)
    {
        ::kill(child, SIGTERM);
        ::waitpid(child, &status, 0);
    }
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().find("ProgramError"), std::string::npos) << text.str();
    std::filesystem::remove_all(dir);
}

struct Ended
{
    int status = 0;
    std::string errors;
};

// The built program with the given platform settings (null: unset), waited for up to 20 s.
Ended RunWithPlatform(const char* platform, const char* display)
{
    char pattern[] = "/tmp/tvsk-display-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::filesystem::copy_file(TVSK_BIN_DIR "/registry", dir + "/registry");
    const std::string errors = dir + "/stderr.txt";
    const pid_t child = ::fork();
    if (child == 0)
    {
        ::setenv("TARVESKON_REGISTRY", (dir + "/registry").c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("WAYLAND_SOCKET");
        platform ? ::setenv("QT_QPA_PLATFORM", platform, 1) : ::unsetenv("QT_QPA_PLATFORM");
        display ? ::setenv("DISPLAY", display, 1) : ::unsetenv("DISPLAY");
        if (!std::freopen(errors.c_str(), "w", stderr))
            ::_exit(126);
        ::execl(TVSK_BIN_DIR "/Tarveskon", "Tarveskon", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    Ended ended;
    bool done = false;
    for (int i = 0; i < 600 && !done; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        done = ::waitpid(child, &ended.status, WNOHANG) == child;
    }
    if (!done)
    {
        ::kill(child, SIGKILL);
        ::waitpid(child, &ended.status, 0);
    }
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    ended.errors = text.str();
    std::filesystem::remove_all(dir);
    return ended;
}

constexpr const char* kNeedsDisplay = "Tarveskon needs a display: start it on a desktop, or set "
                                      "QT_QPA_PLATFORM=offscreen or vnc for headless use\n";

// Ended by exit(1), not by a signal: the crash reporter writes its report only on a signal.
TEST(TarveskonProcessTest, WithoutADisplayItSaysSoInOneLineAndEndsWith1)
{
    const Ended noDisplay = RunWithPlatform(nullptr, nullptr);
    ASSERT_TRUE(WIFEXITED(noDisplay.status)) << noDisplay.status << " " << noDisplay.errors;
    EXPECT_EQ(WEXITSTATUS(noDisplay.status), 1);
    EXPECT_EQ(noDisplay.errors, kNeedsDisplay);

    const Ended xcbWithout = RunWithPlatform("xcb", nullptr);
    ASSERT_TRUE(WIFEXITED(xcbWithout.status)) << xcbWithout.status;
    EXPECT_EQ(WEXITSTATUS(xcbWithout.status), 1);
    EXPECT_EQ(xcbWithout.errors, kNeedsDisplay);
}

TEST(TarveskonProcessTest, ADisplayThatDoesNotAnswerEndsWith1WithoutACrash)
{
    const Ended ended = RunWithPlatform("xcb", ":4711");
    ASSERT_TRUE(WIFEXITED(ended.status)) << "status " << ended.status << ": " << ended.errors;
    EXPECT_EQ(WEXITSTATUS(ended.status), 1);
    ASSERT_GE(ended.errors.size(), std::strlen(kNeedsDisplay));
    EXPECT_EQ(ended.errors.substr(ended.errors.size() - std::strlen(kNeedsDisplay)), kNeedsDisplay)
        << ended.errors;
}

} // namespace
