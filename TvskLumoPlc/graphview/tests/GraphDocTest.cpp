// Graph and ladder documents under a ladder view: read-only state, new documents, hints, saving,
// and the generated code the windows point into.
#include "LadderViewFixture.h"
#include "ModelFactory.h"

#include <TvskLumoPlc/graph/Connection.h>
#include <TvskLumoPlc/graph/GraphExeBlock.h>
#include <TvskLumoPlc/graph/GraphLadder.h>
#include <TvskLumoPlc/graph/GraphPin.h>

#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>

#include <framework/Archive.h>
#include <framework/File.h>

#include <QTemporaryDir>

#include <cstring>
#include <filesystem>
#include <set>

namespace
{
class RecordingView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override { hints.push_back(hint); }
    std::vector<LPARAM> hints;
};

class GraphDocTest : public LadderViewFixture
{
protected:
    void SetUp() override
    {
        LadderViewFixture::SetUp();
        m_doc->AddView(&m_recorder);
    }
    void TearDown() override
    {
        m_doc->RemoveView(&m_recorder);
        LadderViewFixture::TearDown();
    }
    RecordingView m_recorder;
};
} // namespace

TEST_F(GraphDocTest, ForcedReadOnlyWinsAndEveryChangeIsAnnounced)
{
    m_doc->SetForcedReadOnly(TRUE);
    m_recorder.hints.clear();
    m_doc->SetReadOnly(FALSE);
    EXPECT_TRUE(m_doc->IsReadOnly());
    EXPECT_EQ(m_recorder.hints, std::vector<LPARAM>{HINT_READONLY_CHANGED});
    EXPECT_TRUE(m_view->IsReadOnly());

    m_doc->SetForcedReadOnly(FALSE);
    EXPECT_FALSE(m_doc->IsReadOnly());
    EXPECT_FALSE(m_view->IsReadOnly());
}

TEST_F(GraphDocTest, ANewLadderDocumentShowsTwoNetworksTheFirstTwiceAsHigh)
{
    ASSERT_TRUE(m_doc->OnNewDocument());
    ASSERT_EQ(Manager().GetNetworkCount(), 2);
    EXPECT_EQ(Network(0)->GetSize().cy, 20);
    EXPECT_EQ(Network(1)->GetSize().cy, 10);
    CRect first;
    CRect second;
    Network(0)->GetWindowRect(&first);
    Network(1)->GetWindowRect(&second);
    EXPECT_EQ(first.Height(), 2 * second.Height());
    EXPECT_EQ(Network(0)->GetNumber(), 1);
    EXPECT_EQ(Network(1)->GetHeaderText(), "0002");
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(GraphDocTest, TheCurrentNetworkSetAgainSendsNoHint)
{
    ASSERT_TRUE(m_doc->OnNewDocument());
    m_recorder.hints.clear();
    m_doc->SetCurrentNetwork(Network(1));
    m_doc->SetCurrentNetwork(Network(1));
    EXPECT_EQ(m_recorder.hints, std::vector<LPARAM>{HINT_CURRENT_NETWORK});
    EXPECT_EQ(m_view->GetNetworkIndex(), 1);
}

TEST_F(GraphDocTest, APathLosesOnlyTheFileNamesExtension)
{
    m_doc->SetPathName("/work/v1.2/prog.plc");
    EXPECT_EQ(m_doc->GetPathName(TRUE), "/work/v1.2/prog");
    m_doc->SetPathName("/work/v1.2/prog");
    EXPECT_EQ(m_doc->GetPathName(TRUE), "/work/v1.2/prog");
    EXPECT_EQ(m_doc->GetPathName(FALSE), "/work/v1.2/prog");
}

TEST_F(GraphDocTest, OnlyChangesTheManagerAcceptsMarkTheDocumentModified)
{
    ASSERT_TRUE(m_doc->OnNewDocument());
    auto* contact = new CGraphContact;
    EXPECT_FALSE(m_doc->AddElement(nullptr, contact));
    EXPECT_FALSE(m_doc->IsModified());
    delete contact;
    EXPECT_FALSE(m_doc->RemoveWire(Network(0), nullptr));
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_doc->IsNameFree("nothing-called-so"));
}

TEST_F(GraphDocTest, FileSaveWritesTheTextFormWhetherModifiedOrNot)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    m_doc->SetModifiedFlag(FALSE);
    QTemporaryDir dir;
    const std::string path = dir.filePath("LumoPlc.plc").toStdString();
    m_doc->SetTextFilePath(path.c_str());
    EXPECT_TRUE(m_view->OnCmdMsg(ID_GRAPHDOC_FILE_SAVE, 0, nullptr));
    ASSERT_TRUE(std::filesystem::exists(path));
    CString expected = m_doc->GetText();
    expected.Replace("\n", "\r\n");
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_EQ(ReadTextFile(path), std::string(expected.GetString()));
}

