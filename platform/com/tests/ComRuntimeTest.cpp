#include "component/TestComponent.h"

#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace tvsk::com;

class ComRuntimeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("tvsk_com_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        ::setenv("TARVESKON_REGISTRY", (dir / "registry").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        ::unsetenv("TARVESKON_REGISTRY");
        std::filesystem::remove_all(dir);
    }
    // Runs the registration tool as the build does.
    static int RunRegsvr(const std::string& options)
    {
        return std::system((std::string(TVSK_REGSVR) + " " + options + " " + TVSK_TEST_COMPONENT).c_str());
    }

    std::filesystem::path dir;
};

TEST_F(ComRuntimeTest, ARegisteredComponentIsCreatedByProgIdAndUnregisteredAgain)
{
    ASSERT_EQ(RunRegsvr(""), 0);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"TvskComTest.Counter.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestCounter);
    ASSERT_EQ(CLSIDFromProgID(u"TvskComTest.Counter", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestCounter);
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(CLSID_TestCounter, &progId), S_OK);
    EXPECT_EQ(Utf8FromOleString(progId), "TvskComTest.Counter.1");
    CoTaskMemFree(progId);

    ComPtr<ICounter> counter;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, ICounter::Iid,
                               reinterpret_cast<void**>(counter.Receive())),
              S_OK);
    LONG total = 0;
    EXPECT_EQ(counter->Add(3, &total), S_OK);
    EXPECT_EQ(total, 3);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{AFD4D63F-3742-4A8E-9945-1424CCE6F609}\\InprocServer32",
                           0, KEY_READ, &key),
              ERROR_SUCCESS);
    char model[32] = {};
    DWORD size = sizeof model;
    ASSERT_EQ(
        RegQueryValueEx(key, "ThreadingModel", nullptr, nullptr, reinterpret_cast<LPBYTE>(model), &size),
        ERROR_SUCCESS);
    EXPECT_STREQ(model, "Apartment");
    RegCloseKey(key);

    ASSERT_EQ(RunRegsvr("-u"), 0);
    EXPECT_EQ(CLSIDFromProgID(u"TvskComTest.Counter.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, ICounter::Iid,
                               reinterpret_cast<void**>(counter.Receive())),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "TvskComTest.Counter", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RunRegsvr("-u"), 0) << "unregistering twice is no failure";
}

TEST_F(ComRuntimeTest, CurVerLeadsAVersionIndependentProgIdToTheCurrentVersion)
{
    constexpr CLSID newer = MakeGuid("7BAF4A2E-8ECC-452F-8FBE-DB7565607114");
    const auto setDefault = [](const char* path, const std::string& value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyEx(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    };
    setDefault("Thing.Thing\\CLSID", GuidToString(CLSID_TestCounter));
    setDefault("Thing.Thing\\CurVer", "Thing.Thing.2");
    setDefault("Thing.Thing.2\\CLSID", GuidToString(newer));
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"thing.thing", &clsid), S_OK);
    EXPECT_EQ(clsid, newer);
    EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"Nothing.Here", &clsid), CO_E_CLASSSTRING);
}

TEST_F(ComRuntimeTest, CreationNeedsAnInitialisedThreadAndAnInProcessContext)
{
    ASSERT_EQ(RunRegsvr(""), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    IUnknown* outer = reinterpret_cast<IUnknown*>(&object);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CLASS_E_NOAGGREGATION);
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    CoInitialize(nullptr);
}

TEST_F(ComRuntimeTest, AMissingLibraryIsReportedNotCrashed)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT,
                             "CLSID\\{AFD4D63F-3742-4A8E-9945-1424CCE6F609}\\InprocServer32", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string path = (dir / "Missing.so").string();
    RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                  static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CO_E_DLLNOTFOUND);
}
