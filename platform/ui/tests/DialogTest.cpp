// Dialogs from layout tables: unit conversion, controls, modal and modeless runs, dialog keys.
#include "UiTestSupport.h"

#include <testing/DialogFit.h>
#include <ui/SpinButtonCtrl.h>
#include <ui/Ui.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{

constexpr UINT kTestDialog = 30001;
constexpr UINT kNameEdit = 100;
constexpr UINT kTitleText = 101;

const DlgItem kItems[] = {
    {DlgKind::LText, kTitleText, 4, 8, 100, 8, "Name:"},
    {DlgKind::EditText, kNameEdit, 4, 20, 100, 12},
    {DlgKind::DefPushButton, IDOK, 10, 40, 50, 14, "OK"},
    {DlgKind::PushButton, IDCANCEL, 70, 40, 50, 14, "Cancel"},
};
const DialogTemplate kTemplate = {"Test", WS_POPUP | WS_CAPTION | DS_MODALFRAME, 160, 60, kItems, 4};
const BOOL kRegistered = AfxRegisterDialogTemplate(kTestDialog, &kTemplate);

class TestDialog : public CDialog
{
public:
    TestDialog() : CDialog(kTestDialog) {}
    int initCalls = 0;
    UINT postOnInit = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++initCalls;
        SetDlgItemText(kNameEdit, "initial");
        if (postOnInit)
            PostMessage(WM_COMMAND, postOnInit, 0);
        return TRUE;
    }
};

TEST(DialogUnits, ConvertByTheBaseUnitsRoundingToNearest)
{
    EXPECT_EQ(DialogUnitsToPixels(CRect(4, 8, 8, 16), CSize(6, 13)), CRect(6, 13, 12, 26));
    // 243 * 6 / 4 = 364.5 and 206 * 13 / 8 = 334.75
    EXPECT_EQ(DialogUnitsToPixels(CRect(0, 0, 243, 206), CSize(6, 13)), CRect(0, 0, 365, 335));
    EXPECT_EQ(DialogUnitsToPixels(CRect(-4, -8, 0, 0), CSize(7, 15)), CRect(-7, -15, 0, 0));
}

TEST(DialogUnits, BaseUnitsAreTheFontsAverageLetterWidthAndHeight)
{
    CSize previous;
    for (const int points : tvsk::testing::kDesktopFontPoints)
    {
        const tvsk::testing::ScopedDesktopFont font(points);
        const QFontMetrics metrics(QApplication::font());
        const double average =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
        const CSize base = GetDialogBaseUnits();
        EXPECT_NEAR(base.cx, average, 0.5) << points << " pt";
        EXPECT_EQ(base.cy, metrics.height()) << points << " pt";
        EXPECT_GT(base.cx, previous.cx) << points << " pt";
        EXPECT_GT(base.cy, previous.cy) << points << " pt";
        EXPECT_EQ(DialogUnitsToPixels(CRect(0, 0, 8, 16)), CRect(0, 0, 2 * base.cx, 2 * base.cy));
        previous = base;
    }
}

TEST(DialogUnits, DialogsAndTheirControlsFollowTheDesktopFont)
{
    for (const int points : tvsk::testing::kDesktopFontPoints)
    {
        const tvsk::testing::ScopedDesktopFont font(points);
        const CSize base = GetDialogBaseUnits();
        TestDialog dialog;
        ASSERT_TRUE(dialog.Create(kTestDialog));
        CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ(client, DialogUnitsToPixels(CRect(0, 0, 160, 60), base)) << points << " pt";
        CRect editRect;
        dialog.GetDlgItem(kNameEdit)->GetWindowRect(&editRect);
        dialog.ScreenToClient(&editRect);
        EXPECT_EQ(editRect, DialogUnitsToPixels(CRect(4, 20, 104, 32), base)) << points << " pt";
        CRect mapped(10, 40, 60, 54);
        dialog.MapDialogRect(&mapped);
        EXPECT_EQ(mapped, DialogUnitsToPixels(CRect(10, 40, 60, 54), base));
        EXPECT_EQ(tvsk::testing::FitProblems(dialog, kTemplate), std::vector<std::string>{})
            << points << " pt";
        dialog.DestroyWindow();
    }
}

TEST(DialogTemplates, RegistrationKeepsTheFirstTableForAnId)
{
    ASSERT_TRUE(kRegistered);
    const DialogTemplate other = kTemplate;
    EXPECT_FALSE(AfxRegisterDialogTemplate(kTestDialog, &other));
    EXPECT_TRUE(AfxRegisterDialogTemplate(kTestDialog, &kTemplate));
    EXPECT_EQ(AfxFindDialogTemplate(kTestDialog), &kTemplate);
    EXPECT_EQ(AfxFindDialogTemplate(30999), nullptr);
}

TEST(DialogModeless, ControlsAreCreatedFromTheTableInPixels)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialog));
    EXPECT_EQ(dialog.initCalls, 1);
    CWnd* edit = dialog.GetDlgItem(kNameEdit);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetWindowText(), CString("initial"));
    EXPECT_EQ(dialog.GetDlgItem(kTitleText)->GetWindowText(), CString("Name:"));
    EXPECT_EQ(dialog.GetDlgItem(IDOK)->GetClassName(), CString("Button"));
    dialog.DestroyWindow();
}

