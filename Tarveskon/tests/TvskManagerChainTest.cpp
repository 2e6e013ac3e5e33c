// The manager's link, values and host commands end to end: the registered protocol object,
// Porthaven, a pseudo-terminal and drivesim with the sample TK20 defaults.
#include "ManagerTestSupport.h"

#include <Tarveskon/TvskStrings.h>

#include <protocol/ConfigDialog.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Registry.h>
#include <ui/UiDefs.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <future>
#include <thread>

#include <dlfcn.h>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

constexpr int kMissingPort = 9;

long Pointer(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

VARIANT Real(double value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

// The settings dialog of the protocol object, answering as the test tells it.
class AnsweringConfigDialog : public CConfigDialog
{
public:
    bool ok = true;
    bool Edit(CDriveSettings& settings, CAutodetectTarget&) override
    {
        if (ok)
            settings.baudRate = 19200;
        return ok;
    }
};

// Hands a dialog to the protocol component the component model loads.
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
    ConfigDialogHook(const ConfigDialogHook&) = delete;
    ConfigDialogHook& operator=(const ConfigDialogHook&) = delete;

private:
    using SetHook = CConfigDialog* (*)(CConfigDialog*);
    void* m_module;
    SetHook m_set = nullptr;
};

// Scripts that count the write events and veto every write.
class VetoingWrites : public CTvskScriptEvents
{
public:
    explicit VetoingWrites(CTvskManager& manager) : m_manager(manager) {}
    bool MayFire() const override { return true; }
    bool ChangeValue(const char*, double) override { return ++changes, true; }
    bool BeforeWritePar(const char*, double) override
    {
        ++before;
        m_manager.SetCanRW(veto ? FALSE : TRUE);
        return true;
    }
    bool AfterWritePar(const char*, double) override { return ++after, true; }
    bool veto = true;
    int changes = 0;
    int before = 0;
    int after = 0;

private:
    CTvskManager& m_manager;
};

class TvskManagerChainTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        folder = std::make_unique<ProgramFolder>();
        manager = std::make_unique<CTvskManager>(folder->Dir().c_str());
        manager->SetHostUi(&ui);
    }
    void TearDown() override
    {
        manager.reset();
        EXPECT_EQ(chain->StopDrive(), 0);
        EXPECT_TRUE(chain->NothingLeftWithin(60000)) << "Porthaven ended with the last protocol object";
        chain.reset();
    }
    void StartDrive(const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(chain->StartDrive(options)) << chain->Error();
    }
    // The session (TK20 unless named), its link set to the chain's drive and opened.
    void OpenAndConnect(const char* sample = "Samples/TK20.dat")
    {
        ASSERT_EQ(manager->OpenFile(folder->Path(sample).c_str()), 0);
        manager->ParDb().SetCommSettings(ChainSettings(0).c_str());
        ASSERT_EQ(manager->Connect(""), 0);
        ASSERT_TRUE(manager->IsConnected());
    }
    double Word(int address, int bits = 16)
    {
        double value = -99999;
        EXPECT_EQ(manager->SendCommand(14, (static_cast<long>(bits) << 16) + address, Pointer(&value)), 0);
        return value;
    }
    double Value(const char* name)
    {
        const DBPAR* par = manager->ParDb().GetPar(name, true);
        return par ? par->dblDefVal : std::nan("");
    }
    std::string LastError()
    {
        CString text;
        manager->GetLastErrorText(text);
        return text.str();
    }
    static void MapMissingPort()
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\MurnApps\\SerialPorts", 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char missing[] = "/dev/tvsk-no-such-device";
        RegSetValueEx(key, "COM9", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof missing);
        RegCloseKey(key);
    }

    std::unique_ptr<CDriveChain> chain;
    std::unique_ptr<ProgramFolder> folder;
    RecordingUi ui;
    std::unique_ptr<CTvskManager> manager;
};

