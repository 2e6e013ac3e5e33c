#include "LDTestUtil.h"
#include "PlcTestHost.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <gtest/gtest.h>

using namespace ldtest;
using Program = std::vector<PlcTestHost::Instr>;

namespace
{

constexpr std::array<int, 3> kNone{-1, -1, -1};

// Exercises every role: FIN net, series, parallels with a comment, box, parallel outputs and
// a contact branching off after them.
const Program kRichProgram = {
    {"COMM:first net", kNone}, {"FIN", {40, 3, -1}}, {"LD", {1, 0, -1}},   {"AND", {1, 1, -1}},
    {"COMM:alt path", kNone},  {"OR", {1, 2, -1}},   {"ORN", {1, 3, -1}},  {"ANDN", {1, 4, -1}},
    {"ADD", {10, 11, 12}},     {"OUT", {2, 0, -1}},  {"SET", {2, 1, -1}},  {"AND", {1, 5, -1}},
    {"RES", {2, 2, -1}},       {"LDN", {3, 0, -1}},  {"OUTN", {3, 1, -1}}, {"END", kNone},
};

} // namespace

class LumoPlcDocGenTest : public ::testing::Test
{
protected:
    void SetUp() override { gen.SetPluginIntf(&host); }

    bool Insert(const char* text, std::array<int, 3> operands, CLDLogicDoc& target)
    {
        return gen.InsertInstrIntoDoc(text, operands.data(), &target);
    }
    void Load(const Program& program, CLDLogicDoc& target)
    {
        host.program = program;
        ASSERT_TRUE(gen.GenerateLogicDoc(&target));
    }

    PlcTestHost host;
    CLumoPlcCodeGen gen;
    CLDLogicDoc doc;
};

TEST_F(LumoPlcDocGenTest, WithoutHostOrDocumentNothingIsDone)
{
    CLumoPlcCodeGen noHost;
    EXPECT_FALSE(noHost.GenerateRecords(&doc));
    EXPECT_EQ(noHost.GetCodeLen(&doc), 0);
    EXPECT_FALSE(noHost.GenerateLogicDoc(&doc));
    EXPECT_FALSE(gen.GenerateRecords(nullptr));
    EXPECT_FALSE(gen.GenerateLogicDoc(nullptr));
}

TEST_F(LumoPlcDocGenTest, EmptyNetsGenerateOnlyEnd)
{
    ASSERT_TRUE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program, (Program{{"END", kNone}}));
    doc.AppendNet();
    doc.AppendNet();
    ASSERT_TRUE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program, (Program{{"END", kNone}}));
    EXPECT_EQ(gen.GetCodeLen(&doc), 1);
}

TEST_F(LumoPlcDocGenTest, ARungBecomesLoadOutputAndEnd)
{
    doc.AppendNet();
    CLDLogicNet* net = doc.GetNet(1);
    net->AddCascade(Contact("1.0", true));
    net->SelectElement(0);
    net->AddOutput(Output("2.0"));
    net->GetNetHead()->m_strComment = "start";
    ASSERT_TRUE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program,
              (Program{{"COMM:start", kNone}, {"LDN", {1, 0, -1}}, {"OUT", {2, 0, -1}}, {"END", kNone}}));
    EXPECT_EQ(gen.GetCodeLen(&doc), 3);
}

TEST_F(LumoPlcDocGenTest, RecordsSurviveTheRoundTripThroughADocument)
{
    Load(kRichProgram, doc);
    EXPECT_EQ(doc.GetCount(), 3);
    EXPECT_EQ(doc.GetNet(1)->GetID(), 0);
    EXPECT_EQ(doc.GetMaxNetID(), 2);
    EXPECT_TRUE(doc.GetNet(1)->HasOnlyFIN());

    ASSERT_TRUE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program, kRichProgram);

    CLDLogicDoc again;
    ASSERT_TRUE(gen.GenerateLogicDoc(&again));
    EXPECT_EQ(Dump(again, true), Dump(doc, true));
    // 14 instructions, ADD taking two words, and END
    EXPECT_EQ(gen.GetCodeLen(&doc), 15);
}

