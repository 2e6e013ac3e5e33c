// Wires, junctions and pins: validation, colours, arms, path clean-up, splitting and joining.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

namespace
{
class ConnectionTest : public GraphFixture
{
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        first = Create<CGraphContact>(models.Contact("1", "1.0", 2, 4));
        second = Create<CGraphContact>(models.Contact("2", "1.1", 8, 4));
        ASSERT_TRUE(first && second);
    }
    CConnection* Wire(CGraphObject* from, CGraphObject* to)
    {
        auto* wire = new CConnection;
        EXPECT_TRUE(manager.AddWire(network, wire, true));
        EXPECT_TRUE(wire->Connect(from, to, true));
        return wire;
    }
    CCrossConnection* Cross(int x, int y)
    {
        auto* cross = new CCrossConnection;
        EXPECT_TRUE(manager.AddCross(network, cross, true));
        cross->MoveTo(x, y);
        return cross;
    }
    // A wire with its own path, ends given by point only.
    CConnection* Path(std::vector<GraphSegment> segments)
    {
        auto* wire = new CConnection;
        EXPECT_TRUE(manager.AddWire(network, wire, true));
        for (const GraphSegment& s : segments)
            wire->AddSegment(s.x1, s.y1, s.x2, s.y2, false);
        wire->Start().point = segments.front().Start();
        wire->EndOf().point = segments.back().End();
        return wire;
    }

    CGraphContact* first = nullptr;
    CGraphContact* second = nullptr;
};
} // namespace

TEST_F(ConnectionTest, AWireDrawsByItsStateAndIsAnErrorOnTwoPinsOfOneElement)
{
    CConnection loose;
    // Before the first draw with an owner the wire has its own colours.
    EXPECT_EQ(loose.GetDrawColor(), RGB(200, 0, 0));
    loose.SetDrawState(CConnection::DRAW_NORMAL);
    EXPECT_EQ(loose.GetDrawColor(), RGB(0, 150, 0));

    CConnection* same = Wire(first->GetPin(1), first->GetPin(0));
    EXPECT_TRUE(same->IsError());
    EXPECT_EQ(same->GetDrawState(), CConnection::DRAW_ERROR);
    EXPECT_EQ(same->GetDrawColor(), manager.GetColor(ErrorColor));

    CConnection* good = Wire(first->GetPin(1), second->GetPin(0));
    EXPECT_TRUE(good->IsValid());
    EXPECT_EQ(good->GetDrawColor(), manager.GetColor(ConnectColor));
    good->SetActive(true);
    EXPECT_EQ(good->GetDrawColor(), manager.GetColor(ActiveColor));
    good->Select(true);
    EXPECT_EQ(good->GetDrawColor(), manager.GetColor(SelConnectColor));
    EXPECT_FALSE(good->IsDotted());
    good->SetDrawState(CConnection::DRAW_FIXED);
    EXPECT_EQ(good->GetDrawColor(), FixedGreen);

    EXPECT_EQ(good->GetKey(), "C:1");
    EXPECT_EQ(good->ObjectAt(5, 4), good);
    EXPECT_EQ(good->ObjectAt(5, 5), nullptr);
    EXPECT_TRUE(good->IsInside(CRect(0, 0, 200, 100)));
    EXPECT_FALSE(good->IsInside(CRect(0, 0, 50, 100)));
}

TEST_F(ConnectionTest, AWireRunsFromAnOutputToAnInput)
{
    CConnection* wire = Wire(second->GetPin(0), first->GetPin(1));
    EXPECT_EQ(wire->GetStart().object, first->GetPin(1));
    EXPECT_EQ(wire->GetEnd().object, second->GetPin(0));
    ASSERT_EQ(wire->GetSegments().size(), 1u);
    EXPECT_EQ(wire->GetSegments()[0], (GraphSegment{4, 4, 8, 4}));
    EXPECT_EQ(first->GetPin(1)->GetConnection(), wire);
    EXPECT_EQ(second->GetPin(0)->GetConnection(), wire);
}

// An imported wire whose end names a junction that does not list it keeps that end open, so the
// junction's removal leaves nothing behind in the wire.
TEST_F(ConnectionTest, AnImportedEndTheJunctionRefusesStaysOpen)
{
    auto* junction = models.Make<CPlcFBDCross>("3", 6, 4);
    junction->m_LeftPin.m_strConnectedID = "8";
    CCrossConnection* cross = manager.ImportCross(network, junction);
    ASSERT_NE(cross, nullptr);
    auto* link = models.Make<CPlcFBDConnection>("5", 0, 0);
    link->m_RoutePoints.Add(4u << 16 | 4u);
    link->m_RoutePoints.Add(4u << 16 | 6u);
    link->m_StartPin.m_strConnectedID = "1.O";
    link->m_StartPin.m_nConnectedType = FBD_LD_CONTACT;
    link->m_EndPin.m_strConnectedID = "3";
    link->m_EndPin.m_nConnectedType = FBD_CROSS;
    link->m_EndPin.m_nX = 6;
    link->m_EndPin.m_nY = 4;
    CConnection* wire = manager.ImportWire(network, link);
    ASSERT_NE(wire, nullptr);
    manager.ConnectWireEnds(network);
    EXPECT_EQ(wire->GetEnd().object, nullptr);
    EXPECT_EQ(cross->GetArmCount(), 0);
    EXPECT_TRUE(wire->IsOpen());

    ASSERT_TRUE(manager.RemoveCross(network, cross));
    EXPECT_TRUE(manager.RemoveWire(network, wire));
}

