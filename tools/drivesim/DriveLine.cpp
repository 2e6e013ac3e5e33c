#include "DriveLine.h"

#include <protocol/BinaryFrame.h>

#include <cstdio>
#include <cstdlib>

using namespace binary_frame;

namespace
{
constexpr int kAsciiMemoryFirst = 4096;
constexpr int kAsciiMemoryLast = 4608;
constexpr size_t kLongestAsciiCommand = 64;

bool IsWrite(BYTE command)
{
    const BYTE kind = command & kCommandMask;
    return kind == kWriteParameter || kind == kWriteMemory || kind == kWriteBit;
}

// "<number>" or "<number>.<bit>", then optionally "=<value>"; false when malformed.
bool ParseAsciiTarget(const std::string& text, bool withBit, long& number, long& bit, bool& write, long& value)
{
    const char* at = text.c_str();
    char* end = nullptr;
    number = std::strtol(at, &end, 10);
    if (end == at)
        return false;
    at = end;
    if (withBit)
    {
        if (*at != '.')
            return false;
        bit = std::strtol(++at, &end, 10);
        if (end == at || bit < 0 || bit > 15)
            return false;
        at = end;
    }
    write = *at == '=';
    if (write)
    {
        value = std::strtol(++at, &end, 10);
        if (end == at)
            return false;
        at = end;
    }
    return *at == '\0';
}
} // namespace

CDriveLine::CDriveLine(const std::vector<int>& addresses)
{
    for (int address : addresses)
        m_drives.emplace_back(address);
}

CSimulatedDrive* CDriveLine::Drive(int address)
{
    for (CSimulatedDrive& drive : m_drives)
        if (drive.Address() == address)
            return &drive;
    return nullptr;
}

std::vector<BYTE> CDriveLine::Receive(std::span<const BYTE> bytes)
{
    std::vector<BYTE> reply;
    for (BYTE b : bytes)
    {
        if (m_inFrame)
            ReceiveFrameByte(b, reply);
        else if (b == kStart)
        {
            m_inFrame = true;
            m_frame.clear();
            m_line.clear();
        }
        else
            ReceiveAsciiByte(b, reply);
    }
    if (m_fault == ReplyFault::Silent)
        reply.clear();
    return reply;
}

void CDriveLine::ReceiveFrameByte(BYTE byte, std::vector<BYTE>& reply)
{
    if (m_stuffingDue)
    {
        m_stuffingDue = false;
        if (byte != kStuffing)
        {
            // The 0x7E was a new start byte: what came before it was no frame.
            m_frame.clear();
            ReceiveFrameByte(byte, reply);
            return;
        }
        if (!FrameComplete())
            return;
    }
    else
    {
        m_frame.push_back(byte);
        if (byte == kStart)
        {
            m_stuffingDue = true;
            return;
        }
    }
    if (FrameComplete())
    {
        const std::vector<BYTE> answer = AnswerFrame();
        reply.insert(reply.end(), answer.begin(), answer.end());
        m_inFrame = false;
    }
}

bool CDriveLine::FrameComplete() const
{
    if (m_frame.size() < 4)
        return false;
    const size_t dataLength = IsWrite(m_frame[0]) ? (m_frame[1] & 0x07u) : 0;
    return m_frame.size() == 4 + dataLength;
}

