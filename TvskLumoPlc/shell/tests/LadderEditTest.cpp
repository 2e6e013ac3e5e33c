// Editing in the main PLC dialog through its command ids: the instruction buttons and their rules,
// Delete, comments, the operand dialogs of the view, the status cell and both toolbars.
#include <TvskLumoPlc/graph/GraphObject.h>
#include <TvskLumoPlc/graphview/GraphDoc.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/shell/DlgBitSelect.h>
#include <TvskLumoPlc/shell/DlgFin.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/Controls.h>
#include <ui/Dialog.h>
#include <ui/Gdi.h>
#include <ui/MessageBox.h>
#include <ui/Resources.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace
{
const tvsk::test::TestApplication g_app("PlcEditTests", "MurnApps");

using Instr = PlcTestHost::Instr;
constexpr std::array<int, 3> kNone = {-1, -1, -1};

// Keeps the program, answers the compare as equal and reads the alarm it is given.
class EditHost : public PlcTestHost
{
public:
    long SendCommand(UINT code, long param1, long) override
    {
        if (code == 10)
            connected = !connected;
        if (code == 33)
            *reinterpret_cast<int*>(param1) = 1;
        return code == 14 ? 1 : 0;
    }
    BOOL IsConnected() override { return connected; }
    int GetAlarm() override { return alarm; }
    BOOL GetString(UINT id, CString& text) override
    {
        const auto found = strings.find(id);
        if (found == strings.end())
            return FALSE;
        text = found->second;
        return TRUE;
    }

    bool connected = false;
    int alarm = 0;
    std::map<UINT, CString> strings;
};

// The modal dialog open now, as its own class.
template <class T> T* OpenDialog()
{
    return dynamic_cast<T*>(CWnd::FromWidget(QApplication::activeModalWidget()));
}

// Answers the next modal dialog from inside its loop.
template <class T> void WhenOpen(std::function<void(T&)> answer)
{
    QTimer::singleShot(0,
                       [answer]
                       {
                           if (T* dialog = OpenDialog<T>())
                               answer(*dialog);
                       });
}

class LadderEdit : public ::testing::Test
{
protected:
    void Run(const std::function<void(CDlgLumoPlc&)>& step) { RunPlcDialog(host, step); }
    static void Send(CDlgLumoPlc& dialog, UINT id) { dialog.SendMessage(WM_COMMAND, id, 0); }
    static CString Counter(CDlgLumoPlc& dialog)
    {
        return dialog.GetDlgItem(IDC_PLC_CODE_COUNT)->GetWindowText();
    }
    static CGraphDoc& Doc(CDlgLumoPlc& dialog) { return *dialog.GetView()->GetGraphDoc(); }
    // The element of the view's network (from 0) with that operand or name.
    static CGraphBlock* Element(CDlgLumoPlc& dialog, int network, const char* name)
    {
        CGraphDoc& doc = Doc(dialog);
        if (CGraphObjArray* elements = doc.GetNetworkElements(doc.GetNetwork(network)))
            for (CGraphBlock* element : *elements)
                if (element->GetName() == name)
                    return element;
        return nullptr;
    }
    static void Select(CDlgLumoPlc& dialog, int network, const char* name)
    {
        dialog.GetView()->SelectNetwork(network);
        CGraphBlock* element = Element(dialog, network, name);
        ASSERT_NE(element, nullptr) << name;
        dialog.GetView()->SelectElement(element);
    }
    // Double click on the selected element with the bit dialog answered word.bit.
    static void SetBit(CDlgLumoPlc& dialog, int word, int bit)
    {
        WhenOpen<CDlgBitSelect>(
            [word, bit](CDlgBitSelect& bits)
            {
                bits.SetDlgItemText(IDC_BITSEL_PARAM, std::to_string(word).c_str());
                bits.SetDlgItemText(IDC_BITSEL_BIT, std::to_string(bit).c_str());
                bits.SendMessage(WM_COMMAND, IDOK, 0);
            });
        dialog.GetView()->EditOperand();
    }
    static int NetCount(CDlgLumoPlc& dialog) { return dialog.GetLogicDoc().GetCount(); }

    EditHost host;
    RecordingBoxes boxes;
};

TEST_F(LadderEdit, NewCodeLdAndOutBuildAProgramOfFourWordsThatSaveCodeStores)
{
    host.program = {{"LD", {1, 0, -1}}, {"END", kNone}};
    CString counter, caption;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            Send(dialog, ID_PLC_NEW_CODE);
            EXPECT_EQ(Counter(dialog), CString("1 / 128"));
            Send(dialog, ID_PLC_LD);
            SetBit(dialog, 75, 0);
            Send(dialog, ID_PLC_AND);
            SetBit(dialog, 3, 0);
            Send(dialog, ID_PLC_OUT);
            SetBit(dialog, 42, 0);
            counter = Counter(dialog);
            Send(dialog, ID_PLC_SAVE_CODE);
            caption = dialog.GetWindowText();
        });
    EXPECT_EQ(counter, CString("4 / 128"));
    const std::vector<Instr> expected = {
        {"LD", {75, 0, -1}}, {"AND", {3, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    EXPECT_EQ(host.program, expected);
    EXPECT_EQ(caption, CString("Lumo Plc"));
    EXPECT_EQ(boxes.texts.size(), 1u) << "only New code's question";
}

TEST_F(LadderEdit, OrOnAnOutputAndLdBeforeAFinInNetOneDoNothing)
{
    host.program = {{"FIN", {40, 3, -1}}, {"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    Run(
        [](CDlgLumoPlc& dialog)
        {
            ASSERT_EQ(NetCount(dialog), 2);
            const int length = dialog.GetCodeLen();
            Select(dialog, 1, "42.0");
            Send(dialog, ID_PLC_OR);
            Send(dialog, ID_PLC_ORN);
            EXPECT_EQ(dialog.GetCodeLen(), length);
            EXPECT_FALSE(dialog.IsModified());

            dialog.GetView()->SelectNetwork(0);
            Send(dialog, ID_PLC_NET_BEFORE);
            Send(dialog, ID_PLC_LD);
            EXPECT_EQ(NetCount(dialog), 2);
            EXPECT_EQ(dialog.GetCodeLen(), length);

            dialog.GetView()->SelectNetwork(1);
            Send(dialog, ID_PLC_LDN);
            ASSERT_EQ(NetCount(dialog), 3);
            EXPECT_TRUE(dialog.GetLogicDoc().GetNet(2)->GetNetHead()->m_bNegated) << "before net 2";
            EXPECT_EQ(dialog.GetCodeLen(), length + 1);
        });
}

TEST_F(LadderEdit, OrBranchesAContactAndAndAfterAnOutputBranchesOff)
{
    host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "75.0");
            Send(dialog, ID_PLC_OR);
            SetBit(dialog, 76, 1);
            Select(dialog, 0, "42.0");
            Send(dialog, ID_PLC_ANDN);
            SetBit(dialog, 5, 2);
            Send(dialog, ID_PLC_OUTN);
            SetBit(dialog, 43, 0);
            EXPECT_TRUE(dialog.StoreProgram());
        });
    const std::vector<Instr> expected = {{"LD", {75, 0, -1}},  {"OR", {76, 1, -1}},   {"OUT", {42, 0, -1}},
                                         {"ANDN", {5, 2, -1}}, {"OUTN", {43, 0, -1}}, {"END", kNone}};
    EXPECT_EQ(host.program, expected);
}

