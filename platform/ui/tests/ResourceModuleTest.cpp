#include <ui/Dialog.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

namespace
{
int g_pluginA;
int g_pluginB;
HINSTANCE ModuleA()
{
    return reinterpret_cast<HINSTANCE>(&g_pluginA);
}
HINSTANCE ModuleB()
{
    return reinterpret_cast<HINSTANCE>(&g_pluginB);
}

const DlgItem kItems[] = {{DlgKind::PushButton, IDOK, 0, 0, 20, 10, "OK"}};
const DialogTemplate kTemplateA = {"A", WS_POPUP, 40, 20, kItems, 1};
const DialogTemplate kTemplateB = {"B", WS_POPUP, 40, 20, kItems, 1};
const char kBytesA[] = "a";
const char kBytesB[] = "b";
} // namespace

TEST(ResourceModuleTest, TwoModulesKeepTheSameIdsApart)
{
    ASSERT_TRUE(AfxRegisterDialogTemplate(64000, &kTemplateA, ModuleA()));
    ASSERT_TRUE(AfxRegisterDialogTemplate(64000, &kTemplateB, ModuleB()));
    ASSERT_TRUE(AfxRegisterResource(64000, "TOOLBAR", kBytesA, 2, ModuleA()));
    ASSERT_TRUE(AfxRegisterResource(64000, "toolbar", kBytesB, 2, ModuleB()));
    {
        CResourceModuleScope scope(ModuleB());
        EXPECT_EQ(AfxFindDialogTemplate(64000), &kTemplateB);
        EXPECT_EQ(AfxFindResource(64000, "TOOLBAR")->data, kBytesB);
        {
            CResourceModuleScope inner(ModuleA());
            EXPECT_EQ(AfxFindDialogTemplate(64000), &kTemplateA);
            EXPECT_EQ(AfxFindResource(64000, "Toolbar")->data, kBytesA);
        }
        EXPECT_EQ(AfxGetResourceHandle(), ModuleB());
    }
    EXPECT_EQ(AfxGetResourceHandle(), nullptr);
    // Without a scope, some module's table still answers.
    EXPECT_NE(AfxFindDialogTemplate(64000), nullptr);
    AfxUnregisterResource(64000, "TOOLBAR", ModuleA());
    CResourceModuleScope scope(ModuleA());
    EXPECT_EQ(AfxFindResource(64000, "TOOLBAR")->data, kBytesB);
}
