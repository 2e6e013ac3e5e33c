#include "VrnSerTestFixture.h"

#include <protocol/MemoryWindow.h>

#include <cmath>
#include <limits>

using namespace tvsk::com;

class VrnSerTest : public VrnSerFixture
{
};

TEST_F(VrnSerTest, InitOpensThePortWithThePortPart)
{
    ASSERT_EQ(Init("VrnSer:1000,500#COM:3,19200,N,8,1"), S_OK);
    EXPECT_EQ(Port().openText, "COM:3,19200,N,8,1");
    LONG active = 0;
    vrnser->get_Active(&active);
    EXPECT_EQ(active, 1);
    SHORT address = -1, port = 0, timeOut = 0;
    vrnser->get_Address(&address);
    vrnser->get_Port(&port);
    vrnser->get_TimeOut(&timeOut);
    EXPECT_EQ(address, 0);
    EXPECT_EQ(port, 7);
    EXPECT_EQ(timeOut, 500);
    EXPECT_EQ(ConfString(), "VrnSer:1000,500#COM:3,19200,N,8,1");
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(VrnSerTest, APortPartAloneKeepsTheProtocolValues)
{
    ASSERT_EQ(Init("VrnSer:3,250#COM:5,38400,O,7,1"), S_OK);
    ASSERT_EQ(Init("COM:2"), S_OK);
    EXPECT_EQ(Port().openText, "COM:2,9600,E,8,1");
    EXPECT_EQ(ConfString(), "VrnSer:3,250#COM:2,9600,E,8,1");
}

TEST_F(VrnSerTest, ARefusedPartIsReportedYetThePortOpens)
{
    EXPECT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,2"), S_OK);
    EXPECT_EQ(ErrorCode(), DLE_BAD_FRAME);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.captions[0], "VrnSer");
    EXPECT_EQ(Port().openText, "COM:1,9600,E,8,1");

    EXPECT_EQ(Init("Other:1#COM:4,19200,E,8,1"), S_OK);
    EXPECT_EQ(ErrorCode(), DLE_BAD_PROTOCOL);
    EXPECT_EQ(Port().openText, "COM:4,19200,E,8,1");
    EXPECT_EQ(sink.texts.size(), 2u);
}

TEST_F(VrnSerTest, InitFailuresHaveTheirCodesAndResults)
{
    EXPECT_EQ(vrnser->Init(nullptr), VRNSER_E_NO_SETTINGS);
    EXPECT_EQ(ErrorCode(), DLE_NO_SETTINGS);

    ports.opens = false;
    EXPECT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), VRNSER_E_OPEN_FAILED);
    EXPECT_EQ(ErrorCode(), DLE_OPEN_FAILED);
    LONG active = 1;
    vrnser->get_Active(&active);
    EXPECT_EQ(active, 0);

    VARIANT value;
    EXPECT_EQ(Get(1, 0, VT_UI2, value), VRNSER_E_NOT_OPEN);
    EXPECT_EQ(ErrorCode(), DLE_NOT_OPEN);
    EXPECT_EQ(PutR8(1, 0, VT_UI2, 1), VRNSER_E_NOT_OPEN);
    EXPECT_EQ(sink.texts.size(), 4u);

    ports.creates = false;
    EXPECT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), VRNSER_E_OPEN_FAILED);
}

TEST_F(VrnSerTest, ParametersOfEveryWidthReachTheDriveAndReadBackInBinary)
{
    ASSERT_EQ(Init("VrnSer:3,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(PutR8(10, 9, VT_BOOL, 1), S_OK);
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 54321), S_OK);
    EXPECT_EQ(PutR8(30, 0, VT_I4, -100000), S_OK);
    EXPECT_EQ(PutR8(40, 0, VT_UI1, 0x1AB), S_OK);
    EXPECT_TRUE(Drive(3).ParameterBit(10, 9));
    EXPECT_EQ(Drive(3).Parameter(20, 2), 54321u);
    EXPECT_EQ(Drive(3).Parameter(30, 4), static_cast<DWORD>(-100000));
    EXPECT_EQ(Drive(3).Parameter(40, 2), 0xABu);
    EXPECT_EQ(Drive(0).Parameter(20, 2), 0u);

    VARIANT value;
    ASSERT_EQ(Get(10, 9, VT_BOOL, value), S_OK);
    EXPECT_EQ(value.vt, VT_BOOL);
    EXPECT_EQ(value.lVal, 1);
    ASSERT_EQ(Get(10, 8, VT_BOOL, value), S_OK);
    EXPECT_EQ(value.lVal, 0);
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(value.vt, VT_UI2);
    EXPECT_EQ(value.uiVal, 54321);
    ASSERT_EQ(Get(30, 0, VT_I4, value), S_OK);
    EXPECT_EQ(value.lVal, -100000);
    ASSERT_EQ(Get(40, 0, VT_UI1, value), S_OK);
    EXPECT_EQ(value.lVal, 0xAB);
    EXPECT_EQ(ErrorCode(), DLE_OK);
}

