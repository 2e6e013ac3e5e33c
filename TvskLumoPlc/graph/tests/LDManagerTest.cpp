// The ladder manager: networks from generated objects, rails, the index, translation, and
// deleting selections that bridge series elements.
#include "GraphTestSupport.h"
#include "LadderTestSupport.h"

#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/LDManager.h>

#include <ZoLumoPlcObj/PlcFBDConnectionNetwork.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <gtest/gtest.h>

namespace
{
class LDManagerTest : public testing::Test
{
protected:
    void SetUp() override { gen.SetPluginIntf(&host); }

    CGraphNetworkIntf* Load(const char* il)
    {
        CLDLogicDoc doc;
        EXPECT_TRUE(gen.LoadILSource(il, &doc));
        code.reset(doc.GenerateLDCode());
        EXPECT_NE(code, nullptr);
        if (!code)
            return nullptr;
        CGraphNetworkIntf* network = nullptr;
        for (auto* generated : PlcObjects<CPlcLDNetwork>(*code))
            network = manager.CreateNetworkFromObject(generated, FakeParent());
        return network;
    }

    CGraphLadderElem* Find(CGraphNetworkIntf* network, int type, const char* name)
    {
        for (CGraphBlock* element : *manager.GetElements(network))
            if (element->GetType() == type && element->GetName() == name)
                return static_cast<CGraphLadderElem*>(element);
        return nullptr;
    }

    CLadderTestHost host;
    CLumoPlcCodeGen gen;
    std::unique_ptr<CPlcFBDCode> code;
    CLDManager manager;
    CFakeOwner owner{manager};
};
} // namespace

TEST_F(LDManagerTest, OnlyLadderNetworksMakeWindows)
{
    CPlcFBDComment comment;
    EXPECT_EQ(manager.CreateNetworkFromObject(&comment, FakeParent()), nullptr);
    CPlcLDNetwork empty;
    empty.m_nX = 60;
    empty.m_nY = 14;
    EXPECT_EQ(manager.CreateNetworkFromObject(&empty, nullptr), nullptr);
    CGraphNetworkIntf* network = manager.CreateNetworkFromObject(&empty, FakeParent());
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(network->GetGridWidth(), 60);
    EXPECT_EQ(network->GetGridHeight(), 14);
    EXPECT_FALSE(network->GetMark());
    EXPECT_NE(manager.GetRowList(network), nullptr);
    EXPECT_EQ(manager.GetRightRailColumn(), -1);
    EXPECT_EQ(manager.GetUsedWidth(), -1);
    manager.RemoveNetwork(network);
    EXPECT_EQ(manager.GetRowList(network), nullptr);
}

TEST_F(LDManagerTest, RailsAndTheWidthInUse)
{
    CGraphNetworkIntf* network = Load("LD\t1.0\nAND\t1.1\nOUT\t2.0\nEND\n");
    ASSERT_NE(network, nullptr);
    ASSERT_NE(manager.GetLeftRail(network), nullptr);
    ASSERT_NE(manager.GetRightRail(network), nullptr);
    EXPECT_EQ(manager.GetRightRailColumn(), 40);
    EXPECT_GT(manager.GetUsedWidth(), 2);
    EXPECT_LT(manager.GetUsedWidth(), 40);
    EXPECT_EQ(manager.CountCoils(network), 1);
    EXPECT_EQ(manager.CountCoils(nullptr), 0);
    manager.SetCurrentNetwork(network);
    ASSERT_NE(manager.FirstEditableElement(), nullptr);
    EXPECT_NE(manager.FirstEditableElement()->GetType(), FBD_LD_POWER_RAIL);
}

