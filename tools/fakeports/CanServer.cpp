// Commands of the CAN kinds, each noted in the journal.
#include "CanServer.h"

#include "Journal.h"

#include <kernel/Time.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace fakeports
{

namespace
{
constexpr std::uint16_t kAtOnce = 0xFFFF;

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

std::string Describe(const CanMessage& message)
{
    std::string text = Hex(message.id) + " " + std::to_string(message.length);
    for (std::size_t i = 0; i < message.length && i < message.data.size(); ++i)
    {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", message.data[i]);
        text += byte;
    }
    return text;
}

// Nothing else fills the bus while a receive waits, so waiting is only the time the caller gave.
void WaitInVain(std::uint16_t timeout)
{
    if (timeout != kAtOnce)
        Sleep(timeout);
}
} // namespace

CanServer::CanServer(std::unique_ptr<CanPeer> peer, bool adapterCommands)
    : m_peer(std::move(peer)), m_adapterCommands(adapterCommands), m_start(GetTickCount())
{
}

void CanServer::Serve(std::uint8_t command, const BlockView& block)
{
    std::uint8_t result = 0;
    switch (command)
    {
    case CAN_CMD_SETLINE:
        JournalLine("setline " + std::to_string(block.U32(can_block::Value)) + " " +
                    std::to_string(block.U32(can_block::Id)));
        result = 1;
        break;
    case CAN_CMD_RECV:
        result = Receive(block, static_cast<std::uint16_t>(block.U32(can_block::ReceiveTimeout)));
        break;
    case CAN_CMD_SEND:
        result = Send(block);
        break;
    case CAN_CMD_RESET:
        m_bus.clear();
        m_stream.clear();
        JournalLine("reset");
        result = 1;
        break;
    case CAN_CMD_FILTER:
        result = ChangeFilter(block);
        break;
    case CAN_CMD_REQUEST:
        result = Request(block);
        break;
    case CAN_CMD_EVENT:
        result = m_adapterCommands ? 0 : Receive(block, kAtOnce);
        break;
    case CAN_CMD_PROPERTY:
        result = m_adapterCommands ? Property(block) : 0;
        break;
    case CAN_CMD_COMMAND:
        JournalLine("command " + std::to_string(block.U32(can_block::Value)));
        result = m_adapterCommands ? 1 : 0;
        break;
    case CAN_CMD_STREAM_WRITE:
        result = m_adapterCommands ? StreamWrite(block) : 0;
        break;
    case CAN_CMD_STREAM_READ:
        result = m_adapterCommands ? StreamRead(block) : 0;
        break;
    default:
        JournalLine("unknown " + std::to_string(command));
        break;
    }
    block.SetU8(block::Result, result);
}

std::uint8_t CanServer::Send(const BlockView& block)
{
    CanMessage message;
    message.id = block.U32(can_block::Id);
    message.length = block.U8(can_block::Length);
    if (message.length > message.data.size())
    {
        JournalLine("send refused " + std::to_string(message.length));
        return 0;
    }
    std::copy_n(block.Bytes(can_block::Data), message.length, message.data.begin());
    JournalLine("send " + Describe(message));
    Queue(m_peer->Answer(message));
    return 1;
}

std::uint8_t CanServer::Receive(const BlockView& block, std::uint16_t timeout)
{
    const std::uint32_t client = Client(block);
    const auto found =
        std::find_if(m_bus.begin(), m_bus.end(), [&](const CanMessage& m) { return Passes(client, m.id); });
    if (found == m_bus.end())
    {
        WaitInVain(timeout);
        return 0;
    }
    // What came before and no filter of this client lets pass is dropped, as an adapter does.
    const CanMessage message = *found;
    m_bus.erase(m_bus.begin(), found + 1);
    block.SetU32(can_block::Value, GetTickCount() - m_start);
    block.SetU32(can_block::Id, message.id);
    block.SetU8(can_block::Length, message.length);
    std::copy_n(message.data.begin(), message.length, block.Bytes(can_block::Data));
    return 1;
}

std::uint8_t CanServer::ChangeFilter(const BlockView& block)
{
    const Filter filter{block.U32(can_block::Value), block.U32(can_block::Id)};
    const bool remove = block.U32(can_block::Length) == 1;
    JournalLine(std::string(remove ? "filter remove " : "filter add ") + Hex(filter.mask) + " " +
                Hex(filter.value));
    auto& filters = m_filters[Client(block)];
    if (!remove)
    {
        filters.push_back(filter);
        return 1;
    }
    const auto found = std::find(filters.begin(), filters.end(), filter);
    if (found == filters.end())
        return 0;
    filters.erase(found);
    return 1;
}

// A remote request: the peer's answer is a message of that identifier with len zero bytes.
std::uint8_t CanServer::Request(const BlockView& block)
{
    CanMessage answer;
    answer.id = block.U32(can_block::Id);
    answer.length = std::min<std::uint8_t>(block.U8(can_block::Length), 8);
    JournalLine("request " + Hex(answer.id) + " " + std::to_string(answer.length));
    m_bus.push_back(answer);
    return 1;
}

std::uint8_t CanServer::Property(const BlockView& block)
{
    const std::uint16_t code = block.U16(can_block::Value);
    if (block.U8(can_block::PropertyDirection) == 1)
    {
        m_properties[code] = block.U32(can_block::Id);
        JournalLine("property set " + std::to_string(code) + " " + std::to_string(block.U32(can_block::Id)));
        return 1;
    }
    JournalLine("property get " + std::to_string(code));
    const auto found = m_properties.find(code);
    block.SetU32(can_block::Id, found == m_properties.end() ? 0 : found->second);
    return 1;
}

std::uint8_t CanServer::StreamWrite(const BlockView& block)
{
    const std::uint32_t count = block.U32(can_block::Value);
    JournalLine("stream write " + std::to_string(count));
    if (count > can_block::StreamCapacity)
        return 0;
    const std::uint8_t* bytes = block.Bytes(can_block::StreamData);
    m_stream.insert(m_stream.end(), bytes, bytes + count);
    return 1;
}

std::uint8_t CanServer::StreamRead(const BlockView& block)
{
    if (m_stream.empty())
    {
        WaitInVain(block.U16(can_block::Length));
        return 0;
    }
    block.SetU8(can_block::StreamData, m_stream.front());
    m_stream.pop_front();
    return 1;
}

bool CanServer::Passes(std::uint32_t client, std::uint32_t id) const
{
    const auto found = m_filters.find(client);
    if (found == m_filters.end() || found->second.empty())
        return true;
    return std::any_of(found->second.begin(), found->second.end(),
                       [id](const Filter& f) { return (id & f.mask) == (f.value & f.mask); });
}

void CanServer::Queue(std::vector<CanMessage> messages)
{
    m_bus.insert(m_bus.end(), messages.begin(), messages.end());
}

} // namespace fakeports
