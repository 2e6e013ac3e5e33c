#include "TestObjects.h"

#include <com/Variant.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using namespace tvsk::com;

namespace
{

// Converts and returns the result code; the converted value lands in out.
HRESULT Change(VARIANT src, VARTYPE vt, VARIANT& out, USHORT flags = 0)
{
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, &src, flags, vt);
    VariantClear(&src);
    return hr;
}

std::string AsText(VARIANT src, USHORT flags = 0)
{
    VARIANT out;
    if (Change(src, VT_BSTR, out, flags) != S_OK)
        return "<failed>";
    std::string text = Utf8FromBstr(out.bstrVal);
    VariantClear(&out);
    return text;
}

VARIANT Typed(VARTYPE vt, LONGLONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.llVal = value;
    return v;
}

} // namespace

TEST(VariantTest, IntegerConversionsCheckTheTargetRange)
{
    struct Case
    {
        VARIANT src;
        VARTYPE vt;
        HRESULT expected;
        LONGLONG value;
    };
    const Case cases[] = {
        {MakeVariantI4(32767), VT_I2, S_OK, 32767},
        {MakeVariantI4(32768), VT_I2, DISP_E_OVERFLOW, 0},
        {MakeVariantI4(-1), VT_UI4, DISP_E_OVERFLOW, 0},
        {MakeVariantI4(255), VT_UI1, S_OK, 255},
        {MakeVariantI4(256), VT_UI1, DISP_E_OVERFLOW, 0},
        {MakeVariantR8(2.5), VT_I4, S_OK, 2},
        {MakeVariantR8(3.5), VT_I4, S_OK, 4},
        {MakeVariantR8(-2.5), VT_I4, S_OK, -2},
        {MakeVariantR8(2147483647.4), VT_I4, S_OK, 2147483647},
        {MakeVariantR8(2147483647.5), VT_I4, DISP_E_OVERFLOW, 0},
        {MakeVariantR8(NAN), VT_I4, DISP_E_OVERFLOW, 0},
        {MakeVariantR8(INFINITY), VT_I2, DISP_E_OVERFLOW, 0},
        {MakeVariantBool(true), VT_I2, S_OK, -1},
        {MakeVariantBool(true), VT_UI1, S_OK, 255},
        {MakeVariantBstr(" 70000 "), VT_I4, S_OK, 70000},
        {MakeVariantBstr("70000"), VT_I2, DISP_E_OVERFLOW, 0},
        {MakeVariantBstr("-12.5"), VT_I4, S_OK, -12},
        {MakeVariantBstr("1e3"), VT_I2, S_OK, 1000},
        {MakeVariantBstr("12abc"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {MakeVariantBstr(""), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {MakeVariantBstr("nan"), VT_R8, DISP_E_TYPEMISMATCH, 0},
        {Typed(VT_EMPTY, 0), VT_I4, S_OK, 0},
        {Typed(VT_NULL, 0), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {Typed(VT_ERROR, 5), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {Typed(VT_UI8, -1), VT_I8, DISP_E_OVERFLOW, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        VARIANT out;
        const HRESULT hr = Change(cases[i].src, cases[i].vt, out);
        EXPECT_EQ(hr, cases[i].expected) << "case " << i;
        if (hr == S_OK)
        {
            VARIANT wide;
            VariantInit(&wide);
            ASSERT_EQ(VariantChangeType(&wide, &out, 0, VT_I8), S_OK);
            EXPECT_EQ(wide.llVal, cases[i].value) << "case " << i;
            EXPECT_EQ(out.vt, cases[i].vt);
        }
        else
            EXPECT_EQ(out.vt, VT_EMPTY) << "case " << i << ": a failure leaves the destination alone";
    }
}

TEST(VariantTest, RealsAndBooleansConvert)
{
    VARIANT out;
    EXPECT_EQ(Change(MakeVariantR8(1e39), VT_R4, out), DISP_E_OVERFLOW);
    ASSERT_EQ(Change(MakeVariantBstr("0.25"), VT_R4, out), S_OK);
    EXPECT_EQ(out.fltVal, 0.25f);
    ASSERT_EQ(Change(MakeVariantBstr("  TRUE "), VT_BOOL, out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Change(MakeVariantBstr("0"), VT_BOOL, out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_FALSE);
    ASSERT_EQ(Change(MakeVariantR8(0.1), VT_BOOL, out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(Change(MakeVariantBstr("maybe"), VT_BOOL, out), DISP_E_TYPEMISMATCH);
}

TEST(VariantTest, NumbersBecomeTextInTheCLocaleWhateverTheUserLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // a comma locale where one is installed
    EXPECT_EQ(AsText(MakeVariantR8(0.1)), "0.1");
    EXPECT_EQ(AsText(MakeVariantR8(-1234.5)), "-1234.5");
    EXPECT_EQ(AsText(MakeVariantR8(1e20)), "1E+20");
    EXPECT_EQ(AsText(MakeVariantR8(1.0 / 3)), "0.333333333333333");
    VARIANT r4;
    VariantInit(&r4);
    r4.vt = VT_R4;
    r4.fltVal = 0.1f;
    EXPECT_EQ(AsText(r4), "0.1");
    EXPECT_EQ(AsText(MakeVariantI4(-42)), "-42");
    EXPECT_EQ(AsText(Typed(VT_UI8, -1)), "18446744073709551615");
    EXPECT_EQ(AsText(MakeVariantBool(true)), "-1");
    EXPECT_EQ(AsText(MakeVariantBool(true), VARIANT_ALPHABOOL), "True");
    EXPECT_EQ(AsText(Typed(VT_EMPTY, 0)), "");
    EXPECT_EQ(AsText(Typed(VT_NULL, 0)), "<failed>");
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantBstr("2.5"), VT_R8, out), S_OK);
    EXPECT_EQ(out.dblVal, 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(VariantTest, DatesAndCurrencyConvert)
{
    VARIANT date;
    date.vt = VT_DATE;
    date.date = 36526.5;
    EXPECT_EQ(AsText(date), "1/1/2000 12:00:00 PM");
    date.date = 36526;
    EXPECT_EQ(AsText(date), "1/1/2000");
    date.date = 0.25;
    EXPECT_EQ(AsText(date), "6:00:00 AM");
    VARIANT cy;
    cy.vt = VT_CY;
    cy.cyVal.int64 = 12345;
    EXPECT_EQ(AsText(cy), "1.2345");
    VARIANT out;
    ASSERT_EQ(Change(MakeVariantR8(2.00005), VT_CY, out), S_OK);
    EXPECT_EQ(out.cyVal.int64, 20000);
    ASSERT_EQ(Change(MakeVariantR8(1e300), VT_CY, out), DISP_E_OVERFLOW);
    cy.cyVal.int64 = 15000;
    ASSERT_EQ(Change(cy, VT_I4, out), S_OK);
    EXPECT_EQ(out.lVal, 2);
    ASSERT_EQ(Change(MakeVariantI4(36527), VT_DATE, out), S_OK);
    EXPECT_EQ(out.vt, VT_DATE);
    EXPECT_EQ(out.date, 36527.0);
}

TEST(VariantTest, InPlaceAndByReferenceSourcesConvert)
{
    VARIANT v = MakeVariantBstr("17");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 17);

    double value = 3.0;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_R8;
    ref.pdblVal = &value;
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(VariantChangeType(&out, &ref, 0, VT_BSTR), S_OK);
    EXPECT_EQ(Utf8FromBstr(out.bstrVal), "3");
    VariantClear(&out);
    EXPECT_EQ(VariantChangeType(&out, &ref, 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
}

TEST(VariantTest, CopyDuplicatesStringsAndAddsInterfaceReferences)
{
    VARIANT s = MakeVariantBstr("text");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &s), S_OK);
    EXPECT_NE(copy.bstrVal, s.bstrVal);
    VariantClear(&s);
    EXPECT_EQ(Utf8FromBstr(copy.bstrVal), "text");
    VariantClear(&copy);
    EXPECT_EQ(copy.vt, VT_EMPTY);

    ComPtr<ICounter> counter = NewCounter();
    const ULONG before = RefCount(counter.Get());
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_DISPATCH;
    object.pdispVal = counter.Get();
    counter->AddRef();
    ASSERT_EQ(VariantCopy(&copy, &object), S_OK);
    EXPECT_EQ(RefCount(counter.Get()), before + 2);
    VariantClear(&copy);
    VariantClear(&object);
    EXPECT_EQ(RefCount(counter.Get()), before);

    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x0FFF;
    EXPECT_EQ(VariantCopy(&copy, &bad), DISP_E_BADVARTYPE);
}

TEST(VariantTest, AnObjectConvertsThroughItsValueProperty)
{
    ComPtr<ICounter> counter = NewCounter();
    counter->put_Value(41);
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_DISPATCH;
    object.pdispVal = counter.Get();
    VARIANT out;
    VariantInit(&out);
    // The counter's value has id 1, not DISPID_VALUE, so it has no value property.
    EXPECT_EQ(VariantChangeType(&out, &object, 0, VT_I4), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(VariantChangeType(&out, &object, 0, VT_UNKNOWN), S_OK);
    EXPECT_NE(out.punkVal, nullptr);
    VariantClear(&out);
}
