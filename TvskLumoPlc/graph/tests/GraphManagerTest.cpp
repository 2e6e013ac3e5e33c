// The graph manager: settings, networks, factory, names, positions, hit tests and deletion.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphSmallElements.h>

#include <registry/Profile.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace
{
// A profile in a fresh registry store of its own.
class ProfileScope
{
public:
    ProfileScope()
    {
        m_dir = std::filesystem::temp_directory_path() / ("tvsk_plcgraph_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        ::setenv("TARVESKON_REGISTRY", (m_dir / "registry").c_str(), 1);
        CProfile::Instance().SetRegistryKey("MurnApps");
        CProfile::Instance().SetAppName("Tarveskon");
    }
    ~ProfileScope()
    {
        CProfile::Instance().SetRegistryKey("");
        ::unsetenv("TARVESKON_REGISTRY");
        std::filesystem::remove_all(m_dir);
    }

private:
    std::filesystem::path m_dir;
};

class ManagerTest : public GraphFixture
{
};
} // namespace

TEST(GraphSettings, AnEmptySectionGivesTheDefaultsAndSettingsReadBack)
{
    ProfileScope scope;
    {
        CGraphManager manager;
        EXPECT_EQ(manager.GetFontSize(), 70);
        EXPECT_EQ(manager.GetFontName(), "Arial");
        EXPECT_TRUE(manager.IsGridShown());
        EXPECT_EQ(manager.GetColor(TextColor), 0xFF0000u);
        EXPECT_EQ(manager.GetColor(ConnectColor), 0x505050u);
        EXPECT_EQ(manager.GetColor(ActiveColor), 0x00C400u);
        EXPECT_EQ(manager.GetStepX(), 12);
        EXPECT_EQ(manager.GetStepY(), 12);
        manager.SetColor(ErrorColor, 0x123456);
        manager.ShowGrid(false);
        manager.SetFont(90, "Courier");
        manager.SaveSettings();
    }
    CGraphManager again;
    EXPECT_EQ(again.GetColor(ErrorColor), 0x123456u);
    EXPECT_FALSE(again.IsGridShown());
    EXPECT_EQ(again.GetFontSize(), 90);
    EXPECT_EQ(again.GetFontName(), "Courier");
}

TEST(GraphSettings, TheBackgroundFollowsTheDesktopUntilTheUserStoresOne)
{
    ProfileScope scope;
    {
        CGraphManager manager;
        manager.UseWindowColor(0x102030);
        EXPECT_EQ(manager.GetColor(BkgndColor), 0x102030u);
        manager.SaveSettings();
    }
    {
        // The desktop's colour changed since: the saved settings did not freeze the old one.
        CGraphManager manager;
        manager.UseWindowColor(0x405060);
        EXPECT_EQ(manager.GetColor(BkgndColor), 0x405060u);
        manager.FollowWindowColor(0x708090);
        manager.SaveSettings();
        EXPECT_FALSE(CGraphManager::IsBackgroundStored());
        // A colour of the user's own is stored and wins over the desktop's.
        manager.SetColor(BkgndColor, 0x0000AA);
        manager.SaveSettings();
    }
    CGraphManager again;
    again.UseWindowColor(0x405060);
    EXPECT_EQ(again.GetColor(BkgndColor), 0x0000AAu);
}

TEST(GraphSettings, AFontSizeOfZeroOrLessReadsAsSeventy)
{
    ProfileScope scope;
    CProfile::Instance().WriteProfileInt("Settings", "FontDim", -5);
    CGraphManager manager;
    EXPECT_EQ(manager.GetFontSize(), 70);
    EXPECT_GE(manager.GetStepY(), 1);
    manager.SetFont(0, "");
    EXPECT_EQ(manager.GetFontSize(), 70);
    EXPECT_EQ(manager.GetFontName(), "Arial");
}

TEST(GraphNetworks, PlacementNumberingAndTheCurrentNetwork)
{
    CGraphManager manager;
    EXPECT_EQ(manager.CreateNetwork(FakeParent(), 3, 0, 0, false, false), nullptr);
    CFakeOwner owner(manager);
    CGraphNetworkIntf* first =
        manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_AFTER, 0, 0, false, false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(manager.GetCurrentNetwork(), first);
    EXPECT_TRUE(static_cast<CFakeNetwork*>(first)->m_bFocus);
    EXPECT_EQ(first->GetGridWidth(), 200);
    EXPECT_EQ(first->GetGridHeight(), 12);
    EXPECT_EQ(first->GetNumber(), 1);

    CGraphNetworkIntf* last = manager.CreateNetwork(FakeParent(), 7, 40, 20, true, false);
    CGraphNetworkIntf* front =
        manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_FIRST, 0, 0, true, false);
    CGraphNetworkIntf* before =
        manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_BEFORE, 0, 0, true, false);
    CGraphNetworkIntf* after =
        manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_AFTER, 0, 0, true, false);
    const std::vector<CGraphNetworkIntf*> order{front, before, first, after, last};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(manager.GetNetwork(i), order[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(manager.GetNetwork(i)->GetNumber(), i + 1);
    }
    EXPECT_EQ(last->GetGridWidth(), 40);
    EXPECT_GT(static_cast<CFakeNetwork*>(after)->m_nChildId, static_cast<CFakeNetwork*>(first)->m_nChildId);
    EXPECT_EQ(manager.NetworkByNumber(4), after);

    manager.SetCurrentNetwork(before);
    EXPECT_FALSE(static_cast<CFakeNetwork*>(first)->m_bFocus);
    manager.RemoveNetwork(before);
    EXPECT_EQ(manager.GetCurrentNetwork(), nullptr);
    EXPECT_EQ(manager.GetNetworkCount(), 4);
    manager.MoveNetwork(front, -1);
    EXPECT_EQ(manager.GetNetwork(3), front);
}