TEST_F(GraphDocTest, LoadingTellsTheParentTheModifiedState)
{
    int modified = 1;
    m_doc->UpdateAllViews(nullptr, HINT_LADDER_LOADED, reinterpret_cast<CObject*>(&modified));
    ASSERT_TRUE(WaitUntil([&] { return !m_host.messages.empty(); }));
    EXPECT_EQ(m_host.messages.front(), std::make_pair(WM_LDVIEW_MODIFIED, WPARAM(1)));
}

TEST_F(GraphDocTest, TheWindowsPointIntoTheCodeTheDocumentKeeps)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    std::set<const CPlcFBDObject*> rails;
    for (auto* network : PlcObjects<CPlcLDNetwork>(*m_doc->GetCode()))
        for (CPlcFBDObject* rail : PlcObjects(network->m_PowerRails))
            rails.insert(rail);
    ASSERT_GT(Manager().GetNetworkCount(), 1);
    for (int i = 0; i < Manager().GetNetworkCount(); ++i)
    {
        ANIMATION_ENTRY* left = Network(i)->GetAnimationMap().FindLeftRail();
        ASSERT_NE(left, nullptr);
        EXPECT_TRUE(rails.count(left->model)) << "network " << i;
        EXPECT_EQ(static_cast<CPlcLDPowerRail*>(left->model)->m_nSide, CPlcLDPowerRail::SIDE_LEFT);
    }
}

TEST_F(GraphDocTest, SavingTellsTheViewsTheModifiedStateAndWritesTheTextForm)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    m_doc->SetModifiedFlag(TRUE);
    QTemporaryDir dir;
    CFile file;
    const std::string path = dir.filePath("doc.bin").toStdString();
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    {
        CArchive archive(&file, CArchive::store);
        m_doc->Serialize(archive);
    }
    file.Close();
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    ASSERT_TRUE(WaitUntil([&] { return !m_host.messages.empty(); }));
    EXPECT_EQ(m_host.messages.back(), std::make_pair(WM_LDVIEW_MODIFIED, WPARAM(1)));
}

