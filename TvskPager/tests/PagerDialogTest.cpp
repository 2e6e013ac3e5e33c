// The module through the real loader, on the sample TK20 session, with its pages in the real engine.
#include "PageScript.h"

#include <TvskPager/ui/PagerDlg.h>
#include <TvskPager/ui/PagerIds.h>

#include <Modlode/PluginImpl.h>
#include <Modlode/PluginLoader.h>
#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <Tarveskon/TvskIntf.h>
#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <com/Bstr.h>
#include <testing/WaitUntil.h>
#include <TestPluginJournal.h>
#include <ui/HelpInfo.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <dlfcn.h>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

intptr_t Arg(const void* pointer)
{
    return reinterpret_cast<intptr_t>(pointer);
}

// The test run's registry starts empty: the data manager's component enters it.
void RegisterDataManager()
{
    void* module = ::dlopen(JYHTML2_COMPONENT, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr);
    auto enter = reinterpret_cast<HRESULT (*)()>(::dlsym(module, "DllRegisterServer"));
    ASSERT_NE(enter, nullptr);
    ASSERT_EQ(enter(), S_OK);
}

CPagerDlg* OpenPager()
{
    return dynamic_cast<CPagerDlg*>(CWnd::FromWidget(QApplication::activeModalWidget()));
}

// The pager opened from the outer one once it is modal and its page bound; null when none came.
CPagerDlg* WaitForNestedPager(const CPagerDlg& outer)
{
    CPagerDlg* nested = nullptr;
    WaitUntil(
        [&]
        {
            nested = OpenPager();
            return nested && nested != &outer && nested->Page().Binding().IsAttached();
        });
    return nested && nested != &outer ? nested : nullptr;
}

class PagerDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        RegisterTvskStrings();
        CoInitialize(nullptr);
        RegisterDataManager();
        host = std::make_unique<CTvskManager>(folder.Dir().c_str());
        host->SetHostUi(&ui);
        ASSERT_EQ(host->OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0);
        loader = proxy.CreateLoader("TvskPager.dll");
        ASSERT_NE(loader, nullptr);
        plugin = loader->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, 0, 0), 0);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETINTF, Arg(host.get()), 0), 0);
    }
    void TearDown() override
    {
        host.reset();
        CoUninitialize();
    }

    // Runs the page; inside the modal loop, once the page is bound, look runs and the dialog closes.
    void Run(const std::string& page, const std::function<void(CPagerDlg&)>& look)
    {
        CString dir;
        host->GetPagesDir(dir, true);
        CString path = dir + "/" + page.c_str() + ".htm";
        if (!std::filesystem::exists(path.GetString()))
        {
            host->GetPagesDir(dir, false);
            path = dir + "/" + page.c_str() + ".htm";
        }
        RunPath(path, look);
    }
    void RunPath(const CString& path, const std::function<void(CPagerDlg&)>& look)
    {
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPAGE, Arg(path.GetString()), 0), 0);
        bool looked = false;
        QTimer::singleShot(0,
                           [&]
                           {
                               CPagerDlg* dialog = nullptr;
                               const bool bound = WaitUntil(
                                   [&]
                                   {
                                       dialog = OpenPager();
                                       return dialog && dialog->Page().Binding().IsAttached();
                                   });
                               EXPECT_TRUE(bound)
                                   << (dialog ? dialog->Page().GetLocationURL().str() : "no dialog");
                               if (!dialog)
                                   return;
                               if (bound)
                                   look(*dialog);
                               looked = true;
                               dialog->Page().SendMessage(WM_HTML_COMMAND, 0, reinterpret_cast<LPARAM>("Ok"));
                           });
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
        EXPECT_TRUE(looked);
    }
    std::string Shown(CPagerDlg& dialog, const char* name)
    {
        BSTR key = tvsk::com::BstrFromUtf8(name);
        VARIANT value;
        VariantInit(&value);
        dialog.Page().Manager()->get_ControlValue(key, &value);
        SysFreeString(key);
        VARIANT text;
        VariantInit(&text);
        VariantChangeType(&text, &value, 0, VT_BSTR);
        std::string result = text.vt == VT_BSTR ? tvsk::com::Utf8FromBstr(text.bstrVal) : "";
        VariantClear(&text);
        VariantClear(&value);
        return result;
    }
    std::string FileValue(const char* name)
    {
        VARIANT value;
        VariantInit(&value);
        host->GetParValue(name, &value);
        VARIANT text;
        VariantInit(&text);
        VariantChangeType(&text, &value, 0, VT_BSTR);
        std::string result = tvsk::com::Utf8FromBstr(text.bstrVal);
        VariantClear(&text);
        VariantClear(&value);
        return result;
    }

    ProgramFolder folder;
    RecordingUi ui;
    std::unique_ptr<CTvskManager> host;
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = nullptr;
    CPluginImpl* plugin = nullptr;
};

