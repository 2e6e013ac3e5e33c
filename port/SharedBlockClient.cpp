// Attach, detach and the locked command handshake with the server of a port kind.
#include "SharedBlockClient.h"

#include <kernel/FileMapping.h>
#include <kernel/Process.h>
#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <algorithm>

namespace
{
// How often a client that did not start the server looks whether the server is known yet.
constexpr DWORD kUnknownServerSlice = 100;
} // namespace

BlockObjectNames::BlockObjectNames(const std::string& prefix, const std::string& suffix)
    : map(prefix + "MAP" + suffix), commandEvent(prefix + "EVEC" + suffix), replyEvent(prefix + "EVER" + suffix),
      mutex(prefix + "MTX" + suffix), serverId(prefix + "PID" + suffix)
{
}

bool BlockObjectNames::Valid() const
{
    const std::size_t longest = std::max({map.size(), commandEvent.size(), replyEvent.size(), mutex.size()});
    return longest < static_cast<std::size_t>(MAX_PATH);
}

SharedBlockClient::~SharedBlockClient()
{
    close();
}

void SharedBlockClient::Init() noexcept
{
    m_open = 0;
    m_locked = 0;
    m_mapping = m_commandEvent = m_replyEvent = m_mutex = m_serverProcess = m_serverIdMapping = nullptr;
    m_view = nullptr;
    m_serverId = nullptr;
    m_blockSize = 0;
    m_replyWait = m_replyWaitFirst;
}

void SharedBlockClient::LimitReplyWait(unsigned long first, unsigned long afterSilence)
{
    m_replyWaitLimited = true;
    m_replyWaitFirst = m_replyWait = first;
    m_replyWaitAfterSilence = afterSilence;
}

int SharedBlockClient::OpenServed(const BlockObjectNames& names, std::size_t blockSize, const ServerStart& server)
{
    if (m_mapping)
        close();
    if (!names.Valid())
        return 0;
    bool existed = false;
    m_open = CreateObjects(names, blockSize, existed) && (existed || StartServer(server)) ? 1 : 0;
    if (m_open)
        Attach();
    return m_open;
}

int SharedBlockClient::OpenKept(const BlockObjectNames& names, std::size_t blockSize)
{
    if (m_mapping)
        close();
    if (!names.Valid())
        return 0;
    m_mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(blockSize),
                                  names.map.c_str());
    if (!m_mapping || GetLastError() != ERROR_ALREADY_EXISTS)
    {
        close();
        return 0;
    }
    m_commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent.c_str());
    m_replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent.c_str());
    m_mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex.c_str());
    m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, blockSize);
    m_blockSize = blockSize;
    m_open = m_commandEvent && m_replyEvent && m_mutex && m_view ? 1 : 0;
    if (m_open)
        Attach();
    if (!m_open)
        close();
    return m_open;
}

