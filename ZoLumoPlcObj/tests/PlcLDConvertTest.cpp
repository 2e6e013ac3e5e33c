#include "PlcFBDTestNetworks.h"

using namespace plctest;

class PlcLDConvertTest : public ::testing::Test
{
protected:
    // Left rail -> contact K1 -> coil Q (kind given) -> right rail.
    void BuildRung(int contactKind, int coilKind)
    {
        AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
        AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "3");
        AddElement<CPlcLDContact>(net, "10", "1.0", contactKind, "1", "2");
        AddElement<CPlcLDCoil>(net, "11", "2.0", coilKind, "2", "3");
        AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
        AddConnection(net, "2", "10.O", FBD_LD_CONTACT, "11.I", FBD_LD_COIL);
        AddConnection(net, "3", "11.O", FBD_LD_COIL, "R.0", FBD_LD_POWER_RAIL);
        net.m_bValid = true;
    }
    CPlcFBDOperator* OperatorNamed(const char* name)
    {
        for (auto* op : PlcObjects<CPlcFBDOperator>(net.m_Operators))
            if (op->m_strBlockName == name)
                return op;
        return nullptr;
    }
    CPlcFBDVariable* VariableNamed(const char* name)
    {
        for (auto* variable : PlcObjects<CPlcFBDVariable>(net.m_Variables))
            if (variable->m_strVarName == name)
                return variable;
        return nullptr;
    }

    LDNet net;
};

TEST_F(PlcLDConvertTest, ABareWireFromRailToRailConvertsToNothing)
{
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    auto* right = AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "1");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "R.0", FBD_LD_POWER_RAIL);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.MakeFBD());
    EXPECT_TRUE(net.m_ConnNets.IsEmpty());
    EXPECT_TRUE(net.m_Constants.IsEmpty());
    EXPECT_EQ(static_cast<CPlcFBDPin*>(right->m_Pins.GetHead())->m_pPartner, nullptr);
}

TEST_F(PlcLDConvertTest, AContactOnTheRailBecomesAVariableAndACoilAMove)
{
    BuildRung(CPlcLDContact::KIND_NORMAL, CPlcLDCoil::KIND_PLAIN);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.MakeFBD());

    EXPECT_TRUE(net.m_Contacts.IsEmpty());
    EXPECT_TRUE(net.m_Coils.IsEmpty());
    EXPECT_TRUE(net.m_Constants.IsEmpty());
    CPlcFBDVariable* input = VariableNamed("1.0");
    CPlcFBDVariable* output = VariableNamed("2.0");
    CPlcFBDOperator* move = OperatorNamed("MOVE");
    ASSERT_TRUE(input && output && move);
    EXPECT_EQ(input->m_strID, "V1");
    EXPECT_EQ(input->m_nOriginType, FBD_LD_CONTACT);
    EXPECT_EQ(input->m_strOriginID, "10");
    EXPECT_EQ(input->m_Pin.m_nDirection, CPlcFBDPin::DIR_OUT);
    EXPECT_FALSE(input->m_Pin.m_bNegated);
    EXPECT_EQ(move->m_strOriginID, "11");
    EXPECT_EQ(move->m_pParent, &net);
    EXPECT_EQ(output->m_pParent, &net);
    EXPECT_EQ(output->m_Pin.m_nDirection, CPlcFBDPin::DIR_IN);

    // The signal runs variable -> MOVE.0 and MOVE.1 -> variable.
    CPlcFBDPin* moveIn = move->FindPin("0");
    CPlcFBDPin* moveOut = move->FindPin("1");
    ASSERT_TRUE(moveIn && moveOut && moveIn->m_pPartner && moveOut->m_pPartner);
    EXPECT_EQ(moveIn->m_pPartner->m_pPartner, moveIn);
    EXPECT_EQ(moveIn->m_pPartner->m_strConnectedID, move->m_strID + ".0");
    auto* inWire = static_cast<CPlcFBDConnection*>(moveIn->m_pPartner->m_pParent);
    EXPECT_EQ(inWire->m_StartPin.m_pPartner, &input->m_Pin);
    EXPECT_EQ(moveOut->m_pPartner->m_pParent, output->m_Pin.m_pPartner->m_pParent);
    EXPECT_FALSE(moveOut->m_bNegated);
    EXPECT_EQ(net.m_ConnNets.GetCount(), 2);
}

TEST_F(PlcLDConvertTest, CoilKindsChooseTheOperator)
{
    const struct
    {
        int kind;
        const char* name;
        bool negated;
    } cases[] = {{CPlcLDCoil::KIND_SET, "S", false},
                 {CPlcLDCoil::KIND_RESET, "R", false},
                 {CPlcLDCoil::KIND_NEGATED, "MOVE", true},
                 {3, "MOVE", false}};
    for (const auto& c : cases)
    {
        LDNet fresh;
        net.m_Operators.Reset();
        BuildRung(0, c.kind);
        ASSERT_TRUE(net.ResolveReferences());
        ASSERT_TRUE(net.MakeFBD()) << c.kind;
        CPlcFBDOperator* op = OperatorNamed(c.name);
        ASSERT_NE(op, nullptr) << c.kind;
        EXPECT_EQ(op->FindPin("1")->m_bNegated, c.negated) << c.kind;
        for (CPlcFBDObjList* list : {&net.m_PowerRails, &net.m_Variables, &net.m_Operators, &net.m_ConnNets})
            list->Reset();
    }
}

