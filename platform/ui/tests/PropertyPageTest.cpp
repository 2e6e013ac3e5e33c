// Property pages: made as children of the sheet's window from a framed template, and by class name.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{

constexpr UINT kPageTemplate = 30201;
constexpr UINT kField = 100;

const DlgItem kItems[] = {{DlgKind::EditText, kField, 4, 4, 80, 12}};
const DialogTemplate kTemplate = {"Page", WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE, 120, 60, kItems,
                                  1};
const BOOL kRegistered = AfxRegisterDialogTemplate(kPageTemplate, &kTemplate);

class CountingPage : public CPropertyPage
{
public:
    CountingPage() : CPropertyPage(kPageTemplate) {}
    int initCalls = 0;

protected:
    BOOL OnInitDialog() override
    {
        ++initCalls;
        return CPropertyPage::OnInitDialog();
    }
};

TEST(PropertyPageTest, APageIsAFramelessChildOfTheSheetsWindow)
{
    ASSERT_TRUE(kRegistered);
    CWnd sheet;
    ASSERT_TRUE(
        sheet.CreateEx(0, nullptr, "Sheet", WS_POPUP | WS_CAPTION, CRect(0, 0, 400, 300), nullptr, 0));
    CountingPage page;
    ASSERT_TRUE(page.Create(&sheet));
    EXPECT_EQ(page.GetParent(), &sheet);
    EXPECT_TRUE(page.GetStyle() & WS_CHILD);
    EXPECT_FALSE(page.GetStyle() & (WS_POPUP | WS_CAPTION));
    EXPECT_EQ(page.initCalls, 1);
    ASSERT_NE(page.GetDlgItem(kField), nullptr);
    CRect rect;
    page.GetWindowRect(&rect);
    sheet.ScreenToClient(&rect);
    EXPECT_EQ(rect.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(rect.Size(), DialogUnitsToPixels(CRect(0, 0, 120, 60)).Size());
    EXPECT_EQ(page.m_psp.dwFlags, PSP_DEFAULT);
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CPropertyPage)));
    page.DestroyWindow();
    sheet.DestroyWindow();
}

TEST(PropertyPageTest, AFramedDialogStaysAPopup)
{
    CDialog dialog(kPageTemplate);
    ASSERT_TRUE(dialog.Create(kPageTemplate));
    EXPECT_TRUE(dialog.GetStyle() & WS_POPUP);
    EXPECT_FALSE(dialog.GetStyle() & WS_CHILD);
    dialog.DestroyWindow();
}

} // namespace