TEST_F(VrnSerTest, ParametersOfEveryWidthReachTheDriveAndReadBackInAscii)
{
    ASSERT_EQ(Init("VrnSer:1000,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(PutR8(10, 9, VT_BOOL, 1), S_OK);
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 54321), S_OK);
    EXPECT_EQ(PutR8(30, 0, VT_I4, -100000), S_OK);
    EXPECT_EQ(PutR8(0x4002, 0, VT_I2, -2), S_OK);
    EXPECT_EQ(std::string(Port().writes[1].begin(), Port().writes[1].end()), "X20=54321\r");
    EXPECT_TRUE(Drive().ParameterBit(10, 9));
    EXPECT_EQ(Drive().Parameter(20, 2), 54321u);
    EXPECT_EQ(Drive().Parameter(30, 4), static_cast<DWORD>(-100000));
    EXPECT_EQ(Drive().MemoryByte(4), 0xFE);

    VARIANT value;
    ASSERT_EQ(Get(10, 9, VT_BOOL, value), S_OK);
    EXPECT_EQ(value.lVal, 1);
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(value.uiVal, 54321);
    ASSERT_EQ(Get(30, 0, VT_I4, value), S_OK);
    EXPECT_EQ(value.lVal, -100000);
    ASSERT_EQ(Get(0x4002, 0, VT_I2, value), S_OK);
    EXPECT_EQ(value.iVal, -2);
}

TEST_F(VrnSerTest, ArgumentsOutOfRangeAreRefusedBeforeAnythingIsSent)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    struct Row
    {
        const char* what;
        LONG ipa;
        LONG subI;
        VARTYPE type;
        int error;
    };
    const Row rows[] = {
        {"parameter 9000", 9000, 0, VT_UI2, DLE_BAD_INDEX},
        {"negative parameter", -1, 0, VT_UI2, DLE_BAD_INDEX},
        {"between the areas", 0x3FFF, 0, VT_UI2, DLE_BAD_INDEX},
        {"past the memory", 0x4201, 0, VT_UI2, DLE_BAD_INDEX},
        {"bit 16", 10, 16, VT_BOOL, DLE_BAD_INDEX},
        {"aliases parameter 0 in a binary frame", 4096, 0, VT_UI2, DLE_BAD_INDEX},
        {"memory with a bit", 0x4000, 0, VT_BOOL, DLE_BAD_TYPE},
        {"memory with a byte", 0x4000, 0, VT_UI1, DLE_BAD_TYPE},
        {"real type", 10, 0, VT_R8, DLE_BAD_TYPE},
        {"string type", 10, 0, VT_BSTR, DLE_BAD_TYPE},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(PutR8(row.ipa, row.subI, row.type, 1), E_INVALIDARG) << row.what;
        EXPECT_EQ(ErrorCode(), row.error) << row.what;
        VARIANT value;
        EXPECT_EQ(Get(row.ipa, row.subI, row.type, value), E_INVALIDARG) << row.what;
        EXPECT_EQ(value.vt, VT_EMPTY) << row.what;
    }
    EXPECT_TRUE(Port().writes.empty());
    EXPECT_EQ(sink.texts.size(), 2 * std::size(rows));
}

