// The bit, FIN and properties dialogs run modal and driven from inside their loops.
#include <TvskLumoPlc/shell/DlgBitSelect.h>
#include <TvskLumoPlc/shell/DlgFin.h>
#include <TvskLumoPlc/shell/DlgPlcProperties.h>
#include <TvskLumoPlc/shell/PlcIds.h>
#include <TvskLumoPlc/shell/RangedEdit.h>

#include "ShellTestSupport.h"

#include <Tarveskon/PluginIntf.h>
#include <com/Variant.h>
#include <ui/Controls.h>
#include <ui/MessageBox.h>
#include <ui/SpinButtonCtrl.h>

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

namespace
{
class TextHost : public CPluginIntf
{
public:
    BOOL GetString(UINT id, CString& text) override
    {
        const auto found = strings.find(id);
        if (found == strings.end())
        {
            // The program's own table answers every id, with an empty text when it has none.
            text.Empty();
            return answersEveryId ? TRUE : FALSE;
        }
        text = found->second;
        return TRUE;
    }
    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    std::map<UINT, CString> strings;
    bool answersEveryId = false;
};

// Runs the dialog with the steps done inside its loop, each in its own turn; the dialog is
// cancelled when it is still open after the last. Turns after the dialog closed never run.
void RunSteps(CDialog& dialog, std::vector<std::function<void()>> steps, size_t next)
{
    if (next == steps.size())
    {
        dialog.EndDialog(IDCANCEL);
        return;
    }
    steps[next]();
    if (QWidget* widget = dialog.GetWidget())
        QTimer::singleShot(0, widget, [&dialog, steps, next] { RunSteps(dialog, steps, next + 1); });
}

INT_PTR RunWith(CDialog& dialog, std::vector<std::function<void()>> steps)
{
    QTimer::singleShot(0, [&dialog, steps] { RunSteps(dialog, steps, 0); });
    return dialog.DoModal();
}

CString Text(const CWnd& dialog, UINT id)
{
    return dialog.GetDlgItem(static_cast<int>(id))->GetWindowText();
}

bool Checked(const CWnd& dialog, UINT id)
{
    return static_cast<CButton*>(dialog.GetDlgItem(static_cast<int>(id)))->GetCheck() == BST_CHECKED;
}

void Ok(CDialog& dialog)
{
    dialog.SendMessage(WM_COMMAND, IDOK, 0);
}

void Spin(CWnd& dialog, UINT id, int delta)
{
    static_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(static_cast<int>(id)))->Step(delta);
}

TEST(ParseWholeNumber, TakesSignedDigitsWithBlanksOnly)
{
    int value = -1;
    EXPECT_TRUE(ParseWholeNumber(" 12 ", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ParseWholeNumber("-3", value));
    EXPECT_EQ(value, -3);
    for (const char* text : {"", " ", "abc", "1a", "1.5", "-", "99999999999"})
        EXPECT_FALSE(ParseWholeNumber(text, value)) << text;
}

TEST(DlgBitSelect, OutOfRangeAndNonNumbersAreRefusedNamingTheRange)
{
    RecordingBoxes boxes;
    CDlgBitSelect dialog;
    dialog.m_nParam = 3;
    dialog.m_nBit = 7;
    CString shownParam;
    const INT_PTR result = RunWith(dialog,
                                   {
                                       [&] { shownParam = Text(dialog, IDC_BITSEL_PARAM); },
                                       [&] { dialog.SetDlgItemText(IDC_BITSEL_PARAM, "201"); },
                                       [&] { Ok(dialog); },
                                       [&]
                                       {
                                           dialog.SetDlgItemText(IDC_BITSEL_PARAM, "12");
                                           dialog.SetDlgItemText(IDC_BITSEL_BIT, "x");
                                       },
                                       [&] { Ok(dialog); },
                                       [&] { dialog.SetDlgItemText(IDC_BITSEL_BIT, "16"); },
                                       [&] { Ok(dialog); },
                                       [&] { dialog.SetDlgItemText(IDC_BITSEL_BIT, "8"); },
                                       [&] { Ok(dialog); },
                                   });
    EXPECT_EQ(shownParam, CString("3"));
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[0], CString("Inserire un numero intero da 0 a 200"));
    EXPECT_EQ(boxes.texts[1], CString("Inserire un numero intero da 0 a 15"));
    EXPECT_EQ(boxes.texts[2], CString("Inserire un numero intero da 0 a 15"));
    EXPECT_EQ(dialog.m_nParam, 12);
    EXPECT_EQ(dialog.m_nBit, 8);
}

