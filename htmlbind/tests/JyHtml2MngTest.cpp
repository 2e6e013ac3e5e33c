#include "BindingFixture.h"

using namespace tvsk::com;
using tvsk::web::DomDocument;

class JyHtml2MngTest : public BindingFixture
{
};

TEST_F(JyHtml2MngTest, TwoTextInputsAndARadioGroupOfFourGiveThreeControlsTheGroupLast)
{
    auto page = std::make_unique<DomDocument>("mem:");
    for (const char* name : {"speed", "torque"})
        page->AddElement(nullptr, "INPUT").LoadAttribute("name", name);
    for (int i = 0; i < 4; ++i)
    {
        tvsk::web::DomElement& radio = page->AddElement(nullptr, "INPUT");
        radio.LoadAttribute("type", "radio");
        radio.LoadAttribute("name", "mode");
    }
    ASSERT_EQ(Bind(std::move(page)), S_OK);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(NameAt(0), "speed");
    EXPECT_EQ(NameAt(2), "mode");
    EXPECT_EQ(NameAt(3), "<none>");
    EXPECT_EQ(NameAt(-1), "<none>");
    EXPECT_EQ(Kind("mode"), HTMLCTRL_RADIO);
}

TEST_F(JyHtml2MngTest, AParsedPageBindsEveryKnownTagInDocumentOrder)
{
    ASSERT_EQ(Bind("<title>Page</title><input type=hidden name=h value='a:1'><input name=t>"
                   "<select name=s></select><input type=button name=b><img name=i><input type=radio name=r>"
                   "<input type=checkbox name=c><pre id=pre></pre><a name=a>x</a><p id=p></p><p></p>"
                   "<input type=image name=ii><div name=d></div>"),
              S_OK);
    std::vector<std::string> names;
    std::vector<LONG> kinds;
    for (LONG i = 0; i < Count(); ++i)
        names.push_back(NameAt(i));
    EXPECT_EQ(names,
              (std::vector<std::string>{"TITLE", "BODY", "t", "s", "b", "i", "c", "pre", "a", "p", "", "r"}));
    for (const char* name : {"TITLE", "BODY", "t", "s", "b", "i", "c", "pre", "a", "p", "r"})
        kinds.push_back(Kind(name));
    EXPECT_EQ(kinds, (std::vector<LONG>{12, 10, 2, 3, 4, 5, 8, 9, 11, 13, 6}));
    LONG kind = 0;
    EXPECT_EQ(manager->get_ControlType(TestBstr("h"), &kind), E_FAIL) << "hidden inputs are not controls";
    EXPECT_EQ(manager->get_ControlType(TestBstr("title"), &kind), E_FAIL) << "names compare with case";
}

TEST_F(JyHtml2MngTest, ARadioGroupTakesPrecedenceOverATextInputOfTheSameName)
{
    ASSERT_EQ(
        Bind("<input name=dir value=5><input type=radio name=mode value=1><input type=radio name=dir value=L>"
             "<input type=radio name=mode value=2 checked><input type=radio name=mode value=3>"),
        S_OK);
    EXPECT_EQ(Text("dir"), "empty") << "no member checked";
    EXPECT_EQ(Text("mode"), "2");
    EXPECT_EQ(Kind("dir"), HTMLCTRL_RADIO);
    CHtmlVariant left(MakeVariantBstr("L"));
    EXPECT_EQ(manager->put_ControlValue(TestBstr("dir"), left.v), S_OK);
    EXPECT_EQ(Text("dir"), "L");
    EXPECT_EQ(Element("dir").Value(), "5") << "the text input of that name is never reached";
}

TEST_F(JyHtml2MngTest, SettingARadioGroupChecksTheFirstEqualMemberOnly)
{
    ASSERT_EQ(Bind("<input type=radio name=r value=1><input type=radio name=r value=2>"
                   "<input type=radio name=r value=2>"),
              S_OK);
    CHtmlVariant two(MakeVariantBstr("2"));
    EXPECT_EQ(manager->put_ControlValue(TestBstr("r"), two.v), S_OK);
    EXPECT_FALSE(Element("r", 0).Checked());
    EXPECT_TRUE(Element("r", 1).Checked());
    EXPECT_FALSE(Element("r", 2).Checked());
    EXPECT_EQ(manager->put_ControlValue(TestBstr("r"), MakeVariantI4(9)), S_OK) << "no match is no failure";
    EXPECT_TRUE(Element("r", 1).Checked());
    EXPECT_EQ(manager->put_ControlValue(TestBstr("r"), MakeVariantI4(1)), S_OK) << "numbers compare as text";
    EXPECT_TRUE(Element("r", 0).Checked());
}

