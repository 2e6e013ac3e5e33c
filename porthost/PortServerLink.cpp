// A port server's side of the handshake: the port's named objects, its block and the wait for commands.
#include "PortServerLink.h"

#include <kernel/FileMapping.h>
#include <kernel/Process.h>
#include <kernel/Sync.h>

bool CPortServerLink::Open(const char* prefix, BYTE port)
{
    Close();
    const PortObjectNames names(prefix, port);
    m_mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex);
    m_commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent);
    m_replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent);
    m_mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.map);
    m_serverIdMapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.serverId);
    if (m_mapping)
        m_block =
            static_cast<PORT_BLOCK*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, PORT_BLOCK_SIZE));
    if (m_serverIdMapping)
        m_serverId =
            static_cast<DWORD*>(MapViewOfFile(m_serverIdMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DWORD)));
    if (m_serverId)
        *m_serverId = GetCurrentProcessId();
    return m_mutex && m_commandEvent && m_replyEvent && m_block && m_serverId;
}

void CPortServerLink::Close() noexcept
{
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
}

CPortServerLink::Wake CPortServerLink::WaitForCommand(DWORD milliseconds) const
{
    switch (WaitForSingleObject(m_commandEvent, milliseconds))
    {
    case WAIT_OBJECT_0:
        return Wake::Command;
    case WAIT_TIMEOUT:
        return Wake::Idle;
    default:
        return Wake::Gone;
    }
}

void CPortServerLink::Reply() const
{
    SetEvent(m_replyEvent);
}

BOOL CPortServerLink::DetachClient(const char* prefix, BYTE port, DWORD processId)
{
    // Handles of its own: a detach of the last client closes the worker's handles meanwhile.
    const PortObjectNames names(prefix, port);
    HANDLE mutex = OpenMutex(MUTEX_ALL_ACCESS, FALSE, names.mutex);
    HANDLE commandEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.commandEvent);
    HANDLE replyEvent = OpenEvent(EVENT_ALL_ACCESS, FALSE, names.replyEvent);
    HANDLE mapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, names.map);
    auto* block =
        mapping ? static_cast<PORT_BLOCK*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
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
