// SDO client against an in-process node: transfers byte for byte, aborts and broken answers.
#include <protocol/CanOpenProt.h>
#include <tools/sdonode/SdoNode.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>

namespace
{

struct Message
{
    DWORD id = 0;
    std::vector<BYTE> data;
};

class MapDictionary : public CSdoObjectDictionary
{
public:
    DWORD Read(WORD index, BYTE subindex, std::vector<BYTE>& data) override
    {
        const auto found = objects.find({index, subindex});
        if (found == objects.end())
            return 0x06020000;
        data = found->second;
        return 0;
    }
    DWORD Write(WORD index, BYTE subindex, const std::vector<BYTE>& data) override
    {
        if (writeAbort != 0)
            return writeAbort;
        objects[{index, subindex}] = data;
        return 0;
    }

    std::map<std::pair<WORD, BYTE>, std::vector<BYTE>> objects;
    DWORD writeAbort = 0;
};

// A bus with one node on it; answers can be altered or dropped before the client sees them.
class NodePort : public CCanMessagePort
{
public:
    using Tamper = std::function<bool(int answerNumber, Message& answer)>;

    NodePort(CSdoObjectDictionary& dictionary, BYTE node) : m_node(dictionary), m_nodeId(node) {}

    // Answers are numbered from each transfer's lock.
    BOOL lock(DWORD) override
    {
        ++locks;
        m_answerNumber = 0;
        return lockGranted;
    }
    BOOL unlock() override
    {
        ++unlocks;
        return TRUE;
    }
    BOOL reset() override
    {
        m_answers.clear();
        return TRUE;
    }
    BOOL WriteMsg(DWORD id, const BYTE* data, LONG length) override
    {
        sent.push_back({id, std::vector<BYTE>(data, data + length)});
        if (id != 0x600u + m_nodeId || length != 8)
            return TRUE;
        SDO_PROT request;
        std::copy_n(data, 8, request.bytes);
        const auto answer = m_node.Answer(request);
        if (!answer)
            return TRUE;
        Message message{0x580u + m_nodeId, std::vector<BYTE>(answer->bytes, answer->bytes + 8)};
        if (!tamper || tamper(m_answerNumber++, message))
            m_answers.push_back(message);
        return TRUE;
    }
    BOOL ReadMsg(DWORD* id, BYTE* data, LONG* length, WORD) override
    {
        if (m_answers.empty())
            return FALSE;
        const Message message = m_answers.front();
        m_answers.pop_front();
        *id = message.id;
        std::copy_n(message.data.begin(), std::min<size_t>(message.data.size(), MaxMessageLength), data);
        *length = static_cast<LONG>(message.data.size());
        return TRUE;
    }
    BOOL AddMessageFilter(LONG mask, LONG filter) override
    {
        filters.insert({mask, filter});
        return TRUE;
    }
    BOOL RemMessageFilter(LONG mask, LONG filter) override
    {
        const auto found = filters.find({mask, filter});
        if (found == filters.end())
            return FALSE;
        filters.erase(found);
        return TRUE;
    }

    Tamper tamper;
    std::vector<Message> sent;
    std::multiset<std::pair<LONG, LONG>> filters;
    BOOL lockGranted = TRUE;
    int locks = 0;
    int unlocks = 0;

private:
    CSdoNode m_node;
    BYTE m_nodeId;
    std::deque<Message> m_answers;
    int m_answerNumber = 0;
};

std::vector<BYTE> Pattern(size_t length)
{
    std::vector<BYTE> bytes(length);
    std::iota(bytes.begin(), bytes.end(), BYTE{0x30});
    return bytes;
}

class CanOpenProtTest : public ::testing::Test
{
protected:
    static constexpr BYTE Node = 5;

    CanOpenProtTest() { prot.SetAddress(Node); }

    C_ERRO Upload(WORD index, BYTE subindex, std::vector<BYTE>& out, DWORD capacity)
    {
        out.assign(capacity + 16, 0xEE);
        DWORD length = capacity;
        const C_ERRO result = prot.UploadData(index, subindex, out.data(), &length);
        received = length;
        return result;
    }

