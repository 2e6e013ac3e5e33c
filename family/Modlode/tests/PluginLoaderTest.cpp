// The loader through real modules: the test plug-in built twice, and a module without the exports.
#include <Modlode/PluginLoaderProxy.h>

#include <TestPluginJournal.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace journal = tvsk::testplugin;

using Lines = std::vector<std::string>;

class PluginLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override { journal::ResetAll(); }
    void TearDown() override { journal::ResetAll(); }
};

TEST_F(PluginLoaderTest, ModuleAskedForTwiceIsOneModule)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* first = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(proxy.CreateLoader("TvskTestPlugin.dll"), first);
    EXPECT_EQ(proxy.GetLoaderCount(), 1u);
    EXPECT_EQ(first->GetPluginName(), "TvskTestPlugin");

    CPluginLoaderProxy other; // another host window loads its own
    CPluginLoader* second = other.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
}

TEST_F(PluginLoaderTest, EmptyNullOrOwnClassNameGivesTheModulesObject)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(loader, nullptr);
    for (const char* name :
         {static_cast<const char*>(nullptr), "", "TvskTestPluginClass", "TvskTestPlugin.dllClass"})
    {
        CPluginImpl* object = loader->CreatePluginClass(name);
        ASSERT_NE(object, nullptr) << (name ? name : "(null)");
        EXPECT_STREQ(object->GetClassName(), "TvskTestPluginClass");
    }
    EXPECT_EQ(loader->CreatePluginClass("TvskOscClass"), nullptr);
    // Each request makes a new object; the refused one is gone again.
    EXPECT_EQ(journal::Lines(),
              (Lines{"TvskTestPlugin create", "TvskTestPlugin create", "TvskTestPlugin create",
                     "TvskTestPlugin create", "TvskTestPlugin create", "TvskTestPlugin delete"}));
}

TEST_F(PluginLoaderTest, ObjectsDieBeforeTheirModuleUnloadsAtReset)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(loader, nullptr);
    ASSERT_NE(loader->CreatePluginClass("TvskTestPluginClass"), nullptr);
    ASSERT_NE(loader->CreatePluginClass(""), nullptr);
    journal::Clear();
    proxy.Reset();
    EXPECT_EQ(journal::Lines(),
              (Lines{"TvskTestPlugin delete", "TvskTestPlugin delete", "TvskTestPlugin unload"}));
    EXPECT_EQ(proxy.GetLoaderCount(), 0u);

    // The module loads afresh after a reset.
    CPluginLoader* again = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(again, nullptr);
    ASSERT_NE(again->CreatePluginClass(nullptr), nullptr);
}

TEST_F(PluginLoaderTest, ProxyDestructionReleasesEveryModuleAfterItsObjects)
{
    {
        CPluginLoaderProxy proxy;
        ASSERT_NE(proxy.CreateLoader("TvskTestPlugin.dll")->CreatePluginClass(nullptr), nullptr);
        ASSERT_NE(proxy.CreateLoader("TvskTestPlugin2.dll")->CreatePluginClass(nullptr), nullptr);
        journal::Clear();
    }
    const Lines lines = journal::Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (const std::string module : {"TvskTestPlugin", "TvskTestPlugin2"})
    {
        const auto deleted = std::find(lines.begin(), lines.end(), module + " delete");
        const auto unloaded = std::find(lines.begin(), lines.end(), module + " unload");
        ASSERT_NE(deleted, lines.end());
        ASSERT_NE(unloaded, lines.end());
        EXPECT_LT(deleted, unloaded);
    }
}

TEST_F(PluginLoaderTest, LoaderDeletedByItsUserLeavesItsProxy)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* help = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(help, nullptr);
    ASSERT_NE(help->CreatePluginClass(""), nullptr);
    ASSERT_NE(proxy.CreateLoader("TvskTestPlugin2.dll"), nullptr);
    delete help; // as the main dialog does with the help loader at File Close
    EXPECT_EQ(proxy.GetLoaderCount(), 1u);
    journal::Clear();
    proxy.Reset(); // frees only what is left
    EXPECT_EQ(journal::Lines(), (Lines{"TvskTestPlugin2 unload"}));
}

