#include "BindingFixture.h"

#include <set>

using namespace tvsk::com;

// The test pages shipped in data/Common, bound as a page window binds them.
class SamplePagesTest : public BindingFixture
{
protected:
    HRESULT BindSample(const std::string& file)
    {
        std::string error;
        auto page = tvsk::web::LoadHtmlPage(TVSK_SAMPLE_DATA_DIR "/Common/TestPages/" + file, &error);
        EXPECT_NE(page, nullptr) << error;
        return page ? Bind(std::move(page)) : E_FAIL;
    }
};

TEST_F(SamplePagesTest, TheTestPageHoldsEveryElementKind)
{
    ASSERT_EQ(BindSample("AllKinds.htm"), S_OK);
    std::set<LONG> kinds;
    for (LONG i = 0; i < Count(); ++i)
        kinds.insert(Kind(NameAt(i)));
    EXPECT_EQ(kinds, (std::set<LONG>{2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13}));
    LONG width = 0, disabled = 0;
    EXPECT_EQ(manager->get_DocumentXDim(&width), S_OK);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(manager->get_ControlDisabled(TestBstr("Pr32"), &disabled), S_OK);
    EXPECT_EQ(disabled, -1);
    EXPECT_EQ(manager->get_ControlDisabled(TestBstr("strNote"), &disabled), S_OK);
    EXPECT_EQ(disabled, 1);
    EXPECT_EQ(Text("Pr41"), "0");
    CHtmlVariant speed(Value("Pr31"));
    EXPECT_DOUBLE_EQ(speed.v.dblVal, 12.5);

    EXPECT_EQ(manager->put_ControlValue(TestBstr("imgAlarm"), MakeVariantI4(-1)), S_OK);
    user.Click(Element("imgAlarm", 1));
    user.Click(Element("imgAlarm", 1));
    user.Click(Element("imgAlarm", 1));
    EXPECT_EQ(Reported(),
              (std::vector<std::string>{"OnImageClickSelVal(imgAlarm,0)", "OnImageClickSelVal(imgAlarm,1)",
                                        "OnImageClickSelVal(imgAlarm,-1)"}));
    EXPECT_EQ(Element("imgAlarm", 1).Attribute("src"), "img/off.svg");
}

TEST_F(SamplePagesTest, TheFramesPageBindsBothFrames)
{
    ASSERT_EQ(BindSample("Frames.htm"), S_OK);
    EXPECT_EQ(Kind("imgComm"), HTMLCTRL_IMAGE);
    EXPECT_EQ(Kind("strAlarm"), HTMLCTRL_TEXT);
    EXPECT_EQ(Kind("Pr40"), HTMLCTRL_SELECT);
    EXPECT_EQ(manager->put_ControlValue(TestBstr("imgComm"), MakeVariantI4(1)), S_OK);
    IDispatch* element = nullptr;
    ASSERT_EQ(manager->get_HtmlElement(TestBstr("imgComm"), &element), S_OK);
    ComPtr<IDispatch> held = ComPtr<IDispatch>::Adopt(element);
    EXPECT_EQ(held.As<IDomElement>()->Element()->Attribute("src"), "img/alarm.svg");
}