    MapDictionary dictionary;
    NodePort port{dictionary, Node};
    CCanOpenProt prot{&port};
    DWORD received = 0;
};

TEST_F(CanOpenProtTest, ExpeditedDownloadSendsTheSizeInTheCommandAndTheBytesLowFirst)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I2;
    value.iVal = 0x1234;
    ASSERT_EQ(prot.WrPar(0x2000, 6, value), C_ERRO_OK);

    ASSERT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.sent[0].id, 0x605u);
    const std::vector<BYTE> head(port.sent[0].data.begin(), port.sent[0].data.begin() + 6);
    EXPECT_EQ(head, (std::vector<BYTE>{0x2B, 0x00, 0x20, 0x06, 0x34, 0x12}));
    EXPECT_EQ((dictionary.objects[{0x2000, 6}]), (std::vector<BYTE>{0x34, 0x12}));
    EXPECT_EQ(port.locks, 1);
    EXPECT_EQ(port.unlocks, 1);

    const struct
    {
        DWORD length;
        BYTE command;
    } rows[] = {{1, 0x2F}, {2, 0x2B}, {3, 0x27}, {4, 0x23}};
    for (const auto& row : rows)
    {
        port.sent.clear();
        const std::vector<BYTE> data = Pattern(row.length);
        ASSERT_EQ(prot.DownloadData(0x2003, 1, data.data(), row.length), C_ERRO_OK) << row.length;
        EXPECT_EQ(port.sent.at(0).data[0], row.command) << row.length;
        EXPECT_EQ((dictionary.objects[{0x2003, 1}]), data) << row.length;
    }
}

TEST_F(CanOpenProtTest, SegmentedDownloadDeliversEveryByteWithAlternatingToggles)
{
    for (const DWORD length : {5u, 7u, 8u, 14u, 15u, 300u})
    {
        port.sent.clear();
        const std::vector<BYTE> data = Pattern(length);
        ASSERT_EQ(prot.DownloadData(0x2000, 2, data.data(), length), C_ERRO_OK) << length;
        EXPECT_EQ((dictionary.objects[{0x2000, 2}]), data) << length;

        const DWORD segments = (length + 6) / 7;
        ASSERT_EQ(port.sent.size(), 1 + segments) << length;
        EXPECT_EQ(port.sent[0].data[0], 0x21);
        EXPECT_EQ(port.sent[0].data[4], static_cast<BYTE>(length));
        for (DWORD s = 0; s < segments; ++s)
        {
            const BYTE command = port.sent[1 + s].data[0];
            EXPECT_EQ((command >> 4) & 1, static_cast<int>(s % 2)) << length << " segment " << s;
            EXPECT_EQ(command & 1, s + 1 == segments ? 1 : 0) << length << " segment " << s;
        }
    }
}

TEST_F(CanOpenProtTest, UploadsDeliverEveryByteUpToTheAnnouncedSize)
{
    for (const DWORD length : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 21u, 1000u})
    {
        dictionary.objects[{0x2000, 9}] = Pattern(length);
        std::vector<BYTE> out;
        ASSERT_EQ(Upload(0x2000, 9, out, 2000), C_ERRO_OK) << length;
        EXPECT_EQ(received, length);
        EXPECT_EQ(std::vector<BYTE>(out.begin(), out.begin() + length), Pattern(length)) << length;
        EXPECT_EQ(out[length], 0xEE) << "written past the received bytes, length " << length;
    }
}

