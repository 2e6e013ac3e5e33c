// The graph and ladder views: stacking, scroll sizes, border resizing, the wheel, headers, grid
// snapping, neighbours, dragging with rail alignment, and the rendered sample program.
#include "LadderViewFixture.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/CrossConnection.h>
#include <TvskLumoPlc/graph/GraphLadder.h>

#include <TvskLumoPlc/graphview/CommentDlg.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace
{
class GraphViewTest : public LadderViewFixture
{
protected:
    CPoint ScreenOfCell(CNetworkWnd* network, CPoint cell, CPoint within)
    {
        const CSize size = network->GetCellSize();
        CPoint point(cell.x * size.cx + within.x, cell.y * size.cy + within.y);
        network->GetObjectWnd()->ClientToScreen(&point);
        return point;
    }
    int Step() const { return m_view->GetManager()->GetStepY(); }
};
} // namespace

TEST_F(GraphViewTest, AnEmptyDocumentHasATinyScrollArea)
{
    m_view->UpdateScrollSizes();
    EXPECT_EQ(m_view->GetTotalSize(), CSize(10, 10));
}

TEST_F(GraphViewTest, NetworksStackOverlappingByOnePixel)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(m_doc->CreateNetwork(m_view, CGraphManager::PLACE_LAST, 200, 5), nullptr);
    const int heights[] = {100, 120, 80};
    for (int i = 0; i < 3; ++i)
        Network(i)->MoveWindow(0, 0, 300, heights[i]);
    m_view->LayoutNetworks();
    EXPECT_EQ(m_view->GetStackHeight(), 297);
    EXPECT_EQ(m_view->NetworkOffset(Network(2)), 218);
    CRect third;
    Network(2)->GetWindowRect(&third);
    m_view->ScreenToClient(&third);
    EXPECT_EQ(third.top, 218);
    m_view->UpdateScrollSizes();
    EXPECT_EQ(m_view->GetTotalSize().cy, 310);
    EXPECT_EQ(m_view->GetTotalSize().cx, 200 * m_view->GetManager()->GetStepX());
}

TEST_F(GraphViewTest, ABorderResizeKeepsFiveRowsAtLeast)
{
    ASSERT_TRUE(m_doc->OnNewDocument());
    m_view->ResizeNetwork(Network(1), 3 * Step(), true);
    EXPECT_EQ(Network(1)->GetSize(), CSize(200, 5));
    EXPECT_TRUE(m_doc->IsModified());
    m_view->ResizeNetwork(Network(1), 12 * Step(), false);
    EXPECT_EQ(Network(1)->GetSize().cy, 12);
    CRect window;
    Network(1)->GetWindowRect(&window);
    EXPECT_EQ(window.Height(), 12 * Step());
    Network(0)->SetSize(200, 3);
    EXPECT_EQ(Network(0)->GetSize().cy, 5);
}

TEST_F(GraphViewTest, TheWheelScrollsButNotWithCtrlOrShift)
{
    for (int i = 0; i < 8; ++i)
        ASSERT_NE(m_doc->CreateNetwork(m_view, CGraphManager::PLACE_LAST, 200, 20), nullptr);
    m_view->UpdateScrollSizes();
    m_view->LayoutNetworks();
    const LPARAM centre = MAKELPARAM(100, 100);
    m_view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), centre);
    m_view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)), centre);
    EXPECT_EQ(m_view->GetDeviceScrollPosition().y, 0);
    m_view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), centre);
    const int scrolled = m_view->GetDeviceScrollPosition().y;
    EXPECT_GT(scrolled, 0);
    CRect first;
    Network(0)->GetWindowRect(&first);
    m_view->ScreenToClient(&first);
    EXPECT_EQ(first.top, -scrolled);
}

TEST_F(GraphViewTest, HeadersShowTheNumberInFourDigits)
{
    for (int i = 0; i < 7; ++i)
        ASSERT_NE(m_doc->CreateNetwork(m_view, CGraphManager::PLACE_LAST, 200, 5), nullptr);
    EXPECT_EQ(Network(6)->GetNumber(), 7);
    EXPECT_EQ(Network(6)->GetHeaderText(), "0007");
    Network(6)->SetMarker(true, 3);
    Network(6)->SetSelected(true);
    EXPECT_TRUE(Network(6)->IsSelected());
    Network(6)->SetCurrent(true, nullptr);
    EXPECT_FALSE(Network(6)->IsSelected());
    EXPECT_TRUE(Network(6)->IsActive());
}

