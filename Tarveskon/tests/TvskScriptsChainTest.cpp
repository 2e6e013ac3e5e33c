// The drive type's script run by the real script manager and engine, with the TK40 session against
// drivesim: the sample script's handlers, run-time errors, threads and the drive's permanent memory.
#include "ManagerTestSupport.h"

#include <Tarveskon/TvskStrings.h>

#include <protocol/tests/DriveChain.h>
#include <ui/MessageBox.h>
#include <ui/UiDefs.h>

#include <cstdlib>
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

// The boxes the script itself shows (its MsgBox, the script manager's own failures).
class ScriptBoxes : public CMessageBoxSink
{
public:
    int Show(CWnd*, const CString& text, const CString&, UINT) override
    {
        texts.push_back(text.str());
        return answer;
    }
    std::vector<std::string> texts;
    int answer = IDNO;
};

// Records the save events; vetoes the one it is told to.
class SaveEvents : public CTvskScriptEvents
{
public:
    explicit SaveEvents(CTvskManager& manager) : m_manager(manager) {}
    bool MayFire() const override { return true; }
    bool BeforeWritePar(const char* name, double) override
    {
        return Note(std::string("BeforeWritePar ") + name);
    }
    bool AfterWritePar(const char* name, double) override
    {
        return Note(std::string("AfterWritePar ") + name);
    }
    bool BeforeSaveParams() override { return Note("BeforeSaveParams"); }
    bool AfterSaveParams() override { return Note("AfterSaveParams"); }
    bool BeforeSavePlc() override { return Note("BeforeSavePlc"); }
    bool AfterSavePlc() override { return Note("AfterSavePlc"); }

    std::vector<std::string> seen;
    std::string veto;

private:
    bool Note(const std::string& event)
    {
        seen.push_back(event);
        if (event == veto)
            m_manager.SetCanRW(FALSE);
        return true;
    }
    CTvskManager& m_manager;
};

