// Serial ports: opening "COM<n>", line settings, time-outs, transfers, purge and break.
#pragma once

#include <kernel/Handle.h>

struct SECURITY_ATTRIBUTES;
struct OVERLAPPED;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// Line state of a serial device.
struct DCB
{
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    BYTE ByteSize = 8;
    BYTE Parity = NOPARITY;
    BYTE StopBits = ONESTOPBIT;

    DCB()
        : fBinary(1), fParity(0), fOutxCtsFlow(0), fOutxDsrFlow(0), fDtrControl(0), fDsrSensitivity(0),
          fTXContinueOnXoff(0), fOutX(0), fInX(0), fErrorChar(0), fNull(0), fRtsControl(0), fAbortOnError(0)
    {
    }
};

// Read and write time-outs in milliseconds. All zero: a read waits until every byte came.
// ReadIntervalTimeout MAXDWORD with both read totals 0: a read returns at once with what is there.
// Otherwise a read ends after multiplier × bytes + constant (when not 0) or, once a byte has
// come, after a gap of ReadIntervalTimeout (when not 0). A time-out is not a failure.
struct COMMTIMEOUTS
{
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
};

// Opens "COM<n>" or "\\.\COM<n>" (n 0 to 255): the device that the registry store names in the
// value "COM<n>" under "HKEY_LOCAL_MACHINE\Software\MurnApps\SerialPorts", else /dev/ttyS<n-1>.
// Only OPEN_EXISTING with sharing 0 is offered: the device is opened exclusively (a lock on it,
// ERROR_SHARING_VIOLATION when another program holds it) and put into raw mode.
HANDLE CreateFile(const char* fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* attributes,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// Transfers without overlapped input and output (overlapped must be null).
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped);

BOOL GetCommState(HANDLE file, DCB* dcb) noexcept;
// Baud rates are the standard ones from 50 to 4000000; one and a half stop bits are sent as two.
// DTR and RTS follow fDtrControl and fRtsControl where the device has modem lines.
BOOL SetCommState(HANDLE file, const DCB* dcb) noexcept;
BOOL GetCommTimeouts(HANDLE file, COMMTIMEOUTS* timeouts) noexcept;
BOOL SetCommTimeouts(HANDLE file, const COMMTIMEOUTS* timeouts) noexcept;
BOOL PurgeComm(HANDLE file, DWORD flags) noexcept;
BOOL SetCommBreak(HANDLE file) noexcept;
BOOL ClearCommBreak(HANDLE file) noexcept;