TEST_F(ConnectionTest, JunctionsNeedTwoArmsAndTakeEachWireOnce)
{
    CCrossConnection* cross = Cross(6, 4);
    CConnection* in = Path({{4, 4, 6, 4}});
    CConnection* down = Path({{6, 4, 6, 7}});
    CConnection* right = Path({{6, 4, 9, 4}});
    EXPECT_TRUE(cross->IsError());
    EXPECT_FALSE(cross->AddConnection(in, 4));
    EXPECT_FALSE(cross->AddConnection(in, -2));
    EXPECT_TRUE(cross->AddConnection(in));
    EXPECT_EQ(cross->FindArm(in), CCrossConnection::ARM_LEFT);
    EXPECT_EQ(in->GetEnd().object, cross);
    EXPECT_TRUE(cross->IsError());
    EXPECT_FALSE(cross->AddConnection(in));
    EXPECT_TRUE(cross->AddConnection(down));
    EXPECT_EQ(cross->FindArm(down), CCrossConnection::ARM_DOWN);
    EXPECT_TRUE(cross->IsValid());
    EXPECT_TRUE(cross->AddConnection(right));
    EXPECT_EQ(cross->FindArm(right), CCrossConnection::ARM_RIGHT);
    EXPECT_EQ(cross->GetKey(), "I:0");

    // A wire ending from the left finds its arm taken and has no other.
    CConnection* late = Path({{2, 4, 6, 4}});
    EXPECT_FALSE(cross->AddConnection(late));

    EXPECT_EQ(cross->GetRadius(), 12 / 6);
    cross->Select(true);
    EXPECT_EQ(cross->GetRadius(), 12 / 3);
    EXPECT_EQ(cross->GetDrawColor(), manager.GetColor(SelConnectColor));
}

TEST_F(ConnectionTest, DeletingAnyEndLeavesNoPointerBehind)
{
    CConnection* wire = Wire(first->GetPin(1), second->GetPin(0));
    manager.ToggleSelection(second, false);
    ASSERT_TRUE(manager.RemoveElement(network, second));
    EXPECT_EQ(wire->GetEnd().object, nullptr);
    EXPECT_TRUE(wire->IsOpen());
    EXPECT_EQ(wire->GetDrawState(), CConnection::DRAW_DANGLING);
    EXPECT_TRUE(manager.GetSelection().empty());

    CCrossConnection* cross = Cross(4, 4);
    ASSERT_TRUE(cross->AddConnection(Path({{4, 4, 4, 8}})));
    CConnection* branch = cross->GetArm(CCrossConnection::ARM_DOWN);
    ASSERT_NE(branch, nullptr);
    ASSERT_TRUE(manager.RemoveCross(network, cross));
    EXPECT_EQ(branch->GetStart().object, nullptr);

    ASSERT_TRUE(manager.RemoveWire(network, wire));
    EXPECT_EQ(first->GetPin(1)->GetConnection(), nullptr);
}

TEST_F(ConnectionTest, MovedPathsStayOrthogonalWithoutEmptyOrCollinearSegments)
{
    CConnection* wire = Path({{2, 2, 5, 2}, {5, 2, 5, 2}, {5, 2, 9, 2}, {9, 2, 9, 6}});
    wire->CleanUp();
    EXPECT_EQ(wire->GetSegments(), (std::vector<GraphSegment>{{2, 2, 9, 2}, {9, 2, 9, 6}}));

    // Moving the horizontal segment down: the vertical one follows, a joiner leads from the start.
    ASSERT_TRUE(wire->MoveSegment(0, 0, 2));
    EXPECT_EQ(wire->GetSegments(), (std::vector<GraphSegment>{{2, 2, 2, 4}, {2, 4, 9, 4}, {9, 4, 9, 6}}));

    // An end with one segment stretches it and adds a joining segment.
    CConnection* single = Path({{0, 0, 3, 0}});
    ASSERT_TRUE(single->MoveEnd(false, 5, 2));
    EXPECT_EQ(single->GetSegments(), (std::vector<GraphSegment>{{0, 0, 5, 0}, {5, 0, 5, 2}}));
    // Two segments: the last two move so the path stays square.
    ASSERT_TRUE(single->MoveEnd(false, 7, 3));
    EXPECT_EQ(single->GetSegments(), (std::vector<GraphSegment>{{0, 0, 7, 0}, {7, 0, 7, 3}}));

    // A wire without segments gets a path.
    auto* bare = new CConnection;
    manager.AddWire(network, bare, true);
    ASSERT_TRUE(bare->MoveEnd(false, 0, 3));
    EXPECT_EQ(bare->GetSegments(), (std::vector<GraphSegment>{{0, 0, 0, 3}}));
}

