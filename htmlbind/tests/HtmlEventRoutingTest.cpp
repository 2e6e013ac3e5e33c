#include "BindingFixture.h"

using tvsk::web::DomEvent;
using tvsk::web::DomEventType;
using Events = std::vector<std::string>;

class HtmlEventRoutingTest : public BindingFixture
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(Bind("<input name=t><select name=s><option value=1>one<option value=2>two</select>"
                       "<input type=button name=b><img name=i><input type=radio name=r value=A>"
                       "<input type=radio name=r value=B><input type=checkbox name=c><pre id=pre>p</pre>"
                       "<a name=a href='#'>a</a><p id=para>text</p>"),
                  S_OK);
    }
    // Sends one event to the element and returns what the host was told.
    Events Send(const std::string& name, DomEventType type, int keyCode = 0)
    {
        log->events.clear();
        dom->DispatchEvent(DomEvent{type, &Element(name), keyCode, 0, 0});
        return log->events;
    }
};

TEST_F(HtmlEventRoutingTest, FocusAndBlurAreReportedForEveryElementWithASink)
{
    for (const char* name : {"t", "s", "b", "i", "r", "c", "pre", "a"})
    {
        EXPECT_EQ(Send(name, DomEventType::Focus), Events{"OnElementFocus(" + std::string(name) + ")"})
            << name;
        EXPECT_EQ(Send(name, DomEventType::Blur), Events{"OnElementBlur(" + std::string(name) + ")"}) << name;
    }
    EXPECT_EQ(Send("para", DomEventType::Focus), Events{}) << "paragraphs have no sink";
}

TEST_F(HtmlEventRoutingTest, MouseOverAndOutReachTheElementAndTheBodyButNotForASelect)
{
    EXPECT_EQ(Send("t", DomEventType::MouseOver), (Events{"OnElementOver(t)", "OnElementOver(BODY)"}));
    EXPECT_EQ(Send("a", DomEventType::MouseOut), (Events{"OnElementOut(a)", "OnElementOut(BODY)"}));
    EXPECT_EQ(Send("s", DomEventType::MouseOver), (Events{"OnElementOver(BODY)"}));
    EXPECT_EQ(Send("para", DomEventType::MouseOver), (Events{"OnElementOver(BODY)"}));
}

TEST_F(HtmlEventRoutingTest, HelpGoesToTheElementThenTheDocument)
{
    EXPECT_EQ(Send("t", DomEventType::Help), (Events{"OnElementHelp(t)", "OnDocumentHelp()"}));
    log->events.clear();
    user.Help(*dom, nullptr);
    EXPECT_EQ(log->events, Events{"OnDocumentHelp()"});
}

TEST_F(HtmlEventRoutingTest, TextFieldsEndEntryOnEnterAndTabAndCancelOnEscape)
{
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 13), Events{"OnTextEnter(t)"}) << "a press alone";
    EXPECT_EQ(Send("t", DomEventType::KeyDown, 9), Events{});
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 9), Events{"OnTextEnter(t)"});
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 27), Events{"OnTextEscape(t)"});
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 65), Events{});
    EXPECT_EQ(Send("t", DomEventType::Change), Events{});
    EXPECT_EQ(Send("t", DomEventType::Click), Events{});
}

// A keystroke is a key down and a key press: Enter ends the entry once, Escape cancels it once.
TEST_F(HtmlEventRoutingTest, OneKeystrokeActsOnceOnItsKeyDown)
{
    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ(Send("t", DomEventType::KeyDown, 13), Events{"OnTextEnter(t)"});
        EXPECT_EQ(Send("t", DomEventType::KeyPress, 13), Events{}) << "the same Enter";
        EXPECT_EQ(Send("t", DomEventType::KeyUp, 13), Events{});
    }
    EXPECT_EQ(Send("t", DomEventType::KeyDown, 27), Events{"OnTextEscape(t)"});
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 27), Events{}) << "the same Escape";
    // A key down whose press never came (the page stopped it) does not swallow the next Enter.
    EXPECT_EQ(Send("t", DomEventType::KeyDown, 13), Events{"OnTextEnter(t)"});
    EXPECT_EQ(Send("t", DomEventType::KeyDown, 65), Events{});
    EXPECT_EQ(Send("t", DomEventType::KeyPress, 13), Events{"OnTextEnter(t)"});
}

TEST_F(HtmlEventRoutingTest, ButtonsReportClickDownAndUp)
{
    user.Click(Element("b"));
    EXPECT_EQ(Reported(), (Events{"OnButtonDown(b)", "OnButtonUp(b)", "OnButtonClick(b)"}));
}

TEST_F(HtmlEventRoutingTest, ChoicesCarryTheirNewValues)
{
    user.Choose(Element("s"), "2");
    user.Click(Element("r", 1));
    user.Click(Element("c"));
    user.Click(Element("c"));
    EXPECT_EQ(Reported(), (Events{"OnSelectChange(s,2)", "OnRadioChange(r,B)", "OnCheckboxChange(c,i2:1)",
                                  "OnCheckboxChange(c,i2:0)"}));
    EXPECT_EQ(Send("r", DomEventType::Change), Events{});
    EXPECT_EQ(Send("c", DomEventType::Change), Events{});
}

TEST_F(HtmlEventRoutingTest, ImagesIgnoreDoubleClicksAndAnchorsReportKeyUpAsOut)
{
    EXPECT_EQ(Send("i", DomEventType::DoubleClick), Events{});
    EXPECT_EQ(Send("i", DomEventType::Click), Events{"OnImageClick(i)"});
    EXPECT_EQ(Send("a", DomEventType::KeyUp, 13), Events{"OnElementOut(a)"});
    EXPECT_EQ(Send("a", DomEventType::Click), Events{"OnAnchorClick(a)"});
    EXPECT_EQ(Send("pre", DomEventType::Click), Events{"OnPreClick(pre)"});
}