TEST_F(JyHtml2MngTest, ValuesAreWrittenToEveryControlOfANameAndReadFromTheFirst)
{
    ASSERT_EQ(Bind("<input name=v value=1><p id=v>x</p><input name=v value=2>"), S_OK);
    EXPECT_EQ(Text("v"), "vt5");
    CHtmlVariant v(Value("v"));
    EXPECT_DOUBLE_EQ(v.v.dblVal, 1.0);
    CHtmlVariant text(MakeVariantBstr("7,5"));
    EXPECT_EQ(manager->put_ControlValue(TestBstr("v"), text.v), S_OK);
    EXPECT_EQ(Element("v", 0).Value(), "7,5");
    EXPECT_EQ(Element("v", 1).InnerText(), "7,5");
    EXPECT_EQ(Element("v", 2).Value(), "7,5");
    EXPECT_EQ(manager->put_ControlValue(TestBstr("none"), text.v), E_FAIL);
    VARIANT unused;
    EXPECT_EQ(manager->get_ControlValue(TestBstr("none"), &unused), E_FAIL);
}

TEST_F(JyHtml2MngTest, DuringTextEnterTheValueIsTheEnteredFieldsWhateverTheName)
{
    ASSERT_EQ(Bind("<input name=speed value=1><input name=speed value=2><input name=other value=3>"), S_OK);
    std::vector<std::string> seen;
    log->onEvent = [&](DISPID id)
    {
        if (id == DISPID_OnTextEnter)
            seen.push_back(Text("speed") + "/" + Text("other"));
    };
    user.Type(Element("speed", 1), "12,5");
    user.PressKey(Element("speed", 1), tvsk::web::kKeyEnter);
    ASSERT_EQ(seen.size(), 1u) << "one Enter, one report";
    EXPECT_EQ(seen[0], "vt5/vt5");
    CHtmlVariant during(MakeVariantR8(0));
    log->onEvent = [&](DISPID id)
    {
        if (id == DISPID_OnTextEnter)
            during.v = Value("other");
    };
    user.PressKey(Element("speed", 1), tvsk::web::kKeyTab);
    EXPECT_DOUBLE_EQ(during.v.dblVal, 12.5);
    CHtmlVariant after(Value("speed"));
    EXPECT_DOUBLE_EQ(after.v.dblVal, 1.0) << "outside the event the first field answers";
}

TEST_F(JyHtml2MngTest, HiddenAttributesAreReadAndOnlyExistingKeysReplaced)
{
    ASSERT_EQ(Bind("<input type=hidden name=GENERAL value='DocDimX: 640 ; DocDimY:480px;Empty:'>"
                   "<input type=hidden name=GENERAL value='DocDimX:1'>"),
              S_OK);
    LONG x = 0, y = 0;
    EXPECT_EQ(manager->get_DocumentXDim(&x), S_OK);
    EXPECT_EQ(manager->get_DocumentYDim(&y), S_OK);
    EXPECT_EQ(x, 640);
    EXPECT_EQ(y, 480);
    BSTR value = nullptr;
    ASSERT_EQ(manager->get_HiddenAttribute(TestBstr("GENERAL"), TestBstr("Empty"), &value), S_OK);
    EXPECT_EQ(SysStringLen(value), 0u);
    SysFreeString(value);
    EXPECT_EQ(manager->put_HiddenAttribute(TestBstr("GENERAL"), TestBstr("DocDimX"), TestBstr("800")), S_OK);
    EXPECT_EQ(manager->get_DocumentXDim(&x), S_OK);
    EXPECT_EQ(x, 800);
    EXPECT_EQ(Element("GENERAL").Value(), "DocDimX: 640 ; DocDimY:480px;Empty:")
        << "the page is not rewritten";
    EXPECT_EQ(manager->put_HiddenAttribute(TestBstr("GENERAL"), TestBstr("New"), TestBstr("1")), E_FAIL);
    EXPECT_EQ(manager->get_HiddenAttribute(TestBstr("GENERAL"), TestBstr("New"), &value), E_FAIL);
    EXPECT_EQ(manager->get_HiddenAttribute(TestBstr("OTHER"), TestBstr("DocDimX"), &value), E_FAIL);
}

