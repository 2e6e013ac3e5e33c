// The ladder view in the PLC dialog on the TK20 and TK40 sample programs, driven with real mouse
// and key events: element windows, context menus, Enter, Delete, toggle and the drawing.
#include <TvskLumoPlc/graph/GraphObject.h>
#include <TvskLumoPlc/graphview/GraphDoc.h>
#include <TvskLumoPlc/graphview/LDView.h>
#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphPin.h>
#include <TvskLumoPlc/shell/DlgBitSelect.h>
#include <TvskLumoPlc/shell/DlgLumoPlc.h>
#include <TvskLumoPlc/shell/PlcIds.h>

#include "PlcTestHost.h"
#include "ShellTestSupport.h"

#include <testing/TestApplication.h>
#include <testing/WaitUntil.h>
#include <ui/Menu.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const tvsk::test::TestApplication g_app("PlcInputTests", "MurnApps");

// The PLC lines of a sample configuration.
std::vector<PlcTestHost::Instr> SampleProgram(const std::string& name)
{
    std::vector<PlcTestHost::Instr> program;
    std::ifstream in(std::string(TVSK_SAMPLE_DATA_DIR) + "/" + name);
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("PLC\t", 0) != 0)
            continue;
        const size_t open = line.find('"');
        const size_t close = line.find('"', open + 1);
        PlcTestHost::Instr instr{line.substr(open + 1, close - open - 1), {-1, -1, -1}};
        std::istringstream operands(line.substr(close + 1));
        for (int& operand : instr.operands)
            operands >> operand;
        program.push_back(instr);
    }
    return program;
}

class LadderViewInput : public ::testing::Test
{
protected:
    void Open(const char* sample, const std::function<void(CDlgLumoPlc&)>& step)
    {
        host.program = SampleProgram(sample);
        ASSERT_FALSE(host.program.empty()) << sample;
        // What the opening posted is done before the step looks at the windows.
        RunPlcDialog(host,
                     [&step](CDlgLumoPlc& dialog)
                     {
                         QApplication::processEvents();
                         step(dialog);
                     });
    }
    // A picture of the view for looking at, when PLC_PICTURES names a folder.
    static void Picture(CDlgLumoPlc& dialog, const char* name)
    {
        if (const char* folder = std::getenv("PLC_PICTURES"))
            dialog.GetView()->GetWidget()->grab().save(QString(folder) + "/" +
                                                       QString(name).replace('/', '_') + ".png");
    }
    static std::vector<CGraphBlock*> Elements(CDlgLumoPlc& dialog, int network)
    {
        std::vector<CGraphBlock*> all;
        CGraphDoc& doc = *dialog.GetView()->GetGraphDoc();
        if (CGraphObjArray* elements = doc.GetNetworkElements(doc.GetNetwork(network)))
            all.assign(elements->begin(), elements->end());
        return all;
    }