TEST_F(LadderEdit, ABoxTakesTwoWordsAndFinFromNothingOpensOnFinPr40BitZero)
{
    host.program = {{"LD", {75, 0, -1}}, {"END", kNone}};
    bool positive = false;
    bool pr40 = false;
    CString bit;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "75.0");
            const int length = dialog.GetCodeLen();
            Send(dialog, ID_PLC_ADD);
            EXPECT_EQ(dialog.GetCodeLen(), length + 2);
            Send(dialog, ID_PLC_NEW_CODE);
            WhenOpen<CDlgFin>(
                [&](CDlgFin& fin)
                {
                    positive =
                        static_cast<CButton*>(fin.GetDlgItem(IDC_FIN_POSITIVE))->GetCheck() == BST_CHECKED;
                    pr40 = static_cast<CButton*>(fin.GetDlgItem(IDC_FIN_PR40))->GetCheck() == BST_CHECKED;
                    bit = fin.GetDlgItem(IDC_FIN_BIT)->GetWindowText();
                    fin.SendMessage(WM_COMMAND, IDOK, 0);
                });
            Send(dialog, ID_PLC_FIN);
            ASSERT_EQ(NetCount(dialog), 1);
            EXPECT_EQ(dialog.GetLogicDoc().GetNet(1)->GetNetHead()->m_strText, CString("FIN P40.0"));
            EXPECT_EQ(Counter(dialog), CString("2 / 128"));
            EXPECT_NE(Element(dialog, 0, "FIN P40.0"), nullptr);
        });
    EXPECT_TRUE(positive);
    EXPECT_TRUE(pr40);
    EXPECT_EQ(bit, CString("0"));
}

