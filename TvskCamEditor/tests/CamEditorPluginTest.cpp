#include <TvskCamEditor/ui/DlgCamEdit.h>

#include "CamHost.h"

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
// The application object: keys pass the dialog's pre-translation as in the program.
const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

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

namespace
{
class CBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text.str());
        return IDCANCEL;
    }
    std::vector<std::string> asked;
};
} // namespace

// The grid opens on point 0 ready for typing; Enter stores the value and Escape leaves the cell,
// and neither, pressed again, closes the dialog.
TEST(CamEditorPluginTest, TypingAtOnceSetsPointZeroAndEnterOrEscapeNeverClose)
{
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = proxy.CreateLoader("TvskCamEditor.dll")->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    CListingHost host;
    CBoxes boxes;
    CMessageBoxSink* previous = AfxSetMessageBoxSink(&boxes);
    double value = -1;
    bool open = false;
    bool reopened = false;
    QTimer::singleShot(
        0,
        [&]
        {
            auto* dialog = dynamic_cast<CDlgCamEdit*>(CWnd::FromWidget(QApplication::activeModalWidget()));
            if (!dialog)
                return;
            std::vector<std::unique_ptr<QKeyEvent>> sent; // known by their addresses
            const auto key = [&](int k, const QString& text = QString())
            {
                for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                {
                    QWidget* focus = QApplication::focusWidget();
                    sent.push_back(std::make_unique<QKeyEvent>(type, k, Qt::NoModifier, text));
                    QApplication::sendEvent(focus ? focus : dialog->GetWidget(), sent.back().get());
                }
            };
            dialog->GetWidget()->activateWindow();
            CGridEditBox* editor = dialog->GetGrid().GetEditBox();
            if (editor &&
                WaitUntil([&] { return QApplication::focusWidget() == editor->GetWidget(); }, 20000))
                for (const char* digit : {"2", "5", "0"}) // replaces the selected text
                    key(Qt::Key_0 + (digit[0] - '0'), digit);
            key(Qt::Key_Return);
            key(Qt::Key_Return);
            reopened = dialog->GetGrid().IsEditing() != 0; // Enter in the grid opens the cell again
            key(Qt::Key_Escape);
            key(Qt::Key_Escape);
            value = dialog->GetTable().Table().GetPointAt(0).dValue;
            open = dialog->IsWindowVisible() != FALSE;
            dialog->EndDialog(IDCANCEL);
        });
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(&host), 0);
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    AfxSetMessageBoxSink(previous);
    EXPECT_EQ(value, 250);
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(open);
    EXPECT_EQ(boxes.asked, std::vector<std::string>{}) << "no closing question";
}
