// One toolkit application for the grid's window tests, with a registry store of its own.
#include <ui/App.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class GridEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        char dir[] = "/tmp/tvsk-grid-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        ::setenv("TARVESKON_REGISTRY", (std::string(dir) + "/registry").c_str(), 1);
        static CWinApp app("GridTests");
        int argc = 0;
        AfxInitToolkit(argc, nullptr);
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GridEnvironment);

} // namespace
