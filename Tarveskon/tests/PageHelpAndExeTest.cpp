// The start page's and the wizard start pages' help and manual buttons, clicked with the mouse in
// the real page engine: "HELP#<topic>" opens the help on that topic, "EXE#<command line>" (host
// command 13, so only with a file open) starts the program, here the desktop's opener.
#include "DialogFixture.h"

#include <ZoHelp/ZoHelpWnd.h>

#include <QApplication>
#include <testing/PageClick.h>
#include <QWebEngineView>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

using tvsk::testing::DialogFixture;

class PageHelpAndExeTest : public DialogFixture
{
protected:
    // The desktop's opener stands in as a script that notes its arguments.
    void BeforeDialog() override
    {
        const std::filesystem::path bin = folder.Path("desktop");
        std::filesystem::create_directories(bin);
        const std::filesystem::path opener = bin / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\necho \"$@\" >> '" << folder.Path("opened") << "'\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        m_path = std::getenv("PATH") ? std::getenv("PATH") : "";
        ::setenv("PATH", (bin.string() + ":" + m_path).c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("PATH", m_path.c_str(), 1);
        DialogFixture::TearDown();
    }

    // A user's click in the middle of the element of that name.
    static bool Click(CHtmlWnd& wnd, const char* name)
    {
        return ClickPageElement(wnd.Browser()->View(), QString("[name=\"%1\"]").arg(name));
    }
    // Some browser of the program shows the address ending so.
    static bool SomeViewShows(const std::string& end)
    {
        return WaitUntil(
            [&]
            {
                for (QWidget* widget : QApplication::allWidgets())
                    if (auto* view = qobject_cast<QWebEngineView*>(widget);
                        view && view->isVisible() &&
                        view->url().toString().endsWith(QString::fromStdString(end)))
                        return true;
                return false;
            });
    }
    std::string Opened()
    {
        std::ifstream in(folder.Path("opened"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string m_path;
};

TEST_F(PageHelpAndExeTest, TheStartPagesHelpButtonOpensItsTopic)
{
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "HELP#Start"));
    EXPECT_TRUE(SomeViewShows("Common/Help/TvskHelp_ITA.htm#Start"));

    // Once a page asked for the program's help file, the button shows its topic there.
    ASSERT_TRUE(dialog->Manager().ChmSetContext(0, 0, "DEFAULT", "Start"));
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "HELP#Start"));
    auto* help = dynamic_cast<CZoHelpWnd*>(dialog->Manager().GetHelpWindow());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            CHtmlWnd& browser = help->Browser();
            return browser.GetSafeHwnd() && !browser.GetBusy() && browser.GetReadyState() == 4 &&
                   Script(browser, "document.title") == "Per iniziare";
        }));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PageHelpAndExeTest, AWindowsHelpShowsItsTopicInTheLanguageAndKeepsThePagesRequest)
{
    const auto shows = [&](const char* title)
    {
        auto* help = dynamic_cast<CZoHelpWnd*>(dialog->Manager().GetHelpWindow());
        return help && WaitUntil(
                           [&]
                           {
                               CHtmlWnd& browser = help->Browser();
                               return browser.GetSafeHwnd() && !browser.GetBusy() &&
                                      browser.GetReadyState() == 4 &&
                                      Script(browser, "document.title") == title;
                           });
    };
    EXPECT_EQ(dialog->Manager().SendCommand(50, 1005, 0), HOSTRES_OK);
    EXPECT_TRUE(shows("PLC e camme del drive"));
    EXPECT_EQ(dialog->Manager().SendCommand(50, 1006, 0), HOSTRES_OK);
    EXPECT_TRUE(shows("L'oscilloscopio"));
    EXPECT_EQ(dialog->Manager().SendCommand(50, 1007, 0), HOSTRES_OK);
    EXPECT_TRUE(shows("Download dei parametri e monitor"));
    EXPECT_EQ(dialog->Manager().SendCommand(50, 0, 0), HOSTRES_HELPERR) << "no page asked for the help file";

    ASSERT_TRUE(dialog->Manager().ChmSetContext(0, 0, "DEFAULT", "Start"));
    ASSERT_TRUE(dialog->Manager().ChangeLanguage(1));
    EXPECT_EQ(dialog->Manager().SendCommand(50, 1005, 0), HOSTRES_OK);
    EXPECT_TRUE(shows("The drive's PLC and cams"));
    EXPECT_EQ(dialog->Manager().SendCommand(50, 0, 0), HOSTRES_OK);
    EXPECT_TRUE(shows("Per iniziare")) << "the page's request as it was made";
    dialog->Manager().ChangeLanguage(0);
    EXPECT_TRUE(boxes.texts.empty());
}

