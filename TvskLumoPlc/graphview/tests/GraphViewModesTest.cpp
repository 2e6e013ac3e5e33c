// Modes of the graph view over a graph document with a plain graph manager: wiring from a free
// pin to another with a bend and the green marker, refused starts, and network navigation.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>
#include <TvskLumoPlc/graphview/GraphView.h>

#include <testing/WaitUntil.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <QPalette>
#include <QTest>
#include <QWidget>

namespace
{
class GraphViewModes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 620, 420), nullptr, 0));
        m_doc = new CGraphDoc(std::make_unique<CGraphManager>());
        m_doc->m_bAutoDelete = FALSE;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CGraphView);
        context.m_pCurrentDoc = m_doc;
        m_view = static_cast<CGraphView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 600, 400), 1));
        ASSERT_NE(m_view, nullptr);
        m_host.ShowWindow(SW_SHOW);
        for (int i = 0; i < 2; ++i)
            m_doc->CreateNetwork(m_view, CGraphManager::PLACE_LAST, 200, 10);
        m_view->UpdateScrollSizes();
        m_view->LayoutNetworks();
        m_network = m_view->NetworkAt(0);
        CGraphManager& manager = *m_doc->GetManager();
        m_from = manager.CreateElement(m_network, m_models.Variable("1", "a", 2, 3, true));
        m_to = manager.CreateElement(m_network, m_models.Variable("2", "b", 20, 6, false));
        ASSERT_TRUE(m_from && m_to);
    }
    void TearDown() override
    {
        m_view->DestroyWindow();
        m_host.DestroyWindow();
        delete m_doc;
    }
    CPoint Screen(CPoint cell)
    {
        const CSize size = m_network->GetCellSize();
        CPoint point(cell.x * size.cx, cell.y * size.cy);
        m_network->GetObjectWnd()->ClientToScreen(&point);
        return point;
    }
    void Press(CPoint cell) { m_view->OnNetworkLButtonDown(m_network, MK_LBUTTON, Screen(cell)); }

    CWnd m_host;
    CGraphDoc* m_doc = nullptr;
    CGraphView* m_view = nullptr;
    CNetworkWnd* m_network = nullptr;
    CModelFactory m_models;
    CGraphBlock* m_from = nullptr;
    CGraphBlock* m_to = nullptr;
};
} // namespace

TEST_F(GraphViewModes, AWireRunsFromAFreePinThroughABendToAnother)
{
    CGraphPin* out = m_from->GetPin(0);
    CGraphPin* in = m_to->GetPin(0);
    const CPoint start = out->GetPosition();
    const CPoint end = in->GetPosition();
    m_view->SetMode(CGraphView::MODE_WIRING);
    EXPECT_TRUE(m_view->IsWireEnd(m_network, start));
    EXPECT_FALSE(m_view->IsWireEnd(m_network, CPoint(40, 8)));
    Press(start);
    ASSERT_TRUE(m_view->IsDrawingWire());
    const CPoint bend(start.x + 4, end.y);
    Press(bend);
    m_view->OnNetworkMouseMove(m_network, MK_LBUTTON, Screen(CPoint(12, 8)));
    m_view->GetWidget()->repaint();
    const QImage image = m_view->GetWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPoint marker(12 * m_network->GetCellSize().cx, 8 * m_network->GetCellSize().cy);
    marker += m_network->GetObjectWnd()->GetWidget()->mapTo(m_view->GetWidget(), QPoint(0, 0));
    EXPECT_EQ(image.pixelColor(marker), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(marker + QPoint(3, 3)), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(marker + QPoint(6, 6)), QColor(0, 255, 0));

    Press(end);
    EXPECT_FALSE(m_view->IsDrawingWire());
    CConnectionList* wires = m_doc->GetManager()->GetWires(m_network);
    ASSERT_EQ(wires->GetSize(), 1);
    CConnection* wire = wires->GetAt(0);
    EXPECT_EQ(out->GetConnection(), wire);
    EXPECT_EQ(in->GetConnection(), wire);
    EXPECT_TRUE(m_doc->IsModified());
    bool bent = false;
    for (const GraphSegment& s : wire->GetSegments())
        bent |= s.Holds(bend.x, bend.y);
    EXPECT_TRUE(bent);
    // Both pins are taken now: neither starts another wire.
    EXPECT_FALSE(m_view->IsWireEnd(m_network, start));
}

