#include "LDTestUtil.h"
#include "PlcFBDTestNetworks.h"
#include "PlcTestHost.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <memory>

using namespace ldtest;
using namespace plctest;

class LDLogicGenerateTest : public ::testing::Test
{
protected:
    CLDLogicNet* NewNet()
    {
        doc.AppendNet();
        return doc.GetNet(doc.GetCount());
    }
    static void Place(CLDLogicNet* net, bool (CLDLogicNet::*op)(CLDLogicElem*), CLDLogicElem* e)
    {
        ASSERT_TRUE((net->*op)(e));
        net->m_pSelected = e;
    }
    static void Chain(CLDLogicNet* net, std::initializer_list<const char*> operands)
    {
        for (const char* op : operands)
            Place(net, &CLDLogicNet::AddCascade, Contact(op));
    }
    static CLDLogicElem* Box(const char* text, const char* a, const char* b, const char* out)
    {
        CLDLogicElem* box = Elem(LDELEM_BOX, a, false, text);
        box->m_Operands.Add(b);
        box->m_nOperands = 2;
        box->m_strOutText = out;
        return box;
    }
    // Every document shape the ladder editor builds, one per net.
    void BuildShapes()
    {
        NewNet(); // empty
        CLDLogicNet* series = NewNet();
        Chain(series, {"1.0", "1.1", "1.2"});
        Place(series, &CLDLogicNet::AddOutput, Output("2.0", ""));
        series->GetNetTail()->m_bNegated = true;

        CLDLogicNet* parallel = NewNet();
        Chain(parallel, {"1.0", "1.1", "1.2"});
        parallel->SelectElement(1);
        Place(parallel, &CLDLogicNet::AddParallel, Contact("1.3", true));
        parallel->m_pSelected = parallel->GetNetTail();
        Place(parallel, &CLDLogicNet::AddOutput, Output("2.0"));

        CLDLogicNet* outputs = NewNet();
        Chain(outputs, {"1.0"});
        Place(outputs, &CLDLogicNet::AddOutput, Output("2.0", "SET"));
        Place(outputs, &CLDLogicNet::BranchOff, Contact("1.1"));
        Place(outputs, &CLDLogicNet::AddOutput, Output("2.1", "RES"));
        Place(outputs, &CLDLogicNet::AddOutput, Output("2.2"));

        CLDLogicNet* inside = NewNet();
        Chain(inside, {"1.0", "1.1"});
        Place(inside, &CLDLogicNet::AddOutput, Output("2.0"));
        inside->SelectElement(0);
        Place(inside, &CLDLogicNet::AddOutput, Output("2.1"));

        CLDLogicNet* headBlock = NewNet();
        Chain(headBlock, {"1.0"});
        Place(headBlock, &CLDLogicNet::AddParallel, Contact("1.1"));
        Place(headBlock, &CLDLogicNet::AddOutput, Output("2.0"));
        headBlock->InsertNewComment("start");

        CLDLogicNet* box = NewNet();
        Chain(box, {"1.0"});
        Place(box, &CLDLogicNet::AddCascade, Box("ADD", "P1", "P2", "P3"));
        Place(box, &CLDLogicNet::AddOutput, Output("2.0"));

        CLDLogicNet* fin = NewNet();
        Place(fin, &CLDLogicNet::AddCascade, Elem(LDELEM_BOX, "", false, "FIN P40.3"));
        Place(fin, &CLDLogicNet::AddOutput, Output("2.5"));
    }
    CPlcLDNetwork* Network(int i) { return doc.GetNet(i)->m_pLDNetwork; }

    CLDLogicDoc doc;
};

TEST_F(LDLogicGenerateTest, AnEmptyDocumentGivesAnEmptyProgram)
{
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->IsEmpty());
}

TEST_F(LDLogicGenerateTest, AnEmptyNetIsOneWireBetweenTheRails)
{
    NewNet();
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    ASSERT_EQ(code->GetCount(), 1);
    auto* network = static_cast<CPlcLDNetwork*>(code->GetHead());
    EXPECT_EQ(network, Network(1));
    EXPECT_EQ(network->m_nType, FBD_LD_NETWORK);
    ASSERT_EQ(network->m_PowerRails.GetCount(), 2);
    auto* left = static_cast<CPlcLDPowerRail*>(network->m_PowerRails.GetHead());
    auto* right = static_cast<CPlcLDPowerRail*>(network->m_PowerRails.GetTail());
    EXPECT_EQ(left->m_nSide, CPlcLDPowerRail::SIDE_LEFT);
    EXPECT_EQ(right->m_nX, 40);
    ASSERT_EQ(network->m_ConnNets.GetCount(), 1);
    EXPECT_TRUE(Net(*network, 0)->m_bValid);
    CPlcFBDPin* leftEnd = static_cast<CPlcFBDPin*>(left->m_Pins.GetHead())->m_pPartner;
    CPlcFBDPin* rightEnd = static_cast<CPlcFBDPin*>(right->m_Pins.GetHead())->m_pPartner;
    ASSERT_TRUE(leftEnd && rightEnd);
    EXPECT_EQ(leftEnd->m_pParent, rightEnd->m_pParent);
}

