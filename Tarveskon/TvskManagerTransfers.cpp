// The wizard manager's bulk transfers: the PLC program, all parameters, the page list and the cams.
#include "TvskManager.h"

#include "PluginCall.h"
#include "TvskCommSettings.h"
#include "TvskParValues.h"
#include "TvskWorkingNames.h"

#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <framework/ExactNumber.h>
#include <ui/UiDefs.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr int kPlcBase = 0x4000;
constexpr int kPlcMaxOperand = 255;

// Holds the link for the calling thread until the scope ends, whichever way it ends.
class CLinkHold
{
public:
    explicit CLinkHold(CDeviceLinkClient& link) : m_link(link) { m_link.TakeOwner(); }
    ~CLinkHold() { m_link.FreeOwner(); }
    CLinkHold(const CLinkHold&) = delete;
    CLinkHold& operator=(const CLinkHold&) = delete;

private:
    CDeviceLinkClient& m_link;
};

// The progress window and wait cursor from here to the end of the scope; the text is kept where a
// question can show it again.
class CTransferWait
{
public:
    CTransferWait(CTvskHostUi& ui, CWnd* owner, const CString& text, CString& shown)
        : m_ui(ui), m_shown(shown)
    {
        m_shown = text;
        m_ui.BeginWait(owner, text);
    }
    ~CTransferWait()
    {
        m_ui.EndWait();
        m_shown.Empty();
    }
    CTransferWait(const CTransferWait&) = delete;
    CTransferWait& operator=(const CTransferWait&) = delete;

private:
    CTvskHostUi& m_ui;
    CString& m_shown;
};

bool IsComment(const char* text)
{
    return std::strncmp(text, "COMM", 4) == 0;
}

// One drive word of the program: its address, width and code.
struct PlcWord
{
    int address;
    int bits;
    long code;
};

// Operands travel as bytes; a FIN's first operand selects the parameter half instead.
bool OperandsFit(const char* text, const int operands[3])
{
    const bool fin = std::strcmp(text, "FIN") == 0 || std::strcmp(text, "NFIN") == 0;
    for (int i = fin ? 1 : 0; i < 3; ++i)
        if (operands[i] != -1 && (operands[i] < 0 || operands[i] > kPlcMaxOperand))
            return false;
    return true;
}

// The whole program as drive words, also what follows an "END", with "END" appended when none is
// met; false when an instruction does not assemble or the program exceeds the drive's capacity.
bool AssemblePlc(CPluginIntf& host, std::vector<PlcWord>& words)
{
    CLumoPlcCodeGen codeGen;
    const int capacity = host.GetPlcMaxLen();
    int address = kPlcBase;
    bool terminated = false;
    CString text;
    int operands[3];
    auto add = [&](const char* mnemonic, int* args)
    {
        int length = 0;
        const unsigned long code = codeGen.Assemble(mnemonic, args, length);
        if (code == 0xFFFFFFFFUL || length <= 0 || !OperandsFit(mnemonic, args))
            return false;
        words.push_back({address, length * 8, static_cast<long>(code)});
        address += length > 2 ? 2 : 1;
        return address - kPlcBase <= capacity;
    };
    for (int i = 0; host.GetPlcInstr(i, text, operands); ++i)
    {
        if (IsComment(text))
            continue;
        if (!add(text, operands))
            return false;
        terminated = terminated || text == "END";
    }
    int none[3] = {-1, -1, -1};
    return terminated || add("END", none);
}

// Runs the transfer on each name, counted by the progress window, until the transfer's question
// or the window's Cancel stops it; false when stopped.
template <class Transfer>
bool TransferEach(const std::vector<std::string>& names, CTvskTransferProgress& progress, Transfer&& transfer)
{
    if (!progress.Show())
        return false;
    for (const std::string& name : names)
        if (!transfer(name.c_str()) || !progress.Step())
            return false;
    return true;
}

} // namespace

CTvskManager::PlcEnable CTvskManager::PlcEnableState()
{
    const DBCMD* command = IsFileOpen() ? m_parDb.GetCmdPar("EnablePLC") : nullptr;
    if (!command || !IsConnected())
        return PlcEnable::Enabled;
    double value = 0.0;
    if (!ReadAddr(command->nAddr, command->nSubAddr, command->nBitDim, &value))
        return PlcEnable::Unreadable;
    return (value != 0.0) == (command->dblVal != 0.0) ? PlcEnable::Enabled : PlcEnable::Disabled;
}

