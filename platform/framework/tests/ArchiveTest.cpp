#include <framework/Archive.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace
{

class CPoint3 : public CObject
{
    DECLARE_SERIAL(CPoint3)
public:
    int x = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << x;
        else
            ar >> x;
    }
};
IMPLEMENT_SERIAL(CPoint3, CObject, 2)

class CNotAPoint : public CObject
{
    DECLARE_SERIAL(CNotAPoint)
};
IMPLEMENT_SERIAL(CNotAPoint, CObject, 1)

using Bytes = std::vector<unsigned char>;

class ArchiveTest : public testing::Test
{
protected:
    void SetUp() override
    {
        path = fs::temp_directory_path() / ("tvsk_archive_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove(path); }

    Bytes Store(const std::function<void(CArchive&)>& write)
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
        file.Close();
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    void Load(const Bytes& bytes, const std::function<void(CArchive&)>& read)
    {
        {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        CFile file(path.c_str(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        read(ar);
    }

    // The cause of the archive exception that reading the bytes throws; -1 when none is thrown.
    int LoadFailure(const Bytes& bytes, const std::function<void(CArchive&)>& read)
    {
        try
        {
            Load(bytes, read);
        }
        catch (CArchiveException* e)
        {
            const int cause = e->m_cause;
            e->Delete();
            return cause;
        }
        return -1;
    }

    Bytes Prefix(const Bytes& bytes, size_t count)
    {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(count));
    }

    fs::path path;
};

} // namespace

TEST_F(ArchiveTest, ValuesAreWrittenLittleEndian)
{
    const Bytes bytes =
        Store([](CArchive& ar) { ar << BYTE(0x12) << WORD(0x3456) << int(-2) << UINT(0x01020304); });
    EXPECT_EQ(bytes, (Bytes{0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}));
    Load(bytes,
         [](CArchive& ar)
         {
             BYTE b;
             WORD w;
             int i;
             UINT u;
             ar >> b >> w >> i >> u;
             EXPECT_EQ(b, 0x12);
             EXPECT_EQ(w, 0x3456);
             EXPECT_EQ(i, -2);
             EXPECT_EQ(u, 0x01020304u);
         });
}

TEST_F(ArchiveTest, StringLengthTakesOneThreeOrSevenBytes)
{
    struct Case
    {
        int length;
        Bytes prefix;
    };
    const Case cases[] = {{0, {0x00}},
                          {254, {0xFE}},
                          {255, {0xFF, 0xFF, 0x00}},
                          {0xFFFD, {0xFF, 0xFD, 0xFF}},
                          {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
                          {0x12345, {0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}}};
    for (const Case& c : cases)
    {
        const CString text(std::string(static_cast<size_t>(c.length), 'a'));
        const Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(bytes.size(), c.prefix.size() + static_cast<size_t>(c.length)) << c.length;
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix) << c.length;
        Load(bytes,
             [&](CArchive& ar)
             {
                 CString back;
                 ar >> back;
                 EXPECT_EQ(back.GetLength(), c.length);
             });
    }
}

TEST_F(ArchiveTest, CountsTakeTwoOrSixBytes)
{
    const Bytes bytes = Store(
        [](CArchive& ar)
        {
            ar.WriteCount(0xFFFE);
            ar.WriteCount(0xFFFF);
        });
    EXPECT_EQ(bytes, (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    Load(bytes,
         [](CArchive& ar)
         {
             EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
             EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
         });
}

TEST_F(ArchiveTest, ObjectsCarryTheirClassOnceAndRepeatsBecomeIndexes)
{
    CPoint3 a, b;
    a.x = 7;
    b.x = 9;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &a << &a << &b << static_cast<CObject*>(nullptr); });
    const Bytes expected = {0xFF, 0xFF, 0x02, 0x00, 0x07, 0x00, 'C',
                            'P',  'o',  'i',  'n',  't',  '3',  // new class, schema 2
                            0x07, 0x00, 0x00, 0x00,             // a
                            0x02, 0x00,                         // a again: object 2
                            0x01, 0x80, 0x09, 0x00, 0x00, 0x00, // class 1, then b
                            0x00, 0x00};                        // null
    EXPECT_EQ(bytes, expected);
    Load(bytes,
         [](CArchive& ar)
         {
             CObject* first = ar.ReadObject(RUNTIME_CLASS(CPoint3));
             CObject* again = ar.ReadObject(RUNTIME_CLASS(CPoint3));
             CObject* second = ar.ReadObject(RUNTIME_CLASS(CPoint3));
             EXPECT_EQ(ar.ReadObject(nullptr), nullptr);
             ASSERT_NE(first, nullptr);
             EXPECT_EQ(first, again);
             EXPECT_EQ(static_cast<CPoint3*>(first)->x, 7);
             EXPECT_EQ(static_cast<CPoint3*>(second)->x, 9);
             delete first;
             delete second;
         });
}

TEST_F(ArchiveTest, BadInputIsReportedAsArchiveException)
{
    CPoint3 point;
    const Bytes good = Store([&](CArchive& ar) { ar << &point; });
    auto readPoint = [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CPoint3)); };

    EXPECT_EQ(LoadFailure(Prefix(good, good.size() - 1), readPoint), CArchiveException::endOfFile);
    Bytes otherSchema = good;
    otherSchema[2] = 0x01;
    EXPECT_EQ(LoadFailure(otherSchema, readPoint), CArchiveException::badSchema);
    Bytes unknownClass = good;
    unknownClass[6] = 'X';
    EXPECT_EQ(LoadFailure(unknownClass, readPoint), CArchiveException::badClass);
    EXPECT_EQ(LoadFailure(good, [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CNotAPoint)); }),
              CArchiveException::badClass);
    EXPECT_EQ(LoadFailure(Bytes{0x05, 0x80}, readPoint), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Bytes{0x05, 0x00}, readPoint), CArchiveException::badIndex);
}

TEST_F(ArchiveTest, CorruptStringLengthEndsAtTheEndOfTheFileAndWideStringsAreRefused)
{
    auto readText = [](CArchive& ar)
    {
        CString text;
        ar >> text;
    };
    EXPECT_EQ(LoadFailure(Bytes{0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a'}, readText),
              CArchiveException::endOfFile);
    EXPECT_EQ(LoadFailure(Bytes{0xFF, 0xFE, 0xFF, 0x01, 'a', 0x00}, readText),
              CArchiveException::genericException);
}

TEST_F(ArchiveTest, StoringArchiveRefusesReads)
{
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    CArchive ar(&file, CArchive::store);
    int value = 0;
    try
    {
        ar >> value;
        FAIL() << "read from a storing archive";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
        e->Delete();
    }
}