// F1 in a window over the start page after a listing was imported (the connection choice asks so).
TEST_F(PageHelpAndExeTest, AfterAnImportTheStartPagesHelpStillOpens)
{
    OpenSample("Samples/TK20.slv");
    ASSERT_EQ(boxes.texts.size(), 1u) << "the import's note";
    dialog->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>("Connection"));
    EXPECT_TRUE(SomeViewShows("Common/Help/TvskHelp_ITA.htm"));
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(PageHelpAndExeTest, AWizardStartPageHasTheDrivesHelpAndManual)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(Shows(dialog->MainPageWnd(), "TK20/TK20_ITA.htm"));
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "HELP#Transfers"));
    EXPECT_TRUE(SomeViewShows("TK20/TK20Help_ITA.htm#Transfers"));
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "EXE#xdg-open TK20/TK20Help_ITA.htm"));
    EXPECT_TRUE(WaitUntil([&] { return Opened() == "TK20/TK20Help_ITA.htm\n"; })) << Opened();
    EXPECT_TRUE(boxes.texts.empty());
}

// The TK40's start page serves both languages: its manual is the drive's help in the session's one.
TEST_F(PageHelpAndExeTest, TheTk40ManualIsInTheSessionsLanguage)
{
    const auto manualButton = [&]
    { return Script(dialog->MainPageWnd(), "document.getElementsByName('HELP#Manual')[0].value"); };
    OpenSample("Samples/ENG/TK40.dat");
    ASSERT_TRUE(Shows(dialog->MainPageWnd(), "TKSERIES/TKSERIES.htm"));
    ASSERT_TRUE(WaitUntil([&] { return manualButton() == "Drive manual"; })) << manualButton().toStdString();
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "HELP#Manual"));
    EXPECT_TRUE(SomeViewShows("TKSERIES/TK40/TK40Help_ENG.htm#Manual"));
    OpenSample("Samples/TK40.dat");
    ASSERT_TRUE(WaitUntil([&] { return manualButton() == "Manuale del drive"; }))
        << manualButton().toStdString();
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "HELP#Manual"));
    EXPECT_TRUE(SomeViewShows("TKSERIES/TK40/TK40Help_ITA.htm#Manual"));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PageHelpAndExeTest, AnElementsHelpWithoutItsTopicOpensTheDrivesHelpAtItsTop)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(Shows(dialog->MainPageWnd(), "TK20/TK20_ITA.htm"));
    dialog->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>("Pr33"));
    EXPECT_TRUE(SomeViewShows("TK20/TK20Help_ITA.htm"));
    dialog->SendMessage(WM_HTML_HELP, 0, reinterpret_cast<LPARAM>("Loops"));
    EXPECT_TRUE(SomeViewShows("TK20/TK20Help_ITA.htm#Loops")) << "a wizard page's topic";
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PageHelpAndExeTest, AManualWhoseProgramIsMissingSaysSo)
{
    OpenSample("Samples/TK20.dat");
    ASSERT_TRUE(Shows(dialog->MainPageWnd(), "TK20/TK20_ITA.htm"));
    ::setenv("PATH", "/nonexistent", 1);
    ASSERT_TRUE(Click(dialog->MainPageWnd(), "EXE#xdg-open TK20/TK20Help_ITA.htm"));
    EXPECT_TRUE(WaitUntil([&] { return !boxes.texts.empty(); }));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Avvio del programma non riuscito\nxdg-open: programma non trovato");
}

} // namespace
