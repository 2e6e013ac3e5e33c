// Commands of the stream kinds, each noted in the journal.
#include "StreamServer.h"

#include "Journal.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace fakeports
{

namespace
{
// A line text starting with this is refused, so a client's refused open can be tested.
constexpr const char* kRefusedLine = "refuse";
} // namespace

void StreamServer::Serve(std::uint8_t command, const BlockView& block)
{
    std::uint8_t result = 1;
    switch (command)
    {
    case STREAM_CMD_SETLINE:
        SetLine(block);
        return;
    case STREAM_CMD_READ:
        Read(block);
        return;
    case STREAM_CMD_WRITE:
        Write(block);
        return;
    case STREAM_CMD_RESET:
        m_echo.clear();
        JournalLine("reset");
        break;
    case STREAM_CMD_FLUSH:
        JournalLine("flush");
        break;
    case STREAM_CMD_LOCK_NOTICE: // the DP kind's property command
        if (m_kind == StreamKind::DP)
            JournalLine("property " + std::to_string(block.U16(stream_block::Count)) + " " +
                        std::to_string(block.U8(stream_block::Transferred)));
        else
            JournalLine("lock");
        break;
    case STREAM_CMD_UNLOCK_NOTICE:
        JournalLine("unlock");
        break;
    case STREAM_CMD_PROPERTY_SOCKET:
        JournalLine("property " + std::to_string(block.U16(stream_block::Count)) + " " +
                    std::to_string(block.U8(stream_block::Transferred)));
        break;
    default:
        JournalLine("unknown " + std::to_string(command));
        result = 0;
        break;
    }
    block.SetU8(block::Result, result);
}

void StreamServer::SetLine(const BlockView& block)
{
    if (m_kind == StreamKind::Net || m_kind == StreamKind::Socket)
    {
        const std::size_t offset =
            m_kind == StreamKind::Net ? stream_block::NetLineText : stream_block::SocketLineText;
        const std::size_t room = Capacity() + stream_block::Data - offset;
        const char* text = reinterpret_cast<const char*>(block.Bytes(offset));
        const std::string line(text, strnlen(text, room));
        JournalLine("setline " + line);
        block.SetU8(block::Result, line.rfind(kRefusedLine, 0) == 0 ? 0 : 1);
        return;
    }
    JournalLine("setline " + std::to_string(block.U32(stream_block::Count)) + " " +
                std::to_string(block.U8(stream_block::Bits)) + " " +
                std::to_string(block.U8(stream_block::Parity)) + " " +
                std::to_string(block.U8(stream_block::Stop)));
    block.SetU8(block::Result, 1);
}

void StreamServer::Read(const BlockView& block)
{
    const std::uint32_t count = block.U32(stream_block::Count);
    JournalLine("read " + std::to_string(count));
    if (count > Capacity())
    {
        block.SetU8(block::Result, 0);
        return;
    }
    const std::size_t taken = std::min<std::size_t>(count, m_echo.size());
    std::copy_n(m_echo.begin(), taken, block.Bytes(stream_block::Data));
    m_echo.erase(m_echo.begin(), m_echo.begin() + static_cast<std::ptrdiff_t>(taken));
    block.SetU32(stream_block::Transferred, static_cast<std::uint32_t>(taken));
    block.SetU8(block::Result, 1);
}

void StreamServer::Write(const BlockView& block)
{
    const std::uint32_t count = block.U32(stream_block::Count);
    JournalLine("write " + std::to_string(count));
    if (count > Capacity())
    {
        block.SetU8(block::Result, 0);
        return;
    }
    const std::uint8_t* data = block.Bytes(stream_block::Data);
    m_echo.insert(m_echo.end(), data, data + count);
    block.SetU32(stream_block::Transferred, count);
    block.SetU8(block::Result, 1);
}

std::size_t StreamServer::Capacity() const
{
    return m_kind == StreamKind::Socket ? stream_block::SocketDataCapacity : stream_block::DataCapacity;
}

} // namespace fakeports
