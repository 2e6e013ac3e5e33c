#include "LDTestUtil.h"

#include <gtest/gtest.h>

using namespace ldtest;

class LDLogicNetTest : public ::testing::Test
{
protected:
    // Places e with op and selects it, as the instruction reader does.
    bool Place(bool (CLDLogicNet::*op)(CLDLogicElem*), CLDLogicElem* e)
    {
        const bool ok = (net.*op)(e);
        if (ok)
            net.m_pSelected = e;
        else
            delete e;
        return ok;
    }
    void Chain(std::initializer_list<const char*> operands)
    {
        for (const char* op : operands)
            ASSERT_TRUE(Place(&CLDLogicNet::AddCascade, Contact(op)));
    }

    CLDLogicNet net{0};
};

TEST_F(LDLogicNetTest, CascadeBuildsAChainFromHeadToTail)
{
    Chain({"1.0", "1.1", "1.2"});
    EXPECT_EQ(Dump(net, true), "C#0(1.0)r0>1 C#1(1.1)r0>2 C#2(1.2)r0 tail=2");
    EXPECT_EQ(net.GetNetHead()->m_Operands[0], "1.0");
}

TEST_F(LDLogicNetTest, ParallelHangsFromAHeadNodeAndClosesInAJoin)
{
    Chain({"1.0", "1.1", "1.2"});
    net.SelectElement(1);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.3")));
    EXPECT_EQ(Dump(net, true),
              "N#4r0>1,5 C#0(1.0)r0>2 C#1(1.1)r0>3 J#5r0>4<2,5 C#2(1.2)r0 C#3(1.3)r1>3 tail=4");
    EXPECT_EQ(net.m_nRows, 1);
}

TEST_F(LDLogicNetTest, FurtherParallelsStackBelowAndCascadeAfterABranchFollowsTheBlock)
{
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.1")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.2")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddCascade, Contact("1.3")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.4")));
    CLDLogicElem* head = net.GetNetHead();
    ASSERT_EQ(head->m_nType, LDELEM_NODE);
    ASSERT_EQ(head->GetChildCount(), 4);
    EXPECT_EQ(head->GetChild(3)->m_Operands[0], "1.4");
    EXPECT_EQ(head->GetChild(3)->m_nRow, 3);
    EXPECT_EQ(net.GetNetTail()->m_nType, LDELEM_JOIN);
    EXPECT_EQ(net.GetNetTail()->GetParent(0)->m_Operands[0], "1.3");
}

TEST_F(LDLogicNetTest, ParallelIsRefusedWhereItsBranchWouldNotBeGenerated)
{
    CLDLogicElem* lone = Contact("1.0");
    EXPECT_FALSE(net.AddParallel(lone));
    delete lone;
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    const std::string before = Dump(net);
    EXPECT_FALSE(Place(&CLDLogicNet::AddParallel, Contact("1.1")));
    ASSERT_TRUE(Place(&CLDLogicNet::BranchOff, Contact("1.2")));
    EXPECT_FALSE(Place(&CLDLogicNet::AddParallel, Contact("1.3")));
    EXPECT_EQ(net.GetElements().size(), 5u);
    EXPECT_NE(before, Dump(net));
}

TEST_F(LDLogicNetTest, ContactAfterAnOutputBranchesOffAndOutputsShareAnEndJoin)
{
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    ASSERT_TRUE(Place(&CLDLogicNet::BranchOff, Contact("1.1")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.1")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.2")));
    EXPECT_EQ(Dump(net),
              "C(1.0)r0>1 Nr0>2,4 O(2.0)r0>3 Jr0<2,6,7 C(1.1)r1>5 Nr1>6,7 O(2.1)r1>3 O(2.2)r2>3 tail=3");
}

