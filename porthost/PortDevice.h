// The serial device a port server owns: line settings, the read time-out cache, transfers, break.
#pragma once

#include <framework/CString.h>
#include <kernel/Serial.h>

// Whether DTR and RTS stay off (a drive on the line) or on (a modem that needs them).
enum class ModemLines
{
    Off,
    On
};

class CPortDevice
{
public:
    CPortDevice() = default;
    ~CPortDevice() { Close(); }
    CPortDevice(const CPortDevice&) = delete;
    CPortDevice& operator=(const CPortDevice&) = delete;

    // "COM<n>" for n below 10, "\\.\COM<n>" from 10 on; exclusive.
    bool Open(BYTE port);
    void Close() noexcept;
    bool IsOpen() const noexcept { return m_device != INVALID_HANDLE_VALUE; }

    // Sets framing, no flow control, DTR and RTS as asked, and no time-outs; the line text shows
    // the request even when setting it fails.
    bool SetLine(DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits, ModemLines lines);
    // Writes the read time-outs for t only when t differs from the last one set.
    bool SetReadTimeout(WORD t);
    BOOL Read(BYTE* data, DWORD count, DWORD& transferred);
    BOOL Write(const BYTE* data, DWORD count, DWORD& transferred);
    void Purge() noexcept;
    bool SendBreak() noexcept;

    // The last line setting as "9600,E,8,1".
    const CString& LineText() const noexcept { return m_lineText; }

    static CString FormatLine(DWORD baud, BYTE dataBits, BYTE parity, BYTE stopBits);

private:
    HANDLE m_device = INVALID_HANDLE_VALUE;
    CString m_lineText;
    WORD m_cachedReadTimeout = 0;
    COMMTIMEOUTS m_timeouts;
    DCB m_lineState;
};
