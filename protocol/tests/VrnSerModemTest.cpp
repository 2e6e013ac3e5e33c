// The protocol object over "MODEM": Lanyard, Fonwick, a fake modem and the simulated drive.
#include <protocol/DeviceLink.h>
#include <tools/fakemodem/FakeModem.h>

#include <KernelTestSupport.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;
using namespace tvsk::com;

namespace
{

constexpr int ModemPort = 9;

class VrnSerModemTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        // The modem server's configuration folder; no modem.ini there, so it initialises by default.
        setenv("XDG_CONFIG_HOME", storeDirectory.c_str(), 1);
        for (const char* component : {LANYARD_COMPONENT, VRNSER_COMPONENT})
            ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + component).c_str()), 0);
        StartDrive();
        std::string error;
        ASSERT_TRUE(modem.Open(error)) << error;
        kerneltest::MapSerialPort(ModemPort, modem.DevicePath());
        modemThread = std::thread(
            [this]
            {
                std::string failure;
                EXPECT_TRUE(modem.Run(stop, failure)) << failure;
            });
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        stop = true;
        if (modemThread.joinable())
            modemThread.join();
        if (drive > 0)
        {
            ::kill(drive, SIGTERM);
            int status = 0;
            ::waitpid(drive, &status, 0);
        }
        NamespaceTest::TearDown();
    }
    void StartDrive()
    {
        std::vector<std::string> args{DRIVESIM, "--link", driveLink.string()};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ASSERT_EQ(::posix_spawn(&drive, DRIVESIM, nullptr, nullptr, argv.data(), environ), 0);
        for (int i = 0; i < 6000 && !std::filesystem::exists(driveLink); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(std::filesystem::exists(driveLink));
    }
    // Fonwick ends about a second after its last client: the inactivity time defaults to 0.
    bool ServerEnded() const
    {
        for (int i = 0; i < 6000; ++i)
        {
            if (LeftObjects().empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::filesystem::path driveLink = storeDirectory / "ttyDrive";
    pid_t drive = 0;
    CFakeModem modem{ModemBehaviour{}, driveLink.string()};
    std::atomic<bool> stop = false;
    std::thread modemThread;
};

} // namespace

TEST_F(VrnSerModemTest, AParameterTravelsThroughTheDialledModemToTheDrive)
{
    {
        ComPtr<IVrnSer> link;
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(u"VrnSer.VrnSer.1", &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IVrnSer::Iid,
                                   reinterpret_cast<void**>(link.Receive())),
                  S_OK);
        ASSERT_EQ(link->put_MsgOn(0), S_OK);
        const BSTR settings = BstrFromUtf8("VrnSer:0,1000#MODEM:9,9600,E,8,1,^12_34-");
        ASSERT_EQ(link->Init(settings), S_OK);
        SysFreeString(settings);

        VARIANT value;
        VariantInit(&value);
        value.vt = VT_UI2;
        value.uiVal = 0x1234;
        ASSERT_EQ(link->put_Par(5, 0, VT_UI2, value), S_OK);
        VARIANT read;
        VariantInit(&read);
        ASSERT_EQ(link->get_Par(5, 0, VT_UI2, &read), S_OK);
        EXPECT_EQ(read.vt, VT_UI2);
        EXPECT_EQ(read.ulVal, 0x1234u);
    }
    const std::vector<std::string> commands = modem.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "ATD\"12,34;") << "the number dialled unescaped";
    EXPECT_TRUE(ServerEnded()) << "the modem server ends after its last client";
}