TEST_F(LDManagerTest, DeletingAContactLeavesOneWireFromTheFirstStartToTheSecondEnd)
{
    CGraphNetworkIntf* network = Load("LD\t1.0\nAND\t1.1\nOUT\t2.0\nEND\n");
    ASSERT_NE(network, nullptr);
    CGraphLadderElem* first = Find(network, FBD_LD_CONTACT, "1.0");
    CGraphLadderElem* middle = Find(network, FBD_LD_CONTACT, "1.1");
    CGraphLadderElem* coil = Find(network, FBD_LD_COIL, "2.0");
    ASSERT_TRUE(first && middle && coil);
    CConnection* into = middle->GetPin(0)->GetConnection();
    ASSERT_NE(into, nullptr);
    const int wires = manager.GetWires(network)->GetSize();

    manager.ToggleSelection(middle, false);
    manager.ToggleSelection(middle->GetPin(1)->GetConnection(), false);
    manager.DeleteSelection();
    EXPECT_TRUE(manager.GetSelection().empty());
    EXPECT_EQ(manager.GetWires(network)->GetSize(), wires - 1);
    EXPECT_EQ(manager.GetElements(network)->GetSize(), 4);
    EXPECT_EQ(into->GetStart().object, first->GetPin(1));
    EXPECT_EQ(into->GetEnd().object, coil->GetPin(0));
    EXPECT_EQ(coil->GetPin(0)->GetConnection(), into);
    EXPECT_EQ(into->GetEnd().point, coil->GetPin(0)->GetPosition());
    EXPECT_TRUE(into->IsValid());
    EXPECT_GE(owner.m_nChanged, 1);
}

TEST_F(LDManagerTest, ContactWithOneSideUnwiredLeavesTheOtherWireOpen)
{
    CGraphNetworkIntf* network = Load("LD\t1.0\nAND\t1.1\nOUT\t2.0\nEND\n");
    CGraphLadderElem* middle = Find(network, FBD_LD_CONTACT, "1.1");
    CConnection* out = middle->GetPin(1)->GetConnection();
    CConnection* in = middle->GetPin(0)->GetConnection();
    ASSERT_TRUE(manager.RemoveWire(network, out));
    manager.ToggleSelection(middle, false);
    manager.DeleteSelection();
    EXPECT_EQ(Find(network, FBD_LD_CONTACT, "1.1"), nullptr);
    EXPECT_EQ(in->GetEnd().object, nullptr);
    EXPECT_TRUE(in->IsOpen());
}

TEST_F(LDManagerTest, CoilsAreBridgedWhenAloneElseDeletedWithTheirWires)
{
    CGraphNetworkIntf* network = Load("LD\t1.0\nOUT\t2.0\nOUT\t2.1\nEND\n");
    ASSERT_NE(network, nullptr);
    ASSERT_EQ(manager.CountCoils(network), 2);
    CGraphLadderElem* coil = Find(network, FBD_LD_COIL, "2.1");
    ASSERT_NE(coil, nullptr);
    CConnection* in = coil->GetPin(0)->GetConnection();
    ASSERT_NE(in, nullptr);
    const int wires = manager.GetWires(network)->GetSize();
    manager.ToggleSelection(coil, false);
    manager.DeleteSelection();
    EXPECT_EQ(manager.CountCoils(network), 1);
    EXPECT_EQ(manager.GetWires(network)->GetSize(), wires - 2);
    EXPECT_EQ(manager.GetWires(network)->Find(in), -1);

    CGraphNetworkIntf* single = Load("LD\t1.0\nOUT\t2.0\nEND\n");
    CGraphLadderElem* last = Find(single, FBD_LD_COIL, "2.0");
    CConnection* into = last->GetPin(0)->GetConnection();
    const int before = manager.GetWires(single)->GetSize();
    manager.ToggleSelection(last, false);
    manager.DeleteSelection();
    EXPECT_EQ(manager.GetWires(single)->GetSize(), before - 1);
    ASSERT_NE(into->GetEnd().object, nullptr);
    EXPECT_EQ(static_cast<CGraphPin*>(into->GetEnd().object)->GetElement(), manager.GetRightRail(single));
}

TEST_F(LDManagerTest, TheIndexHoldsEveryObjectAndKeepsIndexedWires)
{
    CGraphNetworkIntf* network = Load("LD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n");
    manager.RebuildIndex(network);
    CConnection* wire = manager.GetWires(network)->GetAt(0);
    EXPECT_TRUE(manager.IsIndexed(network, wire));
    EXPECT_TRUE(manager.IsIndexed(network, manager.GetCrosses(network)->GetAt(0)));
    EXPECT_TRUE(manager.IsIndexed(network, manager.GetElements(network)->GetAt(0)));
    manager.ToggleSelection(wire, false);
    manager.DeleteSelection();
    EXPECT_GE(manager.GetWires(network)->Find(wire), 0);
}

