#include "TempStore.h"

#include <registry/Registry.h>
#include <registry/RegistryFormat.h>
#include <registry/RegistryStore.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace tvsk::registry;

namespace
{

LONG SetDword(const char* keyPath, const std::string& name, DWORD value)
{
    HKEY key = nullptr;
    LONG rc =
        RegCreateKeyEx(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueEx(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return rc;
}

LONG QueryDword(const char* keyPath, const char* name, DWORD& value)
{
    HKEY key = nullptr;
    LONG rc = RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    DWORD size = sizeof value;
    rc = RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    return rc;
}

int WaitForExitCode(pid_t child)
{
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

class RegistryStoreTest : public testing::Test
{
protected:
    TempStore store;
};

TEST_F(RegistryStoreTest, ConcurrentWritersInSeveralProcessesLoseNothing)
{
    constexpr int kWriters = 4;
    constexpr int kValuesEach = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w)
    {
        pid_t child = ::fork();
        if (child == 0)
        {
            for (int i = 0; i < kValuesEach; ++i)
                if (SetDword("Software\\Race", "w" + std::to_string(w) + "_" + std::to_string(i),
                             static_cast<DWORD>(w * 1000 + i)) != ERROR_SUCCESS)
                    ::_exit(1);
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children)
        EXPECT_EQ(WaitForExitCode(child), 0);

    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kValuesEach; ++i)
        {
            const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
            DWORD value = 0;
            ASSERT_EQ(QueryDword("Software\\Race", name.c_str(), value), ERROR_SUCCESS) << name;
            EXPECT_EQ(value, static_cast<DWORD>(w * 1000 + i));
        }
}

TEST_F(RegistryStoreTest, AWriterKilledBeforeTheRenameLeavesTheOldStoreIntact)
{
    ASSERT_EQ(SetDword("Software\\Crash", "Value", 1), ERROR_SUCCESS);
    const std::string before = store.Text();

    pid_t child = ::fork();
    if (child == 0)
    {
        SetBeforeReplaceHook([] { ::raise(SIGKILL); });
        SetDword("Software\\Crash", "Value", 2);
        ::_exit(0);
    }
    EXPECT_EQ(WaitForExitCode(child), 128 + SIGKILL);
    EXPECT_TRUE(std::filesystem::exists(store.path + ".tmp")) << "the child died after writing its temp file";
    EXPECT_EQ(store.Text(), before);

    DWORD value = 0;
    ASSERT_EQ(QueryDword("Software\\Crash", "Value", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(SetDword("Software\\Crash", "Next", 3), ERROR_SUCCESS) << "the dead writer's lock is gone";
    ASSERT_EQ(QueryDword("Software\\Crash", "Value", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
}

TEST_F(RegistryStoreTest, ADamagedStoreIsReportedAndNeverOverwritten)
{
    std::filesystem::create_directories(std::filesystem::path(store.path).parent_path());
    const std::string damaged = "[HKEY_CURRENT_USER\\Software]\n\"Broken\"=dword:12\n";
    std::ofstream(store.path) << damaged;

    DWORD value = 0;
    EXPECT_EQ(QueryDword("Software", "Broken", value), ERROR_BADDB);
    EXPECT_EQ(SetDword("Software", "Other", 1), ERROR_BADDB);
    EXPECT_EQ(store.Text(), damaged);
}

TEST_F(RegistryStoreTest, TheStorePathFollowsTheEnvironment)
{
    EXPECT_EQ(StoreFilePath(), store.path);
    ::unsetenv("TARVESKON_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", store.dir.c_str(), 1);
    EXPECT_EQ(StoreFilePath(), (store.dir / "MurnApps" / "registry").string());
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", store.dir.c_str(), 1);
    EXPECT_EQ(StoreFilePath(), (store.dir / ".config" / "MurnApps" / "registry").string());
    ::setenv("HOME", home.c_str(), 1);
}