TEST_F(LadderEdit, DeleteTakesTheElementOrTheWholeNetAndTheDeleteKeyPostsIt)
{
    host.program = {{"LD", {75, 0, -1}}, {"AND", {3, 0, -1}},  {"OUT", {42, 0, -1}},
                    {"LD", {76, 0, -1}}, {"OUT", {43, 0, -1}}, {"END", kNone}};
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "3.0");
            Send(dialog, ID_PLC_DELETE);
            EXPECT_EQ(Counter(dialog), CString("5 / 128"));
            EXPECT_EQ(Element(dialog, 0, "3.0"), nullptr);
            EXPECT_NE(Element(dialog, 0, "75.0"), nullptr);

            auto* network = static_cast<CNetworkWnd*>(Doc(dialog).GetNetwork(1));
            Doc(dialog).SetCurrentNetwork(network);
            network->SetSelected(true);
            QTest::keyClick(network->GetObjectWnd()->GetWidget(), Qt::Key_Delete);
            EXPECT_TRUE(WaitUntil([&] { return NetCount(dialog) == 1; }));
            EXPECT_EQ(Counter(dialog), CString("3 / 128"));
            EXPECT_TRUE(dialog.IsModified());
        });
}

TEST_F(LadderEdit, ACommentGoesIntoTheCurrentNetAndIsStored)
{
    host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    host.strings[IDS_PLC_COMMENT] = "Nota";
    Run(
        [](CDlgLumoPlc& dialog)
        {
            dialog.GetView()->SelectNetwork(0);
            Send(dialog, ID_PLC_COMMENT);
            EXPECT_TRUE(dialog.IsModified());
            EXPECT_TRUE(dialog.StoreProgram());
        });
    ASSERT_EQ(host.program.size(), 4u);
    EXPECT_EQ(host.program[0].text, "COMM:Nota");
}

TEST_F(LadderEdit, SetAndRstFollowTheSelectedElementAndASelectedCommentIsDeleted)
{
    host.program = {{"COMM:Avvio", kNone}, {"LD", {75, 0, -1}}, {"END", kNone}};
    Run(
        [](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "75.0");
            Send(dialog, ID_PLC_SET);
            SetBit(dialog, 42, 1);
            Send(dialog, ID_PLC_RST);
            SetBit(dialog, 42, 2);
            EXPECT_EQ(Counter(dialog), CString("4 / 128"));

            CGraphDoc& doc = Doc(dialog);
            dialog.GetView()->SelectNetwork(0);
            CGraphBlock* comment = nullptr;
            for (CGraphBlock* element : *doc.GetNetworkElements(doc.GetNetwork(0)))
                if (element->GetType() == FBD_COMMENT)
                    comment = element;
            ASSERT_NE(comment, nullptr);
            dialog.GetView()->SelectElement(comment);
            Send(dialog, ID_PLC_DELETE);
            EXPECT_TRUE(dialog.StoreProgram());
        });
    const std::vector<Instr> expected = {
        {"LD", {75, 0, -1}}, {"SET", {42, 1, -1}}, {"RES", {42, 2, -1}}, {"END", kNone}};
    EXPECT_EQ(host.program, expected);
}