    static CNetworkWnd* Network(CDlgLumoPlc& dialog, int network)
    {
        return static_cast<CNetworkWnd*>(dialog.GetView()->GetGraphDoc()->GetNetwork(network));
    }
    static CGraphBlock* Find(CDlgLumoPlc& dialog, int network, const char* name)
    {
        for (CGraphBlock* element : Elements(dialog, network))
            if (element->GetName() == name)
                return element;
        ADD_FAILURE() << name;
        return nullptr;
    }
    // The middle of the element's body in its object window.
    static QPoint BodyCentre(const CGraphBlock* element)
    {
        const CPoint centre = element->GetBodyRectInNetwork().CenterPoint();
        return {static_cast<int>(centre.x), static_cast<int>(centre.y)};
    }
    static QWidget* ObjectWidget(CDlgLumoPlc& dialog, int network)
    {
        return Network(dialog, network)->GetObjectWnd()->GetWidget();
    }
    // The widget a pointer at the point of the window reaches: the one holding the mouse, else
    // the deepest child there; and the point in its coordinates.
    static QWidget* Under(QWidget* window, QPoint at, QPoint& local)
    {
        QWidget* target = QWidget::mouseGrabber();
        if (!target)
            target = window->childAt(at) ? window->childAt(at) : window;
        local = target->mapFrom(window->window(), window->mapTo(window->window(), at));
        return target;
    }
    static void Press(QWidget* window, QPoint at)
    {
        QPoint local;
        QWidget* target = Under(window, at, local);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
    }
    static void Drag(QWidget* window, QPoint to)
    {
        QPoint local;
        QWidget* target = Under(window, to, local);
        QTest::mouseMove(target, local);
    }
    static void Release(QWidget* window, QPoint at)
    {
        QPoint local;
        QWidget* target = Under(window, at, local);
        QTest::mouseRelease(target, Qt::LeftButton, {}, local);
    }
    static void DoubleClick(QWidget* window, QPoint at)
    {
        Press(window, at);
        Release(window, at);
        QPoint local;
        QWidget* target = Under(window, at, local);
        QTest::mouseDClick(target, Qt::LeftButton, {}, local);
        Release(window, at);
    }
    // A grid cell's corner in the object window.
    static QPoint CellPoint(CDlgLumoPlc& dialog, CPoint cell)
    {
        CGraphManager* manager = dialog.GetView()->GetManager();
        return {static_cast<int>(cell.x * manager->GetStepX()),
                static_cast<int>(cell.y * manager->GetStepY())};
    }
    // A cell inside a horizontal segment of a wire of the network, clear of every element window.
    static bool FreeWireCell(CDlgLumoPlc& dialog, int network, CConnection*& wire, int& index, CPoint& cell)
    {
        CGraphManager* manager = dialog.GetView()->GetManager();
        CConnectionList* wires = manager->GetWires(Network(dialog, network));
        for (int w = 0; wires && w < wires->GetSize(); ++w)
        {
            const std::vector<GraphSegment>& segments = wires->GetAt(w)->GetSegments();
            for (size_t i = 0; i < segments.size(); ++i)
                for (int x = std::min(segments[i].x1, segments[i].x2) + 1;
                     segments[i].IsHorizontal() && x < std::max(segments[i].x1, segments[i].x2); ++x)
                {
                    const QPoint at = CellPoint(dialog, CPoint(x, segments[i].y1));
                    bool clear = true;
                    for (CGraphBlock* element : Elements(dialog, network))
                        clear = clear && !element->GetWindowRect().PtInRect(CPoint(at.x(), at.y()));
                    if (clear)
                    {
                        wire = wires->GetAt(w);
                        index = static_cast<int>(i);
                        cell = CPoint(x, segments[i].y1);
                        return true;
                    }
                }
        }
        return false;
    }
    // Input for a modal drag loop: sent once the loop runs.
    static void Later(QWidget* widget, std::vector<std::pair<QEvent::Type, QPoint>> events)
    {
        QTimer::singleShot(
            0,
            [widget, events]
            {
                for (const auto& [type, at] : events)
                {
                    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
                    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                                      Qt::NoModifier);
                    QApplication::sendEvent(widget, &event);
                }
            });
    }
    static bool IsSelected(CDlgLumoPlc& dialog, const CGraphObject* element)
    {
        const auto& selection = dialog.GetView()->GetManager()->GetSelection();
        return selection.size() == 1 && selection.front() == element;
    }

    PlcTestHost host;
    RecordingBoxes boxes;
};

// Chooses an item of the next popup menu and records the texts it offered.
class ChoosingMenu : public CPopupMenuSink
{
public:
    ChoosingMenu() : m_previous(AfxSetPopupMenuSink(this)) {}
    ~ChoosingMenu() override { AfxSetPopupMenuSink(m_previous); }
    ChoosingMenu(const ChoosingMenu&) = delete;
    ChoosingMenu& operator=(const ChoosingMenu&) = delete;
    UINT Show(CWnd*, const CMenu& menu, CPoint) override
    {
        for (const CMenu::Item& item : menu.GetItems())
            texts.push_back(item.text);
        ++shown;
        return choice;
    }
    std::vector<CString> texts;
    int shown = 0;
    UINT choice = 0;

private:
    CPopupMenuSink* m_previous;
};

