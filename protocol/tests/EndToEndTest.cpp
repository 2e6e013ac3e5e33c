// The protocol object through the real port component, Porthaven, a pseudo-terminal and drivesim.
#include "DriveChain.h"

#include <protocol/MessageFile.h>
#include <protocol/SettingsString.h>

#include <gtest/gtest.h>

#include <memory>

using tvsk::com::MakeVariantR8;
using tvsk::com::Utf8FromBstr;

namespace
{
constexpr int kBinary = 0;
constexpr int kAscii = kAsciiDriveAddress;
} // namespace

class EndToEndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
    }
    void TearDown() override
    {
        EXPECT_EQ(chain->StopDrive(), 0) << "drivesim ends cleanly on SIGTERM";
        EXPECT_TRUE(chain->NothingLeftWithin(60000)) << "Porthaven ended with the last protocol object";
        chain.reset();
    }

    void StartDrive(const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(chain->StartDrive(options)) << chain->Error();
    }
    ComPtr<IVrnSer> Link(int address, int timeOut = 200)
    {
        HRESULT hr = E_FAIL;
        ComPtr<IVrnSer> link = chain->CreateLink(ChainSettings(address, timeOut), hr);
        EXPECT_EQ(hr, S_OK) << "Init at address " << address;
        return link;
    }

    static HRESULT Put(const ComPtr<IVrnSer>& link, LONG ipa, LONG bit, VARTYPE type, double value)
    {
        return link->put_Par(ipa, bit, static_cast<SHORT>(type), MakeVariantR8(value));
    }
    // The value read as a signed 32-bit number; a failed read gives a value no test expects.
    static LONG Get(const ComPtr<IVrnSer>& link, LONG ipa, LONG bit, VARTYPE type)
    {
        VARIANT value;
        VariantInit(&value);
        const HRESULT hr = link->get_Par(ipa, bit, static_cast<SHORT>(type), &value);
        EXPECT_EQ(hr, S_OK) << "parameter " << ipa << "." << bit << ", error " << ErrorCode(link);
        if (FAILED(hr))
            return 0x7FFFFFF0;
        switch (type)
        {
        case VT_UI2:
            return value.uiVal;
        case VT_I2:
            return value.iVal;
        default:
            return value.lVal;
        }
    }
    static SHORT ErrorCode(const ComPtr<IVrnSer>& link)
    {
        SHORT code = -1;
        link->get_ErrorCode(&code);
        return code;
    }
    static std::string ErrorString(const ComPtr<IVrnSer>& link)
    {
        BSTR text = nullptr;
        link->get_ErrorString(&text);
        const std::string result = Utf8FromBstr(text);
        SysFreeString(text);
        return result;
    }
    static std::string MessageText(int code)
    {
        CMessageTable messages;
        messages.Load(TVSK_BIN_DIR "/VRNSER.ERR");
        return messages.Lookup("ERR", code);
    }
    static std::vector<BYTE> ReadMemory(const ComPtr<IVrnSer>& link, LONG address, LONG length)
    {
        std::vector<BYTE> bytes(static_cast<size_t>(length) + 1, 0xEE);
        EXPECT_EQ(link->ReadMemory(address, length, reinterpret_cast<SHORT*>(bytes.data())), S_OK)
            << "error " << ErrorCode(link);
        EXPECT_EQ(bytes.back(), 0xEE) << "nothing written past the block";
        bytes.pop_back();
        return bytes;
    }
    static HRESULT WriteMemory(const ComPtr<IVrnSer>& link, LONG address, std::vector<BYTE> bytes)
    {
        return link->WriteMemory(address, static_cast<LONG>(bytes.size()),
                                 reinterpret_cast<SHORT*>(bytes.data()));
    }

    std::unique_ptr<CDriveChain> chain;
};

TEST_F(EndToEndTest, ParametersWrittenInEitherProtocolReachTheDriveAndReadBackInBoth)
{
    StartDrive();
    auto binary = Link(kBinary);
    auto ascii = Link(kAscii);
    ASSERT_TRUE(binary && ascii);

    EXPECT_EQ(Get(binary, 2, 0, VT_UI2), 2050) << "the drive type code the parameter file sets";
    EXPECT_EQ(Get(ascii, 2, 0, VT_UI2), 2050);

    EXPECT_EQ(Put(binary, 10, 9, VT_BOOL, 1), S_OK);
    EXPECT_EQ(Put(binary, 20, 0, VT_UI2, 54321), S_OK);
    EXPECT_EQ(Put(binary, 30, 0, VT_I4, -100000), S_OK);
    for (const auto& link : {binary, ascii})
    {
        EXPECT_EQ(Get(link, 10, 9, VT_BOOL), 1);
        EXPECT_EQ(Get(link, 10, 8, VT_BOOL), 0);
        EXPECT_EQ(Get(link, 20, 0, VT_UI2), 54321);
        EXPECT_EQ(Get(link, 30, 0, VT_I4), -100000);
    }

    EXPECT_EQ(Put(ascii, 10, 9, VT_BOOL, 0), S_OK);
    EXPECT_EQ(Put(ascii, 11, 3, VT_BOOL, 1), S_OK);
    EXPECT_EQ(Put(ascii, 21, 0, VT_I2, -1234), S_OK);
    EXPECT_EQ(Put(ascii, 32, 0, VT_I4, 0x12345678), S_OK);
    for (const auto& link : {binary, ascii})
    {
        EXPECT_EQ(Get(link, 10, 9, VT_BOOL), 0);
        EXPECT_EQ(Get(link, 11, 3, VT_BOOL), 1);
        EXPECT_EQ(Get(link, 11, 0, VT_UI2), 0x8);
        EXPECT_EQ(Get(link, 21, 0, VT_I2), -1234);
        EXPECT_EQ(Get(link, 32, 0, VT_I4), 0x12345678);
        EXPECT_EQ(ErrorCode(link), DLE_OK);
    }
}