TEST_F(LadderEdit, AContactConfirmedWithBitEightStoresItAndMarksTheCaption)
{
    host.program = {{"LD", {3, 7, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    CString word, bit, title;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "3.7");
            WhenOpen<CDlgBitSelect>(
                [&](CDlgBitSelect& bits)
                {
                    word = bits.GetDlgItem(IDC_BITSEL_PARAM)->GetWindowText();
                    bit = bits.GetDlgItem(IDC_BITSEL_BIT)->GetWindowText();
                    title = bits.GetWindowText();
                    bits.SetDlgItemText(IDC_BITSEL_BIT, "8");
                    bits.SendMessage(WM_COMMAND, IDOK, 0);
                });
            dialog.GetView()->EditOperand();
            EXPECT_NE(Element(dialog, 0, "3.8"), nullptr);
            EXPECT_TRUE(WaitUntil([&] { return dialog.GetWindowText() == "Lumo Plc*"; }));
            EXPECT_TRUE(dialog.IsModified());
            EXPECT_TRUE(dialog.CanClose()) << "closing stores the edit";
        });
    EXPECT_EQ(word, CString("3"));
    EXPECT_EQ(bit, CString("7"));
    EXPECT_EQ(title, CString("Selezione parametro"));
    ASSERT_FALSE(host.program.empty());
    EXPECT_EQ(host.program[0], (Instr{"LD", {3, 8, -1}}));
}

TEST_F(LadderEdit, ADoubleClickOnAContactOpensItsBitDialog)
{
    host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    CString word;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            CGraphBlock* contact = Element(dialog, 0, "75.0");
            ASSERT_NE(contact, nullptr);
            auto* network = static_cast<CNetworkWnd*>(contact->GetNetwork());
            const CPoint centre = contact->GetWindowRect().CenterPoint();
            WhenOpen<CDlgBitSelect>(
                [&](CDlgBitSelect& bits)
                {
                    word = bits.GetDlgItem(IDC_BITSEL_PARAM)->GetWindowText();
                    bits.SetDlgItemText(IDC_BITSEL_PARAM, "76");
                    bits.SendMessage(WM_COMMAND, IDOK, 0);
                });
            QTest::mouseDClick(network->GetObjectWnd()->GetWidget(), Qt::LeftButton, {},
                               QPoint(centre.x, centre.y));
            EXPECT_NE(Element(dialog, 0, "76.0"), nullptr);
        });
    EXPECT_EQ(word, CString("75"));
}

TEST_F(LadderEdit, AVariableOfABoxIsEditedAsAParameterAlone)
{
    host.program = {{"LD", {75, 0, -1}}, {"ADD", {1, 2, 3}}, {"END", kNone}};
    bool bitShown = true;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            Select(dialog, 0, "P2");
            WhenOpen<CDlgBitSelect>(
                [&](CDlgBitSelect& bits)
                {
                    bitShown = bits.GetDlgItem(IDC_BITSEL_BIT)->IsWindowVisible() != FALSE;
                    bits.SetDlgItemText(IDC_BITSEL_PARAM, "7");
                    bits.SendMessage(WM_COMMAND, IDOK, 0);
                });
            dialog.GetView()->EditOperand();
            EXPECT_TRUE(dialog.StoreProgram());
        });
    EXPECT_FALSE(bitShown);
    ASSERT_EQ(host.program.size(), 3u);
    EXPECT_EQ(host.program[1], (Instr{"ADD", {1, 7, 3}}));
}

