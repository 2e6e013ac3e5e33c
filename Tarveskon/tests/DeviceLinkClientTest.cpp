// The link client end to end: the registered protocol object, Porthaven, a pseudo-terminal and
// drivesim with the sample TK20 defaults; the thread guard from several threads.
#include <Tarveskon/DeviceLinkClient.h>

#include <protocol/ConfigDialog.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <dlfcn.h>

using tvsk::com::MakeVariantR8;

namespace
{

constexpr int kPr33 = 33; // 2.5 A in TK20.par: raw 250
constexpr int kMissingPort = 9;

// The settings dialog the protocol object shows, answering as a test tells it.
class AnsweringConfigDialog : public CConfigDialog
{
public:
    bool ok = true;
    DWORD baudRate = 19200;
    DWORD portCode = 0; // 0: keep
    int shown = 0;

    bool Edit(CDriveSettings& settings, CAutodetectTarget&) override
    {
        ++shown;
        if (!ok)
            return false;
        settings.baudRate = baudRate;
        if (portCode != 0)
            settings.portCode = portCode;
        return true;
    }
};

// Hands the dialog to the protocol component the component model loads (the same module file).
class ConfigDialogHook
{
public:
    explicit ConfigDialogHook(CConfigDialog* dialog)
        : m_module(::dlopen(VRNSER_COMPONENT, RTLD_NOW | RTLD_LOCAL))
    {
        if (m_module)
            m_set = reinterpret_cast<SetHook>(::dlsym(m_module, "VrnSerSetConfigDialog"));
        if (m_set)
            m_set(dialog);
    }
    ~ConfigDialogHook()
    {
        if (m_set)
            m_set(nullptr);
        if (m_module)
            ::dlclose(m_module);
    }
    bool Installed() const { return m_set != nullptr; }

private:
    using SetHook = CConfigDialog* (*)(CConfigDialog*);
    void* m_module;
    SetHook m_set = nullptr;
};

} // namespace

class DeviceLinkClientTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
    }
    void TearDown() override
    {
        client.reset();
        EXPECT_EQ(chain->StopDrive(), 0);
        EXPECT_TRUE(chain->NothingLeftWithin(60000));
        chain.reset();
    }

    void StartAndOpen(const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(chain->StartDrive(options)) << chain->Error();
        ASSERT_TRUE(client->Open(ChainSettings(0).c_str())) << "error " << client->GetErrorCode();
    }
    // The value read as an unsigned 16-bit word; -1 when the read fails.
    long Read(int address)
    {
        VARIANT value;
        VariantInit(&value);
        if (!client->ReadPar(address, 0, VT_UI2, &value))
            return -1;
        EXPECT_EQ(value.vt, VT_UI2);
        return value.uiVal;
    }
    bool Write(int address, double value)
    {
        return client->WritePar(address, 0, VT_UI2, MakeVariantR8(value));
    }

    std::unique_ptr<CDriveChain> chain;
    std::unique_ptr<CDeviceLinkClient> client = std::make_unique<CDeviceLinkClient>();
};

TEST_F(DeviceLinkClientTest, OpenTurnsMessagesOffAndTransfersReachTheDrive)
{
    StartAndOpen();
    EXPECT_TRUE(client->IsConnected());
    EXPECT_EQ(client->GetMsgOn(), 0);
    EXPECT_EQ(client->GetTimeOut(), 200);
    EXPECT_EQ(Read(kPr33), 250);
    EXPECT_TRUE(Write(kPr33, 300));
    EXPECT_EQ(Read(kPr33), 300);
    EXPECT_EQ(client->GetErrorCode(), 0);
    EXPECT_FALSE(client->IsModem());
    EXPECT_TRUE(client->SetWriteAck(false));
    EXPECT_TRUE(client->SetWriteAck(true));
    BYTE buffer[16];
    EXPECT_EQ(client->RawRead(sizeof buffer, buffer), 0) << "the drive sent nothing unasked";
    client->Close();
    EXPECT_FALSE(client->IsConnected());
    EXPECT_EQ(Read(kPr33), -1);
    EXPECT_EQ(client->GetErrorCode(), DLE_NOT_OPEN);
    EXPECT_EQ(client->GetTimeOut(), -1);
    EXPECT_EQ(client->RawRead(sizeof buffer, buffer), -1);
}