TEST(DlgBitSelect, ParameterOnlyShowsOnlyTheParameterRowAndCallerTexts)
{
    CDlgBitSelect dialog;
    dialog.m_bParamOnly = 1;
    dialog.m_nBit = 5;
    dialog.m_strCaption = "Parametro";
    dialog.m_strOkText = "Scegli";
    bool bitShown = true, paramShown = false;
    CString caption, ok, cancel;
    const INT_PTR result =
        RunWith(dialog,
                {
                    [&]
                    {
                        bitShown = dialog.GetDlgItem(IDC_BITSEL_BIT)->IsWindowVisible() ||
                                   dialog.GetDlgItem(IDC_BITSEL_BIT_SPIN)->IsWindowVisible() ||
                                   dialog.GetDlgItem(IDC_BITSEL_BIT_LABEL)->IsWindowVisible();
                        paramShown = dialog.GetDlgItem(IDC_BITSEL_PARAM)->IsWindowVisible();
                        caption = dialog.GetWindowText();
                        ok = Text(dialog, IDOK);
                        cancel = Text(dialog, IDCANCEL);
                        dialog.SetDlgItemText(IDC_BITSEL_PARAM, "40");
                    },
                    [&] { Ok(dialog); },
                });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(bitShown);
    EXPECT_TRUE(paramShown);
    EXPECT_EQ(caption, CString("Parametro"));
    EXPECT_EQ(ok, CString("Scegli"));
    EXPECT_EQ(cancel, CString("Exit"));
    EXPECT_EQ(dialog.m_nParam, 40);
    EXPECT_EQ(dialog.m_nBit, 5);
}

TEST(DlgBitSelect, ArrowsStepTheEditWithinTheRange)
{
    CDlgBitSelect dialog;
    dialog.m_nParam = 199;
    dialog.m_nBit = 0;
    CString param, bit;
    RunWith(dialog, {[&]
                     {
                         Spin(dialog, IDC_BITSEL_PARAM_SPIN, 1);
                         Spin(dialog, IDC_BITSEL_PARAM_SPIN, 1);
                         Spin(dialog, IDC_BITSEL_BIT_SPIN, -1);
                         param = Text(dialog, IDC_BITSEL_PARAM);
                         bit = Text(dialog, IDC_BITSEL_BIT);
                     }});
    EXPECT_EQ(param, CString("200"));
    EXPECT_EQ(bit, CString("0"));
}

TEST(DlgFin, OpensOnFinPr40AndBitZeroWhenNothingIsSet)
{
    CDlgFin dialog;
    bool fin = false, pr40 = false;
    CString bit;
    const INT_PTR result =
        RunWith(dialog,
                {
                    [&]
                    {
                        fin = Checked(dialog, IDC_FIN_POSITIVE) && !Checked(dialog, IDC_FIN_NEGATED);
                        pr40 = Checked(dialog, IDC_FIN_PR40) && !Checked(dialog, IDC_FIN_PR150);
                        bit = Text(dialog, IDC_FIN_BIT);
                    },
                    [&] { Ok(dialog); },
                });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(fin);
    EXPECT_TRUE(pr40);
    EXPECT_EQ(bit, CString("0"));
    EXPECT_TRUE(dialog.m_bPositive);
    EXPECT_EQ(dialog.m_nParam, 40);
}

TEST(DlgFin, NegatedPr150RoundTripsAndBitsAboveSevenAreRefused)
{
    RecordingBoxes boxes;
    CDlgFin dialog;
    dialog.m_nParam = 150;
    dialog.m_bPositive = false;
    dialog.m_nBit = 3;
    bool negated = false, pr150 = false;
    const INT_PTR result = RunWith(dialog,
                                   {
                                       [&]
                                       {
                                           negated = Checked(dialog, IDC_FIN_NEGATED);
                                           pr150 = Checked(dialog, IDC_FIN_PR150);
                                           dialog.SetDlgItemText(IDC_FIN_BIT, "8");
                                       },
                                       [&] { Ok(dialog); },
                                       [&] { dialog.SetDlgItemText(IDC_FIN_BIT, "6"); },
                                       [&] { Ok(dialog); },
                                   });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(negated);
    EXPECT_TRUE(pr150);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], CString("Inserire un numero intero da 0 a 7"));
    EXPECT_FALSE(dialog.m_bPositive);
    EXPECT_EQ(dialog.m_nParam, 150);
    EXPECT_EQ(dialog.m_nBit, 6);
}