TEST_F(JyHtml2MngTest, WithoutTheGeneralInputTheDimensionsAreMinusOne)
{
    ASSERT_EQ(Bind("<input name=t>"), S_OK);
    LONG x = 0;
    EXPECT_EQ(manager->get_DocumentXDim(&x), E_FAIL);
    EXPECT_EQ(x, -1);
}

TEST_F(JyHtml2MngTest, ReadOnlyMarksDisableTextFieldsAndPreClicks)
{
    ASSERT_EQ(
        Bind("<input type=hidden name=t value='ATTRIBUTE:ro'><input type=hidden name=u value='ATTRIBUTE:rw'>"
             "<input type=hidden name=pre value='ATTRIBUTE:ro'>"
             "<input name=t><input name=u disabled><pre id=pre>x</pre>"),
        S_OK);
    EXPECT_TRUE(Element("t", 1).Disabled());
    EXPECT_FALSE(Element("u", 1).Disabled()) << "any other mark enables";
    LONG disabled = 0;
    EXPECT_EQ(manager->get_ControlDisabled(TestBstr("t"), &disabled), S_OK);
    EXPECT_EQ(disabled, -1);
    EXPECT_EQ(manager->get_ControlDisabled(TestBstr("pre"), &disabled), S_OK);
    EXPECT_EQ(disabled, 1);
    EXPECT_FALSE(Element("pre", 1).Disabled());

    // A page script may enable the field again; Enter is still refused, Escape is not.
    Element("t", 1).LoadDisabled(false);
    user.PressKey(Element("t", 1), tvsk::web::kKeyEnter);
    user.PressKey(Element("t", 1), tvsk::web::kKeyEscape);
    user.Click(Element("pre", 1));
    EXPECT_EQ(Reported(), (std::vector<std::string>{"OnTextEscape(t)"}));
    EXPECT_EQ(manager->put_ControlDisabled(TestBstr("pre"), 0), S_OK);
    log->events.clear();
    user.Click(Element("pre", 1));
    EXPECT_EQ(Reported(), (std::vector<std::string>{"OnPreClick(pre)"}));
}

TEST_F(JyHtml2MngTest, ImagesStepThroughTheirListOnClickWithCmd)
{
    ASSERT_EQ(Bind("<input type=hidden name=lamp value='IMAGE:1,on.gif|0,off.gif;CMD:'>"
                   "<input type=hidden name=pic value='IMAGE:1,on.gif'>"
                   "<img name=lamp alt='Lamp'><img name=pic src=start.gif>"),
              S_OK);
    user.Click(Element("lamp", 1));
    EXPECT_EQ(Reported(), (std::vector<std::string>{"OnImageClick(lamp)"})) << "no current value yet";
    EXPECT_EQ(manager->put_ControlValue(TestBstr("lamp"), MakeVariantI4(0)), S_OK);
    EXPECT_EQ(Element("lamp", 1).Attribute("src"), "off.gif");
    log->events.clear();
    user.Click(Element("lamp", 1));
    user.Click(Element("lamp", 1));
    EXPECT_EQ(Reported(),
              (std::vector<std::string>{"OnImageClickSelVal(lamp,1)", "OnImageClickSelVal(lamp,0)"}));
    EXPECT_EQ(Element("lamp", 1).Attribute("src"), "off.gif");

    EXPECT_EQ(manager->put_ControlValue(TestBstr("pic"), MakeVariantI4(1)), S_OK);
    log->events.clear();
    user.Click(Element("pic", 1));
    EXPECT_EQ(Reported(), (std::vector<std::string>{"OnImageClick(pic)"}))
        << "without CMD a click only reports";
    EXPECT_EQ(manager->put_ControlValue(TestBstr("pic"), MakeVariantI4(7)), S_OK);
    EXPECT_EQ(Element("pic", 1).Attribute("src"), "7") << "a value off the list shows as its own text";
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(manager->put_ControlValue(TestBstr("pic"), empty), S_OK);
    EXPECT_EQ(Element("pic", 1).Attribute("src"), "7");

    BSTR title = nullptr;
    ASSERT_EQ(manager->get_ControlTitle(TestBstr("lamp"), &title), S_OK);
    EXPECT_EQ(Utf8FromBstr(title), "Lamp");
    SysFreeString(title);
}

