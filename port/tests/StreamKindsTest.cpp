#include "PortKindTestSupport.h"

#include <port/ComDP.h>
#include <port/ComNet.h>
#include <port/ComSocket.h>
#include <port/ComTcpIp.h>

#include <kernel/System.h>

#include <cstring>

using namespace porttest;

class StreamKindsTest : public FakeServerTest
{
protected:
    // Writes the text and reads it back from the echo.
    static bool Echoes(ComPort& port, std::string text)
    {
        if (!port.put(reinterpret_cast<unsigned char*>(text.data()), text.size()))
            return false;
        std::string back(text.size(), '\0');
        return port.get(reinterpret_cast<unsigned char*>(back.data()), 0xFFFF, back.size()) == 1 &&
               back == text;
    }
    static std::string ComputerName()
    {
        char name[MAX_COMPUTERNAME_LENGTH + 1];
        DWORD size = sizeof name;
        return GetComputerName(name, &size) ? name : "";
    }
};

TEST_F(StreamKindsTest, DpAndItsDebugVariantUseObjectsOfTheirOwnOnPortOne)
{
    ComDP dp(false);
    ComDP debug(true);
    ASSERT_TRUE(dp.com_ok());
    ASSERT_TRUE(debug.com_ok());
    EXPECT_TRUE(ObjectExists("DP.MAP1"));
    EXPECT_TRUE(ObjectExists("DPDEB.MAP1"));
    EXPECT_TRUE(Noted("start DUNMORE 1"));
    EXPECT_TRUE(Noted("start WAYBRIDGE 1"));
    EXPECT_TRUE(Noted("setline 0 0 0 0"));

    EXPECT_TRUE(Echoes(dp, "drive"));
    std::vector<unsigned char> full(1024, 'x');
    EXPECT_EQ(dp.put(full.data(), 1024), 1);
    full.push_back('y');
    EXPECT_EQ(dp.put(full.data(), 1025), 0);
    unsigned char few[4];
    EXPECT_EQ(dp.get(few, 0xFFFF, 1025), 0);
    dp.reset();
    EXPECT_TRUE(Noted("reset"));
    EXPECT_EQ(dp.get(few, 0xFFFF, 4), 0) << "the echo was purged";

    EXPECT_EQ(dp.flush(), 1);
    EXPECT_TRUE(Noted("flush"));
    unsigned char value = 9;
    EXPECT_EQ(dp.put_property(0x1002, &value), 1);
    EXPECT_TRUE(Noted("property 4098 9"));
    EXPECT_EQ(dp.put_property(0x1003, &value), 0);
}

TEST_F(StreamKindsTest, NetIsNamedAfterThisComputerAndTellsItsServerAboutLocks)
{
    const std::string computer = ComputerName();
    ASSERT_FALSE(computer.empty());
    ComNet net("host:1,2,");
    ASSERT_TRUE(net.com_ok());
    EXPECT_TRUE(ObjectExists("NET.MAP" + computer));
    EXPECT_TRUE(Noted("start OSPREY " + computer));
    EXPECT_TRUE(Noted("setline host:1,2,"));
    EXPECT_TRUE(Echoes(net, "abc"));

    ASSERT_EQ(net.lock(2000), 1);
    EXPECT_TRUE(Noted("lock"));
    EXPECT_EQ(net.lock(2000), 1) << "held already";
    EXPECT_TRUE(Echoes(net, "locked"));
    net.unlock();
    EXPECT_TRUE(Noted("unlock"));
}

TEST_F(StreamKindsTest, ARefusedLineDetachesAndTooLongTextsOpenNothing)
{
    {
        ComNet refused("refuse:");
        EXPECT_FALSE(refused.com_ok());
        EXPECT_TRUE(Noted("detach"));
        EXPECT_EQ(refused.lock(10), 0);
    }
    std::filesystem::remove(journal);
    ComNet tooLong(std::string(stream_block::NetLineCapacity, 'n').c_str());
    EXPECT_FALSE(tooLong.com_ok());
    ComSocket longName(std::string(300, 's').c_str(), std::string(300, 't').c_str());
    EXPECT_FALSE(longName.com_ok());
    ComTcpIp longText(std::string(MAX_PATH, 't').c_str());
    EXPECT_FALSE(longText.com_ok());
    EXPECT_TRUE(Journal().empty()) << "no server was started";
}

TEST_F(StreamKindsTest, SocketCarriesBothTextsAndFourKilobyteTransfers)
{
    ComSocket socket("server", "9000:a,b");
    ASSERT_TRUE(socket.com_ok());
    EXPECT_TRUE(ObjectExists("SOCKET.MAPserver9000:a,b"));
    EXPECT_TRUE(Noted("start HALYARD server 9000:a,b"));
    EXPECT_TRUE(Noted("setline 9000:a,b"));

    std::string big(4096, 'q');
    big[0] = 'p';
    EXPECT_TRUE(Echoes(socket, big));
    std::vector<unsigned char> over(4097);
    EXPECT_EQ(socket.put(over.data(), 4097), 0);
    unsigned char value = 3;
    EXPECT_EQ(socket.put_property(0x1000, &value), 1);
    EXPECT_TRUE(Noted("property 4096 3"));
    EXPECT_EQ(socket.put_property(0x1001, &value), 0);
    EXPECT_EQ(socket.flush(), 1);
    EXPECT_TRUE(Noted("flush"));
}

TEST_F(StreamKindsTest, TcpIpIsNamedByItsTextAndFlushesWithoutACommand)
{
    ComTcpIp tcp("10.0.0.1,502");
    ASSERT_TRUE(tcp.com_ok());
    EXPECT_TRUE(ObjectExists("TCPIP.MAP10.0.0.1,502"));
    EXPECT_TRUE(Noted("start CORMORANT 10.0.0.1,502"));
    EXPECT_TRUE(Echoes(tcp, "x"));
    unsigned char byte = 'z';
    ASSERT_EQ(tcp.put(byte), 1);
    EXPECT_EQ(tcp.get(), 'z');
    EXPECT_EQ(tcp.flush(), 1);
    EXPECT_FALSE(Noted("flush"));
}
