#include <tools/fakeports/CanOpenNode.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace fakeports;

namespace
{

CanMessage Request(std::uint32_t id, std::array<std::uint8_t, 8> data)
{
    CanMessage m;
    m.id = id;
    m.length = 8;
    m.data = data;
    return m;
}

std::uint32_t AbortCode(const CanMessage& m)
{
    std::uint32_t code;
    std::memcpy(&code, &m.data[4], sizeof code);
    return code;
}

class CanOpenNodeTest : public testing::Test
{
protected:
    CanMessage Ask(std::array<std::uint8_t, 8> data)
    {
        const auto answers = node.Answer(Request(0x605, data));
        EXPECT_EQ(answers.size(), 1u);
        if (answers.empty())
            return {};
        EXPECT_EQ(answers[0].id, 0x585u);
        EXPECT_EQ(answers[0].length, 8);
        return answers[0];
    }

    // Uploads by segments after an initiate answer announcing the size.
    std::string UploadSegments(std::uint32_t announced)
    {
        std::string bytes;
        std::uint8_t toggle = 0;
        for (;;)
        {
            const CanMessage segment =
                Ask({static_cast<std::uint8_t>(0x60 | (toggle << 4)), 0, 0, 0, 0, 0, 0, 0});
            EXPECT_EQ((segment.data[0] >> 4) & 1, toggle);
            const size_t count = 7 - ((segment.data[0] >> 1) & 7);
            bytes.append(reinterpret_cast<const char*>(&segment.data[1]), count);
            if (segment.data[0] & 1)
                break;
            toggle ^= 1;
        }
        EXPECT_EQ(bytes.size(), announced);
        return bytes;
    }

    CanOpenNode node{5};
};

} // namespace

TEST_F(CanOpenNodeTest, ExpeditedDownloadIsStoredAndUploadedAgain)
{
    const CanMessage written = Ask({0x2B, 0x00, 0x20, 0x06, 0x34, 0x12, 0xEE, 0xEE});
    EXPECT_EQ(written.data[0], 0x60);
    EXPECT_EQ(written.data[1], 0x00);
    EXPECT_EQ(written.data[2], 0x20);
    EXPECT_EQ(written.data[3], 0x06);

    const CanMessage read = Ask({0x40, 0x00, 0x20, 0x06, 0, 0, 0, 0});
    EXPECT_EQ(read.data[0], 0x4B) << "expedited, size given, two bytes";
    EXPECT_EQ(read.data[4], 0x34);
    EXPECT_EQ(read.data[5], 0x12);
}

TEST_F(CanOpenNodeTest, LongValuesTravelInToggledSegments)
{
    const CanMessage started = Ask({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0});
    EXPECT_EQ(started.data[0], 0x41);
    std::uint32_t size;
    std::memcpy(&size, &started.data[4], sizeof size);
    EXPECT_EQ(UploadSegments(size), "TK40 fake CANopen drive");

    const std::string text = "twelve bytes";
    Ask({0x21, 0x00, 0x30, 0x01, static_cast<std::uint8_t>(text.size()), 0, 0, 0});
    const CanMessage first = Ask({0x00, 't', 'w', 'e', 'l', 'v', 'e', ' '});
    EXPECT_EQ(first.data[0], 0x20);
    const CanMessage last = Ask({0x10 | (2 << 1) | 1, 'b', 'y', 't', 'e', 's', 0, 0});
    EXPECT_EQ(last.data[0], 0x30);
    Ask({0x40, 0x00, 0x30, 0x01, 0, 0, 0, 0});
    EXPECT_EQ(UploadSegments(static_cast<std::uint32_t>(text.size())), text);
}

TEST_F(CanOpenNodeTest, FaultsAreAnsweredWithAbortCodes)
{
    const CanMessage missing = Ask({0x40, 0x34, 0x12, 0x01, 0, 0, 0, 0});
    EXPECT_EQ(missing.data[0], 0x80);
    EXPECT_EQ(missing.data[1], 0x34);
    EXPECT_EQ(missing.data[2], 0x12);
    EXPECT_EQ(AbortCode(missing), 0x06020000u);

    Ask({0x40, 0x08, 0x10, 0x00, 0, 0, 0, 0});
    EXPECT_EQ(AbortCode(Ask({0x70, 0, 0, 0, 0, 0, 0, 0})), 0x05030000u) << "first segment must have toggle 0";
    EXPECT_EQ(AbortCode(Ask({0xE0, 0, 0, 0, 0, 0, 0, 0})), 0x05040001u);

    EXPECT_TRUE(node.Answer(Request(0x606, {0x40, 0x00, 0x10, 0x00, 0, 0, 0, 0})).empty()) << "another node";
    EXPECT_TRUE(node.Answer(Request(0x605, {0x80, 0x00, 0x10, 0x00, 0, 0, 0, 0})).empty()) << "client abort";
}

TEST_F(CanOpenNodeTest, DriveObjectsAreTheSimulatedDrivesParametersBitsAndMemory)
{
    const CanMessage untouched = Ask({0x40, 0x00, 0x20, 0x0A, 0, 0, 0, 0});
    EXPECT_EQ(untouched.data[0], 0x4B) << "a parameter word before any write";

    Ask({0x23, 0x00, 0x20, 0x0A, 0x78, 0x56, 0x34, 0x12});
    const CanMessage wide = Ask({0x40, 0x00, 0x20, 0x0A, 0, 0, 0, 0});
    EXPECT_EQ(wide.data[0], 0x43) << "as wide as written";
    EXPECT_EQ(AbortCode(wide), 0x12345678u);

    Ask({0x2B, 0x01, 0x20, 0x03, 0x01, 0x02, 0, 0}); // set bits 0 and 9 of parameter 2
    Ask({0x2B, 0x02, 0x20, 0x03, 0x01, 0x00, 0, 0}); // clear bit 0 again
    const CanMessage bits = Ask({0x40, 0x00, 0x20, 0x03, 0, 0, 0, 0});
    EXPECT_EQ(bits.data[4], 0x00);
    EXPECT_EQ(bits.data[5], 0x02);
    EXPECT_EQ(AbortCode(Ask({0x2F, 0x01, 0x20, 0x03, 0x01, 0, 0, 0})), 0x06070010u) << "a mask is 16 bits";

    Ask({0x2B, 0x03, 0x20, 0x11, 0xCD, 0xAB, 0, 0}); // memory word 0x4010
    const CanMessage word = Ask({0x40, 0x03, 0x20, 0x11, 0, 0, 0, 0});
    EXPECT_EQ(word.data[4], 0xCD);
    EXPECT_EQ(word.data[5], 0xAB);

    EXPECT_EQ(AbortCode(Ask({0x40, 0x00, 0x20, 0x00, 0, 0, 0, 0})), 0x06090011u)
        << "subindex 0 is no parameter";
    EXPECT_EQ(AbortCode(Ask({0x40, 0x01, 0x20, 0x01, 0, 0, 0, 0})), 0x06010001u)
        << "bit masks are written only";
}
