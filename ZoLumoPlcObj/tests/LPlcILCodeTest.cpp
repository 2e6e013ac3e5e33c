#include "LDTestUtil.h"
#include "PlcTestHost.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <gtest/gtest.h>

using namespace ldtest;

namespace
{

const char* const kRichText = "(* first net, with END in it *)\n"
                              "FIN\t40.3\n"
                              "\n"
                              "LD\t1.0\n"
                              "AND\t1.1\n"
                              "(* alt   path *)\n"
                              "OR\t1.2\n"
                              "ORN\t1.3\n"
                              "ANDN\t1.4\n"
                              "ADD\t10, 11, 12\n"
                              "OUT\t2.0\n"
                              "SET\t2.1\n"
                              "AND\t1.5\n"
                              "RES\t2.2\n"
                              "\n"
                              "LDN\t3.0\n"
                              "OUTN\t3.1\n"
                              "\n"
                              "END\n";

} // namespace

class LPlcILCodeTest : public ::testing::Test
{
protected:
    void SetUp() override { gen.SetPluginIntf(&host); }

    // Loads text that must fail and returns "code@line" or "code@line:text".
    std::string Failure(const char* text)
    {
        CLDLogicDoc target;
        if (gen.LoadILSource(text, &target))
            return "loaded";
        std::string out = std::to_string(gen.m_nErrCode) + "@" + std::to_string(gen.m_nErrLine);
        if (!gen.m_strErrText.IsEmpty())
            out += ":" + gen.m_strErrText.str();
        return out;
    }

    PlcTestHost host;
    CLumoPlcCodeGen gen;
    CLDLogicDoc doc;
};