TEST(GraphNetworks, AWindowThatCannotBeCreatedIsTakenOutAgain)
{
    class FailingOwner : public CFakeOwner
    {
    public:
        using CFakeOwner::CFakeOwner;
        CGraphNetworkIntf* NewNetworkWindow() override
        {
            auto* network = new CFakeNetwork;
            network->m_bFailCreate = true;
            return network;
        }
    };
    CGraphManager manager;
    FailingOwner owner(manager);
    EXPECT_EQ(manager.CreateNetwork(FakeParent(), 3, 0, 0, false, false), nullptr);
    EXPECT_EQ(manager.GetNetworkCount(), 0);
    EXPECT_EQ(manager.GetCurrentNetwork(), nullptr);
}

TEST_F(ManagerTest, TheFactoryMakesElementsOnlyAndCommentsFromText)
{
    CModelFactory more;
    EXPECT_EQ(manager.CreateElement(network, more.Make<CPlcFBDCross>("1", 0, 0)), nullptr);
    EXPECT_EQ(manager.CreateElement(network, more.Make<CPlcFBDConnection>("1", 0, 0)), nullptr);
    EXPECT_EQ(manager.CreateElement(network, more.Make<CPlcFBDPin>("1", 0, 0)), nullptr);
    EXPECT_EQ(manager.GetElements(network)->GetSize(), 0);

    CGraphBlock* comment = manager.CreateComment(network, 3, 4, "");
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->GetText(), "Comment");
    EXPECT_EQ(comment->GetModelObject(), nullptr);
    EXPECT_EQ(comment->GetPosition(), CPoint(3, 4));
    EXPECT_TRUE(comment->IsVisible());
}

TEST_F(ManagerTest, UniqueNamesCountUpBehindTheLastUnderscore)
{
    Create(models.Block<CPlcFBDFunctionBlock>("TON", "TON", 5, 5, {"IN"}, {"Q"}));
    EXPECT_EQ(manager.MakeUniqueName("TON"), "TON_0");
    Create(models.Block<CPlcFBDFunctionBlock>("TON_0", "TON", 5, 15, {"IN"}, {"Q"}));
    EXPECT_EQ(manager.MakeUniqueName("TON"), "TON_1");
    EXPECT_EQ(manager.MakeUniqueName("TON_3"), "TON_4");
    EXPECT_EQ(manager.MakeUniqueName("A_B"), "A_B_1");
    EXPECT_EQ(manager.MakeUniqueName("CTU"), "CTU");
    EXPECT_EQ(manager.MakeUniqueName("A_99999999999"), "A_99999999999_1");
    Create(models.Variable("1", "TON_4", 2, 2, true));
    EXPECT_EQ(manager.MakeUniqueName("TON_3"), "TON_5");
    EXPECT_FALSE(manager.IsNameUsed(""));
}