TEST_F(GraphDocTest, LoadingTheStoredTextFormRestoresHeightsAndCommentsAndRejectsBrokenText)
{
    Show(GenerateStored(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"));
    CGraphNetworkIntf* first = m_doc->GetNetworkWnd(0);
    ASSERT_NE(first, nullptr);
    first->SetComment("prima rete");
    const int height = first->GetGridHeight();
    QTemporaryDir dir;
    const auto write = [&](const char* name, const CString& text)
    {
        CFile file;
        const std::string path = dir.filePath(name).toStdString();
        EXPECT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        file.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
        return path;
    };
    const auto load = [&](const std::string& path)
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        CArchive archive(&file, CArchive::load);
        m_doc->Serialize(archive);
    };
    const CString stored = m_doc->GetText();
    const std::string good = write("good.plc", stored);
    const std::string broken = write("broken.plc", stored + "$N:1^ 200\n");
    const std::string unknown = write("unknown.plc", "$N:999^ 200,5\n$E\n");

    first->SetComment("cambiata");
    first->SetGridHeight(height + 4);
    m_host.messages.clear();
    load(broken);
    load(unknown);
    EXPECT_EQ(first->GetComment(), CString("cambiata")) << "broken text changes nothing";
    EXPECT_EQ(first->GetGridHeight(), height + 4);
    load(good);
    EXPECT_EQ(first->GetComment(), CString("prima rete"));
    EXPECT_EQ(first->GetGridHeight(), height);
    EXPECT_EQ(m_doc->GetText(), stored);
    ASSERT_TRUE(WaitUntil([&] { return !m_host.messages.empty(); }));
    EXPECT_EQ(m_host.messages.size(), 1u) << "only the good load is announced";
}

// A stored ladder document read into an empty document brings its networks back.
TEST_F(GraphDocTest, AStoredDocumentReadIntoAnEmptyOneMakesItsNetworks)
{
    ASSERT_EQ(m_doc->GetNetworkCount(), 0);
    QTemporaryDir dir;
    const auto load = [&](const char* name, const char* text)
    {
        const std::string path = dir.filePath(name).toStdString();
        {
            CFile file;
            EXPECT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
            file.Write(text, static_cast<UINT>(std::strlen(text)));
        }
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        CArchive archive(&file, CArchive::load);
        m_doc->Serialize(archive);
    };
    testing::internal::CaptureStderr();
    load("gap.plc", "$N:1^ 200,20\n$E\n$N:3^ 200,10\n$E\n");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(m_doc->GetNetworkCount(), 0) << "a gap in the numbers makes nothing";

    const char* stored = "$N:1^ 200,20\n@N prima rete\n$E\n$N:2^ 200,10\n$E\n";
    load("stored.plc", stored);
    ASSERT_EQ(m_doc->GetNetworkCount(), 2);
    EXPECT_EQ(m_doc->GetNetworkWnd(0)->GetGridHeight(), 20);
    EXPECT_EQ(m_doc->GetNetworkWnd(1)->GetGridHeight(), 10);
    EXPECT_EQ(m_doc->GetNetworkWnd(0)->GetComment(), CString("prima rete"));
    EXPECT_EQ(m_doc->GetNetworkWnd(1)->GetNumber(), 2);
    EXPECT_EQ(m_doc->GetText(), CString(stored));
    // Read again, it lands on the same networks.
    load("again.plc", stored);
    EXPECT_EQ(m_doc->GetNetworkCount(), 2);
}

// The document's members over a generated rung with a branch: counts, items, finds, keys, hits,
// settings, the rung queries, and the hints that reach the views.
TEST_F(GraphDocTest, TheDocumentForwardsToItsManagerAndAnnouncesWhatChanged)
{
    Show(GenerateIL("(* ciclo *)\nLD\t1.0\nOR\t1.1\nOUT\t2.0\nEND\n"));
    CLDDoc& doc = *m_doc;
    CGraphNetworkIntf* network = doc.GetNetworkWnd(0);
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(doc.GetNetworkWndByNumber(1), network);
    EXPECT_EQ(doc.GetRungText(0), CString("ciclo"));
    EXPECT_EQ(doc.GetNetworkComment(0), doc.GetRungText(0));
    const int wires = doc.GetWireCount(network);
    const int crosses = doc.GetCrossCount(network);
    ASSERT_GT(wires, 0);
    ASSERT_GT(crosses, 0);
    EXPECT_EQ(doc.FindWire(network, doc.GetWire(network, wires - 1)), wires - 1);
    EXPECT_EQ(doc.FindCross(network, doc.GetCross(network, 0)), 0);
    EXPECT_EQ(doc.GetWire(network, wires), nullptr);
    EXPECT_EQ(doc.GetObjectCount(network), doc.GetNetworkElements(network)->GetSize() + wires + crosses);

    CGraphBlock* contact = nullptr;
    for (CGraphBlock* element : *doc.GetNetworkElements(network))
        if (element->GetType() == FBD_LD_CONTACT && !contact)
            contact = element;
    ASSERT_NE(contact, nullptr);
    const CString key = contact->GetKey();
    EXPECT_EQ(doc.FindByKey(key), contact);
    EXPECT_EQ(doc.SelectByKey(key), network);
    GRAPH_HIT hit;
    const CPoint cross = doc.GetCross(network, 0)->GetPosition();
    EXPECT_TRUE(doc.HitTest(network, cross.x, cross.y, hit));
    EXPECT_EQ(hit.object, doc.GetCross(network, 0));
    EXPECT_EQ(doc.GetColor(ObjColor), doc.GetManager()->GetColor(ObjColor));
    EXPECT_EQ(doc.GetFontSize(), doc.GetManager()->GetFontSize());
    EXPECT_EQ(doc.GetFontName(), doc.GetManager()->GetFontName());
    EXPECT_EQ(doc.IsGridShown(), doc.GetManager()->IsGridShown());

    m_recorder.hints.clear();
    CConnection* wire = doc.GetWire(network, 0);
    EXPECT_TRUE(doc.RemoveWire(network, wire));
    doc.SendEvent(7);
    doc.SendValueEvent(3, false);
    doc.SendValueEvent(3, true);
    doc.SendTextEvent("x");
    const std::vector<LPARAM> expected = {HINT_OBJECT, HINT_EVENT, HINT_VALUE_EVENT, HINT_PLAIN_EVENT,
                                          HINT_TEXT_EVENT};
    EXPECT_EQ(m_recorder.hints, expected);
    EXPECT_EQ(doc.GetWireCount(network), wires - 1);
}

// Auto-connect: an element whose free pin lies on the open end of a selected wire takes the wire,
// which is whole again, and lets it go when the element is removed.
TEST_F(GraphDocTest, AnElementOnAnOpenWireEndTakesTheWireAndFreesItWhenRemoved)
{
    Show(GenerateIL("LD\t1.0\nOUT\t2.0\nEND\n"));
    CGraphNetworkIntf* network = m_doc->GetNetworkWnd(0);
    CGraphBlock* contact = Element(FBD_LD_CONTACT, "1.0");
    ASSERT_NE(contact, nullptr);
    auto inputOf = [](CGraphBlock* element)
    {
        for (CGraphPin* pin : element->AllPins())
            if (pin->GetSide() == CGraphPin::SIDE_INPUT)
                return pin;
        return static_cast<CGraphPin*>(nullptr);
    };
    CConnection* wire = inputOf(contact)->GetConnection();
    ASSERT_NE(wire, nullptr);
    CPlcFBDObject* model = contact->GetModelObject();
    ASSERT_TRUE(m_doc->RemoveElement(network, contact));
    ASSERT_TRUE(wire->IsOpen());

    CGraphBlock* again = Manager().CreateElement(network, model);
    ASSERT_NE(again, nullptr);
    Manager().ToggleSelection(wire, true);
    EXPECT_TRUE(m_doc->ConnectElement(again, network));
    EXPECT_EQ(inputOf(again)->GetConnection(), wire);
    EXPECT_FALSE(wire->IsOpen());
    EXPECT_FALSE(wire->IsError());

    ASSERT_TRUE(m_doc->RemoveElement(network, again));
    EXPECT_TRUE(wire->IsOpen());
    EXPECT_TRUE(m_doc->RemoveWire(network, wire));
}

// Joining touching elements: an operator's shown ENO also takes a wire whose free end lies at it;
// hidden EN and ENO take part in nothing.
TEST_F(GraphDocTest, AnOperatorsEnoTakesTheFreeWireEndAtItsPlace)
{
    Show(GenerateIL("LD\t1.0\nOUT\t2.0\nEND\n"));
    CGraphNetworkIntf* network = m_doc->GetNetworkWnd(0);
    CGraphBlock* contact = Element(FBD_LD_CONTACT, "1.0");
    ASSERT_NE(contact, nullptr);
    CModelFactory models;
    auto* shown = static_cast<CGraphExeBlock*>(Manager().CreateElement(
        network, models.Block<CPlcFBDOperator>("7", "ADD", 20, 6, {"EN", "0", "1"}, {"ENO", "2"})));
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(shown->HasEnEno());
    const CPoint at = shown->GetENO()->GetPosition();
    auto* wire = new CConnection;
    ASSERT_TRUE(Manager().AddWire(network, wire, true));
    ASSERT_TRUE(wire->AddSegment(at.x, at.y, at.x + 3, at.y, true));
    wire->Start().point = at;
    wire->EndOf().point = at + CSize(3, 0);
    const int wires = Manager().GetWires(network)->GetSize();

    EXPECT_TRUE(m_doc->ConnectTouchingPins(shown, contact));
    EXPECT_EQ(shown->GetENO()->GetConnection(), wire);
    EXPECT_EQ(wire->GetStart().object, shown->GetENO());
    EXPECT_EQ(Manager().GetWires(network)->GetSize(), wires);

    // Hidden, the ENO of another operator at the free end of a wire stays apart.
    auto* hidden = static_cast<CGraphExeBlock*>(Manager().CreateElement(
        network, models.Block<CPlcFBDOperator>("8", "ADD", 30, 6, {"0", "1"}, {"2"})));
    ASSERT_NE(hidden, nullptr);
    ASSERT_FALSE(hidden->HasEnEno());
    const CPoint hiddenAt = hidden->GetENO()->GetPosition();
    auto* loose = new CConnection;
    ASSERT_TRUE(Manager().AddWire(network, loose, true));
    ASSERT_TRUE(loose->AddSegment(hiddenAt.x, hiddenAt.y, hiddenAt.x + 3, hiddenAt.y, true));
    loose->Start().point = hiddenAt;
    loose->EndOf().point = hiddenAt + CSize(3, 0);
    Manager().ToggleSelection(loose, true);
    m_doc->ConnectElement(hidden, network);
    EXPECT_EQ(loose->GetStart().object, nullptr);
    EXPECT_EQ(hidden->GetENO()->GetConnection(), nullptr);
    // The elements go before the models they show.
    EXPECT_TRUE(m_doc->RemoveElement(network, shown));
    EXPECT_TRUE(m_doc->RemoveElement(network, hidden));
}

// A bare graph document without a manager answers empty and carries on.
TEST(GraphDocAlone, WithoutAManagerEveryQueryIsEmpty)
{
    CGraphDoc doc;
    EXPECT_EQ(doc.GetWireCount(nullptr), 0);
    EXPECT_EQ(doc.GetCross(nullptr, 0), nullptr);
    EXPECT_EQ(doc.FindByKey("1$CN:0"), nullptr);
    EXPECT_EQ(doc.GetNetworkComment(0), CString());
    GRAPH_HIT hit;
    EXPECT_FALSE(doc.HitTest(nullptr, 0, 0, hit));
}
