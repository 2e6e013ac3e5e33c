// The run target: what building only "tarveskon_run" runs (the build tool's own graph) makes
// every module a page names and every class the program and its plug-ins create, and each of
// them loads from the program's folder through the real loader and the real component layer.
#include <Modlode/PluginLoaderProxy.h>
#include <com/ComRuntime.h>
#include <com/Guid.h>
#include <com/Bstr.h>
#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// Every class the program, its plug-ins, components and scripts create by ProgID or class id.
const char* const kCreatedClasses[] = {
    "VrnSer.VrnSer.1",          // the protocol, by the program and the plug-ins
    "Lanyard.Lanyard.1",        // the serial port, by the protocol
    "Lanyard.Lanyard2.1",       // the port's second interface, by the protocol
    "JyHtml2.JyHtml2Mng.1",     // the page binding, by the program's and the pager's page windows
    "ZoGraph4.ZoGraphCtl4.1",   // the graph control, by the oscilloscope and the cam editor
    "ZoScripter.ZoScriptMng.1", // the script host, by the drive type's script
    "VBScript",                 // the script engine, by the script host
};

// Programs the program starts beside itself.
const char* const kServers[] = {"Porthaven", "Fonwick"};

// What the build tool runs to build the run target alone: every command of its dependency graph.
std::vector<std::string> RunTargetCommands()
{
    std::vector<std::string> commands;
    const std::string command = std::string("\"") + TVSK_NINJA + "\" -C \"" + TVSK_BUILD_DIR +
                                "\" -t commands tarveskon_run 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return commands;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe))
    {
        if (c != '\n')
        {
            line += static_cast<char>(c);
            continue;
        }
        commands.push_back(line);
        line.clear();
    }
    ::pclose(pipe);
    return commands;
}

std::string BuildRelative(const fs::path& file)
{
    return fs::relative(file, TVSK_BUILD_DIR).generic_string();
}

// The module names of every "PLUGIN#<module>[_<page>]" in the sample data, and the help module.
std::set<std::string> PageModules()
{
    std::set<std::string> modules{"TvskHelp"};
    const std::regex link("PLUGIN#([A-Za-z0-9]+)");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(TVSK_SAMPLE_DATA_DIR))
    {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string content = text.str();
        for (auto it = std::sregex_iterator(content.begin(), content.end(), link);
             it != std::sregex_iterator(); ++it)
            modules.insert((*it)[1]);
    }
    return modules;
}

std::string InprocServer(const char* progId)
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(tvsk::com::Utf16FromUtf8(progId).c_str(), &clsid)))
        return "(no class for the ProgID)";
    const std::string key = "CLSID\\" + tvsk::com::GuidToString(clsid) + "\\InprocServer32";
    HKEY server = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &server) != ERROR_SUCCESS)
        return "(no key " + key + ")";
    DWORD type = REG_NONE;
    DWORD size = 0;
    std::string path;
    if (RegQueryValueEx(server, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ)
    {
        path.resize(size);
        if (RegQueryValueEx(server, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path.data()), &size) !=
            ERROR_SUCCESS)
            path.clear();
        path.resize(size ? size - 1 : 0);
    }
    RegCloseKey(server);
    return path;
}

class RunTargetTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_commands = new std::vector<std::string>(RunTargetCommands());
        // The registrations building the target wrote, in this run's own store.
        fs::copy_file(fs::path(TVSK_BIN_DIR) / "registry", std::getenv("TARVESKON_REGISTRY"),
                      fs::copy_options::overwrite_existing);
        CoInitialize(nullptr);
    }
    static void TearDownTestSuite()
    {
        CoUninitialize();
        delete s_commands;
        s_commands = nullptr;
    }
    void SetUp() override
    {
        if (std::string(TVSK_GENERATOR) != "Ninja")
            GTEST_SKIP() << "the graph is read from Ninja";
        ASSERT_FALSE(s_commands->empty()) << "no dependency graph from " << TVSK_NINJA;
    }
    // A command of the graph makes the file; for a component the same command registers it.
    static bool Built(const fs::path& file, bool registered = false)
    {
        const std::string output = "-o " + BuildRelative(file) + " ";
        for (const std::string& command : *s_commands)
            if ((command + " ").find(output) != std::string::npos &&
                (!registered || command.find("tvsk_regsvr") != std::string::npos))
                return true;
        return false;
    }

    static std::vector<std::string>* s_commands;
};

std::vector<std::string>* RunTargetTest::s_commands = nullptr;

TEST_F(RunTargetTest, EveryPageModuleIsBuiltByTheTargetAndLoadsThroughTheLoader)
{
    const std::set<std::string> modules = PageModules();
    for (const char* expected :
         {"TvskPager", "TvskLumoPlc", "TvskCamEditor", "TvskOsc", "TvskDownload", "TvskCustomDb"})
        EXPECT_EQ(modules.count(expected), 1u) << expected << " is named by no page";
    CPluginLoaderProxy loaders;
    for (const std::string& module : modules)
    {
        SCOPED_TRACE(module);
        EXPECT_TRUE(Built(fs::path(TVSK_BIN_DIR) / (module + ".so"))) << "not built by tarveskon_run";
        CPluginLoader* loader = loaders.CreateLoader((module + ".dll").c_str());
        ASSERT_NE(loader, nullptr) << loaders.GetLastError();
        EXPECT_NE(loader->CreatePluginClass(nullptr), nullptr) << "the module makes no object";
        EXPECT_FALSE(loader->GetPluginName().empty());
    }
}

TEST_F(RunTargetTest, EveryCreatedClassIsRegisteredBuiltByTheTargetAndMade)
{
    for (const char* progId : kCreatedClasses)
    {
        SCOPED_TRACE(progId);
        const std::string server = InprocServer(progId);
        ASSERT_EQ(server.rfind('/', 0), 0u) << "not registered in " << TVSK_BIN_DIR << "/registry " << server;
        EXPECT_EQ(fs::path(server).parent_path(), fs::path(TVSK_BIN_DIR)) << server;
        EXPECT_TRUE(Built(server, true)) << server << " is not built and registered by tarveskon_run";
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(tvsk::com::Utf16FromUtf8(progId).c_str(), &clsid), S_OK);
        IUnknown* object = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IUnknown::Iid,
                                   reinterpret_cast<void**>(&object)),
                  S_OK);
        object->Release();
    }
}

TEST_F(RunTargetTest, TheServersTheProgramStartsAreBuiltByTheTarget)
{
    for (const char* server : kServers)
        EXPECT_TRUE(Built(fs::path(TVSK_BIN_DIR) / server)) << server;
    EXPECT_TRUE(Built(fs::path(TVSK_BIN_DIR) / "Tarveskon"));
}

} // namespace
