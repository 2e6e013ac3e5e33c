#include <gtest/gtest.h>

#include <csignal>
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

} // namespace
