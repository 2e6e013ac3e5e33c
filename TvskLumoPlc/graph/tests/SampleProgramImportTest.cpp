// Every sample program imports into the ladder manager with every wire on its pins.
#include "GraphTestSupport.h"
#include "LadderTestSupport.h"

#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/LDManager.h>

#include <ZoLumoPlcObj/PlcFBDConnectionNetwork.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <gtest/gtest.h>

#include <map>

namespace
{
struct GeneratedCounts
{
    std::map<int, int> elements; // by type
    int wires = 0;
    int crosses = 0;
};

GeneratedCounts Count(CPlcLDNetwork* network)
{
    GeneratedCounts counts;
    const CPlcFBDObjList* lists[] = {&network->m_Constants,      &network->m_Variables, &network->m_Functions,
                                     &network->m_FunctionBlocks, &network->m_Operators, &network->m_Comments,
                                     &network->m_PowerRails,     &network->m_Contacts,  &network->m_Coils};
    for (const CPlcFBDObjList* list : lists)
        for (CPlcFBDObject* object : PlcObjects(*list))
            ++counts.elements[object->m_nType];
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(network->m_ConnNets))
    {
        counts.wires += static_cast<int>(net->m_Connections.GetCount());
        counts.crosses += static_cast<int>(net->m_Crosses.GetCount());
    }
    counts.wires += static_cast<int>(network->m_Connections.GetCount());
    counts.crosses += static_cast<int>(network->m_Crosses.GetCount());
    return counts;
}

// A wire sits on its pins: both ends joined, the path one orthogonal chain from end to end.
void ExpectOnItsPins(const CConnection* wire)
{
    SCOPED_TRACE(wire->GetKey().str());
    const auto& start = wire->GetStart();
    const auto& end = wire->GetEnd();
    ASSERT_NE(start.object, nullptr) << start.name;
    ASSERT_NE(end.object, nullptr) << end.name;
    EXPECT_FALSE(wire->IsError());
    EXPECT_EQ(start.point, start.object->GetPosition());
    EXPECT_EQ(end.point, end.object->GetPosition());
    for (const auto* object : {start.object, end.object})
        if (object->GetType() == FBD_PIN)
            EXPECT_EQ(static_cast<const CGraphPin*>(object)->GetConnection(), wire);
        else
            EXPECT_GE(static_cast<const CCrossConnection*>(object)->FindArm(wire), 0);
    ASSERT_FALSE(wire->GetSegments().empty());
    CPoint at = start.point;
    for (const GraphSegment& s : wire->GetSegments())
    {
        EXPECT_TRUE(s.x1 == s.x2 || s.y1 == s.y2);
        EXPECT_EQ(s.Start(), at);
        at = s.End();
    }
    EXPECT_EQ(at, end.point);
}

class SampleProgramImport : public testing::Test
{
protected:
    void SetUp() override { gen.SetPluginIntf(&host); }

    void Import(CLDLogicDoc& doc)
    {
        code.reset(doc.GenerateLDCode());
        ASSERT_NE(code, nullptr);
        for (auto* network : PlcObjects<CPlcLDNetwork>(*code))
            ASSERT_NE(manager.CreateNetworkFromObject(network, FakeParent()), nullptr);
        ASSERT_EQ(manager.GetNetworkCount(), static_cast<int>(code->GetCount()));
    }

    void ExpectAsGenerated()
    {
        int i = 0;
        for (auto* generated : PlcObjects<CPlcLDNetwork>(*code))
        {
            CGraphNetworkIntf* network = manager.GetNetwork(i++);
            SCOPED_TRACE("network " + std::to_string(i));
            const GeneratedCounts counts = Count(generated);
            std::map<int, int> elements;
            for (CGraphBlock* element : *manager.GetElements(network))
                ++elements[element->GetType()];
            EXPECT_EQ(elements, counts.elements);
            EXPECT_EQ(manager.GetWires(network)->GetSize(), counts.wires);
            EXPECT_EQ(manager.GetCrosses(network)->GetSize(), counts.crosses);
            for (CConnection* wire : *manager.GetWires(network))
                ExpectOnItsPins(wire);
            for (CCrossConnection* cross : *manager.GetCrosses(network))
                EXPECT_TRUE(cross->IsValid());
            // Wires and junctions keep their generated object for the animation map.
            for (CConnection* wire : *manager.GetWires(network))
                EXPECT_NE(wire->GetModelObject(), nullptr);
            for (CCrossConnection* cross : *manager.GetCrosses(network))
                EXPECT_NE(cross->GetModelObject(), nullptr);
            EXPECT_EQ(static_cast<CFakeNetwork*>(network)->m_pAnimated, generated);
        }
    }

