#include "KernelHelper.h"

#include <kernel/System.h>

#include <filesystem>

using namespace kerneltest;

class ProcessTest : public NamespaceTest
{
};

TEST_F(ProcessTest, ProcessHandleIsSignalledAtExitWithTheExitCode)
{
    PROCESS_INFORMATION child = StartHelper("exit 7 100");
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(child.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(ExitCodeAfterEnd(child.hProcess), 7u);
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), WAIT_OBJECT_0);
    CloseHandle(child.hProcess);
}

TEST_F(ProcessTest, ACommandLineStartsTheProgramBesideTheRunningOneIgnoringCase)
{
    const std::string directory = std::filesystem::path(KERNEL_TEST_HELPER).parent_path().string();
    setenv("TARVESKON_PROGRAM_DIR", directory.c_str(), 1);
    PROCESS_INFORMATION info;
    ASSERT_TRUE(CreateProcess(nullptr, "KERNEL_TEST_HELPER exit 5 0", nullptr, nullptr, FALSE,
                              NORMAL_PRIORITY_CLASS, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(ExitCodeAfterEnd(info.hProcess), 5u);
    CloseHandle(info.hProcess);
    EXPECT_GT(WinExec("kernel_test_helper exit 0 0", SW_SHOWMINIMIZED), 31u);

    EXPECT_FALSE(CreateProcess(nullptr, "NOSUCHPROGRAM 1", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    unsetenv("TARVESKON_PROGRAM_DIR");
}

TEST_F(ProcessTest, AProgramNotBesideTheRunningOneIsFoundOnThePath)
{
    const std::string directory = std::filesystem::path(KERNEL_TEST_HELPER).parent_path().string();
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("TARVESKON_PROGRAM_DIR", "/nonexistent", 1);
    setenv("PATH", ("/nonexistent::" + directory).c_str(), 1);
    PROCESS_INFORMATION info;
    const BOOL started = CreateProcess(nullptr, "kernel_test_helper exit 4 0", nullptr, nullptr, FALSE, 0,
                                       nullptr, nullptr, nullptr, &info);
    // On the path the name is matched exactly.
    EXPECT_EQ(WinExec("KERNEL_TEST_HELPER exit 0 0", SW_SHOWNORMAL), 2u);
    setenv("PATH", savedPath.c_str(), 1);
    unsetenv("TARVESKON_PROGRAM_DIR");
    ASSERT_TRUE(started);
    EXPECT_EQ(ExitCodeAfterEnd(info.hProcess), 4u);
    CloseHandle(info.hProcess);
}

TEST_F(ProcessTest, OpenProcessGivesAWaitableHandleOfARunningProcess)
{
    PROCESS_INFORMATION child = StartHelper("exit 0 100");
    HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, child.dwProcessId);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
    CloseHandle(opened);
    CloseHandle(child.hProcess);
    EXPECT_EQ(GetCurrentProcessId(), DWORD(getpid()));
}

TEST_F(ProcessTest, TerminateProcessEndsTheOpenedProcessOnlyWhileItRuns)
{
    PROCESS_INFORMATION child = StartHelper("exit 0 60000");
    HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, child.dwProcessId);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(TerminateProcess(opened, 1));
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeAfterEnd(child.hProcess), 128u + SIGKILL);
    CloseHandle(child.hProcess); // reaped: the identifier is free for reuse now
    EXPECT_FALSE(TerminateProcess(opened, 1));
    CloseHandle(opened);
    EXPECT_FALSE(TerminateProcess(nullptr, 1));
}

TEST(SystemTest, ComputerNameReportsTheSizeItNeeds)
{
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = 1;
    EXPECT_FALSE(GetComputerName(name, &size));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BUFFER_OVERFLOW));
    ASSERT_GE(size, 2u);
    DWORD enough = sizeof name;
    ASSERT_TRUE(GetComputerName(name, &enough));
    EXPECT_EQ(enough + 1, size);
    EXPECT_LE(enough, MAX_COMPUTERNAME_LENGTH);
}

TEST(SystemTest, WindowsDirectoryIsTheConfigurationFolder)
{
    const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/tvsk-config/", 1);
    char folder[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectory(folder, 5), 26u) << "the size it needs";
    EXPECT_EQ(GetWindowsDirectory(folder, sizeof folder), 25u);
    EXPECT_STREQ(folder, "/tmp/tvsk-config/MurnApps");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    ASSERT_GT(GetWindowsDirectory(folder, sizeof folder), 0u);
    EXPECT_STREQ(folder, (std::string(std::getenv("HOME")) + "/.config/MurnApps").c_str());
    if (saved.empty())
        unsetenv("XDG_CONFIG_HOME");
    else
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(SystemTest, TempFileNamesAreCreatedUnique)
{
    char directory[MAX_PATH];
    ASSERT_GT(GetTempPath(MAX_PATH, directory), 0u);
    char first[MAX_PATH];
    char second[MAX_PATH];
    ASSERT_NE(GetTempFileName(directory, "tvskabc", 0, first), 0u);
    ASSERT_NE(GetTempFileName(directory, "tvskabc", 0, second), 0u);
    EXPECT_STRNE(first, second);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_NE(std::string(first).find("/tvs"), std::string::npos);
    std::filesystem::remove(first);
    std::filesystem::remove(second);
}

TEST(TimeTest, TickCountAdvancesOverASleep)
{
    const DWORD start = GetTickCount();
    Sleep(30);
    EXPECT_GE(GetTickCount() - start, 29u);
}