TEST_F(LadderEdit, WithoutItsStatusCellTheDialogDoesNotOpen)
{
    static char tag;
    const auto module = reinterpret_cast<HINSTANCE>(&tag);
    static const DlgItem items[] = {{DlgKind::Frame, IDC_PLC_VIEW_PLACEHOLDER, 0, 16, 480, 260}};
    static const DialogTemplate noCell = {"Lumo Plc", WS_POPUP | WS_CAPTION, 480, 300, items, 1};
    ASSERT_TRUE(AfxRegisterDialogTemplate(IDD_PLC_MAIN, &noCell, module));
    PlcModule();
    CResourceModuleScope resources(module);
    CDlgLumoPlc dialog;
    dialog.m_pPluginIntf = &host;
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST_F(LadderEdit, ANegatedFinOpensNegatedOnItsParameterAndBitAndCancelChangesNothing)
{
    host.program = {{"END", kNone}};
    host.strings[2055] = "Inserisci";
    bool positive = true;
    int parameter = 0, bit = 0;
    CString okText;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            // A parameter the drive's records cannot hold, so the text is put into the document.
            CLDLogicDoc& doc = dialog.GetLogicDoc();
            doc.AppendNet();
            auto* box = new CLDLogicElem;
            box->m_nType = LDELEM_BOX;
            box->m_strText = "NFIN P12.3";
            ASSERT_TRUE(doc.GetNet(1)->AddCascade(box));
            dialog.RebuildView();
            Select(dialog, 0, "NFIN P12.3");
            WhenOpen<CDlgFin>(
                [&](CDlgFin& fin)
                {
                    positive = fin.m_bPositive;
                    parameter = fin.m_nParam;
                    bit = fin.m_nBit;
                    okText = fin.GetDlgItem(IDOK)->GetWindowText();
                    fin.SendMessage(WM_COMMAND, IDCANCEL, 0);
                });
            dialog.GetView()->EditOperand();
            QTest::qWait(20);
            EXPECT_FALSE(dialog.IsModified());
            EXPECT_NE(Element(dialog, 0, "NFIN P12.3"), nullptr);
        });
    EXPECT_FALSE(positive);
    EXPECT_EQ(parameter, 12);
    EXPECT_EQ(bit, 3);
    EXPECT_EQ(okText, CString("Inserisci"));
}

TEST_F(LadderEdit, OnLineNoOperandDialogOpensAndNoInstructionChangesTheProgram)
{
    host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    host.connected = true;
    bool opened = false;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            ASSERT_TRUE(dialog.IsOnline()) << "opened on the host's link";
            // Bound to the dialog: without a modal to close it must not outlive the test.
            QTimer::singleShot(0, dialog.GetWidget(),
                               [&]
                               {
                                   if (auto* modal = OpenDialog<CDialog>(); modal && modal != &dialog)
                                   {
                                       opened = true;
                                       modal->EndDialog(IDCANCEL);
                                   }
                               });
            Select(dialog, 0, "75.0");
            dialog.GetView()->EditOperand();
            const int length = dialog.GetCodeLen();
            for (UINT id : {ID_PLC_LD, ID_PLC_AND, ID_PLC_OR, ID_PLC_OUT, ID_PLC_SET, ID_PLC_ADD, ID_PLC_FIN,
                            ID_PLC_DELETE, ID_PLC_COMMENT})
                Send(dialog, id);
            EXPECT_EQ(dialog.GetCodeLen(), length);
            EXPECT_EQ(NetCount(dialog), 1);
            EXPECT_FALSE(dialog.IsModified());
            QTest::qWait(20);
        });
    EXPECT_FALSE(opened);
}

// The cell's field colour, read inside its frame, and its text.
struct CellState
{
    COLORREF field;
    CString text;
};

CellState ReadCell(CDlgLumoPlc& dialog)
{
    CTriggerState& cell = dialog.GetStateCell();
    const QImage image = cell.GetWidget()->grab().toImage();
    return {FromQColor(image.pixelColor(8, 4)), cell.GetRows().GetText()};
}

TEST_F(LadderEdit, TheStatusCellShowsOffLineOnLineAndDataUnknown)
{
    host.program = {{"LD", {75, 0, -1}}, {"OUT", {42, 0, -1}}, {"END", kNone}};
    CellState off{}, on{}, unknown{};
    Run([&](CDlgLumoPlc& dialog) { off = ReadCell(dialog); });
    host.connected = true;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            on = ReadCell(dialog);
            host.alarm = -1;
            EXPECT_TRUE(WaitUntil([&] { return dialog.GetStateCell().GetRows().GetText() == "DATA ?"; }))
                << "timer 1 reads the alarm again";
            unknown = ReadCell(dialog);
        });
    EXPECT_EQ(off.field, RGB(0, 192, 0));
    EXPECT_EQ(off.text, CString("OFF LINE"));
    EXPECT_EQ(on.field, RGB(0, 0, 192));
    EXPECT_EQ(on.text, CString("ON LINE"));
    EXPECT_EQ(unknown.field, RGB(255, 255, 0));
    EXPECT_EQ(unknown.text, CString("DATA ?"));
}