TEST_F(VrnSerTest, DriveAddressesBeyondTheCommandByteAreRefusedInBinaryOnly)
{
    ASSERT_EQ(Init("VrnSer:32,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 1), E_INVALIDARG);
    EXPECT_EQ(ErrorCode(), DLE_BAD_INDEX);
    EXPECT_TRUE(Port().writes.empty());

    ASSERT_EQ(Init("VrnSer:1000,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(PutR8(5000, 0, VT_UI2, 7), S_OK);
    EXPECT_EQ(Drive().Parameter(5000, 2), 7u);
}

TEST_F(VrnSerTest, AsciiRefusesParametersThatWouldBeSentAsMemoryWords)
{
    ASSERT_EQ(Init("VrnSer:1000,200#COM:1,9600,E,8,1"), S_OK);
    for (LONG ipa : {4096, 4352, 4608})
    {
        VARIANT value;
        EXPECT_EQ(Get(ipa, 0, VT_UI2, value), E_INVALIDARG) << ipa;
        EXPECT_EQ(ErrorCode(), DLE_BAD_INDEX) << ipa;
        EXPECT_EQ(PutR8(ipa, 0, VT_UI2, 1), E_INVALIDARG) << ipa;
    }
    EXPECT_TRUE(Port().writes.empty());
    EXPECT_EQ(PutR8(4095, 0, VT_UI2, 3), S_OK);
    EXPECT_EQ(PutR8(4609, 0, VT_UI2, 4), S_OK);
    EXPECT_EQ(Drive().Parameter(4609, 2), 4u);
}

TEST_F(VrnSerTest, TypeZeroTakesTheWidthFromTheVariant)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    VARIANT word;
    VariantInit(&word);
    word.vt = VT_UI2;
    word.uiVal = 0xBEEF;
    EXPECT_EQ(Put(20, 0, 0, word), S_OK);
    EXPECT_EQ(Drive().Parameter(20, 4), 0xBEEFu);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    ASSERT_EQ(vrnser->get_Par(20, 0, 0, &value), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 0xBEEF);
}

TEST_F(VrnSerTest, PutValuesAreTakenByTheVariantsOwnType)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    struct Row
    {
        const char* what;
        VARIANT value;
        DWORD raw;
    };
    auto make = [](VARTYPE vt, auto set)
    {
        VARIANT v;
        VariantInit(&v);
        v.llVal = 0;
        v.vt = vt;
        set(v);
        return v;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"VT_I2 sign-extended", make(VT_I2, [](VARIANT& v) { v.iVal = -2; }), 0xFFFFFFFEu},
        {"VT_UI2 zero-extended", make(VT_UI2, [](VARIANT& v) { v.uiVal = 0xFFFE; }), 0xFFFEu},
        {"VT_I1 sign-extended", make(VT_I1, [](VARIANT& v) { v.cVal = -3; }), 0xFFFFFFFDu},
        {"VT_UI1 zero-extended", make(VT_UI1, [](VARIANT& v) { v.bVal = 0xFD; }), 0xFDu},
        {"VT_BOOL true is -1", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), 0xFFFFFFFFu},
        {"VT_R8 truncated toward zero", MakeVariantR8(-2.9), 0xFFFFFFFEu},
        {"VT_R4 truncated", make(VT_R4, [](VARIANT& v) { v.fltVal = 7.9f; }), 7u},
        {"VT_R8 beyond 32 bits clamped", MakeVariantR8(1e12), 0xFFFFFFFFu},
        {"VT_R8 below clamped", MakeVariantR8(-1e12), 0x80000000u},
        {"VT_R8 unsigned 32-bit kept", MakeVariantR8(4000000000.0), 4000000000u},
        {"VT_R8 NaN", MakeVariantR8(nan), 0u},
        {"VT_EMPTY gives 0", make(VT_EMPTY, [](VARIANT&) {}), 0u},
    };
    for (const Row& row : rows)
    {
        Drive().SetParameter(30, 4, 0x12345678);
        EXPECT_EQ(Put(30, 0, VT_UI4, row.value), S_OK) << row.what;
        EXPECT_EQ(Drive().Parameter(30, 4), row.raw) << row.what;
    }
    EXPECT_EQ(Put(10, 4, VT_BOOL, make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; })), S_OK);
    EXPECT_EQ(Drive().Parameter(10, 2), 0x10u) << "a true bit sets only its own bit";
}

