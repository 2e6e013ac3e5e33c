#include "PlcFBDTestNetworks.h"

using namespace plctest;

class PlcFBDExecOrderTest : public ::testing::Test
{
protected:
    CPlcFBDOperator* Op(const char* id, int x, int y)
    {
        return AddBlock<CPlcFBDOperator>(net, id, "MOVE", x, y);
    }
    void Wire(const char* id, const char* from, int fromType, const char* to, int toType)
    {
        AddConnection(net, id, from, fromType, to, toType);
    }
    CPlcFBDConnectionNetwork* NetWithConnection(const char* id)
    {
        for (auto* cn : PlcObjects<CPlcFBDConnectionNetwork>(net.m_ConnNets))
            if (cn->m_Connections.FindEl(id))
                return cn;
        return nullptr;
    }

    FBDNet net;
};

TEST_F(PlcFBDExecOrderTest, BlocksOfOneRankRunInRowThenColumnOrder)
{
    // A feeds three operators; each writes a variable of its own.
    AddVariable(net, "A", "a", "1", CPlcFBDPin::DIR_OUT);
    auto* low = Op("low", 1, 9);
    auto* right = Op("right", 8, 2);
    auto* left = Op("left", 3, 2);
    Wire("1", "A", FBD_VARIABLE, "X", FBD_CROSS);
    AddCross(net, "X", "2", "3", "1", "4");
    int wire = 2;
    for (auto* op : {low, right, left})
    {
        const std::string in = std::to_string(wire), out = std::to_string(wire + 3);
        const std::string var = "out" + op->m_strID.str();
        AddPin(op, "0", CPlcFBDPin::DIR_IN, in.c_str(), FBD_CONNECTION);
        AddPin(op, "1", CPlcFBDPin::DIR_OUT, out.c_str(), FBD_CONNECTION);
        Wire(in.c_str(), "X", FBD_CROSS, (op->m_strID + ".0").GetString(), FBD_OPERATOR);
        Wire(out.c_str(), (op->m_strID + ".1").GetString(), FBD_OPERATOR, var.c_str(), FBD_VARIABLE);
        AddVariable(net, var.c_str(), "v", out.c_str(), CPlcFBDPin::DIR_IN);
        ++wire;
    }
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.ExecutionOrder());
    EXPECT_EQ(left->m_nOrder, 0);
    EXPECT_EQ(right->m_nOrder, 1);
    EXPECT_EQ(low->m_nOrder, 2);
    EXPECT_EQ(net.m_ExecList.GetCount(), 3 + 4);

    // A second pass gives the same result and does not pile up its work lists.
    ASSERT_TRUE(net.ExecutionOrder());
    EXPECT_EQ(net.m_ExecList.GetCount(), 3 + 4);
    EXPECT_EQ(Net(net, 0)->m_DestObjects.GetCount(), 3);
    EXPECT_EQ(left->m_nOrder, 0);
    EXPECT_EQ(low->m_nOrder, 2);
}