// While a wire is drawn, a bend whose path would cross an element is refused.
TEST_F(GraphViewModes, ABendThroughAnElementIsRefused)
{
    CGraphManager& manager = *m_doc->GetManager();
    const CPoint start = m_from->GetPin(0)->GetPosition();
    ASSERT_NE(manager.CreateElement(m_network, m_models.Variable("3", "c", start.x + 6, start.y, true)),
              nullptr);
    m_view->SetMode(CGraphView::MODE_WIRING);
    Press(start);
    ASSERT_TRUE(m_view->IsDrawingWire());
    CPoint marker;
    std::vector<CPoint> path;
    Press(CPoint(start.x + 12, start.y));
    ASSERT_TRUE(m_view->GetWiringFeedback(m_network, marker, path));
    EXPECT_EQ(path.size(), 1u) << "the bend behind the variable is refused";
    Press(CPoint(start.x + 3, start.y + 4));
    ASSERT_TRUE(m_view->GetWiringFeedback(m_network, marker, path));
    EXPECT_EQ(path.size(), 2u) << "a bend beside it is taken";
}

TEST_F(GraphViewModes, ARefusedStartEndsTheWiringMode)
{
    m_view->SetMode(CGraphView::MODE_WIRING);
    Press(CPoint(40, 8));
    EXPECT_EQ(m_view->GetMode(), CGraphView::MODE_NORMAL);
    EXPECT_FALSE(m_view->IsDrawingWire());
    m_view->SetMode(CGraphView::MODE_PLACE);
    m_view->OnNetworkKeyDown(m_network, VK_ESCAPE);
    EXPECT_EQ(m_view->GetMode(), CGraphView::MODE_NORMAL);
}

TEST_F(GraphViewModes, NextAndPreviousNetworkMoveTheCurrentOne)
{
    m_doc->SetCurrentNetwork(m_view->NetworkAt(0));
    m_view->NextNetwork();
    EXPECT_EQ(m_doc->GetCurrentNetwork(), m_view->NetworkAt(1));
    m_view->NextNetwork();
    EXPECT_EQ(m_doc->GetCurrentNetwork(), m_view->NetworkAt(1));
    m_view->PreviousNetwork();
    EXPECT_EQ(m_doc->GetCurrentNetwork(), m_view->NetworkAt(0));
    EXPECT_EQ(m_view->GetDeviceScrollPosition().y, 0);
}

// Enter on a selected constant opens its editor over the box; Enter there applies the value.
TEST_F(GraphViewModes, EnterOnAConstantEditsItInPlace)
{
    CGraphManager& manager = *m_doc->GetManager();
    auto* constant =
        static_cast<CGraphConst*>(manager.CreateElement(m_network, m_models.Constant("3", "12", 30, 4)));
    ASSERT_NE(constant, nullptr);
    manager.ToggleSelection(constant, true);
    QWidget* objects = m_network->GetObjectWnd()->GetWidget();
    objects->setFocus();
    QTest::keyClick(objects, Qt::Key_Return);
    CGraphHitWnd* hit = m_network->GetObjectWnd()->GetHitWnd(constant);
    ASSERT_NE(hit, nullptr);
    ASSERT_NE(hit->GetEditor(), nullptr);
    QWidget* editor = hit->GetEditor()->GetWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "25");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(constant->GetName(), CString("25"));
    EXPECT_EQ(hit->GetEditor(), nullptr) << "closed";
}