TEST_F(TvskManagerChainTest, ConnectUsesTheStoredSettingsAndDescribesThem)
{
    StartDrive();
    OpenAndConnect();
    EXPECT_EQ(manager->GetConnectionDescription(nullptr).str(), "COM7:9600  ADDR:0");
    EXPECT_EQ(manager->GetConnectionDescription("VrnSer:0,200#COM:1,9600,E,8,1").str(), "COM1:9600  ADDR:0");
    EXPECT_EQ(manager->Disconnect(), 0);
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(manager->GetConnectionDescription(nullptr).str(), "");
}

TEST_F(TvskManagerChainTest, FileCommandsCloseTheLink)
{
    StartDrive();
    OpenAndConnect();
    ASSERT_EQ(manager->OpenFile(folder->Path("Samples/TK40.dat").c_str()), 0);
    EXPECT_FALSE(manager->IsConnected());
    ASSERT_EQ(manager->Connect(ChainSettings(0).c_str()), 0);
    ASSERT_EQ(manager->ImportSlv(folder->Path("Samples/TK20.slv").c_str()), 0);
    EXPECT_FALSE(manager->IsConnected());
    ASSERT_EQ(manager->Connect(ChainSettings(0).c_str()), 0);
    ASSERT_TRUE(manager->NewFile());
    EXPECT_FALSE(manager->IsConnected());
}

TEST_F(TvskManagerChainTest, AMissingDeviceAnswersItsCodeAndLeavesTheLinkClosed)
{
    StartDrive();
    MapMissingPort();
    const std::string missing = "VrnSer:0,200#COM:" + std::to_string(kMissingPort) + ",9600,E,8,1";
    EXPECT_EQ(manager->Connect(missing.c_str()), 13);
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(manager->GetLinkErrorText(13).str(),
              "Errore di comunicazione:\nporta di comunicazione non aperta");

    ASSERT_EQ(manager->OpenFile(folder->Path("Samples/TK20.dat").c_str()), 0);
    manager->ParDb().SetCommSettings(missing.c_str());
    EXPECT_EQ(manager->SendCommand(10, 0, 0), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Errore di comunicazione:\nporta di comunicazione non aperta");
    manager->ParDb().SetCommSettings(ChainSettings(0).c_str());
    EXPECT_EQ(manager->SendCommand(10, 0, 0), 0);
    EXPECT_TRUE(manager->IsConnected());
    EXPECT_EQ(manager->SendCommand(10, 0, 0), 0);
    EXPECT_FALSE(manager->IsConnected()) << "code 10 toggles";
}

TEST_F(TvskManagerChainTest, ValuesTravelScaledBothWays)
{
    StartDrive();
    OpenAndConnect();
    EXPECT_EQ(manager->SendCommand(1, Pointer("Pr33"), 0), 0);
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.5) << "raw 250";
    EXPECT_EQ(manager->SetParValue("Pr33", Real(3), TRUE), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Word(33), 300);
    EXPECT_EQ(manager->SetParValue("Pr33", Real(9), TRUE), HOSTRES_LIMITS);
    EXPECT_DOUBLE_EQ(Word(33), 300) << "nothing written";
    EXPECT_EQ(manager->SendCommand(2, Pointer("Pr0"), 0), 12);
    EXPECT_EQ(LastError(), "Impossibile scrivere in un parametro di sola lettura");
    EXPECT_EQ(manager->SendCommand(2, Pointer(""), 0), 2);
    EXPECT_EQ(manager->SendCommand(2, Pointer("Pr999"), 0), 2);
    EXPECT_EQ(manager->SendCommand(2, Pointer("Pr33"), 0), 0);
}

TEST_F(TvskManagerChainTest, ALiveReadOnlyValueLeavesTheConfigurationUnmodified)
{
    const std::string control = folder->Path("control");
    StartDrive({"--control", control});
    OpenAndConnect();
    ASSERT_TRUE(SendDriveControl(control, "set 81 250\nset 32 2000\n"));
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(manager->SendCommand(1, Pointer("Pr81"), 0), 0);
    EXPECT_DOUBLE_EQ(Value("Pr81"), 2.5);
    EXPECT_FALSE(manager->IsModified()) << "host command 1 spares it too";
    EXPECT_EQ(manager->ReadPar("Pr81", &value), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Value("Pr81"), 2.5);
    EXPECT_FALSE(manager->IsModified()) << "a current read from the drive";
    EXPECT_EQ(manager->ReadPar("Pr32", &value), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Value("Pr32"), 2000);
    EXPECT_TRUE(manager->IsModified()) << "a setting read from the drive";
    VariantClear(&value);
}