TEST_F(LDLogicNetTest, OutputInsideTheRungBranchesOffAndMovesTheRestDown)
{
    Chain({"1.0", "1.1"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    net.SelectElement(0);
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.1")));
    EXPECT_EQ(Dump(net), "C(1.0)r0>1 Nr0>2,4 O(2.1)r0>3 Jr0<2,5 C(1.1)r1>5 O(2.0)r1>3 tail=3");
}

TEST_F(LDLogicNetTest, OutputAfterAParallelBlockAtTheRungEndFollowsTheJoin)
{
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.1")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    EXPECT_EQ(Dump(net), "Nr0>1,4 C(1.0)r0>2 Jr0>3<1,4 O(2.0)r0 C(1.1)r1>2 tail=3");
}

TEST_F(LDLogicNetTest, DeleteKeepsALoneHeadAndAHeadBeforeAnOutput)
{
    Chain({"1.0"});
    net.SelectElement(0);
    EXPECT_FALSE(net.DeleteSelected());
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    net.SelectElement(0);
    EXPECT_FALSE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.0)r0>1 O(2.0)r0 tail=1");
}

TEST_F(LDLogicNetTest, DeleteJoinsTheNeighboursOfAChainElement)
{
    Chain({"1.0", "1.1", "1.2"});
    net.SelectElement(1);
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.0)r0>1 C(1.2)r0 tail=1");
    EXPECT_EQ(net.GetSelected(), nullptr);
    net.SelectElement(2);
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.0)r0 tail=0");
    net.SelectElement(0);
    Chain({"1.3"});
    net.SelectElement(0);
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.3)r0 tail=0");
}

TEST_F(LDLogicNetTest, DeletingABranchDissolvesTheBlockItLeavesWithOnePath)
{
    Chain({"1.0", "1.1"});
    net.SelectElement(0);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.2")));
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.0)r0>1 C(1.1)r0 tail=1");
    EXPECT_EQ(net.m_nRows, 0);

    net.SelectElement(0);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.2")));
    net.SelectElement(0);
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.2)r0>1 C(1.1)r0 tail=1");
}

TEST_F(LDLogicNetTest, DeletingOneOfTwoOutputsLeavesAPlainRung)
{
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.1")));
    net.SelectElement(1);
    ASSERT_TRUE(net.DeleteSelected());
    EXPECT_EQ(Dump(net), "C(1.0)r0>1 O(2.1)r0 tail=1");
}

TEST_F(LDLogicNetTest, WrongShapesAreRefusedWithoutChange)
{
    Chain({"1.0", "1.1"});
    const std::string before = Dump(net, true);
    EXPECT_FALSE(Place(&CLDLogicNet::BranchOff, Contact("1.2"))); // selected is no output
    CLDLogicElem* node = Contact("1.3");
    node->m_nType = LDELEM_NODE;
    EXPECT_FALSE(net.AddCascade(node));
    delete node;
    net.m_pSelected = nullptr;
    EXPECT_FALSE(net.DeleteSelected());
    EXPECT_EQ(Dump(net, true), before);
}

TEST_F(LDLogicNetTest, FINIsRecognisedAtTheHeadOrBehindAHeadNode)
{
    EXPECT_FALSE(net.HasFIN());
    ASSERT_TRUE(Place(&CLDLogicNet::AddCascade, Elem(LDELEM_BOX, "", false, "FIN P40.3")));
    EXPECT_TRUE(net.HasFIN());
    EXPECT_TRUE(net.HasOnlyFIN());
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.0")));
    EXPECT_TRUE(net.HasFIN());
    EXPECT_FALSE(net.HasOnlyFIN());
}

TEST_F(LDLogicNetTest, CommentGoesToTheFirstRungElementAndIsDeletedFromIt)
{
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.1")));
    net.InsertNewComment("start");
    EXPECT_EQ(net.GetNetHead()->GetChild(0)->m_strComment, "start");
    EXPECT_EQ(net.m_nCommentElem, 0);
    net.DeleteComment();
    EXPECT_TRUE(net.GetNetHead()->GetChild(0)->m_strComment.IsEmpty());
    EXPECT_EQ(net.m_nCommentElem, -1);
}

TEST_F(LDLogicNetTest, LayoutPlacesTheRungFromColumnThreeAndBranchesBelow)
{
    Chain({"1.0", "1.1"});
    net.SelectElement(0);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.2")));
    net.SelectElement(1);
    ASSERT_TRUE(Place(&CLDLogicNet::AddOutput, Output("2.0")));
    net.UpdateGraphXY();
    // node 3, contact 5, join 9, contact 11, output 15
    std::vector<std::pair<int, int>> xy;
    for (const CLDLogicElem* e : net.GetElements())
        xy.emplace_back(e->m_nX, e->m_nY);
    EXPECT_EQ(xy, (std::vector<std::pair<int, int>>{{3, 4}, {5, 4}, {9, 4}, {11, 4}, {15, 4}, {5, 7}}));
    EXPECT_EQ(net.GetNetMinLen(), 19);
    EXPECT_EQ(net.GetMaxY(), 7);
}

