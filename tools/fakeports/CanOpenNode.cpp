// The SDO server side: expedited and segmented download and upload, with abort codes.
#include "CanOpenNode.h"

#include <port/PortKindBlocks.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace fakeports
{

namespace
{
constexpr std::uint32_t kRequestBase = 0x600;
constexpr std::uint32_t kResponseBase = 0x580;
constexpr std::uint32_t kToggleNotAlternated = 0x05030000;
constexpr std::uint32_t kCommandNotValid = 0x05040001;
constexpr std::uint32_t kNotInDictionary = 0x06020000;
constexpr std::uint32_t kLengthMismatch = 0x06070010;

std::uint32_t U32At(const CanMessage& message, std::size_t at)
{
    std::uint32_t value;
    std::memcpy(&value, &message.data[at], sizeof value);
    return value;
}
} // namespace

CanOpenNode::CanOpenNode(std::uint8_t node) : m_node(node)
{
    m_dictionary[{0x1000, 0}] = {0x92, 0x01, 0x02, 0x00};
    constexpr std::string_view name = "TK40 fake CANopen drive";
    m_dictionary[{0x1008, 0}] = std::vector<std::uint8_t>(name.begin(), name.end());
}

std::vector<CanMessage> CanOpenNode::Answer(const CanMessage& sent)
{
    if (sent.id != kRequestBase + m_node)
        return {};
    if (sent.length != 8)
        return {Abort({}, kCommandNotValid)};
    if (auto reply = Respond(sent))
        return {*reply};
    return {};
}

std::optional<CanMessage> CanOpenNode::Respond(const CanMessage& request)
{
    const std::uint8_t command = request.data[0];
    const Entry entry{static_cast<std::uint16_t>(request.data[1] | (request.data[2] << 8)), request.data[3]};
    switch (command >> 5)
    {
    case 0:
        return DownloadSegment(request);
    case 1:
        return InitiateDownload(request, entry);
    case 2:
        return InitiateUpload(entry);
    case 3:
        return UploadSegment(request);
    case 4: // the client aborts
        m_transfer = {};
        return std::nullopt;
    default:
        return Abort(entry, kCommandNotValid);
    }
}

CanMessage CanOpenNode::InitiateDownload(const CanMessage& request, Entry entry)
{
    const std::uint8_t command = request.data[0];
    const bool expedited = command & 0x02;
    const bool sized = command & 0x01;
    m_transfer = {};
    if (expedited)
    {
        const std::size_t size = sized ? 4 - ((command >> 2) & 0x03) : 4;
        const std::uint32_t abort =
            Store(entry, {request.data.begin() + 4, request.data.begin() + 4 + static_cast<long>(size)});
        return abort ? Abort(entry, abort) : Reply(0x60, entry);
    }
    m_transfer.active = true;
    m_transfer.download = true;
    m_transfer.entry = entry;
    m_transfer.announced = sized ? U32At(request, 4) : 0;
    return Reply(0x60, entry);
}

CanMessage CanOpenNode::DownloadSegment(const CanMessage& request)
{
    const std::uint8_t command = request.data[0];
    const std::uint8_t toggle = (command >> 4) & 1;
    if (!m_transfer.active || !m_transfer.download)
        return Abort({}, kCommandNotValid);
    if (toggle != m_transfer.toggle)
        return Abort(m_transfer.entry, kToggleNotAlternated);
    const std::size_t count = 7 - ((command >> 1) & 0x07);
    m_transfer.bytes.insert(m_transfer.bytes.end(), request.data.begin() + 1,
                            request.data.begin() + 1 + static_cast<long>(count));
    CanMessage reply = Reply(static_cast<std::uint8_t>(0x20 | (toggle << 4)), {});
    reply.data[1] = reply.data[2] = reply.data[3] = 0;
    m_transfer.toggle ^= 1;
    if (command & 0x01)
    {
        const Entry entry = m_transfer.entry;
        const bool complete = m_transfer.announced == 0 || m_transfer.bytes.size() == m_transfer.announced;
        if (!complete)
            return Abort(entry, kLengthMismatch);
        const std::uint32_t abort = Store(entry, m_transfer.bytes);
        if (abort)
            return Abort(entry, abort);
        m_transfer = {};
    }
    return reply;
}

CanMessage CanOpenNode::InitiateUpload(Entry entry)
{
    m_transfer = {};
    std::vector<std::uint8_t> value;
    if (const std::uint32_t abort = Load(entry, value))
        return Abort(entry, abort);
    if (value.size() <= 4)
    {
        CanMessage reply = Reply(static_cast<std::uint8_t>(0x43 | ((4 - value.size()) << 2)), entry);
        std::copy(value.begin(), value.end(), reply.data.begin() + 4);
        return reply;
    }
    m_transfer.active = true;
    m_transfer.entry = entry;
    m_transfer.bytes = value;
    CanMessage reply = Reply(0x41, entry);
    const auto size = static_cast<std::uint32_t>(value.size());
    std::memcpy(&reply.data[4], &size, sizeof size);
    return reply;
}

CanMessage CanOpenNode::UploadSegment(const CanMessage& request)
{
    const std::uint8_t toggle = (request.data[0] >> 4) & 1;
    if (!m_transfer.active || m_transfer.download)
        return Abort({}, kCommandNotValid);
    if (toggle != m_transfer.toggle)
        return Abort(m_transfer.entry, kToggleNotAlternated);
    const std::size_t left = m_transfer.bytes.size() - m_transfer.position;
    const std::size_t count = std::min<std::size_t>(left, 7);
    const bool last = count == left;
    CanMessage reply;
    reply.id = kResponseBase + m_node;
    reply.length = 8;
    reply.data[0] = static_cast<std::uint8_t>((toggle << 4) | ((7 - count) << 1) | (last ? 1 : 0));
    std::copy_n(m_transfer.bytes.begin() + static_cast<long>(m_transfer.position), count,
                reply.data.begin() + 1);
    m_transfer.position += count;
    m_transfer.toggle ^= 1;
    if (last)
        m_transfer = {};
    return reply;
}

std::uint32_t CanOpenNode::Load(Entry entry, std::vector<std::uint8_t>& bytes)
{
    if (DriveObjects::Holds(entry.first))
        return m_drive.Read(entry.first, entry.second, bytes);
    const auto found = m_dictionary.find(entry);
    if (found == m_dictionary.end())
        return kNotInDictionary;
    bytes = found->second;
    return 0;
}

std::uint32_t CanOpenNode::Store(Entry entry, const std::vector<std::uint8_t>& bytes)
{
    if (DriveObjects::Holds(entry.first))
        return m_drive.Write(entry.first, entry.second, bytes);
    m_dictionary[entry] = bytes;
    return 0;
}

CanMessage CanOpenNode::Reply(std::uint8_t command, Entry entry) const
{
    CanMessage reply;
    reply.id = kResponseBase + m_node;
    reply.length = 8;
    reply.data[0] = command;
    reply.data[1] = static_cast<std::uint8_t>(entry.first & 0xFF);
    reply.data[2] = static_cast<std::uint8_t>(entry.first >> 8);
    reply.data[3] = entry.second;
    return reply;
}

CanMessage CanOpenNode::Abort(Entry entry, std::uint32_t code)
{
    m_transfer = {};
    CanMessage reply = Reply(0x80, entry);
    std::memcpy(&reply.data[4], &code, sizeof code);
    return reply;
}

} // namespace fakeports
