#include "SettingsString.h"

#include "DeviceLinkError.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace
{
constexpr std::array<DWORD, 5> kBaudRates{9600, 19200, 38400, 57600, 115200};
constexpr std::array<DWORD, 7> kCanBitRates{50000, 100000, 125000, 250000, 500000, 800000, 1000000};
constexpr std::array<const char*, 6> kFrameTexts{",N,8,1", ",E,8,1", ",O,8,1", ",N,7,1", ",E,7,1", ",O,7,1"};

template <size_t N> bool Contains(const std::array<DWORD, N>& list, DWORD value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

// Decimal as the C library reads it: leading digits, 0 when there are none.
long Number(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

const std::string& FieldOr(const std::vector<std::string>& fields, size_t i, const std::string& fallback)
{
    return i < fields.size() ? fields[i] : fallback;
}

int FrameCode(char parity, long dataBits)
{
    const int parityIndex = parity == 'N' ? 0 : parity == 'E' ? 1 : parity == 'O' ? 2 : -1;
    if (parityIndex < 0 || (dataBits != 8 && dataBits != 7))
        return -1;
    return parityIndex + (dataBits == 7 ? 3 : 0);
}

int ParseSerialValues(const std::vector<std::string>& values, bool modem, CDriveSettings& settings)
{
    static const std::string kPort = "1", kBaud = "9600", kParity = "E", kDataBits = "8", kStopBits = "1",
                             kDial;
    const long port = Number(FieldOr(values, 0, kPort));
    if (port < 1 || port > 255)
        return DLE_BAD_PORT;
    settings.portCode = static_cast<DWORD>(port) + (modem ? kModemPortCodeBase : kSerialPortCodeBase);
    const long baud = Number(FieldOr(values, 1, kBaud));
    if (baud < 0 || !Contains(kBaudRates, static_cast<DWORD>(baud)))
        return DLE_BAD_BAUD;
    settings.baudRate = static_cast<DWORD>(baud);
    const char parity = FieldOr(values, 2, kParity)[0];
    const long dataBits = Number(FieldOr(values, 3, kDataBits));
    const double stopValue = std::strtod(FieldOr(values, 4, kStopBits).c_str(), nullptr);
    // Out of range or NaN: no integer conversion, the check below refuses it.
    const int stopBits = stopValue >= 0 && stopValue < 100 ? static_cast<int>(stopValue * 10) : -1;
    const int frameCode = FrameCode(parity, dataBits);
    if (frameCode < 0 || stopBits != 10)
        return DLE_BAD_FRAME;
    settings.frameCode = static_cast<DWORD>(frameCode);
    settings.canOpenMode = false;
    settings.modem = modem;
    if (modem)
        settings.dialNumber = FieldOr(values, 5, kDial);
    return DLE_OK;
}

int ParseCanValues(const std::vector<std::string>& values, CDriveSettings& settings)
{
    if (values.size() != 3)
        return DLE_BAD_BAUD;
    const long bitRate = Number(values[1]);
    if (bitRate < 0 || !Contains(kCanBitRates, static_cast<DWORD>(bitRate)))
        return DLE_BAD_BAUD;
    settings.canBitRate = static_cast<DWORD>(bitRate);
    settings.canOpenMode = true;
    return DLE_OK;
}

std::string Replace(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    for (char c : text)
    {
        const size_t at = from.find(c);
        if (at == std::string_view::npos)
            out.push_back(c);
        else
            out.push_back(to[at]);
    }
    return out;
}
} // namespace

void CDriveSettings::ResetPortFields()
{
    portCode = 5;
    baudRate = 9600;
    frameCode = 1;
    canBitRate = 500000;
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiters)
{
    std::vector<std::string> fields;
    size_t at = text.find_first_not_of(delimiters);
    while (at != std::string_view::npos)
    {
        const size_t end = text.find_first_of(delimiters, at);
        fields.emplace_back(
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? end : text.find_first_not_of(delimiters, end);
    }
    return fields;
}

int ParseProtocolPart(std::string_view part, CDriveSettings& settings)
{
    settings.address = 0;
    settings.timeOut = 1000;
    const std::vector<std::string> fields = SplitFields(part, ":,");
    if (fields.size() < 2 || fields[0] != "VrnSer")
        return DLE_BAD_PROTOCOL;
    const long address = Number(fields[1]);
    if (address < std::numeric_limits<SHORT>::min() || address > std::numeric_limits<SHORT>::max())
        return DLE_BAD_PROTOCOL;
    settings.asciiMode = address == kAsciiDriveAddress;
    settings.address = static_cast<SHORT>(settings.asciiMode ? 0 : address);
    if (fields.size() > 2)
        settings.timeOut = static_cast<WORD>(Number(fields[2]));
    return DLE_OK;
}

int ParsePortPart(std::string_view part, CDriveSettings& settings)
{
    const std::vector<std::string> fields = SplitFields(part, ":");
    if (fields.size() < 2)
        return DLE_BAD_PORT_KIND;
    const std::vector<std::string> values = SplitFields(fields[1], ",");
    if (fields[0] == "COM" || fields[0] == "MODEM")
        return ParseSerialValues(values, fields[0] == "MODEM", settings);
    if (fields[0] == "CANUSB")
        return ParseCanValues(values, settings);
    return DLE_BAD_PORT_KIND;
}

std::string BuildProtocolPart(const CDriveSettings& settings)
{
    const int address = settings.asciiMode ? kAsciiDriveAddress : settings.address;
    return "VrnSer:" + std::to_string(address) + "," + std::to_string(settings.timeOut);
}

std::string BuildPortPart(const CDriveSettings& settings)
{
    if (settings.canOpenMode)
    {
        const bool known = Contains(kCanBitRates, settings.canBitRate);
        return "CANUSB:0," + (known ? std::to_string(settings.canBitRate) : std::string("50000")) + ",500000";
    }
    std::string part = settings.modem ? "MODEM:" : "COM:";
    const DWORD code = settings.portCode;
    if (code >= 5 && code <= 259)
        part += std::to_string(code - kSerialPortCodeBase);
    else if (code >= 8197 && code <= 8451)
        part += std::to_string(code - kModemPortCodeBase);
    part += ",";
    part += Contains(kBaudRates, settings.baudRate) ? std::to_string(settings.baudRate) : "9600";
    if (settings.frameCode < kFrameTexts.size())
        part += kFrameTexts[settings.frameCode];
    if (settings.modem)
        part += "," + settings.dialNumber;
    return part;
}

std::string BuildSettingsString(const CDriveSettings& settings)
{
    return BuildProtocolPart(settings) + "#" + BuildPortPart(settings);
}

std::string EscapeDialNumber(std::string_view shown)
{
    return Replace(shown, "\",;", "^_-");
}

std::string UnescapeDialNumber(std::string_view escaped)
{
    return Replace(escaped, "^_-", "\",;");
}
