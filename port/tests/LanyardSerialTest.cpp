#include "LanyardTestSupport.h"

#include <kernel/Time.h>

#include <cstring>

using namespace porttest;

// A serial port opened through the port object reaches Porthaven and a pseudo-terminal.
class LanyardSerialTest : public LanyardTest
{
protected:
    void SetUp() override
    {
        LanyardTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        ASSERT_FALSE(pty.device.empty());
        kerneltest::MapSerialPort(7, pty.device);
    }

    bool NothingLeftWithin(int milliseconds) const
    {
        for (int waited = 0; waited < milliseconds; waited += 20)
        {
            if (LeftObjects().empty())
                return true;
            Sleep(20);
        }
        return LeftObjects().empty();
    }

    kerneltest::PseudoTerminal pty;
};

TEST_F(LanyardSerialTest, BytesGoBothWaysThroughTheServerAndItEndsAtClose)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    ASSERT_TRUE(port);
    ASSERT_EQ(Open(port, "COM:7,9600,E,8,1"), S_OK);

    SHORT out[3];
    std::memcpy(out, "hello", 5);
    ASSERT_EQ(port->WriteData(out, 5), S_OK);
    EXPECT_EQ(pty.Read(5), "hello");

    ASSERT_EQ(port->Lock(), S_OK);
    pty.Write("ok");
    SHORT in[1] = {};
    ASSERT_EQ(port->ReadData(in, 2, 1000), S_OK);
    EXPECT_EQ(std::memcmp(in, "ok", 2), 0);
    EXPECT_EQ(port->ReadData(in, 1, -1), E_FAIL) << "nothing waiting";
    EXPECT_EQ(port->Unlock(), S_OK);

    double value = 0;
    VARIANT into;
    VariantInit(&into);
    into.vt = VT_BYREF | VT_R8;
    into.pdblVal = &value;
    EXPECT_EQ(port->ReadVariantData(&into, 50), S_OK);
    EXPECT_EQ(ErrorCode(port), 2) << "eight bytes did not come";

    ASSERT_EQ(port->Close(), S_OK);
    EXPECT_TRUE(NothingLeftWithin(60000)) << "the server ended at the last detach";
}

TEST_F(LanyardSerialTest, AnAbsentDeviceFailsTheOpen)
{
    auto port = Create<ILanyard>(u"Lanyard.Lanyard.1");
    kerneltest::MapSerialPort(8, "/nonexistent/tty");
    EXPECT_EQ(Open(port, "COM:8,9600,N,8,1"), E_FAIL);
    EXPECT_EQ(ErrorCode(port), 5);
}