TEST_F(PagerDialogTest, APageShowsTheFileWithItsTitleSizeAndPeriod)
{
    EXPECT_STREQ(plugin->GetClassName(), "TvskPagerClass");
    Run("Motor",
        [&](CPagerDlg& dialog)
        {
            EXPECT_EQ(dialog.GetWindowText().str(), "Dati motore");
            EXPECT_EQ(Shown(dialog, "Pr33"), FileValue("Pr33"));
            EXPECT_EQ(Shown(dialog, "Pr31"), FileValue("Pr31"));
            EXPECT_EQ(dialog.Page().ArmedPeriod(), 71u);
            EXPECT_EQ(host->PageParList().size(), 7u);
            EXPECT_EQ(dialog.PageName().str(), "Motor");
            CRect place;
            dialog.GetWindowRect(&place);
            EXPECT_EQ(place.Width(), 560);
            EXPECT_EQ(place.Height(), 420);
        });
    Run("Monitor", [&](CPagerDlg& dialog) { EXPECT_EQ(dialog.Page().ArmedPeriod(), 100u); });
}

TEST_F(PagerDialogTest, ANestedPagerStopsTheFirstAndItsListIsRebuiltAfter)
{
    Run("Config",
        [&](CPagerDlg& dialog)
        {
            std::string nestedCaption;
            const std::string enabled = Shown(dialog, "Pr42.0");
            std::string enabledWhileNested;
            QTimer::singleShot(0,
                               [&]
                               {
                                   CPagerDlg* nested = WaitForNestedPager(dialog);
                                   if (!nested)
                                       return;
                                   nestedCaption = nested->GetWindowText().str();
                                   // Unlinked, a poll shows the file: the first page must not.
                                   VARIANT on;
                                   VariantInit(&on);
                                   on.vt = VT_I2;
                                   on.iVal = 1;
                                   host->SetParValue("Pr42.0", on, FALSE);
                                   LONG controls = 0;
                                   dialog.Page().Manager()->get_ControlsNum(&controls);
                                   QTest::qWait(static_cast<int>(controls * dialog.Page().ArmedPeriod()) +
                                                200);
                                   enabledWhileNested = Shown(dialog, "Pr42.0");
                                   nested->EndDialog(IDCANCEL);
                               });
            const PLUGIN_CALL call = {"TvskPager", 0, "Motor"};
            dialog.Page().SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
            EXPECT_EQ(nestedCaption, "Dati motore");
            EXPECT_EQ(enabledWhileNested, enabled) << "the first page polled while the nested one was open";
            EXPECT_NE(Shown(dialog, "Pr42.0"), enabled) << "refreshed when the nested one closed";
            EXPECT_EQ(host->PageParList().size(), 4u); // the first page's again
        });
}

// Opens a nested pager from the page for the request; answers the nested dialog's caption.
// Without a page the nested dialog opens empty: its page window navigates nowhere.
std::string NestedCaption(CPagerDlg& dialog, const PLUGIN_CALL& call, bool withPage = true)
{
    std::string caption = "<none>";
    QTimer::singleShot(0,
                       [&]
                       {
                           CPagerDlg* nested = nullptr;
                           WaitUntil(
                               [&]
                               {
                                   nested = OpenPager();
                                   return nested && nested != &dialog &&
                                          (nested->Page().Binding().IsAttached() || !withPage);
                               });
                           if (!nested || nested == &dialog)
                               return;
                           caption = withPage ? nested->GetWindowText().str()
                                              : nested->Page().GetLocationURL().str();
                           nested->EndDialog(IDCANCEL);
                       });
    dialog.Page().SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
    return caption;
}

class RecordedBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT type) override
    {
        texts.push_back(text.str());
        types.push_back(type);
        return IDOK;
    }
    std::vector<std::string> texts;
    std::vector<UINT> types;
};

TEST_F(PagerDialogTest, AModuleThatDoesNotLoadIsNamedWithTheLoadersReason)
{
    RecordedBoxes boxes;
    CMessageBoxSink* previous = AfxSetMessageBoxSink(&boxes);
    Run("Config",
        [&](CPagerDlg& dialog)
        {
            const PLUGIN_CALL call = {"TvskMissing", 0, nullptr};
            dialog.Page().SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
        });
    AfxSetMessageBoxSink(previous);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("Impossibile caricare il Plugin\nTvskMissing.dll: ", 0), 0u)
        << boxes.texts[0];
    EXPECT_NE(boxes.texts[0].find("TvskMissing.so: cannot open shared object file"), std::string::npos)
        << boxes.texts[0];
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONHAND));
}

TEST_F(PagerDialogTest, TheTypesOwnPageWinsOverTheFamilysAndAModuleNameIsTakenAsGiven)
{
    ASSERT_EQ(host->OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    Run("Config",
        [&](CPagerDlg& dialog)
        {
            EXPECT_EQ(NestedCaption(dialog, {"TvskPager.dll", 0, "Motor"}), "Dati motore TK40");
            EXPECT_EQ(NestedCaption(dialog, {"TvskPager", 0, "Loops"}), "Regolazione");
            EXPECT_EQ(NestedCaption(dialog, {"TvskPager", 0, nullptr}, false), "");
        });
    ASSERT_EQ(host->OpenFile(folder.Path("Samples/TK40S.dat").c_str()), 0);
    Run("Config",
        [&](CPagerDlg& dialog) {
            EXPECT_EQ(NestedCaption(dialog, {"TvskPager", 0, "Motor"}), "Dati motore");
        });
}

// Records what the viewer asks the main dialog's help for.
class HelpRecorder : public CWnd
{
public:
    HelpRecorder() { CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~HelpRecorder() override { DestroyWindow(); }
    std::vector<std::string> requests;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_HTML_HELP)
            return CWnd::WindowProc(message, wParam, lParam);
        requests.push_back(std::to_string(wParam) + ":" + reinterpret_cast<const char*>(lParam));
        return 1;
    }
};

TEST_F(PagerDialogTest, HelpAsksTheMainDialogForTheFieldOrThePageOnce)
{
    HelpRecorder main;
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, Arg(&main), 0), 0);
    Run("Motor",
        [&](CPagerDlg& dialog)
        {
            HELPINFO info{};
            dialog.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            // The browser raises the document's help right after an element's.
            dialog.Page().SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>("Pr33"));
            dialog.Page().SendMessage(WM_HTML_HELP, 1, 0);
            dialog.Page().SendMessage(WM_HTML_HELP, 1, 0);
        });
    EXPECT_EQ(main.requests, (std::vector<std::string>{"0:Motor", "0:Pr33", "1:Motor"}));
}

TEST_F(PagerDialogTest, HelpFromANestedViewerReachesTheMainDialog)
{
    HelpRecorder main;
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, Arg(&main), 0), 0);
    Run("Config",
        [&](CPagerDlg& dialog)
        {
            QTimer::singleShot(0,
                               [&]
                               {
                                   CPagerDlg* nested = WaitForNestedPager(dialog);
                                   if (!nested)
                                       return;
                                   HELPINFO info{};
                                   nested->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
                                   nested->Page().SendMessage(WM_HTML_HELP, 0,
                                                              reinterpret_cast<LPARAM>("Pr33"));
                                   nested->EndDialog(IDCANCEL);
                               });
            const PLUGIN_CALL call = {"TvskPager", 0, "Motor"};
            dialog.Page().SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
        });
    EXPECT_EQ(main.requests, (std::vector<std::string>{"0:Motor", "0:Pr33"}));
}