// The working list is rebuilt with the new mode's defaults only when the configuration's mode
// changes: a poll or a monitor edit of the mode keeps the values the user set.
TEST_F(TvskManagerChainTest, ReadingTheOperatingModeKeepsTheModesValues)
{
    StartDrive();
    OpenAndConnect("Samples/TK40.dat");
    ASSERT_DOUBLE_EQ(Value("Pr1"), 2);
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 1, 2), 0);
    ASSERT_EQ(manager->SetParValue("Pr100", Real(1234), FALSE), HOSTRES_OK);
    ASSERT_EQ(manager->SetParValue("Pr104", Real(77), FALSE), HOSTRES_OK);
    ASSERT_TRUE(manager->AddMonitorPar("Pr1"));
    manager->SetModified(FALSE);
    EXPECT_EQ(manager->SendCommand(16, Pointer("Pr1"), 0), 0);
    EXPECT_DOUBLE_EQ(Value("Pr100"), 1234);
    EXPECT_DOUBLE_EQ(Value("Pr104"), 77);
    EXPECT_FALSE(manager->IsModified());

    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 1, 3), 0);
    EXPECT_EQ(manager->SendCommand(16, Pointer("Pr1"), 0), 0);
    EXPECT_DOUBLE_EQ(manager->MonitorList()[0].dblDefVal, 3) << "the monitor shows the drive's mode";
    EXPECT_DOUBLE_EQ(Value("Pr1"), 2) << "the configuration keeps its own";
    EXPECT_EQ(manager->SetMonitorParField(0, 1, "2"), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Word(1), 2);
    EXPECT_DOUBLE_EQ(Value("Pr100"), 1234);
    EXPECT_DOUBLE_EQ(Value("Pr104"), 77);

    ASSERT_EQ(manager->SetParValue("Pr1", Real(3), FALSE), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Value("Pr100"), 1) << "a new mode brings its defaults";
    EXPECT_DOUBLE_EQ(Value("Pr104"), 0);
}

TEST_F(TvskManagerChainTest, TheCurrentValueAgainIsStillWritten)
{
    StartDrive();
    OpenAndConnect();
    VetoingWrites scripts(*manager);
    scripts.veto = false;
    manager->SetScriptEvents(&scripts);
    ASSERT_EQ(manager->SetParValue("Pr33", Real(3), TRUE), HOSTRES_OK);
    manager->SetModified(FALSE);
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 33, 111), 0);
    const int changes = scripts.changes;
    EXPECT_EQ(manager->SetParValue("Pr33", Real(3), TRUE), HOSTRES_OK);
    EXPECT_EQ(scripts.changes, changes) << "no change event";
    EXPECT_FALSE(manager->IsModified());
    EXPECT_DOUBLE_EQ(Word(33), 300);
    manager->SetScriptEvents(nullptr);
}

TEST_F(TvskManagerChainTest, BitsAndDoubleWordsByNameAndAddress)
{
    StartDrive();
    OpenAndConnect();
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 42, 0x0010), 0);
    EXPECT_EQ(manager->WritePar("Pr42.0", Real(1)), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Word(42), 0x0011) << "one bit set, the others kept";
    EXPECT_EQ(manager->SendCommand(15, (16L << 16) + 42, 70000), 10) << "more than a word holds";
    EXPECT_EQ(manager->SendCommand(15, (16L << 16) + 42, -40000), 10);
    EXPECT_DOUBLE_EQ(Word(42), 0x0011) << "nothing cut down was written";
    EXPECT_EQ(manager->SendCommand(15, (1L << 16) + 43, 5), 0) << "any nonzero sets a bit";
    EXPECT_EQ(manager->WritePar("103:102", Real(-5)), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Word(102), -5) << "low word 0xFFFB";
    EXPECT_DOUBLE_EQ(Word(103), -1) << "high word 0xFFFF";
    EXPECT_DOUBLE_EQ(Word(102, 32), -5);
    EXPECT_EQ(manager->WritePar("12.16", Real(1)), HOSTRES_NOTFOUND);
    EXPECT_EQ(manager->WritePar("12:13", Real(1)), HOSTRES_NOTFOUND);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(manager->ReadPar("33", &value), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(value.dblVal, 250) << "by address: the raw value";
}

