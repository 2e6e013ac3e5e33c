// Attach, detach and the locked command handshake with a port server.
#include "ComBlockClient.h"

#include <ZoSupport/ZoSupport.h>
#include <kernel/Process.h>
#include <kernel/Time.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{

// The starter leaves the server's id at once; a block without one after this has no server.
constexpr unsigned long UnknownServerPatience = 2000;
constexpr unsigned long DetachPause = 100;
constexpr unsigned long ResyncMargin = 1000;

} // namespace

ComBlockClient::ComBlockClient(const char* prefix, const char* server) : m_prefix(prefix), m_server(server)
{
    GiveUpOnUnknownServerAfter(UnknownServerPatience);
}

int ComBlockClient::setcom(unsigned char port)
{
    if (port == m_port)
        return 1;
    if (HasObjects())
        close();
    m_port = port;
    const BlockObjectNames names(m_prefix, std::to_string(port));
    const ServerStart server{FormatString("%s %d", m_server, port).GetString(), true};
    bool existed = false;
    m_open = CreateObjects(names, PORT_BLOCK_SIZE, existed) &&
                     (existed ? RestartEndedServer(server) : StartServer(server))
                 ? 1
                 : 0;
    if (m_open && BeginCommand())
    {
        Block().argument = GetCurrentProcessId();
        ExeCmd(PORT_CMD_ATTACH);
        EndCommand();
    }
    return m_open;
}

void ComBlockClient::close()
{
    if (m_open)
    {
        if (BeginCommand())
        {
            Block().argument = GetCurrentProcessId();
            ExeCmd(PORT_CMD_DETACH);
            ReleasePort();
        }
        Sleep(DetachPause);
    }
    CloseObjects();
    m_port = 0;
}

void ComBlockClient::ExeCmd(unsigned char cmd)
{
    Block().result = 0; // a command that writes no result must not read as the last success
    Block().command = cmd;
    SignalCommand();
    if (WaitForReply(INFINITE) != Reply::Came)
        m_open = 0;
}

void ComBlockClient::OnPortAbandoned()
{
    if (!View() || !ServerIdKnown())
        return;
    if (CommandPending())
        return; // its command never reached the server
    unsigned long bound = ResyncMargin;
    if (Block().command == PORT_CMD_READ && Block().readTimeout != PORT_TIMEOUT_IMMEDIATE)
        bound += Block().readTimeout;
    if (WaitForReply(bound) == Reply::ServerGone)
        m_open = 0;
}

int ComBlockClient::Read(unsigned short timeout, unsigned long len)
{
    Block().readTimeout = timeout;
    Block().argument = static_cast<DWORD>(len);
    ExeCmd(PORT_CMD_READ);
    return Block().result;
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
    const DWORD count = Block().transferred;
    if (read)
        std::memcpy(buf, Block().data, std::min<unsigned long>(count, len)); // never past the caller's buffer
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
        *out = Block().data[0];
    EndCommand();
    return result;
}

unsigned char ComBlockClient::get()
{
    if (!m_open || !BeginCommand())
        return 0;
    Read(0, 1);
    const unsigned char first = Block().data[0];
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
    std::memcpy(Block().data, buf, len);
    Block().argument = static_cast<DWORD>(len);
    ExeCmd(PORT_CMD_WRITE);
    const int result = Block().result;
    EndCommand();
    return result;
}

int ComBlockClient::put(unsigned char c)
{
    return put(&c, 1);
}

void ComBlockClient::reset()
{
    if (!m_open || !BeginCommand())
        return;
    ExeCmd(PORT_CMD_PURGE);
    EndCommand();
}
