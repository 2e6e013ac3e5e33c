#include <uiext/TvskHtmlWndImpl.h>

#include <web/DomObjects.h>

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("HtmlWndTests", "MurnApps");

// A page window as the program's windows are: it overrides the navigation notifications.
class PageWnd : public CTvskHtmlWndImpl
{
public:
    std::vector<std::string> navigations;
    std::vector<std::string> commands;
    std::vector<std::string> documents;
    std::vector<std::string> messages;

    void OnBeforeNavigate2(CString url, DWORD, CString, CString, CString, BOOL* cancel) override
    {
        navigations.push_back(url.str() + (*cancel ? " (cancelled)" : ""));
    }
    void OnAppCmd(CString command, CString) override { commands.push_back(command.str()); }
    void OnDocumentComplete(CString url) override { documents.push_back(url.str()); }
    void OnShowMessage(HWND, CString text, CString, DWORD, CString, DWORD, long* result) override
    {
        messages.push_back(text.str());
        *result = IDOK;
    }
};

class HtmlWndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0));
        EXPECT_FALSE(page.SetExternal(nullptr)) << "no external object before the window exists";
        ASSERT_TRUE(page.Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), &parent, 100));
    }
    bool Load(const std::string& file)
    {
        const size_t before = page.documents.size();
        page.Navigate((TVSK_TEST_DATA_DIR "/" + file).c_str());
        return WaitUntil([&] { return page.documents.size() > before; });
    }
    QString Script(const QString& script)
    {
        auto result = std::make_shared<std::optional<QString>>();
        page.Browser()->View()->page()->runJavaScript(script, [result](const QVariant& v) { *result = v.toString(); });
        WaitUntil([&] { return result->has_value(); });
        return result->value_or(QString());
    }

    CWnd parent;
    PageWnd page;
};

} // namespace

TEST_F(HtmlWndTest, APageWindowHasItsContextMenuMessagesAndNoScrollBars)
{
    EXPECT_EQ(page.GetUI_Flags(), DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(page.GetUserAgent(), "CHtmlWnd 1.0");
    EXPECT_EQ(page.GetFontSize(), 2) << "the engine starts at the middle size";
    page.SetFontSize(7);
    EXPECT_EQ(page.GetFontSize(), 4);
    page.SetFontSize(-3);
    EXPECT_EQ(page.GetFontSize(), 0);
}

TEST_F(HtmlWndTest, DocumentCompleteComesWithTheDocumentAndKeepsTheFontSize)
{
    page.SetFontSize(4);
    ASSERT_TRUE(Load("page.htm"));
    EXPECT_EQ(page.documents.back(), "file://" TVSK_TEST_DATA_DIR "/page.htm");
    EXPECT_EQ(page.navigations.front(), "file://" TVSK_TEST_DATA_DIR "/page.htm");
    IDispatch* document = page.GetHtmlDocument();
    ASSERT_NE(document, nullptr);
    ComPtr<IDispatch> held = ComPtr<IDispatch>::Adopt(document);
    ASSERT_TRUE(held.As<IDomDocument>());
    EXPECT_NE(held.As<IDomDocument>()->Document()->FindFirst("INPUT"), nullptr);

    Script("document.getElementById('next').click()");
    ASSERT_TRUE(WaitUntil([&] { return page.documents.size() == 2; }));
    EXPECT_EQ(page.GetFontSize(), 4);
    EXPECT_EQ(page.GetLocationName(), "Page two");
}

TEST_F(HtmlWndTest, AppAddressesGoToTheWindowAndAreCancelled)
{
    ASSERT_TRUE(Load("page.htm"));
    Script("document.getElementById('cmd').click()");
    ASSERT_TRUE(WaitUntil([&] { return !page.commands.empty(); }));
    EXPECT_EQ(page.commands.front(), "ReadAll");
    EXPECT_EQ(page.navigations.back(), "app:ReadAll (cancelled)");
    Script("alert('Fatto')");
    ASSERT_TRUE(WaitUntil([&] { return !page.messages.empty(); }));
    EXPECT_EQ(page.messages.front(), "Fatto");
}

TEST(HtmlWndTextTest, CharCodesAreDecodedWithinTheText)
{
    EXPECT_EQ(CHtmlWnd::ProcessCharCodes("50%25%20done"), "50% done");
    const std::string longText(100000, 'a');
    EXPECT_EQ(CHtmlWnd::ProcessCharCodes((longText + "%41").c_str()).GetLength(), 100001);
    EXPECT_EQ(CHtmlWnd::CharTokenToChar("%41"), 'A');
}
