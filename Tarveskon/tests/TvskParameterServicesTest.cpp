#include "ManagerTestSupport.h"

#include <Tarveskon/TvskCommSettings.h>
#include <Tarveskon/TvskMessages.h>
#include <Tarveskon/TvskParValues.h>

#include <com/Variant.h>
#include <ui/UiDefs.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <limits>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

VARIANT Real(double value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

long Text(const char* text)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(text));
}

class PostingUi : public RecordingUi
{
public:
    void PostToMainWindow(UINT message, WPARAM, LPARAM) override { posted.push_back(message); }
    std::vector<UINT> posted;
};

class TvskParameterServicesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tvsk::testing::ResetProfile();
        manager.SetHostUi(&ui);
    }
    void OpenTk20() { ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK20.dat").c_str()), 0); }
    double Value(const char* name)
    {
        const DBPAR* par = manager.ParDb().GetPar(name, true);
        return par ? par->dblDefVal : std::numeric_limits<double>::quiet_NaN();
    }
    std::string LastError()
    {
        CString text;
        manager.GetLastErrorText(text);
        return text.str();
    }
    // A new configuration of the given drive and motor, its wizard data loaded.
    void Choose(const char* drive, const char* motor)
    {
        ASSERT_TRUE(manager.NewFile());
        ASSERT_EQ(manager.DriveDb().Load(folder.Path("Drives.db").c_str()), 0);
        ASSERT_TRUE(manager.SelectDrive(drive));
        ASSERT_EQ(manager.GetMotorDb()->Load(folder.Path("Motor.db").c_str(),
                                             folder.Path("CustomMotor.db").c_str()),
                  0);
        ASSERT_TRUE(manager.SelectMotor(motor, false));
        ASSERT_EQ(manager.LoadWizardData(true), 0);
    }

    ProgramFolder folder;
    PostingUi ui;
    CTvskManager manager{folder.Dir().c_str()};
};

TEST_F(TvskParameterServicesTest, WithoutAFileOnlyTheFourFreeCodesRun)
{
    EXPECT_EQ(manager.SendCommand(1, Text("Pr33"), 0), 1);
    EXPECT_EQ(LastError(), "File parametri chiuso");
    EXPECT_EQ(manager.SendCommand(99, 0, 0), 1) << "unknown codes too";
    double value = 0;
    EXPECT_EQ(manager.SendCommand(14, (16L << 16) + 2, Text(reinterpret_cast<const char*>(&value))), 10)
        << "code 14 runs without a file; not connected it fails";
    CString settings("VrnSer:0,200#COM:1,9600,E,8,1");
    EXPECT_EQ(manager.SendCommand(11, 0, Text(reinterpret_cast<const char*>(&settings))), 0);
    EXPECT_EQ(manager.SendCommand(50, 0, 0), 13) << "no help was prepared";
}

TEST_F(TvskParameterServicesTest, CodesOfAFileAnswerTheirDefinedResults)
{
    OpenTk20();
    EXPECT_EQ(manager.SendCommand(2, Text("Pr0"), 0), 12);
    EXPECT_EQ(LastError(), "Impossibile scrivere in un parametro di sola lettura");
    EXPECT_EQ(manager.SendCommand(2, Text(""), 0), 2);
    EXPECT_EQ(LastError(), "Nome parametro non trovato");
    EXPECT_EQ(manager.SendCommand(2, Text("Pr999"), 0), 2);
    EXPECT_EQ(LastError(), "Parametro non trovato");
    EXPECT_EQ(manager.SendCommand(2, Text("Pr33"), 0), 6) << "not connected: the write fails";
    EXPECT_EQ(manager.SendCommand(20, 0, 0), 10);
    for (UINT code : {27u, 28u})
        EXPECT_EQ(manager.SendCommand(code, 0, 0), 8) << code;
    int equal = 1;
    EXPECT_EQ(manager.SendCommand(33, static_cast<long>(reinterpret_cast<intptr_t>(&equal)), 0), 11)
        << "not connected: 33";
    EXPECT_EQ(manager.GetErrorCode(), 21);
    testing::internal::CaptureStderr();
    EXPECT_EQ(manager.SendCommand(33, 0, 0), 11) << "no place for the answer";
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ProgramError: TvskManagerCommands.cpp("),
              std::string::npos)
        << "a caller fault is reported";
    for (UINT code : {31u, 32u, 37u, 38u, 40u})
    {
        EXPECT_EQ(manager.SendCommand(code, 0, 0), 11) << "not connected: " << code;
        EXPECT_EQ(manager.GetErrorCode(), 21) << code;
    }
    for (UINT code : {3u, 4u, 8u, 9u})
    {
        EXPECT_EQ(manager.SendCommand(code, 0, 0), 0) << "not connected: " << code;
        EXPECT_EQ(manager.GetErrorCode(), 21) << code;
    }
    for (UINT code : {25u, 26u, 39u, 41u, 45u, 49u, 0u, 51u})
        EXPECT_EQ(manager.SendCommand(code, 0, 0), 0) << code;
    EXPECT_EQ(manager.SendCommand(6, 0, 0), 0);
    manager.SendCommand(7, Text("Pr33"), 0);
    manager.SendCommand(7, Text("Pr33"), 0);
    manager.SendCommand(7, Text("Pr999"), 0);
    EXPECT_EQ(manager.PageParList(), std::vector<std::string>{"Pr33"});
}

