// Resizable property pages: anchors follow the size the sheet gives the page, the wizard page
// without header repaints every child whole, and both are made by class name.
#include "UiExtTestSupport.h"

#include <uiext/ResizablePage.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{

constexpr UINT kPage = 31100;
constexpr UINT kGrowing = 100;
constexpr UINT kCorner = 101;
constexpr UINT kLabel = 102;

const DlgItem kItems[] = {
    {DlgKind::EditText, kGrowing, 4, 4, 100, 40},
    {DlgKind::PushButton, kCorner, 140, 80, 50, 14, "Go"},
    {DlgKind::LText, kLabel, 4, 60, 40, 8, "label"},
};
const DialogTemplate kTemplate = {"Page", WS_CHILD, 200, 100, kItems, 3};
const BOOL kRegistered = AfxRegisterDialogTemplate(kPage, &kTemplate);

template <class Page> class AnchoredPage : public Page
{
public:
    AnchoredPage() : Page(kPage) {}
    CRect ChildRect(UINT id)
    {
        CRect rect;
        this->GetDlgItem(static_cast<int>(id))->GetWindowRect(&rect);
        this->ScreenToClient(&rect);
        return rect;
    }
    BOOL Refreshes(UINT id)
    {
        return this->NeedsRefresh(this->GetDlgItem(static_cast<int>(id))->GetSafeHwnd());
    }

protected:
    BOOL OnInitDialog() override
    {
        Page::OnInitDialog();
        this->AddAnchor(kGrowing, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
        this->AddAnchor(kCorner, ANCHOR_BOTTOM_RIGHT);
        return TRUE;
    }
};

class ResizablePageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kRegistered);
        ASSERT_TRUE(
            sheet.CreateEx(0, nullptr, "Sheet", WS_POPUP | WS_CAPTION, CRect(0, 0, 600, 400), nullptr, 0));
    }
    void TearDown() override { sheet.DestroyWindow(); }
    template <class Page> void CheckAnchorsFollowThePagesSize(Page& page)
    {
        ASSERT_TRUE(page.Create(&sheet));
        CRect initial;
        page.GetWindowRect(&initial);
        const CRect growing = page.ChildRect(kGrowing);
        const CRect corner = page.ChildRect(kCorner);
        page.SetWindowPos(nullptr, 0, 0, initial.Width() + 31, initial.Height() + 17,
                          SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(page.ChildRect(kGrowing).TopLeft(), growing.TopLeft());
        EXPECT_EQ(page.ChildRect(kGrowing).Size(), growing.Size() + CSize(31, 17));
        CRect moved = corner;
        moved.OffsetRect(31, 17);
        EXPECT_EQ(page.ChildRect(kCorner), moved);
        page.SetWindowPos(nullptr, 0, 0, initial.Width(), initial.Height(), SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(page.ChildRect(kGrowing), growing);
        EXPECT_EQ(page.ChildRect(kCorner), corner);
    }
    CWnd sheet;
};

TEST_F(ResizablePageTest, AnchoredChildrenFollowThePagesSize)
{
    AnchoredPage<CResizablePage> page;
    CheckAnchorsFollowThePagesSize(page);
    AnchoredPage<CResizablePageEx> wizardPage;
    CheckAnchorsFollowThePagesSize(wizardPage);
}

TEST_F(ResizablePageTest, AWizardPageWithoutHeaderRepaintsEveryChildWhole)
{
    AnchoredPage<CResizablePageEx> page;
    ASSERT_TRUE(page.Create(&sheet));
    EXPECT_FALSE(page.Refreshes(kCorner)) << "a button moves without a repaint";
    EXPECT_TRUE(page.Refreshes(kLabel)) << "a text always repaints";
    page.m_psp.dwFlags |= PSP_HIDEHEADER;
    EXPECT_TRUE(page.Refreshes(kCorner));
    EXPECT_TRUE(page.Refreshes(kGrowing));
    AnchoredPage<CResizablePage> plain;
    ASSERT_TRUE(plain.Create(&sheet));
    plain.m_psp.dwFlags |= PSP_HIDEHEADER;
    EXPECT_FALSE(plain.Refreshes(kCorner)) << "only the wizard's page";
}

TEST_F(ResizablePageTest, BothPagesAreMadeByClassName)
{
    for (const char* name : {"CResizablePage", "CResizablePageEx"})
    {
        std::unique_ptr<CObject> made(CRuntimeClass::CreateObject(name));
        ASSERT_NE(made, nullptr) << name;
        EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, name);
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CPropertyPage))) << name;
        EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CResizablePage))) << name;
    }
}

} // namespace
