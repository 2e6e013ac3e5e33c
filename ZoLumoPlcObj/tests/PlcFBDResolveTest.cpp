#include "PlcFBDTestNetworks.h"

using namespace plctest;

class PlcFBDResolveTest : public ::testing::Test
{
protected:
    // K -1-> MOVE(3).0 ; MOVE(3).1 -2-> V
    void BuildMove()
    {
        constant = AddConst(net, "K", "TRUE", "1");
        move = AddBlock<CPlcFBDOperator>(net, "3", "MOVE");
        in = AddPin(move, "0", CPlcFBDPin::DIR_IN, "1", FBD_CONNECTION);
        out = AddPin(move, "1", CPlcFBDPin::DIR_OUT, "2", FBD_CONNECTION);
        variable = AddVariable(net, "V", "x", "2", CPlcFBDPin::DIR_IN);
        c1 = AddConnection(net, "1", "K", FBD_CONST, "3.0", FBD_OPERATOR);
        c2 = AddConnection(net, "2", "3.1", FBD_OPERATOR, "V", FBD_VARIABLE);
    }

    FBDNet net;
    CPlcFBDConst* constant = nullptr;
    CPlcFBDOperator* move = nullptr;
    CPlcFBDPin* in = nullptr;
    CPlcFBDPin* out = nullptr;
    CPlcFBDVariable* variable = nullptr;
    CPlcFBDConnection* c1 = nullptr;
    CPlcFBDConnection* c2 = nullptr;
};

TEST_F(PlcFBDResolveTest, PinsFindTheirPartnersAndEachLoneConnectionIsANet)
{
    BuildMove();
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_EQ(constant->m_Pin.m_pPartner, &c1->m_StartPin);
    EXPECT_EQ(c1->m_StartPin.m_pPartner, &constant->m_Pin);
    EXPECT_EQ(c1->m_EndPin.m_pPartner, in);
    EXPECT_EQ(in->m_pPartner, &c1->m_EndPin);
    EXPECT_EQ(out->m_pPartner, &c2->m_StartPin);
    EXPECT_EQ(variable->m_Pin.m_pPartner, &c2->m_EndPin);

    ASSERT_EQ(net.m_ConnNets.GetCount(), 2);
    EXPECT_TRUE(net.m_Connections.IsEmpty());
    EXPECT_EQ(Net(net, 0)->m_strID, "0");
    EXPECT_EQ(Net(net, 1)->m_strID, "1");
    EXPECT_EQ(Net(net, 0)->m_Connections.GetHead(), c1);
    EXPECT_EQ(Net(net, 0)->m_Outputs.GetHead(), &c1->m_StartPin);
    EXPECT_EQ(Net(net, 0)->m_Inputs.GetHead(), &c1->m_EndPin);
    EXPECT_TRUE(Net(net, 0)->m_bValid);
    EXPECT_EQ(c1->m_pParent, Net(net, 0));
    EXPECT_TRUE(net.m_bValid);
    EXPECT_TRUE(net.CheckObjectsConnections());
}

TEST_F(PlcFBDResolveTest, MissingTargetsAndOwnerlessPinsAreRefused)
{
    BuildMove();
    CPlcFBDPin lonely;
    Refer(lonely, "1", FBD_CONNECTION);
    EXPECT_FALSE(net.ResolvePinConnection(&lonely));

    in->m_strConnectedID = "9";
    EXPECT_FALSE(net.ResolveReferences());
    in->m_strConnectedID = "1";
    variable->m_Pin.m_nConnectedType = FBD_VARIABLE;
    variable->m_Pin.m_strConnectedID = "nobody";
    EXPECT_FALSE(net.ResolvePinConnection(&variable->m_Pin));
    EXPECT_EQ(variable->m_Pin.m_pPartner, nullptr);
}