TEST_F(PluginLoaderTest, Broadcast25ReachesEveryObjectOfEveryModule)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* first = proxy.CreateLoader("TvskTestPlugin.dll");
    CPluginLoader* second = proxy.CreateLoader("TvskTestPlugin2.dll");
    ASSERT_TRUE(first && second);
    ASSERT_NE(first->CreatePluginClass(nullptr), nullptr);
    ASSERT_NE(first->CreatePluginClass(nullptr), nullptr);
    ASSERT_NE(second->CreatePluginClass(nullptr), nullptr);
    EXPECT_EQ(proxy.SendBroadcastCommand(25, 0, 0), 3);
    const auto commands = journal::Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].module, "TvskTestPlugin");
    EXPECT_EQ(commands[1].module, "TvskTestPlugin");
    EXPECT_EQ(commands[2].module, "TvskTestPlugin2");
    for (const auto& command : commands)
    {
        EXPECT_EQ(command.code, 25u);
        EXPECT_EQ(command.param1, 0);
        EXPECT_EQ(command.param2, 0);
    }
}

TEST_F(PluginLoaderTest, MissingOrUnsafeOrForeignModulesGiveNull)
{
    CPluginLoaderProxy proxy;
    EXPECT_EQ(proxy.CreateLoader("TvskMissing.dll"), nullptr);
    EXPECT_EQ(proxy.CreateLoader("TvskNotAPlugin.dll"), nullptr);
    EXPECT_EQ(proxy.CreateLoader("TvskTestPlugin"), nullptr);
    EXPECT_EQ(proxy.CreateLoader("../tests/TvskTestPlugin.dll"), nullptr);
    EXPECT_EQ(proxy.CreateLoader(nullptr), nullptr);
    EXPECT_EQ(proxy.GetLoaderCount(), 0u);
}

TEST_F(PluginLoaderTest, RefusedModuleLeavesTheReason)
{
    CPluginLoaderProxy proxy;
    EXPECT_EQ(proxy.CreateLoader("TvskMissing.dll"), nullptr);
    EXPECT_NE(proxy.GetLastError().find("TvskMissing.so"), std::string::npos) << proxy.GetLastError();
    EXPECT_EQ(proxy.CreateLoader("TvskNotAPlugin.dll"), nullptr);
    EXPECT_NE(proxy.GetLastError().find("CreatePluginClass"), std::string::npos) << proxy.GetLastError();
    EXPECT_EQ(proxy.CreateLoader("../TvskTestPlugin.dll"), nullptr);
    EXPECT_NE(proxy.GetLastError().find(".dll"), std::string::npos);
    ASSERT_NE(proxy.CreateLoader("TvskTestPlugin.dll"), nullptr);
    EXPECT_EQ(proxy.GetLastError(), "");
}

TEST_F(PluginLoaderTest, TestModuleAnswersTheResultQueryAndMakesNoObjectAsTold)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = proxy.CreateLoader("TvskTestPlugin.dll");
    ASSERT_NE(loader, nullptr);
    CPluginImpl* object = loader->CreatePluginClass(nullptr);
    ASSERT_NE(object, nullptr);
    int changed = -1;
    EXPECT_EQ(object->SendCommand(8, reinterpret_cast<intptr_t>(&changed), 0), 0);
    EXPECT_EQ(changed, 0);
    journal::SetResultQueryAnswer(1);
    EXPECT_EQ(object->SendCommand(8, reinterpret_cast<intptr_t>(&changed), 0), 0);
    EXPECT_EQ(changed, 1);
    const char* page = "/data/TK20/ITA/Motor.htm";
    object->SendCommand(4, reinterpret_cast<intptr_t>(page), 0);
    EXPECT_EQ(journal::Commands().back().text, page);

    journal::SetMakesNoObject(true);
    EXPECT_EQ(loader->CreatePluginClass(nullptr), nullptr);
}
