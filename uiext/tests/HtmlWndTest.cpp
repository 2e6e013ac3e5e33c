#include <uiext/TvskHtmlWndImpl.h>

#include <web/DomObjects.h>
#include <web/engine/PageSchemes.h>

#include <QApplication>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

using namespace tvsk::com;

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

    std::vector<std::string> posted;
    std::vector<std::string> bars;

    void OnBeforeNavigate2(CString, DWORD, CString, CByteArray& postData, CString, BOOL*) override
    {
        postBytes = static_cast<int>(postData.GetSize());
    }
    void OnBeforeNavigate2(CString url, DWORD flags, CString targetFrame, CString postData, CString headers,
                           BOOL* cancel) override
    {
        lastFlags = flags;
        lastTarget = targetFrame.str();
        navigations.push_back(url.str() + (*cancel ? " (cancelled)" : ""));
        if (!postData.IsEmpty() || !headers.IsEmpty())
            posted.push_back(postData.str() + "|" + headers.str());
    }
    void OnAppCmd(CString command, CString postData) override
    {
        commands.push_back(postData.IsEmpty() ? command.str() : command.str() + "|" + postData.str());
    }
    void OnToolBar(BOOL shown) override { bars.push_back(shown ? "tool on" : "tool off"); }
    void OnStatusBar(BOOL shown) override { bars.push_back(shown ? "status on" : "status off"); }
    int postBytes = -1;
    void OnDocumentComplete(CString url) override { documents.push_back(url.str()); }
    void OnShowMessage(HWND, CString text, CString, DWORD type, CString, DWORD, long* result) override
    {
        messages.push_back(text.str());
        messageTypes.push_back(type);
        *result = answer;
    }
    std::vector<DWORD> messageTypes;
    long answer = IDOK;

    // The browser's own notifications, one text each.
    std::vector<std::string> events;
    BOOL cancelNewWindow = FALSE;
    DWORD lastFlags = 0;
    std::string lastTarget;
    void OnShowHelp(HWND, CString, UINT, DWORD, CPoint, IDispatch*) override { events.push_back("help"); }
    void OnCommandStateChange(long command, BOOL enable) override
    {
        events.push_back((command == CSC_NAVIGATEBACK ? "back " : "forward ") +
                         std::string(enable ? "on" : "off"));
    }
    void OnPropertyChange(CString property) override { events.push_back("property " + property.str()); }
    void OnVisible(BOOL visible) override { events.push_back(visible ? "visible" : "hidden"); }
    void OnNewWindow2(IDispatch** browser, BOOL* cancel) override
    {
        events.push_back(*browser ? "new window with browser" : "new window");
        *cancel = cancelNewWindow;
    }
    void OnWindowClosing(BOOL child, BOOL* cancel) override
    {
        events.push_back(child ? "closing child" : "closing");
        *cancel = TRUE;
    }
    void OnQuit() override { events.push_back("quit"); }
    void OnSetSecureLockIcon(long icon) override { events.push_back("lock " + std::to_string(icon)); }
    void OnFileDownload(BOOL* cancel) override
    {
        events.push_back("download");
        *cancel = TRUE;
    }
    std::string Events() const
    {
        std::string all;
        for (const std::string& event : events)
            all += event + "; ";
        return all;
    }
    bool Heard(const std::string& event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
};

class HtmlWndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0));
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
        page.Browser()->View()->page()->runJavaScript(script, [result](const QVariant& v)
                                                      { *result = v.toString(); });
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