TEST_F(PlcFBDExecOrderTest, AChainRunsFromSourceToSinkAndFormsAnEnEnoChain)
{
    // A -> first.EN ; first.ENO -> second.EN ; second.ENO -> B, drawn right to left.
    AddVariable(net, "A", "a", "1", CPlcFBDPin::DIR_OUT);
    auto* first = Op("first", 9, 9);
    auto* second = Op("second", 1, 1);
    CPlcFBDPin* en = AddPin(first, "EN", CPlcFBDPin::DIR_IN, "1", FBD_CONNECTION);
    AddPin(first, "ENO", CPlcFBDPin::DIR_OUT, "2", FBD_CONNECTION);
    AddPin(second, "EN", CPlcFBDPin::DIR_IN, "2", FBD_CONNECTION);
    AddPin(second, "ENO", CPlcFBDPin::DIR_OUT, "3", FBD_CONNECTION);
    AddVariable(net, "B", "b", "3", CPlcFBDPin::DIR_IN);
    Wire("1", "A", FBD_VARIABLE, "first.EN", FBD_OPERATOR);
    Wire("2", "first.ENO", FBD_OPERATOR, "second.EN", FBD_OPERATOR);
    Wire("3", "second.ENO", FBD_OPERATOR, "B", FBD_VARIABLE);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.ExecutionOrder());

    EXPECT_EQ(first->m_nOrder, 0);
    EXPECT_EQ(second->m_nOrder, 1);
    EXPECT_TRUE(first->m_bENEnd);
    EXPECT_FALSE(first->m_bENOEnd);
    EXPECT_EQ(first->m_pENOSource, en);
    EXPECT_FALSE(second->m_bENEnd);
    EXPECT_TRUE(second->m_bENOEnd);
    EXPECT_EQ(second->m_pENOSource, en);
    EXPECT_EQ(en->m_pConnNet, NetWithConnection("1"));
    for (auto* cn : PlcObjects<CPlcFBDConnectionNetwork>(net.m_ConnNets))
        EXPECT_FALSE(cn->m_bFeedback);
}

TEST_F(PlcFBDExecOrderTest, ALoopThroughFeedbackNetsBreaksAtTheFirstSourceInReadingOrder)
{
    // A -> p.0 ; p.2 -> q.0 ; q.1 -> p.1 and B.
    auto build = [&](int px, int qx)
    {
        AddVariable(net, "A", "a", "1", CPlcFBDPin::DIR_OUT);
        auto* p = AddBlock<CPlcFBDOperator>(net, "p", "AND", px, 4);
        auto* q = Op("q", qx, 4);
        AddPin(p, "0", CPlcFBDPin::DIR_IN, "1", FBD_CONNECTION);
        AddPin(p, "1", CPlcFBDPin::DIR_IN, "4", FBD_CONNECTION);
        AddPin(p, "2", CPlcFBDPin::DIR_OUT, "2", FBD_CONNECTION);
        AddPin(q, "0", CPlcFBDPin::DIR_IN, "2", FBD_CONNECTION);
        AddPin(q, "1", CPlcFBDPin::DIR_OUT, "3", FBD_CONNECTION);
        AddVariable(net, "B", "b", "5", CPlcFBDPin::DIR_IN);
        Wire("1", "A", FBD_VARIABLE, "p.0", FBD_OPERATOR);
        Wire("2", "p.2", FBD_OPERATOR, "q.0", FBD_OPERATOR);
        Wire("3", "q.1", FBD_OPERATOR, "X", FBD_CROSS);
        Wire("4", "X", FBD_CROSS, "p.1", FBD_OPERATOR);
        Wire("5", "X", FBD_CROSS, "B", FBD_VARIABLE);
        AddCross(net, "X", "", "5", "3", "4");
        return std::pair{p, q};
    };
    auto [p, q] = build(1, 6);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.ExecutionOrder());
    EXPECT_EQ(p->m_nOrder, 0);
    EXPECT_EQ(q->m_nOrder, 1);
    EXPECT_FALSE(NetWithConnection("1")->m_bFeedback);
    EXPECT_TRUE(NetWithConnection("2")->m_bFeedback);
    EXPECT_TRUE(NetWithConnection("3")->m_bFeedback);

    net.m_ConnNets.Reset();
    net.m_Operators.Reset();
    net.m_Variables.Reset();
    auto [p2, q2] = build(6, 1);
    ASSERT_TRUE(net.ResolveReferences());
    ASSERT_TRUE(net.ExecutionOrder());
    EXPECT_EQ(q2->m_nOrder, 0);
    EXPECT_EQ(p2->m_nOrder, 1);
}