TEST_F(PlcLDConvertTest, ANegatedContactOnTheRailGivesANegatedVariablePin)
{
    BuildRung(CPlcLDContact::KIND_NEGATED, CPlcLDCoil::KIND_PLAIN);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.MakeFBD());
    EXPECT_TRUE(VariableNamed("1.0")->m_Pin.m_bNegated);
}

TEST_F(PlcLDConvertTest, ASecondContactInSeriesBecomesAnAnd)
{
    // L -1-> K1 -2-> K2 -4-> Q -3-> R
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "3");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "1", "2");
    AddElement<CPlcLDContact>(net, "12", "1.2", CPlcLDContact::KIND_NEGATED, "2", "4");
    AddElement<CPlcLDCoil>(net, "11", "2.0", 0, "4", "3");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "2", "10.O", FBD_LD_CONTACT, "12.I", FBD_LD_CONTACT);
    AddConnection(net, "4", "12.O", FBD_LD_CONTACT, "11.I", FBD_LD_COIL);
    AddConnection(net, "3", "11.O", FBD_LD_COIL, "R.0", FBD_LD_POWER_RAIL);
    net.m_bValid = true;
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.MakeFBD());

    CPlcFBDOperator* op = OperatorNamed("AND");
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->m_strOriginID, "12");
    CPlcFBDPin* in0 = op->FindPin("0");
    CPlcFBDPin* in1 = op->FindPin("1");
    CPlcFBDPin* out2 = op->FindPin("2");
    EXPECT_FALSE(in0->m_bNegated);
    EXPECT_TRUE(in1->m_bNegated);
    EXPECT_EQ(in0->m_strOriginID, "10"); // the variable made from the first contact
    EXPECT_EQ(in1->m_strOriginID, "12");
    EXPECT_EQ(static_cast<CPlcFBDConnection*>(in1->m_pPartner->m_pParent)->m_StartPin.m_pPartner,
              &VariableNamed("1.2")->m_Pin);
    EXPECT_EQ(out2->m_pPartner->m_pPartner, out2);
    EXPECT_EQ(out2->m_pPartner->m_strConnectedID, op->m_strID + ".2");
    EXPECT_EQ(net.m_Contacts.GetCount(), 1); // contacts further right stay listed
}

TEST_F(PlcLDConvertTest, ParallelContactsBecomeAnOr)
{
    // L -1-> X ; X -2-> K1, X -3-> K2 ; K1 -4-> Y, K2 -5-> Y ; Y -6-> Q -7-> R
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "7");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "2", "4");
    AddElement<CPlcLDContact>(net, "11", "1.1", CPlcLDContact::KIND_NEGATED, "3", "5");
    AddElement<CPlcLDCoil>(net, "12", "2.0", 0, "6", "7");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "X", FBD_CROSS);
    AddConnection(net, "2", "X", FBD_CROSS, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "3", "X", FBD_CROSS, "11.I", FBD_LD_CONTACT);
    AddConnection(net, "4", "10.O", FBD_LD_CONTACT, "Y", FBD_CROSS);
    AddConnection(net, "5", "11.O", FBD_LD_CONTACT, "Y", FBD_CROSS);
    AddConnection(net, "6", "Y", FBD_CROSS, "12.I", FBD_LD_COIL);
    AddConnection(net, "7", "12.O", FBD_LD_COIL, "R.0", FBD_LD_POWER_RAIL);
    AddCross(net, "X", "", "3", "1", "2");
    AddCross(net, "Y", "", "5", "4", "6");
    net.m_bValid = true;
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.MakeFBD());

    CPlcFBDOperator* orOp = OperatorNamed("OR");
    ASSERT_NE(orOp, nullptr);
    ASSERT_EQ(orOp->m_Inputs.GetCount(), 2);
    ASSERT_TRUE(orOp->FindPin("1") && orOp->FindPin("2") && orOp->FindPin("0"));
    // Inputs follow the drivers in the order the crossing gathered them.
    CPlcFBDPin* in2 = orOp->FindPin("1");
    EXPECT_EQ(in2->m_strOriginID, "11");
    EXPECT_EQ(orOp->FindPin("2")->m_strOriginID, "10");
    auto* branch = static_cast<CPlcFBDConnection*>(in2->m_pPartner->m_pParent);
    EXPECT_EQ(branch->m_StartPin.m_pPartner, &VariableNamed("1.1")->m_Pin);
    EXPECT_TRUE(VariableNamed("1.1")->m_Pin.m_bNegated);
    EXPECT_EQ(VariableNamed("1.1")->m_Pin.m_strConnectedID, branch->m_strID);
    EXPECT_NE(OperatorNamed("MOVE"), nullptr);
    for (auto* cn : PlcObjects<CPlcFBDConnectionNetwork>(net.m_ConnNets))
    {
        EXPECT_TRUE(cn->m_bValid) << cn->m_strID;
        EXPECT_EQ(cn->m_Outputs.GetCount(), 1) << cn->m_strID;
        EXPECT_TRUE(net.m_ConnNets.Find(cn));
    }
    EXPECT_TRUE(net.m_Crosses.IsEmpty());
}