TEST_F(VrnSerTest, TransferFailuresHaveTheirCodesTextsAndResults)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    struct Row
    {
        ReplyFault fault;
        int error;
        LONG errTimeOut;
    };
    const Row rows[] = {
        {ReplyFault::Silent, DLE_NO_REPLY, 1},
        {ReplyFault::Corrupt, DLE_CHECKSUM, 0},
        {ReplyFault::WrongHeader, DLE_BAD_REPLY, 0},
    };
    CMessageTable messages;
    messages.Load(TVSK_SAMPLE_DATA_DIR "/VRNSER.ERR");
    Drive().SetParameter(20, 2, 77);
    for (const Row& row : rows)
    {
        line.SetFault(row.fault);
        VARIANT value;
        VariantInit(&value);
        EXPECT_EQ(Get(20, 0, VT_UI2, value), VRNSER_E_TRANSFER);
        EXPECT_EQ(value.vt, VT_UI2);
        EXPECT_EQ(value.lVal, 0);
        EXPECT_EQ(ErrorCode(), row.error);
        LONG flag = -1, success = -1;
        vrnser->get_ErrTimeOut(&flag);
        vrnser->get_Success(&success);
        EXPECT_EQ(flag, row.errTimeOut);
        EXPECT_EQ(success, 0);
        BSTR text = nullptr;
        vrnser->get_ErrorString(&text);
        EXPECT_EQ(Utf8FromBstr(text), messages.Lookup("ERR", row.error));
        EXPECT_EQ(sink.texts.back(), messages.Lookup("ERR", row.error));
        SysFreeString(text);
    }
    EXPECT_EQ(sink.texts.size(), std::size(rows));
    line.SetFault(ReplyFault::None);
    VARIANT value;
    EXPECT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(value.lVal, 77);
    EXPECT_EQ(ErrorCode(), DLE_OK);
}

TEST_F(VrnSerTest, WriteFailuresAreReportedInBothProtocols)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    line.SetFault(ReplyFault::Silent);
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 1), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_NO_REPLY);

    line.SetFault(ReplyFault::None);
    vrnser->put_Address(5); // no drive there: the drive 3 must not take it for its own
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 1), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_NO_REPLY);

    ASSERT_EQ(Init("VrnSer:1000,200#COM:1,9600,E,8,1"), S_OK);
    line.SetFault(ReplyFault::Silent);
    EXPECT_EQ(PutR8(20, 0, VT_I4, 1), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_NO_REPLY);
}

TEST_F(VrnSerTest, AnAsciiReplyThatIsNoNumberFailsYetGivesItsValue)
{
    ASSERT_EQ(Init("VrnSer:1000,200#COM:1,9600,E,8,1"), S_OK);
    Drive().SetParameter(20, 2, 12);
    line.SetFault(ReplyFault::Corrupt);
    VARIANT value;
    EXPECT_EQ(Get(20, 0, VT_I2, value), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_BAD_REPLY);
    EXPECT_EQ(value.vt, VT_I2);
    EXPECT_EQ(value.lVal, 12);

    line.SetFault(ReplyFault::Silent);
    EXPECT_EQ(Get(20, 0, VT_I2, value), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_NO_REPLY);
    EXPECT_EQ(value.vt, VT_EMPTY);
}

TEST_F(VrnSerTest, TransactionsKeepTheirGapAndBackOff)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    VARIANT value;
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    const std::vector<DWORD>& times = Port().writeTimes;
    EXPECT_EQ(times[1] - times[0], kTransactionGap);

    line.SetFault(ReplyFault::Silent);
    EXPECT_EQ(Get(20, 0, VT_UI2, value), VRNSER_E_TRANSFER);
    line.SetFault(ReplyFault::None);
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(times[3] - times[2], kFailureBackOff + kTransactionGap);

    Port().lockSucceeds = false;
    EXPECT_EQ(Get(20, 0, VT_UI2, value), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(), DLE_PORT_BUSY);
    const DWORD refused = clock.now;
    Port().lockSucceeds = true;
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(times[4] - refused, kFailureBackOff + kTransactionGap);
}

TEST_F(VrnSerTest, TheGapSurvivesTheTickCountersWrap)
{
    clock.now = 0xFFFFFFF0u;
    CVrnSer* wrapping = new CVrnSer({ports, clock, &sink, ""});
    ComPtr<IVrnSer> object(wrapping);
    BSTR text = BstrFromUtf8("VrnSer:0,200#COM:1,9600,E,8,1");
    ASSERT_EQ(object->Init(text), S_OK);
    SysFreeString(text);
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(object->get_Par(20, 0, VT_UI2, &value), S_OK);
    ASSERT_EQ(object->get_Par(20, 0, VT_UI2, &value), S_OK);
    EXPECT_EQ(clock.slept, 2 * kTransactionGap);
    EXPECT_LT(clock.now, 0x100u);
}

