#include <web/DomUserInput.h>
#include <web/HtmlPage.h>
#include <web/HtmlText.h>

#include <gtest/gtest.h>

#include <functional>

using namespace tvsk::web;

namespace
{

struct Recorder : DomEventListener
{
    std::string label;
    std::vector<std::string>* log;
    std::function<void()> onEvent;
    Recorder(std::string l, std::vector<std::string>* out) : label(std::move(l)), log(out) {}
    void OnDomEvent(const DomEvent& event) override
    {
        log->push_back(label + ":" + std::to_string(static_cast<int>(event.type)));
        if (onEvent)
            onEvent();
    }
};

struct WriteLog : DomWriteObserver
{
    std::vector<std::string> writes;
    void OnElementWritten(const DomElement& element, DomProperty property,
                          std::string_view attribute) override
    {
        writes.push_back(element.TagName() + "/" + std::to_string(static_cast<int>(property)) + "/" +
                         std::string(attribute));
    }
};

class DomDocumentTest : public testing::Test
{
protected:
    std::unique_ptr<DomDocument> page =
        ParseHtmlPage("<a name=link><img name=pic></a><input name=box type=checkbox disabled><input name=r "
                      "type=radio checked>"
                      "<input name=r type=radio value=2><select name=s><option>a<option>b</select>",
                      "mem:");
    DomElement& link = *page->FindFirst("A");
    DomElement& pic = *page->FindFirst("IMG");
    std::vector<std::string> log;
};

} // namespace

TEST_F(DomDocumentTest, EventsBubbleFromTheTargetToTheDocumentExceptFocus)
{
    Recorder onPic("pic", &log), onLink("link", &log), onDoc("doc", &log);
    pic.AddListener(&onPic);
    link.AddListener(&onLink);
    page->AddListener(&onDoc);
    const int click = static_cast<int>(DomEventType::Click);
    const int focus = static_cast<int>(DomEventType::Focus);
    page->DispatchEvent({DomEventType::Click, &pic});
    page->DispatchEvent({DomEventType::Focus, &pic});
    page->DispatchEvent({DomEventType::Help, nullptr});
    const int help = static_cast<int>(DomEventType::Help);
    EXPECT_EQ(log, (std::vector<std::string>{"pic:" + std::to_string(click), "link:" + std::to_string(click),
                                             "doc:" + std::to_string(click), "pic:" + std::to_string(focus),
                                             "doc:" + std::to_string(help)}));
}

TEST_F(DomDocumentTest, AListenerThatLeavesDuringAnEventIsNotCalledAfterwards)
{
    Recorder first("first", &log), second("second", &log);
    first.onEvent = [&] { link.RemoveListener(&second); };
    pic.AddListener(&first);
    link.AddListener(&second);
    page->DispatchEvent({DomEventType::Click, &pic});
    EXPECT_EQ(log.size(), 1u);
    EXPECT_FALSE(link.RemoveListener(&second)) << "already gone";
}

TEST_F(DomDocumentTest, WritesAreReportedButLoadsAndUserInputAreNot)
{
    WriteLog writes;
    page->SetWriteObserver(&writes);
    DomElement& select = *page->FindFirst("SELECT");
    DomUserInput user;
    user.Choose(select, "b");
    EXPECT_EQ(select.Value(), "b");
    EXPECT_TRUE(writes.writes.empty());
    select.SetValue("a");
    pic.SetAttribute("src", "on.gif");
    link.SetInnerText("a<b");
    EXPECT_EQ(link.InnerHtml(), "a&lt;b");
    EXPECT_EQ(writes.writes, (std::vector<std::string>{"SELECT/0/", "IMG/5/src", "A/4/"}));
}

TEST_F(DomDocumentTest, SelectOptionsKeepOneChosen)
{
    DomElement& select = *page->FindFirst("SELECT");
    ASSERT_TRUE(select.RemoveOption(0));
    EXPECT_EQ(select.Value(), "b") << "the remaining option is chosen";
    EXPECT_FALSE(select.RemoveOption(1));
    select.SetValue("none");
    EXPECT_EQ(select.Value(), "");
    ASSERT_TRUE(select.RemoveOption(0));
    select.AddOption("Three", "3");
    EXPECT_EQ(select.Value(), "3");
}

TEST_F(DomDocumentTest, UserInputChecksOneRadioOfAGroupAndSkipsDisabledElements)
{
    DomUserInput user;
    DomElement& box = *page->ElementAt(page->FindFirst("INPUT")->Index());
    Recorder onBox("box", &log);
    box.AddListener(&onBox);
    user.Click(box);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(box.Checked());

    DomElement& first = *page->ElementAt(box.Index() + 1);
    DomElement& second = *page->ElementAt(box.Index() + 2);
    user.Click(second);
    EXPECT_FALSE(first.Checked());
    EXPECT_TRUE(second.Checked());
}

TEST(HtmlTextTest, TextAndHtmlConvertBothWays)
{
    EXPECT_EQ(TextOfHtml("<b>a</b> &lt;&amp;<br>c"), "a <&\nc");
    EXPECT_EQ(HtmlOfText("a <&\nc"), "a &lt;&amp;<br>c");
}