TEST_F(GraphViewTest, APointSnapsToTheNearestCornerOfItsCell)
{
    ASSERT_TRUE(m_doc->OnNewDocument());
    CNetworkWnd* network = Network(0);
    const CSize cell = network->GetCellSize();
    CNetworkObj* objects = network->GetObjectWnd();
    EXPECT_EQ(objects->SnapToGrid(ScreenOfCell(network, {2, 3}, {cell.cx * 3 / 4, cell.cy * 3 / 4})),
              CPoint(3, 4));
    EXPECT_EQ(objects->SnapToGrid(ScreenOfCell(network, {2, 3}, {1, 1})), CPoint(2, 3));
    EXPECT_EQ(objects->SnapToGrid(ScreenOfCell(network, {2, 3}, {cell.cx * 3 / 4, 1})), CPoint(3, 3));
    EXPECT_EQ(objects->SnapToGrid(ScreenOfCell(network, {2, 3}, {1, cell.cy * 3 / 4})), CPoint(2, 4));
    EXPECT_EQ(objects->SnapToGrid(ScreenOfCell(network, {0, 1}, {-3 * cell.cx, 1})).x, 0);
}

TEST_F(GraphViewTest, ArrowsFindTheNeighbourAlongTheRung)
{
    Show(GenerateIL("LD\t1.0\nAND\t1.1\nOUT\t2.0\nEND\n"));
    CGraphBlock* first = Element(FBD_LD_CONTACT, "1.0");
    CGraphBlock* second = Element(FBD_LD_CONTACT, "1.1");
    CGraphBlock* coil = Element(FBD_LD_COIL, "2.0");
    ASSERT_TRUE(first && second && coil);
    CNetworkWnd* network = Network(0);
    EXPECT_EQ(network->FindNeighbour(first, 2), second);
    EXPECT_EQ(network->FindNeighbour(second, 2), coil);
    EXPECT_EQ(network->FindNeighbour(coil, 0), second);
    EXPECT_EQ(network->FindNeighbour(second, 0), first);

    m_doc->SetCurrentNetwork(network);
    m_view->GetManager()->ClearSelection();
    m_view->GetManager()->ToggleSelection(first, true);
    m_view->SelectNeighbour(2);
    ASSERT_EQ(m_view->GetManager()->GetSelection().size(), 1u);
    EXPECT_EQ(m_view->GetManager()->GetSelection().front(), second);
}

TEST_F(GraphViewTest, AfterADragEveryRightRailStandsAtTheCommonColumn)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    CLDManager& manager = Manager();
    CNetworkWnd* network = Network(0);
    CGraphBlock* coil = nullptr;
    for (CGraphBlock* element : *manager.GetElements(network))
        if (element->GetType() == FBD_LD_COIL)
            coil = element;
    ASSERT_NE(coil, nullptr);
    const CPoint from = coil->GetPosition();
    const CRect body = coil->GetBodyRectInNetwork();
    CPoint press = body.CenterPoint();
    network->GetObjectWnd()->ClientToScreen(&press);
    const int cx = network->GetCellSize().cx;
    m_view->OnNetworkLButtonDown(network, MK_LBUTTON, press);
    m_view->OnNetworkMouseMove(network, MK_LBUTTON, press + CSize(40 * cx, 0));
    m_view->OnNetworkLButtonUp(network, press + CSize(40 * cx, 0));
    EXPECT_EQ(coil->GetPosition().x, from.x + 40);
    EXPECT_TRUE(m_doc->IsModified());
    // The wire into the coil followed it.
    CGraphPin* in = coil->GetPin(0);
    ASSERT_NE(in->GetConnection(), nullptr);
    const auto& wire = *in->GetConnection();
    EXPECT_TRUE(wire.GetStart().point == in->GetPosition() || wire.GetEnd().point == in->GetPosition());

    const int expected =
        std::max({manager.GetRightRailColumn(), manager.GetUsedWidth(), CLDView::MinRightRailColumn});
    for (int i = 0; i < manager.GetNetworkCount(); ++i)
    {
        if (CGraphPwrRail* right = manager.GetRightRail(Network(i)))
        {
            EXPECT_EQ(right->GetPosition().x, expected) << "network " << i;
        }
    }
    EXPECT_GE(expected, from.x + 40);
}

