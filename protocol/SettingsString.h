// The drive settings string: protocol part "VrnSer:<address>,<time-out>", "#", and the port part.
#pragma once

#include <framework/WinTypes.h>

#include <string>
#include <string_view>
#include <vector>

constexpr int kAsciiDriveAddress = 1000;
constexpr DWORD kSerialPortCodeBase = 4;   // port n is code n + 4
constexpr DWORD kModemPortCodeBase = 8196; // modem on port n is code n + 8196

// The connection settings the protocol object keeps, with their defaults.
struct CDriveSettings
{
    SHORT address = 0;
    WORD timeOut = 1000;
    bool asciiMode = false;
    DWORD portCode = 5;
    DWORD baudRate = 9600;
    DWORD canBitRate = 500000;
    DWORD frameCode = 1; // 0 N,8,1  1 E,8,1  2 O,8,1  3 N,7,1  4 E,7,1  5 O,7,1
    bool canOpenMode = false;
    bool modem = false;
    std::string dialNumber; // escaped: "^", "_" and "-" stand for '"', ',' and ';'

    // The port fields as Init and ConfString put start them.
    void ResetPortFields();
};

// Fields cut at any of the delimiters; runs of delimiters count as one, none are empty.
std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiters);

// Each parse returns 0 or the error code of the first check that failed; the values that passed
// their checks before it are kept.
int ParseProtocolPart(std::string_view part, CDriveSettings& settings);
int ParsePortPart(std::string_view part, CDriveSettings& settings);

std::string BuildProtocolPart(const CDriveSettings& settings);
// Also the open string handed to the port object.
std::string BuildPortPart(const CDriveSettings& settings);
std::string BuildSettingsString(const CDriveSettings& settings);

// Between the dial number the user sees and the form the settings string carries.
std::string EscapeDialNumber(std::string_view shown);
std::string UnescapeDialNumber(std::string_view escaped);
