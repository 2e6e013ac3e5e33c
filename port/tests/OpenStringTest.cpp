#include <port/OpenString.h>

#include <gtest/gtest.h>

using namespace lanyard;

namespace
{

std::optional<PortRequest> Read(std::string_view text)
{
    const auto parts = SplitOpenString(text);
    return parts ? ReadPortRequest(*parts) : std::nullopt;
}

template <class T> T ReadAs(std::string_view text)
{
    const auto request = Read(text);
    EXPECT_TRUE(request.has_value()) << text;
    EXPECT_TRUE(request && std::holds_alternative<T>(*request)) << text;
    return request && std::holds_alternative<T>(*request) ? std::get<T>(*request) : T{};
}

} // namespace

TEST(OpenStringTest, MalformedStringsAreRefused)
{
    for (const char* text : {
             "COM1,9600,E,8,1",    // no colon
             "com:1,9600,E,8,1",   // the kind is compared with case
             "SER:1,9600,E,8,1",   // unknown kind
             "COM:0,9600,E,8,1",   // port below 1
             "COM:256,9600,E,8,1", // port above 255
             "COM:1,9600,e,8,1",   // parity in lower case
             "COM:1,9600,X,8,1",   // unknown parity
             "COM:1,9600,E,8,3",   // stop bits
             "COM:1,9600,E,8,1.4", //
             "COM:1,9600,,8,1",    // an empty piece does not count: 4 pieces
             "COM:1,9600,E,8,1,2", // 6 pieces
             "MODEM:1,9600,E,8,1", // no dial number
             "CAN:",               //
             "CAN:1,2",            //
             "CANPC:1,2",          //
             "CANUSB:1,2,3,4",     //
             "SOCK:host",          // no second piece
             "SOCK:a_b_c",         //
             "PC:",                //
             "PC:1,2",             //
             ":1",                 //
         })
        EXPECT_FALSE(Read(text).has_value()) << text;
}

TEST(OpenStringTest, SerialFieldsAreReadWithParityAndStopCodes)
{
    const auto even = ReadAs<SerialRequest>("COM:1,9600,E,8,1");
    EXPECT_EQ(even.port, 1);
    EXPECT_EQ(even.baud, 9600u);
    EXPECT_EQ(even.bits, 8);
    EXPECT_EQ(even.parity, 2);
    EXPECT_EQ(even.stop, 0);

    const auto parities = std::string("NOEMS");
    for (size_t code = 0; code < parities.size(); ++code)
        EXPECT_EQ(ReadAs<SerialRequest>("COM:3,19200," + parities.substr(code, 1) + "odd,7,2").parity, code);
    EXPECT_EQ(ReadAs<SerialRequest>("COM:3,19200,N,7,1.5").stop, 1);
    EXPECT_EQ(ReadAs<SerialRequest>("COM:3,19200,N,7,2").stop, 2);
    EXPECT_EQ(ReadAs<SerialRequest>("COM:255,19200,N,7,2.0").port, 255);
    EXPECT_EQ(ReadAs<SerialRequest>("COM:,, 12x,115200,N,8,1,").port, 12);
}

TEST(OpenStringTest, ModemTakesTheDialNumberAsSixthPiece)
{
    const auto modem = ReadAs<ModemRequest>("MODEM:2,19200,N,8,1,^ATDT^0123-4");
    EXPECT_EQ(modem.line.port, 2);
    EXPECT_EQ(modem.line.baud, 19200u);
    EXPECT_EQ(modem.line.parity, 0);
    EXPECT_EQ(modem.dial, "^ATDT^0123-4");
}

TEST(OpenStringTest, MessageKindsTakeTheirNumbers)
{
    EXPECT_EQ(ReadAs<CanRequest>("CAN:500").bitrate, 500u);
    const auto pc = ReadAs<CanPCRequest>("CANPC:1,2,3");
    EXPECT_EQ(pc.adapter, 1u);
    EXPECT_EQ(pc.first, 2u);
    EXPECT_EQ(pc.second, 3u);
    EXPECT_FALSE(pc.usb);
    const auto usb = ReadAs<CanPCRequest>("CANUSB:4,1000,0");
    EXPECT_EQ(usb.adapter, 4u);
    EXPECT_EQ(usb.first, 1000u);
    EXPECT_TRUE(usb.usb);
    EXPECT_EQ(ReadAs<PCRequest>("PC:7").number, 7);
}

TEST(OpenStringTest, TextKindsJoinTheirPieces)
{
    EXPECT_EQ(ReadAs<NetRequest>("NET:host,1,2").text, "host:1,2,");
    EXPECT_EQ(ReadAs<NetRequest>("NET:host").text, "host:");
    EXPECT_EQ(ReadAs<NetRequest>("NET:").text, "");
    EXPECT_EQ(ReadAs<TcpIpRequest>("TCPIP:10.0.0.1,502,,x").text, "10.0.0.1,502,,x");
    const auto socket = ReadAs<SocketRequest>("SOCK:server_port,a,,b");
    EXPECT_EQ(socket.first, "server");
    EXPECT_EQ(socket.second, "port:a,b");
    EXPECT_EQ(ReadAs<SocketRequest>("SOCK:_server__9000_").second, "9000:");
    EXPECT_FALSE(ReadAs<DPRequest>("DP:whatever").debug);
    EXPECT_TRUE(ReadAs<DPRequest>("DPDEB:").debug);
}

TEST(OpenStringTest, NumbersAreReadAsTheRuntimeReadsThem)
{
    EXPECT_EQ(ReadDecimal("  42abc"), 42);
    EXPECT_EQ(ReadDecimal("-7"), -7);
    EXPECT_EQ(ReadDecimal("+7"), 7);
    EXPECT_EQ(ReadDecimal("x1"), 0);
    EXPECT_EQ(ReadDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadDecimal("-99999999999999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(ReadDecimalFraction(" 1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(ReadDecimalFraction("-2"), -2.0);
    EXPECT_DOUBLE_EQ(ReadDecimalFraction("abc"), 0.0);
}