TEST_F(ManagerTest, NormalizingMovesElementsWiresAndJunctionsTogether)
{
    CGraphBlock* contact = Create(models.Contact("1", "a", 5, 6));
    CGraphBlock* coil = Create(models.Coil("2", "b", 10, 6));
    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    ASSERT_TRUE(wire->Connect(contact->GetPin(1), coil->GetPin(0), true));
    auto* cross = new CCrossConnection;
    manager.AddCross(network, cross, true);
    cross->MoveTo(8, 6);

    manager.NormalizePositions(network);
    // The contact's window starts half a step above its row.
    EXPECT_EQ(contact->GetPosition(), CPoint(0, 1));
    EXPECT_EQ(coil->GetPosition(), CPoint(5, 1));
    EXPECT_EQ(wire->GetSegments(), (std::vector<GraphSegment>{{2, 1, 5, 1}}));
    EXPECT_EQ(wire->GetStart().point, contact->GetPin(1)->GetPosition());
    EXPECT_EQ(cross->GetPosition(), CPoint(3, 1));
}

TEST_F(ManagerTest, HitTestsFindJunctionsFreePinsAndWires)
{
    CGraphBlock* contact = Create(models.Contact("1", "a", 2, 2));
    CGraphBlock* coil = Create(models.Coil("2", "b", 8, 2));
    auto* wire = new CConnection;
    manager.AddWire(network, wire, true);
    ASSERT_TRUE(wire->Connect(contact->GetPin(1), coil->GetPin(0), true));
    GRAPH_HIT hit;
    EXPECT_TRUE(manager.HitTest(network, 2, 2, hit));
    EXPECT_EQ(hit.object, contact->GetPin(0));
    EXPECT_EQ(hit.reference, "CN:1.I");
    EXPECT_FALSE(manager.HitTest(network, 4, 2, hit));
    EXPECT_TRUE(manager.HitTest(network, 6, 2, hit));
    EXPECT_EQ(hit.object, wire);
    wire->Select(true);
    EXPECT_FALSE(manager.HitTest(network, 6, 2, hit));

    auto* cross = new CCrossConnection;
    manager.AddCross(network, cross, true);
    cross->MoveTo(20, 20);
    EXPECT_TRUE(manager.HitTest(network, 20, 20, hit));
    EXPECT_EQ(hit.object, cross);
    for (auto arm :
         {std::vector<GraphSegment>{{18, 20, 20, 20}}, std::vector<GraphSegment>{{20, 18, 20, 20}},
          std::vector<GraphSegment>{{20, 20, 22, 20}}, std::vector<GraphSegment>{{20, 20, 20, 22}}})
    {
        auto* w = new CConnection;
        manager.AddWire(network, w, true);
        w->AddSegment(arm[0].x1, arm[0].y1, arm[0].x2, arm[0].y2, false);
        w->Start().point = arm[0].Start();
        w->EndOf().point = arm[0].End();
        ASSERT_TRUE(cross->AddConnection(w));
    }
    EXPECT_FALSE(manager.HitTest(network, 20, 20, hit));
}

TEST_F(ManagerTest, SelectionsLoseDeletedObjectsAndNetworks)
{
    CGraphBlock* contact = Create(models.Contact("1", "a", 2, 2));
    manager.ToggleSelection(contact, false);
    EXPECT_TRUE(contact->IsSelected());
    manager.ToggleSelection(contact, true);
    EXPECT_TRUE(manager.IsInSelection(contact));
    manager.ToggleSelection(contact, false);
    EXPECT_FALSE(manager.IsInSelection(contact));

    manager.SelectRect(network, CRect(0, 0, 100, 100));
    EXPECT_TRUE(manager.IsInSelection(contact));
    manager.RemoveNetwork(network);
    network = nullptr;
    EXPECT_TRUE(manager.GetSelection().empty());
    EXPECT_EQ(manager.GetCurrentNetwork(), nullptr);
}

// A segment runs along a row or a column and never through an element's body; ending on its pin
// at the edge is allowed.
TEST_F(GraphFixture, ASegmentMayNotRunThroughAnElement)
{
    auto* contact = Create<CGraphBlock>(models.Contact("1", "1.0", 10, 4));
    ASSERT_NE(contact, nullptr);
    EXPECT_FALSE(manager.CanDrawSegment(network, CPoint(2, 4), CPoint(20, 4))) << "through the contact";
    EXPECT_TRUE(manager.CanDrawSegment(network, CPoint(2, 4), CPoint(10, 4))) << "to its input pin";
    EXPECT_TRUE(manager.CanDrawSegment(network, CPoint(2, 8), CPoint(20, 8))) << "below it";
    EXPECT_FALSE(manager.CanDrawSegment(network, CPoint(2, 4), CPoint(3, 5))) << "neither a row nor a column";
}