class TvskScriptsChainTest : public testing::Test
{
protected:
    void SetUp() override
    {
        chain = std::make_unique<CDriveChain>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        // The script manager and its engine join the chain's own registry store.
        for (const char* component : {TVSK_ENGINE_MODULE, TVSK_SCRIPTER_MODULE})
            ASSERT_EQ(std::system((std::string(TVSK_REGSVR) + " " + component).c_str()), 0) << component;
        previousBoxes = AfxSetMessageBoxSink(&scriptBoxes);
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        folder = std::make_unique<ProgramFolder>(ProgramFolder::SampleScript::Kept);
        manager = std::make_unique<CTvskManager>(folder->Dir().c_str());
        manager->SetHostUi(&ui);
        ASSERT_TRUE(chain->StartDrive({"--par", TVSK_SAMPLE_DATA_DIR "/TKSERIES/TK40.par"}))
            << chain->Error();
    }
    void TearDown() override
    {
        manager.reset();
        AfxSetMessageBoxSink(previousBoxes);
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    std::string SamplePath() const { return folder->Path("Samples/TK40.dat"); }
    // The TK40 type's script replaced by the given text.
    void ScriptIs(const std::string& text) const
    {
        folder->Remove("TKSERIES/TK40.vbs");
        folder->Append("TKSERIES/TK40.vbs", text);
    }
    void Connect()
    {
        manager->ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
        ASSERT_EQ(manager->Connect(""), 0);
    }
    void OpenAndConnect()
    {
        ASSERT_EQ(manager->OpenFile(SamplePath().c_str()), 0);
        Connect();
        DBPAR* enable = manager->ParDb().GetPar("Pr42.4", true);
        ASSERT_NE(enable, nullptr);
        enable->dblDefVal = 1;
        ASSERT_TRUE(manager->WriteParToDrive(enable));
    }
    long Word(int address)
    {
        double value = -99999;
        EXPECT_EQ(manager->SendCommand(14, (16L << 16) + address, Pointer(&value)), 0);
        return static_cast<long>(value) & 0xFFFF;
    }
    void SetWord(int address, long value)
    {
        ASSERT_EQ(manager->SendCommand(15, (16L << 16) + address, value), 0);
    }
    std::string SessionVar(const char* name)
    {
        CString value;
        return manager->GetSessionVarValue(name, value) ? value.str() : "<none>";
    }
    static int Count(const std::vector<std::string>& texts, const std::string& part)
    {
        int n = 0;
        for (const std::string& text : texts)
            n += text.find(part) != std::string::npos ? 1 : 0;
        return n;
    }

    std::unique_ptr<CDriveChain> chain;
    ScriptBoxes scriptBoxes;
    CMessageBoxSink* previousBoxes = nullptr;
    std::unique_ptr<ProgramFolder> folder;
    RecordingUi ui;
    std::unique_ptr<CTvskManager> manager;
};

TEST_F(TvskScriptsChainTest, SampleScriptFillsEmptySessionVariablesWhenTheFileLoads)
{
    ASSERT_EQ(manager->OpenFile(SamplePath().c_str()), 0);
    EXPECT_TRUE(manager->CanFireEvents());
    EXPECT_EQ(SessionVar("Commessa"), "Nessuna");
    EXPECT_EQ(SessionVar("NomeAsse"), "Asse X");
    EXPECT_EQ(SessionVar("RapportoRiduzione"), "5") << "a value the file holds stays";
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(scriptBoxes.texts.empty());

    // The wizard data start the type's script again; a new file stops it.
    ASSERT_EQ(manager->LoadWizardData(false), 0);
    EXPECT_TRUE(manager->CanFireEvents());
    ASSERT_TRUE(manager->NewFile());
    EXPECT_FALSE(manager->CanFireEvents());
}

TEST_F(TvskScriptsChainTest, SampleScriptVetoesThePlcDownloadWhileTheDriveIsEnabled)
{
    OpenAndConnect();
    manager->ResetPlc();
    const int operands[3] = {3, 5, -1};
    ASSERT_EQ(manager->SetPlcInstr(0, "LD", operands), HOSTRES_OK);
    const long status = Word(3);
    SetWord(3, status | 0x2);

    EXPECT_EQ(manager->SendCommand(32, 0, 0), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(Word(0x4000), 0) << "nothing of the program reached the drive";
    EXPECT_EQ(Count(ui.boxes, "Drive abilitato"), 1);

    SetWord(3, status & ~0x2L);
    EXPECT_EQ(manager->SendCommand(32, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Word(0x4000), 0x0350);
    EXPECT_EQ(Count(ui.boxes, "Drive abilitato"), 1);
}

TEST_F(TvskScriptsChainTest, SampleScriptOffersToSaveTheParametersAfterWriteAll)
{
    OpenAndConnect();
    scriptBoxes.answer = IDNO;
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    ASSERT_EQ(scriptBoxes.texts.size(), 1u);
    EXPECT_EQ(scriptBoxes.texts[0], "Parametri scritti nel drive.\nSalvarli nella memoria permanente?");
    EXPECT_EQ(Word(42) & 0x4, 0);

    scriptBoxes.answer = IDYES;
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(scriptBoxes.texts.size(), 2u);
    EXPECT_EQ(Word(42) & 0x4, 0x4) << "the drive command \"Save\" set Pr42.2";

    ASSERT_TRUE(manager->ChangeLanguage(1));
    scriptBoxes.answer = IDNO;
    manager->SendCommand(4, 0, 0);
    ASSERT_EQ(scriptBoxes.texts.size(), 3u);
    EXPECT_EQ(scriptBoxes.texts[2], "Parameters written to the drive.\nSave them in the permanent memory?")
        << "the question in the session's language";
    manager->ChangeLanguage(0);

    // No offer after a write-all that did not happen.
    manager->Disconnect();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 21);
    EXPECT_EQ(scriptBoxes.texts.size(), 3u);
}

TEST_F(TvskScriptsChainTest, AScriptReachesTheDriveThroughTargetParWithAnAt)
{
    ScriptIs("Sub Tvsk_BeforeWriteAll()\n"
             "    Tvsk.TargetPar(\"@Pr50\") = Tvsk.TargetPar(\"@Pr3\") + 150\n"
             "    Tvsk.CanRW = False\n"
             "End Sub\n");
    OpenAndConnect();
    SetWord(3, 7);
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(Word(50), 157);
    EXPECT_TRUE(ui.boxes.empty()) << ui.boxes[0];
}

TEST_F(TvskScriptsChainTest, AScriptCallsMembersWithItsOwnTypes)
{
    ScriptIs("Sub Tvsk_LoadFile(file)\n"
             "    Dim n\n"
             "    n = 2\n"
             "    Tvsk.Modified = True\n"
             "    made = Tvsk.CreateTvskVar(\"Probe\", True)\n"
             "    Tvsk.TvskVar(\"Probe\") = 2.5 * n\n"
             "    Tvsk.ParCustomBit(\"Pr1\") = \"True\"\n"
             "    Tvsk.ParCustomWord(\"Pr1\") = n\n"
             "    Tvsk.MsgBox made & \";\" & Tvsk.TvskVar(\"Probe\") & \";\" & Tvsk.Modified & \";\" & _\n"
             "        Tvsk.ParCustomBit(\"Pr1\") & \";\" & Tvsk.ParCustomWord(\"Pr1\") & \";\" & _\n"
             "        TypeName(Tvsk.MotorValue(n)) & \";\" & TypeName(Tvsk.GetCamIpaBase(0)) & \";\" & _\n"
             "        Tvsk.EncoderValue(CLng(40)) & \";\" & Tvsk.Tvsk.OnLine & \";\" & Tvsk.ValidComm, n\n"
             "    Tvsk.ErrorCode = \"5\"\n"
             "    Tvsk.Connect = False\n"
             "    Tvsk.SetField \"PAR\", \"szUm\", 0, \"rpm\"\n"
             "    id = Tvsk.GetField(\"PAR\", \"szID\", 0.2)\n"
             "    Tvsk.Par(id) = \"3\"\n"
             "    Tvsk.MsgBox Tvsk.ErrorCode & \";\" & Tvsk.GetField(\"PAR\", \"szUm\", 0) & \";\" & _\n"
             "        Tvsk.Par(id) & \";\" & TypeName(Tvsk.Version(n)) & \";\" & Tvsk.Connected, 2\n"
             "End Sub\n");
    ASSERT_EQ(manager->OpenFile(SamplePath().c_str()), 0);
    EXPECT_EQ(ui.boxes, (std::vector<std::string>{"True;5;True;True;2;Double;Long;-1;True;-1",
                                                  "5;rpm;3;String;False"}));
    EXPECT_TRUE(scriptBoxes.texts.empty()) << scriptBoxes.texts[0];
}

TEST_F(TvskScriptsChainTest, RunTimeErrorShowsOneBoxWithLineAndText)
{
    ScriptIs("Sub Tvsk_BeforeWriteAll()\n"
             "    Dim x\n"
             "    x = 1 / 0\n"
             "End Sub\n");
    OpenAndConnect();
    ui.boxes.clear();
    manager->SendCommand(4, 0, 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].find("Division by zero"), std::string::npos) << ui.boxes[0];
    EXPECT_NE(ui.boxes[0].find("Line 3"), std::string::npos) << ui.boxes[0];
    EXPECT_NE(ui.boxes[0].find("x = 1 / 0"), std::string::npos) << ui.boxes[0];
    EXPECT_TRUE(scriptBoxes.texts.empty());
    EXPECT_TRUE(manager->CanFireEvents()) << "the script runs on";
}

TEST_F(TvskScriptsChainTest, NoEventReachesTheScriptFromAWorkerThread)
{
    ScriptIs("Sub Tvsk_BeforeWritePar(name, value)\n"
             "    Tvsk.TvskVar(\"Commessa\") = Tvsk.TvskVar(\"Commessa\") & name & \";\"\n"
             "End Sub\n"
             "Sub Tvsk_OnTimer()\n"
             "    Tvsk.TvskVar(\"NomeAsse\") = Tvsk.TvskVar(\"NomeAsse\") & \"+\"\n"
             "End Sub\n");
    OpenAndConnect();
    ASSERT_EQ(SessionVar("Commessa"), "Pr42.4;") << "the PLC switched on";
    ASSERT_EQ(manager->SendCommand(2, Pointer("Pr50"), 0), HOSTRES_OK);
    EXPECT_EQ(SessionVar("Commessa"), "Pr42.4;Pr50;");
    manager->FireTimer();
    EXPECT_EQ(SessionVar("NomeAsse"), "Asse X+");

    long written = -1;
    std::thread(
        [&]
        {
            written = manager->SendCommand(2, Pointer("Pr51"), 0);
            manager->FireTimer();
            EXPECT_FALSE(manager->CanFireEvents());
        })
        .join();
    EXPECT_EQ(written, HOSTRES_OK) << "the write itself happens";
    EXPECT_EQ(SessionVar("Commessa"), "Pr42.4;Pr50;");
    EXPECT_EQ(SessionVar("NomeAsse"), "Asse X+");
}

TEST_F(TvskScriptsChainTest, FileEventsCarryThePathAndAScriptThatFailsToStartFiresNothing)
{
    ScriptIs("Sub Tvsk_LoadFile(file)\n"
             "    Tvsk.MsgBox \"Load \" & file, 2\n"
             "End Sub\n"
             "Sub Tvsk_UnloadFile(file)\n"
             "    Tvsk.MsgBox \"Unload \" & file, 2\n"
             "End Sub\n");
    ASSERT_EQ(manager->OpenFile(SamplePath().c_str()), 0);
    ASSERT_TRUE(manager->NewFile());
    EXPECT_EQ(ui.boxes, (std::vector<std::string>{"Load " + SamplePath(), "Unload " + SamplePath()}));

    // Verbose, a script that does not compile: its error once, then no event and no event text.
    folder->Replace("TKSERIES/TK40.par", "OPT\tSCRIPTDEBUG\t0", "OPT\tSCRIPTDEBUG\t1");
    ScriptIs("Sub Tvsk_BeforeWriteAll()\n"
             "    Tvsk.CanRW = False\n"
             "End Sub\n"
             "x = \n");
    ui.boxes.clear();
    EXPECT_EQ(manager->OpenFile(SamplePath().c_str()), 5);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].find("Line 4"), std::string::npos) << ui.boxes[0];
    EXPECT_EQ(manager->GetFileErrorText(5).str(),
              "Errore nel caricamento del file di VB script associato\n" + ui.boxes[0]);
    EXPECT_FALSE(manager->CanFireEvents());
    Connect();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0) << "the handler did not veto";
    EXPECT_EQ(ui.boxes.size(), 1u) << ui.boxes.back();

    // Verbose and running: an event no handler took is told.
    ScriptIs("Dim started\nstarted = True\n");
    ui.boxes.clear();
    EXPECT_EQ(manager->OpenFile(SamplePath().c_str()), 0);
    EXPECT_EQ(ui.boxes, (std::vector<std::string>{"FireEvent nr. 1 failed"}));
}

