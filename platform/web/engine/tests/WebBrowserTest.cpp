#include "BrowserTestSupport.h"

#include <web/DomObjects.h>
#include <web/engine/PageCurtain.h>

#include <com/DispatchObject.h>

#include <QWidget>

#include <algorithm>

#include <gtest/gtest.h>

using namespace tvsk::web;
using namespace tvsk::com;

namespace
{

const std::string kPages = TVSK_TEST_DATA_DIR;

struct IParameters : IDispatch
{
    using Base = IDispatch;
    static constexpr IID Iid = MakeGuid("BF6429F7-DADF-43B0-B76F-091033CB8852");
    virtual HRESULT Par(BSTR name, VARIANT* value) = 0;

protected:
    ~IParameters() = default;
};

// The host's automation object as pages see it: Par(name) answers at once.
class Parameters final : public DispatchObject<Parameters, IParameters>
{
public:
    static const DispatchTable<Parameters>& Dispatch()
    {
        static const DispatchTable<Parameters> table =
            DispatchTable<Parameters>(InterfaceDescription(IParameters::Iid, "IParameters"))
                .Get(1, "Par", &Parameters::Par);
        return table;
    }
    HRESULT Par(BSTR name, VARIANT* value) override
    {
        *value = MakeVariantBstr(Utf8FromBstr(name) + "=7");
        return S_OK;
    }
};

class WebBrowserTest : public testing::Test
{
protected:
    DomDocument* Page()
    {
        ComPtr<IDispatch> object = ComPtr<IDispatch>::Adopt(browser.Document());
        ComPtr<IDomDocument> document = object.As<IDomDocument>();
        return document ? document->Document() : nullptr;
    }

    QWidget host;
    RecordingWindow window;
    WebBrowser browser{&host, window};
};

} // namespace

TEST_F(WebBrowserTest, AFileLoadsAndItsDocumentIsMirroredWithItsFrames)
{
    ASSERT_TRUE(window.Load(browser, kPages + "/frames.htm"));
    EXPECT_EQ(window.completed.back(), "file://" + kPages + "/frames.htm");
    DomDocument* page = Page();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->FrameCount(), 2u);
    DomElement* speed = page->FrameAt(1)->FindFirst("INPUT");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->Name(), "speed");
    EXPECT_EQ(speed->Value(), "1");
    EXPECT_EQ(page->FrameAt(0)->FindFirst("SELECT")->Options().size(), 2u);
}

TEST_F(WebBrowserTest, ABuiltInPageLoadsFromTheResourceScheme)
{
    ASSERT_TRUE(window.Load(browser, "res:///any/module/form.htm"));
    EXPECT_NE(window.completed.back().find("/form.htm"), std::string::npos);
    ASSERT_NE(Page(), nullptr);
    EXPECT_NE(Page()->FindFirst("SELECT"), nullptr);
}

TEST_F(WebBrowserTest, AnAppAddressIsHandedToTheOwnerAndCancelled)
{
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    RunScript(browser, "document.getElementById('cmd').click()");
    ASSERT_TRUE(WaitUntil([&] { return !window.commands.empty(); }));
    EXPECT_EQ(window.commands, std::vector<std::string>{"ReadAll"});
    EXPECT_EQ(window.navigations.back(), "app:ReadAll (cancelled)");
    EXPECT_EQ(browser.LocationUrl(), "file://" + kPages + "/form.htm");
}

TEST_F(WebBrowserTest, WritesReachThePageAndTypedTextReachesTheMirror)
{
    host.show();
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    DomElement* out = Page()->FindFirst("P");
    out->SetInnerText("written");
    EXPECT_TRUE(WaitUntil(
        [&] { return RunScript(browser, "document.getElementById('out').innerText") == "written"; }));

    DomElement* speed = Page()->FindFirst("INPUT");
    RunScript(browser, "var f = document.getElementsByName('speed')[0]; f.focus(); f.select();");
    QTest::keyClicks(browser.View()->focusProxy(), "12.5");
    EXPECT_TRUE(WaitUntil([&] { return speed->Value() == "12.5"; }));
}

