#include "../HtmlCtrls.h"

#include <web/HtmlPage.h>

#include <gtest/gtest.h>

using namespace tvsk::com;

namespace
{

double NumberOf(const char* text)
{
    CHtmlVariant source(MakeVariantBstr(text)), result;
    EXPECT_EQ(CHtmlElemCtrl::ConvertValue(&result.v, &source.v, VT_I4), S_OK);
    EXPECT_EQ(result.v.vt, VT_R8) << "a string always becomes a real, whatever was asked";
    return result.v.dblVal;
}

} // namespace

TEST(HtmlElemCtrlTest, StringsAreReadAsNumbersWithCommaOrPoint)
{
    EXPECT_DOUBLE_EQ(NumberOf("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(NumberOf("  12.5 mm"), 12.5);
    EXPECT_DOUBLE_EQ(NumberOf("-3e2"), -300.0);
    EXPECT_DOUBLE_EQ(NumberOf("letters"), 0.0);
    EXPECT_DOUBLE_EQ(NumberOf(""), 0.0);
}

TEST(HtmlElemCtrlTest, OtherConversionsFollowTheVariantRulesAndFailuresLeaveAnError)
{
    CHtmlVariant source(MakeVariantI4(7)), result;
    ASSERT_EQ(CHtmlElemCtrl::ConvertValue(&result.v, &source.v, VT_BSTR), S_OK);
    EXPECT_EQ(Utf8FromBstr(result.v.bstrVal), "7");

    CHtmlVariant big(MakeVariantR8(1e20)), failed;
    EXPECT_EQ(CHtmlElemCtrl::ConvertValue(&failed.v, &big.v, VT_I2), DISP_E_OVERFLOW);
    EXPECT_EQ(failed.v.vt, VT_ERROR);
    EXPECT_EQ(failed.v.scode, DISP_E_OVERFLOW);
}

class HtmlElemCtrlKindsTest : public testing::Test
{
protected:
    std::unique_ptr<tvsk::web::DomDocument> page = tvsk::web::ParseHtmlPage(
        "<input name=t value='4,25'><input type=checkbox name=c><input type=image name=i>"
        "<input type=submit name=s><input type=password name=p><p id=para>x</p>",
        "mem:");
    tvsk::web::DomElement* Input(int n) const
    {
        return page->ElementAt(page->FindFirst("INPUT")->Index() + n);
    }
};

TEST_F(HtmlElemCtrlKindsTest, InputsAreClassifiedByType)
{
    EXPECT_EQ(InputKindOf(*Input(0)), HTMLCTRL_TEXT);
    EXPECT_EQ(InputKindOf(*Input(1)), HTMLCTRL_CHECKBOX);
    EXPECT_EQ(InputKindOf(*Input(2)), 0) << "image inputs are not bound";
    EXPECT_EQ(InputKindOf(*Input(3)), HTMLCTRL_BUTTON);
    EXPECT_EQ(InputKindOf(*Input(4)), HTMLCTRL_TEXT);
    EXPECT_EQ(InputKindOf(*page->FindFirst("P")), 0);
    CHtmlTextCtrl text;
    EXPECT_FALSE(text.Attach(Input(1))) << "a checkbox is no text field";
    EXPECT_FALSE(text.Attach(nullptr));
}

TEST_F(HtmlElemCtrlKindsTest, AParsedPageHasNoLayoutSoSizesAreZero)
{
    CHtmlPreCtrl para;
    EXPECT_EQ(para.GetWidth(), 0) << "no element";
    ASSERT_TRUE(para.Attach(page->FindFirst("P")));
    EXPECT_EQ(para.GetWidth(), 0);
    EXPECT_EQ(para.GetHeight(), 0);
}

TEST_F(HtmlElemCtrlKindsTest, ATextFieldReadsAsARealAndIsWrittenAsText)
{
    CHtmlTextCtrl text;
    ASSERT_TRUE(text.Attach(Input(0)));
    CHtmlVariant value(text.GetValue());
    ASSERT_EQ(value.v.vt, VT_R8);
    EXPECT_DOUBLE_EQ(value.v.dblVal, 4.25);
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_FALSE(text.SetValue(empty));
    EXPECT_TRUE(text.SetValue(MakeVariantI4(12)));
    EXPECT_EQ(Input(0)->Value(), "12");
}

TEST_F(HtmlElemCtrlKindsTest, ACheckboxTakesBooleansNumbersAndNumericStrings)
{
    CHtmlCheckboxCtrl box;
    ASSERT_TRUE(box.Attach(Input(1)));
    const auto state = [&] { return CHtmlVariant(box.GetValue()).v.iVal; };
    EXPECT_TRUE(box.SetValue(MakeVariantBool(true)));
    EXPECT_EQ(state(), 1);
    CHtmlVariant zero(MakeVariantBstr("0")), one(MakeVariantBstr("1"));
    EXPECT_TRUE(box.SetValue(zero.v));
    EXPECT_EQ(state(), 0);
    EXPECT_TRUE(box.SetValue(MakeVariantI4(1)));
    EXPECT_EQ(state(), 1);
    box.SetValue(zero.v);
    EXPECT_TRUE(box.SetValue(one.v));
    EXPECT_EQ(CHtmlVariant(box.GetValue()).v.vt, VT_I2);
    EXPECT_EQ(state(), 1);
}

TEST_F(HtmlElemCtrlKindsTest, AParagraphTakesOnlyStrings)
{
    CHtmlParaCtrl para;
    ASSERT_TRUE(para.Attach(page->FindFirst("P")));
    EXPECT_EQ(para.Name(), "para");
    EXPECT_FALSE(para.SetValue(MakeVariantI4(3)));
    CHtmlVariant text(MakeVariantBstr("a<b"));
    EXPECT_TRUE(para.SetValue(text.v));
    EXPECT_EQ(page->FindFirst("P")->InnerHtml(), "a&lt;b");
}