// New windows from a new ladder (hint 2) or a rebuild (hint 3) while a wire is drawn from a
// junction: the wiring ends with the old windows, and moves and presses go to the new ones.
TEST_F(GraphViewTest, ARebuildWhileAWireIsDrawnEndsTheWiring)
{
    const char* program = "LD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n";
    Show(GenerateIL(program));
    std::vector<std::unique_ptr<CPlcFBDCode>> shown;
    for (const LPARAM hint : {HINT_NEW_LADDER, HINT_REBUILD})
    {
        CNetworkWnd* network = Network(0);
        CCrossList* crosses = Manager().GetCrosses(network);
        ASSERT_TRUE(crosses && crosses->GetSize() > 0);
        const CPoint at = crosses->GetAt(0)->GetPosition();
        const CPoint press = ScreenOfCell(network, at, CPoint());
        for (int click = 0; click < 2; ++click)
        {
            m_view->OnNetworkLButtonDown(network, MK_LBUTTON, press);
            m_view->OnNetworkLButtonUp(network, press);
        }
        ASSERT_TRUE(m_view->IsDrawingWire()) << hint;
        m_view->OnNetworkMouseMove(network, 0, ScreenOfCell(network, CPoint(at.x, at.y + 2), CPoint()));

        shown.push_back(GenerateIL(program));
        m_doc->UpdateAllViews(nullptr, hint, reinterpret_cast<CObject*>(shown.back().get()));
        EXPECT_EQ(m_view->GetMode(), CGraphView::MODE_NORMAL) << hint;
        EXPECT_FALSE(m_view->IsDrawingWire()) << hint;
        CNetworkWnd* rebuilt = Network(0);
        const CPoint again = ScreenOfCell(rebuilt, at, CPoint());
        m_view->OnNetworkMouseMove(rebuilt, 0, again);
        // On the new junction, which a wire being drawn would end at.
        m_view->OnNetworkLButtonDown(rebuilt, MK_LBUTTON, again);
        m_view->OnNetworkLButtonUp(rebuilt, again);
        EXPECT_FALSE(m_view->IsDrawingWire()) << hint;
    }
    // The windows leave the codes of this test before they go.
    Show(GenerateIL(program));
}

TEST_F(GraphViewTest, TheStoredProgramRendersWithRailsContactsAndHeaders)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    ASSERT_GT(Manager().GetNetworkCount(), 2);
    const QImage image = Render();
    image.save(QString(TVSK_RENDER_DIR) + "/tk40_ladder.png");
    // Generated networks carry no mark: every header is filled with the window background as soon
    // as it shows, no click needed; the rail's line runs down.
    const COLORREF background = Manager().GetColor(BkgndColor);
    const QColor unmarked(GetRValue(background), GetGValue(background), GetBValue(background));
    EXPECT_EQ(image.pixelColor(10, 20), unmarked);
    for (int i = 1; i < 3; ++i)
    {
        CRect header = Network(i)->GetHeaderRect();
        Network(i)->ClientToScreen(&header);
        m_view->ScreenToClient(&header);
        if (header.top + 20 < image.height())
            EXPECT_EQ(image.pixelColor(header.left + 10, header.top + 20), unmarked) << "network " << i;
    }
    CGraphPwrRail* left = Manager().GetLeftRail(Network(0));
    ASSERT_NE(left, nullptr);
    int railPixels = 0;
    const int railX = Network(0)->GetHeaderRect().right + left->GetLineX();
    for (int y = 0; y < 60; ++y)
        railPixels += image.pixelColor(railX, y) != image.pixelColor(railX + 6, y);
    EXPECT_GT(railPixels, 20);
}

namespace
{
// The open comment editor, if any.
CCommentDlg* OpenCommentDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = dynamic_cast<CCommentDlg*>(CWnd::FromWidget(widget));
            dialog && widget->isVisible())
            return dialog;
    return nullptr;
}
} // namespace