TEST_F(LadderViewInput, EveryElementHasItsHitWindowOverItAndItFollowsADrag)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CGraphDoc& doc = *dialog.GetView()->GetGraphDoc();
             for (int n = 0; n < doc.GetNetworkCount(); ++n)
                 for (CGraphBlock* element : Elements(dialog, n))
                 {
                     CGraphHitWnd* hit = Network(dialog, n)->GetObjectWnd()->GetHitWnd(element);
                     ASSERT_NE(hit, nullptr) << element->GetName();
                     EXPECT_EQ(hit->GetDlgCtrlID(), 100);
                     EXPECT_EQ(hit->GetElement(), element);
                     CRect placed;
                     hit->GetWindowRect(&placed);
                     Network(dialog, n)->GetObjectWnd()->ScreenToClient(&placed);
                     EXPECT_EQ(placed, element->GetWindowRect()) << element->GetName();
                 }
             // A press on the contact lands on its hit window and selects it; a drag moves both.
             CGraphBlock* contact = Find(dialog, 1, "3.2");
             QWidget* objects = ObjectWidget(dialog, 1);
             const QPoint from = BodyCentre(contact);
             EXPECT_EQ(objects->childAt(from),
                       Network(dialog, 1)->GetObjectWnd()->GetHitWnd(contact)->GetWidget());
             const CPoint before = contact->GetPosition();
             const int step = dialog.GetView()->GetManager()->GetStepX();
             Press(objects, from);
             EXPECT_TRUE(IsSelected(dialog, contact));
             Drag(objects, from + QPoint(3 * step, 0));
             Release(objects, from + QPoint(3 * step, 0));
             EXPECT_EQ(contact->GetPosition().x, before.x + 3);
             CRect placed;
             Network(dialog, 1)->GetObjectWnd()->GetHitWnd(contact)->GetWindowRect(&placed);
             Network(dialog, 1)->GetObjectWnd()->ScreenToClient(&placed);
             EXPECT_EQ(placed, contact->GetWindowRect());
             Picture(dialog, "dragged");
         });
}

TEST_F(LadderViewInput, ADoubleClickOnAContactOpensItsBitDialogThroughItsHitWindow)
{
    CString word;
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             QTimer::singleShot(0,
                                [&]
                                {
                                    auto* bits = dynamic_cast<CDlgBitSelect*>(
                                        CWnd::FromWidget(QApplication::activeModalWidget()));
                                    ASSERT_NE(bits, nullptr);
                                    word = bits->GetDlgItem(IDC_BITSEL_PARAM)->GetWindowText();
                                    bits->SendMessage(WM_COMMAND, IDCANCEL, 0);
                                });
             DoubleClick(ObjectWidget(dialog, 0), BodyCentre(Find(dialog, 0, "75.0")));
         });
    EXPECT_EQ(word, CString("75"));
}

// A click on the ADD box's parameter P110, then Enter: its parameter dialog.
TEST_F(LadderViewInput, EnterOnAClickedVariableOpensItsParameterDialog)
{
    CString parameter;
    bool parameterOnly = false;
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             const QPoint at = BodyCentre(Find(dialog, 2, "P110"));
             Press(ObjectWidget(dialog, 2), at);
             Release(ObjectWidget(dialog, 2), at);
             QWidget* focus = QApplication::focusWidget();
             ASSERT_EQ(focus, ObjectWidget(dialog, 2));
             QTimer::singleShot(0,
                                [&]
                                {
                                    auto* bits = dynamic_cast<CDlgBitSelect*>(
                                        CWnd::FromWidget(QApplication::activeModalWidget()));
                                    ASSERT_NE(bits, nullptr);
                                    parameter = bits->GetDlgItem(IDC_BITSEL_PARAM)->GetWindowText();
                                    parameterOnly = !bits->GetDlgItem(IDC_BITSEL_BIT)->IsWindowVisible();
                                    bits->SendMessage(WM_COMMAND, IDCANCEL, 0);
                                });
             QTest::keyClick(focus, Qt::Key_Return);
         });
    EXPECT_EQ(parameter, CString("110"));
    EXPECT_TRUE(parameterOnly);
    EXPECT_FALSE(boxes.texts.size() > 0) << "the dialog stays: Enter is not its OK";
}

