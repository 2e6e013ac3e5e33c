#include "PlcFBDTestNetworks.h"

using namespace plctest;

namespace
{
// Counts its deletions, so ownership shows.
class Counted : public CPlcFBDObject
{
public:
    explicit Counted(const char* id, int* deleted) : m_deleted(deleted) { m_strID = id; }
    ~Counted() override { ++*m_deleted; }

private:
    int* m_deleted;
};
} // namespace

class PlcFBDObjListTest : public ::testing::Test
{
protected:
    void Fill(CPlcFBDObjList& list, std::initializer_list<const char*> ids)
    {
        for (const char* id : ids)
            list.AddTail(new Counted(id, &deleted));
    }
    static CString IDOf(CPlcFBDObject* object) { return object ? object->m_strID : CString("<null>"); }

    int deleted = 0;
};

TEST_F(PlcFBDObjListTest, IndexWalksOnFromTheCursorAndRestartsForSmallerIndexes)
{
    CPlcFBDObjList list;
    Fill(list, {"a", "b", "c", "d"});
    EXPECT_EQ(IDOf(list[0]), "a");
    EXPECT_EQ(IDOf(list[2]), "c");
    EXPECT_EQ(list.GetCursorIndex(), 3);
    EXPECT_EQ(IDOf(list[3]), "d"); // the element under the cursor, no restart
    EXPECT_EQ(IDOf(list[1]), "b"); // restart from the top
    EXPECT_EQ(list[4], nullptr);
    EXPECT_EQ(list.GetCursorIndex(), 2); // a refused index leaves the cursor alone
}

TEST_F(PlcFBDObjListTest, GoTopOnAnEmptyListFindsNothing)
{
    CPlcFBDObjList list;
    list.GoTop();
    EXPECT_EQ(list.GetCursorIndex(), CPlcFBDObjList::NoCursor);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetCursorIndex(), CPlcFBDObjList::NoCursor);
}

TEST_F(PlcFBDObjListTest, RemovingElementsNeverLeavesTheCursorOnAFreedElement)
{
    CPlcFBDObjList list;
    Fill(list, {"a", "b", "c"});
    list.GoTop();
    list.GetNext(); // the cursor now stands on "b"
    POSITION b = list.Find(list.FindEl("b"));
    list.GoTop();
    list.GetNext();
    delete static_cast<CPlcFBDObject*>(list.GetAt(b));
    list.RemoveAt(b);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetCursorIndex(), CPlcFBDObjList::NoCursor);
    EXPECT_EQ(IDOf(list[1]), "c");
}

TEST_F(PlcFBDObjListTest, IndexAfterAnAppendBehindAFinishedWalkFindsTheElement)
{
    CPlcFBDObjList list;
    Fill(list, {"a"});
    list.GoTop();
    list.GetNext();
    Fill(list, {"b", "c"});
    EXPECT_EQ(IDOf(list[2]), "c");
    EXPECT_EQ(IDOf(list[1]), "b");
}

TEST_F(PlcFBDObjListTest, OwningListsDeleteOnceAndReferenceListsNever)
{
    {
        CPlcFBDObjList owning;
        Fill(owning, {"a", "b", "c"});
        CPlcFBDObjList reference(true);
        for (auto* object : PlcObjects(owning))
            reference.AddTail(object);
        reference.Reset();
        EXPECT_EQ(deleted, 0);
        EXPECT_TRUE(reference.IsEmpty());
        owning.Reset();
        EXPECT_EQ(deleted, 3);
        EXPECT_TRUE(owning.IsEmpty());
    }
    EXPECT_EQ(deleted, 3);
    {
        CPlcFBDObjList owning;
        Fill(owning, {"a", "b"});
    }
    EXPECT_EQ(deleted, 5);
}

TEST_F(PlcFBDObjListTest, FindElIsCaseSensitiveAndLeavesTheCursorBehindTheFind)
{
    CPlcFBDObjList list;
    Fill(list, {"Alpha", "beta", "gamma"});
    EXPECT_EQ(list.FindEl("alpha"), nullptr);
    EXPECT_EQ(list.GetCursorIndex(), CPlcFBDObjList::NoCursor);
    EXPECT_EQ(IDOf(list.FindEl("beta")), "beta");
    EXPECT_EQ(list.GetCursorIndex(), 2);
    EXPECT_EQ(IDOf(list.GetNext()), "gamma");
}