TEST_F(LadderEdit, TheInstructionToolbarShowsTheMnemonicsInOrderWithTipsCutTo80)
{
    host.program = {{"END", kNone}};
    host.strings[ID_PLC_LD] = CString('x', 100);
    std::vector<UINT> ids;
    std::vector<CString> texts;
    std::vector<QString> tips;
    CSize button;
    UINT barId = 0;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            CToolBarDlg& bar = dialog.GetInstrToolBar();
            barId = static_cast<UINT>(bar.GetDlgCtrlID());
            CRect rect;
            bar.GetItemRect(0, &rect);
            button = rect.Size();
            for (int i = 0; i < bar.GetCount(); ++i)
            {
                ids.push_back(bar.GetItemID(i));
                texts.push_back(bar.GetButtonText(i));
            }
            std::vector<QToolButton*> buttons;
            for (QToolButton* widget : bar.GetWidget()->findChildren<QToolButton*>())
                buttons.push_back(widget);
            std::sort(buttons.begin(), buttons.end(),
                      [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
            for (QToolButton* widget : buttons)
                tips.push_back(widget->toolTip());
            buttons.front()->click(); // LD, as the user presses it
            EXPECT_EQ(Counter(dialog), CString("2 / 128"));
        });
    EXPECT_EQ(barId, 0xE801u);
    EXPECT_EQ(button, CSize(34, 34));
    const std::vector<UINT> order = {12802, 12801, 12803, 12804, 12807, 12808, 12805, 12806,
                                     12809, 12810, 12811, 12812, 12813, 12814, 12815};
    EXPECT_EQ(ids, order);
    const std::vector<CString> mnemonics = {"LD",  "LDN", "OR",  "ORN", "AND", "ANDN", "OUT", "OUTN",
                                            "ADD", "SUB", "MUL", "DIV", "SET", "RES",  "FIN"};
    EXPECT_EQ(texts, mnemonics);
    ASSERT_EQ(tips.size(), 15u);
    EXPECT_EQ(tips[0], QString(80, 'x'));
    EXPECT_EQ(tips[1], QString("Inserisci LDN"));
    EXPECT_EQ(tips[14], QString("Inserisci FIN"));
}
TEST_F(LadderEdit, EveryMainToolbarButtonHasItsOwnPictureAndItsCommandAsTip)
{
    host.program = {{"END", kNone}};
    host.strings[ID_PLC_EXIT] = "Chiude";
    std::vector<UINT> ids;
    std::vector<CString> tips;
    std::vector<QImage> pictures;
    std::vector<QString> shownTips;
    Run(
        [&](CDlgLumoPlc& dialog)
        {
            CToolBarDlg& bar = dialog.GetMainToolBar();
            const QList<QToolButton*> widgets = bar.GetWidget()->findChildren<QToolButton*>();
            for (int i = 0; i < bar.GetCount(); ++i)
            {
                if (bar.GetItemID(i) == ID_SEPARATOR)
                    continue;
                ids.push_back(bar.GetItemID(i));
                tips.push_back(bar.GetButtonToolTip(i));
                CRect rect;
                bar.GetItemRect(i, &rect);
                for (QToolButton* widget : widgets)
                    if (widget->geometry() == QRect(rect.left, rect.top, rect.Width(), rect.Height()))
                    {
                        pictures.push_back(widget->icon().pixmap(16, 15).toImage());
                        shownTips.push_back(widget->toolTip());
                        EXPECT_TRUE(widget->text().isEmpty()) << i;
                    }
            }
        });
    ASSERT_EQ(ids.size(), 12u);
    ASSERT_EQ(pictures.size(), ids.size());
    for (size_t i = 0; i < ids.size(); ++i)
    {
        const CString expected = ids[i] == ID_PLC_EXIT ? CString("Chiude") : PlcString(ids[i]);
        EXPECT_FALSE(expected.IsEmpty()) << ids[i];
        EXPECT_EQ(tips[i], expected) << ids[i];
        EXPECT_EQ(shownTips[i], QString::fromUtf8(expected.GetString())) << ids[i];
        const QImage& picture = pictures[i];
        ASSERT_FALSE(picture.isNull()) << ids[i];
        int marked = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                marked += picture.pixelColor(x, y) != QColor(192, 192, 192);
        EXPECT_GT(marked, 10) << "button " << ids[i] << " shows a picture";
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(picture, pictures[j]) << ids[i] << " and " << ids[j] << " look alike";
    }
}
} // namespace
