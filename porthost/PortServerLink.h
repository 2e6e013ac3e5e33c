// A port server's side of the handshake: the port's named objects, its block and the wait for commands.
#pragma once

#include "PortBlock.h"

#include <kernel/Handle.h>

class CPortServerLink
{
public:
    enum class Wake
    {
        Command,
        Idle,
        Gone, // the command event cannot be waited on: no client can reach the server any more
    };

    CPortServerLink() = default;
    ~CPortServerLink() { Close(); }
    CPortServerLink(const CPortServerLink&) = delete;
    CPortServerLink& operator=(const CPortServerLink&) = delete;

    // Opens the objects the first client created and leaves this process's identifier for the
    // clients; true when all were obtained.
    bool Open(const char* prefix, BYTE port);
    void Close() noexcept;

    Wake WaitForCommand(DWORD milliseconds) const;
    void Reply() const;
    PORT_BLOCK& Block() const noexcept { return *m_block; }

    // Sends a detach for the process through the block from inside the server, as a client does.
    static BOOL DetachClient(const char* prefix, BYTE port, DWORD processId);

private:
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mapping = nullptr;
    HANDLE m_mutex = nullptr;
    HANDLE m_serverIdMapping = nullptr;
    PORT_BLOCK* m_block = nullptr;
    DWORD* m_serverId = nullptr;
};