TEST_F(CanOpenProtTest, ReadIntoVariantsTakesTheWidthOfTheirType)
{
    dictionary.objects[{0x2000, 1}] = {0xFE, 0xFF};
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I2;
    value.lVal = 0x7FFFFFFF;
    ASSERT_EQ(prot.RdPar(0x2000, 1, value), C_ERRO_OK);
    EXPECT_EQ(value.vt, VT_I2);
    EXPECT_EQ(value.iVal, -2);
    EXPECT_EQ(value.lVal, 0xFFFE) << "bytes above the type's width are cleared";

    dictionary.objects[{0x2000, 2}] = {0x78, 0x56, 0x34, 0x12};
    VariantInit(&value);
    ASSERT_EQ(prot.RdPar(0x2000, 2, value), C_ERRO_OK);
    EXPECT_EQ(value.vt, VT_UI4) << "an empty VARIANT takes the type of the received length";
    EXPECT_EQ(value.ulVal, 0x12345678u);

    dictionary.objects[{0x2000, 3}] = {0x01, 0x02, 0x03};
    VariantInit(&value);
    EXPECT_EQ(prot.RdPar(0x2000, 3, value), C_ERRO_TYPE);

    dictionary.objects[{0x2000, 4}] = {0x2A};
    value.vt = VT_UI4;
    value.ulVal = 0xAABBCCDD;
    ASSERT_EQ(prot.RdPar(0x2000, 4, value), C_ERRO_OK);
    EXPECT_EQ(value.ulVal, 0x2Au) << "a shorter answer must not leave bytes of an earlier read";
}

TEST_F(CanOpenProtTest, TextsTravelWithTheirTerminatingZero)
{
    VARIANT text = tvsk::com::MakeVariantBstr("Asse X fine corsa");
    ASSERT_EQ(prot.WrPar(0x2000, 7, text), C_ERRO_OK);
    const std::vector<BYTE>& stored = dictionary.objects[{0x2000, 7}];
    EXPECT_EQ(std::string(stored.begin(), stored.end()), std::string("Asse X fine corsa", 18));
    VariantClear(&text);

    VARIANT back;
    VariantInit(&back);
    back.vt = VT_BSTR;
    back.bstrVal = tvsk::com::BstrFromUtf8("old");
    ASSERT_EQ(prot.RdPar(0x2000, 7, back), C_ERRO_OK);
    EXPECT_EQ(tvsk::com::Utf8FromBstr(back.bstrVal), "Asse X fine corsa");
    VariantClear(&back);

    // No zero in the answer: the text ends after the received bytes, inside the buffer.
    dictionary.objects[{0x2000, 8}] = std::vector<BYTE>(CCanOpenProt::BufferSize - 1, 'a');
    VariantInit(&back);
    back.vt = VT_BSTR;
    ASSERT_EQ(prot.RdPar(0x2000, 8, back), C_ERRO_OK);
    EXPECT_EQ(SysStringLen(back.bstrVal), CCanOpenProt::BufferSize - 1);
    VariantClear(&back);

    dictionary.objects[{0x2000, 8}] = std::vector<BYTE>(CCanOpenProt::BufferSize, 'a');
    VariantInit(&back);
    back.vt = VT_BSTR;
    EXPECT_EQ(prot.RdPar(0x2000, 8, back), C_ERRO_LENGTH) << "no room left for the terminating zero";
}

TEST_F(CanOpenProtTest, UnsupportedTypesAndEmptyDownloadsSendNothing)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_DISPATCH;
    EXPECT_EQ(prot.WrPar(0x2000, 1, value), C_ERRO_TYPE);
    const BYTE data[1] = {};
    EXPECT_EQ(prot.DownloadData(0x2000, 1, data, 0), C_ERRO_ABORT_LENGTH_TOO_LOW);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(port.locks, 0);
}

