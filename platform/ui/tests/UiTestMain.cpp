// One toolkit application for every window test.
#include <ui/App.h>

#include <gtest/gtest.h>

namespace {

class UiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static CWinApp app("UiTests");
        int argc = 0;
        AfxInitToolkit(argc, nullptr);
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

} // namespace
