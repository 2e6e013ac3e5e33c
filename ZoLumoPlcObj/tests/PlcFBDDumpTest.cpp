#include "PlcFBDTestNetworks.h"

using namespace plctest;

class PlcFBDCodeTest : public ::testing::Test
{
protected:
    DumpFile file;
};

TEST_F(PlcFBDCodeTest, EmptyProgramWritesOnlyTheBanners)
{
    CPlcFBDCode code;
    code.Dump(file.Path());
    EXPECT_EQ(file.Text(), "  0 \n\n***** FBD CODE DUMPING *****\n\n"
                           "  0 \n\n***** FBD CODE END DUMP *****\n\n");
}

TEST_F(PlcFBDCodeTest, UnopenableFileWritesNothing)
{
    CPlcFBDCode code;
    code.AddTail(new CPlcFBDNetwork);
    code.Dump("/nonexistent-dir/dump.txt");
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-dir/dump.txt"));
}

TEST_F(PlcFBDCodeTest, NetworkListsComeWithCountsAndIndentedHeadings)
{
    CPlcFBDCode code;
    auto* network = new CPlcFBDNetwork;
    network->m_strID = "N1";
    auto* comment = new CPlcFBDComment;
    comment->m_strID = "C1";
    comment->m_strComment = "hello";
    network->AddNetworkObject(comment);
    code.AddTail(network);
    code.Dump(file.Path());

    const std::string none = "  1     None\n";
    EXPECT_EQ(file.Text(), "  0 \n\n***** FBD CODE DUMPING *****\n\n"
                           "  0 ---------------------------------------------------------------\n"
                           "  0 Object type: Network\n"
                           "  0 ID:          N1\n"
                           "  0 Order:       -1\n"
                           "  1   \n  1   CONNECTION NETWORKS (0):\n" +
                               none + "  1   \n  1   CONSTANTS (0):\n" + none +
                               "  1   \n  1   VARIABLES (0):\n" + none + "  1   \n  1   FUNCTIONS (0):\n" +
                               none + "  1   \n  1   FUNCTION BLOCKS (0):\n" + none +
                               "  1   \n  1   OPERATORS (0):\n" + none +
                               "  1   \n  1   COMMENTS (1):\n"
                               "  1   ---------------------------------------------------------------\n"
                               "  1   Object type: Comment\n"
                               "  1   ID:          C1\n"
                               "  1   Order:       -1\n"
                               "  1   Parent obj.: Network - N1\n"
                               "  1   Comment: hello\n"
                               "  0 \n\n***** FBD CODE END DUMP *****\n\n");
}

TEST_F(PlcFBDCodeTest, BlocksWriteTheirPinsAndTheirEnoSource)
{
    CPlcFBDNetwork network;
    auto* op = AddBlock<CPlcFBDOperator>(network, "V1", "AND");
    CPlcFBDPin* en = AddPin(op, "EN", CPlcFBDPin::DIR_IN);
    op->m_pENOSource = en;
    op->m_bENEnd = true;
    const std::string text = DumpOf(&network);

    const std::string pinHead = "---------------------------------------------------------------\n";
    const std::string expected = "  1   ---------------------------------------------------------------\n"
                                 "  1   Object type: Operator\n"
                                 "  1   ID:          V1\n"
                                 "  1   Order:       -1\n"
                                 "  1   Parent obj.: Network - \n"
                                 "  2     Object ref.: AND  2     EN/ENO ends: 1, 0  2     \n"
                                 "  2     INPUTS:\n"
                                 "  2     " +
                                 pinHead +
                                 "  2     Object type: Pin\n"
                                 "  2     ID:          EN\n"
                                 "  2     Order:       -1\n"
                                 "  2     Parent obj.: Operator - V1\n"
                                 "  2     Negation:           no\n"
                                 "  2     Direction:          IN\n"
                                 "  2     Object connected:   Unknown object type - \n"
                                 "  2     \n"
                                 "  2     OUTPUTS:\n"
                                 "  2       None\n"
                                 "  2     \n"
                                 "  2     ENO SOURCE:\n"
                                 "  3       " +
                                 pinHead + "  3       Object type: Pin\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(PlcFBDCodeTest, ConnectionsAndCrossingsWriteTheirEndsShort)
{
    CPlcFBDNetwork network;
    AddConst(network, "K", "TRUE", "1");
    AddVariable(network, "V", "x", "2", CPlcFBDPin::DIR_IN);
    AddConnection(network, "1", "K", FBD_CONST, "X", FBD_CROSS);
    AddConnection(network, "2", "X", FBD_CROSS, "V", FBD_VARIABLE);
    AddCross(network, "X", "", "", "1", "2");
    ASSERT_TRUE(network.ResolveReferences());
    const std::string text = DumpOf(&network);

    EXPECT_NE(text.find("  1   Output variable: \n"
                        "  2     \n"
                        "  2     INPUTS:\n"
                        "  2     *Pin, obj.conn.: Variable - V\n"
                        "  2     \n"
                        "  2     OUTPUTS:\n"
                        "  2     *Pin, obj.conn.: Constant - K\n"
                        "  2     \n"
                        "  2     DEST OBJECTS:\n"
                        "  2       None\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  2     Object type: Connection\n"
                        "  2     ID:          1\n"
                        "  2     Order:       -1\n"
                        "  2     Parent obj.: Connection Network - 0\n"
                        "  3       \n"
                        "  3       START:\n"
                        "  3       *Pin, obj.conn.: Constant - K\n"
                        "  3       END:\n"
                        "  3       *Pin, obj.conn.: Cross - X\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  3       LEFT:\n"
                        "  3       *Pin, obj.conn.: Connection - 1\n"
                        "  3       RIGHT:\n"
                        "  3       *Pin, obj.conn.: Connection - 2\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  1   Const. value: TRUE\n"
                        "  2     \n"
                        "  2     LINK:\n"
                        "  2     ---------------------------------------------------------------\n"),
              std::string::npos)
        << text;
}

TEST_F(PlcFBDCodeTest, EndlessRecursionStopsAtTheDepthLimitAndTheDumpGoesOn)
{
    CPlcFBDNetwork network;
    auto* op = AddBlock<CPlcFBDOperator>(network, "loop", "MOVE");
    op->m_pENOSource = op; // a cycle the dump must survive
    AddBlock<CPlcFBDOperator>(network, "after", "MOVE");
    testing::internal::CaptureStderr();
    const std::string text = DumpOf(&network);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("PlcFBDObject(138)"), std::string::npos);
    EXPECT_NE(text.find(" 99 " + std::string(198, ' ') + "Object type: Operator\n"), std::string::npos);
    EXPECT_EQ(text.find("101 "), std::string::npos);
    EXPECT_NE(text.find("ID:          after\n"), std::string::npos);
    EXPECT_NE(text.find("***** FBD CODE END DUMP *****"), std::string::npos);
}

TEST_F(PlcFBDCodeTest, LongTextsAreCutTo511Characters)
{
    CPlcFBDNetwork network;
    auto* comment = new CPlcFBDComment;
    comment->m_strComment = CString(std::string(600, 'x').c_str());
    network.AddNetworkObject(comment);
    const std::string text = DumpOf(&network);
    const std::string line = "Comment: " + std::string(502, 'x');
    EXPECT_NE(text.find("  1   " + line + "  0 \n\n*****"), std::string::npos);
}
