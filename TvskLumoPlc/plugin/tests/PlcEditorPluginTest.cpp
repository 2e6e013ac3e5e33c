// The PLC editor module through the real loader: the entry, the main dialog over a host's
// program, its own dialog 12000 beside the program's, and storing on close.
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/DlgLumoPlcIL.h>
#include <TvskLumoPlc/shell/PlcIds.h>
#include <TvskLumoPlc/textview/ILView.h>
#include <TvskLumoPlc/textview/SourceDocument.h>

#include "PlcTestHost.h"

#include <Modlode/PluginLoaderProxy.h>
#include <Tarveskon/PluginCall.h>
#include <testing/TestApplication.h>
#include <ui/App.h>
#include <ui/Dialog.h>
#include <ui/MessageBox.h>

#include <QApplication>
#include <QSizeGrip>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace
{
const tvsk::test::TestApplication g_app("PlcEditorTests", "MurnApps");

class Answers : public CMessageBoxSink
{
public:
    Answers() : m_previous(AfxSetMessageBoxSink(this)) {}
    ~Answers() override { AfxSetMessageBoxSink(m_previous); }
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        asked.push_back(text);
        return answer;
    }
    std::vector<CString> asked;
    int answer = IDOK;

private:
    CMessageBoxSink* m_previous;
};

// The program's own dialog under the same id.
const DlgItem kOtherItems[] = {{DlgKind::PushButton, IDOK, 4, 4, 40, 14, "OK"}};
const DialogTemplate kOther = {"Other", WS_POPUP | WS_CAPTION, 100,
                               40,      kOtherItems,           static_cast<int>(std::size(kOtherItems))};
const BOOL kOtherRegistered = AfxRegisterDialogTemplate(IDD_PLC_MAIN, &kOther);

class PlcEditorPlugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kOtherRegistered);
        plugin = proxy.CreateLoader("TvskLumoPlc.dll")->CreatePluginClass(nullptr);
        ASSERT_NE(plugin, nullptr);
        host.program = {{"LD", {1, 0, -1}}, {"OUT", {2, 0, -1}}, {"END", {-1, -1, -1}}};
        AfxGetApp()->WriteProfileBinary("Settings", "LumoPlcWin", nullptr, 0);
    }

    // Runs the editor with the step done inside the dialog's loop.
    void Run(std::function<void(CDlgLumoPlc&)> step)
    {
        QTimer::singleShot(0,
                           [step]
                           {
                               auto* dialog = dynamic_cast<CDlgLumoPlc*>(
                                   CWnd::FromWidget(QApplication::activeModalWidget()));
                               ASSERT_NE(dialog, nullptr);
                               step(*dialog);
                           });
        plugin->SendCommand(PLUGINCMD_SETINTF, reinterpret_cast<intptr_t>(&host), 0);
        EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    }

    CPluginLoaderProxy proxy;
    CPluginImpl* plugin = nullptr;
    PlcTestHost host;
    Answers boxes;
};

TEST_F(PlcEditorPlugin, WithoutAHostRunOpensNothing)
{
    EXPECT_STREQ(plugin->GetClassName(), "TvskLumoPlcClass");
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_SETPARENT, 0, 0), 0);
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget() != nullptr; });
    EXPECT_EQ(plugin->SendCommand(PLUGINCMD_RUN, 0, 0), 0);
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(plugin->SendCommand(99, 0, 0), 0);
}

TEST_F(PlcEditorPlugin, OpensItsOwnDialogOnTheHostsProgramAndNewCodeIsStoredOnClose)
{
    CString caption, before, after;
    bool gripShown = false;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            caption = dialog.GetWindowText();
            for (QSizeGrip* grip : dialog.GetWidget()->findChildren<QSizeGrip*>())
                gripShown = gripShown || grip->isVisible();
            before = dialog.GetDlgItem(IDC_PLC_CODE_COUNT)->GetWindowText();
            dialog.SendMessage(WM_COMMAND, ID_PLC_NEW_CODE, 0);
            after = dialog.GetDlgItem(IDC_PLC_CODE_COUNT)->GetWindowText();
            EXPECT_TRUE(dialog.IsModified());
            EXPECT_EQ(dialog.GetWindowText(), CString("Lumo Plc*"));
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(caption, CString("Lumo Plc"));
    EXPECT_FALSE(gripShown);
    EXPECT_EQ(before, CString("3 / 128"));
    EXPECT_EQ(after, CString("1 / 128"));
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0], CString("Questa azione provoca la cancellazione del PLC esistente"));
    ASSERT_EQ(host.program.size(), 1u);
    EXPECT_EQ(host.program[0].text, "END");
    BYTE* data = nullptr;
    UINT bytes = 0;
    EXPECT_TRUE(AfxGetApp()->GetProfileBinary("Settings", "LumoPlcWin", &data, &bytes));
    delete[] data;
    EXPECT_EQ(bytes, 16u);
}

TEST_F(PlcEditorPlugin, APlacementOffEveryScreenIsIgnored)
{
    const int32_t far[4] = {-9000, -9000, -8000, -8500};
    AfxGetApp()->WriteProfileBinary("Settings", "LumoPlcWin", reinterpret_cast<const BYTE*>(far), 16);
    CRect rect;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            dialog.GetWindowRect(&rect);
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_NE(rect.left, -9000);
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(host.program.size(), 3u);
}
// Typed into the instruction list under the program's own key handling: Return breaks the line
// and leaves the window open; Escape leaves through the check and keeps the program.
TEST_F(PlcEditorPlugin, ReturnInTheInstructionListBreaksTheLine)
{
    CString typed;
    bool openAfterReturn = false;
    bool backInLadder = false;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            QTimer::singleShot(
                0,
                [&]
                {
                    auto* il =
                        dynamic_cast<CDlgLumoPlcIL*>(CWnd::FromWidget(QApplication::activeModalWidget()));
                    ASSERT_NE(il, nullptr);
                    QWidget* view = il->GetView()->GetWidget();
                    QTest::keyClicks(view, "(* nota *)");
                    QTest::keyClick(view, Qt::Key_Return);
                    QTimer::singleShot(
                        0,
                        [&, il, view]
                        {
                            openAfterReturn = QApplication::activeModalWidget() == il->GetWidget();
                            if (!openAfterReturn)
                                return;
                            il->GetView()->GetDocument()->GetTextBuffer().GetAllText(typed, CRLF_STYLE_MAC);
                            QTest::keyClick(view, Qt::Key_Escape);
                        });
                });
            dialog.SendMessage(WM_COMMAND, ID_PLC_IL_MODE, 0);
            backInLadder = QApplication::activeModalWidget() == dialog.GetWidget();
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_TRUE(openAfterReturn);
    EXPECT_EQ(typed.Left(11), CString("(* nota *)\n"));
    EXPECT_TRUE(backInLadder);
    EXPECT_TRUE(boxes.asked.empty());
    // The typed comment is kept, as a comment line before the program.
    ASSERT_EQ(host.program.size(), 4u);
    EXPECT_NE(host.program[0].text.find("nota"), std::string::npos) << host.program[0].text;
    EXPECT_EQ(host.program[1].text, "LD");
    EXPECT_EQ(host.program[3].text, "END");
}
} // namespace