TEST_F(LDManagerTest, TranslatingMovesEachHalfOfAWirePointWithoutCarry)
{
    CPlcLDNetwork network;
    auto* contact = new CPlcLDContact;
    contact->m_nX = 3;
    contact->m_nY = 4;
    network.AddNetworkObject(contact);
    auto* wire = new CPlcFBDConnection;
    wire->m_RoutePoints.Add(0x0002FFFF);
    wire->m_RoutePoints.Add(0x00050007);
    network.AddNetworkObject(wire);
    CLDManager::TranslateNetwork(&network, 1, -1);
    EXPECT_EQ(contact->m_nX, 4);
    EXPECT_EQ(contact->m_nY, 3);
    EXPECT_EQ(wire->m_RoutePoints[0], 0x00010000u);
    EXPECT_EQ(wire->m_RoutePoints[1], 0x00040008u);
}

TEST_F(LDManagerTest, TheTextListCursorStaysOnATextAndEmptyingResetsItTo0xFFFF)
{
    CLDTextList& texts = manager.GetTextList();
    EXPECT_EQ(texts.GetCount(), 0);
    EXPECT_EQ(texts.GetCursor(), 0xFFFFu);
    texts.Add("Rung 0");
    texts.Add(nullptr);
    texts.Add("Rung 2");
    ASSERT_EQ(texts.GetCount(), 3);
    EXPECT_EQ(texts.GetAt(1), CString(""));
    EXPECT_TRUE(texts.SetCursor(2));
    EXPECT_FALSE(texts.SetCursor(3));
    EXPECT_EQ(texts.GetCursor(), 2u);
    texts.RemoveAll();
    EXPECT_EQ(texts.GetCount(), 0);
    EXPECT_EQ(texts.GetCursor(), 0xFFFFu);
    EXPECT_FALSE(texts.SetCursor(0));
}

// The base manager takes a whole generated network: its function-block elements, junctions and
// wires, joined where both ends are elements it knows, and the network's comment.
TEST_F(LDManagerTest, TheBaseManagerImportsAWholeGeneratedNetwork)
{
    CLDLogicDoc doc;
    ASSERT_TRUE(gen.LoadILSource("(* somma *)\nLD\t1.0\nADD\t10, 11, 12\nOUT\t2.0\nEND\n", &doc));
    code.reset(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    CPlcLDNetwork* generated = nullptr;
    for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
        if (!generated && network->m_Operators.GetCount() + network->m_Functions.GetCount() > 0)
            generated = network;
    ASSERT_NE(generated, nullptr);
    const int boxes = generated->m_Operators.GetCount() + generated->m_Functions.GetCount();

    CGraphManager base;
    CFakeOwner baseOwner(base);
    CGraphNetworkIntf* network =
        base.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false);
    ASSERT_NE(network, nullptr);
    ASSERT_TRUE(base.ImportNetwork(network, generated));
    int operators = 0;
    int others = 0;
    for (CGraphBlock* element : *base.GetElements(network))
    {
        operators += element->GetType() == FBD_OPERATOR || element->GetType() == FBD_FUNCTION;
        others += element->GetType() == FBD_VARIABLE || element->GetType() == FBD_CONST;
        EXPECT_NE(element->GetType(), FBD_LD_CONTACT) << "ladder elements are the ladder manager's";
    }
    EXPECT_EQ(operators, boxes);
    EXPECT_EQ(others, generated->m_Variables.GetCount() + generated->m_Constants.GetCount());
    EXPECT_GT(base.GetWires(network)->GetSize(), 0);
    int joined = 0;
    for (CConnection* wire : *base.GetWires(network))
        joined += wire->GetStart().object && wire->GetEnd().object;
    EXPECT_GT(joined, 0) << "wires between the operator and its operands";
    EXPECT_EQ(network->GetComment(), CString("somma"));
    EXPECT_GE(baseOwner.m_nChanged, 1);
}
