// Typing into a wizard page in the real engine writes to drivesim through the whole chain.
#include "PageScript.h"

#include <TvskPager/ui/PagerDlg.h>
#include <TvskPager/ui/PagerIds.h>

#include <Modlode/PluginImpl.h>
#include <Modlode/PluginLoader.h>
#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <protocol/tests/DriveChain.h>
#include <testing/WaitUntil.h>
#include <ui/MessageBox.h>
#include <web/engine/WebBrowser.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <fstream>
#include <functional>

#include <dlfcn.h>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

class Boxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        return DefaultMessageBoxAnswer(type);
    }
    std::vector<std::string> texts;
};

class PagerEngineEntryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>("pagerentry");
        ASSERT_EQ(chain->Error(), "");
        CoInitialize(nullptr);
        void* module = ::dlopen(JYHTML2_COMPONENT, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr);
        auto enter = reinterpret_cast<HRESULT (*)()>(::dlsym(module, "DllRegisterServer"));
        ASSERT_EQ(enter(), S_OK);
        tvsk::testing::ResetProfile();
        RegisterTvskStrings();
        journal = folder.Path("journal");
        control = folder.Path("control");
        ASSERT_TRUE(chain->StartDrive({"--journal", journal, "--control", control})) << chain->Error();
        host = std::make_unique<CTvskManager>(folder.Dir().c_str());
        host->SetHostUi(&ui);
        ASSERT_EQ(host->OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
        host->ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
        ASSERT_EQ(host->Connect(""), 0);
        AfxSetMessageBoxSink(&boxes);
    }
    void TearDown() override
    {
        AfxSetMessageBoxSink(nullptr);
        host.reset();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
        CoUninitialize();
    }
    bool Journaled(const std::string& line) const
    {
        std::ifstream in(journal);
        for (std::string l; std::getline(in, l);)
            if (l == line)
                return true;
        return false;
    }
    static void Focus(CPagerDlg& dialog, const char* name)
    {
        // Returns once the page has run it.
        RunPageScript(
            dialog,
            QString("var f = document.getElementsByName('%1')[0]; f.focus(); f.select(); ''").arg(name));
    }
    static QWidget* Keys(CPagerDlg& dialog) { return dialog.Page().Browser()->View()->focusProxy(); }
    static void Script(CPagerDlg& dialog, const QString& script)
    {
        dialog.Page().Browser()->View()->page()->runJavaScript(script);
    }
    static std::string PageValue(CPagerDlg& dialog, const char* name)
    {
        return RunPageScript(dialog, QString("document.getElementsByName('%1')[0].value").arg(name));
    }
    void SetInDrive(const std::string& word, int value) const
    {
        ASSERT_TRUE(SendDriveControl(control, "set " + word + " " + std::to_string(value) + "\n"));
    }
    // Opens the page of the type's folder through the module; inside the modal loop, once the page
    // is bound, look runs and the dialog closes.
    void RunPage(const char* page, const std::function<void(CPagerDlg&)>& look)
    {
        CPluginLoaderProxy proxy;
        CPluginImpl* plugin = proxy.CreateLoader("TvskPager.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(host.get()), 0);
        CString dir;
        host->GetPagesDir(dir, true);
        const CString path = dir + "/" + page + ".htm";
        plugin->SendCommand(PLUGINCMD_SETPAGE, reinterpret_cast<intptr_t>(path.GetString()), 0);
        bool looked = false;
        QTimer::singleShot(0,
                           [&]
                           {
                               CPagerDlg* dialog = nullptr;
                               const bool bound = WaitUntil(
                                   [&]
                                   {
                                       dialog = dynamic_cast<CPagerDlg*>(
                                           CWnd::FromWidget(QApplication::activeModalWidget()));
                                       return dialog && dialog->Page().Binding().IsAttached();
                                   });
                               EXPECT_TRUE(bound);
                               if (!dialog)
                                   return;
                               if (bound)
                                   look(*dialog);
                               looked = true;
                               dialog->EndDialog(IDOK);
                           });
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
        EXPECT_TRUE(looked);
    }

    std::unique_ptr<CDriveChain> chain;
    ProgramFolder folder;
    RecordingUi ui;
    Boxes boxes;
    std::string journal;
    std::string control;
    std::unique_ptr<CTvskManager> host;
};