TEST_F(TvskManagerChainTest, TheOscilloscopeModeWordOfTheOptions)
{
    StartDrive();
    OpenAndConnect();
    EXPECT_EQ(manager->SendCommand(30, 5, 0), 5);
    EXPECT_DOUBLE_EQ(Word(90), 5);
    int first = 0, second = 0;
    EXPECT_EQ(manager->SendCommand(29, Pointer(&first), Pointer(&second)), 5);
    EXPECT_EQ(first, 720938);
    EXPECT_EQ(second, 720938);
    manager->Disconnect();
    EXPECT_EQ(manager->SendCommand(29, 0, 0), -1) << "not connected";
}

TEST_F(TvskManagerChainTest, AddressReadsNeedNoFile)
{
    StartDrive();
    ASSERT_EQ(manager->Connect(ChainSettings(0).c_str()), 0);
    EXPECT_DOUBLE_EQ(Word(2), 2050);
    EXPECT_EQ(manager->SendCommand(1, Pointer("Pr33"), 0), 1);
    EXPECT_EQ(LastError(), "File parametri chiuso");
}

TEST_F(TvskManagerChainTest, AQuickReadOfASilentDriveMarksTheEntryUnread)
{
    StartDrive({"--fault", "silent"});
    ASSERT_EQ(manager->OpenFile(folder->Path("Samples/TK20.dat").c_str()), 0);
    ASSERT_EQ(manager->Connect(ChainSettings(0).c_str()), 0);
    ASSERT_TRUE(manager->AddMonitorPar("Pr33"));
    const long messages = manager->Link().GetMsgOn();
    const short timeOut = manager->Link().GetTimeOut();
    EXPECT_EQ(manager->SendCommand(16, Pointer("Pr33"), 0), 5);
    EXPECT_EQ(LastError(), "Errore nella lettura del parametro");
    EXPECT_EQ(manager->MonitorList()[0].dblDefVal, 3.4028234663852886e38);
    CString text;
    manager->GetMonitorParField(0, 1, text);
    EXPECT_EQ(text.str(), "---");
    EXPECT_EQ(manager->Link().GetMsgOn(), messages);
    EXPECT_EQ(manager->Link().GetTimeOut(), timeOut);
    EXPECT_EQ(manager->SendCommand(16, Pointer("Pr34"), 0), 2) << "not in the monitor list";
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(manager->ReadPar("Pr33", &value), HOSTRES_READERR);
    EXPECT_EQ(manager->GetErrorCode(), 4);
    EXPECT_EQ(manager->ReadPar("33", &value), HOSTRES_READERR);
    char failed = 0;
    EXPECT_EQ(manager->ReadAlarm(&failed), -1);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(manager->GetAlarm(), -1);
}

TEST_F(TvskManagerChainTest, TheAlarmIsWordFour)
{
    StartDrive();
    OpenAndConnect();
    ASSERT_EQ(manager->SendCommand(15, (16L << 16) + 4, 7), 0);
    char failed = 0;
    EXPECT_EQ(manager->ReadAlarm(&failed), 7);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(manager->GetAlarm(), 7);
}

