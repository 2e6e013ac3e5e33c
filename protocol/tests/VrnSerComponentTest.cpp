#include <protocol/DeviceLink.h>

#include <kernel/SharedLibrary.h>
#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tvsk::com;

class VrnSerComponentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tvsk_vrnser_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        ::setenv("TARVESKON_REGISTRY", (dir / "registry").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_TRUE(module.Open(VRNSER_COMPONENT)) << module.Error();
    }
    void TearDown() override
    {
        CoUninitialize();
        ::unsetenv("TARVESKON_REGISTRY");
        fs::remove_all(dir);
    }
    HRESULT Call(const char* entry)
    {
        auto function = reinterpret_cast<DllRegisterServerFunction>(module.Symbol(entry));
        return function ? function() : E_FAIL;
    }
    static std::string ListValue(const char* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\Tetherdesk1", 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return "<no key>";
        char text[256] = {};
        DWORD size = sizeof text;
        const LONG rc = RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return rc == ERROR_SUCCESS ? text : "<none>";
    }
    static DWORD ListValueCount()
    {
        HKEY key = nullptr;
        if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\Tetherdesk1", 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return 0;
        DWORD count = 0;
        char name[64];
        for (DWORD length = sizeof name;
             RegEnumValue(key, count, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             length = sizeof name)
            ++count;
        RegCloseKey(key);
        return count;
    }

    fs::path dir;
    CSharedLibrary module;
};

TEST_F(VrnSerComponentTest, RegistrationEntersTheProtocolListOnce)
{
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    EXPECT_EQ(ListValue("ProtDesc9"), "Quen protocol");
    EXPECT_EQ(ListValue("ProtName9"), "VrnSer");
    EXPECT_EQ(ListValue("ProtIntf9"), "VrnSer.VrnSer.1");
    EXPECT_EQ(ListValueCount(), 3u);

    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"VrnSer.VrnSer", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_VrnSer);

    ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(ListValueCount(), 0u);
    EXPECT_NE(CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid), S_OK);
    EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
}

TEST_F(VrnSerComponentTest, ACreatedObjectTakesItsTextsFromTheFileBesideTheComponent)
{
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    ComPtr<IVrnSer> vrnser;
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IVrnSer::Iid,
                               reinterpret_cast<void**>(vrnser.Receive())),
              S_OK);
    ASSERT_EQ(vrnser->put_MsgOn(0), S_OK);
    EXPECT_EQ(vrnser->Init(nullptr), VRNSER_E_NO_SETTINGS);
    BSTR text = nullptr;
    ASSERT_EQ(vrnser->get_ErrorString(&text), S_OK);
    EXPECT_FALSE(Utf8FromBstr(text).empty()) << "VRNSER.ERR lies beside the component";
    SysFreeString(text);

    // Without a port component registered in this store the port cannot open.
    text = BstrFromUtf8("VrnSer:0,200#COM:1,9600,E,8,1");
    EXPECT_EQ(vrnser->Init(text), VRNSER_E_OPEN_FAILED);
    SysFreeString(text);
}
