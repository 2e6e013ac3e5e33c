#include <TVEditGrid/Enum.h>

#include <ZoSupport/ResourceString.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;

namespace
{

const EN_ELEM kFormats[] = {{0, "Int", 0}, {2, "Hex", -1}, {1, "Bin", 0}};

std::vector<std::pair<int, std::string>> Entries(const CEnum& list)
{
    std::vector<std::pair<int, std::string>> entries;
    for (const CEnumElem& elem : list)
        entries.emplace_back(elem.GetVal(), elem.GetText().str());
    return entries;
}

} // namespace

TEST(CEnumTest, FindValFallsBackToTheDefaultTextOnlyWhenOneIsSet)
{
    CEnum list(kFormats, nullptr, 3);
    CString text = "untouched";
    EXPECT_EQ(list.FindVal(2, text), 1);
    EXPECT_EQ(text, "Hex");
    text = "untouched";
    EXPECT_EQ(list.FindVal(7, text), 0);
    EXPECT_EQ(text, "untouched");
    list.SetDefault("?");
    EXPECT_EQ(list.FindVal(7, text), 1);
    EXPECT_EQ(text, "?");
    const CEnum withDefault(kFormats, "n/a", 3);
    EXPECT_EQ(withDefault.GetDefault(), "n/a");
}

TEST(CEnumTest, StringTableTextShowsInTheListWhileTheMapKeepsTheTableText)
{
    const RESOURCE_STRING strings[] = {{4001, "Esadecimale"}};
    RegisterResourceStrings(nullptr, strings, 1);
    const EN_ELEM table[] = {{2, "Hex", 4001}, {3, "Oct", 4999}};
    const CEnum list(table, nullptr, 2);
    EXPECT_EQ(Entries(list), (std::vector<std::pair<int, std::string>>{{2, "Esadecimale"}, {3, ""}}));
    CString text;
    list.FindVal(2, text);
    EXPECT_EQ(text, "Hex");
    UnregisterResourceStrings(nullptr);
}

TEST(CEnumTest, TableEndsAtItsCountOrAtTheFirstNullText)
{
    const EN_ELEM table[] = {{1, "a", 0}, {2, "b", 0}, {3, nullptr, 0}, {4, "d", 0}};
    EXPECT_EQ(CEnum(table, nullptr, 4).GetSize(), 2);
    EXPECT_EQ(CEnum(table, nullptr, -1).GetSize(), 2);
    EXPECT_EQ(CEnum(table, nullptr, 1).GetSize(), 1);
}

TEST(CEnumTest, ValueAddedTwiceKeepsBothEntriesAndTheLaterText)
{
    CEnum list;
    EXPECT_EQ(list.Add(5, "five"), 0);
    EXPECT_EQ(list.Add(5, "cinque"), 1);
    CString text;
    list.FindVal(5, text);
    EXPECT_EQ(text, "cinque");
    EXPECT_EQ(list.GetSize(), 2);
    list.Reset();
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.FindVal(5, text), 0);
}

TEST(CEnumTest, FindStringWalksTheBucketsInOrderAndLeavesTheLastKeyOnFailure)
{
    CEnum list;
    // Buckets of value >> 4 modulo 17: 0 -> 0, 16 -> 1, -1 -> 15, 17 * 16 -> 0 (newer first).
    for (int value : {16, 0, -1, 272})
        list.Add(value, CString(FormatString("v%d", value)));
    int value = 99;
    EXPECT_EQ(list.FindString("v0", value), 1);
    EXPECT_EQ(value, 0);
    value = 99;
    EXPECT_EQ(list.FindString("none", value), 0);
    EXPECT_EQ(value, -1); // bucket 15 is the last one holding a key
    value = 99;
    EXPECT_EQ(CEnum().FindString("v0", value), 0);
    EXPECT_EQ(value, 99);
    EXPECT_EQ(list.FindString("V0", value), 0); // case counts
}

TEST(CEnumTest, AssignmentCopiesDefaultAndListAndRebuildsTheMapFromListTexts)
{
    const RESOURCE_STRING strings[] = {{4002, "Binario"}};
    RegisterResourceStrings(nullptr, strings, 1);
    const EN_ELEM table[] = {{1, "Bin", 4002}};
    const CEnum source(table, "def", 1);
    CEnum copy;
    copy.Add(9, "old");
    copy = source;
    EXPECT_EQ(Entries(copy), Entries(source));
    CString text;
    copy.FindVal(1, text);
    EXPECT_EQ(text, "Binario");
    EXPECT_EQ(copy.GetDefault(), "def");
    UnregisterResourceStrings(nullptr);
}

class CEnumSerializeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        path = fs::temp_directory_path() / ("tvsk_enum_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove(path); }

    std::vector<unsigned char> Bytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
    }

    fs::path path;
};

TEST_F(CEnumSerializeTest, StoresCountThenTextAndValuePairs)
{
    CEnum list(kFormats, "not stored", 3);
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        list.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(Bytes(), (std::vector<unsigned char>{3, 0,   0,   0,               //
                                                   3, 'I', 'n', 't', 0, 0, 0, 0, //
                                                   3, 'H', 'e', 'x', 2, 0, 0, 0, //
                                                   3, 'B', 'i', 'n', 1, 0, 0, 0}));
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    CEnum back;
    back.Add(42, "gone");
    back.Serialize(ar);
    EXPECT_EQ(Entries(back), Entries(list));
    EXPECT_TRUE(back.GetDefault().IsEmpty());
}

TEST_F(CEnumSerializeTest, LongTextsUseTheLongLengthFormsAndTheObjectIsCreatedByName)
{
    CEnum list;
    list.Add(-1, CString(std::string(300, 'x')));
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(&list);
        ar.Close();
    }
    const auto bytes = Bytes();
    const std::vector<unsigned char> head = {0xFF, 0xFF, 1, 0, 5, 0, 'C',  'E',  'n',
                                             'u',  'm',  1, 0, 0, 0, 0xFF, 0x2C, 0x01};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<long>(head.size())),
              head);

    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    const std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(CEnum)));
    ASSERT_NE(object, nullptr);
    const auto* back = static_cast<const CEnum*>(object.get());
    ASSERT_EQ(back->GetSize(), 1);
    EXPECT_EQ(back->GetAt(0).GetText().GetLength(), 300);
    EXPECT_EQ(back->GetAt(0).GetVal(), -1);
}
