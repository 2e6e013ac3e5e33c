// One application for every browser test, ended before the process exits.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace
{

class BrowserEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "browser_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

const auto* const g_environment = testing::AddGlobalTestEnvironment(new BrowserEnvironment);

} // namespace