TEST_F(LDLogicNetTest, BoxesAreShiftedAndPushTheNextLineFurtherDown)
{
    CLDLogicElem* box = Elem(LDELEM_BOX, "P1", false, "ADD");
    box->m_Operands.Add("P2");
    box->m_nOperands = 2;
    box->m_strOutText = "P3";
    Chain({"1.0"});
    ASSERT_TRUE(Place(&CLDLogicNet::AddCascade, box));
    net.SelectElement(0);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.1")));
    net.UpdateGraphXY();
    EXPECT_EQ(box->m_nX, 14); // placed after the join at 11, drawn 3 columns further right
    EXPECT_EQ(net.GetNetHead()->GetChild(1)->m_nY, 10);
    EXPECT_EQ(net.GetNetMinLen(), 27);
    EXPECT_EQ(net.GetMaxY(), 10);
}

TEST_F(LDLogicNetTest, WiresAreNumberedInChildOrderAndAJoinAfterItsLastParent)
{
    Chain({"1.0", "1.1"});
    net.SelectElement(1);
    ASSERT_TRUE(Place(&CLDLogicNet::AddParallel, Contact("1.2")));
    net.m_nWireCnt = net.GetMaxID();
    net.NumberConns();
    const CLDLogicElem* head = net.GetNetHead();
    const CLDLogicElem* join = net.GetNetTail();
    EXPECT_EQ(head->m_OutWires[0], 5u);
    EXPECT_EQ(head->m_OutWires[1], 6u);
    EXPECT_EQ(head->GetChild(0)->m_OutWires[0], 7u);
    EXPECT_EQ(join->m_InWires[0], 8u);
    EXPECT_EQ(join->m_InWires[1], 9u);
    EXPECT_EQ(head->GetChild(1)->m_InWires[0], 6u);
    EXPECT_EQ(net.m_nWireCnt, 9);
}

class LDLogicDocTest : public ::testing::Test
{
protected:
    CLDLogicDoc doc;
};

TEST_F(LDLogicDocTest, NetsAreNumberedFromOneAndInsertedByPosition)
{
    doc.InsertNet(0);
    EXPECT_EQ(doc.GetCount(), 1);
    EXPECT_EQ(doc.GetNet(1)->GetID(), 0);
    doc.AppendNet();
    doc.InsertNet(1);
    EXPECT_EQ(doc.GetNet(2)->GetID(), 2);
    EXPECT_EQ(doc.GetNetIdx(doc.GetNet(3)), 2);
    doc.InsertNet(5);
    EXPECT_EQ(doc.GetCount(), 3);
    EXPECT_EQ(doc.GetNet(0), nullptr);
    EXPECT_EQ(doc.GetNet(4), nullptr);
}

TEST_F(LDLogicDocTest, NetsAreRemovedDeletedAndTheHighestIdRecomputed)
{
    for (int i = 0; i < 3; ++i)
        doc.AppendNet();
    CLDLogicNet* removed = doc.RemoveNet(3);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(doc.GetNetIdx(removed), -1);
    EXPECT_FALSE(doc.DeleteNet(removed));
    delete removed;
    EXPECT_FALSE(doc.DeleteNet(3));
    EXPECT_TRUE(doc.DeleteNet(doc.GetNet(1)));
    doc.UpdateCntID();
    EXPECT_EQ(doc.GetMaxNetID(), 1);
    doc.Reset();
    EXPECT_EQ(doc.GetCount(), 0);
    EXPECT_EQ(doc.GetMaxNetID(), -1);
}

TEST_F(LDLogicDocTest, FINIsAllowedOnlyAtTheStartOfTheProgram)
{
    EXPECT_TRUE(doc.IsFINAllowed(3));
    doc.AppendNet();
    EXPECT_TRUE(doc.IsFINAllowed(1));
    EXPECT_FALSE(doc.IsFINAllowed(2));
    CLDLogicNet* first = doc.GetNet(1);
    auto* fin = Elem(LDELEM_BOX, "", false, "FIN P40.3");
    ASSERT_TRUE(first->AddCascade(fin));
    EXPECT_TRUE(doc.IsFINAllowed(2));
    doc.AppendNet();
    doc.AppendNet();
    auto* nfin = Elem(LDELEM_BOX, "", true, "NFIN P150.0");
    ASSERT_TRUE(doc.GetNet(2)->AddCascade(nfin));
    EXPECT_FALSE(doc.IsFINAllowed(1));
    EXPECT_FALSE(doc.IsFINAllowed(2));
    EXPECT_FALSE(doc.IsFINAllowed(3));
}
