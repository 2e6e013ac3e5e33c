// The shared blocks, commands and object names of the port kinds served by outside servers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the blocks hold little-endian integers");

// Bytes of a shared block read and written by offset; the blocks overlay fields per command.
class BlockView
{
public:
    BlockView(void* base, std::size_t size) : m_base(static_cast<std::uint8_t*>(base)), m_size(size) {}

    std::uint8_t* Bytes(std::size_t offset) const { return m_base + offset; }
    std::size_t Size() const { return m_size; }
    std::uint8_t U8(std::size_t offset) const { return m_base[offset]; }
    void SetU8(std::size_t offset, std::uint8_t value) const { m_base[offset] = value; }
    std::uint16_t U16(std::size_t offset) const { return Read<std::uint16_t>(offset); }
    void SetU16(std::size_t offset, std::uint16_t value) const { Write(offset, value); }
    std::uint32_t U32(std::size_t offset) const { return Read<std::uint32_t>(offset); }
    void SetU32(std::size_t offset, std::uint32_t value) const { Write(offset, value); }

private:
    template <class T> T Read(std::size_t offset) const
    {
        T value;
        std::memcpy(&value, m_base + offset, sizeof value);
        return value;
    }
    template <class T> void Write(std::size_t offset, T value) const
    {
        std::memcpy(m_base + offset, &value, sizeof value);
    }

    std::uint8_t* m_base;
    std::size_t m_size;
};

// Every block starts with the command and its result; attach and detach carry the process id at 4.
namespace block
{
constexpr std::size_t Command = 0;
constexpr std::size_t Result = 1;
constexpr std::size_t ProcessId = 4;
constexpr std::uint8_t CMD_RESET = 3;
constexpr std::uint8_t CMD_DETACH = 4;
constexpr std::uint8_t CMD_ATTACH = 5;
} // namespace block

// CAN_PORT_BLOCK: 44 bytes; the PC-CAN and USB-CAN blocks (1044 bytes) start with the same layout.
namespace can_block
{
constexpr std::size_t Size = 44;
constexpr std::size_t PCSize = 1044;
constexpr std::size_t Value = 8; // bit rate, filter mask, time stamp, property code, command, count
constexpr std::size_t PropertyDirection = 10; // PC-CAN property: 1 set, 0 get
constexpr std::size_t Id = 12;                // identifier, filter value, second line value, property value
constexpr std::size_t Length = 16; // message length; filter remove flag (32 bits); stream time-out (16 bits)
constexpr std::size_t Data = 17;
constexpr std::size_t DataCapacity = 8;
constexpr std::size_t StreamData = 18;
constexpr std::size_t StreamCapacity = PCSize - StreamData;
constexpr std::size_t ReceiveTimeout = 28;
} // namespace can_block

constexpr std::uint8_t CAN_CMD_SETLINE = 0;
constexpr std::uint8_t CAN_CMD_RECV = 1;
constexpr std::uint8_t CAN_CMD_SEND = 2;
constexpr std::uint8_t CAN_CMD_RESET = 3;
constexpr std::uint8_t CAN_CMD_FILTER = 6;
constexpr std::uint8_t CAN_CMD_REQUEST = 7;
constexpr std::uint8_t CAN_CMD_EVENT = 8;
constexpr std::uint8_t CAN_CMD_PROPERTY = 9;
constexpr std::uint8_t CAN_CMD_COMMAND = 10;
constexpr std::uint8_t CAN_CMD_STREAM_WRITE = 11;
constexpr std::uint8_t CAN_CMD_STREAM_READ = 12;

// The byte stream of a PC-CAN adapter outside stream mode travels in messages of these identifiers.
constexpr std::uint32_t CAN_STREAM_OUT_ID = 0x7F0;
constexpr std::uint32_t CAN_STREAM_IN_ID = 0x7F1;

// The DP, NET and TCPIP blocks (1040 bytes) and the SOCK block (4112 bytes).
namespace stream_block
{
constexpr std::size_t Count = 4; // byte count, or the process id
constexpr std::size_t Transferred = 8;
constexpr std::size_t ReadTimeout = 12;
constexpr std::size_t Data = 14;
constexpr std::size_t DataCapacity = 1024;
constexpr std::size_t Size = 1040;
constexpr std::size_t SocketDataCapacity = 4096;
constexpr std::size_t SocketSize = 4112;
// Set-line fields of the DP kind, and where the NET and SOCK kinds put their line text.
constexpr std::size_t Bits = 8;
constexpr std::size_t Parity = 9;
constexpr std::size_t Stop = 10;
constexpr std::size_t NetLineText = 4;
constexpr std::size_t SocketLineText = 516;
// A line text runs at most to the end of the data area, its terminating zero included.
constexpr std::size_t NetLineCapacity = Data + DataCapacity - NetLineText;
constexpr std::size_t SocketLineCapacity = Data + SocketDataCapacity - SocketLineText;
} // namespace stream_block

constexpr std::uint8_t STREAM_CMD_SETLINE = 0;
constexpr std::uint8_t STREAM_CMD_READ = 1;
constexpr std::uint8_t STREAM_CMD_WRITE = 2;
constexpr std::uint8_t STREAM_CMD_RESET = 3;
constexpr std::uint8_t STREAM_CMD_FLUSH = 6;
constexpr std::uint8_t STREAM_CMD_PROPERTY_DP = 7;
constexpr std::uint8_t STREAM_CMD_LOCK_NOTICE = 7;
constexpr std::uint8_t STREAM_CMD_UNLOCK_NOTICE = 8;
constexpr std::uint8_t STREAM_CMD_PROPERTY_SOCKET = 9;

// The PC block (516 bytes): after command and result, the process id or up to 512 data bytes at 4.
namespace pc_block
{
constexpr std::size_t Data = 4;
constexpr std::size_t DataCapacity = 512;
constexpr std::size_t Size = 516;
} // namespace pc_block

constexpr std::uint8_t PC_CMD_READ = 1;
constexpr std::uint8_t PC_CMD_WRITE = 2;
constexpr std::uint8_t PC_CMD_RESET = 3;
constexpr std::uint8_t PC_CMD_FLUSH = 6;
