// Keys, pin references, the text form and the "LumoPlc.plc" file.
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/GraphTextFile.h>
#include <TvskLumoPlc/graph/SourceString.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace
{
class KeysTest : public GraphFixture
{
protected:
    void SetUp() override
    {
        GraphFixture::SetUp();
        second = manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false);
        third = manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false);
        ASSERT_EQ(third->GetNumber(), 3);
        function = manager.CreateElement(
            third, models.Block<CPlcFBDFunction>("12", "MAX", 5, 5, {"IN1", "IN2"}, {"Q"}));
        ASSERT_NE(function, nullptr);
    }

    CGraphNetworkIntf* second = nullptr;
    CGraphNetworkIntf* third = nullptr;
    CGraphBlock* function = nullptr;
};

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
} // namespace

TEST_F(KeysTest, KeysSelectElementsOfNumberedNetworks)
{
    EXPECT_EQ(function->GetKey(), "3$F:12");
    EXPECT_EQ(manager.FindElementByKey("3$F:12"), function);
    EXPECT_EQ(manager.FindElementByKey(""), nullptr);

    EXPECT_EQ(manager.SelectByKey("3$F:12"), third);
    EXPECT_TRUE(function->IsSelected());
    EXPECT_TRUE(manager.IsInSelection(function));
    manager.ClearSelection();

    static_cast<CFakeNetwork*>(third)->m_bMark = true;
    EXPECT_EQ(manager.SelectByKey("3"), third);
    EXPECT_FALSE(third->GetMark());
    EXPECT_TRUE(manager.GetSelection().empty());
    EXPECT_EQ(manager.SelectByKey("3$FB:"), third);
    EXPECT_EQ(manager.SelectByKey("3$F:12x"), third);
    EXPECT_TRUE(manager.GetSelection().empty());
    EXPECT_EQ(manager.SelectByKey("9"), nullptr);
    EXPECT_EQ(manager.SelectByKey("x$F:12"), nullptr);
    EXPECT_EQ(third->GetKey(), "3$");
}

TEST_F(KeysTest, TagsOfTheGraphAndTheLadderManager)
{
    CGraphManager plain;
    EXPECT_EQ(plain.TypeFromTag("CN"), 0);
    EXPECT_EQ(manager.TypeFromTag("CN"), 17);
    EXPECT_EQ(manager.TypeFromTag("CL"), 18);
    EXPECT_EQ(manager.TypeFromTag("FB"), 2);
    EXPECT_EQ(manager.TypeFromTag("fb"), 0);
    EXPECT_EQ(manager.TypeFromTag("CO"), 14);
    CString id, pin;
    CGraphManager::SplitPinRef("4.IN2", id, pin);
    EXPECT_EQ(id, "4");
    EXPECT_EQ(pin, "IN2");
}

TEST_F(KeysTest, ConnectionTextsResolveToPins)
{
    CGraphBlock* variable = manager.CreateElement(third, models.Variable("7", "x", 2, 9, true));
    CGraphBlock* other =
        manager.CreateElement(third, models.Block<CPlcFBDFunction>("4", "MIN", 9, 9, {"IN1", "IN2"}, {"Q"}));
    ASSERT_TRUE(variable && other);
    EXPECT_EQ(variable->GetPin(0)->GetKey(), "V:7");
    EXPECT_EQ(other->PinByName("IN2")->GetKey(), "F:4.IN2");

    auto* wire = new CConnection;
    manager.AddWire(third, wire, true);
    wire->AddSegment(2, 9, 9, 9, false);
    wire->Start() = CConnection::End{nullptr, "7", CPoint(2, 9), 0, FBD_VARIABLE};
    wire->EndOf() = CConnection::End{nullptr, "4.IN2", CPoint(9, 9), 0, FBD_FUNCTION};
    EXPECT_TRUE(manager.ResolvePinConnection(wire, false, function));
    EXPECT_EQ(wire->GetEnd().object, nullptr);
    EXPECT_TRUE(manager.ResolvePinConnection(wire, true, variable));
    EXPECT_TRUE(manager.ResolvePinConnection(wire, false, other));
    EXPECT_EQ(wire->GetStart().object, variable->GetPin(0));
    EXPECT_EQ(wire->GetEnd().object, other->PinByName("IN2"));
    EXPECT_EQ(other->PinByName("IN2")->GetConnection(), wire);
    // The pin stands one row lower than the text said: the end moved onto it.
    EXPECT_EQ(wire->GetEnd().point, CPoint(9, 10));
    EXPECT_FALSE(manager.ResolvePinConnection(nullptr, true, other));
}

TEST(GraphText, TwoDefaultNetworksTheSecondCommented)
{
    CLDManager manager;
    CFakeOwner owner(manager);
    manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false);
    manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false)->SetComment("start");
    CString text = "old";
    ASSERT_TRUE(manager.GetText(text));
    EXPECT_EQ(text, "$N:1^ 200,12\n$E\n$N:2^ 200,12\n@N start\n$E\n");

    manager.GetNetwork(0)->SetComment("two\r\nlines\nhere");
    ASSERT_TRUE(manager.GetText(text));
    EXPECT_EQ(text, "$N:1^ 200,12\n@N two lines here\n$E\n$N:2^ 200,12\n@N start\n$E\n");
}

TEST(GraphText, TheFileHasCarriageReturnsAndReplacesTheOldOneWhole)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tvsk_plctext_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "LumoPlc.plc").string();
    {
        std::ofstream old(path);
        old << "previous program text that is longer than the new one";
    }
    CLDManager manager;
    CFakeOwner owner(manager);
    manager.CreateNetwork(FakeParent(), CGraphManager::PLACE_LAST, 0, 0, false, false)->SetComment("start");
    EXPECT_FALSE(WriteGraphTextFile(nullptr, path.c_str()));
    EXPECT_EQ(ReadBytes(path), "previous program text that is longer than the new one");
    ASSERT_TRUE(WriteGraphTextFile(&manager, path.c_str()));
    EXPECT_EQ(ReadBytes(path), "$N:1^ 200,12\r\n@N start\r\n$E\r\n");
    // Nothing but the file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(WriteGraphTextFile(&manager, (dir / "missing" / "LumoPlc.plc").c_str()));
    std::filesystem::remove_all(dir);
}

TEST(SourceString, GrowsInWholeStepsAndRefusesWhileLocked)
{
    CSourceString text;
    EXPECT_EQ(text.GetCapacity(), 4095);
    EXPECT_TRUE(text.Append(""));
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_TRUE(text.Append("ab"));
    text.Lock(true);
    EXPECT_FALSE(text.Append("cd"));
    text.Lock(false);
    const std::string big(5000, 'x');
    EXPECT_TRUE(text.Append(big.c_str()));
    EXPECT_EQ(text.GetLength(), 5002);
    EXPECT_EQ(text.GetCapacity(), 4095 + 2 * 4095);
    EXPECT_EQ(std::string(text.GetData()), "ab" + big);
}