BOOL CTvskManager::IsPlcEnabled()
{
    return PlcEnableState() == PlcEnable::Enabled ? TRUE : FALSE;
}

CTvskTransferProgress CTvskManager::TransferProgress(int total)
{
    int baud = 0;
    tvsk::comm::BaudRate(CommSettings(), &baud);
    return CTvskTransferProgress(*m_pUi, total, baud, LocalText(2136));
}

CString CTvskManager::CancelText(UINT formatId, const CTvskTransferProgress& progress)
{
    CString text;
    text.Format(LocalText(formatId).GetString(), progress.Done(), progress.Total());
    return text;
}

bool CTvskManager::StartWithDrive()
{
    m_nErrorCode = 0;
    if (IsConnected())
        return true;
    m_nErrorCode = 21;
    return false;
}

bool CTvskManager::ScriptAllows(ScriptEvent before, ScriptEvent afterOnVeto)
{
    if (!ScriptsMayFire())
        return true;
    (m_pEvents->*before)();
    if (m_bCanRW)
        return true;
    m_nErrorCode = 20;
    if (afterOnVeto)
        (m_pEvents->*afterOnVeto)();
    m_bCanRW = TRUE;
    return false;
}

bool CTvskManager::StartPlcDownload()
{
    if (!StartWithDrive())
        return false;
    if (const PlcEnable state = PlcEnableState(); state != PlcEnable::Enabled)
    {
        m_nErrorCode = 12;
        MessageBox(state == PlcEnable::Unreadable ? 2133 : 2134, MB_OK | MB_ICONERROR);
        return false;
    }
    return ScriptAllows(&CTvskScriptEvents::BeforeWritePLC);
}

void CTvskManager::EndPlcDownload(int code, const CString& why)
{
    m_nErrorCode = code;
    if (ScriptsMayFire())
        m_pEvents->AfterWritePLC();
    if (!why.IsEmpty())
        MessageBox(why, MB_OK | MB_ICONWARNING);
    else if (code != 0)
        MessageBox(2064, MB_OK | MB_ICONERROR);
}

BOOL CTvskManager::DownloadPlc()
{
    if (!StartPlcDownload())
        return FALSE;
    int code = 0;
    CString why;
    {
        CLinkHold hold(m_link);
        CTransferWait wait(*m_pUi, GetBoxOwner(), LocalText(2106), m_strTransferWait);
        std::vector<PlcWord> words;
        if (!AssemblePlc(*this, words))
            code = 10;
        CTvskTransferProgress progress = TransferProgress(static_cast<int>(words.size()));
        for (bool going = code == 0 && progress.Show(); going && progress.Done() < progress.Total();)
        {
            const PlcWord& word = words[static_cast<size_t>(progress.Done())];
            if (!WriteAddr(word.address, 0, word.bits, static_cast<double>(word.code)))
            {
                code = 11;
                break;
            }
            going = progress.Step();
        }
        if (code == 0 && progress.Cancelled())
        {
            // Half a program must not run: an END at the start leaves the drive an empty one.
            code = 11;
            why = ClearDrivePlc() ? LocalText(2138) : CancelText(2139, progress);
        }
    }
    EndPlcDownload(code, why);
    return code == 0 ? TRUE : FALSE;
}

bool CTvskManager::ClearDrivePlc()
{
    CLumoPlcCodeGen codeGen;
    int none[3] = {-1, -1, -1};
    int length = 0;
    const unsigned long end = codeGen.Assemble("END", none, length);
    return length > 0 && WriteAddr(kPlcBase, 0, length * 8, static_cast<double>(end)) != FALSE;
}