TEST_F(PlcFBDResolveTest, UnconnectedPinsPassResolutionButNotTheConnectionCheck)
{
    BuildMove();
    auto* en = AddPin(move, "EN", CPlcFBDPin::DIR_IN);
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_EQ(en->m_pPartner, nullptr);
    EXPECT_TRUE(net.CheckObjectsConnections()); // an open EN is allowed

    AddPin(move, "2", CPlcFBDPin::DIR_IN);
    EXPECT_FALSE(net.CheckObjectsConnections());
    EXPECT_EQ(move->m_nError, CPlcFBDNetwork::NETERR_NOT_CONNECTED);
    EXPECT_EQ(net.m_pErrorObject, move);
    EXPECT_FALSE(move->m_bValid);
}

TEST_F(PlcFBDResolveTest, AnUnconnectedVariableFailsTheCheck)
{
    BuildMove();
    auto* spare = AddVariable(net, "S", "y", "");
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.CheckObjectsConnections());
    EXPECT_EQ(net.m_pErrorObject, spare);
    EXPECT_EQ(spare->m_nError, 2);
}

TEST_F(PlcFBDResolveTest, ALoneFunctionBlockPassesTheCheck)
{
    auto* block = AddBlock<CPlcFBDFunctionBlock>(net, "T1", "TON");
    AddPin(block, "IN", CPlcFBDPin::DIR_IN);
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_TRUE(net.CheckObjectsConnections());
    AddVariable(net, "V", "x", "");
    EXPECT_FALSE(net.CheckObjectsConnections());
    EXPECT_EQ(net.m_pErrorObject, block);
}

TEST_F(PlcFBDResolveTest, CrossingsGatherTheirConnectionsIntoOneNet)
{
    // K -1-> X ; X -2-> M.0 ; X -4-> Y ; Y -5-> V2 ; M.1 -3-> V
    constant = AddConst(net, "K", "1", "1");
    move = AddBlock<CPlcFBDOperator>(net, "M", "MOVE");
    AddPin(move, "0", CPlcFBDPin::DIR_IN, "2", FBD_CONNECTION);
    AddPin(move, "1", CPlcFBDPin::DIR_OUT, "3", FBD_CONNECTION);
    AddVariable(net, "V", "x", "3", CPlcFBDPin::DIR_IN);
    AddVariable(net, "V2", "y", "5", CPlcFBDPin::DIR_IN);
    AddConnection(net, "1", "K", FBD_CONST, "X", FBD_CROSS);
    AddConnection(net, "2", "X", FBD_CROSS, "M.0", FBD_OPERATOR);
    AddConnection(net, "3", "M.1", FBD_OPERATOR, "V", FBD_VARIABLE);
    AddConnection(net, "4", "X", FBD_CROSS, "Y", FBD_CROSS);
    AddConnection(net, "5", "Y", FBD_CROSS, "V2", FBD_VARIABLE);
    CPlcFBDCross* x = AddCross(net, "X", "", "4", "1", "2");
    AddCross(net, "Y", "4", "", "", "5");

    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_EQ(net.m_ConnNets.GetCount(), 2);
    EXPECT_EQ(Net(net, 0)->m_Connections.GetCount(), 4);
    EXPECT_EQ(Net(net, 0)->m_Crosses.GetCount(), 2);
    EXPECT_EQ(Net(net, 0)->m_Inputs.GetCount(), 2);
    EXPECT_TRUE(Net(net, 0)->m_bValid);
    EXPECT_EQ(Net(net, 1)->m_Connections.GetCount(), 1);
    EXPECT_TRUE(net.m_Crosses.IsEmpty());
    EXPECT_EQ(x->m_pParent, Net(net, 0));
}

TEST_F(PlcFBDResolveTest, AnOperatorPinMeetsACrossingByTheOperatorIDAlone)
{
    move = AddBlock<CPlcFBDOperator>(net, "M", "MOVE");
    CPlcFBDPin* pin = AddPin(move, "0", CPlcFBDPin::DIR_IN, "X", FBD_CROSS);
    CPlcFBDCross* x = AddCross(net, "X", "", "", "", "M.0");
    EXPECT_EQ(net.FindCrossPin(pin), nullptr);
    x->m_RightPin.m_strConnectedID = "M";
    EXPECT_EQ(net.FindCrossPin(pin), &x->m_RightPin);
}

