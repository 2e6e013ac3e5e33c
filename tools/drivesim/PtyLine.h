// A pseudo-terminal whose slave end stands in for a serial port, with the line settings the
// simulated drives expect.
#pragma once

#include <framework/WinTypes.h>

#include <string>
#include <vector>

struct LineSettings
{
    DWORD baud = 9600;
    char parity = 'E'; // 'N', 'E' or 'O'
    int dataBits = 8;
    int stopBits = 1;
};

// "9600,E,8,1"; false when malformed.
bool ParseLineSettings(const std::string& text, LineSettings& settings);

class CPtyLine
{
public:
    CPtyLine() = default;
    CPtyLine(const CPtyLine&) = delete;
    CPtyLine& operator=(const CPtyLine&) = delete;
    ~CPtyLine();

    // Creates the terminal, sets the slave raw with the settings and links linkPath to it.
    bool Open(const std::string& linkPath, const LineSettings& settings, std::string& error);
    // Waits up to timeoutMs for bytes from the host; an empty result when none came.
    std::vector<BYTE> Read(int timeoutMs);
    bool Write(const std::vector<BYTE>& bytes);
    // Whether the host has set the baud rate and stop bits the drives expect (parity and data
    // bits do not cross a pseudo-terminal).
    bool LineMatches() const;

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up between host connections
    std::string m_link;
    LineSettings m_settings;
};