TEST_F(LumoPlcDocGenTest, CapacityIsTestedBeforeTheStoredProgramIsTouched)
{
    Load({{"LD", {1, 0, -1}}, {"OUT", {2, 0, -1}}, {"END", kNone}}, doc);
    const Program stored = host.program;
    host.capacity = 2;
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program, stored);
    EXPECT_EQ(host.resets, 0);

    CLDLogicDoc one;
    Load({{"COMM:only", kNone}, {"LD", {1, 0, -1}}, {"END", kNone}}, one);
    host.capacity = 2;
    ASSERT_TRUE(gen.GenerateRecords(&one));
    EXPECT_EQ(host.program.size(), 3u);

    CLDLogicDoc box;
    Load({{"LD", {1, 0, -1}}, {"ADD", {1, 2, 3}}, {"END", kNone}}, box);
    host.capacity = 3;
    EXPECT_FALSE(gen.GenerateRecords(&box));
    host.capacity = 4;
    EXPECT_TRUE(gen.GenerateRecords(&box));
}

TEST_F(LumoPlcDocGenTest, AHostRefusalEndsTheWrite)
{
    Load({{"LD", {1, 0, -1}}, {"OUT", {2, 0, -1}}, {"END", kNone}}, doc);
    host.refuseAt = 1;
    EXPECT_FALSE(gen.GenerateRecords(&doc));
}

TEST_F(LumoPlcDocGenTest, InconsistentNetsFailWithoutTouchingTheHost)
{
    host.program = {{"END", kNone}};
    doc.AppendNet();
    doc.GetNet(1)->AddCascade(Output("2.0")); // output before any contact
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    EXPECT_EQ(gen.GetCodeLen(&doc), 1);

    doc.Reset();
    doc.AppendNet();
    CLDLogicNet* net = doc.GetNet(1);
    net->AddCascade(Contact("1.0"));
    net->SelectElement(0);
    net->AddCascade(Elem(LDELEM_BOX, "P1", false, "XOR"));
    EXPECT_FALSE(gen.GenerateRecords(&doc));

    net->SelectElement(1);
    net->DeleteSelected();
    net->SelectElement(0);
    net->AddOutput(Output("2.x"));
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    net->GetNetTail()->m_Operands[0] = "2.16";
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    net->GetNetTail()->m_Operands[0] = "P2";
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program, (Program{{"END", kNone}}));
    EXPECT_EQ(host.resets, 0);
}

TEST_F(LumoPlcDocGenTest, ParallelContactsNotStartingAtTheHeadAreRefused)
{
    // a -> node -> (b | c) -> join -> out: the block cannot be written as OR instructions.
    doc.AppendNet();
    CLDLogicNet* net = doc.GetNet(1);
    CLDLogicElem* a = Contact("1.0");
    CLDLogicElem* node = Contact("");
    node->m_nType = LDELEM_NODE;
    CLDLogicElem* b = Contact("1.1");
    CLDLogicElem* c = Contact("1.2");
    CLDLogicElem* join = Contact("");
    join->m_nType = LDELEM_JOIN;
    CLDLogicElem* out = Output("2.0");
    auto link = [](CLDLogicElem* p, CLDLogicElem* ch)
    {
        p->m_Children.Add(ch);
        ch->m_Parents.Add(p);
    };
    link(a, node);
    link(node, b);
    link(node, c);
    link(b, join);
    link(c, join);
    link(join, out);
    int id = 0;
    for (CLDLogicElem* e : {a, node, b, c, join, out})
        e->m_nID = id++;
    net->m_pHead = a;
    net->m_pTail = out;
    EXPECT_FALSE(gen.GenerateRecords(&doc));
    CString text;
    EXPECT_FALSE(gen.GenerateILSource(&doc, text));
}