TEST(DlgFin, KindAndParameterRadiosAreSeparateGroups)
{
    CDlgFin dialog;
    bool finCleared = false, pr40Kept = false;
    const INT_PTR result =
        RunWith(dialog,
                {
                    [&]
                    {
                        static_cast<CButton*>(dialog.GetDlgItem(IDC_FIN_NEGATED))->SetCheck(BST_CHECKED);
                        finCleared = !Checked(dialog, IDC_FIN_POSITIVE);
                        pr40Kept = Checked(dialog, IDC_FIN_PR40);
                    },
                    [&] { Ok(dialog); },
                });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(finCleared);
    EXPECT_TRUE(pr40Kept);
    EXPECT_FALSE(dialog.m_bPositive);
    EXPECT_EQ(dialog.m_nParam, 40);
}

TEST(DlgFin, AnyParameterButOneHundredFiftyOpensOnPr40)
{
    CDlgFin dialog;
    dialog.m_nParam = 42;
    bool pr40 = false;
    RunWith(dialog, {[&] { pr40 = Checked(dialog, IDC_FIN_PR40); }, [&] { Ok(dialog); }});
    EXPECT_TRUE(pr40);
    EXPECT_EQ(dialog.m_nParam, 40);
}

TEST(DlgPlcProperties, HostTextsFirstThenTheModulesAndCancelKeepsTheStrings)
{
    TextHost host;
    host.strings[IDS_PLC_PROPERTIES_CAPTION] = "Properties";
    host.strings[IDS_PLC_RELEASE] = "Release (host):";
    CDlgPlcProperties dialog;
    dialog.m_pHost = &host;
    dialog.m_strRelease = "2.1";
    dialog.m_strNote = "prima";
    CString caption, release, version, edit;
    const INT_PTR result = RunWith(dialog, {[&]
                                            {
                                                caption = dialog.GetWindowText();
                                                release = Text(dialog, IDC_PROP_RELEASE_LABEL);
                                                version = Text(dialog, IDC_PROP_VERSION_LABEL);
                                                edit = Text(dialog, IDC_PROP_RELEASE);
                                                dialog.SetDlgItemText(IDC_PROP_NOTE, "dopo");
                                            }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(caption, CString("Properties"));
    EXPECT_EQ(release, CString("Release (host):"));
    EXPECT_EQ(version, CString("Versione:"));
    EXPECT_EQ(edit, CString("2.1"));
    EXPECT_EQ(dialog.m_strNote, CString("prima"));
}

// A host whose table lacks a text answers it empty: the module's own text is shown instead.
TEST(DlgPlcProperties, AnEmptyHostTextFallsBackToTheModulesOwn)
{
    TextHost host;
    host.answersEveryId = true;
    host.strings[IDS_PLC_RELEASE] = "Release (host):";
    EXPECT_EQ(PlcHostString(&host, IDS_PLC_CODE_LABEL), CString("Istruzioni:"));
    CDlgPlcProperties dialog;
    dialog.m_pHost = &host;
    CString caption, release, version;
    RunWith(dialog, {[&]
                     {
                         caption = dialog.GetWindowText();
                         release = Text(dialog, IDC_PROP_RELEASE_LABEL);
                         version = Text(dialog, IDC_PROP_VERSION_LABEL);
                     }});
    EXPECT_EQ(caption, CString("Proprietà LumoPLC"));
    EXPECT_EQ(release, CString("Release (host):"));
    EXPECT_EQ(version, CString("Versione:"));
}

TEST(DlgPlcProperties, WithoutHostTheLayoutTextsStayAndOkCopiesTheEdits)
{
    CDlgPlcProperties dialog;
    CString caption, label;
    const INT_PTR result = RunWith(dialog, {[&]
                                            {
                                                caption = dialog.GetWindowText();
                                                label = Text(dialog, IDC_PROP_AUTHOR_LABEL);
                                                dialog.SetDlgItemText(IDC_PROP_AUTHOR, "Rossi");
                                                dialog.SetDlgItemText(IDC_PROP_VERSION, "3");
                                            },
                                            [&] { Ok(dialog); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, CString("Proprietà LumoPLC"));
    EXPECT_EQ(label, CString("Autore :"));
    EXPECT_EQ(dialog.m_strAuthor, CString("Rossi"));
    EXPECT_EQ(dialog.m_strVersion, CString("3"));
}
} // namespace