TEST_F(JyHtml2MngTest, SelectsAreEmptiedAndFilled)
{
    ASSERT_EQ(Bind("<select name=s><option>a<option>b<option>c</select><input name=s><input name=t>"), S_OK);
    EXPECT_EQ(manager->ResetSelect(TestBstr("s")), S_OK);
    EXPECT_TRUE(Element("s").Options().empty());
    CHtmlVariant text(MakeVariantBstr("Three"));
    EXPECT_EQ(manager->AddSelectOption(TestBstr("s"), text.v, MakeVariantI4(3)), S_OK);
    ASSERT_EQ(Element("s").Options().size(), 1u);
    EXPECT_EQ(Element("s").Options()[0].value, "3");
    EXPECT_EQ(Text("s"), "3");
    EXPECT_EQ(manager->AddSelectOption(TestBstr("t"), text.v, MakeVariantI4(3)), S_OK);
    EXPECT_EQ(manager->ResetSelect(TestBstr("nothing")), S_OK);
}

TEST_F(JyHtml2MngTest, ControlTextAndIdTakeANameOrAnyNumericIndex)
{
    ASSERT_EQ(Bind("<p id=one>first <b>bold</b></p><p id=two>second</p>"), S_OK);
    ASSERT_EQ(Count(), 3);
    BSTR text = nullptr;
    CHtmlVariant byName(MakeVariantBstr("one"));
    ASSERT_EQ(manager->get_ControlText(byName.v, &text), S_OK);
    EXPECT_EQ(Utf8FromBstr(text), "first <b>bold</b>");
    SysFreeString(text);
    ASSERT_EQ(manager->get_ControlId(MakeVariantR8(2.0), &text), S_OK) << "a real index counts as its number";
    EXPECT_EQ(Utf8FromBstr(text), "two");
    SysFreeString(text);
    VARIANT shortIndex;
    VariantInit(&shortIndex);
    shortIndex.vt = VT_I2;
    shortIndex.iVal = 1;
    EXPECT_EQ(manager->put_ControlText(shortIndex, TestBstr("<i>new</i>")), S_OK);
    EXPECT_EQ(Element("one").InnerText(), "new");
    EXPECT_EQ(manager->get_ControlText(MakeVariantI4(5), &text), E_FAIL);
    EXPECT_EQ(manager->get_ControlText(MakeVariantI4(-1), &text), E_FAIL);
}

TEST_F(JyHtml2MngTest, ColoursAreStyleNumbersAndTheBodyUsesItsBackground)
{
    ASSERT_EQ(Bind("<body style='background-color:#102030'><input name=t style='color:#ff8000'></body>"),
              S_OK);
    OLE_COLOR color = 0;
    EXPECT_EQ(manager->get_ControlColor(TestBstr("t"), &color), S_OK);
    EXPECT_EQ(color, 0xFF8000u);
    EXPECT_EQ(manager->get_ControlColor(TestBstr("BODY"), &color), S_OK);
    EXPECT_EQ(color, 0x102030u);
    EXPECT_EQ(manager->put_ControlColor(TestBstr("t"), 0x0000FF), S_OK);
    EXPECT_EQ(Element("t").Style(tvsk::web::StyleProperty::Color), "#0000ff");
    EXPECT_EQ(manager->get_ControlColor(TestBstr("x"), &color), E_FAIL);
}

TEST_F(JyHtml2MngTest, AFramesetBindsOnlyItsFramesElements)
{
    std::string error;
    auto page = tvsk::web::LoadHtmlPage(TVSK_TEST_DATA_DIR "/frames.htm", &error);
    ASSERT_NE(page, nullptr) << error;
    ASSERT_EQ(Bind(std::move(page)), S_OK);
    std::vector<std::string> names;
    for (LONG i = 0; i < Count(); ++i)
        names.push_back(NameAt(i));
    EXPECT_EQ(names, (std::vector<std::string>{"BODY", "speed", "TITLE", "BODY", "lamp", "mode"}));
    EXPECT_EQ(Text("speed"), "vt5");
    LONG x = 0;
    EXPECT_EQ(manager->get_DocumentXDim(&x), S_OK) << "hidden inputs of any frame count";
    EXPECT_EQ(x, 320);
}