TEST_F(HtmlWndTest, GeometryAndReadyStateFollowTheBrowserWindowAndTheLoad)
{
    EXPECT_EQ(page.GetReadyState(), 0) << "nothing loaded yet";
    EXPECT_EQ(page.GetType(), CString());
    EXPECT_EQ(page.GetHeight(), 480);
    EXPECT_EQ(page.GetTop(), 0);
    page.SetTop(20);
    page.SetLeft(10);
    page.SetHeight(200);
    EXPECT_EQ(page.GetTop(), 20);
    EXPECT_EQ(page.GetLeft(), 10);
    EXPECT_EQ(page.GetHeight(), 200);

    page.Navigate(TVSK_TEST_DATA_DIR "/page.htm");
    ASSERT_TRUE(WaitUntil([&] { return !page.documents.empty(); }));
    EXPECT_EQ(page.GetReadyState(), 4);
    EXPECT_EQ(page.GetType(), CString("HTML Document"));
    EXPECT_FALSE(page.GetFullName().IsEmpty());
    EXPECT_EQ(page.GetParentBrowser(), nullptr);
    EXPECT_EQ(page.GetContainer(), nullptr);
    EXPECT_TRUE(page.GetTopLevelContainer());
    EXPECT_EQ(page.GetApplication(), nullptr) << "no external object set";
}

TEST_F(HtmlWndTest, ThePropertyStoreKeepsNamedValuesOfEveryForm)
{
    CString text;
    EXPECT_FALSE(page.GetProperty("missing", text));
    EXPECT_EQ(page.GetProperty("missing").vt, VT_EMPTY);
    page.PutProperty("long", 70000L);
    page.PutProperty("short", static_cast<short>(7));
    page.PutProperty("text", "sette");
    page.PutProperty("real", 2.5);
    page.PutProperty("variant", MakeVariantI4(-4));
    ASSERT_TRUE(page.GetProperty("long", text));
    EXPECT_EQ(text, CString("70000"));
    EXPECT_EQ(page.GetProperty("long").vt, VT_UI4);
    EXPECT_EQ(page.GetProperty("short").vt, VT_UI2);
    ASSERT_TRUE(page.GetProperty("text", text));
    EXPECT_EQ(text, CString("sette"));
    VARIANT real = page.GetProperty("real");
    EXPECT_EQ(real.vt, VT_R8);
    EXPECT_DOUBLE_EQ(real.dblVal, 2.5);
    EXPECT_EQ(page.GetProperty("variant").lVal, -4);
    EXPECT_FALSE(page.GetProperty("Text", text)) << "names keep their case";
    page.PutProperty("text", "otto");
    ASSERT_TRUE(page.GetProperty("text", text));
    EXPECT_EQ(text, CString("otto"));
}

TEST_F(HtmlWndTest, PostDataAndHeadersReachThePageServerAndTheNotifications)
{
    std::vector<tvsk::web::PageRequest> requests;
    tvsk::web::PageSchemeHandler::Instance().SetRequestObserver([&](const tvsk::web::PageRequest& request)
                                                                { requests.push_back(request); });
    const char body[] = "speed=12&mode=2";
    page.Navigate(TVSK_TEST_DATA_DIR "/page.htm", 0, nullptr, "X-Drive: TK40\r\n", const_cast<char*>(body),
                  0);
    EXPECT_TRUE(WaitUntil([&] { return !page.documents.empty(); }));
    tvsk::web::PageSchemeHandler::Instance().SetRequestObserver(nullptr);
    ASSERT_FALSE(requests.empty());
    EXPECT_TRUE(requests.front().url.path().endsWith("/page.htm"));
    EXPECT_EQ(requests.front().method, "POST");
    EXPECT_EQ(requests.front().body, body);
    EXPECT_EQ(requests.front().headers.value("X-Drive"), "TK40");
    EXPECT_FALSE(requests.front().headers.contains(tvsk::web::kPostBodyHeader));
    ASSERT_EQ(page.posted.size(), 1u);
    EXPECT_EQ(page.posted.front(), std::string(body) + "|X-Drive: TK40\r\n");
    EXPECT_EQ(page.postBytes, static_cast<int>(sizeof body - 1));

    CByteArray bytes;
    for (char c : std::string("a=1"))
        bytes.Add(static_cast<BYTE>(c));
    page.Navigate2("app:Save", 0, bytes);
    ASSERT_TRUE(WaitUntil([&] { return !page.commands.empty(); }));
    EXPECT_EQ(page.commands.front(), "Save|a=1");
}

