// Names and comments edited in the graphic LD networks come back into the ladder document.
#include "LDTestUtil.h"
#include "PlcFBDTestNetworks.h"

#include <memory>

using namespace ldtest;
using namespace plctest;

class LDLogicReferencesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.AppendNet();
        CLDLogicNet* rung = doc.GetNet(1);
        Place(rung, &CLDLogicNet::AddCascade, Contact("1.0"));
        Place(rung, &CLDLogicNet::AddCascade, Contact("1.1"));
        rung->SelectElement(0);
        Place(rung, &CLDLogicNet::AddParallel, Contact("1.2"));
        rung->m_pSelected = rung->GetNetTail();
        CLDLogicElem* add = Elem(LDELEM_BOX, "P1", false, "ADD");
        add->m_Operands.Add("P2");
        add->m_nOperands = 2;
        add->m_strOutText = "P3";
        Place(rung, &CLDLogicNet::AddCascade, add);
        Place(rung, &CLDLogicNet::AddOutput, Output("2.0", "SET"));
        rung->InsertNewComment("pump");

        doc.AppendNet();
        CLDLogicNet* fin = doc.GetNet(2);
        Place(fin, &CLDLogicNet::AddCascade, Elem(LDELEM_BOX, "", false, "FIN P40.3"));
        Place(fin, &CLDLogicNet::AddOutput, Output("2.5"));

        code.reset(doc.GenerateLDCode());
        ASSERT_NE(code, nullptr);
    }
    static void Place(CLDLogicNet* net, bool (CLDLogicNet::*op)(CLDLogicElem*), CLDLogicElem* e)
    {
        ASSERT_TRUE((net->*op)(e));
        net->m_pSelected = e;
    }
    CPlcLDNetwork& Graph(int i) { return *doc.GetNet(i)->m_pLDNetwork; }
    template <class T> T* Object(CPlcFBDObjList& list, const CLDLogicElem* e)
    {
        return static_cast<T*>(list.FindEl(FormatString("%d", e->m_nID)));
    }
    CLDLogicElem* OfType(int net, int type, int nth = 0)
    {
        for (CLDLogicElem* e : doc.GetNet(net)->GetElements())
            if (e->m_nType == type && nth-- == 0)
                return e;
        return nullptr;
    }
    // The variable wired to a pin of the box, found through the connection ends as the editor sees them.
    CPlcFBDVariable* VariableAtPin(CPlcLDNetwork& graph, const char* pin)
    {
        auto* function = static_cast<CPlcFBDFunction*>(graph.m_Functions.GetHead());
        CPlcFBDPin* end = function->FindPin(pin)->m_pPartner;
        auto* connection = static_cast<CPlcFBDConnection*>(end->m_pParent);
        CPlcFBDPin& other = end == &connection->m_StartPin ? connection->m_EndPin : connection->m_StartPin;
        return static_cast<CPlcFBDVariable*>(other.m_pPartner->m_pParent);
    }

    CLDLogicDoc doc;
    std::unique_ptr<CPlcFBDCode> code;
};

TEST_F(LDLogicReferencesTest, UnchangedGraphsLeaveTheDocumentAsItWas)
{
    const std::string before = Dump(doc, true);
    EXPECT_TRUE(doc.UpdateReferences());
    EXPECT_EQ(Dump(doc, true), before);
}

