// A temporary registry store and the program's strings for the manager tests.
#include <Tarveskon/TvskStrings.h>

#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

class ManagerEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        char dir[] = "/tmp/tvsk-manager-registry-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
        ::setenv("TARVESKON_REGISTRY", (m_dir + "/registry").c_str(), 1);
        CProfile::Instance().SetRegistryKey("MurnApps");
        CProfile::Instance().SetAppName("Tarveskon");
        RegisterTvskStrings();
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

private:
    std::string m_dir;
};

const auto* const g_environment = testing::AddGlobalTestEnvironment(new ManagerEnvironment);

} // namespace
