// Hosting by class id: a class that cannot be had makes nothing and fails the dialog that asks for it.
#include <ui/ControlHost.h>
#include <ui/Dialog.h>

#include <com/ComRuntime.h>

#include <gtest/gtest.h>

namespace
{

const DlgItem kItems[] = {
    {DlgKind::Control, 100, 0, 0, 100, 50, nullptr, 0, "{0BADC0DE-1111-2222-3333-444444444444}"}};
const DialogTemplate kTemplate{"Host", WS_CAPTION, 200, 100, kItems, 1};

} // namespace

TEST(ControlHostTest, UnknownClassMakesNoWindowAndFailsTheDialog)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    CWnd site;
    EXPECT_FALSE(site.CreateControl(MakeGuid("0BADC0DE-1111-2222-3333-444444444444"), nullptr, WS_VISIBLE,
                                    CRect(0, 0, 50, 50), &parent, 5));
    EXPECT_EQ(site.GetSafeHwnd(), nullptr);
    EXPECT_EQ(site.GetControlUnknown(), nullptr);
    EXPECT_EQ(site.InvokeHelper(1, DISPATCH_METHOD, nullptr, {}), E_UNEXPECTED);

    AfxRegisterDialogTemplate("ControlHostMissing", &kTemplate);
    CDialog dialog("ControlHostMissing");
    EXPECT_EQ(dialog.DoModal(), -1);
    parent.DestroyWindow();
    CoUninitialize();
}
