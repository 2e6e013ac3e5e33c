// One toolkit application for the window tests, with a registry store of its own.
#include <ui/App.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
class UiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        char dir[] = "/tmp/tvsk-plcui-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        ::setenv("TARVESKON_REGISTRY", (std::string(dir) + "/registry").c_str(), 1);
        static CWinApp app("PlcObjUiTests");
        int argc = 0;
        AfxInitToolkit(argc, nullptr);
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);
} // namespace