TEST_F(ConnectionTest, ASegmentLeavingAJunctionKeepsAStubOnlyWhenLongEnough)
{
    CCrossConnection* cross = Cross(2, 2);
    CConnection* longer = Path({{2, 2, 6, 2}});
    ASSERT_TRUE(cross->AddConnection(longer));
    ASSERT_TRUE(longer->MoveSegment(0, 0, 1));
    EXPECT_EQ(longer->GetSegments(),
              (std::vector<GraphSegment>{{2, 2, 3, 2}, {3, 2, 3, 3}, {3, 3, 6, 3}, {6, 3, 6, 2}}));

    CCrossConnection* other = Cross(10, 2);
    CConnection* shorter = Path({{10, 2, 11, 2}});
    ASSERT_TRUE(other->AddConnection(shorter));
    ASSERT_TRUE(shorter->MoveSegment(0, 0, 1));
    EXPECT_EQ(shorter->GetSegments(),
              (std::vector<GraphSegment>{{10, 2, 10, 3}, {10, 3, 11, 3}, {11, 3, 11, 2}}));
}

TEST_F(ConnectionTest, SplittingHandsTheFarEndToTheNewWire)
{
    CConnection* wire = Wire(first->GetPin(1), second->GetPin(0));
    CConnection* beyond = wire->Split(nullptr, CPoint(6, 4));
    ASSERT_NE(beyond, nullptr);
    manager.AddWire(network, beyond, true);
    EXPECT_EQ(wire->GetEnd().object, nullptr);
    EXPECT_EQ(wire->GetEnd().point, CPoint(6, 4));
    EXPECT_EQ(beyond->GetEnd().object, second->GetPin(0));
    EXPECT_EQ(second->GetPin(0)->GetConnection(), beyond);
    EXPECT_EQ(beyond->GetSegments(), (std::vector<GraphSegment>{{6, 4, 8, 4}}));

    // A wire ending on another wire's junction end joins the junction instead.
    CCrossConnection* cross = Cross(6, 4);
    ASSERT_TRUE(cross->AddConnection(wire));
    ASSERT_TRUE(cross->AddConnection(beyond));
    CConnection* branch = Path({{6, 4, 6, 8}});
    EXPECT_EQ(wire->Split(branch, CPoint(6, 4)), nullptr);
    EXPECT_EQ(cross->FindArm(branch), CCrossConnection::ARM_DOWN);
}

TEST_F(ConnectionTest, JoiningRepointsTheFarEndsAndDecidesBeforeDeleting)
{
    CConnection* left = Wire(first->GetPin(1), second->GetPin(0));
    CConnection* right = left->Split(nullptr, CPoint(6, 4));
    manager.AddWire(network, right, true);
    int result = 0;
    CConnection* joined = manager.GetWires(network)->Join(left, right, result);
    ASSERT_EQ(result, 1);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(manager.GetWires(network)->GetSize(), 1);
    EXPECT_EQ(joined->GetStart().object, first->GetPin(1));
    EXPECT_EQ(joined->GetEnd().object, second->GetPin(0));
    EXPECT_EQ(first->GetPin(1)->GetConnection(), joined);
    EXPECT_EQ(second->GetPin(0)->GetConnection(), joined);
    EXPECT_EQ(joined->GetSegments(), (std::vector<GraphSegment>{{4, 4, 8, 4}}));

    CConnection* a = Path({{20, 0, 22, 0}});
    CConnection* b = Path({{22, 0, 25, 0}});
    EXPECT_EQ(manager.GetWires(network)->Join(a, b, result), nullptr);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(manager.GetWires(network)->GetSize(), 3);
    CConnection* apart = Path({{30, 0, 31, 0}});
    EXPECT_EQ(manager.GetWires(network)->Join(a, apart, result), nullptr);
    EXPECT_EQ(result, 0);
}

