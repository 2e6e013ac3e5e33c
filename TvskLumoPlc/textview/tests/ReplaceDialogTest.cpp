// The replace dialog: scope from the selection, Replace and Replace All, the block end following
// the replacements, empty find texts refused, the values kept on Cancel.
#include "TextViewFixture.h"

#include <TvskLumoPlc/text/TextEditStrings.h>
#include <TvskLumoPlc/textview/CrystalEditView.h>
#include <TvskLumoPlc/textview/TextReplaceDialog.h>

#include <QApplication>
#include <QTimer>

namespace
{

class ReplaceDialog : public TextViewFixture<CCrystalEditView>
{
protected:
    void Open(const char* what, const char* with)
    {
        m_view.PrepareReplaceDialog(m_dialog);
        m_dialog.m_sText = what;
        m_dialog.m_sNewText = with;
        ASSERT_TRUE(m_dialog.Create(IDS_REPLACE_DIALOG, &m_view));
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
        TextViewFixture::TearDown();
    }
    std::string Line(int line) const { return std::string(m_buffer.GetLine(line)); }

    CTextReplaceDialog m_dialog{&m_view};
};

TEST_F(ReplaceDialog, ScopeIsTheSelectionWhenThereIsOne)
{
    Load("a b a", CRLF_STYLE_MAC);
    m_view.PrepareReplaceDialog(m_dialog);
    EXPECT_EQ(m_dialog.m_nScope, 1);
    EXPECT_FALSE(m_dialog.m_bEnableScopeSelection);
    m_view.SetSelection(CPoint(1, 0), CPoint(4, 0));
    m_view.PrepareReplaceDialog(m_dialog);
    EXPECT_EQ(m_dialog.m_nScope, 0);
    EXPECT_TRUE(m_dialog.m_bEnableScopeSelection);
    EXPECT_EQ(m_dialog.m_ptBlockBegin, CPoint(1, 0));
    EXPECT_EQ(m_dialog.m_ptBlockEnd, CPoint(4, 0));
}

TEST_F(ReplaceDialog, ReplaceAllOfAByAaGivesSixAndEndsWithNotFound)
{
    Load("aaa", CRLF_STYLE_MAC);
    Open("a", "aa");
    m_dialog.OnEditReplaceAll();
    EXPECT_EQ(Line(0), "aaaaaa");
    ASSERT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(m_boxes.texts[0], "Cannot find string\"a\"");
    CString text;
    m_buffer.BackDescription(text);
    EXPECT_EQ(text, "Replace");
}

TEST_F(ReplaceDialog, ReplaceFindsFirstThenReplacesAndMovesOn)
{
    Load("LD x\nLD y\nLD z", CRLF_STYLE_MAC);
    Open("LD", "LDN");
    m_dialog.OnEditReplace(); // finds only
    EXPECT_EQ(Line(0), "LD x");
    EXPECT_TRUE(m_dialog.m_bFound);
    m_dialog.OnEditReplace();
    EXPECT_EQ(Line(0), "LDN x");
    EXPECT_EQ(m_dialog.m_ptFoundAt, CPoint(0, 1));
    m_dialog.OnEditSkip();
    EXPECT_EQ(m_dialog.m_ptFoundAt, CPoint(0, 2));
    m_dialog.OnEditSkip(); // no wrapping
    EXPECT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(m_dialog.m_ptCurrentPos, CPoint(0, 0));
}

TEST_F(ReplaceDialog, InASelectionTheBlockEndFollowsTheReplacements)
{
    Load("x x x x", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(0, 0), CPoint(5, 0)); // "x x x"
    Open("x", "yyy");
    m_dialog.OnEditReplaceAll();
    EXPECT_EQ(Line(0), "yyy yyy yyy x");
    EXPECT_EQ(m_dialog.m_ptBlockEnd, CPoint(11, 0));
}

TEST_F(ReplaceDialog, AnEmptyFindTextIsRefusedAndDisablesTheButtons)
{
    Load("aaa", CRLF_STYLE_MAC);
    Open("", "b");
    for (UINT id : {IDC_EDIT_SKIP, IDC_EDIT_REPLACE, IDC_EDIT_REPLACE_ALL})
        EXPECT_FALSE(m_dialog.GetDlgItem(static_cast<int>(id))->IsWindowEnabled());
    m_dialog.OnEditReplaceAll();
    m_dialog.OnEditReplace();
    m_dialog.OnEditSkip();
    EXPECT_EQ(Line(0), "aaa");
    EXPECT_TRUE(m_boxes.texts.empty());
    m_dialog.SetDlgItemText(IDC_EDIT_TEXT, "a");
    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EDIT_TEXT, EN_CHANGE), 0);
    EXPECT_TRUE(m_dialog.GetDlgItem(IDC_EDIT_REPLACE_ALL)->IsWindowEnabled());
}

TEST_F(ReplaceDialog, CancelKeepsTheTypedValues)
{
    Load("aaa", CRLF_STYLE_MAC);
    Open("a", "b");
    m_dialog.SetDlgItemText(IDC_EDIT_TEXT, "typed");
    m_dialog.SetDlgItemText(IDC_EDIT_REPLACE_WITH, "other");
    m_dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(m_dialog.m_sText, "typed");
    EXPECT_EQ(m_dialog.m_sNewText, "other");
}

// Answers the next modal dialog with Cancel after changing its find text.
void CancelNextDialogTyping(const char* findText)
{
    QTimer::singleShot(0,
                       [findText]
                       {
                           for (QWidget* widget : QApplication::topLevelWidgets())
                           {
                               auto* dialog = dynamic_cast<CDialog*>(CWnd::FromWidget(widget));
                               if (dialog && widget->isVisible())
                               {
                                   dialog->SetDlgItemText(IDC_EDIT_TEXT, findText);
                                   dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
                                   return;
                               }
                           }
                       });
}

TEST_F(ReplaceDialog, TheDialogsOpenWithTheProfileAndWriteBackWhatWasTyped)
{
    Load("OUT 1\nLD 2", CRLF_STYLE_MAC);
    CWinApp* app = AfxGetApp();
    app->WriteProfileString("TextEdit\\Find", "FindWhat", "OUT");
    app->WriteProfileInt("TextEdit\\Find", "MatchCase", 1);
    CancelNextDialogTyping("LD");
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
    EXPECT_EQ(m_view.GetLastSearchText(), "LD");
    EXPECT_EQ(m_view.GetLastSearchFlags(), FIND_MATCH_CASE);
    EXPECT_EQ(app->GetProfileString("TextEdit\\Find", "FindWhat", ""), "LD");

    app->WriteProfileString("TextEdit\\Replace", "ReplaceWith", "ORN");
    CancelNextDialogTyping("AND");
    m_view.SendMessage(WM_COMMAND, ID_EDIT_REPLACE, 0);
    EXPECT_EQ(app->GetProfileString("TextEdit\\Replace", "FindWhat", ""), "AND");
    EXPECT_EQ(app->GetProfileString("TextEdit\\Replace", "ReplaceWith", ""), "ORN");
    EXPECT_EQ(std::string(m_buffer.GetLine(0)), "OUT 1");
}

} // namespace
