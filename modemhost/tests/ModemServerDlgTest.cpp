// Fonwick's window: title, state texts, client count and the inactivity field.
#include <ModemServerDlg.h>

#include <testing/DialogFit.h>
#include <testing/TestApplication.h>
#include <ui/App.h>

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// This program's application object, which main makes.
const tvsk::test::TestApplication g_app("ModemHostTests");
} // namespace

TEST(ModemStateTextTest, NamesEveryStateAndUndefinedBeyond)
{
    EXPECT_STREQ(ModemStateText(MODEM_NOT_CONNECTED), "Not connected");
    EXPECT_STREQ(ModemStateText(MODEM_INITIALISING), "Modem inizialize ...");
    EXPECT_STREQ(ModemStateText(MODEM_DIALLING), "Dialing ...");
    EXPECT_STREQ(ModemStateText(MODEM_CONNECTED), "Connected");
    EXPECT_STREQ(ModemStateText(MODEM_ABORTED), "Connection aborted");
    EXPECT_STREQ(ModemStateText(5), "Undefined");
    EXPECT_STREQ(ModemStateText(-1), "Undefined");
}

class ModemServerDlgTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (window.GetSafeHwnd())
            window.DestroyWindow();
    }
    void Open() { ASSERT_TRUE(window.CreateIndirect(AfxFindDialogTemplate("FONWICK_SERVER"))); }
    void Click(UINT id) { window.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    CString Text(UINT id) { return window.GetDlgItem(static_cast<int>(id))->GetWindowText(); }

    ModemSettings settings{2000, 3};
    CModemServer server{settings};
    CModemServerDlg window{4, server};
};

TEST_F(ModemServerDlgTest, ShowsTitleAndInactivityAndHidesTheAbortOutsideDialling)
{
    Open();
    EXPECT_EQ(window.GetWindowText(), CString("Modem Server on COM4"));
    EXPECT_EQ(Text(IDC_MODEM_INACTIVITY), CString("3"));
    EXPECT_FALSE(window.GetDlgItem(IDC_MODEM_APPLY)->IsWindowEnabled());
    EXPECT_FALSE(window.GetDlgItem(IDC_MODEM_ABORT)->IsWindowVisible());
    auto* log = qobject_cast<QPlainTextEdit*>(window.GetDlgItem(IDC_MODEM_LOG)->GetWidget());
    ASSERT_NE(log, nullptr) << "the log is a multi-line edit";
    EXPECT_TRUE(log->isReadOnly());
}

TEST_F(ModemServerDlgTest, ApplyTakesTheEditedInactivityMinutes)
{
    Open();
    window.SetDlgItemText(IDC_MODEM_INACTIVITY, "12");
    EXPECT_TRUE(window.GetDlgItem(IDC_MODEM_APPLY)->IsWindowEnabled()) << "editing enables Apply";
    Click(IDC_MODEM_APPLY);
    EXPECT_EQ(server.Settings().inactivityMinutes, 12);
    EXPECT_EQ(Text(IDC_MODEM_INACTIVITY), CString("12"));
    EXPECT_FALSE(window.GetDlgItem(IDC_MODEM_APPLY)->IsWindowEnabled());
}

TEST(ModemServerTemplate, ShowsItsTextsWholeAtTheDesktopFonts)
{
    const DialogTemplate* found = AfxFindDialogTemplate("FONWICK_SERVER");
    ASSERT_NE(found, nullptr);
    for (const int points : tvsk::testing::kDesktopFontPoints)
    {
        const tvsk::testing::ScopedDesktopFont font(points);
        EXPECT_EQ(tvsk::testing::TemplateFitProblems(*found), std::vector<std::string>{}) << points << " pt";
    }
}