TEST_F(HtmlWndTest, BarsAndModesAreKeptDropsFollowTheirSwitchAndCommandsAreOffered)
{
    page.SetToolBar(1);
    page.SetStatusBar(TRUE);
    page.SetStatusBar(FALSE);
    EXPECT_EQ(page.GetToolBar(), 1);
    EXPECT_FALSE(page.GetStatusBar());
    EXPECT_EQ(page.bars, (std::vector<std::string>{"tool on", "status on", "status off"}));
    page.SetTheaterMode(TRUE);
    page.SetFullScreen(TRUE);
    page.SetRegisterAsBrowser(TRUE);
    EXPECT_TRUE(page.GetTheaterMode() && page.GetFullScreen() && page.GetRegisterAsBrowser());

    page.SetRegisterAsDropTarget(FALSE);
    EXPECT_FALSE(page.GetRegisterAsDropTarget());
    EXPECT_FALSE(page.Browser()->View()->acceptDrops());
    page.SetRegisterAsDropTarget(TRUE);
    EXPECT_TRUE(page.Browser()->View()->acceptDrops());

    for (OLECMDID command : {OLECMDID_PRINT, OLECMDID_CUT, OLECMDID_COPY, OLECMDID_PASTE, OLECMDID_SELECTALL,
                             OLECMDID_ZOOM, OLECMDID_REFRESH, OLECMDID_STOP})
        EXPECT_EQ(page.QueryStatusWB(command), OLECMDF_SUPPORTED | OLECMDF_ENABLED) << command;
    EXPECT_EQ(page.QueryStatusWB(OLECMDID(2)), 0);
    VARIANT in = MakeVariantI4(3), out;
    VariantInit(&out);
    page.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, &out);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 3);
    EXPECT_EQ(page.GetFontSize(), 3);

    ASSERT_TRUE(Load("page.htm"));
    page.ExecWB(OLECMDID_SELECTALL, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !Script("window.getSelection().toString()").isEmpty(); }));
    const size_t before = page.documents.size();
    page.Refresh2(REFRESH_COMPLETELY);
    EXPECT_TRUE(WaitUntil([&] { return page.documents.size() > before; }));
}

