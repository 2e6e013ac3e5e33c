#include <protocol/DeviceLinkError.h>
#include <protocol/SettingsString.h>

#include <gtest/gtest.h>

TEST(SettingsStringTest, FieldsSplitAtRunsOfDelimiters)
{
    using Fields = std::vector<std::string>;
    EXPECT_EQ(SplitFields("a,b", ","), (Fields{"a", "b"}));
    EXPECT_EQ(SplitFields(",,a,,b,", ","), (Fields{"a", "b"}));
    EXPECT_EQ(SplitFields("VrnSer:0,200", ":,"), (Fields{"VrnSer", "0", "200"}));
    EXPECT_EQ(SplitFields("\"a\",b", ","), (Fields{"\"a\"", "b"}));
    EXPECT_EQ(SplitFields("", ","), Fields{});
    EXPECT_EQ(SplitFields(",,,", ","), Fields{});
}

TEST(SettingsStringTest, ProtocolPartSetsAddressTimeOutAndAsciiMode)
{
    struct Row
    {
        const char* part;
        int error;
        SHORT address;
        WORD timeOut;
        bool ascii;
    };
    const Row rows[] = {
        {"VrnSer:0,200", DLE_OK, 0, 200, false},
        {"VrnSer:7", DLE_OK, 7, 1000, false},
        {"VrnSer:1000,500", DLE_OK, 0, 500, true},
        {"VrnSer,,3::250", DLE_OK, 3, 250, false},
        {"VrnSer", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"vrnser:1,200", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"Other:1,200", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"VrnSer:32767,5", DLE_OK, 32767, 5, false},
        {"VrnSer:-32768,5", DLE_OK, -32768, 5, false},
        {"VrnSer:66536,200", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"VrnSer:-32769,200", DLE_BAD_PROTOCOL, 0, 1000, true},
        {"VrnSer:99999999999999999999,200", DLE_BAD_PROTOCOL, 0, 1000, true},
    };
    for (const Row& row : rows)
    {
        CDriveSettings s;
        s.address = 9;
        s.timeOut = 9;
        s.asciiMode = true;
        EXPECT_EQ(ParseProtocolPart(row.part, s), row.error) << row.part;
        EXPECT_EQ(s.address, row.address) << row.part;
        EXPECT_EQ(s.timeOut, row.timeOut) << row.part;
        EXPECT_EQ(s.asciiMode, row.ascii) << row.part;
    }
}

