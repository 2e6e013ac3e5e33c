// What every client of a port server does through the shared block, whatever the block's layout:
// the block's named objects, starting the server, taking the port for a command or a lock, waiting
// for the reply or the server's end, and closing.
#pragma once

#include "ComPort.h"

#include <kernel/Handle.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Names of one port's objects: "<prefix>MAP<suffix>" and kin, and "<prefix>PID<suffix>", where the
// client that starts the server leaves its process id for the clients after it.
struct BlockObjectNames
{
    BlockObjectNames(const std::string& prefix, const std::string& suffix);
    // The platform's object names hold at most MAX_PATH - 1 characters.
    bool Valid() const;

    std::string map;
    std::string commandEvent;
    std::string replyEvent;
    std::string mutex;
    std::string serverId;
};

// How a server is started: its command line and whether the start-up information names an empty
// desktop.
struct ServerStart
{
    std::string commandLine;
    bool emptyDesktop;
};

class BlockClientBase : public ComPort
{
public:
    ~BlockClientBase() override;
    BlockClientBase(const BlockClientBase&) = delete;
    BlockClientBase& operator=(const BlockClientBase&) = delete;

    int com_ok() override { return m_open; }
    int lock(unsigned long ms) override;
    void unlock() override;

protected:
    enum class Reply
    {
        Came,
        TimedOut,
        ServerGone,
    };

    BlockClientBase() = default;

    // Creates the objects, or opens them when another client made them first (existed).
    bool CreateObjects(const BlockObjectNames& names, std::size_t blockSize, bool& existed);
    // Opens the objects another program keeps; false unless the block was there already.
    bool OpenObjects(const BlockObjectNames& names, std::size_t blockSize);
    bool StartServer(const ServerStart& server);
    // For a block that existed: starts a new server when the one its id names has ended (killed
    // while other clients stayed attached), one client at a time.
    bool RestartEndedServer(const ServerStart& server);
    // Releases a lock still held, then unmaps and closes everything.
    void CloseObjects();

    // Takes the port for one command unless this client holds it through lock.
    bool BeginCommand();
    void EndCommand();
    // Lets go of the port after the detach command, also when it was held through lock.
    void ReleasePort();
    // Called when the port was taken over from a client that died holding it.
    virtual void OnPortAbandoned() {}

    void SignalCommand();
    // The reply, or the server's end (watched once its process is known), within milliseconds.
    Reply WaitForReply(unsigned long milliseconds);
    // The reply alone, without watching the server.
    bool ReplyCameWithin(unsigned long milliseconds);
    // Drops a reply that came too late for the command before.
    void ForgetLateReply();
    // A command already waiting for the server.
    bool CommandPending();
    // Without the server's id after this long, a block has no server (INFINITE: wait for it).
    void GiveUpOnUnknownServerAfter(unsigned long milliseconds) { m_unknownServerPatience = milliseconds; }

    void* View() const noexcept { return m_view; }
    std::size_t BlockSize() const noexcept { return m_blockSize; }
    bool HasObjects() const noexcept { return m_mapping != nullptr; }
    bool ServerIdKnown() const noexcept { return m_serverId != nullptr; }

    int m_open = 0;
    int m_locked = 0;

private:
    bool KnowServer();
    bool ServerEnded();

    HANDLE m_mapping = nullptr;
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mutex = nullptr;
    HANDLE m_serverProcess = nullptr;
    HANDLE m_serverIdMapping = nullptr;
    void* m_view = nullptr;
    std::size_t m_blockSize = 0;
    std::uint32_t* m_serverId = nullptr;
    unsigned long m_unknownServerPatience = INFINITE;
};