TEST_F(PlcFBDResolveTest, TwoDriversMakeAnFBDNetInvalid)
{
    AddConst(net, "K1", "1", "1");
    AddConst(net, "K2", "0", "2");
    AddVariable(net, "V", "x", "3", CPlcFBDPin::DIR_IN);
    AddConnection(net, "1", "K1", FBD_CONST, "X", FBD_CROSS);
    AddConnection(net, "2", "K2", FBD_CONST, "X", FBD_CROSS);
    AddConnection(net, "3", "X", FBD_CROSS, "V", FBD_VARIABLE);
    AddCross(net, "X", "1", "2", "", "3");
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_EQ(net.m_ConnNets.GetCount(), 1);
    EXPECT_EQ(Net(net, 0)->m_Outputs.GetCount(), 2);
    EXPECT_FALSE(Net(net, 0)->m_bValid);
    // Validating again sorts the same ends, it does not count them twice.
    Net(net, 0)->Validate();
    EXPECT_EQ(Net(net, 0)->m_Outputs.GetCount(), 2);
    EXPECT_EQ(Net(net, 0)->m_Inputs.GetCount(), 1);
}

TEST_F(PlcFBDResolveTest, ACrossingOnSomethingElseThanAConnectionLeavesTheNetworkAsItWas)
{
    BuildMove();
    AddConnection(net, "7", "X", FBD_CROSS, "", FBD_UNKNOWN);
    AddConnection(net, "8", "X", FBD_CROSS, "", FBD_UNKNOWN);
    CPlcFBDCross* x = AddCross(net, "X", "7", "8", "", "");
    ASSERT_TRUE(net.ResolvePinConnection(&x->m_TopPin));
    ASSERT_TRUE(net.ResolvePinConnection(&x->m_BottomPin));
    x->m_LeftPin.m_nConnectedType = FBD_VARIABLE;
    x->m_LeftPin.m_strConnectedID = "V";

    EXPECT_FALSE(net.UpdateConnectionNetworks());
    EXPECT_EQ(net.m_Connections.GetCount(), 4); // nothing deleted under the pins
    EXPECT_EQ(net.m_Crosses.GetCount(), 1);
    EXPECT_TRUE(net.m_ConnNets.IsEmpty());
    EXPECT_EQ(x->m_TopPin.m_pPartner->m_pParent, net.m_Connections.FindEl("7"));
}

TEST_F(PlcFBDResolveTest, NetIDsStayUniqueWhenACrossingJoinsTwoNets)
{
    // A joins 1 and 2, B joins 3 and 4, C joins 3 and 2 (B's net absorbs A's), D joins 5 and 6.
    for (const char* id : {"1", "2", "3", "4", "5", "6"})
        AddConnection(net, id, "", FBD_UNKNOWN, "", FBD_UNKNOWN);
    AddCross(net, "A", "1", "2", "", "");
    AddCross(net, "B", "3", "4", "", "");
    AddCross(net, "C", "3", "2", "", "");
    AddCross(net, "D", "5", "6", "", "");
    for (auto* cross : PlcObjects<CPlcFBDCross>(net.m_Crosses))
        for (CPlcFBDPin* side : {&cross->m_TopPin, &cross->m_BottomPin})
        {
            CPlcFBDConnection* connection =
                static_cast<CPlcFBDConnection*>(net.m_Connections.FindEl(side->m_strConnectedID));
            Refer(connection->m_StartPin, cross->m_strID, FBD_CROSS);
            ASSERT_TRUE(net.ResolvePinConnection(side));
        }

    ASSERT_TRUE(net.UpdateConnectionNetworks());
    ASSERT_EQ(net.m_ConnNets.GetCount(), 2);
    EXPECT_EQ(Net(net, 0)->m_Connections.GetCount(), 4);
    EXPECT_EQ(Net(net, 0)->m_Crosses.GetCount(), 3);
    EXPECT_NE(Net(net, 0)->m_strID, Net(net, 1)->m_strID);
}

