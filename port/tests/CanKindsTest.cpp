#include "PortKindTestSupport.h"

#include <port/ComCan.h>
#include <port/ComCanPC.h>

#include <cstring>

using namespace porttest;

class CanKindsTest : public FakeServerTest
{
};

TEST_F(CanKindsTest, CanKindUsesTheObjectsNumberedZeroAndCarriesMessages)
{
    {
        ComCan can(500);
        ASSERT_TRUE(can.com_ok());
        EXPECT_TRUE(ObjectExists("CAN.MAP0"));
        EXPECT_TRUE(Noted("start KESTREL"));
        EXPECT_TRUE(Noted("setline 500 0"));

        unsigned char bytes[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        EXPECT_EQ(can.put_msg(0x123, bytes, 9), 0) << "more than a message holds";
        EXPECT_FALSE(Noted("send refused 9"));
        ASSERT_EQ(can.put_msg(0x123, bytes, 3), 1);
        EXPECT_TRUE(Noted("send 123 3 01 02 03"));

        unsigned long id = 0;
        unsigned char data[8] = {};
        unsigned long len = 2;
        EXPECT_EQ(can.get_msg(&id, data, &len, 10), 0) << "longer than the caller's buffer";
        ASSERT_EQ(can.put_msg(0x124, bytes, 3), 1);
        len = sizeof data;
        unsigned long time = 0;
        ASSERT_EQ(can.get_event(&time, &id, data, &len, 0), 1);
        EXPECT_EQ(id, 0x124u);
        EXPECT_EQ(len, 3u);
        EXPECT_EQ(std::memcmp(data, bytes, 3), 0);

        EXPECT_EQ(can.req_msg(0x200, 2), 1);
        EXPECT_TRUE(Noted("request 200 2"));
        EXPECT_EQ(can.flush(), 1) << "left at the base";
    }
    EXPECT_TRUE(Noted("detach"));
}

TEST_F(CanKindsTest, FiltersDecideWhichMessagesAClientReceives)
{
    ComCan can(125);
    ASSERT_TRUE(can.com_ok());
    ASSERT_EQ(can.msg_filter(true, 0x7FF, 0x585), 1);
    EXPECT_TRUE(Noted("filter add 7FF 585"));
    unsigned char byte = 7;
    can.put_msg(0x123, &byte, 1);
    can.put_msg(0x585, &byte, 1);
    unsigned long id = 0;
    unsigned char data[8];
    unsigned long len = sizeof data;
    ASSERT_EQ(can.get_msg(&id, data, &len, 10), 1);
    EXPECT_EQ(id, 0x585u);
    ASSERT_EQ(can.msg_filter(false, 0x7FF, 0x585), 1);
    EXPECT_EQ(can.msg_filter(false, 0x7FF, 0x585), 0) << "removed already";
    can.put_msg(0x123, &byte, 1);
    len = sizeof data;
    EXPECT_EQ(can.get_msg(&id, data, &len, 10), 1);
    EXPECT_EQ(id, 0x123u);
}

TEST_F(CanKindsTest, PcCanWritesTravelInEightByteMessagesAndReadsTakeTheAdaptersAnswers)
{
    ComCanPC pc(1, 2, 3, false);
    ASSERT_TRUE(pc.com_ok());
    EXPECT_TRUE(ObjectExists("CANPC.MAP0"));
    EXPECT_TRUE(Noted("start MARLOCK 1 3"));
    EXPECT_TRUE(Noted("setline 2 3"));

    unsigned char twenty[20];
    for (unsigned char i = 0; i < 20; ++i)
        twenty[i] = i;
    ASSERT_EQ(pc.put(twenty, 20), 1);
    EXPECT_TRUE(Noted("send 7F0 8 00 01 02 03 04 05 06 07"));
    EXPECT_TRUE(Noted("send 7F0 8 08 09 0A 0B 0C 0D 0E 0F"));
    EXPECT_TRUE(Noted("send 7F0 4 10 11 12 13"));
    pc.reset();

    ASSERT_EQ(pc.req_msg(0x123, 1), 1);
    ASSERT_EQ(pc.put('A'), 1);
    ASSERT_EQ(pc.put('B'), 1);
    unsigned char read[2] = {};
    ASSERT_EQ(pc.get(read, 50, 2), 1) << "the message 0x123 is passed over";
    EXPECT_EQ(read[0], 'A');
    EXPECT_EQ(read[1], 'B');
    EXPECT_EQ(pc.get(read, 10, 1), 0) << "nothing more came";
}

TEST_F(CanKindsTest, PcCanStreamModeAndPropertiesGoThroughTheBlock)
{
    ComCanPC pc(1, 2, 3, false);
    ASSERT_TRUE(pc.com_ok());
    unsigned char on = 1;
    ASSERT_EQ(pc.put_property(9, &on), 1);
    EXPECT_TRUE(Noted("property set 9 1"));
    unsigned char text[] = "hello";
    ASSERT_EQ(pc.put(text, 5), 1);
    EXPECT_TRUE(Noted("stream write 5"));
    unsigned char big[1027] = {};
    EXPECT_EQ(pc.put(big, 1027), 0);
    unsigned char back[5] = {};
    ASSERT_EQ(pc.get(back, 10, 5), 1);
    EXPECT_EQ(std::memcmp(back, "hello", 5), 0);
    EXPECT_EQ(pc.get(back, 10, 1), 0);

    unsigned char value = 0x42;
    EXPECT_EQ(pc.put_property(11, &value), 0) << "not a settable code";
    EXPECT_EQ(pc.put_property(7, &value), 0);
    ASSERT_EQ(pc.put_property(3, &value), 1);
    unsigned char got = 0;
    ASSERT_EQ(pc.get_property(3, &got), 1);
    EXPECT_EQ(got, 0x42);
    EXPECT_EQ(pc.get_property(11, &got), 0);
    EXPECT_EQ(pc.command(17, nullptr, 0), 1);
    EXPECT_TRUE(Noted("command 17"));
}

TEST_F(CanKindsTest, UsbCanIsNamedByItsAdapterAndAnswersAsACanOpenNode)
{
    setenv("TVSK_FAKE_CANOPEN_NODE", "5", 1);
    ComCanPC usb(4, 1000, 0, true);
    ASSERT_TRUE(usb.com_ok());
    EXPECT_TRUE(ObjectExists("CANUSB.MAP4"));
    EXPECT_TRUE(Noted("start TOLLGATE 4"));

    ASSERT_EQ(usb.msg_filter(true, 0x7FF, 0x585), 1);
    unsigned char request[8] = {0x2B, 0x00, 0x20, 0x06, 0x34, 0x12, 0, 0};
    ASSERT_EQ(usb.put_msg(0x605, request, 8), 1);
    unsigned long id = 0;
    unsigned char answer[8] = {};
    unsigned long len = sizeof answer;
    ASSERT_EQ(usb.get_msg(&id, answer, &len, 100), 1);
    EXPECT_EQ(id, 0x585u);
    EXPECT_EQ(len, 8u);
    EXPECT_EQ(answer[0], 0x60);
    EXPECT_EQ(answer[3], 0x06);
}

TEST_F(CanKindsTest, AClientThatIsNotOpenRefusesEverything)
{
    setenv("TARVESKON_PROGRAM_DIR", "/nonexistent", 1);
    ComCanPC pc(1, 2, 3, false);
    EXPECT_FALSE(pc.com_ok());
    unsigned char byte = 1;
    unsigned long id = 0;
    unsigned long len = 1;
    EXPECT_EQ(pc.put_msg(1, &byte, 1), 0);
    EXPECT_EQ(pc.get_msg(&id, &byte, &len, 0), 0);
    EXPECT_EQ(pc.req_msg(1, 1), 0);
    EXPECT_EQ(pc.msg_filter(true, 1, 1), 0);
    EXPECT_EQ(pc.put_property(1, &byte), 0);
    EXPECT_EQ(pc.get_property(1, &byte), 0);
    EXPECT_EQ(pc.command(1, nullptr, 0), 0);
    EXPECT_EQ(pc.put(&byte, 1), 0);
}
