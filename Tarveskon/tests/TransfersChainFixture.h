// The TK40 session against drivesim with the TK40 defaults, a control pipe and a journal of the
// requests it served.
#pragma once

#include "ManagerTestSupport.h"

#include <Tarveskon/TvskStrings.h>

#include <protocol/tests/DriveChain.h>
#include <registry/Registry.h>
#include <ui/UiDefs.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace tvsk::testing
{

inline long Pointer(const void* pointer)
{
    return static_cast<long>(reinterpret_cast<std::intptr_t>(pointer));
}

// Records the bulk events in order; vetoes the one it is told to.
class RecordingEvents : public CTvskScriptEvents
{
public:
    explicit RecordingEvents(CTvskManager& manager) : m_manager(manager) {}
    bool MayFire() const override { return true; }
    bool BeforeWritePar(const char* name, double) override
    {
        return Note(std::string("BeforeWritePar ") + name);
    }
    bool AfterWritePar(const char* name, double) override
    {
        return Note(std::string("AfterWritePar ") + name);
    }
    bool BeforeWritePLC() override { return Note("BeforeWritePLC"); }
    bool AfterWritePLC() override { return Note("AfterWritePLC"); }
    bool BeforeReadAll() override { return Note("BeforeReadAll"); }
    bool AfterReadAll() override { return Note("AfterReadAll"); }
    bool BeforeWriteAll() override { return Note("BeforeWriteAll"); }
    bool AfterWriteAll() override { return Note("AfterWriteAll"); }
    bool BeforeWriteCams() override { return Note("BeforeWriteCams"); }
    bool AfterWriteCams() override { return Note("AfterWriteCams"); }

    std::vector<std::string> seen;
    std::string veto;
    // Runs as the event arrives, before the manager goes on.
    std::function<void(const std::string& event)> onEvent;

private:
    bool Note(const std::string& event)
    {
        seen.push_back(event);
        if (onEvent)
            onEvent(event);
        if (event == veto)
            m_manager.SetCanRW(FALSE);
        return true;
    }
    CTvskManager& m_manager;
};

// Boxes recorded with their types and among the progress windows; a test may act while a box is up
// (before it is answered).
class TransferUi : public RecordingUi
{
public:
    int MessageBox(CWnd* owner, const CString& text, UINT type) override
    {
        types.push_back(type);
        shown.push_back("box " + text.str());
        if (whileShown)
            whileShown(boxes.size());
        return RecordingUi::MessageBox(owner, text, type);
    }
    void BeginWait(CWnd*, const CString& text) override { shown.push_back("wait " + text.str()); }
    void EndWait() override { shown.push_back("end wait"); }
    bool ShowTransferProgress(int done, int total, const CString& note) override
    {
        steps.push_back({done, total, note.str()});
        lastDone = done;
        if (onStep)
            onStep(done);
        return cancel;
    }

    struct Step
    {
        int done;
        int total;
        std::string note;
    };
    std::vector<Step> steps;
    // Set from another thread, as a click on Cancel comes while an exchange runs.
    std::atomic<bool> cancel{false};
    std::atomic<int> lastDone{-1};
    std::vector<UINT> types;
    // Boxes and the progress window in the order they came and went.
    std::vector<std::string> shown;
    std::function<void(size_t shownBefore)> whileShown;
    // Runs as the count is shown, between two exchanges.
    std::function<void(int done)> onStep;
};

class TransfersChainFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chain =
            std::make_unique<CDriveChain>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(chain->Error(), "");
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
        folder = std::make_unique<ProgramFolder>();
        BeforeDrive();
        control = folder->Path("control");
        journal = folder->Path("journal");
        ASSERT_EQ(::mkfifo(control.c_str(), 0600), 0);
        manager = std::make_unique<CTvskManager>(folder->Dir().c_str());
        manager->SetHostUi(&ui);
        ASSERT_TRUE(chain->StartDrive(
            {"--par", folder->Path("TKSERIES/TK40.par"), "--control", control, "--journal", journal}))
            << chain->Error();
    }
    void TearDown() override
    {
        manager.reset();
        EXPECT_EQ(chain->StopDrive(), 0);
        chain.reset();
    }
    // Changes to the folder's data before the drive takes its defaults from it.
    virtual void BeforeDrive() {}

    void OpenAndConnect(const char* sample = "Samples/TK40.dat", int timeOut = 200)
    {
        ASSERT_EQ(manager->OpenFile(folder->Path(sample).c_str()), 0);
        manager->ParDb().SetCommSettings(ChainSettings(0, timeOut).c_str());
        ASSERT_EQ(manager->Connect(""), 0);
        EnablePlc(true);
    }
    void EnablePlc(bool on)
    {
        DBPAR* enable = manager->ParDb().GetPar("Pr42.4", true);
        ASSERT_NE(enable, nullptr);
        enable->dblDefVal = on ? 1 : 0;
        ASSERT_TRUE(manager->WriteParToDrive(enable));
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
    long Word(int address, int bits = 16)
    {
        double value = -99999;
        EXPECT_EQ(manager->SendCommand(14, (static_cast<long>(bits) << 16) + address, Pointer(&value)), 0);
        return static_cast<long>(value) & (bits == 32 ? 0xFFFFFFFFL : 0xFFFFL);
    }
    // The file's instruction i as "TEXT op op", operands of -1 left out; "" past the end.
    std::string Instruction(int i)
    {
        CString text;
        int operands[3];
        if (!manager->GetPlcInstr(i, text, operands))
            return "";
        std::string line = text.str();
        for (const int operand : operands)
            if (operand != -1)
                line += " " + std::to_string(operand);
        return line;
    }
    std::vector<std::string> Program()
    {
        std::vector<std::string> lines;
        for (int i = 0; !Instruction(i).empty(); ++i)
            lines.push_back(Instruction(i));
        return lines;
    }

    // One command line to drivesim; returns once a request shows the drive took it.
    void Fault(bool silent)
    {
        ASSERT_TRUE(SendDriveControl(control, silent ? "fault silent\n" : "fault none\n"));
        double value = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while ((manager->ReadAddr(1, 0, 16, &value) != FALSE) == silent &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The time drivesim holds each reply back from now on.
    void Delay(int milliseconds)
    {
        ASSERT_TRUE(SendDriveControl(control, "delay " + std::to_string(milliseconds) + "\n"));
    }
    // The journal's lines from the given line on.
    std::vector<std::string> JournalFrom(size_t first = 0)
    {
        std::ifstream in(journal);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return first < lines.size()
                   ? std::vector<std::string>(lines.begin() + static_cast<long>(first), lines.end())
                   : std::vector<std::string>{};
    }
    size_t JournalLength() { return JournalFrom().size(); }
    // The journal's lines from the given line on that begin with the prefix.
    std::vector<std::string> Journaled(size_t from, const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& line : JournalFrom(from))
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    // The configuration's value of a parameter of the working list; -1 without one.
    double Value(const char* name)
    {
        const DBPAR* par = manager->ParDb().GetPar(name, true);
        return par ? par->dblDefVal : -1;
    }

    std::unique_ptr<CDriveChain> chain;
    std::unique_ptr<ProgramFolder> folder;
    std::string control;
    std::string journal;
    TransferUi ui;
    std::unique_ptr<CTvskManager> manager;
};

} // namespace tvsk::testing
