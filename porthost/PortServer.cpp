// Commands of the shared block, run one at a time by the server's worker.
#include "PortServer.h"

#include <kernel/FileMapping.h>
#include <kernel/Process.h>
#include <kernel/Sync.h>

namespace
{

constexpr DWORD IdleCheckMilliseconds = 1000;

bool ProcessHasEnded(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return true;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace

bool CPortServer::Open(BYTE port)
{
    m_port = port;
    const PortObjectNames names(SERIAL_PORT_PREFIX, port);
    m_mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex);
    m_commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent);
    m_replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent);
    m_mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.map);
    m_serverIdMapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.serverId);
    if (m_mapping)
        m_block = static_cast<PORT_BLOCK*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, PORT_BLOCK_SIZE));
    if (m_serverIdMapping)
        m_serverId = static_cast<DWORD*>(MapViewOfFile(m_serverIdMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DWORD)));
    if (m_serverId)
        *m_serverId = GetCurrentProcessId();
    m_device.Open(port);
    m_opened = m_mutex && m_commandEvent && m_replyEvent && m_block && m_serverId && m_device.IsOpen();
    return m_opened;
}

bool CPortServer::Dispatch()
{
    const DWORD woken = WaitForSingleObject(m_commandEvent, IdleCheckMilliseconds);
    if (woken == WAIT_OBJECT_0)
    {
        RunCommand(*m_block);
        SetEvent(m_replyEvent);
    }
    else if (woken == WAIT_TIMEOUT)
    {
        ForgetEndedClients();
    }
    else
    {
        m_lastDetach = true; // the command event is gone: nothing can reach this server any more
    }
    if (!m_lastDetach)
        return false;
    Close();
    return true;
}

void CPortServer::RunCommand(PORT_BLOCK& block)
{
    switch (block.command)
    {
    case PORT_CMD_SETLINE:
        block.result = m_device.SetLine(block.argument, block.line.dataBits, block.line.parity, block.line.stopBits);
        break;
    case PORT_CMD_READ:
        Read(block);
        break;
    case PORT_CMD_WRITE:
        Write(block);
        break;
    case PORT_CMD_PURGE:
        m_device.Purge();
        block.result = 1;
        break;
    case PORT_CMD_DETACH:
        block.result = Detach(block.argument);
        break;
    case PORT_CMD_ATTACH:
        m_clients.Add(block.argument);
        m_clientCount = m_clients.GetSize();
        block.result = 1;
        break;
    case PORT_CMD_PROPERTY:
        block.result = block.property == PORT_PROPERTY_BREAK && m_device.SendBreak();
        break;
    default:
        break; // unknown commands leave the result as it was
    }
}

void CPortServer::Read(PORT_BLOCK& block)
{
    const DWORD count = block.argument;
    if (count > PORT_DATA_SIZE)
    {
        block.transferred = 0;
        block.result = 0;
    }
    else if (m_device.SetReadTimeout(block.readTimeout))
    {
        DWORD transferred = 0;
        block.result = m_device.Read(block.data, count, transferred) ? 1 : 0;
        block.transferred = transferred;
    }
    m_spy.Record(block.transferred, block.data, SPY_RECEIVED);
}

void CPortServer::Write(PORT_BLOCK& block)
{
    const DWORD count = block.argument;
    DWORD transferred = 0;
    block.result = count <= PORT_DATA_SIZE && m_device.Write(block.data, count, transferred) ? 1 : 0;
    block.transferred = transferred;
    m_spy.Record(transferred, block.data, SPY_SENT);
}

BYTE CPortServer::Detach(DWORD processId)
{
    BYTE removed = 0;
    for (INT_PTR i = 0; i < m_clients.GetSize() && !removed; ++i)
    {
        if (m_clients[i] == processId)
        {
            m_clients.RemoveAt(i);
            removed = 1;
        }
    }
    if (removed)
        ForgetEndedClients();
    m_clientCount = m_clients.GetSize();
    return removed;
}

void CPortServer::ForgetEndedClients()
{
    for (INT_PTR i = m_clients.GetSize() - 1; i >= 0; --i)
    {
        if (ProcessHasEnded(m_clients[i]))
            m_clients.RemoveAt(i);
    }
    m_clientCount = m_clients.GetSize();
    if (m_clients.GetSize() == 0)
        m_lastDetach = true;
}

BOOL CPortServer::DetachClient(DWORD processId)
{
    // Handles of its own: a detach of the last client closes the worker's handles meanwhile.
    const PortObjectNames names(SERIAL_PORT_PREFIX, m_port);
    HANDLE mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex);
    HANDLE commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent);
    HANDLE replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent);
    HANDLE mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.map);
    auto* block = mapping ? static_cast<PORT_BLOCK*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    BOOL detached = FALSE;
    if (block && commandEvent && replyEvent && mutex && WaitForSingleObject(mutex, INFINITE) != WAIT_FAILED)
    {
        block->argument = processId;
        block->result = 0;
        block->command = PORT_CMD_DETACH;
        SetEvent(commandEvent);
        WaitForSingleObject(replyEvent, INFINITE);
        detached = block->result;
        ReleaseMutex(mutex);
    }
    if (block)
        UnmapViewOfFile(block);
    for (HANDLE handle : {mutex, commandEvent, replyEvent, mapping})
    {
        if (handle)
            CloseHandle(handle);
    }
    return detached;
}

void CPortServer::Close() noexcept
{
    m_device.Close();
    if (m_block)
        UnmapViewOfFile(m_block);
    if (m_serverId)
        UnmapViewOfFile(m_serverId);
    for (HANDLE* handle : {&m_mutex, &m_commandEvent, &m_replyEvent, &m_mapping, &m_serverIdMapping})
    {
        if (*handle)
            CloseHandle(*handle);
        *handle = nullptr;
    }
    m_block = nullptr;
    m_serverId = nullptr;
    m_opened = false;
}

unsigned ServerThreadProc(CPortServer* server)
{
    while (!server->Dispatch())
    {
    }
    return 0;
}