TEST_F(CanOpenProtTest, AbortCodesOfTheNodeBecomeResults)
{
    const struct
    {
        DWORD abortCode;
        C_ERRO result;
    } rows[] = {
        {0x05030000, 800}, {0x05040000, 801}, {0x05040001, 802}, {0x05040002, 803}, {0x05040003, 804},
        {0x05040004, 805}, {0x05040005, 806}, {0x06010000, 807}, {0x06010001, 809}, {0x06010002, 810},
        {0x06020000, 811}, {0x06040041, 812}, {0x06040042, 813}, {0x06040043, 814}, {0x06040047, 815},
        {0x06060000, 816}, {0x06070010, 817}, {0x06070012, 818}, {0x06070013, 819}, {0x06090011, 820},
        {0x06090030, 821}, {0x06090031, 822}, {0x06090032, 823}, {0x06090036, 824}, {0x08000000, 825},
        {0x08000020, 826}, {0x08000021, 827}, {0x08000022, 828}, {0x08000023, 829}, {0x12345678, 825},
        {0x06010003, 825},
    };
    const BYTE data[2] = {1, 2};
    for (const auto& row : rows)
    {
        dictionary.writeAbort = row.abortCode;
        EXPECT_EQ(prot.DownloadData(0x2000, 1, data, 2), row.result) << std::hex << row.abortCode;
    }

    std::vector<BYTE> out;
    EXPECT_EQ(Upload(0x2000, 99, out, 4), 811) << "reading an object the node does not have";

    // An abort in the middle of a segmented download needs no index.
    dictionary.writeAbort = 0x06090031;
    const std::vector<BYTE> long_data = Pattern(12);
    port.tamper = [](int number, Message& answer)
    {
        if (number == 1)
            answer.data = {0x80, 0, 0, 0, 0x31, 0x00, 0x09, 0x06};
        return true;
    };
    EXPECT_EQ(prot.DownloadData(0x2000, 1, long_data.data(), 12), 822);
}

// Rows of answers broken in one way, for downloads and uploads, and the result each gives.
TEST_F(CanOpenProtTest, BrokenAnswersGiveProtocolErrorsAndReleaseThePort)
{
    dictionary.objects[{0x2000, 1}] = Pattern(20);
    dictionary.objects[{0x2000, 2}] = Pattern(2);
    const auto setByte = [](int which, size_t at, BYTE value)
    {
        return [=](int number, Message& answer)
        {
            if (number == which)
                answer.data[at] = value;
            return true;
        };
    };
    const auto drop = [](int which) { return [=](int number, Message&) { return number != which; }; };
    const auto shorten = [](int which)
    {
        return [=](int number, Message& answer)
        {
            if (number == which)
                answer.data.resize(6);
            return true;
        };
    };
    const auto lengthen = [](int which)
    {
        return [=](int number, Message& answer)
        {
            if (number == which)
                answer.data.resize(12, 0x55);
            return true;
        };
    };
    enum Transfer
    {
        ShortDownload,
        LongDownload,
        ShortUpload,
        LongUpload
    };
    const struct
    {
        const char* what;
        Transfer transfer;
        NodePort::Tamper tamper;
        C_ERRO result;
    } rows[] = {
        {"initiate answer for another subindex", ShortDownload, setByte(0, 3, 7), 853},
        {"initiate answer for another index", LongUpload, setByte(0, 1, 0x01), 853},
        {"abort for another object", ShortDownload,
         [](int, Message& a)
         {
             a.data = {0x80, 0x00, 0x20, 0x09, 0x00, 0x00, 0x02, 0x06};
             return true;
         },
         853},
        {"initiate answer with a foreign command", ShortDownload, setByte(0, 0, 0x43), 852},
        {"upload answer with a download command", ShortUpload, setByte(0, 0, 0x60), 852},
        {"segment answer with a foreign command", LongDownload, setByte(1, 0, 0x41), 852},
        {"upload segment with an upload initiate command", LongUpload, setByte(1, 0, 0x41), 852},
        {"no answer", ShortDownload, drop(0), 910},
        {"no answer to a segment", LongUpload, drop(2), 910},
        {"short message", ShortUpload, shorten(0), 851},
        {"long message", LongDownload, lengthen(1), 851},
        {"download segment answered with the wrong toggle", LongDownload, setByte(2, 0, 0x20), 854},
        {"upload segment with the wrong toggle", LongUpload, setByte(1, 0, 0x10), 854},
        {"upload initiate neither expedited nor sized", LongUpload, setByte(0, 0, 0x40), 850},
        {"final segment short of the announced size", LongUpload, setByte(3, 0, 0x0F), 855},
        {"segment beyond the announced size", LongUpload, setByte(0, 4, 10), 855},
        {"announced size above the capacity", LongUpload, setByte(0, 4, 200), 851},
    };
    for (const auto& row : rows)
    {
        port.tamper = row.tamper;
        port.locks = port.unlocks = 0;
        std::vector<BYTE> out;
        const std::vector<BYTE> data = Pattern(20);
        C_ERRO result = C_ERRO_OK;
        switch (row.transfer)
        {
        case ShortDownload:
            result = prot.DownloadData(0x2000, 2, data.data(), 2);
            break;
        case LongDownload:
            result = prot.DownloadData(0x2000, 1, data.data(), 20);
            break;
        case ShortUpload:
            result = Upload(0x2000, 2, out, 4);
            break;
        case LongUpload:
            result = Upload(0x2000, 1, out, 100);
            break;
        }
        EXPECT_EQ(result, row.result) << row.what;
        EXPECT_EQ(port.locks, 1) << row.what;
        EXPECT_EQ(port.unlocks, 1) << row.what;
        if (row.transfer == LongUpload)
        {
            EXPECT_EQ(out[100], 0xEE) << row.what << ": written past the capacity";
        }
    }
}

