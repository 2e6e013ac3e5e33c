#include <com/SafeArray.h>

#include <gtest/gtest.h>

using namespace tvsk::com;

TEST(SafeArrayTest, BoundsAndLockedDataAccess)
{
    SAFEARRAY* a = SafeArrayCreateVector(VT_I2, 1, 4);
    ASSERT_NE(a, nullptr);
    LONG lower = 0, upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(a, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 4);
    EXPECT_EQ(SafeArrayGetLBound(a, 2, &lower), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetElemsize(a), 2u);

    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
    static_cast<SHORT*>(data)[3] = 7;
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED) << "not locked any more";

    SHORT value = 0;
    const LONG last = 4, outside = 5;
    ASSERT_EQ(SafeArrayGetElement(a, &last, &value), S_OK);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(SafeArrayGetElement(a, &outside, &value), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
    EXPECT_EQ(SafeArrayAccessData(nullptr, &data), E_INVALIDARG);
}

TEST(SafeArrayTest, TwoDimensionsAddressEachElement)
{
    const SAFEARRAYBOUND bounds[] = {{2, 0}, {3, 10}};
    SAFEARRAY* a = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(a, nullptr);
    for (LONG i = 0; i < 2; ++i)
        for (LONG j = 10; j < 13; ++j)
        {
            const LONG at[] = {i, j};
            const LONG v = i * 100 + j;
            ASSERT_EQ(SafeArrayPutElement(a, at, &v), S_OK);
        }
    const LONG* data = static_cast<const LONG*>(a->pvData);
    EXPECT_EQ(data[0], 10);
    EXPECT_EQ(data[5], 112) << "the last index varies fastest";
    const LONG bad[] = {2, 10};
    LONG v = 0;
    EXPECT_EQ(SafeArrayGetElement(a, bad, &v), DISP_E_BADINDEX);
    SafeArrayDestroy(a);
}

TEST(SafeArrayTest, StringArraysCopyAndFreeTheirElements)
{
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 0, 2);
    BSTR text = BstrFromUtf8("one");
    const LONG first = 0;
    ASSERT_EQ(SafeArrayPutElement(a, &first, &text), S_OK);
    SysFreeString(text);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
    SafeArrayDestroy(a);
    BSTR out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(copy, &first, &out), S_OK);
    EXPECT_EQ(Utf8FromBstr(out), "one");
    SysFreeString(out);
    SafeArrayDestroy(copy);
    EXPECT_EQ(SafeArrayCreateVector(VT_BYREF, 0, 1), nullptr);
}