TEST_F(TvskScriptsChainTest, SaveCommandsRunTheDriveCommandsBetweenTheirEvents)
{
    OpenAndConnect();
    SaveEvents events(*manager);
    manager->SetScriptEvents(&events);
    EXPECT_EQ(manager->SendCommand(38, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeSaveParams", "BeforeWritePar b42.2",
                                                     "AfterWritePar b42.2", "AfterSaveParams"}));
    EXPECT_EQ(Word(42) & 0x4, 0x4);

    // A veto of the parameters' save is honoured and spent: the next save runs.
    SetWord(42, 0x10);
    events.seen.clear();
    events.veto = "BeforeSaveParams";
    EXPECT_EQ(manager->SendCommand(38, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeSaveParams", "AfterSaveParams"}));
    EXPECT_EQ(Word(42), 0x10);
    events.veto.clear();

    events.seen.clear();
    EXPECT_EQ(manager->SendCommand(40, 0, 0), HOSTRES_OK);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeSavePlc", "BeforeWritePar b42.3",
                                                     "AfterWritePar b42.3", "AfterSavePlc"}));
    EXPECT_EQ(Word(42) & 0x8, 0x8);

    SetWord(42, 0x10);
    events.seen.clear();
    events.veto = "BeforeSavePlc";
    EXPECT_EQ(manager->SendCommand(40, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeSavePlc", "AfterSavePlc"}));
    EXPECT_EQ(Word(42), 0x10);
    manager->SetScriptEvents(nullptr);

    SetWord(42, 0);
    EXPECT_EQ(manager->SendCommand(40, 0, 0), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 12) << "PLC off";
    manager->Disconnect();
    EXPECT_EQ(manager->SendCommand(38, 0, 0), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

TEST_F(TvskScriptsChainTest, SaveCommandsAnswerFailureWhenTheDriveCommandFails)
{
    folder->Replace("TKSERIES/TK40.par", "CMD\t\"Save\"", "CMD\t\"Store\"");
    OpenAndConnect();
    ui.boxes.clear();
    EXPECT_EQ(manager->SendCommand(38, 0, 0), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 5);
    EXPECT_EQ(ui.boxes.size(), 1u) << "the drive command's own message";
    EXPECT_EQ(Word(42) & 0x4, 0);
}

} // namespace
