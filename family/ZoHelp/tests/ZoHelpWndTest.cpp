#include <ZoHelp/ZoHelpWnd.h>

#include <web/engine/WebBrowser.h>

#include <QKeyEvent>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace
{

const tvsk::test::TestApplication g_app("ZoHelpTests", "MurnApps");

const std::string kHelp = TVSK_TEST_DATA_DIR "/Help.chm";

class ZoHelpWndTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(help.Initialize(nullptr, kHelp.c_str())); }

    // The script's result in the shown page, as text.
    QString Script(const QString& script)
    {
        auto result = std::make_shared<std::optional<QString>>();
        help.Browser().Browser()->View()->page()->runJavaScript(script, [result](const QVariant& value)
                                                                { *result = value.toString(); });
        WaitUntil([&] { return result->has_value(); });
        return result->value_or(QString());
    }
    // Waits until the shown page's title is the given one.
    bool ShowsPageTitled(const QString& title)
    {
        return WaitUntil(
            [&]
            {
                return !help.Browser().GetBusy() && help.Browser().GetReadyState() == 4 &&
                       Script("document.title") == title;
            });
    }
    QString LinkTexts() { return Script("Array.from(document.links).map(a => a.textContent).join('|')"); }

    CZoHelpWnd help;
};

TEST_F(ZoHelpWndTest, ATopicShowsItsPageInTheToolWindow)
{
    EXPECT_TRUE(help.isInitialized());
    EXPECT_FALSE(help.GetSafeHwnd()) << "nothing shows before the first request";
    ASSERT_TRUE(help.Topic("wiring"));
    ASSERT_TRUE(ShowsPageTitled("Wiring the drive"));
    EXPECT_TRUE(help.IsWindowVisible());
    EXPECT_TRUE(help.Browser().GetLocationURL().str().ends_with("/Topics/Wiring.htm"));
    CString title;
    help.GetWindowText(title);
    EXPECT_EQ(title, "Wiring the drive");

    ASSERT_TRUE(help.Context(200));
    EXPECT_TRUE(ShowsPageTitled("Alarms & faults")) << "a page whose name holds a blank";

    help.SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(help.IsWindowVisible()) << "closing hides";
    ASSERT_TRUE(help.Topic(""));
    EXPECT_TRUE(ShowsPageTitled("Getting started"));
    EXPECT_TRUE(help.IsWindowVisible());
}

TEST_F(ZoHelpWndTest, IndexAndSearchListLinksThatOpenTheirTopics)
{
    ASSERT_TRUE(help.Index("cab"));
    ASSERT_TRUE(ShowsPageTitled("Index: cab"));
    EXPECT_EQ(LinkTexts(), "Encoder cable");
    Script("document.links[0].click()");
    EXPECT_TRUE(ShowsPageTitled("Wiring the drive"));

    ASSERT_TRUE(help.Search("motor"));
    ASSERT_TRUE(ShowsPageTitled("Search: motor"));
    EXPECT_EQ(LinkTexts(), "Getting started|Wiring the drive|Alarms & faults");
    Script("document.links[2].click()");
    EXPECT_TRUE(ShowsPageTitled("Alarms & faults"));

    ASSERT_TRUE(help.Search("nowhere"));
    ASSERT_TRUE(ShowsPageTitled("Search: nowhere"));
    EXPECT_EQ(LinkTexts(), "");
    EXPECT_EQ(Script("document.body.textContent").contains("No topics found."), true);
}

TEST_F(ZoHelpWndTest, TheWindowsBarSearchesAndListsTheIndex)
{
    ASSERT_TRUE(help.Topic(""));
    ASSERT_NE(help.SearchText().GetSafeHwnd(), nullptr);
    help.SearchText().SetWindowText("motor");
    QTest::mouseClick(help.SearchButton().GetWidget(), Qt::LeftButton);
    ASSERT_TRUE(ShowsPageTitled("Search: motor"));
    EXPECT_EQ(LinkTexts(), "Getting started|Wiring the drive|Alarms & faults");

    help.SearchText().SetWindowText("cab");
    QTest::mouseClick(help.IndexButton().GetWidget(), Qt::LeftButton);
    ASSERT_TRUE(ShowsPageTitled("Index: cab"));
    EXPECT_EQ(LinkTexts(), "Encoder cable");

    help.SearchText().SetWindowText("nowhere");
    help.SearchText().SetFocus();
    QTest::keyClick(help.SearchText().GetWidget(), Qt::Key_Return);
    EXPECT_TRUE(ShowsPageTitled("Search: nowhere")) << "Enter searches";

    CRect bar;
    help.SearchButton().GetWindowRect(&bar);
    CRect page;
    help.Browser().GetWindowRect(&page);
    EXPECT_LE(bar.bottom, page.top) << "the bar lies above the topic";
}

TEST_F(ZoHelpWndTest, RequestsTheFileCannotAnswerFail)
{
    EXPECT_FALSE(help.Topic("Nothing"));
    EXPECT_FALSE(help.Context(999));
    EXPECT_FALSE(help.GetSafeHwnd()) << "a failed request shows nothing";

    char pattern[] = "/tmp/zohelp-wnd-test-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::filesystem::copy_file(kHelp, dir + "/Help.chm", std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(help.SetHelpFile((dir + "/Help.chm").c_str()));
    EXPECT_FALSE(help.Topic("Start")) << "the topic's page is missing";
    EXPECT_TRUE(help.Index("")) << "the index needs only the file";

    ASSERT_TRUE(help.SetHelpFile((dir + "/Missing.chm").c_str()));
    EXPECT_EQ(help.HelpFile(), (dir + "/Missing.chm").c_str());
    EXPECT_FALSE(help.Topic(""));
    EXPECT_FALSE(help.Index(""));
    EXPECT_FALSE(help.Search("motor"));
    EXPECT_FALSE(help.Context(100));
    std::filesystem::remove_all(dir);

    ASSERT_TRUE(help.SetHelpFile(kHelp.c_str()));
    EXPECT_TRUE(help.Topic("Start")) << "the file given again is read again";
    help.setInitialized(FALSE);
    EXPECT_FALSE(help.isInitialized());
}

} // namespace