// Delete: the selection first; with none, the current network when it is selected.
TEST_F(GraphViewModes, DeleteTakesTheSelectionOrElseTheSelectedCurrentNetwork)
{
    CGraphManager& manager = *m_doc->GetManager();
    QWidget* objects = m_network->GetObjectWnd()->GetWidget();
    manager.ToggleSelection(m_to, true);
    m_view->OnHeaderClick(m_network, CPoint());
    QTest::keyClick(objects, Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_EQ(m_doc->GetNetworkCount(), 2) << "a selection was there";
    manager.ClearSelection();

    m_doc->SetCurrentNetwork(m_network);
    m_network->SetCurrent(true, nullptr);
    QTest::keyClick(objects, Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_EQ(m_doc->GetNetworkCount(), 2) << "current but not selected";
    CNetworkWnd* second = m_view->NetworkAt(1);
    m_view->OnHeaderClick(m_network, CPoint());
    QTest::keyClick(objects, Qt::Key_Delete);
    QApplication::processEvents();
    ASSERT_EQ(m_doc->GetNetworkCount(), 1);
    EXPECT_EQ(m_view->NetworkAt(0), second);
    EXPECT_EQ(second->GetNumber(), 1);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(GraphViewModes, ReturnModeTogglesBetweenOneAndTwoAndToggleWithoutSelectionFlipsTheViewsFlag)
{
    CGraphManager& manager = *m_doc->GetManager();
    auto* model = m_models.Block<CPlcFBDReturn>("4", "RET", 30, 6, {"I"}, {});
    auto* ret = static_cast<CGraphJmp*>(manager.CreateElement(m_network, model));
    ASSERT_NE(ret, nullptr);
    EXPECT_EQ(ret->GetMode(), 1);
    m_view->SwitchReturnMode();
    EXPECT_EQ(ret->GetMode(), 1) << "nothing selected";
    manager.ToggleSelection(ret, true);
    m_view->SwitchReturnMode();
    EXPECT_EQ(ret->GetMode(), 2);
    m_view->SwitchReturnMode();
    EXPECT_EQ(ret->GetMode(), 1);

    manager.ClearSelection();
    EXPECT_FALSE(m_view->GetToggleFlag());
    m_view->ToggleSelected();
    EXPECT_TRUE(m_view->GetToggleFlag());
}

// The two size steps add two or one inputs to a selected function that takes more.
TEST_F(GraphViewModes, TheSizeStepsGrowASelectedFunction)
{
    CGraphManager& manager = *m_doc->GetManager();
    auto* min = manager.CreateElement(m_network,
                                      m_models.Block<CPlcFBDFunction>("5", "MIN", 30, 2, {"0", "1"}, {"Q"}));
    ASSERT_NE(min, nullptr);
    const int pins = min->GetPinCount();
    m_view->StepSelectedSize(2);
    EXPECT_EQ(min->GetPinCount(), pins) << "nothing selected";
    manager.ToggleSelection(min, true);
    m_view->StepSelectedSize(2);
    EXPECT_EQ(min->GetPinCount(), pins + 2);
    m_view->StepSelectedSize(1);
    EXPECT_EQ(min->GetPinCount(), pins + 3);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(GraphViewModes, AppliedSettingsBringTheirColoursGridAndFont)
{
    CGraphManager settings;
    settings.SetColor(ObjColor, RGB(1, 2, 3));
    settings.ShowGrid(!m_doc->GetManager()->IsGridShown());
    settings.SetFont(100, "Arial");
    m_view->ApplySettings(settings);
    EXPECT_EQ(m_doc->GetManager()->GetColor(ObjColor), RGB(1, 2, 3));
    EXPECT_EQ(m_doc->GetManager()->IsGridShown(), settings.IsGridShown());
    EXPECT_EQ(m_doc->GetManager()->GetFontSize(), 100);
}

// A change of the desktop's colours gives the window background the new window colour.
TEST_F(GraphViewModes, ASystemColourChangeTakesTheNewWindowColour)
{
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Base, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    QApplication::processEvents();
    EXPECT_EQ(m_doc->GetManager()->GetColor(BkgndColor), RGB(10, 20, 30));

    // A view made now starts with the window colour too (the profile holds none).
    CGraphDoc doc(std::make_unique<CGraphManager>());
    doc.m_bAutoDelete = FALSE;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CGraphView);
    context.m_pCurrentDoc = &doc;
    auto* view = static_cast<CGraphView*>(AfxCreateView(&context, &m_host, CRect(0, 0, 100, 100), 2));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(doc.GetManager()->GetColor(BkgndColor), RGB(10, 20, 30));
    view->DestroyWindow();
    QApplication::setPalette(before);
}

// A press on a free pin drags a point; dropped on another free pin, a wire joins the two.
TEST_F(GraphViewModes, DraggingFromAFreePinDrawsAWireToWhereItIsDropped)
{
    QWidget* objects = m_network->GetObjectWnd()->GetWidget();
    const CSize size = m_network->GetCellSize();
    auto pixel = [&](CPoint cell)
    { return QPoint(static_cast<int>(cell.x * size.cx), static_cast<int>(cell.y * size.cy)); };
    const CPoint from = m_from->GetPin(0)->GetPosition();
    const CPoint to = m_to->GetPin(0)->GetPosition();
    // On the pin's hit strip, half a step towards its element.
    const QPoint press = pixel(from) - QPoint(static_cast<int>(size.cx / 2), 0);
    const QPoint drop = press + pixel(to) - pixel(from);
    QTimer::singleShot(0,
                       [&]
                       {
                           QMouseEvent move(QEvent::MouseMove, drop, objects->mapToGlobal(drop), Qt::NoButton,
                                            Qt::LeftButton, Qt::NoModifier);
                           QApplication::sendEvent(objects, &move);
                           QMouseEvent release(QEvent::MouseButtonRelease, drop, objects->mapToGlobal(drop),
                                               Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                           QApplication::sendEvent(objects, &release);
                       });
    QMouseEvent down(QEvent::MouseButtonPress, press, objects->mapToGlobal(press), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(objects, &down);
    CConnectionList* wires = m_doc->GetManager()->GetWires(m_network);
    ASSERT_EQ(wires->GetSize(), 1);
    EXPECT_EQ(m_from->GetPin(0)->GetConnection(), wires->GetAt(0));
    EXPECT_EQ(m_to->GetPin(0)->GetConnection(), wires->GetAt(0));
    EXPECT_TRUE(m_doc->IsModified());
}