TEST_F(LDLogicReferencesTest, RenamedContactsCoilsBoxVariablesAndFINTextComeBack)
{
    CPlcLDNetwork& rung = Graph(1);
    Object<CPlcLDContact>(rung.m_Contacts, OfType(1, LDELEM_CONTACT, 1))->m_strVarName = "3.4";
    Object<CPlcLDCoil>(rung.m_Coils, OfType(1, LDELEM_OUTPUT))->m_strVarName = "5.6";
    VariableAtPin(rung, "0")->m_strVarName = "P10";
    VariableAtPin(rung, "1")->m_strVarName = "P11";
    VariableAtPin(rung, "2")->m_strVarName = "P12";
    static_cast<CPlcFBDFunction*>(Graph(2).m_Functions.GetHead())->m_strBlockName = "NFIN P150.1";

    ASSERT_TRUE(doc.UpdateReferences());
    EXPECT_EQ(OfType(1, LDELEM_CONTACT, 1)->m_Operands[0], "3.4");
    CLDLogicElem* output = OfType(1, LDELEM_OUTPUT);
    ASSERT_EQ(output->m_Operands.GetSize(), 1);
    EXPECT_EQ(output->m_Operands[0], "5.6");
    EXPECT_EQ(output->m_strText, "SET");
    CLDLogicElem* add = OfType(1, LDELEM_BOX);
    ASSERT_EQ(add->m_Operands.GetSize(), 2);
    EXPECT_EQ(add->m_Operands[0], "P10");
    EXPECT_EQ(add->m_Operands[1], "P11");
    EXPECT_EQ(add->m_strOutText, "P12");
    EXPECT_EQ(add->m_strText, "ADD");
    EXPECT_EQ(OfType(2, LDELEM_BOX)->m_strText, "NFIN P150.1");
}

TEST_F(LDLogicReferencesTest, TheGraphsCommentReplacesOrClearsTheNetComment)
{
    CLDLogicNet* rung = doc.GetNet(1);
    const int commentElem = rung->m_nCommentElem;
    ASSERT_NE(commentElem, -1);
    static_cast<CPlcFBDComment*>(Graph(1).m_Comments.GetHead())->m_strComment = "pump on";
    auto* note = new CPlcFBDComment;
    note->m_strID = "900";
    note->m_strComment = "fin first";
    Graph(2).AddNetworkObject(note);

    ASSERT_TRUE(doc.UpdateReferences());
    EXPECT_EQ(rung->m_nCommentElem, commentElem);
    EXPECT_EQ(rung->SelectElement(commentElem)->m_strComment, "pump on");
    CLDLogicNet* fin = doc.GetNet(2);
    EXPECT_EQ(fin->GetNetHead()->m_strComment, "fin first"); // no comment element yet: the head takes it
    EXPECT_EQ(fin->m_nCommentElem, fin->GetNetHead()->m_nID);

    Graph(1).m_Comments.Reset();
    ASSERT_TRUE(doc.UpdateReferences());
    EXPECT_EQ(rung->m_nCommentElem, -1);
    EXPECT_TRUE(rung->SelectElement(commentElem)->m_strComment.IsEmpty());
}

TEST_F(LDLogicReferencesTest, AnElementMissingFromItsGraphChangesNothingInThatNet)
{
    CPlcLDNetwork& rung = Graph(1);
    Object<CPlcLDContact>(rung.m_Contacts, OfType(1, LDELEM_CONTACT, 0))->m_strVarName = "7.7";
    static_cast<CPlcFBDComment*>(rung.m_Comments.GetHead())->m_strComment = "changed";
    CLDLogicElem* output = OfType(1, LDELEM_OUTPUT);
    delete static_cast<CPlcFBDObject*>(rung.m_Coils.GetHead());
    rung.m_Coils.RemoveAll();
    static_cast<CPlcFBDFunction*>(Graph(2).m_Functions.GetHead())->m_strBlockName = "NFIN P1.0";

    const std::string rungBefore = Dump(*doc.GetNet(1), true);
    EXPECT_FALSE(doc.UpdateReferences());
    EXPECT_EQ(Dump(*doc.GetNet(1), true), rungBefore);
    EXPECT_EQ(output->m_Operands[0], "2.0");
    EXPECT_EQ(OfType(2, LDELEM_BOX)->m_strText, "NFIN P1.0"); // the other net still takes its names
}

TEST_F(LDLogicReferencesTest, ANetWithoutAGraphKeepsItsNamesAndComment)
{
    doc.AppendNet();
    CLDLogicNet* fresh = doc.GetNet(3);
    Place(fresh, &CLDLogicNet::AddCascade, Contact("4.0"));
    fresh->InsertNewComment("new");
    ASSERT_EQ(fresh->m_pLDNetwork, nullptr);

    EXPECT_TRUE(doc.UpdateReferences());
    EXPECT_EQ(fresh->GetNetHead()->m_Operands[0], "4.0");
    EXPECT_EQ(fresh->GetNetHead()->m_strComment, "new");
}