bool CTvskManager::ReadDrivePlc(const std::function<bool(const DBPLC&)>& take,
                                CTvskTransferProgress* progress)
{
    CLinkHold hold(m_link);
    // Alone the read has a progress of its own; inside a longer transfer its window stays and counts
    // these reads.
    std::optional<CTransferWait> wait;
    std::optional<CTvskTransferProgress> own;
    if (!progress)
    {
        if (m_strTransferWait.IsEmpty())
            wait.emplace(*m_pUi, GetBoxOwner(), LocalText(2170), m_strTransferWait);
        progress = &own.emplace(TransferProgress(GetPlcMaxLen()));
        progress->Show();
    }
    CLumoPlcCodeGen codeGen;
    const int capacity = GetPlcMaxLen();
    bool ended = false;
    for (int i = 0, extra = 0; !ended && i < capacity; ++i)
    {
        const int address = kPlcBase + i + extra;
        double value = 0.0;
        DBPLC instruction{};
        CString text;
        if (!ReadAddr(address, 0, 16, &value) ||
            !codeGen.Disassemble(static_cast<unsigned long>(static_cast<long long>(value)) & 0xFFFFUL, text,
                                 instruction.iOperands))
        {
            m_nErrorCode = 4;
            return false;
        }
        bool going = progress->Step();
        bool twoWords = false;
        CLumoPlcCodeGen::GetInstrLen(text, twoWords);
        if (going && twoWords)
        {
            if (!ReadAddr(address, 0, 32, &value) ||
                !codeGen.Disassemble(static_cast<unsigned long>(static_cast<long long>(value)) & 0xFFFFFFFFUL,
                                     text, instruction.iOperands))
            {
                m_nErrorCode = 4;
                return false;
            }
            going = progress->Step();
            ++extra;
        }
        if (!going)
            break;
        std::strncpy(instruction.szIstr, text, sizeof instruction.szIstr - 1);
        ended = !take(instruction) || text == "END";
    }
    if (ended || !progress->Cancelled())
    {
        // The program ended before the drive's capacity: nothing is left to count.
        progress->SetTotal(progress->Done());
        progress->Show();
        return true;
    }
    // Nothing was changed yet: the drive and the configuration hold what they held.
    m_nErrorCode = 1;
    if (own)
        SetLastError(2171);
    return false;
}

BOOL CTvskManager::UploadPlc()
{
    return UploadPlcCounted(nullptr);
}

BOOL CTvskManager::UploadPlcCounted(CTvskTransferProgress* progress)
{
    if (!StartWithDrive())
        return FALSE;
    std::vector<DBPLC> program;
    if (!ReadDrivePlc(
            [&program](const DBPLC& instruction)
            {
                program.push_back(instruction);
                return true;
            },
            progress))
        return FALSE;
    ResetPlc();
    for (size_t i = 0; i < program.size(); ++i)
        if (SetPlcInstr(static_cast<int>(i), program[i].szIstr, program[i].iOperands) != HOSTRES_OK)
            return FALSE;
    return TRUE;
}

// The walk stops at the first instruction that differs: no more of the drive is read than that.
BOOL CTvskManager::ComparePlc(bool* equal)
{
    if (!StartWithDrive())
        return FALSE;
    bool same = true;
    bool ended = false;
    int fileIndex = 0;
    const bool read = ReadDrivePlc(
        [&](const DBPLC& instruction)
        {
            CString text;
            int operands[3];
            bool found = false;
            while ((found = GetPlcInstr(fileIndex++, text, operands) != FALSE) && IsComment(text))
                ;
            const bool isEnd = std::strcmp(instruction.szIstr, "END") == 0;
            // A file program without "END" ends where the download appended one.
            same = found ? text == instruction.szIstr &&
                               (isEnd || std::memcmp(operands, instruction.iOperands, sizeof operands) == 0)
                         : isEnd;
            ended = isEnd;
            return same;
        });
    if (!read)
        return FALSE;
    if (equal)
        *equal = same && ended;
    return TRUE;
}

bool CTvskManager::AskRetry(const char* name, UINT questionId, Retry& answer)
{
    CString question;
    question.Format("%s : %s", name, LocalText(questionId).GetString());
    // The wait cursor and progress window are off while the question is up.
    const CString wait = m_strTransferWait;
    if (!wait.IsEmpty())
        m_pUi->EndWait();
    const int choice = MessageBox(question, MB_YESNOCANCEL | MB_ICONWARNING);
    if (!wait.IsEmpty())
        m_pUi->BeginWait(GetBoxOwner(), wait);
    switch (choice)
    {
    case IDYES:
        return true;
    case IDNO:
        answer = Retry::Skipped;
        return false;
    default:
        answer = Retry::Cancelled;
        return false;
    }
}

