#include "EventLog.h"

#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tvsk::com;

// The component as the build registered it beside the program.
class JyHtml2ComponentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TARVESKON_REGISTRY", TVSK_BIN_DIR "/registry", 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        ::unsetenv("TARVESKON_REGISTRY");
    }
};

TEST_F(JyHtml2ComponentTest, IsCreatedByItsProgIdAndAnswersThroughDispatch)
{
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"JyHtml2.JyHtml2Mng.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_JyHtml2Mng);
    ASSERT_EQ(CLSIDFromProgID(u"JyHtml2.JyHtml2Mng", &clsid), S_OK);
    ComPtr<IJyHtml2Mng> manager;
    ASSERT_EQ(CoCreateInstance(CLSID_JyHtml2Mng, nullptr, CLSCTX_INPROC_SERVER, IJyHtml2Mng::Iid,
                               reinterpret_cast<void**>(manager.Receive())),
              S_OK);

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(manager->Invoke(14, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 0);

    ComPtr<ISupportErrorInfo> errors = manager.As<ISupportErrorInfo>();
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IJyHtml2Mng::Iid), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(JyHtml2ComponentTest, RegistersAsAnInvisibleApartmentControl)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{46607199-AC52-43AB-89B6-AF9082592170}\\MiscStatus\\1",
                           0, KEY_READ, &key),
              ERROR_SUCCESS);
    char value[32] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegQueryValueEx(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(value), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "132497");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "JyHtml2.JyHtml2Mng\\CurVer", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}