TEST_F(LPlcILCodeTest, AnEmptyDocumentIsJustEnd)
{
    CString text("old");
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    EXPECT_EQ(text, "END\n");
    CLumoPlcCodeGen noHost;
    EXPECT_FALSE(noHost.GenerateILSource(&doc, text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(noHost.LoadILSource("END", &doc));
}

TEST_F(LPlcILCodeTest, ARungIsWrittenOneInstructionPerLine)
{
    doc.AppendNet();
    CLDLogicNet* net = doc.GetNet(1);
    net->AddCascade(Contact("1.0"));
    net->SelectElement(0);
    net->AddOutput(Output("2.0"));
    CString text;
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    EXPECT_EQ(text, "LD\t1.0\nOUT\t2.0\n\nEND\n");
}

TEST_F(LPlcILCodeTest, TextReadAndWrittenAgainIsTheSame)
{
    ASSERT_TRUE(gen.LoadILSource(kRichText, &doc));
    EXPECT_EQ(doc.GetCount(), 3);
    EXPECT_EQ(doc.GetNet(1)->GetNetHead()->m_strComment, "first net, with END in it");
    CString text;
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    EXPECT_EQ(text, kRichText);
}

TEST_F(LPlcILCodeTest, EveryPrefixOfATextFailsOrReadsTheWholeProgram)
{
    // "END" closes every program, so a text cut anywhere before its end cannot read as a program.
    const std::string whole = kRichText;
    CString expected;
    ASSERT_TRUE(gen.LoadILSource(whole.c_str(), &doc));
    ASSERT_TRUE(gen.GenerateILSource(&doc, expected));
    for (size_t length = 0; length <= whole.size(); ++length)
    {
        CLDLogicDoc cut;
        if (!gen.LoadILSource(whole.substr(0, length).c_str(), &cut))
            continue;
        CString text;
        ASSERT_TRUE(gen.GenerateILSource(&cut, text));
        EXPECT_EQ(text, expected) << "prefix of " << length << " bytes";
        EXPECT_GE(length, whole.size() - 1) << "only the text with its whole END reads";
    }
}

TEST_F(LPlcILCodeTest, ALadderProgramSurvivesTextAndRecords)
{
    ASSERT_TRUE(gen.LoadILSource(kRichText, &doc));
    const std::string original = Dump(doc, true);

    CString text;
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    CLDLogicDoc fromText;
    ASSERT_TRUE(gen.LoadILSource(text, &fromText));
    EXPECT_EQ(Dump(fromText, true), original);

    ASSERT_TRUE(gen.GenerateRecords(&doc));
    CLDLogicDoc fromRecords;
    ASSERT_TRUE(gen.GenerateLogicDoc(&fromRecords));
    EXPECT_EQ(Dump(fromRecords, true), original);
}

TEST_F(LPlcILCodeTest, CommentsTheEditorWroteReadBack)
{
    doc.AppendNet();
    CLDLogicNet* net = doc.GetNet(1);
    net->AddCascade(Contact("1.0"));
    net->SelectElement(0);
    net->AddOutput(Output("2.0"));
    net->GetNetHead()->m_strComment = "stop (*at*) end, then go";
    CString text;
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    CLDLogicDoc back;
    ASSERT_TRUE(gen.LoadILSource(text, &back)) << gen.m_nErrCode;
    EXPECT_EQ(back.GetNet(1)->GetNetHead()->m_strComment, "stop (*at* ) end, then go");
}

TEST_F(LPlcILCodeTest, AccentedCommentsReadBackByteForByte)
{
    ASSERT_TRUE(
        gen.LoadILSource("(* velocit\xC3\xA0 \xE2\x82\xAC perch\xC3\xA9 *)\nLD 1.0\nOUT 2.0\nEND\n", &doc));
    EXPECT_EQ(doc.GetNet(1)->GetNetHead()->m_strComment, "velocit\xC3\xA0 \xE2\x82\xAC perch\xC3\xA9");
    CString text;
    ASSERT_TRUE(gen.GenerateILSource(&doc, text));
    EXPECT_NE(text.Find("velocit\xC3\xA0 \xE2\x82\xAC perch\xC3\xA9"), -1) << text.GetString();
}

TEST_F(LPlcILCodeTest, LowerCaseOnOneLineIsRead)
{
    ASSERT_TRUE(gen.LoadILSource("ld 1.0 out 2.0 end", &doc));
    CString text;
    gen.GenerateILSource(&doc, text);
    EXPECT_EQ(text, "LD\t1.0\nOUT\t2.0\n\nEND\n");
    EXPECT_EQ(gen.m_nErrCode, 0);
}

TEST_F(LPlcILCodeTest, ACommentBeforeEndIsDropped)
{
    ASSERT_TRUE(gen.LoadILSource("LD 1.0\nOUT 2.0\n(* trailing *)\nEND\n", &doc));
    for (const CLDLogicElem* e : doc.GetNet(1)->GetElements())
        EXPECT_TRUE(e->m_strComment.IsEmpty());
}

TEST_F(LPlcILCodeTest, EachReaderErrorHasItsCodeAndLine)
{
    EXPECT_EQ(Failure(""), "7@-1");
    EXPECT_EQ(Failure("LD 1.0\nOUT 2.0\n"), "7@1");
    EXPECT_EQ(Failure("LD 1.0\nOUT 2.0\nEND\nLD 1.1"), "2@3");
    EXPECT_EQ(Failure("LD 1.0\nOUT P12\nEND"), "514@1");
    EXPECT_EQ(Failure("LD 1.0\n\nADD 1, 2, 3, 4\nEND"), "513@2");
    EXPECT_EQ(Failure("LD 1.0, 2\nEND"), "513@0");
    EXPECT_EQ(Failure("LD 1.0\nXOR 1.1\nEND"), "515@1");
    EXPECT_EQ(Failure("LD 1.0\nADD 1, 2, 1.2\nEND"), "514@1");
    EXPECT_EQ(Failure("LD 1.0,\nEND"), "9@1");
    EXPECT_EQ(Failure("LD 1.0\n(* open comment\nEND"), "515@1"); // the opener is then tried as a mnemonic
    EXPECT_EQ(Failure("LD 1.0\nOUT 2.0\nAND 1.1\n\nAND 1.2\nEND"), "loaded");
    EXPECT_EQ(Failure("(* c *)\nAND 1.0\nOUT 2.0\nEND"), "769@1:AND");
}

TEST_F(LPlcILCodeTest, OperandsMustFitTheInstruction)
{
    for (const char* bad : {"LD 5\nEND", "ADD 1.2, 3\nEND", "LD 1.16\nEND", "LD 256.0\nEND", "ADD 1, 2\nEND",
                            "ADD 1, 2, 99999999999\nEND", "FIN 41.2\nEND", "LD\nEND", "LD -1.0\nEND"})
    {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Failure(bad).substr(0, 4), "514@");
    }
    EXPECT_EQ(Failure("FIN 150.15\nNFIN 40.0\nEND"), "loaded");
}

TEST_F(LPlcILCodeTest, AFailedReadLeavesTheDocumentAsItWas)
{
    ASSERT_TRUE(gen.LoadILSource("LD 1.0\nOUT 2.0\nEND", &doc));
    const std::string before = Dump(doc, true);
    EXPECT_FALSE(gen.LoadILSource("LD 1.0\nOUT P2\nEND", &doc));
    EXPECT_FALSE(gen.LoadILSource("AND 1.0\nEND", &doc));
    EXPECT_EQ(Dump(doc, true), before);
}