bool SharedBlockClient::CreateObjects(const BlockObjectNames& names, std::size_t blockSize, bool& existed)
{
    m_mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(blockSize),
                                  names.map.c_str());
    existed = m_mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    m_serverIdMapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint32_t),
                                          names.serverId.c_str());
    // Created when missing also by a later client: the first one may still be creating them.
    m_commandEvent = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent.c_str());
    m_replyEvent = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent.c_str());
    m_mutex = CreateMutex(nullptr, FALSE, names.mutex.c_str());
    if (m_mapping)
        m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, blockSize);
    if (m_serverIdMapping)
        m_serverId = static_cast<std::uint32_t*>(MapViewOfFile(m_serverIdMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    m_blockSize = blockSize;
    return m_view && m_serverId && m_commandEvent && m_replyEvent && m_mutex;
}

bool SharedBlockClient::StartServer(const ServerStart& server)
{
    STARTUPINFO startup;
    if (server.emptyDesktop)
        startup.lpDesktop = "";
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started;
    if (!CreateProcess(nullptr, server.commandLine.c_str(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &started))
        return false;
    m_serverProcess = started.hProcess;
    *m_serverId = started.dwProcessId; // known to later clients before the server runs
    return true;
}

void SharedBlockClient::Attach()
{
    if (!BeginCommand())
    {
        m_open = 0;
        return;
    }
    BlockView(m_view, m_blockSize).SetU32(block::ProcessId, GetCurrentProcessId());
    if (!ExeCmd(block::CMD_ATTACH))
        m_open = 0;
    EndCommand();
}

void SharedBlockClient::Detach()
{
    if (!m_view || !BeginCommand())
        return;
    BlockView(m_view, m_blockSize).SetU32(block::ProcessId, GetCurrentProcessId());
    ExeCmd(block::CMD_DETACH);
    ReleaseMutex(m_mutex); // also the hold of a lock: the client ends unlocked
    m_locked = 0;
    Sleep(m_detachPause);
}

void SharedBlockClient::close()
{
    if (m_open)
        Detach();
    else if (m_locked)
        ReleaseMutex(m_mutex);
    if (m_view)
        UnmapViewOfFile(m_view);
    if (m_serverId)
        UnmapViewOfFile(m_serverId);
    for (HANDLE handle : {m_mapping, m_commandEvent, m_replyEvent, m_mutex, m_serverProcess, m_serverIdMapping})
    {
        if (handle)
            CloseHandle(handle);
    }
    Init();
}

int SharedBlockClient::Transact(std::uint8_t command, const BlockAccess& fill, const BlockAccess& read)
{
    if (!m_open || !BeginCommand())
        return 0;
    const BlockView block(m_view, m_blockSize);
    if (m_stampEveryCommand)
        block.SetU32(block::ProcessId, GetCurrentProcessId());
    if (fill)
        fill(block);
    const bool replied = ExeCmd(command);
    if (replied && read)
        read(block);
    const int result = replied ? block.U8(block::Result) : 0;
    EndCommand();
    return result;
}

bool SharedBlockClient::BeginCommand()
{
    if (m_locked)
        return true;
    // A mutex left by a client that died holding it is handed over consistent again.
    const DWORD taken = WaitForSingleObject(m_mutex, INFINITE);
    return taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

void SharedBlockClient::EndCommand()
{
    if (!m_locked)
        ReleaseMutex(m_mutex);
}

bool SharedBlockClient::ExeCmd(std::uint8_t command)
{
    const BlockView block(m_view, m_blockSize);
    block.SetU8(block::Result, 0); // a command that writes no result must not read as the last success
    if (m_replyWaitLimited)
        ResetEvent(m_replyEvent); // a reply that came too late must not answer this command
    block.SetU8(block::Command, command);
    SetEvent(m_commandEvent);
    return WaitForReply();
}

bool SharedBlockClient::WaitForReply()
{
    if (m_replyWaitLimited)
    {
        const bool came = WaitForSingleObject(m_replyEvent, m_replyWait) == WAIT_OBJECT_0;
        m_replyWait = came ? m_replyWaitFirst : m_replyWaitAfterSilence;
        return came;
    }
    for (;;)
    {
        const bool serverKnown = KnowServer();
        if (!serverKnown && m_serverId && *m_serverId != 0)
        {
            m_open = 0;
            return false;
        }
        const HANDLE handles[2] = {m_replyEvent, m_serverProcess};
        const DWORD woken =
            WaitForMultipleObjects(serverKnown ? 2 : 1, handles, FALSE, serverKnown ? INFINITE : kUnknownServerSlice);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_FAILED)
        {
            CloseHandle(m_serverProcess);
            m_serverProcess = nullptr;
            m_open = 0;
            return false;
        }
    }
}

// Learns the server's process from the id its starter left, once there is one.
bool SharedBlockClient::KnowServer()
{
    if (!m_serverProcess && m_serverId && *m_serverId != 0)
        m_serverProcess = OpenProcess(SYNCHRONIZE, FALSE, *m_serverId);
    return m_serverProcess != nullptr;
}

void SharedBlockClient::reset()
{
    Transact(block::CMD_RESET);
}

int SharedBlockClient::lock(unsigned long ms)
{
    if (m_locked)
        return 1;
    if (!m_mutex)
        return 0;
    const DWORD taken = WaitForSingleObject(m_mutex, static_cast<DWORD>(ms));
    m_locked = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    return m_locked;
}

void SharedBlockClient::unlock()
{
    if (!m_locked)
        return;
    m_locked = 0;
    ReleaseMutex(m_mutex);
}
