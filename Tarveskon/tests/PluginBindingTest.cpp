// Plug-ins started from the pages through the real loader: the journal test module installed as
// TvskOsc and as the help module TvskHelp beside this test program.
#include "DialogFixture.h"

#include <Tarveskon/DlgMotorSelect.h>

#include <TestPluginJournal.h>
#include <testing/TestApplication.h>

#include <filesystem>
#include <fstream>

namespace
{

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");
namespace journal = tvsk::testplugin;

std::vector<unsigned> Codes(const std::string& module)
{
    std::vector<unsigned> codes;
    for (const journal::Command& command : journal::Commands())
        if (command.module == module)
            codes.push_back(command.code);
    return codes;
}

int Count(const std::string& line)
{
    int n = 0;
    for (const std::string& l : journal::Lines())
        n += l == line;
    return n;
}

class PluginBindingTest : public tvsk::testing::DialogFixture
{
protected:
    void BeforeDialog() override { journal::ResetAll(); }
    void Request(const char* name, const char* page = nullptr)
    {
        PLUGIN_CALL call{name, 0, page};
        dialog->SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
    }
};

TEST_F(PluginBindingTest, AModuleWithoutPageGetsParentAutomationHostAndRun)
{
    journal::Clear();
    Request("TvskOsc");
    EXPECT_EQ(Codes("TvskOsc"), (std::vector<unsigned>{2, 5, 1, 3})) << "the automation object, no page";
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PluginBindingTest, ANamedPageIsLookedForInTheTypeFolderFirst)
{
    OpenSample("Samples/TK20.dat");
    CString typeDir;
    CString plainDir;
    dialog->Manager().GetPagesDir(typeDir, true);
    dialog->Manager().GetPagesDir(plainDir, false);
    std::filesystem::create_directories(typeDir.str());
    std::ofstream(typeDir.str() + "/Typed.htm") << "<html></html>";
    journal::Clear();
    Request("TvskOsc", "Typed");
    Request("TvskOsc", "Plain");
    std::vector<std::string> pages;
    for (const journal::Command& command : journal::Commands())
        if (command.module == "TvskOsc" && command.code == 4)
            pages.push_back(command.text);
    EXPECT_EQ(pages, (std::vector<std::string>{typeDir.str() + "/Typed.htm", plainDir.str() + "/Plain.htm"}));
}

TEST_F(PluginBindingTest, DllIsNeverDoubledAndBadNamesAreRefused)
{
    Request("TvskOsc.dll");
    EXPECT_TRUE(boxes.texts.empty())
        << "the class is that whole name followed by Class, which the loader accepts";
    Request("../TvskOsc");
    Request("Missing");
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0].rfind("Impossibile caricare il Plugin\n../TvskOsc.dll: not a module name", 0),
              0u)
        << boxes.texts[0];
    EXPECT_EQ(boxes.texts[1].rfind("Impossibile caricare il Plugin\nMissing.dll: ", 0), 0u) << boxes.texts[1];
    EXPECT_NE(boxes.texts[1].find("Missing.so: cannot open shared object file"), std::string::npos)
        << "the system loader's reason: " << boxes.texts[1];
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONHAND));
}

TEST_F(PluginBindingTest, AModuleThatMakesNoObjectSays2001)
{
    journal::SetMakesNoObject(true);
    Request("TvskOsc");
    journal::SetMakesNoObject(false);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0],
              "Impossibile caricare il componente del Plugin\nTvskOsc.dll: no object of class TvskOscClass");
}

TEST_F(PluginBindingTest, HelpGetsParentAndTopicOnEveryRequest)
{
    EXPECT_EQ(Codes("TvskHelp"), (std::vector<unsigned>{2, 4}));
    journal::Clear();
    dialog->OpenHelp("topic.htm");
    ASSERT_EQ(Codes("TvskHelp"), (std::vector<unsigned>{2, 4}));
    EXPECT_EQ(journal::Commands().back().text, "topic.htm");
    EXPECT_EQ(Count("TvskHelp create"), 0) << "the object is kept";
}

TEST_F(PluginBindingTest, HelpIsTriedAgainAfterAFailure)
{
    dialog->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    journal::SetMakesNoObject(true);
    dialog->OpenHelp("a.htm");
    dialog->OpenHelp("b.htm");
    journal::SetMakesNoObject(false);
    dialog->OpenHelp("c.htm");
    const std::string noObject =
        "Impossibile caricare il componente del Plugin\nTvskHelp.dll: the module makes no object";
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{noObject, noObject}));
    EXPECT_NE(dialog->HelpObject(), nullptr);
}

TEST_F(PluginBindingTest, CloseNewAndExitFreeTheHelpModuleOnce)
{
    // A module unloads once the windows it left to be deleted later are gone.
    const auto unloads = [](int expected)
    {
        WaitUntil([&] { return Count("TvskHelp unload") >= expected; });
        return Count("TvskHelp unload");
    };
    journal::Clear();
    dialog->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    EXPECT_EQ(Count("TvskHelp delete"), 1);
    EXPECT_EQ(unloads(1), 1);
    dialog->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(Count("TvskHelp unload"), 1) << "the proxy no longer holds the deleted loader";
    EXPECT_EQ(Count("TvskHelp create"), 1) << "File New opens help again";
    dialog->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    EXPECT_EQ(unloads(2), 2);
    dialog->DestroyWindow();
    dialog.reset();
    EXPECT_EQ(unloads(3), 3);
    EXPECT_EQ(Count("TvskHelp delete"), 3);
}

TEST_F(PluginBindingTest, SystemCommand64ReachesEveryLoadedModule)
{
    Request("TvskOsc");
    journal::Clear();
    dialog->SendMessage(WM_SYSCOMMAND, IDM_BROADCAST, 0);
    EXPECT_EQ(Codes("TvskOsc"), (std::vector<unsigned>{25}));
    EXPECT_EQ(Codes("TvskHelp"), (std::vector<unsigned>{25}));
}

TEST_F(PluginBindingTest, TheMotorDialogAsksForTheResultAndReloadsOnAChange)
{
    ASSERT_EQ(dialog->Manager().LoadMotorDb(), 0);
    CDlgMotorSelect motors(dialog.get());
    motors.SetTvskManager(&dialog->Manager());
    ASSERT_TRUE(motors.Create(IDD_MOTOR_SELECT, dialog.get()));
    ASSERT_TRUE(WaitUntil([&] { return motors.MotorWnd().DataManager().ControlsNum() > 0; }));
    for (int answer : {1, 0})
    {
        journal::Clear();
        journal::SetResultQueryAnswer(answer);
        Script(motors.MotorWnd(), "window.marked = 'yes'");
        PLUGIN_CALL call{"TvskOsc", 0, nullptr};
        motors.SendMessage(WM_HTML_PLUGIN, 0, reinterpret_cast<LPARAM>(&call));
        EXPECT_EQ(Codes("TvskOsc"), (std::vector<unsigned>{2, 1, 3, 8}));
        if (answer == 1)
            EXPECT_TRUE(
                WaitUntil([&] { return Script(motors.MotorWnd(), "String(window.marked)") == "undefined"; }))
                << "flag 1 loads the page again";
        else
            EXPECT_EQ(Script(motors.MotorWnd(), "String(window.marked)"), "yes");
        ASSERT_TRUE(WaitUntil([&] { return motors.MotorWnd().DataManager().ControlsNum() > 0; }));
    }
    EXPECT_TRUE(boxes.texts.empty()) << "sequence B tells nothing";
    motors.DestroyWindow();
}

} // namespace