TEST_F(LDLogicGenerateTest, ElementsBecomeNamedContactsCoilsAndFunctions)
{
    BuildShapes();
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    ASSERT_EQ(code->GetCount(), doc.GetCount());

    CPlcLDNetwork* series = Network(2);
    EXPECT_EQ(series->m_Contacts.GetCount(), 3);
    for (CLDLogicElem* e : doc.GetNet(2)->GetElements())
        EXPECT_NE((e->m_nType == LDELEM_CONTACT ? series->m_Contacts : series->m_Coils)
                      .FindEl(FormatString("%d", e->m_nID)),
                  nullptr);
    EXPECT_EQ(static_cast<CPlcLDCoil*>(series->m_Coils.GetHead())->m_nKind, CPlcLDCoil::KIND_NEGATED);
    EXPECT_EQ(static_cast<CPlcLDContact*>(series->m_Contacts.GetHead())->m_strVarName, "1.0");

    CPlcLDNetwork* parallel = Network(3);
    EXPECT_EQ(parallel->m_Contacts.GetCount(), 4);
    bool negated = false;
    for (auto* contact : PlcObjects<CPlcLDContact>(parallel->m_Contacts))
        if (contact->m_strVarName == "1.3")
            negated = contact->m_nKind == CPlcLDContact::KIND_NEGATED;
    EXPECT_TRUE(negated);
    EXPECT_EQ(parallel->m_Coils.GetCount(), 1);

    int kinds[6] = {};
    for (auto* coil : PlcObjects<CPlcLDCoil>(Network(4)->m_Coils))
        ++kinds[coil->m_nKind];
    EXPECT_EQ(kinds[CPlcLDCoil::KIND_SET], 1);
    EXPECT_EQ(kinds[CPlcLDCoil::KIND_RESET], 1);
    EXPECT_EQ(kinds[CPlcLDCoil::KIND_PLAIN], 1);

    ASSERT_EQ(Network(6)->m_Comments.GetCount(), 1);
    EXPECT_EQ(static_cast<CPlcFBDComment*>(Network(6)->m_Comments.GetHead())->m_strComment, "start");

    CPlcLDNetwork* box = Network(7);
    ASSERT_EQ(box->m_Functions.GetCount(), 1);
    auto* add = static_cast<CPlcFBDFunction*>(box->m_Functions.GetHead());
    EXPECT_EQ(add->m_strBlockName, "ADD");
    for (const char* pin : {"EN", "ENO", "0", "1", "2"})
        EXPECT_NE(add->FindPin(pin), nullptr) << pin;
    EXPECT_EQ(box->m_Variables.GetCount(), 3);
    EXPECT_EQ(add->FindPin("0")->m_pPartner->m_pPartner, add->FindPin("0"));
    EXPECT_EQ(add->m_nWidth, 5);
    EXPECT_EQ(Network(8)->m_Functions.GetCount(), 1);
    EXPECT_EQ(static_cast<CPlcFBDFunction*>(Network(8)->m_Functions.GetHead())->m_nWidth, 6);
    EXPECT_TRUE(Network(8)->m_Variables.IsEmpty());

    // Every net is as wide as the widest one.
    int widest = 40;
    for (int i = 1; i <= doc.GetCount(); ++i)
        widest = std::max(widest, doc.GetNet(i)->GetNetMinLen());
    for (int i = 1; i <= doc.GetCount(); ++i)
        EXPECT_EQ(static_cast<CPlcLDPowerRail*>(Network(i)->m_PowerRails.GetTail())->m_nX, widest) << i;
}

TEST_F(LDLogicGenerateTest, EveryGeneratedNetworkIsResolvedValidAndConvertsToFBD)
{
    BuildShapes();
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    for (int i = 1; i <= doc.GetCount(); ++i)
    {
        CPlcLDNetwork* network = Network(i);
        EXPECT_TRUE(network->m_bValid) << i;
        for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(network->m_ConnNets))
            EXPECT_TRUE(net->m_bValid) << i;
        EXPECT_TRUE(network->m_Connections.IsEmpty()) << i;
        EXPECT_TRUE(network->MakeFBD())
            << i << " error object "
            << (network->m_pErrorObject ? network->m_pErrorObject->m_strID : CString()) << " "
            << (network->m_pErrorObject ? network->m_pErrorObject->m_nError : 0);
        EXPECT_TRUE(network->m_Contacts.IsEmpty() || network->m_Operators.GetCount() > 0) << i;
        EXPECT_TRUE(network->m_Coils.IsEmpty()) << i;
    }
    DumpFile file;
    code->Dump(file.Path());
    EXPECT_NE(file.Text().find("Object type: Operator"), std::string::npos);
}

TEST_F(LDLogicGenerateTest, AFailingNetDiscardsTheWholeProgram)
{
    Chain(NewNet(), {"1.0"});
    CLDLogicNet* broken = NewNet();
    Chain(broken, {"1.0"});
    broken->GetNetHead()->m_Operands.Add("1.1"); // a contact with two operands
    EXPECT_EQ(doc.GenerateLDCode(), nullptr);
    EXPECT_EQ(Network(1), nullptr);
    EXPECT_EQ(Network(2), nullptr);
}

TEST_F(LDLogicGenerateTest, ARungWithoutACoilGivesItsConversionError)
{
    PlcTestHost host;
    CLumoPlcCodeGen gen;
    gen.SetPluginIntf(&host);
    ASSERT_TRUE(gen.LoadILSource("LD 1.0\nEND\n", &doc));
    std::unique_ptr<CPlcFBDCode> code(doc.GenerateLDCode());
    ASSERT_NE(code, nullptr);
    CPlcLDNetwork* network = Network(1);
    ASSERT_NE(network, nullptr);
    EXPECT_FALSE(network->MakeFBD());
    ASSERT_EQ(network->m_pErrorObject, network->m_Contacts.GetHead());
    EXPECT_EQ(network->m_pErrorObject->m_nError, CPlcLDNetwork::CONVERR_VARIABLE_AT_RIGHT_RAIL);
    EXPECT_EQ(network->m_Contacts.GetCount(), 1);
}