// A click on a wire highlights it; over its segments the cursor offers the move, and a drag moves
// the segment across its direction.
TEST_F(LadderViewInput, AClickedWireIsHighlightedAndItsSegmentIsDraggedAcross)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CConnection* wire = nullptr;
             int index = -1;
             CPoint cell;
             ASSERT_TRUE(FreeWireCell(dialog, 2, wire, index, cell));
             QWidget* objects = ObjectWidget(dialog, 2);
             const QPoint at = CellPoint(dialog, cell);
             Press(objects, at);
             Release(objects, at);
             EXPECT_TRUE(IsSelected(dialog, wire));
             EXPECT_EQ(wire->GetDrawState(), CConnection::DRAW_SELECTED);

             QTest::mouseMove(objects, at);
             EXPECT_EQ(objects->cursor().shape(), Qt::SizeVerCursor);

             const int row = wire->GetSegments()[static_cast<size_t>(index)].y1;
             const int step = dialog.GetView()->GetManager()->GetStepY();
             Later(objects, {{QEvent::MouseMove, at + QPoint(0, 2 * step)},
                             {QEvent::MouseButtonRelease, at + QPoint(0, 2 * step)}});
             Press(objects, at);
             bool moved = false;
             for (const GraphSegment& segment : wire->GetSegments())
                 moved = moved || (segment.IsHorizontal() && segment.y1 == row + 2);
             EXPECT_TRUE(moved);
             EXPECT_TRUE(dialog.GetView()->GetGraphDoc()->IsModified());
             Picture(dialog, "segment_moved");
         });
}

// A click on a cross highlights it; a press on it then continues a wire from it.
TEST_F(LadderViewInput, AHighlightedCrossContinuesAWire)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CCrossList* crosses = dialog.GetView()->GetManager()->GetCrosses(Network(dialog, 2));
             ASSERT_TRUE(crosses && crosses->GetSize() > 0);
             CCrossConnection* cross = nullptr;
             for (int i = 0; i < crosses->GetSize() && !cross; ++i)
                 if (crosses->GetAt(i)->GetArmCount() < 4)
                     cross = crosses->GetAt(i);
             ASSERT_NE(cross, nullptr);
             QWidget* objects = ObjectWidget(dialog, 2);
             const QPoint at = CellPoint(dialog, cross->GetPosition());
             Press(objects, at);
             Release(objects, at);
             EXPECT_TRUE(IsSelected(dialog, cross));
             EXPECT_EQ(cross->GetDrawState(), 3);
             Press(objects, at);
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_WIRING);
             EXPECT_TRUE(dialog.GetView()->IsDrawingWire());
             Release(objects, at);
             QTest::keyClick(objects, Qt::Key_Escape);
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_NORMAL);
         });
}

// Deleting the selected network while a wire is drawn from one of its junctions ends the wiring:
// nothing of the old windows is used by the next move or press.
TEST_F(LadderViewInput, DeletingTheNetworkOfAWireBeingDrawnEndsTheWiring)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CNetworkWnd* third = Network(dialog, 2);
             const CPoint centre = third->GetHeaderRect().CenterPoint();
             QTest::mouseClick(third->GetWidget(), Qt::LeftButton, {},
                               QPoint(static_cast<int>(centre.x), static_cast<int>(centre.y)));
             ASSERT_TRUE(third->IsSelected());
             CCrossList* crosses = dialog.GetView()->GetManager()->GetCrosses(third);
             CCrossConnection* cross = nullptr;
             for (int i = 0; crosses && i < crosses->GetSize() && !cross; ++i)
                 if (crosses->GetAt(i)->GetArmCount() < 4)
                     cross = crosses->GetAt(i);
             ASSERT_NE(cross, nullptr);
             QWidget* objects = ObjectWidget(dialog, 2);
             const QPoint at = CellPoint(dialog, cross->GetPosition());
             for (int click = 0; click < 2; ++click)
             {
                 Press(objects, at);
                 Release(objects, at);
             }
             ASSERT_TRUE(dialog.GetView()->IsDrawingWire());
             Drag(objects, at + QPoint(0, CellPoint(dialog, CPoint(0, 2)).y()));
             const int networks = dialog.GetView()->GetGraphDoc()->GetNetworkCount();
             QTest::keyClick(objects, Qt::Key_Delete);
             ASSERT_TRUE(WaitUntil(
                 [&] { return dialog.GetView()->GetGraphDoc()->GetNetworkCount() == networks - 1; }));
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_NORMAL);
             EXPECT_FALSE(dialog.GetView()->IsDrawingWire());
             // A move, then a press on a junction, where a wire being drawn would end.
             for (int i = 0; i < dialog.GetView()->GetGraphDoc()->GetNetworkCount(); ++i)
             {
                 CCrossList* left = dialog.GetView()->GetManager()->GetCrosses(Network(dialog, i));
                 if (!left || left->GetSize() == 0)
                     continue;
                 QWidget* other = ObjectWidget(dialog, i);
                 const QPoint junction = CellPoint(dialog, left->GetAt(0)->GetPosition());
                 Drag(other, junction);
                 Press(other, junction);
                 Release(other, junction);
                 break;
             }
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_NORMAL);
             EXPECT_FALSE(dialog.GetView()->IsDrawingWire());
         });
}