TEST(SettingsStringTest, PortPartIsCheckedInOrderAndKeepsWhatPassed)
{
    struct Row
    {
        const char* part;
        int error;
        DWORD portCode;
        DWORD baud;
        DWORD frameCode;
        bool modem;
        bool canOpen;
        DWORD canBitRate;
    };
    // The settings start from port code 99, baud 1, frame code 7, modem flag set, CANopen set.
    const Row rows[] = {
        {"COM:1,9600,E,8,1", DLE_OK, 5, 9600, 1, false, false, 0},
        {"COM:3,19200,N,8,1", DLE_OK, 7, 19200, 0, false, false, 0},
        {"COM:255,115200,O,7,1", DLE_OK, 259, 115200, 5, false, false, 0},
        {"COM:2", DLE_OK, 6, 9600, 1, false, false, 0},
        {"COM:2,38400", DLE_OK, 6, 38400, 1, false, false, 0},
        {"COM:4,57600,E,7", DLE_OK, 8, 57600, 4, false, false, 0},
        {"COM:1,9600,E,8,1.0", DLE_OK, 5, 9600, 1, false, false, 0},
        {"MODEM:2,19200,N,8,1,ATD^123^_5-6", DLE_OK, 8198, 19200, 0, true, false, 0},
        {"MODEM:1", DLE_OK, 8197, 9600, 1, true, false, 0},
        {"COM:0,9600,E,8,1", DLE_BAD_PORT, 99, 1, 7, true, true, 0},
        {"COM:256", DLE_BAD_PORT, 99, 1, 7, true, true, 0},
        {"COM:x", DLE_BAD_PORT, 99, 1, 7, true, true, 0},
        {"COM:2,4800", DLE_BAD_BAUD, 6, 1, 7, true, true, 0},
        {"COM:2,9600,e,8,1", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM:2,9600,E,6,1", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM:2,9600,E,8,2", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM:2,9600,E,8,1.5", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM:2,9600,E,8,nan", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM:2,9600,E,8,1e300", DLE_BAD_FRAME, 6, 9600, 7, true, true, 0},
        {"COM", DLE_BAD_PORT_KIND, 99, 1, 7, true, true, 0},
        {"COM:", DLE_BAD_PORT_KIND, 99, 1, 7, true, true, 0},
        {"com:1,9600,E,8,1", DLE_BAD_PORT_KIND, 99, 1, 7, true, true, 0},
        {"TCPIP:1", DLE_BAD_PORT_KIND, 99, 1, 7, true, true, 0},
        {"", DLE_BAD_PORT_KIND, 99, 1, 7, true, true, 0},
        {"CANUSB:0,250000,1", DLE_OK, 99, 1, 7, true, true, 250000},
        {"CANUSB:0,250000", DLE_BAD_BAUD, 99, 1, 7, true, true, 0},
        {"CANUSB:0,250000,1,2", DLE_BAD_BAUD, 99, 1, 7, true, true, 0},
        {"CANUSB:0,300000,1", DLE_BAD_BAUD, 99, 1, 7, true, true, 0},
    };
    for (const Row& row : rows)
    {
        CDriveSettings s;
        s.portCode = 99;
        s.baudRate = 1;
        s.frameCode = 7;
        s.modem = true;
        s.canOpenMode = true;
        s.canBitRate = 0;
        EXPECT_EQ(ParsePortPart(row.part, s), row.error) << row.part;
        EXPECT_EQ(s.portCode, row.portCode) << row.part;
        EXPECT_EQ(s.baudRate, row.baud) << row.part;
        EXPECT_EQ(s.frameCode, row.frameCode) << row.part;
        EXPECT_EQ(s.modem, row.modem) << row.part;
        EXPECT_EQ(s.canOpenMode, row.canOpen) << row.part;
        EXPECT_EQ(s.canBitRate, row.canBitRate) << row.part;
    }
}

TEST(SettingsStringTest, ModemKeepsTheDialNumberEscaped)
{
    CDriveSettings s;
    ASSERT_EQ(ParsePortPart("MODEM:2,19200,N,8,1,ATD^123^_5-6", s), DLE_OK);
    EXPECT_EQ(s.dialNumber, "ATD^123^_5-6");
    EXPECT_EQ(UnescapeDialNumber(s.dialNumber), "ATD\"123\",5;6");
    EXPECT_EQ(EscapeDialNumber("ATD\"123\",5;6"), "ATD^123^_5-6");
    EXPECT_EQ(BuildPortPart(s), "MODEM:2,19200,N,8,1,ATD^123^_5-6");
}

TEST(SettingsStringTest, BuiltStringsReadBackTheSame)
{
    const char* strings[] = {
        "VrnSer:0,200#COM:1,9600,E,8,1",       "VrnSer:1000,500#COM:3,19200,N,8,1",
        "VrnSer:31,1000#COM:255,115200,O,7,1", "VrnSer:2,300#MODEM:4,57600,E,7,1,0123",
        "VrnSer:5,100#CANUSB:0,125000,500000",
    };
    for (const char* text : strings)
    {
        CDriveSettings s;
        const std::vector<std::string> parts = SplitFields(text, "#");
        ASSERT_EQ(ParseProtocolPart(parts[0], s), DLE_OK) << text;
        ASSERT_EQ(ParsePortPart(parts[1], s), DLE_OK) << text;
        EXPECT_EQ(BuildSettingsString(s), text);
    }
}

TEST(SettingsStringTest, OddValuesPrintTheirFallbacks)
{
    CDriveSettings s;
    s.portCode = 3;
    s.baudRate = 4800;
    s.frameCode = 9;
    EXPECT_EQ(BuildPortPart(s), "COM:,9600");
    s.canOpenMode = true;
    s.canBitRate = 1234;
    EXPECT_EQ(BuildPortPart(s), "CANUSB:0,50000,500000");
}