TEST_F(ConnectionTest, JoiningTwoWiresOfOneJunctionLeavesNoDeletedWireOnItsArms)
{
    // A loop leaves the junction to the right and comes back to it from below; the second wire
    // leaves the junction to the left. They meet at the junction's point, and the junction is also
    // the far end of the loop.
    CCrossConnection* cross = Cross(6, 4);
    CConnection* loop = Path({{6, 4, 10, 4}, {10, 4, 10, 8}, {10, 8, 6, 8}, {6, 8, 6, 4}});
    ASSERT_TRUE(cross->AddConnection(loop));
    ASSERT_EQ(loop->GetStart().object, cross);
    CConnection* back = Wire(cross, first->GetPin(1));
    ASSERT_EQ(cross->FindArm(back), CCrossConnection::ARM_LEFT);

    int result = 0;
    CConnection* joined = manager.GetWires(network)->Join(loop, back, result);
    ASSERT_EQ(result, 1);
    ASSERT_NE(joined, nullptr);
    // From the contact's output round the loop into the junction.
    EXPECT_EQ(joined->GetStart().object, first->GetPin(1));
    EXPECT_EQ(joined->GetEnd().object, cross);
    EXPECT_EQ(first->GetPin(1)->GetConnection(), joined);
    // Every wire the junction still holds is one of the network's.
    for (int arm = 0; arm < CCrossConnection::ArmCount; ++arm)
    {
        if (CConnection* wire = cross->GetArm(arm))
        {
            EXPECT_GE(manager.GetWires(network)->Find(wire), 0) << "arm " << arm;
        }
    }
    EXPECT_EQ(cross->FindArm(joined), CCrossConnection::ARM_RIGHT);
    EXPECT_EQ(cross->GetArmCount(), 1);
}

TEST_F(ConnectionTest, AJunctionOrPinWithoutOwnerIsReportedWhenInvalidatedOrHit)
{
    CCrossConnection cross;
    cross.MoveTo(3, 3);
    cross.SetNetwork(network);
    CGraphPin pin(nullptr, "IN", CGraphPin::SIDE_INPUT, false);
    pin.SetPinPosition(3, 3);
    pin.SetNetwork(network);
    testing::internal::CaptureStderr();
    EXPECT_EQ(cross.ObjectAt(3, 3), nullptr);
    cross.Invalidate();
    EXPECT_EQ(pin.ObjectAt(3, 3), nullptr);
    pin.Invalidate();
    const std::string errors = testing::internal::GetCapturedStderr();
    auto count = [&](const std::string& what)
    {
        int n = 0;
        for (size_t at = errors.find(what); at != std::string::npos; at = errors.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("ProgramError: CrossConnection("), 2) << errors;
    EXPECT_EQ(count("ProgramError: GraphPin("), 2) << errors;
    // With an owner both answer at their point.
    CCrossConnection* owned = Cross(6, 4);
    EXPECT_EQ(owned->ObjectAt(6, 4), owned);
    EXPECT_EQ(owned->ObjectAt(6, 5), nullptr);
    EXPECT_EQ(first->PinAt(4, 4), first->GetPin(1));
}

TEST_F(ConnectionTest, PinsHaveKeysByTheirOwnersType)
{
    EXPECT_EQ(first->GetPin(0)->GetKey(), "CN:1.I");
    CGraphBlock* comment = manager.CreateComment(network, 0, 0, "note");
    ASSERT_NE(comment, nullptr);
    CGraphPin stray(comment, "x", CGraphPin::SIDE_INPUT, false);
    EXPECT_EQ(stray.GetKey(), "Undefined");
    CGraphPin orphan(nullptr, "x", CGraphPin::SIDE_INPUT, false);
    EXPECT_EQ(orphan.GetKey(), "");
    // The hit rectangle: one step on the pin's side, 2 pixels high.
    EXPECT_EQ(first->GetPin(0)->GetHitRect(), CRect(24, 47, 36, 49));
    EXPECT_EQ(first->GetPin(1)->GetHitRect(), CRect(36, 47, 48, 49));
}

TEST_F(ConnectionTest, AMovedJunctionDragsItsWiresAlongTheirArms)
{
    CCrossConnection* cross = Cross(6, 4);
    CConnection* in = Wire(first->GetPin(1), cross);
    CConnection* down = Path({{6, 4, 6, 8}});
    ASSERT_TRUE(cross->AddConnection(down));
    ASSERT_EQ(cross->FindArm(in), CCrossConnection::ARM_LEFT);
    ASSERT_EQ(cross->FindArm(down), CCrossConnection::ARM_DOWN);

    ASSERT_TRUE(cross->MoveTo(6, 6));
    cross->DragConnections();
    EXPECT_EQ(in->GetEnd().point, CPoint(6, 6));
    EXPECT_EQ(down->GetStart().point, CPoint(6, 6));
    EXPECT_EQ(in->GetSegments().back().End(), CPoint(6, 6));
    EXPECT_EQ(down->GetSegments(), (std::vector<GraphSegment>{{6, 6, 6, 8}}));
    // The wire on the left arm arrives horizontally.
    EXPECT_TRUE(in->GetSegments().back().IsHorizontal());
}