TEST_F(PlcFBDExecOrderTest, ALoopOfEnoNetsHasNoOrder)
{
    auto* p = Op("p", 1, 1);
    auto* q = Op("q", 5, 1);
    AddPin(p, "EN", CPlcFBDPin::DIR_IN, "2", FBD_CONNECTION);
    AddPin(p, "ENO", CPlcFBDPin::DIR_OUT, "1", FBD_CONNECTION);
    AddPin(q, "EN", CPlcFBDPin::DIR_IN, "1", FBD_CONNECTION);
    AddPin(q, "ENO", CPlcFBDPin::DIR_OUT, "2", FBD_CONNECTION);
    Wire("1", "p.ENO", FBD_OPERATOR, "q.EN", FBD_OPERATOR);
    Wire("2", "q.ENO", FBD_OPERATOR, "p.EN", FBD_OPERATOR);
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.ExecutionOrder());
    EXPECT_EQ(net.m_nError, CPlcFBDNetwork::NETERR_NO_ORDER);
    EXPECT_EQ(net.m_pErrorObject, &net);
    for (auto* cn : PlcObjects<CPlcFBDConnectionNetwork>(net.m_ConnNets))
        EXPECT_FALSE(cn->m_bFeedback);
}

TEST_F(PlcFBDExecOrderTest, BlocksOutOfReachOfTheFirstNetAreRefused)
{
    for (const char* suffix : {"1", "2"})
    {
        const std::string a = std::string("A") + suffix, b = std::string("B") + suffix,
                          op = std::string("m") + suffix;
        const std::string in = std::string("i") + suffix, out = std::string("o") + suffix;
        AddVariable(net, a.c_str(), "a", in.c_str(), CPlcFBDPin::DIR_OUT);
        auto* m = Op(op.c_str(), 1, 1);
        AddPin(m, "0", CPlcFBDPin::DIR_IN, in.c_str(), FBD_CONNECTION);
        AddPin(m, "1", CPlcFBDPin::DIR_OUT, out.c_str(), FBD_CONNECTION);
        AddVariable(net, b.c_str(), "b", out.c_str(), CPlcFBDPin::DIR_IN);
        Wire(in.c_str(), a.c_str(), FBD_VARIABLE, (op + ".0").c_str(), FBD_OPERATOR);
        Wire(out.c_str(), (op + ".1").c_str(), FBD_OPERATOR, b.c_str(), FBD_VARIABLE);
    }
    ASSERT_TRUE(net.ResolveReferences());
    EXPECT_FALSE(net.ExecutionOrder());
    EXPECT_EQ(net.m_nError, CPlcFBDNetwork::NETERR_UNREACHABLE);
}

TEST_F(PlcFBDExecOrderTest, FailuresBeforeOrderingLeaveTheirCodes)
{
    auto* m = Op("m", 1, 1);
    m->m_nOrder = 7;
    net.m_bValid = true;
    EXPECT_TRUE(net.ExecutionOrder()); // nothing to order: orders stay
    EXPECT_EQ(m->m_nOrder, 7);

    net.m_bValid = false;
    EXPECT_FALSE(net.ExecutionOrder());
    EXPECT_EQ(net.m_nError, CPlcFBDNetwork::NETERR_INVALID);
    EXPECT_EQ(net.m_pErrorObject, &net);

    FBDNet twoDrivers;
    AddConst(twoDrivers, "K1", "1", "1");
    AddConst(twoDrivers, "K2", "0", "2");
    AddVariable(twoDrivers, "V", "x", "3", CPlcFBDPin::DIR_IN);
    AddConnection(twoDrivers, "1", "K1", FBD_CONST, "X", FBD_CROSS);
    AddConnection(twoDrivers, "2", "K2", FBD_CONST, "X", FBD_CROSS);
    AddConnection(twoDrivers, "3", "X", FBD_CROSS, "V", FBD_VARIABLE);
    AddCross(twoDrivers, "X", "1", "2", "", "3");
    ASSERT_TRUE(twoDrivers.ResolveReferences());
    EXPECT_FALSE(twoDrivers.ExecutionOrder());
    EXPECT_EQ(twoDrivers.m_pErrorObject, Net(twoDrivers, 0));
    EXPECT_EQ(Net(twoDrivers, 0)->m_nError, CPlcFBDNetwork::NETERR_CONNECTION_NETWORK);
}