TEST_F(PlcFBDResolveTest, FindFBDObjectNamesBlocksByTheirPartBeforeThePoint)
{
    BuildMove();
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_EQ(net.FindFBDObject(&c1->m_EndPin), move);
    EXPECT_EQ(net.FindFBDObject(&c1->m_StartPin), constant);
    EXPECT_EQ(net.FindFBDObject(&c2->m_EndPin), variable);
    CPlcFBDPin nowhere;
    Refer(nowhere, "3", FBD_CONNECTION);
    EXPECT_EQ(net.FindFBDObject(&nowhere), nullptr);
}

class PlcLDResolveTest : public ::testing::Test
{
protected:
    LDNet net;
};

TEST(PlcNetworkFilingTest, ObjectsWithoutAListAreRefusedAndReportedByNetworkKind)
{
    CPlcFBDNetwork fbd;
    CPlcLDNetwork ld;
    CPlcFBDPin stray;
    testing::internal::CaptureStderr();
    fbd.AddNetworkObject(&stray);
    ld.AddNetworkObject(&stray);
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_NE(reports.find("PlcFBDObject(1512)"), std::string::npos) << reports;
    EXPECT_NE(reports.find("PlcFBDObject(2621)"), std::string::npos) << reports;
    EXPECT_EQ(stray.m_pParent, nullptr);
    EXPECT_TRUE(ld.m_Comments.IsEmpty());

    auto* contact = new CPlcLDContact;
    fbd.AddNetworkObject(contact); // a plain network keeps ladder elements with its comments
    EXPECT_EQ(fbd.m_Comments.GetCount(), 1);
}

TEST_F(PlcLDResolveTest, WiredOrOfContactsIsAValidLadderNet)
{
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "6");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "2", "4");
    AddElement<CPlcLDContact>(net, "11", "1.1", 0, "3", "5");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "X", FBD_CROSS);
    AddConnection(net, "2", "X", FBD_CROSS, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "3", "X", FBD_CROSS, "11.I", FBD_LD_CONTACT);
    AddConnection(net, "4", "10.O", FBD_LD_CONTACT, "Y", FBD_CROSS);
    AddConnection(net, "5", "11.O", FBD_LD_CONTACT, "Y", FBD_CROSS);
    AddConnection(net, "6", "Y", FBD_CROSS, "R.0", FBD_LD_POWER_RAIL);
    AddCross(net, "X", "", "3", "1", "2");
    AddCross(net, "Y", "", "5", "4", "6");

    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_EQ(net.m_ConnNets.GetCount(), 2);
    EXPECT_EQ(Net(net, 1)->m_Outputs.GetCount(), 2);
    EXPECT_TRUE(Net(net, 1)->m_bValid);
    EXPECT_TRUE(net.m_bValid);
    EXPECT_TRUE(net.CheckObjectsConnections());
}

TEST_F(PlcLDResolveTest, AContactWithAnOpenSideFailsTheCheck)
{
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    auto* contact = AddElement<CPlcLDContact>(net, "10", "1.0", 0, "1", "");
    contact->m_OutPin.m_nConnectedType = FBD_UNKNOWN;
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.CheckObjectsConnections());
    EXPECT_EQ(net.m_pErrorObject, contact);
    EXPECT_EQ(contact->m_nError, 2);
}

TEST_F(PlcLDResolveTest, TemporaryLookupsReadIDsAsWholeNumbers)
{
    AddConnection(net, "12", "", FBD_UNKNOWN, "", FBD_UNKNOWN);
    AddConnection(net, "V3", "", FBD_UNKNOWN, "", FBD_UNKNOWN);
    AddCross(net, "7", "", "", "", "");
    AddCross(net, "8", "", "", "", "");
    AddCross(net, "9", "", "", "", "");
    EXPECT_EQ(net.FindTmpConnection(12)->m_strID, "12");
    EXPECT_EQ(net.FindTmpConnection(0), nullptr);
    EXPECT_EQ(net.FindTmpCross(9)->m_strID, "9"); // more crossings than connections
    EXPECT_EQ(net.GetNewVarId(), "V1");
    EXPECT_EQ(net.GetNewVarId(), "V2");
}