TEST_F(GraphViewTest, ACommentIsEditedInItsDialogButNotWhileAnimated)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    CGraphBlock* comment = nullptr;
    for (CGraphBlock* element : *Manager().GetElements(Network(0)))
        if (element->GetType() == FBD_COMMENT)
            comment = element;
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->GetText(), "avvio");
    m_view->GetManager()->ToggleSelection(comment, false);
    m_doc->SetModifiedFlag(FALSE);
    CString shown;
    QTimer::singleShot(0,
                       [&]
                       {
                           CCommentDlg* dialog = OpenCommentDialog();
                           ASSERT_NE(dialog, nullptr);
                           shown = dialog->GetDlgItem(CCommentDlg::IDC_COMMENT_TEXT)->GetWindowText();
                           dialog->SetDlgItemText(CCommentDlg::IDC_COMMENT_TEXT, "partenza");
                           dialog->SendMessage(WM_COMMAND, IDOK);
                       });
    m_view->EditOperand();
    EXPECT_EQ(shown, "avvio");
    EXPECT_EQ(comment->GetText(), "partenza");
    EXPECT_TRUE(m_doc->IsModified());

    m_view->EnableAnimation(true);
    bool opened = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           if (CCommentDlg* dialog = OpenCommentDialog())
                           {
                               opened = true;
                               dialog->SendMessage(WM_COMMAND, IDCANCEL);
                           }
                       });
    m_view->EditOperand();
    QTest::qWait(20);
    EXPECT_FALSE(opened);
    m_view->EnableAnimation(false);
}

TEST(LadderViewAlone, AViewWithoutADocumentMakesItsOwn)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    auto* view = new CLDView;
    view->m_bAutoDelete = TRUE;
    ASSERT_TRUE(
        view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 180), &host, 1, nullptr));
    ASSERT_NE(view->GetLDDoc(), nullptr);
    EXPECT_TRUE(view->GetLDDoc()->OnNewDocument());
    EXPECT_EQ(view->GetLDDoc()->GetNetworkCount(), 2);
    view->DestroyWindow();
    host.DestroyWindow();
}

TEST_F(GraphViewTest, ANetworkKnowsTheRowsItsContentNeedsAndTakesACommentByMessage)
{
    Show(GenerateIL("LD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n"));
    CNetworkWnd* network = Network(0);
    int lowest = 0;
    for (CGraphBlock* element : *Manager().GetElements(network))
        lowest = std::max(lowest, static_cast<int>(element->GetPosition().y) + element->GetHeightRows());
    CSize needed(-3, 0);
    network->GetNeededSize(needed);
    EXPECT_EQ(needed.cx, 0);
    EXPECT_GE(needed.cy, lowest + 1);

    const CSize extent = network->GetExtent();
    CGraphBlock* coil = Element(FBD_LD_COIL, "2.0");
    ASSERT_NE(coil, nullptr);
    EXPECT_GE(extent.cx, coil->GetWindowRect().right);

    const CPoint before = coil->GetPosition();
    network->OffsetObjects(2, 1);
    EXPECT_EQ(coil->GetPosition(), CPoint(before.x + 2, before.y + 1));

    network->SendMessage(WM_NETWORK_SETCOMMENT, 0, reinterpret_cast<LPARAM>("ramp"));
    EXPECT_EQ(network->GetComment(), "ramp");
}

namespace
{
class RecordingPrinter : public CLDViewPrinter
{
public:
    bool PrintView(CLDView* view, const CPlcProjectInfo* info, CWnd*, bool preview) override
    {
        calls.push_back({view, info, preview});
        return true;
    }
    struct Call
    {
        CLDView* view;
        const CPlcProjectInfo* info;
        bool preview;
    };
    std::vector<Call> calls;
};
} // namespace

