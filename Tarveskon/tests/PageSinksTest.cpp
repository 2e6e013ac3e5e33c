// The page sinks on parsed pages: what each element id sends to which window.
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/TvskHtmlEvent.h>
#include <Tarveskon/TvskMessages.h>

#include <htmlbind/JyHtml2Mng.h>

#include <com/ComModule.h>
#include <com/ConnectionAdvise.h>
#include <testing/TestApplication.h>
#include <ui/App.h>
#include <ui/HelpInfo.h>
#include <ui/Wnd.h>
#include <web/DomUserInput.h>
#include <web/HtmlPage.h>

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const tvsk::test::TestApplication g_app("PageSinks", "MurnApps");

// A window that records the messages it receives; texts are copied while they live.
class RecordingWnd : public CWnd
{
public:
    struct Message
    {
        UINT message;
        WPARAM wParam;
        std::string text;
        std::string page; // PLUGIN_CALL page, "<null>" when none
    };

    RecordingWnd() { CreateEx(0, nullptr, "recorder", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~RecordingWnd() override { DestroyWindow(); }

    std::vector<Message> messages;
    std::vector<short> selectValues;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Message m{message, wParam, {}, {}};
        switch (message)
        {
        case WM_HTML_COMMAND:
        case WM_HTML_PAGE:
        case WM_HTML_HELP:
        case WM_HTML_EXE:
        case WM_HTML_TAGCOMMAND:
        case WM_ELEMENT_OVER:
        case WM_ELEMENT_OUT:
            m.text = lParam ? reinterpret_cast<const char*>(lParam) : "<null>";
            break;
        case WM_HTML_PLUGIN:
        {
            const auto* call = reinterpret_cast<const PLUGIN_CALL*>(lParam);
            m.text = call->pszName;
            m.page = call->pszArg ? call->pszArg : "<null>";
            break;
        }
        case WM_HTML_SELCHANGE:
        case WM_HTML_RADIOCHANGE:
        {
            const auto* change = reinterpret_cast<const HTML_SELCHANGE*>(lParam);
            m.text = std::string(change->pszName) + "=" + (change->pszValue ? change->pszValue : "<null>");
            break;
        }
        case WM_SELECT_LANGUAGE:
        case WM_COMMAND:
        case WM_HELP:
            m.text = std::to_string(static_cast<long>(lParam));
            break;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
        messages.push_back(m);
        return 0;
    }
};

class RecordingPage : public CTvskHtmlPage
{
public:
    void SelectChange(const char* name, std::optional<short> value) override
    {
        changes.push_back(std::string(name) + "=" + (value ? std::to_string(*value) : "none"));
    }
    void TextEnter(const char* name) override { entered.push_back(name); }
    std::vector<std::string> changes;
    std::vector<std::string> entered;
};

const char* const kPage = "<input type=button name='CMD#12' value=a>"
                          "<input type=button name='CMD#7Go' value=l>"
                          "<input type=button name='CMD#1' value=k>"
                          "<input type=button name='CMD#ReadAll' value=b>"
                          "<input type=button name='PLUGIN#TvskOsc' value=c>"
                          "<input type=button name='PLUGIN#TvskPager_Page1' value=d>"
                          "<input type=button name='PLUGIN#TvskOsc_A_B' value=e>"
                          "<input type=button name='PAGE#Next' value=f>"
                          "<input type=button name='HELP#Topic' value=g>"
                          "<input type=button name='EXE#ls' value=h>"
                          "<input type=button name='BtnStartWiz' value=i>"
                          "<input type=button name='cmd#lower' value=j>"
                          "<select name=SELLANGUAGE><option value=0>it<option value=1>en</select>"
                          "<select name=Pr31><option value=1>one<option value=70000>big<option value=2.5>half"
                          "<option value=x>text</select>"
                          "<input type=radio name=idD6 value=1><input type=radio name=idD6 value=0>"
                          "<a name=MRU0 href='#'>file</a>";

template <class Sink> class SinkTest : public testing::Test
{
protected:
    SinkTest()
    {
        tvsk::com::CreateObject<CJyHtml2Mng>(IJyHtml2Mng::Iid, reinterpret_cast<void**>(manager.Receive()));
        EXPECT_TRUE(AfxConnectionAdvise(manager.Get(), DIID__IJyHtml2MngEvents, &sink, FALSE, &cookie));
        dom = page.get();
        document = tvsk::web::NewDocumentObject(std::move(page));
        EXPECT_EQ(manager->put_HtmlDocument(document.Get()), S_OK);
        AfxGetApp()->m_pMainWnd = &dialog;
    }
    ~SinkTest() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        manager->RemoveAllControls();
        AfxConnectionUnadvise(manager.Get(), DIID__IJyHtml2MngEvents, &sink, FALSE, cookie);
    }
    tvsk::web::DomElement& Element(const std::string& name, int nth = 0)
    {
        for (size_t i = 0; i < dom->ElementCount(); ++i)
            if (dom->ElementAt(i)->Name() == name && nth-- == 0)
                return *dom->ElementAt(i);
        throw std::runtime_error("no element " + name);
    }
    void Click(const std::string& name)
    {
        user.Click(Element(name));
        QTest::qWait(1); // posted messages
    }
    static std::vector<std::string> Texts(const RecordingWnd& wnd, UINT message)
    {
        std::vector<std::string> texts;
        for (const auto& m : wnd.messages)
            if (m.message == message)
                texts.push_back(m.text);
        return texts;
    }

    std::unique_ptr<tvsk::web::DomDocument> page = tvsk::web::ParseHtmlPage(kPage, "mem:");
    tvsk::web::DomDocument* dom = nullptr;
    ComPtr<IDomDocument> document;
    ComPtr<IJyHtml2Mng> manager;
    Sink sink;
    DWORD cookie = 0;
    RecordingWnd window;
    RecordingWnd dialog;
    tvsk::web::DomUserInput user;
};

using MainSinkTest = SinkTest<CTvskHtmlEvent>;
using DriveSinkTest = SinkTest<CDriveHtmlEvent>;
using MotorSinkTest = SinkTest<CMotorHtmlEvent>;

TEST_F(MainSinkTest, EventsBeforeArmingDoNothing)
{
    Click("CMD#ReadAll");
    user.Choose(Element("Pr31"), "1");
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainSinkTest, PrefixesAtTheStartSendTheRestToTheMainDialog)
{
    sink.Arm(manager.Get(), &window);
    Click("CMD#12");
    Click("PAGE#Next");
    Click("HELP#Topic");
    Click("EXE#ls");
    Click("cmd#lower");
    EXPECT_EQ(Texts(dialog, WM_HTML_COMMAND), (std::vector<std::string>{"12"}))
        << "the word goes to the command table; prefixes are case-sensitive";
    EXPECT_EQ(Texts(dialog, WM_HTML_PAGE), (std::vector<std::string>{"Next"}));
    EXPECT_EQ(Texts(dialog, WM_HTML_HELP), (std::vector<std::string>{"Topic"}));
    EXPECT_EQ(Texts(dialog, WM_HTML_EXE), (std::vector<std::string>{"ls"}));
}

TEST_F(MainSinkTest, PluginIdsNameAPageOnlyWithExactlyTwoParts)
{
    sink.Arm(manager.Get(), &window);
    Click("PLUGIN#TvskOsc");
    Click("PLUGIN#TvskPager_Page1");
    Click("PLUGIN#TvskOsc_A_B");
    ASSERT_EQ(dialog.messages.size(), 3u);
    EXPECT_EQ(dialog.messages[0].text, "TvskOsc");
    EXPECT_EQ(dialog.messages[0].page, "<null>");
    EXPECT_EQ(dialog.messages[1].text, "TvskPager");
    EXPECT_EQ(dialog.messages[1].page, "Page1");
    EXPECT_EQ(dialog.messages[2].text, "TvskOsc");
    EXPECT_EQ(dialog.messages[2].page, "<null>");
}

TEST_F(MainSinkTest, StartWizardAndLanguageArePostedWithoutCase)
{
    sink.Arm(manager.Get(), &window);
    Click("BtnStartWiz");
    user.Choose(Element("SELLANGUAGE"), "1");
    QTest::qWait(1);
    ASSERT_EQ(dialog.messages.size(), 2u);
    EXPECT_EQ(dialog.messages[0].message, WM_COMMAND);
    EXPECT_EQ(dialog.messages[0].wParam, ID_START_WIZARD);
    EXPECT_EQ(dialog.messages[1].message, WM_SELECT_LANGUAGE);
    EXPECT_EQ(dialog.messages[1].text, "1");
}

TEST_F(MainSinkTest, OnlyWholeSixteenBitSelectValuesReachThePage)
{
    RecordingPage pageWindow;
    sink.SetPage(&pageWindow);
    sink.Arm(manager.Get(), &window);
    for (const char* value : {"1", "70000", "2.5", "x"})
        user.Choose(Element("Pr31"), value);
    EXPECT_EQ(pageWindow.changes,
              (std::vector<std::string>{"Pr31=1", "Pr31=none", "Pr31=none", "Pr31=none"}));
}

TEST_F(MainSinkTest, OverOutAndAnchorsGoWhereTheyBelong)
{
    sink.Arm(manager.Get(), &window);
    user.MouseOver(Element("CMD#ReadAll"));
    user.MouseOut(Element("CMD#ReadAll"));
    Click("MRU0");
    EXPECT_EQ(Texts(window, WM_ELEMENT_OVER).front(), "CMD#ReadAll");
    EXPECT_EQ(Texts(window, WM_ELEMENT_OUT).front(), "CMD#ReadAll");
    EXPECT_EQ(Texts(dialog, WM_HTML_TAGCOMMAND), (std::vector<std::string>{"MRU0"}));
}

TEST_F(DriveSinkTest, NumericCommandsArePostedWordsSent)
{
    sink.Arm(manager.Get(), &window, &dialog);
    Click("CMD#12");
    Click("CMD#ReadAll");
    Click("PLUGIN#TvskOsc");
    Click("CMD#7Go");
    ASSERT_EQ(dialog.messages.size(), 3u) << "no plug-ins on the drive page";
    EXPECT_EQ(dialog.messages[0].message, WM_COMMAND);
    EXPECT_EQ(dialog.messages[0].wParam, 12u);
    EXPECT_EQ(dialog.messages[1].message, WM_HTML_COMMAND);
    EXPECT_EQ(dialog.messages[1].text, "ReadAll");
    EXPECT_EQ(dialog.messages[2].message, WM_COMMAND) << "a rest beginning with a digit is numeric";
    EXPECT_EQ(dialog.messages[2].wParam, 7u);
}

TEST_F(DriveSinkTest, SelectChangesAndHelpGoToThePageWindow)
{
    sink.Arm(manager.Get(), &window, &dialog);
    user.Choose(Element("Pr31"), "2.5");
    user.Help(*dom, nullptr);
    EXPECT_EQ(Texts(window, WM_HTML_SELCHANGE), (std::vector<std::string>{"Pr31=2.5"}));
    EXPECT_EQ(Texts(window, WM_HELP).size(), 1u);
}

TEST_F(MotorSinkTest, PluginsRadiosAndNumericCommands)
{
    sink.Arm(manager.Get(), &window, &dialog);
    Click("PLUGIN#TvskOsc_A_B");
    Click("CMD#1");
    user.Click(Element("idD6", 1));
    QTest::qWait(1);
    ASSERT_EQ(dialog.messages.size(), 2u);
    EXPECT_EQ(dialog.messages[0].message, WM_HTML_PLUGIN);
    EXPECT_EQ(dialog.messages[0].text, "TvskOsc");
    EXPECT_EQ(dialog.messages[1].message, WM_COMMAND);
    EXPECT_EQ(dialog.messages[1].wParam, 1u);
    EXPECT_EQ(Texts(window, WM_HTML_RADIOCHANGE), (std::vector<std::string>{"idD6=0"}));
}

} // namespace
