// One application for the browser window tests, ended before the process exits.
#include <ui/App.h>

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{

class BrowserWindowEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        char dir[] = "/tmp/tvsk-htmlwnd-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        ::setenv("TARVESKON_REGISTRY", (std::string(dir) + "/registry").c_str(), 1);
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        static CWinApp app("HtmlWndTests");
        app.SetRegistryKey("MurnApps");
        AfxInitToolkit(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "uiext_browser";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const auto* const g_environment = testing::AddGlobalTestEnvironment(new BrowserWindowEnvironment);

} // namespace
