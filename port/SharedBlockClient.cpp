// Attach, detach and the locked command handshake with the server of a port kind.
#include "SharedBlockClient.h"

#include <kernel/Process.h>
#include <kernel/Time.h>

SharedBlockClient::~SharedBlockClient()
{
    close();
}

void SharedBlockClient::LimitReplyWait(unsigned long first, unsigned long afterSilence)
{
    m_replyWaitLimited = true;
    m_replyWaitFirst = m_replyWait = first;
    m_replyWaitAfterSilence = afterSilence;
}

int SharedBlockClient::OpenServed(const BlockObjectNames& names, std::size_t blockSize,
                                  const ServerStart& server)
{
    if (HasObjects())
        close();
    if (!names.Valid())
        return 0;
    bool existed = false;
    m_open = CreateObjects(names, blockSize, existed) &&
                     (existed ? RestartEndedServer(server) : StartServer(server))
                 ? 1
                 : 0;
    if (m_open)
        Attach();
    return m_open;
}

int SharedBlockClient::OpenKept(const BlockObjectNames& names, std::size_t blockSize)
{
    if (HasObjects())
        close();
    if (!names.Valid())
        return 0;
    m_open = OpenObjects(names, blockSize) ? 1 : 0;
    if (m_open)
        Attach();
    if (!m_open)
        close();
    return m_open;
}

void SharedBlockClient::Attach()
{
    if (!BeginCommand())
    {
        m_open = 0;
        return;
    }
    BlockView(View(), BlockSize()).SetU32(block::ProcessId, GetCurrentProcessId());
    if (!ExeCmd(block::CMD_ATTACH))
        m_open = 0;
    EndCommand();
}

void SharedBlockClient::Detach()
{
    if (!View() || !BeginCommand())
        return;
    BlockView(View(), BlockSize()).SetU32(block::ProcessId, GetCurrentProcessId());
    ExeCmd(block::CMD_DETACH);
    ReleasePort();
    Sleep(m_detachPause);
}

void SharedBlockClient::close()
{
    if (m_open)
        Detach();
    CloseObjects();
    m_replyWait = m_replyWaitFirst;
}

int SharedBlockClient::Transact(std::uint8_t command, const BlockAccess& fill, const BlockAccess& read)
{
    if (!m_open || !BeginCommand())
        return 0;
    const BlockView block(View(), BlockSize());
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

bool SharedBlockClient::ExeCmd(std::uint8_t command)
{
    const BlockView block(View(), BlockSize());
    block.SetU8(block::Result, 0); // a command that writes no result must not read as the last success
    if (m_replyWaitLimited)
        ForgetLateReply(); // a reply that came too late must not answer this command
    block.SetU8(block::Command, command);
    SignalCommand();
    return WaitForReply();
}

bool SharedBlockClient::WaitForReply()
{
    if (m_replyWaitLimited)
    {
        const bool came = ReplyCameWithin(m_replyWait);
        m_replyWait = came ? m_replyWaitFirst : m_replyWaitAfterSilence;
        return came;
    }
    if (BlockClientBase::WaitForReply(INFINITE) == Reply::Came)
        return true;
    m_open = 0;
    return false;
}

void SharedBlockClient::reset()
{
    Transact(block::CMD_RESET);
}