// Placing once (mode 2) returns to the normal mode; placing again (mode 3) stays.
TEST_F(LadderViewInput, ThePlacingModesPutCommentsWhereTheUserPresses)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             auto comments = [&]
             {
                 int count = 0;
                 for (CGraphBlock* element : Elements(dialog, 0))
                     count += element->GetType() == FBD_COMMENT ? 1 : 0;
                 return count;
             };
             const int before = comments();
             QWidget* objects = ObjectWidget(dialog, 0);
             dialog.GetView()->SetMode(CGraphView::MODE_PLACE);
             Press(objects, CellPoint(dialog, CPoint(20, 8)));
             Release(objects, CellPoint(dialog, CPoint(20, 8)));
             EXPECT_EQ(comments(), before + 1);
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_NORMAL);
             dialog.GetView()->SetMode(CGraphView::MODE_PLACE_AGAIN);
             for (int x : {24, 30})
             {
                 Press(objects, CellPoint(dialog, CPoint(x, 9)));
                 Release(objects, CellPoint(dialog, CPoint(x, 9)));
             }
             EXPECT_EQ(comments(), before + 3);
             EXPECT_EQ(dialog.GetView()->GetMode(), CGraphView::MODE_PLACE_AGAIN);
         });
}

// The dialog losing the activation ends the drag of an element.
TEST_F(LadderViewInput, DeactivationEndsADrag)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             QWidget* objects = ObjectWidget(dialog, 0);
             Press(objects, BodyCentre(Find(dialog, 0, "3.0")));
             EXPECT_TRUE(dialog.GetView()->IsDragging());
             QEvent deactivate(QEvent::WindowDeactivate);
             QApplication::sendEvent(dialog.GetView()->GetWidget(), &deactivate);
             EXPECT_FALSE(dialog.GetView()->IsDragging());
             Release(objects, BodyCentre(Find(dialog, 0, "3.0")));
         });
}

// A double click on a network's number selects the network; its menu there deletes the network.
TEST_F(LadderViewInput, TheHeaderSelectsOnADoubleClickAndItsMenuDeletesTheNetwork)
{
    ChoosingMenu menu;
    menu.choice = ID_PLC_DELETE;
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CNetworkWnd* second = Network(dialog, 1);
             QWidget* window = second->GetWidget();
             const CPoint centre = second->GetHeaderRect().CenterPoint();
             const QPoint header(static_cast<int>(centre.x), static_cast<int>(centre.y));
             ASSERT_EQ(window->childAt(header), nullptr) << "the header is the network window's own";
             QTest::mouseDClick(window, Qt::LeftButton, {}, header);
             QTest::mouseRelease(window, Qt::LeftButton, {}, header);
             EXPECT_TRUE(second->IsSelected());
             EXPECT_EQ(dialog.GetView()->GetGraphDoc()->GetCurrentNetwork(), second);

             Network(dialog, 0)->SetSelected(false);
             QContextMenuEvent click(QContextMenuEvent::Mouse, header, window->mapToGlobal(header));
             QApplication::sendEvent(window, &click);
             EXPECT_EQ(menu.shown, 1);
             QApplication::processEvents();
             EXPECT_EQ(dialog.GetView()->GetGraphDoc()->GetNetworkCount(), 2);
         });
    ASSERT_FALSE(host.program.empty());
}

