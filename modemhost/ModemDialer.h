// The Hayes dialogue with the modem on the server's device: initialisation, dialling and the log.
#pragma once

#include <porthost/PortDevice.h>

#include <framework/CString.h>

#include <atomic>
#include <mutex>

// "^", "_" and "-" of a dial number stand for a double quote, a comma and a semicolon.
CString UnescapeDialNumber(const CString& number);

class CModemDialer
{
public:
    static constexpr DWORD DefaultSettleTime = 2000;
    static constexpr WORD AnswerTimeout = 500;
    static constexpr int EchoTries = 10;
    static constexpr int DialTries = 600;

    explicit CModemDialer(CPortDevice& device) : m_device(device) {}

    // The lines of the file at iniPath when it opens, else "ATZ0", "ATE1" and the echo check.
    // False, with the reason in the log, when the file is no regular file of a readable size.
    bool Initialise(const CString& iniPath);
    bool Dial(const CString& number);
    // Stops a wait for an answer at the next byte or empty read.
    void Abort() { m_abort = true; }
    // How long a command without an expected answer is given.
    void SetSettleTime(DWORD milliseconds) { m_settleTime = milliseconds; }

    // Every command sent, each after "\r\n", and every byte received while an answer was awaited.
    CString Log() const;
    void ClearLog();

private:
    // Sends command; with an expected text, collects as many bytes but blanks within tries reads
    // of 500 ms and compares them in upper case.
    bool SendAndAwait(const CString& command, const char* expected, int tries);
    // Reads one byte within the answer time-out; false when none came.
    bool ReadByte(BYTE& byte);
    void AppendLog(const CString& text);

    CPortDevice& m_device;
    DWORD m_settleTime = DefaultSettleTime;
    std::atomic<bool> m_abort = false;
    mutable std::mutex m_logMutex; // the window reads the log while the worker writes it
    CString m_log;
};
