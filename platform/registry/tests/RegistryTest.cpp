#include "TempStore.h"

#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace
{

HKEY Create(HKEY parent, const char* path, DWORD* disposition = nullptr)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                             disposition),
              ERROR_SUCCESS);
    return key;
}

LONG SetString(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

LONG SetDword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::string QueryString(HKEY key, const char* name)
{
    char buf[256] = {};
    DWORD type = 0, size = sizeof buf;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buf), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "<missing>";
    return buf;
}

} // namespace

class RegistryTest : public testing::Test
{
protected:
    TempStore store;
};

TEST_F(RegistryTest, ValuesOfEachTypeSurviveAReloadFromTheFile)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\MurnApps\\Tarveskon\\Settings");
    ASSERT_EQ(SetString(key, "HomePage", "Main \"page\"\\x\n"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "LangID", 0x80000410u), ERROR_SUCCESS);
    const BYTE blob[] = {0, 1, 0xFE, 0xFF};
    ASSERT_EQ(RegSetValueEx(key, "Placement", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, nullptr, "default"), ERROR_SUCCESS);
    RegCloseKey(key);

    // A child process starts with an empty cache and reads only the file.
    pid_t child = ::fork();
    if (child == 0)
    {
        HKEY k = nullptr;
        bool ok = RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\MurnApps\\Tarveskon\\Settings", 0, KEY_READ,
                               &k) == ERROR_SUCCESS;
        ok = ok && QueryString(k, "HomePage") == "Main \"page\"\\x\n" && QueryString(k, "") == "default";
        DWORD type = 0, dword = 0, size = sizeof dword;
        ok = ok && RegQueryValueEx(k, "LangID", nullptr, &type, reinterpret_cast<LPBYTE>(&dword), &size) ==
                       ERROR_SUCCESS;
        ok = ok && type == REG_DWORD && dword == 0x80000410u && size == 4;
        BYTE bytes[8] = {};
        size = sizeof bytes;
        ok = ok && RegQueryValueEx(k, "Placement", nullptr, &type, bytes, &size) == ERROR_SUCCESS;
        ok = ok && type == REG_BINARY && size == 4 && std::memcmp(bytes, blob, 4) == 0;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RegistryTest, KeyAndValueNamesCompareWithoutCase)
{
    HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\Tetherdesk1");
    ASSERT_EQ(SetString(key, "ProtName9", "VrnSer"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "PROTNAME9", "Replaced"), ERROR_SUCCESS);
    RegCloseKey(key);

    DWORD disposition = 0;
    HKEY again = Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\murnapps\\TETHERDESK1", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(QueryString(again, "protname9"), "Replaced");
    char name[32];
    DWORD length = sizeof name;
    ASSERT_EQ(RegEnumValue(again, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "ProtName9") << "the first spelling is kept";
    EXPECT_EQ(RegEnumValue(again, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(again);
}

TEST_F(RegistryTest, MissingKeysAndValuesAreReportedAsNotFound)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{none}", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    DWORD disposition = 0;
    key = Create(HKEY_CLASSES_ROOT, "CLSID\\{new}\\InprocServer32", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "ThreadingModel", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValue(key, "ThreadingModel"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueryGivesTheSizeAndRefusesATooSmallBuffer)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\X");
    ASSERT_EQ(SetString(key, "Text", "hello"), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueEx(key, "Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u) << "the size counts the terminating zero";
    char small[5] = {};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(key, "Text", nullptr, &type, reinterpret_cast<LPBYTE>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::string(small, 5), std::string(5, '\0')) << "nothing is written on failure";
    RegCloseKey(key);
}

TEST_F(RegistryTest, BadArgumentsAndHandlesAreRefused)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\X");
    const DWORD value = 1;
    EXPECT_EQ(RegSetValueEx(key, "D", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 2),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "Q", 0, 11, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueEx(key, "N", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
    const std::string tooLong(256, 'k');
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyEx(key, tooLong.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
    EXPECT_EQ(SetDword(key, "After", 1), ERROR_INVALID_HANDLE) << "a closed handle";
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\X", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(readOnly, "W", 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyEx(readOnly, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_ACCESS_DENIED);
    RegCloseKey(readOnly);
}

TEST_F(RegistryTest, SubkeysEnumerateByNameAndValuesInTheOrderSet)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Enum");
    for (const char* name : {"beta", "Alpha", "gamma"})
        RegCloseKey(Create(key, name));
    for (const char* name : {"z", "a", "M"})
        ASSERT_EQ(SetDword(key, name, 7), ERROR_SUCCESS);

    std::vector<std::string> keys;
    char name[64];
    DWORD length = 0;
    LONG rc;
    for (DWORD i = 0; (length = sizeof name, rc = RegEnumKeyEx(key, i, name, &length, nullptr, nullptr,
                                                               nullptr, nullptr)) == ERROR_SUCCESS;
         ++i)
    {
        EXPECT_EQ(length, std::strlen(name));
        keys.emplace_back(name);
    }
    EXPECT_EQ(rc, ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "beta", "gamma"}));

    std::vector<std::string> values;
    for (DWORD i = 0; (length = sizeof name, rc = RegEnumValue(key, i, name, &length, nullptr, nullptr,
                                                               nullptr, nullptr)) == ERROR_SUCCESS;
         ++i)
        values.emplace_back(name);
    EXPECT_EQ(rc, ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(values, (std::vector<std::string>{"z", "a", "M"}));

    length = 5;
    EXPECT_EQ(RegEnumKeyEx(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA)
        << "\"Alpha\" needs 6 characters with its terminator";
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeysAndLeavesOldHandlesDeleted)
{
    HKEY parent = Create(HKEY_CLASSES_ROOT, "Lanyard.Lanyard");
    HKEY child = Create(parent, "CurVer");
    ASSERT_EQ(SetString(child, nullptr, "Lanyard.Lanyard.1"), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "Lanyard.Lanyard"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(parent, "Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(parent, "curver"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(child, nullptr), "<missing>");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(child, nullptr, nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "Lanyard.Lanyard"), ERROR_SUCCESS);
    RegCloseKey(child);
    RegCloseKey(parent);

    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Lanyard.Lanyard", 0, KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AReaderSeesWhatAnotherProcessCommitted)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Shared");
    ASSERT_EQ(SetString(key, "Who", "parent"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, "Who"), "parent");

    pid_t child = ::fork();
    if (child == 0)
    {
        HKEY k = nullptr;
        bool ok =
            RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS &&
            SetString(k, "Who", "child") == ERROR_SUCCESS;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(QueryString(key, "Who"), "child");
    RegCloseKey(key);
}

TEST_F(RegistryTest, TheStoreIsOneReadableTextFile)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\MurnApps");
    ASSERT_EQ(SetDword(key, "Count", 42), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string text = store.Text();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\MurnApps]\n\"Count\"=dword:0000002a\n"),
              std::string::npos)
        << text;
}