TEST_F(DeviceLinkClientTest, FailedInitKeepsTheObjectAndItsCode)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char missing[] = "/dev/tvsk-no-such-device";
    RegSetValueEx(key, "COM9", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof missing);
    RegCloseKey(key);
    EXPECT_FALSE(client->Open(("VrnSer:0,200#COM:" + std::to_string(kMissingPort) + ",9600,E,8,1").c_str()));
    EXPECT_TRUE(client->IsConnected());
    EXPECT_EQ(client->GetErrorCode(), DLE_OPEN_FAILED);
    EXPECT_EQ(Read(kPr33), -1);
    client->Close();
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(DeviceLinkClientTest, SilentDriveFailsAfterTwoTries)
{
    StartAndOpen({"--fault", "silent"});
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(Read(kPr33), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(2 * 200));
    EXPECT_EQ(client->GetErrorCode(), DLE_NO_REPLY);
    EXPECT_FALSE(Write(kPr33, 1));
}

TEST_F(DeviceLinkClientTest, OwnerInAWorkerBlocksEveryOtherThreadUntilItFreesTheLink)
{
    StartAndOpen();
    std::promise<void> taken;
    std::promise<void> checked;
    std::promise<long> workerRead;
    std::thread worker(
        [&]
        {
            EXPECT_TRUE(client->TakeOwner());
            taken.set_value();
            checked.get_future().wait();
            EXPECT_FALSE(client->IsBlocked());
            workerRead.set_value(Read(2));
            EXPECT_TRUE(client->FreeOwner());
        });
    taken.get_future().wait();

    EXPECT_TRUE(client->IsBlocked());
    EXPECT_EQ(Read(kPr33), -1);
    EXPECT_FALSE(Write(kPr33, 1));
    EXPECT_EQ(client->GetErrorCode(), DLE_PORT_BUSY);
    EXPECT_EQ(client->GetTimeOut(), -1);
    EXPECT_EQ(client->GetMsgOn(), 0);
    EXPECT_FALSE(client->TakeOwner());
    EXPECT_FALSE(client->FreeOwner());
    EXPECT_FALSE(client->Enable(false));
    client->Close();
    EXPECT_TRUE(client->IsConnected()) << "a non-owner's Close leaves the link open";
    std::thread third([&] { EXPECT_FALSE(client->TakeOwner()); });
    third.join();

    checked.set_value();
    EXPECT_GE(workerRead.get_future().get(), 0) << "the owner's reads go through";
    worker.join();
    EXPECT_FALSE(client->IsBlocked());
    EXPECT_EQ(Read(kPr33), 250);
}

// A thread reading back to back (a live display) keeps another thread waiting for no more than the
// exchange already on the line; asking the link's state waits for none.
TEST_F(DeviceLinkClientTest, AReaderLoopingOnTheDriveLetsAnotherThreadInAtItsNextTurn)
{
    StartAndOpen({"--delay", "100"});
    std::atomic<bool> stop = false;
    std::atomic<int> workerReads = 0;
    std::thread worker(
        [&]
        {
            while (!stop)
                if (Read(2) >= 0)
                    ++workerReads;
        });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (workerReads < 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    ASSERT_GE(workerReads, 2);

    int start = workerReads;
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_TRUE(client->IsConnected());
        EXPECT_FALSE(client->IsBlocked());
        EXPECT_FALSE(client->IsOwned());
        EXPECT_FALSE(client->IsInDialog());
    }
    EXPECT_LE(workerReads - start, 1) << "state queries waited for the reader's exchanges";
    const auto wanted = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!client->IsWantedByAnotherThread() && std::chrono::steady_clock::now() < wanted)
        std::this_thread::yield();
    EXPECT_TRUE(client->IsWantedByAnotherThread());

    int most = 0;
    for (int i = 0; i < 5; ++i)
    {
        start = workerReads;
        EXPECT_EQ(Read(kPr33), 250);
        // The exchange on the line when this one asked, and the count of the one before it.
        most = std::max(most, workerReads - start);
    }
    EXPECT_LE(most, 2) << "the reader went ahead of a waiting thread";
    stop = true;
    worker.join();
    EXPECT_FALSE(client->IsWantedByAnotherThread());
}

TEST_F(DeviceLinkClientTest, DisabledClientRefusesTrafficAndCloseUntilEnabledAgain)
{
    StartAndOpen();
    EXPECT_FALSE(client->Enable(true)) << "already enabled";
    EXPECT_TRUE(client->Enable(false));
    EXPECT_FALSE(client->Enable(false));
    EXPECT_TRUE(client->IsBlocked());
    EXPECT_EQ(Read(kPr33), -1);
    EXPECT_FALSE(client->TakeOwner());
    client->Close();
    EXPECT_TRUE(client->IsConnected());
    EXPECT_TRUE(client->Enable(true));
    EXPECT_EQ(Read(kPr33), 250);

    // The owner's own switch: off, then on again, then free.
    EXPECT_TRUE(client->TakeOwner());
    EXPECT_TRUE(client->Enable(false));
    EXPECT_FALSE(client->FreeOwner());
    EXPECT_TRUE(client->Enable(true));
    EXPECT_TRUE(client->FreeOwner());
    EXPECT_FALSE(client->IsBlocked());
}