TEST_F(EndToEndTest, MemoryBlocksOfOddLengthAreWrittenAndReadBackInBothProtocols)
{
    StartDrive();
    auto binary = Link(kBinary);
    auto ascii = Link(kAscii);
    ASSERT_TRUE(binary && ascii);

    ASSERT_EQ(WriteMemory(binary, 0x100, {0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA}), S_OK);
    const std::vector<BYTE> before = ReadMemory(binary, 0x100, 9);
    const std::vector<BYTE> block{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    ASSERT_EQ(WriteMemory(binary, 0x100, block), S_OK) << "error " << ErrorCode(binary);
    std::vector<BYTE> expected = block;
    expected.insert(expected.end(), before.begin() + 7, before.end());
    EXPECT_EQ(ReadMemory(binary, 0x100, 9), expected) << "the bytes after the block kept";
    EXPECT_EQ(ReadMemory(ascii, 0x100, 9), expected);
    EXPECT_EQ(ReadMemory(ascii, 0x101, 5), (std::vector<BYTE>{0x22, 0x33, 0x44, 0x55, 0x66})) << "odd start";

    ASSERT_EQ(WriteMemory(ascii, 0x204, {0xA1, 0xB2, 0xC3, 0xD4, 0xE5}), S_OK)
        << "error " << ErrorCode(ascii);
    EXPECT_EQ(ReadMemory(binary, 0x204, 5), (std::vector<BYTE>{0xA1, 0xB2, 0xC3, 0xD4, 0xE5}));
    EXPECT_EQ(ReadMemory(binary, 0x205, 3), (std::vector<BYTE>{0xB2, 0xC3, 0xD4}));
}

TEST_F(EndToEndTest, ASilentDriveIsATimeOutWithItsCodeResultAndText)
{
    StartDrive({"--fault", "silent"});
    for (int address : {kBinary, kAscii})
    {
        auto link = Link(address, 100);
        ASSERT_TRUE(link);
        VARIANT value;
        VariantInit(&value);
        EXPECT_EQ(link->get_Par(20, 0, VT_UI2, &value), VRNSER_E_TRANSFER) << address;
        EXPECT_EQ(ErrorCode(link), DLE_NO_REPLY) << address;
        LONG timedOut = 0;
        link->get_ErrTimeOut(&timedOut);
        EXPECT_EQ(timedOut, 1) << address;
        EXPECT_EQ(ErrorString(link), MessageText(DLE_NO_REPLY)) << address;
        EXPECT_FALSE(ErrorString(link).empty());
        EXPECT_EQ(Put(link, 20, 0, VT_UI2, 5), VRNSER_E_TRANSFER) << address;
        EXPECT_EQ(ErrorCode(link), DLE_NO_REPLY) << address;
    }
}

TEST_F(EndToEndTest, ASpoiledChecksumIsAChecksumError)
{
    StartDrive({"--fault", "corrupt"});
    auto link = Link(kBinary);
    ASSERT_TRUE(link);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(link->get_Par(20, 0, VT_UI2, &value), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(link), DLE_CHECKSUM);
    LONG timedOut = -1;
    link->get_ErrTimeOut(&timedOut);
    EXPECT_EQ(timedOut, 0);
    EXPECT_EQ(ErrorString(link), MessageText(DLE_CHECKSUM));
}

TEST_F(EndToEndTest, AReplyNamingAnotherParameterIsRefused)
{
    StartDrive({"--fault", "header"});
    auto link = Link(kBinary);
    ASSERT_TRUE(link);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(link->get_Par(20, 0, VT_UI2, &value), VRNSER_E_TRANSFER);
    EXPECT_EQ(ErrorCode(link), DLE_BAD_REPLY);
    EXPECT_EQ(ErrorString(link), MessageText(DLE_BAD_REPLY));
}

TEST_F(EndToEndTest, TwoProcessesOnOnePortAreSerialisedByTheLock)
{
    StartDrive();
    constexpr int kRounds = 60;
    auto link = Link(kAscii);
    ASSERT_TRUE(link);
    // The other process speaks binary frames, this one ASCII commands: any interleaving on the
    // line would spoil replies on both sides.
    const pid_t other =
        StartProgram(VRNSER_TEST_CLIENT, {ChainSettings(kBinary), "50", std::to_string(kRounds)});
    ASSERT_GT(other, 0);
    int failures = 0;
    for (int i = 0; i < kRounds; ++i)
    {
        if (Put(link, 51, 0, VT_UI2, 2000 + i) != S_OK || Get(link, 51, 0, VT_UI2) != 2000 + i)
            ++failures;
    }
    EXPECT_EQ(ExitCodeOf(other), 0) << "every round of the other process succeeded";
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(Get(link, 50, 0, VT_UI2), 1000 + kRounds - 1);
    EXPECT_EQ(Get(link, 51, 0, VT_UI2), 2000 + kRounds - 1);
}
