#include "TempStore.h"

#include <registry/Registry.h>
#include <registry/RegistryFormat.h>
#include <registry/RegistryStore.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <iterator>
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
    EXPECT_EQ(StoreFilePath(StorePart::User), store.path);
    EXPECT_EQ(StoreFilePath(StorePart::Machine), store.path) << "one file for both parts";
    ::unsetenv("TARVESKON_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", store.dir.c_str(), 1);
    ::setenv("TARVESKON_PROGRAM_DIR", (store.dir / "bin").c_str(), 1);
    EXPECT_EQ(StoreFilePath(StorePart::User), (store.dir / "MurnApps" / "registry").string());
    EXPECT_EQ(StoreFilePath(StorePart::Machine), StoreFilePath(StorePart::User)) << "none beside the program";
    std::filesystem::create_directories(store.dir / "bin");
    std::ofstream(store.dir / "bin" / "registry").flush();
    EXPECT_EQ(StoreFilePath(StorePart::Machine), (store.dir / "bin" / "registry").string());
    ::unsetenv("TARVESKON_PROGRAM_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", store.dir.c_str(), 1);
    EXPECT_EQ(StoreFilePath(StorePart::User), (store.dir / ".config" / "MurnApps" / "registry").string());
    ::setenv("HOME", home.c_str(), 1);
}

namespace fs = std::filesystem;

fs::perms Mode(const fs::path& path)
{
    return fs::status(path).permissions() & fs::perms::all;
}

// An installation beside store.dir/bin and users whose configuration folders lie in store.dir.
class RegistryPartsTest : public RegistryStoreTest
{
protected:
    void SetUp() override
    {
        ::unsetenv("TARVESKON_REGISTRY");
        fs::create_directories(store.dir / "bin");
        machine = store.dir / "bin" / "registry";
        std::ofstream(machine).flush();
        ::setenv("TARVESKON_PROGRAM_DIR", (store.dir / "bin").c_str(), 1);
        BecomeUser("first");
    }
    void TearDown() override
    {
        ::unsetenv("TARVESKON_PROGRAM_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void BecomeUser(const std::string& name) { ::setenv("XDG_CONFIG_HOME", (store.dir / name).c_str(), 1); }
    fs::path UserStore(const std::string& name) const { return store.dir / name / "MurnApps" / "registry"; }
    static LONG SetText(HKEY root, const char* keyPath, const char* text)
    {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyEx(root, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (rc != ERROR_SUCCESS)
            return rc;
        rc = RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           static_cast<DWORD>(std::strlen(text) + 1));
        RegCloseKey(key);
        return rc;
    }
    static std::string Text(const fs::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path machine;
};

TEST_F(RegistryPartsTest, RegistrationsGoBesideTheProgramForEveryoneAndSettingsToTheUsersOwnFolder)
{
    ASSERT_EQ(SetText(HKEY_CLASSES_ROOT, "Tvsk.Part\\CLSID", "{1}"), ERROR_SUCCESS);
    ASSERT_EQ(SetText(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\Tetherdesk1", "list"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword("Software\\MurnApps\\Tarveskon\\Settings", "LangID", 1), ERROR_SUCCESS);

    EXPECT_NE(Text(machine).find("Tvsk.Part"), std::string::npos);
    EXPECT_NE(Text(machine).find("Tetherdesk1"), std::string::npos);
    EXPECT_EQ(Text(machine).find("LangID"), std::string::npos) << "no user's setting in the shared part";
    EXPECT_EQ(Mode(machine), fs::perms(0644)) << "every user reads the registrations";
    EXPECT_NE(Text(UserStore("first")).find("LangID"), std::string::npos);
    EXPECT_EQ(Text(UserStore("first")).find("Tvsk.Part"), std::string::npos);
    EXPECT_EQ(Mode(UserStore("first")), fs::perms(0600));
    EXPECT_EQ(Mode(UserStore("first").parent_path()), fs::perms(0700));

    BecomeUser("second");
    DWORD value = 0;
    EXPECT_EQ(QueryDword("Software\\MurnApps\\Tarveskon\\Settings", "LangID", value), ERROR_FILE_NOT_FOUND)
        << "one user's settings never reach another's";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Tvsk.Part\\CLSID", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(fs::exists(UserStore("second"))) << "reading makes nothing";
}

TEST_F(RegistryPartsTest, TheFirstStartMakesTheUsersStoreAndAnOlderPrivateSharedPartIsOpenedUp)
{
    ASSERT_EQ(CreateUserStore(), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_regular_file(UserStore("first")));
    EXPECT_EQ(Mode(UserStore("first")), fs::perms(0600));
    EXPECT_EQ(Mode(UserStore("first").parent_path()), fs::perms(0700));
    ASSERT_EQ(SetDword("Software", "Kept", 7), ERROR_SUCCESS);
    ASSERT_EQ(CreateUserStore(), ERROR_SUCCESS);
    DWORD value = 0;
    ASSERT_EQ(QueryDword("Software", "Kept", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 7u) << "a second start keeps the store";

    ASSERT_EQ(SetText(HKEY_CLASSES_ROOT, "Tvsk.Part", "x"), ERROR_SUCCESS);
    fs::permissions(machine, fs::perms(0600));
    ASSERT_EQ(SetText(HKEY_CLASSES_ROOT, "Tvsk.Part", "x"), ERROR_SUCCESS) << "the same registration again";
    EXPECT_EQ(Mode(machine), fs::perms(0644));
}
