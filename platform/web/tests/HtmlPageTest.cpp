#include <web/HtmlPage.h>

#include <gtest/gtest.h>

using namespace tvsk::web;

namespace
{

std::vector<std::string> Tags(const DomDocument& document)
{
    std::vector<std::string> tags;
    for (size_t i = 0; i < document.ElementCount(); ++i)
        tags.push_back(document.ElementAt(i)->TagName());
    return tags;
}

} // namespace

TEST(HtmlPageTest, ElementsComeInDocumentOrderWithUpperCaseTagsAndTheImpliedOnes)
{
    const auto page = ParseHtmlPage("<title>T</title><p id=x>a<b>b</b></p><custom-tag></custom-tag>", "mem:");
    EXPECT_EQ(Tags(*page),
              (std::vector<std::string>{"HTML", "HEAD", "TITLE", "BODY", "P", "B", "CUSTOM-TAG"}));
    const DomElement* b = page->ElementAt(5);
    ASSERT_NE(b->Parent(), nullptr);
    EXPECT_EQ(b->Parent()->Id(), "x");
    EXPECT_EQ(b->Index(), 5);
}

TEST(HtmlPageTest, FormElementsStartWithTheirMarkedState)
{
    const auto page = ParseHtmlPage(R"(<input name=a value="1,5" disabled>
        <input type=CHECKBOX name=c checked><input type=radio name=r value=2>
        <select name=s><option>one</option><option value=2 selected>two</option></select>
        <select name=e><option value=x>X</option><option value=y>Y</option></select>
        <textarea name=t>line</textarea>)",
                                    "mem:");
    const DomElement* a = page->FindFirst("INPUT");
    EXPECT_EQ(a->Value(), "1,5");
    EXPECT_TRUE(a->Disabled());
    EXPECT_EQ(a->InputType(), "text");
    const DomElement* c = page->ElementAt(a->Index() + 1);
    EXPECT_EQ(c->InputType(), "checkbox");
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(c->Value(), "on") << "a checkbox without a value reads as on";
    EXPECT_EQ(page->ElementAt(a->Index() + 2)->Value(), "2");

    const DomElement* s = page->FindFirst("SELECT");
    ASSERT_EQ(s->Options().size(), 2u);
    EXPECT_EQ(s->Options()[0].value, "one") << "an option without a value takes its text";
    EXPECT_EQ(s->Value(), "2");
    EXPECT_EQ(page->ElementAt(s->Index() + 3)->Value(), "x") << "a single select shows its first option";
    EXPECT_EQ(page->FindFirst("TEXTAREA")->Value(), "line");
}

TEST(HtmlPageTest, InnerHtmlIsSerialisedAndInnerTextCollapsesBlanksOutsidePre)
{
    const auto page = ParseHtmlPage("<p id=p>  one   <i class=\"q\">&amp;two</i><br>three\n</p>"
                                    "<pre id=pre>a  b\n c</pre>",
                                    "mem:");
    const DomElement* p = page->FindFirst("P");
    EXPECT_EQ(p->InnerHtml(), "  one   <i class=\"q\">&amp;two</i><br>three\n");
    EXPECT_EQ(p->InnerText(), "one &two\nthree");
    EXPECT_EQ(page->FindFirst("PRE")->InnerText(), "a  b\n c");
}

TEST(HtmlPageTest, InlineStyleColoursAreReadAndRewritten)
{
    const auto page = ParseHtmlPage("<p style=\"font-weight: bold; COLOR:#FF0000\">x</p>", "mem:");
    DomElement* p = page->FindFirst("P");
    EXPECT_EQ(p->Style(StyleProperty::Color), "#FF0000");
    EXPECT_EQ(p->Style(StyleProperty::BackgroundColor), "");
    p->SetStyle(StyleProperty::BackgroundColor, "#00ff00");
    p->SetStyle(StyleProperty::Color, "#0000ff");
    EXPECT_EQ(p->Attribute("style"), "font-weight: bold; COLOR: #0000ff; background-color: #00ff00");
}

TEST(HtmlPageTest, FramesAreLoadedBesideThePageAndAMissingOneIsEmpty)
{
    std::string error;
    const auto page = LoadHtmlPage(TVSK_TEST_DATA_DIR "/frames.htm", &error);
    ASSERT_NE(page, nullptr) << error;
    ASSERT_EQ(page->FrameCount(), 2u);
    const DomDocument* left = page->FrameAt(0);
    ASSERT_NE(left->FindFirst("INPUT"), nullptr);
    EXPECT_EQ(left->FindFirst("INPUT")->Name(), "speed");
    EXPECT_NE(left->Url().find("left.htm"), std::string::npos);
    EXPECT_EQ(page->FrameAt(1)->ElementCount(), 0u);
    EXPECT_EQ(page->FindFirst("BODY"), nullptr) << "a frameset takes the place of the body";
}

TEST(HtmlPageTest, AFileThatCannotBeReadIsReported)
{
    std::string error;
    EXPECT_EQ(LoadHtmlPage(TVSK_TEST_DATA_DIR "/nothing-here.htm", &error), nullptr);
    EXPECT_NE(error.find("nothing-here.htm"), std::string::npos);
}
