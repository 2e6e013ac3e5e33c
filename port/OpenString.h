// The open string of a port ("COM:1,9600,E,8,1" and the other kinds) read into what a port client needs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lanyard
{

struct SerialRequest
{
    unsigned char port;
    unsigned long baud;
    unsigned char bits;
    unsigned char parity; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    unsigned char stop;   // 0 one, 1 one and a half, 2 two
};

struct ModemRequest
{
    SerialRequest line;
    std::string dial;
};

struct CanRequest
{
    unsigned long bitrate;
};

struct CanPCRequest
{
    unsigned long adapter;
    unsigned long first;
    unsigned long second;
    bool usb;
};

struct NetRequest
{
    std::string text;
};

struct TcpIpRequest
{
    std::string text;
};

struct SocketRequest
{
    std::string first;
    std::string second;
};

struct DPRequest
{
    bool debug;
};

struct PCRequest
{
    int number;
};

using PortRequest = std::variant<SerialRequest, ModemRequest, CanRequest, CanPCRequest, NetRequest,
                                 TcpIpRequest, SocketRequest, DPRequest, PCRequest>;

// The open string cut at its first colon; none without a colon.
struct OpenStringParts
{
    std::string kind;
    std::string fields;
};
std::optional<OpenStringParts> SplitOpenString(std::string_view text);

// What the parts ask for; none for an unknown kind (compared with case), a wrong number of pieces,
// or a serial port, parity or stop value out of range.
std::optional<PortRequest> ReadPortRequest(const OpenStringParts& parts);

// The runs of characters between separators; empty runs do not count.
std::vector<std::string> SplitPieces(std::string_view text, char separator);

// The runtime's decimal conversions: leading blanks, a sign, digits up to the first other character;
// its long is 32 bits, so larger values stop at the limits of int.
long ReadDecimal(std::string_view text);
double ReadDecimalFraction(std::string_view text);

} // namespace lanyard
