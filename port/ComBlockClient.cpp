// Attach, detach and the locked command handshake with a port server.
#include "ComBlockClient.h"

#include <ZoSupport/ZoSupport.h>
#include <kernel/FileMapping.h>
#include <kernel/Process.h>
#include <kernel/Sync.h>
#include <kernel/Time.h>

#include <algorithm>
#include <cstring>

namespace
{

constexpr unsigned long UnknownServerSlice = 100;
// The starter leaves the server's id at once; a block without one after this has no server.
constexpr DWORD UnknownServerPatience = 2000;
constexpr unsigned long DetachPause = 100;
constexpr unsigned long ResyncMargin = 1000;

template <class T>
T* MapWhole(HANDLE mapping)
{
    return mapping ? static_cast<T*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
}

} // namespace

void ComBlockClient::Init() noexcept
{
    m_port = 0;
    m_open = 0;
    m_locked = 0;
    m_mapping = m_commandEvent = m_replyEvent = m_mutex = m_serverProcess = m_serverIdMapping = nullptr;
    m_block = nullptr;
    m_serverId = nullptr;
}

int ComBlockClient::setcom(unsigned char port)
{
    if (port == m_port)
        return 1;
    if (m_mapping)
        close();
    m_port = port;
    const PortObjectNames names(m_prefix, port);
    bool existed = false;
    m_open = CreateObjects(names, existed) && (existed || StartServer()) ? 1 : 0;
    if (m_open && BeginCommand())
    {
        m_block->argument = GetCurrentProcessId();
        ExeCmd(PORT_CMD_ATTACH);
        EndCommand();
    }
    return m_open;
}

bool ComBlockClient::CreateObjects(const PortObjectNames& names, bool& existed)
{
    m_mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, PORT_BLOCK_SIZE, names.map);
    existed = m_mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    m_serverIdMapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), names.serverId);
    // Created when missing also by a later client: the first one may still be creating them.
    m_commandEvent = CreateEvent(nullptr, FALSE, FALSE, names.commandEvent);
    m_replyEvent = CreateEvent(nullptr, FALSE, FALSE, names.replyEvent);
    m_mutex = CreateMutex(nullptr, FALSE, names.mutex);
    m_block = MapWhole<PORT_BLOCK>(m_mapping);
    m_serverId = MapWhole<DWORD>(m_serverIdMapping);
    return m_block && m_serverId && m_commandEvent && m_replyEvent && m_mutex;
}

bool ComBlockClient::StartServer()
{
    const CString commandLine = FormatString("%s %d", m_server, m_port);
    STARTUPINFO startup;
    startup.lpDesktop = "";
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started;
    if (!CreateProcess(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                       &startup, &started))
        return false;
    m_serverProcess = started.hProcess;
    *m_serverId = started.dwProcessId; // known to later clients before the server runs
    return true;
}

void ComBlockClient::close()
{
    if (m_open)
    {
        if (BeginCommand())
        {
            m_block->argument = GetCurrentProcessId();
            ExeCmd(PORT_CMD_DETACH);
            ReleaseMutex(m_mutex); // also the hold of a lock: the client ends unlocked
        }
        Sleep(DetachPause);
    }
    else if (m_locked)
    {
        ReleaseMutex(m_mutex);
    }
    if (m_block)
        UnmapViewOfFile(m_block);
    if (m_serverId)
        UnmapViewOfFile(m_serverId);
    for (HANDLE handle : {m_mapping, m_commandEvent, m_replyEvent, m_mutex, m_serverProcess, m_serverIdMapping})
    {
        if (handle)
            CloseHandle(handle);
    }
    Init();
}

bool ComBlockClient::BeginCommand()
{
    if (m_locked)
        return true;
    const DWORD taken = WaitForSingleObject(m_mutex, INFINITE);
    if (taken == WAIT_ABANDONED)
        Resynchronise();
    return taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
}

void ComBlockClient::EndCommand()
{
    if (!m_locked)
        ReleaseMutex(m_mutex);
}

void ComBlockClient::ExeCmd(unsigned char cmd)
{
    m_block->result = 0; // a command that writes no result must not read as the last success
    m_block->command = cmd;
    SetEvent(m_commandEvent);
    if (WaitForReply(INFINITE) != Reply::Came)
        m_open = 0;
}

