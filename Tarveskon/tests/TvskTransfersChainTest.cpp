// The bulk transfers end to end: the TK40 session against drivesim with the TK40 defaults.
#include "TransfersChainFixture.h"

#include <Tarveskon/TvskIntf.h>

#include <com/Com.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace
{

using tvsk::testing::Pointer;
using tvsk::testing::RecordingEvents;

using Lines = std::vector<std::string>;

class TvskTransfersChainTest : public tvsk::testing::TransfersChainFixture
{
protected:
    void SampleProgram()
    {
        SetProgram(
            {{"LD", {3, 5}}, {"COMM:x", {}}, {"OUT", {42, 0}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 0}}});
    }
    void WriteWord(int address, long code, int bits = 16)
    {
        ASSERT_EQ(manager->SendCommand(15, (static_cast<long>(bits) << 16) + address, code), 0);
    }
    // The automation object's page word, called by name as a page calls it.
    long ExecHtmlCommand(const char* word)
    {
        CTvskIntf* intf = manager->GetIntf();
        std::u16string name = tvsk::com::Utf16FromUtf8("ExecHtmlCommand");
        LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(name.c_str()))};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(intf->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = tvsk::com::BstrFromUtf8(word);
        DISPPARAMS params{&argument, nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(intf->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
        VariantClear(&argument);
        return result.vt == VT_I4 ? result.lVal : -1;
    }
    // Cam words are parameter words: "write WORD 16 VALUE".
    static bool IsCamWrite(const std::string& line, int& word)
    {
        return std::sscanf(line.c_str(), "write %d 16", &word) == 1 && word >= 2048 && word < 3584 + 257;
    }
};

TEST_F(TvskTransfersChainTest, DownloadedProgramLandsInDriveMemoryAndUploadsBackEqual)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    SampleProgram();
    ASSERT_EQ(manager->SendCommand(32, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Word(0x4000), 0x0350);
    EXPECT_EQ(Word(0x4002, 32), 0x0C0B0A08);
    EXPECT_EQ(Word(0x4005), 0x000F);

    int equal = 0;
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_TRUE(equal);

    ASSERT_EQ(manager->SendCommand(31, 0, 0), HOSTRES_OK);
    EXPECT_EQ(Instruction(0), "LD 3 5");
    EXPECT_EQ(Instruction(1), "OUT 42 0");
    EXPECT_EQ(Instruction(2), "ADD 10 11 12");
    EXPECT_EQ(Instruction(3), "OUT 76 0");
    EXPECT_EQ(Instruction(4), "END 0 0");
    EXPECT_EQ(Instruction(5), "");

    SetProgram({{"LD", {3, 5}}, {"END", {}}});
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_FALSE(equal);
    SetProgram({{"LD", {3, 5}}, {"OUT", {42, 0}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 1}}});
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_FALSE(equal);
}

TEST_F(TvskTransfersChainTest, ProgramThatCannotBeEncodedWritesNothing)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    SetProgram({{"LD", {3, 5}}, {"OUT", {300, 0}}});
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
    EXPECT_EQ(Word(0x4000), 0);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back(), "Errore in fase di scrittura del LumoPLC nel drive");

    SetProgram({{"NOSUCH", {}}});
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
}

TEST_F(TvskTransfersChainTest, VetoAndMissingLinkStopTheDownloadBeforeAnyWrite)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    SampleProgram();
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    events.veto = "BeforeWritePLC";
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(manager->GetCanRW(), TRUE);
    EXPECT_EQ(Word(0x4000), 0);

    events.veto.clear();
    events.seen.clear();
    EXPECT_EQ(manager->DownloadPlc(), TRUE);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeWritePLC", "AfterWritePLC"}));
    manager->SetScriptEvents(nullptr);

    EnablePlc(false);
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 12);
    EXPECT_EQ(manager->SendCommand(31, 0, 0), HOSTRES_OK);

    manager->Disconnect();
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