TEST_F(PlcLDConvertTest, AnUnknownCoilKindLeavesTheNetworkAsItWas)
{
    BuildRung(0, 9);
    ASSERT_TRUE(net.ResolveReferences());
    const std::string before = DumpOf(&net);
    EXPECT_FALSE(net.MakeFBD());
    EXPECT_EQ(DumpOf(&net), before);
    EXPECT_EQ(net.m_nNextVarNumber, 1);
    EXPECT_EQ(net.m_Contacts.GetCount(), 1);
}

TEST_F(PlcLDConvertTest, AVariableOnTheRightRailIsRefusedOnTheOriginal)
{
    // The coil drives the right rail and a variable that reads the same signal.
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "4");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "1", "2");
    AddElement<CPlcLDCoil>(net, "11", "2.0", 0, "2", "3");
    AddVariable(net, "W", "w", "5", CPlcFBDPin::DIR_IN);
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "2", "10.O", FBD_LD_CONTACT, "11.I", FBD_LD_COIL);
    AddConnection(net, "3", "11.O", FBD_LD_COIL, "Y", FBD_CROSS);
    AddConnection(net, "4", "Y", FBD_CROSS, "R.0", FBD_LD_POWER_RAIL);
    AddConnection(net, "5", "Y", FBD_CROSS, "W", FBD_VARIABLE);
    AddCross(net, "Y", "", "5", "3", "4");
    net.m_bValid = true;
    ASSERT_TRUE(net.ResolveReferences());
    const std::string before = DumpOf(&net);

    EXPECT_FALSE(net.MakeFBD());
    CPlcFBDObject* failed = net.m_pErrorObject;
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed, net.m_Variables.FindEl("W"));
    EXPECT_EQ(failed->m_nError, CPlcLDNetwork::CONVERR_VARIABLE_AT_RIGHT_RAIL);
    failed->m_nError = 9;
    EXPECT_EQ(DumpOf(&net), before);
}

TEST_F(PlcLDConvertTest, AContactAloneOnTheRightRailIsRefused)
{
    // L -1-> K1 -2-> K2 -3-> R: the second contact drives the right rail with nothing after it.
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "3");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "1", "2");
    AddElement<CPlcLDContact>(net, "12", "1.2", 0, "2", "3");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "2", "10.O", FBD_LD_CONTACT, "12.I", FBD_LD_CONTACT);
    AddConnection(net, "3", "12.O", FBD_LD_CONTACT, "R.0", FBD_LD_POWER_RAIL);
    net.m_bValid = true;
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.MakeFBD());
    ASSERT_EQ(net.m_Contacts.GetCount(), 2); // the first one is back in place
    EXPECT_EQ(net.m_pErrorObject, net.m_Contacts.FindEl("12"));
    EXPECT_EQ(net.m_pErrorObject->m_nError, CPlcLDNetwork::CONVERR_CONTACT_AT_RIGHT_RAIL);
    EXPECT_TRUE(net.m_Variables.IsEmpty());
}

TEST_F(PlcLDConvertTest, AContactFromRailToRailIsReportedOnTheContact)
{
    AddRail(net, "L", CPlcLDPowerRail::SIDE_LEFT, "1");
    AddRail(net, "R", CPlcLDPowerRail::SIDE_RIGHT, "2");
    AddElement<CPlcLDContact>(net, "10", "1.0", 0, "1", "2");
    AddConnection(net, "1", "L.0", FBD_LD_POWER_RAIL, "10.I", FBD_LD_CONTACT);
    AddConnection(net, "2", "10.O", FBD_LD_CONTACT, "R.0", FBD_LD_POWER_RAIL);
    net.m_bValid = true;
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.MakeFBD());
    EXPECT_EQ(net.m_pErrorObject, net.m_Contacts.FindEl("10"));
    EXPECT_EQ(net.m_pErrorObject->m_nError, CPlcLDNetwork::CONVERR_VARIABLE_AT_RIGHT_RAIL);
}

TEST_F(PlcLDConvertTest, AnInvalidNetworkIsNotConverted)
{
    BuildRung(0, 0);
    ASSERT_TRUE(net.ResolveReferences());
    net.m_bValid = false;
    EXPECT_FALSE(net.MakeFBD());
    EXPECT_EQ(net.m_nError, CPlcFBDNetwork::NETERR_INVALID);
    EXPECT_EQ(net.m_pErrorObject, &net);
}