// Learns the server's process from the identifier its starter left, once there is one.
bool ComBlockClient::KnowServer()
{
    if (!m_serverProcess && *m_serverId != 0)
        m_serverProcess = OpenProcess(SYNCHRONIZE, FALSE, *m_serverId);
    return m_serverProcess != nullptr;
}

ComBlockClient::Reply ComBlockClient::WaitForReply(unsigned long milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        const DWORD waited = GetTickCount() - start;
        if (milliseconds != INFINITE && waited >= milliseconds)
            return Reply::TimedOut;
        const DWORD left = milliseconds == INFINITE ? INFINITE : milliseconds - waited;
        const bool serverKnown = KnowServer();
        if (!serverKnown && (*m_serverId != 0 || waited >= UnknownServerPatience))
            return Reply::ServerGone;
        const HANDLE handles[2] = {m_replyEvent, m_serverProcess};
        const DWORD woken = WaitForMultipleObjects(serverKnown ? 2 : 1, handles, FALSE,
                                                   serverKnown ? left : std::min<DWORD>(left, UnknownServerSlice));
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

void ComBlockClient::Resynchronise()
{
    if (!m_block || !m_serverId)
        return;
    if (WaitForSingleObject(m_commandEvent, 0) == WAIT_OBJECT_0)
        return; // its command never reached the server
    unsigned long bound = ResyncMargin;
    if (m_block->command == PORT_CMD_READ && m_block->readTimeout != PORT_TIMEOUT_IMMEDIATE)
        bound += m_block->readTimeout;
    if (WaitForReply(bound) == Reply::ServerGone)
        m_open = 0;
}

int ComBlockClient::Read(unsigned short timeout, unsigned long len)
{
    m_block->readTimeout = timeout;
    m_block->argument = static_cast<DWORD>(len);
    ExeCmd(PORT_CMD_READ);
    return m_block->result;
}

int ComBlockClient::get(unsigned char* buf, unsigned short timeout, unsigned long len)
{
    if (!buf && len > 0)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return 0;
    }
    if (!m_open || len > PORT_DATA_SIZE || !BeginCommand())
        return 0;
    const bool read = Read(timeout, len) == 1;
    const DWORD count = m_block->transferred;
    if (read)
        std::memcpy(buf, m_block->data, std::min<unsigned long>(count, len)); // never past the caller's buffer
    EndCommand();
    return read && count == len ? 1 : 0;
}

int ComBlockClient::get(unsigned char* out)
{
    if (!out)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return 0;
    }
    if (!m_open || !BeginCommand())
        return 0;
    const int result = Read(0, 1);
    if (result == 1)
        *out = m_block->data[0];
    EndCommand();
    return result;
}

unsigned char ComBlockClient::get()
{
    if (!m_open || !BeginCommand())
        return 0;
    Read(0, 1);
    const unsigned char first = m_block->data[0];
    EndCommand();
    return first;
}

int ComBlockClient::put(unsigned char* buf, unsigned long len)
{
    if (!buf && len > 0)
    {
        ProgramError(__FILE__, __LINE__, nullptr);
        return 0;
    }
    if (!m_open || len > PORT_DATA_SIZE || !BeginCommand())
        return 0;
    std::memcpy(m_block->data, buf, len);
    m_block->argument = static_cast<DWORD>(len);
    ExeCmd(PORT_CMD_WRITE);
    const int result = m_block->result;
    EndCommand();
    return result;
}

int ComBlockClient::put(unsigned char c) { return put(&c, 1); }

void ComBlockClient::reset()
{
    if (!m_open || !BeginCommand())
        return;
    ExeCmd(PORT_CMD_PURGE);
    EndCommand();
}

int ComBlockClient::lock(unsigned long ms)
{
    if (m_locked)
        return 1;
    if (!m_mutex)
        return 0;
    const DWORD taken = WaitForSingleObject(m_mutex, static_cast<DWORD>(ms));
    if (taken == WAIT_ABANDONED)
        Resynchronise();
    m_locked = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    return m_locked;
}

void ComBlockClient::unlock()
{
    if (!m_locked)
        return;
    m_locked = 0;
    ReleaseMutex(m_mutex);
}