CTvskManager::Retry CTvskManager::TransferWithRetry(const char* name, UINT questionId,
                                                    const std::function<BOOL(DBPAR*)>& transfer)
{
    Retry answer = Retry::Done;
    for (;;)
    {
        // The record is looked up again each time: a new operating mode rebuilds the list.
        DBPAR* par = m_parDb.GetPar(name, true);
        if (!par)
            return Retry::Skipped;
        if (transfer(par))
            return Retry::Done;
        if (!AskRetry(name, questionId, answer))
            return answer;
    }
}

CTvskManager::Retry CTvskManager::ReadWithRetry(const char* name, UINT questionId)
{
    return TransferWithRetry(name, questionId, [this](DBPAR* par) { return ReadParFromDrive(par, TRUE); });
}

CTvskManager::Retry CTvskManager::WriteWithRetry(const char* name, UINT questionId,
                                                 const std::vector<std::string>& transferred)
{
    return TransferWithRetry(name, questionId,
                             [&](DBPAR* par)
                             {
                                 std::vector<DBPAR*> bits;
                                 for (const std::string& other : transferred)
                                     if (DBPAR* bit = m_parDb.GetPar(other.c_str(), true);
                                         bit && tvsk::values::BitLivesIn(*bit, *par))
                                         bits.push_back(bit);
                                 if (bits.empty())
                                     return WriteParToDrive(par);
                                 return WriteRawParToDrive(par, tvsk::values::WordWithBits(*par, bits));
                             });
}

void CTvskManager::ReadAllPars()
{
    if (!StartWithDrive())
        return;
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeReadAll))
        return;
    int code = 0;
    const unsigned short modeBefore = m_parDb.GetOpMode();
    {
        CTransferWait wait(*m_pUi, GetBoxOwner(), LocalText(2095), m_strTransferWait);
        std::vector<std::string> modes = tvsk::WorkingNames(m_parDb, true, false);
        if (modes.size() > 1)
            modes.resize(1);
        CTvskTransferProgress progress = TransferProgress(
            static_cast<int>(modes.size() + tvsk::WorkingNames(m_parDb, false, false).size()));
        const auto read = [this](const char* name) { return ReadWithRetry(name, 2053) != Retry::Cancelled; };
        bool walked = TransferEach(modes, progress, read);
        if (walked)
        {
            // The operating mode read, the list of that mode is walked whole.
            const std::vector<std::string> names = tvsk::WorkingNames(m_parDb, false, false);
            progress.SetTotal(progress.Done() + static_cast<int>(names.size()));
            walked = TransferEach(names, progress, read);
        }
        // Stopped by a question or the progress window: how far it got and what the rest holds,
        // since a new operating mode gave the parameters not read that mode's defaults.
        if (!walked)
        {
            code = 2;
            MessageBox(CancelText(m_parDb.GetOpMode() != modeBefore ? 2162 : 2141, progress),
                       MB_OK | MB_ICONWARNING);
        }
    }
    m_nErrorCode = code;
    if (events)
        m_pEvents->AfterReadAll();
}

int CTvskManager::ReadAllFrom(int start, CString& text, int* index, CTvskTransferProgress* progress)
{
    m_nErrorCode = 0;
    text.Empty();
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeReadAll))
        return 0;
    const int answer = ReadWorkingListFrom(start, text, index, progress);
    if (events)
        m_pEvents->AfterReadAll();
    return answer;
}

