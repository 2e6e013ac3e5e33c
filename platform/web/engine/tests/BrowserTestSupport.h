// A window's side of the browser for the tests: records notifications and waits for them.
#pragma once

#include <web/engine/WebBrowser.h>

#include <QCoreApplication>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <testing/WaitUntil.h>

#include <functional>
#include <string>
#include <vector>

class RecordingWindow : public tvsk::web::BrowserEvents
{
public:
    std::vector<std::string> navigations;
    std::vector<std::string> commands;
    std::vector<std::string> completed;

    std::vector<std::string> posted;

    void BeforeNavigate(const std::string& url, unsigned, const std::string&, const std::string& postData,
                        const std::string& headers, bool& cancel) override
    {
        navigations.push_back(url + (cancel ? " (cancelled)" : ""));
        if (!postData.empty() || !headers.empty())
            posted.push_back(postData + "|" + headers);
    }
    void AppCommand(const std::string& command, const std::string& postData) override
    {
        commands.push_back(postData.empty() ? command : command + "|" + postData);
    }
    void DocumentComplete(const std::string& url) override { completed.push_back(url); }

    // Navigates and waits for the page's document.
    bool Load(tvsk::web::WebBrowser& browser, const std::string& address)
    {
        const size_t before = completed.size();
        browser.Navigate(address);
        return WaitUntil([&] { return completed.size() > before; });
    }
};

// Runs a script in the page and waits for its result.
inline QVariant RunScript(tvsk::web::WebBrowser& browser, const QString& script)
{
    QVariant result;
    bool done = false;
    browser.View()->page()->runJavaScript(script,
                                          [&](const QVariant& value)
                                          {
                                              result = value;
                                              done = true;
                                          });
    WaitUntil([&] { return done; });
    return result;
}
