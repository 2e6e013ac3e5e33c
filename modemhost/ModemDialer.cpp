// The Hayes dialogue with the modem on the server's device: initialisation, dialling and the log.
#include "ModemDialer.h"

#include <framework/File.h>
#include <kernel/Time.h>

#include <cctype>
#include <cstring>

CString UnescapeDialNumber(const CString& number)
{
    CString plain = number;
    plain.Replace('^', '"');
    plain.Replace('_', ',');
    plain.Replace('-', ';');
    return plain;
}

bool CModemDialer::Initialise(const CString& iniPath)
{
    // A device, a pipe or a huge file would hold the server up or fill its memory.
    if (!iniPath.IsEmpty() && !FitsForReading(iniPath))
    {
        AppendLog(
            FormatString("\r\n%s is no regular file of at most %llu bytes: the modem is not initialised\r\n",
                         static_cast<const char*>(iniPath), kMaxInputFileSize));
        return false;
    }
    CStdioFile ini;
    if (!iniPath.IsEmpty() && ini.Open(iniPath, CFile::modeRead | CFile::typeText))
    {
        CString line;
        while (ini.ReadString(line))
        {
            if (!line.IsEmpty() && !SendAndAwait(line + "\r\n", nullptr, 0))
                return false;
        }
        return true;
    }
    return SendAndAwait("ATZ0\r\n", nullptr, 0) && SendAndAwait("ATE1\r\n", nullptr, 0) &&
           SendAndAwait("ATE0\r\n", "ATE0OK", EchoTries);
}

bool CModemDialer::Dial(const CString& number)
{
    return SendAndAwait(FormatString("ATD%s\r\n", static_cast<LPCSTR>(number)), "CONNECT", DialTries);
}

bool CModemDialer::SendAndAwait(const CString& command, const char* expected, int tries)
{
    m_device.Purge();
    AppendLog("\r\n" + command);
    DWORD written = 0;
    const auto length = static_cast<DWORD>(command.GetLength());
    if (!m_device.Write(reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(command)), length, written) ||
        written != length)
        return false;
    if (expected == nullptr)
    {
        Sleep(m_settleTime);
        return true;
    }
    if (!m_device.SetReadTimeout(AnswerTimeout))
        return false;
    m_abort = false;
    const size_t wanted = std::strlen(expected);
    CString stored;
    while (static_cast<size_t>(stored.GetLength()) < wanted && tries > 0 && !m_abort)
    {
        BYTE byte = 0;
        if (!ReadByte(byte))
        {
            --tries;
            continue;
        }
        if (byte != '\t' && byte != '\n' && byte != '\r' && byte != ' ')
            stored += static_cast<char>(std::toupper(byte));
    }
    // The rest of the answer (a line speed after CONNECT) must not stay for the first read.
    BYTE rest = 0;
    while (ReadByte(rest))
    {
    }
    return tries > 0 && !m_abort && stored == expected;
}

bool CModemDialer::ReadByte(BYTE& byte)
{
    DWORD read = 0;
    if (!m_device.Read(&byte, 1, read) || read != 1)
        return false;
    AppendLog(CString(reinterpret_cast<const char*>(&byte), 1));
    return true;
}

void CModemDialer::AppendLog(const CString& text)
{
    const std::lock_guard<std::mutex> guard(m_logMutex);
    m_log += text;
}

CString CModemDialer::Log() const
{
    const std::lock_guard<std::mutex> guard(m_logMutex);
    return m_log;
}

void CModemDialer::ClearLog()
{
    const std::lock_guard<std::mutex> guard(m_logMutex);
    m_log.Empty();
}
