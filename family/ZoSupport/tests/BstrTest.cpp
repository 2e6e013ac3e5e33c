#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

TEST(BstrTest, HoldsACopyOfTheTextAsUtf16)
{
    char text[] = "Velocità";
    CBstr bstr(text);
    text[0] = 'X';
    EXPECT_EQ(SysStringLen(bstr), 8u);
    EXPECT_EQ(tvsk::com::Utf8FromBstr(bstr), "Velocità");
}

TEST(BstrTest, FromCStringAndFromNull)
{
    const CBstr fromString(CString("Pr33"));
    EXPECT_EQ(tvsk::com::Utf8FromBstr(fromString), "Pr33");
    const CBstr fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(SysStringLen(fromNull.Get()), 0u);
}
