// The main of every Qt test program: folders of its own for the run, the offscreen toolkit, the
// application object the program names, GoogleTest.
#include <testing/TestApplication.h>

#include <ui/App.h>

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

struct ApplicationName
{
    std::string appName;
    std::string registryKey;
};

ApplicationName& Named()
{
    static ApplicationName name;
    return name;
}

// The registry store and the configuration, data and cache folders of one run, removed after it.
class RunFolders
{
public:
    RunFolders()
    {
        std::string pattern = (fs::temp_directory_path() / "tvsk-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
        {
            std::perror("cannot make the test folder");
            std::exit(2);
        }
        m_root = pattern;
        ::setenv("TARVESKON_REGISTRY", (m_root / "registry").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_root / "data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (m_root / "cache").c_str(), 1);
    }
    ~RunFolders()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    RunFolders(const RunFolders&) = delete;
    RunFolders& operator=(const RunFolders&) = delete;

private:
    fs::path m_root;
};

} // namespace

namespace tvsk::test
{

TestApplication::TestApplication(const char* appName, const char* registryKey)
{
    Named() = {appName ? appName : "", registryKey ? registryKey : ""};
}

} // namespace tvsk::test

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const RunFolders folders;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    int result = 0;
    {
        QApplication toolkit(argc, argv);
        AfxInitToolkit(argc, argv);
        std::unique_ptr<CWinApp> app;
        if (!Named().appName.empty())
        {
            app = std::make_unique<CWinApp>(Named().appName.c_str());
            if (!Named().registryKey.empty())
                app->SetRegistryKey(Named().registryKey.c_str());
        }
        result = RUN_ALL_TESTS();
    }
    return result;
}