TEST_F(LumoPlcDocGenTest, CodeLengthCountsEveryGeneratedWord)
{
    Load({{"LD", {1, 0, -1}},
          {"OR", {1, 1, -1}},
          {"OR", {1, 2, -1}},
          {"OR", {1, 3, -1}},
          {"MUL", {1, 2, 3}},
          {"OUT", {2, 0, -1}},
          {"END", kNone}},
         doc);
    EXPECT_EQ(gen.GetCodeLen(&doc), 8);
    ASSERT_TRUE(gen.GenerateRecords(&doc));
    EXPECT_EQ(host.program.size(), 7u);
}

TEST_F(LumoPlcDocGenTest, AFailedReadLeavesTheDocumentAsItWas)
{
    Load({{"LD", {1, 0, -1}}, {"OUT", {2, 0, -1}}, {"END", kNone}}, doc);
    const std::string before = Dump(doc, true);
    for (const Program& bad :
         {Program{{"AND", {1, 0, -1}}}, Program{{"LD", {1, 16, -1}}}, Program{{"LD", {256, 0, -1}}},
          Program{{"FIN", {41, 2, -1}}}, Program{{"XOR", {1, 0, -1}}}})
    {
        SCOPED_TRACE(bad[0].text);
        host.program = bad;
        EXPECT_FALSE(gen.GenerateLogicDoc(&doc));
        EXPECT_EQ(Dump(doc, true), before);
    }
}

TEST_F(LumoPlcDocGenTest, InsertingPlacesInstructionsByTheirRole)
{
    EXPECT_FALSE(Insert("AND", {1, 0, -1}, doc));
    EXPECT_TRUE(Insert("comm:note   ", kNone, doc));
    EXPECT_TRUE(Insert("ld", {1, 0, -1}, doc));
    EXPECT_EQ(doc.GetNet(1)->GetNetHead()->m_strComment, "note");
    EXPECT_EQ(doc.GetNet(1)->GetNetHead()->m_strText, "LD");
    EXPECT_TRUE(Insert("OUT", {2, 0, -1}, doc));
    EXPECT_TRUE(Insert("AND", {1, 1, -1}, doc));
    EXPECT_TRUE(Insert("OUT", {2, 1, -1}, doc));
    EXPECT_TRUE(Insert("END", kNone, doc));
    EXPECT_EQ(doc.GetCount(), 1);
    EXPECT_EQ(
        Dump(doc),
        "C'LD'(1.0){note}r0>1 Nr0>2,4 O'OUT'(2.0)r0>3 Jr0<2,5 C'AND'(1.1)r1>5 O'OUT'(2.1)r1>3 tail=3\n");
    EXPECT_TRUE(Insert("ADD", {1, -1, 3}, doc));
    EXPECT_EQ(doc.GetNet(1)->m_pSelected->m_Operands[1], "?");
    EXPECT_EQ(doc.GetNet(1)->m_pSelected->m_strOutText, "P3");
}

TEST_F(LumoPlcDocGenTest, FINGoesOnlyIntoTheFirstTwoNetworks)
{
    CLDLogicDoc contactFirst;
    EXPECT_TRUE(Insert("LD", {1, 0, -1}, contactFirst));
    EXPECT_FALSE(Insert("FIN", {40, 1, -1}, contactFirst));

    EXPECT_TRUE(Insert("NFIN", {150, 2, -1}, doc));
    EXPECT_EQ(doc.GetNet(1)->GetNetHead()->m_strText, "NFIN P150.2");
    EXPECT_TRUE(doc.GetNet(1)->GetNetHead()->m_bNegated);
    EXPECT_TRUE(Insert("FIN", {40, 1, -1}, doc));
    EXPECT_EQ(doc.GetCount(), 2);
    EXPECT_TRUE(Insert("FIN", {40, 5, -1}, doc));
    EXPECT_EQ(doc.GetCount(), 2);
}