TEST_F(WebBrowserTest, ElementSizesComeWithTheSnapshotAndWithEachEvent)
{
    host.show();
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    DomElement* box = Page()->FindFirst("DIV");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->OffsetWidth(), 120);
    EXPECT_EQ(box->OffsetHeight(), 30);
    RunScript(browser, "var b = document.getElementById('box'); b.style.width = '200px'; b.click();");
    EXPECT_TRUE(WaitUntil([&] { return box->OffsetWidth() == 200; }));
    EXPECT_EQ(box->OffsetHeight(), 30);
}

TEST_F(WebBrowserTest, PageScriptsReachTheExternalObjectSynchronously)
{
    ComPtr<IDispatch> parameters(new Parameters);
    browser.SetExternal(parameters.Get());
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    EXPECT_EQ(RunScript(browser, "window.external.Par('Pr31')").toString(), "Pr31=7");
    EXPECT_EQ(RunScript(browser, "try { window.external.Missing(); 'no' } catch (e) { 'failed' }").toString(),
              "failed");
}

namespace
{

// Runs a loop of its own for each click, as a handler that opens a modal window does, until the
// second browser's page has loaded (or 10 s pass).
class ModalOnClick : public DomEventListener
{
public:
    ModalOnClick(WebBrowser& other, RecordingWindow& otherWindow, std::string page)
        : m_other(other), m_otherWindow(otherWindow), m_page(std::move(page))
    {
    }
    void OnDomEvent(const DomEvent& event) override
    {
        if (event.type != DomEventType::Click)
            return;
        deepest = std::max(deepest, ++m_depth);
        const size_t before = m_otherWindow.completed.size();
        m_other.Navigate(m_page);
        loaded += WaitUntil([&] { return m_otherWindow.completed.size() > before; }) ? 1 : 0;
        ++ran;
        --m_depth;
    }
    int ran = 0;
    int loaded = 0;
    int deepest = 0;

private:
    WebBrowser& m_other;
    RecordingWindow& m_otherWindow;
    std::string m_page;
    int m_depth = 0;
};

} // namespace

TEST_F(WebBrowserTest, AClickHandlerMayRunALoopOfItsOwnWhileAnotherPageLoads)
{
    host.show();
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    QWidget otherHost;
    RecordingWindow otherWindow;
    WebBrowser other{&otherHost, otherWindow};
    ModalOnClick handler(other, otherWindow, kPages + "/frames.htm");
    Page()->AddListener(&handler);
    RunScript(browser, "var b = document.getElementById('box'); b.click(); b.click();");
    EXPECT_TRUE(WaitUntil([&] { return handler.ran == 2; }));
    EXPECT_EQ(handler.loaded, 2) << "a loop run inside the engine's callback keeps pages from loading";
    EXPECT_EQ(handler.deepest, 1) << "the second click waits for the first one's loop to end";
    Page()->RemoveListener(&handler);
}

// A held page is laid out and mirrored but paints nothing until its window has filled it, and then
// shows what the window put in; a page nobody shows opens by itself after the longest hold.
TEST_F(WebBrowserTest, AHeldPageShowsOnlyOnceItsWindowHasFilledIt)
{
    host.show();
    HoldPagesUntilFilled(*browser.View()->page());
    HoldPagesUntilFilled(*browser.View()->page()); // once is enough
    const auto visibility = [&]
    { return RunScript(browser, "getComputedStyle(document.documentElement).visibility").toString(); };
    for (int load = 0; load < 2; ++load)
    {
        ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
        EXPECT_EQ(visibility(), "hidden") << load;
        ASSERT_NE(Page(), nullptr);
        Page()->FindFirst("P")->SetInnerText("filled");
        ShowFilledPage(*browser.View()->page());
        EXPECT_EQ(visibility(), "visible") << load;
        EXPECT_EQ(RunScript(browser, "document.getElementById('out').innerText").toString(), "filled")
            << "filled before it showed";
    }
    ASSERT_TRUE(window.Load(browser, kPages + "/form.htm"));
    EXPECT_EQ(visibility(), "hidden");
    EXPECT_TRUE(WaitUntil([&] { return visibility() == "visible"; }, kLongestHoldMs + 20000));
}