namespace
{

// Every message of a page reaches the window: an alert as a warning, a confirm as a question whose
// answer goes back to the page.
TEST_F(HtmlWndTest, AlertsAndConfirmsAreTheWindowsMessages)
{
    ASSERT_TRUE(Load("page.htm"));
    Script("alert('Fatto')");
    ASSERT_TRUE(WaitUntil([&] { return page.messages.size() == 1; }));
    EXPECT_EQ(page.messageTypes.back(), static_cast<DWORD>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Script("confirm('Salvo?')"), "true");
    ASSERT_EQ(page.messages.size(), 2u);
    EXPECT_EQ(page.messages.back(), "Salvo?");
    EXPECT_EQ(page.messageTypes.back(), static_cast<DWORD>(MB_OKCANCEL | MB_ICONQUESTION));
    page.answer = IDCANCEL;
    EXPECT_EQ(Script("confirm('Salvo?')"), "false");
}

TEST_F(HtmlWndTest, TheHelpKeyReachesOnShowHelpWithCustomHelpOnly)
{
    ASSERT_TRUE(Load("page.htm"));
    const QString helpKey =
        "document.dispatchEvent(new KeyboardEvent('keydown', {keyCode: 112, bubbles: true}))";
    Script(helpKey);
    Script("document.title");
    QTest::qWait(200);
    EXPECT_FALSE(page.Heard("help")) << "the browser's own help";
    page.UseCustomHelp(TRUE);
    Script(helpKey);
    EXPECT_TRUE(WaitUntil([&] { return page.Heard("help"); }));
}

TEST_F(HtmlWndTest, HistoryPropertiesVisibilityAndTheLockAreReported)
{
    ASSERT_TRUE(Load("page.htm"));
    EXPECT_TRUE(page.Heard("lock 0")) << "a page from a file is not secure";
    EXPECT_FALSE(page.Heard("back on"));
    ASSERT_TRUE(Load("page2.htm"));
    ASSERT_TRUE(WaitUntil([&] { return page.Heard("back on"); })) << page.Events();
    page.GoBack();
    EXPECT_TRUE(WaitUntil([&] { return page.Heard("back off") && page.Heard("forward on"); }))
        << page.Events();
    page.PutProperty("mode", 2L);
    EXPECT_TRUE(page.Heard("property mode"));
    page.SetVisible(FALSE);
    page.SetVisible(TRUE);
    EXPECT_TRUE(page.Heard("hidden") && page.Heard("visible"));
    page.DestroyWindow();
    EXPECT_TRUE(page.Heard("quit"));
}

TEST_F(HtmlWndTest, APagesWindowRequestsAreAskedFirst)
{
    ASSERT_TRUE(Load("page.htm"));
    Script("window.close()");
    EXPECT_TRUE(WaitUntil([&] { return page.Heard("closing"); }));
    EXPECT_FALSE(page.Heard("quit")) << "cancelled";

    page.cancelNewWindow = TRUE;
    Script("window.open('page2.htm')");
    ASSERT_TRUE(WaitUntil([&] { return page.Heard("new window"); }));
    QTest::qWait(300);
    EXPECT_EQ(page.GetLocationName(), "Page") << "refused: nothing opens";
    page.cancelNewWindow = FALSE;
    const size_t before = page.documents.size();
    page.Navigate(TVSK_TEST_DATA_DIR "/page2.htm", navOpenInNewWindow);
    ASSERT_TRUE(WaitUntil([&] { return page.documents.size() > before; }));
    EXPECT_EQ(page.GetLocationName(), "Page two") << "the program's one window shows it";

    const std::string download = (std::filesystem::temp_directory_path() / "htmlwnd-download.bin").string();
    std::ofstream(download, std::ios::binary) << std::string("\x01\x02\x00\x03", 4);
    page.Navigate(download.c_str());
    EXPECT_TRUE(WaitUntil([&] { return page.Heard("download"); }));
    std::filesystem::remove(download);
}

TEST_F(HtmlWndTest, NavigateTakesItsFlagsAndTargetFrame)
{
    ASSERT_TRUE(Load("frames.htm"));
    ASSERT_TRUE(WaitUntil([&] { return Script("window.frames['right'].document.title") == "Page two"; }));
    page.Navigate(TVSK_TEST_DATA_DIR "/page.htm", navNoReadFromCache, "right");
    ASSERT_TRUE(WaitUntil([&] { return Script("window.frames['right'].document.title") == "Page"; }));
    EXPECT_EQ(page.lastTarget, "right");
    EXPECT_EQ(page.lastFlags, static_cast<DWORD>(navNoReadFromCache));
    EXPECT_EQ(page.GetLocationName(), "Frames") << "the page itself stays";
    EXPECT_FALSE(page.Heard("new window"));
    page.Navigate(TVSK_TEST_DATA_DIR "/page2.htm", 0, "nowhere");
    EXPECT_TRUE(WaitUntil([&] { return page.Heard("new window"); })) << "no frame of that name";
}

TEST_F(HtmlWndTest, TheDocumentsCommandsNeedADocument)
{
    const auto sourceWindows = []
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* view = qobject_cast<QWebEngineView*>(widget);
                view && view->url().scheme() == "view-source")
                ++count;
        return count;
    };
    page.ExecCmdTarget(HTMLID_VIEWSOURCE);
    EXPECT_EQ(sourceWindows(), 0) << "no document yet";
    ASSERT_TRUE(Load("page.htm"));
    page.ExecCmdTarget(HTMLID_VIEWSOURCE);
    EXPECT_TRUE(WaitUntil([&] { return sourceWindows() == 1; }));
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<QWebEngineView*>(widget); view && view->url().scheme() == "view-source")
            view->close();
}

} // namespace
