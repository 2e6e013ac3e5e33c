#include <TvskCamEditor/ui/DlgCamEdit.h>

#include "CamHost.h"

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
class CListingHost : public CCamHost
{
public:
    int GetCamDefNum() override { return 4; }
    int GetCamDefIndex(int i) override { return i; }
};

// Runs the module's dialog for a request and answers the cam it opened on.
int RunAndReadCam(CPluginImpl* plugin, const PLUGIN_CALL* call)
{
    int cam = -2;
    QTimer::singleShot(0,
                       [&cam]
                       {
                           auto* dialog = dynamic_cast<CDlgCamEdit*>(
                               CWnd::FromWidget(QApplication::activeModalWidget()));
                           if (!dialog)
                               return;
                           cam = dialog->GetCam();
                           dialog->EndDialog(IDCANCEL);
                       });
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, reinterpret_cast<intptr_t>(call)), 0);
    return cam;
}
} // namespace

TEST(CamEditorPluginTest, RunsTheDialogOnTheCamOfTheRequest)
{
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = proxy.CreateLoader("TvskCamEditor.dll");
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->GetPluginName(), "TvskCamEditor");
    CPluginImpl* plugin = loader->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->GetClassName(), "TvskCamEditorClass");

    CListingHost host;
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(&host), 0), 0);
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, 0, 0), 0);
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPAGE, 0, 0), 1);

    const PLUGIN_CALL two = {"TvskCamEditor", 0, "2"};
    const PLUGIN_CALL seven = {"TvskCamEditor", 0, "7"};
    const PLUGIN_CALL none = {"TvskCamEditor", 0, nullptr};
    EXPECT_EQ(RunAndReadCam(plugin, &two), 2);
    EXPECT_EQ(RunAndReadCam(plugin, &seven), 0);
    EXPECT_EQ(RunAndReadCam(plugin, &none), 0);
    EXPECT_EQ(RunAndReadCam(plugin, nullptr), 0);
}

TEST(CamEditorPluginTest, RunWithoutAHostOpensNothing)
{
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = proxy.CreateLoader("TvskCamEditor.dll")->CreatePluginClass("TvskCamEditorClass");
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
}
