// Going on line and the comparison reports end to end: the TK40 session against drivesim.
#include "ManagerTestSupport.h"

#include <Tarveskon/TvskStrings.h>

#include <protocol/tests/DriveChain.h>
#include <registry/Registry.h>
#include <ui/UiDefs.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{

using tvsk::testing::ProgramFolder;
using tvsk::testing::RecordingUi;

long Pointer(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

bool PollUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The boxes answer what the test queued or what onBox decides; file boxes answer the queued paths.
class ComparingUi : public RecordingUi
{
public:
    int MessageBox(CWnd* owner, const CString& text, UINT type) override
    {
        if (!onBox)
            return RecordingUi::MessageBox(owner, text, type);
        boxes.push_back(text.str());
        return onBox(text.str());
    }
    bool ChooseFile(CWnd*, bool open, const CString& filter, const char* defaultExt, const CString& title,
                    CString& path) override
    {
        offered.push_back(std::string(open ? "open " : "save ") + path.str() + " | " + title.str() + " | " +
                          filter.str() + " | " + (defaultExt ? defaultExt : ""));
        if (files.empty())
            return false;
        path = files.front().c_str();
        files.erase(files.begin());
        return true;
    }
    void BeginWait(CWnd*, const CString& text) override { waits.push_back("begin " + text.str()); }
    void EndWait() override { waits.push_back("end"); }

    std::function<int(const std::string&)> onBox;
    std::vector<std::string> files;
    std::vector<std::string> offered;
    std::vector<std::string> waits;
};

class VetoingEvents : public CTvskScriptEvents
{
public:
    explicit VetoingEvents(CTvskManager& manager) : m_manager(manager) {}
    bool MayFire() const override { return true; }
    bool BeforeReadAll() override
    {
        seen.push_back("BeforeReadAll");
        m_manager.SetCanRW(FALSE);
        return true;
    }
    bool AfterReadAll() override
    {
        seen.push_back("AfterReadAll");
        return true;
    }
    std::vector<std::string> seen;

private:
    CTvskManager& m_manager;
};

// Closes the link once the named parameter was read: the program's upload that follows fails.
class LinkCuttingEvents : public CTvskScriptEvents
{
public:
    LinkCuttingEvents(CTvskManager& manager, std::string last) : m_manager(manager), m_last(std::move(last))
    {
    }
    bool MayFire() const override { return true; }
    bool AfterReadPar(const char* name, double) override
    {
        if (m_last == name)
            m_manager.Disconnect();
        return true;
    }

private:
    CTvskManager& m_manager;
    std::string m_last;
};

// Records the read-all events.
class ReadAllEvents : public CTvskScriptEvents
{
public:
    bool MayFire() const override { return true; }
    bool BeforeReadAll() override
    {
        seen.push_back("BeforeReadAll");
        return true;
    }
    bool AfterReadAll() override
    {
        seen.push_back("AfterReadAll");
        return true;
    }
    std::vector<std::string> seen;
};

// What a comparison must leave as it found it.
struct Configuration
{
    std::map<std::string, double> values;
    std::vector<std::string> program;
    BOOL modified;
    long entries;

    bool operator==(const Configuration&) const = default;
};

class TvskCompareChainTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        tvsk::testing::ResetProfile();
        RegisterTvskStrings();
        folder = std::make_unique<ProgramFolder>();
        control = folder->Path("control");
        std::filesystem::create_directory(folder->Path("my reports"));
        report = folder->Path("my reports/Diff Log.txt");
        // The editor notes the file it was asked to open.
        const std::string editor = folder->Path("editor.sh");
        std::ofstream(editor) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/opened.tmp\"\n"
                                 "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"\n";
        std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
        CProfile::Instance().WriteProfileString("Settings", "Notepad", editor.c_str());
        manager = std::make_unique<CTvskManager>(folder->Dir().c_str());
        manager->SetHostUi(&ui);
        ASSERT_TRUE(
            chain->StartDrive({"--par", TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par", "--control", control}))
            << chain->Error();
        ASSERT_EQ(manager->OpenFile(folder->Path("Samples/TK40.dat").c_str()), 0);
        manager->ParDb().SetCommSettings(ChainSettings(0).c_str());
    }
    void TearDown() override
    {
        manager.reset();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    void Connect() { ASSERT_EQ(manager->Connect(""), 0); }
    void Control(const std::string& line) const { ASSERT_TRUE(SendDriveControl(control, line + "\n")); }
    // drivesim stops answering.
    void Silence()
    {
        Control("fault silent");
        ASSERT_TRUE(PollUntil(
            [this]
            {
                double value = 0;
                return manager->ReadAddr(1, 0, 16, &value) == FALSE;
            }));
    }
    // The working list's last entry, read last.
    std::string LastParameter()
    {
        const DBPAR* last = manager->ParDb().GetPar(manager->ParDb().GetParNum(true) - 1, true);
        return last ? last->szID : "";
    }
    // Waits until drivesim answers again after a fault was lifted.
    bool DriveAnswers()
    {
        return PollUntil(
            [this]
            {
                double value = 0;
                return manager->ReadAddr(1, 0, 16, &value) != FALSE;
            });
    }
    void SetDriveWord(int address, long value)
    {
        Control("set " + std::to_string(address) + " " + std::to_string(value));
        ASSERT_TRUE(PollUntil([&] { return Word(address) == value; }));
    }
    long Word(int address)
    {
        double value = -1;
        if (manager->SendCommand(14, (16L << 16) + address, Pointer(&value)) != 0)
            return -1;
        return static_cast<long>(value);
    }
    void SetProgram(const std::vector<std::pair<const char*, std::vector<int>>>& program)
    {
        manager->ResetPlc();
        for (size_t i = 0; i < program.size(); ++i)
        {
            int operands[3] = {-1, -1, -1};
            for (size_t k = 0; k < program[i].second.size(); ++k)
                operands[k] = program[i].second[k];
            ASSERT_EQ(manager->SetPlcInstr(static_cast<int>(i), program[i].first, operands), HOSTRES_OK);
        }
    }
    void EnablePlc()
    {
        DBPAR* enable = manager->ParDb().GetPar("Pr42.4", true);
        ASSERT_NE(enable, nullptr);
        enable->dblDefVal = 1;
        ASSERT_TRUE(manager->WriteParToDrive(enable));
    }
    // The drive holds the configuration's values, the PLC on and the program "LD 3 5", "OUT 42 0".
    void DriveLikeTheConfiguration()
    {
        Connect();
        manager->WriteAllPars();
        ASSERT_EQ(manager->GetErrorCode(), 0);
        EnablePlc();
        SetProgram({{"LD", {3, 5}}, {"OUT", {42, 0}}});
        ASSERT_TRUE(manager->DownloadPlc());
        SetProgram(
            {{"LD", {3, 5}}, {"COMM:x", {}}, {"OUT", {42, 0}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 0}}});
        ui.waits.clear(); // the transfers above show their own progress
    }
    Configuration Current()
    {
        Configuration now{{}, {}, manager->IsModified(), manager->ParDb().GetParNum(true)};
        for (long i = 0; i < now.entries; ++i)
            if (const DBPAR* par = manager->ParDb().GetPar(i, true))
                now.values[par->szID] = par->dblDefVal;
        CString text;
        int operands[3];
        for (int i = 0; manager->GetPlcInstr(i, text, operands); ++i)
            now.program.push_back(text.str() + " " + std::to_string(operands[0]) + " " +
                                  std::to_string(operands[1]) + " " + std::to_string(operands[2]));
        return now;
    }
    double Value(const char* name)
    {
        const DBPAR* par = manager->ParDb().GetPar(name, true);
        return par ? par->dblDefVal : -99999;
    }
    // The report's lines with the date and time checked and left out.
    std::vector<std::string> ReportLines(const std::string& path)
    {
        std::vector<std::string> lines;
        std::istringstream in(FileText(path));
        for (std::string line; std::getline(in, line);)
        {
            if (line.rfind("Date: ", 0) == 0)
                EXPECT_TRUE(std::regex_match(line, std::regex(R"(Date: \d\d/\d\d/\d\d)"))) << line;
            else if (line.rfind("Time: ", 0) == 0)
                EXPECT_TRUE(std::regex_match(line, std::regex(R"(Time: \d\d:\d\d:\d\d)"))) << line;
            else
                lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> Headers(const std::string& side1, const std::string& side2,
                                     const std::vector<std::string>& parLines,
                                     const std::vector<std::string>& plcLines)
    {
        const std::string rule =
            "+-------------------------------------------------------------------------------";
        const std::string parRule =
            "---+-------------+------------+------------+--------------------------------------";
        const std::string plcRule = "---+------------------+------------------+";
        std::vector<std::string> lines{rule};
        if (side2 == "Drive ")
        {
            lines.push_back("|   Compare of " + folder->Path("Samples/TK40.dat") + " with drive values");
        }
        else
        {
            lines.push_back("|   Compare between files:");
            lines.push_back("|   \tfile 1: " + side1);
            lines.push_back("|   \tfile 2: " + side2);
        }
        const std::string title1 = side2 == "Drive " ? "File  " : "File 1";
        const std::string title2 = side2 == "Drive " ? "Drive " : "File 2";
        lines.insert(lines.end(), {rule, "", "", parRule,
                                   "Dif| Par. ID     | " + title1 + "     | " + title2 + "     |", parRule});
        lines.insert(lines.end(), parLines.begin(), parLines.end());
        lines.insert(lines.end(), {parRule, "", "LumoPLC", "", plcRule,
                                   "Dif| " + title1 + "           | " + title2 + "           |", plcRule});
        lines.insert(lines.end(), plcLines.begin(), plcLines.end());
        lines.push_back(plcRule);
        return lines;
    }
    std::string Opened()
    {
        const std::string opened = folder->Path("opened");
        return PollUntil([&] { return std::filesystem::exists(opened); }) ? FileText(opened) : "";
    }

    std::unique_ptr<CDriveChain> chain;
    std::unique_ptr<ProgramFolder> folder;
    ComparingUi ui;
    std::unique_ptr<CTvskManager> manager;
    std::string control;
    std::string report;
};

TEST_F(TvskCompareChainTest, DriveReportListsTheDifferencesAndTheConfigurationStaysAsItWas)
{
    DriveLikeTheConfiguration();
    SetDriveWord(32, 2500);
    const Configuration before = Current();
    ui.files = {report};
    EXPECT_EQ(manager->SendCommand(35, 0, 0), 0);

    EXPECT_EQ(ui.offered, (std::vector<std::string>{"save " + folder->Dir() +
                                                    "/DiffLog.txt | Salva logfile come .. |  | "}));
    EXPECT_EQ(
        ReportLines(report),
        Headers("", "Drive ",
                {"***| Pr32        |       3000 |       2500 | Velocità massima motore",
                 "***| Pr42        |          0 |         16 | Parola di controllo"},
                {"***| COMM:x           | OUT 42 0         |", "***| OUT 42 0         | END              |",
                 "***| ADD 10 11 12     |                  |",
                 "***| OUT 76 0         |                  |"}));
    EXPECT_EQ(Current(), before);
    EXPECT_TRUE(manager->IsConnected()); // the user's connection stays
    EXPECT_EQ(ui.waits, (std::vector<std::string>{"begin Comparazione parametri in corso ...", "end"}));
    EXPECT_EQ(ui.boxes, std::vector<std::string>{});
    EXPECT_EQ(Opened(), report);
    EXPECT_EQ(CProfile::Instance().GetProfileString("Settings", "CompareFile", "").str(), report);
}

} // namespace

namespace
{

TEST_F(TvskCompareChainTest, EveryExitOfADriveComparisonLeavesTheConfigurationAsItWas)
{
    DriveLikeTheConfiguration();
    const Configuration before = Current();
    CString text;

    VetoingEvents events(*manager);
    manager->SetScriptEvents(&events);
    EXPECT_EQ(manager->CompareDrive(report.c_str(), text), 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeReadAll", "AfterReadAll"}));
    EXPECT_FALSE(std::filesystem::exists(report));
    manager->SetScriptEvents(nullptr);

    EXPECT_EQ(manager->CompareDrive(folder->Path("no folder/DiffLog.txt").c_str(), text), 3);
    EXPECT_EQ(text.str(), "Errore di apertura del file");
    EXPECT_EQ(Current(), before);

    LinkCuttingEvents cut(*manager, LastParameter());
    manager->SetScriptEvents(&cut);
    EXPECT_EQ(manager->CompareDrive(report.c_str(), text), 2);
    EXPECT_EQ(text.str(), "Errore di comunicazione");
    EXPECT_EQ(manager->GetErrorCode(), 3);
    EXPECT_EQ(Current(), before);
    manager->SetScriptEvents(nullptr);
    Connect();

    Silence();
    EXPECT_EQ(manager->CompareDrive(report.c_str(), text), 1);
    EXPECT_EQ(text.str(), "Pr1 : Errore nella lettura del parametro");
    EXPECT_EQ(manager->GetErrorCode(), 2);
    EXPECT_EQ(Current(), before);
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST_F(TvskCompareChainTest, ADriveComparisonConnectsOnlyWhenDisconnectedAndLeavesItSo)
{
    DriveLikeTheConfiguration();
    manager->Disconnect();
    ui.files = {report};
    manager->CompareWithDrive(nullptr);
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(ui.boxes, std::vector<std::string>{});
    EXPECT_EQ(Opened(), report);

    // Cancelled in the file box: no connection is made.
    manager->CompareWithDrive(nullptr);
    EXPECT_EQ(ui.waits.size(), 2u);

    // No drive answers: the link's text, then the communication error.
    manager->ParDb().SetCommSettings(
        ChainSettings(0).substr(0, ChainSettings(0).find('#')).append("#COM:99").c_str());
    ui.files = {report};
    manager->CompareWithDrive(nullptr);
    EXPECT_FALSE(manager->IsConnected());
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back(), "Errore di comunicazione con il drive");
    EXPECT_EQ(ui.waits.size(), 2u);
}

TEST_F(TvskCompareChainTest, EqualFilesGiveOnlyTheHeadersAndAnotherDriveTypeNoReport)
{
    const std::string same = folder->Path("Same.dat");
    ASSERT_EQ(manager->SaveFile(same.c_str()), 0);
    const Configuration before = Current();
    CString text;
    EXPECT_EQ(manager->CompareDataFile(same.c_str(), report.c_str(), text), 0);
    EXPECT_EQ(ReportLines(report), Headers(same, same, {}, {}));
    EXPECT_EQ(Current(), before);

    std::filesystem::remove(report);
    EXPECT_EQ(manager->CompareDataFile(folder->Path("Samples/TK20.dat").c_str(), report.c_str(), text), 4);
    EXPECT_EQ(text.str(), "Comparazione tra tipi di drive differenti");
    EXPECT_FALSE(std::filesystem::exists(report));
    EXPECT_EQ(manager->CompareDataFile(folder->Path("Missing.dat").c_str(), report.c_str(), text), 3);
    EXPECT_FALSE(std::filesystem::exists(report));
    EXPECT_EQ(manager->CompareDataFile(same.c_str(), folder->Path("no folder/x.txt").c_str(), text), 3);
    EXPECT_EQ(Current(), before);
}

TEST_F(TvskCompareChainTest, AFileComparisonOfAnotherModeAndProgramListsWhatDiffers)
{
    // The alias TK40S in operating mode 0 with a longer program than the configuration's.
    SetProgram({{"LD", {3, 5}}, {"END", {}}});
    const std::string other = folder->Path("Samples/TK40S.dat");
    folder->Replace(
        "Samples/TK40S.dat", "VAL\t\"Pr1\"\t2\t-1",
        "VAL\t\"Pr1\"\t0\t-1\nVAL\t\"Pr32\"\t2500\t-1\nPLC\t\"LD\"\t3\t5\t-1\nPLC\t\"OUT\"\t42\t0\t-1\n"
        "PLC\t\"END\"\t-1\t-1\t-1");
    const Configuration before = Current();
    ui.files = {other, report};
    manager->SendCommand(34, 0, 0);

    EXPECT_EQ(ui.offered, (std::vector<std::string>{
                              "open  |  | File dati (*.dat)|*.dat|Tutti i Files (*.*)|*.*|| | par",
                              "save " + folder->Dir() + "/DiffLog.txt | Salva logfile come .. |  | "}));
    EXPECT_EQ(CProfile::Instance().GetProfileString("Settings", "LastComparedFile", "").str(), other);
    // Mode 0's list lacks mode 2's positioning entries: missing on side 2.
    EXPECT_EQ(ReportLines(report),
              Headers(folder->Path("Samples/TK40.dat"), other,
                      {"***| Pr1         |          2 |          0 | Modo operativo (0=velocità 1=coppia "
                       "2=posizionatore 3=camma)",
                       "***| Pr32        |       3000 |       2500 | Velocità massima motore",
                       "***| Pr100       |       1000 |       3000 | Velocità di posizionamento",
                       "***| Pr101       |        500 |          0 | Rampa di posizionamento",
                       "***| Pr103:102   |          0 |      ##### | Quota target",
                       "***| Pr104       |         20 |      ##### | Finestra di posizione raggiunta",
                       "***| Pr105       |         10 |      ##### | Guadagno anello di posizione",
                       "***| Pr106       |          0 |      ##### | Modo ricerca di zero",
                       "***| Pr107.0     |          0 |      ##### | Avvio posizionamento"},
                      {"***| END              | OUT 42 0         |",
                       "***|                  | END              |"}));
    EXPECT_EQ(Current(), before);
    EXPECT_EQ(Opened(), report);
}

TEST_F(TvskCompareChainTest, GoingOnLineBringsTheDrivesValuesAndProgramIntoTheFile)
{
    DriveLikeTheConfiguration();
    SetProgram({{"LD", {3, 5}}, {"OUT", {76, 1}}});
    ASSERT_TRUE(manager->DownloadPlc());
    ui.waits.clear();
    SetProgram({});
    SetDriveWord(32, 2500);
    SetDriveWord(1, 0);
    manager->Disconnect();
    manager->SetModified(FALSE);
    ui.waits.clear();

    EXPECT_EQ(manager->GetConnectionText().str(), "n/a");
    ui.answers = {IDNO};
    manager->SendCommand(36, 0, 0);
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(Value("Pr32"), 3000);

    ui.answers = {IDYES};
    manager->SendCommand(36, 0, 0);
    EXPECT_EQ(ui.boxes.back(), "Entrando in OnLine i dati configurati verranno persi!\nContinuare ?");
    EXPECT_TRUE(manager->IsConnected());
    EXPECT_EQ(manager->GetConnectionText().str(), manager->GetConnectionDescription(nullptr).str());
    EXPECT_NE(manager->GetConnectionText().str(), "n/a");
    EXPECT_EQ(ui.waits, (std::vector<std::string>{"begin Lettura parametri in corso ...", "end"}));
    EXPECT_TRUE(manager->IsModified());
    EXPECT_EQ(Value("Pr1"), 0);
    EXPECT_EQ(Value("Pr32"), 2500);
    EXPECT_EQ(Value("Pr42.4"), 1);
    EXPECT_EQ(Value("Pr42"), 16);                                   // in no menu, read all the same
    EXPECT_EQ(manager->ParDb().GetPar("Pr103:102", true), nullptr); // mode 0's list

    const std::string saved = folder->Path("Online.dat");
    ASSERT_EQ(manager->SaveFile(saved.c_str()), 0);
    CTvskDataDb file;
    ASSERT_EQ(file.Load(saved.c_str()), 0);
    std::map<std::string, double> values;
    for (long i = 0; i < file.GetValNums(); ++i)
        values[file.GetValue(i)->szID] = file.GetValue(i)->dblValue;
    EXPECT_EQ(values["Pr32"], 2500);
    EXPECT_EQ(values["Pr1"], 0);
    std::vector<std::string> program;
    for (long i = 0; i < file.GetInstrNums(); ++i)
        program.push_back(file.GetInstruction(i)->szIstr + std::string(" ") +
                          std::to_string(file.GetInstruction(i)->iOperands[0]));
    EXPECT_EQ(program, (std::vector<std::string>{"LD 3", "OUT 76", "END 0"}));

    // The watchdog runs with the file's CHECKCONN period (1000 ms).
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    manager->CheckConnection(false);
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(ui.boxes.back(),
              "Timeot di comunicazione con il drive.\nLa connessione con il drive viene interrotta.");
}

// The read questions of going on line while drivesim stays silent.
class GoOnlineFaultTest : public TvskCompareChainTest
{
protected:
    void SetUp() override
    {
        TvskCompareChainTest::SetUp();
        DriveLikeTheConfiguration();
        SetProgram({{"LD", {3, 5}}, {"OUT", {76, 1}}});
        ASSERT_TRUE(manager->DownloadPlc());
        SetDriveWord(32, 2500);
        SetDriveWord(1, 0);
        ui.waits.clear();
    }
    // Answers the question 2063 with Yes and the first read question with the answer, the drive
    // answering again from then on.
    void GoOnlineAnswering(int answer)
    {
        Silence();
        int questions = 0;
        ui.onBox = [&, answer](const std::string& text)
        {
            if (text.rfind("Entrando in OnLine", 0) == 0)
                return IDYES;
            if (questions++ == 0 && answer != IDCANCEL)
            {
                Control("fault none");
                EXPECT_TRUE(DriveAnswers());
            }
            return questions == 1 ? answer : IDYES;
        };
        manager->GoOnline(nullptr);
        ui.onBox = nullptr;
    }
    std::vector<std::string> Program()
    {
        std::vector<std::string> texts;
        CString text;
        int operands[3];
        for (int i = 0; manager->GetPlcInstr(i, text, operands); ++i)
            texts.push_back(text.str());
        return texts;
    }
};

TEST_F(GoOnlineFaultTest, YesReadsTheFailedParameterAgain)
{
    GoOnlineAnswering(IDYES);
    ASSERT_GE(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Pr1 : Errore nella lettura del parametro.\nRitentare ?");
    // The question hides the progress window while it is shown.
    EXPECT_EQ(ui.waits, (std::vector<std::string>{"begin Lettura parametri in corso ...", "end",
                                                  "begin Lettura parametri in corso ...", "end"}));
    EXPECT_EQ(Value("Pr1"), 0);
    EXPECT_EQ(Value("Pr32"), 2500);
    EXPECT_EQ(Program(), (std::vector<std::string>{"LD", "OUT", "END"}));
    EXPECT_TRUE(manager->IsConnected());
}

TEST_F(GoOnlineFaultTest, NoSkipsTheParameterAndTheRestAndTheProgramAreStillRead)
{
    GoOnlineAnswering(IDNO);
    EXPECT_EQ(Value("Pr1"), 2); // skipped: the file's mode stays
    EXPECT_EQ(Value("Pr32"), 2500);
    EXPECT_EQ(Program(), (std::vector<std::string>{"LD", "OUT", "END"}));
    EXPECT_TRUE(manager->IsConnected());
}

TEST_F(GoOnlineFaultTest, CancelEndsAndLeavesTheConnectionAsTheUserHadIt)
{
    GoOnlineAnswering(IDCANCEL);
    // The question, then what was read.
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_EQ(ui.boxes[2], "Lettura dal drive annullata dopo 0 letture: gli altri parametri e il programma "
                           "LumoPLC della configurazione non sono stati letti dal drive");
    EXPECT_EQ(Value("Pr32"), 3000);
    EXPECT_TRUE(manager->IsConnected()); // the user's connection

    manager->Disconnect();
    Control("fault none");
    ui.boxes.clear();
    ui.onBox = [&](const std::string& text)
    {
        if (text.rfind("Entrando in OnLine", 0) == 0)
        {
            // Connected by going on line: drivesim goes silent once the link stands.
            Control("fault silent");
            return IDYES;
        }
        return IDCANCEL;
    };
    manager->GoOnline(nullptr);
    ui.onBox = nullptr;
    EXPECT_NE(
        std::find_if(ui.boxes.begin(), ui.boxes.end(),
                     [](const std::string& text)
                     { return text.find(" : Errore nella lettura del parametro.") != std::string::npos; }),
        ui.boxes.end());
    EXPECT_FALSE(manager->IsConnected());
}

TEST_F(GoOnlineFaultTest, AProgramThatCannotBeReadIsToldAndTheValuesReadStay)
{
    manager->Disconnect();
    LinkCuttingEvents cut(*manager, LastParameter());
    manager->SetScriptEvents(&cut);
    ui.answers = {IDYES};
    manager->GoOnline(nullptr);
    manager->SetScriptEvents(nullptr);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[1], "Errore di comunicazione");
    EXPECT_FALSE(manager->IsConnected());
    EXPECT_EQ(Value("Pr32"), 2500);
}

} // namespace

namespace
{

TEST_F(GoOnlineFaultTest, ReadingFromAStartAnnouncesEveryEndAndTellsTheEntryThatFailed)
{
    ReadAllEvents events;
    manager->SetScriptEvents(&events);
    CString text;
    int index = -2;
    EXPECT_EQ(manager->ReadAllFrom(-1, text, &index), 0);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeReadAll", "AfterReadAll"}));

    Silence();
    events.seen.clear();
    EXPECT_EQ(manager->ReadAllFrom(-1, text, &index), 1);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(text.str(), "Pr1 : Errore nella lettura del parametro.\nRitentare ?");
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeReadAll", "AfterReadAll"}));

    const long last = manager->ParDb().GetParNum(true) - 1;
    EXPECT_EQ(manager->ReadAllFrom(static_cast<int>(last), text, &index), 1);
    EXPECT_EQ(index, last);
    EXPECT_EQ(text.str(), LastParameter() + " : Errore nella lettura del parametro.\nRitentare ?");
    manager->SetScriptEvents(nullptr);
}

} // namespace

namespace
{

TEST_F(GoOnlineFaultTest, WritingAllAndTheProgramShowTheProgressWindowAndHideItForAQuestion)
{
    ui.waits.clear();
    SetProgram({{"LD", {3, 5}}});
    ASSERT_TRUE(manager->DownloadPlc());
    EXPECT_EQ(ui.waits, (std::vector<std::string>{"begin Scrittura LumoPLC in corso ...", "end"}));

    Silence();
    ui.waits.clear();
    ui.onBox = [&](const std::string&)
    {
        Control("fault none");
        EXPECT_TRUE(DriveAnswers());
        return IDYES;
    };
    manager->WriteAllPars();
    ui.onBox = nullptr;
    EXPECT_EQ(manager->GetErrorCode(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "Pr1 : Errore nella scrittura del parametro.\nRitentare ?");
    EXPECT_EQ(ui.waits, (std::vector<std::string>{"begin Scrittura parametri in corso ...", "end",
                                                  "begin Scrittura parametri in corso ...", "end"}));
}

} // namespace

namespace
{

TEST_F(TvskCompareChainTest, WithoutTheEditorTheReportOpensThroughTheDesktopElseTheFailureIsTold)
{
    CProfile::Instance().WriteProfileString("Settings", "Notepad", nullptr);
    const std::string desktop = folder->Path("desktop");
    std::filesystem::create_directory(desktop);
    std::ofstream(desktop + "/xdg-open")
        << "#!/bin/sh\nprintf '%s' \"$1\" > " << folder->Path("opened") << "\n";
    std::filesystem::permissions(desktop + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", desktop.c_str(), 1);

    const std::string same = folder->Path("Samples/TK40.dat");
    ui.files = {same, report};
    manager->CompareWithFile(nullptr);
    const bool opened = PollUntil([&] { return FileText(folder->Path("opened")) == report; });
    std::filesystem::remove(desktop + "/xdg-open");
    ui.files = {same, report};
    manager->CompareWithFile(nullptr);
    setenv("PATH", savedPath.c_str(), 1);

    EXPECT_TRUE(opened);
    // Both programs tried are named with why they did not start.
    EXPECT_EQ(ui.boxes, std::vector<std::string>{"Avvio del programma non riuscito\n"
                                                 "Notepad: programma non trovato\n"
                                                 "xdg-open: programma non trovato"});
}

} // namespace
namespace
{

// The drive's descriptions of one language, as its string table lists them.
std::vector<std::string> DriveDescriptions(const std::string& file)
{
    std::vector<std::string> texts;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("DESCR\t", 0) == 0)
            if (const size_t close = line.rfind('"'), open = line.rfind('"', close - 1);
                open != std::string::npos && close > open)
                texts.push_back(line.substr(open + 1, close - open - 1));
    return texts;
}

// The Italian sample opened in Italian, then the language switched to English: both reports,
// also after a change of the operating mode, describe their parameters in English only.
TEST_F(TvskCompareChainTest, InEnglishTheReportsHoldNoItalianDescription)
{
    ASSERT_TRUE(manager->ChangeLanguage(1));
    folder->Replace("Samples/TK40S.dat", "VAL\t\"Pr1\"\t2\t-1",
                    "VAL\t\"Pr1\"\t0\t-1\nVAL\t\"Pr32\"\t2500\t-1\nVAL\t\"Pr39\"\t1000\t-1");
    ui.files = {folder->Path("Samples/TK40S.dat"), report};
    manager->SendCommand(34, 0, 0);
    ASSERT_EQ(Opened(), report);
    const std::string fileReport = FileText(report);
    std::filesystem::remove(folder->Path("opened"));

    VARIANT speedMode;
    speedMode.vt = VT_I4;
    speedMode.lVal = 0;
    ASSERT_EQ(manager->SetParValue("Pr1", speedMode, FALSE), HOSTRES_OK);
    DriveLikeTheConfiguration();
    SetDriveWord(100, 2000);
    ui.files = {report};
    EXPECT_EQ(manager->SendCommand(35, 0, 0), 0);
    ASSERT_EQ(Opened(), report);
    const std::string driveReport = FileText(report);

    EXPECT_NE(fileReport.find("| Operating mode (0=speed 1=torque 2=positioner 3=cam)"), std::string::npos)
        << fileReport;
    EXPECT_NE(fileReport.find("| Encoder pulses per revolution"), std::string::npos) << fileReport;
    EXPECT_NE(fileReport.find("| Position reached window"), std::string::npos) << fileReport;
    EXPECT_NE(driveReport.find("| Full-scale speed of the reference"), std::string::npos) << driveReport;
    const std::vector<std::string> english = DriveDescriptions(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40_ENG.str");
    for (const std::string& italian : DriveDescriptions(TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40_ITA.str"))
        if (std::find(english.begin(), english.end(), italian) == english.end())
        {
            EXPECT_EQ(fileReport.find("| " + italian + "\n"), std::string::npos) << italian;
            EXPECT_EQ(driveReport.find("| " + italian + "\n"), std::string::npos) << italian;
        }
}

} // namespace
