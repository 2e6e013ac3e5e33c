// The block's objects, the server's start, the port's mutex and the wait for a reply.
#include "BlockClientBase.h"

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
    : map(prefix + "MAP" + suffix), commandEvent(prefix + "EVEC" + suffix),
      replyEvent(prefix + "EVER" + suffix), mutex(prefix + "MTX" + suffix), serverId(prefix + "PID" + suffix)
{
}

bool BlockObjectNames::Valid() const
{
    const std::size_t longest = std::max({map.size(), commandEvent.size(), replyEvent.size(), mutex.size()});
    return longest < static_cast<std::size_t>(MAX_PATH);
}

BlockClientBase::~BlockClientBase()
{
    CloseObjects();
}

bool BlockClientBase::CreateObjects(const BlockObjectNames& names, std::size_t blockSize, bool& existed)
{
    m_mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  static_cast<DWORD>(blockSize), names.map.c_str());
    existed = m_mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    m_serverIdMapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          sizeof(std::uint32_t), names.serverId.c_str());
    // Created when missing also by a later client: the first one may still be creating them.
    m_commandEvent = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent.c_str());
    m_replyEvent = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent.c_str());
    m_mutex = CreateMutex(nullptr, FALSE, names.mutex.c_str());
    if (m_mapping)
        m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, blockSize);
    if (m_serverIdMapping)
        m_serverId =
            static_cast<std::uint32_t*>(MapViewOfFile(m_serverIdMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    m_blockSize = blockSize;
    return m_view && m_serverId && m_commandEvent && m_replyEvent && m_mutex;
}

bool BlockClientBase::OpenObjects(const BlockObjectNames& names, std::size_t blockSize)
{
    m_mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  static_cast<DWORD>(blockSize), names.map.c_str());
    if (!m_mapping || GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    m_commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent.c_str());
    m_replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent.c_str());
    m_mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex.c_str());
    m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, blockSize);
    m_blockSize = blockSize;
    return m_commandEvent && m_replyEvent && m_mutex && m_view;
}

bool BlockClientBase::StartServer(const ServerStart& server)
{
    STARTUPINFO startup;
    if (server.emptyDesktop)
        startup.lpDesktop = "";
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started;
    if (!CreateProcess(nullptr, server.commandLine.c_str(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &started))
        return false;
    m_serverProcess = started.hProcess;
    *m_serverId = started.dwProcessId; // known to later clients before the server runs
    return true;
}

bool BlockClientBase::RestartEndedServer(const ServerStart& server)
{
    if (!BeginCommand())
        return false;
    bool running = true;
    if (ServerEnded())
    {
        // A command or reply the dead server left must not reach the new one or its clients.
        ResetEvent(m_commandEvent);
        ResetEvent(m_replyEvent);
        running = StartServer(server);
    }
    EndCommand();
    return running;
}

// Whether the server the block names has ended; a block without an id yet is still being served.
bool BlockClientBase::ServerEnded()
{
    if (!m_serverId || *m_serverId == 0)
        return false;
    if (KnowServer() && WaitForSingleObject(m_serverProcess, 0) == WAIT_TIMEOUT)
        return false;
    if (m_serverProcess)
        CloseHandle(m_serverProcess);
    m_serverProcess = nullptr;
    return true;
}

void BlockClientBase::CloseObjects()
{
    if (m_locked)
        ReleaseMutex(m_mutex);
    if (m_view)
        UnmapViewOfFile(m_view);
    if (m_serverId)
        UnmapViewOfFile(m_serverId);
    for (HANDLE handle :
         {m_mapping, m_commandEvent, m_replyEvent, m_mutex, m_serverProcess, m_serverIdMapping})
    {
        if (handle)
            CloseHandle(handle);
    }
    m_open = 0;
    m_locked = 0;
    m_mapping = m_commandEvent = m_replyEvent = m_mutex = m_serverProcess = m_serverIdMapping = nullptr;
    m_view = nullptr;
    m_serverId = nullptr;
    m_blockSize = 0;
}

bool BlockClientBase::BeginCommand()
{
    if (m_locked)
        return true;
    // A mutex left by a client that died holding it is handed over consistent again.
    const DWORD taken = WaitForSingleObject(m_mutex, INFINITE);
    if (taken == WAIT_ABANDONED)
        OnPortAbandoned();
    return taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

void BlockClientBase::EndCommand()
{
    if (!m_locked)
        ReleaseMutex(m_mutex);
}

void BlockClientBase::ReleasePort()
{
    ReleaseMutex(m_mutex); // also the hold of a lock: the client ends unlocked
    m_locked = 0;
}

int BlockClientBase::lock(unsigned long ms)
{
    if (m_locked)
        return 1;
    if (!m_mutex)
        return 0;
    const DWORD taken = WaitForSingleObject(m_mutex, static_cast<DWORD>(ms));
    if (taken == WAIT_ABANDONED)
        OnPortAbandoned();
    m_locked = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    return m_locked;
}

void BlockClientBase::unlock()
{
    if (!m_locked)
        return;
    m_locked = 0;
    ReleaseMutex(m_mutex);
}

void BlockClientBase::SignalCommand()
{
    SetEvent(m_commandEvent);
}

bool BlockClientBase::ReplyCameWithin(unsigned long milliseconds)
{
    return WaitForSingleObject(m_replyEvent, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void BlockClientBase::ForgetLateReply()
{
    ResetEvent(m_replyEvent);
}

bool BlockClientBase::CommandPending()
{
    return WaitForSingleObject(m_commandEvent, 0) == WAIT_OBJECT_0;
}

// Learns the server's process from the id its starter left, once there is one.
bool BlockClientBase::KnowServer()
{
    if (!m_serverProcess && m_serverId && *m_serverId != 0)
        m_serverProcess = OpenProcess(SYNCHRONIZE, FALSE, *m_serverId);
    return m_serverProcess != nullptr;
}

BlockClientBase::Reply BlockClientBase::WaitForReply(unsigned long milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        const DWORD waited = GetTickCount() - start;
        if (milliseconds != INFINITE && waited >= milliseconds)
            return Reply::TimedOut;
        const DWORD left = milliseconds == INFINITE ? INFINITE : milliseconds - waited;
        const bool serverKnown = KnowServer();
        const bool idLeft = m_serverId && *m_serverId != 0;
        if (!serverKnown &&
            (idLeft || (m_unknownServerPatience != INFINITE && waited >= m_unknownServerPatience)))
            return Reply::ServerGone;
        const HANDLE handles[2] = {m_replyEvent, m_serverProcess};
        const DWORD woken =
            WaitForMultipleObjects(serverKnown ? 2 : 1, handles, FALSE,
                                   serverKnown ? left : std::min<DWORD>(left, kUnknownServerSlice));
        if (woken == WAIT_OBJECT_0)
            return Reply::Came;
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_FAILED)
        {
            CloseHandle(m_serverProcess);
            m_serverProcess = nullptr;
            return Reply::ServerGone;
        }
    }
}