TEST_F(VrnSerTest, EachTransactionLocksPurgesWritesReadsAndUnlocks)
{
    ASSERT_EQ(Init("VrnSer:0,321#COM:1,9600,E,8,1"), S_OK);
    Port().calls.clear();
    VARIANT value;
    ASSERT_EQ(Get(20, 0, VT_UI2, value), S_OK);
    EXPECT_EQ(Port().calls, (std::vector<std::string>{"Lock", "Reset", "Write", "Unlock"}));
    EXPECT_EQ(Port().timeouts, std::vector<WORD>(7, 321))
        << "one read per reply byte with the reply time-out";
}

TEST_F(VrnSerTest, WritesWithoutAcknowledgeOnlySend)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    EXPECT_EQ(vrnser->Packet(PKT_ACK_OFF, nullptr, 0, nullptr, nullptr), S_OK);
    Port().calls.clear();
    const DWORD before = clock.now;
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 9), S_OK);
    EXPECT_EQ(Port().calls, (std::vector<std::string>{"Lock", "Write", "Unlock"}));
    EXPECT_EQ(Drive().Parameter(20, 2), 9u);
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 10), S_OK);
    EXPECT_EQ(clock.now - before, kTransactionGap) << "the time of the last transaction stays";

    EXPECT_EQ(vrnser->Packet(PKT_ACK_ON, nullptr, 0, nullptr, nullptr), S_OK);
    Port().calls.clear();
    EXPECT_EQ(PutR8(20, 0, VT_UI2, 11), S_OK);
    EXPECT_EQ(Port().calls, (std::vector<std::string>{"Lock", "Reset", "Write", "Unlock"}));
}

TEST_F(VrnSerTest, MessageBoxesFollowMsgOn)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    line.SetFault(ReplyFault::Silent);
    EXPECT_EQ(vrnser->put_MsgOn(0), S_OK);
    VARIANT value;
    EXPECT_EQ(Get(20, 0, VT_UI2, value), VRNSER_E_TRANSFER);
    EXPECT_EQ(PutR8(9000, 0, VT_UI2, 1), E_INVALIDARG);
    EXPECT_TRUE(sink.texts.empty());

    EXPECT_EQ(vrnser->put_MsgOn(5), S_OK);
    LONG on = 0;
    vrnser->get_MsgOn(&on);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(Get(20, 0, VT_UI2, value), VRNSER_E_TRANSFER);
    EXPECT_EQ(sink.texts.size(), 1u);
    SHORT buffer[8];
    EXPECT_EQ(vrnser->ReadMemory(0, 16, buffer), VRNSER_E_TRANSFER);
    EXPECT_EQ(sink.texts.size(), 2u) << "a failing block read shows one box";
}

TEST_F(VrnSerTest, AMissingMessageTextShowsTheCode)
{
    CVrnSer* bare = new CVrnSer({ports, clock, &sink, ""});
    ComPtr<IVrnSer> object(bare);
    EXPECT_EQ(object->Init(nullptr), VRNSER_E_NO_SETTINGS);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], "Err: 11");
    // An out parameter is written over, not freed: the test keeps what it put there.
    const BSTR before = BstrFromUtf8("x");
    BSTR text = before;
    EXPECT_EQ(object->get_ErrorString(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    SysFreeString(before);
}

TEST_F(VrnSerTest, PacketCommands)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    BYTE answer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    LONG length = 1;
    EXPECT_EQ(vrnser->Packet(PKT_IS_MODEM, answer, 1, answer, &length), VRNSER_E_TRANSFER);
    EXPECT_EQ(vrnser->Packet(99, answer, 1, answer, &length), VRNSER_E_TRANSFER);
    EXPECT_EQ(answer[0], 0xAA);
    EXPECT_EQ(length, 1);

    BYTE probe[3] = {0x10, 0x00, VT_UI2};
    EXPECT_EQ(vrnser->Packet(PKT_SET_PROBE, probe, 3, nullptr, nullptr), S_OK);
    EXPECT_EQ(vrnser->Packet(PKT_SET_PROBE, nullptr, 0, nullptr, nullptr), E_POINTER);

    Port().pending = {1, 2, 3};
    BYTE count[2] = {10, 0};
    BYTE raw[10] = {};
    length = 0;
    EXPECT_EQ(vrnser->Packet(PKT_RAW_READ, count, 2, raw, &length), S_OK);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(raw[2], 3);
    EXPECT_EQ(Port().timeouts.back(), 0xFFFF) << "raw bytes are read without waiting";

    Port().pending = {1, 2, 3};
    length = 2;
    EXPECT_EQ(vrnser->Packet(PKT_RAW_READ, count, 2, raw, &length), S_OK);
    EXPECT_EQ(length, 2) << "a positive length bounds the read";
    EXPECT_EQ(vrnser->Packet(PKT_RAW_READ, count, 2, nullptr, &length), E_POINTER);

    BSTR can = BstrFromUtf8("VrnSer:0,200#CANUSB:0,250000,1");
    EXPECT_EQ(vrnser->put_ConfString(can), S_OK);
    SysFreeString(can);
    EXPECT_EQ(vrnser->Packet(PKT_RAW_READ, count, 2, raw, &length), VRNSER_E_TRANSFER);
}