// What GetDlgItem finds is an object of the control's class, so callers may use it as one.
TEST(DialogModeless, ControlsAreObjectsOfTheirClass)
{
    constexpr UINT kTypedDialog = 30002;
    static const DlgItem items[] = {
        {DlgKind::CheckBox, 200, 4, 4, 60, 10, "on"},
        {DlgKind::EditText, 201, 4, 16, 40, 12},
        {DlgKind::ComboBox, 202, 4, 30, 60, 40},
        {DlgKind::ListBox, 203, 70, 4, 60, 40},
        {DlgKind::Control, 204, 46, 16, 10, 12, nullptr, 0, "msctls_updown32"},
        {DlgKind::LText, 205, 4, 46, 40, 8, "text"},
    };
    static const DialogTemplate layout = {"Typed", WS_POPUP | WS_CAPTION, 140, 60, items, 6};
    ASSERT_TRUE(AfxRegisterDialogTemplate(kTypedDialog, &layout));
    CDialog dialog(kTypedDialog);
    ASSERT_TRUE(dialog.Create(kTypedDialog));
    auto* check = dynamic_cast<CButton*>(dialog.GetDlgItem(200));
    ASSERT_NE(check, nullptr);
    check->SetCheck(BST_CHECKED);
    EXPECT_EQ(check->GetCheck(), BST_CHECKED);
    EXPECT_NE(dynamic_cast<CEdit*>(dialog.GetDlgItem(201)), nullptr);
    auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(202));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->AddString("a"), 0);
    EXPECT_NE(dynamic_cast<CListBox*>(dialog.GetDlgItem(203)), nullptr);
    auto* spin = dynamic_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(204));
    ASSERT_NE(spin, nullptr);
    spin->SetRange32(1, 9);
    EXPECT_EQ(spin->SetPos32(12), 0);
    EXPECT_EQ(spin->GetPos32(), 9);
    EXPECT_NE(dynamic_cast<CStatic*>(dialog.GetDlgItem(205)), nullptr);
    dialog.DestroyWindow();
}

TEST(DialogModal, PostedOkEndsTheRunWithIdOk)
{
    TestDialog dialog;
    dialog.postOnInit = IDOK;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogModal, MissingTemplateAnswersMinusOne)
{
    CDialog dialog(30998);
    EXPECT_EQ(dialog.DoModal(), -1);
}

class KeyDialog : public TestDialog
{
protected:
    BOOL OnInitDialog() override
    {
        TestDialog::OnInitDialog();
        PostMessage(WM_USER + 5, 0, 0);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 5)
        {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(GetDlgItem(kNameEdit)->GetWidget(), &press);
            return 0;
        }
        return TestDialog::WindowProc(message, wParam, lParam);
    }
};

TEST(DialogModal, EscapeInAControlCancelsTheDialog)
{
    KeyDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// A toolkit window over a dialog (a file box, a message box) keeps its keys: Enter and Escape
// answer that window, not the dialog under it.
TEST(DialogModeless, KeysOfAToolkitWindowOverTheDialogStayThere)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialog));
    dialog.ShowWindow(SW_SHOW);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
    {
        QDialog box(dialog.GetWidget());
        auto* name = new QLineEdit(&box);
        box.show();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(name, &press);
        EXPECT_TRUE(dialog.IsWindowVisible()) << key;
        EXPECT_EQ(box.isVisible(), key == Qt::Key_Return) << key;
    }
    dialog.DestroyWindow();
}

class KeyCountingDialog : public TestDialog
{
public:
    int keyDowns = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            ++keyDowns;
        return TestDialog::PreTranslateMessage(msg);
    }
};

// The toolkit may make each key's event where the one before was: every key typed still passes
// the pre-translation once.
TEST(DialogModeless, EveryKeyTypedPassesThePreTranslation)
{
    KeyCountingDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialog));
    dialog.ShowWindow(SW_SHOW);
    QWidget* name = dialog.GetDlgItem(kNameEdit)->GetWidget();
    for (int i = 0; i < 3; ++i)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::sendEvent(name, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::sendEvent(name, &release);
    }
    EXPECT_EQ(dialog.keyDowns, 3);
    dialog.DestroyWindow();
}

} // namespace

namespace
{

// A control that takes Return itself, as a text view does to break the line.
class ReturnTakingWnd : public CWnd
{
public:
    int returns = 0;

protected:
    UINT OnGetDlgCode(UINT key) override { return key == VK_RETURN ? DLGC_WANTMESSAGE : 0; }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        if (key == VK_RETURN)
            ++returns;
        CWnd::OnKeyDown(key, repeat, flags);
    }
};

void PressKey(CWnd* wnd, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(wnd->GetWidget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(wnd->GetWidget(), &release);
}

// Return in a control that asks for it reaches the control and leaves the dialog open; Escape
// there, and Return in an ordinary edit, still end the dialog.
TEST(DialogModeless, ReturnStaysWithAControlThatTakesIt)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialog));
    dialog.ShowWindow(SW_SHOW);
    ReturnTakingWnd text;
    ASSERT_TRUE(text.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(4, 60, 200, 120), &dialog, 300));

    PressKey(&text, Qt::Key_Return);
    EXPECT_EQ(text.returns, 1);
    EXPECT_TRUE(dialog.IsWindowVisible());

    PressKey(&text, Qt::Key_Escape);
    EXPECT_FALSE(dialog.IsWindowVisible());

    dialog.ShowWindow(SW_SHOW);
    PressKey(dialog.GetDlgItem(kNameEdit), Qt::Key_Return);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_EQ(text.returns, 1);
    dialog.DestroyWindow();
}

} // namespace