int CTvskManager::ReadWorkingListFrom(int start, CString& text, int* index, CTvskTransferProgress* progress)
{
    const auto failed = [&](const char* name, int at)
    {
        text.Format("%s : %s", name, LocalText(2053).GetString());
        if (index)
            *index = at;
        return 1;
    };
    // Every read is counted, the drive's whole program memory included until its END is met; the
    // user's Cancel is taken between two reads.
    const int plcWords = std::max(GetPlcMaxLen(), 0);
    const auto plan = [&](size_t reads)
    {
        if (progress)
            progress->SetTotal(progress->Done() + static_cast<int>(reads) + plcWords);
        return !progress || progress->Show();
    };
    const auto counted = [progress] { return !progress || progress->Step(); };
    const auto cancelled = [&]
    {
        text.Format(LocalText(2160).GetString(), progress->Done());
        return 3;
    };
    if (start < 0)
    {
        const std::vector<std::string> modes = tvsk::WorkingNames(m_parDb, true, false);
        if (!plan(modes.size() + tvsk::WorkingNames(m_parDb, false, false).size()))
            return cancelled();
        for (const std::string& name : modes)
        {
            if (DBPAR* par = m_parDb.GetPar(name.c_str(), true); par && !ReadParFromDrive(par, TRUE))
                return failed(name.c_str(), -1);
            if (!counted())
                return cancelled();
        }
        start = 0;
    }
    // The whole working list of the mode just read, by name: a record may move while it is read.
    std::vector<std::pair<int, std::string>> entries;
    for (long i = start; i < m_parDb.GetParNum(true); ++i)
        if (const DBPAR* par = m_parDb.GetPar(i, true); par && !m_parDb.IsOpModePar(par->szID))
            entries.emplace_back(static_cast<int>(i), par->szID);
    if (!plan(entries.size()))
        return cancelled();
    for (const auto& [at, name] : entries)
    {
        if (DBPAR* par = m_parDb.GetPar(name.c_str(), true); par && !ReadParFromDrive(par, TRUE))
            return failed(name.c_str(), at);
        if (!counted())
            return cancelled();
    }
    // The walk reached the end, whatever was skipped on the way: the program follows.
    if (!IsPlcEnabled())
    {
        if (progress)
        {
            progress->SetTotal(progress->Done());
            progress->Show();
        }
        return 0;
    }
    if (!UploadPlcCounted(progress))
    {
        if (progress && progress->Cancelled())
        {
            text = LocalText(2161);
            return 3;
        }
        text = LocalText(2034);
        return 2;
    }
    return 0;
}

void CTvskManager::WriteAllPars()
{
    if (!StartWithDrive())
        return;
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeWriteAll, &CTvskScriptEvents::AfterWriteAll))
        return;
    int code = 0;
    {
        CLinkHold hold(m_link);
        CTransferWait wait(*m_pUi, GetBoxOwner(), LocalText(2104), m_strTransferWait);
        // Only the current menu's list: the user chose it, and a control word outside every menu
        // is not the configuration's to overwrite.
        const std::vector<std::string> modes = tvsk::MenuWritableNames(m_parDb, true);
        const std::vector<std::string> names = tvsk::MenuWritableNames(m_parDb, false);
        CTvskTransferProgress progress = TransferProgress(static_cast<int>(modes.size() + names.size()));
        const auto write = [&](const char* name)
        { return WriteWithRetry(name, 2052, names) != Retry::Cancelled; };
        const bool walked = TransferEach(modes, progress, write) && TransferEach(names, progress, write);
        // Stopped by a question or the progress window: how far it got.
        if (!walked)
        {
            code = 1;
            MessageBox(CancelText(2140, progress), MB_OK | MB_ICONWARNING);
        }
    }
    m_nErrorCode = code;
    if (events)
        m_pEvents->AfterWriteAll();
}

void CTvskManager::ReadPagePars()
{
    if (!StartWithDrive())
        return;
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeReadAll))
        return;
    // The operating mode first: read later, its new list would put its defaults over the values
    // just read.
    std::vector<std::string> names = PageParNames();
    std::stable_partition(names.begin(), names.end(),
                          [this](const std::string& name) { return m_parDb.IsOpModePar(name.c_str()) != 0; });
    int code = 0;
    for (const std::string& name : names)
        if (ReadWithRetry(name.c_str(), 2053) == Retry::Cancelled)
        {
            code = 2;
            break;
        }
    m_nErrorCode = code;
    if (events)
        m_pEvents->AfterReadAll();
}

void CTvskManager::WritePagePars()
{
    if (!StartWithDrive())
        return;
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeWriteAll, &CTvskScriptEvents::AfterWriteAll))
        return;
    std::vector<std::string> names;
    for (const std::string& name : PageParNames())
        if (const DBPAR* par = m_parDb.GetPar(name.c_str(), true); tvsk::IsReadWrite(*par))
            names.push_back(name);
    int code = 0;
    {
        CLinkHold hold(m_link);
        for (const std::string& name : names)
            if (WriteWithRetry(name.c_str(), 2052, names) == Retry::Cancelled)
            {
                code = 1;
                break;
            }
    }
    m_nErrorCode = code;
    if (events)
        m_pEvents->AfterWriteAll();
}

