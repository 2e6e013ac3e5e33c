// The part the port kinds of outside servers share: their named objects, attach and detach, the
// locked command handshake, and noticing a server that has gone.
#pragma once

#include "BlockClientBase.h"
#include "PortKindBlocks.h"

#include <functional>

class SharedBlockClient : public BlockClientBase
{
public:
    ~SharedBlockClient() override;

    void reset() override;

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
    void Attach();
    // False when no reply came: the server has gone, or a limited wait passed.
    bool ExeCmd(std::uint8_t command);
    bool WaitForReply();

    bool m_stampEveryCommand = false;
    unsigned long m_detachPause = 100;
    bool m_replyWaitLimited = false;
    unsigned long m_replyWaitFirst = 0;
    unsigned long m_replyWaitAfterSilence = 0;
    unsigned long m_replyWait = 0;
};