TEST_F(PagerDialogTest, TheHelpKeyInTheLivePageAsksForTheFieldOrElseThePage)
{
    HelpRecorder main;
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, Arg(&main), 0), 0);
    Run("Motor",
        [&](CPagerDlg& dialog)
        {
            QWidget* keys = dialog.Page().Browser()->View()->focusProxy();
            RunPageScript(dialog, "document.getElementsByName('Pr33')[0].focus(); ''");
            QTest::keyClick(keys, Qt::Key_F1);
            EXPECT_TRUE(WaitUntil([&] { return !main.requests.empty(); }));
            RunPageScript(dialog, "document.activeElement.blur(); ''");
            QTest::keyClick(keys, Qt::Key_F1);
            EXPECT_TRUE(WaitUntil([&] { return main.requests.size() >= 2; }));
            QTest::qWait(100);
        });
    EXPECT_EQ(main.requests, (std::vector<std::string>{"0:Pr33", "1:Motor"}));
}

TEST(PagerHtmlEventTest, AnUnarmedSinkIgnoresEventsAndKnowsNoNames)
{
    CPagerHtmlEvent sink;
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = tvsk::com::BstrFromUtf8("CMD#Ok");
    DISPPARAMS params{&name, nullptr, 1, 0};
    EXPECT_EQ(sink.Invoke(9, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&name);
    DISPID ids[2] = {7, 7};
    EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, nullptr, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], -1);
    EXPECT_EQ(ids[1], -1);
    void* object = nullptr;
    EXPECT_EQ(sink.QueryInterface(DIID__IJyHtml2MngEvents, &object), S_OK);
    EXPECT_EQ(object, static_cast<IDispatch*>(&sink));
    EXPECT_EQ(sink.QueryInterface(IID_IConnectionPoint, &object), E_NOINTERFACE);
}

TEST_F(PagerDialogTest, ExclusiveModeOpensNothing)
{
    host->SendCommand(17, 1, 0);
    bool opened = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           if (CPagerDlg* dialog = OpenPager())
                           {
                               opened = true;
                               dialog->EndDialog(IDCANCEL);
                           }
                       });
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}

TEST_F(PagerDialogTest, ThePagesScriptsReachTheAutomationObjectWhileItIsOpen)
{
    CTvskIntf* automation = host->GetIntf();
    const ULONG references = automation->AddRef() - 1;
    automation->Release();
    plugin->SendCommand(PLUGINCMD_SETAUTOMATION, Arg(static_cast<CCmdTarget*>(automation)), 0);
    Run("Motor",
        [&](CPagerDlg& dialog)
        {
            EXPECT_EQ(
                RunPageScript(dialog, "window.external.ErrorCode = 3; String(window.external.ErrorCode())"),
                "3");
            LONG code = 0;
            automation->get_ErrorCode(&code);
            EXPECT_EQ(code, 3);
        });
    EXPECT_EQ(automation->AddRef() - 1, references) << "the page's reference went with the dialog";
    automation->Release();

    plugin->SendCommand(PLUGINCMD_SETAUTOMATION, 0, 0);
    Run("Motor",
        [&](CPagerDlg& dialog)
        {
            EXPECT_EQ(RunPageScript(
                          dialog, "try { window.external.ErrorCode(); 'answered' } catch (e) { 'refused' }"),
                      "refused");
        });
}

namespace journal = tvsk::testplugin;

// The codes the window test module received, in order.
std::vector<unsigned> CodesReceived()
{
    std::vector<unsigned> codes;
    for (const journal::Command& command : journal::Commands())
        codes.push_back(command.code);
    return codes;
}

