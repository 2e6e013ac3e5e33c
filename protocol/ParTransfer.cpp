#include "ParTransfer.h"

#include "AsciiCommand.h"
#include "BinaryFrame.h"
#include "DeviceLinkError.h"

namespace
{
// Reply bytes from the port, each within the reply time-out.
class CPortByteSource : public CByteSource
{
public:
    CPortByteSource(CComPort& port, WORD timeout) : m_port(port), m_timeout(timeout) {}
    bool ReadByte(BYTE& byte) override { return m_port.get(&byte, m_timeout, 1) != 0; }

private:
    CComPort& m_port;
    WORD m_timeout;
};

std::vector<BYTE> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}
} // namespace

ParReadResult CParTransfer::Read(const ParAccess& access)
{
    const std::vector<BYTE> request = ReadRequest(access);
    m_frame.WaitForGap();
    if (!m_port.lock(kPortLockTimeout))
    {
        m_frame.Failed();
        return {DLE_PORT_BUSY, !m_settings.asciiMode, 0};
    }
    m_port.reset();
    ParReadResult result =
        Send(request) ? ReadReply(access) : ParReadResult{DLE_NO_REPLY, !m_settings.asciiMode, 0};
    result.error = Finish(result.error);
    return result;
}

int CParTransfer::Write(const ParAccess& access, DWORD value, bool acknowledge)
{
    const std::vector<BYTE> request = WriteRequest(access, value);
    m_frame.WaitForGap();
    if (!m_port.lock(kPortLockTimeout))
    {
        m_frame.Failed();
        return DLE_PORT_BUSY;
    }
    if (!acknowledge)
    {
        const bool sent = Send(request);
        m_port.unlock();
        if (sent)
            return DLE_OK;
        m_frame.Failed();
        return DLE_NO_REPLY;
    }
    m_port.reset();
    return Finish(Send(request) ? ReadAcknowledge() : DLE_NO_REPLY);
}

std::vector<BYTE> CParTransfer::ReadRequest(const ParAccess& access) const
{
    return m_settings.asciiMode ? Bytes(BuildAsciiReadCommand(access))
                                : BuildBinaryReadRequest(m_settings.address, access);
}

std::vector<BYTE> CParTransfer::WriteRequest(const ParAccess& access, DWORD value) const
{
    return m_settings.asciiMode ? Bytes(BuildAsciiWriteCommand(access, static_cast<LONG>(value)))
                                : BuildBinaryWriteRequest(m_settings.address, access, value);
}

ParReadResult CParTransfer::ReadReply(const ParAccess& access)
{
    CPortByteSource source(m_port, m_settings.timeOut);
    if (!m_settings.asciiMode)
    {
        DWORD value = 0;
        const int error = ReadBinaryReply(source, m_settings.address, access, value);
        return {error, true, value};
    }
    const AsciiReply reply = ReadAsciiReply(source);
    if (reply.text.empty() || !reply.complete)
        return {DLE_NO_REPLY, false, 0};
    LONG value = 0;
    const bool whole = ParseAsciiValue(reply.text, value);
    return {whole ? DLE_OK : DLE_BAD_REPLY, true, static_cast<DWORD>(value)};
}

int CParTransfer::ReadAcknowledge()
{
    CPortByteSource source(m_port, m_settings.timeOut);
    if (!m_settings.asciiMode)
        return ReadBinaryAcknowledge(source, m_settings.address);
    return IsAsciiWriteAcknowledge(ReadAsciiReply(source)) ? DLE_OK : DLE_NO_REPLY;
}

bool CParTransfer::Send(const std::vector<BYTE>& request)
{
    return m_port.put(request.data(), static_cast<LONG>(request.size())) != 0;
}

int CParTransfer::Finish(int error)
{
    m_port.unlock();
    if (error == DLE_OK)
        m_frame.Succeeded();
    else
        m_frame.Failed();
    return error;
}
