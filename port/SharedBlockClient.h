// The part the port kinds of outside servers share: their named objects, attach and detach, the
// locked command handshake, and noticing a server that has gone.
#pragma once

#include "ComPort.h"
#include "PortKindBlocks.h"

#include <kernel/Handle.h>

#include <functional>
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

// How the server of a kind is started: its command line and whether the start-up information
// names an empty desktop.
struct ServerStart
{
    std::string commandLine;
    bool emptyDesktop;
};

class SharedBlockClient : public ComPort
{
public:
    ~SharedBlockClient() override;
    SharedBlockClient(const SharedBlockClient&) = delete;
    SharedBlockClient& operator=(const SharedBlockClient&) = delete;

    void reset() override;
    int com_ok() override { return m_open; }
    int lock(unsigned long ms) override;
    void unlock() override;

    // Detaches when open, releases the port also when locked, and closes every handle.
    void close();

protected:
    SharedBlockClient() = default;

    // Creates the objects when first and starts the server, else opens them; then attaches.
    int OpenServed(const BlockObjectNames& names, std::size_t blockSize, const ServerStart& server);
    // Opens the objects another program keeps; fails when the block was not there already.
    int OpenKept(const BlockObjectNames& names, std::size_t blockSize);

    // Sends one command: takes the port unless locked, lets fill write the fields, waits for the
    // reply, lets read look at the answer, releases the port. The result byte, 0 when not open.
    using BlockAccess = std::function<void(const BlockView&)>;
    int Transact(std::uint8_t command, const BlockAccess& fill = {}, const BlockAccess& read = {});

    // Sends the detach command even when a line command has left the client closed.
    void Detach();
    // A refused line command leaves the client attached but not open.
    void MarkClosed() { m_open = 0; }
    // Every command carries this process's id (the CAN kinds).
    void StampEveryCommand() { m_stampEveryCommand = true; }
    void SetDetachPause(unsigned long milliseconds) { m_detachPause = milliseconds; }
    // Replies are awaited at most this long; after one that did not come, at most the second time.
    void LimitReplyWait(unsigned long first, unsigned long afterSilence);
    bool Locked() const { return m_locked != 0; }

private:
    bool CreateObjects(const BlockObjectNames& names, std::size_t blockSize, bool& existed);
    bool StartServer(const ServerStart& server);
    void Attach();
    bool BeginCommand();
    void EndCommand();
    // False when no reply came: the server has gone, or a limited wait passed.
    bool ExeCmd(std::uint8_t command);
    bool WaitForReply();
    bool KnowServer();
    void Init() noexcept;

    int m_open = 0;
    int m_locked = 0;
    HANDLE m_mapping = nullptr;
    HANDLE m_commandEvent = nullptr;
    HANDLE m_replyEvent = nullptr;
    HANDLE m_mutex = nullptr;
    HANDLE m_serverProcess = nullptr;
    HANDLE m_serverIdMapping = nullptr;
    void* m_view = nullptr;
    std::size_t m_blockSize = 0;
    std::uint32_t* m_serverId = nullptr;

    bool m_stampEveryCommand = false;
    unsigned long m_detachPause = 100;
    bool m_replyWaitLimited = false;
    unsigned long m_replyWaitFirst = 0;
    unsigned long m_replyWaitAfterSilence = 0;
    unsigned long m_replyWait = 0;
};