TEST_F(PlcFBDObjListTest, RemoveElDeletesOwnedObjectsAndClearsTheCursor)
{
    CPlcFBDObjList list;
    Fill(list, {"a", "b"});
    CPlcFBDObject* b = list.FindEl("b");
    Counted stranger("s", &deleted);
    EXPECT_FALSE(list.RemoveEl(&stranger));
    EXPECT_EQ(deleted, 0);
    EXPECT_TRUE(list.RemoveEl(b));
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetCursorIndex(), CPlcFBDObjList::NoCursor);

    CPlcFBDObjList reference(true);
    reference.AddTail(&stranger);
    EXPECT_TRUE(reference.RemoveEl(&stranger));
    EXPECT_EQ(deleted, 1);
}

class PlcFBDObjectTest : public ::testing::Test
{
};

TEST_F(PlcFBDObjectTest, TypeTextsCoverEveryCodeAndNothingElse)
{
    EXPECT_STREQ(CPlcFBDObject::DumpType(13), "Label");
    EXPECT_STREQ(CPlcFBDObject::DumpType(15), "Network");
    EXPECT_STREQ(CPlcFBDObject::DumpType(1), "Network");
    EXPECT_STREQ(CPlcFBDObject::DumpType(8), "Connection Network");
    EXPECT_STREQ(CPlcFBDObject::DumpType(16), "Power Rail");
    EXPECT_STREQ(CPlcFBDObject::DumpType(0), "Unknown object type");
    EXPECT_STREQ(CPlcFBDObject::DumpType(19), "Unknown object type");
    EXPECT_STREQ(CPlcFBDObject::DumpType(-1), "Unknown object type");
}

TEST_F(PlcFBDObjectTest, ConstructionSetsTheKindsAndDirections)
{
    CPlcFBDConst constant;
    CPlcFBDVariable variable;
    CPlcLDContact contact;
    CPlcLDNetwork ld;
    CPlcFBDConnectionNetwork net;
    EXPECT_EQ(constant.m_nType, FBD_CONST);
    EXPECT_EQ(constant.m_Pin.m_nDirection, CPlcFBDPin::DIR_OUT);
    EXPECT_EQ(variable.m_Pin.m_nDirection, CPlcFBDPin::DIR_PASS);
    EXPECT_EQ(contact.m_InPin.m_nDirection, CPlcFBDPin::DIR_IN);
    EXPECT_EQ(contact.m_OutPin.m_nDirection, CPlcFBDPin::DIR_OUT);
    EXPECT_EQ(ld.m_nType, FBD_LD_NETWORK);
    EXPECT_EQ(ld.m_nNextVarNumber, 1);
    EXPECT_EQ(net.m_nOrder, -1);
    EXPECT_EQ(variable.m_nError, 9);
    EXPECT_FALSE(variable.m_bValid);
}

TEST_F(PlcFBDObjectTest, PinAssignmentKeepsOriginAndNameArrays)
{
    CPlcFBDPin source(CPlcFBDPin::DIR_IN);
    source.m_strID = "EN";
    source.m_bNegated = true;
    source.m_strConnectedID = "7";
    source.m_nConnectedType = FBD_CONNECTION;
    source.m_nOriginType = FBD_LD_CONTACT;
    source.m_strOriginID = "3";
    source.m_LinkedNames.Add("x");

    CPlcFBDPin target;
    target.m_strOriginID = "mine";
    target = source;
    EXPECT_EQ(target.m_strID, "EN");
    EXPECT_TRUE(target.m_bNegated);
    EXPECT_EQ(target.m_nDirection, CPlcFBDPin::DIR_IN);
    EXPECT_EQ(target.m_strConnectedID, "7");
    EXPECT_EQ(target.m_nOriginType, FBD_UNKNOWN);
    EXPECT_EQ(target.m_strOriginID, "mine");
    EXPECT_EQ(target.m_LinkedNames.GetSize(), 0);
}