TEST_F(VrnSerTest, ConfStringPutParsesOnlyAWholeString)
{
    BSTR text = BstrFromUtf8("VrnSer:1000,500#COM:3,19200,N,8,1");
    EXPECT_EQ(vrnser->put_ConfString(text), S_OK);
    SysFreeString(text);
    EXPECT_EQ(ConfString(), "VrnSer:1000,500#COM:3,19200,N,8,1");
    EXPECT_EQ(ports.last.Get(), nullptr) << "the port is not opened";

    text = BstrFromUtf8("COM:4,38400,O,8,1");
    EXPECT_EQ(vrnser->put_ConfString(text), S_OK);
    SysFreeString(text);
    EXPECT_EQ(ConfString(), "VrnSer:1000,500#COM:1,9600,E,8,1") << "port fields reset, the one part ignored";

    text = BstrFromUtf8("VrnSer:2,100#MODEM:2,9600,E,8,1,555^1");
    EXPECT_EQ(vrnser->put_ConfString(text), S_OK);
    SysFreeString(text);
    SHORT port = 0;
    vrnser->get_Port(&port);
    EXPECT_EQ(port, 8198);
    EXPECT_EQ(ConfString(), "VrnSer:2,100#MODEM:2,9600,E,8,1,555^1");
}

TEST_F(VrnSerTest, FixedAndUnimplementedMembers)
{
    BSTR name = nullptr;
    EXPECT_EQ(vrnser->get_Protocol(&name), S_OK);
    EXPECT_EQ(Utf8FromBstr(name), "VrnSer");
    EXPECT_EQ(vrnser->put_Protocol(name), E_ACCESSDENIED);
    SysFreeString(name);
    LONG option = 0;
    EXPECT_EQ(vrnser->get_Option(&option), E_NOTIMPL);
    EXPECT_EQ(vrnser->EraseFlash(), E_NOTIMPL);
    EXPECT_EQ(vrnser->put_Port(-1), S_OK);
    SHORT port = 0;
    vrnser->get_Port(&port);
    EXPECT_EQ(port, -1);
    ComPtr<ISupportErrorInfo> errors = vrnser.As<ISupportErrorInfo>();
    ASSERT_TRUE(errors);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IVrnSer::Iid), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IDeviceLink::Iid), S_FALSE);
    EXPECT_TRUE(vrnser.As<IDeviceLink>());
}

TEST_F(VrnSerTest, ParIsReachedThroughDispatch)
{
    ASSERT_EQ(Init("VrnSer:0,200#COM:1,9600,E,8,1"), S_OK);
    Drive().SetParameter(20, 2, 4242);
    ComPtr<IDispatch> dispatch = vrnser.As<IDispatch>();
    LPOLESTR name = const_cast<LPOLESTR>(u"par");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 0x60020015);
    VARIANT args[3] = {MakeVariantI4(VT_UI2), MakeVariantI4(0), MakeVariantI4(20)};
    DISPPARAMS params{args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_UI2);
    EXPECT_EQ(result.uiVal, 4242);
}

TEST_F(VrnSerTest, TheSystemTickClockSpacesTransactions)
{
    CSystemTickClock system;
    ComPtr<IVrnSer> object(new CVrnSer({ports, system, &sink, ""}));
    BSTR text = BstrFromUtf8("VrnSer:0,200#COM:1,9600,E,8,1");
    ASSERT_EQ(object->Init(text), S_OK);
    SysFreeString(text);
    VARIANT value;
    VariantInit(&value);
    const DWORD start = system.Now();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(object->get_Par(20, 0, VT_UI2, &value), S_OK);
    // The gap is kept on a millisecond tick count: each one may end up to a tick early.
    EXPECT_GE(system.Now() - start, 5 * (kTransactionGap - 1));
}