TEST_F(TvskParameterServicesTest, ProgramsStartWithoutAShell)
{
    OpenTk20();
    const std::string marker = folder.Path("started");
    const std::string command = "touch " + marker + " " + marker + ";rm";
    EXPECT_EQ(manager.SendCommand(13, Text(command.c_str()), 0), 0);
    for (int i = 0; i < 3000 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(std::filesystem::exists(marker));
    for (int i = 0; i < 3000 && !std::filesystem::exists(marker + ";rm"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(std::filesystem::exists(marker + ";rm")) << "no shell reads the ';'";
    EXPECT_EQ(manager.SendCommand(13, Text("no-such-program-anywhere"), 0), 0);
}

TEST_F(TvskParameterServicesTest, RawPacketsNeverReadOutsideOnePacket)
{
    OpenTk20();
    BYTE buffer[16] = {};
    const long address = Text(reinterpret_cast<const char*>(buffer));
    EXPECT_EQ(manager.SendCommand(22, 0, address), -1);
    EXPECT_EQ(manager.SendCommand(22, 70000, address), -1);
    EXPECT_EQ(manager.SendCommand(22, -5, address), -1);
}

TEST_F(TvskParameterServicesTest, ExclusiveModeOffPostsARefreshOnce)
{
    OpenTk20();
    manager.SendCommand(17, 1, 0);
    EXPECT_TRUE(manager.IsExclusiveMode());
    manager.SendCommand(17, 0, 0);
    manager.SendCommand(17, 0, 0);
    EXPECT_EQ(ui.posted, std::vector<UINT>{WM_REFRESH_PAGE});
}

TEST_F(TvskParameterServicesTest, ValuesAreCheckedAgainstLimitsAndWidth)
{
    OpenTk20();
    EXPECT_EQ(manager.SetParValue("Pr33", Real(3), FALSE), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Value("Pr33"), 3);
    EXPECT_TRUE(manager.IsModified());
    EXPECT_EQ(manager.SetParValue("Pr33", Real(9), FALSE), HOSTRES_LIMITS);
    EXPECT_EQ(LastError(), "Valore fuori dai limiti\nMin : 0.2 Max : 8");
    EXPECT_EQ(manager.SetParValue("Pr33", Real(std::nan("")), FALSE), HOSTRES_LIMITS);
    EXPECT_EQ(manager.SetParValue("Pr33", Real(std::numeric_limits<double>::infinity()), FALSE),
              HOSTRES_LIMITS);
    EXPECT_DOUBLE_EQ(Value("Pr33"), 3) << "nothing stored";
    EXPECT_EQ(manager.SetParValue("Pr999", Real(1), FALSE), HOSTRES_NOTFOUND);
    manager.SetModified(FALSE);
    EXPECT_EQ(manager.SetParValue("Pr33", Real(3), FALSE), HOSTRES_OK);
    EXPECT_FALSE(manager.IsModified()) << "the current value again changes nothing";
}

TEST_F(TvskParameterServicesTest, AValueWhoseRawValueOverflowsItsWordIsRefused)
{
    folder.Replace("TK20/TK20.par", "Pr32\t-1\trw\t4500\t16\t1\t0\t6000\t100",
                   "Pr32\t-1\trw\t4500\t16\t100\t0\t6000\t100");
    OpenTk20();
    EXPECT_EQ(manager.SetParValue("Pr32", Real(700), FALSE), HOSTRES_LIMITS) << "70000 does not fit 16 bits";
    EXPECT_EQ(manager.SetParValue("Pr32", Real(600), FALSE), HOSTRES_OK);
}

TEST_F(TvskParameterServicesTest, FieldsOfTheMenuListAndTheMonitorCopies)
{
    OpenTk20();
    ASSERT_TRUE(manager.SetMenu(2));
    ASSERT_GT(manager.GetParNum(), 3);
    int index = -1;
    CString text;
    for (int i = 0; i < manager.GetParNum() && index < 0; ++i)
        if (manager.GetParField(i, 0, text) && text == "Pr33")
            index = i;
    ASSERT_GE(index, 0);
    EXPECT_TRUE(manager.GetParField(index, 1, text));
    EXPECT_EQ(text.str(), "2.6");
    EXPECT_TRUE(manager.GetParField(index, 8, text));
    EXPECT_EQ(text.str(), "A");
    EXPECT_TRUE(manager.GetParField(index, 6, text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(manager.GetParField(index, 13, text));
    EXPECT_TRUE(manager.IsParFieldEditable(index, 1));
    EXPECT_FALSE(manager.IsParFieldEditable(index, 9)) << "menu below 100";
    EXPECT_EQ(manager.SetParField(index, 1, "2.345"), HOSTRES_OK);
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.34) << "the raw value is truncated to whole steps";
    EXPECT_EQ(manager.SetParField(index, 1, "0.29"), HOSTRES_OK);
    EXPECT_EQ(Value("Pr33"), 0.29) << "0.29 x 100 is 29 steps, not 28";
    EXPECT_EQ(manager.SetParField(index, 1, "2.34"), HOSTRES_OK);
    EXPECT_EQ(manager.SetParField(index, 1, "99"), HOSTRES_LIMITS);
    EXPECT_EQ(manager.SetParField(index, 1, "nan"), HOSTRES_LIMITS);

    ASSERT_TRUE(manager.AddMonitorPar("Pr33"));
    EXPECT_EQ(manager.SetMonitorParField(0, 1, "1.5"), HOSTRES_OK);
    EXPECT_TRUE(manager.GetMonitorParField(0, 1, text));
    EXPECT_EQ(text.str(), "1.5");
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.34) << "the monitor entry is a copy";
    EXPECT_EQ(manager.SetMonitorParField(3, 1, "1"), HOSTRES_NOMONITOR);
    EXPECT_EQ(LastError(), "Parametro non presente nel monitor");
    EXPECT_TRUE(manager.RemoveMonitorPar(0));
    EXPECT_FALSE(manager.RemoveMonitorPar(0));
}

TEST_F(TvskParameterServicesTest, TemporaryParametersComeAndGo)
{
    OpenTk20();
    ASSERT_TRUE(manager.AddTmpPar("201:200", "Posizione", 12, nullptr));
    EXPECT_TRUE(manager.ExistPar("201:200"));
    CString text;
    EXPECT_TRUE(manager.RemTmpPar("201:200", text));
    EXPECT_FALSE(manager.ExistPar("201:200"));
    EXPECT_FALSE(manager.RemTmpPar("201:200", text));
}

// The download window adds temporary parameters while a pager page lists its own: the list must
// follow its parameters through the working list's growth, a sort and a removal.
TEST_F(TvskParameterServicesTest, ThePageListKeepsItsParametersWhileTheWorkingListChanges)
{
    OpenTk20();
    manager.SendCommand(6, 0, 0);
    for (const char* name : {"Pr33", "Pr1", "Pr4"})
        manager.SendCommand(7, Text(name), 0);
    const std::vector<std::string> page{"Pr33", "Pr1", "Pr4"};
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(manager.AddTmpPar(std::to_string(240 - i).c_str(), "Temporaneo", i, nullptr)) << i;
    EXPECT_EQ(manager.PageParList(), page) << "after the working list grew";
    manager.SendCommand(12, 0, 0);
    EXPECT_EQ(manager.PageParList(), page) << "after the sort";
    CString text;
    ASSERT_TRUE(manager.RemTmpPar("240", text));
    EXPECT_EQ(manager.PageParList(), page) << "after a removal";
    manager.SendCommand(7, Text("235"), 0);
    ASSERT_TRUE(manager.RemTmpPar("235", text));
    manager.SendCommand(7, Text("Pr33"), 0);
    EXPECT_EQ(manager.PageParList(), (std::vector<std::string>{"Pr33", "Pr1", "Pr4"}))
        << "a removed temporary parameter leaves the list; no duplicates";
}

TEST_F(TvskParameterServicesTest, OptionsCamsAndPlcOfTheFile)
{
    ASSERT_EQ(manager.OpenFile(folder.Path("Samples/TK40.dat").c_str()), 0);
    EXPECT_EQ(manager.GetPlcMaxLen(), 256);
    EXPECT_EQ(manager.GetOscResetTries().str(), "3");
    EXPECT_EQ(manager.GetOscMinBaud().str(), "38400");
    EXPECT_EQ(manager.GetCamStepsNr(), 257);
    EXPECT_DOUBLE_EQ(manager.GetCamMaxValue(), 10000);
    EXPECT_EQ(manager.GetCamDefNum(), 4);
    EXPECT_EQ(manager.GetCamStartAddr(1), 2560);
    EXPECT_EQ(manager.GetCamStartAddr(7), 2048) << "a cam without a definition";
    double value = -1;
    int interp = -1, valid = -1;
    EXPECT_EQ(manager.GetCamData(2, &value, &interp, &valid, 0), 1);
    EXPECT_DOUBLE_EQ(value, 500);
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(manager.GetCamData(200, &value, &interp, &valid, 3), 1);
    EXPECT_EQ(valid, 0);
    EXPECT_TRUE(manager.IsPlcTerminated());
    const int operands[3] = {1, -1, -1};
    EXPECT_EQ(manager.SetPlcInstr(999, "LD", operands), 9);
    int first = 0, second = 0;
    EXPECT_EQ(manager.SendCommand(29, Text(reinterpret_cast<const char*>(&first)),
                                  Text(reinterpret_cast<const char*>(&second))),
              -1)
        << "not connected";
}

TEST_F(TvskParameterServicesTest, SettingsStringsDescribeTheirConnection)
{
    EXPECT_EQ(tvsk::comm::Description("VrnSer:0,200#COM:1,9600,E,8,1").str(), "COM1:9600  ADDR:0");
    EXPECT_EQ(tvsk::comm::Description("VrnSer:5,200#CANUSB:1000").str(), "  ADDR:5");
    int baud = -1;
    EXPECT_EQ(tvsk::comm::BaudRate("VrnSer:0,200#COM:1,9600,E,8,1", &baud), 0);
    EXPECT_EQ(baud, 9600);
    EXPECT_EQ(tvsk::comm::BaudRate("VrnSer:1,200#CANUSB:500", &baud), 9);
    EXPECT_EQ(tvsk::comm::BaudRate("VrnSer:0,200#COM:1,4800,E,8,1", &baud), 9);
    EXPECT_EQ(baud, 0);
    EXPECT_EQ(manager.GetLinkErrorText(13).str(),
              "Errore di comunicazione:\nporta di comunicazione non aperta");
    EXPECT_EQ(manager.GetLinkErrorText(99).str(), "Errore di comunicazione: 99");
}

TEST_F(TvskParameterServicesTest, AsynchronousMotorRules)
{
    Choose("TK20^5^230", "MA^90^1500^7^400");
    EXPECT_DOUBLE_EQ(Value("Pr31"), 1);
    EXPECT_DOUBLE_EQ(Value("Pr48"), 45);
    EXPECT_DOUBLE_EQ(Value("Pr45"), 1455);
    EXPECT_DOUBLE_EQ(Value("Pr33"), 3.3);
    EXPECT_NEAR(Value("Pr49"), 3.3 * std::sqrt(1 - 0.82 * 0.82), 1e-9);
}

TEST_F(TvskParameterServicesTest, AMotorAboveTheDrivesCurrentGetsTheDrivesCurrent)
{
    Choose("TK20^2.5^230", "MB^90^3000^4.5^400");
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.5);
    EXPECT_FALSE(manager.IsMotorCompatible());
}

TEST_F(TvskParameterServicesTest, ACustomMotorWithoutASineSkipsThatRule)
{
    folder.Replace("Motor.db", "1024\t4500\t301\t1\t0.82", "1024\t4500\t301\t1\t1.82");
    Choose("TK20^5^230", "MA^90^1500^7^400");
    EXPECT_DOUBLE_EQ(Value("Pr31"), 1);
    EXPECT_FALSE(std::isnan(Value("Pr49")));
    EXPECT_DOUBLE_EQ(Value("Pr49"), 0) << "the file's value stays";
}

TEST_F(TvskParameterServicesTest, CustomerFieldsOfKnownParametersOnly)
{
    OpenTk20();
    EXPECT_TRUE(manager.SetParCustom("Pr33", 1, 0x12345));
    EXPECT_EQ(manager.GetParCustom("Pr33", 1), 0x2345) << "a word keeps 16 bits";
    EXPECT_TRUE(manager.SetParCustom("Pr33", 0, 7));
    EXPECT_EQ(manager.GetParCustom("Pr33", 0), 1);
    EXPECT_FALSE(manager.SetParCustom("Pr999", 2, 5));
    EXPECT_EQ(manager.GetParCustom("Pr999", 2), 0);
}

TEST_F(TvskParameterServicesTest, UpdatingTheMotorWritesItsDataAgain)
{
    Choose("TK20^5^230", "MB^71^3000^1.3^230");
    ASSERT_TRUE(manager.SelectMotor("MA^90^1500^7^400", false));
    manager.UpdateMotor();
    EXPECT_DOUBLE_EQ(Value("Pr33"), 3.3);
    EXPECT_DOUBLE_EQ(Value("Pr31"), 1) << "the rules run too";
}

TEST_F(TvskParameterServicesTest, SessionVariables)
{
    OpenTk20();
    manager.SetModified(FALSE);
    EXPECT_TRUE(manager.CreateSessionVar("NomeAsse", TRUE));
    EXPECT_FALSE(manager.IsModified()) << "an existing name changes nothing";
    EXPECT_TRUE(manager.CreateSessionVar("Nuova", TRUE));
    EXPECT_TRUE(manager.IsModified());
    VARIANT number = Real(12.5);
    EXPECT_TRUE(manager.SetSessionVarValue("Nuova", number));
    CString value;
    EXPECT_TRUE(manager.GetSessionVarValue("Nuova", value));
    EXPECT_EQ(value.str(), "12.5");
    EXPECT_TRUE(manager.DeleteSessionVar("Nuova"));
    EXPECT_FALSE(manager.GetSessionVarValue("Nuova", value));
}

// Scripts that veto every change.
class VetoingScripts : public CTvskScriptEvents
{
public:
    explicit VetoingScripts(CTvskManager& manager) : m_manager(manager) {}
    bool MayFire() const override { return true; }
    bool ChangeValue(const char*, double) override
    {
        ++changes;
        m_manager.SetCanRW(FALSE);
        return true;
    }
    int changes = 0;

private:
    CTvskManager& m_manager;
};

TEST_F(TvskParameterServicesTest, AVetoedChangeStoresNothing)
{
    OpenTk20();
    VetoingScripts scripts(manager);
    manager.SetScriptEvents(&scripts);
    manager.SetModified(FALSE);
    EXPECT_EQ(manager.SetParValue("Pr33", Real(4), FALSE), HOSTRES_OK);
    EXPECT_EQ(scripts.changes, 1);
    EXPECT_EQ(manager.GetErrorCode(), 20);
    EXPECT_TRUE(manager.GetCanRW());
    EXPECT_DOUBLE_EQ(Value("Pr33"), 2.6);
    EXPECT_FALSE(manager.IsModified());
    manager.SetScriptEvents(nullptr);
}

TEST_F(TvskParameterServicesTest, DriveCommandsThatDoNotExistSaySo)
{
    OpenTk20();
    manager.RunDriveCommand("Nothing");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Comando non disponibile");
    manager.RunDriveCommand("Reset");
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Errore nell'invio del comando") << "not connected";
}

TEST(TvskParValuesTest, AWordReadNegativeIsUnsignedWhereTheRangeHoldsNoNegativeValue)
{
    using tvsk::values::FromRaw;
    DBPAR alarm{};
    alarm.nBitDim = 16;
    alarm.nScale = 1;
    alarm.dblMax = 65535;
    EXPECT_EQ(FromRaw(alarm, -16385), 49151);
    DBPAR speed = alarm;
    speed.dblMin = -9000;
    EXPECT_EQ(FromRaw(speed, -4500), -4500);
    DBPAR temperature = alarm; // raw = value * 10 + 500, from -50
    temperature.nScale = 10;
    temperature.nOffs = 500;
    temperature.dblMin = -50;
    EXPECT_EQ(FromRaw(temperature, 1500), 100);
    EXPECT_EQ(FromRaw(temperature, 0), -50);
    DBPAR position = alarm;
    position.nBitDim = 32;
    EXPECT_EQ(FromRaw(position, -1), 4294967295.0);
}

TEST(TvskParValuesTest, AValueReadFromItsRawWordGoesBackAsThatWord)
{
    using namespace tvsk::values;
    DBPAR current{};
    current.nBitDim = 16;
    current.nScale = 100;
    current.dblMax = 8;
    for (int raw = 0; raw <= 800; ++raw)
    {
        VARIANT word = WriteVariant(16, WholeRaw(ToRaw(current, FromRaw(current, raw))));
        ASSERT_EQ(word.uiVal, raw);
    }
    EXPECT_EQ(ValueText(FromRaw(current, 29)), "0.29");
    EXPECT_EQ(ValueText(1234567), "1234567");
}

} // namespace
