// The chosen language in the window layer: template texts through the program's translator and
// the toolkit's own texts from its installed translations.
#include <ui/Language.h>
#include <ui/Ui.h>

#include <QPushButton>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{

constexpr UINT kLanguageDialog = 30021;
constexpr UINT kGreeting = 101;

const DlgItem kItems[] = {
    {DlgKind::LText, kGreeting, 4, 8, 100, 8, " Hello "},
    {DlgKind::PushButton, IDCANCEL, 70, 40, 50, 14, "Untranslated"},
};
const DialogTemplate kTemplate = {"Greeting", WS_POPUP | WS_CAPTION, 160, 60, kItems, 2};
const BOOL kRegistered = AfxRegisterDialogTemplate(kLanguageDialog, &kTemplate);

class LanguageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        AfxSetTextTranslator(
            [](const char* text, CString& translated)
            {
                static const std::map<std::string, std::string> italian{{"Hello", "Ciao"},
                                                                        {"Greeting", "Saluto"}};
                const auto found = italian.find(text);
                if (found == italian.end())
                    return false;
                translated = found->second.c_str();
                return true;
            });
    }
    void TearDown() override
    {
        AfxSetTextTranslator({});
        AfxSetToolkitLanguage("en");
    }
};

TEST_F(LanguageTest, TemplateTextsComeThroughTheTranslatorKeepingTheirBlanks)
{
    ASSERT_TRUE(kRegistered);
    CDialog dialog(kLanguageDialog);
    ASSERT_TRUE(dialog.Create(kLanguageDialog));
    EXPECT_EQ(dialog.GetWindowText(), CString("Saluto"));
    EXPECT_EQ(dialog.GetDlgItem(kGreeting)->GetWindowText(), CString(" Ciao "));
    EXPECT_EQ(dialog.GetDlgItem(IDCANCEL)->GetWindowText(), CString("Untranslated"));
    dialog.DestroyWindow();

    AfxSetTextTranslator({});
    EXPECT_EQ(AfxTranslatedText(" Hello "), CString(" Hello ")) << "no translator: the text itself";
    EXPECT_EQ(AfxTranslatedText(nullptr), CString());
}

TEST_F(LanguageTest, TheToolkitsStandardButtonsFollowTheLanguage)
{
    ASSERT_TRUE(AfxSetToolkitLanguage("it"))
        << "the toolkit's Italian translations are installed (scripts/deps)";
    {
        QMessageBox box;
        EXPECT_EQ(box.addButton(QMessageBox::Cancel)->text(), QString("Annulla"));
    }
    ASSERT_TRUE(AfxSetToolkitLanguage("en"));
    QMessageBox box;
    EXPECT_EQ(box.addButton(QMessageBox::Cancel)->text(), QString("Cancel"));
}

} // namespace