TEST_F(JyHtml2MngTest, SettingADocumentReplacesTheBindingAndReportsIt)
{
    ASSERT_EQ(Bind("<input name=a>"), S_OK);
    ASSERT_EQ(manager->put_CommandFile(TestBstr("cmd.txt")), S_OK);
    ComPtr<IDomDocument> next =
        tvsk::web::NewDocumentObject(tvsk::web::ParseHtmlPage("<input name=b>", "mem:"));
    ASSERT_EQ(manager->put_HtmlDocument(next.Get()), S_OK);
    EXPECT_EQ(log->events, (std::vector<std::string>{"OnBeforeSetDocument()", "OnResetManager()",
                                                     "OnAfterSetDocument()"}));
    EXPECT_EQ(Kind("a"), -1);
    EXPECT_EQ(Kind("b"), HTMLCTRL_TEXT);
    BSTR file = nullptr;
    ASSERT_EQ(manager->get_CommandFile(&file), S_OK);
    EXPECT_EQ(SysStringLen(file), 0u) << "a reset forgets the command file";
    SysFreeString(file);

    log->events.clear();
    EXPECT_EQ(manager->put_HtmlDocument(nullptr), E_FAIL);
    EXPECT_TRUE(log->events.empty());
    ComPtr<IDispatch> notADocument(static_cast<IDispatch*>(new EventLog));
    EXPECT_EQ(manager->put_HtmlDocument(notADocument.Get()), E_FAIL);
    EXPECT_EQ(log->events, (std::vector<std::string>{"OnBeforeSetDocument()", "OnResetManager()"}));
    EXPECT_EQ(Count(), 0);
}

TEST_F(JyHtml2MngTest, RemoveAllControlsDropsTheBindingAndItsEvents)
{
    ASSERT_EQ(Bind("<input type=button name=b><input type=hidden name=h value='k:v'>"), S_OK);
    tvsk::web::DomElement& button = Element("b");
    EXPECT_EQ(manager->RemoveAllControls(), S_OK);
    EXPECT_EQ(Count(), 0);
    BSTR value = nullptr;
    EXPECT_EQ(manager->get_HiddenAttribute(TestBstr("h"), TestBstr("k"), &value), E_FAIL);
    log->events.clear();
    user.Click(button);
    EXPECT_TRUE(log->events.empty());
}

TEST_F(JyHtml2MngTest, AHostMayDropTheBindingFromInsideAnElementEvent)
{
    ASSERT_EQ(Bind("<input type=hidden name=img value='IMAGE:0,a.gif|1,b.gif;CMD:'><img name=img>"
                   "<input type=button name=b>"),
              S_OK);
    manager->put_ControlValue(TestBstr("img"), MakeVariantI4(0));
    log->onEvent = [&](DISPID id)
    {
        if (id == DISPID_OnImageClickSelVal || id == DISPID_OnButtonClick)
            manager->RemoveAllControls();
    };
    user.Click(Element("img", 1));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(log->events, (std::vector<std::string>{"OnElementFocus(img)", "OnImageClickSelVal(img,1)",
                                                     "OnResetManager()"}));
    EXPECT_EQ(Element("img", 1).Attribute("src"), "b.gif") << "the click finishes on the page";
}

TEST_F(JyHtml2MngTest, HtmlElementHandsOutTheElementsObject)
{
    ASSERT_EQ(Bind("<input name=t>"), S_OK);
    IDispatch* element = nullptr;
    ASSERT_EQ(manager->get_HtmlElement(TestBstr("t"), &element), S_OK);
    ComPtr<IDispatch> held = ComPtr<IDispatch>::Adopt(element);
    ComPtr<IDomElement> dom = held.As<IDomElement>();
    ASSERT_TRUE(dom);
    EXPECT_EQ(dom->Element(), &Element("t"));
    EXPECT_EQ(manager->get_HtmlElement(TestBstr("x"), &element), E_FAIL);
}
