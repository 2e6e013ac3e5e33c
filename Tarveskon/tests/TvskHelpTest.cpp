// The manager's help in the main dialog: requests from the automation object and host command 50
// shown by the help window in the real page engine.
#include "DialogFixture.h"

#include <ZoHelp/ZoHelpWnd.h>

#include <testing/TestApplication.h>

#include <thread>

namespace
{

using tvsk::testing::DialogFixture;

const tvsk::test::TestApplication g_app("Tarveskon", "MurnApps");

class TvskHelpTest : public DialogFixture
{
protected:
    CTvskManager& Manager() { return dialog->Manager(); }
    CZoHelpWnd* HelpWnd() { return dynamic_cast<CZoHelpWnd*>(Manager().GetHelpWindow()); }
    // The help window shows the page of that title.
    bool HelpShows(const QString& title)
    {
        return HelpWnd() && WaitUntil(
                                [&]
                                {
                                    CHtmlWnd& browser = HelpWnd()->Browser();
                                    return browser.GetSafeHwnd() && !browser.GetBusy() &&
                                           browser.GetReadyState() == 4 &&
                                           Script(browser, "document.title") == title;
                                });
    }
    QString LinkTexts()
    {
        return Script(HelpWnd()->Browser(), "Array.from(document.links).map(a => a.textContent).join('|')");
    }
    // A page script's call of the automation object, as the page sees its answer.
    QString PageCall(const QString& call)
    {
        return Script(dialog->MainPageWnd(), "String(window.external." + call + ")");
    }
};

TEST_F(TvskHelpTest, DefaultIsTheProgramFoldersHelpFileAndItsTopicShows)
{
    EXPECT_EQ(PageCall("ChmSetContext(0, 0, 'DEFAULT', 'Drives')"), "true");
    ASSERT_NE(HelpWnd(), nullptr) << "the first request makes the help window";
    EXPECT_EQ(HelpWnd()->HelpFile(), folder.Path("Tarveskon_ITA.chm").c_str()) << "the language's own";
    EXPECT_TRUE(HelpWnd()->isInitialized());
    EXPECT_EQ(PageCall("ChmInvoke()"), "true");
    EXPECT_TRUE(HelpShows("Scelta del drive"));
    EXPECT_TRUE(HelpWnd()->IsWindowVisible());

    EXPECT_TRUE(Manager().ChmSetContext(1003, 15, "DEFAULT", ""));
    EXPECT_EQ(Manager().SendCommand(50, 0, 0), 0) << "host command 50 shows the prepared help";
    EXPECT_TRUE(HelpShows("Connessione al drive")) << "context 1003";
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TvskHelpTest, IndexAndSearchListTheMatchesOfTheSampleHelp)
{
    ASSERT_TRUE(Manager().ChmSetContext(0, 2, "DEFAULT", "motor"));
    ASSERT_TRUE(Manager().ChmInvoke());
    ASSERT_TRUE(HelpShows("Indice: motor")) << "the heading in the session's language";
    EXPECT_EQ(LinkTexts(), "Motori personalizzati|Motore, scelta");

    ASSERT_TRUE(Manager().ChmSetContext(0, 3, "DEFAULT", "camme scarica"));
    ASSERT_TRUE(Manager().ChmInvoke());
    ASSERT_TRUE(HelpShows("Ricerca: camme scarica"));
    EXPECT_EQ(LinkTexts(), "PLC e camme del drive");
    Script(HelpWnd()->Browser(), "document.links[0].click()");
    EXPECT_TRUE(HelpShows("PLC e camme del drive"));
}

TEST_F(TvskHelpTest, Command150AndUnknownCommandsAnswerFalseWithoutABox)
{
    ASSERT_TRUE(Manager().ChmSetContext(0, 0, "DEFAULT", "Start"));
    CZoHelpWnd* help = HelpWnd();
    ASSERT_NE(help, nullptr);

    EXPECT_EQ(PageCall("ChmSetContext(0, 150, '', '')"), "true");
    EXPECT_FALSE(help->isInitialized());
    EXPECT_EQ(PageCall("ChmInvoke()"), "false");
    EXPECT_EQ(Manager().SendCommand(50, 0, 0), 13);
    EXPECT_FALSE(help->GetSafeHwnd()) << "nothing was shown";

    EXPECT_TRUE(Manager().ChmSetContext(0, 1, "DEFAULT", "Start"));
    EXPECT_TRUE(help->isInitialized()) << "a request initializes the window again";
    EXPECT_EQ(HelpWnd(), help) << "the manager keeps one help window";
    EXPECT_FALSE(Manager().ChmInvoke()) << "command 1 is not one of 0, 2, 3, 15";
    EXPECT_EQ(Manager().SendCommand(50, 0, 0), 13);
    EXPECT_TRUE(Manager().ChmSetContext(0, 16, "DEFAULT", "Start"));
    EXPECT_FALSE(Manager().ChmInvoke());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(TvskHelpTest, AWorkerThreadsRequestDoesNotReachTheWindow)
{
    ASSERT_TRUE(Manager().ChmSetContext(0, 0, "DEFAULT", "Start"));
    long answer = -1;
    std::thread([&] { answer = Manager().SendCommand(50, 0, 0); }).join();
    EXPECT_EQ(answer, 13);
    EXPECT_FALSE(HelpWnd()->GetSafeHwnd());
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(Manager().SendCommand(50, 0, 0), 0) << "the dialog's own request shows it";
    EXPECT_TRUE(HelpShows("Per iniziare"));
}

TEST_F(TvskHelpTest, HelpThatCannotBeShownTellsItsFile)
{
    const std::string missing = folder.Path("Nowhere/Help.chm");
    ASSERT_TRUE(Manager().ChmSetContext(0, 0, missing.c_str(), "Start"));
    EXPECT_EQ(Manager().SendCommand(50, 0, 0), 13);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Impossibile aprire il file di Help:\n" + missing);
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, MB_ICONERROR);

    ASSERT_TRUE(Manager().ChmSetContext(0, 0, "DEFAULT", "NoSuchTopic"));
    EXPECT_EQ(HelpWnd()->HelpFile(), folder.Path("Tarveskon_ITA.chm").c_str())
        << "an initialized window takes the file";
    EXPECT_FALSE(Manager().ChmInvoke());
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "Impossibile aprire il file di Help:\n" + folder.Path("Tarveskon_ITA.chm"));

    folder.Remove("Tarveskon_ITA.chm"); // the language without its own file takes the program's
    folder.Remove("Tarveskon.chm");
    ASSERT_TRUE(Manager().ChmSetContext(1000, 15, "DEFAULT", ""));
    EXPECT_EQ(PageCall("ChmInvoke()"), "false");
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[2], "Impossibile aprire il file di Help:\n" + folder.Path("Tarveskon.chm"));
}

TEST_F(TvskHelpTest, TheHelpWindowGoesWithTheDialog)
{
    ASSERT_TRUE(Manager().ChmSetContext(0, 0, "DEFAULT", "Start"));
    ASSERT_TRUE(Manager().ChmInvoke());
    ASSERT_TRUE(HelpShows("Per iniziare"));
    QPointer<QWidget> window = HelpWnd()->GetWidget();
    ASSERT_TRUE(window);
    dialog->DestroyWindow();
    dialog.reset();
    EXPECT_TRUE(WaitUntil([&] { return window.isNull(); })) << "the manager frees its help window";
}

} // namespace