TEST_F(CanOpenProtTest, UploadsAreBoundedByTheCallersBuffer)
{
    dictionary.objects[{0x2000, 1}] = Pattern(4);
    std::vector<BYTE> out;
    EXPECT_EQ(Upload(0x2000, 1, out, 2), C_ERRO_LENGTH);
    EXPECT_EQ(out[0], 0xEE);

    dictionary.objects[{0x2000, 1}] = Pattern(30);
    EXPECT_EQ(Upload(0x2000, 1, out, 29), C_ERRO_LENGTH);
    EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(Upload(0x2000, 1, out, 30), C_ERRO_OK);
}

TEST_F(CanOpenProtTest, LockRefusedGivesNineHundredWithoutTraffic)
{
    port.lockGranted = FALSE;
    std::vector<BYTE> out;
    EXPECT_EQ(Upload(0x2000, 1, out, 4), C_ERRO_LOCK);
    const BYTE data[2] = {};
    EXPECT_EQ(prot.DownloadData(0x2000, 1, data, 2), C_ERRO_LOCK);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(port.unlocks, 0);

    CCanOpenProt portless;
    EXPECT_EQ(portless.DownloadData(0x2000, 1, data, 2), C_ERRO_LOCK);
}

TEST_F(CanOpenProtTest, AnswerFiltersFollowTheNodeAndLeaveWithTheObject)
{
    using Filter = std::pair<LONG, LONG>;
    EXPECT_EQ(port.filters, (std::multiset<Filter>{{0x7FF, 0x585}}));
    prot.SetAddress(7);
    EXPECT_EQ(port.filters, (std::multiset<Filter>{{0x7FF, 0x587}}));
    WORD node = 0;
    prot.GetAddress(&node);
    EXPECT_EQ(node, 7);
    {
        CCanOpenProt copy(prot);
        CCanOpenProt assigned(&port);
        assigned.SetAddress(3);
        assigned = prot;
        EXPECT_EQ(port.filters, (std::multiset<Filter>{{0x7FF, 0x587}, {0x7FF, 0x587}, {0x7FF, 0x587}}));
        EXPECT_EQ(assigned.GetTimeOut(), CCanOpenProt::DefaultTimeOut);
    }
    EXPECT_EQ(port.filters, (std::multiset<Filter>{{0x7FF, 0x587}}));
    {
        CCanOpenProt fresh(&port);
        WORD none = 0;
        fresh.GetAddress(&none);
        EXPECT_EQ(none, CCanOpenProt::NoNode);
    }
    EXPECT_EQ(port.filters.size(), 1u) << "an object without a node adds and removes nothing";
}

} // namespace