TEST_F(PagerDialogTest, PageButtonsOpenModulesThatCloseWithThePagerBeforeTheyUnload)
{
    journal::ResetAll();
    Run("Monitor",
        [&](CPagerDlg& dialog)
        {
            EXPECT_EQ(dialog.Page().ArmedPeriod(), 100u);
            // A page whose "REFRESH" is -1 keeps the period the last page set.
            dialog.Page().Navigate(TVSK_PAGER_TEST_DATA "/Nesting.htm");
            ASSERT_TRUE(WaitUntil([&] { return dialog.Page().PageName().str() == "Nesting"; }));
            EXPECT_EQ(dialog.Page().ArmedPeriod(), 100u);

            const auto click = [&](const char* name, size_t commands)
            {
                RunPageScript(dialog, QString("document.getElementsByName('%1')[0].click(); ''").arg(name));
                return WaitUntil([&] { return journal::Commands().size() >= commands; });
            };
            ASSERT_TRUE(click("PLUGIN#TvskPagerWindowTest_Motor", 5));
            EXPECT_EQ(CodesReceived(), (std::vector<unsigned>{2, 1, 5, 4, 3}));
            const std::string page = journal::Commands()[3].text;
            EXPECT_EQ(page.substr(page.size() - 10), "/Motor.htm");
            // Two "_" after the module: no argument, so no page.
            ASSERT_TRUE(click("PLUGIN#TvskPagerWindowTest_Mo_tor", 9));
            EXPECT_EQ(CodesReceived(), (std::vector<unsigned>{2, 1, 5, 4, 3, 2, 1, 5, 3}));
            // A module name with ".dll" is used as it is: the same module.
            ASSERT_TRUE(click("PLUGIN#TvskPagerWindowTest.dll", 13));
            EXPECT_EQ(journal::Lines().back(), "TvskPagerWindowTest command 3");
        });
    // Every window the module left open went, and its objects, before its code did.
    EXPECT_TRUE(WaitUntil(
        [] { return !journal::Lines().empty() && journal::Lines().back() == "TvskPagerWindowTest unload"; }));
    const std::vector<std::string> lines = journal::Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TvskPagerWindowTest window destroyed"), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TvskPagerWindowTest widget deleted"), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TvskPagerWindowTest delete"), 3);
}

// A host that lets its plug-ins go inside one of its own window's messages, as the main dialog
// does on "Pagina iniziale" and the pager when its page closes.
class ResettingHost : public CWnd
{
public:
    static constexpr UINT kReset = WM_USER + 77;
    explicit ResettingHost(CPluginLoaderProxy& proxy) : m_proxy(proxy) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kReset)
            return CWnd::WindowProc(message, wParam, lParam);
        m_proxy.Reset();
        return 0;
    }

private:
    CPluginLoaderProxy& m_proxy;
};

TEST(PluginWindowsTest, AWindowLeftOpenIsDeletedBeforeItsModuleUnloads)
{
    journal::ResetAll();
    CPluginLoaderProxy proxy;
    CPluginLoader* loader = proxy.CreateLoader("TvskPagerWindowTest.dll");
    ASSERT_NE(loader, nullptr) << proxy.GetLastError();
    CPluginImpl* plugin = loader->CreatePluginClass(nullptr);
    ASSERT_NE(plugin, nullptr);
    plugin->SendCommand(PLUGINCMD_RUN, 0, 0);
    ResettingHost host(proxy);
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    host.PostMessage(ResettingHost::kReset);
    EXPECT_TRUE(WaitUntil(
        []
        {
            const std::vector<std::string> lines = journal::Lines();
            return std::find(lines.begin(), lines.end(), "TvskPagerWindowTest unload") != lines.end();
        }));
    const std::vector<std::string> lines = journal::Lines();
    const auto at = [&](const char* line) {
        return std::find(lines.begin(), lines.end(), std::string("TvskPagerWindowTest ") + line) -
               lines.begin();
    };
    EXPECT_LT(at("window destroyed"), at("widget deleted"));
    EXPECT_LT(at("widget deleted"), at("unload"));
    EXPECT_LT(at("unload"), static_cast<long>(lines.size()));
    host.DestroyWindow();
}

} // namespace
