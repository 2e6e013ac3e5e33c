#include "EventLog.h"

#include <htmlbind/HtmlCtrls.h>
#include <htmlbind/JyHtml2Mng.h>

#include <com/ComModule.h>
#include <web/DomObjects.h>
#include <web/engine/WebBrowser.h>

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <testing/WaitUntil.h>

#include <gtest/gtest.h>

using namespace tvsk::com;
using tvsk::web::WebBrowser;

namespace
{

class PageWindow : public tvsk::web::BrowserEvents
{
public:
    int documents = 0;
    void DocumentComplete(const std::string&) override { ++documents; }
};

bool Contains(const std::vector<std::string>& events, const std::string& event)
{
    return std::find(events.begin(), events.end(), event) != events.end();
}

// A page window's binding of a page loaded in the real engine.
class LiveBindingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        host.resize(800, 600);
        host.show();
        browser.View()->resize(800, 600);
        CreateObject<CJyHtml2Mng>(IJyHtml2Mng::Iid, reinterpret_cast<void**>(manager.Receive()));
        ComPtr<IConnectionPointContainer> container = manager.As<IConnectionPointContainer>();
        ASSERT_EQ(container->FindConnectionPoint(DIID__IJyHtml2MngEvents, point.Receive()), S_OK);
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(log.Get()), &cookie), S_OK);
        browser.Navigate(TVSK_TEST_DATA_DIR "/live.htm");
        ASSERT_TRUE(WaitUntil([&] { return window.documents > 0; }));
        ComPtr<IDispatch> document = ComPtr<IDispatch>::Adopt(browser.Document());
        ASSERT_EQ(manager->put_HtmlDocument(document.Get()), S_OK);
        log->events.clear();
    }
    void TearDown() override
    {
        manager->RemoveAllControls();
        point->Unadvise(cookie);
    }

    QString Script(const QString& script)
    {
        auto result = std::make_shared<std::optional<QString>>();
        browser.View()->page()->runJavaScript(script,
                                              [result](const QVariant& v) { *result = v.toString(); });
        WaitUntil([&] { return result->has_value(); });
        return result->value_or(QString());
    }
    bool WaitForEvent(const std::string& event)
    {
        return WaitUntil([&] { return Contains(log->events, event); });
    }
    QWidget* Keys() { return browser.View()->focusProxy(); }

    QWidget host;
    PageWindow window;
    WebBrowser browser{&host, window};
    ComPtr<IJyHtml2Mng> manager;
    ComPtr<EventLog> log{new EventLog};
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

} // namespace

TEST_F(LiveBindingTest, TypedTextEndedWithEnterOrTabIsReportedWithItsValue)
{
    std::vector<double> entered;
    log->onEvent = [&](DISPID id)
    {
        if (id != DISPID_OnTextEnter)
            return;
        VARIANT value;
        BSTR name = BstrFromUtf8("anything");
        manager->get_ControlValue(name, &value);
        SysFreeString(name);
        entered.push_back(value.vt == VT_R8 ? value.dblVal : -1);
    };
    Script("var f = document.getElementsByName('speed')[0]; f.focus(); f.select();");
    QTest::keyClicks(Keys(), "12,5");
    QTest::keyClick(Keys(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return entered.size() >= 1; }));
    EXPECT_DOUBLE_EQ(entered[0], 12.5);
    QTest::keyClick(Keys(), Qt::Key_Backspace);
    QTest::keyClick(Keys(), Qt::Key_Tab);
    // The Tab's report comes after anything the Enter still had on its way.
    ASSERT_TRUE(WaitUntil([&] { return entered.size() >= 2 && entered.back() == 12.0; }));
    EXPECT_EQ(entered, (std::vector<double>{12.5, 12.0})) << "one report for each key";
}

TEST_F(LiveBindingTest, HelpGoesToTheElementThenTheDocument)
{
    Script("document.getElementsByName('speed')[0].focus();");
    QTest::keyClick(Keys(), Qt::Key_F1);
    ASSERT_TRUE(WaitForEvent("OnDocumentHelp()"));
    const auto help = std::find(log->events.begin(), log->events.end(), "OnElementHelp(speed)");
    const auto document = std::find(log->events.begin(), log->events.end(), "OnDocumentHelp()");
    EXPECT_LT(help, document);
}

TEST_F(LiveBindingTest, ChoicesInThePageReachTheHostWithTheirValues)
{
    Script("var s = document.getElementsByName('mode')[0]; s.value = '2';"
           "s.dispatchEvent(new Event('change', {bubbles: true}));");
    EXPECT_TRUE(WaitForEvent("OnSelectChange(mode,2)"));
    Script("document.getElementsByName('dir')[1].click();");
    ASSERT_TRUE(WaitForEvent("OnRadioChange(dir,R)"));
    VARIANT value;
    BSTR name = BstrFromUtf8("dir");
    ASSERT_EQ(manager->get_ControlValue(name, &value), S_OK);
    SysFreeString(name);
    EXPECT_EQ(EventLog::Text(value), "R");
    VariantClear(&value);
}

TEST_F(LiveBindingTest, AWrapperReadsTheSizeOfItsLaidOutElement)
{
    ComPtr<IDispatch> object = ComPtr<IDispatch>::Adopt(browser.Document());
    ComPtr<IDomDocument> document = object.As<IDomDocument>();
    ASSERT_TRUE(document);
    CHtmlPreCtrl out;
    ASSERT_TRUE(out.Attach(document->Document()->FindFirst("P")));
    EXPECT_EQ(out.GetWidth(), 120);
    EXPECT_EQ(out.GetHeight(), 30);
    out.Disconnect();
}

TEST_F(LiveBindingTest, ValuesWrittenByTheHostAppearInThePage)
{
    BSTR name = BstrFromUtf8("out");
    VARIANT text = MakeVariantBstr("from the host");
    EXPECT_EQ(manager->put_ControlValue(name, text), S_OK);
    VariantClear(&text);
    SysFreeString(name);
    name = BstrFromUtf8("speed");
    EXPECT_EQ(manager->put_ControlValue(name, MakeVariantR8(3.5)), S_OK);
    SysFreeString(name);
    EXPECT_TRUE(
        WaitUntil([&] { return Script("document.getElementById('out').innerText") == "from the host"; }));
    EXPECT_TRUE(
        WaitUntil([&] { return Script("document.getElementsByName('speed')[0].value").startsWith("3"); }));
    LONG width = 0;
    EXPECT_EQ(manager->get_DocumentXDim(&width), S_OK);
    EXPECT_EQ(width, 640);
}
