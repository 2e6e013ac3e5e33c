// The multi-line edit: text with line ends, appending that keeps the end in view, read-only.
#include <ui/Ui.h>

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace
{

const DlgItem kLogItems[] = {
    {DlgKind::EditText, 100, 4, 4, 120, 30, nullptr,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL},
};
const DialogTemplate kLogTemplate = {"Log", WS_POPUP | WS_CAPTION, 130, 40, kLogItems, 1};
constexpr UINT kLogDialog = 30011;
const BOOL kLogRegistered = AfxRegisterDialogTemplate(kLogDialog, &kLogTemplate);

class LogDialog : public CDialog
{
public:
    LogDialog() : CDialog(kLogDialog) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        log.SubclassDlgItem(100, this);
        return TRUE;
    }

public:
    CMultiLineEdit log;
};

TEST(MultiLineEditTest, TextKeepsItsLinesAndAppendingScrollsToTheEnd)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    CMultiLineEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 200, 60), &parent, 7));
    ASSERT_NE(qobject_cast<QPlainTextEdit*>(edit.GetWidget()), nullptr);

    edit.SetText("\r\nATZ0\r\nOK");
    EXPECT_EQ(edit.GetLineCount(), 3);
    EXPECT_EQ(edit.GetText(), CString("\r\nATZ0\r\nOK"));
    // A line end split between two appends is still one line end.
    edit.AppendText("\r");
    edit.AppendText("\nATE1\r\n");
    EXPECT_EQ(edit.GetText(), CString("\r\nATZ0\r\nOK\r\nATE1\r\n"));
    for (int i = 0; i < 50; ++i)
        edit.AppendText("\r\nline");
    EXPECT_EQ(edit.GetLineCount(), 55);
    EXPECT_TRUE(edit.IsEndVisible());
    edit.SetText("");
    EXPECT_EQ(edit.GetLineCount(), 1);
    EXPECT_TRUE(edit.GetText().IsEmpty());
    parent.DestroyWindow();
}

TEST(MultiLineEditTest, ADialogRowMakesAReadOnlyEditAndTheStyleCanChange)
{
    ASSERT_TRUE(kLogRegistered);
    LogDialog dialog;
    ASSERT_TRUE(dialog.Create(kLogDialog, nullptr));
    auto* widget = qobject_cast<QPlainTextEdit*>(dialog.log.GetWidget());
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isReadOnly());
    dialog.log.SetReadOnly(FALSE);
    EXPECT_FALSE(widget->isReadOnly());
    dialog.DestroyWindow();
}

} // namespace