TEST_F(TvskTransfersChainTest, WriteAllAnnouncesEveryParameterAndTheLinkIsFreeAfterwards)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    ASSERT_GE(events.seen.size(), 4u);
    EXPECT_EQ(events.seen.front(), "BeforeWriteAll");
    EXPECT_EQ(events.seen.back(), "AfterWriteAll");
    int writes = 0;
    for (size_t i = 1; i + 1 < events.seen.size(); i += 2)
    {
        ASSERT_EQ(events.seen[i].rfind("BeforeWritePar ", 0), 0u) << events.seen[i];
        EXPECT_EQ(events.seen[i + 1], "AfterWritePar " + events.seen[i].substr(15));
        ++writes;
    }
    EXPECT_GT(writes, 0);

    events.veto = "BeforeWriteAll";
    events.seen.clear();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"BeforeWriteAll", "AfterWriteAll"}));

    events.veto.clear();
    events.seen.clear();
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(events.seen.front(), "BeforeReadAll");
    EXPECT_EQ(events.seen.back(), "AfterReadAll");
    manager->SetScriptEvents(nullptr);

    // Another thread reaches the drive at once: the transfers left the link free.
    double value = 0;
    std::thread([&] { EXPECT_TRUE(manager->ReadAddr(0x4000, 0, 16, &value)); }).join();

    manager->Disconnect();
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 21);
    manager->SendCommand(3, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

TEST_F(TvskTransfersChainTest, CamsLandAtTheirStartAddressesAndBadPointsWriteNothing)
{
    OpenAndConnect("Samples/TK40Cam.dat", kPatientReplyTimeOut);
    const size_t from = JournalLength();
    ASSERT_EQ(manager->SendCommand(37, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    // Four cams of 257 points, each word written once.
    std::set<int> words;
    size_t writes = 0;
    for (const std::string& line : JournalFrom(from))
        if (int word = 0; IsCamWrite(line, word))
        {
            ++writes;
            words.insert(word);
        }
    EXPECT_EQ(writes, 4u * 257u);
    EXPECT_EQ(words.size(), 4u * 257u);
    for (const int start : {2048, 2560, 3072, 3584})
        EXPECT_TRUE(words.count(start) && words.count(start + 256)) << start;
    EXPECT_EQ(Word(2048), 0);
    EXPECT_EQ(Word(2048 + 3), 150);
    EXPECT_EQ(Word(2048 + 100), 5000);
    EXPECT_EQ(Word(2048 + 256), 10000);
    EXPECT_EQ(Word(2560 + 5), 0); // cam 1 has no points: zeros

    ASSERT_TRUE(manager->SetCamData(3, std::nan(""), 1, TRUE, 0));
    ASSERT_TRUE(manager->SetCamData(4, 777, 1, TRUE, 0));
    EXPECT_EQ(manager->DownloadCams(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 10);
    EXPECT_EQ(Word(2048 + 4), 200);

    manager->Disconnect();
    EXPECT_EQ(manager->DownloadCams(), FALSE);
    EXPECT_EQ(manager->GetErrorCode(), 21);
}

// Drive memory byte 2n holds program word 0x4000 + n.
TEST_F(TvskTransfersChainTest, TheSamplesProgramLandsWordForWordAndUploadsBackEqual)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    EXPECT_EQ(Instruction(0), "COMM:avvio");
    EXPECT_EQ(Instruction(11), "COMM:registri");
    const size_t from = JournalLength();
    ASSERT_EQ(manager->SendCommand(32, 0, 0), HOSTRES_OK);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(Journaled(from, "write M"),
              (Lines{"write M0 16 19200", "write M2 16 772", "write M4 16 10754", "write M6 16 800",
                     "write M8 16 19459", "write M10 16 19216", "write M12 16 19238", "write M14 16 38412",
                     "write M16 16 38413", "write M18 32 1886350856", "write M22 16 15"}))
        << "ADD 110 111 112 as 32 bits at 0x4009, END at 0x400B";

    int equal = 0;
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_TRUE(equal) << "comments have no place in the drive";

    ASSERT_EQ(manager->SendCommand(31, 0, 0), HOSTRES_OK);
    EXPECT_EQ(Program(), (Lines{"LD 75 0", "AND 3 0", "OUT 42 0", "LD 3 2", "OUTN 76 0", "LD 75 1", "OR 75 2",
                                "SET 150 0", "RES 150 0", "ADD 110 111 112", "END 0 0"}));
    equal = 0;
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_TRUE(equal);
}

TEST_F(TvskTransfersChainTest, AFailedWriteEndsWithElevenAndLeavesTheLinkFree)
{
    OpenAndConnect();
    RecordingEvents events(*manager);
    events.onEvent = [this](const std::string& event)
    {
        if (event == "BeforeWritePLC")
            Fault(true);
    };
    manager->SetScriptEvents(&events);
    ui.boxes.clear();
    ui.types.clear();
    ui.shown.clear();
    const size_t from = JournalLength();
    EXPECT_EQ(manager->DownloadPlc(), FALSE);
    manager->SetScriptEvents(nullptr);
    EXPECT_EQ(manager->GetErrorCode(), 11);
    EXPECT_EQ(events.seen, (Lines{"BeforeWritePLC", "AfterWritePLC"}));
    EXPECT_EQ(ui.boxes, Lines{"Errore in fase di scrittura del LumoPLC nel drive"});
    EXPECT_EQ(ui.types, std::vector<UINT>{MB_OK | MB_ICONERROR});
    EXPECT_EQ(ui.shown, (Lines{"wait Scrittura LumoPLC in corso ...", "end wait",
                               "box Errore in fase di scrittura del LumoPLC nel drive"}));
    EXPECT_TRUE(Journaled(from, "write M").empty());

    std::thread(
        [this]
        {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(manager->SendCommand(18, 0, 0), 0) << "the download let the link go";
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
            EXPECT_EQ(manager->SendCommand(19, 0, 0), 0);
        })
        .join();
}

TEST_F(TvskTransfersChainTest, UploadStopsAtEnd)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    WriteWord(0x4000, 0x0350);
    WriteWord(0x4001, 0x000F);
    WriteWord(0x4002, 0x2A02);
    const size_t from = JournalLength();
    ASSERT_EQ(manager->SendCommand(31, 0, 0), HOSTRES_OK);
    EXPECT_EQ(Program(), (Lines{"LD 3 5", "END 0 0"}));
    EXPECT_TRUE(Journaled(from, "read M4 ").empty()) << "nothing read past END";
}

TEST_F(TvskTransfersChainTest, UploadStopsAtCapacityAndAProgramWithoutEndThereIsNotEqual)
{
    folder->Replace("TKSERIES/TK40.par", "OPT\tPLCMAXLEN\t256", "OPT\tPLCMAXLEN\t4");
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    ASSERT_EQ(manager->GetPlcMaxLen(), 4);
    WriteWord(0x4000, 0x0350);
    WriteWord(0x4001, 0x0C0B0A08, 32);
    WriteWord(0x4003, 0x4C02);
    WriteWord(0x4004, 0x2A02);
    WriteWord(0x4005, 0x000F);
    SetProgram({{"LD", {3, 5}}, {"ADD", {10, 11, 12}}, {"OUT", {76, 0}}, {"OUT", {42, 0}}});
    int equal = 1;
    ASSERT_EQ(manager->SendCommand(33, Pointer(&equal), 0), HOSTRES_OK);
    EXPECT_FALSE(equal) << "the drive's END lies beyond the capacity";

    const size_t from = JournalLength();
    ASSERT_EQ(manager->SendCommand(31, 0, 0), HOSTRES_OK);
    EXPECT_EQ(Program(), (Lines{"LD 3 5", "ADD 10 11 12", "OUT 76 0", "OUT 42 0"}));
    EXPECT_TRUE(Journaled(from, "read M10 ").empty()) << "nothing read past the capacity";
}

TEST_F(TvskTransfersChainTest, ACamWriteThatFailsTells2065AndEndsWithFive)
{
    OpenAndConnect();
    RecordingEvents events(*manager);
    events.onEvent = [this](const std::string& event)
    {
        if (event == "BeforeWriteCams")
            Fault(true);
    };
    manager->SetScriptEvents(&events);
    ui.boxes.clear();
    ui.types.clear();
    ui.shown.clear();
    EXPECT_EQ(manager->SendCommand(37, 0, 0), HOSTRES_FAILED);
    manager->SetScriptEvents(nullptr);
    EXPECT_EQ(manager->GetErrorCode(), 5);
    EXPECT_EQ(events.seen, (Lines{"BeforeWriteCams", "AfterWriteCams"}));
    EXPECT_EQ(ui.boxes, Lines{"Errore di comunicazione con il drive"}) << "one box, the rest not tried";
    EXPECT_EQ(ui.types, std::vector<UINT>{MB_OK | MB_ICONERROR});
    EXPECT_EQ(ui.shown, (Lines{"wait Scrittura dati camme in corso ...", "end wait",
                               "box Errore di comunicazione con il drive"}))
        << "the box comes once the progress window is gone";
}

TEST_F(TvskTransfersChainTest, ThePageWordDownlPlcAnswersTheDownloadsResult)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    size_t from = JournalLength();
    EXPECT_EQ(ExecHtmlCommand("DownlPlc"), HOSTRES_OK);
    EXPECT_EQ(Journaled(from, "write M22 16 15").size(), 1u);

    EnablePlc(false);
    from = JournalLength();
    EXPECT_EQ(ExecHtmlCommand("DownlPlc"), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 12);
    EXPECT_TRUE(Journaled(from, "write M").empty());
}

// The page list is written and read as a whole: announced like write all and read all.
TEST_F(TvskTransfersChainTest, PageListTransfersAnnounceThemselvesAndSkipReadOnlyEntries)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    ASSERT_EQ(manager->SendCommand(6, 0, 0), 0);
    for (const char* name : {"Pr1", "Pr3.8", "Pr42.0"})
        ASSERT_EQ(manager->SendCommand(7, Pointer(name), 0), 0);
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    size_t from = JournalLength();
    manager->SendCommand(9, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(events.seen, (Lines{"BeforeWriteAll", "BeforeWritePar Pr1", "AfterWritePar Pr1",
                                  "BeforeWritePar Pr42.0", "AfterWritePar Pr42.0", "AfterWriteAll"}));
    EXPECT_TRUE(Journaled(from, "write 3").empty()) << "Pr3.8 is read-only";

    events.veto = "BeforeWriteAll";
    events.seen.clear();
    from = JournalLength();
    manager->SendCommand(9, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(events.seen, (Lines{"BeforeWriteAll", "AfterWriteAll"}));
    EXPECT_TRUE(Journaled(from, "write").empty());

    events.veto.clear();
    events.seen.clear();
    from = JournalLength();
    manager->SendCommand(8, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    EXPECT_EQ(events.seen, (Lines{"BeforeReadAll", "AfterReadAll"}));
    EXPECT_FALSE(Journaled(from, "read 3").empty());

    events.veto = "BeforeReadAll";
    events.seen.clear();
    from = JournalLength();
    manager->SendCommand(8, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 20);
    EXPECT_EQ(events.seen, Lines{"BeforeReadAll"});
    EXPECT_TRUE(Journaled(from, "read").empty());
    manager->SetScriptEvents(nullptr);
}

TEST_F(TvskTransfersChainTest, AccessRwIsReadWithoutRegardToCase)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    for (const char* name : {"Pr42.0", "Pr50"})
        std::strcpy(manager->ParDb().GetPar(name, true)->szRW, "RW");
    std::strcpy(manager->ParDb().GetPar("Pr1", true)->szRW, "Rw");
    RecordingEvents events(*manager);
    manager->SetScriptEvents(&events);
    manager->SendCommand(4, 0, 0);
    EXPECT_EQ(manager->GetErrorCode(), 0);
    for (const char* name : {"Pr1", "Pr42.0", "Pr50"})
        EXPECT_NE(std::find(events.seen.begin(), events.seen.end(), std::string("BeforeWritePar ") + name),
                  events.seen.end())
            << name << " in the write-all";

    ASSERT_EQ(manager->SendCommand(6, 0, 0), 0);
    ASSERT_EQ(manager->SendCommand(7, Pointer("Pr50"), 0), 0);
    events.seen.clear();
    manager->SendCommand(9, 0, 0);
    EXPECT_EQ(events.seen,
              (Lines{"BeforeWriteAll", "BeforeWritePar Pr50", "AfterWritePar Pr50", "AfterWriteAll"}));
    manager->SetScriptEvents(nullptr);

    VARIANT raw;
    VariantInit(&raw);
    raw.vt = VT_I4;
    raw.lVal = 77;
    EXPECT_TRUE(manager->WriteRaw("Pr50", raw));
    EXPECT_EQ(manager->GetErrorCode(), 0);
    double value = 0;
    ASSERT_TRUE(manager->ReadAddr(50, 0, 16, &value));
    EXPECT_EQ(value, 77);
}

TEST_F(TvskTransfersChainTest, AScaleOfZeroIsWrittenAsOneAndKeptSo)
{
    OpenAndConnect("Samples/TK40.dat", kPatientReplyTimeOut);
    DBPAR* limit = manager->ParDb().GetPar("Pr50", true);
    ASSERT_NE(limit, nullptr);
    limit->nScale = 0;
    limit->dblDefVal = 123;
    const size_t from = JournalLength();
    ASSERT_TRUE(manager->WriteParToDrive(limit));
    EXPECT_EQ(Journaled(from, "write 50"), Lines{"write 50 16 123"});
    EXPECT_EQ(limit->nScale, 1) << "the record holds the scale it was written with";
    ASSERT_TRUE(manager->ReadParFromDrive(limit, FALSE));
    EXPECT_DOUBLE_EQ(limit->dblDefVal, 123);
}

TEST_F(TvskTransfersChainTest, ACamPointNoWordHoldsIsNamedInABoxAndNothingIsWritten)
{
    OpenAndConnect("Samples/TK40Cam.dat", kPatientReplyTimeOut);
    ASSERT_TRUE(manager->SetCamData(7, 70000, 1, TRUE, 0));
    ui.boxes.clear();
    const size_t from = JournalLength();
    EXPECT_EQ(manager->SendCommand(37, 0, 0), HOSTRES_FAILED);
    EXPECT_EQ(manager->GetErrorCode(), 10);
    EXPECT_EQ(ui.boxes,
              Lines{"Camma 0, punto 7: il valore 70000 non sta in una parola del drive (da -32768 a "
                    "65535).\nNulla è stato scritto nel drive."});
    for (const std::string& line : JournalFrom(from))
        EXPECT_EQ(line.rfind("write", 0), std::string::npos) << line;
}

} // namespace