TEST_F(TvskManagerChainTest, TheWatchdogClosesTheLinkPastItsPeriod)
{
    StartDrive();
    OpenAndConnect();
    constexpr int kPeriodMs = 300;
    const auto periodStarted = std::chrono::steady_clock::now();
    manager->SetWatchdogPeriod(kPeriodMs);
    manager->CheckConnection(false);
    // Only where the check really came within the period (a loaded machine may hold the test up).
    if (std::chrono::steady_clock::now() - periodStarted < std::chrono::milliseconds(kPeriodMs - 5))
    {
        EXPECT_TRUE(manager->IsConnected()) << "within the period";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kPeriodMs + 30));
    manager->CheckConnection(true);
    EXPECT_TRUE(manager->IsConnected()) << "an answer starts the period again";
    std::this_thread::sleep_for(std::chrono::milliseconds(kPeriodMs + 30));
    manager->CheckConnection(false);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0],
              "Timeot di comunicazione con il drive.\nLa connessione con il drive viene interrotta.");
    EXPECT_FALSE(manager->IsConnected());
}

TEST_F(TvskManagerChainTest, AnOwningWorkerShutsTheOtherThreadsOut)
{
    StartDrive();
    OpenAndConnect();
    std::promise<void> owned, release;
    std::future<void> released = release.get_future();
    std::thread worker(
        [&]
        {
            EXPECT_EQ(manager->SendCommand(18, 0, 0), 0);
            owned.set_value();
            released.wait();
            double value = 0;
            EXPECT_EQ(manager->SendCommand(14, (16L << 16) + 33, Pointer(&value)), 0) << "the owner reads";
            EXPECT_EQ(manager->SendCommand(19, 0, 0), 0);
        });
    owned.get_future().wait();
    EXPECT_EQ(manager->SendCommand(1, Pointer("Pr33"), 0), 5);
    EXPECT_EQ(manager->Link().GetErrorCode(), 3);
    std::thread other([&] { EXPECT_EQ(manager->SendCommand(18, 0, 0), 11); });
    other.join();
    manager->Disconnect();
    EXPECT_TRUE(manager->IsConnected()) << "a non-owner cannot close the link";
    release.set_value();
    worker.join();
    EXPECT_EQ(manager->SendCommand(1, Pointer("Pr33"), 0), 0) << "free again";
    EXPECT_EQ(manager->SendCommand(24, 1, 0), 0) << "already enabled";
    const short timeOut = manager->Link().GetTimeOut();
    manager->Link().SetTimeOut(0);
    EXPECT_EQ(manager->Link().GetTimeOut(), timeOut);
}

TEST_F(TvskManagerChainTest, AVetoedWriteWritesNothingAndSaysSo)
{
    StartDrive();
    OpenAndConnect();
    VetoingWrites scripts(*manager);
    manager->SetScriptEvents(&scripts);
    EXPECT_EQ(manager->SetParValue("Pr33", Real(4), TRUE), HOSTRES_OK);
    EXPECT_EQ(scripts.before, 1);
    EXPECT_EQ(scripts.after, 1);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_TRUE(manager->GetCanRW());
    EXPECT_DOUBLE_EQ(Word(33), 250) << "the drive keeps its value";
    EXPECT_DOUBLE_EQ(Value("Pr33"), 4) << "the file takes it";
    manager->SetScriptEvents(nullptr);
}

TEST_F(TvskManagerChainTest, TheSettingsDialogStoresWhatItGives)
{
    StartDrive();
    AnsweringConfigDialog dialog;
    const ConfigDialogHook hook(&dialog);
    ASSERT_EQ(manager->OpenFile(folder->Path("Samples/TK20.dat").c_str()), 0);
    manager->ParDb().SetCommSettings(ChainSettings(0).c_str());
    manager->SetModified(FALSE);
    CString settings;
    EXPECT_EQ(manager->SendCommand(11, 0, Pointer(&settings)), 0);
    EXPECT_NE(settings.Find("19200"), -1) << settings.str();
    EXPECT_STREQ(manager->ParDb().GetCommSettings(), settings.GetString());
    EXPECT_TRUE(manager->IsModified());
    const CString chosen = settings;
    dialog.ok = false;
    EXPECT_EQ(manager->SendCommand(11, 0, Pointer(&settings)), 0);
    EXPECT_EQ(settings, chosen) << "cancelled: the caller's text stays";
}

} // namespace