BOOL CTvskManager::DownloadCams()
{
    if (!StartWithDrive())
        return FALSE;
    // Every point is checked before the first is written: a value a word cannot carry stops all.
    std::vector<PlcWord> words;
    for (int i = 0; i < GetCamDefNum(); ++i)
    {
        const int cam = GetCamDefIndex(i);
        const int start = GetCamStartAddr(cam);
        for (int point = 0; point < GetCamStepsNr(); ++point)
        {
            double value = 0.0;
            GetCamData(point, &value, nullptr, nullptr, cam);
            if (!std::isfinite(value) || value < -32768.0 || value >= 65536.0)
            {
                m_nErrorCode = 10;
                MessageBox(
                    FormatString(LocalText(2142).GetString(), cam, point, tvsk::ExactText(value).GetString()),
                    MB_OK | MB_ICONERROR);
                return FALSE;
            }
            words.push_back({(start + point) & 0xFFFF, 16, static_cast<long>(std::trunc(value))});
        }
    }
    const bool events = ScriptsMayFire();
    if (!ScriptAllows(&CTvskScriptEvents::BeforeWriteCams))
        return FALSE;
    int code = 0;
    CString cancelled;
    {
        CLinkHold hold(m_link);
        CTransferWait wait(*m_pUi, GetBoxOwner(), LocalText(2105), m_strTransferWait);
        CTvskTransferProgress progress = TransferProgress(static_cast<int>(words.size()));
        for (bool going = progress.Show(); going && progress.Done() < progress.Total();)
        {
            const PlcWord& word = words[static_cast<size_t>(progress.Done())];
            if (SendCommand(HOSTCMD_WRITEADDR, (16L << 16) | word.address, word.code) != HOSTRES_OK)
            {
                code = 5;
                break;
            }
            going = progress.Step();
        }
        if (code == 0 && progress.Cancelled())
        {
            code = 5;
            cancelled = CancelText(2137, progress);
        }
    }
    if (!cancelled.IsEmpty())
        MessageBox(cancelled, MB_OK | MB_ICONWARNING);
    else if (code != 0)
        MessageBox(2065, MB_OK | MB_ICONERROR);
    m_nErrorCode = code;
    if (events)
        m_pEvents->AfterWriteCams();
    return code == 0 ? TRUE : FALSE;
}

VARIANT CTvskManager::ReadRaw(const char* name)
{
    VARIANT result;
    VariantInit(&result);
    m_nErrorCode = 0;
    if (!IsFileOpen() || !IsConnected())
    {
        m_nErrorCode = 21;
        return result;
    }
    const DBPAR* par = name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
    {
        m_nErrorCode = 6;
        return result;
    }
    double raw = 0.0;
    if (!ReadAddr(par->nAddr, par->nSubAddr, par->nBitDim, &raw))
    {
        m_nErrorCode = 4;
        return result;
    }
    result.vt = VT_R8;
    result.dblVal = raw;
    return result;
}

BOOL CTvskManager::WriteRaw(const char* name, const VARIANT& value)
{
    m_nErrorCode = 0;
    if (!IsFileOpen() || !IsConnected())
    {
        m_nErrorCode = 21;
        return FALSE;
    }
    const DBPAR* par = name ? m_parDb.GetPar(name, true) : nullptr;
    if (!par)
    {
        m_nErrorCode = 6;
        return FALSE;
    }
    if (!tvsk::IsReadWrite(*par))
    {
        m_nErrorCode = 7;
        return FALSE;
    }
    // Text that does not read as a number, NaN and infinities are refused, nothing written.
    VARIANT number;
    VariantInit(&number);
    const bool converted = SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_R8)) &&
                           std::isfinite(number.dblVal);
    if (!converted || !WriteAddr(par->nAddr, par->nSubAddr, par->nBitDim, number.dblVal))
    {
        m_nErrorCode = 5;
        return FALSE;
    }
    return TRUE;
}