TEST_F(DeviceLinkClientTest, RawReadsDrainTheSampleStreamAndWritesAreAcknowledgedAfterIt)
{
    StartAndOpen();
    // As the oscilloscope does: acknowledgement off, stream bit on; no reply to wait for.
    ASSERT_TRUE(client->SetWriteAck(false));
    ASSERT_TRUE(client->WritePar(42, 11, VT_BOOL, MakeVariantR8(1)));
    std::vector<BYTE> bytes;
    const auto drain = [&](std::chrono::milliseconds window, bool untilQuiet)
    {
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < window)
        {
            BYTE buffer[64];
            const int read = client->RawRead(sizeof buffer, buffer);
            ASSERT_GE(read, 0);
            if (read == 0 && untilQuiet)
                return;
            bytes.insert(bytes.end(), buffer, buffer + read);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    drain(std::chrono::seconds(1), false);
    ASSERT_TRUE(client->WritePar(42, 11, VT_BOOL, MakeVariantR8(0)));
    drain(std::chrono::seconds(2), true); // what the drive sent before the stream stopped
    // Counted by the frames' own counter, not the clock: under load the drive catches up later.
    ASSERT_GE(bytes.size(), 40u) << "the stream flows";
    EXPECT_TRUE(bytes[0] & 1) << "frames from the first byte on: the start was not acknowledged";
    const auto counter = [&](std::size_t frame)
    { return (bytes[4 * frame] | bytes[4 * frame + 1] << 8) >> 1; };
    for (std::size_t frame = 1; frame < bytes.size() / 4; ++frame)
        ASSERT_EQ((counter(frame) - counter(frame - 1)) & 0x7FFF, 8) << "frame " << frame << " lost or cut";

    ASSERT_TRUE(client->SetWriteAck(true));
    EXPECT_TRUE(Write(kPr33, 260)) << "a normal write is acknowledged again";
    EXPECT_EQ(Read(kPr33), 260);
}

TEST_F(DeviceLinkClientTest, TimeOutOfZeroOrLessChangesNothing)
{
    StartAndOpen();
    client->SetTimeOut(0);
    EXPECT_EQ(client->GetTimeOut(), 200);
    client->SetTimeOut(-5);
    EXPECT_EQ(client->GetTimeOut(), 200);
    client->SetTimeOut(350);
    EXPECT_EQ(client->GetTimeOut(), 350);
    client->SetMsgOn(1);
    EXPECT_EQ(client->GetMsgOn(), 1);
}

TEST_F(DeviceLinkClientTest, ConfigureWithoutALinkUsesATemporaryObject)
{
    AnsweringConfigDialog dialog;
    ConfigDialogHook hook(&dialog);
    ASSERT_TRUE(hook.Installed());
    CString result;
    client->Configure(result, ChainSettings(0).c_str(), 2, VT_UI2);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(result, ("VrnSer:0,200#COM:" + std::to_string(CDriveChain::Port) + ",19200,E,8,1").c_str());
    EXPECT_FALSE(client->IsConnected()) << "the temporary object is gone again";

    dialog.ok = false;
    client->Configure(result, ChainSettings(0).c_str(), 2, VT_UI2);
    EXPECT_EQ(dialog.shown, 2);
    EXPECT_EQ(result, "") << "Cancel";
}

TEST_F(DeviceLinkClientTest, ConfigureOnTheLinkReleasesItWhenThePortDoesNotReopen)
{
    StartAndOpen();
    AnsweringConfigDialog dialog;
    ConfigDialogHook hook(&dialog);
    ASSERT_TRUE(hook.Installed());
    CString result;
    dialog.baudRate = 9600;
    dialog.portCode = 0;
    client->Configure(result, nullptr, 0, 0);
    EXPECT_EQ(result, "") << "nothing changed";
    EXPECT_TRUE(client->IsConnected());
    EXPECT_EQ(Read(kPr33), 250);

    ASSERT_TRUE(client->TakeOwner());
    std::thread other(
        [&]
        {
            CString blocked;
            client->Configure(blocked, nullptr, 0, 0);
            EXPECT_EQ(blocked, "");
        });
    other.join();
    EXPECT_EQ(dialog.shown, 1) << "a blocked client shows no dialog";
    ASSERT_TRUE(client->FreeOwner());

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char missing[] = "/dev/tvsk-no-such-device";
    RegSetValueEx(key, "COM9", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof missing);
    RegCloseKey(key);
    dialog.portCode = kSerialPortCodeBase + kMissingPort;
    client->Configure(result, nullptr, 0, 0);
    EXPECT_EQ(result, "") << "the dialog's settings did not open";
    EXPECT_FALSE(client->IsConnected()) << "the link counts as closed";
}