// The view prints through its owner's printer with the information it was given; after a change
// of the current network the layout is due until it is updated.
TEST_F(LadderViewFixture, ThePrintCommandsGoToThePrinterAndTheLayoutIsUpdatedWhenDue)
{
    Show(GenerateIL("LD\t1.0\nOUT\t2.0\nEND\n"));
    EXPECT_FALSE(m_view->FilePrint()) << "no printer";
    RecordingPrinter printer;
    // The view only passes the information on; any address stands for it.
    const auto* info = reinterpret_cast<const CPlcProjectInfo*>(&printer);
    m_view->SetPrinter(&printer);
    m_view->SetPrintInfo(info);
    EXPECT_TRUE(m_view->FilePrint());
    EXPECT_TRUE(m_view->FilePrintPreview());
    ASSERT_EQ(printer.calls.size(), 2u);
    EXPECT_EQ(printer.calls[0].view, m_view);
    EXPECT_EQ(printer.calls[0].info, info);
    EXPECT_FALSE(printer.calls[0].preview);
    EXPECT_TRUE(printer.calls[1].preview);

    m_view->OnUpdate(nullptr, HINT_CURRENT_NETWORK, nullptr);
    EXPECT_TRUE(m_view->IsLayoutPending());
    m_view->UpdateLayout();
    EXPECT_FALSE(m_view->IsLayoutPending());
}

// Home selects the first element of the current network and scrolls it into view.
TEST_F(GraphViewTest, HomeSelectsTheFirstElementAndShowsIt)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    m_view->MoveWindow(0, 0, 800, 200);
    CNetworkWnd* last = Network(Manager().GetNetworkCount() - 1);
    CRect client;
    m_view->GetClientRect(&client);
    ASSERT_GT(m_view->NetworkOffset(last), client.Height()) << "the last network lies below the view";
    m_doc->SetCurrentNetwork(last);
    m_view->ScrollToPosition(CPoint(0, 0));
    m_view->LayoutNetworks();
    CGraphBlock* first = last->FirstElementAt();
    ASSERT_NE(first, nullptr);

    QWidget* objects = last->GetObjectWnd()->GetWidget();
    objects->setFocus();
    QTest::keyClick(objects, Qt::Key_Home);
    QApplication::processEvents();
    ASSERT_EQ(Manager().GetSelection().size(), 1u);
    EXPECT_EQ(Manager().GetSelection().front(), first);
    CRect shown = first->GetWindowRect();
    CRect objectsRect;
    last->GetObjectWnd()->GetWindowRect(&objectsRect);
    m_view->ScreenToClient(&objectsRect);
    shown.OffsetRect(objectsRect.left, objectsRect.top);
    EXPECT_GE(shown.top, client.top);
    EXPECT_LE(shown.bottom, client.bottom)
        << "scroll " << m_view->GetDeviceScrollPosition().y << " offset " << m_view->NetworkOffset(last)
        << " window " << first->GetWindowRect().top << "," << first->GetWindowRect().bottom << " objects "
        << objectsRect.top << " total " << m_view->GetTotalSize().cy;
}

// The network window paints each element's body once into its bitmap and copies it from there;
// only an element whose look changed is painted again.
TEST_F(GraphViewTest, ElementsAreDrawnFromTheirCachedBodies)
{
    Show(GenerateIL("LD\t1.0\nAND\t1.1\nOUT\t2.0\nEND\n"));
    CNetworkWnd* network = Network(0);
    CElementBodyCache* bodies = network->GetObjectWnd()->GetBodyCache();
    ASSERT_NE(bodies, nullptr);
    Render();
    const int painted = bodies->GetPaintCount();
    EXPECT_GE(painted, 3) << "two contacts and a coil";
    Render();
    EXPECT_EQ(bodies->GetPaintCount(), painted) << "a second paint copies the bitmaps";

    CGraphBlock* contact = Element(FBD_LD_CONTACT, "1.1");
    ASSERT_NE(contact, nullptr);
    Manager().ToggleSelection(contact, true);
    const QImage image = Render();
    EXPECT_EQ(bodies->GetPaintCount(), painted + 1) << "only the selected contact";
    // Its body shows the selection colour in the window.
    CRect body = contact->GetBodyRectInNetwork();
    CRect objects;
    network->GetObjectWnd()->GetWindowRect(&objects);
    m_view->ScreenToClient(&objects);
    const COLORREF selection = Manager().GetColor(SelectionColor);
    const QColor inside =
        image.pixelColor(objects.left + body.CenterPoint().x - 4, objects.top + body.CenterPoint().y - 5);
    EXPECT_EQ(inside, QColor(GetRValue(selection), GetGValue(selection), GetBValue(selection)));
}