TEST_F(LadderViewInput, ARightClickOnAnElementSelectsItAndItsMenuDeletesIt)
{
    ChoosingMenu menu;
    menu.choice = ID_PLC_DELETE;
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             QWidget* objects = ObjectWidget(dialog, 0);
             const QPoint at = BodyCentre(Find(dialog, 0, "3.0"));
             QWidget* hit = objects->childAt(at);
             ASSERT_NE(hit, nullptr);
             QContextMenuEvent click(QContextMenuEvent::Mouse, at - hit->pos(), objects->mapToGlobal(at));
             QApplication::sendEvent(hit, &click);
             EXPECT_EQ(menu.shown, 1);
             QApplication::processEvents();
             for (CGraphBlock* element : Elements(dialog, 0))
                 EXPECT_NE(element->GetName(), CString("3.0")) << "deleted";
             EXPECT_TRUE(dialog.IsModified());
         });
    ASSERT_EQ(menu.texts.size(), 2u);
    EXPECT_EQ(menu.texts[0], CString("Elimina oggetto selezionato"));
    EXPECT_EQ(menu.texts[1], CString("Inserisci un commento"));
    ASSERT_GE(host.program.size(), 2u);
}

TEST_F(LadderViewInput, OverAPinTheCursorIsTheCrossAndOverTheBodyTheArrow)
{
    Open("Samples/TK40.dat",
         [&](CDlgLumoPlc& dialog)
         {
             CGraphBlock* contact = Find(dialog, 0, "3.0");
             QWidget* objects = ObjectWidget(dialog, 0);
             QWidget* hit = Network(dialog, 0)->GetObjectWnd()->GetHitWnd(contact)->GetWidget();
             const CPoint pin = contact->GetPin(0)->GetPosition();
             const CSize step(dialog.GetView()->GetManager()->GetStepX(),
                              dialog.GetView()->GetManager()->GetStepY());
             const QPoint onPin(static_cast<int>(pin.x * step.cx + 1), static_cast<int>(pin.y * step.cy));
             ASSERT_EQ(objects->childAt(onPin), hit);
             QTest::mouseMove(objects, onPin);
             QApplication::processEvents();
             EXPECT_EQ(hit->cursor().shape(), Qt::CrossCursor);
             const QPoint body = BodyCentre(contact) + QPoint(0, 3); // off the pins' row
             QTest::mouseMove(objects, body);
             QApplication::processEvents();
             EXPECT_EQ(hit->cursor().shape(), Qt::ArrowCursor);
         });
}

TEST_F(LadderViewInput, ACommentNeverCoversAnElement)
{
    for (const char* sample : {"Samples/TK40.dat", "TK20/TK20.par"})
        Open(sample,
             [&](CDlgLumoPlc& dialog)
             {
                 Picture(dialog, sample);
                 CGraphDoc& doc = *dialog.GetView()->GetGraphDoc();
                 int comments = 0;
                 for (int n = 0; n < doc.GetNetworkCount(); ++n)
                     for (CGraphBlock* comment : Elements(dialog, n))
                     {
                         if (comment->GetType() != FBD_COMMENT)
                             continue;
                         ++comments;
                         for (CGraphBlock* element : Elements(dialog, n))
                         {
                             CRect overlap;
                             if (element != comment && element->GetType() != FBD_LD_POWER_RAIL)
                             {
                                 EXPECT_FALSE(overlap.IntersectRect(comment->GetWindowRect(),
                                                                    element->GetWindowRect()))
                                     << sample << " network " << n + 1 << ": \"" << comment->GetText()
                                     << "\" over " << element->GetName();
                             }
                         }
                     }
                 EXPECT_GT(comments, 0) << sample;
             });
}

} // namespace
