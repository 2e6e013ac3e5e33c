// The block a port server shares with its clients, its commands and the names of a port's objects.
#pragma once

#include <framework/CString.h>
#include <framework/WinTypes.h>

#include <cstddef>

constexpr DWORD PORT_BLOCK_SIZE = 1040;
constexpr DWORD PORT_DATA_SIZE = 1024;

enum PORT_CMD : BYTE
{
    PORT_CMD_SETLINE = 0,
    PORT_CMD_READ = 1,
    PORT_CMD_WRITE = 2,
    PORT_CMD_PURGE = 3,
    PORT_CMD_DETACH = 4,
    PORT_CMD_ATTACH = 5,
    PORT_CMD_PROPERTY = 6,
};

// Property code of PORT_CMD_PROPERTY that sends a break.
constexpr SHORT PORT_PROPERTY_BREAK = 0x1000;

// Read time-outs with a meaning of their own: return at once with what has come; and the value
// a line setting leaves cached, so that the next read sets its own time-outs.
constexpr WORD PORT_TIMEOUT_IMMEDIATE = 0xFFFF;
constexpr WORD PORT_TIMEOUT_UNSET = 0xFFFE;

// The modem dial number starts at offset 11 and runs over the time-out and data fields.
constexpr std::size_t PORT_DIAL_OFFSET = 11;
constexpr std::size_t PORT_DIAL_SIZE = 128; // 127 characters and the terminating zero

#pragma pack(push, 1)
struct PORT_BLOCK
{
    BYTE command;
    BYTE result; // 1 success, 0 failure
    BYTE reserved0[2];
    union
    {
        DWORD argument; // baud rate, byte count or process identifier
        SHORT property; // PORT_CMD_PROPERTY
    };
    union
    {
        DWORD transferred; // bytes read or written
        struct
        {
            BYTE dataBits;
            BYTE parity;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
            BYTE stopBits; // 0 one, 1 one and a half, 2 two
            BYTE reserved1;
        } line;
    };
    WORD readTimeout; // milliseconds; 0 none, PORT_TIMEOUT_IMMEDIATE at once
    BYTE data[PORT_DATA_SIZE];
    BYTE reserved2[2];
};
#pragma pack(pop)

static_assert(sizeof(PORT_BLOCK) == PORT_BLOCK_SIZE);
static_assert(offsetof(PORT_BLOCK, argument) == 4 && offsetof(PORT_BLOCK, transferred) == 8);
static_assert(offsetof(PORT_BLOCK, readTimeout) == 12 && offsetof(PORT_BLOCK, data) == 14);
static_assert(PORT_DIAL_OFFSET + PORT_DIAL_SIZE <= PORT_BLOCK_SIZE);

// The modem dial number of a line command, read within its field whatever the block holds.
inline CString ReadDialNumber(const PORT_BLOCK& block)
{
    const char* field = reinterpret_cast<const char*>(&block) + PORT_DIAL_OFFSET;
    std::size_t length = 0;
    while (length < PORT_DIAL_SIZE - 1 && field[length] != '\0')
        ++length;
    return CString(field, static_cast<int>(length));
}

// Writes the dial number into its field, cut to 127 characters and always terminated.
inline void WriteDialNumber(PORT_BLOCK& block, const char* number)
{
    CopyTextCut(reinterpret_cast<char*>(&block) + PORT_DIAL_OFFSET, PORT_DIAL_SIZE, number ? number : "");
}

// Names of the kernel objects of one port: the block, the command and reply events, the port
// mutex, and a small mapping holding the server's process identifier, so that every client can
// tell when the server has gone.
struct PortObjectNames
{
    PortObjectNames(const char* prefix, BYTE port)
        : map(FormatString("%sMAP%d", prefix, port)), commandEvent(FormatString("%sEVEC%d", prefix, port)),
          replyEvent(FormatString("%sEVER%d", prefix, port)), mutex(FormatString("%sMTX%d", prefix, port)),
          serverId(FormatString("%sPID%d", prefix, port))
    {
    }

    CString map;
    CString commandEvent;
    CString replyEvent;
    CString mutex;
    CString serverId;
};

constexpr const char* SERIAL_PORT_PREFIX = "COM.";
constexpr const char* MODEM_PORT_PREFIX = "MODEM.";