TEST_F(PagerEngineEntryTest, ClicksOnChoicesWriteTheirValues)
{
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = proxy.CreateLoader("TvskPager.dll")->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(host.get()), 0);
    CString dir;
    host->GetPagesDir(dir, true);
    const CString config = dir + "/Config.htm";
    const auto click = [](CPagerDlg& dialog, const QString& script)
    { dialog.Page().Browser()->View()->page()->runJavaScript(script); };
    plugin->SendCommand(PLUGINCMD_SETPAGE, reinterpret_cast<intptr_t>(config.GetString()), 0);
    bool checked = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           CPagerDlg* dialog = nullptr;
                           ASSERT_TRUE(WaitUntil(
                               [&]
                               {
                                   dialog = dynamic_cast<CPagerDlg*>(
                                       CWnd::FromWidget(QApplication::activeModalWidget()));
                                   return dialog && dialog->Page().Binding().IsAttached();
                               }));
                           click(*dialog, "document.getElementsByName('Pr42.0')[0].click();");
                           EXPECT_TRUE(WaitUntil([&] { return Journaled("write 42.0 1 1"); }));
                           click(*dialog, "document.getElementsByName('Pr1')[1].click();");
                           EXPECT_TRUE(WaitUntil([&] { return Journaled("write 1 16 1"); }));
                           EXPECT_FALSE(ui.boxes.empty()); // the operating mode's warning
                           checked = true;
                           dialog->EndDialog(IDOK);
                       });
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    EXPECT_TRUE(checked);
}

TEST_F(PagerEngineEntryTest, EnterOrTabWritesAWholeNumberAndTheDialogStaysOpen)
{
    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = proxy.CreateLoader("TvskPager.dll")->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(host.get()), 0);
    CString dir;
    host->GetPagesDir(dir, true);
    const CString page = dir + "/Motor.htm";
    plugin->SendCommand(PLUGINCMD_SETPAGE, reinterpret_cast<intptr_t>(page.GetString()), 0);
    bool checked = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           CPagerDlg* dialog = nullptr;
                           ASSERT_TRUE(WaitUntil(
                               [&]
                               {
                                   dialog = dynamic_cast<CPagerDlg*>(
                                       CWnd::FromWidget(QApplication::activeModalWidget()));
                                   return dialog && dialog->Page().Binding().IsAttached();
                               }));
                           Focus(*dialog, "Pr33");
                           QTest::keyClicks(Keys(*dialog), "3.1");
                           QTest::keyClick(Keys(*dialog), Qt::Key_Return);
                           EXPECT_TRUE(WaitUntil([&] { return Journaled("write 33 16 310"); }));
                           Focus(*dialog, "Pr34");
                           QTest::keyClicks(Keys(*dialog), "6.5");
                           QTest::keyClick(Keys(*dialog), Qt::Key_Tab);
                           EXPECT_TRUE(WaitUntil([&] { return Journaled("write 34 16 650"); }));
                           Focus(*dialog, "Pr33");
                           QTest::keyClicks(Keys(*dialog), "4.2x");
                           QTest::keyClick(Keys(*dialog), Qt::Key_Return);
                           EXPECT_TRUE(WaitUntil([&] { return !boxes.texts.empty(); }));
                           EXPECT_FALSE(Journaled("write 33 16 420"));
                           EXPECT_TRUE(dialog->IsWindowVisible());
                           checked = true;
                           dialog->EndDialog(IDOK);
                       });
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    EXPECT_TRUE(checked);
}

TEST_F(PagerEngineEntryTest, AnImageStepsItsListAndASelectWritesItsChoice)
{
    RunPage("IO",
            [&](CPagerDlg& dialog)
            {
                const QString image("document.querySelector(\"img[name='Pr76.0']\")");
                const QString src = image + ".getAttribute('src')";
                EXPECT_NE(RunPageScript(dialog, src).find("LinkOff.png"), std::string::npos);
                Script(dialog, image + ".click();");
                EXPECT_TRUE(WaitUntil([&] { return Journaled("write 76.0 1 1"); }));
                EXPECT_TRUE(WaitUntil(
                    [&] { return RunPageScript(dialog, src).find("LinkOk.png") != std::string::npos; }));
                Script(dialog, image + ".click();"); // wraps to the first
                EXPECT_TRUE(WaitUntil([&] { return Journaled("write 76.0 1 0"); }));

                Script(dialog, "var s = document.getElementsByName('Pr72')[0]; s.value = '3';"
                               "s.dispatchEvent(new Event('change'));");
                EXPECT_TRUE(WaitUntil([&] { return Journaled("write 72 16 3"); }));
                EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
            });
}

TEST_F(PagerEngineEntryTest, PollingShowsTheDriveButKeepsTheFieldBeingTyped)
{
    RunPage("Motor",
            [&](CPagerDlg& dialog)
            {
                LONG controls = 0;
                dialog.Page().Manager()->get_ControlsNum(&controls);
                const int round = static_cast<int>(controls) * dialog.Page().ArmedPeriod();
                Focus(dialog, "Pr33");
                QTest::keyClicks(Keys(dialog), "7");
                SetInDrive("32", 3000);
                SetInDrive("33", 450);
                // One round after the drive has the values, with room for a busy machine.
                EXPECT_TRUE(WaitUntil([&] { return PageValue(dialog, "Pr32") == "3000"; }));
                QTest::qWait(round);
                EXPECT_EQ(PageValue(dialog, "Pr33"), "7");
                Focus(dialog, "Pr34");
                EXPECT_TRUE(WaitUntil([&] { return PageValue(dialog, "Pr33") == "4.5"; }));
            });
}

} // namespace
