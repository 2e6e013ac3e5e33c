// The modem server with modem clients and a fake modem: dialogue, reuse, failures and the program's life.
#include <modemhost/ModemServer.h>
#include <port/ComModem.h>
#include <tools/fakemodem/FakeModem.h>

#include <KernelTestSupport.h>

#include <framework/File.h>
#include <kernel/FileMapping.h>

#include <fstream>
#include <thread>

namespace
{

constexpr unsigned char Port = 9;

using Commands = std::vector<std::string>;
const Commands BuiltInInitialisation = {"ATZ0", "ATE1", "ATE0"};

Commands Dialogue(const char* number)
{
    Commands commands = BuiltInInitialisation;
    commands.push_back(std::string("ATD") + number);
    return commands;
}

// A fake modem on its own thread; its line is a pseudo-terminal the test plays the drive on.
class ModemOnLine
{
public:
    explicit ModemOnLine(ModemBehaviour behaviour) : modem(behaviour, drive.device)
    {
        std::string error;
        EXPECT_TRUE(modem.Open(error)) << error;
        kerneltest::MapSerialPort(Port, modem.DevicePath());
        thread = std::thread(
            [this]
            {
                std::string failure;
                EXPECT_TRUE(modem.Run(stop, failure)) << failure;
            });
    }
    ~ModemOnLine()
    {
        stop = true;
        thread.join();
    }

    kerneltest::PseudoTerminal drive;
    CFakeModem modem;
    std::atomic<bool> stop = false;
    std::thread thread;
};

class ModemTest : public kerneltest::NamespaceTest
{
protected:
    void SetUp() override
    {
        NamespaceTest::SetUp();
        setenv("TARVESKON_PROGRAM_DIR", TVSK_BIN_DIR, 1);
        config = std::filesystem::temp_directory_path() / ("tvsk_config_" + space);
        std::filesystem::create_directories(config / "MurnApps");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(config);
        NamespaceTest::TearDown();
    }

    std::filesystem::path config;
};

// The server in this process: the test creates the port's objects as a first client would.
class ModemServerTest : public ModemTest
{
protected:
    void StartServer(const ModemSettings& settings, const CString& initFile = CString())
    {
        const PortObjectNames names(MODEM_PORT_PREFIX, Port);
        handles = {
            CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map),
            CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                              names.serverId),
            CreateEvent(nullptr, FALSE, FALSE, names.commandEvent),
            CreateEvent(nullptr, FALSE, FALSE, names.replyEvent), CreateMutex(nullptr, FALSE, names.mutex)};
        server = std::make_unique<CModemServer>(settings);
        server->SetInitFile(initFile);
        // Long enough for a loaded machine to let the modem's late answers pass before the next purge.
        server->Dialer().SetSettleTime(300);
        ASSERT_TRUE(server->Open(Port));
        worker = std::thread(ServerThreadProc, server.get());
    }
    void TearDown() override
    {
        if (worker.joinable())
            worker.join();
        server.reset();
        for (HANDLE handle : handles)
            CloseHandle(handle);
        EXPECT_TRUE(LeftObjects().empty());
        ModemTest::TearDown();
    }

    std::vector<HANDLE> handles;
    std::unique_ptr<CModemServer> server;
    std::thread worker;
};

TEST_F(ModemServerTest, FailedInitialisationLetsTheNextLineCommandStartAfresh)
{
    ModemOnLine line(ModemBehaviour{ModemBehaviour::DialAnswer::Connect, false});
    StartServer(ModemSettings{});
    {
        ComModem first(Port, 9600, 8, 2, 0, "555");
        EXPECT_FALSE(first.com_ok());
        EXPECT_EQ(server->State(), MODEM_ABORTED);
        ComModem second(Port, 9600, 8, 2, 0, "555");
        EXPECT_FALSE(second.com_ok()) << "a modem that never answered is not connected";
    }
    EXPECT_EQ(line.modem.Commands(), (Commands{"ATZ0", "ATE1", "ATE0", "ATZ0", "ATE1", "ATE0"}));
}