    void ImportIL(const char* file)
    {
        CLDLogicDoc doc;
        const std::string text = ReadTextFile(std::string(TVSK_PLC_TEST_DATA_DIR "/") + file);
        ASSERT_FALSE(text.empty()) << file;
        ASSERT_TRUE(gen.LoadILSource(text.c_str(), &doc)) << file << ": " << gen.m_nErrCode;
        Import(doc);
    }

    CLadderTestHost host;
    CLumoPlcCodeGen gen;
    std::unique_ptr<CPlcFBDCode> code;
    CLDManager manager;
    CFakeOwner owner{manager};
};
} // namespace

TEST_F(SampleProgramImport, SeriesContactsNegationsAndComments)
{
    ImportIL("series.il");
    ExpectAsGenerated();
    ASSERT_EQ(manager.GetNetworkCount(), 3);
    EXPECT_EQ(manager.GetComment(0), "start when both inputs are on");
    EXPECT_EQ(manager.GetComment(1), "stop lamp");
    // The negated contact and coil of the second network.
    int negated = 0;
    for (CGraphBlock* element : *manager.GetElements(manager.GetNetwork(1)))
        if ((element->GetType() == FBD_LD_CONTACT || element->GetType() == FBD_LD_COIL) &&
            static_cast<CGraphLadderElem*>(element)->GetKind() == 1)
            ++negated;
    EXPECT_EQ(negated, 3);
    EXPECT_EQ(manager.CountCoils(manager.GetNetwork(2)), 2);
}

TEST_F(SampleProgramImport, ParallelBranchesSetAndReset)
{
    ImportIL("branches.il");
    ExpectAsGenerated();
    int kinds[6] = {};
    for (int i = 0; i < manager.GetNetworkCount(); ++i)
        for (CGraphBlock* element : *manager.GetElements(manager.GetNetwork(i)))
            if (element->GetType() == FBD_LD_COIL)
                ++kinds[static_cast<CGraphLadderElem*>(element)->GetKind()];
    EXPECT_EQ(kinds[5], 2); // SET
    EXPECT_EQ(kinds[4], 1); // RES
    EXPECT_GT(manager.GetCrosses(manager.GetNetwork(0))->GetSize(), 0);
}

TEST_F(SampleProgramImport, FunctionInputsAndAdditions)
{
    ImportIL("boxes.il");
    ExpectAsGenerated();
    int fin = 0;
    int add = 0;
    for (int i = 0; i < manager.GetNetworkCount(); ++i)
        for (CGraphBlock* element : *manager.GetElements(manager.GetNetwork(i)))
            if (element->GetType() == FBD_FUNCTION)
            {
                auto* function = static_cast<CGraphExeBlock*>(element);
                EXPECT_TRUE(function->HasEnEno());
                if (function->GetName().Find("FIN") >= 0)
                {
                    ++fin;
                    EXPECT_EQ(function->GetWidth(), 6);
                }
                else if (function->GetName() == "ADD")
                {
                    ++add;
                    EXPECT_EQ(function->GetWidth(), 5);
                    EXPECT_EQ(function->GetInputCount(), 2);
                }
            }
    EXPECT_EQ(fin, 1);
    EXPECT_EQ(add, 2);
}

TEST_F(SampleProgramImport, TheDriveTypesStoredProgramWithCommentsAndANegatedCoil)
{
    ASSERT_TRUE(host.ReadParFile(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    CLDLogicDoc doc;
    ASSERT_TRUE(gen.GenerateLogicDoc(&doc));
    Import(doc);
    ExpectAsGenerated();
    EXPECT_EQ(manager.GetComment(0), "avvio");
    EXPECT_EQ(manager.GetComment(1), "pronto");
    bool negatedCoil = false;
    for (CGraphBlock* element : *manager.GetElements(manager.GetNetwork(1)))
        if (element->GetType() == FBD_LD_COIL)
            negatedCoil = static_cast<CGraphLadderElem*>(element)->GetKind() == 1;
    EXPECT_TRUE(negatedCoil);
}
