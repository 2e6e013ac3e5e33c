// Reading open strings by the rules every caller of the port objects relies on.
#include "OpenString.h"

#include <framework/LeadingNumber.h>

namespace lanyard
{

namespace
{

// N, O, E, M, S (upper case only) give 0 to 4.
std::optional<unsigned char> ParityCode(const std::string& piece)
{
    constexpr std::string_view letters = "NOEMS";
    const size_t code = letters.find(piece.front());
    if (code == std::string_view::npos)
        return std::nullopt;
    return static_cast<unsigned char>(code);
}

// 1, 1.5 and 2 give 0, 1 and 2.
std::optional<unsigned char> StopCode(const std::string& piece)
{
    switch (static_cast<int>(ReadDecimalFraction(piece) * 10))
    {
    case 10:
        return 0;
    case 15:
        return 1;
    case 20:
        return 2;
    default:
        return std::nullopt;
    }
}

std::optional<SerialRequest> ReadSerial(const std::vector<std::string>& pieces)
{
    const long port = ReadDecimal(pieces[0]);
    if (port < 1 || port > 255)
        return std::nullopt;
    const auto parity = ParityCode(pieces[2]);
    const auto stop = StopCode(pieces[4]);
    if (!parity || !stop)
        return std::nullopt;
    return SerialRequest{static_cast<unsigned char>(port), static_cast<unsigned long>(ReadDecimal(pieces[1])),
                         static_cast<unsigned char>(ReadDecimal(pieces[3])), *parity, *stop};
}

// "first:" then every further piece followed by a comma.
std::string JoinNetPieces(const std::vector<std::string>& pieces)
{
    if (pieces.empty())
        return {};
    std::string joined = pieces[0] + ":";
    for (size_t i = 1; i < pieces.size(); ++i)
        joined += pieces[i] + ",";
    return joined;
}

// "first:" then the others separated by commas.
std::string JoinSocketParts(const std::vector<std::string>& parts)
{
    if (parts.empty())
        return {};
    std::string joined = parts[0] + ":";
    for (size_t i = 1; i < parts.size(); ++i)
    {
        if (i > 1)
            joined += ",";
        joined += parts[i];
    }
    return joined;
}

std::optional<PortRequest> ReadSerialKind(const std::string& fields)
{
    const auto pieces = SplitPieces(fields, ',');
    if (pieces.size() != 5)
        return std::nullopt;
    if (auto line = ReadSerial(pieces))
        return *line;
    return std::nullopt;
}

std::optional<PortRequest> ReadModemKind(const std::string& fields)
{
    const auto pieces = SplitPieces(fields, ',');
    if (pieces.size() != 6)
        return std::nullopt;
    if (auto line = ReadSerial(pieces))
        return ModemRequest{*line, pieces[5]};
    return std::nullopt;
}

std::optional<PortRequest> ReadCanKind(const std::string& fields)
{
    const auto pieces = SplitPieces(fields, ',');
    if (pieces.size() != 1)
        return std::nullopt;
    return CanRequest{static_cast<unsigned long>(ReadDecimal(pieces[0]))};
}

std::optional<PortRequest> ReadCanPCKind(const std::string& fields, bool usb)
{
    const auto pieces = SplitPieces(fields, ',');
    if (pieces.size() != 3)
        return std::nullopt;
    return CanPCRequest{static_cast<unsigned long>(ReadDecimal(pieces[0])),
                        static_cast<unsigned long>(ReadDecimal(pieces[1])),
                        static_cast<unsigned long>(ReadDecimal(pieces[2])), usb};
}

std::optional<PortRequest> ReadSocketKind(const std::string& fields)
{
    const auto pieces = SplitPieces(fields, '_');
    if (pieces.size() != 2)
        return std::nullopt;
    return SocketRequest{pieces[0], JoinSocketParts(SplitPieces(pieces[1], ','))};
}

std::optional<PortRequest> ReadPCKind(const std::string& fields)
{
    const auto pieces = SplitPieces(fields, ',');
    if (pieces.size() != 1)
        return std::nullopt;
    return PCRequest{static_cast<int>(ReadDecimal(pieces[0]))};
}

} // namespace

std::optional<OpenStringParts> SplitOpenString(std::string_view text)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return OpenStringParts{std::string(text.substr(0, colon)), std::string(text.substr(colon + 1))};
}

std::optional<PortRequest> ReadPortRequest(const OpenStringParts& parts)
{
    const std::string& kind = parts.kind;
    const std::string& fields = parts.fields;
    if (kind == "COM")
        return ReadSerialKind(fields);
    if (kind == "MODEM")
        return ReadModemKind(fields);
    if (kind == "CAN")
        return ReadCanKind(fields);
    if (kind == "CANPC")
        return ReadCanPCKind(fields, false);
    if (kind == "CANUSB")
        return ReadCanPCKind(fields, true);
    if (kind == "NET")
        return NetRequest{JoinNetPieces(SplitPieces(fields, ','))};
    if (kind == "TCPIP")
        return TcpIpRequest{fields};
    if (kind == "SOCK")
        return ReadSocketKind(fields);
    if (kind == "DP")
        return DPRequest{false};
    if (kind == "DPDEB")
        return DPRequest{true};
    if (kind == "PC")
        return ReadPCKind(fields);
    return std::nullopt;
}

std::vector<std::string> SplitPieces(std::string_view text, char separator)
{
    std::vector<std::string> pieces;
    size_t at = 0;
    while (at < text.size())
    {
        const size_t end = std::min(text.find(separator, at), text.size());
        if (end > at)
            pieces.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return pieces;
}

long ReadDecimal(std::string_view text)
{
    return tvsk::LeadingInt(text);
}

double ReadDecimalFraction(std::string_view text)
{
    return tvsk::LeadingDouble(text);
}

} // namespace lanyard