TEST_F(ModemServerTest, AServerThatNeverHadAClientEndsOnlyWhenToldThereAreNone)
{
    ModemOnLine line(ModemBehaviour{});
    StartServer(ModemSettings{});
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_FALSE(server->Ended()) << "no detach has happened yet";
    server->EndWithoutClients(); // the diagnostics window's "No processes, exit server"
    for (int i = 0; i < 600 && !server->Ended(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(server->Ended());
}

TEST_F(ModemServerTest, InitialisesFromModemIniAndReadsWaitAtLeastTheNormalTimeOut)
{
    ModemOnLine line(ModemBehaviour{});
    const std::filesystem::path ini = config / "MurnApps" / "modem.ini";
    // The file must turn the echo off itself, or the dial answer reads as the echoed command.
    std::ofstream(ini) << "AT&F\r\n\r\nATE0\r\n";
    ModemSettings settings;
    settings.normalTimeout = 300;
    StartServer(settings, ini.c_str());
    ComModem modem(Port, 9600, 8, 2, 0, "1_2");
    ASSERT_TRUE(modem.com_ok()) << server->Dialer().Log().str();
    EXPECT_EQ(line.modem.Commands(), (Commands{"AT&F", "ATE0", "ATD1,2"}));
    EXPECT_EQ(server->LineText(), "9600,E,8,1");

    unsigned char byte = 0;
    const DWORD start = GetTickCount();
    EXPECT_FALSE(modem.get(&byte, 0, 1)) << "nothing comes from the drive";
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 250u) << "a time-out of 0 becomes the normal time-out";
    EXPECT_LT(waited, 2000u) << "and does not wait without limit";
    line.drive.Write("Z");
    EXPECT_TRUE(modem.get(&byte, 1000, 1));
    EXPECT_EQ(byte, 'Z');
}

TEST_F(ModemServerTest, AModemIniTooLargeToReadIsNotSentAndTheLogSaysWhy)
{
    ModemOnLine line(ModemBehaviour{});
    const std::filesystem::path ini = config / "MurnApps" / "modem.ini";
    std::ofstream(ini) << "ATE0\r\n";
    std::filesystem::resize_file(ini, kMaxInputFileSize + 1);
    StartServer(ModemSettings{}, ini.c_str());
    {
        ComModem modem(Port, 9600, 8, 2, 0, "555");
        EXPECT_FALSE(modem.com_ok());
    }
    EXPECT_EQ(server->State(), MODEM_ABORTED);
    EXPECT_TRUE(line.modem.Commands().empty()) << line.modem.Commands().size() << " commands sent";
    EXPECT_NE(server->Dialer().Log().Find("modem.ini is no regular file"), -1)
        << server->Dialer().Log().str();
}

// The whole program: started by the first modem client, as the port component does.
class FonwickTest : public ModemTest
{
protected:
    static HANDLE ServerProcess()
    {
        HANDLE mapping = OpenFileMapping(FILE_MAP_READ, FALSE, ("MODEM.PID" + std::to_string(Port)).c_str());
        if (!mapping)
            return nullptr;
        const auto* id = static_cast<const DWORD*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        HANDLE process = id ? OpenProcess(SYNCHRONIZE, FALSE, *id) : nullptr;
        UnmapViewOfFile(id);
        CloseHandle(mapping);
        return process;
    }
};

TEST_F(FonwickTest, DialsOnceServesDataKeepsTheCallForTheNextClientAndEndsAfterTheInactivityTime)
{
    ModemOnLine line(ModemBehaviour{});
    HANDLE server = nullptr;
    {
        ComModem first(Port, 9600, 8, 2, 0, "^12_34-");
        ASSERT_TRUE(first.com_ok());
        EXPECT_EQ(line.modem.Commands(), Dialogue("\"12,34;"));
        server = ServerProcess();
        ASSERT_NE(server, nullptr);

        unsigned char request[] = {0x7E, 0x80, 0x02, 0x82};
        EXPECT_TRUE(first.put(request, sizeof request));
        EXPECT_EQ(line.drive.Read(4), std::string(reinterpret_cast<char*>(request), 4));
        line.drive.Write("ok");
        unsigned char reply[2] = {};
        EXPECT_TRUE(first.get(reply, 1000, 2));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 2), "ok");

        ComModem other(Port, 9600, 8, 2, 0, "999");
        EXPECT_FALSE(other.com_ok()) << "another number while connected";
    }
    {
        ComModem again(Port, 9600, 8, 2, 0, "^12_34-");
        EXPECT_TRUE(again.com_ok()) << "the call is still up";
        EXPECT_EQ(line.modem.Commands(), Dialogue("\"12,34;")) << "no second dial";
    }
    EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0) << "InacTmo 0: ends after about a second";
    CloseHandle(server);
    EXPECT_FALSE(line.modem.Connected()) << "closing the port hung up";
    EXPECT_TRUE(LeftObjects().empty());
}

TEST_F(FonwickTest, ANumberThatGetsNoCarrierIsDialledAgainByTheNextClient)
{
    ModemOnLine line(ModemBehaviour{ModemBehaviour::DialAnswer::NoCarrier, true});
    {
        ComModem first(Port, 19200, 8, 0, 0, "777");
        EXPECT_FALSE(first.com_ok());
    }
    HANDLE server = ServerProcess();
    {
        ComModem second(Port, 19200, 8, 0, 0, "777");
        EXPECT_FALSE(second.com_ok());
    }
    Commands twice = Dialogue("777");
    const Commands once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(line.modem.Commands(), twice);
    if (server)
    {
        EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0);
        CloseHandle(server);
    }
}

} // namespace

TEST_F(FonwickTest, WithADisplayTheServerShowsItsWindowAndStillEndsAfterTheLastClient)
{
    // The test environment draws off screen, so a display name is all the program needs.
    ::setenv("DISPLAY", ":tvsk", 1);
    ModemOnLine line(ModemBehaviour{});
    HANDLE server = nullptr;
    {
        ComModem client(Port, 9600, 8, 2, 0, "55");
        ::unsetenv("DISPLAY");
        ASSERT_TRUE(client.com_ok());
        server = ServerProcess();
        ASSERT_NE(server, nullptr);
    }
    EXPECT_EQ(WaitForSingleObject(server, 5000), WAIT_OBJECT_0) << "the window's timer ends the program";
    CloseHandle(server);
    EXPECT_TRUE(LeftObjects().empty());
}