std::vector<BYTE> CDriveLine::AnswerFrame()
{
    const std::span<const BYTE> body(m_frame.data(), m_frame.size() - 1);
    if (BinaryChecksum(body) != m_frame.back())
        return {};
    CSimulatedDrive* drive = Drive(m_frame[0] & kAddressMask);
    if (!drive)
        return {};
    ++m_framesServed;
    const BYTE command = m_frame[0] & kCommandMask;
    const int byteAddress = (m_frame[1] >> 3) << 8 | m_frame[2];
    const int length = m_frame[1] & 0x07;
    const BYTE* data = m_frame.data() + 3;
    switch (command)
    {
    case kWriteParameter:
        drive->WriteParameterBytes(byteAddress, data, length);
        return {kStart, static_cast<BYTE>(kReply + drive->Address())};
    case kWriteMemory:
        drive->WriteMemoryBytes(byteAddress, data, length);
        return {kStart, static_cast<BYTE>(kReply + drive->Address())};
    case kWriteBit:
        drive->WriteParameterBits(byteAddress, data[0], data[1]);
        return {kStart, static_cast<BYTE>(kReply + drive->Address())};
    case kReadParameter:
    case kReadMemory:
    {
        const DWORD value = command == kReadParameter ? drive->ReadParameterBytes(byteAddress, length)
                                                      : drive->ReadMemoryBytes(byteAddress, length);
        const int namedAddress = m_fault == ReplyFault::WrongHeader ? byteAddress + 2 : byteAddress;
        std::vector<BYTE> replyBody = BinaryHeader(kReply, drive->Address(), namedAddress, length);
        for (int i = 0; i < length; ++i)
            replyBody.push_back(static_cast<BYTE>(value >> (8 * i)));
        std::vector<BYTE> reply = BuildBinaryFrame(replyBody);
        if (m_fault == ReplyFault::Corrupt)
            reply.back() = reply.back() == kStuffing ? BYTE{0x01} : static_cast<BYTE>(reply.back() + 1);
        return reply;
    }
    default:
        return {};
    }
}

void CDriveLine::ReceiveAsciiByte(BYTE byte, std::vector<BYTE>& reply)
{
    if (byte == '\n')
        return;
    if (byte != '\r')
    {
        // Noise that never ends in a CR is dropped rather than kept.
        if (m_line.size() >= kLongestAsciiCommand)
            m_line.clear();
        m_line.push_back(static_cast<char>(byte));
        return;
    }
    const std::string answer = m_drives.empty() ? std::string() : AnswerAscii(m_line);
    m_line.clear();
    reply.insert(reply.end(), answer.begin(), answer.end());
}

std::string CDriveLine::AnswerAscii(const std::string& line)
{
    CSimulatedDrive& drive = m_drives.front();
    const bool dword = line.rfind("XL", 0) == 0;
    const bool bitAccess = line.rfind("B", 0) == 0;
    if (!dword && !bitAccess && line.rfind("X", 0) != 0)
        return "ERR\r\n";
    long number = 0, bit = 0, value = 0;
    bool write = false;
    if (!ParseAsciiTarget(line.substr(dword ? 2 : 1), bitAccess, number, bit, write, value) || number < 0 ||
        number > kLastParameter || (bitAccess && number >= kAsciiMemoryFirst && number <= kAsciiMemoryLast))
        return "ERR\r\n";
    const bool memory = number >= kAsciiMemoryFirst && number <= kAsciiMemoryLast;
    const int byteAddress = static_cast<int>(memory ? 2 * (number - kAsciiMemoryFirst) : 2 * number);
    const int length = dword ? 4 : 2;
    if (write)
    {
        BYTE bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<BYTE>(static_cast<DWORD>(value) >> (8 * i));
        if (bitAccess)
            drive.SetParameterBit(static_cast<int>(number), static_cast<int>(bit), value != 0);
        else if (memory)
            drive.WriteMemoryBytes(byteAddress, bytes, length);
        else
            drive.WriteParameterBytes(byteAddress, bytes, length);
        return "Ok\r\n";
    }
    long shown = 0;
    if (bitAccess)
        shown = drive.ParameterBit(static_cast<int>(number), static_cast<int>(bit)) ? 1 : 0;
    else
    {
        const DWORD raw = memory ? drive.ReadMemoryBytes(byteAddress, length)
                                 : drive.ReadParameterBytes(byteAddress, length);
        shown = dword ? static_cast<LONG>(raw) : static_cast<SHORT>(raw);
    }
    char text[32];
    std::snprintf(text, sizeof text, m_fault == ReplyFault::Corrupt ? "%ldx\r\n" : "%ld\r\n", shown);
    return text;
}
